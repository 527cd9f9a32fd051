#pragma once

#include "charts/ChartFile.h"
#include "mapimport/Topology.h"

#include <QString>
#include <vector>

namespace tolvane::mapimport {

// Regions that share a border, by feature index of the topology.
std::vector<std::vector<uint32_t>> Neighbours(const Topology& topo);

// Colours 0xRRGGBB from a soft palette so that neighbours differ: the regions with most
// neighbours choose first, each the least used colour no neighbour has.
std::vector<int32_t> ColourRegions(const std::vector<std::vector<uint32_t>>& neighbours);

// The chart data file a new map ships with, like the program's own maps: every value 0,
// silver borders, names shown on small maps, a hidden legend of a few items. Items are
// given in `order`.
ChartFileData DefaultRegionChart(const std::vector<QString>& names,
                                 const std::vector<QString>& shortNames,
                                 const std::vector<int32_t>& colours,
                                 const std::vector<uint32_t>& order);
ChartFileData DefaultCityChart(const std::vector<QString>& names,
                               const std::vector<QString>& regions,
                               const std::vector<uint32_t>& order);

} // namespace tolvane::mapimport
