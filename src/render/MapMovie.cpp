#include "render/MapMovie.h"

#include "model/UserError.h"
#include "platform/DecodedFiles.h"
#include "render/Json.h"

#include <QDir>
#include <QHash>
#include <QPainterPath>
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
    const JsonValue scale = t["scale"];
    const JsonValue translate = t["translate"];
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

// The arcs in the plane, one run each.
PointRuns DecodeArcs(const JsonArcs& arcs, const Transform& t) {
    PointRuns out;
    out.points.reserve(arcs.xy.size() / 2);
    out.starts.reserve(arcs.starts.size());
    for (size_t a = 0; a < arcs.count(); ++a) {
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
                out.points.push_back(t.apply(x, y));
            } else {
                out.points.emplace_back(px, py);
            }
        }
        out.endRun();
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

// Builds the rings of shapes from their arc lists into the movie's ring store.
class ShapeBuilder {
public:
    ShapeBuilder(const PointRuns& arcs, std::vector<bool>* usedArcs, PointRuns& rings,
                 PointBudget& budget)
        : arcs_(arcs)
        , used_(usedArcs)
        , rings_(rings)
        , budget_(budget) {}

    // One ring: arc indices, ~i meaning arc i walked backwards.
    void addRing(const JsonValue& ring) {
        const size_t begin = rings_.points.size();
        std::vector<QPointF>& points = rings_.points;
        const auto drop = [&] { points.resize(begin); };
        const std::span<const int32_t> indices = ring.ints();
        if (indices.size() != ring.size()) return drop(); // not all integers
        for (const int32_t index : indices) {
            const bool reversed = index < 0;
            const auto arcIndex = static_cast<size_t>(reversed ? ~index : index);
            if (arcIndex >= arcs_.size())
                return drop(); // refers to an arc the file does not have: skip the ring
            if (used_) (*used_)[arcIndex] = true;
            const std::span<const QPointF> arc = arcs_[arcIndex];
            if (arc.empty()) continue;
            budget_.spend(arc.size());
            // Consecutive arcs share their joining point; keep it once.
            const size_t skip = points.size() == begin ? 0 : 1;
            if (reversed)
                points.insert(points.end(), arc.rbegin() + static_cast<ptrdiff_t>(skip),
                              arc.rend());
            else
                points.insert(points.end(), arc.begin() + static_cast<ptrdiff_t>(skip), arc.end());
        }
        if (points.size() - begin < 3) return drop();
        rings_.endRun();
    }

    void addPolygon(const JsonValue& rings) {
        for (size_t r = 0; r < rings.size(); ++r)
            addRing(rings.at(r));
    }

    void addGeometry(const JsonValue& geometry, int depth = 0) {
        const std::string_view type = geometry["type"].stringView();
        const JsonValue arcs = geometry["arcs"];
        if (type == "Polygon") {
            addPolygon(arcs);
        } else if (type == "MultiPolygon") {
            for (size_t p = 0; p < arcs.size(); ++p)
                addPolygon(arcs.at(p));
        } else if (type == "GeometryCollection" && depth < 4) {
            const JsonValue parts = geometry["geometries"];
            for (size_t i = 0; i < parts.size(); ++i)
                addGeometry(parts.at(i), depth + 1);
        }
    }

    uint32_t ringCount() const { return static_cast<uint32_t>(rings_.size()); }

private:
    const PointRuns& arcs_;
    std::vector<bool>* used_;
    PointRuns& rings_;
    PointBudget& budget_;
};

