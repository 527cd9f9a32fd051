#include "charts/Charts.h"
#include "model/Colors.h"
#include "model/UserError.h"
#include "support/TempAppFolder.h"

#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

const QByteArray kShade = R"(<?xml version="1.0" encoding="utf-8"?>
<provinces>
  <regions>2</regions>
  <border>8421504</border>
  <showtext>0</showtext>
  <province id="1">
    <name>Lazio</name>
    <shortname>IT-62</shortname>
    <bgcolor>255</bgcolor>
    <value>7</value>
    <shade>5</shade>
  </province>
  <province id="2">
    <name>Molise</name>
    <shortname>-</shortname>
    <bgcolor>16777215</bgcolor>
    <value>0</value>
    <shade>0</shade>
  </province>
  <plegends>
    <showplegend>0</showplegend>
    <plegendcount>1</plegendcount>
    <plegend id="1">
      <text>dotted</text>
      <color>65280</color>
      <shade>3</shade>
    </plegend>
  </plegends>
</provinces>
)";

const QByteArray kCities = R"(<?xml version="1.0" encoding="utf-8"?>
<cities>
  <regions>2</regions>
  <border>12632256</border>
  <showtext>-1</showtext>
  <city id="1">
    <name>Hamburg</name>
    <country>Hamburg</country>
    <bgcolor>255</bgcolor>
    <value>1.5</value>
    <scale>100</scale>
  </city>
  <city id="2">
    <name>Essen</name>
    <country>-</country>
    <bgcolor>65280</bgcolor>
    <value>0</value>
    <scale>0</scale>
  </city>
  <plegends>
    <showplegend>-1</showplegend>
    <plegendcount>1</plegendcount>
    <plegend id="1">
      <text>big</text>
      <color>255</color>
      <scale>150</scale>
    </plegend>
  </plegends>
</cities>
)";

const QByteArray kRegionCity = R"(<?xml version="1.0" encoding="utf-8"?>
<map>
  <border>8421504</border>
  <provinces>
    <regions>1</regions>
    <province id="1">
      <name>Utrecht</name>
      <shortname>NL-UT</shortname>
      <bgcolor>255</bgcolor>
      <value>3</value>
    </province>
  </provinces>
  <cities>
    <regions>1</regions>
    <city id="1">
      <name>Amersfoort</name>
      <country>Utrecht</country>
      <bgcolor>65280</bgcolor>
      <value>2</value>
      <scale>80</scale>
    </city>
  </cities>
</map>
)";

class ChartKinds : public ::testing::Test {
protected:
    void SetUp() override {
        model.appFolder = app.path();
        model.currentMapName = "M";
        app.write("data/M.map", "movie");
    }
    TempAppFolder app;
    ChartModel model;
};

} // namespace

TEST_F(ChartKinds, ShadeChartsRoundTripWithTheirCodes) {
    app.write("data/M.xml", kShade);
    MapPageState page(ChartKind::Shade);
    LoadShadeChart(model, page, "M");
    EXPECT_EQ(page.grid.text(5, 1), "Shade");
    EXPECT_EQ(page.grid.text(5, 2), "5");
    EXPECT_FALSE(page.grid.readOnly(5, 2));
    EXPECT_EQ(page.grid.text(5, 3), "0");
    EXPECT_TRUE(page.grid.readOnly(5, 3));
    EXPECT_EQ(page.legend.grid.text(3, 1), "3");
    EXPECT_EQ(page.border, kGrey);
    EXPECT_EQ(app.read("data/province.xml"), kShade);

    WriteShadeChart(model, page);
    EXPECT_EQ(app.read("data/M.xml"), kShade);

    // An empty shade cell is code 1; a fraction is refused before anything is written.
    page.grid.setText(5, 2, "");
    WriteShadeChart(model, page);
    EXPECT_TRUE(app.read("data/M.xml").contains("<shade>1</shade>"));
    const QByteArray before = app.read("data/M.xml");
    page.grid.setText(5, 2, "1.5");
    EXPECT_THROW(WriteShadeChart(model, page), ConvertError);
    EXPECT_EQ(app.read("data/M.xml"), before);
}

TEST_F(ChartKinds, CityChartsKeepWholeScalesAndUseTheMapPageBorder) {
    app.write("data/M.xml", kCities);
    CityPageState page;
    int32_t border = 0;
    LoadCityChart(model, page, border, "M");
    EXPECT_EQ(border, kSilver);
    EXPECT_EQ(page.grid.text(2, 1), "Region Name");
    EXPECT_EQ(page.grid.text(3, 3), "0"); // city rows always show their data
    EXPECT_FALSE(page.grid.readOnly(3, 3));
    EXPECT_EQ(page.legend.grid.text(3, 1), "150");
    EXPECT_EQ(app.read("data/city.xml"), kCities);

    WriteCityChart(model, page, border);
    EXPECT_EQ(app.read("data/M.xml"), kCities);

    page.grid.setText(5, 2, "62.5");
    page.grid.setText(3, 3, "9");  // a no-data city is written as 0 ...
    page.grid.setText(5, 3, "50"); // ... with scale 0
    page.legend.grid.setText(3, 1, "abc");
    WriteCityChart(model, page, 0x0000FF);
    const QByteArray written = app.read("data/M.xml");
    EXPECT_TRUE(written.contains("<scale>63</scale>"));
    EXPECT_TRUE(written.contains("<border>16711680</border>"));
    EXPECT_TRUE(written.contains("<value>0</value>\n    <scale>0</scale>"));
    EXPECT_TRUE(written.contains("<scale>100</scale>\n    </plegend>"));
}

TEST_F(ChartKinds, RegionCityChartsNameStagedRegionsCityAndWriteAGreyBorder) {
    app.write("data/M.xml", kRegionCity);
    RegionCityPageState page;
    LoadRegionCityChart(model, page, "M");
    EXPECT_EQ(model.regionCount, 1);
    EXPECT_EQ(model.cityCount, 1);
    EXPECT_EQ(page.regionGrid.text(1, 2), "Utrecht");
    EXPECT_EQ(page.cityGrid.text(5, 2), "80");

    QByteArray staged = kRegionCity;
    staged.replace("<province id=\"1\">", "<city id=\"1\">").replace("</province>", "</city>");
    EXPECT_EQ(app.read("data/rc.xml"), staged);

    WriteRegionCityChart(model, page);
    EXPECT_EQ(app.read("data/M.xml"), kRegionCity);

    // A missing border is no error for this kind: the staged file carries an empty one.
    QByteArray noBorder = kRegionCity;
    noBorder.replace("  <border>8421504</border>\n", "");
    app.write("data/M.xml", noBorder);
    LoadRegionCityChart(model, page, "M");
    EXPECT_TRUE(app.read("data/rc.xml").contains("<border></border>"));
    WriteRegionCityChart(model, page);
    EXPECT_TRUE(app.read("data/M.xml").contains("<border>8421504</border>"));
}
