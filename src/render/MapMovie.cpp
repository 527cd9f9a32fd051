#include "render/MapMovie.h"

#include "model/UserError.h"
#include "platform/DecodedFiles.h"
#include "render/JsonReader.h"
#include "render/MovieShapes.h"
#include "render/MovieTopology.h"

#include <QDir>
#include <QHash>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <future>
#include <list>
#include <mutex>

namespace tolvane {

MovieKind MovieKindFromText(const QString& text) {
    if (text == u"region") return MovieKind::Region;
    if (text == u"city") return MovieKind::City;
    if (text == u"regioncity") return MovieKind::RegionCity;
    if (text == u"flag") return MovieKind::Flag;
    return MovieKind::Blank;
}

QString MovieKindText(MovieKind kind) {
    switch (kind) {
    case MovieKind::Region:
        return QStringLiteral("region");
    case MovieKind::City:
        return QStringLiteral("city");
    case MovieKind::RegionCity:
        return QStringLiteral("regioncity");
    case MovieKind::Flag:
        return QStringLiteral("flag");
    case MovieKind::Blank:
        break;
    }
    return QStringLiteral("blank");
}

namespace {

QRectF ViewBoxOf(const double (&box)[4]) {
    const double x0 = box[0], y0 = box[1], x1 = box[2], y1 = box[3];
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1) ||
        !(x1 > x0) || !(y1 > y0))
        return {};
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

} // namespace

QPainterPath MapMovie::path(const MovieShape& shape) const {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> r = ring(shape, k);
        path.moveTo(r[0]);
        for (size_t i = 1; i < r.size(); ++i)
            path.lineTo(r[i]);
        path.closeSubpath();
    }
    return path;
}

bool MapMovie::contains(const MovieShape& shape, const QPointF& p) const {
    if (!shape.hasArea || !shape.bounds.contains(p)) return false;
    // Crossings of a ray to the right: odd means inside, as the odd-even fill has it.
    bool inside = false;
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> r = ring(shape, k);
        for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
            const QPointF& a = r[i];
            const QPointF& b = r[j];
            if ((a.y() > p.y()) != (b.y() > p.y()) &&
                p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
                inside = !inside;
        }
    }
    return inside;
}

std::shared_ptr<const MapMovie> ParseMapMovie(const QByteArray& bytes) {
    MovieTopology topology;
    try {
        topology = ReadMovieTopology(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const JsonError& e) {
        throw UserError(QStringLiteral("not a map movie (%1 at byte %2)")
                            .arg(QString::fromUtf8(e.what()))
                            .arg(e.offset()));
    }
    if (!topology.isTopology) throw UserError(QStringLiteral("not a map movie (no topology)"));

    auto movie = std::make_shared<MapMovie>();
    movie->title = TextOf(topology.title);
    movie->attribution = TextOf(topology.attribution);
    movie->style = TextOf(topology.style);
    movie->viewBox = ViewBoxOf(topology.viewBox);

    const MovieTransform transform = TransformOf(topology);
    PointRuns& arcs = topology.arcs;
    DecodeArcs(arcs, transform);
    std::vector<uint8_t> borderArcs(arcs.size(), 0);
    PointBudget budget(arcs.points.size());

    using Geometry = MovieTopology::Geometry;
    movie->regions =
        BuildShapes(topology, topology.regions, arcs, &borderArcs, budget, movie->rings);
    for (MovieShape& shape :
         BuildShapes(topology, topology.context, arcs, nullptr, budget, movie->rings)) {
        if (!shape.hasArea) continue;
        if (shape.key != u"water") {
            for (uint32_t k = 0; k < shape.ringCount; ++k) {
                // Outlined closed, as the ring is filled.
                const std::span<const QPointF> r = movie->ring(shape, k);
                movie->contextEdges.points.insert(movie->contextEdges.points.end(), r.begin(),
                                                  r.end());
                if (r.back() != r.front()) movie->contextEdges.points.push_back(r.front());
                movie->contextEdges.endRun();
            }
        }
        movie->context.push_back(std::move(shape));
    }
    for (const uint32_t c : topology.cities) {
        const Geometry& g = topology.geometries[c];
        const double x = g.point[0], y = g.point[1];
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        MovieCity city;
        city.position = transform.quantized ? transform.apply(x, y) : QPointF(x, y);
        city.name = TextOf(g.name);
        city.region = TextOf(g.key);
        movie->cities.push_back(std::move(city));
    }

    // The arcs the regions use are their borders: kept in place, the others dropped.
    size_t kept = 0, keptRuns = 0;
    for (size_t a = 0; a < arcs.size(); ++a) {
        const size_t begin = arcs.starts[a], end = arcs.starts[a + 1];
        if (!borderArcs[a] || end - begin < 2) continue;
        std::copy(arcs.points.begin() + static_cast<ptrdiff_t>(begin),
                  arcs.points.begin() + static_cast<ptrdiff_t>(end),
                  arcs.points.begin() + static_cast<ptrdiff_t>(kept));
        kept += end - begin;
        arcs.starts[++keptRuns] = static_cast<uint32_t>(kept);
    }
    arcs.points.resize(kept);
    arcs.starts.resize(keptRuns + 1);
    movie->borders = std::move(arcs);

    if (!topology.kind.empty())
        movie->kind = MovieKindFromText(TextOf(topology.kind));
    else
        movie->kind = movie->regions.empty() ? MovieKind::Blank : MovieKind::Region;

    if (movie->viewBox.isEmpty()) {
        QRectF all;
        for (const MovieShape& s : movie->regions)
            all = all.united(s.bounds);
        for (const MovieCity& c : movie->cities)
            all = all.united(QRectF(c.position, QSizeF(0, 0)));
        movie->viewBox = all;
    }
    const auto regionIndex = [&](auto field) {
        return NameIndex(static_cast<int>(movie->regions.size()), [&](int i) -> const QString& {
            return movie->regions[static_cast<size_t>(i)].*field;
        });
    };
    // A large map's two region indexes are made on two cores.
    std::future<NameIndex> keys;
    if (movie->regions.size() > 20000)
        keys = std::async(std::launch::async, regionIndex, &MovieShape::key);
    movie->regionNames = regionIndex(&MovieShape::name);
    movie->regionKeys = keys.valid() ? keys.get() : regionIndex(&MovieShape::key);
    movie->cityNames =
        NameIndex(static_cast<int>(movie->cities.size()), [&](int i) -> const QString& {
            return movie->cities[static_cast<size_t>(i)].name;
        });
    return movie;
}

namespace {

// A handful of maps covers the preview, the capture player and a page switch back.
DecodedFiles<MapMovie>& Movies() {
    static DecodedFiles<MapMovie> movies(6);
    return movies;
}

} // namespace

std::shared_ptr<const MapMovie> LoadMapMovie(const QString& path) {
    // A staged movie is a link to (or a copy of) one of a few maps, staged again on every
    // page switch and make.
    return Movies().load(path, 0, [&](const QByteArray& bytes) {
        try {
            return ParseMapMovie(bytes);
        } catch (const UserError& e) {
            throw UserError(QStringLiteral("Map file damaged: %1: %2")
                                .arg(QDir::toNativeSeparators(path), e.message()));
        }
    });
}

void ClearMovieCache() {
    Movies().clear();
}

} // namespace tolvane
