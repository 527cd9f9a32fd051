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
class MapTable;

// The "Map" page: choose a map, type or colour one value per region, set the legend.
class RegionPage : public MapChartPage {
    Q_OBJECT
public:
    RegionPage(MainWindow& main, QWidget* tab);

    // The captions of the map list, each its own file stem.
    static const MapTable& maps();
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
    void chooseCellColor(int col, int row);
    void gradientColor();
    void rangeColor();
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
    // The maps the user added, after the built-in ones in the map list.
    AddedMapRow& addedMapRow() const { return *addedMaps_; }
    LegendPanel* legendPanel() const { return legendPanel_; }
    QPushButton* gradientColorButton() const { return gradientColorButton_; }
    QPushButton* rangeColorButton() const { return rangeColorButton_; }
    QPushButton* importButton() const { return importButton_; }
    QPushButton* exportButton() const { return exportButton_; }

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
    AddedMapRow* addedMaps_ = nullptr;
    LegendPanel* legendPanel_ = nullptr;
};

} // namespace tolvane
