#include "charts/LegendSets.h"

#include <algorithm>
#include <utility>

namespace tolvane {

namespace {

constexpr int kCityLegendSorted = 10;

// Signed order puts blue first in weight, then green, then red; whites end up last.
void ExchangeSort(CopyColors& colors, int count) {
    for (int i = 0; i < count - 1; ++i)
        for (int j = i + 1; j < count; ++j)
            if (colors[static_cast<size_t>(j)] < colors[static_cast<size_t>(i)])
                std::swap(colors[static_cast<size_t>(i)], colors[static_cast<size_t>(j)]);
}

} // namespace

CopyColors CollectCopyColors(const GridData& dataGrid, ChartKind legendKind) {
    CopyColors colors;
    colors.fill(kWhite);
    size_t used = 0;
    // Row 1 is the white title row and so skipped with the other white cells.
    for (int r = 1; r < dataGrid.rowCount() && used < colors.size(); ++r) {
        const int32_t c = dataGrid.color(ColColor, r);
        if (c == kWhite || std::find(colors.begin(), colors.begin() + static_cast<long>(used), c) !=
                               colors.begin() + static_cast<long>(used))
            continue;
        colors[used++] = c;
    }
    ExchangeSort(colors, legendKind == ChartKind::City ? kCityLegendSorted : kCopyColorSwatches);
    return colors;
}

int DefaultLegendCountIndex(ChartKind kind) {
    return kind == ChartKind::Region ? 5 : 3;
}

int LegendTargetMode(ChartKind kind) {
    switch (kind) {
    case ChartKind::City:
        return ModeCity;
    case ChartKind::Shade:
        return ModeShade;
    case ChartKind::Region:
    case ChartKind::RegionCity:
        break;
    }
    return ModeRegion;
}

int ResizeLegend(LegendState& legend, int countIndex) {
    countIndex = std::clamp(countIndex, 0, LegendMaxItems(legend.kind) - 1);
    const int items = countIndex + 1;
    legend.countIndex = countIndex;

    GridData& grid = legend.grid;
    GridUpdate update(grid);
    const int oldRows = grid.rowCount();
    grid.setRowCount(items + 1);
    for (int r = 1; r <= items; ++r)
        grid.setText(0, r, QString::number(r));
    // Rows that did not exist could otherwise never be typed into until the next load.
    for (int r = std::max(oldRows, 1); r <= items; ++r) {
        grid.setReadOnly(ColLegendText, r, false);
        grid.setReadOnly(ColLegendExtra, r, false);
    }
    return items;
}

void ChangeLegendCount(LegendState& legend, int countIndex, const std::vector<TLegend>& table) {
    GridUpdate update(legend.grid);
    const int items = ResizeLegend(legend, countIndex);
    for (int r = 1; r <= items; ++r) {
        const auto slot = static_cast<size_t>(r - 1);
        legend.grid.setText(ColLegendText, r, slot < table.size() ? table[slot].Text : QString());
        legend.grid.setReadOnly(ColLegendText, r, false);
    }
}

} // namespace tolvane
