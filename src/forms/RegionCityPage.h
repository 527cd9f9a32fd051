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
    RegionCityPage(TFrmMain& main, QWidget* tab);

    // The captions of the map list and the file stems they name.
    static const MapTable& maps();

    int chartMode() const override { return ModeRegionCity; }
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    QString selectedMap() const override;
    void entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) override;

    // Handlers.
    void cmbRCMapChange() { mapChange(); }
    void WRCRGridSelectCell(int col, int row);
    void WRCCGridSelectCell(int col, int row);
    void cmdRCRColor1Click(); // "Region": gradient colour
    void cmdRCRColor2Click(); // "Region": range colour
    void cmdRCRColor3Click(); // "  City  ": gradient colour
    void cmdRCRColor4Click(); // "  City  ": range colour
    void RzBitBtn6Click();    // "  City  ": gradient size
    void RzBitBtn7Click();    // "  City  ": range size
    // Import and export act on the grid of the sub-page shown.
    void cmdRCImportClick();
    void cmdRCExportClick();

    RegionCityPageState& state() { return state_; }
    QComboBox* cmbRCMap() const { return cmbRCMap_; }
    QTabWidget* pgRC() const { return pgRC_; }
    DataGridView* WRCRGrid() const { return WRCRGrid_; }
    DataGridView* WRCCGrid() const { return WRCCGrid_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    QPushButton* cmdRCImport() const { return cmdRCImport_; }
    QPushButton* cmdRCExport() const { return cmdRCExport_; }

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
    QComboBox* cmbRCMap_ = nullptr;
    QTabWidget* pgRC_ = nullptr;
    DataGridView* WRCRGrid_ = nullptr;
    DataGridView* WRCCGrid_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    QPushButton* cmdRCImport_ = nullptr;
    QPushButton* cmdRCExport_ = nullptr;
};

} // namespace tolvane
