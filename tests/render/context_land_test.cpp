// Context land runs to the edges of the map's area whatever the picture's proportions, stops
// at the margins (also in vector output, which cannot clip), and the legend stays legible on it.
#include "render/ChartRenderer.h"
#include "render/ChartStyle.h"
#include "render/PictureFile.h"
#include "render/RenderFixture.h"

#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

// The squares with land all around (-100..200 x -100..160, far beyond the view box) and a
// strip of land (40..60 x 62..120) whose outline runs down through the bottom margin.
QByteArray SquaresOnLand() {
    QByteArray movie = ReadFixture(QStringLiteral("squares.map"));
    movie.replace("[[164,30],[32,0],[0,40],[-32,0],[0,-40]]",
                  "[[-200,-200],[600,0],[0,520],[-600,0],[0,-520]],"
                  "[[80,124],[40,0],[0,116],[-40,0],[0,-116]]");
    movie.replace(R"({"type":"Polygon","arcs":[[6]],"properties":{"kind":"land"}})",
                  R"({"type":"Polygon","arcs":[[6]],"properties":{"kind":"land"}},)"
                  R"({"type":"Polygon","arcs":[[7]],"properties":{"kind":"land"}})");
    return movie;
}

struct LandChart {
    ChartFolder folder;
    ChartScene scene;

    explicit LandChart(const QByteArray& legend = QByteArray()) {
        folder.write(QStringLiteral("cmap.map"), SquaresOnLand());
        folder.write(QStringLiteral("province.xml"),
                     ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000), false, legend));
        scene = LoadChartScene(folder.path(QStringLiteral("cmap.map")));
    }
    QRectF mapFrame(QSize size) const {
        return MapPlacement(scene, QRectF(QPointF(0, 0), QSizeF(size)))
            ->mapRect(QRectF(0, 0, 100, 60));
    }
};

// The area the map may use: the picture inside its margins, a little more room kept below
// for the attribution line.
QRectF MapArea(QSize size) {
    const QRectF frame(QPointF(0, 0), QSizeF(size));
    const double u = ChartUnit(frame);
    return frame.adjusted(10 * u, 10 * u, -10 * u, -14 * u);
}

QColor At(const QImage& image, QPointF p) {
    return image.pixelColor(p.toPoint());
}

// Checks land just inside each edge of the area the view box leaves free, and paper in the
// margins beyond.
void ExpectLandToTheAreaEdges(const QImage& image, const QRectF& map, const QRectF& area,
                              const char* what) {
    const double y = map.center().y(), x = map.center().x();
    if (map.left() - area.left() > 6) {
        EXPECT_TRUE(Near(At(image, {(area.left() + map.left()) / 2, y}), palette::kLand, 3))
            << what << ": beside the view box, on the left";
        EXPECT_TRUE(Near(At(image, {area.left() + 1.5, y}), palette::kLand, 3)) << what;
        EXPECT_TRUE(Near(At(image, {area.right() - 1.5, y}), palette::kLand, 3)) << what;
    }
    if (map.top() - area.top() > 6) {
        EXPECT_TRUE(Near(At(image, {x, (area.top() + map.top()) / 2}), palette::kLand, 3))
            << what << ": above the view box";
        EXPECT_TRUE(Near(At(image, {x, area.bottom() - 1.5}), palette::kLand, 3)) << what;
    }
    EXPECT_TRUE(Near(At(image, area.topLeft() + QPointF(1.5, 1.5)), palette::kLand, 3)) << what;
    EXPECT_TRUE(Near(At(image, area.bottomRight() - QPointF(1.5, 1.5)), palette::kLand, 3)) << what;
    // The margins stay paper on every side.
    const QColor white(255, 255, 255);
    EXPECT_TRUE(Near(At(image, {x, area.top() / 2}), white, 1)) << what << ": top margin";
    EXPECT_TRUE(Near(At(image, {area.left() / 2, y}), white, 1)) << what << ": left margin";
    EXPECT_TRUE(Near(At(image, {(area.right() + image.width()) / 2.0, y}), white, 1))
        << what << ": right margin";
    EXPECT_TRUE(Near(At(image, {area.left() + 3, area.bottom() + 3}), white, 1))
        << what << ": bottom margin";
}

} // namespace

