#pragma once

#include "forms/ColorTarget.h"
#include "model/ChartModel.h"
#include "model/UndoStack.h"
#include "render/HitTest.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QWidget;

namespace tolvane {

class ChartPlayer;
class DataGridView;
class LegendPanel;
class MainWindow;
struct PasteOutcome;

// One page of the main window's page control. The main window knows its pages only
// through this interface: it switches to them, makes their chart, saves their picture and
// hands them to the dialogs by target mode.
class ChartPage : public QObject {
    Q_OBJECT
public:
    ChartPage(MainWindow& main, QWidget* tab);

    QWidget* tab() const { return tab_; }
    // The chart mode "Make && Preview" and "Save Chart" act on while this page is shown;
    // 0 for a page with commands of its own that leaves the mode as it was.
    virtual int chartMode() const = 0;

    // The page became the active one: its chart is staged for its preview player, which
    // the main window then restarts.
    virtual void activate() = 0;
    // As activate, but the chart is loaded again from its file whatever the grids hold.
    virtual void reload() { activate(); }
    // Another page becomes active: panels of this page over the preview are hidden.
    virtual void deactivate() {}
    // Whether the grids hold the chart the page's selector names (an options file can set
    // the selector alone).
    virtual bool showsSelection() const { return true; }

    // Writes the page's grids into its chart and loads it back; false when it failed
    // (the failure has been reported). The main window restarts the preview afterwards.
    virtual bool make() = 0;

    virtual ChartPlayer* previewPlayer() const;
    virtual ChartPlayer* capturePlayer() const;
    // The picture size Save Chart uses: the page's own size bar.
    virtual QSize chartSize() const = 0;

    // What the colour, size and legend dialogs act on for a target mode this page owns.
    virtual ColorTarget colorTarget(int /*mode*/) { return {}; }
    virtual LegendState* legendTarget(int /*mode*/) { return nullptr; }

    // Shows the page state in the controls after a load or a dialog changed it.
    virtual void syncFromState() {}
    // The other way round, after controls were set without their handlers (an options
    // file): the page state takes what they show.
    virtual void syncToState() {}

    // A region or city was clicked in the preview: its row is selected in the page's grid.
    virtual void entryClicked(ChartHit::Kind /*kind*/, const QString& /*name*/,
                              const QString& /*key*/) {}

protected:
    MainWindow& main_;
    QWidget* tab_;
};

// A page that shows one map's chart data file in its grids: "Map", "Advance Map",
// "Bubble" and "Advance Bubble". It keeps the tables of the chart it loaded, and its grids
// keep what the user typed until a make, whatever other pages do meanwhile.
class MapChartPage : public ChartPage {
    Q_OBJECT
public:
    MapChartPage(MainWindow& main, QWidget* tab);

    void activate() override;
    void reload() override;
    bool showsSelection() const override {
        return !shownMap_.isEmpty() && shownMap_ == selectedMap();
    }
    bool make() override;

    // Loads `map`'s chart into the page; false when it failed (reported), leaving the page
    // as it was.
    bool load(const QString& map);
    // Loads the map the page's selector names.
    bool loadSelected() { return load(selectedMap()); }
    // The map selector chose another map: asks before discarding edits not yet made into
    // the chart, loads it and restarts the preview. A map that cannot be loaded is not
    // taken on: the selector goes back to the map the grid holds.
    void mapChange();
    // Chooses `map` in the selector and takes it on as mapChange does.
    void chooseMap(const QString& map);
    // The map the grids hold is gone (removed): its rows are neither asked about nor made.
    void forgetShownMap() { shownMap_.clear(); }

    // Whether the grids hold the current map's chart (a failed load leaves them without).
    bool chartLoaded() const;
    // Whether the grids or the legend changed since the chart was loaded or made.
    bool hasUnmadeEdits();
    const QString& shownMap() const { return shownMap_; }
    const ChartTables& tables() const { return tables_; }

    // Takes back and redoes the user's changes to the page's grids, back to the last map
    // chosen; Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y) anywhere on the page.
    UndoStack& undoStack() { return undo_; }
    void undo();
    void redo();

    void entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) override;

    // The map selector, "Map Select:". Each map's item data is its file stem.
    QComboBox* mapList() const { return mapList_; }
    // The file stem the page's map selector names (empty when it names none).
    QString selectedMap() const;

protected:
    // Runs the page's loader with the page's own state.
    virtual void loadChart(ChartModel& model, const QString& map) = 0;
    // Runs the page's loader into throw-away state: stages the map's chart as last made
    // without touching what the page shows.
    virtual void stageChart(ChartModel& scratch, const QString& map) = 0;
    virtual void writeChart(const ChartModel& model) = 0;
    // The grids whose changes count as the user's edits (and can be undone).
    virtual std::vector<GridData*> editedGrids() = 0;
    // The page's legend set, whose item count follows its grid when a step is undone.
    virtual LegendState* pageLegend() { return nullptr; }
    // The check-box rules of choosing `map`; returns what puts the controls back when the
    // map cannot be loaded.
    virtual std::function<void()> applyMapRules(const QString& map) = 0;
    // The same rules on a switch to the page that loads its chart.
    virtual void applySwitchRules(const QString& map) { applyMapRules(map); }
    // The page's map selector, made by the page: choosing a map in it runs mapChange.
    void setMapList(QComboBox* list);

    // Gives a grid view of the page its Undo and Redo in the context menu and reports
    // what a paste left undone. `extra` also gets the shortcuts (a legend panel outside
    // the page's tab). A data grid of regions or cities (`kind`) outlines the selected
    // row's shape in the preview.
    void watchGrid(DataGridView* view, ChartHit::Kind kind, QWidget* extra = nullptr);
    // The grid view that lists the regions or the cities of the page's chart.
    virtual DataGridView* gridViewFor(ChartHit::Kind /*kind*/) { return nullptr; }

private:
    // Shows the caption of `map` in the selector without running its handler.
    void selectMap(const QString& map);
    uint64_t editRevision();
    void ensureUndo();
    void reportPaste(const PasteOutcome& outcome);
    void refreshUndoActions();

    QComboBox* mapList_ = nullptr;
    QString shownMap_; // the map whose chart the grids hold
    bool reloading_ = false;
    ChartTables tables_;
    uint64_t cleanRevision_ = 0;
    UndoStack undo_;
    bool undoAttached_ = false;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};

} // namespace tolvane
