// Headless drawing: colours deep inside known shapes, bubbles where their cities are,
// legends when asked for, and bad input that still gives a picture.
#include "render/ChartRenderer.h"
#include "render/RenderFixture.h"
#include "render/ShadePatterns.h"

#include <gtest/gtest.h>
#include <set>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 160, 0), kWhite(255, 255, 255);
const QSize kSmall(500, 350);

struct Drawn {
    ChartScene scene;
    QImage image;
};

Drawn Draw(const ChartFolder& folder, const char* movieKind, const QString& stagedName,
           const QByteArray& staged, QSize size = kSmall) {
    folder.write(QStringLiteral("cmap.map"), SquaresAs(movieKind));
    if (!stagedName.isEmpty()) folder.write(stagedName, staged);
    Drawn d;
    d.scene = LoadChartScene(folder.path(QStringLiteral("cmap.map")));
    d.image = RenderChartImage(d.scene, size);
    return d;
}

QByteArray CityXml(const QByteArray& cities, bool showLegend = false) {
    return "<cities><regions>3</regions><border>8421504</border><showtext>0</showtext>" + cities +
           "<plegends><showplegend>" + (showLegend ? "-1" : "0") +
           "</showplegend><plegendcount>2</plegendcount>"
           "<plegend id=\"1\"><text>small</text><color>255</color><scale>50</scale></plegend>"
           "<plegend "
           "id=\"2\"><text>large</text><color>255</color><scale>200</scale></plegend></plegends></"
           "cities>";
}

QByteArray City(const char* name, const char* region, uint32_t color, int scale) {
    return QByteArray("<city id=\"1\"><name>") + name + "</name><country>" + region +
           "</country><bgcolor>" + QByteArray::number(color) + "</bgcolor><value>1</value><scale>" +
           QByteArray::number(scale) + "</scale></city>";
}

} // namespace

TEST(ChartRender, RegionsTakeTheirColoursAndNoDataStaysWhite) {
    ChartFolder folder;
    const Drawn d = Draw(folder, "region", QStringLiteral("province.xml"),
                         ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000) +
                                     Province(2, "Beta", "BB", 0x0000FF) +
                                     Province(3, "Gamma", "-", 0x00A000)));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {20, 30}), kRed));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {60, 30}), kBlue));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {10, 52}), kWhite)) << "no data";
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {40, 52}), kWhite)) << "the hole";
    // The shared border is drawn in the border colour, a grey between the two fills.
    const QColor border = ColorAt(d.image, d.scene, {40, 20});
    EXPECT_FALSE(Near(border, kRed, 60));
    EXPECT_FALSE(Near(border, kBlue, 60));
    // Context land is neutral, never a chart colour.
    const QColor land = ColorAt(d.image, d.scene, {90, 25});
    EXPECT_TRUE(land.red() == land.green() || std::abs(land.red() - land.blue()) < 20)
        << land.name().toStdString();
}

TEST(ChartRender, ShadeCodesHatchAndPlainCodesDoNot) {
    ChartFolder folder;
    const Drawn d = Draw(folder, "region", QStringLiteral("province.xml"),
                         ProvinceXml(Province(1, "Alpha", "AA", 0xFFFFC0, 1) +
                                     Province(2, "Beta", "BB", 0xFFFFC0, 5) +
                                     Province(3, "Gamma", "CC", 0xFFFFC0, 77)));
    const auto placement = MapPlacement(d.scene, QRectF(d.image.rect()));
    ASSERT_TRUE(placement);
    auto coloursIn = [&](QRectF movieRect) {
        std::set<QRgb> seen;
        const QRect r = placement->mapRect(movieRect).toRect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                seen.insert(d.image.pixel(x, y));
        return seen.size();
    };
    EXPECT_EQ(coloursIn({10, 10, 20, 20}), 1u) << "code 1 is plain";
    EXPECT_GE(coloursIn({50, 10, 20, 20}), 2u) << "code 5 is hatched";
    EXPECT_EQ(coloursIn({5, 50, 20, 4}), 1u) << "an unknown code is plain";
}

