#include "forms/RegionPage.h"

#include "charts/Charts.h"
#include "forms/AddedMapRow.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/PageParts.h"
#include "forms/TFrmMain.h"
#include "forms/TfrmColor.h"
#include "platform/Dialogs.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tolvane {

const QStringList& RegionPage::mapList() {
    static const QStringList maps{
        "World",           "World2",         "Africa",         "Asia",           "Europe",
        "Europe1",         "Europe2",        "South American", "Mediterranean",  "Middle-East",
        "South East Asia", "Argentine",      "Australia",      "Austria",        "Belarus",
        "Belgium",         "Brazil",         "Bulgaria_NUTS2", "Burundi",        "Canada",
        "China",           "CN-HongKong",    "Czech",          "Czech_NUTS2",    "Denmark",
        "Finland",         "France",         "Germany",        "Germany_NUTS2",  "DE_Berlin",
        "Greece",          "Hungary",        "Hungary_NUTS2",  "India",          "Indonesia",
        "Ireland",         "Ireland_NUTS2",  "Italy",          "Japan",          "Mexico",
        "Netherlands",     "Poland",         "Portugal",       "Portugal_NUTS2", "Romania",
        "Slovakia",        "Slovakia_NUTS2", "Slovenia_NUTS2", "South Africa",   "South Korea",
        "Spain",           "Sweden",         "Sweden_NUTS2",   "United Kingdom", "UK_NUTS2",
        "United States",   "New Jersey",     "New York",       "US and CA"};
    return maps;
}

bool RegionPage::startupMapHasNames(const QString& map) {
    static const QStringList maps{
        "China",           "Germany",        "Italy",       "United States", "Portugal",
        "South East Asia", "United Kingdom", "Australia",   "Canada",        "Romania",
        "Spain",           "Burundi",        "Netherlands", "South Korea",   "Europe2"};
    return maps.contains(map);
}

bool RegionPage::mapHasNames(const QString& map) {
    return startupMapHasNames(map) || map == u"Belgium" || map == u"Europe1";
}

RegionPage::RegionPage(TFrmMain& main, QWidget* tab)
    : MapChartPage(main, tab)
    , state_(ChartKind::Region) {
    build(tab);
}

