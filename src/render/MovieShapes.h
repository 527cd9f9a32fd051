#pragma once

#include "render/MapMovie.h"
#include "render/MovieTopology.h"

#include <span>
#include <string_view>
#include <vector>

namespace tolvane {

// A quantized movie's positions are integer steps of `scale` from `translate`, each arc's
// first one absolute and the others deltas from the one before.
struct MovieTransform {
    double sx = 1, sy = 1, tx = 0, ty = 0;
    bool quantized = false;
    QPointF apply(double x, double y) const { return {x * sx + tx, y * sy + ty}; }
};

MovieTransform TransformOf(const MovieTopology& topology);

// Turns the arcs' positions as written into points of the plane, in place. A damaged
// position (not finite) is left out rather than drawn as a spike.
void DecodeArcs(PointRuns& arcs, const MovieTransform& t);

// Rings name arcs by index, so a few bytes can name a long arc again and again. A map uses
// each arc once or twice (once per side); a movie whose shapes add up to many times its
// arcs is damaged or hostile, and is refused before it fills the memory.
class PointBudget {
public:
    explicit PointBudget(size_t arcPoints)
        : left_(kTimesArcs * arcPoints + kAlways) {}
    void spend(size_t points);

private:
    static constexpr size_t kTimesArcs = 8;
    static constexpr size_t kAlways = 100000;
    size_t left_;
};

// The shapes of the geometries `list` of `topology`, their rings added to `rings` from the
// decoded `arcs`. The arcs they use are marked in
// `usedArcs` when given. A ring naming an arc the file does not have is left out.
std::vector<MovieShape> BuildShapes(const MovieTopology& topology, std::span<const uint32_t> list,
                                    const PointRuns& arcs, std::vector<uint8_t>* usedArcs,
                                    PointBudget& budget, PointRuns& rings);

// A text of the file as a QString.
QString TextOf(std::string_view utf8);

} // namespace tolvane
