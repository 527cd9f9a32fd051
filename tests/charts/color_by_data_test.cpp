#include "charts/ColorByData.h"
#include "charts/ColorSchemes.h"
#include "charts/GridRows.h"
#include "model/UserError.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace tolvane {
namespace {

constexpr int32_t kMinColor = 14745584; // the dialog's defaults
constexpr int32_t kMaxColor = 1339686;
constexpr int32_t kMarker = 0x123456; // a colour no algorithm produces here

GridData RegionGrid(std::initializer_list<const char*> data) {
    GridData grid = MakeDataGrid(GridLayout::Region);
    grid.setRowCount(static_cast<int>(data.size()) + 2);
    int row = 2;
    for (const char* text : data) {
        grid.setText(ColData, row, QString::fromUtf8(text));
        grid.setColor(ColColor, row, kMarker);
        ++row;
    }
    return grid;
}

int32_t RowColor(const GridData& grid, int i) {
    return grid.color(ColColor, i + 1);
}

TEST(GradientTest, WorkedExampleSixBandsOverZeroToSixty) {
    GridData grid = RegionGrid({"0", "9.999", "10", "20", "35", "40", "50", "59.9", "60"});
    LegendState legend(ChartKind::Region);
    ApplyGradient(grid, 9, &legend, kMinColor, kMaxColor, 6);

    const int32_t band[] = {14745584, 12116936, 9422752, 6728311, 4034127, 1339686};
    const int32_t expected[] = {band[0], band[0], band[1], band[2], band[3],
                                band[4], band[5], band[5], band[5]};
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(RowColor(grid, i), expected[i - 1]) << "row " << i;

    EXPECT_EQ(legend.countIndex, 5);
    ASSERT_EQ(legend.grid.rowCount(), 7);
    const char* texts[] = {"0.000~10.000",  "10.000~20.000", "20.000~30.000",
                           "30.000~40.000", "40.000~50.000", "50.000~60.000"};
    for (int m = 1; m <= 6; ++m) {
        EXPECT_EQ(legend.grid.text(ColLegendText, m), QString::fromLatin1(texts[m - 1]));
        EXPECT_EQ(legend.grid.color(ColLegendColor, m), band[m - 1]);
        EXPECT_FALSE(legend.grid.readOnly(ColLegendText, m));
    }
}

TEST(GradientTest, ShadeCodesFollowTheBandsBlackToWhiteOverFourSteps) {
    GridData grid = MakeDataGrid(GridLayout::Shade);
    grid.setRowCount(5);
    const char* data[] = {"0", "45", "100"};
    for (int i = 0; i < 3; ++i)
        grid.setText(ColData, i + 2, QString::fromLatin1(data[i]));
    LegendState legend(ChartKind::Shade);
    ApplyGradient(grid, 3, &legend, 0x000000, 0xFFFFFF, 4, {.shadeCodes = true});

    const char* codes[] = {"1", "2", "4"};
    const int32_t greys[] = {0x000000, 0x555555, 0xFFFFFF};
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(grid.text(ColExtra, i + 1), QString::fromLatin1(codes[i - 1])) << i;
        EXPECT_EQ(RowColor(grid, i), greys[i - 1]) << i;
    }
    const char* texts[] = {"0.000~25.000", "25.000~50.000", "50.000~75.000", "75.000~100.000"};
    ASSERT_EQ(legend.grid.rowCount(), 5);
    for (int m = 1; m <= 4; ++m) {
        EXPECT_EQ(legend.grid.text(ColLegendText, m), QString::fromLatin1(texts[m - 1]));
        EXPECT_EQ(legend.grid.text(ColLegendExtra, m), QString::number(m));
        EXPECT_EQ(legend.grid.color(ColLegendColor, m), 0x555555 * (m - 1));
    }

    // Equal values: band 1's colour, but the first code.
    for (int i = 0; i < 3; ++i)
        grid.setText(ColData, i + 2, QStringLiteral("7"));
    ApplyGradient(grid, 3, nullptr, 0x000000, 0xFFFFFF, 4, {.shadeCodes = true});
    EXPECT_EQ(grid.text(ColExtra, 2), "1");
    EXPECT_EQ(RowColor(grid, 1), 0x555555);

    const QString code = QStringLiteral("9");
    ApplyRange(grid, 3, u"7", u"7", 0x010203, &code);
    EXPECT_EQ(grid.text(ColExtra, 4), "9");
    EXPECT_EQ(RowColor(grid, 3), 0x010203);
}

