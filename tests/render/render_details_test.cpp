// The pieces under the charts: the direct line stroker, the PNG bands, map placement and
// region names.
#include "render/BandedFill.h"
#include "render/ChartRenderer.h"
#include "render/ChartStyle.h"
#include "render/PictureFile.h"
#include "render/PngEncoder.h"
#include "render/RenderFixture.h"
#include "render/ThickLines.h"
#include "widgets/ChartPlayer.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <png.h>
#include <random>
#include <zlib.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

QImage White(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Rows of column x that are not white.
std::vector<int> InkedRows(const QImage& image, int x) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) rows.push_back(y);
    return rows;
}

// The pixels of a PNG decoded by zlib itself, which checks every chunk's CRC and the
// checksum of the whole stream (image decoders may let a wrong one pass). Filter "none"
// only, as the encoder writes.
QImage StrictlyDecodedPng(const QByteArray& png) {
    const auto be32 = [&png](qsizetype at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    if (!png.startsWith("\x89PNG\r\n\x1a\n")) return {};
    QByteArray stream;
    uint32_t width = 0, height = 0;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const uint32_t length = be32(at);
        const QByteArray type = png.mid(at + 4, 4);
        const QByteArray data = png.mid(at + 8, length);
        const auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + at + 4),
                               static_cast<uInt>(length + 4));
        if (crc != be32(at + 8 + length)) return {};
        if (type == "IHDR") {
            width = be32(at + 8);
            height = be32(at + 12);
        } else if (type == "IDAT") {
            stream += data;
        }
        at += 12 + length;
    }
    const size_t rowBytes = 1 + 3 * size_t(width);
    QByteArray raw(qsizetype(rowBytes * height), 0);
    uLongf rawSize = uLongf(raw.size());
    if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                   reinterpret_cast<const Bytef*>(stream.constData()),
                   uLong(stream.size())) != Z_OK ||
        rawSize != uLongf(raw.size()))
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(raw.constData()) + y * rowBytes;
        if (row[0] != 0) return {};
        for (uint32_t x = 0; x < width; ++x)
            image.setPixel(int(x), int(y), qRgb(row[1 + 3 * x], row[2 + 3 * x], row[3 + 3 * x]));
    }
    return image;
}

// The pixels as libpng reads them: a decoder that is not Qt's, the one most programs use.
QImage LibpngDecoded(const QByteArray& png) {
    png_image info{};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, png.constData(), size_t(png.size()))) return {};
    info.format = PNG_FORMAT_BGRA; // QImage's RGB32 in memory, alpha set to opaque
    QImage image(int(info.width), int(info.height), QImage::Format_RGB32);
    if (!png_image_finish_read(&info, nullptr, image.bits(), int(image.bytesPerLine()), nullptr))
        return {};
    return image;
}

} // namespace

TEST(ThickLines, WidthIsCentredOnTheLineAndSolidInside) {
    QImage image = White({40, 20});
    {
        ThickLineMask mask(image.size(), 4);
        mask.addPolyline(QPolygonF({QPointF(5, 10), QPointF(35, 10)}), QTransform());
        mask.composite(image, Qt::black);
    }
    // A 4-pixel line on y = 10 covers rows 8..11 whole and fades in the rows beside them.
    EXPECT_EQ(image.pixel(20, 9), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(20, 10), qRgb(0, 0, 0));
    const std::vector<int> rows = InkedRows(image, 20);
    EXPECT_GE(rows.front(), 7);
    EXPECT_LE(rows.back(), 12);
    // Round caps: nothing far beyond the ends.
    EXPECT_EQ(image.pixel(1, 10), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(38, 10), qRgb(255, 255, 255));
}

TEST(ThickLines, JoinsNeitherGapNorDarkenAndTranslucentInkBlendsOnce) {
    QImage image = White({40, 40});
    {
        ThickLineMask mask(image.size(), 3);
        // A sharp corner, drawn as two segments meeting at (30, 10).
        mask.addPolyline(QPolygonF({QPointF(5, 10), QPointF(30, 10), QPointF(5, 35)}),
                         QTransform());
        mask.composite(image, QColor(0, 0, 255, 128));
    }
    // Where both segments cover a pixel it is blended once, like anywhere else on the line.
    EXPECT_EQ(image.pixel(30, 10), image.pixel(15, 10));
    EXPECT_NEAR(qRed(image.pixel(15, 10)), 127, 2);
    EXPECT_EQ(qBlue(image.pixel(15, 10)), 255);
}

