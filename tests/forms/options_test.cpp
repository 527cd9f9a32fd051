// Save Options, Open Options and the last run's options, through the real main window.
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/OptionControls.h"
#include "forms/OptionsCommands.h"
#include "forms/PageParts.h"
#include "io/OptionsFile.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

// The whole file for the "Map" page on its default map with two region rows (the second
// without data), no rows in the other grids, a two-item region legend and one-item city and
// shade legends with empty texts.
const QStringList kExample{"Tolvane Options",
                           "ActivePageIndex:0",
                           "ActiveMapName:World2",
                           "cmbMap:1",
                           "clrBoder:12632256",
                           "trSize:0",
                           "WGrid:Alpha+AL+12.5+14745584",
                           "WGrid:Beta+-++16777215",
                           "cmbShadeMap:1",
                           "clrShadeBoder:12632256",
                           "trShadeSize:0",
                           "cmbCityMap:0",
                           "clrCityBoder:12632256",
                           "trCitySize:0",
                           "cmbRCMap:4",
                           "trRCSize:0",
                           "cmbPLegendCount:1",
                           "gdPLegend:0.000~10.000?=14745584",
                           "gdPLegend:10.000~20.000?=1339686",
                           "cmbCLegendCount:0",
                           "gdCLegend:?=16777215",
                           "cmbShadeLegendCount:0",
                           "gdShadeLegend:?=16777215"};

