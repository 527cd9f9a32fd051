#pragma once

#include "charts/AddedMaps.h"

#include <QObject>
#include <vector>

class QComboBox;
class QPushButton;

namespace tolvane {

class MapChartPage;
class MainWindow;

// The maps the user added, after the built-in ones in a page's map list, with "Add map…"
// and "Remove map" beside the list. Built-in maps keep their places, so options files that
// name a list index keep choosing the same map.
class AddedMapRow : public QObject {
    Q_OBJECT
public:
    // `list` holds the page's built-in maps with their stems as item data; a removed map
    // that the page showed gives way to the one at `fallbackIndex`.
    AddedMapRow(MainWindow& main, MapChartPage& page, QComboBox* list, AddedMapKind kind,
                int fallbackIndex);

    QPushButton* addButton() const { return addButton_; }
    QPushButton* removeButton() const { return removeButton_; }

    // Lists the added maps of the page's kind after the built-in ones; the selection stays.
    void list(const std::vector<AddedMap>& maps);
    // The added map a stem names; null for a built-in one.
    const AddedMap* find(const QString& stem) const;
    // Whether names are offered on an added map: on one of few enough regions or cities,
    // where enough of them fit to be worth their drawing time.
    bool offersNames(const QString& stem) const;

    // "Remove map" is only for an added map (the list may change with its signals blocked).
    void updateButtons();

    void addMap();
    void removeChosenMap();

private:
    MainWindow& main_;
    MapChartPage& page_;
    QComboBox* list_;
    AddedMapKind kind_;
    int builtIn_;
    int fallbackIndex_;
    std::vector<AddedMap> maps_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
};

} // namespace tolvane
