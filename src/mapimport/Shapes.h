#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tolvane::mapimport {

// The polygons of many features in flat arrays, which keeps a 200,000-region layer to a few
// allocations. Feature f owns polygons [featureStart[f], featureStart[f + 1]), polygon p
// owns rings [polygonStart[p], polygonStart[p + 1]) (the first is its outer ring, the rest
// holes) and ring r owns points [ringStart[r], ringStart[r + 1]). Rings are stored open:
// the closing point is not repeated.
template <typename Point> struct BasicShapes {
    std::vector<Point> points;
    std::vector<uint32_t> ringStart{0};
    std::vector<uint32_t> polygonStart{0};
    std::vector<uint32_t> featureStart{0};

    size_t featureCount() const { return featureStart.size() - 1; }
    size_t polygonCount() const { return polygonStart.size() - 1; }
    size_t ringCount() const { return ringStart.size() - 1; }

    // Building: points, then endRing(); rings, then endPolygon(); polygons, then endFeature().
    void endRing() { ringStart.push_back(static_cast<uint32_t>(points.size())); }
    void endPolygon() { polygonStart.push_back(static_cast<uint32_t>(ringCount())); }
    void endFeature() { featureStart.push_back(static_cast<uint32_t>(polygonCount())); }
    // Forgets the points and rings added since the last endRing() or endPolygon().
    void dropOpenRing() { points.resize(ringStart.back()); }
    void dropOpenPolygon() {
        ringStart.resize(polygonStart.back() + 1);
        points.resize(ringStart.back());
    }
};

using Shapes = BasicShapes<QPointF>;
using GridShapes = BasicShapes<QPoint>; // quantized

// The box around points; an empty box at (0, 0) for none.
inline QRectF BoundsOf(const QPointF* points, size_t n) {
    if (n == 0) return QRectF(0, 0, 0, 0);
    double x0 = points[0].x(), y0 = points[0].y(), x1 = x0, y1 = y0;
    for (size_t i = 1; i < n; ++i) {
        x0 = std::min(x0, points[i].x());
        y0 = std::min(y0, points[i].y());
        x1 = std::max(x1, points[i].x());
        y1 = std::max(y1, points[i].y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// The step of a grid of `steps` points across the larger side of `bounds` (1 for a point).
inline double GridStep(const QRectF& bounds, int steps) {
    const double side = std::max(bounds.width(), bounds.height());
    return side > 0 ? side / (steps - 1) : 1;
}

// A box in longitude and latitude (degrees); west > east when it crosses the antimeridian.
struct LonLatBox {
    double west = 0, south = 0, east = 0, north = 0;
    double width() const { return east >= west ? east - west : east + 360 - west; }
    double height() const { return north - south; }
};

// Twice the signed area of a ring (positive when counter-clockwise in a y-up plane).
template <typename Point> double TwiceArea(const Point* ring, size_t n) {
    double sum = 0;
    for (size_t i = 0, j = n - 1; i < n; j = i++)
        sum += (static_cast<double>(ring[j].x()) * ring[i].y()) -
               (static_cast<double>(ring[i].x()) * ring[j].y());
    return sum;
}

} // namespace tolvane::mapimport
