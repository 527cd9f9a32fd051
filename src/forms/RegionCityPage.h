#pragma once

#include "charts/PageState.h"
#include "forms/ChartPage.h"

class QPushButton;
class QTabWidget;

namespace tolvane {

class ChartSizeBar;
class DataGridView;
struct GridFileKind;

// The "Advance Bubble" page: filled regions with city bubbles over them. Its two sub-pages
// hold the region grid and the city grid; both are loaded and written together. The chart
// has no legend and always the same grey border.
class RegionCityPage : public MapChartPage {
    Q_OBJECT
public:
    RegionCityPage(MainWindow& main, QWidget* tab);

    int chartMode() const override { return ModeRegionCity; }
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    void entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) override;

    // Import and export act on the grid of the sub-page shown.
    void importData();
    void exportData();

    RegionCityPageState& state() { return state_; }
    QTabWidget* subPages() const { return subPages_; }
    DataGridView* regionGridView() const { return regionGrid_; }
    DataGridView* cityGridView() const { return cityGrid_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    std::function<void()> applyMapRules(const QString&) override {
        return [] {}; // no boxes follow the map
    }
    DataGridView* gridViewFor(ChartHit::Kind kind) override;

private:
    // The grid of the sub-page shown, and how its files are laid out.
    struct SubPageGrid {
        DataGridView* view;
        GridData& grid;
        const GridFileKind& kind;
    };
    SubPageGrid shownGrid();
    void build(QWidget* tab);
    // A sub-page: its grid on the left, hints and the buttons (in pairs) beside it.
    QWidget* subPage(const QString& name, DataGridView* grid,
                     const std::vector<QPushButton*>& buttons);

    RegionCityPageState state_;
    QTabWidget* subPages_ = nullptr;
    DataGridView* regionGrid_ = nullptr;
    DataGridView* cityGrid_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* export_ = nullptr;
};

} // namespace tolvane
