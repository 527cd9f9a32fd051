#include "charts/Charts.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"
#include "render/ChartScene.h"

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

MovieKind MovieKindOf(ChartKind kind) {
    switch (kind) {
    case ChartKind::City:
        return MovieKind::City;
    case ChartKind::RegionCity:
        return MovieKind::RegionCity;
    case ChartKind::Region:
    case ChartKind::Shade:
        break;
    }
    return MovieKind::Region;
}

QString StagedFileName(ChartKind kind) {
    return StagedFileFor(MovieKindOf(kind));
}

StagedChart StagedChartOf(ChartKind kind, const ChartFileData& read) {
    StagedChart out;
    out.border = ParseColorText(read.border);
    out.showText = read.showText;
    out.showLegend = read.legend.show;
    for (const TLegend& l : read.legend.items) {
        StagedLegendItem item;
        item.text = l.Text;
        item.color = StagedColor(l.Color);
        if (kind == ChartKind::City) item.scale = StagedScale(l.Scale);
        if (kind == ChartKind::Shade) item.shade = l.Shade;
        out.legend.push_back(std::move(item));
    }
    out.legendCount = std::clamp(read.legend.count, 0, static_cast<int>(out.legend.size()));
    if (kind == ChartKind::City) {
        out.cities.reserve(read.items.size());
        for (const TProvince& p : read.items)
            out.cities.push_back({p.Name, p.Country, StagedColor(p.Color), StagedValue(p.Value),
                                  StagedScale(p.Scale)});
        return out;
    }
    out.regions.reserve(read.items.size());
    for (const TProvince& p : read.items) {
        StagedRegion r{p.Name, p.ShortName, StagedColor(p.Color), StagedValue(p.Value),
                       kind == ChartKind::Shade ? p.Shade : 1};
        SettleRegion(r);
        out.regions.push_back(std::move(r));
    }
    return out;
}

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
    // The movie then finds what it draws decoded, from the data the file was read as.
    const auto link = [&] {
        Stage(model, mapName, {stagedPath, {}, file.path});
        KnowStagedChart(MovieKindOf(kind), file.content, file.stamp,
                        [&] { return StagedChartOf(kind, file.data); });
    };
    if (same && IsBuiltChartFile(kind, file)) {
        link();
        return;
    }
    QByteArray bytes = BuildChartFile(kind, StagedCopy(file.data, legendCount), true).toBytes();
    if (same && ContentIdOf(bytes) == file.content) {
        NoteBuiltChartFile(kind, file.content);
        link();
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
