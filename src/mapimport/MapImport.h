#pragma once

#include "charts/AddedMaps.h"
#include "mapimport/OgrSource.h"
#include "mapimport/Progress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tolvane::mapimport {

// What the user chose; whatever is left empty is suggested from the file.
struct ImportChoices {
    QString layer;                     // empty: the first layer with polygons, else points
    QString nameField;                 // empty: suggested
    std::optional<QString> shortField; // none: suggested; empty: no short names
    QString projection;                // empty: proposed from the extent
    QString title;                     // empty: the layer's name
    QString sourceName;                // empty: from the file's metadata, else its name
    QString licence;                   // empty: from the file's metadata
    QString attribution;               // empty: made from the source's name and licence
};

// The choices with every blank filled in: what the conversion will do.
struct ImportPlan {
    QString layer;
    GeometryKind kind = GeometryKind::Polygons;
    int64_t features = 0;
    QString nameField;
    QString shortField;
    QString projection;
    QString title;
    QString attribution;
};

// A map made in memory, with what happened on the way.
struct ConvertedMap {
    AddedMapKind kind = AddedMapKind::Region;
    QByteArray movie; // data/<stem>.map
    QByteArray chart; // data/<stem>.xml
    size_t entries = 0;
    size_t arcPoints = 0;
    QStringList renamed;  // repeated or missing names and short names made unique
    QStringList repaired; // invalid geometries made valid
    QStringList leftOut;  // features that could not be charted, with the reason
    QStringList tooSmall; // regions kept without a shape: smaller than the map can show
};

// The layer taken when none is chosen: the first with polygons, else points.
const LayerInfo& DefaultLayer(const OgrSource& source);

// Fills in the choices, reading the layer's fields when a field is to be suggested. Throws
// UserError for a layer or field the file lacks, or a layer nothing can name.
ImportPlan PlanImport(OgrSource& source, const ImportChoices& choices, const Progress& progress);

// Reads, projects, builds the shared borders, simplifies, places labels and writes both
// files in memory. `memoryBudget` 0 means the memory the machine has free.
ConvertedMap ConvertMap(OgrSource& source, const ImportPlan& plan, size_t memoryBudget,
                        const Progress& progress);

struct AddedResult {
    AddedMap map;
    ImportPlan plan;
    ConvertedMap converted;
};

// The whole of "Add map": converts the file and adds the map to the application folder's
// data/ (see AddMapFiles): on any failure nothing is written.
AddedResult AddMapFromFile(const QString& appFolder, const QString& path,
                           const ImportChoices& choices, const Progress& progress,
                           size_t memoryBudget = 0);

// The memory the machine has free now, in bytes.
size_t FreeMemory();

} // namespace tolvane::mapimport
