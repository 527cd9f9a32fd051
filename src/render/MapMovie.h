#pragma once

#include <QByteArray>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tolvane {

// What a movie draws; it decides which staged data file the player reads beside it.
enum class MovieKind { Blank, Region, City, RegionCity, Flag };

// One area of the map: a charted region or a piece of neutral context. Coordinates are
// those of the movie's plane (y grows downward), not yet fitted to any picture.
struct MovieShape {
    QString key;       // short name ("DE-BY"); for context shapes its kind ("land", "water")
    QString name;      // full name
    QPainterPath path; // rings as closed subpaths, odd-even filled so holes stay open
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
    std::vector<QPolygonF> contextEdges; // the outlines of the context land
    std::vector<MovieCity> cities;
    // Every boundary of a region exactly once, so shared borders are not stroked twice.
    std::vector<QPolygonF> borders;
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