QByteArray CrLf(const QStringList& lines) {
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* stem : {"World2", "Germany", "Belgium", "Germany3", "Italy2"}) {
            app.copyShipped(QString::fromLatin1(stem) + ".xml");
            app.copyShipped(QString::fromLatin1(stem) + ".map");
        }
        app.copyShipped("cmap1.map");
    }
    void start() {
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
    }
    template <typename Control> Control* named(const QString& name) const {
        return main->findChild<Control*>(name);
    }
    GridData& grid(const QString& name) const { return named<DataGridView>(name)->grid(); }
    QSlider* bar(const QString& name) const { return named<QSlider>(name); }
    QComboBox* list(const QString& name) const { return named<QComboBox>(name); }
    LegendMapPage& map() const { return main->regionPage(); }
    LegendMapPage& shade() const { return main->shadePage(); }
    static int mapIndex(const QString& map) {
        return static_cast<int>(RegionMaps().stems().indexOf(map));
    }
    void chooseMap(const QString& caption) {
        map().mapList()->setCurrentText(caption);
        map().mapChange();
    }
    bool open(const QString& path) {
        dialogs.queuePath(path);
        main->options().open();
        return dialogs.errors.isEmpty();
    }
    void openText(const QStringList& lines) {
        app.write("in.set", CrLf(lines));
        open(app.path() + "in.set");
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

// The table is the one place a key meets its control: each control carries its key, no
// other control under the window does, and every key the writer writes is in it.
TEST_F(Options, EveryKeyNamesOneControlOfTheTable) {
    start();
    QStringList keys;
    for (const OptionControl& entry : OptionControls()) {
        const QString key = QString::fromLatin1(entry.key);
        EXPECT_EQ(entry.control(*main)->objectName(), key);
        EXPECT_EQ(main->clientArea()->findChildren<QWidget*>(key).size(), 1) << entry.key;
        keys << key;
    }
    EXPECT_EQ(keys.removeDuplicates(), 0);
    for (const OptionSlot& slot : OptionLineOrder())
        EXPECT_TRUE(keys.contains(slot.name)) << slot.name.toStdString();
}

TEST_F(Options, SaveOptionsWritesTheExampleByteForByteAndAsksBeforeReplacing) {
    start();
    GridData& regions = grid("WGrid");
    regions.setRowCount(4);
    regions.setText(1, 2, "Alpha");
    regions.setText(2, 2, "AL");
    regions.setText(3, 2, "12.5");
    regions.setColor(4, 2, 14745584);
    regions.setText(1, 3, "Beta");
    regions.setText(2, 3, "-");
    regions.setText(3, 3, "");
    regions.setColor(4, 3, 16777215);
    for (const QString name : {"WShadeGrid", "WCityGrid", "WRCRGrid", "WRCCGrid"})
        grid(name).setRowCount(2);
    for (const auto& [count, index] :
         {std::pair{"cmbPLegendCount", 1}, {"cmbCLegendCount", 0}, {"cmbShadeLegendCount", 0}})
        list(count)->setCurrentIndex(index);
    GridData& legend = grid("gdPLegend");
    legend.setRowCount(3);
    legend.setText(1, 1, "0.000~10.000");
    legend.setColor(2, 1, 14745584);
    legend.setText(1, 2, "10.000~20.000");
    legend.setColor(2, 2, 1339686);
    for (const QString name : {"gdCLegend", "gdShadeLegend"}) {
        grid(name).setRowCount(2);
        grid(name).setText(1, 1, "");
        grid(name).setColor(2, 1, kWhite);
    }
    named<ColorEdit>("clrBoder")->setColor(12632256); // the loaded map may have its own

    dialogs.queuePath(app.path() + "example"); // no extension typed
    main->options().save();
    ASSERT_EQ(dialogs.titles, QStringList{"Save Options"});
    EXPECT_EQ(app.read("example.set"), CrLf(kExample));

    bar("trSize")->setValue(5);
    dialogs.queuePath(app.path() + "example.set");
    dialogs.queueCancel();
    main->options().save();
    EXPECT_EQ(dialogs.titles.last(),
              "Information: A same named file has existed. Do you want to replace it?");
    EXPECT_EQ(app.read("example.set"), CrLf(kExample));
    dialogs.queuePath(app.path() + "example.set");
    dialogs.queueOk();
    main->options().save();
    EXPECT_TRUE(app.read("example.set").contains("\r\ntrSize:5\r\n"));
    EXPECT_TRUE(dialogs.allAnswered());
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(Options, OpeningTheExampleOnItsOwnMapSetsTheGridsWithoutReloading) {
    start();
    app.write("example.set", CrLf(kExample));
    const int legendRowsBefore = grid("gdShadeLegend").rowCount();
    ASSERT_TRUE(open(app.path() + "example.set"));
    EXPECT_EQ(dialogs.titles, QStringList{"Open Options"});

    const GridData& regions = grid("WGrid");
    ASSERT_EQ(regions.rowCount(), 4);
    EXPECT_EQ(regions.text(1, 1), "Region Name");
    EXPECT_EQ(regions.text(1, 2), "Alpha");
    EXPECT_EQ(regions.text(3, 2), "12.5");
    EXPECT_EQ(regions.color(4, 2), 14745584);
    EXPECT_FALSE(regions.readOnly(3, 2));
    EXPECT_EQ(regions.text(2, 3), "-");
    EXPECT_TRUE(regions.readOnly(3, 3));
    EXPECT_EQ(grid("WShadeGrid").text(2, 1), "Region"); // the title row is the reader's own

    EXPECT_EQ(list("cmbPLegendCount")->currentIndex(), 1);
    EXPECT_EQ(map().state().legend.countIndex, 1); // what a make writes follows the list
    EXPECT_EQ(grid("gdPLegend").rowCount(), 3);
    EXPECT_EQ(grid("gdPLegend").text(1, 2), "10.000~20.000");
    EXPECT_EQ(grid("gdPLegend").color(2, 2), 1339686);
    EXPECT_EQ(shade().state().legend.countIndex, 0);
    EXPECT_EQ(main->cityPage().state().legend.countIndex, 0);
    EXPECT_EQ(grid("gdShadeLegend").rowCount(), std::max(legendRowsBefore, 2));
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(main->pageTabs()->currentIndex(), 0);
}

TEST_F(Options, PlusSignsAndLegendMarksInTextsSurviveAWriteAndARead) {
    start();
    main->pageTabs()->setCurrentIndex(1); // loads the shade chart of "Germany"
    GridData& shadeRows = grid("WShadeGrid");
    shadeRows.setText(1, 3, "Baden+Württemberg");
    shadeRows.setText(5, 3, "4");
    main->pageTabs()->setCurrentIndex(0);
    GridData& regions = grid("WGrid");
    regions.setText(1, 2, "Bosnia+Herzegovina");
    grid("gdPLegend").setText(1, 1, "Low?=High: 1+2");
    dialogs.queuePath(app.path() + "texts.set");
    main->options().save();
    const QByteArray saved = app.read("texts.set");

    regions.setText(1, 2, "typed over");
    shadeRows.setText(1, 3, "typed over");
    ASSERT_TRUE(open(app.path() + "texts.set"));
    EXPECT_EQ(regions.text(1, 2), "Bosnia+Herzegovina");
    EXPECT_EQ(grid("gdPLegend").text(1, 1), "Low?=High: 1+2");
    main->pageTabs()->setCurrentIndex(1); // the same shade map: the file's rows stay
    EXPECT_EQ(shadeRows.text(1, 3), "Baden+Württemberg");
    EXPECT_EQ(shadeRows.text(5, 3), "4");

    // Written again, it is the same file.
    main->pageTabs()->setCurrentIndex(0);
    main->options().writeFile(app.path() + "again.set");
    EXPECT_EQ(app.read("again.set"), saved);
}

TEST_F(Options, AFileOfAnotherMapReloadsThePageAndOneOfTheSameMapKeepsItsRows) {
    start();
    GridData& regions = grid("WGrid");
    int row = 2;
    while (regions.text(2, row) == "-")
        ++row;
    const QString loaded = regions.text(3, row);
    regions.setText(3, row, "4242");
    dialogs.queuePath(app.path() + "world.set");
    main->options().save();

    dialogs.queueOk(); // discard the unmade edit
    chooseMap("Germany");
    EXPECT_TRUE(open(app.path() + "world.set"));
    EXPECT_EQ(map().mapList()->currentText(), "World2");
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map"));
    EXPECT_EQ(regions.text(3, row), loaded); // the chart's rows replaced the file's
    EXPECT_EQ(regions.rowCount(), main->model().regionCount + 2);

    const int rows = regions.rowCount();
    EXPECT_TRUE(open(app.path() + "world.set"));
    EXPECT_EQ(regions.text(3, row), "4242");
    EXPECT_EQ(map().undoStack().undoName(), "Open Options"); // one step, whatever it changed
    map().undo();
    EXPECT_EQ(regions.text(3, row), loaded);
    EXPECT_EQ(regions.rowCount(), rows);
    map().undoStack().redo();
    EXPECT_EQ(regions.text(3, row), "4242");
    main->makeAndPreview(); // the rows are this map's: a make keeps them
    EXPECT_TRUE(app.read("data/World2.xml").contains("<value>4242</value>"));

    // Saved on "Advance Map" with the map that page shows, but another map for this page:
    // this page is reloaded too, or its rows would stand under the other map's name.
    openText({"Tolvane Options", "ActivePageIndex:1", "ActiveMapName:Germany",
              QString("cmbMap:%1").arg(mapIndex("Germany")), "WGrid:Stale+ST+1+255"});
    EXPECT_EQ(main->model().currentMapName, "Germany");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/Germany.map"));
    EXPECT_NE(regions.text(1, 2), "Stale");
}

TEST_F(Options, AFileSavedOnTheFlagPageRestoresTheMapListAndReloads) {
    start();
    openText({"Tolvane Options", "ActivePageIndex:4", QString("cmbMap:%1").arg(mapIndex("Germany")),
              "trSize:2", "WGrid:Stale+ST+1+255"});
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(map().mapList()->currentText(), "Germany");
    EXPECT_EQ(main->model().currentMapName, "Germany");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/Germany.map"));
    EXPECT_NE(grid("WGrid").text(1, 2), "Stale");
    EXPECT_EQ(map().sizeBar()->sizeLabel()->text(), "650X455");

    main->pageTabs()->setCurrentIndex(4);
    main->options().writeFile(app.path() + "flag.set");
    const QByteArray saved = app.read("flag.set");
    EXPECT_TRUE(saved.startsWith("Tolvane Options\r\nActivePageIndex:4\r\ncmbMap:27\r\n"));
    EXPECT_FALSE(saved.contains("ActiveMapName"));
}

TEST_F(Options, OddLinesAreIgnoredOrSettledAndABadNumberStopsTheReading) {
    start();
    const QByteArray staged = app.read("data/cmap.map");
    openText({"not the header", "ActivePageIndex:0", "ActiveMapName:World2", "cmbMap:99",
              "trSize:5", "trShadeSize:99", "clrShadeBoder:clRed", "clrNowhere:not a colour",
              "cmbNowhere:x", "Unknown:1", "a line without a colon", "cmbShadeLegendCount:1",
              "cmbFlag:1", "txtFlagTitle:Title: a+b", "gdShadeLegend:a?=b?=5",
              "WShadeGrid:A+B+C+red+1", "trSize:9"});
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0].toStdString(), "'red' is not a valid integer value");
    EXPECT_EQ(map().mapList()->currentText(), "World2"); // no such index: the list stays
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(map().sizeBar()->sizeLabel()->text(), "875X612");
    EXPECT_EQ(bar("trShadeSize")->value(), 20);
    EXPECT_EQ(shade().sizeBar()->sizeLabel()->text(), "2000X1400");
    EXPECT_EQ(shade().state().border, 255); // what a make writes follows the colour edit
    EXPECT_EQ(shade().state().legend.countIndex, 1);
    EXPECT_EQ(grid("gdShadeLegend").text(1, 1), "a?=b");
    EXPECT_EQ(grid("gdShadeLegend").color(2, 1), 5);
    EXPECT_EQ(grid("WShadeGrid").rowCount(), 2);
    EXPECT_EQ(list("cmbFlag")->currentIndex(), 1);
    EXPECT_EQ(named<QLineEdit>("txtFlagTitle")->text(), "Title: a+b");
    EXPECT_EQ(app.read("data/cmap.map"), staged); // nothing reloaded, no list's handler ran
    EXPECT_EQ(grid("WGrid").rowCount(), main->model().regionCount + 2);
}

