#include "charts/FlagChart.h"

#include "model/NumberFormat.h"
#include "model/NumericText.h"
#include "model/UserError.h"
#include "platform/FileOps.h"

#include <QDir>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tolvane {

namespace {

constexpr int kCodeRow = 1;
constexpr int kValueRow = 2;

// A cell's value in single precision: 0 for a text that is not a number, that does not
// convert ("-" or "." alone) or that no single-precision number holds.
float FlagValue(const QString& text) {
    if (!IsNumericText(text)) return 0;
    const std::optional<double> parsed = TryParseFloat(text);
    if (!parsed) return 0;
    const auto value = static_cast<float>(*parsed);
    return std::isfinite(value) ? value : 0;
}

// "%.1f" with "." whatever the locale, rounded as printf rounds the float made double.
QString FormatPercent(float size) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(size),
                                         std::chars_format::fixed, 1);
    return ec == std::errc() ? QString::fromLatin1(buf, static_cast<qsizetype>(end - buf))
                             : QStringLiteral("0.0");
}

} // namespace

GridData MakeFlagGrid(int columns) {
    GridData grid(1, 3);
    grid.setText(0, kCodeRow, QStringLiteral("1"));
    grid.setText(0, kValueRow, QStringLiteral("2"));
    SetFlagColumnCount(grid, columns);
    return grid;
}

void SetFlagColumnCount(GridData& grid, int columns) {
    const GridUpdate update(grid);
    const int before = grid.colCount();
    grid.setColCount(columns + 1);
    for (int col = before; col <= columns; ++col) {
        grid.setText(col, 0, QString::number(col));
        grid.setReadOnly(col, kCodeRow, false);
        grid.setReadOnly(col, kValueRow, false);
    }
}

std::vector<FlagColumn> FlagColumnsOf(const GridData& grid, int count) {
    std::vector<FlagColumn> columns;
    for (int col = 1; col <= count; ++col) {
        const bool inGrid = grid.contains(col, kValueRow);
        columns.push_back({inGrid ? grid.text(col, kCodeRow) : QString(),
                           inGrid ? grid.text(col, kValueRow) : QString()});
    }
    return columns;
}

QString FlagMovieName(const QString& type) {
    for (const char* known : {"Flag1", "Flag2", "Flag3"})
        if (type == QLatin1String(known)) return type.toLower() + QStringLiteral(".cht");
    return {};
}

QStringList FlagSizes(const std::vector<FlagColumn>& columns) {
    std::vector<float> values;
    float max = 0;
    for (const FlagColumn& column : columns) {
        values.push_back(FlagValue(column.value));
        if (values.back() > max) max = values.back();
    }
    if (max == 0) {
        max = 0.1f;
        std::fill(values.begin(), values.end(), 0.1f);
    }
    QStringList sizes;
    for (const float value : values) {
        float size = value / max * 100.0f;
        // Far below a tiny maximum a quotient can leave the float range: keep it a number.
        if (!std::isfinite(size)) size = std::copysign(std::numeric_limits<float>::max(), size);
        sizes << FormatPercent(size);
    }
    return sizes;
}

XmlWriter BuildFlagChart(const QString& title, const std::vector<FlagColumn>& columns) {
    const QStringList sizes = FlagSizes(columns);
    XmlWriter writer;
    XmlOutElement root = writer.createRoot("charts");
    root.addText("ename", QStringLiteral("flag1"));
    root.addText("count", QString::number(columns.size()));
    root.addText("title", title.isEmpty() ? QStringLiteral(".") : title);
    for (size_t j = 0; j < columns.size(); ++j) {
        XmlOutElement item = root.addChild("item");
        item.setId(static_cast<int32_t>(j + 1));
        item.addText("name", columns[j].code);
        item.addText("data", columns[j].value);
        item.addText("size", sizes[static_cast<qsizetype>(j)]);
    }
    return writer;
}

bool WriteFlagChart(const ChartModel& model, const QString& type, const QString& title,
                    const std::vector<FlagColumn>& columns) {
    const QString movie = FlagMovieName(type);
    if (movie.isEmpty()) return false;
    // Data and movie together or neither: the old movie must not draw the new data.
    ReplaceFilesTogether({{model.dataPath(QStringLiteral("ChartFlag1.xml")),
                           BuildFlagChart(title, columns).toBytes(),
                           {}},
                          {model.stagedMoviePath(), {}, model.dataPath(movie)}});
    return true;
}

} // namespace tolvane
