// Region, shade and city charts share one layout: a list of items, a border, "showtext" and
// a legend. The shade chart adds a shade code per item; the city chart names its items
// "city" and takes its border from the "Map" page.
#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/Colors.h"
#include "model/NumberFormat.h"
#include "platform/XmlDocument.h"

namespace tolvane {

namespace {

ChartFileData MakeListChart(const ChartModel& model, GridLayout layout, const GridData& grid,
                            GridRowsMemo& memo, const LegendState& legend, bool showName,
                            int32_t border) {
    ChartFileData data;
    data.regions = model.regionCount;
    data.border = QString::number(SwapRedBlue(border));
    data.showText = showName;
    data.items = CollectDataGrid(grid, layout, model.regions, &memo);
    data.legend = CollectLegend(legend);
    return data;
}

void ShowListChart(ChartModel& model, const ListPage& page, ChartFileData data) {
    const int32_t border = SwapRedBlue(ParseInt(data.border));
    // Cities live in the region table while the "Bubble" page shows them.
    model.regions = std::move(data.items);
    model.regionCount = static_cast<int>(model.regions.size());
    model.legends = data.legend.items;

    FillDataGrid(page.grid, page.layout, model.regions, &page.memo);
    page.showName = data.showText;
    page.border = border;
    FillLegend(page.legend, data.legend);
}

} // namespace

void LoadListChart(ChartKind kind, ChartModel& model, const ListPage& page,
                   const QString& mapName) {
    LoadedChartFile file =
        LoadChartFileFrom(kind, model.dataPath(mapName + QStringLiteral(".xml")));
    ParseInt(file.data.border); // a border that is no colour fails here, before anything changes
    // Staged before anything changes: when staging fails, model and page still hold the
    // chart they showed, and the next make cannot write it into another map's file.
    StageListChart(model, kind, mapName, file, LegendItemCount(kind, file.data.legend));
    ShowListChart(model, page, std::move(file.data));
}

void WriteListChart(ChartKind kind, const ChartModel& model, const ListPage& page) {
    SaveChartFile(kind,
                  MakeListChart(model, page.layout, page.grid, page.memo, page.legend,
                                page.showName, page.border),
                  model.chartFilePath());
}

namespace {

GridLayout MapLayout(ChartKind kind) {
    return kind == ChartKind::Shade ? GridLayout::Shade : GridLayout::Region;
}

} // namespace

ListPage ListPageOf(ChartKind kind, MapPageState& page) {
    return {MapLayout(kind), page.grid, page.gridMemo, page.legend, page.showName, page.border};
}

ListPage ListPageOf(CityPageState& page, int32_t& border) {
    return {GridLayout::City, page.grid, page.gridMemo, page.legend, page.showName, border};
}

ChartFileData MakeMapChart(ChartKind kind, const ChartModel& model, const MapPageState& page) {
    return MakeListChart(model, MapLayout(kind), page.grid, page.gridMemo, page.legend,
                         page.showName, page.border);
}

ChartFileData MakeCityChart(const ChartModel& model, const CityPageState& page, int32_t border) {
    return MakeListChart(model, GridLayout::City, page.grid, page.gridMemo, page.legend,
                         page.showName, border);
}

void ShowMapChart(ChartKind kind, ChartModel& model, MapPageState& page, ChartFileData data) {
    ShowListChart(model, ListPageOf(kind, page), std::move(data));
}

void ShowCityChart(ChartModel& model, CityPageState& page, int32_t& border, ChartFileData data) {
    ShowListChart(model, ListPageOf(page, border), std::move(data));
}

void WriteRegionChart(const ChartModel& model, const MapPageState& page) {
    SaveChartFile(ChartKind::Region, MakeMapChart(ChartKind::Region, model, page),
                  model.chartFilePath());
}

void LoadRegionChart(ChartModel& model, MapPageState& page, const QString& mapName) {
    LoadListChart(ChartKind::Region, model, ListPageOf(ChartKind::Region, page), mapName);
}

void WriteShadeChart(const ChartModel& model, const MapPageState& page) {
    SaveChartFile(ChartKind::Shade, MakeMapChart(ChartKind::Shade, model, page),
                  model.chartFilePath());
}

void LoadShadeChart(ChartModel& model, MapPageState& page, const QString& mapName) {
    LoadListChart(ChartKind::Shade, model, ListPageOf(ChartKind::Shade, page), mapName);
}

void WriteCityChart(const ChartModel& model, const CityPageState& page, int32_t border) {
    SaveChartFile(ChartKind::City, MakeCityChart(model, page, border), model.chartFilePath());
}

void LoadCityChart(ChartModel& model, CityPageState& page, int32_t& border,
                   const QString& mapName) {
    LoadListChart(ChartKind::City, model, ListPageOf(page, border), mapName);
}

} // namespace tolvane
