// The "Advance Bubble" page through the main window, offscreen, with scripted dialogs.
#include "forms/BubbleSizeDialog.h"
#include "forms/ColorByDataDialog.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/RegionCityPage.h"
#include "io/SheetReader.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"
#include "widgets/DataGridView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

// Utrecht, a region named "Nill", Zeeland without data; Amsterdam and Urk without data.
const QByteArray kChart = R"(<?xml version="1.0" encoding="utf-8"?>
<map>
  <border>255</border>
  <provinces>
    <regions>3</regions>
    <province id="1">
      <name>Utrecht</name>
      <shortname>NL-UT</shortname>
      <bgcolor>255</bgcolor>
      <value>1.5</value>
    </province>
    <province id="2">
      <name>Nill</name>
      <shortname>NL-XX</shortname>
      <bgcolor>255</bgcolor>
      <value>2</value>
    </province>
    <province id="3">
      <name>Zeeland</name>
      <shortname>-</shortname>
      <bgcolor>65280</bgcolor>
      <value>7</value>
    </province>
  </provinces>
  <cities>
    <regions>2</regions>
    <city id="1">
      <name>Amsterdam</name>
      <country>Noord-Holland</country>
      <bgcolor>16711680</bgcolor>
      <value>3</value>
      <scale>80</scale>
    </city>
    <city id="2">
      <name>Urk</name>
      <country>-</country>
      <bgcolor>16711680</bgcolor>
      <value>4</value>
      <scale>90</scale>
    </city>
  </cities>
</map>
)";

