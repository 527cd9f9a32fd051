#include "mapimport/Simplify.h"

#include <algorithm>
#include <queue>

namespace tolvane::mapimport {

namespace {

double SquaredDistanceToSegment(QPoint p, QPoint a, QPoint b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double px = p.x() - a.x(), py = p.y() - a.y();
    const double length2 = dx * dx + dy * dy;
    if (length2 > 0) {
        const double t = std::clamp((px * dx + py * dy) / length2, 0.0, 1.0);
        px -= t * dx;
        py -= t * dy;
    }
    return px * px + py * py;
}

using Arcs = std::vector<std::vector<QPoint>>;

// A ring still encloses area when it has three different points and a non-zero area.
bool RingHasArea(const Topology& topo, const Arcs& arcs, size_t ring, std::vector<QPoint>& buf) {
    buf.clear();
    for (uint32_t k = topo.ringStart[ring]; k < topo.ringStart[ring + 1]; ++k) {
        const int32_t ref = topo.ringArcs[k];
        const std::vector<QPoint>& arc = arcs[static_cast<size_t>(ref < 0 ? ~ref : ref)];
        if (ref < 0)
            buf.insert(buf.end(), arc.rbegin(), arc.rend());
        else
            buf.insert(buf.end(), arc.begin(), arc.end());
    }
    buf.erase(std::unique(buf.begin(), buf.end()), buf.end());
    if (buf.size() > 1 && buf.front() == buf.back()) buf.pop_back();
    return buf.size() >= 3 && TwiceArea(buf.data(), buf.size()) != 0;
}

} // namespace

std::vector<QPoint> SimplifyArc(const QPoint* points, size_t n, double tolerance, size_t minInner) {
    if (n <= 2) return {points, points + n};
    struct Span {
        double distance2;
        uint32_t from, to, farthest;
        bool operator<(const Span& o) const { return distance2 < o.distance2; }
    };
    std::priority_queue<Span> spans;
    const auto push = [&](uint32_t from, uint32_t to) {
        if (to <= from + 1) return;
        Span s{-1, from, to, from + 1};
        for (uint32_t i = from + 1; i < to; ++i) {
            const double d = SquaredDistanceToSegment(points[i], points[from], points[to]);
            if (d > s.distance2) {
                s.distance2 = d;
                s.farthest = i;
            }
        }
        spans.push(s);
    };
    std::vector<bool> keep(n, false);
    keep[0] = keep[n - 1] = true;
    push(0, static_cast<uint32_t>(n - 1));
    const double tolerance2 = tolerance * tolerance;
    size_t inner = 0;
    while (!spans.empty()) {
        const Span s = spans.top();
        if (s.distance2 <= tolerance2 && inner >= minInner) break;
        spans.pop();
        keep[s.farthest] = true;
        ++inner;
        push(s.from, s.farthest);
        push(s.farthest, s.to);
    }
    std::vector<QPoint> out;
    out.reserve(inner + 2);
    for (size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(points[i]);
    return out;
}

void SimplifyTopology(Topology& topo, double tolerance, const Progress& progress) {
    const QString step = QStringLiteral("Simplifying borders");
    const size_t arcCount = topo.arcCount();
    const auto original = [&topo](size_t a) { return topo.arcPoints.data() + topo.arcStart[a]; };
    const auto length = [&topo](size_t a) { return topo.arcStart[a + 1] - topo.arcStart[a]; };

    // A closed arc (an island, a lake) needs two inner points to stay a ring at all.
    std::vector<size_t> minInner(arcCount, 0);
    Arcs arcs(arcCount);
    for (size_t a = 0; a < arcCount; ++a) {
        if (a % 16384 == 0) Report(progress, step, static_cast<int64_t>(a), arcCount);
        if (length(a) > 2 && original(a)[0] == original(a)[length(a) - 1]) minInner[a] = 2;
        arcs[a] = SimplifyArc(original(a), length(a), tolerance, minInner[a]);
    }

    // Rings by arc, to check again only the rings an arc change touches.
    std::vector<uint32_t> ringsStart(arcCount + 1, 0), rings(topo.ringArcs.size());
    for (const int32_t ref : topo.ringArcs)
        ++ringsStart[static_cast<size_t>(ref < 0 ? ~ref : ref) + 1];
    for (size_t a = 0; a < arcCount; ++a)
        ringsStart[a + 1] += ringsStart[a];
    {
        std::vector<uint32_t> fill(ringsStart.begin(), ringsStart.end() - 1);
        for (size_t r = 0; r < topo.ringCount(); ++r)
            for (uint32_t k = topo.ringStart[r]; k < topo.ringStart[r + 1]; ++k) {
                const int32_t ref = topo.ringArcs[k];
                rings[fill[static_cast<size_t>(ref < 0 ? ~ref : ref)]++] = static_cast<uint32_t>(r);
            }
    }

    std::vector<QPoint> buf;
    std::vector<uint32_t> bad;
    for (size_t r = 0; r < topo.ringCount(); ++r)
        if (!RingHasArea(topo, arcs, r, buf)) bad.push_back(static_cast<uint32_t>(r));
    constexpr int kRounds = 5;
    for (int round = 0; round <= kRounds && !bad.empty(); ++round) {
        std::vector<uint32_t> redo;
        for (const uint32_t r : bad)
            for (uint32_t k = topo.ringStart[r]; k < topo.ringStart[r + 1]; ++k) {
                const int32_t ref = topo.ringArcs[k];
                redo.push_back(static_cast<uint32_t>(ref < 0 ? ~ref : ref));
            }
        std::sort(redo.begin(), redo.end());
        redo.erase(std::unique(redo.begin(), redo.end()), redo.end());
        std::vector<uint32_t> recheck;
        for (const uint32_t a : redo) {
            minInner[a] = std::max<size_t>(2 * minInner[a], 2);
            // The last round keeps every point: the ring had area before simplifying.
            arcs[a] = round == kRounds
                          ? std::vector<QPoint>(original(a), original(a) + length(a))
                          : SimplifyArc(original(a), length(a), tolerance, minInner[a]);
            recheck.insert(recheck.end(), rings.begin() + ringsStart[a],
                           rings.begin() + ringsStart[a + 1]);
        }
        std::sort(recheck.begin(), recheck.end());
        recheck.erase(std::unique(recheck.begin(), recheck.end()), recheck.end());
        bad.clear();
        for (const uint32_t r : recheck)
            if (!RingHasArea(topo, arcs, r, buf)) bad.push_back(r);
    }

    std::vector<QPoint> points;
    std::vector<uint32_t> starts{0};
    starts.reserve(arcCount + 1);
    for (const std::vector<QPoint>& arc : arcs) {
        points.insert(points.end(), arc.begin(), arc.end());
        starts.push_back(static_cast<uint32_t>(points.size()));
    }
    topo.arcPoints = std::move(points);
    topo.arcStart = std::move(starts);
    Report(progress, step, arcCount, arcCount);
}

} // namespace tolvane::mapimport
