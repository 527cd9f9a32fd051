#pragma once

#include "mapimport/Progress.h"
#include "mapimport/Shapes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane::mapimport {

enum class GeometryKind { Polygons, Points, Lines, None, Unknown };

struct FieldInfo {
    QString name;
    bool text = true; // false: a number, date or other typed value
};

struct LayerInfo {
    QString name;
    GeometryKind kind = GeometryKind::None; // by the first features when types are mixed
    int64_t featureCount = 0;
    std::vector<FieldInfo> fields;
    std::optional<LonLatBox> extent; // none: the coordinates have no known place on Earth
};

// What a field's values look like, for suggesting the name and short-name fields.
struct FieldSummary {
    QString name;
    bool text = true;
    int64_t filled = 0;   // features with a non-empty value
    int64_t distinct = 0; // different non-empty values
    double meanLength = 0;
    int64_t lettered = 0; // values with a letter (names have letters, many codes do not)
};

// One layer read into plain data: one entry per feature kept, in the source's coordinates.
struct LayerData {
    GeometryKind kind = GeometryKind::Polygons; // Polygons or Points
    std::vector<QString> names;
    std::vector<QString> shortNames; // empty texts when no short-name field was chosen
    Shapes shapes;                   // Polygons
    std::vector<QPointF> sites;      // Points
    QByteArray crsWkt;               // empty: the file does not say
    bool lonLat = false;             // coordinates are longitude and latitude
    QStringList repaired;            // invalid geometries made valid
    QStringList leftOut;             // features without a usable geometry, with the reason
};

struct ReadRequest {
    QString layer;
    QString nameField;
    QString shortField; // may be empty
    // Reading stops with a clear message when the work would need more memory than this.
    size_t memoryBudget = 0;
};

// Bytes the whole conversion needs per vertex read, from reading to writing.
constexpr size_t kBytesPerVertex = 80;

// A GeoJSON, TopoJSON, Shapefile (also zipped) or GeoPackage file opened with GDAL/OGR.
// Every failure throws UserError with a message for the user.
class OgrSource {
public:
    explicit OgrSource(const QString& path);
    ~OgrSource();
    OgrSource(const OgrSource&) = delete;
    OgrSource& operator=(const OgrSource&) = delete;

    const QString& path() const;
    const std::vector<LayerInfo>& layers() const;
    const LayerInfo& layer(const QString& name) const; // throws for an unknown name
    // The source's own name and licence from the file's metadata, when it has them.
    QString metadataSource() const;
    QString metadataLicence() const;

    std::vector<FieldSummary> summarizeFields(const QString& layer, const Progress& progress);
    LayerData read(const ReadRequest& request, const Progress& progress);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace tolvane::mapimport
