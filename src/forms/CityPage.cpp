#include "forms/CityPage.h"

#include "charts/Charts.h"
#include "forms/AddedMapRow.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
#include "forms/RegionPage.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace tolvane {

const MapTable& CityPage::maps() {
    static const MapTable table{
        {"World Cities", "WorldCity"},           {"Europe Major Cities", "EuropeCity"},
        {"China Major Cities", "CNCity"},        {"France Major Cities", "FranceCity"},
        {"Germany Major Cities", "GermanyCity"}, {"Italy Major Cities", "ItalyCity"},
        {"Japan Major Cities", "JapanCity"},     {"South Korea Major Cities", "SouthKoreaCity"},
        {"Spain Major Cities", "SpainCity"},     {"Thailand Major Cities", "ThailandCity"},
        {"UK Major Cities", "UKCity"},           {"USA Major Cities", "USACity"}};
    return table;
}

// Names and legends are offered where the map leaves room for them.
bool CityPage::stemHasNames(const QString& stem) {
    static const QStringList stems{"WorldCity", "EuropeCity", "CNCity", "FranceCity",
                                   "ItalyCity", "SpainCity",  "UKCity"};
    return stems.contains(stem);
}

bool CityPage::stemHasLegend(const QString& stem) {
    static const QStringList stems{"WorldCity", "EuropeCity", "CNCity", "ItalyCity"};
    return stems.contains(stem);
}

CityPage::CityPage(MainWindow& main, QWidget* tab)
    : MapChartPage(main, tab) {
    build(tab);
}

