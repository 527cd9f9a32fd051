#pragma once

#include "mapimport/OgrSource.h"
#include "mapimport/Shapes.h"

#include <QPointF>
#include <ogrsf_frmts.h>
#include <optional>

namespace tolvane::mapimport {

// What GDAL/OGR's geometries are to a map: their kind, where a layer lies on Earth, and
// the polygons and points a chart draws.

GeometryKind KindOf(OGRwkbGeometryType type);
// The longitudes and latitudes a layer covers; none when its coordinates have no known place
// on Earth. Islands either side of 180° give a box that starts after the widest gap.
std::optional<LonLatBox> ExtentOf(OGRLayer& layer);
// A layer of mixed or unknown type is a polygon layer when any feature has area, else a point
// layer when any has points. `limit` features are looked at (0: all); `complete` tells
// whether that was all of them.
GeometryKind ScanKind(OGRLayer& layer, int64_t limit, bool& complete);
// Adds the polygonal parts of a geometry; other parts are not charted. Rings are stored open,
// and rings of fewer than three points left out.
void AddPolygons(const OGRGeometry& geometry, Shapes& out);
// The first point of a point or a collection of them.
std::optional<QPointF> FirstPoint(const OGRGeometry& geometry);

} // namespace tolvane::mapimport
