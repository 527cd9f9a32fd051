// Flag charts measured in the picture: flags in the order of the file, in their own
// proportions, sized by value, and negative values never drawn as positive flags.
#include "RenderFixture.h"

#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 160, 0), kPlaceholder(228, 228, 228);

QByteArray SolidFlag(int width, int height, const char* fill) {
    return QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 %1 %2">)"
                          R"(<path fill="%3" d="M0 0h%1v%2H0z"/></svg>)")
        .arg(width)
        .arg(height)
        .arg(QString::fromLatin1(fill))
        .toUtf8();
}

// The box of the rows and columns where one colour fills a run of pixels: stray pixels of
// the colour in antialiased edges and texts do not count.
QRect BoxOf(const QImage& image, const QColor& color, int tolerance = 8) {
    std::vector<int> rows(size_t(image.height())), cols(size_t(image.width()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Near(image.pixelColor(x, y), color, tolerance))
                ++rows[size_t(y)], ++cols[size_t(x)];
    const auto span = [](const std::vector<int>& counts) {
        int first = -1, last = -2;
        for (int i = 0; i < int(counts.size()); ++i) {
            if (counts[size_t(i)] < 12) continue;
            if (first < 0) first = i;
            last = i;
        }
        return std::pair(first, last);
    };
    const auto [top, bottom] = span(rows);
    const auto [left, right] = span(cols);
    return top < 0 || left < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

double Aspect(const QRect& box) {
    return box.isEmpty() ? 0 : double(box.width()) / box.height();
}

class FlagLayout : public ::testing::Test {
protected:
    void SetUp() override {
        // A 5:3 red, a 3:2 blue and a square green flag; codes are looked up in lower case.
        folder.write("flags/aa.svg", SolidFlag(50, 30, "#ff0000"));
        folder.write("flags/bb.svg", SolidFlag(30, 20, "#0000ff"));
        folder.write("flags/cc.svg", SolidFlag(20, 20, "#00a000"));
    }
    QImage draw(const char* style, const QByteArray& items, QSize size = {1000, 700}) {
        folder.write("ChartFlag1.xml", "<charts><ename>flag1</ename><count>3</count>"
                                       "<title>.</title>" +
                                           items + "</charts>");
        const QString movie = folder.write(
            "cmap.map",
            QByteArray(R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"flag",)"
                       R"("style":")") +
                style + "\"}}");
        return RenderChartImage(LoadChartScene(movie), size);
    }
    static QByteArray Item(int id, const char* code, const char* size) {
        return "<item id=\"" + QByteArray::number(id) + "\"><name>" + code + "</name><data>" +
               size + "</data><size>" + size + "</size></item>";
    }
    ChartFolder folder;
};

} // namespace

TEST_F(FlagLayout, FlagsStandInOrderInTheirOwnProportions) {
    const QByteArray items = Item(1, "AA", "100") + Item(2, "bb", "50") + Item(3, "Cc", "80");
    for (const char* style : {"flag1", "flag2", "flag3"}) {
        for (const QSize size : {QSize(500, 350), QSize(1000, 700)}) {
            const QImage image = draw(style, items, size);
            const QRect red = BoxOf(image, kRed), blue = BoxOf(image, kBlue),
                        green = BoxOf(image, kGreen);
            const double slack = size.width() < 1000 ? 0.12 : 0.06; // the edge line's share
            EXPECT_NEAR(Aspect(red), 5.0 / 3, 5.0 / 3 * slack) << style << " " << red.width();
            EXPECT_NEAR(Aspect(blue), 1.5, 1.5 * slack) << style;
            EXPECT_NEAR(Aspect(green), 1.0, slack) << style;
            if (QByteArray(style) == "flag2") { // rows, top down
                EXPECT_LT(red.bottom(), blue.top()) << style;
                EXPECT_LT(blue.bottom(), green.top()) << style;
            } else { // left to right; proportional flags may go on in a second row
                EXPECT_LT(red.right(), blue.left()) << style;
                EXPECT_TRUE(blue.right() < green.left() ||
                            (QByteArray(style) == "flag3" && blue.bottom() < green.top()))
                    << style;
            }
            if (QByteArray(style) != "flag3") { // one height for all
                EXPECT_NEAR(red.height(), blue.height(), 2) << style;
            }
        }
    }
}

TEST_F(FlagLayout, ProportionalFlagsHaveAreasInProportionToTheirValues) {
    const QImage image =
        draw("flag3", Item(1, "AA", "100") + Item(2, "BB", "25") + Item(3, "CC", "50"));
    const auto area = [&](const QColor& c) { return double(CountColor(image, c, 8)); };
    EXPECT_NEAR(area(kRed) / area(kBlue), 4.0, 0.4);
    EXPECT_NEAR(area(kRed) / area(kGreen), 2.0, 0.2);
}

TEST_F(FlagLayout, NegativeValuesAndCodesWithoutAFlag) {
    // A proportional flag of a negative value has its magnitude's area but never its full
    // colours; an unknown code gets a grey box of a flag's shape instead of a flag.
    const QImage image =
        draw("flag3", Item(1, "AA", "-100") + Item(2, "ZZ", "100") + Item(3, "BB", "100"));
    EXPECT_EQ(CountColor(image, kRed, 40), 0);
    const int faded = CountColor(image, QColor(255, 158, 158), 12);
    EXPECT_GT(faded, CountColor(image, kBlue, 8) / 2);
    EXPECT_NEAR(Aspect(BoxOf(image, kPlaceholder, 1)), 1.5, 0.05);

    // Columns and bars take a negative value the other way from zero.
    const QImage columns =
        draw("flag1", Item(1, "AA", "-50") + Item(2, "BB", "100") + Item(3, "CC", "100"));
    EXPECT_GT(BoxOf(columns, QColor(190, 84, 72)).bottom(), BoxOf(columns, kBlue).bottom() + 20);
    const QImage bars =
        draw("flag2", Item(1, "AA", "-50") + Item(2, "BB", "100") + Item(3, "CC", "100"));
    EXPECT_LT(BoxOf(bars, QColor(190, 84, 72)).right(),
              BoxOf(bars, QColor(74, 111, 138)).left() + 2);
}
