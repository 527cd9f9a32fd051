// Adding users' own maps from the fixtures of tools/mapimport/make_fixtures.sh: every input
// format gives the same map, which the program's loaders read, its writers reproduce and its
// renderer draws; bad input is refused with nothing written; added maps can be removed.
#include "charts/AddedMaps.h"
#include "charts/Charts.h"
#include "mapimport/MapImport.h"
#include "platform/XmlDocument.h"
#include "render/ChartRenderer.h"
#include "render/ChartScene.h"
#include "render/MapMovie.h"
#include "render/RenderFixture.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::mapimport;
using tolvane::test::Near;
using tolvane::test::TempAppFolder;

namespace {

QString Fixture(const QString& name) {
    return QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mapimport/data/") + name;
}

QStringList DataFiles(const TempAppFolder& app) {
    return QDir(app.dataPath({})).entryList(QDir::Files, QDir::Name);
}

QStringList RegionNames(const MapMovie& movie) {
    QStringList names;
    for (const MovieShape& s : movie.regions)
        names << s.name;
    return names;
}

// Regions in the order of the chart file: by name, Latin before Greek, Cyrillic, Arabic, CJK.
const QStringList kRegions{"Mitte", "Nordheim", "Schleife", "Südtal", "Südtal (2)",
                           "Αθήνα", "Москва",   "القاهرة",  "東京"};

} // namespace

TEST(AddMap, EveryFormatGivesTheSameMapInTheProgramsOwnForm) {
    for (const char* file :
         {"districts.geojson", "districts.shp", "regions.gpkg", "districts.topojson"}) {
        SCOPED_TRACE(file);
        TempAppFolder app;
        const AddedResult r = AddMapFromFile(app.path(), Fixture(file), {}, {});
        EXPECT_EQ(r.plan.layer, "districts");
        EXPECT_EQ(r.plan.nameField, "name");
        EXPECT_EQ(r.plan.shortField, "code");
        EXPECT_TRUE(r.plan.projection.startsWith("+proj=laea")) << r.plan.projection.toStdString();
        EXPECT_EQ(r.converted.repaired, QStringList{"Schleife"});
        EXPECT_EQ(r.converted.renamed, QStringList{"“Südtal” is also “Südtal (2)”"});
        EXPECT_TRUE(r.converted.leftOut.isEmpty());

        const auto movie = LoadMapMovie(app.dataPath(r.map.stem + ".map"));
        EXPECT_EQ(movie->kind, MovieKind::Region);
        EXPECT_EQ(RegionNames(*movie), kRegions);
        for (const MovieShape& s : movie->regions) {
            EXPECT_TRUE(movie->contains(s, s.label)) << s.name.toStdString() << " label outside";
            const int parts = static_cast<int>(s.ringCount);
            // The multipolygon keeps its island, the hole stays a hole, the bow-tie is two
            // triangles.
            if (s.name == "Москва" || s.name == "Nordheim" || s.name == "Schleife")
                EXPECT_EQ(parts, 2) << s.name.toStdString();
            else
                EXPECT_EQ(parts, 1) << s.name.toStdString();
        }
        // Mitte fills Nordheim's hole: its outline is that hole, stored once.
        EXPECT_EQ(movie->borders.size(), 19u);

        // The program's loader reads the chart data file and its writer gives the same bytes.
        ChartModel model;
        model.appFolder = app.path();
        model.currentMapName = r.map.stem;
        MapPageState page;
        const QByteArray written = app.read("data/" + r.map.stem + ".xml");
        LoadRegionChart(model, page, r.map.stem);
        ASSERT_EQ(model.regions.size(), 9u);
        EXPECT_EQ(model.regions[7].Name, "القاهرة");
        EXPECT_EQ(model.regions[7].ShortName, "EG");
        WriteRegionChart(model, page);
        EXPECT_EQ(app.read("data/" + r.map.stem + ".xml"), written);
        EXPECT_TRUE(written.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<provinces>\n"
                                       "  <regions>9</regions>\n  <border>12632256</border>\n"
                                       "  <showtext>-1</showtext>\n  <province id=\"1\">\n"
                                       "    <name>Mitte</name>\n    <shortname>MI</shortname>"));
    }
}

