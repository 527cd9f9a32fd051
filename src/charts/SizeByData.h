#pragma once

#include "charts/PageState.h"

namespace tolvane {

// Sizing the bubbles of a city grid from its Data column. Grids follow the data grid layout:
// city i (1 .. rows) is grid row i + 1, values in column 3, sizes (percent, whole numbers) in
// column 5. As with the colours, every value is converted before any cell changes, so a
// text such as a lone "-" throws ConvertError and leaves grid and legend as they were.

// The size boxes hold 0 .. 200 percent.
constexpr double kMinBubbleSize = 0;
constexpr double kMaxBubbleSize = 200;

// The size of a class: minSize + (maxSize - minSize) * k / (steps - 1), in integers.
int ClassSize(int minSize, int maxSize, int sizeClass, int steps);

// Gives every row the size of its class: the one of `steps` equal intervals of the values'
// range it lies in (GradientBand), class 1 for all when the values are equal. With a legend,
// its item count becomes min(steps, the set's maximum); item m gets class m - 1's size in
// its third column and the text of the m-th interval. Legend colours stay.
void ApplySizeGradient(GridData& grid, int rows, LegendState* legend, int minSize, int maxSize,
                       int steps);

// Gives `size` to the rows whose value lies in lo .. hi, both ends included.
void ApplySizeRange(GridData& grid, int rows, double lo, double hi, int size);

} // namespace tolvane
