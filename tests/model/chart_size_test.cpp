#include "forms/SaveChart.h"
#include "model/ChartSize.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

using namespace tolvane;

TEST(ChartSize, GrowsInTwentyStepsAndTruncatesHalfPixels) {
    const struct {
        int position;
        QSize size;
    } table[] = {{0, {500, 350}},   {1, {575, 402}},    {2, {650, 455}},   {3, {725, 507}},
                 {10, {1250, 875}}, {19, {1925, 1347}}, {20, {2000, 1400}}};
    for (const auto& row : table)
        EXPECT_EQ(ChartSizeForPosition(row.position), row.size) << row.position;
    EXPECT_EQ(ChartSizeLabel(ChartSizeForPosition(10)), "1250X875");
}

TEST(SaveChartName, KeepsPictureExtensionsAndGivesOthersBmp) {
    EXPECT_EQ(WithPictureExtension("/tmp/chart"), "/tmp/chart.bmp");
    EXPECT_EQ(WithPictureExtension("/tmp/chart.BMP"), "/tmp/chart.BMP");
    EXPECT_EQ(WithPictureExtension("/tmp/chart.png"), "/tmp/chart.png");
    EXPECT_EQ(WithPictureExtension("/tmp/chart.Svg"), "/tmp/chart.Svg");
    EXPECT_EQ(WithPictureExtension("/tmp/chart.pdf"), "/tmp/chart.pdf");
    EXPECT_EQ(WithPictureExtension("/tmp/chart.jpg"), "/tmp/chart.jpg.bmp");
    EXPECT_EQ(WithPictureExtension("/tmp/v1.2/chart"), "/tmp/v1.2/chart.bmp");
}

TEST(SaveChartName, TheChosenFilterGivesATypedNameItsExtension) {
    const QString offered = "*.bmp;;*.png;;*.svg;;*.pdf";
    EXPECT_EQ(WithChosenExtension("/tmp/chart", offered, "*.png"), "/tmp/chart.png");
    EXPECT_EQ(WithChosenExtension("/tmp/chart.BMP", offered, "*.png"), "/tmp/chart.BMP");
    EXPECT_EQ(WithChosenExtension("/tmp/chart.jpg", offered, "*.pdf"), "/tmp/chart.jpg.pdf");
    EXPECT_EQ(WithChosenExtension("/tmp/chart", offered, "All files (*)"), "/tmp/chart");
}