TEST_F(Options, EveryGridCountsItsOwnRows) {
    start();
    QStringList lines{"Tolvane Options", "ActivePageIndex:0", "ActiveMapName:World2"};
    const QStringList grids{"WGrid", "WShadeGrid", "WCityGrid", "WRCRGrid", "WRCCGrid"};
    for (int n = 1; n <= 50; ++n)
        for (int g = 0; g < grids.size(); ++g)
            if (n <= 10 + 10 * g) // 10, 20, .. 50 rows
                lines << QString("%1:%1 %2+K+%2+%2").arg(grids[g]).arg(n) +
                             (g % 3 == 0 ? "" : "+1");
    openText(lines);
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    for (int g = 0; g < grids.size(); ++g) {
        const GridData& rows = grid(grids[g]);
        const int last = 10 + 10 * g + 1;
        EXPECT_EQ(rows.rowCount(), last + 1) << grids[g].toStdString();
        EXPECT_EQ(rows.text(1, 2), grids[g] + " 1");
        EXPECT_EQ(rows.text(1, last), QString("%1 %2").arg(grids[g]).arg(last - 1));
        EXPECT_EQ(rows.color(4, last), last - 1);
    }
    EXPECT_EQ(grid("WCityGrid").text(2, 1), "Region");
    EXPECT_EQ(grid("WRCCGrid").text(5, 1), "Size");
    EXPECT_EQ(grid("WRCRGrid").text(2, 1), "Short Name");
}

