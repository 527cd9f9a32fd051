// The "Map" page driven through its real widgets, offscreen, with scripted dialogs.
#include "forms/ColorByDataDialog.h"
#include "forms/LegendColorDialog.h"
#include "forms/LegendMapPage.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/PageParts.h"
#include "model/Colors.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* stem : {"World2", "Germany", "France", "Belgium"}) {
            app.copyShipped(QString::fromLatin1(stem) + ".xml");
            app.copyShipped(QString::fromLatin1(stem) + ".map");
        }
        app.copyShipped("cmap1.map");
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    LegendMapPage& page() { return main->regionPage(); }
    void chooseMap(const QString& map) {
        page().mapList()->setCurrentText(map);
        page().mapChange();
    }
    // Types into a cell as a user does: select it and press keys.
    void typeInto(int col, int row, const QString& keys) {
        DataGridView* grid = page().dataGrid();
        grid->setFocus();
        grid->selectCell(col, row);
        for (const QChar c : keys) { // each key goes where the focus is, as typing does
            QWidget* target = QApplication::focusWidget();
            QTest::keyClicks(target ? target : grid, QString(c));
        }
        if (QWidget* editor = QApplication::focusWidget(); editor && editor != grid) {
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents(); // the editor hands its text over queued
        }
    }
    int firstDataRow() const {
        const GridData& g = const_cast<MainWindowTest*>(this)->page().state().grid;
        for (int r = 2; r < g.rowCount(); ++r)
            if (g.text(2, r) != kNoDataMark) return r;
        return -1;
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

int NonWhitePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
    return n;
}

} // namespace

TEST_F(MainWindowTest, StartsOnTheMapPageWithWorld2Drawn) {
    EXPECT_EQ(main->windowTitle(), "Tolvane");
    EXPECT_EQ(main->size(), QSize(1000, 711));
    EXPECT_EQ(main->pageTabs()->tabText(0), "Map");
    for (int i = 0; i < main->pageTabs()->count(); ++i) // no empty tabs
        EXPECT_GT(main->pageTabs()->widget(i)->findChildren<QWidget*>().size(), 5) << i;
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(main->model().chartMode, 1);
    EXPECT_EQ(page().state().grid.rowCount(), main->model().regionCount + 2);
    EXPECT_EQ(main->previewPlayer()->geometry(), QRect(40, 392, 793, 308));
    EXPECT_TRUE(page().showLegendBox()->isEnabled());
    EXPECT_FALSE(page().showNameBox()->isEnabled());
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map"));
    EXPECT_GT(NonWhitePixels(main->previewPlayer()->picture()), 500);
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(MainWindowTest, ChoosingAMapLoadsItAndDecidesShowName) {
    chooseMap("France");
    EXPECT_EQ(main->model().currentMapName, "France");
    EXPECT_FALSE(page().showNameBox()->isEnabled());
    EXPECT_TRUE(page().showLegendBox()->isEnabled());
    EXPECT_EQ(page().state().grid.rowCount(), main->model().regionCount + 2);
    EXPECT_EQ(page().state().grid.text(1, 1), "Region Name");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/France.map"));

    chooseMap("Belgium");
    EXPECT_TRUE(page().showNameBox()->isEnabled());
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/Belgium.map"));
}

TEST_F(MainWindowTest, AMapThatCannotBeLoadedIsNotTakenOn) {
    chooseMap("Germany");
    const int rows = page().state().grid.rowCount();
    app.write("data/France.xml", "<provinces><province>");
    chooseMap("France");
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("France.xml"));
    EXPECT_EQ(main->model().currentMapName, "Germany");
    EXPECT_EQ(page().mapList()->currentText(), "Germany");
    EXPECT_EQ(page().state().grid.rowCount(), rows);
}

