#include "forms/RegionPage.h"

#include "charts/Charts.h"
#include "forms/AddedMapRow.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
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

const MapTable& RegionPage::maps() {
    static const MapTable table(QStringList{
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
        "United States",   "New Jersey",     "New York",       "US and CA"});
    return table;
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

RegionPage::RegionPage(MainWindow& main, QWidget* tab)
    : MapChartPage(main, tab)
    , state_(ChartKind::Region) {
    build(tab);
}

void RegionPage::build(QWidget* tab) {
    mapList_ = MakeMapList(QStringLiteral("cmbMap"), maps().captions(), 1, tab); // "World2"
    addedMaps_ = new AddedMapRow(main_, *this, mapList_, AddedMapKind::Region, 1);
    dataGrid_ =
        MakeDataGridView(QStringLiteral("WGrid"), state_.grid, {80, 265, 152, 105, 80}, tab);

    gradientColorButton_ = new QPushButton(QStringLiteral("Gradient Color"), tab);
    rangeColorButton_ = new QPushButton(QStringLiteral("Range Color"), tab);
    importButton_ = new QPushButton(QStringLiteral("Import from file"), tab);
    exportButton_ = new QPushButton(QStringLiteral("Export to file"), tab);
    showNameBox_ = new QCheckBox(QStringLiteral("Show Name"), tab);
    showNameBox_->setObjectName(QStringLiteral("chkPShowName"));
    showLegendBox_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    showLegendBox_->setObjectName(QStringLiteral("chkPShowLegend"));
    showNameBox_->setEnabled(false);
    showLegendBox_->setEnabled(false);
    legendSetButton_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    legendSetButton_->setEnabled(false);
    borderEdit_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    borderEdit_->setObjectName(QStringLiteral("clrBoder"));
    auto* borderLabel = new QLabel(QStringLiteral("Border Color:"), tab);
    borderLabel->setBuddy(borderEdit_);
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trSize"));

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab);
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(gradientColorButton_);
    colorButtons->addWidget(rangeColorButton_);
    side->addLayout(colorButtons);
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
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(borderLabel);
    borderRow->addWidget(borderEdit_);
    borderRow->addStretch();
    side->addLayout(borderRow);
    side->addStretch();
    LayOutPage(tab, mapList_, dataGrid_, side, sizeBar_,
               {addedMaps_->addButton(), addedMaps_->removeButton()});

    legendPanel_ = new LegendPanel(
        state_.legend, state_.grid, main_.legendColorDialog(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.clientArea());
    legendPanel_->bind(showLegendBox_, legendSetButton_);
    PlaceLegendPanel(legendPanel_, main_);
    watchGrid(dataGrid_, ChartHit::Kind::Region);
    watchGrid(legendPanel_->gridView(), ChartHit::Kind::None, legendPanel_);

    connect(mapList_, &QComboBox::activated, this, [this] { mapChange(); });
    connect(dataGrid_, &DataGridView::cellClicked, this, &RegionPage::chooseCellColor);
    connect(dataGrid_, &DataGridView::enterPressed, this, &RegionPage::chooseCellColor);
    connect(gradientColorButton_, &QPushButton::clicked, this, &RegionPage::gradientColor);
    connect(rangeColorButton_, &QPushButton::clicked, this, &RegionPage::rangeColor);
    connect(importButton_, &QPushButton::clicked, this, &RegionPage::importData);
    connect(exportButton_, &QPushButton::clicked, this, &RegionPage::exportData);
    connect(showNameBox_, &QCheckBox::toggled, this, [this](bool on) { state_.showName = on; });
    connect(showLegendBox_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
    connect(borderEdit_, &ColorEdit::colorChosen, this, [this](int32_t c) { state_.border = c; });
}

QSize RegionPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString RegionPage::selectedMap() const {
    return mapList_->currentData().toString();
}

void RegionPage::selectMap(const QString& map) {
    const QSignalBlocker block(mapList_);
    if (const int at = mapList_->findData(map); at >= 0) mapList_->setCurrentIndex(at);
}

void RegionPage::deactivate() {
    legendPanel_->hide();
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
    showNameBox_->setChecked(state_.showName);
    showLegendBox_->setChecked(state_.legend.show);
    borderEdit_->setColor(state_.border);
    legendPanel_->syncFromState();
    addedMaps_->updateButtons();
}

void RegionPage::syncToState() {
    state_.border = borderEdit_->color();
    legendPanel_->syncToState();
}

std::function<void()> RegionPage::applyMapRules(const QString& map) {
    const bool nameWasEnabled = showNameBox_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    showNameBox_->setEnabled(mapHasNames(map) || addedMaps_->offersNames(map));
    showLegendBox_->setEnabled(true);
    syncFromState();
    return [=, this] {
        showNameBox_->setEnabled(nameWasEnabled);
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

void RegionPage::chooseCellColor(int col, int row) {
    GridData& grid = state_.grid;
    if (col != ColColor || row < 2 || row >= grid.rowCount() ||
        grid.text(ColKey, row) == kNoDataMark)
        return;
    if (const auto chosen = main_.dialogs().chooseColor(dataGrid_, grid.color(col, row))) {
        const UndoStep step(&grid, QStringLiteral("Cell Color"));
        grid.setColor(col, row, *chosen);
    }
}

void RegionPage::gradientColor() {
    OpenGridDialog(main_.colorDialog(), ColorByDataDialog::GradientPanel, ModeRegion);
}
void RegionPage::rangeColor() {
    OpenGridDialog(main_.colorDialog(), ColorByDataDialog::RangePanel, ModeRegion);
}

void RegionPage::importData() {
    ImportGridFile(dataGrid_, main_.dialogs(), state_.grid, kRegionGridFile);
}
void RegionPage::exportData() {
    ExportGridFile(dataGrid_, main_.dialogs(), state_.grid, kRegionGridFile,
                   main_.model().currentMapName);
}

} // namespace tolvane
