// Users' own maps at scale: the generated maps of 10k, 50k and 200k cells that
// tools/mapimport/bench_addmap.sh adds (into $BENCH_DIR/app<cells>/data/cells<cells>.*,
// BENCH_DIR defaulting to /tmp/addmap-bench, as in that script). Maps not made yet are
// skipped with a note. The stages of drawing one (decoding the movie, loading and staging
// the chart, reading the staged chart, drawing it at 2000x1400), and on the "Map" page
// changing to it and Make && Preview on it.
//
//   tools/mapimport/bench_addmap.sh 1 && build/tolvane_bench --benchmark_filter=AddedMap
#include "BenchApp.h"
#include "charts/AddedMaps.h"
#include "charts/Charts.h"
#include "forms/AddedMapRow.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "render/ChartRenderer.h"
#include "render/ChartScene.h"
#include "render/MapMovie.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

QString Stem(int64_t cells) {
    return QStringLiteral("cells%1").arg(cells);
}

// The application folder the script added the map to; empty when it has not.
QString MadeFolder(int64_t cells) {
    QString dir = qEnvironmentVariable("BENCH_DIR");
    if (dir.isEmpty()) dir = QStringLiteral("/tmp/addmap-bench");
    const QString folder = dir + QStringLiteral("/app%1/").arg(cells);
    return QFileInfo::exists(folder + QStringLiteral("data/") + Stem(cells) +
                             QStringLiteral(".xml"))
               ? folder
               : QString();
}

// A copy of the shipped data folder with the map added to it, as "Add map…" leaves it.
struct AppWithMap : bench::AppCopy {
    bool ok = false;
    explicit AppWithMap(int64_t cells) {
        const QString from = MadeFolder(cells);
        if (from.isEmpty()) return;
        const QString data = from + QStringLiteral("data/") + Stem(cells);
        AddedMap map;
        map.stem = Stem(cells);
        map.title = map.stem;
        map.entries = cells;
        AddMapFiles(path(), map, ReadWholeFile(data + QStringLiteral(".map")),
                    ReadWholeFile(data + QStringLiteral(".xml")));
        // As a map added a while ago: files written a moment ago are read again on every
        // use, since their times do not yet tell their content apart.
        for (const char* suffix : {".map", ".xml"}) {
            QFile file(path() + QStringLiteral("data/") + map.stem + QLatin1String(suffix));
            if (file.open(QIODevice::ReadWrite))
                file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime);
        }
        ok = true;
    }
};

bool Skip(benchmark::State& state, int64_t cells) {
    if (!MadeFolder(cells).isEmpty()) return false;
    state.SkipWithError("map not made: run tools/mapimport/bench_addmap.sh");
    return true;
}

ChartModel ModelFor(int64_t cells) {
    ChartModel model;
    model.appFolder = MadeFolder(cells);
    model.currentMapName = Stem(cells);
    return model;
}

void BM_AddedMapDecode(benchmark::State& state) {
    if (Skip(state, state.range(0))) return;
    const QString movie = ModelFor(state.range(0)).movieFilePath();
    for (auto _ : state) {
        ClearMovieCache();
        benchmark::DoNotOptimize(LoadMapMovie(movie));
    }
}

void BM_AddedMapLoadChart(benchmark::State& state) {
    if (Skip(state, state.range(0))) return;
    ChartModel model = ModelFor(state.range(0));
    for (auto _ : state) {
        MapPageState page;
        LoadRegionChart(model, page, model.currentMapName);
    }
}

void BM_AddedMapScene(benchmark::State& state) {
    if (Skip(state, state.range(0))) return;
    ChartModel model = ModelFor(state.range(0));
    MapPageState page;
    LoadRegionChart(model, page, model.currentMapName);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadChartScene(model.stagedMoviePath()));
}

void BM_AddedMapDraw(benchmark::State& state) {
    bench::EnsureApplication();
    if (Skip(state, state.range(0))) return;
    ChartModel model = ModelFor(state.range(0));
    MapPageState page;
    LoadRegionChart(model, page, model.currentMapName);
    const ChartScene scene = LoadChartScene(model.stagedMoviePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChartImage(scene, QSize(2000, 1400)));
}

void ChooseMap(MainWindow& main, const QString& stem) {
    main.regionPage().mapList()->setCurrentIndex(main.regionPage().mapList()->findData(stem));
    main.regionPage().mapChange();
}

// From another map to this one, seen before (its movie decoded once already).
void BM_AddedMapChange(benchmark::State& state) {
    bench::EnsureApplication();
    if (Skip(state, state.range(0))) return;
    AppWithMap app(state.range(0));
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    ChooseMap(main, Stem(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ChooseMap(main, QStringLiteral("Germany"));
        state.ResumeTiming();
        ChooseMap(main, Stem(state.range(0)));
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
}

// Presses "Make && Preview" on the map; with `edit`, on a chart with a value in every row,
// after changing one, as a user makes the chart.
void makeAndPreview(benchmark::State& state, bool edit) {
    bench::EnsureApplication();
    if (Skip(state, state.range(0))) return;
    AppWithMap app(state.range(0));
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    ChooseMap(main, Stem(state.range(0)));
    int value = 0;
    if (edit) {
        // As a user's chart: a value in every row, with decimals, made once.
        GridData& grid = main.regionPage().state().grid;
        for (int row = 2; row < grid.rowCount(); ++row)
            grid.setText(3, row, QString::number(row * 1.37 + 0.01, 'f', 2));
        main.makeAndPreview();
    }
    for (auto _ : state) {
        if (edit) {
            state.PauseTiming();
            main.regionPage().state().grid.setText(3, 2, QString::number(++value));
            state.ResumeTiming();
        }
        main.makeAndPreview();
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
}

void BM_AddedMapMakeAndPreview(benchmark::State& state) {
    makeAndPreview(state, false);
}

void BM_AddedMapEditMakeAndPreview(benchmark::State& state) {
    makeAndPreview(state, true);
}

} // namespace

BENCHMARK(BM_AddedMapDecode)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapLoadChart)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapScene)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapDraw)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapChange)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapMakeAndPreview)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddedMapEditMakeAndPreview)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);
