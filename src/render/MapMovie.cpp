#include "render/MapMovie.h"

#include "model/UserError.h"
#include "platform/FileOps.h"
#include "render/Json.h"

#include <QDir>
#include <QHash>
#include <algorithm>
#include <cmath>
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

struct Transform {
    double sx = 1, sy = 1, tx = 0, ty = 0;
    bool quantized = false;
    QPointF apply(double x, double y) const { return {x * sx + tx, y * sy + ty}; }
};

Transform ReadTransform(const JsonValue& t) {
    Transform out;
    const JsonValue& scale = t["scale"];
    const JsonValue& translate = t["translate"];
    if (scale.size() >= 2 && translate.size() >= 2) {
        out.sx = scale.numberAt(0, 1);
        out.sy = scale.numberAt(1, 1);
        out.tx = translate.numberAt(0);
        out.ty = translate.numberAt(1);
        out.quantized = std::isfinite(out.sx) && std::isfinite(out.sy) && std::isfinite(out.tx) &&
                        std::isfinite(out.ty);
        if (!out.quantized) out = Transform();
    }
    return out;
}

using Arc = std::vector<QPointF>;

std::vector<Arc> DecodeArcs(const JsonArcs& arcs, const Transform& t) {
    std::vector<Arc> out(arcs.count());
    for (size_t a = 0; a < arcs.count(); ++a) {
        Arc& points = out[a];
        points.reserve(arcs.starts[a + 1] - arcs.starts[a]);
        double x = 0, y = 0;
        for (size_t i = arcs.starts[a]; i < arcs.starts[a + 1]; ++i) {
            const double px = arcs.xy[2 * i];
            const double py = arcs.xy[2 * i + 1];
            if (!std::isfinite(px) || !std::isfinite(py))
                continue; // a damaged position: leave it out rather than draw a spike
            if (t.quantized) {
                // Positions are deltas from the previous one.
                x += px;
                y += py;
                points.push_back(t.apply(x, y));
            } else {
                points.emplace_back(px, py);
            }
        }
    }
    return out;
}

// Rings name arcs by index, so a few bytes can name a long arc again and again. A map uses
// each arc once or twice (once per side); a movie whose shapes add up to many times its
// arcs is damaged or hostile, and is refused before it fills the memory.
class PointBudget {
public:
    explicit PointBudget(size_t arcPoints)
        : left_(kTimesArcs * arcPoints + kAlways) {}
    void spend(size_t points) {
        if (points > left_)
            throw UserError(QStringLiteral("its shapes repeat their outlines far more often than "
                                           "a map does"));
        left_ -= points;
    }

private:
    static constexpr size_t kTimesArcs = 8;
    static constexpr size_t kAlways = 100000;
    size_t left_;
};

class ShapeBuilder {
public:
    ShapeBuilder(const std::vector<Arc>& arcs, std::vector<bool>* usedArcs, PointBudget& budget)
        : arcs_(arcs)
        , used_(usedArcs)
        , budget_(budget) {}

    // One ring: arc indices, ~i meaning arc i walked backwards.
    void addRing(const JsonValue& ring, QPainterPath& path) {
        ringPoints_.clear();
        for (size_t k = 0; k < ring.size(); ++k) {
            const double d = ring.numberAt(k, NAN);
            // An index is an integer that fits the arc list (and a conversion).
            if (!(std::fabs(d) < 2147483648.0) || d != std::floor(d)) return;
            const auto index = static_cast<int64_t>(d);
            const bool reversed = index < 0;
            const auto arcIndex = static_cast<size_t>(reversed ? ~index : index);
            if (arcIndex >= arcs_.size())
                return; // refers to an arc the file does not have: skip the ring
            if (used_) (*used_)[arcIndex] = true;
            const Arc& arc = arcs_[arcIndex];
            if (arc.empty()) continue;
            budget_.spend(arc.size());
            // Consecutive arcs share their joining point; keep it once.
            const size_t skip = ringPoints_.empty() ? 0 : 1;
            if (reversed) {
                for (size_t i = arc.size() - skip; i-- > 0;)
                    ringPoints_.push_back(arc[i]);
            } else {
                ringPoints_.insert(ringPoints_.end(), arc.begin() + static_cast<ptrdiff_t>(skip),
                                   arc.end());
            }
        }
        if (ringPoints_.size() < 3) return;
        path.moveTo(ringPoints_.front());
        for (size_t i = 1; i < ringPoints_.size(); ++i)
            path.lineTo(ringPoints_[i]);
        path.closeSubpath();
    }

