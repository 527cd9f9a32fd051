// The converter's steps over plain data: shared borders that simplify without gaps, rings
// that keep their area, labels inside awkward shapes, projections and field suggestions
// chosen from the data, names made unique.
#include "mapimport/FieldSuggest.h"
#include "mapimport/LabelPoint.h"
#include "mapimport/Projection.h"
#include "mapimport/Simplify.h"
#include "mapimport/TextDecode.h"
#include "mapimport/Topology.h"
#include "mapimport/UniqueNames.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tolvane::mapimport;

namespace {

void AddRegion(Shapes& shapes, const std::vector<QPointF>& ring) {
    shapes.points.insert(shapes.points.end(), ring.begin(), ring.end());
    shapes.endRing();
    shapes.endPolygon();
    shapes.endFeature();
}

double RingArea(const Topology& topo, size_t ring) {
    std::vector<QPoint> points;
    topo.ringPoints(ring, points);
    return std::abs(TwiceArea(points.data(), points.size())) / 2;
}

} // namespace

TEST(MapGeometry, SharedWigglyBorderSimplifiesWithoutGapOrOverlap) {
    // Two regions of a 1000 x 1000 square split by a wiggly line, and a tiny island.
    std::vector<QPointF> border;
    for (int i = 0; i <= 200; ++i)
        border.emplace_back(500 + 30 * std::sin(i / 5.0), 5.0 * i);
    std::vector<QPointF> left{{0, 1000}, {0, 0}}, right{{1000, 0}, {1000, 1000}};
    left.insert(left.end(), border.begin(), border.end());
    right.insert(right.end(), border.rbegin(), border.rend());
    Shapes shapes;
    AddRegion(shapes, left);
    AddRegion(shapes, right);
    AddRegion(shapes, {{1100, 0}, {1101, 0}, {1101.5, 0.5}, {1101, 1}, {1100, 1}});

    Topology topo = BuildTopology(shapes, 100000, {});
    ASSERT_EQ(topo.ringCount(), 3u);
    const double whole = RingArea(topo, 0) + RingArea(topo, 1);
    SimplifyTopology(topo, 5000, {}); // 55 units: coarser than the wiggle
    EXPECT_LT(topo.arcPoints.size(), 30u);
    // Both sides walk the one simplified border: together they still fill the square.
    EXPECT_DOUBLE_EQ(RingArea(topo, 0) + RingArea(topo, 1), whole);
    EXPECT_GT(RingArea(topo, 2), 0) << "the island vanished";
}

TEST(MapGeometry, SimplifyingAnArcKeepsItsEndsAndTheFarthestPoints) {
    const std::vector<QPoint> arc{{0, 0}, {10, 16}, {20, 30}, {30, 14}, {40, 0}};
    EXPECT_EQ(SimplifyArc(arc.data(), arc.size(), 5, 0),
              (std::vector<QPoint>{{0, 0}, {20, 30}, {40, 0}}));
    EXPECT_EQ(SimplifyArc(arc.data(), arc.size(), 100, 0), (std::vector<QPoint>{{0, 0}, {40, 0}}));
    EXPECT_EQ(SimplifyArc(arc.data(), arc.size(), 100, 1),
              (std::vector<QPoint>{{0, 0}, {20, 30}, {40, 0}}));
}

TEST(MapGeometry, LabelsLandInsideAwkwardShapes) {
    // A U whose middle (and centroid) is outside, and a frame whose middle is a hole.
    const std::vector<Ring> u{
        {{0, 0}, {100, 0}, {100, 100}, {80, 100}, {80, 20}, {20, 20}, {20, 100}, {0, 100}}};
    const QPointF inU = LabelPoint(u, 0.5);
    EXPECT_TRUE(InsideRings(u, inU));
    const std::vector<Ring> frame{{{0, 0}, {100, 0}, {100, 100}, {0, 100}},
                                  {{10, 10}, {10, 90}, {90, 90}, {90, 10}}};
    const QPointF inFrame = LabelPoint(frame, 0.5);
    EXPECT_TRUE(InsideRings(frame, inFrame));
    EXPECT_FALSE(QRectF(10, 10, 80, 80).contains(inFrame));
    // A sliver a thousand times longer than wide.
    const std::vector<Ring> sliver{{{0, 0}, {1000, 0}, {1000, 1}, {0, 1}}};
    EXPECT_TRUE(InsideRings(sliver, LabelPoint(sliver, 0.1)));
}