TEST(GradientTest, EqualValuesTakeTheSecondColourAndRepeatTheValueInTheLegend) {
    GridData grid = RegionGrid({"5", "5", "5"});
    LegendState legend(ChartKind::Region);
    ApplyGradient(grid, 3, &legend, kMinColor, kMaxColor, 6);

    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(RowColor(grid, i), 12116936);
    ASSERT_EQ(legend.grid.rowCount(), 7);
    EXPECT_EQ(legend.grid.color(ColLegendColor, 1), kMinColor);
    EXPECT_EQ(legend.grid.color(ColLegendColor, 6), kMaxColor);
    for (int m = 1; m <= 6; ++m)
        EXPECT_EQ(legend.grid.text(ColLegendText, m), QStringLiteral("5.000~5.000"));
}

TEST(GradientTest, AllEmptyCellsCountAsZero) {
    GridData grid = RegionGrid({"", "", ""});
    LegendState legend(ChartKind::Region);
    ApplyGradient(grid, 3, &legend, kMinColor, kMaxColor, 2);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(RowColor(grid, i), kMaxColor); // band 1 of 2
    EXPECT_EQ(legend.grid.text(ColLegendText, 2), QStringLiteral("0.000~0.000"));
}

TEST(GradientTest, LegendIsCappedAtTheSetsMaximumWhileRowsUseAllBands) {
    GridData grid = RegionGrid({"0", "100", "99"});
    LegendState region(ChartKind::Region);
    ApplyGradient(grid, 3, &region, kMinColor, kMaxColor, 20);
    EXPECT_EQ(RowColor(grid, 2), kMaxColor);
    EXPECT_EQ(RowColor(grid, 3), kMaxColor); // 99 / 5 = 19.8, band 19
    EXPECT_EQ(region.countIndex, 15);
    ASSERT_EQ(region.grid.rowCount(), 17);
    EXPECT_EQ(region.grid.text(ColLegendText, 16), QStringLiteral("75.000~80.000"));
    EXPECT_EQ(region.grid.color(ColLegendColor, 16),
              GradientBandColor(kMinColor, kMaxColor, 15, 20));

    GridData cities = RegionGrid({"0", "100"});
    LegendState city(ChartKind::City);
    ApplyGradient(cities, 2, &city, kMinColor, kMaxColor, 20);
    EXPECT_EQ(city.countIndex, 9);
    EXPECT_EQ(city.grid.rowCount(), 11);
    EXPECT_EQ(city.grid.text(ColLegendText, 10), QStringLiteral("45.000~50.000"));
}

TEST(GradientTest, GradientLeavesTheCityLegendsScaleColumnAlone) {
    GridData grid = RegionGrid({"1", "2"});
    LegendState city(ChartKind::City);
    city.grid.setRowCount(3);
    city.grid.setText(ColLegendExtra, 1, QStringLiteral("250"));
    ApplyGradient(grid, 2, &city, kMinColor, kMaxColor, 4);
    EXPECT_EQ(city.grid.text(ColLegendExtra, 1), QStringLiteral("250"));
    EXPECT_EQ(city.grid.rowCount(), 5);
}

TEST(GradientTest, NegativeAndNonNumericValuesSetTheRange) {
    // min -10, max 30, S 4: bands 10 wide; "abc" is 0 and lands in band 1.
    GridData grid = RegionGrid({"-10", "abc", "30", "1-2"});
    LegendState legend(ChartKind::Region);
    ApplyGradient(grid, 4, &legend, kMinColor, kMaxColor, 4);
    EXPECT_EQ(RowColor(grid, 1), kMinColor);
    EXPECT_EQ(RowColor(grid, 2), GradientBandColor(kMinColor, kMaxColor, 1, 4));
    EXPECT_EQ(RowColor(grid, 3), kMaxColor);
    EXPECT_EQ(RowColor(grid, 4), GradientBandColor(kMinColor, kMaxColor, 1, 4));
    EXPECT_EQ(legend.grid.text(ColLegendText, 1), QStringLiteral("-10.000~0.000"));

    // A non-numeric cell can be the maximum.
    GridData negatives = RegionGrid({"-20", "-10", "x"});
    ApplyGradient(negatives, 3, nullptr, kMinColor, kMaxColor, 2);
    EXPECT_EQ(RowColor(negatives, 3), kMaxColor);
    EXPECT_EQ(RowColor(negatives, 2), kMaxColor); // exactly on the middle boundary
    EXPECT_EQ(RowColor(negatives, 1), kMinColor);
}

TEST(GradientTest, CommaDecimalsAreRead) {
    GridData grid = RegionGrid({"0", "2,5", "10"});
    ApplyGradient(grid, 3, nullptr, kMinColor, kMaxColor, 4);
    EXPECT_EQ(RowColor(grid, 2), GradientBandColor(kMinColor, kMaxColor, 1, 4));
}

