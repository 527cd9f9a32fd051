#include "render/MovieShapes.h"

#include "model/UserError.h"

#include <algorithm>
#include <cmath>
#include <future>

namespace tolvane {

MovieTransform TransformOf(const MovieTopology& topology) {
    MovieTransform out;
    if (topology.scaleCount < 2 || topology.translateCount < 2) return out;
    // Items that are no numbers count as no scale and no shift.
    const auto or_ = [](double v, double fallback) { return std::isnan(v) ? fallback : v; };
    out.sx = or_(topology.scale[0], 1);
    out.sy = or_(topology.scale[1], 1);
    out.tx = or_(topology.translate[0], 0);
    out.ty = or_(topology.translate[1], 0);
    out.quantized = std::isfinite(out.sx) && std::isfinite(out.sy) && std::isfinite(out.tx) &&
                    std::isfinite(out.ty);
    return out.quantized ? out : MovieTransform();
}

void DecodeArcs(PointRuns& arcs, const MovieTransform& t) {
    size_t kept = 0;
    for (size_t a = 0; a < arcs.size(); ++a) {
        double x = 0, y = 0;
        const size_t end = arcs.starts[a + 1];
        for (size_t i = arcs.starts[a]; i < end; ++i) {
            const double px = arcs.points[i].x(), py = arcs.points[i].y();
            if (!std::isfinite(px) || !std::isfinite(py)) continue;
            if (t.quantized) {
                x += px;
                y += py;
                arcs.points[kept++] = t.apply(x, y);
            } else {
                arcs.points[kept++] = QPointF(px, py);
            }
        }
        arcs.starts[a + 1] = static_cast<uint32_t>(kept);
    }
    arcs.points.resize(kept);
}

void PointBudget::spend(size_t points) {
    if (points > left_)
        throw UserError(QStringLiteral("its shapes repeat their outlines far more often than "
                                       "a map does"));
    left_ -= points;
}

QString TextOf(std::string_view utf8) {
    if (utf8.empty()) return {};
    const auto n = static_cast<qsizetype>(utf8.size());
    // Names are mostly ASCII: widened straight, as a map has a few hundred thousand.
    if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return c & 0x80; }))
        return QString::fromUtf8(utf8.data(), n);
    QString out(n, Qt::Uninitialized);
    QChar* to = out.data();
    for (qsizetype i = 0; i < n; ++i)
        to[i] = QChar(static_cast<char16_t>(utf8[static_cast<size_t>(i)]));
    return out;
}

namespace {

double TwiceArea(std::span<const QPointF> ring) {
    double area = 0;
    for (size_t i = 0, n = ring.size(); i < n; ++i) {
        const QPointF& a = ring[i];
        const QPointF& b = ring[(i + 1) % n];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area;
}

QRectF BoundsOf(std::span<const QPointF> points) {
    if (points.empty()) return {};
    double x0 = points[0].x(), x1 = x0, y0 = points[0].y(), y1 = y0;
    for (const QPointF& p : points) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// A point inside the shape for its name when the movie gives none: the middle of the
// widest inside span of a horizontal line through the middle of its largest part.
QPointF InteriorPoint(const PointRuns& rings, const MovieShape& shape) {
    std::span<const QPointF> largest;
    double largestArea = -1;
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> ring = rings[shape.firstRing + k];
        const double area = std::fabs(TwiceArea(ring));
        if (area > largestArea) {
            largestArea = area;
            largest = ring;
        }
    }
    if (largest.empty()) return shape.bounds.center();
    const QRectF box = BoundsOf(largest);
    const double y = box.center().y();
    std::vector<double> xs;
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> ring = rings[shape.firstRing + k];
        for (size_t i = 0, n = ring.size(); i < n; ++i) {
            const QPointF& a = ring[i];
            const QPointF& b = ring[(i + 1) % n];
            if ((a.y() <= y) != (b.y() <= y))
                xs.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
        }
    }
    std::sort(xs.begin(), xs.end());
    double best = -1, bestX = box.center().x();
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        if (xs[i + 1] - xs[i] > best) {
            best = xs[i + 1] - xs[i];
            bestX = (xs[i] + xs[i + 1]) / 2;
        }
    }
    return {bestX, y};
}

// Where each ring of each shape goes: measured first, so that the shapes can then be
// filled in on several cores at once, each into its own part of one array.
struct RingPlan {
    std::vector<const MovieTopology::Ring*> rings; // the rings kept, in order
    size_t points = 0;
};

