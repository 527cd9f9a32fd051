#pragma once

#include <QPointF>
#include <vector>

namespace tolvane::mapimport {

using Ring = std::vector<QPointF>; // open: the first point is not repeated

// Whether a point lies inside rings filled odd-even (holes stay out).
bool InsideRings(const std::vector<Ring>& rings, QPointF p);

// A point inside a polygon (outer ring and holes) where a name fits best: the pole of
// inaccessibility, found to `precision`. It is inside whenever the polygon has any inside;
// an empty or flat polygon gives the middle of its box.
QPointF LabelPoint(const std::vector<Ring>& polygon, double precision);

} // namespace tolvane::mapimport