TEST(ContextLand, RunsToTheEdgesOfTheMapAreaInWideAndTallPictures) {
    const LandChart chart;
    // Wider than the view box (land beside it), taller (land above and below), and the
    // preview's proportions.
    for (const QSize size : {QSize(500, 350), QSize(300, 500), QSize(793, 308)}) {
        const QImage image = RenderChartImage(chart.scene, size);
        const QRectF map = chart.mapFrame(size);
        const QRectF area = MapArea(size);
        ASSERT_TRUE(area.contains(map));
        ASSERT_TRUE(map.left() - area.left() > 6 || map.top() - area.top() > 6)
            << "the picture leaves room around the view box";
        ExpectLandToTheAreaEdges(
            image, map, area,
            qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        // The regions lie on top of the land.
        EXPECT_TRUE(Near(ColorAt(image, chart.scene, {20, 30}), QColor(255, 0, 0)));
        EXPECT_TRUE(Near(ColorAt(image, chart.scene, {60, 30}), QColor(255, 255, 255)))
            << "a region without data covers the land beneath it";
    }
}

TEST(ContextLand, OutlinesOfLandStopAtTheMargin) {
    const LandChart chart;
    const QSize size(500, 350);
    const QImage image = RenderChartImage(chart.scene, size);
    const QRectF area = MapArea(size);
    // The strip's left side (movie x = 40) runs down from below the view box through the
    // bottom of the area into the margin.
    const auto placement = MapPlacement(chart.scene, QRectF(image.rect()));
    const double x = placement->map(QPointF(40, 0)).x();
    const double stripTop = placement->map(QPointF(40, 62)).y();
    ASSERT_LT(stripTop + 4, area.bottom());
    auto darkest = [&](double y) {
        int gray = 255;
        for (int dx = -3; dx <= 3; ++dx)
            gray = std::min(gray, qGray(image.pixel(int(x) + dx, int(y))));
        return gray;
    };
    EXPECT_LT(darkest((stripTop + area.bottom()) / 2), qGray(palette::kLand.rgb()) - 5)
        << "the outline is drawn inside the area";
    EXPECT_EQ(darkest(area.bottom() + 3), 255) << "and not in the margin";
}

TEST(ContextLand, VectorPicturesCutLandToTheSameArea) {
    const LandChart chart;
    for (const QSize size : {QSize(500, 350), QSize(793, 308)}) {
        const EncodedPicture svg = EncodeChartPicture(chart.scene, PictureFormat::Svg, size);
        QSvgRenderer renderer(svg.bytes);
        ASSERT_TRUE(renderer.isValid());
        // The SVG painter cannot clip: whatever lies outside the area must have been cut away
        // from the shapes themselves, or it would show in the margins here.
        EXPECT_EQ(svg.bytes.count("clip-path"), 0);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        ExpectLandToTheAreaEdges(image, chart.mapFrame(size), MapArea(size), "svg");
    }
}

TEST(ContextLand, LegendOnLandStandsOnPaper) {
    const LandChart chart("<plegends><showplegend>-1</showplegend><plegendcount>1</plegendcount>"
                          "<plegend id=\"1\"><text>On land</text><color>41120</color></plegend>"
                          "</plegends>");
    const QImage image = RenderChartImage(chart.scene, QSize(500, 350));
    QRect swatch;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), QColor::fromRgb(0x00A0A0), 4))
                swatch = swatch.united(QRect(x, y, 1, 1));
    ASSERT_FALSE(swatch.isEmpty());
    ASSERT_TRUE(MapArea(image.size()).contains(swatch)) << "the legend stands on land";
    // Above and below the swatch (clear of its outline) and between it and its text: paper,
    // not land.
    const QColor white(255, 255, 255);
    const int middle = swatch.center().y();
    EXPECT_TRUE(Near(image.pixelColor(swatch.center().x(), swatch.top() - 4), white, 4));
    EXPECT_TRUE(Near(image.pixelColor(swatch.center().x(), swatch.bottom() + 4), white, 4));
    EXPECT_TRUE(Near(image.pixelColor(swatch.right() + 3, middle), white, 4));
    // The paper is only as large as the legend: further along its row the land goes on.
    bool landBeyond = false;
    for (int x = swatch.right(); x < int(MapArea(image.size()).right()); ++x)
        landBeyond = landBeyond || Near(image.pixelColor(x, middle), palette::kLand, 3);
    EXPECT_TRUE(landBeyond);
}
