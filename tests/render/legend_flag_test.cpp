// What a reader checks in a legend (which items, in what order, in how many columns, with
// their hatches) and in a flag chart (bars and flags in proportion to the values).
#include "platform/XmlDocument.h"
#include "render/ChartLayers.h"
#include "render/ChartRenderer.h"
#include "render/RenderFixture.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace tolvane;
using namespace tolvane::test;

namespace {

// A region chart scene whose legend holds `items` (colour and shade code) of which `count`
// are shown.
ChartScene LegendScene(const std::vector<std::pair<uint32_t, int>>& items, int count) {
    QByteArray legend = "<provinces><plegends><showplegend>-1</showplegend><plegendcount>" +
                        QByteArray::number(count) + "</plegendcount>";
    for (size_t i = 0; i < items.size(); ++i)
        legend += "<plegend id=\"" + QByteArray::number(i + 1) + "\"><text>item " +
                  QByteArray::number(i + 1) + "</text><color>" +
                  QByteArray::number(items[i].first) + "</color><shade>" +
                  QByteArray::number(items[i].second) + "</shade></plegend>";
    legend += "</plegends></provinces>";
    ChartScene scene;
    scene.movie = ParseMapMovie(SquaresAs("region"));
    scene.data = std::make_shared<const StagedChart>(
        ReadStagedChart(MovieKind::Region, XmlReader::fromBytes(legend, "t").root()));
    return scene;
}

// The box of the pixels of one colour.
QRect BoxOf(const QImage& image, const QColor& color, int tolerance = 3) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), color, tolerance)) box |= QRect(x, y, 1, 1);
    return box;
}

QImage PaintLegend(const LegendLayout& legend, int columns) {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    legend.paint(painter, QPointF(10, 10), columns);
    return image;
}

const QColor kBar(74, 111, 138), kNegativeBar(190, 84, 72);

// The box of everything drawn (not white).
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 250) box |= QRect(x, y, 1, 1);
    return box;
}

ChartScene FlagScene(const char* style, const QByteArray& items) {
    ChartScene scene;
    scene.movie = ParseMapMovie(QByteArray(R"({"type":"Topology","arcs":[],"objects":{},)"
                                           R"("tolvane":{"kind":"flag","style":")") +
                                style + "\"}}");
    scene.data = std::make_shared<const StagedChart>(ReadStagedChart(
        MovieKind::Flag, XmlReader::fromBytes("<charts>" + items + "</charts>", "t").root()));
    return scene;
}

QByteArray FlagItem(const char* code, double size) {
    return QByteArray("<item><name>") + code + "</name><data>" + QByteArray::number(size) +
           "</data><size>" + QByteArray::number(size) + "</size></item>";
}

} // namespace

TEST(LegendDrawing, ShowsTheCountedItemsDownEachColumnInTurn) {
    const std::vector<std::pair<uint32_t, int>> items = {
        {0xFF0000, 1}, {0x00A000, 1}, {0x0000FF, 1}, {0xFFA000, 1},
        {0xA000FF, 1}, {0x00A0A0, 1}, {0x804000, 1}, {0x808000, 1}};
    const LegendLayout legend(LegendScene(items, 7), 1);
    const QImage image = PaintLegend(legend, 3);
    std::vector<QRect> swatches;
    for (const auto& [rgb, shade] : items)
        swatches.push_back(BoxOf(image, QColor::fromRgb(rgb)));
    EXPECT_TRUE(swatches[7].isNull()) << "the count is 7: the eighth item is not drawn";
    for (int k = 0; k < 7; ++k) {
        ASSERT_FALSE(swatches[k].isNull()) << k;
        EXPECT_GT(swatches[k].width(), 10) << k;
        // Three rows: item k stands in column k / 3, row k % 3.
        const QRect& first = swatches[(k / 3) * 3];
        const QRect& top = swatches[k % 3];
        EXPECT_NEAR(swatches[k].left(), first.left(), 1) << k;
        EXPECT_NEAR(swatches[k].top(), top.top(), 1) << k;
        if (k % 3) {
            EXPECT_GT(swatches[k].top(), swatches[k - 1].bottom()) << k;
        }
        if (k >= 3) {
            EXPECT_GT(swatches[k].left(), swatches[k - 3].right()) << k;
        }
    }
    EXPECT_GT(legend.size(1).height(), 2 * legend.size(3).height()) << "7 rows, or 3";
    EXPECT_GT(legend.size(3).height(), legend.size(4).height()) << "3 rows, or 2";
    EXPECT_EQ(legend.columnsFor(legend.size(3).width()), 3);
    EXPECT_EQ(legend.columnsFor(1), 1);
}