double TwiceArea(std::span<const QPointF> ring) {
    double area = 0;
    for (size_t i = 0, n = ring.size(); i < n; ++i) {
        const QPointF& a = ring[i];
        const QPointF& b = ring[(i + 1) % n];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area;
}

QRectF BoundsOf(std::span<const QPointF> points) {
    if (points.empty()) return {};
    double x0 = points[0].x(), x1 = x0, y0 = points[0].y(), y1 = y0;
    for (const QPointF& p : points) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

// A point inside the shape for its name when the movie gives none: the middle of the
// widest inside span of a horizontal line through the middle of its largest part.
QPointF InteriorPoint(const MapMovie& movie, const MovieShape& shape) {
    std::span<const QPointF> largest;
    double largestArea = -1;
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> ring = movie.ring(shape, k);
        const double area = std::fabs(TwiceArea(ring));
        if (area > largestArea) {
            largestArea = area;
            largest = ring;
        }
    }
    if (largest.empty()) return shape.bounds.center();
    const QRectF box = BoundsOf(largest);
    const double y = box.center().y();
    std::vector<double> xs;
    for (uint32_t k = 0; k < shape.ringCount; ++k) {
        const std::span<const QPointF> ring = movie.ring(shape, k);
        for (size_t i = 0, n = ring.size(); i < n; ++i) {
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

std::vector<JsonValue> GeometriesOf(const JsonValue& object) {
    std::vector<JsonValue> out;
    if (!object.isObject()) return out;
    if (object["type"].stringView() == "GeometryCollection") {
        const JsonValue list = object["geometries"];
        out.reserve(list.size());
        for (size_t i = 0; i < list.size(); ++i)
            if (list.at(i).isObject()) out.push_back(list.at(i));
    } else {
        out.push_back(object);
    }
    return out;
}

MovieShape BuildShape(const MapMovie& movie, ShapeBuilder& builder, const JsonValue& geometry) {
    MovieShape shape;
    shape.firstRing = builder.ringCount();
    builder.addGeometry(geometry);
    shape.ringCount = builder.ringCount() - shape.firstRing;
    shape.hasArea = shape.ringCount > 0;
    if (shape.hasArea) {
        const size_t begin = movie.rings.starts[shape.firstRing];
        const size_t end = movie.rings.starts[shape.firstRing + shape.ringCount];
        shape.bounds =
            BoundsOf(std::span<const QPointF>(movie.rings.points).subspan(begin, end - begin));
    }
    const JsonValue props = geometry["properties"];
    shape.name = props["name"].toString();
    const JsonValue label = props["label"];
    const double lx = label.numberAt(0, NAN), ly = label.numberAt(1, NAN);
    if (std::isfinite(lx) && std::isfinite(ly))
        shape.label = QPointF(lx, ly);
    else if (shape.hasArea)
        shape.label = InteriorPoint(movie, shape);
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
    JsonDocument doc;
    JsonArcs arcList;
    try {
        doc = ParseJson(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                        &arcList);
    } catch (const JsonError& e) {
        throw UserError(QStringLiteral("not a map movie (%1 at byte %2)")
                            .arg(QString::fromUtf8(e.what()))
                            .arg(e.offset()));
    }
    if (!doc.isObject() || doc["type"].stringView() != "Topology")
        throw UserError(QStringLiteral("not a map movie (no topology)"));

    auto movie = std::make_shared<MapMovie>();
    const JsonValue meta = doc["tolvane"];
    const JsonValue objects = doc["objects"];
    movie->title = meta["title"].toString();
    movie->attribution = meta["attribution"].toString();
    movie->style = meta["style"].toString();
    movie->viewBox = ReadViewBox(meta["viewBox"]);

    const Transform transform = ReadTransform(doc["transform"]);
    PointRuns arcs = DecodeArcs(arcList, transform);
    arcList = {};
    std::vector<bool> borderArcs(arcs.size(), false);
    PointBudget budget(arcs.points.size());

    ShapeBuilder regionBuilder(arcs, &borderArcs, movie->rings, budget);
    const std::vector<JsonValue> regions = GeometriesOf(objects["regions"]);
    movie->regions.reserve(regions.size());
    for (const JsonValue& g : regions) {
        MovieShape shape = BuildShape(*movie, regionBuilder, g);
        shape.key = g["properties"]["key"].toString();
        movie->regions.push_back(std::move(shape));
    }
    ShapeBuilder contextBuilder(arcs, nullptr, movie->rings, budget);
    for (const JsonValue& g : GeometriesOf(objects["context"])) {
        MovieShape shape = BuildShape(*movie, contextBuilder, g);
        shape.key = g["properties"]["kind"].toString();
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
    for (const JsonValue& g : GeometriesOf(objects["cities"])) {
        const JsonValue coords = g["coordinates"];
        // A MultiPoint city is drawn at its first point.
        const JsonValue point = coords.size() > 0 && coords.at(0).isArray() ? coords.at(0) : coords;
        const double x = point.numberAt(0, NAN), y = point.numberAt(1, NAN);
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        MovieCity city;
        city.position = transform.quantized ? transform.apply(x, y) : QPointF(x, y);
        const JsonValue props = g["properties"];
        city.name = props["name"].toString();
        city.region = props["region"].toString();
        movie->cities.push_back(std::move(city));
    }

    // The arcs the regions use are their borders: kept in place, the others dropped.
    for (size_t a = 0; a < arcs.size(); ++a) {
        const std::span<const QPointF> arc = arcs[a];
        if (!borderArcs[a] || arc.size() < 2) continue;
        movie->borders.points.insert(movie->borders.points.end(), arc.begin(), arc.end());
        movie->borders.endRun();
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
    const auto regionIndex = [&](auto field) {
        return NameIndex(static_cast<int>(movie->regions.size()), [&](int i) -> const QString& {
            return movie->regions[static_cast<size_t>(i)].*field;
        });
    };
    movie->regionKeys = regionIndex(&MovieShape::key);
    movie->regionNames = regionIndex(&MovieShape::name);
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
