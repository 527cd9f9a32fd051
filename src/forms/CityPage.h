#pragma once

#include "charts/PageState.h"
#include "forms/ChartPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace tolvane {

class AddedMapRow;
class ChartSizeBar;
class ColorEdit;
class DataGridView;
class LegendPanel;
class MapTable;

// The "Bubble" page: one bubble per city, coloured and sized from the values, with the city
// legend. Its border is the "Map" page's border colour.
class CityPage : public MapChartPage {
    Q_OBJECT
public:
    CityPage(TFrmMain& main, QWidget* tab);

    // The captions of the map list, the file stems they name, and which maps offer names
    // and a legend.
    static const MapTable& maps();
    static bool stemHasNames(const QString& stem);
    static bool stemHasLegend(const QString& stem);

    int chartMode() const override { return ModeCity; }
    void deactivate() override;
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    LegendState* legendTarget(int mode) override;
    QString selectedMap() const override;
    void syncFromState() override;
    void syncToState() override;

    // Handlers.
    void cmbCityMapChange() { mapChange(); }
    void WCityGridSelectCell(int col, int row);
    void cmdCityColor1Click();
    void cmdCityColor2Click();
    void cmdCitySize1Click();
    void cmdCitySize2Click();
    void cmdCityImportClick();
    void cmdCityExportClick();

    CityPageState& state() { return state_; }
    QComboBox* cmbCityMap() const { return cmbCityMap_; }
    DataGridView* WCityGrid() const { return WCityGrid_; }
    QCheckBox* chkShowName() const { return chkShowName_; }
    QCheckBox* chkCShowLegend() const { return chkCShowLegend_; }
    QPushButton* cmdShowCLegend() const { return cmdShowCLegend_; }
    ColorEdit* clrCityBoder() const { return clrCityBoder_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    // The maps the user added, after the built-in ones in the map list.
    AddedMapRow& addedMapRow() const { return *addedMaps_; }
    LegendPanel* pnCLegend() const { return pnCLegend_; }
    QPushButton* cmdCityImport() const { return cmdCityImport_; }
    QPushButton* cmdCityExport() const { return cmdCityExport_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    DataGridView* gridViewFor(ChartHit::Kind kind) override {
        return kind == ChartHit::Kind::City ? WCityGrid_ : nullptr;
    }
    std::function<void()> applyMapRules(const QString& map) override;
    void selectMap(const QString& map) override;

private:
    void build(QWidget* tab);
    // The border every city chart uses: the "Map" page's.
    int32_t& border();

    CityPageState state_;
    QComboBox* cmbCityMap_ = nullptr;
    DataGridView* WCityGrid_ = nullptr;
    QPushButton* cmdCityColor1_ = nullptr;
    QPushButton* cmdCityColor2_ = nullptr;
    QPushButton* cmdCitySize1_ = nullptr;
    QPushButton* cmdCitySize2_ = nullptr;
    QPushButton* cmdCityImport_ = nullptr;
    QPushButton* cmdCityExport_ = nullptr;
    QCheckBox* chkShowName_ = nullptr;
    QCheckBox* chkCShowLegend_ = nullptr;
    QPushButton* cmdShowCLegend_ = nullptr;
    ColorEdit* clrCityBoder_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    AddedMapRow* addedMaps_ = nullptr;
    LegendPanel* pnCLegend_ = nullptr;
};

} // namespace tolvane
