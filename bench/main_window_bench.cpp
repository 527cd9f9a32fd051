// The "Map" page as a user meets it, offscreen: start-up to the first chart drawn, changing
// to the largest map, and Make && Preview on it. Each run uses its own copy of data/.
#include "BenchApp.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "platform/Dialogs.h"
#include "render/MapMovie.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <benchmark/benchmark.h>

using namespace tolvane;
using bench::AppCopy;
using bench::EnsureApplication;

namespace {

// The map of the "Map" page with the most to draw.
const QString kLargest = QStringLiteral("China");

void ChooseMap(MainWindow& main, const QString& map) {
    main.regionPage().mapList()->setCurrentText(map);
    main.regionPage().mapChange();
}

} // namespace

static void BM_StartUpToFirstChart(benchmark::State& state) {
    EnsureApplication();
    AppCopy app;
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        ClearMovieCache(); // a fresh process has decoded nothing yet
        MainWindow main(app.path(), dialogs);
        main.startUp();
        main.show();
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
}
BENCHMARK(BM_StartUpToFirstChart)->Unit(benchmark::kMillisecond);

static void BM_ChangeToLargestMap(benchmark::State& state) {
    EnsureApplication();
    AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    const bool cold = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        ChooseMap(main, QStringLiteral("Germany"));
        if (cold) ClearMovieCache();
        state.ResumeTiming();
        ChooseMap(main, kLargest);
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
    state.SetLabel(cold ? "first time" : "seen before");
}
BENCHMARK(BM_ChangeToLargestMap)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

static void BM_MakeAndPreviewLargestMap(benchmark::State& state) {
    EnsureApplication();
    AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    ChooseMap(main, kLargest);
    for (auto _ : state) {
        main.makeAndPreview();
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
}
BENCHMARK(BM_MakeAndPreviewLargestMap)->Unit(benchmark::kMillisecond);
