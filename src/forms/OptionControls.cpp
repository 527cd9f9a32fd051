#include "forms/OptionControls.h"

#include "forms/FlagPage.h"
#include "forms/LegendMapPage.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "forms/RegionCityPage.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

namespace tolvane {

namespace {

using Main = MainWindow;

} // namespace

const std::vector<OptionControl>& OptionControls() {
    static const std::vector<OptionControl> table{
        // "Map"
        {"cmbMap", [](Main& m) -> QWidget* { return m.regionPage().mapList(); }},
        {"clrBoder", [](Main& m) -> QWidget* { return m.regionPage().borderEdit(); }},
        {"trSize", [](Main& m) -> QWidget* { return m.regionPage().sizeBar()->slider(); }},
        {"WGrid", [](Main& m) -> QWidget* { return m.regionPage().dataGrid(); }},
        {"cmbPLegendCount",
         [](Main& m) -> QWidget* { return m.regionPage().legendPanel()->countList(); }},
        {"gdPLegend", [](Main& m) -> QWidget* { return m.regionPage().legendPanel()->gridView(); }},
        // "Advance Map"
        {"cmbShadeMap", [](Main& m) -> QWidget* { return m.shadePage().mapList(); }},
        {"clrShadeBoder", [](Main& m) -> QWidget* { return m.shadePage().borderEdit(); }},
        {"trShadeSize", [](Main& m) -> QWidget* { return m.shadePage().sizeBar()->slider(); }},
        {"WShadeGrid", [](Main& m) -> QWidget* { return m.shadePage().dataGrid(); }},
        {"cmbShadeLegendCount",
         [](Main& m) -> QWidget* { return m.shadePage().legendPanel()->countList(); }},
        {"gdShadeLegend",
         [](Main& m) -> QWidget* { return m.shadePage().legendPanel()->gridView(); }},
        // "Bubble"
        {"cmbCityMap", [](Main& m) -> QWidget* { return m.cityPage().mapList(); }},
        {"clrCityBoder", [](Main& m) -> QWidget* { return m.cityPage().borderEdit(); }},
        {"trCitySize", [](Main& m) -> QWidget* { return m.cityPage().sizeBar()->slider(); }},
        {"WCityGrid", [](Main& m) -> QWidget* { return m.cityPage().dataGrid(); }},
        {"cmbCLegendCount",
         [](Main& m) -> QWidget* { return m.cityPage().legendPanel()->countList(); }},
        {"gdCLegend", [](Main& m) -> QWidget* { return m.cityPage().legendPanel()->gridView(); }},
        // "Advance Bubble"
        {"cmbRCMap", [](Main& m) -> QWidget* { return m.regionCityPage().mapList(); }},
        {"trRCSize", [](Main& m) -> QWidget* { return m.regionCityPage().sizeBar()->slider(); }},
        {"WRCRGrid", [](Main& m) -> QWidget* { return m.regionCityPage().regionGridView(); }},
        {"WRCCGrid", [](Main& m) -> QWidget* { return m.regionCityPage().cityGridView(); }},
        // "Flag": read from a file, never written
        {"cmbFlag", [](Main& m) -> QWidget* { return m.flagPage().typeList(); }},
        {"txtFlagTitle", [](Main& m) -> QWidget* { return m.flagPage().titleEdit(); }},
        {"cmbFlagColCount", [](Main& m) -> QWidget* { return m.flagPage().columnCountList(); }},
        {"trFlagSize", [](Main& m) -> QWidget* { return m.flagPage().sizeBar()->slider(); }},
    };
    return table;
}

void NameOptionControls(MainWindow& main) {
    for (const OptionControl& entry : OptionControls())
        entry.control(main)->setObjectName(QLatin1String(entry.key));
}

} // namespace tolvane
