#include "charts/Charts.h"
#include "model/Colors.h"
#include "model/UserError.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"
#include "support/TempAppFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

// A chart as the program writes it: loading and writing it again gives the same bytes.
const QByteArray kGermany = R"(<?xml version="1.0" encoding="utf-8"?>
<provinces>
  <regions>3</regions>
  <border>12632256</border>
  <showtext>-1</showtext>
  <province id="1">
    <name>Bayern</name>
    <shortname>DE-BY</shortname>
    <bgcolor>16711680</bgcolor>
    <value>12.5</value>
  </province>
  <province id="2">
    <name>Berlin</name>
    <shortname>-</shortname>
    <bgcolor>16777215</bgcolor>
    <value>0</value>
  </province>
  <province id="3">
    <name>Hessen &amp; Co</name>
    <shortname>DE-HE</shortname>
    <bgcolor>65280</bgcolor>
    <value>-0.001</value>
  </province>
  <plegends>
    <showplegend>-1</showplegend>
    <plegendcount>2</plegendcount>
    <plegend id="1">
      <text>low</text>
      <color>15794144</color>
    </plegend>
    <plegend id="2">
      <text>high</text>
      <color>2519316</color>
    </plegend>
  </plegends>
</provinces>
)";

class RegionChart : public ::testing::Test {
protected:
    void SetUp() override {
        model.appFolder = app.path();
        model.currentMapName = "Germany";
        app.write("data/Germany.xml", kGermany);
        app.write("data/Germany.map", "germany movie");
        app.write("data/Italy.map", "italy movie");
    }
    QString errorOfLoad(const QString& map) {
        try {
            LoadRegionChart(model, page, map);
        } catch (const UserError& e) {
            return e.message();
        }
        return "no error";
    }
    QString errorOfWrite() {
        try {
            WriteRegionChart(model, page);
        } catch (const UserError& e) {
            return e.message();
        }
        return "no error";
    }

    TempAppFolder app;
    ChartModel model;
    MapPageState page;
};

} // namespace

TEST_F(RegionChart, LoadFillsTheModelThePageAndStagesMovieAndData) {
    LoadRegionChart(model, page, "Germany");

    EXPECT_EQ(model.regionCount, 3);
    ASSERT_EQ(model.regions.size(), 3u);
    EXPECT_EQ(model.regions[2].Name, "Hessen & Co");
    EXPECT_EQ(model.regions[0].Color, 16711680);

    const GridData& g = page.grid;
    EXPECT_EQ(g.rowCount(), 5);
    EXPECT_EQ(g.text(1, 1), "Region Name");
    EXPECT_EQ(g.text(4, 1), "Color");
    EXPECT_EQ(g.text(1, 2), "Bayern");
    EXPECT_EQ(g.text(3, 2), "12.5");
    EXPECT_FALSE(g.readOnly(3, 2));
    EXPECT_TRUE(g.readOnly(1, 2));
    EXPECT_EQ(g.color(4, 2), 0x0000FF); // red, as the screen keeps it
    // A region without data: empty, locked, white.
    EXPECT_EQ(g.text(3, 3), "");
    EXPECT_TRUE(g.readOnly(3, 3));
    EXPECT_EQ(g.color(4, 3), kWhite);
    EXPECT_EQ(g.text(3, 4), "-0.001");

    EXPECT_TRUE(page.showName);
    EXPECT_EQ(page.border, kSilver);
    EXPECT_TRUE(page.legend.show);
    EXPECT_EQ(page.legend.countIndex, 1);
    EXPECT_EQ(page.legend.grid.rowCount(), 3);
    EXPECT_EQ(page.legend.grid.text(1, 2), "high");
    EXPECT_FALSE(page.legend.grid.readOnly(1, 2));
    EXPECT_EQ(page.legend.grid.color(2, 1), SwapRedBlue(15794144));

    EXPECT_EQ(app.read("data/cmap.map"), "germany movie");
    EXPECT_EQ(app.read("data/province.xml"), kGermany);
}

TEST_F(RegionChart, WriteThenLoadThenWriteIsByteIdentical) {
    LoadRegionChart(model, page, "Germany");
    WriteRegionChart(model, page);
    EXPECT_EQ(app.read("data/Germany.xml").toStdString(), kGermany.toStdString());
    LoadRegionChart(model, page, "Germany");
    WriteRegionChart(model, page);
    EXPECT_EQ(app.read("data/Germany.xml"), kGermany);
}