TEST(MapGeometry, ProjectionFollowsTheExtent) {
    EXPECT_EQ(ProposeProjection(std::nullopt), kSourceProjection);
    EXPECT_TRUE(ProposeProjection(LonLatBox{-180, -85, 180, 85}).startsWith("+proj=eqearth"));
    // Contiguous US: wide, north of the equator.
    EXPECT_TRUE(ProposeProjection(LonLatBox{-125, 24, -66, 50})
                    .startsWith("+proj=aea +lat_0=37 +lon_0=-95.5 +lat_1=28.3333 +lat_2=45.6667"));
    // Indonesia: wide, across the equator.
    EXPECT_TRUE(ProposeProjection(LonLatBox{95, -11, 141, 6}).startsWith("+proj=cea +lon_0=118"));
    EXPECT_TRUE(ProposeProjection(LonLatBox{5.9, 47.3, 15, 55})
                    .startsWith("+proj=laea +lat_0=51.15 +lon_0=10.45"));
    // Fiji crosses the antimeridian: the centre is near 180°, not near 0°.
    EXPECT_TRUE(ProposeProjection(LonLatBox{176, -21, -178, -12})
                    .startsWith("+proj=laea +lat_0=-16.5 +lon_0=179"));

    std::vector<QPointF> points{{10, 52}, {200, 95}};
    ProjectInPlace(points, "EPSG:4326", "+proj=laea +lat_0=52 +lon_0=10 +datum=WGS84");
    EXPECT_NEAR(points[0].x(), 0, 1e-6);
    EXPECT_NEAR(points[0].y(), 0, 1e-6);
    EXPECT_TRUE(std::isnan(points[1].x())) << "a latitude of 95° cannot be projected";
    EXPECT_THROW(ProjectInPlace(points, "EPSG:4326", "+proj=nonsense"), tolvane::UserError);
}

TEST(MapGeometry, FieldsAreSuggestedFromTheirValues) {
    // {name, text, filled, distinct, mean length, with letters}
    const std::vector<FieldSummary> fields{
        {"OBJECTID", false, 100, 100, 2.9, 0}, {"GEN", true, 100, 98, 11, 100},
        {"AGS", true, 100, 100, 5, 0},         {"BEZ", true, 100, 3, 9, 100},
        {"NAME_LONG", true, 40, 40, 30, 40},
    };
    FieldSuggestion s = SuggestFields(fields, 100, GeometryKind::Polygons);
    EXPECT_EQ(s.nameField, "GEN"); // filled and nearly unique; NAME_LONG is mostly empty
    EXPECT_EQ(s.shortField, "AGS");
    const std::vector<FieldSummary> towns{{"name", true, 50, 49, 8, 50},
                                          {"state", true, 50, 12, 7, 50},
                                          {"code", true, 50, 50, 3, 50}};
    s = SuggestFields(towns, 50, GeometryKind::Points);
    EXPECT_EQ(s.nameField, "name");
    EXPECT_EQ(s.shortField, "state");
    EXPECT_TRUE(
        SuggestFields({{"x", true, 0, 0, 0, 0}}, 10, GeometryKind::Polygons).nameField.isEmpty());
}

TEST(MapGeometry, NamesAndShortNamesBecomeUniqueAndUsable) {
    std::vector<QString> names{"Nill", "A\tB", "", "A B", "", "Ost"};
    std::vector<QString> keys{"N", "-", "K", "K", "", "O"};
    QStringList changes;
    MakeRegionNamesUnique(names, keys, changes);
    EXPECT_EQ(names, (std::vector<QString>{"Nill (2)", "A B", "K", "A B (2)", "Unnamed", "Ost"}));
    EXPECT_EQ(keys, (std::vector<QString>{"N", "A B", "K", "K-2", "Unnamed", "O"}));
    EXPECT_EQ(changes.size(), 7);

    std::vector<QString> noKeys(2), two{"X", "X"};
    changes.clear();
    MakeRegionNamesUnique(two, noKeys, changes);
    EXPECT_EQ(noKeys, (std::vector<QString>{"X", "X (2)"})) << "names serve as short names";
}

TEST(MapGeometry, TextsAreUtf8ElseWindows1252) {
    EXPECT_EQ(DecodeText("K\xc3\xb6ln"), "Köln");
    EXPECT_EQ(DecodeText("M\xfcnchen \x80"), "München €"); // an old shapefile without .cpg
    EXPECT_EQ(DecodeText(nullptr), "");
}
