#include "charts/FlagChart.h"
#include "model/UserError.h"
#include "support/TempAppFolder.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

std::vector<FlagColumn> Columns(const QStringList& values) {
    std::vector<FlagColumn> columns;
    for (const QString& v : values)
        columns.push_back({QStringLiteral("XX"), v});
    return columns;
}

QStringList Sizes(const QStringList& values) {
    return FlagSizes(Columns(values));
}

} // namespace

TEST(FlagChart, SizesArePercentsOfTheLargestValue) {
    EXPECT_EQ(Sizes({"10", "20", "40"}), QStringList({"25.0", "50.0", "100.0"}));
    EXPECT_EQ(Sizes({"1", "2", ""}), QStringList({"50.0", "100.0", "0.0"}));
    EXPECT_EQ(Sizes({"-5", "", ""}), QStringList({"100.0", "100.0", "100.0"}));
    EXPECT_EQ(Sizes({"-5", "10", "20"}), QStringList({"-25.0", "50.0", "100.0"}));
    // Texts that pass the number check but are no number, or are no number at all, are 0.
    EXPECT_EQ(Sizes({"-", ".", "abc", "4"}), QStringList({"0.0", "0.0", "0.0", "100.0"}));
    EXPECT_EQ(Sizes({"1,5", "3"}), QStringList({"50.0", "100.0"}));
    // A value no single-precision number holds counts as 0 and never makes "inf" or "nan".
    EXPECT_EQ(Sizes({QString(45, u'9'), "2"}), QStringList({"0.0", "100.0"}));
    const QStringList far = Sizes({"0.000000000000000000000000000000000000001", "-1000"});
    EXPECT_EQ(far[0], "100.0");
    EXPECT_TRUE(far[1].startsWith("-340282346638")) << far[1].toStdString();
}

TEST(FlagChart, SizesAreWorkedInSinglePrecisionAndRoundedAsPrintf) {
    // 0.35 / 20 * 100 is 1.75 exactly in floats (1.7499.. in doubles); printf rounds an
    // exact half to even: 1.8 and 28.8, but 5.2 for 5.25.
    EXPECT_EQ(Sizes({"0.35", "20"})[0], "1.8");
    EXPECT_EQ(Sizes({"1.15", "4"})[0], "28.8");
    EXPECT_EQ(Sizes({"1.05", "20"})[0], "5.2");
    // 0.45 / 12 * 100 is 3.74999976 in floats (3.75 in doubles).
    EXPECT_EQ(Sizes({"0.45", "12"})[0], "3.7");
    EXPECT_EQ(Sizes({"1", "3"})[0], "33.3");
}

TEST(FlagChart, TheFileHoldsItsElementsInOrder) {
    const std::vector<FlagColumn> columns{{"BR", "10"}, {"de", "-"}, {"Q&A", "40"}};
    EXPECT_EQ(QString::fromUtf8(BuildFlagChart(QString(), columns).toBytes()),
              R"(<?xml version="1.0" encoding="utf-8"?>
<charts>
  <ename>flag1</ename>
  <count>3</count>
  <title>.</title>
  <item id="1">
    <name>BR</name>
    <data>10</data>
    <size>25.0</size>
  </item>
  <item id="2">
    <name>de</name>
    <data>-</data>
    <size>0.0</size>
  </item>
  <item id="3">
    <name>Q&amp;A</name>
    <data>40</data>
    <size>100.0</size>
  </item>
</charts>
)");
    EXPECT_TRUE(BuildFlagChart("GDP 2024", columns).toBytes().contains("<title>GDP 2024</title>"));
}

TEST(FlagChart, TheGridReadsOnlyTheChosenColumns) {
    GridData grid = MakeFlagGrid(15);
    EXPECT_EQ(grid.colCount(), 16);
    EXPECT_EQ(grid.text(15, 0), "15");
    EXPECT_FALSE(grid.readOnly(15, 2));
    for (int col = 1; col <= 15; ++col) {
        grid.setText(col, 1, QStringLiteral("C%1").arg(col));
        grid.setText(col, 2, QString::number(col));
    }
    SetFlagColumnCount(grid, 3);
    EXPECT_EQ(grid.colCount(), 4);
    SetFlagColumnCount(grid, 5); // the columns that come back are new and empty
    EXPECT_EQ(grid.text(3, 1), "C3");
    EXPECT_EQ(grid.text(5, 1), "");
    EXPECT_EQ(grid.text(5, 0), "5");
    EXPECT_FALSE(grid.readOnly(5, 1));

    const std::vector<FlagColumn> columns = FlagColumnsOf(grid, 5);
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[2].code, "C3");
    EXPECT_EQ(columns[2].value, "3");
    EXPECT_EQ(FlagSizes(columns), QStringList({"33.3", "66.7", "100.0", "0.0", "0.0"}));
}

TEST(FlagChart, WritingStagesTheTypesMovie) {
    TempAppFolder app;
    ChartModel model;
    model.appFolder = app.path();
    for (const char* movie : {"flag1.cht", "flag2.cht", "flag3.cht"})
        app.copyShipped(movie);
    const std::vector<FlagColumn> columns{{"FR", "1"}};
    for (const char* type : {"Flag1", "Flag2", "Flag3"}) {
        ASSERT_TRUE(WriteFlagChart(model, type, "t", columns));
        EXPECT_EQ(app.read("data/cmap.map"),
                  app.read("data/" + QString::fromLatin1(type).toLower() + ".cht"));
        EXPECT_TRUE(app.read("data/ChartFlag1.xml").contains("<ename>flag1</ename>"));
    }
    // Any other type writes nothing.
    QFile::remove(app.dataPath("ChartFlag1.xml"));
    EXPECT_FALSE(WriteFlagChart(model, "Flag4", "t", columns));
    EXPECT_FALSE(WriteFlagChart(model, "flag1", "t", columns));
    EXPECT_FALSE(app.exists("data/ChartFlag1.xml"));
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag3.cht"));

    // A movie that cannot be staged is reported, and the old staged movie and data stay.
    ASSERT_TRUE(WriteFlagChart(model, "Flag3", "old", columns));
    const QByteArray staged = app.read("data/ChartFlag1.xml");
    QFile::remove(app.dataPath("flag2.cht"));
    EXPECT_THROW(WriteFlagChart(model, "Flag2", "new", columns), UserError);
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag3.cht"));
    EXPECT_EQ(app.read("data/ChartFlag1.xml"), staged);
}
