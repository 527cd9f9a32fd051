#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/Colors.h"
#include "model/NumberFormat.h"
#include "platform/XmlDocument.h"

namespace tolvane {

namespace {

// Region and shade charts are twins: the shade chart adds a shade code per region and
// per legend item.
void WriteMapChart(ChartKind kind, const ChartModel& model, const MapPageState& page) {
    const GridLayout layout = kind == ChartKind::Shade ? GridLayout::Shade : GridLayout::Region;
    ChartFileData data;
    data.regions = model.regionCount;
    data.border = QString::number(SwapRedBlue(page.border));
    data.showText = page.showName;
    data.items = CollectDataGrid(page.grid, layout, model.regions);
    data.legend = CollectLegend(page.legend);
    BuildChartFile(kind, data).save(model.chartFilePath());
}

void LoadMapChart(ChartKind kind, ChartModel& model, MapPageState& page, const QString& mapName) {
    const GridLayout layout = kind == ChartKind::Shade ? GridLayout::Shade : GridLayout::Region;
    ChartFileData data = LoadChartFile(kind, model.dataPath(mapName + QStringLiteral(".xml")));

    model.regions = std::move(data.items);
    model.regionCount = static_cast<int>(model.regions.size());
    model.legends = data.legend.items;

    FillDataGrid(page.grid, layout, model.regions);
    page.showName = data.showText;
    page.border = SwapRedBlue(ParseInt(data.border));
    FillLegend(page.legend, data.legend);

    StageChart(model, kind, mapName, StagedCopy(model, data, page.legend.countIndex + 1));
}

} // namespace

void WriteRegionChart(const ChartModel& model, const MapPageState& page) {
    WriteMapChart(ChartKind::Region, model, page);
}

void LoadRegionChart(ChartModel& model, MapPageState& page, const QString& mapName) {
    LoadMapChart(ChartKind::Region, model, page, mapName);
}

void WriteShadeChart(const ChartModel& model, const MapPageState& page) {
    WriteMapChart(ChartKind::Shade, model, page);
}

void LoadShadeChart(ChartModel& model, MapPageState& page, const QString& mapName) {
    LoadMapChart(ChartKind::Shade, model, page, mapName);
}

} // namespace tolvane