TEST_F(MainWindowTest, TheDataColumnTakesOnlyNumberKeys) {
    chooseMap("Germany");
    const int row = firstDataRow();
    typeInto(3, row, "a");
    EXPECT_EQ(page().state().grid.text(3, row), "0");
    page().state().grid.setText(3, row, "");
    typeInto(3, row, "-1,5x");
    EXPECT_EQ(page().state().grid.text(3, row), "-1,5");
    typeInto(1, row, "7"); // names are not editable
    EXPECT_NE(page().state().grid.text(1, row), "7");
}

TEST_F(MainWindowTest, BackspaceErasesWhatWasTyped) {
    chooseMap("Germany");
    const int row = firstDataRow();
    DataGridView* grid = page().dataGrid();
    grid->setFocus();
    grid->selectCell(3, row);
    QTest::keyClicks(grid, "4");
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid);
    QTest::keyClicks(editor, "2");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(page().state().grid.text(3, row), "4");
}

TEST(MapList, ShowNameIsOfferedForExactlyTheMapsWithLegibleNames) {
    const QStringList named{
        "China",          "Germany",     "Italy",   "United States", "Portugal", "South East Asia",
        "United Kingdom", "Australia",   "Canada",  "Romania",       "Spain",    "Burundi",
        "Netherlands",    "South Korea", "Europe2", "Belgium",       "Europe1"};
    ASSERT_EQ(RegionMaps().stems().size(), 59);
    for (const QString& map : RegionMaps().stems()) {
        EXPECT_EQ(RegionMaps().offersNames(map), named.contains(map)) << map.toStdString();
        // Start-up offers it for the same maps but Belgium and Europe1.
        EXPECT_EQ(StartupMapHasNames(map),
                  named.contains(map) && map != "Belgium" && map != "Europe1")
            << map.toStdString();
    }
}

TEST_F(MainWindowTest, ClickingAColourCellAsksForAColourPresetWithIt) {
    chooseMap("Germany");
    const int row = firstDataRow();
    GridData& g = page().state().grid;
    const int32_t before = g.color(4, row);
    dialogs.queueColor(0x123456);
    page().chooseCellColor(4, row);
    EXPECT_EQ(dialogs.lastColorPreset, before);
    EXPECT_EQ(g.color(4, row), 0x123456);
    dialogs.queueCancel();
    page().chooseCellColor(4, row);
    EXPECT_EQ(g.color(4, row), 0x123456);
    const int dialogsSoFar = dialogs.colorDialogs;
    page().chooseCellColor(3, row); // another column
    page().chooseCellColor(4, 1);   // the title row
    EXPECT_EQ(dialogs.colorDialogs, dialogsSoFar);
}

TEST_F(MainWindowTest, GradientThenMakeWritesTheChartAndRedrawsThePreview) {
    chooseMap("Germany");
    GridData& g = page().state().grid;
    for (int r = 2; r < g.rowCount(); ++r)
        g.setText(3, r, QString::number(r * 10));
    ColorByDataDialog& colors = main->colorDialog();
    colors.showPanel(ColorByDataDialog::GradientPanel);
    colors.setTargetMode(1);
    colors.applyGradient();
    EXPECT_EQ(g.color(4, g.rowCount() - 1), 1339686); // the maximum gets the "max" colour
    EXPECT_EQ(page().state().legend.countIndex, 5);
    EXPECT_EQ(page().legendPanel()->countList()->currentIndex(), 5);

    const QImage before = main->previewPlayer()->picture();
    main->makeAndPreview();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    const QByteArray written = app.read("data/Germany.xml");
    EXPECT_TRUE(
        written.contains("<value>" + QByteArray::number((g.rowCount() - 1) * 10) + "</value>"));
    EXPECT_TRUE(
        written.contains("<bgcolor>" + QByteArray::number(SwapRedBlue(1339686)) + "</bgcolor>"));
    EXPECT_TRUE(written.contains("<text>20.000~"));
    EXPECT_EQ(app.read("data/province.xml"), written);
    EXPECT_NE(main->previewPlayer()->picture(), before);
}

