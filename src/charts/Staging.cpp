#include "charts/Charts.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"

namespace tolvane {

void StageChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                const ChartFileData& staged) {
    CopyFileReplacing(model.dataPath(mapName + QStringLiteral(".map")), model.stagedMoviePath());
    BuildChartFile(kind, staged, true).save(model.dataPath(StagedFileName(kind)));
}

ChartFileData StagedCopy(const ChartModel& model, const ChartFileData& read, int legendCount) {
    ChartFileData staged;
    staged.regions = model.regionCount;
    staged.border = read.border;
    staged.showText = read.showText;
    staged.items = model.regions;
    staged.legend.show = read.legend.show;
    staged.legend.count = legendCount;
    for (size_t g = 0; g < model.legends.size() && g < static_cast<size_t>(legendCount); ++g) {
        TLegend item = model.legends[g];
        item.Id = static_cast<int32_t>(g + 1);
        staged.legend.items.push_back(std::move(item));
    }
    return staged;
}

} // namespace tolvane
