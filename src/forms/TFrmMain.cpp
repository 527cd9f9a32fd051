#include "forms/TFrmMain.h"

#include "charts/Charts.h"
#include "forms/AppInfo.h"
#include "forms/ColorTarget.h"
#include "forms/LegendPanel.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/RegionPage.h"
#include "forms/SaveChart.h"
#include "forms/TfrmAbout.h"
#include "forms/TfrmColor.h"
#include "forms/TfrmLegendColor.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int kPreviewLeft = 40;
constexpr int kPreviewWidth = 793;

// Marks a user operation under way, so that a click delivered while it lets the players
// repaint cannot start a second one inside it.
class BusyScope {
public:
    explicit BusyScope(bool& busy)
        : busy_(busy)
        , entered_(!busy) {
        busy_ = true;
    }
    ~BusyScope() {
        if (entered_) busy_ = false;
    }
    bool entered() const { return entered_; }

private:
    bool& busy_;
    bool entered_;
};

} // namespace

TFrmMain::TFrmMain(const QString& appFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , dialogs_(dialogs) {
    model_.appFolder = appFolder;
    setWindowTitle(AppInfo::productName());
    setFixedSize(kClientWidth, kClientHeight);

    pnForm_ = new QWidget(this);
    pnForm_->setObjectName(QStringLiteral("pnForm"));
    pnForm_->setGeometry(0, 0, kClientWidth, kClientHeight);
    pnForm_->setFocusPolicy(Qt::StrongFocus);

    pgControl_ = new QTabWidget(pnForm_);
    pgControl_->setGeometry(0, 0, kClientWidth, kPageControlHeight);

    // Capture players draw Save Chart's pictures; they are never shown.
    pnMap_ = new QWidget(pnForm_);
    pnMap_->setObjectName(QStringLiteral("pnMap"));
    pnMap_->hide();
    flash2 = new ChartPlayer(pnMap_);
    ShadeFlash2 = new ChartPlayer(pnMap_);

    Flash1 = new ChartPlayer(pnForm_);
    Flash1->setObjectName(QStringLiteral("Flash1"));
    ShadeFlash1 = new ChartPlayer(pnForm_);
    ShadeFlash1->setObjectName(QStringLiteral("ShadeFlash1"));
    ShadeFlash1->hide();
    for (ChartPlayer* player : {Flash1, ShadeFlash1})
        player->setGeometry(previewArea());

    playerFilter_ = new PlayerMessageFilter(this);
    playerFilter_->guard(Flash1);
    playerFilter_->guard(ShadeFlash1);

    // The dialogs live for the whole run, made in this order after the main window.
    frmAbout_ = new TfrmAbout(dialogs_, this);
    frmColor_ = new TfrmColor(
        dialogs_, [this](int mode) { return colorTarget(mode); }, this);
    frmLegendColor_ = new TfrmLegendColor(
        dialogs_, [this](int mode) { return legendTarget(mode); }, this);

    auto* tabMap = new QWidget;
    tabMap->setObjectName(QStringLiteral("TabSheet1"));
    pgControl_->addTab(tabMap, QStringLiteral("Map"));
    regionPage_ = new RegionPage(*this, tabMap);

    cmdMake_ = new QPushButton(QStringLiteral("Make && Preview"), pnForm_);
    cmdSavePicture_ = new QPushButton(QStringLiteral("Save Chart"), pnForm_);
    cmdHelp_ = new QPushButton(QStringLiteral("Help"), pnForm_);
    cmdAbout_ = new QPushButton(QStringLiteral("About"), pnForm_);
    const int buttonsLeft = kPreviewLeft + kPreviewWidth + 20;
    const int buttonsWidth = kClientWidth - buttonsLeft - 16;
    int top = kPageControlHeight + 19;
    for (QPushButton* button : {cmdMake_, cmdSavePicture_}) {
        button->setGeometry(buttonsLeft, top, buttonsWidth, 34);
        top += 42;
    }
    top = kClientHeight - 30 - 2 * 42 + 8;
    for (QPushButton* button : {cmdHelp_, cmdAbout_}) {
        button->setGeometry(buttonsLeft, top, buttonsWidth, 34);
        top += 42;
    }
    cmdMake_->setDefault(true);

    connect(cmdMake_, &QPushButton::clicked, this, &TFrmMain::cmdMakeClick);
    connect(cmdSavePicture_, &QPushButton::clicked, this, &TFrmMain::cmdSavePictureClick);
    connect(cmdHelp_, &QPushButton::clicked, this, &TFrmMain::cmdHelpClick);
    connect(cmdAbout_, &QPushButton::clicked, this, &TFrmMain::cmdAboutClick);
    connect(frmColor_, &TfrmColor::targetChanged, this, [this](int mode) {
        if (mode == 1) regionPage_->pnPLegend()->syncFromState();
    });
}

TFrmMain::~TFrmMain() {
    FormDestroy();
}

QRect TFrmMain::previewArea() const {
    return {kPreviewLeft, pgControl_->height() + 19, kPreviewWidth,
            pnForm_->height() - pgControl_->height() - 30};
}

void TFrmMain::FormCreate() {
    BusyScope busy(busy_);
    model_.regionCount = 1;
    model_.chartMode = ModeRegion;
    model_.currentMapName = regionPage_->cmbMap()->currentText();
    regionPage_->load();
    playerFilter_->install();
    Flash1->LoadMovie(0, model_.stagedMoviePath());
    letEventsRun();
    Flash1->Play();
    letEventsRun();
    Flash1->setMenu(false);
    playerFilter_->install();
    placePreview(Flash1);
    letEventsRun();
    regionPage_->chkPShowLegend()->setEnabled(true);
    if (RegionPage::startupMapHasNames(regionPage_->cmbMap()->currentText()))
        regionPage_->chkPShowName()->setEnabled(true);
}

void TFrmMain::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
}

