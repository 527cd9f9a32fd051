#include "charts/Charts.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"

namespace tolvane {

void StageChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                const ChartFileData& staged) {
    // The movie and its data are replaced together or not at all: a movie drawn with
    // another map's data would show one map's figures on another map. The staged movie is
    // the map's file under a second name, so a movie staged again costs neither a copy nor,
    // for the player, another read. Every load stages anew before the player reads: the
    // files need not be waited onto the disk.
    ReplaceFilesTogether(
        {{model.stagedMoviePath(), {}, model.dataPath(mapName + QStringLiteral(".map"))},
         {model.dataPath(StagedFileName(kind)), BuildChartFile(kind, staged, true).toBytes(), {}}},
        Durability::Rebuilt);
}

ChartFileData StagedCopy(const ChartFileData& read, int legendCount) {
    ChartFileData staged;
    staged.regions = static_cast<int>(read.items.size());
    staged.border = read.border;
    staged.showText = read.showText;
    staged.items = read.items;
    staged.legend.show = read.legend.show;
    staged.legend.count = legendCount;
    for (size_t g = 0; g < read.legend.items.size() && g < static_cast<size_t>(legendCount); ++g) {
        TLegend item = read.legend.items[g];
        item.Id = static_cast<int32_t>(g + 1);
        staged.legend.items.push_back(std::move(item));
    }
    return staged;
}

} // namespace tolvane
