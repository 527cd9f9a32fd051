#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tolvane {

// How values are split into classes for a gradient.
enum class ClassMethod {
    EqualInterval, // classes of equal width over min .. max
    Quantile,      // classes holding equally many values
    NaturalBreaks, // Jenks: classes as alike inside and as different between as can be
};
QString ClassMethodName(ClassMethod method);

// The classes of `values` for a quantile or natural-breaks gradient: the class of each
// value (0 .. classes - 1, in value order) and each class's smallest and largest value.
// Equal values all fall in class 1, as in the equal-interval gradient.
struct Classes {
    std::vector<int> of;       // per value
    std::vector<double> lower; // per class; a class without values repeats the one below
    std::vector<double> upper;
};
Classes ClassifyValues(ClassMethod method, const std::vector<double>& values, int classes);

} // namespace tolvane