TEST(AddMap, AddedMapIsDrawnInEachRegionsColourAtItsLabel) {
    TempAppFolder app;
    ImportChoices choices;
    choices.title = "Test districts";
    const AddedResult r = AddMapFromFile(app.path(), Fixture("regions.gpkg"), choices, {});
    EXPECT_EQ(r.map.stem, "Test districts");
    EXPECT_EQ(r.plan.attribution, "Source: Tolvane test districts. Licence: CC BY 4.0.");

    // A colour of its own for every region, names off so that no text covers the labels.
    const QString chartPath = app.dataPath(r.map.stem + ".xml");
    ChartFileData data = LoadChartFile(ChartKind::Region, chartPath);
    data.showText = false;
    for (TProvince& p : data.items)
        p.Color = 0x102030 * p.Id;
    BuildChartFile(ChartKind::Region, data).save(chartPath);

    ChartModel model;
    model.appFolder = app.path();
    model.currentMapName = r.map.stem;
    MapPageState page;
    LoadRegionChart(model, page, r.map.stem);
    const ChartScene scene = LoadChartScene(model.stagedMoviePath());
    ASSERT_TRUE(scene.movie);
    EXPECT_TRUE(scene.match.unmatchedRegions.isEmpty());
    EXPECT_EQ(scene.movie->attribution, r.plan.attribution);
    const QImage image = RenderChartImage(scene, QSize(1000, 700));
    for (const TProvince& p : data.items) {
        const auto shape = std::find_if(scene.movie->regions.begin(), scene.movie->regions.end(),
                                        [&](const MovieShape& s) { return s.key == p.ShortName; });
        ASSERT_NE(shape, scene.movie->regions.end()) << p.ShortName.toStdString();
        const QColor want(QRgb(static_cast<uint32_t>(p.Color)));
        EXPECT_TRUE(Near(tolvane::test::ColorAt(image, scene, shape->label), want))
            << p.Name.toStdString();
    }
}

TEST(AddMap, TinyRegionsAndRegionsAcrossTheAntimeridianAreKept) {
    // Two islands either side of 180° and a speck far below one step of the map's grid.
    TempAppFolder app;
    app.write("islands.geojson", R"({"type":"FeatureCollection","features":[
        {"type":"Feature","properties":{"name":"West"},"geometry":{"type":"Polygon",
         "coordinates":[[[179,-17],[179.9,-17],[179.9,-16],[179,-16],[179,-17]]]}},
        {"type":"Feature","properties":{"name":"East"},"geometry":{"type":"Polygon",
         "coordinates":[[[-179.9,-17],[-179,-17],[-179,-16],[-179.9,-16],[-179.9,-17]]]}},
        {"type":"Feature","properties":{"name":"Speck"},"geometry":{"type":"Polygon",
         "coordinates":[[[179.5,-16.5],[179.5000001,-16.5],[179.5,-16.4999999],[179.5,-16.5]]]}}
        ]})");
    const AddedResult r = AddMapFromFile(app.path(), app.path() + "islands.geojson", {}, {});
    // Centred near 180°, to a tenth of a degree.
    const QString centre =
        r.plan.projection.section(QStringLiteral("+lon_0="), 1).section(u' ', 0, 0);
    EXPECT_TRUE(r.plan.projection.startsWith("+proj=laea +lat_0=-16.5 "));
    EXPECT_NEAR(std::abs(centre.toDouble()), 180, 0.15) << r.plan.projection.toStdString();
    EXPECT_EQ(r.converted.tooSmall, QStringList{"Speck"});
    const auto movie = LoadMapMovie(app.dataPath("islands.map"));
    ASSERT_EQ(RegionNames(*movie), (QStringList{"East", "Speck", "West"}));
    EXPECT_FALSE(movie->regions[1].hasArea);
    EXPECT_LT(movie->viewBox.width(), 300e3) << "the map spans the globe";
    ChartModel model;
    model.appFolder = app.path();
    MapPageState page;
    LoadRegionChart(model, page, "islands");
    EXPECT_EQ(model.regions.size(), 3u);
    EXPECT_TRUE(LoadChartScene(model.stagedMoviePath()).match.unmatchedRegions.isEmpty());
}

TEST(AddMap, PointLayerBecomesCityMap) {
    TempAppFolder app;
    ImportChoices choices;
    choices.layer = "towns";
    const AddedResult r = AddMapFromFile(app.path(), Fixture("regions.gpkg"), choices, {});
    EXPECT_EQ(r.map.kind, AddedMapKind::City);
    EXPECT_EQ(r.plan.shortField, "state");
    EXPECT_EQ(r.converted.renamed, QStringList{"“Neustadt” in Nord is also “Neustadt (2)”"});
    const auto movie = LoadMapMovie(app.dataPath("towns.map"));
    EXPECT_EQ(movie->kind, MovieKind::City);
    ASSERT_EQ(movie->cities.size(), 6u);

    ChartModel model;
    model.appFolder = app.path();
    model.currentMapName = "towns";
    CityPageState page;
    int32_t border = 0;
    LoadCityChart(model, page, border, "towns");
    ASSERT_EQ(model.regions.size(), 6u);
    EXPECT_EQ(model.regions[2].Name, "Neustadt");
    EXPECT_EQ(model.regions[2].Country, "Süd");
    const ChartScene scene = LoadChartScene(model.stagedMoviePath());
    EXPECT_TRUE(scene.match.unmatchedCities.isEmpty());
    const QImage image = RenderChartImage(scene, QSize(1000, 700));
    for (const MovieCity& c : scene.movie->cities)
        EXPECT_TRUE(
            Near(tolvane::test::ColorAt(image, scene, c.position), QColor(0xF4, 0x6D, 0x43), 12))
            << c.name.toStdString();
}

