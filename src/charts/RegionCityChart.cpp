#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/Colors.h"
#include "platform/XmlDocument.h"

#include <algorithm>

namespace tolvane {

ChartFileData MakeRegionCityChart(const ChartModel& model, const RegionCityPageState& page) {
    ChartFileData data;
    // The region-city chart has no border control of its own: its border is always grey.
    data.border = QString::number(kGrey);
    data.regions = std::max(page.regionGrid.rowCount() - 2, 0);
    data.items =
        CollectDataGrid(page.regionGrid, GridLayout::Region, model.regions, &page.regionMemo);
    data.cityRegions = std::max(page.cityGrid.rowCount() - 2, 0);
    data.cities = CollectDataGrid(page.cityGrid, GridLayout::City, model.cities, &page.cityMemo);
    return data;
}

void ShowRegionCityChart(ChartModel& model, RegionCityPageState& page, ChartFileData data) {
    model.regions = std::move(data.items);
    model.regionCount = static_cast<int>(model.regions.size());
    model.cities = std::move(data.cities);
    model.cityCount = static_cast<int>(model.cities.size());

    FillDataGrid(page.regionGrid, GridLayout::Region, model.regions, &page.regionMemo);
    FillDataGrid(page.cityGrid, GridLayout::City, model.cities, &page.cityMemo);
}

void WriteRegionCityChart(const ChartModel& model, const RegionCityPageState& page) {
    SaveChartFile(ChartKind::RegionCity, MakeRegionCityChart(model, page), model.chartFilePath());
}

void LoadRegionCityChart(ChartModel& model, RegionCityPageState& page, const QString& mapName) {
    ChartFileData data =
        LoadChartFile(ChartKind::RegionCity, model.dataPath(mapName + QStringLiteral(".xml")));

    // Staged first: a load that fails leaves model, grids and staged files as they were.
    ChartFileData staged;
    staged.border = data.border;
    staged.regions = static_cast<int>(data.items.size());
    staged.items = data.items;
    staged.cityRegions = static_cast<int>(data.cities.size());
    staged.cities = data.cities;
    StageChart(model, ChartKind::RegionCity, mapName, staged);
    ShowRegionCityChart(model, page, std::move(data));
}

} // namespace tolvane