TEST(ThickLines, ClipAndReusedBuffersLeaveNoTraces) {
    QImage first = White({50, 30});
    {
        ThickLineMask mask(first.size(), 2);
        mask.addPolyline(QPolygonF({QPointF(0, 15), QPointF(50, 15)}), QTransform());
        mask.composite(first, Qt::black, QRect(10, 0, 20, 30));
    }
    EXPECT_EQ(first.pixel(5, 15), qRgb(255, 255, 255)) << "outside the clip";
    EXPECT_EQ(first.pixel(20, 15), qRgb(0, 0, 0));
    // The next mask of that size gets the same buffer back: it must start empty.
    QImage second = White({50, 30});
    {
        ThickLineMask mask(second.size(), 2);
        mask.addPolyline(QPolygonF({QPointF(25, 0), QPointF(25, 30)}), QTransform());
        mask.composite(second, Qt::black);
    }
    EXPECT_EQ(second.pixel(5, 15), qRgb(255, 255, 255));
    EXPECT_EQ(second.pixel(25, 5), qRgb(0, 0, 0));
}

TEST(BandedFill, LaysThePixelsOfOneFillOfTheWholeShape) {
    // A detailed coast with a lake, filled band by band, against one fill of all of it.
    MapMovie movie;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> wobble(-6, 6);
    for (const double radius : {300.0, 90.0}) {
        for (int i = 0; i <= 3000; ++i) {
            const double a = 2 * M_PI * (i % 3000) / 3000;
            const double r = radius + (i % 3000 ? wobble(random) : 0);
            movie.rings.points.emplace_back(310 + r * std::cos(a), 330 + r * std::sin(a));
        }
        movie.rings.endRun();
    }
    MovieShape shape;
    shape.ringCount = 2;
    shape.bounds = QRectF(0, 20, 620, 620);
    const auto draw = [&](bool banded) {
        QImage image(700, 700, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 90, 160));
        painter.setTransform(QTransform::fromTranslate(12.3, -4.7).scale(1.07, 1.03));
        if (banded) {
            EXPECT_TRUE(BandedFill::Fits(painter));
            EXPECT_TRUE(BandedFill().fill(painter, movie, shape));
            EXPECT_FALSE(painter.hasClipping());
        } else {
            painter.drawPath(movie.path(shape));
        }
        return image;
    };
    EXPECT_EQ(draw(true), draw(false));
}

TEST(PngEncoding, BandsJoinIntoOneImageAtAnyHeight) {
    // Heights around where the rows split into bands; noise that does not pack at all makes
    // the compressors' output outgrow its first buffer.
    std::mt19937 noise(7);
    for (const int height : {1, 95, 96, 97, 257, 1401, -700}) {
        const int h = std::abs(height), w = height < 0 ? 900 : 37;
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y,
                               height < 0 ? static_cast<QRgb>(noise()) | 0xFF000000u
                                          : qRgb((x * 7) & 255, (y * 3) & 255, (x ^ y) & 255));
        const QByteArray png = EncodePng(image);
        const QImage back = QImage::fromData(png, "PNG");
        ASSERT_FALSE(back.isNull()) << height;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image) << height;
        EXPECT_EQ(StrictlyDecodedPng(png), image) << height << ": checksums over all bands";
        EXPECT_EQ(LibpngDecoded(png), image) << height;
    }
}

