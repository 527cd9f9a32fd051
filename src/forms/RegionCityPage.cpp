#include "forms/RegionCityPage.h"

#include "charts/Charts.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
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

RegionCityPage::RegionCityPage(MainWindow& main, QWidget* tab)
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
    mapList_ = MakeMapList(QStringLiteral("cmbRCMap"), maps().captions(), 4, tab); // "USA"
    regionGridView_ = MakeDataGridView(QStringLiteral("WRCRGrid"), state_.regionGrid,
                                       {80, 265, 152, 105, 80}, tab);
    cityGridView_ = MakeDataGridView(QStringLiteral("WRCCGrid"), state_.cityGrid,
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

    subPages_ = new QTabWidget(tab);
    subPages_->setObjectName(QStringLiteral("pgRC"));
    subPages_->addTab(subPage(QStringLiteral("TabSheet4"), regionGridView_, {color1, color2}),
                      QStringLiteral("Region"));
    subPages_->addTab(
        subPage(QStringLiteral("TabSheet5"), cityGridView_, {color3, color4, size1, size2}),
        QStringLiteral("  City  "));
    sizeBar_ = new ChartSizeBar(false, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trRCSize"));
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labRCSize"));

    importButton_ = button(QStringLiteral("Import from file"), QStringLiteral("cmdRCImport"));
    exportButton_ = button(QStringLiteral("Export to file"), QStringLiteral("cmdRCExport"));
    // Outside the sub-pages, for the one shown: beside their tabs.
    auto* files = new QWidget(subPages_);
    files->setLayout(FileButtonsRow(importButton_, exportButton_, files, Qt::Horizontal));
    subPages_->setCornerWidget(files, Qt::TopRightCorner);
    LayOutPage(tab, mapList_, subPages_, nullptr, sizeBar_);
    watchGrid(regionGridView_, ChartHit::Kind::Region);
    watchGrid(cityGridView_, ChartHit::Kind::City);

    connect(mapList_, &QComboBox::activated, this, [this] { mapChange(); });
    connect(regionGridView_, &DataGridView::cellSelected, this,
            &RegionCityPage::chooseRegionCellColor);
    connect(cityGridView_, &DataGridView::cellSelected, this, &RegionCityPage::chooseCityCellColor);
    connect(color1, &QPushButton::clicked, this, &RegionCityPage::regionGradientColor);
    connect(color2, &QPushButton::clicked, this, &RegionCityPage::regionRangeColor);
    connect(color3, &QPushButton::clicked, this, &RegionCityPage::cityGradientColor);
    connect(color4, &QPushButton::clicked, this, &RegionCityPage::cityRangeColor);
    connect(size1, &QPushButton::clicked, this, &RegionCityPage::cityGradientSize);
    connect(size2, &QPushButton::clicked, this, &RegionCityPage::cityRangeSize);
    connect(importButton_, &QPushButton::clicked, this, &RegionCityPage::importData);
    connect(exportButton_, &QPushButton::clicked, this, &RegionCityPage::exportData);
}

QSize RegionCityPage::chartSize() const {
    return sizeBar_->chartSize();
}

QString RegionCityPage::selectedMap() const {
    return maps().stemOf(mapList_->currentText());
}

void RegionCityPage::selectMap(const QString& map) {
    const QSignalBlocker block(mapList_);
    if (const QString caption = maps().captionOf(map); !caption.isEmpty())
        mapList_->setCurrentText(caption);
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

void RegionCityPage::chooseRegionCellColor(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), regionGridView_, state_.regionGrid, col, row);
}

void RegionCityPage::chooseCityCellColor(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), cityGridView_, state_.cityGrid, col, row);
}

void RegionCityPage::regionGradientColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::GradientPanel, ModeRCRegions);
}

void RegionCityPage::regionRangeColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::RangePanel, ModeRCRegions);
}

void RegionCityPage::cityGradientColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::GradientPanel, ModeRCCities);
}

void RegionCityPage::cityRangeColor() {
    OpenGridDialog(main_.colorDialog(), GridDialog::RangePanel, ModeRCCities);
}

void RegionCityPage::cityGradientSize() {
    OpenGridDialog(main_.sizeDialog(), GridDialog::GradientPanel, ModeRCCities);
}

void RegionCityPage::cityRangeSize() {
    OpenGridDialog(main_.sizeDialog(), GridDialog::RangePanel, ModeRCCities);
}

DataGridView* RegionCityPage::gridViewFor(ChartHit::Kind kind) {
    switch (kind) {
    case ChartHit::Kind::Region:
        return regionGridView_;
    case ChartHit::Kind::City:
        return cityGridView_;
    case ChartHit::Kind::None:
        break;
    }
    return nullptr;
}

void RegionCityPage::entryClicked(ChartHit::Kind kind, const QString& name, const QString& key) {
    // The row clicked is shown on its own sub-page.
    if (kind != ChartHit::Kind::None)
        subPages_->setCurrentIndex(kind == ChartHit::Kind::City ? 1 : 0);
    MapChartPage::entryClicked(kind, name, key);
}

RegionCityPage::SubPageGrid RegionCityPage::shownGrid() {
    if (subPages_->currentIndex() == 0)
        return {regionGridView_, state_.regionGrid, kRegionCityRegionGridFile};
    return {cityGridView_, state_.cityGrid, kRegionCityCityGridFile};
}

void RegionCityPage::importData() {
    const SubPageGrid shown = shownGrid();
    ImportGridFile(shown.view, main_.dialogs(), shown.grid, shown.kind);
}

void RegionCityPage::exportData() {
    const SubPageGrid shown = shownGrid();
    ExportGridFile(shown.view, main_.dialogs(), shown.grid, shown.kind, shownMap());
}

} // namespace tolvane
