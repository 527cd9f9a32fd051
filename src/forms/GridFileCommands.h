#pragma once

#include "io/GridImport.h"

#include <QString>

class QWidget;

namespace tolvane {

class Dialogs;
class GridData;

// What differs between the data pages' "Import from file" and "Export to file".
struct GridFileKind {
    GridFileLayout layout;
    bool offersText = false; // the open dialog lists text files beside spreadsheets
    QString filter() const;  // the open dialog's filter
};

// One kind of file per data grid. A page wires its two buttons with them, for example "Bubble":
//   connect(importButton, &QPushButton::clicked, this, [this] {
//       ImportGridFile(dataGrid, main_.dialogs(), state_.grid, kCityGridFile); });
//   connect(exportButton, &QPushButton::clicked, this, [this] {
//       ExportGridFile(dataGrid, main_.dialogs(), state_.grid, kCityGridFile, mapName); });
// "Advance Bubble" passes the grid and file kind of its active sub-page.
inline const GridFileKind kRegionGridFile{{false, QStringLiteral("region")}, true}; // "Map"
inline const GridFileKind kShadeGridFile{{true, QStringLiteral("region")}, false};  // "Advance Map"
inline const GridFileKind kCityGridFile{{true, QStringLiteral("city")}, false};     // "Bubble"
// "Advance Bubble": the "Region" and "  City  " sub-pages.
inline const GridFileKind kRegionCityRegionGridFile{{false, QStringLiteral("region")}, false};
inline const GridFileKind kRegionCityCityGridFile = kCityGridFile;

// "Import from file": asks for a file ("Import Data"), reads it whole (with a progress
// dialog when that takes long), and only then fills the grid. A file that cannot be read
// changes nothing and the message says why; lines or rows that match no grid row are
// listed afterwards. True when the grid changed.
bool ImportGridFile(QWidget* parent, Dialogs& dialogs, GridData& grid, const GridFileKind& kind);

// "Export to file": writes the grid as "<name>.xlsx" into a new temporary folder and opens
// it in the desktop's spreadsheet program, ready to edit and save; when no program can
// open it, asks where to save it instead.
void ExportGridFile(QWidget* parent, Dialogs& dialogs, const GridData& grid,
                    const GridFileKind& kind, const QString& name);

} // namespace tolvane
