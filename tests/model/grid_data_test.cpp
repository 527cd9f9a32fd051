#include "model/GridData.h"

#include <gtest/gtest.h>
#include <vector>

using namespace tolvane;

TEST(GridData, ResizingKeepsCellsAndNewCellsAreBlank) {
    GridData g(3, 2);
    g.setText(2, 1, "keep");
    g.setColor(1, 1, 0x123456);
    g.setReadOnly(1, 1, false);
    g.setColCount(5);
    g.setRowCount(4);
    EXPECT_EQ(g.text(2, 1), "keep");
    EXPECT_EQ(g.color(1, 1), 0x123456);
    EXPECT_FALSE(g.readOnly(1, 1));
    EXPECT_EQ(g.text(4, 3), "");
    EXPECT_EQ(g.color(4, 3), kWhite);
    EXPECT_TRUE(g.readOnly(4, 3));
    g.setColCount(2);
    EXPECT_EQ(g.text(2, 1), ""); // gone with its column
    EXPECT_EQ(g.color(1, 1), 0x123456);
}

TEST(GridData, OutsideCellsReadBlankAndIgnoreWrites) {
    GridData g(2, 2);
    g.setText(5, 5, "x");
    g.setText(-1, 0, "x");
    EXPECT_EQ(g.text(5, 5), "");
    EXPECT_EQ(g.color(-1, 0), kWhite);
    EXPECT_TRUE(g.readOnly(9, 9));
}

TEST(GridData, SuspendedRepaintingReportsOnceAtTheEnd) {
    GridData g(3, 3);
    std::vector<GridData::Change> heard;
    g.setListener([&](GridData::Change c, int, int) { heard.push_back(c); });

    g.setText(1, 1, "a");
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], GridData::Change::Cell);

    heard.clear();
    {
        GridUpdate outer(g);
        g.setText(1, 1, "b");
        {
            GridUpdate inner(g);
            g.setColor(2, 2, 5);
        }
        EXPECT_TRUE(heard.empty());
    }
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], GridData::Change::All);

    heard.clear();
    {
        GridUpdate update(g);
        g.setText(1, 1, "c");
        g.setRowCount(10);
    }
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], GridData::Change::Layout);

    heard.clear();
    g.setText(1, 1, "c"); // unchanged: nothing to repaint
    { GridUpdate idle(g); }
    EXPECT_TRUE(heard.empty());
}
