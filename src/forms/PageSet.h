#pragma once

#include "charts/AddedMaps.h"
#include "forms/ColorTarget.h"
#include "render/HitTest.h"

#include <QObject>
#include <memory>
#include <vector>

class QTabWidget;
class QWidget;

namespace tolvane {

class ChartPage;
class ChartPlayer;
class FlagPage;
class LegendMapPage;
class MainWindow;
class RegionCityPage;

// The page control: a tab per chart kind, the page classes behind the tabs, and what passes
// between the main window and its pages (switching, the dialogs' targets, clicks on the
// preview, the added maps). The pages hold the grids the views show: the main window deletes
// its widgets before this.
class PageSet : public QObject {
    Q_OBJECT
public:
    PageSet(MainWindow& main, QWidget* parent);
    ~PageSet() override;

    // Makes the pages, in page-control order, once the dialogs they open exist.
    void addPages();

    QTabWidget* tabs() const { return tabs_; }
    LegendMapPage& region() const { return *region_; }
    LegendMapPage& shade() const { return *shade_; }
    LegendMapPage& city() const { return *city_; }
    RegionCityPage& regionCity() const { return *regionCity_; }
    FlagPage& flag() const { return *flag_; }

    // The page shown last.
    ChartPage& active() const { return *pages_[static_cast<size_t>(active_)]; }
    int activeIndex() const { return active_; }
    // The page "Make && Preview" and "Save Chart" act on in a chart mode; null for none.
    ChartPage* ofMode(int chartMode) const;
    // Shows page `index` and restarts its preview; `reload` loads its chart again even when
    // the grids hold it. The page control's switches come here.
    void showPage(int index, bool reload);

    // What the colour, size and legend dialogs act on for a target mode: the page that
    // owns it says.
    ColorTarget colorTarget(int mode) const;
    LegendState* legendTarget(int mode) const;
    // A dialog changed the grid of a target mode: its page shows it.
    void showTargetChanged(int mode);
    // After an options file set the controls without their handlers.
    void takeControlsIntoState();

    // A region or city clicked in a preview: the active page selects its row.
    void showEntry(const ChartPlayer& player, ChartHit hit);

    // The added maps into the map lists of their pages.
    void listAddedMaps(const std::vector<AddedMap>& maps);
    // Shows an added map on its page, as if the user chose it there.
    void showAddedMap(const AddedMap& map);

private:
    // Adds a page's tab and takes the page on.
    template <typename Page, typename... Args>
    Page* add(const QString& caption, const QString& tabName, Args&&... args);

    MainWindow& main_;
    QTabWidget* tabs_;
    std::vector<std::unique_ptr<ChartPage>> pages_;
    LegendMapPage* region_ = nullptr;
    LegendMapPage* shade_ = nullptr;
    LegendMapPage* city_ = nullptr;
    RegionCityPage* regionCity_ = nullptr;
    FlagPage* flag_ = nullptr;
    int active_ = 0;
};

} // namespace tolvane
