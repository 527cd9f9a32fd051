#pragma once

#include "model/ChartModel.h"

#include <QString>
#include <vector>

namespace tolvane {

class XmlReader;
class XmlWriter;

// The four kinds of chart data file. Region and shade files share one layout (shade adds a
// "shade" child); city files name their items "city"; region-city files hold both lists.
enum class ChartKind { Region, Shade, City, RegionCity };

struct LegendBlock {
    bool show = false;
    int count = 0; // the item count chosen, which may differ from items.size()
    std::vector<TLegend> items;
};

// Everything a chart data file holds, in plain form.
struct ChartFileData {
    int regions = 0; // the "regions" element (of "provinces" in region-city files)
    QString border;  // kept as text: the staged file passes it on unchanged
    bool showText = false;
    std::vector<TProvince> items;  // "province" or "city" elements
    int cityRegions = 0;           // region-city files: "regions" of "cities"
    std::vector<TProvince> cities; // region-city files: "city" elements of "cities"
    LegendBlock legend;            // region, shade and city files
};

// Reads a whole chart data file. Any element that does not convert throws ConvertError
// before anything is handed back, so callers change nothing on failure. Each item starts
// from an empty record: a missing child never inherits the previous item's value.
ChartFileData ParseChartFile(ChartKind kind, const XmlReader& reader);
// The file read and parsed.
ChartFileData LoadChartFile(ChartKind kind, const QString& path);
// From now on the last `count` files loaded are kept decoded and found again by their
// content: changing back to a large map then costs a look at its file, not a parse. A
// program that draws one chart and ends keeps none (the default): their memory is the
// drawing's.
void KeepChartFilesDecoded(size_t count);

// Writes the layout of the kind. `staged` writes the movie's copy: in region-city files its
// region entries are then named "city".
XmlWriter BuildChartFile(ChartKind kind, const ChartFileData& data, bool staged = false);

// The name of the staged data file the movie of a kind reads.
QString StagedFileName(ChartKind kind);

} // namespace tolvane
