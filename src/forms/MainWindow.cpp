#include "forms/MainWindow.h"

#include "charts/Charts.h"
#include "forms/AboutDialog.h"
#include "forms/AddMapDialog.h"
#include "forms/AddedMapRow.h"
#include "forms/AppInfo.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/FlagPage.h"
#include "forms/LegendColorDialog.h"
#include "forms/MapPages.h"
#include "forms/OptionsCommands.h"
#include "forms/PageSet.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/RegionCityPage.h"
#include "forms/SaveChart.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

namespace tolvane {

namespace {

constexpr int kPreviewLeft = 40;
constexpr int kPreviewWidth = 793;

} // namespace

MainWindow::Operation::Operation(MainWindow& main)
    : busy_(main.busy_)
    , entered_(!main.busy_) {
    busy_ = true;
}

MainWindow::Operation::~Operation() {
    if (entered_) busy_ = false;
}

MainWindow::MainWindow(const QString& appFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , dialogs_(dialogs) {
    model_.appFolder = appFolder;
    // The user switches between maps and pages: the last few charts read stay decoded.
    KeepChartFilesDecoded(3);
    setWindowTitle(AppInfo::productName());
    setFixedSize(kClientWidth, kClientHeight);

    clientArea_ = new QWidget(this);
    clientArea_->setObjectName(QStringLiteral("pnForm"));
    clientArea_->setGeometry(0, 0, kClientWidth, kClientHeight);
    clientArea_->setFocusPolicy(Qt::StrongFocus);
    pages_ = std::make_unique<PageSet>(*this, clientArea_);
    pages_->tabs()->setGeometry(0, 0, kClientWidth, kPageControlHeight);
    makePlayers();

    // The dialogs live for the whole run, made in this order after the main window.
    aboutDialog_ = new AboutDialog(dialogs_, this);
    const ColorTargetResolver resolve = [this](int mode) { return pages_->colorTarget(mode); };
    colorDialog_ = new ColorByDataDialog(dialogs_, resolve, this);
    sizeDialog_ = new BubbleSizeDialog(dialogs_, resolve, this);
    legendColorDialog_ = new LegendColorDialog(
        dialogs_, [this](int mode) { return pages_->legendTarget(mode); }, this);
    shadeColorDialog_ = new ShadeColorDialog(dialogs_, resolve, this);
    for (GridDialog* dialog :
         {static_cast<GridDialog*>(colorDialog_), static_cast<GridDialog*>(sizeDialog_),
          static_cast<GridDialog*>(shadeColorDialog_)})
        connect(dialog, &GridDialog::targetChanged, pages_.get(), &PageSet::showTargetChanged);

    pages_->addPages();
    addedMapsError_ = listAddedMaps();
    options_ = std::make_unique<OptionsCommands>(*this);
    makeButtons();
}

// Capture players draw Save Chart's pictures; they are never shown. A click on a preview
// selects the region's or city's row in the active page's grid.
void MainWindow::makePlayers() {
    captureArea_ = new QWidget(clientArea_);
    captureArea_->setObjectName(QStringLiteral("pnMap"));
    captureArea_->hide();
    capture_ = new ChartPlayer(captureArea_);
    shadeCapture_ = new ChartPlayer(captureArea_);

    preview_ = new ChartPlayer(clientArea_);
    preview_->setObjectName(QStringLiteral("Flash1"));
    shadePreview_ = new ChartPlayer(clientArea_);
    shadePreview_->setObjectName(QStringLiteral("ShadeFlash1"));
    shadePreview_->hide();
    playerFilter_ = new PlayerMessageFilter(this);
    for (ChartPlayer* player : {preview_, shadePreview_}) {
        player->setGeometry(previewArea());
        playerFilter_->guard(player);
        connect(player, &ChartPlayer::entryClicked, pages_.get(),
                [this, player](ChartHit hit) { pages_->showEntry(*player, hit); });
    }
}

void MainWindow::makeButtons() {
    makeButton_ = new QPushButton(QStringLiteral("Make && Preview"), clientArea_);
    saveChartButton_ = new QPushButton(QStringLiteral("Save Chart"), clientArea_);
    saveOptionsButton_ = new QPushButton(QStringLiteral("Save Options"), clientArea_);
    saveOptionsButton_->setObjectName(QStringLiteral("cmdSaveOption"));
    openOptionsButton_ = new QPushButton(QStringLiteral("Open Options"), clientArea_);
    openOptionsButton_->setObjectName(QStringLiteral("cmdOpenOption"));
    helpButton_ = new QPushButton(QStringLiteral("Help"), clientArea_);
    aboutButton_ = new QPushButton(QStringLiteral("About"), clientArea_);
    const int buttonsLeft = kPreviewLeft + kPreviewWidth + 20;
    const int buttonsWidth = kClientWidth - buttonsLeft - 16;
    int top = kPageControlHeight + 19;
    for (QPushButton* button :
         {makeButton_, saveChartButton_, saveOptionsButton_, openOptionsButton_}) {
        button->setGeometry(buttonsLeft, top, buttonsWidth, 34);
        top += 42;
    }
    top = kClientHeight - 30 - 2 * 42 + 8;
    for (QPushButton* button : {helpButton_, aboutButton_}) {
        button->setGeometry(buttonsLeft, top, buttonsWidth, 34);
        top += 42;
    }
    makeButton_->setDefault(true);

    connect(makeButton_, &QPushButton::clicked, this, [this] { makeAndPreview(); });
    connect(saveChartButton_, &QPushButton::clicked, this, [this] { saveChart(); });
    connect(saveOptionsButton_, &QPushButton::clicked, options_.get(), &OptionsCommands::save);
    connect(openOptionsButton_, &QPushButton::clicked, options_.get(), &OptionsCommands::open);
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::showAbout);
}

MainWindow::~MainWindow() {
    disconnect(pageTabs(), nullptr, pages_.get(), nullptr); // removing tabs is no page switch
    shutDown();
    // The views write into the pages' grids until they are gone: widgets first, pages last.
    delete clientArea_;
    clientArea_ = nullptr;
    pages_.reset();
}

LegendMapPage& MainWindow::regionPage() const {
    return pages_->region();
}
LegendMapPage& MainWindow::shadePage() const {
    return pages_->shade();
}
LegendMapPage& MainWindow::cityPage() const {
    return pages_->city();
}
RegionCityPage& MainWindow::regionCityPage() const {
    return pages_->regionCity();
}
FlagPage& MainWindow::flagPage() const {
    return pages_->flag();
}
QTabWidget* MainWindow::pageTabs() const {
    return pages_->tabs();
}

QRect MainWindow::previewArea() const {
    return {kPreviewLeft, pageTabs()->height() + 19, kPreviewWidth,
            clientArea_->height() - pageTabs()->height() - 30};
}

void MainWindow::startUp() {
    Operation busy(*this);
    if (!addedMapsError_.isEmpty()) dialogs_.showError(this, addedMapsError_);
    model_.regionCount = 1;
    model_.chartMode = ModeRegion;
    created_ = true;
    options_->restoreLastRun();
    LegendMapPage& regions = regionPage();
    model_.currentMapName = regions.selectedMap();
    regions.loadSelected();
    playerFilter_->install();
    preview_->loadMovie(0, model_.stagedMoviePath());
    letEventsRun();
    preview_->play();
    letEventsRun();
    preview_->setMenu(false);
    playerFilter_->install();
    placePreview(preview_);
    letEventsRun();
    regions.showLegendBox()->setEnabled(true);
    const QString map = regions.selectedMap();
    if (StartupMapHasNames(map) || regions.addedMaps()->offersNames(map))
        regions.showNameBox()->setEnabled(true);
    flagPage().fillStartCodes();
}

void MainWindow::shutDown() {
    if (destroyed_) return;
    destroyed_ = true;
    // A window that never started has restored nothing: its state is not worth keeping.
    if (created_) options_->keepForNextRun();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    shutDown();
    event->accept();
}

void MainWindow::letEventsRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool MainWindow::runOperation(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const UserError& e) {
        dialogs_.showError(this, e.message());
    }
    return false;
}

