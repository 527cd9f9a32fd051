// Files a user (or a damaged disk) can hand the renderer: texts no font covers, texts of any
// length, shapes far outside the map, movies that name one outline endlessly. Each must
// give a picture or a clear error, never a crash, a hang or all the memory.
#include "model/UserError.h"
#include "render/ChartRenderer.h"
#include "render/ChartStyle.h"
#include "render/MapMovie.h"
#include "render/RenderFixture.h"
#include "render/ThickLines.h"

#include <gtest/gtest.h>
#include <set>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QSize kSize(500, 350);

QImage DrawSquares(const ChartFolder& folder, const QByteArray& staged,
                   ChartScene* scene = nullptr) {
    folder.write(QStringLiteral("cmap.map"), SquaresAs("region"));
    folder.write(QStringLiteral("province.xml"), staged);
    const ChartScene s = LoadChartScene(folder.path(QStringLiteral("cmap.map")));
    if (scene) *scene = s;
    return RenderChartImage(s, kSize);
}

QByteArray Legend(const QByteArray& text) {
    return "<plegends><showplegend>-1</showplegend><plegendcount>1</plegendcount>"
           "<plegend id=\"1\"><text>" +
           text + "</text><color>41120</color></plegend></plegends>";
}

// Dark pixels (text ink) in a rectangle of the picture.
int InkIn(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
    return n;
}

} // namespace

TEST(HostileInput, TextsNoFontCoversAreDrawnAsBoxes) {
    ChartFolder folder;
    // Thaana and Devanagari: the machines we test on have no font for them.
    const QByteArray thaana = "\xde\x8b\xde\xa8\xde\x88\xde\xac\xde\x80\xde\xa8";
    const QByteArray devanagari = "\xe0\xa4\xb9\xe0\xa4\xbf\xe0\xa4\xa8\xe0\xa5\x8d";
    ChartScene scene;
    const QImage image =
        DrawSquares(folder,
                    ProvinceXml(Province(1, thaana.constData(), "AA", 0xFFFFFF) +
                                    Province(2, devanagari.constData(), "BB", 0xFFFFFF),
                                true, Legend(thaana + " " + devanagari)),
                    &scene);
    ASSERT_EQ(image.size(), kSize);
    // Something stands where each name goes, and beside the legend's swatch.
    const QTransform place = *MapPlacement(scene, QRectF(image.rect()));
    for (const QPointF label : {QPointF(20, 20), QPointF(60, 20)}) {
        const QPoint c = place.map(label).toPoint();
        EXPECT_GT(InkIn(image, QRect(c - QPoint(30, 8), c + QPoint(30, 8))), 10) << label.x();
    }
    const QRect map = place.mapRect(QRectF(0, 0, 100, 60)).toAlignedRect();
    const QRect besideMap(map.right() + 1, 0, image.width() - map.right() - 1, image.height());
    const QRect belowMap(0, map.bottom() + 1, image.width(), image.height() - map.bottom() - 1);
    EXPECT_GT(InkIn(image, besideMap) + InkIn(image, belowMap), 10) << "the legend text";
}

TEST(HostileInput, TextOfAnyLengthCostsNoMoreThanWhatCanBeShown) {
    const QFont font = ChartFont(8);
    const QFontMetricsF fm(font);
    const QString huge(700000, u'W');
    const QString fitted = FittedText(huge, fm, 200);
    EXPECT_TRUE(fitted.endsWith(QChar(0x2026)));
    EXPECT_LE(fm.horizontalAdvance(fitted), 200);
    EXPECT_LT(fitted.size(), 200);
    EXPECT_FALSE(MayFit(huge, fm, 5000));
    EXPECT_TRUE(MayFit(QStringLiteral("Hessen"), fm, 5000));
    // A cut never splits a character outside the basic plane.
    const QString emoji = QString::fromUtf8("\xf0\x9f\x8c\x8d").repeated(100000);
    const QString cut = FittedText(emoji, fm, 100, Qt::ElideMiddle);
    EXPECT_FALSE(cut.isEmpty());
    for (qsizetype i = 0; i < cut.size(); ++i)
        EXPECT_TRUE(!cut[i].isHighSurrogate() ||
                    (i + 1 < cut.size() && cut[i + 1].isLowSurrogate()));

    // The legend keeps to the picture and leaves the map its room.
    ChartFolder folder;
    ChartScene scene;
    const QImage image =
        DrawSquares(folder,
                    ProvinceXml(Province(1, QByteArray(700000, 'N').constData(), "AA", 0xFF0000),
                                true, Legend(QByteArray(700000, 'x'))),
                    &scene);
    const QRectF map = MapPlacement(scene, QRectF(image.rect()))->mapRect(QRectF(0, 0, 100, 60));
    EXPECT_GT(map.width(), kSize.width() * 0.4);
    EXPECT_GT(CountColor(image, QColor::fromRgb(0x00A0A0)), 40) << "the swatch is in the picture";
}