// The points of a ring as its arcs give them, each joining point once.
void FillRing(const MovieTopology& topology, const MovieTopology::Ring& ring, const PointRuns& arcs,
              QPointF* out) {
    bool any = false;
    for (uint32_t k = ring.first; k < ring.first + ring.count; ++k) {
        const int32_t index = topology.arcIndices[k];
        const std::span<const QPointF> arc = arcs[static_cast<size_t>(index < 0 ? ~index : index)];
        if (arc.empty()) continue;
        const size_t skip = any ? 1 : 0;
        out = index < 0 ? std::copy(arc.rbegin() + static_cast<ptrdiff_t>(skip), arc.rend(), out)
                        : std::copy(arc.begin() + static_cast<ptrdiff_t>(skip), arc.end(), out);
        any = true;
    }
}

} // namespace

std::vector<MovieShape> BuildShapes(const MovieTopology& topology, std::span<const uint32_t> list,
                                    const PointRuns& arcs, std::vector<uint8_t>* usedArcs,
                                    PointBudget& budget, PointRuns& rings) {
    std::vector<MovieShape> shapes(list.size());
    RingPlan plan;
    const size_t firstRing = rings.size();
    for (size_t s = 0; s < list.size(); ++s) {
        MovieShape& shape = shapes[s];
        shape.firstRing = static_cast<uint32_t>(firstRing + plan.rings.size());
        topology.forEachRing(topology.geometries[list[s]], [&](const MovieTopology::Ring& ring) {
            size_t points = 0;
            for (uint32_t k = ring.first; k < ring.first + ring.count; ++k) {
                const int32_t index = topology.arcIndices[k];
                const auto arc = static_cast<size_t>(index < 0 ? ~index : index);
                if (arc >= arcs.size()) return;
                if (usedArcs) (*usedArcs)[arc] = 1;
                const size_t size = arcs.starts[arc + 1] - arcs.starts[arc];
                if (size == 0) continue;
                budget.spend(size);
                // Consecutive arcs share their joining point.
                points += points ? size - 1 : size;
            }
            if (points < 3) return;
            plan.rings.push_back(&ring);
            rings.starts.push_back(static_cast<uint32_t>(rings.starts.back() + points));
            plan.points += points;
        });
        shape.ringCount = static_cast<uint32_t>(firstRing + plan.rings.size() - shape.firstRing);
        shape.hasArea = shape.ringCount > 0;
    }
    if (rings.starts.back() != rings.points.size() + plan.points) // counted beyond 32 bits
        throw UserError(QStringLiteral("its shapes hold too many points"));
    rings.points.resize(rings.starts.back());

    const auto fill = [&](size_t from, size_t to) {
        for (size_t s = from; s < to; ++s) {
            MovieShape& shape = shapes[s];
            const MovieTopology::Geometry& g = topology.geometries[list[s]];
            for (uint32_t k = 0; k < shape.ringCount; ++k) {
                const size_t ring = shape.firstRing + k;
                FillRing(topology, *plan.rings[ring - firstRing], arcs,
                         rings.points.data() + rings.starts[ring]);
            }
            if (shape.hasArea) {
                const size_t begin = rings.starts[shape.firstRing];
                const size_t end = rings.starts[shape.firstRing + shape.ringCount];
                shape.bounds =
                    BoundsOf(std::span<const QPointF>(rings.points).subspan(begin, end - begin));
            }
            if (std::isfinite(g.point[0]) && std::isfinite(g.point[1]))
                shape.label = QPointF(g.point[0], g.point[1]);
            else if (shape.hasArea)
                shape.label = InteriorPoint(rings, shape);
            shape.name = TextOf(g.name);
            shape.key = TextOf(g.key);
        }
    };
    // A large map's shapes are shared between two cores by the points they copy (and a
    // few for the names each has).
    constexpr size_t kPerShape = 16;
    const size_t work = plan.points + kPerShape * shapes.size();
    if (work < 200000) {
        fill(0, shapes.size());
        return shapes;
    }
    size_t half = 0;
    for (size_t done = 0; half < shapes.size() && done < work / 2; ++half) {
        const MovieShape& shape = shapes[half];
        done += kPerShape + rings.starts[shape.firstRing + shape.ringCount] -
                rings.starts[shape.firstRing];
    }
    auto first = std::async(std::launch::async, fill, 0, half);
    fill(half, shapes.size());
    first.get();
    return shapes;
}

} // namespace tolvane
