#include "forms/ChartPage.h"

#include "forms/PlayerMessageFilter.h"
#include "forms/TFrmMain.h"
#include "platform/Dialogs.h"

namespace tolvane {

ChartPage::ChartPage(TFrmMain& main, QWidget* tab)
    : main_(main)
    , tab_(tab) {}

ChartPlayer* ChartPage::previewPlayer() const {
    return main_.Flash1;
}

ChartPlayer* ChartPage::capturePlayer() const {
    return main_.flash2;
}

uint64_t MapChartPage::editRevision() const {
    uint64_t sum = 0;
    for (const GridData* grid : editedGrids())
        sum += grid->revision();
    return sum;
}

bool MapChartPage::chartLoaded() const {
    return !shownMap_.isEmpty() && shownMap_ == main_.model().currentMapName;
}

bool MapChartPage::hasUnmadeEdits() const {
    return !shownMap_.isEmpty() && editRevision() != cleanRevision_;
}

bool MapChartPage::load(const QString& map) {
    ChartModel& model = main_.model();
    const bool loaded = main_.runOperation([&] { loadChart(model, map); });
    if (loaded) {
        shownMap_ = map;
        tables_ = model.tables();
        cleanRevision_ = editRevision();
    }
    syncFromState();
    main_.playerFilter().install();
    main_.letEventsRun();
    return loaded;
}

void MapChartPage::mapChange() {
    ChartModel& model = main_.model();
    const QString map = selectedMap();
    if (map.isEmpty() || (map == shownMap_ && chartLoaded())) return;
    if (hasUnmadeEdits() &&
        !main_.dialogs().askOkCancel(
            tab_, QStringLiteral("Information"),
            QStringLiteral("The values you entered for %1 have not been made into the chart. "
                           "Discard them?")
                .arg(shownMap_))) {
        selectMap(shownMap_);
        return;
    }
    const std::function<void()> undoRules = applyMapRules(map);
    model.currentMapName = map;
    if (!load(map) && !shownMap_.isEmpty()) {
        // The grids still hold the previous map: go back to it, or the next make would
        // write them into the chosen map's file.
        model.currentMapName = shownMap_;
        selectMap(shownMap_);
        undoRules();
        syncFromState();
        return;
    }
    main_.placePreview(previewPlayer());
    main_.letEventsRun();
    main_.RestartPreview(previewPlayer());
}

void MapChartPage::activate() {
    ChartModel& model = main_.model();
    model.chartMode = chartMode();
    model.tables() = tables_;
    const QString map = selectedMap();
    if (shownMap_.isEmpty() || map != shownMap_) {
        applySwitchRules(map);
        model.currentMapName = map;
        load(map);
        return;
    }
    // The grids keep the user's edits; the preview shows the chart as last made.
    model.currentMapName = shownMap_;
    main_.runOperation([&] {
        ChartModel scratch = model;
        stageChart(scratch, shownMap_);
    });
}

bool MapChartPage::make() {
    ChartModel& model = main_.model();
    if (!chartLoaded()) {
        main_.dialogs().showError(
            tab_, QStringLiteral("The chart of \"%1\" could not be loaded, so there is "
                                 "nothing to make. Choose the map again.")
                      .arg(model.currentMapName));
        return false;
    }
    if (!main_.runOperation([&] { writeChart(model); })) return false;
    main_.letEventsRun();
    return load(shownMap_);
}

} // namespace tolvane
