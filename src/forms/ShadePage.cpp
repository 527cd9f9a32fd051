#include "forms/ShadePage.h"

#include "charts/Charts.h"
#include "forms/ColorByDataDialog.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
#include "platform/Dialogs.h"
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
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace tolvane {

const MapTable& ShadePage::maps() {
    static const MapTable table{{"China", "Chinaad"}, {"Germany", "Germany3"}, {"Italy", "Italy2"}};
    return table;
}

ShadePage::ShadePage(MainWindow& main, QWidget* tab)
    : MapChartPage(main, tab)
    , state_(ChartKind::Shade) {
    build(tab);
}

void ShadePage::build(QWidget* tab) {
    mapList_ = MakeMapList(QStringLiteral("cmbShadeMap"), maps().captions(), 1, tab); // "Germany"
    dataGrid_ = MakeDataGridView(QStringLiteral("WShadeGrid"), state_.grid,
                                 {80, 226, 155, 105, 65, 67}, tab);

    gradientColorButton_ = new QPushButton(QStringLiteral("Gradient Color"), tab);
    rangeColorButton_ = new QPushButton(QStringLiteral("Range Color"), tab);
    importButton_ = new QPushButton(QStringLiteral("Import from file"), tab);
    exportButton_ = new QPushButton(QStringLiteral("Export to file"), tab);
    showNameBox_ = new QCheckBox(QStringLiteral("Show Name"), tab);
    showNameBox_->setObjectName(QStringLiteral("chkShadeShowName"));
    showLegendBox_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    showLegendBox_->setObjectName(QStringLiteral("chkShadeShowLegend"));
    showNameBox_->setEnabled(false);
    showLegendBox_->setEnabled(false);
    legendSetButton_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    legendSetButton_->setEnabled(false);
    borderEdit_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    borderEdit_->setObjectName(QStringLiteral("clrShadeBoder"));
    auto* borderLabel = new QLabel(QStringLiteral("Border Color:"), tab);
    borderLabel->setBuddy(borderEdit_);
    shadeCodeLink_ = new LinkLabel(QStringLiteral("Shade Code"), tab);
    shadeCodeLink_->setObjectName(QStringLiteral("Label63"));
    shadeCodeLink_->setToolTip(QStringLiteral("Click to see country code"));
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trShadeSize"));

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
    legendRow->addWidget(shadeCodeLink_);
    side->addLayout(legendRow);
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(borderLabel);
    borderRow->addWidget(borderEdit_);
    borderRow->addStretch();
    side->addLayout(borderRow);
    side->addStretch();
    LayOutPage(tab, mapList_, dataGrid_, side, sizeBar_);

    legendPanel_ = new LegendPanel(
        state_.legend, state_.grid, main_.legendColorDialog(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.clientArea());
    legendPanel_->bind(showLegendBox_, legendSetButton_);
    PlaceLegendPanel(legendPanel_, main_);
    watchGrid(dataGrid_, ChartHit::Kind::Region);
    watchGrid(legendPanel_->gridView(), ChartHit::Kind::None, legendPanel_);

    connect(mapList_, &QComboBox::activated, this, [this] { mapChange(); });
    connect(dataGrid_, &DataGridView::cellSelected, this, &ShadePage::chooseCellColor);
    connect(gradientColorButton_, &QPushButton::clicked, this, &ShadePage::gradientColor);
    connect(rangeColorButton_, &QPushButton::clicked, this, &ShadePage::rangeColor);
    connect(shadeCodeLink_, &LinkLabel::clicked, this, &ShadePage::showShadeCodes);
    connect(importButton_, &QPushButton::clicked, this, &ShadePage::importData);
    connect(exportButton_, &QPushButton::clicked, this, &ShadePage::exportData);
    connect(showNameBox_, &QCheckBox::toggled, this, [this](bool on) { state_.showName = on; });
    connect(showLegendBox_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
    connect(borderEdit_, &ColorEdit::colorChosen, this, [this](int32_t c) { state_.border = c; });
}

QSize ShadePage::chartSize() const {
    return sizeBar_->chartSize();
}

ChartPlayer* ShadePage::previewPlayer() const {
    return main_.shadePreviewPlayer();
}

ChartPlayer* ShadePage::capturePlayer() const {
    return main_.shadeCapturePlayer();
}

QString ShadePage::selectedMap() const {
    return maps().stemOf(mapList_->currentText());
}

void ShadePage::selectMap(const QString& map) {
    const QSignalBlocker block(mapList_);
    if (const QString caption = maps().captionOf(map); !caption.isEmpty())
        mapList_->setCurrentText(caption);
}

void ShadePage::activate() {
    main_.shadePreviewPlayer()->show();
    MapChartPage::activate();
}

void ShadePage::deactivate() {
    legendPanel_->hide();
    main_.shadePreviewPlayer()->hide();
}

void ShadePage::loadChart(ChartModel& model, const QString& map) {
    LoadShadeChart(model, state_, map);
}

void ShadePage::stageChart(ChartModel& scratch, const QString& map) {
    MapPageState staged(ChartKind::Shade);
    LoadShadeChart(scratch, staged, map);
}

void ShadePage::writeChart(const ChartModel& model) {
    WriteShadeChart(model, state_);
}

std::vector<GridData*> ShadePage::editedGrids() {
    return {&state_.grid, &state_.legend.grid};
}

void ShadePage::syncFromState() {
    showNameBox_->setChecked(state_.showName);
    showLegendBox_->setChecked(state_.legend.show);
    borderEdit_->setColor(state_.border);
    legendPanel_->syncFromState();
}

void ShadePage::syncToState() {
    state_.border = borderEdit_->color();
    legendPanel_->syncToState();
}

std::function<void()> ShadePage::applyMapRules(const QString& map) {
    const bool enabledBefore = showNameBox_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    // Every shade map has names; a selector naming none leaves both boxes off.
    showNameBox_->setEnabled(!map.isEmpty());
    showLegendBox_->setEnabled(!map.isEmpty());
    syncFromState();
    return [=, this] {
        showNameBox_->setEnabled(enabledBefore);
        showLegendBox_->setEnabled(enabledBefore);
        state_.showName = showNameBefore;
        state_.legend.show = showLegendBefore;
    };
}

ColorTarget ShadePage::colorTarget(int mode) {
    if (mode != ModeShade) return {};
    return {&state_.grid, tables().regionCount, &state_.legend};
}

LegendState* ShadePage::legendTarget(int mode) {
    return mode == ModeShade ? &state_.legend : nullptr;
}

void ShadePage::chooseCellColor(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), dataGrid_, state_.grid, col, row);
}

void ShadePage::gradientColor() {
    OpenGridDialog(main_.shadeColorDialog(), ColorByDataDialog::GradientPanel, ModeShade);
}

void ShadePage::rangeColor() {
    OpenGridDialog(main_.shadeColorDialog(), ColorByDataDialog::RangePanel, ModeShade);
}

void ShadePage::importData() {
    ImportGridFile(dataGrid_, main_.dialogs(), state_.grid, kShadeGridFile);
}

void ShadePage::exportData() {
    ExportGridFile(dataGrid_, main_.dialogs(), state_.grid, kShadeGridFile, shownMap());
}

void ShadePage::showShadeCodes() {
    main_.openHelpPage(QStringLiteral("shade.htm"));
}

} // namespace tolvane
