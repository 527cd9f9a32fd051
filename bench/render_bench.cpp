// Drawing and preview benchmarks. The map is the largest movie in data/ of the build tree
// (the shipped maps), or the file named by TOLVANE_BENCH_MAP; the chart data drawn on it is
// the map's own chart data file beside it (<map>.xml), when there is one.
//
//   build/tolvane_bench [--benchmark_filter=...]
#include "charts/Charts.h"
#include "model/UserError.h"
#include "render/ChartRenderer.h"
#include "render/ChartScene.h"
#include "render/MapMovie.h"
#include "render/PictureFile.h"
#include "widgets/ChartPlayer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tolvane;

namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tolvane_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
}

QString LargestMap() {
    const QString chosen = qEnvironmentVariable("TOLVANE_BENCH_MAP");
    if (!chosen.isEmpty()) return chosen;
    QString best;
    qint64 bestSize = -1;
    QDirIterator it(QStringLiteral(TOLVANE_BINARY_DIR "/data"), {QStringLiteral("*.map")},
                    QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.fileName() == u"cmap.map" || info.fileName() == u"cmap1.map") continue;
        if (info.size() > bestSize) {
            bestSize = info.size();
            best = info.filePath();
        }
    }
    return best;
}

// An application folder with the map staged by the program's own loader (data/cmap.map
// and the staged data file of its kind), and the blank cmap1.map.
struct StagedFolder {
    QTemporaryDir dir;
    QString data;
    bool ok = false;
    StagedFolder() {
        const QString map = LargestMap();
        if (map.isEmpty()) return;
        data = dir.path() + QStringLiteral("/data/");
        QDir().mkpath(data);
        const QString stem = QFileInfo(map).completeBaseName();
        QFile::copy(map, data + stem + QStringLiteral(".map"));
        QFile::copy(QFileInfo(map).path() + u'/' + stem + QStringLiteral(".xml"),
                    data + stem + QStringLiteral(".xml"));
        QFile blank(data + QStringLiteral("cmap1.map"));
        blank.open(QIODevice::WriteOnly);
        blank.write(R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"blank"}})");
        blank.close();
        ChartModel model;
        model.appFolder = dir.path() + u'/';
        model.currentMapName = stem;
        try {
            switch (LoadMapMovie(data + stem + QStringLiteral(".map"))->kind) {
            case MovieKind::City: {
                CityPageState page;
                int32_t border = 0;
                LoadCityChart(model, page, border, stem);
                break;
            }
            case MovieKind::RegionCity: {
                RegionCityPageState page;
                LoadRegionCityChart(model, page, stem);
                break;
            }
            default: {
                MapPageState page;
                LoadRegionChart(model, page, stem);
            }
            }
        } catch (const UserError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return;
        }
        ok = true;
        std::fprintf(stderr, "map: %s\n", qPrintable(map));
    }
};

StagedFolder& Staged() {
    static StagedFolder folder;
    return folder;
}

void BM_DecodeMovie(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const QString path = Staged().data + QStringLiteral("cmap.map");
    for (auto _ : state) {
        ClearMovieCache();
        benchmark::DoNotOptimize(LoadMapMovie(path));
    }
}
BENCHMARK(BM_DecodeMovie)->Unit(benchmark::kMillisecond);

void BM_DrawLargestMap(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const ChartScene scene = LoadChartScene(Staged().data + QStringLiteral("cmap.map"));
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChartImage(scene, size));
}
BENCHMARK(BM_DrawLargestMap)->Args({2000, 1400})->Args({500, 350})->Unit(benchmark::kMillisecond);

// What a preview restart costs once the map was seen: the blank movie, the staged movie
// again (decoded geometry comes from the cache), its staged data file, and the drawing at
// the preview's size.
void BM_PreviewRestart(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    ChartPlayer player;
    player.resize(793, 308);
    const QString blank = Staged().data + QStringLiteral("cmap1.map");
    const QString movie = Staged().data + QStringLiteral("cmap.map");
    player.LoadMovie(0, movie); // the map was played before
    player.Play();
    for (auto _ : state) {
        player.LoadMovie(0, blank);
        player.LoadMovie(0, movie);
        player.Play();
        benchmark::DoNotOptimize(player.picture());
    }
}
BENCHMARK(BM_PreviewRestart)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const ChartScene scene = LoadChartScene(Staged().data + QStringLiteral("cmap.map"));
    const QImage image = RenderChartImage(scene, QSize(2000, 1400));
    const bool png = state.range(0) == 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(png ? EncodePng(image) : EncodeBmp24(image));
    state.SetLabel(png ? "png" : "bmp");
}
BENCHMARK(BM_Encode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
