#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace tolvane {

// Maps the user made from their own geodata. Each is a movie data/<stem>.map and a chart
// data file data/<stem>.xml like a shipped map, listed in data/addedmaps.xml so the pages
// can offer them after the built-in maps (region maps on "Map", city maps on "Bubble").
enum class AddedMapKind { Region, City };

struct AddedMap {
    QString stem;  // the file name stem under data/
    QString title; // the caption in the map lists
    AddedMapKind kind = AddedMapKind::Region;
    QString source;      // the file (and layer) it was made from
    int64_t entries = 0; // regions or cities; 0 when not known
};

// The added maps in the order they were added. No list yet: none. An entry whose movie or
// chart data file is gone is left out. A damaged list throws UserError.
std::vector<AddedMap> LoadAddedMaps(const QString& appFolder);

// A stem for a new map from its title: a file name no file of data/ uses (nor a file the
// program writes there), "2", "3"... appended as needed.
QString ChooseMapStem(const QString& appFolder, const QString& title);

// Writes data/<stem>.map and data/<stem>.xml and lists the map, all or nothing: on any
// failure (throws UserError) no new file remains and the list is as it was. The stem must
// be one ChooseMapStem gave: no existing map is ever replaced.
void AddMapFiles(const QString& appFolder, const AddedMap& map, const QByteArray& movie,
                 const QByteArray& chart);

// Takes a map off the list and deletes its two files. Only added maps can be removed; a
// shipped map's stem throws UserError and changes nothing.
void RemoveAddedMap(const QString& appFolder, const QString& stem);

} // namespace tolvane
