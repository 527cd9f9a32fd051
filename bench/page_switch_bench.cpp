// The "Advance Map" page: switching to it on the largest shade map, and Make && Preview there.
#include "BenchApp.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <QTabWidget>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

// China ("Chinaad") is the shade map with the most to draw.
void OpenChinaShadeMap(MainWindow& main) {
    main.pageTabs()->setCurrentIndex(1);
    main.shadePage().mapList()->setCurrentText(QStringLiteral("China"));
    main.shadePage().mapChange();
}

} // namespace

static void BM_SwitchToAdvanceMap(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    OpenChinaShadeMap(main);
    for (auto _ : state) {
        state.PauseTiming();
        main.pageTabs()->setCurrentIndex(0);
        state.ResumeTiming();
        main.pageTabs()->setCurrentIndex(1);
        benchmark::DoNotOptimize(main.shadePreviewPlayer()->picture());
    }
}
BENCHMARK(BM_SwitchToAdvanceMap)->Unit(benchmark::kMillisecond);

static void BM_MakeAndPreviewShadeMap(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    OpenChinaShadeMap(main);
    for (auto _ : state) {
        main.makeAndPreview();
        benchmark::DoNotOptimize(main.shadePreviewPlayer()->picture());
    }
}
BENCHMARK(BM_MakeAndPreviewShadeMap)->Unit(benchmark::kMillisecond);
