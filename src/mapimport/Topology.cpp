#include "mapimport/Topology.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tolvane::mapimport {

void Topology::ringPoints(size_t ring, std::vector<QPoint>& out) const {
    out.clear();
    for (uint32_t k = ringStart[ring]; k < ringStart[ring + 1]; ++k) {
        const int32_t ref = ringArcs[k];
        const auto arc = static_cast<size_t>(ref < 0 ? ~ref : ref);
        const QPoint* first = arcPoints.data() + arcStart[arc];
        const QPoint* last = arcPoints.data() + arcStart[arc + 1];
        const size_t skip = out.empty() ? 0 : 1; // arcs of a ring share their joining point
        if (ref < 0)
            out.insert(out.end(), std::make_reverse_iterator(last) + static_cast<ptrdiff_t>(skip),
                       std::make_reverse_iterator(first));
        else
            out.insert(out.end(), first + skip, last);
    }
    if (out.size() > 1 && out.front() == out.back()) out.pop_back();
}

namespace {

uint64_t Key(QPoint p) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(p.x())) << 32) |
           static_cast<uint32_t>(p.y());
}

uint64_t Mix(uint64_t x) { // splitmix64's finaliser
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Rings snapped to the grid, without repeated points or rings that lost their area.
GridShapes Quantize(const Shapes& plane, Topology& topo, int quantization) {
    topo.bounds = BoundsOf(plane.points.data(), plane.points.size());
    topo.scale = GridStep(topo.bounds, quantization);
    topo.translate = topo.bounds.topLeft();
    const double x0 = topo.bounds.left(), y0 = topo.bounds.top();

    GridShapes grid;
    grid.points.reserve(plane.points.size());
    for (size_t f = 0; f < plane.featureCount(); ++f) {
        for (uint32_t p = plane.featureStart[f]; p < plane.featureStart[f + 1]; ++p) {
            for (uint32_t r = plane.polygonStart[p]; r < plane.polygonStart[p + 1]; ++r) {
                const size_t first = grid.points.size();
                for (uint32_t i = plane.ringStart[r]; i < plane.ringStart[r + 1]; ++i) {
                    const QPointF& q = plane.points[i];
                    const QPoint g(static_cast<int>(std::lround((q.x() - x0) / topo.scale)),
                                   static_cast<int>(std::lround((q.y() - y0) / topo.scale)));
                    if (grid.points.size() == first || grid.points.back() != g)
                        grid.points.push_back(g);
                }
                while (grid.points.size() > first + 1 && grid.points.back() == grid.points[first])
                    grid.points.pop_back();
                const size_t n = grid.points.size() - first;
                if (n < 3 || TwiceArea(grid.points.data() + first, n) == 0) {
                    if (r == plane.polygonStart[p]) { // the outer ring: no polygon
                        grid.dropOpenPolygon();
                        break;
                    }
                    grid.dropOpenRing();
                    continue;
                }
                grid.endRing();
            }
            if (grid.ringCount() > grid.polygonStart.back()) grid.endPolygon();
        }
        grid.endFeature();
    }
    return grid;
}

// A point is a junction where the borders through it differ: where it has other neighbours
// in one ring than in another. Sorting all occurrences by point groups them together.
std::vector<bool> FindJunctions(const GridShapes& grid) {
    struct Occurrence {
        uint64_t point;
        uint64_t neighbours; // the same for (a, b) and (b, a)
        uint32_t index;
    };
    std::vector<Occurrence> all;
    all.reserve(grid.points.size());
    for (size_t r = 0; r < grid.ringCount(); ++r) {
        const uint32_t first = grid.ringStart[r], n = grid.ringStart[r + 1] - first;
        for (uint32_t i = 0; i < n; ++i) {
            const uint64_t a = Key(grid.points[first + (i + n - 1) % n]);
            const uint64_t b = Key(grid.points[first + (i + 1) % n]);
            all.push_back({Key(grid.points[first + i]), Mix(std::min(a, b) ^ Mix(std::max(a, b))),
                           first + i});
        }
    }
    std::sort(all.begin(), all.end(), [](const Occurrence& l, const Occurrence& r) {
        return l.point != r.point ? l.point < r.point : l.neighbours < r.neighbours;
    });
    std::vector<bool> junction(grid.points.size(), false);
    for (size_t i = 0; i < all.size();) {
        size_t j = i + 1;
        while (j < all.size() && all[j].point == all[i].point)
            ++j;
        if (all[i].neighbours != all[j - 1].neighbours)
            for (size_t k = i; k < j; ++k)
                junction[all[k].index] = true;
        i = j;
    }
    return junction;
}

// Keeps each arc once, whichever way round a ring walks it.
class ArcStore {
public:
    explicit ArcStore(Topology& topo)
        : topo_(topo) {}

    int32_t add(const std::vector<QPoint>& arc) {
        // The canonical direction is the one that reads smaller from its ends inwards.
        size_t i = 0, j = arc.size() - 1;
        while (i < j && arc[i] == arc[j]) {
            ++i;
            --j;
        }
        const bool forward = i >= j || Key(arc[i]) < Key(arc[j]);
        canonical_.assign(arc.begin(), arc.end());
        if (!forward) std::reverse(canonical_.begin(), canonical_.end());
        uint64_t h = canonical_.size();
        for (const QPoint& p : canonical_)
            h = Mix(h ^ Key(p));
        const auto [it, inserted] = first_.try_emplace(h, kNone);
        for (uint32_t a = it->second; a != kNone; a = next_[a]) {
            const auto begin = topo_.arcPoints.begin() + topo_.arcStart[a];
            const auto end = topo_.arcPoints.begin() + topo_.arcStart[a + 1];
            if (std::equal(begin, end, canonical_.begin(), canonical_.end()))
                return forward ? static_cast<int32_t>(a) : ~static_cast<int32_t>(a);
        }
        const auto a = static_cast<uint32_t>(topo_.arcCount());
        topo_.arcPoints.insert(topo_.arcPoints.end(), canonical_.begin(), canonical_.end());
        topo_.arcStart.push_back(static_cast<uint32_t>(topo_.arcPoints.size()));
        next_.push_back(it->second);
        it->second = a;
        return forward ? static_cast<int32_t>(a) : ~static_cast<int32_t>(a);
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    Topology& topo_;
    std::unordered_map<uint64_t, uint32_t> first_; // content hash -> newest arc
    std::vector<uint32_t> next_;                   // arc -> older arc of the same hash
    std::vector<QPoint> canonical_;
};

} // namespace

Topology BuildTopology(const Shapes& plane, int quantization, const Progress& progress) {
    const QString step = QStringLiteral("Finding shared borders");
    Topology topo;
    Report(progress, step, 0, static_cast<int64_t>(plane.ringCount()));
    const GridShapes grid = Quantize(plane, topo, quantization);
    const std::vector<bool> junction = FindJunctions(grid);

    ArcStore store(topo);
    std::vector<QPoint> arc;
    for (size_t r = 0; r < grid.ringCount(); ++r) {
        if (r % 8192 == 0) Report(progress, step, static_cast<int64_t>(r), grid.ringCount());
        const uint32_t base = grid.ringStart[r], n = grid.ringStart[r + 1] - base;
        const QPoint* ring = grid.points.data() + base;
        uint32_t s = 0;
        while (s < n && !junction[base + s])
            ++s;
        if (s == n) {
            // No junction: one closed arc, starting at its smallest point so that the same
            // ring of a neighbour (an enclave and its hole) starts there too.
            const uint32_t m = static_cast<uint32_t>(
                std::min_element(ring, ring + n,
                                 [](QPoint a, QPoint b) { return Key(a) < Key(b); }) -
                ring);
            arc.clear();
            for (uint32_t k = 0; k <= n; ++k)
                arc.push_back(ring[(m + k) % n]);
            topo.ringArcs.push_back(store.add(arc));
        } else {
            arc.assign(1, ring[s]);
            for (uint32_t k = 1; k <= n; ++k) {
                const uint32_t i = (s + k) % n;
                arc.push_back(ring[i]);
                if (junction[base + i]) {
                    topo.ringArcs.push_back(store.add(arc));
                    arc.assign(1, ring[i]);
                }
            }
        }
        topo.ringStart.push_back(static_cast<uint32_t>(topo.ringArcs.size()));
    }
    topo.polygonStart = grid.polygonStart;
    topo.featureStart = grid.featureStart;
    Report(progress, step, grid.ringCount(), grid.ringCount());
    return topo;
}

} // namespace tolvane::mapimport
