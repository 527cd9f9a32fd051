#pragma once

#include "mapimport/Topology.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

namespace tolvane::mapimport {

// What the "tolvane" member of a movie says besides its kind.
struct MovieHeader {
    QString title;
    QString attribution;
    QRectF viewBox;
};

// The movie of a region map: the topology's arcs delta-encoded, one geometry per feature
// (in `order`) with its short name as "key", its name and its label point (in the plane).
// A feature without polygons is written with a null type: it keeps its label.
QByteArray WriteRegionMovie(const Topology& topo, const MovieHeader& header,
                            const std::vector<QString>& names,
                            const std::vector<QString>& shortNames,
                            const std::vector<QPointF>& labels, const std::vector<uint32_t>& order);

// The movie of a city map: quantized points with "name" and "region", in `order`.
QByteArray WriteCityMovie(const std::vector<QPointF>& sites, const MovieHeader& header,
                          const std::vector<QString>& names, const std::vector<QString>& regions,
                          const std::vector<uint32_t>& order);

// The view box of a map: the bounds with 2 % of their larger side around them, never flat.
QRectF ViewBoxAround(const QRectF& bounds);

} // namespace tolvane::mapimport
