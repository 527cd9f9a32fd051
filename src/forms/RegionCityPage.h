#pragma once

#include "charts/PageState.h"
#include "forms/ChartPage.h"

class QComboBox;
class QPushButton;
class QTabWidget;

namespace tolvane {

class ChartSizeBar;
class DataGridView;
struct GridFileKind;
class MapTable;

// The "Advance Bubble" page: filled regions with city bubbles over them. Its two sub-pages
// hold the region grid and the city grid; both are loaded and written together. The chart
// has no legend and always the same grey border.
class RegionCityPage : public MapChartPage {
    Q_OBJECT
public:
    RegionCityPage(MainWindow& main, QWidget* tab);

    // The captions of the map list and the file stems they name.
    static const MapTable& maps();

    int chartMode() const override { return ModeRegionCity; }
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    QString selectedMap() const override;
    void entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) override;

    // Handlers.
    void chooseRegionCellColor(int col, int row);
    void chooseCityCellColor(int col, int row);
    void regionGradientColor(); // "Region": gradient colour
    void regionRangeColor();    // "Region": range colour
    void cityGradientColor();   // "  City  ": gradient colour
    void cityRangeColor();      // "  City  ": range colour
    void cityGradientSize();    // "  City  ": gradient size
    void cityRangeSize();       // "  City  ": range size
    // Import and export act on the grid of the sub-page shown.
    void importData();
    void exportData();

    RegionCityPageState& state() { return state_; }
    QComboBox* mapList() const { return mapList_; }
    QTabWidget* subPages() const { return subPages_; }
    DataGridView* regionGridView() const { return regionGridView_; }
    DataGridView* cityGridView() const { return cityGridView_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    QPushButton* importButton() const { return importButton_; }
    QPushButton* exportButton() const { return exportButton_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    std::function<void()> applyMapRules(const QString&) override {
        return [] {}; // no boxes follow the map
    }
    void selectMap(const QString& map) override;
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
    // A sub-page: its grid on the left, hints and buttons beside it.
    QWidget* subPage(const QString& name, DataGridView* grid,
                     const std::vector<QPushButton*>& buttons);

    RegionCityPageState state_;
    QComboBox* mapList_ = nullptr;
    QTabWidget* subPages_ = nullptr;
    DataGridView* regionGridView_ = nullptr;
    DataGridView* cityGridView_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
};

} // namespace tolvane