class AdvanceBubblePage : public ::testing::Test {
protected:
    void SetUp() override {
        app.copyShippedMaps({"World2", "WorldCity", "USAPCity", "NetherlandsRC", "ChinaRC"});
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        ASSERT_EQ(main->pageTabs()->tabText(3), "Advance Bubble");
        main->pageTabs()->setCurrentIndex(3);
    }
    RegionCityPage& page() { return main->regionCityPage(); }
    GridData& regions() { return page().state().regionGrid; }
    GridData& cities() { return page().state().cityGrid; }
    void chooseMap(const QString& caption) {
        page().mapList()->setCurrentText(caption);
        page().mapChange();
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(AdvanceBubblePage, LoadsTheSelectedMapAndMakesItBackByteForByte) {
    EXPECT_EQ(main->model().chartMode, 3);
    EXPECT_EQ(main->model().currentMapName, "USAPCity");
    EXPECT_EQ(page().subPages()->tabText(0), "Region");
    EXPECT_EQ(page().subPages()->tabText(1), "  City  ");
    EXPECT_EQ(app.read("data/cmap.map"), app.read("data/USAPCity.map"));
    EXPECT_EQ(regions().rowCount(), main->model().regionCount + 2);
    EXPECT_EQ(cities().rowCount(), main->model().cityCount + 2);
    EXPECT_EQ(cities().text(5, 1), "Size");
    const QByteArray staged = app.read("data/rc.xml");
    EXPECT_TRUE(staged.contains("<provinces>\n    <regions>"));
    EXPECT_FALSE(staged.contains("<province ")); // the movie reads its regions as "city"

    chooseMap("China");
    EXPECT_EQ(main->model().currentMapName, "ChinaRC");
    chooseMap("Netherlands");
    EXPECT_EQ(main->model().currentMapName, "NetherlandsRC");
    const QByteArray shipped = app.read("data/NetherlandsRC.xml");
    main->regionPage().state().border = 0x0000FF; // other pages' borders play no part
    main->makeAndPreview();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(app.read("data/NetherlandsRC.xml"), shipped);
    EXPECT_EQ(main->previewPlayer()->moviePath(), app.dataPath("cmap.map"));
}

TEST_F(AdvanceBubblePage, BothGridsKeepTheirRulesFromLoadToMake) {
    app.write("data/NetherlandsRC.xml", kChart);
    chooseMap("Netherlands");
    ASSERT_EQ(regions().rowCount(), 5);
    EXPECT_EQ(regions().text(3, 4), ""); // Zeeland: no data to show or type
    EXPECT_TRUE(regions().readOnly(3, 4));
    EXPECT_EQ(regions().color(4, 4), 0xFFFFFF);
    EXPECT_EQ(cities().text(3, 3), "4"); // a city row always shows its data

    // A city clicked in the preview is shown on its sub-page.
    page().entryClicked(ChartHit::Kind::City, "Urk", "-");
    EXPECT_EQ(page().subPages()->currentIndex(), 1);
    EXPECT_EQ(page().cityGridView()->currentRow(), 3);

    // Colour cells open the dialog unpreset, but not on rows without data.
    page().subPages()->setCurrentIndex(1);
    dialogs.queueColor(0x00AA00);
    page().cityGridView()->setFocus();
    page().cityGridView()->selectCell(4, 2);
    page().cityGridView()->selectCell(4, 3);
    page().subPages()->setCurrentIndex(0);
    page().regionGridView()->setFocus();
    page().regionGridView()->selectCell(4, 4);
    EXPECT_EQ(dialogs.colorDialogs, 1);
    EXPECT_FALSE(dialogs.lastColorPreset.has_value());

    regions().setText(3, 2, "1-2");
    cities().setText(3, 2, "");
    cities().setText(5, 2, "62.5");
    main->makeAndPreview();
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    QByteArray expected = kChart;
    expected.replace("<border>255</border>", "<border>8421504</border>")
        .replace("<value>1.5</value>", "<value>0</value>")
        .replace(kChart.mid(kChart.indexOf("    <province id=\"2\">"),
                            kChart.indexOf("    <province id=\"3\">") -
                                kChart.indexOf("    <province id=\"2\">")),
                 "")
        .replace("<bgcolor>65280</bgcolor>\n      <value>7</value>",
                 "<bgcolor>16777215</bgcolor>\n      <value>0</value>")
        .replace("<bgcolor>16711680</bgcolor>\n      <value>3</value>\n      <scale>80</scale>",
                 "<bgcolor>43520</bgcolor>\n      <value>0</value>\n      <scale>63</scale>")
        .replace("<value>4</value>\n      <scale>90</scale>",
                 "<value>0</value>\n      <scale>0</scale>");
    EXPECT_EQ(app.read("data/NetherlandsRC.xml"), expected);
    EXPECT_EQ(regions().rowCount(), 4); // the "Nill" region is gone
}

namespace {
// Clicks a button that opens a dialog modally and notes the dialog's mode and panel.
std::pair<int, int> OpenedBy(QPushButton* button, GridDialog& dialog) {
    std::pair<int, int> seen{-1, -1};
    QTimer::singleShot(0, &dialog, [&] {
        seen = {dialog.targetMode(), dialog.panel()};
        dialog.reject();
    });
    button->click();
    return seen;
}
} // namespace

TEST_F(AdvanceBubblePage, EveryButtonOpensItsDialogOnItsGrid) {
    ColorByDataDialog& colors = main->colorDialog();
    BubbleSizeDialog& sizes = main->sizeDialog();
    const auto buttonOf = [&](const char* name) {
        return main->findChild<QPushButton*>(QLatin1String(name));
    };
    const int gradient = GridDialog::GradientPanel, range = GridDialog::RangePanel;
    using Opened = std::pair<int, int>;
    EXPECT_EQ(OpenedBy(buttonOf("cmdRCRColor1"), colors), Opened(31, gradient));
    EXPECT_EQ(OpenedBy(buttonOf("cmdRCRColor2"), colors), Opened(31, range));
    EXPECT_EQ(OpenedBy(buttonOf("cmdRCRColor3"), colors), Opened(32, gradient));
    EXPECT_EQ(OpenedBy(buttonOf("cmdRCRColor4"), colors), Opened(32, range));
    EXPECT_EQ(OpenedBy(buttonOf("RzBitBtn6"), sizes), Opened(32, gradient));
    EXPECT_EQ(OpenedBy(buttonOf("RzBitBtn7"), sizes), Opened(32, range));
    EXPECT_EQ(OpenedBy(buttonOf("cmdCityColor1"), colors), Opened(2, gradient));
    EXPECT_EQ(OpenedBy(buttonOf("cmdCityColor2"), colors), Opened(2, range));
    EXPECT_EQ(OpenedBy(buttonOf("cmdCitySize1"), sizes), Opened(2, gradient));
    EXPECT_EQ(OpenedBy(buttonOf("cmdCitySize2"), sizes), Opened(2, range));

    // Regions take the region count, cities the city count; no legend changes.
    for (int r = 2; r < regions().rowCount(); ++r)
        regions().setText(3, r, QString::number(r));
    for (int r = 2; r < cities().rowCount(); ++r)
        cities().setText(3, r, QString::number(r));
    const LegendState cityLegend = main->cityPage().state().legend;
    colors.setTargetMode(31);
    colors.showPanel(gradient);
    colors.applyGradient();
    EXPECT_EQ(regions().color(4, regions().rowCount() - 1), 1339686);
    sizes.setTargetMode(32);
    sizes.showPanel(gradient);
    sizes.applyGradient();
    EXPECT_EQ(cities().text(5, 2), "50");
    EXPECT_EQ(cities().text(5, cities().rowCount() - 1), "100");
    EXPECT_EQ(main->cityPage().state().legend.grid.rowCount(), cityLegend.grid.rowCount());
    EXPECT_EQ(main->cityPage().state().legend.countIndex, cityLegend.countIndex);
}

TEST_F(AdvanceBubblePage, ImportAndExportActOnTheSubPageShown) {
    app.write("data/NetherlandsRC.xml", kChart);
    chooseMap("Netherlands");
    page().subPages()->setCurrentIndex(1);
    app.write("cities.csv", "Amsterdam,Noord-Holland,77,120\n");
    dialogs.queuePath(app.path() + "cities.csv");
    page().importButton()->click();
    ASSERT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('\n').toStdString();
    EXPECT_EQ(cities().text(3, 2), "77");
    EXPECT_EQ(cities().text(5, 2), "120");
    EXPECT_EQ(regions().text(3, 2), "1.5");
    page().undo(); // one step
    EXPECT_EQ(cities().text(3, 2), "3");

    page().subPages()->setCurrentIndex(0);
    page().exportButton()->click();
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    const QString path = dialogs.openedUrls[0].toLocalFile();
    EXPECT_EQ(QFileInfo(path).fileName(), "NetherlandsRC.xlsx");
    EXPECT_EQ(SheetReaderFor(path)->read(path, 4, nullptr).cells(1, 1), "Utrecht");
    QFileInfo(path).dir().removeRecursively();
}
