#pragma once

#include "render/MapMovie.h"

#include <QRect>
#include <vector>

class QPainter;

namespace tolvane {

// Fills a shape that is large on an image band by band of rows, each band given only the
// part of the outline near it: the same pixels as one fill of the whole outline, for less
// work. Qt's antialiasing rasterizer measures a few hundred pixels of outline at a time and
// walks the whole outline again for each such part, so a detailed country of tens of
// thousands of points costs as many walks as it has parts.
class BandedFill {
public:
    // Whether shapes drawn with `painter` can be filled so: on an image, no clip, a
    // transform of no more than scale and shift.
    static bool Fits(const QPainter& painter);
    // Whether `shape` is worth it, and if so fills it with the painter's brush (odd-even),
    // within the device rows `rows` the painter is clipped to (all when null).
    bool fill(QPainter& painter, const MapMovie& movie, const MovieShape& shape,
              const QRect& rows = QRect());

private:
    std::vector<QPointF> kept_; // a ring's points near the band
};

} // namespace tolvane