TEST(GradientTest, OnlyTheGivenRowsAreReadAndColoured) {
    GridData grid = RegionGrid({"0", "10", "20", "1000", "-1000"});
    ApplyGradient(grid, 3, nullptr, kMinColor, kMaxColor, 2);
    EXPECT_EQ(RowColor(grid, 3), kMaxColor); // 20 is the maximum of the three rows
    EXPECT_EQ(RowColor(grid, 4), kMarker);
    EXPECT_EQ(RowColor(grid, 5), kMarker);

    // More rows than the grid holds: only those that exist.
    GridData small = RegionGrid({"1", "2"});
    ApplyGradient(small, 500, nullptr, kMinColor, kMaxColor, 2);
    EXPECT_EQ(small.rowCount(), 4);
    EXPECT_EQ(RowColor(small, 2), kMaxColor);
}

TEST(GradientTest, ConversionErrorChangesNothing) {
    GridData grid = RegionGrid({"1", "2", "-", "4"});
    LegendState legend(ChartKind::Region);
    legend.grid.setRowCount(3);
    legend.grid.setText(ColLegendText, 1, QStringLiteral("loaded"));
    legend.countIndex = 1;
    try {
        ApplyGradient(grid, 4, &legend, kMinColor, kMaxColor, 6);
        FAIL() << "no ConvertError";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'-' is not a valid floating point value"));
    }
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(RowColor(grid, i), kMarker);
    EXPECT_EQ(legend.countIndex, 1);
    EXPECT_EQ(legend.grid.rowCount(), 3);
    EXPECT_EQ(legend.grid.text(ColLegendText, 1), QStringLiteral("loaded"));
    EXPECT_FALSE(grid.updating());
}

TEST(RangeTest, BothEndsAreIncluded) {
    GridData grid = RegionGrid({"9.99", "10", "15", "20", "20.01"});
    ApplyRange(grid, 5, u"10", u"20", 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 1), kMarker);
    EXPECT_EQ(RowColor(grid, 2), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 3), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 4), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 5), kMarker);
}

TEST(RangeTest, LowAboveHighColoursNothing) {
    GridData grid = RegionGrid({"5", "10", "15"});
    ApplyRange(grid, 3, u"15", u"5", 0xABCDEF);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(RowColor(grid, i), kMarker);
}

TEST(RangeTest, DefaultZeroToZeroColoursZeroAndNonNumericRows) {
    GridData grid = RegionGrid({"0", "", "n/a", "0.5", "-0", "1-"});
    ApplyRange(grid, 6, u"0", u"0", 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 1), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 2), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 3), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 4), kMarker);
    EXPECT_EQ(RowColor(grid, 5), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 6), 0xABCDEF);
}

TEST(RangeTest, NonNumericBoundCountsAsZero) {
    GridData grid = RegionGrid({"-1", "3", "6"});
    ApplyRange(grid, 3, u"abc", u"5", 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 1), kMarker);
    EXPECT_EQ(RowColor(grid, 2), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 3), kMarker);
}

TEST(RangeTest, ConversionErrorInABoundOrACellChangesNothing) {
    GridData grid = RegionGrid({"1", "2"});
    EXPECT_THROW(ApplyRange(grid, 2, u".", u"5", 0xABCDEF), ConvertError);
    EXPECT_THROW(ApplyRange(grid, 2, u"0", u"-", 0xABCDEF), ConvertError);
    grid.setText(ColData, 3, QStringLiteral(","));
    EXPECT_THROW(ApplyRange(grid, 2, u"0", u"5", 0xABCDEF), ConvertError);
    EXPECT_EQ(RowColor(grid, 1), kMarker);
    EXPECT_EQ(RowColor(grid, 2), kMarker);
}

TEST(RangeTest, OnlyTheGivenRowsAreColoured) {
    GridData grid = RegionGrid({"1", "1", "1"});
    ApplyRange(grid, 2, u"0", u"5", 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 2), 0xABCDEF);
    EXPECT_EQ(RowColor(grid, 3), kMarker);
}

} // namespace
} // namespace tolvane

