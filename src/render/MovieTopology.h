#pragma once

#include "render/MapMovie.h"

#include <cmath>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// A map movie's TopoJSON as read, before any shape is built: what the movie needs of it and
// nothing else, in flat arrays. Its texts point into the file's bytes (or `escaped`), which
// must outlive it.
struct MovieTopology {
    // A run of arc indices (~i: arc i walked backwards) in `arcIndices`, as a geometry's
    // "arcs" member nests it: depth 1 are a Polygon's rings, depth 2 a MultiPolygon's.
    // A ring with anything but 32-bit integers is not `valid`.
    struct Ring {
        uint32_t first = 0, count = 0;
        uint8_t depth = 0;
        bool valid = true;
    };
    struct Geometry {
        enum class Type : uint8_t { Other, Polygon, MultiPolygon, Collection };
        Type type = Type::Other;
        uint32_t firstRing = 0, endRing = 0;     // its rings, of both depths
        uint32_t firstChild = 0, childCount = 0; // in `children`: a collection's parts
        // Of its "properties": "name", and what its list takes for its key ("key" of a
        // region, "kind" of a context shape, "region" of a city).
        std::string_view name, key;
        // A city's "coordinates" (a MultiPoint's first), a shape's "label".
        double point[2] = {NAN, NAN};
    };

    bool isTopology = false; // an object of "type" "Topology"
    // "transform": how many numbers "scale" and "translate" have, and their first two.
    size_t scaleCount = 0, translateCount = 0;
    double scale[2] = {NAN, NAN}, translate[2] = {NAN, NAN};
    // "tolvane": the movie's own description.
    std::string_view title, attribution, style, kind;
    double viewBox[4] = {NAN, NAN, NAN, NAN};
    PointRuns arcs; // the positions as written
    std::vector<int32_t> arcIndices;
    std::vector<Ring> rings;
    std::vector<Geometry> geometries;
    std::vector<uint32_t> children;
    // "objects": the geometries listed as "regions", "context" and "cities" (a collection's
    // parts, or the one geometry given).
    std::vector<uint32_t> regions, context, cities;
    std::list<std::string> escaped; // texts that had escapes, unescaped
    size_t endOfObjects = 0;        // where the "objects" member's value ends

    // The valid rings of a geometry, as its type reads them, in order.
    template <typename Visit> void forEachRing(const Geometry& g, Visit visit) const {
        if (g.type == Geometry::Type::Collection) {
            for (uint32_t c = 0; c < g.childCount; ++c)
                forEachRing(geometries[children[g.firstChild + c]], visit);
            return;
        }
        const uint8_t depth = g.type == Geometry::Type::Polygon        ? 1
                              : g.type == Geometry::Type::MultiPolygon ? 2
                                                                       : 0;
        if (!depth) return;
        for (uint32_t r = g.firstRing; r < g.endRing; ++r)
            if (rings[r].depth == depth && rings[r].valid) visit(rings[r]);
    }
};

// Reads a movie's text. Throws JsonError where it is no JSON, or its "arcs" are no arcs.
MovieTopology ReadMovieTopology(std::string_view text);

} // namespace tolvane
