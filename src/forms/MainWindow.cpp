#include "forms/MainWindow.h"

#include "charts/Charts.h"
#include "forms/AboutDialog.h"
#include "forms/AddMapDialog.h"
#include "forms/AddedMapRow.h"
#include "forms/AppInfo.h"
#include "forms/BubbleSizeDialog.h"
#include "forms/ChartPage.h"
#include "forms/CityPage.h"
#include "forms/ColorByDataDialog.h"
#include "forms/ColorTarget.h"
#include "forms/FlagPage.h"
#include "forms/LegendColorDialog.h"
#include "forms/LegendPanel.h"
#include "forms/OptionsForm.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/RegionCityPage.h"
#include "forms/RegionPage.h"
#include "forms/SaveChart.h"
#include "forms/ShadePage.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalBlocker>
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

    pageTabs_ = new QTabWidget(clientArea_);
    pageTabs_->setGeometry(0, 0, kClientWidth, kPageControlHeight);

    // Capture players draw Save Chart's pictures; they are never shown.
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
    for (ChartPlayer* player : {preview_, shadePreview_})
        player->setGeometry(previewArea());

    playerFilter_ = new PlayerMessageFilter(this);
    playerFilter_->guard(preview_);
    playerFilter_->guard(shadePreview_);

    // The dialogs live for the whole run, made in this order after the main window.
    aboutDialog_ = new AboutDialog(dialogs_, this);
    const ColorTargetResolver resolve = [this](int mode) { return colorTarget(mode); };
    colorDialog_ = new ColorByDataDialog(dialogs_, resolve, this);
    sizeDialog_ = new BubbleSizeDialog(dialogs_, resolve, this);
    legendColorDialog_ = new LegendColorDialog(
        dialogs_, [this](int mode) { return legendTarget(mode); }, this);
    shadeColorDialog_ = new ShadeColorDialog(dialogs_, resolve, this);

    regionPage_ = addPage<RegionPage>(QStringLiteral("Map"), QStringLiteral("TabSheet1"));
    shadePage_ = addPage<ShadePage>(QStringLiteral("Advance Map"), QStringLiteral("TabSheet7"));
    cityPage_ = addPage<CityPage>(QStringLiteral("Bubble"), QStringLiteral("TabSheet2"));
    regionCityPage_ =
        addPage<RegionCityPage>(QStringLiteral("Advance Bubble"), QStringLiteral("TabSheet3"));
    flagPage_ = addPage<FlagPage>(QStringLiteral("Flag"), QStringLiteral("TabSheet6"));
    addedMapsError_ = listAddedMaps();

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
    connect(saveOptionsButton_, &QPushButton::clicked, this, &MainWindow::saveOptions);
    connect(openOptionsButton_, &QPushButton::clicked, this, &MainWindow::openOptions);
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::showAbout);
    for (GridDialog* dialog :
         {static_cast<GridDialog*>(colorDialog_), static_cast<GridDialog*>(sizeDialog_),
          static_cast<GridDialog*>(shadeColorDialog_)}) {
        connect(dialog, &GridDialog::targetChanged, this, [this](int mode) {
            for (const auto& page : pages_)
                if (page->colorTarget(mode).grid) page->syncFromState();
        });
    }
    connect(pageTabs_, &QTabWidget::currentChanged, this, &MainWindow::onPageChanged);
    // A click on the preview selects the region's or city's row in the active page's grid.
    for (ChartPlayer* player : {preview_, shadePreview_}) {
        connect(player, &ChartPlayer::entryClicked, this, [this, player](ChartHit hit) {
            const StagedChart& staged = *player->scene().data;
            const auto e = static_cast<size_t>(hit.entry);
            ChartPage& page = *pages_[static_cast<size_t>(activePage_)];
            if (hit.kind == ChartHit::Kind::Region && e < staged.regions.size())
                page.entryClicked(hit.kind, staged.regions[e].name, staged.regions[e].shortName);
            else if (hit.kind == ChartHit::Kind::City && e < staged.cities.size())
                page.entryClicked(hit.kind, staged.cities[e].name, staged.cities[e].region);
        });
    }
}

template <typename Page> Page* MainWindow::addPage(const QString& caption, const QString& tabName) {
    auto* tab = new QWidget;
    tab->setObjectName(tabName);
    {
        // Adding the first tab makes it current: no page switch has happened.
        const QSignalBlocker block(pageTabs_);
        pageTabs_->addTab(tab, caption);
    }
    auto page = std::make_unique<Page>(*this, tab);
    Page* raw = page.get();
    pages_.push_back(std::move(page));
    return raw;
}

MainWindow::~MainWindow() {
    disconnect(pageTabs_, nullptr, this, nullptr); // removing the tabs is no page switch
    shutDown();
    // The views write into the pages' grids until they are gone: widgets first, pages last.
    delete clientArea_;
    clientArea_ = nullptr;
    pages_.clear();
}

QRect MainWindow::previewArea() const {
    return {kPreviewLeft, pageTabs_->height() + 19, kPreviewWidth,
            clientArea_->height() - pageTabs_->height() - 30};
}

