#pragma once

#include "model/ChartModel.h"

#include <QString>
#include <memory>
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

// Writes the layout of the kind. `staged` writes the movie's copy: in region-city files its
// region entries are then named "city".
XmlWriter BuildChartFile(ChartKind kind, const ChartFileData& data, bool staged = false);

// Equal as a file holds them: numbers by their bits (0 and -0 are written differently).
bool SameChartData(const ChartFileData& a, const ChartFileData& b);

// What ParseChartFile reads from the file BuildChartFile writes for `data`, worked out
// without either; none where a text or number of `data` would not read back as it stands
// (the file must then be read to know). Region, shade and city files.
std::optional<ChartFileData> ReadBackChartData(ChartKind kind, const ChartFileData& data);

// A file as BuildChartFile writes it, with what it reads back as (none where only a real
// read can tell) and where each item's text lies, from its start to the next one's.
struct BuiltListFile {
    ChartKind kind = ChartKind::Region;
    QByteArray bytes;
    std::shared_ptr<const ChartFileData> back;
    std::vector<size_t> itemBounds; // region, shade and city files
};
// Built after `before` (any file built so far, or none), the text of each item the two
// lists hold alike, in the same place, is copied from it: the next make after an edit
// writes the edited items only.
BuiltListFile BuildListFile(ChartKind kind, const ChartFileData& data, const BuiltListFile* before);

// The name of the staged data file the movie of a kind reads.
QString StagedFileName(ChartKind kind);

} // namespace tolvane
