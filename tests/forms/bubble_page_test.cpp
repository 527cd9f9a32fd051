// The "Bubble" page through the main window, offscreen, with scripted dialogs.
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/LegendColorDialog.h"
#include "forms/LegendMapPage.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

// Berlin, a city named "Nill" (a row the writer leaves out) and a city without data.
const QByteArray kThreeCities = R"(<?xml version="1.0" encoding="utf-8"?>
<cities>
  <regions>3</regions>
  <border>255</border>
  <showtext>0</showtext>
  <city id="1"><name>Berlin</name><country>Berlin</country><bgcolor>255</bgcolor>
    <value>1</value><scale>100</scale></city>
  <city id="2"><name>Nill</name><country>X</country><bgcolor>255</bgcolor>
    <value>2</value><scale>100</scale></city>
  <city id="3"><name>Essen</name><country>-</country><bgcolor>255</bgcolor>
    <value>3</value><scale>100</scale></city>
  <plegends><showplegend>-1</showplegend><plegendcount>1</plegendcount>
    <plegend id="1"><text>all</text><color>255</color><scale>100</scale></plegend></plegends>
</cities>
)";

class BubblePage : public ::testing::Test {
protected:
    void SetUp() override {
        app.copyShippedMaps({"World2", "WorldCity", "GermanyCity", "FranceCity"});
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    LegendMapPage& page() { return main->cityPage(); }
    GridData& grid() { return page().state().grid; }
    void chooseMap(const QString& caption) {
        page().mapList()->setCurrentText(caption);
        page().mapChange();
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(BubblePage, MapListDecidesTheBoxesAndAFileMayCheckADisabledOne) {
    // The dialogs are made in order, the size dialog between the colour and legend ones.
    const QObjectList children = main->children();
    const auto at = [&](QObject* o) { return children.indexOf(o); };
    EXPECT_LT(at(&main->colorDialog()), at(&main->sizeDialog()));
    EXPECT_LT(at(&main->sizeDialog()), at(&main->legendColorDialog()));
    EXPECT_EQ(main->sizeDialog().windowTitle(), "Bubble Set");

    ASSERT_EQ(main->pageTabs()->tabText(2), "Bubble");
    main->pageTabs()->setCurrentIndex(2);
    EXPECT_EQ(main->model().chartMode, 2);
    EXPECT_EQ(main->model().currentMapName, "WorldCity");
    EXPECT_EQ(page().mapList()->count(), 12);
    EXPECT_TRUE(page().showNameBox()->isEnabled());
    EXPECT_TRUE(page().showLegendBox()->isEnabled());
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/WorldCity.map"));
    EXPECT_EQ(grid().rowCount(), main->model().regionCount + 2);
    EXPECT_EQ(grid().text(5, 1), "Size");

    chooseMap("France Major Cities");
    EXPECT_EQ(main->model().currentMapName, "FranceCity");
    EXPECT_TRUE(page().showNameBox()->isEnabled());
    EXPECT_FALSE(page().showLegendBox()->isEnabled());

    QByteArray germany = app.read("data/GermanyCity.xml");
    germany.replace("<showplegend>0</showplegend>", "<showplegend>-1</showplegend>");
    app.write("data/GermanyCity.xml", germany);
    chooseMap("Germany Major Cities");
    EXPECT_FALSE(page().showNameBox()->isEnabled());
    EXPECT_FALSE(page().showNameBox()->isChecked());
    EXPECT_FALSE(page().showLegendBox()->isEnabled());
    EXPECT_TRUE(page().showLegendBox()->isChecked());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
}

TEST_F(BubblePage, MakeWritesTheGridByItsRulesWithTheMapPagesBorder) {
    app.write("data/GermanyCity.xml", kThreeCities);
    main->pageTabs()->setCurrentIndex(2);
    chooseMap("Germany Major Cities");
    // The chart's border shows on the "Map" page, whose border every city chart takes.
    EXPECT_EQ(main->regionPage().state().border, 0xFF0000);
    EXPECT_EQ(main->regionPage().borderEdit()->color(), 0xFF0000);
    EXPECT_EQ(page().borderEdit()->color(), 0xFF0000);
    EXPECT_FALSE(page().borderEdit()->isVisible());
    ASSERT_EQ(grid().rowCount(), 5);

    grid().setText(3, 2, "1-2"); // typed, but no number
    grid().setText(5, 2, "");
    grid().setText(3, 4, "9"); // the row without data
    grid().setText(5, 4, "80");
    page().state().legend.grid.setText(3, 1, "abc");
    main->regionPage().state().border = 0x00FF00;
    main->makeAndPreview();
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();

    const QByteArray written = app.read("data/GermanyCity.xml");
    EXPECT_TRUE(written.contains("<regions>3</regions>\n  <border>65280</border>"));
    EXPECT_TRUE(written.contains("<city id=\"1\">\n    <name>Berlin</name>\n    "
                                 "<country>Berlin</country>\n    <bgcolor>255</bgcolor>\n    "
                                 "<value>0</value>\n    <scale>0</scale>"))
        << written.data();
    EXPECT_FALSE(written.contains("Nill"));
    EXPECT_TRUE(written.contains("<city id=\"3\">\n    <name>Essen</name>\n    <country>-</country>"
                                 "\n    <bgcolor>255</bgcolor>\n    <value>0</value>\n    "
                                 "<scale>0</scale>"));
    EXPECT_TRUE(written.contains("<scale>100</scale>\n    </plegend>"));
    EXPECT_TRUE(app.read("data/city.xml").contains("<name>Essen</name>"));
    EXPECT_EQ(main->regionPage().borderEdit()->color(), 0x00FF00);

    // The grid then shows what the file reads back as, not what was typed.
    grid().setText(3, 2, "0.30000000000000004");
    grid().setText(5, 2, "62.5");
    main->makeAndPreview();
    EXPECT_EQ(grid().text(3, 2), "0.3");
    EXPECT_EQ(grid().text(5, 2), "63");
    EXPECT_EQ(main->model().regions[0].Scale, 63);
    EXPECT_EQ(main->model().regions[0].Value, 0.3);

    // A Color cell opens the colour dialog unpreset, but not on a row without data.
    dialogs.queueColor(0x0000AA);
    page().dataGrid()->setFocus();
    page().dataGrid()->selectCell(4, 2);
    EXPECT_EQ(dialogs.colorDialogs, 1);
    EXPECT_FALSE(dialogs.lastColorPreset.has_value());
    EXPECT_EQ(grid().color(4, 2), 0x0000AA);
    page().dataGrid()->selectCell(4, 3); // Essen, without data, is now row 3
    EXPECT_EQ(dialogs.colorDialogs, 1);
}

TEST_F(BubblePage, SizeAndColourDialogsActOnTheCityGridAndItsLegend) {
    main->pageTabs()->setCurrentIndex(2);
    const int rows = main->model().regionCount;
    for (int r = 2; r < rows + 2; ++r)
        grid().setText(3, r, QString::number((r - 2) * 60 / (rows - 1)));
    grid().setText(3, rows + 1, "60");

    BubbleSizeDialog& sizes = main->sizeDialog();
    sizes.showPanel(GridDialog::GradientPanel);
    sizes.setTargetMode(2);
    sizes.applyGradient();
    EXPECT_EQ(grid().text(5, 2), "50");
    EXPECT_EQ(grid().text(5, rows + 1), "100");
    EXPECT_EQ(page().state().legend.countIndex, 5);
    EXPECT_EQ(page().legendPanel()->countList()->currentIndex(), 5);
    EXPECT_EQ(page().state().legend.grid.text(3, 6), "100");
    EXPECT_EQ(page().state().legend.grid.text(1, 6), "50.000~60.000");

    ColorByDataDialog& colors = main->colorDialog();
    colors.showPanel(GridDialog::GradientPanel);
    colors.setTargetMode(2);
    colors.applyGradient();
    EXPECT_EQ(grid().color(4, rows + 1), 1339686);
    EXPECT_EQ(page().state().legend.grid.color(2, 6), 1339686);
    EXPECT_EQ(page().state().legend.grid.text(3, 6), "100"); // the sizes stay

    // Modes the size dialog does not serve change nothing, the "Map" page's grid least.
    const QString mapCell = main->regionPage().state().grid.text(5, 2);
    sizes.setTargetMode(1);
    sizes.applyGradient();
    EXPECT_EQ(main->regionPage().state().grid.text(5, 2), mapCell);

    // The edits survive a visit to another page.
    main->pageTabs()->setCurrentIndex(0);
    main->pageTabs()->setCurrentIndex(2);
    EXPECT_EQ(grid().text(5, rows + 1), "100");
    EXPECT_EQ(main->model().chartMode, 2);
}
