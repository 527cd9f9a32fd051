#pragma once

#include "charts/PageState.h"
#include "model/ChartModel.h"

#include <vector>

namespace tolvane {

// Refills a data grid from table records: titles in row 1, record k in row k + 2. Regions
// without data (short name "-") get an empty read-only Data cell and a white colour.
void FillDataGrid(GridData& grid, GridLayout layout, const std::vector<TProvince>& records);

// Turns the data grid rows back into records for writing, numbered by row ordinal. Names
// come from the table (the grid only shows them); rows named "Nill" are left out. Every
// cell is converted before anything is returned, so a bad cell throws ConvertError and
// nothing half-made escapes.
std::vector<TProvince> CollectDataGrid(const GridData& grid, GridLayout layout,
                                       const std::vector<TProvince>& table);

// The items a legend set shows for a loaded block: its count, within the set's list.
int LegendItemCount(ChartKind kind, const LegendBlock& block);
// Refills a legend set from a loaded legend block.
void FillLegend(LegendState& legend, const LegendBlock& block);
// The legend block a writer stores: the list's item count and one item per grid row.
LegendBlock CollectLegend(const LegendState& legend);

} // namespace tolvane
