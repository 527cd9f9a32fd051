#pragma once

#include "charts/PageState.h"
#include "model/ChartModel.h"

#include <vector>

namespace tolvane {

// Refills a data grid from table records: titles in row 1, record k in row k + 2. Regions
// without data (short name "-") get an empty read-only Data cell and a white colour. With a
// memo, rows untouched since the fill it tells of are passed over where their record is the
// same, and the memo then tells of this fill.
void FillDataGrid(GridData& grid, GridLayout layout, const std::vector<TProvince>& records,
                  GridRowsMemo* memo = nullptr);

// Turns the data grid rows back into records for writing, numbered by row ordinal. Names
// come from the table (the grid only shows them); rows named "Nill" are left out. Every
// cell is converted before anything is returned, so a bad cell throws ConvertError and
// nothing half-made escapes.
// With the memo of the grid's last fill, rows untouched since then are read once: what
// their texts read as is kept in the memo.
std::vector<TProvince> CollectDataGrid(const GridData& grid, GridLayout layout,
                                       const std::vector<TProvince>& table,
                                       GridRowsMemo* memo = nullptr);

// The items a legend set shows for a loaded block: its count, within the set's list.
int LegendItemCount(ChartKind kind, const LegendBlock& block);
// Refills a legend set from a loaded legend block.
void FillLegend(LegendState& legend, const LegendBlock& block);
// The legend block a writer stores: the list's item count and one item per grid row.
LegendBlock CollectLegend(const LegendState& legend);

} // namespace tolvane
