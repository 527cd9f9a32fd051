// The "Advance Map" page: switching to it on the largest shade map, and Make && Preview there.
#include "BenchApp.h"
#include "forms/ShadePage.h"
#include "forms/TFrmMain.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <QTabWidget>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

// China ("Chinaad") is the shade map with the most to draw.
void OpenChinaShadeMap(TFrmMain& main) {
    main.pgControl()->setCurrentIndex(1);
    main.shadePage().cmbShadeMap()->setCurrentText(QStringLiteral("China"));
    main.shadePage().cmbShadeMapChange();
}

} // namespace

static void BM_SwitchToAdvanceMap(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    TFrmMain main(app.path(), dialogs);
    main.FormCreate();
    main.show();
    OpenChinaShadeMap(main);
    for (auto _ : state) {
        state.PauseTiming();
        main.pgControl()->setCurrentIndex(0);
        state.ResumeTiming();
        main.pgControl()->setCurrentIndex(1);
        benchmark::DoNotOptimize(main.ShadeFlash1->picture());
    }
}
BENCHMARK(BM_SwitchToAdvanceMap)->Unit(benchmark::kMillisecond);

static void BM_MakeAndPreviewShadeMap(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    TFrmMain main(app.path(), dialogs);
    main.FormCreate();
    main.show();
    OpenChinaShadeMap(main);
    for (auto _ : state) {
        main.cmdMakeClick();
        benchmark::DoNotOptimize(main.ShadeFlash1->picture());
    }
}
BENCHMARK(BM_MakeAndPreviewShadeMap)->Unit(benchmark::kMillisecond);
