#pragma once

#include "mapimport/Progress.h"
#include "mapimport/Topology.h"

#include <QPoint>
#include <vector>

namespace tolvane::mapimport {

// The points of an arc that Douglas-Peucker keeps at `tolerance` (grid units): both ends
// always, and at least `minInner` inner points when the arc has them, taken in the order of
// their distance from the line that leaves them out.
std::vector<QPoint> SimplifyArc(const QPoint* points, size_t n, double tolerance, size_t minInner);

// Simplifies every arc of the topology once. No ring loses its area: a ring that would (a
// small island, two arcs that would fall onto one line) keeps more points of its arcs.
void SimplifyTopology(Topology& topo, double tolerance, const Progress& progress);

} // namespace tolvane::mapimport
