#include "mapimport/OgrGeometry.h"

namespace tolvane::mapimport {

GeometryKind KindOf(OGRwkbGeometryType type) {
    switch (wkbFlatten(type)) {
    case wkbPolygon:
    case wkbMultiPolygon:
    case wkbCurvePolygon:
    case wkbMultiSurface:
    case wkbTriangle:
    case wkbTIN:
    case wkbPolyhedralSurface:
        return GeometryKind::Polygons;
    case wkbPoint:
    case wkbMultiPoint:
        return GeometryKind::Points;
    case wkbLineString:
    case wkbMultiLineString:
    case wkbCircularString:
    case wkbCompoundCurve:
    case wkbMultiCurve:
        return GeometryKind::Lines;
    case wkbNone:
        return GeometryKind::None;
    default:
        return GeometryKind::Unknown;
    }
}

namespace {

bool LooksLikeLonLat(const OGREnvelope& e) {
    return e.MinX >= -180.5 && e.MaxX <= 360.5 && e.MinY >= -90.5 && e.MaxY <= 90.5;
}

// Drivers hand coordinates in longitude/easting first; the references are built to match.
std::unique_ptr<OGRSpatialReference> GisOrdered(const OGRSpatialReference* from) {
    auto srs = std::make_unique<OGRSpatialReference>();
    if (from)
        *srs = *from;
    else
        srs->SetWellKnownGeogCS("WGS84");
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

// Longitudes of islands either side of 180° span the globe by their minimum and maximum;
// the longitudes the features actually cover, a tenth of a degree at a time, show the gap
// they leave. The box starts after the widest gap.
LonLatBox AcrossWidestGap(OGRLayer& layer, LonLatBox box) {
    constexpr int kBins = 3600;
    std::vector<bool> covered(kBins, false);
    const auto bin = [](double lon) {
        return std::clamp(static_cast<int>(std::floor((lon + 180) * 10)), 0, kBins - 1);
    };
    layer.ResetReading();
    for (auto& feature : layer) {
        const OGRGeometry* g = feature->GetGeometryRef();
        if (!g || g->IsEmpty()) continue;
        OGREnvelope e;
        g->getEnvelope(&e);
        for (int b = bin(e.MinX), end = bin(e.MaxX); b <= end; ++b)
            covered[static_cast<size_t>(b)] = true;
    }
    layer.ResetReading();
    int bestStart = -1, bestLength = 0;
    for (int start = 0; start < kBins; ++start) {
        if (covered[static_cast<size_t>(start)] ||
            !covered[static_cast<size_t>((start + kBins - 1) % kBins)])
            continue; // not the first bin of a gap
        int length = 0;
        while (length < kBins && !covered[static_cast<size_t>((start + length) % kBins)])
            ++length;
        if (length > bestLength) {
            bestStart = start;
            bestLength = length;
        }
    }
    if (bestStart < 0) return box; // covered all round
    const auto lon = [](int b) { return b / 10.0 - 180; };
    box.east = lon(bestStart);
    box.west = lon((bestStart + bestLength) % kBins);
    return box;
}

} // namespace

std::optional<LonLatBox> ExtentOf(OGRLayer& layer) {
    OGREnvelope e;
    if (layer.GetGeomType() == wkbNone || layer.GetExtent(&e, TRUE) != OGRERR_NONE)
        return std::nullopt;
    const OGRSpatialReference* srs = layer.GetSpatialRef();
    LonLatBox box{e.MinX, e.MinY, e.MaxX, e.MaxY};
    if (!srs && !LooksLikeLonLat(e)) return std::nullopt;
    if (srs && !srs->IsGeographic()) {
        const auto from = GisOrdered(srs);
        const auto to = GisOrdered(nullptr);
        std::unique_ptr<OGRCoordinateTransformation> ct(
            OGRCreateCoordinateTransformation(from.get(), to.get()));
        if (!ct || !ct->TransformBounds(e.MinX, e.MinY, e.MaxX, e.MaxY, &box.west, &box.south,
                                        &box.east, &box.north, 21))
            return std::nullopt;
        return box;
    }
    return box.width() > 180 ? AcrossWidestGap(layer, box) : box;
}

GeometryKind ScanKind(OGRLayer& l, int64_t limit, bool& complete) {
    bool points = false, lines = false;
    int64_t seen = 0;
    complete = false;
    l.ResetReading();
    const auto found = [&](GeometryKind k) {
        points |= k == GeometryKind::Points;
        lines |= k == GeometryKind::Lines;
        return k == GeometryKind::Polygons;
    };
    for (auto& feature : l) {
        if (limit && ++seen > limit) break;
        const OGRGeometry* g = feature->GetGeometryRef();
        if (!g) continue;
        if (found(KindOf(g->getGeometryType()))) return GeometryKind::Polygons;
        if (wkbFlatten(g->getGeometryType()) == wkbGeometryCollection)
            for (const OGRGeometry* part : *g->toGeometryCollection())
                if (found(KindOf(part->getGeometryType()))) return GeometryKind::Polygons;
    }
    complete = !limit || seen <= limit;
    return points ? GeometryKind::Points : lines ? GeometryKind::Lines : GeometryKind::None;
}

namespace {

void AddRing(const OGRLinearRing& ring, Shapes& out) {
    const int n = ring.getNumPoints();
    for (int i = 0; i < n; ++i)
        out.points.emplace_back(ring.getX(i), ring.getY(i));
    if (out.points.size() - out.ringStart.back() >= 2 &&
        out.points.back() == out.points[out.ringStart.back()])
        out.points.pop_back(); // stored open
    if (out.points.size() - out.ringStart.back() < 3)
        out.dropOpenRing();
    else
        out.endRing();
}

} // namespace

void AddPolygons(const OGRGeometry& g, Shapes& out) {
    const OGRwkbGeometryType type = wkbFlatten(g.getGeometryType());
    if (type == wkbPolygon || type == wkbTriangle) {
        const OGRPolygon& polygon = *g.toPolygon();
        if (!polygon.getExteriorRing()) return;
        AddRing(*polygon.getExteriorRing(), out);
        if (out.ringCount() == out.polygonStart.back()) return; // outer ring too small
        for (int i = 0; i < polygon.getNumInteriorRings(); ++i)
            AddRing(*polygon.getInteriorRing(i), out);
        out.endPolygon();
    } else if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection) || type == wkbPolyhedralSurface ||
               type == wkbTIN) {
        if (type == wkbPolyhedralSurface || type == wkbTIN) {
            for (const OGRPolygon* p : *g.toPolyhedralSurface())
                AddPolygons(*p, out);
            return;
        }
        for (const OGRGeometry* part : *g.toGeometryCollection())
            AddPolygons(*part, out);
    }
}

std::optional<QPointF> FirstPoint(const OGRGeometry& g) {
    const OGRwkbGeometryType type = wkbFlatten(g.getGeometryType());
    if (type == wkbPoint) {
        const OGRPoint& p = *g.toPoint();
        if (p.IsEmpty()) return std::nullopt;
        return QPointF(p.getX(), p.getY());
    }
    if (OGR_GT_IsSubClassOf(type, wkbGeometryCollection)) {
        for (const OGRGeometry* part : *g.toGeometryCollection())
            if (auto p = FirstPoint(*part)) return p;
    }
    return std::nullopt;
}

} // namespace tolvane::mapimport
