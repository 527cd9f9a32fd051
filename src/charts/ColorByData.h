#pragma once

#include "charts/Classification.h"
#include "charts/PageState.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <utility>
#include <vector>

namespace tolvane {

// Colouring a data grid from its Data column. Grids follow the data grid layout: data row i
// (1 .. rows) is grid row i + 1, values in column 3, colours in column 4. Only rows that
// exist are processed. Every value (and bound) is converted before any cell changes, so a
// text such as a lone "-" throws ConvertError and leaves grid and legend as they were.

// The values of data rows 1 .. rows; a text IsNumericText rejects counts as 0.
std::vector<double> ReadDataValues(const GridData& grid, int rows);
// The smallest and largest of the values; 0 and 0 when there are none.
std::pair<double, double> ValueRange(const std::vector<double>& values);

// The band 0 .. steps - 1 of a value between min and max; 1 for every value when they are equal.
int GradientBand(double value, double min, double max, int steps);
// The colour of a band: per channel min + (max - min) * band / (steps - 1), in integers.
int32_t GradientBandColor(int32_t minColor, int32_t maxColor, int band, int steps);
// "lo~hi" of legend item 1 .. steps: the item-th of steps equal intervals of min .. max.
QString GradientLegendText(double min, double max, int steps, int item);

struct ColorScheme;

struct GradientOptions {
    ClassMethod method = ClassMethod::EqualInterval;
    const ColorScheme* scheme = nullptr; // none: from the min colour to the max colour
    bool shadeCodes = false;             // the shade grid: codes follow the bands
};

// Colours every row by its band of `steps` over the values. With a legend, its item count
// becomes min(bands, the set's maximum) and item M gets band M - 1's colour and text. With
// equal intervals the `steps` bands split min .. max evenly. Quantile and natural-breaks
// bands follow the values (see ClassifyValues): there are fewer when the values take fewer
// distinct levels, the colours then spread over those, and the legend texts give each
// band's smallest and largest value. With `shadeCodes`, each row's Shade cell and each
// legend item's third column get the code of the band, band + 1; all rows get code 1 when
// the values are equal. Returns what the user should know of the bands (ClassesNote).
QString ApplyGradient(GridData& grid, int rows, LegendState* legend, int32_t minColor,
                      int32_t maxColor, int steps, const GradientOptions& options = {});

// Colours the rows whose value lies in lo .. hi, both ends included. A bound that is no
// number counts as 0. A `shadeCode` is written into the Shade cells of the same rows.
void ApplyRange(GridData& grid, int rows, QStringView lo, QStringView hi, int32_t color,
                const QString* shadeCode = nullptr);

} // namespace tolvane
