#include "forms/CityPage.h"

#include "charts/Charts.h"
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

namespace {

// Names and legends are offered where the map leaves room for them.
struct CityMap {
    const char* caption;
    const char* stem;
    bool names;
    bool legend;
};
constexpr CityMap kCityMaps[] = {
    {"World Cities", "WorldCity", true, true},
    {"Europe Major Cities", "EuropeCity", true, true},
    {"China Major Cities", "CNCity", true, true},
    {"France Major Cities", "FranceCity", true, false},
    {"Germany Major Cities", "GermanyCity", false, false},
    {"Italy Major Cities", "ItalyCity", true, true},
    {"Japan Major Cities", "JapanCity", false, false},
    {"South Korea Major Cities", "SouthKoreaCity", false, false},
    {"Spain Major Cities", "SpainCity", true, false},
    {"Thailand Major Cities", "ThailandCity", false, false},
    {"UK Major Cities", "UKCity", true, false},
    {"USA Major Cities", "USACity", false, false},
};

const CityMap* FindStem(const QString& stem) {
    for (const CityMap& m : kCityMaps)
        if (stem == QLatin1String(m.stem)) return &m;
    return nullptr;
}

} // namespace

const QStringList& CityPage::mapCaptions() {
    static const QStringList captions = [] {
        QStringList list;
        for (const CityMap& m : kCityMaps)
            list << QString::fromLatin1(m.caption);
        return list;
    }();
    return captions;
}

QString CityPage::stemOf(const QString& caption) {
    for (const CityMap& m : kCityMaps)
        if (caption == QLatin1String(m.caption)) return QString::fromLatin1(m.stem);
    return {};
}

bool CityPage::stemHasNames(const QString& stem) {
    const CityMap* m = FindStem(stem);
    return m && m->names;
}

bool CityPage::stemHasLegend(const QString& stem) {
    const CityMap* m = FindStem(stem);
    return m && m->legend;
}

CityPage::CityPage(TFrmMain& main, QWidget* tab)
    : MapChartPage(main, tab) {
    build(tab);
}

void CityPage::build(QWidget* tab) {
    cmbCityMap_ = MakeMapList(QStringLiteral("cmbCityMap"), mapCaptions(), 0, tab);
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
    LayOutPage(tab, cmbCityMap_, WCityGrid_, side, sizeBar_);

    pnCLegend_ = new LegendPanel(
        state_.legend, state_.grid, main_.frmLegendColor(),
        [this]() -> const std::vector<TLegend>& { return tables().legends; }, main_.pnForm());
    pnCLegend_->bind(chkCShowLegend_, cmdShowCLegend_);
    PlaceLegendPanel(pnCLegend_, main_);

    connect(cmbCityMap_, &QComboBox::activated, this, [this] { cmbCityMapChange(); });
    connect(WCityGrid_, &DataGridView::cellSelected, this, &CityPage::WCityGridSelectCell);
    connect(cmdCityColor1_, &QPushButton::clicked, this, &CityPage::cmdCityColor1Click);
    connect(cmdCityColor2_, &QPushButton::clicked, this, &CityPage::cmdCityColor2Click);
    connect(cmdCitySize1_, &QPushButton::clicked, this, &CityPage::cmdCitySize1Click);
    connect(cmdCitySize2_, &QPushButton::clicked, this, &CityPage::cmdCitySize2Click);
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
    return stemOf(cmbCityMap_->currentText());
}

void CityPage::selectMap(const QString& map) {
    const QSignalBlocker block(cmbCityMap_);
    if (const CityMap* m = FindStem(map))
        cmbCityMap_->setCurrentText(QString::fromLatin1(m->caption));
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

std::vector<const GridData*> CityPage::editedGrids() const {
    return {&state_.grid, &state_.legend.grid};
}

void CityPage::syncFromState() {
    chkShowName_->setChecked(state_.showName);
    chkCShowLegend_->setChecked(state_.legend.show);
    clrCityBoder_->setColor(border());
    pnCLegend_->syncFromState();
}

std::function<void()> CityPage::applyMapRules(const QString& map) {
    const bool namesBefore = chkShowName_->isEnabled();
    const bool legendBefore = chkCShowLegend_->isEnabled();
    const bool showNameBefore = state_.showName;
    const bool showLegendBefore = state_.legend.show;
    state_.showName = false;
    state_.legend.show = false;
    chkShowName_->setEnabled(stemHasNames(map));
    chkCShowLegend_->setEnabled(stemHasLegend(map));
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

} // namespace tolvane