TEST_F(RegionChart, WriterTakesValuesAndColoursFromTheGridAndSkipsNill) {
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 2, "1,5");     // comma decimals are written with a point
    page.grid.setText(3, 3, "99");      // no-data regions are written as 0 whatever they show
    page.grid.setText(3, 4, "1.2.3");   // not a number: 0
    page.grid.setColor(4, 4, 0x00FF00); // platform green stays green
    model.regions[0].Name = "Nill";
    page.showName = false;
    page.border = 0x0000FF;
    WriteRegionChart(model, page);

    LoadRegionChart(model, page, "Germany");
    ASSERT_EQ(model.regions.size(), 2u);
    EXPECT_EQ(model.regions[0].Name, "Berlin");
    EXPECT_EQ(model.regions[0].Id, 2); // keeps its row number: the ids show a gap
    EXPECT_EQ(model.regions[0].Value, 0);
    EXPECT_EQ(model.regions[1].Value, 0);
    EXPECT_EQ(model.regions[1].Color, 0x00FF00);
    EXPECT_FALSE(page.showName);
    EXPECT_EQ(page.border, 0x0000FF);
    const QByteArray written = app.read("data/Germany.xml");
    EXPECT_TRUE(written.contains("<border>16711680</border>"));
    EXPECT_TRUE(written.contains("<showtext>0</showtext>"));
    // Only what was read shows: no row is left over from the longer chart.
    EXPECT_EQ(page.grid.rowCount(), 4);
}

TEST_F(RegionChart, LegendCountIsTheListChoiceAndItemsAreTheGridRows) {
    LoadRegionChart(model, page, "Germany");
    page.legend.countIndex = 5; // "6" chosen, two rows in the grid
    WriteRegionChart(model, page);
    const QByteArray written = app.read("data/Germany.xml");
    EXPECT_TRUE(written.contains("<plegendcount>6</plegendcount>"));
    EXPECT_EQ(written.count("<plegend id="), 2);

    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(page.legend.countIndex, 5);
    EXPECT_EQ(page.legend.grid.rowCount(), 7); // sized by the count, not by the items
    EXPECT_EQ(page.legend.grid.text(1, 2), "high");
    EXPECT_EQ(page.legend.grid.text(1, 6), "");
    EXPECT_EQ(app.read("data/province.xml").count("<plegend id="), 2);
}

TEST_F(RegionChart, AFileWithoutLegendLeavesAnEmptyLegendAndStagesZeroes) {
    QByteArray noLegend = kGermany;
    noLegend.truncate(noLegend.indexOf("  <plegends>"));
    noLegend += "</provinces>\n";
    app.write("data/Germany.xml", noLegend);
    page.legend.show = false;
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(page.legend.countIndex, -1);
    EXPECT_EQ(page.legend.grid.rowCount(), 1);
    EXPECT_FALSE(page.legend.show);
    const QByteArray staged = app.read("data/province.xml");
    EXPECT_TRUE(staged.contains(
        "<showplegend>0</showplegend>\n    <plegendcount>0</plegendcount>\n  </plegends>"));
}

TEST_F(RegionChart, ReaderAcceptsCommasLooseBooleansAndPassesTheBorderTextOn) {
    QByteArray file = kGermany;
    file.replace("<value>12.5</value>", "<value>12,5</value>");
    file.replace("<showtext>-1</showtext>", "<showtext>True</showtext>");
    file.replace("<border>12632256</border>", "<border>0012632256</border>");
    file.replace("<showplegend>-1</showplegend>", "<showplegend>0</showplegend>");
    app.write("data/Germany.xml", file);
    page.legend.show = true; // a hidden legend in the file leaves the box as it is
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(model.regions[0].Value, 12.5);
    EXPECT_TRUE(page.showName);
    EXPECT_TRUE(page.legend.show);
    EXPECT_EQ(page.border, kSilver);
    EXPECT_TRUE(app.read("data/province.xml").contains("<border>0012632256</border>"));
}

TEST_F(RegionChart, EachItemStartsFromAnEmptyRecord) {
    QByteArray file = kGermany;
    file.replace("    <value>-0.001</value>\n", "");
    file.replace("    <bgcolor>65280</bgcolor>\n", "");
    app.write("data/Germany.xml", file);
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(model.regions[2].Value, 0);
    EXPECT_EQ(model.regions[2].Color, 0);
}

