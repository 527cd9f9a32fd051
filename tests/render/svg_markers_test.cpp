#include "render/SvgMarkers.h"

#include <gtest/gtest.h>

using namespace tolvane;

TEST(SvgMarkers, PathVerticesFollowRelativeImplicitAndClosingCommands) {
    // The star row of a flag: a moveto with extra pairs (linetos), repeated h values, a
    // capital L, and a close back to the start.
    const QList<QPointF> v =
        PathDataVertices(QStringLiteral("m0 0 16 11h61 61L47 37v-2.5e1Q1,2 3,4z"));
    const QList<QPointF> expected{{0, 0},   {16, 11}, {77, 11}, {138, 11},
                                  {47, 37}, {47, 12}, {3, 4},   {0, 0}};
    EXPECT_EQ(v, expected);
    EXPECT_TRUE(PathDataVertices(QStringLiteral("12 5 L")).isEmpty()) << "no command first";
    EXPECT_EQ(PathDataVertices(QStringLiteral("M1 2 L3")).size(), 1)
        << "a truncated pair ends the list";
}

TEST(SvgMarkers, MidMarkersBecomeCopiesAtEveryInnerVertex) {
    const QByteArray svg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100">
        <marker id="s"><path fill="#fff" d="M0 0h2v2z"/></marker>
        <path fill="none" marker-mid="url(#s)" d="m0 0 10 10h10 10L50 50z"/></svg>)svg";
    const QByteArray out = ExpandSvgMarkers(svg);
    EXPECT_FALSE(out.contains("<marker"));
    EXPECT_FALSE(out.contains("marker-mid"));
    // Vertices: start, four inner ones, and the closing one back at the start.
    EXPECT_EQ(out.count("fill=\"#fff\""), 4);
    EXPECT_TRUE(out.contains("translate(20.000000 10.000000)"));
    const QByteArray plain = R"(<svg xmlns="http://www.w3.org/2000/svg"><path d="M0 0h1"/></svg>)";
    EXPECT_EQ(ExpandSvgMarkers(plain), plain);
    EXPECT_EQ(ExpandSvgMarkers("<marker broken"), QByteArray("<marker broken"));
}
