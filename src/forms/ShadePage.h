#pragma once

#include "charts/PageState.h"
#include "forms/ChartPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace tolvane {

class ChartSizeBar;
class ColorEdit;
class DataGridView;
class LegendPanel;
class LinkLabel;
class MapTable;

// The "Advance Map" page: a region chart whose regions also carry a shade code, drawn as a
// hatch over the fill. It has its own preview and capture players.
class ShadePage : public MapChartPage {
    Q_OBJECT
public:
    ShadePage(TFrmMain& main, QWidget* tab);

    // The captions of the map list and the file stems they name.
    static const MapTable& maps();

    int chartMode() const override { return ModeShade; }
    void activate() override;
    void deactivate() override;
    ChartPlayer* previewPlayer() const override;
    ChartPlayer* capturePlayer() const override;
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    LegendState* legendTarget(int mode) override;
    QString selectedMap() const override;
    void syncFromState() override;

    // Handlers.
    void cmbShadeMapChange() { mapChange(); }
    void WShadeGridSelectCell(int col, int row);
    void cmdShadeColor1Click();
    void cmdShadeColor2Click();
    void Label63Click();
    void cmdShadeWImportClick();
    void cmdShadeWExportClick();

    MapPageState& state() { return state_; }
    QComboBox* cmbShadeMap() const { return cmbShadeMap_; }
    DataGridView* WShadeGrid() const { return WShadeGrid_; }
    QCheckBox* chkShadeShowName() const { return chkShadeShowName_; }
    QCheckBox* chkShadeShowLegend() const { return chkShadeShowLegend_; }
    QPushButton* cmdShowShadeLegend() const { return cmdShowShadeLegend_; }
    ColorEdit* clrShadeBoder() const { return clrShadeBoder_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    LegendPanel* pnShadeLegend() const { return pnShadeLegend_; }
    QPushButton* cmdShadeColor1() const { return cmdShadeColor1_; }
    QPushButton* cmdShadeColor2() const { return cmdShadeColor2_; }
    LinkLabel* Label63() const { return Label63_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    std::function<void()> applyMapRules(const QString& map) override;
    void selectMap(const QString& map) override;
    DataGridView* gridViewFor(ChartHit::Kind kind) override {
        return kind == ChartHit::Kind::Region ? WShadeGrid_ : nullptr;
    }

private:
    void build(QWidget* tab);

    MapPageState state_;
    QComboBox* cmbShadeMap_ = nullptr;
    DataGridView* WShadeGrid_ = nullptr;
    QPushButton* cmdShadeColor1_ = nullptr;
    QPushButton* cmdShadeColor2_ = nullptr;
    QPushButton* cmdShadeWImport_ = nullptr;
    QPushButton* cmdShadeWExport_ = nullptr;
    QCheckBox* chkShadeShowName_ = nullptr;
    QCheckBox* chkShadeShowLegend_ = nullptr;
    QPushButton* cmdShowShadeLegend_ = nullptr;
    ColorEdit* clrShadeBoder_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    LegendPanel* pnShadeLegend_ = nullptr;
    LinkLabel* Label63_ = nullptr;
};

} // namespace tolvane