TEST_F(RegionChart, BadInputChangesNothingAndSaysWhat) {
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 2, "77"); // an edit not yet made
    const QByteArray staged = app.read("data/province.xml");
    const auto unchanged = [&] {
        EXPECT_EQ(model.regionCount, 3);
        EXPECT_EQ(model.regions[0].Name, "Bayern");
        EXPECT_EQ(page.grid.rowCount(), 5);
        EXPECT_EQ(page.grid.text(3, 2), "77");
        EXPECT_EQ(app.read("data/cmap.map"), "germany movie");
        EXPECT_EQ(app.read("data/province.xml"), staged);
    };

    EXPECT_TRUE(errorOfLoad("Italy").startsWith("File not found: ")) << "missing chart";
    unchanged();

    app.write("data/Italy.xml", "<provinces><regions>2</regions><province id=\"1\">");
    EXPECT_TRUE(errorOfLoad("Italy").contains("Italy.xml"));
    unchanged();

    const struct {
        QByteArray from, to;
        QString message;
    } cases[] = {
        {"<regions>3</regions>", "<regions>three</regions>",
         "'three' is not a valid integer value"},
        {"<bgcolor>16777215</bgcolor>", "<bgcolor>red</bgcolor>",
         "'red' is not a valid integer value"},
        {"<value>12.5</value>", "<value>1.2.3</value>",
         "'1.2.3' is not a valid floating point value"},
        {"<showtext>-1</showtext>", "<showtext>yes</showtext>",
         "'yes' is not a valid boolean value"},
        {"<showplegend>-1</showplegend>", "<showplegend>?</showplegend>",
         "'?' is not a valid boolean value"},
        {"<plegendcount>2</plegendcount>", "<plegendcount>2.0</plegendcount>",
         "'2.0' is not a valid integer value"},
        {"<color>2519316</color>", "<color></color>", "'' is not a valid integer value"},
        {"<border>12632256</border>", "<border>silver</border>",
         "'silver' is not a valid integer value"},
        {"<border>12632256</border>", "", "'' is not a valid integer value"},
        {"<province id=\"2\">", "<province>",
         "Could not convert variant of type (Null) into type (Integer)"},
        {"<plegend id=\"2\">", "<plegend id=\"two\">",
         "Could not convert variant of type (String) into type (Integer)"},
    };
    for (const auto& c : cases) {
        QByteArray file = kGermany;
        file.replace(c.from, c.to);
        app.write("data/Italy.xml", file);
        EXPECT_EQ(errorOfLoad("Italy"), c.message) << c.to.constData();
        unchanged();
    }
}

TEST_F(RegionChart, AFailedStagingIsReportedAndChangesNothing) {
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 2, "77"); // an edit not yet made
    const QByteArray staged = app.read("data/province.xml");
    QByteArray spain = kGermany;
    spain.replace("Bayern", "Madrid");
    app.write("data/Spain.xml", spain);
    const auto unchanged = [&] {
        EXPECT_EQ(model.regions[0].Name, "Bayern");
        EXPECT_EQ(page.grid.text(1, 2), "Bayern");
        EXPECT_EQ(page.grid.text(3, 2), "77");
        EXPECT_EQ(app.read("data/cmap.map"), "germany movie");
        EXPECT_EQ(app.read("data/province.xml"), staged);
    };

    // No movie: the old one would otherwise be drawn with Spain's data.
    EXPECT_EQ(errorOfLoad("Spain"),
              "File not found: " + QDir::toNativeSeparators(app.dataPath("Spain.map")));
    unchanged();

    // The staged data file cannot be replaced after the movie was: the movie goes back.
    app.write("data/Spain.map", "spain movie");
    QFile::remove(app.dataPath("province.xml"));
    QDir().mkpath(app.dataPath("province.xml"));
    EXPECT_TRUE(errorOfLoad("Spain").startsWith("Cannot write ")) << "a folder in the way";
    EXPECT_EQ(model.regions[0].Name, "Bayern");
    EXPECT_EQ(page.grid.text(3, 2), "77");
    EXPECT_EQ(app.read("data/cmap.map"), "germany movie");
    EXPECT_TRUE(QDir(app.dataPath("")).entryList({"*.??????"}, QDir::Files).isEmpty())
        << "no temporary file is left behind";
}