    void addPolygon(const JsonValue& rings, QPainterPath& path) {
        for (size_t r = 0; r < rings.size(); ++r)
            addRing(rings.at(r), path);
    }

    void addGeometry(const JsonValue& geometry, QPainterPath& path, int depth = 0) {
        const std::string type = geometry["type"].toString().toStdString();
        const JsonValue& arcs = geometry["arcs"];
        if (type == "Polygon") {
            addPolygon(arcs, path);
        } else if (type == "MultiPolygon") {
            for (size_t p = 0; p < arcs.size(); ++p)
                addPolygon(arcs.at(p), path);
        } else if (type == "GeometryCollection" && depth < 4) {
            const JsonValue& parts = geometry["geometries"];
            for (size_t i = 0; i < parts.size(); ++i)
                addGeometry(parts.at(i), path, depth + 1);
        }
    }

private:
    const std::vector<Arc>& arcs_;
    std::vector<bool>* used_;
    PointBudget& budget_;
    std::vector<QPointF> ringPoints_;
};

// A point inside the shape for its name when the movie gives none: the middle of the
// widest inside span of a horizontal line through the middle of its largest part.
QPointF InteriorPoint(const QPainterPath& path) {
    const QList<QPolygonF> rings = path.toSubpathPolygons();
    const QPolygonF* largest = nullptr;
    double largestArea = -1;
    for (const QPolygonF& ring : rings) {
        double area = 0;
        for (qsizetype i = 0, n = ring.size(); i < n; ++i) {
            const QPointF& a = ring[i];
            const QPointF& b = ring[(i + 1) % n];
            area += a.x() * b.y() - b.x() * a.y();
        }
        if (std::fabs(area) > largestArea) {
            largestArea = std::fabs(area);
            largest = &ring;
        }
    }
    if (!largest) return path.boundingRect().center();
    const QRectF box = largest->boundingRect();
    const double y = box.center().y();
    std::vector<double> xs;
    for (const QPolygonF& ring : rings) {
        for (qsizetype i = 0, n = ring.size(); i < n; ++i) {
            const QPointF& a = ring[i];
            const QPointF& b = ring[(i + 1) % n];
            if ((a.y() <= y) != (b.y() <= y))
                xs.push_back(a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
        }
    }
    std::sort(xs.begin(), xs.end());
    double best = -1, bestX = box.center().x();
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        if (xs[i + 1] - xs[i] > best) {
            best = xs[i + 1] - xs[i];
            bestX = (xs[i] + xs[i + 1]) / 2;
        }
    }
    return {bestX, y};
}

std::vector<const JsonValue*> GeometriesOf(const JsonValue& object) {
    std::vector<const JsonValue*> out;
    if (!object.isObject()) return out;
    if (object["type"].toString() == u"GeometryCollection") {
        const JsonValue& list = object["geometries"];
        for (size_t i = 0; i < list.size(); ++i)
            if (list.at(i).isObject()) out.push_back(&list.at(i));
    } else {
        out.push_back(&object);
    }
    return out;
}

MovieShape BuildShape(ShapeBuilder& builder, const JsonValue& geometry) {
    MovieShape shape;
    shape.path.setFillRule(Qt::OddEvenFill);
    builder.addGeometry(geometry, shape.path);
    shape.hasArea = !shape.path.isEmpty();
    shape.bounds = shape.path.boundingRect();
    const JsonValue& props = geometry["properties"];
    shape.name = props["name"].toString();
    const JsonValue& label = props["label"];
    const double lx = label.numberAt(0, NAN), ly = label.numberAt(1, NAN);
    if (std::isfinite(lx) && std::isfinite(ly))
        shape.label = QPointF(lx, ly);
    else if (shape.hasArea)
        shape.label = InteriorPoint(shape.path);
    return shape;
}

QRectF ReadViewBox(const JsonValue& box) {
    const double x0 = box.numberAt(0, NAN), y0 = box.numberAt(1, NAN);
    const double x1 = box.numberAt(2, NAN), y1 = box.numberAt(3, NAN);
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1) ||
        !(x1 > x0) || !(y1 > y0))
        return {};
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

} // namespace