TEST(ChartRender, LegendOnlyWhenAsked) {
    const QByteArray provinces = Province(1, "Alpha", "AA", 0xFF0000);
    const QByteArray legend =
        "<plegends><showplegend>%1</showplegend><plegendcount>1</plegendcount>"
        "<plegend id=\"1\"><text>Legend item</text><color>41120</color></plegend></plegends>";
    ChartFolder folder;
    QByteArray shown = legend, hidden = legend;
    shown.replace("%1", "-1");
    hidden.replace("%1", "0");
    const Drawn with = Draw(folder, "region", QStringLiteral("province.xml"),
                            ProvinceXml(provinces, false, shown));
    const Drawn without = Draw(folder, "region", QStringLiteral("province.xml"),
                               ProvinceXml(provinces, false, hidden));
    EXPECT_GT(CountColor(with.image, QColor::fromRgb(0x00A0A0)), 40) << "the swatch";
    EXPECT_EQ(CountColor(without.image, QColor::fromRgb(0x00A0A0)), 0);
    // The legend stands beside the map, never on it.
    const QRect map = MapPlacement(with.scene, QRectF(with.image.rect()))
                          ->mapRect(QRectF(0, 0, 100, 60))
                          .toRect();
    for (int y = map.top(); y <= map.bottom(); ++y)
        for (int x = map.left(); x <= map.right(); ++x)
            ASSERT_FALSE(Near(with.image.pixelColor(x, y), QColor::fromRgb(0x00A0A0), 4))
                << x << "," << y;
}

TEST(ChartRender, BubblesSitOnTheirCitiesLargerOnesBelow) {
    ChartFolder folder;
    const Drawn d = Draw(folder, "city", QStringLiteral("city.xml"),
                         CityXml(City("Capital", "Alpha", 0xFF0000, 200) +
                                 City("Springfield", "Beta", 0x0000FF, 50) +
                                 City("Springfield", "Alpha", 0x00A000, 0)));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {20, 20}), kRed));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {70, 30}), kBlue));
    EXPECT_EQ(CountColor(d.image, kGreen), 0) << "scale 0 draws nothing";
    // A city chart's base map is neutral: Beta away from its bubble is not blue.
    EXPECT_FALSE(Near(ColorAt(d.image, d.scene, {50, 5}), kBlue, 60));
    // Scales are areas: 200 % covers about four times the pixels of 50 % (a little more, as
    // the rim takes a larger share of a small bubble); were they diameters, sixteen times.
    const double ratio = double(CountColor(d.image, kRed)) / CountColor(d.image, kBlue);
    EXPECT_GT(ratio, 3.0);
    EXPECT_LT(ratio, 8.0);
}

TEST(ChartRender, SmallBubbleOverLargeStaysVisible) {
    ChartFolder folder;
    // Capital (20,20) and Springfield in Alpha (10,10) are close: the big one is drawn first.
    const Drawn d = Draw(folder, "city", QStringLiteral("city.xml"),
                         CityXml(City("Springfield", "Alpha", 0x0000FF, 40) +
                                 City("Capital", "Alpha", 0xFF0000, 1000)));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {10, 10}), kBlue));
}

TEST(ChartRender, CityLegendShowsBubbleSizes) {
    ChartFolder folder;
    const QByteArray cities = City("Capital", "Alpha", 0xFF0000, 100);
    const Drawn with = Draw(folder, "city", QStringLiteral("city.xml"), CityXml(cities, true));
    const Drawn without = Draw(folder, "city", QStringLiteral("city.xml"), CityXml(cities, false));
    EXPECT_GT(CountColor(with.image, kBlue), 100);
    EXPECT_EQ(CountColor(without.image, kBlue), 0);
}

TEST(ChartRender, RegionCityChartFillsRegionsAndDrawsBubbles) {
    ChartFolder folder;
    const Drawn d = Draw(folder, "regioncity", QStringLiteral("rc.xml"),
                         "<map><border>8421504</border><provinces><regions>1</regions>"
                         "<city "
                         "id=\"1\"><name>Beta</name><shortname>BB</shortname><bgcolor>255</"
                         "bgcolor><value>1</value></city>"
                         "</provinces><cities><regions>1</regions>" +
                             City("Capital", "Alpha", 0xFF0000, 100) + "</cities></map>");
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {60, 30}), kBlue));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {20, 20}), kRed));
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {5, 35}), kWhite));
}

TEST(ChartRender, AnySizeIsDrawnDirectlyAtThatSize) {
    ChartFolder folder;
    const QByteArray staged = ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000), true);
    for (const QSize size : {QSize(500, 350), QSize(575, 402), QSize(2000, 1400), QSize(37, 900)}) {
        const Drawn d = Draw(folder, "region", QStringLiteral("province.xml"), staged, size);
        EXPECT_EQ(d.image.size(), size);
        if (size.width() >= 500) {
            EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {5, 35}), kRed)) << size.width();
        }
    }
    EXPECT_TRUE(RenderChartImage(ChartScene(), QSize(0, 10)).isNull());
}

