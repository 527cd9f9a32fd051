#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/Colors.h"
#include "model/NumberFormat.h"
#include "platform/XmlDocument.h"

namespace tolvane {

void WriteCityChart(const ChartModel& model, const CityPageState& page, int32_t border) {
    ChartFileData data;
    data.regions = model.regionCount;
    data.border = QString::number(SwapRedBlue(border));
    data.showText = page.showName;
    data.items = CollectDataGrid(page.grid, GridLayout::City, model.regions);
    data.legend = CollectLegend(page.legend);
    BuildChartFile(ChartKind::City, data).save(model.chartFilePath());
}

void LoadCityChart(ChartModel& model, CityPageState& page, int32_t& border,
                   const QString& mapName) {
    ChartFileData data =
        LoadChartFile(ChartKind::City, model.dataPath(mapName + QStringLiteral(".xml")));

    // Cities live in the region table while the "Bubble" page shows them.
    model.regions = std::move(data.items);
    model.regionCount = static_cast<int>(model.regions.size());
    model.legends = data.legend.items;

    FillDataGrid(page.grid, GridLayout::City, model.regions);
    page.showName = data.showText;
    border = SwapRedBlue(ParseInt(data.border));
    FillLegend(page.legend, data.legend);

    StageChart(model, ChartKind::City, mapName,
               StagedCopy(model, data, page.legend.countIndex + 1));
}

} // namespace tolvane