TEST(HostileInput, ShapesFarOutsideTheMapAreHatchedOnlyWhereSeen) {
    ChartFolder folder;
    for (const char* far : {"1e18", "10000"}) {
        const QString movie = folder.write(
            QStringLiteral("cmap.map"),
            QByteArray(R"({"type":"Topology","tolvane":{"kind":"region","viewBox":[0,0,100,60]},
              "arcs":[[[0,0],[)") +
                far +
                R"(,0],[40,40],[0,40],[0,0]]],"objects":{"regions":{"type":"GeometryCollection",
              "geometries":[{"type":"Polygon","arcs":[[0]],"properties":{"key":"AA"}}]}}})");
        folder.write(QStringLiteral("province.xml"),
                     ProvinceXml(Province(1, "Alpha", "AA", 0xFFFFC0, 10)));
        const ChartScene scene = LoadChartScene(movie);
        ASSERT_TRUE(scene.movie) << far;
        const QImage image = RenderChartImage(scene, kSize);
        const QPoint inside =
            MapPlacement(scene, QRectF(image.rect()))->map(QPointF(10, 30)).toPoint();
        std::set<QRgb> seen;
        for (int y = inside.y() - 6; y <= inside.y() + 6; ++y)
            for (int x = inside.x() - 6; x <= inside.x() + 6; ++x)
                seen.insert(image.pixel(x, y));
        EXPECT_GE(seen.size(), 2u) << far << ": hatched";
    }
}

TEST(HostileInput, AMovieThatRepeatsAnOutlineEndlesslyIsRefused) {
    // One arc of 20,000 points, named 100,000 times by one ring: 330 KB that would expand
    // to two thousand million points.
    QByteArray arc = "[[0,0]";
    for (int i = 0; i < 20000; ++i)
        arc += ",[1,0]";
    arc += "]";
    QByteArray ring = "[0";
    for (int i = 1; i < 100000; ++i)
        ring += ",0";
    ring += "]";
    const QByteArray movie =
        R"({"type":"Topology","transform":{"scale":[1,1],"translate":[0,0]},"arcs":[)" + arc +
        R"(],"objects":{"regions":{"type":"GeometryCollection","geometries":[)"
        R"({"type":"Polygon","arcs":[)" +
        ring + R"(],"properties":{"key":"AA"}}]}}})";
    try {
        ParseMapMovie(movie);
        FAIL() << "decoded";
    } catch (const UserError& e) {
        EXPECT_TRUE(e.message().contains("repeat their outlines")) << e.message().toStdString();
    }
    // Each arc used on both of its sides, as in every map, is fine.
    EXPECT_NO_THROW(ParseMapMovie(ReadFixture(QStringLiteral("squares.map"))));
}

TEST(HostileInput, LinesFromFarAwayDrawTheirVisiblePart) {
    QImage image(50, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    ThickLineMask mask(image.size(), 2);
    mask.addPolyline(QPolygonF({QPointF(-1e18, 10), QPointF(1e18, 10)}), QTransform());
    mask.addPolyline(QPolygonF({QPointF(3e38, 3e38), QPointF(NAN, 5), QPointF(-3e38, 1e300)}),
                     QTransform());
    mask.composite(image, Qt::black);
    EXPECT_EQ(image.pixel(25, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(25, 3), qRgb(255, 255, 255));
}
