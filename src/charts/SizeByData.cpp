#include "charts/SizeByData.h"

#include "charts/ColorByData.h"
#include "charts/LegendSets.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kMinSteps = 2; // one step would divide by zero

} // namespace

int ClassSize(int minSize, int maxSize, int sizeClass, int steps) {
    steps = std::max(steps, kMinSteps);
    return minSize + (maxSize - minSize) * sizeClass / (steps - 1);
}

void ApplySizeGradient(GridData& grid, int rows, LegendState* legend, int minSize, int maxSize,
                       int steps) {
    const std::vector<double> values = ReadDataValues(grid, rows);
    steps = std::max(steps, kMinSteps);
    const auto [min, max] = ValueRange(values);
    {
        GridUpdate update(grid);
        for (size_t i = 0; i < values.size(); ++i) {
            // The class of the legend interval the value lies in, so that the legend's
            // scales are the sizes of its cities.
            const int size =
                ClassSize(minSize, maxSize, GradientBand(values[i], min, max, steps), steps);
            grid.setText(ColExtra, static_cast<int>(i) + kFirstDataRow, QString::number(size));
        }
    }
    if (!legend) return;

    GridUpdate update(legend->grid);
    const int items = ResizeLegend(*legend, std::min(steps, LegendMaxItems(legend->kind)) - 1);
    for (int m = 1; m <= items; ++m) {
        legend->grid.setText(ColLegendExtra, m,
                             QString::number(ClassSize(minSize, maxSize, m - 1, steps)));
        legend->grid.setText(ColLegendText, m, GradientLegendText(min, max, steps, m));
    }
}

void ApplySizeRange(GridData& grid, int rows, double lo, double hi, int size) {
    const std::vector<double> values = ReadDataValues(grid, rows);
    GridUpdate update(grid);
    for (size_t i = 0; i < values.size(); ++i)
        if (lo <= values[i] && values[i] <= hi)
            grid.setText(ColExtra, static_cast<int>(i) + kFirstDataRow, QString::number(size));
}

} // namespace tolvane