void MainWindow::placePreview(ChartPlayer* player) {
    player->setGeometry(previewArea());
}

void MainWindow::restartPreview(ChartPlayer* player) {
    player->loadMovie(0, model_.blankMoviePath());
    letEventsRun();
    player->loadMovie(0, model_.stagedMoviePath());
    player->play();
    letEventsRun();
    clientArea_->setFocus();
    player->setFocus();
}

void MainWindow::makeAndPreview() {
    if (ChartPage* page = pages_->ofMode(model_.chartMode)) makeAndPreview(*page);
}

void MainWindow::makeAndPreview(ChartPage& page) {
    Operation busy(*this);
    if (!busy.entered() || !page.make()) return;
    letEventsRun();
    restartPreview(page.previewPlayer());
}

void MainWindow::saveChart() {
    if (ChartPage* page = pages_->ofMode(model_.chartMode)) saveChart(*page);
}

void MainWindow::saveChart(ChartPage& page) {
    Operation busy(*this);
    if (!busy.entered()) return;
    SaveChartPicture(this, dialogs_, page.capturePlayer(), page.chartSize(),
                     [this](ChartPlayer* player) { restartPreview(player); });
}

void MainWindow::openHelpPage(const QString& page) {
    dialogs_.openUrl(QUrl::fromLocalFile(model_.appFolder + QStringLiteral("help/") + page));
}

void MainWindow::showHelp() {
    openHelpPage(QStringLiteral("help.htm"));
}

void MainWindow::showAbout() {
    aboutDialog_->exec();
}

QString MainWindow::listAddedMaps() {
    std::vector<AddedMap> maps;
    QString error;
    try {
        maps = LoadAddedMaps(model_.appFolder);
    } catch (const UserError& e) {
        error = QStringLiteral("%1\n\nThe maps you added are not listed until the list is "
                               "mended or removed.")
                    .arg(e.message());
    }
    pages_->listAddedMaps(maps);
    return error;
}

void MainWindow::reloadAddedMaps() {
    if (const QString error = listAddedMaps(); !error.isEmpty()) dialogs_.showError(this, error);
}

void MainWindow::addMap() {
    Operation busy(*this);
    if (!busy.entered()) return;
    AddMapDialog dialog(dialogs_, model_.appFolder, this);
    if (!dialog.chooseFile()) return;
    dialog.exec();
    if (const std::optional<AddedMap>& map = dialog.addedMap()) {
        reloadAddedMaps();
        pages_->showAddedMap(*map);
    }
}

} // namespace tolvane
