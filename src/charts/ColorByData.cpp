#include "charts/ColorByData.h"

#include "charts/ColorSchemes.h"
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

std::pair<double, double> ValueRange(const std::vector<double>& values) {
    if (values.empty()) return {0, 0};
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return {*lo, *hi};
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

QString ApplyGradient(GridData& grid, int rows, LegendState* legend, int32_t minColor,
                      int32_t maxColor, int steps, const GradientOptions& options) {
    const std::vector<double> values = ReadDataValues(grid, rows);
    steps = std::max(steps, kMinSteps);
    const auto [min, max] = ValueRange(values);
    const bool equal = options.method == ClassMethod::EqualInterval;
    Classes classes;
    if (!equal) classes = ClassifyValues(options.method, values, steps);
    const int bands = equal ? steps : classes.count();
    // One band, of values all equal, takes the colour equal values take with equal intervals.
    const int colorSteps = bands >= kMinSteps ? bands : steps;
    const int bandShift = bands >= kMinSteps ? 0 : 1;
    const std::vector<int32_t> schemeColors =
        options.scheme ? SchemeColors(*options.scheme, colorSteps) : std::vector<int32_t>();
    const auto bandColor = [&](int band) {
        band += bandShift;
        return options.scheme ? schemeColors[static_cast<size_t>(band)]
                              : GradientBandColor(minColor, maxColor, band, colorSteps);
    };

    {
        GridUpdate update(grid);
        for (size_t i = 0; i < values.size(); ++i) {
            const int band = equal ? GradientBand(values[i], min, max, steps) : classes.of[i];
            const int row = static_cast<int>(i) + kFirstDataRow;
            grid.setColor(ColColor, row, bandColor(band));
            // Equal values share the colour of band 1 but the first code.
            if (options.shadeCodes)
                grid.setText(ColExtra, row, QString::number(max == min ? 1 : band + 1));
        }
    }
    if (legend) {
        GridUpdate update(legend->grid);
        const int items = ResizeLegend(*legend, std::min(bands, LegendMaxItems(legend->kind)) - 1);
        for (int m = 1; m <= items; ++m) {
            const auto at = static_cast<size_t>(m - 1);
            legend->grid.setColor(ColLegendColor, m, bandColor(m - 1));
            legend->grid.setText(ColLegendText, m,
                                 equal ? GradientLegendText(min, max, steps, m)
                                       : FormatFixed(classes.lower[at], 3) + QLatin1Char('~') +
                                             FormatFixed(classes.upper[at], 3));
            if (options.shadeCodes) legend->grid.setText(ColLegendExtra, m, QString::number(m));
        }
    }
    return equal ? QString() : ClassesNote(classes);
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