TEST(AddMap, BadInputIsRefusedWithNothingWritten) {
    TempAppFolder app;
    app.write("data/notes.geojson", "this is no map");
    app.write("data/unnamed.geojson",
              R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{},)"
              R"("geometry":{"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]}}]})");
    const QStringList before = DataFiles(app);
    const auto refusal = [&](const QString& path, ImportChoices choices = {}, size_t budget = 0,
                             Progress progress = {}) -> std::string {
        try {
            AddMapFromFile(app.path(), path, choices, progress, budget);
        } catch (const UserError& e) {
            EXPECT_EQ(DataFiles(app), before) << e.message().toStdString();
            return e.message().toStdString();
        }
        ADD_FAILURE() << "added " << path.toStdString();
        return {};
    };
    EXPECT_EQ(refusal(Fixture("roads.geojson")),
              "The layer “roads” has no polygons or points (only lines): there is nothing to draw "
              "a region or a city from.");
    EXPECT_EQ(refusal(app.dataPath("notes.geojson")),
              "“notes.geojson” is not a GeoJSON, TopoJSON, Shapefile or GeoPackage file.");
    EXPECT_EQ(refusal(app.dataPath("unnamed.geojson")),
              "The layer “unnamed” has no field that could name its regions (it has no fields).");
    ImportChoices wrongField;
    wrongField.nameField = "nom";
    EXPECT_EQ(refusal(Fixture("districts.shp"), wrongField),
              "The layer “districts” has no field “nom”. Its fields: name, code, note.");
    EXPECT_NE(refusal(Fixture("districts.geojson"), {}, 1000).find("is too large to convert"),
              std::string::npos);
    EXPECT_EQ(refusal(Fixture("districts.geojson"), {}, 0,
                      [](const QString& step, int64_t, int64_t) {
                          return step != "Simplifying borders";
                      }),
              "Adding the map was cancelled.");
    // A damaged list of added maps stops the adding before any map file is written.
    app.write("data/addedmaps.xml", "<addedmaps><map>");
    const QStringList withList = DataFiles(app);
    EXPECT_THROW(AddMapFromFile(app.path(), Fixture("districts.geojson"), {}, {}), UserError);
    EXPECT_EQ(DataFiles(app), withList);
}

TEST(AddMap, AddedMapsAreListedAfterOneAnotherAndCanBeRemoved) {
    TempAppFolder app;
    app.copyShipped("Germany.map");
    app.copyShipped("Germany.xml");
    ImportChoices choices;
    choices.title = "Germany";
    AddMapFromFile(app.path(), Fixture("districts.geojson"), choices, {});
    choices.layer = "towns";
    choices.title = "province"; // a file the program writes for itself
    AddMapFromFile(app.path(), Fixture("regions.gpkg"), choices, {});
    const std::vector<AddedMap> maps = LoadAddedMaps(app.path());
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].stem, "Germany 2");
    EXPECT_EQ(maps[0].title, "Germany");
    EXPECT_EQ(maps[0].kind, AddedMapKind::Region);
    EXPECT_EQ(maps[0].source, "districts.geojson, layer districts");
    EXPECT_EQ(maps[1].stem, "province 2");
    EXPECT_EQ(maps[1].kind, AddedMapKind::City);

    EXPECT_THROW(RemoveAddedMap(app.path(), "Germany"), UserError); // shipped: stays
    EXPECT_TRUE(app.exists("data/Germany.map"));
    RemoveAddedMap(app.path(), "Germany 2");
    EXPECT_FALSE(app.exists("data/Germany 2.map"));
    EXPECT_FALSE(app.exists("data/Germany 2.xml"));
    ASSERT_EQ(LoadAddedMaps(app.path()).size(), 1u);
    EXPECT_EQ(LoadAddedMaps(app.path())[0].stem, "province 2");
    // A map whose files were deleted by hand is not offered.
    QFile::remove(app.dataPath("province 2.map"));
    EXPECT_TRUE(LoadAddedMaps(app.path()).empty());
}
