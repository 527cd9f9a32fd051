#pragma once

#include "mapimport/Shapes.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace tolvane::mapimport {

// Keeps the file's own planar coordinates (only turned so that y grows downward).
inline const QString kSourceProjection = QStringLiteral("source");

// An equal-area projection that suits the extent: Equal Earth for the whole world, Albers
// (or cylindrical equal-area across the equator) for wide east-west extents, Lambert
// azimuthal equal-area centred on anything else. Without an extent, the file's own plane.
QString ProposeProjection(const std::optional<LonLatBox>& extent);

// Projects points in place from the file's reference system (`crsWkt`, as OgrSource gives
// it) into the chart's plane, y growing downward. `definition` is a PROJ string, "EPSG:n",
// WKT or kSourceProjection. A point that cannot be projected becomes NaN. Throws UserError
// for a definition PROJ does not accept or a file without a reference system.
void ProjectInPlace(std::vector<QPointF>& points, const QByteArray& crsWkt,
                    const QString& definition);

} // namespace tolvane::mapimport
