#include "model/UserError.h"
#include "render/JsonReader.h"
#include "render/MapMovie.h"
#include "render/RenderFixture.h"

#include <QDateTime>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

std::shared_ptr<const MapMovie> Parse(const QByteArray& json) {
    return ParseMapMovie(json);
}

const MovieShape& Shape(const MapMovie& movie, const char* key) {
    for (const MovieShape& s : movie.regions)
        if (s.key == QLatin1String(key)) return s;
    throw std::runtime_error("no such shape");
}

} // namespace

TEST(MovieLoader, DecodesQuantizedDeltaArcsIntoRegions) {
    const auto movie = Parse(ReadFixture(QStringLiteral("squares.map")));
    EXPECT_EQ(movie->kind, MovieKind::Region);
    EXPECT_EQ(movie->title, u"Squares");
    EXPECT_EQ(movie->attribution, u"Test shapes");
    EXPECT_EQ(movie->viewBox, QRectF(0, 0, 100, 60));
    ASSERT_EQ(movie->regions.size(), 3u);

    const MovieShape& alpha = Shape(*movie, "AA");
    EXPECT_EQ(alpha.name, u"Alpha");
    EXPECT_EQ(alpha.bounds, QRectF(0, 0, 40, 40)); // quantized 0.5 steps, deltas summed
    EXPECT_EQ(alpha.label, QPointF(20, 20));       // labels are not quantized
    EXPECT_TRUE(movie->contains(alpha, QPointF(20, 20)));
    EXPECT_FALSE(movie->contains(alpha, QPointF(60, 20)));
}

TEST(MovieLoader, ReversedArcClosesTheNeighbourRing) {
    const auto movie = Parse(ReadFixture(QStringLiteral("squares.map")));
    const MovieShape& beta = Shape(*movie, "BB");
    EXPECT_EQ(beta.bounds, QRectF(40, 0, 40, 40));
    // Beta's ring walks the shared edge backwards (~0): just inside that edge is Beta's.
    EXPECT_TRUE(movie->contains(beta, QPointF(41, 20)));
    EXPECT_TRUE(movie->contains(beta, QPointF(79, 39)));
    EXPECT_FALSE(movie->contains(beta, QPointF(39, 20)));
}

TEST(MovieLoader, MultiPolygonKeepsItsHoleOpenAndItsIsland) {
    const auto movie = Parse(ReadFixture(QStringLiteral("squares.map")));
    const MovieShape& gamma = Shape(*movie, "CC");
    EXPECT_TRUE(movie->contains(gamma, QPointF(10, 52)));
    EXPECT_FALSE(movie->contains(gamma, QPointF(40, 52))) << "the hole";
    EXPECT_TRUE(movie->contains(gamma, QPointF(90, 5))) << "the island";
    EXPECT_EQ(gamma.bounds, QRectF(0, 0, 95, 60));
}

TEST(MovieLoader, BordersHoldEachRegionArcOnceAndNoContext) {
    const auto movie = Parse(ReadFixture(QStringLiteral("squares.map")));
    // Six arcs bound the regions (the shared edge among them, once); the context arc is
    // not a border.
    EXPECT_EQ(movie->borders.size(), 6u);
    ASSERT_EQ(movie->context.size(), 1u);
    EXPECT_EQ(movie->context[0].key, u"land");
    EXPECT_EQ(movie->context[0].bounds, QRectF(82, 15, 16, 20));
}

TEST(MovieLoader, CityPositionsAreQuantizedButNotDeltaEncoded) {
    const auto movie = Parse(ReadFixture(QStringLiteral("squares.map")));
    ASSERT_EQ(movie->cities.size(), 3u);
    EXPECT_EQ(movie->cities[0].name, u"Capital");
    EXPECT_EQ(movie->cities[0].position, QPointF(20, 20));
    EXPECT_EQ(movie->cities[2].region, u"Beta");
    EXPECT_EQ(movie->cities[2].position, QPointF(70, 30));
}

