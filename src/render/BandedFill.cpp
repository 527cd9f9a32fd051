#include "render/BandedFill.h"

#include "render/ThickLines.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

// Rows a band has, and the points a shape needs before it is drawn in bands.
constexpr int kBandRows = 48;
constexpr uint32_t kManyPoints = 2000;

} // namespace

bool BandedFill::Fits(const QPainter& painter) {
    QTransform toImage;
    return DirectTarget(painter, &toImage, QTransform::TxScale) && !painter.hasClipping() &&
           painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

bool BandedFill::fill(QPainter& painter, const MapMovie& movie, const MovieShape& shape,
                      const QRect& rows) {
    const uint32_t points =
        movie.rings.starts[shape.firstRing + shape.ringCount] - movie.rings.starts[shape.firstRing];
    if (points < kManyPoints) return false;
    const QTransform transform = painter.transform();
    const QTransform toDevice = painter.deviceTransform();
    const QRect device(QPoint(0, 0), QSize(painter.device()->width(), painter.device()->height()));
    const QRect box = toDevice.mapRect(shape.bounds)
                          .toAlignedRect()
                          .intersected(rows.isNull() ? device : rows.intersected(device));
    if (box.height() < 2 * kBandRows) return false;

    const double sy = toDevice.m22(), dy = toDevice.dy();
    for (int top = box.top(); top <= box.bottom(); top += kBandRows) {
        const QRect band(device.left(), top, device.width(),
                         std::min(kBandRows, box.bottom() + 1 - top));
        // An edge matters to the band's rows when its rows reach them; a run of edges that
        // all lie above it (or below) is one edge from its first point to its last, as that
        // adds to no row of the band either. A margin keeps rounding out of it.
        const double from = (band.top() - 2 - dy) / sy, to = (band.bottom() + 3 - dy) / sy;
        const double low = std::min(from, to), high = std::max(from, to);
        const auto side = [&](const QPointF& p) { return p.y() < low ? -1 : p.y() > high ? 1 : 0; };
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        int rings = 0;
        for (uint32_t k = 0; k < shape.ringCount; ++k) {
            const std::span<const QPointF> ring = movie.ring(shape, k);
            const size_t n = ring.size();
            kept_.clear();
            for (size_t i = 0; i < n; ++i) {
                const int here = side(ring[i]);
                // Kept unless both its edges lie beyond the band on its own side.
                if (here == 0 || side(ring[(i + n - 1) % n]) != here ||
                    side(ring[(i + 1) % n]) != here)
                    kept_.push_back(ring[i]);
            }
            if (kept_.empty()) continue;
            path.moveTo(kept_[0]);
            for (size_t i = 1; i < kept_.size(); ++i)
                path.lineTo(kept_[i]);
            path.closeSubpath();
            ++rings;
        }
        if (!rings) continue;
        painter.setTransform(QTransform());
        painter.setClipRect(band);
        painter.setTransform(transform);
        painter.drawPath(path);
    }
    if (rows.isNull()) {
        painter.setClipping(false);
    } else {
        painter.setTransform(QTransform());
        painter.setClipRect(rows);
        painter.setTransform(transform);
    }
    return true;
}

} // namespace tolvane
