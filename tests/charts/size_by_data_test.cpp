#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "charts/SizeByData.h"
#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <QDirIterator>
#include <QFile>
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

TEST(SizeGradient, EachCityTakesTheScaleOfTheLegendIntervalItsValueLiesIn) {
    // Six classes over 0 .. 60: the legend reads 0~10 -> 50, 10~20 -> 60, ... 50~60 -> 100,
    // so each city takes the scale of the item whose interval holds its value: 7 lies in
    // 0~10 (50, not the 60 of the nearest of six evenly spaced points), 18 in 10~20 (60),
    // 30 on a boundary in the upper interval 30~40 (80, not 70), and the maximum in the last.
    GridData grid = CityGrid({"0", "6", "7", "18", "30", "60"});
    LegendState legend(ChartKind::City);
    legend.grid.setRowCount(3);
    legend.grid.setColor(ColLegendColor, 1, 0x123456);
    ApplySizeGradient(grid, 6, &legend, 50, 100, 6);

    EXPECT_EQ(Sizes(grid), QStringList({"50", "50", "50", "60", "80", "100"}));
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

// The grid of cities of every shipped city map, and of the cities of every region-city map,
// by map file name.
std::vector<std::pair<QString, GridData>> ShippedCityGrids() {
    std::vector<std::pair<QString, GridData>> grids;
    QDirIterator it(QStringLiteral(TOLVANE_SOURCE_DIR "/data"), {QStringLiteral("*.xml")},
                    QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        ChartModel model;
        if (bytes.contains("?>\n<cities>")) {
            CityPageState page;
            int32_t border = 0;
            ShowCityChart(model, page, border, LoadChartFile(ChartKind::City, path));
            grids.emplace_back(it.fileName(), page.grid);
        } else if (bytes.contains("<cities>")) {
            RegionCityPageState page;
            ShowRegionCityChart(model, page, LoadChartFile(ChartKind::RegionCity, path));
            grids.emplace_back(it.fileName(), page.cityGrid);
        }
    }
    return grids;
}

TEST(SizeGradient, OnEveryShippedCityMapEachBubbleHasTheScaleOfItsLegendItem) {
    const auto grids = ShippedCityGrids();
    EXPECT_GE(grids.size(), 17u);
    for (auto [file, grid] : grids) {
        SCOPED_TRACE(file.toStdString());
        const int rows = grid.rowCount() - 2;
        ASSERT_GT(rows, 1);
        // Values spread unevenly, some on the legend's boundaries.
        for (int i = 1; i <= rows; ++i)
            grid.setText(ColData, i + 1, QString::number((i * 37 % 61) * 0.5));
        for (int steps = 2; steps <= 10; ++steps) {
            LegendState legend(ChartKind::City);
            ApplySizeGradient(grid, rows, &legend, 30, 200, steps);
            ASSERT_EQ(legend.grid.rowCount(), steps + 1);
            for (int i = 1; i <= rows; ++i) {
                const double value = CellFloat(grid.text(ColData, i + 1), 0);
                // The items whose printed interval holds the value: two where it is one's end
                // and the next one's start.
                QStringList scales;
                for (int m = 1; m <= steps; ++m) {
                    const QStringList ends = legend.grid.text(ColLegendText, m).split(u'~');
                    if (ends[0].toDouble() <= value && value <= ends[1].toDouble())
                        scales << legend.grid.text(ColLegendExtra, m);
                }
                ASSERT_FALSE(scales.isEmpty()) << value;
                EXPECT_TRUE(scales.contains(grid.text(ColExtra, i + 1)))
                    << "steps " << steps << ", value " << value << " drawn at "
                    << grid.text(ColExtra, i + 1).toStdString() << ", legend says "
                    << scales.join(u" or ").toStdString();
            }
        }
    }
}

TEST(SizeGradient, ParisAtTwoPointOneIsDrawnAtTheSizeItsLegendItemShows) {
    ChartModel model;
    CityPageState page;
    int32_t border = 0;
    ShowCityChart(
        model, page, border,
        LoadChartFile(ChartKind::City, QStringLiteral(TOLVANE_SOURCE_DIR "/data/EuropeCity.xml")));
    int paris = 0;
    for (int row = 2; row < page.grid.rowCount(); ++row) {
        if (page.grid.text(ColName, row) == u"Paris") paris = row;
        page.grid.setText(ColData, row, QString());
    }
    ASSERT_GT(paris, 0);
    page.grid.setText(ColData, 2, QStringLiteral("15.5"));
    page.grid.setText(ColData, 3, QStringLiteral("1.7"));
    page.grid.setText(ColData, paris, QStringLiteral("2.1"));
    ApplySizeGradient(page.grid, model.regionCount, &page.legend, 30, 200, 6);
    EXPECT_EQ(page.legend.grid.text(ColLegendText, 1), "0.000~2.583");
    EXPECT_EQ(page.legend.grid.text(ColLegendExtra, 1), "30");
    EXPECT_EQ(page.grid.text(ColExtra, paris), "30");
    EXPECT_EQ(page.grid.text(ColExtra, 2), "200");
}

TEST(SizeGradient, ClassSizesAreTruncatedIntegersEvenWhenReversed) {
    GridData grid = CityGrid({"0", "1", "2", "3"});
    ApplySizeGradient(grid, 4, nullptr, 50, 100, 4);
    EXPECT_EQ(Sizes(grid), QStringList({"50", "66", "83", "100"}));
    ApplySizeGradient(grid, 4, nullptr, 100, 50, 6); // smaller values, larger bubbles
    EXPECT_EQ(Sizes(grid), QStringList({"100", "80", "60", "50"}));
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
    EXPECT_EQ(Sizes(grid), QStringList({"0", "190", "190", "7"})); // 95: the last interval
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
