#pragma once

#include "charts/ChartFile.h"
#include "charts/ChartFileStore.h"
#include "charts/PageState.h"
#include "model/ChartModel.h"
#include "render/StagedChart.h"

#include <QString>

namespace tolvane {

// Writers turn a page's grids back into the current map's chart data file
// (appFolder/data/<map>.xml). Every cell is converted first: a cell that does not convert
// throws ConvertError and nothing is written. The file is replaced atomically.
//
// Loaders read appFolder/data/<map>.xml, stage the map movie as data/cmap.map with the
// staged data file the movie draws from, and only when all of that succeeded refill the
// chart model and the page state. A file that cannot be read, converted or staged throws
// UserError and leaves model, page, staged movie and staged data file as they were.

void WriteRegionChart(const ChartModel& model, const MapPageState& page);
void LoadRegionChart(ChartModel& model, MapPageState& page, const QString& mapName);

void WriteShadeChart(const ChartModel& model, const MapPageState& page);
void LoadShadeChart(ChartModel& model, MapPageState& page, const QString& mapName);

// City charts take their border from the "Map" page's border colour (platform colour).
void WriteCityChart(const ChartModel& model, const CityPageState& page, int32_t border);
void LoadCityChart(ChartModel& model, CityPageState& page, int32_t& border, const QString& mapName);

void WriteRegionCityChart(const ChartModel& model, const RegionCityPageState& page);
void LoadRegionCityChart(ChartModel& model, RegionCityPageState& page, const QString& mapName);

// The same for any region, shade or city chart, over the parts of its page: the "Map" and
// "Advance Map" pages' state, or the "Bubble" page's with the "Map" page's border.
struct ListPage {
    GridLayout layout;
    GridData& grid;
    GridRowsMemo& memo;
    LegendState& legend;
    bool& showName;
    int32_t& border; // platform colour
};
ListPage ListPageOf(ChartKind kind, MapPageState& page);
ListPage ListPageOf(CityPageState& page, int32_t& border);
void WriteListChart(ChartKind kind, const ChartModel& model, const ListPage& page);
void LoadListChart(ChartKind kind, ChartModel& model, const ListPage& page, const QString& mapName);

// The two halves of a load and a make without the files: what a page shows of a chart read
// (model and page refilled; the border must be a colour), and the chart a page's make
// writes. Every cell is converted: a cell that does not convert throws ConvertError.
void ShowMapChart(ChartKind kind, ChartModel& model, MapPageState& page, ChartFileData data);
ChartFileData MakeMapChart(ChartKind kind, const ChartModel& model, const MapPageState& page);
void ShowCityChart(ChartModel& model, CityPageState& page, int32_t& border, ChartFileData data);
ChartFileData MakeCityChart(const ChartModel& model, const CityPageState& page, int32_t border);
void ShowRegionCityChart(ChartModel& model, RegionCityPageState& page, ChartFileData data);
ChartFileData MakeRegionCityChart(const ChartModel& model, const RegionCityPageState& page);

// Copies the map movie over data/cmap.map and writes the staged data file of the kind, both
// or neither: a missing movie or a file that cannot be written throws UserError and leaves
// the staged files as they were.
void StageChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                const ChartFileData& staged);
// Stages a region, shade or city chart as read from its file (see StagedCopy).
void StageListChart(const ChartModel& model, ChartKind kind, const QString& mapName,
                    const LoadedChartFile& file, int legendCount);

} // namespace tolvane

namespace tolvane {

// What the staged data file of a region, shade or city chart holds after a load: the
// items as read, with the legend items up to the item count, numbered from 1.
ChartFileData StagedCopy(const ChartFileData& read, int legendCount);

// The kind of movie that draws a chart of the kind.
MovieKind MovieKindOf(ChartKind kind);

// What the movie reads from a staged file that is a region, shade or city chart's file
// itself (its staged copy changes nothing), from the data that file reads as.
StagedChart StagedChartOf(ChartKind kind, const ChartFileData& read);

} // namespace tolvane