TEST(MapPlacement, KeepsProportionsAndCentresTheMap) {
    ChartFolder folder;
    folder.write(QStringLiteral("province.xml"), ProvinceXml(QByteArray()));
    const ChartScene scene = LoadChartScene(folder.copyFixture(QStringLiteral("squares.map")));
    for (const QSizeF size : {QSizeF(500, 350), QSizeF(300, 600), QSizeF(2000, 400)}) {
        const QRectF frame(QPointF(0, 0), size);
        const auto t = MapPlacement(scene, frame);
        ASSERT_TRUE(t);
        EXPECT_DOUBLE_EQ(t->m11(), t->m22()) << "no stretching";
        const QRectF map = t->mapRect(QRectF(0, 0, 100, 60));
        EXPECT_TRUE(frame.contains(map));
        EXPECT_NEAR(map.center().x(), frame.center().x(), 0.5);
        // Centred above the attribution line, and as large as the margins allow.
        const double u = ChartUnit(frame);
        EXPECT_NEAR(map.center().y(), frame.center().y() - 2 * u, 0.5);
        EXPECT_TRUE(std::abs(map.width() - (size.width() - 20 * u)) < 0.5 ||
                    std::abs(map.height() - (size.height() - 24 * u)) < 0.5);
    }
    EXPECT_FALSE(MapPlacement(ChartScene(), QRectF(0, 0, 500, 350)));
}

TEST(RegionNames, ShownOnlyWhenAskedAndLegibleOnDarkFills) {
    ChartFolder folder;
    const QString movie = folder.copyFixture(QStringLiteral("squares.map"));
    const QByteArray regions = Province(1, "Alpha", "AA", 0x102040) +
                               Province(2, "Beta", "BB", 0xF0F0C0) +
                               Province(3, "Gamma", "CC", 0xF0F0C0);
    auto draw = [&](bool names) {
        folder.write(QStringLiteral("province.xml"), ProvinceXml(regions, names));
        const ChartScene scene = LoadChartScene(movie);
        return std::make_pair(scene, RenderChartImage(scene, QSize(1000, 700)));
    };
    const auto [withScene, with] = draw(true);
    const auto [withoutScene, without] = draw(false);
    const QRect alpha =
        MapPlacement(withScene, QRectF(with.rect()))->mapRect(QRectF(10, 15, 20, 10)).toRect();
    const QRect beta =
        MapPlacement(withScene, QRectF(with.rect()))->mapRect(QRectF(50, 15, 20, 10)).toRect();
    int light = 0, dark = 0, changed = 0;
    for (int y = alpha.top(); y <= alpha.bottom(); ++y)
        for (int x = alpha.left(); x <= alpha.right(); ++x) {
            light += qGray(with.pixel(x, y)) > 200 ? 1 : 0;
            changed += with.pixel(x, y) != without.pixel(x, y) ? 1 : 0;
        }
    for (int y = beta.top(); y <= beta.bottom(); ++y)
        for (int x = beta.left(); x <= beta.right(); ++x)
            dark += qGray(with.pixel(x, y)) < 60 ? 1 : 0;
    EXPECT_GT(light, 20) << "light letters on the dark region";
    EXPECT_GT(dark, 20) << "dark letters on the light region";
    EXPECT_GT(changed, 40);
    EXPECT_EQ(with.size(), without.size());
}

TEST(ChartPlayer, PictureFollowsTheWidgetSize) {
    ChartFolder folder;
    folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000)));
    ChartPlayer player;
    player.resize(400, 300);
    player.loadMovie(0, folder.copyFixture(QStringLiteral("squares.map")));
    player.play();
    EXPECT_EQ(player.picture().size(), QSize(400, 300));
    player.resize(793, 308);
    EXPECT_EQ(player.picture().size(), QSize(793, 308));
    EXPECT_TRUE(Near(ColorAt(player.picture(), player.scene(), {20, 30}), QColor(255, 0, 0)));
}

