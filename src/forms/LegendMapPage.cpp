#include "forms/LegendMapPage.h"

#include "charts/LegendSets.h"
#include "forms/AddedMapRow.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"
#include "widgets/LinkLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

GridLayout LayoutOf(ChartKind kind) {
    if (kind == ChartKind::City) return GridLayout::City;
    return kind == ChartKind::Shade ? GridLayout::Shade : GridLayout::Region;
}

const GridFileKind& GridFileOf(ChartKind kind) {
    if (kind == ChartKind::City) return kCityGridFile;
    return kind == ChartKind::Shade ? kShadeGridFile : kRegionGridFile;
}

} // namespace

LegendMapPage::LegendMapPage(MainWindow& main, QWidget* tab, Shape shape)
    : MapChartPage(main, tab)
    , shape_(std::move(shape))
    , grid_(MakeDataGrid(LayoutOf(shape_.kind)))
    , legend_(shape_.kind)
    , state_{LayoutOf(shape_.kind),
             grid_,
             memo_,
             legend_,
             showNameOn_,
             shape_.borderOwner ? shape_.borderOwner->state_.border : border_} {
    makeControls(tab_);
    LayOutPage(tab_, mapList(), dataGrid_, sideColumn(tab_), sizeBar_,
               addedMaps_ ? QList<QWidget*>{addedMaps_->addButton(), addedMaps_->removeButton()}
                          : QList<QWidget*>{});
    legendPanel_ = new LegendPanel(
        legend_, grid_, main_.legendColorDialog(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.clientArea());
    legendPanel_->bind(showLegend_, legendSet_);
    PlaceLegendPanel(legendPanel_, main_);
    watchGrid(dataGrid_, cities() ? ChartHit::Kind::City : ChartHit::Kind::Region);
    watchGrid(legendPanel_->gridView(), ChartHit::Kind::None, legendPanel_);
    wire();
    nameControls();
}

void LegendMapPage::nameControls() {
    const Names& n = shape_.names;
    const std::pair<QObject*, const QString&> names[] = {
        {showName_, n.showName},     {showLegend_, n.showLegend},
        {legendSet_, n.legendSet},   {gradientColor_, n.gradientColor},
        {rangeColor_, n.rangeColor}, {gradientSize_, n.gradientSize},
        {rangeSize_, n.rangeSize},   {import_, n.importFile},
        {export_, n.exportFile},     {sizeBar_->sizeLabel(), n.sizeLabel},
        {helpLink_, n.link}};
    for (const auto& [control, name] : names)
        if (control && !name.isEmpty()) control->setObjectName(name);
}

// In the order of the keyboard focus.
void LegendMapPage::makeControls(QWidget* tab) {
    const Shape& s = shape_;
    setMapList(MakeMapList(s.maps.captions(), s.firstMap, tab, s.maps.stems()));
    if (s.added) addedMaps_ = new AddedMapRow(main_, *this, mapList(), *s.added, s.firstMap);
    dataGrid_ = MakeDataGridView(state_.grid, state_.layout, tab);

    GridDialog& colors = colorDialog();
    gradientColor_ = MakeDialogButton(QStringLiteral("Gradient Color"), colors,
                                      GridDialog::GradientPanel, chartMode(), tab);
    rangeColor_ = MakeDialogButton(QStringLiteral("Range Color"), colors, GridDialog::RangePanel,
                                   chartMode(), tab);
    if (cities()) {
        GridDialog& sizes = main_.sizeDialog();
        gradientSize_ = MakeDialogButton(QStringLiteral("Gradient Size"), sizes,
                                         GridDialog::GradientPanel, chartMode(), tab);
        rangeSize_ = MakeDialogButton(QStringLiteral("Range Size"), sizes, GridDialog::RangePanel,
                                      chartMode(), tab);
    }
    import_ = new QPushButton(QStringLiteral("Import from file"), tab);
    export_ = new QPushButton(QStringLiteral("Export to file"), tab);

    showName_ = new QCheckBox(
        cities() ? QStringLiteral("Show City Name") : QStringLiteral("Show Name"), tab);
    showLegend_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    showName_->setEnabled(false);
    showLegend_->setEnabled(false);
    legendSet_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    legendSet_->setEnabled(false);

    borderEdit_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    if (!shape_.borderOwner) {
        auto* label = new QLabel(QStringLiteral("Border Color:"), tab);
        label->setBuddy(borderEdit_);
        borderLabel_ = label;
    } else {
        borderEdit_->hide(); // the owner's edit holds the border; this one mirrors it
    }
    if (s.link) {
        helpLink_ = new LinkLabel(s.link->caption, tab);
        helpLink_->setToolTip(QStringLiteral("Click to see country code"));
    }
    sizeBar_ = new ChartSizeBar(true, tab);
}

QVBoxLayout* LegendMapPage::sideColumn(QWidget* tab) {
    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab, cities());
    side->addLayout(ButtonRow({gradientColor_, rangeColor_}));
    if (gradientSize_) side->addLayout(ButtonRow({gradientSize_, rangeSize_}));
    side->addLayout(FileButtonsRow(import_, export_, tab));
    side->addSpacing(8);
    side->addLayout(ButtonRow({showName_, showLegend_}, true));
    auto* legendRow = ButtonRow({legendSet_}, true);
    if (helpLink_) legendRow->addWidget(helpLink_);
    side->addLayout(legendRow);
    if (borderLabel_) side->addLayout(ButtonRow({borderLabel_, borderEdit_}, true));
    side->addStretch();
    return side;
}

