#pragma once

#include "charts/AddedMaps.h"
#include "charts/Charts.h"
#include "forms/ChartPage.h"

#include <optional>

class QCheckBox;
class QPushButton;
class QVBoxLayout;

namespace tolvane {

class AddedMapRow;
class ChartSizeBar;
class ColorEdit;
class GridDialog;
class LinkLabel;
class MapTable;
struct GridFileKind;

// A page of one map's data grid and its legend: "Map", "Advance Map" and "Bubble" (see
// MapPages.h). It holds the page state, builds and runs the controls (the map list, the data
// grid, the colouring and file buttons, "Show Name", "Show Legend" with "Legend Set" and the
// legend panel, the border colour and the size bar), and loads, stages and writes the chart.
// What sets one page apart is data, its Shape; the chart kind tells the rest: a city chart's
// page sizes its bubbles too.
class LegendMapPage : public MapChartPage {
    Q_OBJECT
public:
    // A link beside "Legend Set" to a help page.
    struct HelpLink {
        QString caption;
        QString page;
    };
    // The objectNames the tests find controls by, beside the options keys (OptionControls.h).
    struct Names {
        QString showName, showLegend, legendSet = {};
        QString gradientColor = {}, rangeColor = {}, gradientSize = {}, rangeSize = {};
        QString importFile = {}, exportFile = {}, sizeLabel = {}, link = {};
    };
    // What sets one page of this kind apart.
    struct Shape {
        ChartKind kind;                         // Region, Shade or City
        const MapTable& maps;                   // the built-in maps, in list order
        int firstMap;                           // chosen at start, and when an added map goes
        std::optional<AddedMapKind> added = {}; // the user's maps of this kind follow them
        Names names;
        bool colorOnClick = false;      // a click or Enter on a colour cell asks, starting from
                                        // its colour; else selecting the cell asks
        bool keepBoxesOnSwitch = false; // a switch to the page leaves the boxes as they are
        bool ownPlayers = false;        // the page has preview and capture players of its own
        std::optional<HelpLink> link = {};
        // The page whose border this page's charts are drawn with; its edit shows what a load
        // brought. None: the page's own border.
        LegendMapPage* borderOwner = nullptr;
    };

    LegendMapPage(MainWindow& main, QWidget* tab, Shape shape);

    // The page state: what the loader refills and the writer reads.
    const ListPage& state() const { return state_; }

    int chartMode() const override;
    void activate() override;
    void deactivate() override;
    ChartPlayer* previewPlayer() const override;
    ChartPlayer* capturePlayer() const override;
    QSize chartSize() const override;
    ColorTarget colorTarget(int mode) override;
    LegendState* legendTarget(int mode) override;
    void syncFromState() override;
    void syncToState() override;

    // A colour cell of the data grid was chosen: asks for its colour, as one undo step. The
    // title row and regions without data ask nothing.
    void chooseCellColor(int col, int row);

    DataGridView* dataGrid() const { return dataGrid_; }
    QPushButton* gradientColorButton() const { return gradientColor_; }
    QPushButton* rangeColorButton() const { return rangeColor_; }
    QPushButton* gradientSizeButton() const { return gradientSize_; }
    QPushButton* rangeSizeButton() const { return rangeSize_; }
    QPushButton* importButton() const { return import_; }
    QPushButton* exportButton() const { return export_; }
    QCheckBox* showNameBox() const { return showName_; }
    QCheckBox* showLegendBox() const { return showLegend_; }
    QPushButton* legendSetButton() const { return legendSet_; }
    ColorEdit* borderEdit() const { return borderEdit_; }
    LinkLabel* helpLink() const { return helpLink_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    LegendPanel* legendPanel() const { return legendPanel_; }
    // The maps the user added, after the built-in ones in the list (null: none on this page).
    AddedMapRow* addedMaps() const { return addedMaps_; }

protected:
    void loadChart(ChartModel& model, const QString& map) override;
    void stageChart(ChartModel& scratch, const QString& map) override;
    void writeChart(const ChartModel& model) override;
    std::vector<GridData*> editedGrids() override;
    LegendState* pageLegend() override { return &state_.legend; }
    std::function<void()> applyMapRules(const QString& map) override;
    void applySwitchRules(const QString& map) override;
    DataGridView* gridViewFor(ChartHit::Kind kind) override;

private:
    // The dialog of "Gradient Color" and "Range Color": the shade chart's writes codes too.
    GridDialog& colorDialog();
    bool cities() const { return state_.layout == GridLayout::City; }
    void nameControls();
    void makeControls(QWidget* tab);
    QVBoxLayout* sideColumn(QWidget* tab);
    void wire();

    Shape shape_;
    GridData grid_;
    GridRowsMemo memo_;
    LegendState legend_;
    bool showNameOn_ = false;
    int32_t border_ = kSilver;
    ListPage state_; // over the members above, or over the shared border

    DataGridView* dataGrid_ = nullptr;
    QPushButton* gradientColor_ = nullptr;
    QPushButton* rangeColor_ = nullptr;
    QPushButton* gradientSize_ = nullptr;
    QPushButton* rangeSize_ = nullptr;
    QPushButton* import_ = nullptr;
    QPushButton* export_ = nullptr;
    QCheckBox* showName_ = nullptr;
    QCheckBox* showLegend_ = nullptr;
    QPushButton* legendSet_ = nullptr;
    ColorEdit* borderEdit_ = nullptr;
    QWidget* borderLabel_ = nullptr;
    LinkLabel* helpLink_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    AddedMapRow* addedMaps_ = nullptr;
    LegendPanel* legendPanel_ = nullptr;
};

} // namespace tolvane
