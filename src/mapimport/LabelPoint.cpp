#include "mapimport/LabelPoint.h"

#include "mapimport/Shapes.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <queue>

namespace tolvane::mapimport {

bool InsideRings(const std::vector<Ring>& rings, QPointF p) {
    bool inside = false;
    for (const Ring& ring : rings) {
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const QPointF& a = ring[i];
            const QPointF& b = ring[j];
            if ((a.y() > p.y()) != (b.y() > p.y()) &&
                p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
    }
    return inside;
}

namespace {

double SegmentDistance2(QPointF p, QPointF a, QPointF b) {
    double x = a.x(), y = a.y();
    const double dx = b.x() - x, dy = b.y() - y;
    if (dx != 0 || dy != 0) {
        const double t =
            std::clamp(((p.x() - x) * dx + (p.y() - y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        x += dx * t;
        y += dy * t;
    }
    return (p.x() - x) * (p.x() - x) + (p.y() - y) * (p.y() - y);
}

// Distance to the nearest edge, negative outside.
double SignedDistance(const std::vector<Ring>& rings, QPointF p) {
    double best = INFINITY;
    for (const Ring& ring : rings)
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
            best = std::min(best, SegmentDistance2(p, ring[i], ring[j]));
    return (InsideRings(rings, p) ? 1 : -1) * std::sqrt(best);
}

QRectF BoxOf(const std::vector<Ring>& rings) {
    std::optional<QRectF> box;
    for (const Ring& ring : rings)
        if (!ring.empty()) {
            const QRectF b = BoundsOf(ring.data(), ring.size());
            box = box ? QRectF(
                            QPointF(std::min(box->left(), b.left()), std::min(box->top(), b.top())),
                            QPointF(std::max(box->right(), b.right()),
                                    std::max(box->bottom(), b.bottom())))
                      : b;
        }
    return box.value_or(QRectF());
}

// The middle of the widest inside stretch of a few horizontal lines, middle line first.
std::optional<QPointF> ScanlinePoint(const std::vector<Ring>& rings, const QRectF& box) {
    constexpr int kLines = 17;
    for (int k = 0; k < kLines; ++k) {
        const int step = (k + 1) / 2 * (k % 2 ? 1 : -1);
        const double y = box.center().y() + box.height() * step / (kLines + 1);
        std::vector<double> xs;
        for (const Ring& ring : rings)
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const QPointF& a = ring[i];
                const QPointF& b = ring[j];
                if ((a.y() > y) != (b.y() > y))
                    xs.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
        std::sort(xs.begin(), xs.end());
        double width = 0, x = 0;
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            if (xs[i + 1] - xs[i] > width) {
                width = xs[i + 1] - xs[i];
                x = (xs[i] + xs[i + 1]) / 2;
            }
        if (width > 0 && InsideRings(rings, {x, y})) return QPointF(x, y);
    }
    return std::nullopt;
}

struct Cell {
    QPointF c;
    double half, distance, potential;
    Cell(QPointF centre, double h, const std::vector<Ring>& rings)
        : c(centre)
        , half(h)
        , distance(SignedDistance(rings, centre))
        , potential(distance + h * std::numbers::sqrt2) {}
    bool operator<(const Cell& o) const { return potential < o.potential; }
};

} // namespace

QPointF LabelPoint(const std::vector<Ring>& polygon, double precision) {
    const QRectF box = BoxOf(polygon);
    const double w = box.width(), h = box.height();
    // Long slivers would need a great many first cells; a coarser start still converges.
    const double size = std::max(std::min(w, h), std::max(w, h) / 64);
    if (!(size > 0)) return box.center();
    std::priority_queue<Cell> cells;
    for (double x = box.left(); x < box.right(); x += size)
        for (double y = box.top(); y < box.bottom(); y += size)
            cells.emplace(QPointF(x + size / 2, y + size / 2), size / 2, polygon);
    Cell best(box.center(), 0, polygon);
    constexpr int kMaxCells = 4096; // bounds the work on a huge ring; the result stays inside
    for (int probed = 0; !cells.empty() && probed < kMaxCells; ++probed) {
        const Cell cell = cells.top();
        cells.pop();
        if (cell.distance > best.distance) best = cell;
        if (cell.potential - best.distance <= precision) break; // no cell can do better
        const double q = cell.half / 2;
        for (const QPointF d : {QPointF(-q, -q), QPointF(q, -q), QPointF(-q, q), QPointF(q, q)})
            cells.emplace(cell.c + d, q, polygon);
    }
    if (best.distance > 0) return best.c;
    return ScanlinePoint(polygon, box).value_or(box.center());
}

} // namespace tolvane::mapimport