TEST(MovieLoader, ReadsUnquantizedTopologiesAndFindsMissingViewBoxAndLabel) {
    const auto movie =
        Parse(R"({"type":"Topology","arcs":[[[10.5,10],[30.5,10],[30.5,20],[10.5,20],[10.5,10]]],
        "objects":{"regions":{"type":"GeometryCollection","geometries":[
          {"type":"Polygon","arcs":[[0]],"properties":{"key":"X","name":"Ex"}}]}}})");
    EXPECT_EQ(movie->kind, MovieKind::Region) << "a movie without a kind but with regions";
    ASSERT_EQ(movie->regions.size(), 1u);
    EXPECT_EQ(movie->regions[0].bounds, QRectF(10.5, 10, 20, 10));
    EXPECT_EQ(movie->viewBox, QRectF(10.5, 10, 20, 10));
    EXPECT_TRUE(movie->contains(movie->regions[0], movie->regions[0].label));
}

TEST(MovieLoader, FlagAndBlankMovies) {
    const auto flag = Parse(
        R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"flag","style":"flag3"}})");
    EXPECT_EQ(flag->kind, MovieKind::Flag);
    EXPECT_EQ(flag->style, u"flag3");
    const auto blank =
        Parse(R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"blank"}})");
    EXPECT_EQ(blank->kind, MovieKind::Blank);
    EXPECT_TRUE(blank->regions.empty());
}

TEST(MovieLoader, DamagedFilesAreErrorsNotCrashes) {
    for (const char* bad :
         {"", "not json", "{\"type\":\"Topology\",\"arcs\":[[[1,2]]", "[1,2,3]",
          "{\"type\":\"FeatureCollection\"}", "{\"type\":\"Topology\",\"arcs\":[[[1]]]}"}) {
        EXPECT_THROW(Parse(bad), UserError) << bad;
    }
    // Nesting deep enough to exhaust the stack of a naive parser.
    const QByteArray deep =
        "{\"type\":\"Topology\",\"x\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + "}";
    EXPECT_THROW(Parse(deep), UserError);
}

TEST(MovieLoader, BadReferencesAndValuesSkipOnlyWhatTheyTouch) {
    const auto movie = Parse(R"({"type":"Topology","arcs":[[[0,0],[10,0],[10,10],[0,10],[0,0]]],
        "objects":{"regions":{"type":"GeometryCollection","geometries":[
          {"type":"Polygon","arcs":[[7]],"properties":{"key":"Bad"}},
          {"type":"Polygon","arcs":[["x"]],"properties":{"key":"Worse"}},
          {"type":"Polygon","arcs":[[0]],"properties":{"key":"Good","label":["a",null]}},
          {"type":null,"properties":{"key":"Empty"}}]},
        "cities":{"type":"GeometryCollection","geometries":[
          {"type":"Point","coordinates":["x",1],"properties":{"name":"Nowhere"}}]}}})");
    ASSERT_EQ(movie->regions.size(), 4u);
    EXPECT_FALSE(movie->regions[0].hasArea);
    EXPECT_FALSE(movie->regions[1].hasArea);
    EXPECT_TRUE(movie->regions[2].hasArea);
    EXPECT_TRUE(movie->contains(movie->regions[2], movie->regions[2].label));
    EXPECT_FALSE(movie->regions[3].hasArea);
    EXPECT_TRUE(movie->cities.empty());
}

TEST(MovieLoader, LargeMovieReadsItsObjectsOnAnotherCoreAlike) {
    // Past two megabytes the objects are read on another core from where they seem to begin:
    // also where that is a key's text, the regions come out whole and in order.
    const auto movie = [](const QByteArray& meta) {
        QByteArray arcs, geometries;
        for (int i = 0; i < 30000; ++i) {
            const QByteArray n = QByteArray::number(i);
            arcs += "[[" + QByteArray::number(i * 10) + ",0],[10,0],[0,10],[-10,0],[0,-10]],";
            geometries += R"({"type":"Polygon","arcs":[[)" + n + R"(]],"properties":{"key":"K)" +
                          n + R"(","name":"N\u00e9)" + n + R"("}},)";
        }
        arcs.chop(1);
        geometries.chop(1);
        return R"({"type":"Topology","transform":{"scale":[1,1],"translate":[0,0]},)" + meta +
               R"("arcs":[)" + arcs +
               R"(],"objects":{"regions":{"type":"GeometryCollection","geometries":[)" +
               geometries + "]}}}";
    };
    for (const QByteArray& meta :
         {QByteArray(), QByteArray(R"("tolvane":{"a\"objects":{"x":1},"title":"T"},)")}) {
        const QByteArray text = movie(meta);
        ASSERT_GT(text.size(), 2 << 20);
        const auto m = Parse(text);
        ASSERT_EQ(m->regions.size(), 30000u);
        EXPECT_EQ(m->regions[29999].key, u"K29999");
        EXPECT_EQ(m->regions[123].name, QString::fromUtf8("Né123"));
        EXPECT_EQ(m->regions[123].bounds, QRectF(1230, 0, 10, 10));
        EXPECT_EQ(m->borders.size(), 30000u);
    }
    // A fault after the objects is found all the same.
    EXPECT_THROW(Parse(movie({}) + ","), UserError);
}

