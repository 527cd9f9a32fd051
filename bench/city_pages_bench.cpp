// Make && Preview on the pages of city charts, as a user meets it: the chart written from
// the grids, read back, staged and drawn in the preview.
#include "BenchApp.h"
#include "forms/CityPage.h"
#include "forms/RegionCityPage.h"
#include "forms/TFrmMain.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <QTabWidget>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

// The page at `page` with `caption` chosen in its map list.
void MakeAndPreviewOn(benchmark::State& state, int page, QComboBox* (*mapList)(TFrmMain&),
                      const QString& caption) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    TFrmMain main(app.path(), dialogs);
    main.FormCreate();
    main.show();
    main.pgControl()->setCurrentIndex(page);
    QComboBox* list = mapList(main);
    list->setCurrentText(caption);
    emit list->activated(list->currentIndex());
    for (auto _ : state) {
        main.cmdMakeClick();
        benchmark::DoNotOptimize(main.Flash1->picture());
    }
    state.SetLabel(caption.toStdString());
}

void BM_BubbleMakeAndPreview(benchmark::State& state) {
    MakeAndPreviewOn(
        state, 2, [](TFrmMain& main) { return main.cityPage().cmbCityMap(); },
        QStringLiteral("World Cities"));
}
BENCHMARK(BM_BubbleMakeAndPreview)->Unit(benchmark::kMillisecond);

void BM_AdvanceBubbleMakeAndPreview(benchmark::State& state) {
    MakeAndPreviewOn(
        state, 3, [](TFrmMain& main) { return main.regionCityPage().cmbRCMap(); },
        QStringLiteral("China"));
}
BENCHMARK(BM_AdvanceBubbleMakeAndPreview)->Unit(benchmark::kMillisecond);

} // namespace
