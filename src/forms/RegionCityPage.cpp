#include "forms/RegionCityPage.h"

#include "charts/Charts.h"
#include "forms/GridFileCommands.h"
#include "forms/PageParts.h"
#include "forms/TFrmMain.h"
#include "forms/TfrmColor.h"
#include "forms/TfrmSize.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvane {

const MapTable& RegionCityPage::maps() {
    static const MapTable table{{"World", "WorldRC"},
                                {"China", "ChinaRC"},
                                {"Germany", "GermanyRC"},
                                {"Netherlands", "NetherlandsRC"},
                                {"USA", "USAPCity"}};
    return table;
}

RegionCityPage::RegionCityPage(TFrmMain& main, QWidget* tab)
    : MapChartPage(main, tab) {
    build(tab);
}

QWidget* RegionCityPage::subPage(const QString& name, DataGridView* grid,
                                 const std::vector<QPushButton*>& buttons) {
    auto* page = new QWidget;
    page->setObjectName(name);
    grid->setParent(page);
    grid->setFixedWidth(grid->columnsWidth());
    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, page);
    // Buttons in pairs: colour, then size.
    for (size_t i = 0; i < buttons.size(); i += 2) {
        auto* row = new QHBoxLayout;
        for (size_t j = i; j < std::min(i + 2, buttons.size()); ++j) {
            buttons[j]->setParent(page);
            row->addWidget(buttons[j]);
        }
        side->addLayout(row);
    }
    side->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(14);
    layout->addWidget(grid);
    layout->addLayout(side, 1);
    return page;
}

void RegionCityPage::build(QWidget* tab) {
    cmbRCMap_ = MakeMapList(QStringLiteral("cmbRCMap"), maps().captions(), 4, tab); // "USA"
    WRCRGrid_ = MakeDataGridView(QStringLiteral("WRCRGrid"), state_.regionGrid,
                                 {80, 265, 152, 105, 80}, tab);
    WRCCGrid_ = MakeDataGridView(QStringLiteral("WRCCGrid"), state_.cityGrid,
                                 {80, 226, 155, 105, 65, 67}, tab);
    const auto button = [](const QString& caption, const QString& name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        return b;
    };
    QPushButton* color1 = button(QStringLiteral("Gradient Color"), QStringLiteral("cmdRCRColor1"));
    QPushButton* color2 = button(QStringLiteral("Range Color"), QStringLiteral("cmdRCRColor2"));
    QPushButton* color3 = button(QStringLiteral("Gradient Color"), QStringLiteral("cmdRCRColor3"));
    QPushButton* color4 = button(QStringLiteral("Range Color"), QStringLiteral("cmdRCRColor4"));
    QPushButton* size1 = button(QStringLiteral("Gradient Size"), QStringLiteral("RzBitBtn6"));
    QPushButton* size2 = button(QStringLiteral("Range Size"), QStringLiteral("RzBitBtn7"));

    pgRC_ = new QTabWidget(tab);
    pgRC_->setObjectName(QStringLiteral("pgRC"));
    pgRC_->addTab(subPage(QStringLiteral("TabSheet4"), WRCRGrid_, {color1, color2}),
                  QStringLiteral("Region"));
    pgRC_->addTab(subPage(QStringLiteral("TabSheet5"), WRCCGrid_, {color3, color4, size1, size2}),
                  QStringLiteral("  City  "));
    sizeBar_ = new ChartSizeBar(false, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trRCSize"));
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labRCSize"));

    cmdRCImport_ = button(QStringLiteral("Import from file"), QStringLiteral("cmdRCImport"));
    cmdRCExport_ = button(QStringLiteral("Export to file"), QStringLiteral("cmdRCExport"));
    // Outside the sub-pages, for the one shown: beside their tabs.
    auto* files = new QWidget(pgRC_);
    files->setLayout(FileButtonsRow(cmdRCImport_, cmdRCExport_, files, Qt::Horizontal));
    pgRC_->setCornerWidget(files, Qt::TopRightCorner);
    LayOutPage(tab, cmbRCMap_, pgRC_, nullptr, sizeBar_);
    watchGrid(WRCRGrid_, ChartHit::Kind::Region);
    watchGrid(WRCCGrid_, ChartHit::Kind::City);

    connect(cmbRCMap_, &QComboBox::activated, this, [this] { cmbRCMapChange(); });
    connect(WRCRGrid_, &DataGridView::cellSelected, this, &RegionCityPage::WRCRGridSelectCell);
    connect(WRCCGrid_, &DataGridView::cellSelected, this, &RegionCityPage::WRCCGridSelectCell);
    connect(color1, &QPushButton::clicked, this, &RegionCityPage::cmdRCRColor1Click);
    connect(color2, &QPushButton::clicked, this, &RegionCityPage::cmdRCRColor2Click);
    connect(color3, &QPushButton::clicked, this, &RegionCityPage::cmdRCRColor3Click);
    connect(color4, &QPushButton::clicked, this, &RegionCityPage::cmdRCRColor4Click);
    connect(size1, &QPushButton::clicked, this, &RegionCityPage::RzBitBtn6Click);
    connect(size2, &QPushButton::clicked, this, &RegionCityPage::RzBitBtn7Click);
    connect(cmdRCImport_, &QPushButton::clicked, this, &RegionCityPage::cmdRCImportClick);
    connect(cmdRCExport_, &QPushButton::clicked, this, &RegionCityPage::cmdRCExportClick);
}

QSize RegionCityPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString RegionCityPage::selectedMap() const {
    return maps().stemOf(cmbRCMap_->currentText());
}

void RegionCityPage::selectMap(const QString& map) {
    const QSignalBlocker block(cmbRCMap_);
    if (const QString caption = maps().captionOf(map); !caption.isEmpty())
        cmbRCMap_->setCurrentText(caption);
}

void RegionCityPage::loadChart(ChartModel& model, const QString& map) {
    LoadRegionCityChart(model, state_, map);
}

void RegionCityPage::stageChart(ChartModel& scratch, const QString& map) {
    RegionCityPageState staged;
    LoadRegionCityChart(scratch, staged, map);
}

void RegionCityPage::writeChart(const ChartModel& model) {
    WriteRegionCityChart(model, state_);
}

std::vector<GridData*> RegionCityPage::editedGrids() {
    return {&state_.regionGrid, &state_.cityGrid};
}

ColorTarget RegionCityPage::colorTarget(int mode) {
    switch (mode) {
    case ModeRCRegions:
        return {&state_.regionGrid, tables().regionCount, nullptr};
    case ModeRCCities:
        return {&state_.cityGrid, tables().cityCount, nullptr};
    default:
        return {};
    }
}

void RegionCityPage::WRCRGridSelectCell(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), WRCRGrid_, state_.regionGrid, col, row);
}

