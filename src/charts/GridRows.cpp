#include "charts/GridRows.h"

#include "model/Colors.h"
#include "model/NumberFormat.h"

#include <QStringList>
#include <algorithm>
#include <string>

namespace tolvane {

namespace {

constexpr int kTitleRow = 1;
constexpr int kFirstDataRow = 2;

QStringList Titles(GridLayout layout) {
    switch (layout) {
    case GridLayout::Shade:
        return {"Region Name", "Short Name", "Data", "Color", "Shade"};
    case GridLayout::City:
        return {"City Name", "Region Name", "Data", "Color", "Size"};
    case GridLayout::Region:
        break;
    }
    return {"Region Name", "Short Name", "Data", "Color"};
}

int ColumnCount(GridLayout layout) {
    return layout == GridLayout::Region ? 5 : 6;
}

} // namespace

GridData MakeDataGrid(GridLayout layout) {
    GridData grid(ColumnCount(layout), 2);
    const QStringList titles = Titles(layout);
    for (int c = 0; c < titles.size(); ++c)
        grid.setText(c + 1, kTitleRow, titles[c]);
    return grid;
}

int LegendMaxItems(ChartKind kind) {
    return kind == ChartKind::Region ? 16 : 10;
}

GridData MakeLegendGrid(ChartKind kind) {
    GridData grid(kind == ChartKind::Region ? 3 : 4, 1);
    grid.setText(ColLegendText, 0, QStringLiteral("Legend Text"));
    grid.setText(ColLegendColor, 0, QStringLiteral("Color"));
    if (kind == ChartKind::City)
        grid.setText(ColLegendExtra, 0, QStringLiteral("Scale"));
    else if (kind == ChartKind::Shade)
        grid.setText(ColLegendExtra, 0, QStringLiteral("Shade"));
    return grid;
}

void FillDataGrid(GridData& grid, GridLayout layout, const std::vector<TProvince>& records) {
    GridUpdate update(grid);
    const QStringList titles = Titles(layout);
    grid.setRowCount(static_cast<int>(records.size()) + kFirstDataRow);
    for (int c = 0; c < titles.size(); ++c)
        grid.setCell(c + 1, kTitleRow, GridCell{titles[c], kWhite, true});

    // Reloading a chart just made refills its grid with what it shows already: numbers are
    // compared as Latin-1 text, and only a cell that changes gets a string.
    const auto latin1 = [](const std::string& text) {
        return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
    };
    const bool city = layout == GridLayout::City;
    for (size_t i = 0; i < records.size(); ++i) {
        const TProvince& p = records[i];
        const int row = static_cast<int>(i) + kFirstDataRow;
        grid.setCell(0, row, latin1(std::to_string(i + 1)), kWhite, true);
        grid.setCell(ColName, row, p.Name, kWhite, true);
        const QString& key = city ? p.Country : p.ShortName;
        grid.setCell(ColKey, row, key, kWhite, true);
        // City rows always show their data; regions without data show none.
        const bool hasData = city || key != kNoDataMark;
        grid.setCell(ColData, row, latin1(hasData ? FormatGeneralText(p.Value) : std::string()),
                     kWhite, !hasData);
        grid.setCell(ColColor, row, QLatin1StringView(), hasData ? SwapRedBlue(p.Color) : kWhite,
                     true);
        if (layout == GridLayout::Shade)
            grid.setCell(ColExtra, row, latin1(hasData ? std::to_string(p.Shade) : "0"), kWhite,
                         !hasData);
        else if (city)
            grid.setCell(ColExtra, row, FormatFixed(p.Scale, 0), kWhite, false);
    }
}

std::vector<TProvince> CollectDataGrid(const GridData& grid, GridLayout layout,
                                       const std::vector<TProvince>& table) {
    std::vector<TProvince> out;
    const int rows = std::max(grid.rowCount() - kFirstDataRow, 0);
    out.reserve(static_cast<size_t>(rows));
    const bool city = layout == GridLayout::City;
    for (int k = 1; k <= rows; ++k) {
        const int row = k + 1;
        const bool noData = grid.text(ColKey, row) == kNoDataMark;
        TProvince p;
        if (static_cast<size_t>(k) <= table.size()) {
            const TProvince& slot = table[static_cast<size_t>(k - 1)];
            p.Name = slot.Name;
            p.ShortName = slot.ShortName;
            p.Country = slot.Country;
        } else {
            // Rows an options file added beyond the loaded table carry their own names.
            p.Name = grid.text(ColName, row);
            (city ? p.Country : p.ShortName) = grid.text(ColKey, row);
        }
        p.Id = k;
        p.Color = SwapRedBlue(grid.color(ColColor, row));
        p.Value = noData ? 0 : CellFloat(grid.text(ColData, row), 0);
        if (city)
            p.Scale = noData ? 0 : CellFloat(grid.text(ColExtra, row), 0);
        else if (layout == GridLayout::Shade)
            p.Shade = noData ? 0 : CellInt(grid.text(ColExtra, row), 1);
        if (p.Name != kNillName) out.push_back(std::move(p));
    }
    return out;
}

int LegendItemCount(ChartKind kind, const LegendBlock& block) {
    return std::clamp(block.count, 0, LegendMaxItems(kind));
}

void FillLegend(LegendState& legend, const LegendBlock& block) {
    const int count = LegendItemCount(legend.kind, block);
    legend.countIndex = count - 1;
    if (block.show) legend.show = true; // a hidden legend in the file leaves the box as it is

    GridData& grid = legend.grid;
    GridUpdate update(grid);
    grid.setRowCount(count + 1);
    for (int r = 1; r <= count; ++r) {
        const bool have = static_cast<size_t>(r) <= block.items.size();
        const TLegend item =
            have ? block.items[static_cast<size_t>(r - 1)] : TLegend{0, {}, kWhite, 100, 1};
        grid.setCell(0, r, GridCell{QString::number(r), kWhite, true});
        grid.setCell(ColLegendText, r, GridCell{item.Text, kWhite, false});
        grid.setCell(ColLegendColor, r, GridCell{QString(), SwapRedBlue(item.Color), true});
        if (legend.kind == ChartKind::City)
            grid.setCell(ColLegendExtra, r, GridCell{FormatFixed(item.Scale, 0), kWhite, false});
        else if (legend.kind == ChartKind::Shade)
            grid.setCell(ColLegendExtra, r, GridCell{QString::number(item.Shade), kWhite, false});
    }
}

LegendBlock CollectLegend(const LegendState& legend) {
    LegendBlock block;
    block.show = legend.show;
    block.count = legend.countIndex + 1;
    const GridData& grid = legend.grid;
    for (int r = 1; r < grid.rowCount(); ++r) {
        TLegend item;
        item.Id = r;
        item.Text = grid.text(ColLegendText, r);
        item.Color = SwapRedBlue(grid.color(ColLegendColor, r));
        if (legend.kind == ChartKind::City)
            item.Scale = CellFloat(grid.text(ColLegendExtra, r), 100);
        else if (legend.kind == ChartKind::Shade)
            item.Shade = CellInt(grid.text(ColLegendExtra, r), 1);
        block.items.push_back(std::move(item));
    }
    return block;
}

} // namespace tolvane
