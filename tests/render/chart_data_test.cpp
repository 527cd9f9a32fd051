// Reading the staged data files leniently, and finding each entry's shape on the map.
#include "platform/XmlDocument.h"
#include "render/ChartScene.h"
#include "render/RenderFixture.h"
#include "render/StagedChart.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

StagedChart Read(MovieKind kind, const QByteArray& xml) {
    return ReadStagedChart(kind, XmlReader::fromBytes(xml, QStringLiteral("test.xml")).root());
}

std::shared_ptr<const MapMovie> Squares() {
    return ParseMapMovie(ReadFixture(QStringLiteral("squares.map")));
}

} // namespace

TEST(ChartMatch, RegionsByKeyThenByNameElseNowhere) {
    StagedChart data =
        Read(MovieKind::Region,
             ProvinceXml(Province(1, "Alpha", "AA", 1) + Province(2, "Beta", "-", 2) +
                         Province(3, "Gamma", "XX", 3) + Province(4, "Alpha", "BB", 4) +
                         Province(5, "Nowhere", "-", 5) + Province(6, "Lost", "ZZ", 6)));
    const ChartMatch m = MatchChart(*Squares(), data);
    ASSERT_EQ(m.regionShape.size(), 6u);
    EXPECT_EQ(m.regionShape[0], 0) << "key";
    EXPECT_EQ(m.regionShape[1], 1) << "no data: by name";
    EXPECT_EQ(m.regionShape[2], 2) << "unknown key: by name";
    EXPECT_EQ(m.regionShape[3], 1) << "the key wins over the name";
    EXPECT_EQ(m.regionShape[4], -1);
    EXPECT_EQ(m.regionShape[5], -1);
    EXPECT_EQ(m.unmatchedRegions,
              QStringList({QStringLiteral("Nowhere"), QStringLiteral("Lost (ZZ)")}));
}

TEST(ChartMatch, RepeatedCityNamesAreToldApartByRegion) {
    const StagedChart data = Read(MovieKind::City, R"(<cities>
        <city id="1"><name>Springfield</name><country>Beta</country><bgcolor>1</bgcolor><value>1</value><scale>100</scale></city>
        <city id="2"><name>Springfield</name><country>Alpha</country><bgcolor>1</bgcolor><value>1</value><scale>100</scale></city>
        <city id="3"><name>Springfield</name><country>Elsewhere</country><scale>100</scale></city>
        <city id="4"><name>Capital</name><country>-</country><scale>100</scale></city>
        <city id="5"><name>Atlantis</name><country>Sea</country><scale>100</scale></city></cities>)");
    const ChartMatch m = MatchChart(*Squares(), data);
    EXPECT_EQ(m.cityPoint, (std::vector<int>{2, 1, 1, 0, -1}));
    EXPECT_EQ(m.unmatchedCities, QStringList(QStringLiteral("Atlantis (Sea)")));
}

TEST(StagedChart, ValuesOutOfRangeAreDroppedNotFatal) {
    const StagedChart data =
        Read(MovieKind::Region, R"(<provinces><border>abc</border><showtext>maybe</showtext>
        <province id="1"><name>A</name><shortname>AA</shortname><bgcolor>16777216</bgcolor><value>NaN</value><shade>x</shade><extra/></province>
        <province id="2"><name>B</name><shortname>BB</shortname><bgcolor>-5</bgcolor></province>
        <province id="3"><name>C</name><shortname>-</shortname><bgcolor>255</bgcolor><shade>0</shade></province>
        <province id="4"><name>D</name><shortname>DD</shortname><bgcolor>16777215</bgcolor><value>1,5</value><shade>999</shade></province>
        <unknown><province/></unknown>
        <plegends><showplegend>-1</showplegend><plegendcount>40</plegendcount>
          <plegend id="1"><text>one</text><color>12</color><shade>3</shade></plegend></plegends></provinces>)");
    EXPECT_FALSE(data.border);
    EXPECT_FALSE(data.showText);
    ASSERT_EQ(data.regions.size(), 4u);
    EXPECT_FALSE(data.regions[0].color) << "beyond 24 bits";
    EXPECT_EQ(data.regions[0].value, 0);
    EXPECT_EQ(data.regions[0].shade, 1);
    EXPECT_FALSE(data.regions[1].color) << "negative";
    EXPECT_FALSE(data.regions[2].color) << "no data is white whatever its colour";
    EXPECT_EQ(data.regions[3].color, 0xFFFFFFu);
    EXPECT_EQ(data.regions[3].value, 1.5);
    EXPECT_EQ(data.regions[3].shade, 999);
    EXPECT_TRUE(data.showLegend);
    EXPECT_EQ(data.legendCount, 1) << "never more items than the file has";
    EXPECT_EQ(data.legend[0].shade, 3);
}

TEST(StagedChart, CityScalesAreTamed) {
    const StagedChart data = Read(MovieKind::City, R"(<cities><showtext>True</showtext>
        <city id="1"><name>a</name><scale>-40</scale></city>
        <city id="2"><name>b</name><scale>nan</scale></city>
        <city id="3"><name>c</name><scale>1e300</scale></city>
        <city id="4"><name>d</name><scale>62,5</scale></city>
        <plegends><plegendcount>1</plegendcount><plegend id="1"><text>t</text><color>5</color><scale>-1</scale></plegend></plegends></cities>)");
    EXPECT_TRUE(data.showText);
    ASSERT_EQ(data.cities.size(), 4u);
    EXPECT_EQ(data.cities[0].scale, 0);
    EXPECT_EQ(data.cities[1].scale, 0);
    EXPECT_EQ(data.cities[2].scale, 1000);
    EXPECT_EQ(data.cities[3].scale, 62.5);
    EXPECT_EQ(data.legend[0].scale, 0);
}

