#pragma once

#include "forms/LegendMapPage.h"

namespace tolvane {

class MapTable;

// The built-in maps each page lists, in list order, with the file stems they name.
const MapTable& RegionMaps();     // "Map"
const MapTable& ShadeMaps();      // "Advance Map"
const MapTable& CityMaps();       // "Bubble"
const MapTable& RegionCityMaps(); // "Advance Bubble"
// The "Map" page's shorter list of maps with names, used at start-up before any is chosen.
bool StartupMapHasNames(const QString& map);

// The pages of one map's data and legend. "Map": regions coloured by click, with the maps
// the user added. "Advance Map": regions with shade codes, with preview players of their own.
// "Bubble": cities coloured and sized, drawn with the "Map" page's border.
LegendMapPage::Shape RegionPageShape();
LegendMapPage::Shape ShadePageShape();
LegendMapPage::Shape CityPageShape(LegendMapPage& regionPage);

} // namespace tolvane
