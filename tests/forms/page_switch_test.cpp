// Switching pages, the "Advance Map" page and what a switch or a map change must not lose.
#include "forms/ColorByDataDialog.h"
#include "forms/LegendMapPage.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "platform/Dialogs.h"
#include "render/ChartRenderer.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"
#include "widgets/LinkLabel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QProxyStyle>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

class PageSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* stem : {"World2", "Germany", "Germany3", "Italy2"}) {
            app.copyShipped(QString::fromLatin1(stem) + ".xml");
            app.copyShipped(QString::fromLatin1(stem) + ".map");
        }
        app.copyShipped("cmap1.map");
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    LegendMapPage& map() { return main->regionPage(); }
    LegendMapPage& shade() { return main->shadePage(); }
    void switchTo(int index) { main->pageTabs()->setCurrentIndex(index); }
    static int firstDataRow(const GridData& g) {
        for (int r = 2; r < g.rowCount(); ++r)
            if (g.text(2, r) != "-") return r;
        return -1;
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(PageSwitch, AdvanceMapLoadsTheShadeStemAndPreviewsInItsOwnPlayer) {
    ASSERT_EQ(main->pageTabs()->tabText(1), "Advance Map");
    switchTo(1);
    EXPECT_EQ(main->model().chartMode, 4);
    EXPECT_EQ(main->model().currentMapName, "Germany3");
    EXPECT_EQ(shade().mapList()->currentText(), "Germany");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/Germany3.map"));
    EXPECT_TRUE(main->shadePreviewPlayer()->isVisible());
    EXPECT_EQ(main->shadePreviewPlayer()->geometry(), QRect(40, 392, 793, 308));
    EXPECT_EQ(main->shadePreviewPlayer()->moviePath(), app.dataPath("cmap.map"));
    EXPECT_TRUE(shade().showNameBox()->isEnabled());
    EXPECT_TRUE(shade().showLegendBox()->isEnabled());
    EXPECT_EQ(shade().state().grid.text(5, 1), "Shade");
    EXPECT_EQ(shade().state().grid.rowCount(), main->model().regionCount + 2);

    switchTo(0);
    EXPECT_EQ(main->model().chartMode, 1);
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_FALSE(main->shadePreviewPlayer()->isVisible());
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map"));
    EXPECT_EQ(main->model().regionCount + 2, map().state().grid.rowCount());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(PageSwitch, EditsSurviveASwitchAndThePreviewShowsTheChartAsLastMade) {
    GridData& grid = map().state().grid;
    const int row = firstDataRow(grid);
    grid.setText(3, row, "12345");
    map().state().legend.grid.setText(1, 1, "typed legend");
    const QByteArray made = app.read("data/province.xml");
    map().legendPanel()->show();

    switchTo(1);
    EXPECT_FALSE(map().legendPanel()->isVisible()); // panels of the page left are hidden
    shade().state().grid.setText(3, firstDataRow(shade().state().grid), "7");
    switchTo(0);

    EXPECT_EQ(grid.text(3, row), "12345");
    EXPECT_EQ(map().state().legend.grid.text(1, 1), "typed legend");
    EXPECT_EQ(app.read("data/province.xml"), made); // not the unmade edit
    switchTo(1);
    EXPECT_EQ(shade().state().grid.text(3, firstDataRow(shade().state().grid)), "7");

    // Make on this page writes this page's map, with its own names.
    switchTo(0);
    main->makeAndPreview();
    EXPECT_TRUE(app.read("data/World2.xml").contains("<value>12345</value>"));
    EXPECT_FALSE(app.read("data/Germany3.xml").contains("<value>7</value>"));
}

TEST_F(PageSwitch, ChoosingAnotherMapAsksBeforeDiscardingUnmadeEdits) {
    map().mapList()->setCurrentText("Germany"); // nothing edited: no question
    map().mapChange();
    EXPECT_TRUE(dialogs.titles.isEmpty());
    GridData& grid = map().state().grid;
    const int row = firstDataRow(grid);
    grid.setText(3, row, "99");

    dialogs.queueCancel();
    map().mapList()->setCurrentText("World2");
    map().mapChange();
    ASSERT_EQ(dialogs.titles.size(), 1);
    EXPECT_TRUE(dialogs.titles[0].contains(
        "The values you entered for Germany have not been made into the chart. Discard them?"));
    EXPECT_EQ(map().mapList()->currentText(), "Germany");
    EXPECT_EQ(main->model().currentMapName, "Germany");
    EXPECT_EQ(grid.text(3, row), "99");

    dialogs.queueOk();
    map().mapList()->setCurrentText("World2");
    map().mapChange();
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/World2.map"));

    main->makeAndPreview(); // a make leaves nothing unmade
    map().mapList()->setCurrentText("Germany");
    map().mapChange();
    EXPECT_EQ(dialogs.titles.size(), 2);
    EXPECT_TRUE(dialogs.allAnswered());
}

TEST_F(PageSwitch, ShadeMakeWritesTheShadeStemAndSaveChartUsesTheShadeSizeBar) {
    switchTo(1);
    shade().mapList()->setCurrentText("Italy");
    shade().mapChange();
    EXPECT_EQ(main->model().currentMapName, "Italy2");
    GridData& grid = shade().state().grid;
    const int row = firstDataRow(grid);
    grid.setText(3, row, "42");
    grid.setText(5, row, "");
    main->makeAndPreview();
    const QByteArray written = app.read("data/Italy2.xml");
    EXPECT_TRUE(written.contains("<value>42</value>\n    <shade>1</shade>")) << written.data();
    EXPECT_EQ(app.read("data/province.xml"), written);
    EXPECT_EQ(grid.text(5, row), "1");

    grid.setText(5, row, "2.5");
    main->makeAndPreview();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "'2.5' is not a valid integer value");
    EXPECT_EQ(app.read("data/Italy2.xml"), written);

    shade().sizeBar()->slider()->setValue(20);
    EXPECT_EQ(shade().sizeBar()->sizeLabel()->text(), "2000X1400");
    dialogs.queuePath(app.path() + "shade.bmp");
    main->saveChart();
    EXPECT_EQ(QImage(app.path() + "shade.bmp").size(), QSize(2000, 1400));
    EXPECT_EQ(main->shadeCapturePlayer()->size(), QSize(2000, 1400));
    EXPECT_NE(main->capturePlayer()->size(), QSize(2000, 1400));
}

TEST_F(PageSwitch, ShadeColourDialogColoursAndCodesTheShadeGrid) {
    switchTo(1);
    GridData& grid = shade().state().grid;
    const int rows = main->model().regionCount;
    for (int r = 2; r < grid.rowCount(); ++r)
        grid.setText(3, r, grid.text(2, r) == "-" ? "" : QString::number(r == 2 ? 100 : 50));
    ShadeColorDialog& dialog = main->shadeColorDialog();
    dialog.showPanel(ColorByDataDialog::GradientPanel);
    dialog.setTargetMode(4);
    dialog.applyGradient();
    EXPECT_EQ(grid.text(5, 2), "6"); // the maximum: the last of the six codes
    EXPECT_EQ(grid.color(4, 2), 1339686);
    EXPECT_EQ(shade().state().legend.countIndex, 5); // six codes, six legend items
    EXPECT_EQ(shade().state().legend.grid.text(3, 1), "1");
    EXPECT_EQ(shade().legendPanel()->countList()->currentIndex(),
              shade().state().legend.countIndex);
    EXPECT_EQ(rows, main->model().regionCount);

    // The region page's dialog never acts on the shade grid, nor the shade dialog on the region
    // grid.
    const QString before = grid.text(5, 2);
    main->colorDialog().setTargetMode(4);
    main->colorDialog().applyGradient();
    dialog.setTargetMode(1);
    dialog.applyGradient();
    EXPECT_EQ(grid.text(5, 2), before);
}

TEST_F(PageSwitch, SelectingAShadeColourCellAsksForAColourWithoutPreset) {
    switchTo(1);
    GridData& grid = shade().state().grid;
    const int row = firstDataRow(grid);
    dialogs.queueColor(0x00AA00);
    shade().dataGrid()->setFocus();
    shade().dataGrid()->selectCell(4, row);
    EXPECT_EQ(dialogs.colorDialogs, 1);
    EXPECT_FALSE(dialogs.lastColorPreset.has_value());
    EXPECT_EQ(grid.color(4, row), 0x00AA00);
    shade().dataGrid()->selectCell(4, 1); // the title row
    shade().dataGrid()->selectCell(3, row);
    EXPECT_EQ(dialogs.colorDialogs, 1);

    shade().helpLink()->clicked();
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    EXPECT_EQ(dialogs.openedUrls[0], QUrl::fromLocalFile(app.path() + "help/shade.htm"));
}

namespace {
// A style under which one click also activates an item, as some desktops set it.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};
} // namespace

TEST_F(PageSwitch, OneClickOnAColourCellOpensOneDialogAndTheWheelLeavesTheMapAlone) {
    DataGridView* view = map().dataGrid();
    auto* style = new SingleClickStyle;
    style->setParent(view); // a widget does not own the style it is given
    view->setStyle(style);
    const int row = firstDataRow(map().state().grid);
    view->scrollTo(view->model()->index(row - 1, 3));
    const QRect cell = view->visualRect(view->model()->index(row - 1, 3));
    dialogs.queueCancel();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(dialogs.colorDialogs, 1);
    EXPECT_EQ(dialogs.unexpected, 0);

    QComboBox* list = map().mapList();
    view->setFocus();
    QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton,
                      {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    EXPECT_EQ(list->currentText(), "World2");
}

TEST_F(PageSwitch, PastedValuesAndColouringsAreUndoneAndRedoneFromTheKeyboard) {
    GridData& grid = map().state().grid;
    const int row = firstDataRow(grid);
    DataGridView* view = map().dataGrid();
    view->setFocus();
    view->selectCell(3, row);
    QApplication::clipboard()->setText("11\n2x\n33\n");
    QTest::keySequence(view, QKeySequence::Paste);
    EXPECT_EQ(grid.text(3, row), "11");
    EXPECT_EQ(grid.text(3, row + 2), "33");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(grid.text(1, row + 1)))
        << dialogs.messages[0].toStdString();

    ColorByDataDialog& colors = main->colorDialog();
    colors.showPanel(ColorByDataDialog::GradientPanel);
    colors.setTargetMode(1);
    const int32_t before = grid.color(4, row);
    colors.applyGradient();
    ASSERT_NE(grid.color(4, row), before);

    view->setFocus();
    QTest::keySequence(view, QKeySequence::Undo); // the gradient
    EXPECT_EQ(grid.color(4, row), before);
    EXPECT_EQ(map().legendPanel()->countList()->currentIndex(), map().state().legend.countIndex);
    QTest::keySequence(view, QKeySequence::Undo); // the paste
    EXPECT_EQ(grid.text(3, row), "0");
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(grid.text(3, row), "11");
    EXPECT_EQ(map().undoStack().redoName(), "Gradient Color");
}

TEST_F(PageSwitch, GradientColorOverTypedShadeCodesIsUndoneInOneStep) {
    switchTo(1);
    GridData& grid = shade().state().grid;
    const int row = firstDataRow(grid);
    grid.setText(3, row, "100");
    QApplication::setActiveWindow(main.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    DataGridView* view = shade().dataGrid();
    view->setFocus();
    view->selectCell(5, row);
    QTest::keyClicks(view, "9"); // a shade code of the user's own
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, view);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor hands its text over queued
    ASSERT_EQ(grid.text(5, row), "9");
    const int32_t color = grid.color(4, row);
    const GridData::Snapshot legend = shade().state().legend.grid.snapshot();

    ShadeColorDialog& colors = main->shadeColorDialog();
    colors.showPanel(ColorByDataDialog::GradientPanel);
    colors.setTargetMode(ModeShade);
    colors.applyGradient();
    ASSERT_EQ(grid.text(5, row), "6"); // the maximum's code
    ASSERT_NE(grid.color(4, row), color);

    view->setFocus();
    QTest::keySequence(view, QKeySequence::Undo);
    EXPECT_EQ(grid.text(5, row), "9");
    EXPECT_EQ(grid.color(4, row), color);
    const GridData::Snapshot undone = shade().state().legend.grid.snapshot();
    EXPECT_EQ(undone.rows, legend.rows);
    EXPECT_TRUE(undone.cells == legend.cells);
    EXPECT_EQ(shade().undoStack().undoName(), "Edit Cell"); // the typed code, a step of its own
    EXPECT_EQ(shade().undoStack().redoName(), "Gradient Color");
}

TEST_F(PageSwitch, PointingAtTheMapFindsTheRowAndSelectingARowOutlinesTheRegion) {
    ChartPlayer* player = main->previewPlayer();
    const ChartScene& scene = player->scene();
    ASSERT_TRUE(scene.movie);
    const QTransform placement = *MapPlacement(scene, QRectF(player->rect()));
    const size_t entry = 3;
    const int shape = scene.match.regionShape[entry];
    ASSERT_GE(shape, 0);
    const QPoint label =
        placement.map(scene.movie->regions[static_cast<size_t>(shape)].label).toPoint();
    const ChartHit hit = player->hitAt(label);
    ASSERT_EQ(hit, (ChartHit{ChartHit::Kind::Region, static_cast<int>(entry)}));
    EXPECT_TRUE(player->describe(hit).contains(scene.data->regions[entry].name.toHtmlEscaped()));

    QTest::mouseClick(player, Qt::LeftButton, {}, label);
    const GridData& grid = map().state().grid;
    const int row = map().dataGrid()->currentRow();
    EXPECT_EQ(grid.text(1, row), scene.data->regions[entry].name);
    EXPECT_EQ(map().dataGrid()->currentCol(), 1);
    EXPECT_EQ(player->highlighted(), hit); // the selected row is outlined in turn
    EXPECT_EQ(dialogs.colorDialogs, 0);
}
