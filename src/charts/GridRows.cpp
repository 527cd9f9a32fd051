#include "charts/GridRows.h"

#include "model/Colors.h"
#include "model/NumberFormat.h"

#include <QStringList>
#include <algorithm>
#include <bit>
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

namespace {

bool SameNumber(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// The same text, told at once where both share one string, as a refilled name mostly does.
bool SameText(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

double ExtraOf(const TProvince& p, GridLayout layout) {
    switch (layout) {
    case GridLayout::Shade:
        return p.Shade;
    case GridLayout::City:
        return p.Scale;
    case GridLayout::Region:
        break;
    }
    return 0;
}

// The memo's row for grid row `row` (record `i`), when the memo describes it as it stands.
GridRowsMemo::Row* KnownRow(GridRowsMemo* memo, const GridData& grid, GridLayout layout, size_t i,
                            int row) {
    if (!memo || memo->grid != grid.id() || memo->layout != layout || i >= memo->rows.size() ||
        grid.rowRevision(row) > memo->filledAt)
        return nullptr;
    return &memo->rows[i];
}

} // namespace

void FillDataGrid(GridData& grid, GridLayout layout, const std::vector<TProvince>& records,
                  GridRowsMemo* memo) {
    GridUpdate update(grid);
    const QStringList titles = Titles(layout);
    grid.setRowCount(static_cast<int>(records.size()) + kFirstDataRow);
    for (int c = 0; c < titles.size(); ++c)
        grid.setCell(c + 1, kTitleRow, GridCell{titles[c], kWhite, true});

    // Reloading a chart just made refills its grid with what it shows already: rows the memo
    // knows are compared by their records, the others cell by cell, numbers as Latin-1 text,
    // and only a cell that changes gets a string.
    const auto latin1 = [](const std::string& text) {
        return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
    };
    const bool city = layout == GridLayout::City;
    if (memo && (memo->grid != grid.id() || memo->layout != layout))
        *memo = GridRowsMemo{grid.id(), 0, layout, {}};
    const size_t knownRows = memo ? memo->rows.size() : 0;
    if (memo) memo->rows.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const TProvince& p = records[i];
        const int row = static_cast<int>(i) + kFirstDataRow;
        const QString& key = city ? p.Country : p.ShortName;
        // City rows always show their data; regions without data show none.
        const bool hasData = city || key != kNoDataMark;
        const GridRowsMemo::Row filled{p.Value, ExtraOf(p, layout),
                                       hasData ? SwapRedBlue(p.Color) : kWhite};
        const GridRowsMemo::Row* known =
            i < knownRows ? KnownRow(memo, grid, layout, i, row) : nullptr;
        if (known && SameNumber(known->value, filled.value) &&
            SameNumber(known->extra, filled.extra) && known->color == filled.color &&
            SameText(grid.text(ColName, row), p.Name) && SameText(grid.text(ColKey, row), key))
            continue;
        if (memo) memo->rows[i] = filled;
        grid.setCell(0, row, latin1(std::to_string(i + 1)), kWhite, true);
        grid.setCell(ColName, row, p.Name, kWhite, true);
        grid.setCell(ColKey, row, key, kWhite, true);
        grid.setCell(ColData, row, latin1(hasData ? FormatGeneralText(p.Value) : std::string()),
                     kWhite, !hasData);
        grid.setCell(ColColor, row, QLatin1StringView(), filled.color, true);
        if (layout == GridLayout::Shade)
            grid.setCell(ColExtra, row, latin1(hasData ? std::to_string(p.Shade) : "0"), kWhite,
                         !hasData);
        else if (city)
            grid.setCell(ColExtra, row, FormatFixed(p.Scale, 0), kWhite, false);
    }
    if (memo) memo->filledAt = grid.revision();
}

std::vector<TProvince> CollectDataGrid(const GridData& grid, GridLayout layout,
                                       const std::vector<TProvince>& table, GridRowsMemo* memo) {
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
        if (!noData) {
            GridRowsMemo::Row* known =
                KnownRow(memo, grid, layout, static_cast<size_t>(k - 1), row);
            if (known && known->read) {
                p.Value = known->readValue;
                p.Scale = city ? known->readExtra : 0;
                p.Shade = layout == GridLayout::Shade ? static_cast<int>(known->readExtra) : 0;
            } else {
                p.Value = CellFloat(grid.text(ColData, row), 0);
                if (city)
                    p.Scale = CellFloat(grid.text(ColExtra, row), 0);
                else if (layout == GridLayout::Shade)
                    p.Shade = CellInt(grid.text(ColExtra, row), 1);
                if (known) {
                    known->read = true;
                    known->readValue = p.Value;
                    known->readExtra = ExtraOf(p, layout);
                }
            }
        }
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