TEST(MovieLoader, CacheFollowsContentNotPath) {
    ChartFolder folder;
    const QString path = folder.copyFixture(QStringLiteral("squares.map"));
    const auto first = LoadMapMovie(path);
    EXPECT_EQ(LoadMapMovie(path), first) << "unchanged file: the decoded movie again";
    folder.write(QStringLiteral("squares.map"), SquaresAs("city"));
    const auto second = LoadMapMovie(path);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->kind, MovieKind::City);
    EXPECT_THROW(LoadMapMovie(folder.path(QStringLiteral("missing.map"))), UserError);
}

TEST(MovieLoader, SettledFileIsKnownByItsStamp) {
    ChartFolder folder;
    const QString path = folder.write(QStringLiteral("old.map"), SquaresAs("city"));
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const auto setTime = [&](const QDateTime& time) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    };
    setTime(hourAgo);
    const auto first = LoadMapMovie(path);
    // Rewritten in place, as long, with its time put back: its stamp says unchanged, so it
    // is not read again.
    folder.write(QStringLiteral("old.map"), SquaresAs("flag"));
    setTime(hourAgo);
    EXPECT_EQ(LoadMapMovie(path), first);
    setTime(hourAgo.addSecs(1));
    EXPECT_EQ(LoadMapMovie(path)->kind, MovieKind::Flag);
}

TEST(JsonReader, ReadsWhatIsAskedAndChecksWhatItPassesOver) {
    JsonReader json(
        R"({"s":"caf\u00e9 \ud83c\udf0d \"q\"","n":[1,-2,3.5e2,"x"],"o":{"a":[{}]},"b":true})");
    ASSERT_TRUE(json.enterObject());
    std::string_view key, text;
    ASSERT_TRUE(json.nextKey(key));
    EXPECT_EQ(key, "s");
    ASSERT_TRUE(json.string(text));
    EXPECT_EQ(QString::fromUtf8(text.data(), qsizetype(text.size())),
              QString::fromUtf8("café 🌍 \"q\""));
    ASSERT_TRUE(json.nextKey(key));
    ASSERT_TRUE(json.enterArray());
    std::vector<double> numbers;
    int32_t whole = 0;
    for (double v = 0; json.next();)
        numbers.push_back(json.number(v) ? v : NAN);
    ASSERT_EQ(numbers.size(), 4u);
    EXPECT_EQ(numbers[1], -2.0);
    EXPECT_EQ(numbers[2], 350.0);
    EXPECT_TRUE(std::isnan(numbers[3])) << "a string passed over";
    ASSERT_TRUE(json.nextKey(key));
    EXPECT_FALSE(json.integer(whole)) << "an object passed over";
    bool flag = false;
    ASSERT_TRUE(json.nextKey(key));
    EXPECT_TRUE(json.boolean(flag) && flag);
    EXPECT_FALSE(json.nextKey(key));
    EXPECT_NO_THROW(json.finish());

    for (const char* bad : {R"({"a":[1,]})", R"({"a":{"b":[1 2]}})", R"({"a":"\q"})", "[1e999]"}) {
        JsonReader damaged(bad);
        EXPECT_THROW(damaged.skip(), JsonError) << bad;
    }
}
