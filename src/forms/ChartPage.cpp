#include "forms/ChartPage.h"

#include "charts/PageState.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/PlayerMessageFilter.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"
#include "widgets/DataGridView.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>

namespace tolvane {

ChartPage::ChartPage(MainWindow& main, QWidget* tab)
    : main_(main)
    , tab_(tab) {}

ChartPlayer* ChartPage::previewPlayer() const {
    return main_.previewPlayer();
}

ChartPlayer* ChartPage::capturePlayer() const {
    return main_.capturePlayer();
}

MapChartPage::MapChartPage(MainWindow& main, QWidget* tab)
    : ChartPage(main, tab)
    , undoAction_(new QAction(QStringLiteral("Undo"), tab))
    , redoAction_(new QAction(QStringLiteral("Redo"), tab)) {
    undoAction_->setShortcut(QKeySequence::Undo);
    // Ctrl+Y too, as spreadsheet programs have it, unless the desktop has it already (a
    // shortcut given twice would trigger nothing).
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redoKeys << QKeySequence(Qt::CTRL | Qt::Key_Y);
    redoAction_->setShortcuts(redoKeys);
    for (QAction* action : {undoAction_, redoAction_}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        tab->addAction(action);
    }
    connect(undoAction_, &QAction::triggered, this, &MapChartPage::undo);
    connect(redoAction_, &QAction::triggered, this, &MapChartPage::redo);
    undo_.setListener([this] { refreshUndoActions(); });
}

void MapChartPage::setMapList(QComboBox* list) {
    mapList_ = list;
    connect(mapList_, &QComboBox::activated, this, &MapChartPage::mapChange);
}

QString MapChartPage::selectedMap() const {
    return mapList_->currentData().toString();
}

void MapChartPage::selectMap(const QString& map) {
    const QSignalBlocker block(mapList_);
    if (const int at = mapList_->findData(map); at >= 0) mapList_->setCurrentIndex(at);
}

void MapChartPage::ensureUndo() {
    if (undoAttached_) return;
    undoAttached_ = true;
    for (GridData* grid : editedGrids())
        undo_.attach(*grid);
}

void MapChartPage::refreshUndoActions() {
    const QString undoName = undo_.undoName();
    const QString redoName = undo_.redoName();
    undoAction_->setText(undoName.isEmpty() ? QStringLiteral("Undo")
                                            : QStringLiteral("Undo %1").arg(undoName));
    redoAction_->setText(redoName.isEmpty() ? QStringLiteral("Redo")
                                            : QStringLiteral("Redo %1").arg(redoName));
}

void MapChartPage::undo() {
    undo_.undo();
    if (LegendState* legend = pageLegend())
        legend->countIndex = std::max(legend->grid.rowCount() - 2, -1);
    syncFromState();
}

void MapChartPage::redo() {
    undo_.redo();
    if (LegendState* legend = pageLegend())
        legend->countIndex = std::max(legend->grid.rowCount() - 2, -1);
    syncFromState();
}

void MapChartPage::watchGrid(DataGridView* view, ChartHit::Kind kind, QWidget* extra) {
    view->setMenuActions({undoAction_, redoAction_});
    connect(view, &DataGridView::menuAboutToShow, this, &MapChartPage::refreshUndoActions);
    connect(view, &DataGridView::pasteIncomplete, this, &MapChartPage::reportPaste);
    if (extra) extra->addActions({undoAction_, redoAction_});
    if (kind == ChartHit::Kind::None) return;
    connect(view, &DataGridView::cellSelected, this, [this, view, kind](int, int row) {
        const GridData& grid = view->grid();
        previewPlayer()->highlight(kind, grid.text(ColName, row), grid.text(ColKey, row));
    });
}

void MapChartPage::entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) {
    DataGridView* view = gridViewFor(kind);
    if (!view) return;
    const GridData& grid = view->grid();
    for (int row = 2; row < grid.rowCount(); ++row) {
        if (grid.text(ColName, row) != name || grid.text(ColKey, row) != key) continue;
        view->selectCell(ColName, row); // the name: a colour cell would ask for a colour
        view->scrollTo(view->currentIndex(), QAbstractItemView::PositionAtCenter);
        return;
    }
}

void MapChartPage::reportPaste(const PasteOutcome& outcome) {
    constexpr int kNamed = 12;
    QStringList lines;
    if (!outcome.skippedRows.isEmpty()) {
        QStringList names = outcome.skippedRows.mid(0, kNamed);
        if (outcome.skippedRows.size() > kNamed)
            names << QStringLiteral("and %1 more").arg(outcome.skippedRows.size() - kNamed);
        lines << QStringLiteral("Some values were not pasted, because their cells cannot take "
                                "them (only numbers go into these cells, and names and regions "
                                "without data cannot be changed). Rows left as they were: %1.")
                     .arg(names.join(QStringLiteral(", ")));
    }
    if (outcome.beyondLastRow > 0)
        lines << QStringLiteral("%1 line(s) below the last row were left out.")
                     .arg(outcome.beyondLastRow);
    main_.dialogs().showMessage(tab_, lines.join(QStringLiteral("\n\n")));
}

uint64_t MapChartPage::editRevision() {
    uint64_t sum = 0;
    for (const GridData* grid : editedGrids())
        sum += grid->revision();
    return sum;
}

bool MapChartPage::chartLoaded() const {
    return !shownMap_.isEmpty() && shownMap_ == main_.model().currentMapName;
}

bool MapChartPage::hasUnmadeEdits() {
    return !shownMap_.isEmpty() && editRevision() != cleanRevision_;
}

bool MapChartPage::load(const QString& map) {
    ChartModel& model = main_.model();
    ensureUndo();
    bool loaded = false;
    {
        const UndoPause pause(undo_); // what a load puts in place is no step of the user's
        loaded = main_.runOperation([&] { loadChart(model, map); });
    }
    if (loaded) {
        if (map != shownMap_) undo_.clear(); // undo goes back no further than the map chosen
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
    main_.restartPreview(previewPlayer());
}

void MapChartPage::chooseMap(const QString& map) {
    selectMap(map);
    mapChange();
}

void MapChartPage::activate() {
    ChartModel& model = main_.model();
    model.chartMode = chartMode();
    model.tables() = tables_;
    const QString map = selectedMap();
    if (reloading_ || shownMap_.isEmpty() || map != shownMap_) {
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

void MapChartPage::reload() {
    // Through activate, so that what a page adds to it (its own player) happens too.
    reloading_ = true;
    activate();
    reloading_ = false;
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