TEST_F(Options, StartUpRestoresTheLastRunOnTheMapPageAndExitKeepsIt) {
    app.write("data/LastOption.set",
              CrLf({"Tolvane Options", "ActivePageIndex:1", "ActiveMapName:Italy",
                    QString("cmbMap:%1").arg(mapIndex("Belgium")), "clrBoder:255", "trSize:3",
                    "WGrid:Stale+ST+1+255", "cmbShadeMap:2", "trShadeSize:20",
                    "WShadeGrid:Stale+ST+1+255+1"}));
    start();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(main->pageTabs()->currentIndex(), 0);
    EXPECT_EQ(main->model().chartMode, 1);
    EXPECT_EQ(main->model().currentMapName, "Belgium");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/Belgium.map"));
    EXPECT_NE(grid("WGrid").text(1, 2), "Stale");   // the map's chart fills its page
    EXPECT_FALSE(map().showNameBox()->isEnabled()); // start-up's own list of maps
    EXPECT_EQ(map().sizeBar()->sizeLabel()->text(), "725X507");
    main->pageTabs()->setCurrentIndex(1);
    EXPECT_EQ(main->model().currentMapName, "Italy2");
    EXPECT_NE(grid("WShadeGrid").text(1, 2), "Stale");
    EXPECT_EQ(bar("trShadeSize")->value(), 20);

    bar("trSize")->setValue(7);
    main.reset(); // exit
    const QByteArray kept = app.read("data/LastOption.set");
    EXPECT_TRUE(kept.startsWith("Tolvane Options\r\nActivePageIndex:1\r\nActiveMapName:Italy\r\n"
                                "cmbMap:15\r\n"));
    EXPECT_TRUE(kept.contains("\r\ntrSize:7\r\n"));

    start();
    EXPECT_EQ(main->pageTabs()->currentIndex(), 0);
    EXPECT_EQ(map().sizeBar()->sizeLabel()->text(), "1025X717");
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(Options, StartUpWithoutLastOptionsIsQuietAndABadOneIsReportedOnce) {
    start();
    EXPECT_TRUE(dialogs.errors.isEmpty());
    main.reset();
    EXPECT_TRUE(app.exists("data/LastOption.set"));

    app.write("data/LastOption.set", CrLf({"Tolvane Options", "ActivePageIndex:0", "trSize:4",
                                           "clrBoder:silverish", "trSize:8"}));
    start();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith("'silverish' is not a valid integer value"));
    EXPECT_EQ(map().sizeBar()->sizeLabel()->text(), "800X560");        // what was read stays
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map")); // start-up went on
}

TEST_F(Options, AFailedWriteIsReportedAndLeavesTheOldFileWhole) {
    start();
    // The temporary file beside a name this long cannot be made.
    const QString name = QString(248, u'o') + ".set";
    app.write(name, "old options");
    dialogs.queuePath(app.path() + name);
    dialogs.queueOk();
    main->options().save();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].startsWith("Cannot write")) << dialogs.errors[0].toStdString();
    EXPECT_EQ(app.read(name), "old options");
}
