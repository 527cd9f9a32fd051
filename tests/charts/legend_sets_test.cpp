#include "charts/GridRows.h"
#include "charts/LegendSets.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace tolvane {
namespace {

GridData ColouredGrid(const std::vector<int32_t>& colors) {
    GridData grid = MakeDataGrid(GridLayout::Region);
    grid.setRowCount(static_cast<int>(colors.size()) + 2);
    for (size_t i = 0; i < colors.size(); ++i)
        grid.setColor(ColColor, static_cast<int>(i) + 2, colors[i]);
    return grid;
}

// Distinct colours given in descending order, so sorting visibly reverses them.
std::vector<int32_t> Descending(int count) {
    std::vector<int32_t> colors;
    for (int i = 0; i < count; ++i)
        colors.push_back(PlatformRgb(10, 20, 200 - i));
    return colors;
}

TEST(CopyColorsTest, WhiteOnlyGridGivesWhiteSlots) {
    const CopyColors colors =
        CollectCopyColors(ColouredGrid({kWhite, kWhite, kWhite}), ChartKind::Region);
    EXPECT_TRUE(std::all_of(colors.begin(), colors.end(), [](int32_t c) { return c == kWhite; }));
}

TEST(CopyColorsTest, FirstTwentyDistinctColoursKeptAndFirstSixteenSorted) {
    const std::vector<int32_t> rows = Descending(25);
    const CopyColors colors = CollectCopyColors(ColouredGrid(rows), ChartKind::Region);
    std::vector<int32_t> sorted(rows.begin(), rows.begin() + 16);
    std::sort(sorted.begin(), sorted.end());
    for (size_t k = 0; k < 16; ++k)
        EXPECT_EQ(colors[k], sorted[k]) << "slot " << k + 1;
    for (size_t k = 16; k < 20; ++k)
        EXPECT_EQ(colors[k], rows[k]) << "slot " << k + 1; // unsorted, in row order
}

TEST(CopyColorsTest, RepeatedAndWhiteColoursAreListedOnceOrNotAtAll) {
    const int32_t red = PlatformRgb(255, 0, 0);
    const int32_t blue = PlatformRgb(0, 0, 255);
    const CopyColors colors =
        CollectCopyColors(ColouredGrid({blue, red, kWhite, blue, red, red}), ChartKind::Region);
    EXPECT_EQ(colors[0], red); // blue weighs most in the signed order
    EXPECT_EQ(colors[1], blue);
    for (size_t k = 2; k < colors.size(); ++k)
        EXPECT_EQ(colors[k], kWhite);
}

TEST(CopyColorsTest, CityLegendSortsOnlyTheFirstTen) {
    const std::vector<int32_t> rows = Descending(16);
    const CopyColors colors = CollectCopyColors(ColouredGrid(rows), ChartKind::City);
    std::vector<int32_t> sorted(rows.begin(), rows.begin() + 10);
    std::sort(sorted.begin(), sorted.end());
    for (size_t k = 0; k < 10; ++k)
        EXPECT_EQ(colors[k], sorted[k]) << "slot " << k + 1;
    for (size_t k = 10; k < 16; ++k)
        EXPECT_EQ(colors[k], rows[k]) << "slot " << k + 1;
}

std::vector<TLegend> LoadedTable(int count) {
    std::vector<TLegend> table;
    for (int i = 1; i <= count; ++i)
        table.push_back(TLegend{i, QStringLiteral("loaded %1").arg(i), 0, 100, 1});
    return table;
}

TEST(LegendCountTest, RaisingTheCountRestoresLoadedTextsAndAddsWhiteRows) {
    LegendState legend(ChartKind::City);
    const std::vector<TLegend> table = LoadedTable(8);
    ChangeLegendCount(legend, 2, table);
    legend.grid.setText(ColLegendText, 2, QStringLiteral("typed"));
    legend.grid.setColor(ColLegendColor, 2, 0x112233);
    legend.grid.setText(ColLegendExtra, 2, QStringLiteral("300"));

    ChangeLegendCount(legend, 5, table);
    EXPECT_EQ(legend.countIndex, 5);
    ASSERT_EQ(legend.grid.rowCount(), 7);
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(legend.grid.text(ColLegendText, r), QStringLiteral("loaded %1").arg(r));
        EXPECT_FALSE(legend.grid.readOnly(ColLegendText, r));
    }
    EXPECT_EQ(legend.grid.color(ColLegendColor, 2), 0x112233); // colours are kept
    EXPECT_EQ(legend.grid.text(ColLegendExtra, 2), QStringLiteral("300"));
    EXPECT_EQ(legend.grid.color(ColLegendColor, 5), kWhite);
    EXPECT_EQ(legend.grid.text(0, 6), QStringLiteral("6"));
}

TEST(LegendCountTest, LoweringAndRaisingAgainDiscardsTypedTexts) {
    LegendState legend(ChartKind::Region);
    const std::vector<TLegend> table = LoadedTable(6);
    ChangeLegendCount(legend, 5, table);
    legend.grid.setText(ColLegendText, 1, QStringLiteral("typed 1"));
    legend.grid.setText(ColLegendText, 5, QStringLiteral("typed 5"));
    ChangeLegendCount(legend, 2, table);
    EXPECT_EQ(legend.grid.rowCount(), 4);
    EXPECT_EQ(legend.grid.text(ColLegendText, 1), QStringLiteral("loaded 1"));
    ChangeLegendCount(legend, 5, table);
    EXPECT_EQ(legend.grid.text(ColLegendText, 5), QStringLiteral("loaded 5"));
}

TEST(LegendCountTest, RowsBeyondTheTableGetEmptyTexts) {
    LegendState legend(ChartKind::Region);
    ChangeLegendCount(legend, 15, LoadedTable(2));
    EXPECT_EQ(legend.grid.rowCount(), 17);
    EXPECT_EQ(legend.grid.text(ColLegendText, 2), QStringLiteral("loaded 2"));
    EXPECT_TRUE(legend.grid.text(ColLegendText, 3).isEmpty());
    EXPECT_TRUE(legend.grid.text(ColLegendText, 16).isEmpty());
}

TEST(LegendCountTest, CountIsLimitedToTheSetsList) {
    LegendState shade(ChartKind::Shade);
    ChangeLegendCount(shade, 15, LoadedTable(20));
    EXPECT_EQ(shade.countIndex, 9);
    EXPECT_EQ(shade.grid.rowCount(), 11);
}

} // namespace
} // namespace tolvane
