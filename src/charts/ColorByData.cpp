#include "charts/ColorByData.h"

#include "charts/LegendSets.h"
#include "model/Colors.h"
#include "model/NumberFormat.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kMinSteps = 2; // one step would divide by zero

int ExistingRows(const GridData& grid, int rows) {
    return std::clamp(rows, 0, std::max(grid.rowCount() - kFirstDataRow, 0));
}

int Channel(int from, int to, int band, int steps) {
    return from + (to - from) * band / (steps - 1);
}

} // namespace

std::vector<double> ReadDataValues(const GridData& grid, int rows) {
    const int n = ExistingRows(grid, rows);
    std::vector<double> values;
    values.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i)
        values.push_back(CellFloat(grid.text(ColData, i + 1), 0));
    return values;
}

int GradientBand(double value, double min, double max, int steps) {
    steps = std::max(steps, kMinSteps);
    if (max == min) return 1;
    // Extended precision keeps values on an exact inner boundary in the upper band.
    const long double width = (static_cast<long double>(max) - min) / steps;
    const long double q = (static_cast<long double>(value) - min) / width;
    if (!(q < steps)) return steps - 1; // the maximum, and rounding just past it
    if (q <= 0) return 0;
    return static_cast<int>(q);
}

int32_t GradientBandColor(int32_t minColor, int32_t maxColor, int band, int steps) {
    steps = std::max(steps, kMinSteps);
    return PlatformRgb(Channel(RedOf(minColor), RedOf(maxColor), band, steps),
                       Channel(GreenOf(minColor), GreenOf(maxColor), band, steps),
                       Channel(BlueOf(minColor), BlueOf(maxColor), band, steps));
}

QString GradientLegendText(double min, double max, int steps, int item) {
    steps = std::max(steps, kMinSteps);
    const long double width = (static_cast<long double>(max) - min) / steps;
    const auto bound = [&](int n) { return static_cast<double>(width * n + min); };
    return FormatFixed(bound(item - 1), 3) + QLatin1Char('~') + FormatFixed(bound(item), 3);
}

void ApplyGradient(GridData& grid, int rows, LegendState* legend, int32_t minColor,
                   int32_t maxColor, int steps, bool shadeCodes) {
    const std::vector<double> values = ReadDataValues(grid, rows);
    steps = std::max(steps, kMinSteps);
    double min = 0;
    double max = 0;
    if (!values.empty()) {
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        min = *lo;
        max = *hi;
    }

    {
        GridUpdate update(grid);
        for (size_t i = 0; i < values.size(); ++i) {
            const int band = GradientBand(values[i], min, max, steps);
            const int row = static_cast<int>(i) + kFirstDataRow;
            grid.setColor(ColColor, row, GradientBandColor(minColor, maxColor, band, steps));
            // Equal values share the colour of band 1 but the first code.
            if (shadeCodes) grid.setText(ColExtra, row, QString::number(max == min ? 1 : band + 1));
        }
    }
    if (!legend) return;

    GridUpdate update(legend->grid);
    const int items = ResizeLegend(*legend, std::min(steps, LegendMaxItems(legend->kind)) - 1);
    for (int m = 1; m <= items; ++m) {
        legend->grid.setColor(ColLegendColor, m,
                              GradientBandColor(minColor, maxColor, m - 1, steps));
        legend->grid.setText(ColLegendText, m, GradientLegendText(min, max, steps, m));
        if (shadeCodes) legend->grid.setText(ColLegendExtra, m, QString::number(m));
    }
}

void ApplyRange(GridData& grid, int rows, QStringView lo, QStringView hi, int32_t color,
                const QString* shadeCode) {
    const double low = CellFloat(lo, 0);
    const double high = CellFloat(hi, 0);
    const std::vector<double> values = ReadDataValues(grid, rows);

    GridUpdate update(grid);
    for (size_t i = 0; i < values.size(); ++i)
        if (low <= values[i] && values[i] <= high) {
            const int row = static_cast<int>(i) + kFirstDataRow;
            grid.setColor(ColColor, row, color);
            if (shadeCode) grid.setText(ColExtra, row, *shadeCode);
        }
}

} // namespace tolvane