std::shared_ptr<const MapMovie> ParseMapMovie(const QByteArray& bytes) {
    JsonValue doc;
    JsonArcs arcList;
    try {
        doc = ParseJson(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                        &arcList);
    } catch (const JsonError& e) {
        throw UserError(QStringLiteral("not a map movie (%1 at byte %2)")
                            .arg(QString::fromUtf8(e.what()))
                            .arg(e.offset()));
    }
    if (!doc.isObject() || doc["type"].toString() != u"Topology")
        throw UserError(QStringLiteral("not a map movie (no topology)"));

    auto movie = std::make_shared<MapMovie>();
    const JsonValue& meta = doc["tolvane"];
    const JsonValue& objects = doc["objects"];
    movie->title = meta["title"].toString();
    movie->attribution = meta["attribution"].toString();
    movie->style = meta["style"].toString();
    movie->viewBox = ReadViewBox(meta["viewBox"]);

    const Transform transform = ReadTransform(doc["transform"]);
    const std::vector<Arc> arcs = DecodeArcs(arcList, transform);
    std::vector<bool> borderArcs(arcs.size(), false);
    PointBudget budget(arcList.xy.size() / 2);

    ShapeBuilder regionBuilder(arcs, &borderArcs, budget);
    for (const JsonValue* g : GeometriesOf(objects["regions"])) {
        MovieShape shape = BuildShape(regionBuilder, *g);
        shape.key = (*g)["properties"]["key"].toString();
        movie->regions.push_back(std::move(shape));
    }
    ShapeBuilder contextBuilder(arcs, nullptr, budget);
    for (const JsonValue* g : GeometriesOf(objects["context"])) {
        MovieShape shape = BuildShape(contextBuilder, *g);
        shape.key = (*g)["properties"]["kind"].toString();
        if (!shape.hasArea) continue;
        if (shape.key != u"water") {
            for (const QPolygonF& ring : shape.path.toSubpathPolygons())
                movie->contextEdges.push_back(ring);
        }
        movie->context.push_back(std::move(shape));
    }
    for (const JsonValue* g : GeometriesOf(objects["cities"])) {
        const JsonValue& coords = (*g)["coordinates"];
        // A MultiPoint city is drawn at its first point.
        const JsonValue& point =
            coords.size() > 0 && coords.at(0).isArray() ? coords.at(0) : coords;
        const double x = point.numberAt(0, NAN), y = point.numberAt(1, NAN);
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        MovieCity city;
        city.position = transform.quantized ? transform.apply(x, y) : QPointF(x, y);
        city.name = (*g)["properties"]["name"].toString();
        city.region = (*g)["properties"]["region"].toString();
        movie->cities.push_back(std::move(city));
    }

    for (size_t a = 0; a < arcs.size(); ++a) {
        if (borderArcs[a] && arcs[a].size() >= 2)
            movie->borders.emplace_back(arcs[a].begin(), arcs[a].end());
    }

    const QString kindText = meta["kind"].toString();
    if (!kindText.isEmpty())
        movie->kind = MovieKindFromText(kindText);
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
    return movie;
}

namespace {

struct CacheEntry {
    QByteArray bytes;
    size_t hash = 0;
    std::shared_ptr<const MapMovie> movie;
};

struct MovieCache {
    // A handful of maps covers the preview, the capture player and a page switch back.
    static constexpr size_t kCapacity = 6;
    std::mutex mutex;
    std::list<CacheEntry> entries; // most recent first
};

MovieCache& Cache() {
    static MovieCache cache;
    return cache;
}

} // namespace

std::shared_ptr<const MapMovie> LoadMapMovie(const QString& path) {
    const QByteArray bytes = ReadWholeFile(path);
    const size_t hash = qHash(bytes);
    MovieCache& cache = Cache();
    {
        std::lock_guard lock(cache.mutex);
        for (auto it = cache.entries.begin(); it != cache.entries.end(); ++it) {
            if (it->hash == hash && it->bytes == bytes) {
                cache.entries.splice(cache.entries.begin(), cache.entries, it);
                return it->movie;
            }
        }
    }
    std::shared_ptr<const MapMovie> movie;
    try {
        movie = ParseMapMovie(bytes);
    } catch (const UserError& e) {
        throw UserError(QStringLiteral("Map file damaged: %1: %2")
                            .arg(QDir::toNativeSeparators(path), e.message()));
    }
    std::lock_guard lock(cache.mutex);
    cache.entries.push_front({bytes, hash, movie});
    if (cache.entries.size() > MovieCache::kCapacity) cache.entries.pop_back();
    return movie;
}

void ClearMovieCache() {
    std::lock_guard lock(Cache().mutex);
    Cache().entries.clear();
}

} // namespace tolvane
