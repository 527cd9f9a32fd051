// Every map the pages offer ships with its movie and its chart data file, and the two fit:
// each region or city of the chart has its shape, and the program's own writer reproduces
// each shipped chart file byte for byte.
#include "charts/Charts.h"
#include "forms/LegendMapPage.h"
#include "forms/MapPages.h"
#include "forms/PageParts.h"
#include "forms/RegionCityPage.h"
#include "render/MapMovie.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

const QString kData = QStringLiteral(TOLVANE_SOURCE_DIR "/data/");

const QStringList& kShadeMaps = ShadeMaps().stems();
const QStringList& kCityMaps = CityMaps().stems();
const QStringList& kRegionCityMaps = RegionCityMaps().stems();

QByteArray ReadShipped(const QString& name) {
    QFile f(kData + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The shape a chart entry is drawn on: by key, else by name.
bool HasRegionShape(const MapMovie& movie, const TProvince& p) {
    for (const MovieShape& s : movie.regions)
        if (s.key == p.ShortName || s.name == p.Name) return true;
    return false;
}

// A city of the chart is placed on the map, inside the part the chart shows.
bool HasCity(const MapMovie& movie, const TProvince& c) {
    for (const MovieCity& m : movie.cities)
        if (m.name == c.Name && m.region == c.Country) return movie.viewBox.contains(m.position);
    return false;
}

void ExpectUniqueKeys(const MapMovie& movie, const QString& stem) {
    QSet<QString> keys;
    for (const MovieShape& s : movie.regions) {
        EXPECT_FALSE(s.key.isEmpty()) << stem.toStdString() << ": a region without key";
        EXPECT_FALSE(keys.contains(s.key))
            << stem.toStdString() << ": key " << s.key.toStdString() << " twice";
        keys.insert(s.key);
    }
}

class ShippedData : public ::testing::Test {
protected:
    void SetUp() override { model.appFolder = app.path(); }
    std::shared_ptr<const MapMovie> stage(const QString& stem) {
        app.copyShipped(stem + ".xml");
        app.copyShipped(stem + ".map");
        model.currentMapName = stem;
        return LoadMapMovie(app.dataPath(stem + ".map"));
    }
    // Writing the loaded chart again must give the shipped bytes.
    void expectRewrittenUnchanged(const QString& stem) {
        EXPECT_EQ(app.read("data/" + stem + ".xml"), ReadShipped(stem + ".xml"))
            << stem.toStdString() << ".xml is not in the form the program writes";
    }
    TempAppFolder app;
    ChartModel model;
};

} // namespace

TEST_F(ShippedData, RegionAndShadeMapsFitTheirMovies) {
    // Every map the "Map" page offers, and the shade maps.
    QStringList all = RegionMaps().stems() + kShadeMaps;
    for (const QString& stem : all) {
        SCOPED_TRACE(stem.toStdString());
        const auto movie = stage(stem);
        ASSERT_EQ(movie->kind, MovieKind::Region);
        ExpectUniqueKeys(*movie, stem);
        const bool shade = kShadeMaps.contains(stem);
        MapPageState page(shade ? ChartKind::Shade : ChartKind::Region);
        shade ? LoadShadeChart(model, page, stem) : LoadRegionChart(model, page, stem);
        EXPECT_GT(model.regionCount, 1);
        for (const TProvince& p : model.regions)
            EXPECT_TRUE(HasRegionShape(*movie, p)) << p.Name.toStdString() << " has no shape";
        shade ? WriteShadeChart(model, page) : WriteRegionChart(model, page);
        expectRewrittenUnchanged(stem);
    }
}

TEST_F(ShippedData, CityMapsPlaceEveryCity) {
    for (const QString& stem : kCityMaps) {
        SCOPED_TRACE(stem.toStdString());
        const auto movie = stage(stem);
        ASSERT_EQ(movie->kind, MovieKind::City);
        CityPageState page;
        int32_t border = 0;
        LoadCityChart(model, page, border, stem);
        EXPECT_GT(model.regionCount, 1);
        for (const TProvince& c : model.regions)
            EXPECT_TRUE(HasCity(*movie, c)) << c.Name.toStdString() << " is not on the map";
        WriteCityChart(model, page, border);
        expectRewrittenUnchanged(stem);
    }
}

TEST_F(ShippedData, RegionCityMapsHaveRegionsAndCities) {
    for (const QString& stem : kRegionCityMaps) {
        SCOPED_TRACE(stem.toStdString());
        const auto movie = stage(stem);
        ASSERT_EQ(movie->kind, MovieKind::RegionCity);
        ExpectUniqueKeys(*movie, stem);
        RegionCityPageState page;
        LoadRegionCityChart(model, page, stem);
        for (const TProvince& p : model.regions)
            EXPECT_TRUE(HasRegionShape(*movie, p)) << p.Name.toStdString() << " has no shape";
        for (const TProvince& c : model.cities)
            EXPECT_TRUE(HasCity(*movie, c)) << c.Name.toStdString() << " is not on the map";
        WriteRegionCityChart(model, page);
        expectRewrittenUnchanged(stem);
    }
}

TEST_F(ShippedData, RegionCountsMatchTheUnitsOfEachMap) {
    const QList<QPair<QString, int>> expected{
        {"Germany", 16},     {"Germany_NUTS2", 38}, {"United States", 51}, {"Italy", 20},
        {"New York", 62},    {"New Jersey", 21},    {"France", 18},        {"Spain", 19},
        {"China", 34},       {"India", 36},         {"Japan", 47},         {"United Kingdom", 12},
        {"UK_NUTS2", 41},    {"US and CA", 64},     {"Canada", 13},        {"DE_Berlin", 12},
        {"CN-HongKong", 18}, {"Europe1", 27},       {"Europe2", 32}};
    for (const auto& [stem, count] : expected) {
        const auto movie = LoadMapMovie(kData + stem + ".map");
        EXPECT_EQ(static_cast<int>(movie->regions.size()), count) << stem.toStdString();
    }
}

TEST(ShippedMovies, BlankAndFlagMoviesAndFlagsArePresent) {
    EXPECT_EQ(LoadMapMovie(kData + "cmap1.map")->kind, MovieKind::Blank);
    for (const char* name : {"flag1.cht", "flag2.cht", "flag3.cht"})
        EXPECT_EQ(LoadMapMovie(kData + name)->kind, MovieKind::Flag) << name;
    // Every code of the country table has its flag.
    const QList<QByteArray> lines = ReadShipped("countrycodes.tsv").split('\n');
    ASSERT_GT(lines.size(), 200);
    for (const QByteArray& line : lines.mid(1)) {
        if (line.trimmed().isEmpty()) continue;
        const QString code = QString::fromUtf8(line.left(line.indexOf('\t'))).toLower();
        EXPECT_TRUE(QFileInfo::exists(kData + "flags/" + code + ".svg")) << code.toStdString();
    }
}

TEST(ShippedMovies, FlagsAreDrawnInTheirOfficialProportions) {
    const auto aspect = [](const char* code) {
        const QSvgRenderer flag(kData + "flags/" + code + ".svg");
        return flag.isValid() ? flag.viewBoxF().width() / flag.viewBoxF().height() : 0.0;
    };
    EXPECT_DOUBLE_EQ(aspect("de"), 5.0 / 3);
    EXPECT_DOUBLE_EQ(aspect("us"), 1.9);
    EXPECT_DOUBLE_EQ(aspect("ch"), 1.0);
    EXPECT_DOUBLE_EQ(aspect("qa"), 28.0 / 11);
    EXPECT_DOUBLE_EQ(aspect("in"), 1.5);
    EXPECT_NEAR(aspect("br"), 10.0 / 7, 1e-4); // drawn from a 4:3 drawing, reshaped
    EXPECT_LT(aspect("np"), 1.0);
}

TEST(ShippedMovies, EveryMovieIsSmallEnough) {
    qint64 total = 0;
    QDirIterator it(kData, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        total += info.size();
        if (info.suffix() == "map") {
            EXPECT_LE(info.size(), 1536 * 1024) << info.fileName().toStdString();
        }
    }
    EXPECT_LE(total, 40LL * 1024 * 1024);
}
