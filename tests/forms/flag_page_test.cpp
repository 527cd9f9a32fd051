// The "Flag" page as a user drives it: switching to it, typing codes and values, making,
// changing the type and saving the picture.
#include "forms/FlagPage.h"
#include "forms/MainWindow.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"
#include "widgets/LinkLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

class FlagPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"World2.xml", "World2.map", "Germany3.xml", "Germany3.map",
                                 "cmap1.map", "flag1.cht", "flag2.cht"})
            app.copyShipped(name);
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    FlagPage& page() { return main->flagPage(); }
    void switchTo(const QString& caption) {
        QTabWidget* pages = main->pageTabs();
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == caption) pages->setCurrentIndex(i);
    }
    // Types into a cell as a user does: select it and press keys.
    void typeInto(int col, int row, const QString& keys) {
        DataGridView* grid = page().gridView();
        grid->setFocus();
        grid->selectCell(col, row);
        for (const QChar c : keys) {
            QWidget* target = QApplication::focusWidget();
            QTest::keyClicks(target ? target : grid, QString(c));
        }
        if (QWidget* editor = QApplication::focusWidget(); editor && editor != grid) {
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();
        }
    }
    QByteArray chartFile() const { return app.read("data/ChartFlag1.xml"); }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(FlagPageTest, SwitchingToFlagStagesItsChartAndShowsItsButtons) {
    EXPECT_EQ(page().grid().text(1, 1), "BR");
    EXPECT_EQ(page().grid().text(6, 1), "IN");
    EXPECT_EQ(page().grid().colCount(), 7);
    EXPECT_FALSE(page().buttonPanel()->isVisible());

    switchTo("Advance Map");
    switchTo("Flag");
    EXPECT_EQ(main->model().chartMode, 4); // the page keeps the mode it found
    EXPECT_TRUE(page().buttonPanel()->isVisible());
    EXPECT_EQ(page().buttonPanel()->geometry(),
              main->makeButton()->geometry().united(main->saveChartButton()->geometry()));
    EXPECT_FALSE(main->shadePreviewPlayer()->isVisible());
    EXPECT_TRUE(main->previewPlayer()->isVisible());
    EXPECT_EQ(main->previewPlayer()->moviePath(), app.dataPath("cmap.map"));
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag1.cht"));
    const QByteArray file = chartFile();
    EXPECT_TRUE(file.contains("<count>6</count>\n  <title>.</title>")) << file.data();
    EXPECT_TRUE(file.contains("<name>IN</name>\n    <data></data>\n    <size>100.0</size>"));

    switchTo("Map");
    EXPECT_FALSE(page().buttonPanel()->isVisible());
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map"));
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(FlagPageTest, TypedValuesAreMadeAndTheTypeRemakesAtOnce) {
    switchTo("Flag");
    page().titleEdit()->setText("Exports");
    page().columnCountList()->setCurrentIndex(6); // "8"
    EXPECT_EQ(page().grid().colCount(), 9);
    EXPECT_EQ(page().grid().text(8, 0), "8");
    typeInto(7, 1, "jp");    // codes take any key
    typeInto(1, 2, "1a0,x"); // values only digits, ".", "-"
    typeInto(2, 2, "-.5");
    typeInto(7, 2, "40");
    EXPECT_EQ(page().grid().text(7, 1), "jp");
    EXPECT_EQ(page().grid().text(1, 2), "10");
    EXPECT_EQ(page().grid().text(2, 2), "-.5");
    const QByteArray before = chartFile();
    QTest::mouseClick(page().makeButton(), Qt::LeftButton);
    const QByteArray made = chartFile();
    EXPECT_NE(made, before);
    EXPECT_TRUE(made.contains("<count>8</count>\n  <title>Exports</title>"));
    EXPECT_TRUE(made.contains("<name>BR</name>\n    <data>10</data>\n    <size>25.0</size>"));
    EXPECT_TRUE(made.contains("<name>DE</name>\n    <data>-.5</data>\n    <size>-1.2</size>"));
    EXPECT_TRUE(made.contains("<item id=\"8\">\n    <name></name>\n    <data></data>\n    "
                              "<size>0.0</size>"));
    EXPECT_TRUE(made.contains("<name>jp</name>\n    <data>40</data>\n    <size>100.0</size>"));
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag1.cht"));

    page().typeList()->setCurrentIndex(1); // "Flag2": remade and replayed at once
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag2.cht"));
    EXPECT_EQ(chartFile(), made); // the same chart: only the movie differs
    EXPECT_EQ(main->previewPlayer()->moviePath(), app.dataPath("cmap.map"));

    // A type whose movie is missing is reported, and the preview keeps the movie it had.
    page().typeList()->setCurrentIndex(0);
    QFile::remove(app.dataPath("flag2.cht"));
    page().typeList()->setCurrentIndex(1);
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("flag2.cht")) << dialogs.errors[0].toStdString();
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/flag1.cht"));
}

TEST_F(FlagPageTest, SaveChartUsesThePagesOwnSizeAndTheCodeLinkOpensItsHelp) {
    switchTo("Flag");
    page().sizeBar()->slider()->setValue(1);
    EXPECT_EQ(page().sizeBar()->sizeLabel()->text(), "575X402");
    dialogs.queuePath(app.path() + "flags");
    QTest::mouseClick(page().saveChartButton(), Qt::LeftButton);
    EXPECT_EQ(QImage(app.path() + "flags.bmp").size(), QSize(575, 402));
    EXPECT_EQ(main->capturePlayer()->size(), QSize(575, 402));
    EXPECT_EQ(main->capturePlayer()->moviePath(), app.dataPath("cmap.map"));

    page().countryCodeLink()->clicked();
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(app.path() + "help/code.htm"));
    EXPECT_EQ(page().countryCodeLink()->toolTip(), "Click to see country code");
}
