#pragma once

#include "render/MapMovie.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

class XmlInElement;

// The staged data file a movie draws from, read leniently: a value that does not convert
// or lies out of range is dropped (the chart then draws that entry without it) instead
// of stopping the chart. Colours are 0xRRGGBB.
struct StagedRegion {
    QString name;
    QString shortName;
    std::optional<uint32_t> color; // none: no data, or a colour that is not a colour
    double value = 0;
    int shade = 1;
    bool operator==(const StagedRegion&) const = default;
};

struct StagedCity {
    QString name;
    QString region;
    std::optional<uint32_t> color;
    double value = 0;
    double scale = 0; // percent, never negative or NaN
    bool operator==(const StagedCity&) const = default;
};

struct StagedLegendItem {
    QString text;
    std::optional<uint32_t> color;
    double scale = 100;
    int shade = 1;
    bool operator==(const StagedLegendItem&) const = default;
};

struct StagedFlag {
    QString code;
    QString data;
    double size = 0; // percent of the largest value; may be negative
    bool operator==(const StagedFlag&) const = default;
};

struct StagedChart {
    std::optional<uint32_t> border;
    bool showText = false;
    bool showLegend = false;
    int legendCount = 0; // the items the legend shows (at most legend.size())
    std::vector<StagedRegion> regions;
    std::vector<StagedCity> cities;
    std::vector<StagedLegendItem> legend;
    QString title; // flag charts
    std::vector<StagedFlag> flags;
    bool operator==(const StagedChart&) const = default;
};

// The staged data file the movie of a kind reads beside itself ("" for none).
QString StagedFileFor(MovieKind kind);

// Reads what the movie of `kind` needs from a parsed staged data file; never throws.
StagedChart ReadStagedChart(MovieKind kind, const XmlInElement& root);

// A colour text of a chart file: a 24-bit integer, or nothing.
std::optional<uint32_t> ParseColorText(const QString& text);

// The reader's rules for what it read, for data known without reading it.
std::optional<uint32_t> StagedColor(int32_t value);
double StagedValue(double value); // a value that is no number draws as 0
// A bubble scale the chart can draw: NaN, negative and absurd sizes are tamed here once.
double StagedScale(double value);
// A region without data is drawn white whatever colour its row still carries.
void SettleRegion(StagedRegion& region);

} // namespace tolvane