TEST_F(RegionChart, AStagedMovieIsTheMapsFileNotACopy) {
    LoadRegionChart(model, page, "Germany");
    const auto staged = StampOf(app.dataPath("cmap.map"));
    ASSERT_TRUE(staged);
    EXPECT_EQ(staged, StampOf(app.dataPath("Germany.map"))) << "one file under two names";
    LoadRegionChart(model, page, "Germany");
    WriteRegionChart(model, page);
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(StampOf(app.dataPath("cmap.map")), staged) << "staged again: left as it was";

    // A map file the user keeps read-only is copied, so the staged movie stays writable
    // for the next map.
    QFile::setPermissions(app.dataPath("Germany.map"), QFile::ReadOwner | QFile::ReadGroup);
    app.write("data/Italy.xml", kGermany);
    LoadRegionChart(model, page, "Italy");
    LoadRegionChart(model, page, "Germany");
    EXPECT_NE(StampOf(app.dataPath("cmap.map"))->inode,
              StampOf(app.dataPath("Germany.map"))->inode);
    EXPECT_EQ(app.read("data/cmap.map"), "germany movie");
    EXPECT_TRUE(QFileInfo(app.dataPath("cmap.map")).isWritable());
    LoadRegionChart(model, page, "Italy");
    EXPECT_EQ(app.read("data/cmap.map"), "italy movie");
    EXPECT_TRUE(QDir(app.dataPath("")).entryList({"*.??????"}, QDir::Files).isEmpty());
}

TEST_F(RegionChart, StagedDataIsTheChartFileOnlyWhileItIsWhatStagingWouldWrite) {
    const auto sameFile = [&](const char* a, const char* b) {
        return StampOf(app.dataPath(a))->inode == StampOf(app.dataPath(b))->inode;
    };
    LoadRegionChart(model, page, "Germany");
    LoadRegionChart(model, page, "Germany");
    EXPECT_TRUE(sameFile("province.xml", "Germany.xml")) << "written as staging would: linked";

    // Read leniently, staged in the program's own form.
    QByteArray loose = kGermany;
    loose.replace("<value>12.5</value>", "<value>12,5</value>");
    app.write("data/Germany.xml", loose);
    LoadRegionChart(model, page, "Germany");
    EXPECT_FALSE(sameFile("province.xml", "Germany.xml"));
    EXPECT_EQ(app.read("data/province.xml"), kGermany);
    EXPECT_EQ(app.read("data/Germany.xml"), loose) << "the chart file is never touched";

    // A legend shown with fewer items than the file holds.
    QByteArray fewer = kGermany;
    fewer.replace("<plegendcount>2</plegendcount>", "<plegendcount>1</plegendcount>");
    app.write("data/Germany.xml", fewer);
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(app.read("data/province.xml").count("<plegend id="), 1);

    // A make after an edit stages what it made.
    app.write("data/Germany.xml", kGermany);
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 2, "7");
    WriteRegionChart(model, page);
    LoadRegionChart(model, page, "Germany");
    EXPECT_TRUE(app.read("data/province.xml").contains("<value>7</value>"));
    EXPECT_EQ(app.read("data/province.xml"), app.read("data/Germany.xml"));
}

