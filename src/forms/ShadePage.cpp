#include "forms/ShadePage.h"

#include "charts/Charts.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/PageParts.h"
#include "forms/TFrmMain.h"
#include "forms/TfrmColor.h"
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

ShadePage::ShadePage(TFrmMain& main, QWidget* tab)
    : MapChartPage(main, tab)
    , state_(ChartKind::Shade) {
    build(tab);
}

void ShadePage::build(QWidget* tab) {
    cmbShadeMap_ =
        MakeMapList(QStringLiteral("cmbShadeMap"), maps().captions(), 1, tab); // "Germany"
    WShadeGrid_ = MakeDataGridView(QStringLiteral("WShadeGrid"), state_.grid,
                                   {80, 226, 155, 105, 65, 67}, tab);

    cmdShadeColor1_ = new QPushButton(QStringLiteral("Gradient Color"), tab);
    cmdShadeColor2_ = new QPushButton(QStringLiteral("Range Color"), tab);
    cmdShadeWImport_ = new QPushButton(QStringLiteral("Import from file"), tab);
    cmdShadeWExport_ = new QPushButton(QStringLiteral("Export to file"), tab);
    chkShadeShowName_ = new QCheckBox(QStringLiteral("Show Name"), tab);
    chkShadeShowName_->setObjectName(QStringLiteral("chkShadeShowName"));
    chkShadeShowLegend_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    chkShadeShowLegend_->setObjectName(QStringLiteral("chkShadeShowLegend"));
    chkShadeShowName_->setEnabled(false);
    chkShadeShowLegend_->setEnabled(false);
    cmdShowShadeLegend_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    cmdShowShadeLegend_->setEnabled(false);
    clrShadeBoder_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    clrShadeBoder_->setObjectName(QStringLiteral("clrShadeBoder"));
    auto* borderLabel = new QLabel(QStringLiteral("Border Color:"), tab);
    borderLabel->setBuddy(clrShadeBoder_);
    Label63_ = new LinkLabel(QStringLiteral("Shade Code"), tab);
    Label63_->setObjectName(QStringLiteral("Label63"));
    Label63_->setToolTip(QStringLiteral("Click to see country code"));
    sizeBar_ = new ChartSizeBar(true, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trShadeSize"));

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    AddModeHints(side, tab);
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(cmdShadeColor1_);
    colorButtons->addWidget(cmdShadeColor2_);
    side->addLayout(colorButtons);
    side->addLayout(FileButtonsRow(cmdShadeWImport_, cmdShadeWExport_, tab));
    side->addSpacing(8);
    auto* checks = new QHBoxLayout;
    checks->addWidget(chkShadeShowName_);
    checks->addWidget(chkShadeShowLegend_);
    checks->addStretch();
    side->addLayout(checks);
    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(cmdShowShadeLegend_);
    legendRow->addStretch();
    legendRow->addWidget(Label63_);
    side->addLayout(legendRow);
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(borderLabel);
    borderRow->addWidget(clrShadeBoder_);
    borderRow->addStretch();
    side->addLayout(borderRow);
    side->addStretch();
    LayOutPage(tab, cmbShadeMap_, WShadeGrid_, side, sizeBar_);

    pnShadeLegend_ = new LegendPanel(
        state_.legend, state_.grid, main_.frmLegendColor(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.pnForm());
    pnShadeLegend_->bind(chkShadeShowLegend_, cmdShowShadeLegend_);
    PlaceLegendPanel(pnShadeLegend_, main_);
    watchGrid(WShadeGrid_, ChartHit::Kind::Region);
    watchGrid(pnShadeLegend_->gridView(), ChartHit::Kind::None, pnShadeLegend_);

    connect(cmbShadeMap_, &QComboBox::activated, this, [this] { cmbShadeMapChange(); });
    connect(WShadeGrid_, &DataGridView::cellSelected, this, &ShadePage::WShadeGridSelectCell);
    connect(cmdShadeColor1_, &QPushButton::clicked, this, &ShadePage::cmdShadeColor1Click);
    connect(cmdShadeColor2_, &QPushButton::clicked, this, &ShadePage::cmdShadeColor2Click);
    connect(Label63_, &LinkLabel::clicked, this, &ShadePage::Label63Click);
    connect(cmdShadeWImport_, &QPushButton::clicked, this, &ShadePage::cmdShadeWImportClick);
    connect(cmdShadeWExport_, &QPushButton::clicked, this, &ShadePage::cmdShadeWExportClick);
    connect(chkShadeShowName_, &QCheckBox::toggled, this,
            [this](bool on) { state_.showName = on; });
    connect(chkShadeShowLegend_, &QCheckBox::toggled, this,
            [this](bool on) { state_.legend.show = on; });
    connect(clrShadeBoder_, &ColorEdit::colorChosen, this,
            [this](int32_t c) { state_.border = c; });
}

QSize ShadePage::chartSize() const {
    return sizeBar_->chartSize();
}

ChartPlayer* ShadePage::previewPlayer() const {
    return main_.ShadeFlash1;
}

ChartPlayer* ShadePage::capturePlayer() const {
    return main_.ShadeFlash2;
}

QString ShadePage::selectedMap() const {
    return maps().stemOf(cmbShadeMap_->currentText());
}

void ShadePage::selectMap(const QString& map) {
    const QSignalBlocker block(cmbShadeMap_);
    if (const QString caption = maps().captionOf(map); !caption.isEmpty())
        cmbShadeMap_->setCurrentText(caption);
}

void ShadePage::activate() {
    main_.ShadeFlash1->show();
    MapChartPage::activate();
}

void ShadePage::deactivate() {
    pnShadeLegend_->hide();
    main_.ShadeFlash1->hide();
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
    chkShadeShowName_->setChecked(state_.showName);
    chkShadeShowLegend_->setChecked(state_.legend.show);
    clrShadeBoder_->setColor(state_.border);
    pnShadeLegend_->syncFromState();
}

std::function<void()> ShadePage::applyMapRules(const QString& map) {
    const bool enabledBefore = chkShadeShowName_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    // Every shade map has names; a selector naming none leaves both boxes off.
    chkShadeShowName_->setEnabled(!map.isEmpty());
    chkShadeShowLegend_->setEnabled(!map.isEmpty());
    syncFromState();
    return [=, this] {
        chkShadeShowName_->setEnabled(enabledBefore);
        chkShadeShowLegend_->setEnabled(enabledBefore);
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

void ShadePage::WShadeGridSelectCell(int col, int row) {
    ChooseSelectedCellColor(main_.dialogs(), WShadeGrid_, state_.grid, col, row);
}

void ShadePage::cmdShadeColor1Click() {
    OpenGridDialog(main_.frmColor2(), TfrmColor::GradientPanel, ModeShade);
}

void ShadePage::cmdShadeColor2Click() {
    OpenGridDialog(main_.frmColor2(), TfrmColor::RangePanel, ModeShade);
}

void ShadePage::cmdShadeWImportClick() {
    ImportGridFile(WShadeGrid_, main_.dialogs(), state_.grid, kShadeGridFile);
}

void ShadePage::cmdShadeWExportClick() {
    ExportGridFile(WShadeGrid_, main_.dialogs(), state_.grid, kShadeGridFile, shownMap());
}

void ShadePage::Label63Click() {
    main_.openHelpPage(QStringLiteral("shade.htm"));
}

} // namespace tolvane
