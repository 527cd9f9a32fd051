#pragma once

#include <QString>
#include <cstddef>
#include <vector>

namespace tolvane {

// How values are split into classes for a gradient.
enum class ClassMethod {
    EqualInterval, // classes of equal width over min .. max
    Quantile,      // classes holding equally many values
    NaturalBreaks, // Jenks: classes as alike inside and as different between as can be
};
QString ClassMethodName(ClassMethod method);

// Natural breaks are exact up to this many distinct values; past it they are found on this
// many values spread evenly over the sorted list.
constexpr size_t kExactNaturalBreaks = 50000;

// The classes of `values` for a quantile or natural-breaks gradient. Equal values always
// share a class and no class is empty, so values taking fewer distinct levels than the
// classes asked make fewer classes (one when all are equal, or there are none).
struct Classes {
    std::vector<int> of;       // per value, its class 0 .. count() - 1, in value order
    std::vector<double> lower; // per class: its smallest value
    std::vector<double> upper; // and its largest
    int asked = 0;             // the classes asked for
    size_t levels = 0;         // the distinct values
    size_t sample = 0;         // natural breaks found on this many values; 0: on all

    int count() const { return static_cast<int>(lower.size()); }
};
Classes ClassifyValues(ClassMethod method, const std::vector<double>& values, int classes);

// What the user should know of classes that are not what was asked: fewer of them, or
// breaks found on a sample. Empty when they are as asked.
QString ClassesNote(const Classes& classes);

} // namespace tolvane
