#include "forms/TFrmMain.h"

#include "charts/Charts.h"
#include "forms/AddMapDialog.h"
#include "forms/AddedMapRow.h"
#include "forms/AppInfo.h"
#include "forms/ChartPage.h"
#include "forms/CityPage.h"
#include "forms/ColorTarget.h"
#include "forms/FlagPage.h"
#include "forms/LegendPanel.h"
#include "forms/OptionsForm.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/RegionCityPage.h"
#include "forms/RegionPage.h"
#include "forms/SaveChart.h"
#include "forms/ShadePage.h"
#include "forms/TfrmAbout.h"
#include "forms/TfrmColor.h"
#include "forms/TfrmLegendColor.h"
#include "forms/TfrmSize.h"
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

TFrmMain::TFrmMain(const QString& appFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
    , dialogs_(dialogs) {
    model_.appFolder = appFolder;
    // The user switches between maps and pages: the last few charts read stay decoded.
    KeepChartFilesDecoded(3);
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
    const ColorTargetResolver resolve = [this](int mode) { return colorTarget(mode); };
    frmColor_ = new TfrmColor(dialogs_, resolve, this);
    frmSize_ = new TfrmSize(dialogs_, resolve, this);
    frmLegendColor_ = new TfrmLegendColor(
        dialogs_, [this](int mode) { return legendTarget(mode); }, this);
    frmColor2_ = new TfrmColor2(dialogs_, resolve, this);

    regionPage_ = addPage<RegionPage>(QStringLiteral("Map"), QStringLiteral("TabSheet1"));
    shadePage_ = addPage<ShadePage>(QStringLiteral("Advance Map"), QStringLiteral("TabSheet7"));
    cityPage_ = addPage<CityPage>(QStringLiteral("Bubble"), QStringLiteral("TabSheet2"));
    regionCityPage_ =
        addPage<RegionCityPage>(QStringLiteral("Advance Bubble"), QStringLiteral("TabSheet3"));
    flagPage_ = addPage<FlagPage>(QStringLiteral("Flag"), QStringLiteral("TabSheet6"));
    addedMapsError_ = listAddedMaps();

    cmdMake_ = new QPushButton(QStringLiteral("Make && Preview"), pnForm_);
    cmdSavePicture_ = new QPushButton(QStringLiteral("Save Chart"), pnForm_);
    cmdSaveOption_ = new QPushButton(QStringLiteral("Save Options"), pnForm_);
    cmdSaveOption_->setObjectName(QStringLiteral("cmdSaveOption"));
    cmdOpenOption_ = new QPushButton(QStringLiteral("Open Options"), pnForm_);
    cmdOpenOption_->setObjectName(QStringLiteral("cmdOpenOption"));
    cmdHelp_ = new QPushButton(QStringLiteral("Help"), pnForm_);
    cmdAbout_ = new QPushButton(QStringLiteral("About"), pnForm_);
    const int buttonsLeft = kPreviewLeft + kPreviewWidth + 20;
    const int buttonsWidth = kClientWidth - buttonsLeft - 16;
    int top = kPageControlHeight + 19;
    for (QPushButton* button : {cmdMake_, cmdSavePicture_, cmdSaveOption_, cmdOpenOption_}) {
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
    connect(cmdSaveOption_, &QPushButton::clicked, this, &TFrmMain::cmdSaveOptionClick);
    connect(cmdOpenOption_, &QPushButton::clicked, this, &TFrmMain::cmdOpenOptionClick);
    connect(cmdHelp_, &QPushButton::clicked, this, &TFrmMain::cmdHelpClick);
    connect(cmdAbout_, &QPushButton::clicked, this, &TFrmMain::cmdAboutClick);
    for (GridDialog* dialog :
         {static_cast<GridDialog*>(frmColor_), static_cast<GridDialog*>(frmSize_),
          static_cast<GridDialog*>(frmColor2_)}) {
        connect(dialog, &GridDialog::targetChanged, this, [this](int mode) {
            for (const auto& page : pages_)
                if (page->colorTarget(mode).grid) page->syncFromState();
        });
    }
    connect(pgControl_, &QTabWidget::currentChanged, this, &TFrmMain::pgControlChange);
    // A click on the preview selects the region's or city's row in the active page's grid.
    for (ChartPlayer* player : {Flash1, ShadeFlash1}) {
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

template <typename Page> Page* TFrmMain::addPage(const QString& caption, const QString& tabName) {
    auto* tab = new QWidget;
    tab->setObjectName(tabName);
    {
        // Adding the first tab makes it current: no page switch has happened.
        const QSignalBlocker block(pgControl_);
        pgControl_->addTab(tab, caption);
    }
    auto page = std::make_unique<Page>(*this, tab);
    Page* raw = page.get();
    pages_.push_back(std::move(page));
    return raw;
}

TFrmMain::~TFrmMain() {
    disconnect(pgControl_, nullptr, this, nullptr); // removing the tabs is no page switch
    FormDestroy();
    // The views write into the pages' grids until they are gone: widgets first, pages last.
    delete pnForm_;
    pnForm_ = nullptr;
    pages_.clear();
}

QRect TFrmMain::previewArea() const {
    return {kPreviewLeft, pgControl_->height() + 19, kPreviewWidth,
            pnForm_->height() - pgControl_->height() - 30};
}

void TFrmMain::FormCreate() {
    BusyScope busy(busy_);
    if (!addedMapsError_.isEmpty()) dialogs_.showError(this, addedMapsError_);
    model_.regionCount = 1;
    model_.chartMode = ModeRegion;
    created_ = true;
    restoreLastOptions();
    model_.currentMapName = regionPage_->selectedMap();
    regionPage_->loadSelected();
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
    const QString map = regionPage_->selectedMap();
    if (RegionPage::startupMapHasNames(map) || regionPage_->addedMapRow().offersNames(map))
        regionPage_->chkPShowName()->setEnabled(true);
    flagPage_->fillStartCodes();
}

void TFrmMain::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    // A window that never started has restored nothing: its state is not worth keeping.
    if (created_) runOperation([this] { SaveOptionsFile(lastOptionsPath()); });
}

QString TFrmMain::lastOptionsPath() const {
    return model_.dataPath(QStringLiteral("LastOption.set"));
}

void TFrmMain::restoreLastOptions() {
    const QString path = lastOptionsPath();
    if (!QFileInfo::exists(path)) return; // the first run
    try {
        LoadOptionsFile(path);
    } catch (const UserError& e) {
        dialogs_.showError(this, QStringLiteral("%1\n\nThe options of the last run (%2) are "
                                                "restored as far as they could be read.")
                                     .arg(e.message(), QDir::toNativeSeparators(path)));
    }
}

void TFrmMain::SaveOptionsFile(const QString& path) {
    WriteFileAtomically(path,
                        BuildOptionsFile(CollectOptions(*pnForm_, pgControl_->currentIndex())));
}

bool TFrmMain::LoadOptionsFile(const QString& path) {
    const OptionsText text = ParseOptionsFile(ReadWholeFile(path));
    const OptionsApplied applied = ApplyOptions(*pnForm_, text, [this] { letEventsRun(); });
    for (const auto& page : pages_)
        page->syncToState();
    if (!applied.error.isEmpty()) throw UserError(applied.error);
    return applied.activeMapShown;
}

void TFrmMain::cmdSaveOptionClick() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    const auto chosen =
        dialogs_.saveFile(this, QStringLiteral("Save Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".set");
    if (!MayReplaceFile(dialogs_, this, path)) return;
    runOperation([&] { SaveOptionsFile(path); });
}

void TFrmMain::cmdOpenOptionClick() {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    const auto chosen =
        dialogs_.openFile(this, QStringLiteral("Open Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    bool reload = true;
    const bool read = runOperation([&] {
        if (LoadOptionsFile(*chosen)) reload = false;
    });
    // A file of another map reloads the page. So does one that changed the page's map list
    // alone: the grids must never hold one map's rows under another map's name.
    ChartPage& page = *pages_[static_cast<size_t>(activePage_)];
    if ((read && reload) || !page.showsSelection()) showPage(activePage_, true);
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

ChartPage* TFrmMain::pageOfMode() const {
    for (const auto& page : pages_)
        if (page->chartMode() == model_.chartMode) return page.get();
    return nullptr;
}

void TFrmMain::pgControlChange(int index) {
    showPage(index, false);
}

void TFrmMain::showPage(int index, bool reload) {
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
    RestartPreview(player);
    letEventsRun();
}

void TFrmMain::MakeAndPreview() {
    if (ChartPage* page = pageOfMode()) MakeAndPreview(*page);
}

void TFrmMain::MakeAndPreview(ChartPage& page) {
    BusyScope busy(busy_);
    if (!busy.entered() || !page.make()) return;
    letEventsRun();
    RestartPreview(page.previewPlayer());
}

void TFrmMain::cmdSavePictureClick() {
    if (ChartPage* page = pageOfMode()) SaveChart(*page);
}

void TFrmMain::SaveChart(ChartPage& page) {
    BusyScope busy(busy_);
    if (!busy.entered()) return;
    SaveChartPicture(this, dialogs_, page.capturePlayer(), page.chartSize(),
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

QString TFrmMain::listAddedMaps() {
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

void TFrmMain::reloadAddedMaps() {
    if (const QString error = listAddedMaps(); !error.isEmpty()) dialogs_.showError(this, error);
}

void TFrmMain::cmdAddMapClick() {
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

void TFrmMain::showAddedMap(const AddedMap& map) {
    MapChartPage& page = map.kind == AddedMapKind::City ? static_cast<MapChartPage&>(*cityPage_)
                                                        : static_cast<MapChartPage&>(*regionPage_);
    pgControl_->setCurrentWidget(page.tab());
    page.chooseMap(map.stem);
}

ColorTarget TFrmMain::colorTarget(int mode) {
    for (const auto& page : pages_)
        if (ColorTarget target = page->colorTarget(mode); target.grid) return target;
    return {};
}

LegendState* TFrmMain::legendTarget(int mode) {
    for (const auto& page : pages_)
        if (LegendState* legend = page->legendTarget(mode)) return legend;
    return nullptr;
}

} // namespace tolvane