TEST_F(RegionChart, AMakeThatChangesNothingLeavesTheFileAsItIs) {
    KeepChartFilesDecoded(3);
    QFile file(app.dataPath("Germany.xml"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    file.close();
    LoadRegionChart(model, page, "Germany");
    const auto before = StampOf(app.dataPath("Germany.xml"));
    WriteRegionChart(model, page);
    EXPECT_EQ(StampOf(app.dataPath("Germany.xml")), before);

    page.legend.grid.setText(1, 2, "higher");
    WriteRegionChart(model, page);
    EXPECT_TRUE(app.read("data/Germany.xml").contains("<text>higher</text>"));
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 2, "13");
    WriteRegionChart(model, page);
    EXPECT_TRUE(app.read("data/Germany.xml").contains("<value>13</value>"));
}

// A make after edits copies the text of the rows that did not change from the file made
// before: the file must be the one a first make writes, and load as it reads.
TEST_F(RegionChart, MakesAfterEditsWriteWhatAFirstMakeWould) {
    KeepChartFilesDecoded(3);
    const auto makeAndCheck = [&](const char* step) {
        SCOPED_TRACE(step);
        const ChartFileData made = MakeMapChart(ChartKind::Region, model, page);
        WriteRegionChart(model, page);
        const QByteArray file = app.read("data/Germany.xml");
        EXPECT_EQ(file.toStdString(),
                  BuildChartFile(ChartKind::Region, made).toBytes().toStdString());
        LoadRegionChart(model, page, "Germany");
        const ChartFileData read =
            ParseChartFile(ChartKind::Region, XmlReader::fromBytes(file, "made"));
        ChartFileData shown = read; // what the page now holds, as a file holds it
        shown.items = model.regions;
        EXPECT_TRUE(SameChartData(read, shown));
    };
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 4, "0.1");
    makeAndCheck("first make");
    page.grid.setText(3, 2, "7.25");
    page.grid.setColor(4, 4, kWhite);
    makeAndCheck("a value and a colour");
    page.grid.setRowCount(6);
    page.grid.setText(1, 5, "Saarland <SL>");
    page.grid.setText(2, 5, "DE-SL");
    page.grid.setText(3, 5, "4");
    makeAndCheck("a row added");
    page.grid.setText(3, 3, "2");
    page.grid.setRowCount(4);
    makeAndCheck("rows removed, one edited");
    EXPECT_EQ(page.grid.text(3, 2), "7.25");
    EXPECT_EQ(page.grid.text(3, 3), "");
}

TEST_F(RegionChart, AFailedWriteSavesNothingAndKeepsTheOldFile) {
    LoadRegionChart(model, page, "Germany");
    page.grid.setText(3, 4, "5");
    page.grid.setText(3, 2, "-"); // passes the number check but is no number
    EXPECT_EQ(errorOfWrite(), "'-' is not a valid floating point value");
    EXPECT_EQ(app.read("data/Germany.xml"), kGermany);

    page.grid.setText(3, 2, "1");
    model.currentMapName = "Locked";
    QDir().mkpath(app.dataPath("Locked.xml")); // a target that cannot be replaced
    EXPECT_TRUE(errorOfWrite().startsWith("Cannot write "));
}

TEST_F(RegionChart, RowsBeyondTheLoadedTableKeepTheirOwnNames) {
    // An options file can give the grid more rows than the chart that was loaded.
    LoadRegionChart(model, page, "Germany");
    page.grid.setRowCount(6);
    page.grid.setText(1, 5, "Saarland");
    page.grid.setText(2, 5, "DE-SL");
    page.grid.setText(3, 5, "4");
    WriteRegionChart(model, page);
    LoadRegionChart(model, page, "Germany");
    ASSERT_EQ(model.regions.size(), 4u);
    EXPECT_EQ(model.regions[3].Name, "Saarland");
    EXPECT_EQ(model.regions[3].ShortName, "DE-SL");
    EXPECT_EQ(model.regions[3].Value, 4);
}

TEST_F(RegionChart, LargeChartsHaveNoFixedLimit) {
    QByteArray big = "<provinces><regions>700</regions><border>0</border>";
    for (int i = 1; i <= 700; ++i)
        big += "<province id=\"" + QByteArray::number(i) + "\"><name>R" + QByteArray::number(i) +
               "</name><shortname>K</shortname><bgcolor>1</bgcolor><value>" +
               QByteArray::number(i) + "</value></province>";
    big += "</provinces>";
    app.write("data/Germany.xml", big);
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(model.regionCount, 700);
    EXPECT_EQ(page.grid.rowCount(), 702);
    EXPECT_EQ(page.grid.text(3, 701), "700");
}

// The same map's chart, changed on disk: the rows keep their names, yet the grid must show
// the new values and colours, though a refill passes over rows whose records are the same.
TEST_F(RegionChart, ReloadingAChangedChartShowsItsNewValues) {
    LoadRegionChart(model, page, "Germany");
    QByteArray changed = kGermany;
    changed.replace("<value>12.5</value>", "<value>99</value>")
        .replace("<bgcolor>65280</bgcolor>", "<bgcolor>255</bgcolor>");
    app.write("data/Germany.xml", changed);
    LoadRegionChart(model, page, "Germany");
    EXPECT_EQ(page.grid.text(3, 2), "99");
    EXPECT_EQ(page.grid.color(4, 4), SwapRedBlue(255));
    EXPECT_EQ(page.grid.text(3, 4), "-0.001");
}
