// City bubbles as a reader sees them: sizes by area, the legend's circles as drawn on the
// map, names where they hide nothing.
#include "render/ChartLayers.h"
#include "render/DiscPixels.h"
#include "render/RenderFixture.h"

#include <gtest/gtest.h>
#include <random>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

// A city movie of points only: Westerly Harbour Town (30, 30), East (42, 30) and Far (85, 50).
const QByteArray kPoints =
    R"({"type":"Topology","arcs":[],"tolvane":{"kind":"city","viewBox":[0,0,100,60]},)"
    R"("objects":{"cities":{"type":"GeometryCollection","geometries":[)"
    R"({"type":"Point","coordinates":[30,30],"properties":{"name":"Westerly Harbour Town","region":"R"}},)"
    R"({"type":"Point","coordinates":[42,30],"properties":{"name":"East","region":"R"}},)"
    R"({"type":"Point","coordinates":[85,50],"properties":{"name":"Far","region":"R"}}]}}})";

QByteArray City(const char* name, uint32_t color, int scale) {
    return QByteArray("<city id=\"1\"><name>") + name + "</name><country>R</country><bgcolor>" +
           QByteArray::number(color) + "</bgcolor><value>1</value><scale>" +
           QByteArray::number(scale) + "</scale></city>";
}

struct Drawn {
    ChartScene scene;
    QImage image;
};

Drawn Draw(const QByteArray& cities, const QByteArray& legend, QSize size, bool names = false) {
    ChartFolder folder;
    folder.write(QStringLiteral("cmap.map"), kPoints);
    folder.write(QStringLiteral("city.xml"),
                 "<cities><regions>3</regions><border>8421504</border><showtext>" +
                     QByteArray(names ? "-1" : "0") + "</showtext>" + cities + legend +
                     "</cities>");
    Drawn d;
    d.scene = LoadChartScene(folder.path(QStringLiteral("cmap.map")));
    d.image = RenderChartImage(d.scene, size);
    return d;
}

} // namespace

TEST(BubbleLayer, AreasFollowTheScaleAndTheLegendShowsTheSizesDrawn) {
    // Far at 400 % and West at 100 %: at 2000 x 1400 the rims are thin beside the bubbles.
    const QByteArray legend = "<plegends><showplegend>-1</showplegend><plegendcount>1"
                              "</plegendcount><plegend id=\"1\"><text>as Far</text><color>255"
                              "</color><scale>400</scale></plegend></plegends>";
    const Drawn d = Draw(City("Westerly Harbour Town", 0xFF0000, 100) + City("Far", 0x00FF00, 400),
                         legend, QSize(2000, 1400));
    const int west = CountColor(d.image, kRed);
    const int far = CountColor(d.image, QColor(0, 255, 0));
    const int inLegend = CountColor(d.image, kBlue);
    ASSERT_GT(west, 500);
    // Radii of 24 and 48 pixels less the rim: the fills' areas are 4.3 times apart.
    EXPECT_NEAR(double(far) / west, 4.33, 0.15);
    EXPECT_NEAR(double(inLegend) / far, 1.0, 0.02);
    // Centred where their cities are.
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {30, 30}), kRed));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {85, 50}), QColor(0, 255, 0)));
}

TEST(BubbleLayer, NamesGoWhereTheyHideNoOtherBubble) {
    // West's name would read best on its right, where East stands: it goes elsewhere.
    const Drawn d = Draw(City("Westerly Harbour Town", 0xFF0000, 100) + City("East", 0x0000FF, 100),
                         {}, QSize(500, 350), true);
    const auto placement = MapPlacement(d.scene, QRectF(d.image.rect()));
    ASSERT_TRUE(placement);
    const QPoint west = placement->map(QPointF(30, 30)).toPoint();
    const QPoint east = placement->map(QPointF(42, 30)).toPoint();
    const auto inkIn = [&](QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += qGray(d.image.pixel(x, y)) < 140 ? 1 : 0;
        return n;
    };
    const int radius = 8; // 6 units and the rim
    EXPECT_EQ(inkIn(QRect(QPoint(west.x() + radius, west.y() - 6),
                          QPoint(east.x() - radius, east.y() + 6))),
              0);
    EXPECT_GT(inkIn(QRect(west - QPoint(80, 30), west + QPoint(-radius, 30))) +
                  inkIn(QRect(west - QPoint(30, 30), west + QPoint(30, -radius))) +
                  inkIn(QRect(west + QPoint(-30, radius), west + QPoint(30, 30))),
              10)
        << "West is named on another side";
    EXPECT_GT(inkIn(QRect(east + QPoint(radius, -6), east + QPoint(60, 6))), 10)
        << "East is named on its right";
}

TEST(BubbleLayer, ACrowdPaintedInTilesIsTheCrowdPaintedOneByOne) {
    // Bubbles across tile edges, the picture's edges and each other, some see-through, on
    // a picture whose right edge leaves a tile three pixels wide.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> at(-30, 560), size(0.3, 70);
    std::vector<PlacedDiscs> crowd;
    for (int k = 0; k < 600; ++k) {
        const QColor fill(static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                          static_cast<int>(random() % 256), k % 5 ? 255 : 120);
        crowd.push_back({{at(random), at(random) * 0.6}, DiscsOf(size(random), fill, 0.5 + k % 9)});
    }
    // Last and on top, one bubble over the corner of four tiles.
    crowd.push_back({{256.5, 256.5}, DiscsOf(40, QColor(10, 200, 30), 2)});
    QImage tiled(515, 300, QImage::Format_RGB32);
    tiled.fill(QColor(230, 228, 220));
    QImage single = tiled.copy();
    PaintManyDiscs(Pixels(tiled), crowd);
    const Pixels pixels(single);
    for (const PlacedDiscs& d : crowd)
        PaintDiscsDirect(pixels, d.centre, d.discs);
    EXPECT_EQ(tiled, single);
    for (const QPoint p : {QPoint(255, 255), QPoint(256, 256), QPoint(220, 256), QPoint(290, 255)})
        EXPECT_EQ(tiled.pixelColor(p), QColor(10, 200, 30)) << p.x() << "," << p.y();
}