namespace tolvane {

TEST(ClassesTest, QuantilesHoldEquallyManyValuesAndNaturalBreaksFindTheGaps) {
    const Classes q = ClassifyValues(ClassMethod::Quantile, {9, 1, 2, 3, 4, 5, 6, 7, 8, 10}, 5);
    EXPECT_EQ(q.of, std::vector<int>({4, 0, 0, 1, 1, 2, 2, 3, 3, 4}));
    EXPECT_EQ(q.lower, std::vector<double>({1, 3, 5, 7, 9}));
    EXPECT_EQ(q.upper, std::vector<double>({2, 4, 6, 8, 10}));

    const Classes j =
        ClassifyValues(ClassMethod::NaturalBreaks, {50, 1, 12, 2, 3, 10, 11, 51, 52}, 3);
    EXPECT_EQ(j.of, std::vector<int>({2, 0, 1, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(j.lower, std::vector<double>({1, 10, 50}));
    EXPECT_EQ(j.upper, std::vector<double>({3, 12, 52}));
}

TEST(ClassesTest, FewerLevelsThanClassesGiveFewerBandsSpreadOverTheColours) {
    // One value below, the rest zeros and one far above: three levels for six classes.
    GridData grid = RegionGrid({"-5", "", "0", "0", "1428", "0"});
    LegendState legend(ChartKind::Region);
    const QString note =
        ApplyGradient(grid, 6, &legend, kMinColor, kMaxColor, 6, {.method = ClassMethod::Quantile});
    EXPECT_EQ(note, "6 classes asked, 3 possible: the values take 3 distinct levels");
    const int32_t middle = GradientBandColor(kMinColor, kMaxColor, 1, 3);
    const int32_t expected[] = {kMinColor, middle, middle, middle, kMaxColor, middle};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(RowColor(grid, i), expected[i - 1]) << "row " << i;
    EXPECT_EQ(legend.countIndex, 2);
    ASSERT_EQ(legend.grid.rowCount(), 4);
    const char* texts[] = {"-5.000~-5.000", "0.000~0.000", "1428.000~1428.000"};
    for (int m = 1; m <= 3; ++m) {
        EXPECT_EQ(legend.grid.text(ColLegendText, m), QString::fromLatin1(texts[m - 1]));
        EXPECT_EQ(legend.grid.color(ColLegendColor, m), expected[m == 1 ? 0 : m == 2 ? 1 : 4]);
    }

    // Shade codes count the bands made; equal values keep equal interval's colour and code 1.
    GridData shades = MakeDataGrid(GridLayout::Shade);
    shades.setRowCount(5);
    for (int row = 2; row <= 4; ++row)
        shades.setText(ColData, row, QString::number(row % 2));
    LegendState shadeLegend(ChartKind::Shade);
    ApplyGradient(shades, 3, &shadeLegend, 0x000000, 0xFFFFFF, 4,
                  {.method = ClassMethod::NaturalBreaks, .shadeCodes = true});
    EXPECT_EQ(shades.text(ColExtra, 2), "1");
    EXPECT_EQ(shades.text(ColExtra, 3), "2");
    EXPECT_EQ(shades.color(ColColor, 3), 0xFFFFFF);
    EXPECT_EQ(shadeLegend.grid.rowCount(), 3);
    EXPECT_EQ(shadeLegend.grid.text(ColLegendExtra, 2), "2");

    GridData same = RegionGrid({"4", "4"});
    EXPECT_FALSE(
        ApplyGradient(same, 2, &legend, kMinColor, kMaxColor, 6, {.method = ClassMethod::Quantile})
            .isEmpty());
    EXPECT_EQ(RowColor(same, 1), 12116936); // band 1 of 6, as with equal intervals
    ASSERT_EQ(legend.grid.rowCount(), 2);
    EXPECT_EQ(legend.grid.color(ColLegendColor, 1), 12116936);
    EXPECT_EQ(legend.grid.text(ColLegendText, 1), "4.000~4.000");
}

TEST(ClassesTest, GradientByQuantilesWithASchemeGivesRealBoundsAndTheSchemesColours) {
    GridData grid = RegionGrid({"1", "2", "3", "100"});
    LegendState legend(ChartKind::Region);
    GradientOptions options;
    options.method = ClassMethod::Quantile;
    options.scheme = FindColorScheme("Blues");
    ASSERT_NE(options.scheme, nullptr);
    ApplyGradient(grid, 4, &legend, kMinColor, kMaxColor, 3, options);
    const int32_t blues[] = {0xf7ebde, 0xe1ca9e, 0xbd8231}; // #deebf7 #9ecae1 #3182bd
    EXPECT_EQ(RowColor(grid, 2), blues[0]);                 // classes {1, 2}, {3}, {100}
    EXPECT_EQ(RowColor(grid, 3), blues[1]);
    EXPECT_EQ(RowColor(grid, 4), blues[2]);
    EXPECT_EQ(legend.grid.text(ColLegendText, 1), "1.000~2.000");
    EXPECT_EQ(legend.grid.text(ColLegendText, 3), "100.000~100.000");
    EXPECT_EQ(legend.grid.color(ColLegendColor, 2), blues[1]);

    // More classes than a scheme has: its ends stay its darkest and lightest colours.
    const std::vector<int32_t> twelve = SchemeColors(*options.scheme, 12);
    ASSERT_EQ(twelve.size(), 12u);
    EXPECT_EQ(twelve.front(), SwapRedBlue(0xf7fbff));
    EXPECT_EQ(twelve.back(), SwapRedBlue(0x08306b));
    EXPECT_EQ(SchemeColors(*options.scheme, 2).back(), blues[2]);
}

} // namespace tolvane
