// What lies under the pointer in a chart picture.
#include "RenderFixture.h"
#include "render/HitTest.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

TEST(HitTest, FindsRegionsHolesCitiesAndTheirLegendText) {
    ChartFolder folder;
    const QString movie = folder.write("cmap.map", SquaresAs("regioncity"));
    folder.write(
        "rc.xml",
        "<map><border>0</border><provinces><regions>3</regions>"
        "<city id=\"1\"><name>Alpha</name><shortname>AA</shortname><bgcolor>255</bgcolor>"
        "<value>12.5</value></city>"
        "<city id=\"2\"><name>Gamma</name><shortname>CC</shortname><bgcolor>65280</bgcolor>"
        "<value>3</value></city></provinces>"
        "<cities><regions>1</regions><city id=\"1\"><name>Springfield</name>"
        "<country>Beta</country><bgcolor>0</bgcolor><value>7</value><scale>100</scale>"
        "</city></cities></map>");
    const ChartScene scene = LoadChartScene(movie);
    const QRectF frame(0, 0, 800, 480);
    const ChartHitIndex index(scene, frame);
    const QTransform at = *MapPlacement(scene, frame);

    EXPECT_EQ(index.at(at.map(QPointF(20, 30))), (ChartHit{ChartHit::Kind::Region, 0}));
    EXPECT_EQ(index.at(at.map(QPointF(10, 50))), (ChartHit{ChartHit::Kind::Region, 1}));
    EXPECT_EQ(index.at(at.map(QPointF(90, 5))), (ChartHit{ChartHit::Kind::Region, 1})); // island
    EXPECT_EQ(index.at(at.map(QPointF(40, 52))).kind, ChartHit::Kind::None);            // the hole
    EXPECT_EQ(index.at(at.map(QPointF(60, 20))).kind, ChartHit::Kind::None); // Beta: no entry
    const ChartHit city = index.at(at.map(QPointF(70, 30)) + QPointF(3, 0));
    EXPECT_EQ(city, (ChartHit{ChartHit::Kind::City, 0}));

    EXPECT_EQ(index.describe({ChartHit::Kind::Region, 0}), "<b>Alpha</b> (AA)<br>Value: 12.5");
    EXPECT_TRUE(index.describe(city).contains("Size: 100%"));
    EXPECT_EQ(index.find(ChartHit::Kind::Region, "Gamma", "CC"),
              (ChartHit{ChartHit::Kind::Region, 1}));
    EXPECT_EQ(index.find(ChartHit::Kind::Region, "Gamma", "XX").kind, ChartHit::Kind::None);
    const QRectF outline = index.outline({ChartHit::Kind::Region, 0}).boundingRect();
    EXPECT_TRUE(outline.contains(at.map(QPointF(20, 20))));
    EXPECT_FALSE(outline.contains(at.map(QPointF(60, 20))));
}