void MainWindow::startUp() {
    BusyScope busy(busy_);
    if (!addedMapsError_.isEmpty()) dialogs_.showError(this, addedMapsError_);
    model_.regionCount = 1;
    model_.chartMode = ModeRegion;
    created_ = true;
    restoreLastOptions();
    model_.currentMapName = regionPage_->selectedMap();
    regionPage_->loadSelected();
    playerFilter_->install();
    preview_->loadMovie(0, model_.stagedMoviePath());
    letEventsRun();
    preview_->play();
    letEventsRun();
    preview_->setMenu(false);
    playerFilter_->install();
    placePreview(preview_);
    letEventsRun();
    regionPage_->showLegendBox()->setEnabled(true);
    const QString map = regionPage_->selectedMap();
    if (RegionPage::startupMapHasNames(map) || regionPage_->addedMapRow().offersNames(map))
        regionPage_->showNameBox()->setEnabled(true);
    flagPage_->fillStartCodes();
}

void MainWindow::shutDown() {
    if (destroyed_) return;
    destroyed_ = true;
    // A window that never started has restored nothing: its state is not worth keeping.
    if (created_) runOperation([this] { saveOptionsFile(lastOptionsPath()); });
}

QString MainWindow::lastOptionsPath() const {
    return model_.dataPath(QStringLiteral("LastOption.set"));
}

void MainWindow::restoreLastOptions() {
    const QString path = lastOptionsPath();
    if (!QFileInfo::exists(path)) return; // the first run
    try {
        loadOptionsFile(path);
    } catch (const UserError& e) {
        dialogs_.showError(this, QStringLiteral("%1\n\nThe options of the last run (%2) are "
                                                "restored as far as they could be read.")
                                     .arg(e.message(), QDir::toNativeSeparators(path)));
    }
}

void MainWindow::saveOptionsFile(const QString& path) {
    WriteFileAtomically(path,
                        BuildOptionsFile(CollectOptions(*clientArea_, pageTabs_->currentIndex())));
}

bool MainWindow::loadOptionsFile(const QString& path) {
    const OptionsText text = ParseOptionsFile(ReadWholeFile(path));
    const OptionsApplied applied = ApplyOptions(*clientArea_, text, [this] { letEventsRun(); });
    for (const auto& page : pages_)
        page->syncToState();
    if (!applied.error.isEmpty()) throw UserError(applied.error);
    return applied.activeMapShown;
}

void MainWindow::saveOptions() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    const auto chosen =
        dialogs_.saveFile(this, QStringLiteral("Save Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".set");
    if (!MayReplaceFile(dialogs_, this, path)) return;
    runOperation([&] { saveOptionsFile(path); });
}

void MainWindow::openOptions() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    const auto chosen =
        dialogs_.openFile(this, QStringLiteral("Open Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    bool reload = true;
    const bool read = runOperation([&] {
        if (loadOptionsFile(*chosen)) reload = false;
    });
    // A file of another map reloads the page. So does one that changed the page's map list
    // alone: the grids must never hold one map's rows under another map's name.
    ChartPage& page = *pages_[static_cast<size_t>(activePage_)];
    if ((read && reload) || !page.showsSelection()) showPage(activePage_, true);
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

ChartPage* MainWindow::pageOfMode() const {
    for (const auto& page : pages_)
        if (page->chartMode() == model_.chartMode) return page.get();
    return nullptr;
}

void MainWindow::onPageChanged(int index) {
    showPage(index, false);
}

void MainWindow::showPage(int index, bool reload) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    BusyScope busy(busy_);
    for (const auto& page : pages_)
        page->deactivate();
    activePage_ = index;
    ChartPage& page = *pages_[static_cast<size_t>(index)];
    if (reload)
        page.reload();
    else
        page.activate();
    ChartPlayer* player = page.previewPlayer();
    placePreview(player);
    letEventsRun();
    restartPreview(player);
    letEventsRun();
}

void MainWindow::makeAndPreview() {
    if (ChartPage* page = pageOfMode()) makeAndPreview(*page);
}

void MainWindow::makeAndPreview(ChartPage& page) {
    BusyScope busy(busy_);
    if (!busy.entered() || !page.make()) return;
    letEventsRun();
    restartPreview(page.previewPlayer());
}

void MainWindow::saveChart() {
    if (ChartPage* page = pageOfMode()) saveChart(*page);
}

void MainWindow::saveChart(ChartPage& page) {
    BusyScope busy(busy_);
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
    regionPage_->addedMapRow().list(maps);
    cityPage_->addedMapRow().list(maps);
    return error;
}

void MainWindow::reloadAddedMaps() {
    if (const QString error = listAddedMaps(); !error.isEmpty()) dialogs_.showError(this, error);
}

void MainWindow::addMap() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    AddMapDialog dialog(dialogs_, model_.appFolder, this);
    if (!dialog.chooseFile()) return;
    dialog.exec();
    if (const std::optional<AddedMap>& map = dialog.addedMap()) {
        reloadAddedMaps();
        showAddedMap(*map);
    }
}

void MainWindow::showAddedMap(const AddedMap& map) {
    MapChartPage& page = map.kind == AddedMapKind::City ? static_cast<MapChartPage&>(*cityPage_)
                                                        : static_cast<MapChartPage&>(*regionPage_);
    pageTabs_->setCurrentWidget(page.tab());
    page.chooseMap(map.stem);
}

ColorTarget MainWindow::colorTarget(int mode) {
    for (const auto& page : pages_)
        if (ColorTarget target = page->colorTarget(mode); target.grid) return target;
    return {};
}

LegendState* MainWindow::legendTarget(int mode) {
    for (const auto& page : pages_)
        if (LegendState* legend = page->legendTarget(mode)) return legend;
    return nullptr;
}

} // namespace tolvane