TEST_F(MainWindowTest, AMakeThatCannotConvertWritesNothing) {
    chooseMap("Germany");
    const QByteArray before = app.read("data/Germany.xml");
    page().state().grid.setText(3, firstDataRow(), ".");
    main->makeAndPreview();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "'.' is not a valid floating point value");
    EXPECT_EQ(app.read("data/Germany.xml"), before);
}

TEST_F(MainWindowTest, SaveChartWritesABitmapOfTheChosenSizeAndAsksBeforeReplacing) {
    page().sizeBar()->slider()->setValue(1);
    EXPECT_EQ(page().sizeBar()->sizeLabel()->text(), "575X402");
    EXPECT_EQ(main->previewPlayer()->size(), QSize(793, 308)); // the preview keeps its size

    dialogs.queuePath(app.path() + "chart");
    main->saveChart();
    EXPECT_EQ(dialogs.titles.first(), "Save Chart");
    EXPECT_EQ(dialogs.filters.first(), "*.bmp;;*.png;;*.svg;;*.pdf"); // BMP first
    QImage saved(app.path() + "chart.bmp");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(575, 402));
    EXPECT_GT(NonWhitePixels(saved), 500);

    const QByteArray first = app.read("chart.bmp");
    page().sizeBar()->slider()->setValue(0);
    dialogs.queuePath(app.path() + "chart.bmp");
    dialogs.queueCancel(); // do not replace
    main->saveChart();
    EXPECT_EQ(app.read("chart.bmp"), first);
    EXPECT_TRUE(dialogs.titles.last().contains(
        "A same named file has existed. Do you want to replace it?"));

    dialogs.queuePath(app.path() + "chart.bmp");
    dialogs.queueOk();
    main->saveChart();
    EXPECT_EQ(QImage(app.path() + "chart.bmp").size(), QSize(500, 350));

    dialogs.queuePath(app.path() + "chart.png");
    main->saveChart();
    EXPECT_EQ(QImage(app.path() + "chart.png").size(), QSize(500, 350));
    EXPECT_TRUE(dialogs.allAnswered());
}

TEST_F(MainWindowTest, RightPressesOverThePreviewAreSwallowed) {
    struct Counter : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) ++presses;
            return false;
        }
    } onPlayer, onGrid;
    main->previewPlayer()->installEventFilter(&onPlayer);
    page().dataGrid()->viewport()->installEventFilter(&onGrid);
    QTest::mousePress(main->previewPlayer(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mousePress(main->previewPlayer(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mousePress(page().dataGrid()->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(onPlayer.presses, 1); // only the left press got through
    EXPECT_EQ(onGrid.presses, 1);
}

TEST_F(MainWindowTest, HelpAndAboutOpenThroughTheShell) {
    main->showHelp();
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(app.path() + "help/help.htm"));
}

TEST_F(MainWindowTest, LegendSetOffersTheMapsColoursAndFollowsShowLegend) {
    chooseMap("Germany");
    QCheckBox* show = page().showLegendBox();
    show->setChecked(false);
    EXPECT_FALSE(page().legendSetButton()->isEnabled());
    show->setChecked(true);
    ASSERT_TRUE(page().legendSetButton()->isEnabled());

    GridData& g = page().state().grid;
    for (int r = 2; r < g.rowCount(); ++r)
        g.setColor(4, r, r % 2 ? 0x0000FF : 0x00FF00);
    page().legendSetButton()->click();
    EXPECT_TRUE(page().legendPanel()->isVisible());
    EXPECT_TRUE(main->previewArea().contains(page().legendPanel()->geometry()));
    // Two colours on the map: sorted as signed values, then white.
    EXPECT_EQ(main->legendColorDialog().copyColor(1), 0x0000FF);
    EXPECT_EQ(main->legendColorDialog().copyColor(2), 0x00FF00);
    EXPECT_EQ(main->legendColorDialog().copyColor(3), kWhite);

    show->click(); // unchecking hides the editor
    EXPECT_FALSE(page().legendPanel()->isVisible());
    EXPECT_FALSE(page().legendSetButton()->isEnabled());
}