void CityPage::build(QWidget* tab) {
    mapList_ = MakeMapList(QStringLiteral("cmbCityMap"), maps().captions(), 0, tab, maps().stems());
    addedMaps_ = new AddedMapRow(main_, *this, mapList_, AddedMapKind::City, 0);
    dataGrid_ = MakeDataGridView(QStringLiteral("WCityGrid"), state_.grid,
                                 {80, 226, 155, 105, 65, 67}, tab);

    const auto button = [tab](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, tab);
        b->setObjectName(name);
        return b;
    };
    gradientColorButton_ =
        button(QStringLiteral("Gradient Color"), QStringLiteral("cmdCityColor1"));
    rangeColorButton_ = button(QStringLiteral("Range Color"), QStringLiteral("cmdCityColor2"));
    gradientSizeButton_ = button(QStringLiteral("Gradient Size"), QStringLiteral("cmdCitySize1"));
    rangeSizeButton_ = button(QStringLiteral("Range Size"), QStringLiteral("cmdCitySize2"));
    importButton_ = button(QStringLiteral("Import from file"), QStringLiteral("cmdCityImport"));
    exportButton_ = button(QStringLiteral("Export to file"), QStringLiteral("cmdCityExport"));
    showNameBox_ = new QCheckBox(QStringLiteral("Show City Name"), tab);
    showNameBox_->setObjectName(QStringLiteral("chkShowName"));
    showLegendBox_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    showLegendBox_->setObjectName(QStringLiteral("chkCShowLegend"));
    showNameBox_->setEnabled(false);
    showLegendBox_->setEnabled(false);
    legendSetButton_ = button(QStringLiteral("Legend Set"), QStringLiteral("cmdShowCLegend"));
    legendSetButton_->setEnabled(false);
    // City charts are drawn with the "Map" page's border: this edit only mirrors it.
    borderEdit_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    borderEdit_->setObjectName(QStringLiteral("clrCityBoder"));
    borderEdit_->hide();
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trCitySize"));
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labCitySize"));

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab, true);
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(gradientColorButton_);
    colorButtons->addWidget(rangeColorButton_);
    side->addLayout(colorButtons);
    auto* sizeButtons = new QHBoxLayout;
    sizeButtons->addWidget(gradientSizeButton_);
    sizeButtons->addWidget(rangeSizeButton_);
    side->addLayout(sizeButtons);
    side->addLayout(FileButtonsRow(importButton_, exportButton_, tab));
    side->addSpacing(8);
    auto* checks = new QHBoxLayout;
    checks->addWidget(showNameBox_);
    checks->addWidget(showLegendBox_);
    checks->addStretch();
    side->addLayout(checks);
    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(legendSetButton_);
    legendRow->addStretch();
    side->addLayout(legendRow);
    side->addStretch();
    LayOutPage(tab, mapList_, dataGrid_, side, sizeBar_,
               {addedMaps_->addButton(), addedMaps_->removeButton()});

    legendPanel_ = new LegendPanel(
        state_.legend, state_.grid, main_.legendColorDialog(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.clientArea());
    legendPanel_->bind(showLegendBox_, legendSetButton_);
    PlaceLegendPanel(legendPanel_, main_);
    watchGrid(dataGrid_, ChartHit::Kind::City);
    watchGrid(legendPanel_->gridView(), ChartHit::Kind::None, legendPanel_);

    connect(mapList_, &QComboBox::activated, this, [this] { mapChange(); });
    connect(dataGrid_, &DataGridView::cellSelected, this, &CityPage::chooseCellColor);
    connect(gradientColorButton_, &QPushButton::clicked, this, &CityPage::gradientColor);
    connect(rangeColorButton_, &QPushButton::clicked, this, &CityPage::rangeColor);
    connect(gradientSizeButton_, &QPushButton::clicked, this, &CityPage::gradientSize);
    connect(rangeSizeButton_, &QPushButton::clicked, this, &CityPage::rangeSize);
    connect(importButton_, &QPushButton::clicked, this, &CityPage::importData);
    connect(exportButton_, &QPushButton::clicked, this, &CityPage::exportData);
    connect(showNameBox_, &QCheckBox::toggled, this, [this](bool on) { state_.showName = on; });
    connect(showLegendBox_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
}

int32_t& CityPage::border() {
    return main_.regionPage().state().border;
}

QSize CityPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString CityPage::selectedMap() const {
    return mapList_->currentData().toString();
}

void CityPage::selectMap(const QString& map) {
    const QSignalBlocker block(mapList_);
    if (const int at = mapList_->findData(map); at >= 0) mapList_->setCurrentIndex(at);
}

void CityPage::deactivate() {
    legendPanel_->hide();
}

void CityPage::loadChart(ChartModel& model, const QString& map) {
    LoadCityChart(model, state_, border(), map);
    // The "Map" page's edit shows the border the city chart brought.
    main_.regionPage().syncFromState();
}

void CityPage::stageChart(ChartModel& scratch, const QString& map) {
    CityPageState staged;
    int32_t stagedBorder = border();
    LoadCityChart(scratch, staged, stagedBorder, map);
}

void CityPage::writeChart(const ChartModel& model) {
    WriteCityChart(model, state_, border());
}

std::vector<GridData*> CityPage::editedGrids() {
    return {&state_.grid, &state_.legend.grid};
}

void CityPage::syncFromState() {
    showNameBox_->setChecked(state_.showName);
    showLegendBox_->setChecked(state_.legend.show);
    borderEdit_->setColor(border());
    legendPanel_->syncFromState();
    addedMaps_->updateButtons();
}

void CityPage::syncToState() {
    borderEdit_->setColor(border()); // a mirror: the "Map" page's edit holds the border
    legendPanel_->syncToState();
}

std::function<void()> CityPage::applyMapRules(const QString& map) {
    const bool namesBefore = showNameBox_->isEnabled();
    const bool legendBefore = showLegendBox_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    showNameBox_->setEnabled(stemHasNames(map) || addedMaps_->offersNames(map));
    showLegendBox_->setEnabled(stemHasLegend(map) || addedMaps_->find(map));
    syncFromState();
    return [=, this] {
        showNameBox_->setEnabled(namesBefore);
        showLegendBox_->setEnabled(legendBefore);
        state_.showName = showNameBefore;
        state_.legend.show = showLegendBefore;
    };
}

ColorTarget CityPage::colorTarget(int mode) {
    if (mode != ModeCity) return {};
    // The cities live in the region table while this page shows them.
    return {&state_.grid, tables().regionCount, &state_.legend};
}

LegendState* CityPage::legendTarget(int mode) {
    return mode == ModeCity ? &state_.legend : nullptr;
}

void CityPage::chooseCellColor(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), dataGrid_, state_.grid, col, row);
}

void CityPage::gradientColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::GradientPanel, ModeCity);
}

void CityPage::rangeColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::RangePanel, ModeCity);
}

void CityPage::gradientSize() {
    OpenGridDialog(main_.sizeDialog(), GridDialog::GradientPanel, ModeCity);
}

void CityPage::rangeSize() {
    OpenGridDialog(main_.sizeDialog(), GridDialog::RangePanel, ModeCity);
}

void CityPage::importData() {
    ImportGridFile(dataGrid_, main_.dialogs(), state_.grid, kCityGridFile);
}

void CityPage::exportData() {
    ExportGridFile(dataGrid_, main_.dialogs(), state_.grid, kCityGridFile, shownMap());
}

} // namespace tolvane
