#include "charts/Charts.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"

namespace tolvane {

namespace {

// The movie and its data are replaced together or not at all: a movie drawn with another
// map's data would show one map's figures on another map. The staged movie is the map's
// file under a second name, so a movie staged again costs neither a copy nor, for the
// player, another read. Every load stages anew before the player reads: the files need not
// be waited onto the disk.
void Stage(const ChartModel& model, const QString& mapName, FileContent data) {
    ReplaceFilesTogether(
        {{model.stagedMoviePath(), {}, model.dataPath(mapName + QStringLiteral(".map"))},
         std::move(data)},
        Durability::Rebuilt);
}

// Whether StagedCopy changes nothing a file of the kind holds.
bool StagedCopyIsTheSame(const ChartFileData& read, int legendCount) {
    if (read.regions != static_cast<int>(read.items.size()) || read.legend.count != legendCount ||
        read.legend.items.size() > static_cast<size_t>(legendCount) || !read.cities.empty() ||
        read.cityRegions != 0)
        return false;
    for (size_t g = 0; g < read.legend.items.size(); ++g)
        if (read.legend.items[g].Id != static_cast<int32_t>(g + 1)) return false;
    return true;
}

} // namespace

void StageChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                const ChartFileData& staged) {
    Stage(model, mapName,
          {model.dataPath(StagedFileName(kind)), BuildChartFile(kind, staged, true).toBytes(), {}});
}

void StageListChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                    const LoadedChartFile& file, int legendCount) {
    const QString stagedPath = model.dataPath(StagedFileName(kind));
    // A staged copy that is the chart file byte for byte is that file under a second name:
    // nothing to build or write, and the player knows it by its stamp. Only while the file
    // still holds what was read.
    const bool same = StagedCopyIsTheSame(file.data, legendCount) && file.stamp &&
                      StampOf(file.path) == file.stamp;
    if (same && IsBuiltChartFile(kind, file)) {
        Stage(model, mapName, {stagedPath, {}, file.path});
        return;
    }
    QByteArray bytes = BuildChartFile(kind, StagedCopy(file.data, legendCount), true).toBytes();
    if (same && ContentIdOf(bytes) == file.content) {
        NoteBuiltChartFile(kind, file.content);
        Stage(model, mapName, {stagedPath, {}, file.path});
        return;
    }
    Stage(model, mapName, {stagedPath, std::move(bytes), {}});
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
