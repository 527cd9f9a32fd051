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
    CityPage(MainWindow& main, QWidget* tab);

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
    void chooseCellColor(int col, int row);
    void gradientColor();
    void rangeColor();
    void gradientSize();
    void rangeSize();
    void importData();
    void exportData();

    CityPageState& state() { return state_; }
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
    QPushButton* importButton() const { return importButton_; }
    QPushButton* exportButton() const { return exportButton_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    DataGridView* gridViewFor(ChartHit::Kind kind) override {
        return kind == ChartHit::Kind::City ? dataGrid_ : nullptr;
    }
    std::function<void()> applyMapRules(const QString& map) override;
    void selectMap(const QString& map) override;

private:
    void build(QWidget* tab);
    // The border every city chart uses: the "Map" page's.
    int32_t& border();

    CityPageState state_;
    QComboBox* mapList_ = nullptr;
    DataGridView* dataGrid_ = nullptr;
    QPushButton* gradientColorButton_ = nullptr;
    QPushButton* rangeColorButton_ = nullptr;
    QPushButton* gradientSizeButton_ = nullptr;
    QPushButton* rangeSizeButton_ = nullptr;
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