TEST(StagedChart, RegionCityFileNamesItsRegionsCity) {
    const StagedChart data = Read(MovieKind::RegionCity, R"(<map><border>8421504</border>
        <provinces><regions>1</regions><city id="1"><name>Alpha</name><shortname>AA</shortname><bgcolor>255</bgcolor><value>2</value></city></provinces>
        <cities><regions>1</regions><city id="1"><name>Capital</name><country>Alpha</country><bgcolor>65280</bgcolor><value>3</value><scale>150</scale></city></cities></map>)");
    EXPECT_EQ(data.border, 0x808080u);
    ASSERT_EQ(data.regions.size(), 1u);
    EXPECT_EQ(data.regions[0].shortName, u"AA");
    ASSERT_EQ(data.cities.size(), 1u);
    EXPECT_EQ(data.cities[0].region, u"Alpha");
    EXPECT_EQ(data.cities[0].scale, 150);
}

TEST(StagedChart, FlagChart) {
    const StagedChart data =
        Read(MovieKind::Flag, R"(<charts><ename>flag1</ename><count>3</count><title>.</title>
        <item id="1"><name> fr </name><data>10</data><size>25,0</size></item>
        <item id="2"><name>DE</name><data>-5</data><size>-12.5</size></item>
        <item id="3"><name>??</name><data></data><size>inf</size></item></charts>)");
    EXPECT_TRUE(data.title.isEmpty()) << "an empty title is written as \".\"";
    ASSERT_EQ(data.flags.size(), 3u);
    EXPECT_EQ(data.flags[0].code, u"fr");
    EXPECT_EQ(data.flags[0].size, 25);
    EXPECT_EQ(data.flags[1].size, -12.5);
    EXPECT_EQ(data.flags[2].size, 0);
}

TEST(ChartScene, StagedFileFollowsTheMovieKind) {
    ChartFolder folder;
    folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000)));
    folder.write(QStringLiteral("city.xml"),
                 "<cities><city id=\"1\"><name>Capital</name><scale>100</scale></city></cities>");
    const QString movie = folder.copyFixture(QStringLiteral("squares.map"));

    const ChartScene region = LoadChartScene(movie);
    EXPECT_TRUE(region.notes.isEmpty()) << region.notes.join(u'\n').toStdString();
    EXPECT_EQ(region.data->regions.size(), 1u);
    EXPECT_EQ(region.match.regionShape, std::vector<int>{0});
    // Made again with another colour, then with another short name: each is drawn where
    // its entries say.
    folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Alpha", "AA", 0xFF)));
    EXPECT_EQ(LoadChartScene(movie).match.regionShape, std::vector<int>{0});
    folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Alpha", "BB", 0xFF)));
    EXPECT_EQ(LoadChartScene(movie).match.regionShape, std::vector<int>{1});
    folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Gamma", "-", 0xFF)));
    EXPECT_EQ(LoadChartScene(movie).match.regionShape, std::vector<int>{2});

    folder.write(QStringLiteral("squares.map"), SquaresAs("city"));
    const ChartScene city = LoadChartScene(movie);
    EXPECT_TRUE(city.data->regions.empty());
    EXPECT_EQ(city.data->cities.size(), 1u);

    folder.write(QStringLiteral("squares.map"), SquaresAs("regioncity"));
    const ChartScene rc = LoadChartScene(movie);
    ASSERT_EQ(rc.notes.size(), 1);
    EXPECT_TRUE(rc.notes[0].startsWith(u"Chart data missing")) << rc.notes[0].toStdString();
    EXPECT_TRUE(rc.movie) << "the map is still drawn";
}

TEST(ChartScene, MissingAndDamagedFilesBecomeNotes) {
    ChartFolder folder;
    const ChartScene missing = LoadChartScene(folder.path(QStringLiteral("cmap.map")));
    EXPECT_FALSE(missing.movie);
    ASSERT_EQ(missing.notes.size(), 1);
    EXPECT_TRUE(missing.notes[0].startsWith(u"Map file missing")) << missing.notes[0].toStdString();

    const ChartScene damaged =
        LoadChartScene(folder.write(QStringLiteral("bad.map"), "{\"type\":\"Topo"));
    EXPECT_FALSE(damaged.movie);
    ASSERT_EQ(damaged.notes.size(), 1);
    EXPECT_TRUE(damaged.notes[0].startsWith(u"Map file damaged")) << damaged.notes[0].toStdString();

    folder.write(QStringLiteral("province.xml"), "<provinces><province>");
    const ChartScene badData = LoadChartScene(folder.copyFixture(QStringLiteral("squares.map")));
    EXPECT_TRUE(badData.movie);
    ASSERT_EQ(badData.notes.size(), 1);
    EXPECT_TRUE(badData.notes[0].startsWith(u"Chart data damaged"))
        << badData.notes[0].toStdString();
}