TEST(ChartRender, BlankMovieIsWhite) {
    ChartFolder folder;
    const QString blank =
        folder.write(QStringLiteral("cmap1.map"),
                     R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"blank"}})");
    const QImage image = RenderChartImage(LoadChartScene(blank), kSmall);
    EXPECT_EQ(CountColor(image, kWhite, 0), kSmall.width() * kSmall.height());
}

TEST(ChartRender, NothingToDrawShowsANoteInstead) {
    ChartFolder folder;
    const QImage missing =
        RenderChartImage(LoadChartScene(folder.path(QStringLiteral("cmap.map"))), kSmall);
    EXPECT_LT(CountColor(missing, kWhite, 0), kSmall.width() * kSmall.height()) << "the note";

    // Damaged chart data: the map is drawn, with a note, and every region without data.
    const Drawn d =
        Draw(folder, "region", QStringLiteral("province.xml"), "<provinces><province><name>");
    EXPECT_FALSE(d.scene.notes.isEmpty());
    EXPECT_TRUE(Near(ColorAt(d.image, d.scene, {20, 30}), kWhite));
}

TEST(ChartRender, HostileValuesStillDraw) {
    ChartFolder folder;
    const Drawn region =
        Draw(folder, "region", QStringLiteral("province.xml"),
             "<provinces><border>99999999999</border><showtext>-1</showtext>"
             "<province id=\"1\"><name></name><shortname>AA</shortname><bgcolor>-1</bgcolor>"
             "<shade>-7</shade><value>inf</value></province>"
             "<plegends><showplegend>-1</showplegend><plegendcount>-3</plegendcount></plegends>"
             "<province id=\"2\"><name>Beta</name><shortname>BB</shortname><bgcolor>255</bgcolor>"
             "<shade>2147483647</shade></province></provinces>");
    EXPECT_TRUE(Near(ColorAt(region.image, region.scene, {20, 30}), kWhite));
    EXPECT_TRUE(Near(ColorAt(region.image, region.scene, {60, 30}), kBlue));
    const Drawn city = Draw(
        folder, "city", QStringLiteral("city.xml"),
        CityXml(City("Capital", "Alpha", 0xFF0000, -50) + City("Nowhere", "?", 0xFF0000, 100)));
    EXPECT_EQ(CountColor(city.image, kRed), 0);
}

TEST(ChartRender, FlagChartsDrawFlagsAndPlaceholders) {
    ChartFolder folder;
    folder.copyFixture(QStringLiteral("flags/fr.svg"));
    const QByteArray staged =
        "<charts><ename>flag1</ename><count>3</count><title>Flags</title>"
        "<item id=\"1\"><name>FR</name><data>20</data><size>100.0</size></item>"
        "<item id=\"2\"><name>QQ</name><data>10</data><size>50.0</size></item>"
        "<item id=\"3\"><name>../x</name><data>-5</data><size>-25.0</size></item></charts>";
    folder.write(QStringLiteral("ChartFlag1.xml"), staged);
    std::vector<QImage> pictures;
    for (const char* style : {"flag1", "flag2", "flag3"}) {
        const QString movie = folder.write(
            QStringLiteral("cmap.map"),
            QByteArray(
                R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"flag","style":")") +
                style + "\"}}");
        const ChartScene scene = LoadChartScene(movie);
        EXPECT_TRUE(scene.notes.isEmpty());
        const QImage image = RenderChartImage(scene, kSmall);
        EXPECT_GT(CountColor(image, QColor(0, 0, 0x91), 10), 50) << style << ": the French blue";
        EXPECT_GT(CountColor(image, QColor(228, 228, 228), 2), 50) << style << ": a placeholder";
        pictures.push_back(image);
    }
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[1], pictures[2]);
}

TEST(ShadePatterns, EveryCodeFromTwoHasItsOwnPattern) {
    std::set<std::tuple<int, double, double, double>> seen;
    for (int code = kFirstShadeCode; code <= kLastShadeCode; ++code) {
        const ShadePattern p = ShadePatternFor(code);
        EXPECT_NE(p.kind, HatchKind::None) << code;
        EXPECT_TRUE(seen.insert({int(p.kind), p.angle, p.spacing, p.weight}).second) << code;
    }
    EXPECT_GE(seen.size(), 16u);
    for (const int plain : {0, 1, -1, kLastShadeCode + 1, INT32_MIN})
        EXPECT_EQ(ShadePatternFor(plain).kind, HatchKind::None) << plain;
    // The first sixteen differ in kind or direction, not only in density.
    std::set<std::pair<int, double>> looks;
    for (int code = 2; code < 2 + 9; ++code)
        looks.insert({int(ShadePatternFor(code).kind), ShadePatternFor(code).angle});
    EXPECT_EQ(looks.size(), 9u);
}