void RegionCityPage::WRCCGridSelectCell(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), WRCCGrid_, state_.cityGrid, col, row);
}

void RegionCityPage::cmdRCRColor1Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::GradientPanel, ModeRCRegions);
}

void RegionCityPage::cmdRCRColor2Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::RangePanel, ModeRCRegions);
}

void RegionCityPage::cmdRCRColor3Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::GradientPanel, ModeRCCities);
}

void RegionCityPage::cmdRCRColor4Click() {
    OpenGridDialog(main_.frmColor(), GridDialog::RangePanel, ModeRCCities);
}

void RegionCityPage::RzBitBtn6Click() {
    OpenGridDialog(main_.frmSize(), GridDialog::GradientPanel, ModeRCCities);
}

void RegionCityPage::RzBitBtn7Click() {
    OpenGridDialog(main_.frmSize(), GridDialog::RangePanel, ModeRCCities);
}

DataGridView* RegionCityPage::gridViewFor(ChartHit::Kind kind) {
    switch (kind) {
    case ChartHit::Kind::Region:
        return WRCRGrid_;
    case ChartHit::Kind::City:
        return WRCCGrid_;
    case ChartHit::Kind::None:
        break;
    }
    return nullptr;
}

void RegionCityPage::entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) {
    // The row clicked is shown on its own sub-page.
    if (kind != ChartHit::Kind::None) pgRC_->setCurrentIndex(kind == ChartHit::Kind::City ? 1 : 0);
    MapChartPage::entryClicked(kind, name, key);
}

RegionCityPage::SubPageGrid RegionCityPage::shownGrid() {
    if (pgRC_->currentIndex() == 0)
        return {WRCRGrid_, state_.regionGrid, kRegionCityRegionGridFile};
    return {WRCCGrid_, state_.cityGrid, kRegionCityCityGridFile};
}

void RegionCityPage::cmdRCImportClick() {
    const SubPageGrid shown = shownGrid();
    ImportGridFile(shown.view, main_.dialogs(), shown.grid, shown.kind);
}

void RegionCityPage::cmdRCExportClick() {
    const SubPageGrid shown = shownGrid();
    ExportGridFile(shown.view, main_.dialogs(), shown.grid, shown.kind, shownMap());
}

} // namespace tolvane
