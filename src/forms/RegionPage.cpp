#include "forms/RegionPage.h"

#include "charts/Charts.h"
#include "forms/GridFileCommands.h"
#include "forms/LegendPanel.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/TFrmMain.h"
#include "forms/TfrmColor.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

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
    : QObject(tab)
    , main_(main)
    , state_(ChartKind::Region) {
    build(tab);
}

void RegionPage::build(QWidget* tab) {
    cmbMap_ = new QComboBox(tab);
    cmbMap_->addItems(mapList());
    cmbMap_->setCurrentIndex(1); // "World2"
    cmbMap_->setMaxVisibleItems(20);
    auto* mapLabel = new QLabel(QStringLiteral("Map Select:"), tab);
    mapLabel->setBuddy(cmbMap_);

    WGrid_ = new DataGridView(state_.grid, 2, tab);
    WGrid_->setColumnWidths({80, 265, 152, 105, 80});
    WGrid_->setKeyFilter([](QChar c, const QString&, int, int) { return IsNumberKey(c); });

    auto hint = [tab](const QString& text) {
        auto* label = new QLabel(text, tab);
        label->setWordWrap(true);
        return label;
    };
    cmdColor1_ = new QPushButton(QStringLiteral("Gradient Color"), tab);
    cmdColor2_ = new QPushButton(QStringLiteral("Range Color"), tab);
    cmdWImport_ = new QPushButton(QStringLiteral("Import from file"), tab);
    cmdWExport_ = new QPushButton(QStringLiteral("Export to file"), tab);
    chkPShowName_ = new QCheckBox(QStringLiteral("Show Name"), tab);
    chkPShowLegend_ = new QCheckBox(QStringLiteral("Show Legend"), tab);
    chkPShowName_->setEnabled(false);
    chkPShowLegend_->setEnabled(false);
    cmdShowPLegend_ = new QPushButton(QStringLiteral("Legend Set"), tab);
    cmdShowPLegend_->setEnabled(false);
    clrBoder_ = new ColorEdit(main_.dialogs(), kSilver, tab);
    auto* borderLabel = new QLabel(QStringLiteral("Border Color:"), tab);
    borderLabel->setBuddy(clrBoder_);
    sizeBar_ = new ChartSizeBar(true, tab);

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(hint(QStringLiteral("Mode 1: Click color area to set new color directly.")));
    side->addWidget(hint(QStringLiteral("Mode 2: Fill gradient color by data automatically.")));
    side->addWidget(hint(QStringLiteral("Mode 3: Fill color by data manually.")));
    auto* colorButtons = new QHBoxLayout;
    colorButtons->addWidget(cmdColor1_);
    colorButtons->addWidget(cmdColor2_);
    side->addLayout(colorButtons);
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(cmdWImport_);
    fileButtons->addWidget(cmdWExport_);
    auto* fileRow = new QHBoxLayout;
    fileRow->addLayout(fileButtons);
    fileRow->addWidget(new QLabel(QStringLiteral("Refer to help file to\nsee how to import"), tab));
    fileRow->addStretch();
    side->addLayout(fileRow);
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

    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(mapLabel);
    mapRow->addWidget(cmbMap_);
    mapRow->addStretch();

    auto* layout = new QGridLayout(tab);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setHorizontalSpacing(14);
    layout->setVerticalSpacing(6);
    layout->addLayout(mapRow, 0, 0);
    layout->addWidget(WGrid_, 1, 0);
    layout->addLayout(side, 0, 1, 2, 1);
    layout->addWidget(sizeBar_, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    WGrid_->setFixedWidth(WGrid_->columnsWidth());

    pnPLegend_ = new LegendPanel(
        state_.legend, state_.grid, main_.frmLegendColor(),
        [this]() -> const std::vector<TLegend>& { return main_.model().legends; }, main_.pnForm());
    pnPLegend_->setObjectName(QStringLiteral("pnPLegend"));
    pnPLegend_->bind(chkPShowLegend_, cmdShowPLegend_);
    // Over the left of the preview, so the chart stays in sight while the legend is edited.
    QRect legendArea = main_.previewArea();
    legendArea.setWidth(std::min(legendArea.width(), 470));
    pnPLegend_->setGeometry(legendArea);

    connect(cmbMap_, &QComboBox::activated, this, [this] { cmbMapChange(); });
    connect(WGrid_, &DataGridView::cellClicked, this, &RegionPage::WGridClick);
    connect(WGrid_, &DataGridView::activated, this, [this](const QModelIndex&) {
        WGridClick(WGrid_->currentCol(), WGrid_->currentRow()); // Enter on a colour cell
    });
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

bool RegionPage::load() {
    const bool loaded = main_.runOperation(
        [this] { LoadRegionChart(main_.model(), state_, main_.model().currentMapName); });
    if (loaded) shownMap_ = main_.model().currentMapName;
    syncFromState();
    main_.playerFilter().install();
    main_.letEventsRun();
    return loaded;
}

bool RegionPage::chartLoaded() const {
    return !shownMap_.isEmpty() && shownMap_ == main_.model().currentMapName;
}

void RegionPage::syncFromState() {
    chkPShowName_->setChecked(state_.showName);
    chkPShowLegend_->setChecked(state_.legend.show);
    clrBoder_->setColor(state_.border);
    pnPLegend_->syncFromState();
}

void RegionPage::cmbMapChange() {
    const QString previous = shownMap_;
    const bool nameWasEnabled = chkPShowName_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;

    state_.showName = false;
    state_.legend.show = false;
    chkPShowName_->setEnabled(false);
    chkPShowLegend_->setEnabled(true);
    main_.model().currentMapName = cmbMap_->currentText();
    chkPShowName_->setEnabled(mapHasNames(main_.model().currentMapName));

    if (!load() && !previous.isEmpty()) {
        // The grid still holds the previous map: go back to it, or the next make would
        // write that grid into the chosen map's file.
        main_.model().currentMapName = previous;
        const QSignalBlocker block(cmbMap_);
        cmbMap_->setCurrentText(previous);
        chkPShowName_->setEnabled(nameWasEnabled);
        state_.showName = showNameBefore;
        state_.legend.show = showLegendBefore;
        syncFromState();
        return;
    }
    main_.placePreview(main_.Flash1);
    main_.letEventsRun();
    main_.RestartPreview(main_.Flash1);
}

void RegionPage::WGridClick(int col, int row) {
    GridData& grid = state_.grid;
    if (col != ColColor || row < 2 || row >= grid.rowCount() ||
        grid.text(ColKey, row) == kNoDataMark)
        return;
    if (const auto chosen = main_.dialogs().chooseColor(WGrid_, grid.color(col, row)))
        grid.setColor(col, row, *chosen);
}

void RegionPage::openColorDialog(int panel) {
    TfrmColor& dialog = main_.frmColor();
    dialog.showPanel(panel);
    dialog.setTargetMode(1);
    dialog.exec();
}

void RegionPage::cmdColor1Click() {
    openColorDialog(TfrmColor::GradientPanel);
}
void RegionPage::cmdColor2Click() {
    openColorDialog(TfrmColor::RangePanel);
}

void RegionPage::cmdWImportClick() {
    ImportGridFile(WGrid_, main_.dialogs(), state_.grid, kRegionGridFile);
}
void RegionPage::cmdWExportClick() {
    ExportGridFile(WGrid_, main_.dialogs(), state_.grid, kRegionGridFile,
                   main_.model().currentMapName);
}

} // namespace tolvane
