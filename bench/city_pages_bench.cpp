// Make && Preview on the pages of city charts, as a user meets it: the chart written from
// the grids, read back, staged and drawn in the preview.
#include "BenchApp.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/RegionCityPage.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QComboBox>
#include <QTabWidget>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

// The page at `page` with `caption` chosen in its map list.
void MakeAndPreviewOn(benchmark::State& state, int page, QComboBox* (*mapList)(MainWindow&),
                      const QString& caption) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    main.pageTabs()->setCurrentIndex(page);
    QComboBox* list = mapList(main);
    list->setCurrentText(caption);
    emit list->activated(list->currentIndex());
    for (auto _ : state) {
        main.makeAndPreview();
        benchmark::DoNotOptimize(main.previewPlayer()->picture());
    }
    state.SetLabel(caption.toStdString());
}

void BM_BubbleMakeAndPreview(benchmark::State& state) {
    MakeAndPreviewOn(
        state, 2, [](MainWindow& main) { return main.cityPage().mapList(); },
        QStringLiteral("World Cities"));
}
BENCHMARK(BM_BubbleMakeAndPreview)->Unit(benchmark::kMillisecond);

void BM_AdvanceBubbleMakeAndPreview(benchmark::State& state) {
    MakeAndPreviewOn(
        state, 3, [](MainWindow& main) { return main.regionCityPage().mapList(); },
        QStringLiteral("China"));
}
BENCHMARK(BM_AdvanceBubbleMakeAndPreview)->Unit(benchmark::kMillisecond);

} // namespace
