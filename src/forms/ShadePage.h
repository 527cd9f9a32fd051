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
    ShadePage(MainWindow& main, QWidget* tab);

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
    void syncToState() override;

    // Handlers.
    void chooseCellColor(int col, int row);
    void gradientColor();
    void rangeColor();
    void showShadeCodes();
    void importData();
    void exportData();

    MapPageState& state() { return state_; }
    QComboBox* mapList() const { return mapList_; }
    DataGridView* dataGrid() const { return dataGrid_; }
    QCheckBox* showNameBox() const { return showNameBox_; }
    QCheckBox* showLegendBox() const { return showLegendBox_; }
    QPushButton* legendSetButton() const { return legendSetButton_; }
    ColorEdit* borderEdit() const { return borderEdit_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    LegendPanel* legendPanel() const { return legendPanel_; }
    QPushButton* gradientColorButton() const { return gradientColorButton_; }
    QPushButton* rangeColorButton() const { return rangeColorButton_; }
    LinkLabel* shadeCodeLink() const { return shadeCodeLink_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    std::function<void()> applyMapRules(const QString& map) override;
    void selectMap(const QString& map) override;
    DataGridView* gridViewFor(ChartHit::Kind kind) override {
        return kind == ChartHit::Kind::Region ? dataGrid_ : nullptr;
    }

private:
    void build(QWidget* tab);

    MapPageState state_;
    QComboBox* mapList_ = nullptr;
    DataGridView* dataGrid_ = nullptr;
    QPushButton* gradientColorButton_ = nullptr;
    QPushButton* rangeColorButton_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QCheckBox* showNameBox_ = nullptr;
    QCheckBox* showLegendBox_ = nullptr;
    QPushButton* legendSetButton_ = nullptr;
    ColorEdit* borderEdit_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    LegendPanel* legendPanel_ = nullptr;
    LinkLabel* shadeCodeLink_ = nullptr;
};

} // namespace tolvane
