#include "charts/GridRows.h"
#include "charts/SizeByData.h"
#include "model/UserError.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>

namespace tolvane {
namespace {

GridData CityGrid(std::initializer_list<const char*> data) {
    GridData grid = MakeDataGrid(GridLayout::City);
    grid.setRowCount(static_cast<int>(data.size()) + 2);
    int row = 2;
    for (const char* text : data) {
        grid.setText(ColData, row, QString::fromUtf8(text));
        grid.setText(ColExtra, row++, QStringLiteral("7"));
    }
    return grid;
}

QStringList Sizes(const GridData& grid) {
    QStringList sizes;
    for (int r = 2; r < grid.rowCount(); ++r)
        sizes << grid.text(ColExtra, r);
    return sizes;
}

TEST(SizeGradient, WorkedExampleRoundsHalvesToTheEvenClassAndRewritesTheLegend) {
    GridData grid = CityGrid({"0", "6", "7", "18", "30", "60"});
    LegendState legend(ChartKind::City);
    legend.grid.setRowCount(3);
    legend.grid.setColor(ColLegendColor, 1, 0x123456);
    ApplySizeGradient(grid, 6, &legend, 50, 100, 6);

    EXPECT_EQ(Sizes(grid), QStringList({"50", "50", "60", "70", "70", "100"}));
    EXPECT_EQ(legend.countIndex, 5);
    ASSERT_EQ(legend.grid.rowCount(), 7);
    const char* texts[] = {"0.000~10.000",  "10.000~20.000", "20.000~30.000",
                           "30.000~40.000", "40.000~50.000", "50.000~60.000"};
    for (int m = 1; m <= 6; ++m) {
        EXPECT_EQ(legend.grid.text(ColLegendExtra, m), QString::number(40 + 10 * m));
        EXPECT_EQ(legend.grid.text(ColLegendText, m), QString::fromLatin1(texts[m - 1]));
    }
    EXPECT_EQ(legend.grid.color(ColLegendColor, 1), 0x123456); // colours are the colour dialog's
}

TEST(SizeGradient, ClassSizesAreTruncatedIntegersEvenWhenReversed) {
    GridData grid = CityGrid({"0", "1", "2", "3"});
    ApplySizeGradient(grid, 4, nullptr, 50, 100, 4);
    EXPECT_EQ(Sizes(grid), QStringList({"50", "66", "83", "100"}));
    ApplySizeGradient(grid, 4, nullptr, 100, 50, 6); // smaller values, larger bubbles
    EXPECT_EQ(Sizes(grid), QStringList({"100", "80", "70", "50"}));
}

TEST(SizeGradient, EqualValuesTakeTheSecondClassAndNonNumbersCountAsZero) {
    GridData grid = CityGrid({"", "abc", "1-2"});
    ApplySizeGradient(grid, 3, nullptr, 50, 100, 6);
    EXPECT_EQ(Sizes(grid), QStringList({"60", "60", "60"}));

    GridData mixed = CityGrid({"-10", "x", "10"}); // "x" is 0: the middle
    ApplySizeGradient(mixed, 3, nullptr, 0, 200, 3);
    EXPECT_EQ(Sizes(mixed), QStringList({"0", "100", "200"}));
}

TEST(SizeGradient, TwentyClassesShowOnlyTenLegendItemsAndOnlyCountedRowsChange) {
    GridData grid = CityGrid({"0", "95", "100", "50"});
    LegendState legend(ChartKind::City);
    ApplySizeGradient(grid, 3, &legend, 0, 190, 20);
    EXPECT_EQ(Sizes(grid), QStringList({"0", "180", "190", "7"}));
    EXPECT_EQ(legend.countIndex, 9);
    EXPECT_EQ(legend.grid.rowCount(), 11);
    EXPECT_EQ(legend.grid.text(ColLegendExtra, 10), "90");
    EXPECT_EQ(legend.grid.text(ColLegendText, 10), "45.000~50.000");
}

TEST(SizeGradient, AValueThatDoesNotConvertChangesNothing) {
    GridData grid = CityGrid({"1", "-", "3"});
    LegendState legend(ChartKind::City);
    EXPECT_THROW(ApplySizeGradient(grid, 3, &legend, 50, 100, 6), ConvertError);
    EXPECT_THROW(ApplySizeRange(grid, 3, 0, 10, 20), ConvertError);
    EXPECT_EQ(Sizes(grid), QStringList({"7", "7", "7"}));
    EXPECT_EQ(legend.grid.rowCount(), 1);
    EXPECT_FALSE(grid.updating());
}

TEST(SizeRange, BothEndsIncludedAndNothingWhenLowIsAboveHigh) {
    GridData grid = CityGrid({"1", "2.5", "4", "", "0"});
    ApplySizeRange(grid, 5, 2.5, 4, 120);
    EXPECT_EQ(Sizes(grid), QStringList({"7", "120", "120", "7", "7"}));
    ApplySizeRange(grid, 5, 0, 0, 30); // the defaults: every zero and every non-number
    EXPECT_EQ(Sizes(grid), QStringList({"7", "120", "120", "30", "30"}));
    ApplySizeRange(grid, 5, 5, 1, 99);
    EXPECT_EQ(Sizes(grid), QStringList({"7", "120", "120", "30", "30"}));
}

} // namespace
} // namespace tolvane
