#pragma once

#include "render/NameIndex.h"

#include <QByteArray>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace tolvane {

// What a movie draws; it decides which staged data file the player reads beside it.
enum class MovieKind { Blank, Region, City, RegionCity, Flag };

// Runs of points in one array (rings, polylines): run k is points[starts[k] .. starts[k+1]).
// A large map holds a million points; one allocation per ring would cost more than they do.
struct PointRuns {
    std::vector<QPointF> points;
    std::vector<uint32_t> starts{0};

    size_t size() const { return starts.size() - 1; }
    bool empty() const { return size() == 0; }
    std::span<const QPointF> operator[](size_t k) const {
        return std::span<const QPointF>(points).subspan(starts[k], starts[k + 1] - starts[k]);
    }
    // Ends the run of the points added since the last one.
    void endRun() { starts.push_back(static_cast<uint32_t>(points.size())); }
};

// One area of the map: a charted region or a piece of neutral context. Coordinates are
// those of the movie's plane (y grows downward), not yet fitted to any picture.
struct MovieShape {
    QString key;  // short name ("DE-BY"); for context shapes its kind ("land", "water")
    QString name; // full name
    // Its rings in the movie's `rings`, odd-even filled so holes stay open.
    uint32_t firstRing = 0;
    uint32_t ringCount = 0;
    QRectF bounds;
    QPointF label; // a point well inside, where the name goes
    bool hasArea = false;
};

struct MovieCity {
    QString name;
    QString region;
    QPointF position;
};

// A decoded map movie.
struct MapMovie {
    MovieKind kind = MovieKind::Blank;
    QString style; // flag movies: "flag1", "flag2", "flag3"
    QString title;
    QString attribution;
    QRectF viewBox; // the part of the plane the chart shows
    std::vector<MovieShape> regions;
    std::vector<MovieShape> context;
    PointRuns rings;        // of the regions and the context shapes, closed
    PointRuns contextEdges; // the outlines of the context land
    std::vector<MovieCity> cities;
    // Every boundary of a region exactly once, so shared borders are not stroked twice.
    PointRuns borders;
    // Regions by short name and by name, cities by name: made when the movie is decoded.
    NameIndex regionKeys, regionNames, cityNames;

    std::span<const QPointF> ring(const MovieShape& shape, uint32_t k) const {
        return rings[shape.firstRing + k];
    }
    // The shape as a path, odd-even filled, for what needs one (hatches, outlines).
    QPainterPath path(const MovieShape& shape) const;
    // Whether a point of the plane lies inside the shape (odd-even, as it is filled).
    bool contains(const MovieShape& shape, const QPointF& point) const;
};

// Decodes a TopoJSON movie. Throws UserError naming what is wrong with the file.
std::shared_ptr<const MapMovie> ParseMapMovie(const QByteArray& bytes);

// Reads and decodes a movie file. Decoded movies are kept by content (a staged movie is a
// copy of one of a few maps, overwritten all the time), so loading a map already seen costs
// a file read and a hash. Throws UserError for a missing or damaged file.
std::shared_ptr<const MapMovie> LoadMapMovie(const QString& path);

// Forgets every decoded movie (tests and benchmarks use this to measure a cold load).
void ClearMovieCache();

MovieKind MovieKindFromText(const QString& text);
QString MovieKindText(MovieKind kind);

} // namespace tolvane