void TFrmMain::letEventsRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool TFrmMain::runOperation(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const UserError& e) {
        dialogs_.showError(this, e.message());
    }
    return false;
}

void TFrmMain::placePreview(ChartPlayer* player) {
    player->setGeometry(previewArea());
}

void TFrmMain::RestartPreview(ChartPlayer* player) {
    player->LoadMovie(0, model_.blankMoviePath());
    letEventsRun();
    player->LoadMovie(0, model_.stagedMoviePath());
    player->Play();
    letEventsRun();
    pnForm_->setFocus();
    player->setFocus();
}

ChartPlayer* TFrmMain::previewPlayerOfMode() const {
    return model_.chartMode == ModeShade ? ShadeFlash1 : Flash1;
}

void TFrmMain::MakeAndPreview() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    switch (model_.chartMode) {
    case ModeRegion: {
        RegionPage& page = *regionPage_;
        if (!page.chartLoaded()) {
            dialogs_.showError(
                this, QStringLiteral("The chart of \"%1\" could not be loaded, so there is "
                                     "nothing to make. Choose the map again.")
                          .arg(model_.currentMapName));
            return;
        }
        if (!runOperation([&] { WriteRegionChart(model_, page.state()); })) return;
        letEventsRun();
        if (!page.load()) return;
        break;
    }
    default:
        return;
    }
    letEventsRun();
    RestartPreview(previewPlayerOfMode());
}

QSize TFrmMain::chartSizeOfMode() const {
    // Each page has its own size bar; the "Map" page is the only one so far.
    return regionPage_->sizeBar()->chartSize();
}

void TFrmMain::cmdSavePictureClick() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    ChartPlayer* capture = model_.chartMode == ModeShade ? ShadeFlash2 : flash2;
    SaveChartPicture(this, dialogs_, capture, chartSizeOfMode(),
                     [this](ChartPlayer* player) { RestartPreview(player); });
}

void TFrmMain::openHelpPage(const QString& page) {
    dialogs_.openUrl(QUrl::fromLocalFile(model_.appFolder + QStringLiteral("help/") + page));
}

void TFrmMain::cmdHelpClick() {
    openHelpPage(QStringLiteral("help.htm"));
}

void TFrmMain::cmdAboutClick() {
    frmAbout_->exec();
}

ColorTarget TFrmMain::colorTarget(int mode) {
    switch (mode) {
    case 1:
        return {&regionPage_->state().grid, model_.regionCount, &regionPage_->state().legend};
    default:
        return {};
    }
}

LegendState* TFrmMain::legendTarget(int mode) {
    switch (mode) {
    case 1:
        return &regionPage_->state().legend;
    default:
        return nullptr;
    }
}

} // namespace tolvane
