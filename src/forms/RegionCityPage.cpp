#include "forms/RegionCityPage.h"

#include "charts/Charts.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/PageParts.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvane {

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
    for (size_t i = 0; i < buttons.size(); i += 2) {
        buttons[i]->setParent(page);
        buttons[i + 1]->setParent(page);
        side->addLayout(ButtonRow({buttons[i], buttons[i + 1]}));
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
    const MapTable& maps = RegionCityMaps();
    setMapList(MakeMapList(maps.captions(), 4, tab, maps.stems())); // "USA"
    regionGrid_ = MakeDataGridView(state_.regionGrid, GridLayout::Region, tab);
    cityGrid_ = MakeDataGridView(state_.cityGrid, GridLayout::City, tab);
    // Colour for either sub-page, sizes for the cities.
    const auto button = [](const QString& caption, const char* name, GridDialog& dialog, int panel,
                           int mode) {
        QPushButton* b = MakeDialogButton(caption, dialog, panel, mode, nullptr);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    const QString gradient = QStringLiteral("Gradient Color");
    const QString range = QStringLiteral("Range Color");
    constexpr int kGradient = GridDialog::GradientPanel;
    constexpr int kRange = GridDialog::RangePanel;
    GridDialog& colors = main_.colorDialog();
    GridDialog& sizes = main_.sizeDialog();
    const std::vector<QPushButton*> regionButtons{
        button(gradient, "cmdRCRColor1", colors, kGradient, ModeRCRegions),
        button(range, "cmdRCRColor2", colors, kRange, ModeRCRegions)};
    const std::vector<QPushButton*> cityButtons{
        button(gradient, "cmdRCRColor3", colors, kGradient, ModeRCCities),
        button(range, "cmdRCRColor4", colors, kRange, ModeRCCities),
        button(QStringLiteral("Gradient Size"), "RzBitBtn6", sizes, kGradient, ModeRCCities),
        button(QStringLiteral("Range Size"), "RzBitBtn7", sizes, kRange, ModeRCCities)};

    subPages_ = new QTabWidget(tab);
    subPages_->setObjectName(QStringLiteral("pgRC"));
    subPages_->addTab(subPage(QStringLiteral("TabSheet4"), regionGrid_, regionButtons),
                      QStringLiteral("Region"));
    subPages_->addTab(subPage(QStringLiteral("TabSheet5"), cityGrid_, cityButtons),
                      QStringLiteral("  City  "));
    sizeBar_ = new ChartSizeBar(false, tab);
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labRCSize"));

    import_ = new QPushButton(QStringLiteral("Import from file"));
    import_->setObjectName(QStringLiteral("cmdRCImport"));
    export_ = new QPushButton(QStringLiteral("Export to file"));
    export_->setObjectName(QStringLiteral("cmdRCExport"));
    // Outside the sub-pages, for the one shown: beside their tabs.
    auto* files = new QWidget(subPages_);
    files->setLayout(FileButtonsRow(import_, export_, files, Qt::Horizontal));
    subPages_->setCornerWidget(files, Qt::TopRightCorner);
    LayOutPage(tab, mapList(), subPages_, nullptr, sizeBar_);
    watchGrid(regionGrid_, ChartHit::Kind::Region);
    watchGrid(cityGrid_, ChartHit::Kind::City);

    connect(regionGrid_, &DataGridView::cellSelected, this, [this](int col, int row) {
        ChooseCellColor(main_.dialogs(), regionGrid_, state_.regionGrid, col, row);
    });
    connect(cityGrid_, &DataGridView::cellSelected, this, [this](int col, int row) {
        ChooseCellColor(main_.dialogs(), cityGrid_, state_.cityGrid, col, row);
    });
    connect(import_, &QPushButton::clicked, this, &RegionCityPage::importData);
    connect(export_, &QPushButton::clicked, this, &RegionCityPage::exportData);
}

QSize RegionCityPage::chartSize() const {
    return sizeBar_->chartSize();
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

DataGridView* RegionCityPage::gridViewFor(ChartHit::Kind kind) {
    switch (kind) {
    case ChartHit::Kind::Region:
        return regionGrid_;
    case ChartHit::Kind::City:
        return cityGrid_;
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
        return {regionGrid_, state_.regionGrid, kRegionCityRegionGridFile};
    return {cityGrid_, state_.cityGrid, kRegionCityCityGridFile};
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
