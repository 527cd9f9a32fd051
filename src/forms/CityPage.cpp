#include "forms/CityPage.h"

#include "charts/Charts.h"
#include "forms/AddedMapRow.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/PageParts.h"
#include "forms/RegionPage.h"
#include "forms/TFrmMain.h"
#include "forms/TfrmColor.h"
#include "forms/TfrmSize.h"
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

CityPage::CityPage(TFrmMain& main, QWidget* tab)
    : MapChartPage(main, tab) {
    build(tab);
}

void CityPage::build(QWidget* tab) {
    cmbCityMap_ =
        MakeMapList(QStringLiteral("cmbCityMap"), maps().captions(), 0, tab, maps().stems());
    addedMaps_ = new AddedMapRow(main_, *this, cmbCityMap_, AddedMapKind::City, 0);
    WCityGrid_ = MakeDataGridView(QStringLiteral("WCityGrid"), state_.grid,
                                  {80, 226, 155, 105, 65, 67}, tab);

    const auto button = [tab](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption, tab);
        b->setObjectName(name);
        return b;
    };
    cmdCityColor1_ = button(QStringLiteral("Gradient Color"), QStringLiteral("cmdCityColor1"));
    cmdCityColor2_ = button(QStringLiteral("Range Color"), QStringLiteral("cmdCityColor2"));
    cmdCitySize1_ = button(QStringLiteral("Gradient Size"), QStringLiteral("cmdCitySize1"));
    cmdCitySize2_ = button(QStringLiteral("Range Size"), QStringLiteral("cmdCitySize2"));
    cmdCityImport_ = button(QStringLiteral("Import from file"), QStringLiteral("cmdCityImport"));
    cmdCityExport_ = button(QStringLiteral("Export to file"), QStringLiteral("cmdCityExport"));
    chkShowName_ = new QCheckBox(QStringLiteral("Show City Name"), tab);
    chkShowName_->setObjectName(QStringLiteral("chkShowName"));
    chkCShowLegend_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    chkCShowLegend_->setObjectName(QStringLiteral("chkCShowLegend"));
    chkShowName_->setEnabled(false);
    chkCShowLegend_->setEnabled(false);
    cmdShowCLegend_ = button(QStringLiteral("Legend Set"), QStringLiteral("cmdShowCLegend"));
    cmdShowCLegend_->setEnabled(false);
    // City charts are drawn with the "Map" page's border: this edit only mirrors it.
    clrCityBoder_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    clrCityBoder_->setObjectName(QStringLiteral("clrCityBoder"));
    clrCityBoder_->hide();
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trCitySize"));
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labCitySize"));

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab, true);
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(cmdCityColor1_);
    colorButtons->addWidget(cmdCityColor2_);
    side->addLayout(colorButtons);
    auto* sizeButtons = new QHBoxLayout;
    sizeButtons->addWidget(cmdCitySize1_);
    sizeButtons->addWidget(cmdCitySize2_);
    side->addLayout(sizeButtons);
    side->addLayout(FileButtonsRow(cmdCityImport_, cmdCityExport_, tab));
    side->addSpacing(8);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkShowName_);
    checks->addWidget(chkCShowLegend_);
    checks->addStretch();
    side->addLayout(checks);
    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(cmdShowCLegend_);
    legendRow->addStretch();
    side->addLayout(legendRow);
    side->addStretch();
    LayOutPage(tab, cmbCityMap_, WCityGrid_, side, sizeBar_,
               {addedMaps_->cmdAddMap(), addedMaps_->cmdRemoveMap()});

    pnCLegend_ = new LegendPanel(
        state_.legend, state_.grid, main_.frmLegendColor(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.pnForm());
    pnCLegend_->bind(chkCShowLegend_, cmdShowCLegend_);
    PlaceLegendPanel(pnCLegend_, main_);
    watchGrid(WCityGrid_, ChartHit::Kind::City);
    watchGrid(pnCLegend_->gridView(), ChartHit::Kind::None, pnCLegend_);

    connect(cmbCityMap_, &QComboBox::activated, this, [this] { cmbCityMapChange(); });
    connect(WCityGrid_, &DataGridView::cellSelected, this, &CityPage::WCityGridSelectCell);
    connect(cmdCityColor1_, &QPushButton::clicked, this, &CityPage::cmdCityColor1Click);
    connect(cmdCityColor2_, &QPushButton::clicked, this, &CityPage::cmdCityColor2Click);
    connect(cmdCitySize1_, &QPushButton::clicked, this, &CityPage::cmdCitySize1Click);
    connect(cmdCitySize2_, &QPushButton::clicked, this, &CityPage::cmdCitySize2Click);
    connect(cmdCityImport_, &QPushButton::clicked, this, &CityPage::cmdCityImportClick);
    connect(cmdCityExport_, &QPushButton::clicked, this, &CityPage::cmdCityExportClick);
    connect(chkShowName_, &QCheckBox::toggled, this, [this](bool on) { state_.showName = on; });
    connect(chkCShowLegend_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
}

int32_t& CityPage::border() {
    return main_.regionPage().state().border;
}

QSize CityPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString CityPage::selectedMap() const {
    return cmbCityMap_->currentData().toString();
}

void CityPage::selectMap(const QString& map) {
    const QSignalBlocker block(cmbCityMap_);
    if (const int at = cmbCityMap_->findData(map); at >= 0) cmbCityMap_->setCurrentIndex(at);
}

void CityPage::deactivate() {
    pnCLegend_->hide();
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
    chkShowName_->setChecked(state_.showName);
    chkCShowLegend_->setChecked(state_.legend.show);
    clrCityBoder_->setColor(border());
    pnCLegend_->syncFromState();
    addedMaps_->updateButtons();
}

void CityPage::syncToState() {
    clrCityBoder_->setColor(border()); // a mirror: the "Map" page's edit holds the border
    pnCLegend_->syncToState();
}

std::function<void()> CityPage::applyMapRules(const QString& map) {
    const bool namesBefore = chkShowName_->isEnabled();
    const bool legendBefore = chkCShowLegend_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    chkShowName_->setEnabled(stemHasNames(map) || addedMaps_->offersNames(map));
    chkCShowLegend_->setEnabled(stemHasLegend(map) || addedMaps_->find(map));
    syncFromState();
    return [=, this] {
        chkShowName_->setEnabled(namesBefore);
        chkCShowLegend_->setEnabled(legendBefore);
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

void CityPage::WCityGridSelectCell(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), WCityGrid_, state_.grid, col, row);
}

void CityPage::cmdCityColor1Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::GradientPanel, ModeCity);
}

void CityPage::cmdCityColor2Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::RangePanel, ModeCity);
}

void CityPage::cmdCitySize1Click() {
    OpenGridDialog(main_.frmSize(), GridDialog::GradientPanel, ModeCity);
}

void CityPage::cmdCitySize2Click() {
    OpenGridDialog(main_.frmSize(), GridDialog::RangePanel, ModeCity);
}

void CityPage::cmdCityImportClick() {
    ImportGridFile(WCityGrid_, main_.dialogs(), state_.grid, kCityGridFile);
}

void CityPage::cmdCityExportClick() {
    ExportGridFile(WCityGrid_, main_.dialogs(), state_.grid, kCityGridFile, shownMap());
}

} // namespace tolvane
