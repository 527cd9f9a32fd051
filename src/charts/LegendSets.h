#pragma once

#include "charts/PageState.h"
#include "model/ChartModel.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {

constexpr int kCopyColorSlots = 20;
constexpr int kCopyColorSwatches = 16;
using CopyColors = std::array<int32_t, kCopyColorSlots>;

// The distinct non-white colours of a data grid's Color column, in row order, offered as
// quick picks for legend items. Unused slots are white. The first 16 are sorted by their
// signed value, only the first 10 for the city legend.
CopyColors CollectCopyColors(const GridData& dataGrid, ChartKind legendKind);

// The item-count list's selection when no chart has set it: "6" items, "4" for city and shade.
int DefaultLegendCountIndex(ChartKind kind);

// The target mode by which the legend colour dialog names a legend: 1, 2 or 4.
int LegendTargetMode(ChartKind kind);

// Sets the item count (list index + 1) and the grid's rows to match. Rows the grid gains
// start white with editable text (and third column) cells; existing rows are not touched.
// Returns the number of items.
int ResizeLegend(LegendState& legend, int countIndex);

// The item-count list changed: resize, then give every item the text of the loaded chart's
// legend item (empty beyond the table), discarding texts typed since the load.
void ChangeLegendCount(LegendState& legend, int countIndex, const std::vector<TLegend>& table);

} // namespace tolvane