TEST(LegendDrawing, SwatchesCarryTheirHatch) {
    const LegendLayout legend(LegendScene({{0xFFFFC0, 1}, {0xFFFFC0, 6}, {0xFFFFC0, 9}}, 3), 2);
    const QImage image = PaintLegend(legend, 1);
    const QRect all = BoxOf(image, QColor(0xFF, 0xFF, 0xC0), 0);
    ASSERT_FALSE(all.isNull());
    // Three swatches stacked: count the colours inside each, away from its frame.
    const int rowHeight = all.height() / 3;
    std::vector<size_t> colours;
    for (int k = 0; k < 3; ++k) {
        std::set<QRgb> seen;
        const QRect inner(all.left() + 4, all.top() + k * rowHeight + 4, all.width() - 8,
                          rowHeight / 2 - 4);
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x)
                seen.insert(image.pixel(x, y));
        colours.push_back(seen.size());
    }
    EXPECT_EQ(colours[0], 1u) << "code 1 is plain";
    EXPECT_GE(colours[1], 2u) << "code 6 is hatched";
    EXPECT_GE(colours[2], 2u) << "code 9 is hatched";
}

TEST(FlagChartGeometry, BarsFollowTheValuesAndNegativeOnesHangBelowZero) {
    const QByteArray items = FlagItem("QQ", 100) + FlagItem("QR", 50) + FlagItem("QS", -25);
    // Columns: heights in proportion; the negative one below the line the others stand on.
    QImage image = RenderChartImage(FlagScene("flag1", items), QSize(600, 420));
    const QRect left = BoxOf(image.copy(0, 0, 200, 420), kBar);
    const QRect middle = BoxOf(image.copy(200, 0, 200, 420), kBar);
    const QRect negative = BoxOf(image, kNegativeBar);
    ASSERT_FALSE(left.isNull() || middle.isNull() || negative.isNull());
    EXPECT_NEAR(double(middle.height()) / left.height(), 0.5, 0.03);
    EXPECT_NEAR(double(negative.height()) / left.height(), 0.25, 0.03);
    EXPECT_NEAR(left.bottom(), middle.bottom(), 1);
    EXPECT_GE(negative.top(), left.bottom() - 1);

    // Rows: lengths in proportion, the negative one to the left of zero.
    image = RenderChartImage(FlagScene("flag2", items), QSize(600, 420));
    const QRect first = BoxOf(image.copy(0, 0, 600, 140), kBar);
    const QRect second = BoxOf(image.copy(0, 140, 600, 140), kBar);
    const QRect back = BoxOf(image, kNegativeBar);
    ASSERT_FALSE(first.isNull() || second.isNull() || back.isNull());
    EXPECT_NEAR(double(second.width()) / first.width(), 0.5, 0.03);
    EXPECT_NEAR(double(back.width()) / first.width(), 0.25, 0.03);
    EXPECT_NEAR(first.left(), second.left(), 1);
    EXPECT_LE(back.right(), first.left() + 1);
}

TEST(FlagChartGeometry, ProportionalFlagsHaveAreasInProportionToTheValues) {
    const ChartScene scene =
        FlagScene("flag3", FlagItem("QQ", 100) + FlagItem("QR", 25) + FlagItem("QS", -10));
    const QImage image = RenderChartImage(scene, QSize(900, 300));
    // One row of three cells, the codes and values below the flags (placeholders stand in
    // for flags no file has).
    const int above = 250;
    const QRect large = InkBox(image.copy(0, 0, 300, above));
    const QRect small = InkBox(image.copy(300, 0, 300, above));
    ASSERT_FALSE(large.isNull() || small.isNull());
    // A quarter of the value, a quarter of the area: half the width.
    EXPECT_NEAR(double(small.width()) / large.width(), 0.5, 0.02);
    // A negative value's flag has the area of its magnitude.
    const QRect negative = InkBox(image.copy(600, 0, 300, above));
    ASSERT_FALSE(negative.isNull());
    EXPECT_NEAR(double(negative.width()) / large.width(), std::sqrt(0.1), 0.02);
}
