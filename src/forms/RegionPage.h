#pragma once

#include "charts/PageState.h"
#include "forms/ChartPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace tolvane {

class AddedMapRow;
class ChartSizeBar;
class ColorEdit;
class DataGridView;
class LegendPanel;

// The "Map" page: choose a map, type or colour one value per region, set the legend.
class RegionPage : public MapChartPage {
    Q_OBJECT
public:
    RegionPage(TFrmMain& main, QWidget* tab);

    static const QStringList& mapList();
    // Maps whose regions are labelled well enough to offer "Show Name".
    static bool mapHasNames(const QString& map);
    // The shorter list start-up uses before any map is chosen.
    static bool startupMapHasNames(const QString& map);

    int chartMode() const override { return ModeRegion; }
    void deactivate() override;
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    LegendState* legendTarget(int mode) override;
    QString selectedMap() const override;
    void syncFromState() override;
    void syncToState() override;

    // Handlers.
    void cmbMapChange() { mapChange(); }
    void WGridClick(int col, int row);
    void cmdColor1Click();
    void cmdColor2Click();
    void cmdWImportClick();
    void cmdWExportClick();

    MapPageState& state() { return state_; }
    QComboBox* cmbMap() const { return cmbMap_; }
    DataGridView* WGrid() const { return WGrid_; }
    QCheckBox* chkPShowName() const { return chkPShowName_; }
    QCheckBox* chkPShowLegend() const { return chkPShowLegend_; }
    QPushButton* cmdShowPLegend() const { return cmdShowPLegend_; }
    ColorEdit* clrBoder() const { return clrBoder_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    // The maps the user added, after the built-in ones in the map list.
    AddedMapRow& addedMapRow() const { return *addedMaps_; }
    QSlider* trSize() const;
    QLabel* labSize() const;
    LegendPanel* pnPLegend() const { return pnPLegend_; }
    QPushButton* cmdColor1() const { return cmdColor1_; }
    QPushButton* cmdColor2() const { return cmdColor2_; }
    QPushButton* cmdWImport() const { return cmdWImport_; }
    QPushButton* cmdWExport() const { return cmdWExport_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    std::function<void()> applyMapRules(const QString& map) override;
    void applySwitchRules(const QString&) override {} // the boxes stay as they are
    void selectMap(const QString& map) override;
    DataGridView* gridViewFor(ChartHit::Kind kind) override {
        return kind == ChartHit::Kind::Region ? WGrid_ : nullptr;
    }

private:
    void build(QWidget* tab);

    MapPageState state_;
    QComboBox* cmbMap_ = nullptr;
    DataGridView* WGrid_ = nullptr;
    QPushButton* cmdColor1_ = nullptr;
    QPushButton* cmdColor2_ = nullptr;
    QPushButton* cmdWImport_ = nullptr;
    QPushButton* cmdWExport_ = nullptr;
    QCheckBox* chkPShowName_ = nullptr;
    QCheckBox* chkPShowLegend_ = nullptr;
    QPushButton* cmdShowPLegend_ = nullptr;
    ColorEdit* clrBoder_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    AddedMapRow* addedMaps_ = nullptr;
    LegendPanel* pnPLegend_ = nullptr;
};

} // namespace tolvane
