#pragma once

#include "charts/PageState.h"

#include <functional>

namespace tolvane {

// What a colour or size dialog acts on: a data grid, the number of its data rows to process
// and, for the "Map", "Advance Map" and "Bubble" pages, the legend the gradient rewrites.
struct ColorTarget {
    GridData* grid = nullptr;
    int rows = 0;
    LegendState* legend = nullptr;
};

// Target modes: 1 region grid and legend, 2 city grid and legend, 31 region grid and 32 city
// grid of the region-city page (no legend). An unknown mode resolves to an empty target.
enum RegionCityTarget : int { ModeRCRegions = 31, ModeRCCities = 32 };
using ColorTargetResolver = std::function<ColorTarget(int targetMode)>;

} // namespace tolvane
