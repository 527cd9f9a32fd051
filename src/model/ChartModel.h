#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace tolvane {

// One region, or one city of a city chart.
struct TProvince {
    int32_t Id = 0;
    QString Name;
    QString ShortName;
    QString Country;
    int32_t Color = 0; // 0xRRGGBB
    double Value = 0;
    double Scale = 0;
    int32_t Shade = 0;
};

// One legend item.
struct TLegend {
    int32_t Id = 0;
    QString Text;
    int32_t Color = 0; // 0xRRGGBB
    double Scale = 0;
    int32_t Shade = 0;
};

// Chart modes select what "Make && Preview" and "Save Chart" act on.
enum ChartMode : int { ModeRegion = 1, ModeCity = 2, ModeRegionCity = 3, ModeShade = 4 };

// A name that the writers leave out, and the short name of a region without data.
inline const QString kNillName = QStringLiteral("Nill");
inline const QString kNoDataMark = QStringLiteral("-");

// The tables of one loaded chart. They hold exactly what the load read: a load replaces
// them whole, so no row ever shows an entry left over from an earlier map.
struct ChartTables {
    int regionCount = 1;
    int cityCount = 1;
    std::vector<TProvince> regions;
    std::vector<TProvince> cities;
    std::vector<TLegend> legends;
};

// The state every page shares. Its tables are those of the chart the active page shows;
// each page keeps its own copy, so a page switch never mixes one map's names into another.
struct ChartModel : ChartTables {
    int chartMode = ModeRegion;
    QString appFolder; // always ends with '/'
    QString currentMapName;

    ChartTables& tables() { return *this; }
    const ChartTables& tables() const { return *this; }

    // appFolder + "data/" + name
    QString dataPath(const QString& fileName) const;
    QString chartFilePath() const { return dataPath(currentMapName + QStringLiteral(".xml")); }
    QString movieFilePath() const { return dataPath(currentMapName + QStringLiteral(".map")); }
    QString stagedMoviePath() const { return dataPath(QStringLiteral("cmap.map")); }
    QString blankMoviePath() const { return dataPath(QStringLiteral("cmap1.map")); }
};

} // namespace tolvane