void LegendMapPage::wire() {
    const ListPage& s = state_;
    if (shape_.colorOnClick) {
        connect(dataGrid_, &DataGridView::cellClicked, this, &LegendMapPage::chooseCellColor);
        connect(dataGrid_, &DataGridView::enterPressed, this, &LegendMapPage::chooseCellColor);
    } else {
        connect(dataGrid_, &DataGridView::cellSelected, this, &LegendMapPage::chooseCellColor);
    }
    connect(import_, &QPushButton::clicked, this, [this] {
        ImportGridFile(dataGrid_, main_.dialogs(), state_.grid, GridFileOf(shape_.kind));
    });
    connect(export_, &QPushButton::clicked, this, [this] {
        ExportGridFile(dataGrid_, main_.dialogs(), state_.grid, GridFileOf(shape_.kind),
                       shownMap());
    });
    connect(showName_, &QCheckBox::toggled, this,
            [&showName = s.showName](bool on) { showName = on; });
    connect(showLegend_, &QCheckBox::toggled, this,
            [&legend = s.legend](bool on) { legend.show = on; });
    if (!shape_.borderOwner)
        connect(borderEdit_, &ColorEdit::colorChosen, this,
                [&border = s.border](int32_t c) { border = c; });
    if (helpLink_)
        connect(helpLink_, &LinkLabel::clicked, this,
                [this] { main_.openHelpPage(shape_.link->page); });
}

int LegendMapPage::chartMode() const {
    // The chart modes of these pages are also their legends' target modes.
    return LegendTargetMode(shape_.kind);
}

GridDialog& LegendMapPage::colorDialog() {
    if (shape_.kind == ChartKind::Shade) return main_.shadeColorDialog();
    return main_.colorDialog();
}

QSize LegendMapPage::chartSize() const {
    return sizeBar_->chartSize();
}

ChartPlayer* LegendMapPage::previewPlayer() const {
    return shape_.ownPlayers ? main_.shadePreviewPlayer() : MapChartPage::previewPlayer();
}

ChartPlayer* LegendMapPage::capturePlayer() const {
    return shape_.ownPlayers ? main_.shadeCapturePlayer() : MapChartPage::capturePlayer();
}

void LegendMapPage::activate() {
    if (shape_.ownPlayers) previewPlayer()->show();
    MapChartPage::activate();
}

void LegendMapPage::deactivate() {
    legendPanel_->hide();
    if (shape_.ownPlayers) previewPlayer()->hide();
}

std::vector<GridData*> LegendMapPage::editedGrids() {
    return {&state_.grid, &state_.legend.grid};
}

DataGridView* LegendMapPage::gridViewFor(ChartHit::Kind kind) {
    return kind == (cities() ? ChartHit::Kind::City : ChartHit::Kind::Region) ? dataGrid_ : nullptr;
}

void LegendMapPage::loadChart(ChartModel& model, const QString& map) {
    LoadListChart(shape_.kind, model, state_, map);
    if (shape_.borderOwner) shape_.borderOwner->syncFromState();
}

// Into throw-away parts: the map's chart as last made, staged without touching the page.
void LegendMapPage::stageChart(ChartModel& scratch, const QString& map) {
    GridData grid = MakeDataGrid(state_.layout);
    GridRowsMemo memo;
    LegendState legend(shape_.kind);
    bool showName = false;
    int32_t border = state_.border;
    LoadListChart(shape_.kind, scratch, {state_.layout, grid, memo, legend, showName, border}, map);
}

void LegendMapPage::writeChart(const ChartModel& model) {
    WriteListChart(shape_.kind, model, state_);
}

void LegendMapPage::syncFromState() {
    showName_->setChecked(state_.showName);
    showLegend_->setChecked(state_.legend.show);
    borderEdit_->setColor(state_.border);
    legendPanel_->syncFromState();
    if (addedMaps_) addedMaps_->updateButtons();
}

void LegendMapPage::syncToState() {
    // A mirror shows the owner's border whatever the file said; an own edit sets it.
    if (!shape_.borderOwner)
        state_.border = borderEdit_->color();
    else
        borderEdit_->setColor(state_.border);
    legendPanel_->syncToState();
}

std::function<void()> LegendMapPage::applyMapRules(const QString& map) {
    const bool namesBefore = showName_->isEnabled();
    const bool legendBefore = showLegend_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    const bool added = addedMaps_ && addedMaps_->find(map);
    showName_->setEnabled(shape_.maps.offersNames(map) || (added && addedMaps_->offersNames(map)));
    showLegend_->setEnabled(shape_.maps.offersLegend(map) || added);
    syncFromState();
    return [=, this] {
        showName_->setEnabled(namesBefore);
        showLegend_->setEnabled(legendBefore);
        state_.showName = showNameBefore;
        state_.legend.show = showLegendBefore;
    };
}

void LegendMapPage::applySwitchRules(const QString& map) {
    if (!shape_.keepBoxesOnSwitch) applyMapRules(map);
}

ColorTarget LegendMapPage::colorTarget(int mode) {
    if (mode != chartMode()) return {};
    return {&state_.grid, tables().regionCount, &state_.legend};
}

LegendState* LegendMapPage::legendTarget(int mode) {
    return mode == chartMode() ? &state_.legend : nullptr;
}

void LegendMapPage::chooseCellColor(int col, int row) {
    ChooseCellColor(main_.dialogs(), dataGrid_, state_.grid, col, row, shape_.colorOnClick);
}

} // namespace tolvane
