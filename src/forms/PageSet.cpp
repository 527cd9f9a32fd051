#include "forms/PageSet.h"

#include "forms/AddedMapRow.h"
#include "forms/FlagPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/OptionControls.h"
#include "forms/RegionCityPage.h"
#include "render/StagedChart.h"
#include "widgets/ChartPlayer.h"

#include <QSignalBlocker>
#include <QTabWidget>

namespace tolvane {

PageSet::PageSet(MainWindow& main, QWidget* parent)
    : main_(main)
    , tabs_(new QTabWidget(parent)) {}

PageSet::~PageSet() = default;

void PageSet::addPages() {
    region_ =
        add<LegendMapPage>(QStringLiteral("Map"), QStringLiteral("TabSheet1"), RegionPageShape());
    shade_ = add<LegendMapPage>(QStringLiteral("Advance Map"), QStringLiteral("TabSheet7"),
                                ShadePageShape());
    city_ = add<LegendMapPage>(QStringLiteral("Bubble"), QStringLiteral("TabSheet2"),
                               CityPageShape(*region_));
    regionCity_ =
        add<RegionCityPage>(QStringLiteral("Advance Bubble"), QStringLiteral("TabSheet3"));
    flag_ = add<FlagPage>(QStringLiteral("Flag"), QStringLiteral("TabSheet6"));
    NameOptionControls(main_);
    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int index) { showPage(index, false); });
}

template <typename Page, typename... Args>
Page* PageSet::add(const QString& caption, const QString& tabName, Args&&... args) {
    auto* tab = new QWidget;
    tab->setObjectName(tabName);
    {
        // Adding the first tab makes it current: no page switch has happened.
        const QSignalBlocker block(tabs_);
        tabs_->addTab(tab, caption);
    }
    auto page = std::make_unique<Page>(main_, tab, std::forward<Args>(args)...);
    Page* raw = page.get();
    pages_.push_back(std::move(page));
    return raw;
}

ChartPage* PageSet::ofMode(int chartMode) const {
    for (const auto& page : pages_)
        if (page->chartMode() == chartMode) return page.get();
    return nullptr;
}

void PageSet::showPage(int index, bool reload) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    MainWindow::Operation busy(main_);
    for (const auto& page : pages_)
        page->deactivate();
    active_ = index;
    ChartPage& page = active();
    if (reload)
        page.reload();
    else
        page.activate();
    ChartPlayer* player = page.previewPlayer();
    main_.placePreview(player);
    main_.letEventsRun();
    main_.restartPreview(player);
    main_.letEventsRun();
}

ColorTarget PageSet::colorTarget(int mode) const {
    for (const auto& page : pages_)
        if (ColorTarget target = page->colorTarget(mode); target.grid) return target;
    return {};
}

LegendState* PageSet::legendTarget(int mode) const {
    for (const auto& page : pages_)
        if (LegendState* legend = page->legendTarget(mode)) return legend;
    return nullptr;
}

void PageSet::showTargetChanged(int mode) {
    for (const auto& page : pages_)
        if (page->colorTarget(mode).grid) page->syncFromState();
}

void PageSet::takeControlsIntoState() {
    for (const auto& page : pages_)
        page->syncToState();
}

void PageSet::showEntry(const ChartPlayer& player, ChartHit hit) {
    const StagedChart& staged = *player.scene().data;
    const auto e = static_cast<size_t>(hit.entry);
    if (hit.kind == ChartHit::Kind::Region && e < staged.regions.size())
        active().entryClicked(hit.kind, staged.regions[e].name, staged.regions[e].shortName);
    else if (hit.kind == ChartHit::Kind::City && e < staged.cities.size())
        active().entryClicked(hit.kind, staged.cities[e].name, staged.cities[e].region);
}

void PageSet::listAddedMaps(const std::vector<AddedMap>& maps) {
    region_->addedMaps()->list(maps);
    city_->addedMaps()->list(maps);
}

void PageSet::showAddedMap(const AddedMap& map) {
    LegendMapPage& page = map.kind == AddedMapKind::City ? *city_ : *region_;
    tabs_->setCurrentWidget(page.tab());
    page.chooseMap(map.stem);
}

} // namespace tolvane
