#pragma once

#include "mapimport/Progress.h"
#include "mapimport/Shapes.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

namespace tolvane::mapimport {

// Polygons as rings of shared arcs on an integer grid, the TopoJSON way: a border two
// regions share is one arc, so simplifying each arc once can open no gap and make no overlap.
struct Topology {
    // A grid point in the plane: point * scale + translate.
    double scale = 1;
    QPointF translate;
    QRectF bounds; // of every point, in the plane

    std::vector<QPoint> arcPoints; // arc a: [arcStart[a], arcStart[a + 1])
    std::vector<uint32_t> arcStart{0};
    // The same nesting as Shapes, with rings made of arc references: a for arc a walked
    // forwards, ~a for arc a walked backwards.
    std::vector<int32_t> ringArcs; // ring r: [ringStart[r], ringStart[r + 1])
    std::vector<uint32_t> ringStart{0};
    std::vector<uint32_t> polygonStart{0};
    std::vector<uint32_t> featureStart{0};

    size_t arcCount() const { return arcStart.size() - 1; }
    size_t ringCount() const { return ringStart.size() - 1; }
    size_t featureCount() const { return featureStart.size() - 1; }
    QPointF toPlane(QPointF grid) const { return grid * scale + translate; }
    // The ring's points, open (the first point is not repeated at the end).
    void ringPoints(size_t ring, std::vector<QPoint>& out) const;
};

// Quantizes the shapes onto a grid of `quantization` steps across their larger side, then
// cuts rings into arcs at the points where the neighbours of a border change and keeps each
// arc once. Rings that vanish on the grid are left out; a feature may end without polygons.
Topology BuildTopology(const Shapes& plane, int quantization, const Progress& progress);

} // namespace tolvane::mapimport