void RegionPage::build(QWidget* tab) {
    cmbMap_ = MakeMapList(QStringLiteral("cmbMap"), mapList(), 1, tab); // "World2"
    addedMaps_ = new AddedMapRow(main_, *this, cmbMap_, AddedMapKind::Region, 1);
    WGrid_ = MakeDataGridView(QStringLiteral("WGrid"), state_.grid, {80, 265, 152, 105, 80}, tab);

    cmdColor1_ = new QPushButton(QStringLiteral("Gradient Color"), tab);
    cmdColor2_ = new QPushButton(QStringLiteral("Range Color"), tab);
    cmdWImport_ = new QPushButton(QStringLiteral("Import from file"), tab);
    cmdWExport_ = new QPushButton(QStringLiteral("Export to file"), tab);
    chkPShowName_ = new QCheckBox(QStringLiteral("Show Name"), tab);
    chkPShowName_->setObjectName(QStringLiteral("chkPShowName"));
    chkPShowLegend_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    chkPShowLegend_->setObjectName(QStringLiteral("chkPShowLegend"));
    chkPShowName_->setEnabled(false);
    chkPShowLegend_->setEnabled(false);
    cmdShowPLegend_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    cmdShowPLegend_->setEnabled(false);
    clrBoder_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    clrBoder_->setObjectName(QStringLiteral("clrBoder"));
    auto* borderLabel = new QLabel(QStringLiteral("Border Color:"), tab);
    borderLabel->setBuddy(clrBoder_);
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trSize"));

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab);
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(cmdColor1_);
    colorButtons->addWidget(cmdColor2_);
    side->addLayout(colorButtons);
    side->addLayout(FileButtonsRow(cmdWImport_, cmdWExport_, tab));
    side->addSpacing(8);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkPShowName_);
    checks->addWidget(chkPShowLegend_);
    checks->addStretch();
    side->addLayout(checks);
    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(cmdShowPLegend_);
    legendRow->addStretch();
    side->addLayout(legendRow);
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(borderLabel);
    borderRow->addWidget(clrBoder_);
    borderRow->addStretch();
    side->addLayout(borderRow);
    side->addStretch();
    LayOutPage(tab, cmbMap_, WGrid_, side, sizeBar_,
               {addedMaps_->cmdAddMap(), addedMaps_->cmdRemoveMap()});

    pnPLegend_ = new LegendPanel(
        state_.legend, state_.grid, main_.frmLegendColor(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.pnForm());
    pnPLegend_->bind(chkPShowLegend_, cmdShowPLegend_);
    PlaceLegendPanel(pnPLegend_, main_);
    watchGrid(WGrid_, ChartHit::Kind::Region);
    watchGrid(pnPLegend_->gridView(), ChartHit::Kind::None, pnPLegend_);

    connect(cmbMap_, &QComboBox::activated, this, [this] { cmbMapChange(); });
    connect(WGrid_, &DataGridView::cellClicked, this, &RegionPage::WGridClick);
    connect(WGrid_, &DataGridView::enterPressed, this, &RegionPage::WGridClick);
    connect(cmdColor1_, &QPushButton::clicked, this, &RegionPage::cmdColor1Click);
    connect(cmdColor2_, &QPushButton::clicked, this, &RegionPage::cmdColor2Click);
    connect(cmdWImport_, &QPushButton::clicked, this, &RegionPage::cmdWImportClick);
    connect(cmdWExport_, &QPushButton::clicked, this, &RegionPage::cmdWExportClick);
    connect(chkPShowName_, &QCheckBox::toggled, this, [this](bool on) { state_.showName = on; });
    connect(chkPShowLegend_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
    connect(clrBoder_, &ColorEdit::colorChosen, this, [this](int32_t c) { state_.border = c; });
}

QSlider* RegionPage::trSize() const {
    return sizeBar_->slider();
}
QLabel* RegionPage::labSize() const {
    return sizeBar_->sizeLabel();
}

QSize RegionPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString RegionPage::selectedMap() const {
    return cmbMap_->currentData().toString();
}

void RegionPage::selectMap(const QString& map) {
    const QSignalBlocker block(cmbMap_);
    if (const int at = cmbMap_->findData(map); at >= 0) cmbMap_->setCurrentIndex(at);
}

void RegionPage::deactivate() {
    pnPLegend_->hide();
}

void RegionPage::loadChart(ChartModel& model, const QString& map) {
    LoadRegionChart(model, state_, map);
}

void RegionPage::stageChart(ChartModel& scratch, const QString& map) {
    MapPageState staged(ChartKind::Region);
    LoadRegionChart(scratch, staged, map);
}

void RegionPage::writeChart(const ChartModel& model) {
    WriteRegionChart(model, state_);
}

std::vector<GridData*> RegionPage::editedGrids() {
    return {&state_.grid, &state_.legend.grid};
}

void RegionPage::syncFromState() {
    chkPShowName_->setChecked(state_.showName);
    chkPShowLegend_->setChecked(state_.legend.show);
    clrBoder_->setColor(state_.border);
    pnPLegend_->syncFromState();
    addedMaps_->updateButtons();
}

void RegionPage::syncToState() {
    state_.border = clrBoder_->color();
    pnPLegend_->syncToState();
}

std::function<void()> RegionPage::applyMapRules(const QString& map) {
    const bool nameWasEnabled = chkPShowName_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    chkPShowName_->setEnabled(mapHasNames(map) || addedMaps_->offersNames(map));
    chkPShowLegend_->setEnabled(true);
    syncFromState();
    return [=, this] {
        chkPShowName_->setEnabled(nameWasEnabled);
        state_.showName = showNameBefore;
        state_.legend.show = showLegendBefore;
    };
}

ColorTarget RegionPage::colorTarget(int mode) {
    if (mode != ModeRegion) return {};
    return {&state_.grid, tables().regionCount, &state_.legend};
}

LegendState* RegionPage::legendTarget(int mode) {
    return mode == ModeRegion ? &state_.legend : nullptr;
}

void RegionPage::WGridClick(int col, int row) {
    GridData& grid = state_.grid;
    if (col != ColColor || row < 2 || row >= grid.rowCount() ||
        grid.text(ColKey, row) == kNoDataMark)
        return;
    if (const auto chosen = main_.dialogs().chooseColor(WGrid_, grid.color(col, row))) {
        const UndoStep step(&grid, QStringLiteral("Cell Color"));
        grid.setColor(col, row, *chosen);
    }
}

void RegionPage::cmdColor1Click() {
    OpenGridDialog(main_.frmColor(), TfrmColor::GradientPanel, ModeRegion);
}
void RegionPage::cmdColor2Click() {
    OpenGridDialog(main_.frmColor(), TfrmColor::RangePanel, ModeRegion);
}

void RegionPage::cmdWImportClick() {
    ImportGridFile(WGrid_, main_.dialogs(), state_.grid, kRegionGridFile);
}
void RegionPage::cmdWExportClick() {
    ExportGridFile(WGrid_, main_.dialogs(), state_.grid, kRegionGridFile,
                   main_.model().currentMapName);
}

} // namespace tolvane
