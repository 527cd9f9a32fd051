#include "forms/AddedMapRow.h"

#include "forms/ChartPage.h"
#include "forms/MainWindow.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace tolvane {

namespace {

// Up to this many regions or cities a fair share of the names fits on a picture.
constexpr int64_t kNamedUpTo = 5000;

} // namespace

AddedMapRow::AddedMapRow(MainWindow& main, MapChartPage& page, QComboBox* list, AddedMapKind kind,
                         int fallbackIndex)
    : QObject(list)
    , main_(main)
    , page_(page)
    , list_(list)
    , kind_(kind)
    , builtIn_(list->count())
    , fallbackIndex_(fallbackIndex)
    , addButton_(new QPushButton(QStringLiteral("Add map…"), list->parentWidget()))
    , removeButton_(new QPushButton(QStringLiteral("Remove map"), list->parentWidget())) {
    addButton_->setObjectName(QStringLiteral("cmdAddMap"));
    removeButton_->setObjectName(QStringLiteral("cmdRemoveMap"));
    addButton_->setToolTip(QStringLiteral("Make a map of your own from a GeoJSON, TopoJSON, "
                                          "Shapefile or GeoPackage file"));
    removeButton_->setToolTip(QStringLiteral("Remove the chosen map, one you added"));
    connect(addButton_, &QPushButton::clicked, this, &AddedMapRow::addMap);
    connect(removeButton_, &QPushButton::clicked, this, &AddedMapRow::removeChosenMap);
    connect(list_, &QComboBox::currentIndexChanged, this, &AddedMapRow::updateButtons);
    updateButtons();
}

void AddedMapRow::list(const std::vector<AddedMap>& maps) {
    const QString current = list_->currentData().toString();
    {
        const QSignalBlocker block(list_);
        while (list_->count() > builtIn_)
            list_->removeItem(list_->count() - 1);
        maps_.clear();
        for (const AddedMap& map : maps) {
            if (map.kind != kind_) continue;
            maps_.push_back(map);
            // A title the list shows already goes by its file name, which is unique.
            list_->addItem(list_->findText(map.title) < 0 ? map.title : map.stem, map.stem);
        }
        if (const int at = list_->findData(current); at >= 0) list_->setCurrentIndex(at);
    }
    updateButtons();
}

const AddedMap* AddedMapRow::find(const QString& stem) const {
    const auto it =
        std::find_if(maps_.begin(), maps_.end(), [&](const AddedMap& m) { return m.stem == stem; });
    return it == maps_.end() ? nullptr : &*it;
}

bool AddedMapRow::offersNames(const QString& stem) const {
    const AddedMap* map = find(stem);
    return map && map->entries <= kNamedUpTo; // 0: not known, names are placed where they fit
}

void AddedMapRow::updateButtons() {
    removeButton_->setEnabled(find(list_->currentData().toString()) != nullptr);
}

void AddedMapRow::addMap() {
    main_.addMap();
}

void AddedMapRow::removeChosenMap() {
    const AddedMap* chosen = find(list_->currentData().toString());
    if (!chosen) return;
    const AddedMap map = *chosen;
    if (!main_.dialogs().askOkCancel(
            list_, QStringLiteral("Remove map"),
            QStringLiteral("Remove the map “%1” that you added? Its map and chart data files "
                           "(%2.map and %2.xml) are deleted, with the values made into it.")
                .arg(map.title, map.stem)))
        return;
    main_.runOperation([&] { RemoveAddedMap(main_.model().appFolder, map.stem); });
    main_.reloadAddedMaps();
    if (find(map.stem)) return; // still listed: the removal failed and was reported
    // The grids held the removed map: a built-in map takes its place, with nothing to ask.
    if (page_.shownMap() == map.stem) page_.forgetShownMap();
    if (page_.selectedMap() != page_.shownMap() || page_.shownMap().isEmpty()) {
        list_->setCurrentIndex(fallbackIndex_);
        page_.mapChange();
    }
}

} // namespace tolvane
