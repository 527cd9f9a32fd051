#pragma once

#include "platform/DecodedFiles.h"
#include "render/MapMovie.h"
#include "render/StagedChart.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace tolvane {

// Which shape each staged entry is drawn on (-1: none) and the entries the map lacks.
struct ChartMatch {
    std::vector<int> regionShape; // per StagedChart::regions, an index into MapMovie::regions
    std::vector<int> cityPoint;   // per StagedChart::cities, an index into MapMovie::cities
    QStringList unmatchedRegions;
    QStringList unmatchedCities;
};

// A region is drawn on the shape whose key is its short name; a short name of "-", or one
// no shape has, falls back to the shape of the same full name. Cities match by name, and
// by region as well when the map has several cities of that name.
ChartMatch MatchChart(const MapMovie& movie, const StagedChart& data);

// Everything a chart picture is drawn from, independent of any widget.
struct ChartScene {
    std::shared_ptr<const MapMovie> movie; // null when there is no movie to play
    // Shared with the decoded files kept for a map seen again: never null.
    std::shared_ptr<const StagedChart> data = std::make_shared<const StagedChart>();
    ChartMatch match;
    QString folder;      // the movie's folder, ending in '/': flags live in its flags/
    QStringList notes;   // what could not be drawn, shown small in the picture
    bool loaded = false; // false: nothing was ever loaded (an empty, white picture)
};

// What a staged file of this content holds for a movie of `kind`, known without reading
// it, and a file known to hold it: a scene loaded from such a file finds it decoded. `make`
// runs only when the content is not kept decoded yet.
void KnowStagedChart(MovieKind kind, const ContentId& content, const std::optional<FileStamp>& file,
                     const std::function<StagedChart()>& make);

// Reads the movie and the staged data file its kind names, beside it. Never throws: a
// missing or damaged file becomes a note and the scene keeps what could be read.
ChartScene LoadChartScene(const QString& moviePath);

// The same from a movie and an explicitly named staged data file ("" for none).
ChartScene LoadChartScene(const QString& moviePath, const QString& stagedPath);

} // namespace tolvane