// A map of 7,000 small squares drawn at 500 x 350: each is under five pixels wide.
TEST(DenseMaps, BordersThinWhereRegionsAreSmallOnThePicture) {
    constexpr int kCols = 100, kRows = 70;
    QByteArray arcs, geometries;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const int k = r * kCols + c;
            if (k) arcs += ',', geometries += ',';
            arcs += "[[" + QByteArray::number(c) + ',' + QByteArray::number(r) +
                    "],[1,0],[0,1],[-1,0],[0,-1]]";
            geometries += "{\"type\":\"Polygon\",\"arcs\":[[" + QByteArray::number(k) +
                          "]],\"properties\":{\"key\":\"R" + QByteArray::number(k) + "\"}}";
        }
    ChartFolder folder;
    const QString movie =
        folder.write(QStringLiteral("dense.map"),
                     "{\"type\":\"Topology\",\"transform\":{\"scale\":[1,1],\"translate\":[0,0]},"
                     "\"tolvane\":{\"kind\":\"region\",\"viewBox\":[0,0,100,70]},"
                     "\"arcs\":[" +
                         arcs +
                         "],\"objects\":{\"regions\":{\"type\":\"GeometryCollection\","
                         "\"geometries\":[" +
                         geometries + "]}}}");
    folder.write(QStringLiteral("province.xml"),
                 "<?xml version=\"1.0\"?>\n<provinces><regions>7000</regions><border>0</border>"
                 "<showtext>0</showtext></provinces>");
    const ChartScene scene = LoadChartScene(movie);
    ASSERT_EQ(scene.movie->regions.size(), size_t(kCols * kRows));
    const QImage image = RenderChartImage(scene, QSize(500, 350));
    const QRect map =
        MapPlacement(scene, QRectF(image.rect()))->mapRect(QRectF(10, 10, 80, 50)).toRect();
    double ink = 0;
    for (int y = map.top(); y <= map.bottom(); ++y)
        for (int x = map.left(); x <= map.right(); ++x)
            ink += 1 - qGray(image.pixel(x, y)) / 255.0;
    // Borders a pixel wide would cover over a third of it with black: the colours would not show.
    EXPECT_LT(ink / (map.width() * map.height()), 0.3);

    // Regions large on the picture keep borders of the usual width.
    EXPECT_EQ(RegionBorder(4, QRectF(0, 0, 1800, 1200), 250).width, BorderWidth(4));
    EXPECT_LT(RegionBorder(4, QRectF(0, 0, 1800, 1200), 200000).width, 1.0);

    // About a pixel each, the regions show their colours whole: no border greys them, and
    // no pixel is missed between them. Half a pixel each, a pixel blends the regions in it:
    // a checkerboard is no pattern of pure squares but an even mix.
    const auto colouredScene = [&](bool checkered) {
        QByteArray provinces;
        for (int k = 0; k < kCols * kRows; ++k) {
            const QByteArray key = "R" + QByteArray::number(k);
            const bool odd = checkered && (k / kCols + k % kCols) % 2;
            provinces +=
                Province(k + 1, key.constData(), key.constData(), odd ? 0x0000FF : 0xCC3311);
        }
        folder.write(QStringLiteral("province.xml"), ProvinceXml(provinces));
        return LoadChartScene(movie);
    };
    const auto inside = [&](const ChartScene& s, const QImage& picture) {
        return MapPlacement(s, QRectF(picture.rect()))
            ->mapRect(QRectF(1, 1, kCols - 2, kRows - 2))
            .toRect();
    };
    const ChartScene plain = colouredScene(false);
    const QImage small = RenderChartImage(plain, QSize(110, 77));
    const QRect area = inside(plain, small);
    ASSERT_GT(area.width(), 80);
    int other = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            other += small.pixel(x, y) != qRgb(0xCC, 0x33, 0x11);
    EXPECT_EQ(other, 0);

    const ChartScene checkered = colouredScene(true);
    const QImage tiny = RenderChartImage(checkered, QSize(55, 39));
    const QRect tinyArea = inside(checkered, tiny);
    int pure = 0;
    double blue = 0;
    for (int y = tinyArea.top(); y <= tinyArea.bottom(); ++y)
        for (int x = tinyArea.left(); x <= tinyArea.right(); ++x) {
            const QRgb p = tiny.pixel(x, y);
            pure += p == qRgb(0, 0, 0xFF) || p == qRgb(0xCC, 0x33, 0x11);
            blue += qBlue(p) / 255.0;
        }
    EXPECT_EQ(pure, 0);
    EXPECT_NEAR(blue / (tinyArea.width() * tinyArea.height()), 0.5, 0.1);
}
