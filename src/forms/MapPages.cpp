#include "forms/MapPages.h"

#include "forms/PageParts.h"

namespace tolvane {

namespace {

const QStringList& StartupNames() {
    static const QStringList maps{
        "China",           "Germany",        "Italy",       "United States", "Portugal",
        "South East Asia", "United Kingdom", "Australia",   "Canada",        "Romania",
        "Spain",           "Burundi",        "Netherlands", "South Korea",   "Europe2"};
    return maps;
}

} // namespace

// Every map of the list offers a legend.
const MapTable& RegionMaps() {
    static const MapTable table(
        QStringList{
            "World",           "World2",         "Africa",         "Asia",           "Europe",
            "Europe1",         "Europe2",        "South American", "Mediterranean",  "Middle-East",
            "South East Asia", "Argentine",      "Australia",      "Austria",        "Belarus",
            "Belgium",         "Brazil",         "Bulgaria_NUTS2", "Burundi",        "Canada",
            "China",           "CN-HongKong",    "Czech",          "Czech_NUTS2",    "Denmark",
            "Finland",         "France",         "Germany",        "Germany_NUTS2",  "DE_Berlin",
            "Greece",          "Hungary",        "Hungary_NUTS2",  "India",          "Indonesia",
            "Ireland",         "Ireland_NUTS2",  "Italy",          "Japan",          "Mexico",
            "Netherlands",     "Poland",         "Portugal",       "Portugal_NUTS2", "Romania",
            "Slovakia",        "Slovakia_NUTS2", "Slovenia_NUTS2", "South Africa",   "South Korea",
            "Spain",           "Sweden",         "Sweden_NUTS2",   "United Kingdom", "UK_NUTS2",
            "United States",   "New Jersey",     "New York",       "US and CA"},
        {.names = StartupNames() + QStringList{"Belgium", "Europe1"}});
    return table;
}

bool StartupMapHasNames(const QString& map) {
    return StartupNames().contains(map);
}

// Every shade map offers names and a legend.
const MapTable& ShadeMaps() {
    static const MapTable table{{"China", "Chinaad"}, {"Germany", "Germany3"}, {"Italy", "Italy2"}};
    return table;
}

// Names and legends are offered where the map leaves room for them.
const MapTable& CityMaps() {
    static const MapTable table(
        {{"World Cities", "WorldCity"},
         {"Europe Major Cities", "EuropeCity"},
         {"China Major Cities", "CNCity"},
         {"France Major Cities", "FranceCity"},
         {"Germany Major Cities", "GermanyCity"},
         {"Italy Major Cities", "ItalyCity"},
         {"Japan Major Cities", "JapanCity"},
         {"South Korea Major Cities", "SouthKoreaCity"},
         {"Spain Major Cities", "SpainCity"},
         {"Thailand Major Cities", "ThailandCity"},
         {"UK Major Cities", "UKCity"},
         {"USA Major Cities", "USACity"}},
        {.names = QStringList{"WorldCity", "EuropeCity", "CNCity", "FranceCity", "ItalyCity",
                              "SpainCity", "UKCity"},
         .legend = QStringList{"WorldCity", "EuropeCity", "CNCity", "ItalyCity"}});
    return table;
}

const MapTable& RegionCityMaps() {
    static const MapTable table{{"World", "WorldRC"},
                                {"China", "ChinaRC"},
                                {"Germany", "GermanyRC"},
                                {"Netherlands", "NetherlandsRC"},
                                {"USA", "USAPCity"}};
    return table;
}

LegendMapPage::Shape RegionPageShape() {
    return {.kind = ChartKind::Region,
            .maps = RegionMaps(),
            .firstMap = 1, // "World2"
            .added = AddedMapKind::Region,
            .names = {.showName = "chkPShowName", .showLegend = "chkPShowLegend"},
            .colorOnClick = true,
            .keepBoxesOnSwitch = true};
}

LegendMapPage::Shape ShadePageShape() {
    return {.kind = ChartKind::Shade,
            .maps = ShadeMaps(),
            .firstMap = 1, // "Germany"
            .names = {.showName = "chkShadeShowName",
                      .showLegend = "chkShadeShowLegend",
                      .link = "Label63"},
            .ownPlayers = true,
            .link = LegendMapPage::HelpLink{"Shade Code", "shade.htm"}};
}

LegendMapPage::Shape CityPageShape(LegendMapPage& regionPage) {
    return {.kind = ChartKind::City,
            .maps = CityMaps(),
            .firstMap = 0, // "World Cities"
            .added = AddedMapKind::City,
            .names = {.showName = "chkShowName",
                      .showLegend = "chkCShowLegend",
                      .legendSet = "cmdShowCLegend",
                      .gradientColor = "cmdCityColor1",
                      .rangeColor = "cmdCityColor2",
                      .gradientSize = "cmdCitySize1",
                      .rangeSize = "cmdCitySize2",
                      .importFile = "cmdCityImport",
                      .exportFile = "cmdCityExport",
                      .sizeLabel = "labCitySize"},
            .borderOwner = &regionPage};
}

} // namespace tolvane
