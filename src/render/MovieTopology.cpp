#include "render/MovieTopology.h"

#include "render/JsonReader.h"

#include <atomic>
#include <future>
#include <memory>

namespace tolvane {

namespace {

using Geometry = MovieTopology::Geometry;

class TopologyReader {
public:
    TopologyReader(std::string_view text, MovieTopology& out)
        : json_(text)
        , out_(out) {
        // Room for a typical movie's parts at once: growing by copying costs a large map's
        // arrays twice over in memory first touched.
        out_.arcs.points.reserve(text.size() / 16);
        out_.arcIndices.reserve(text.size() / 32);
        out_.geometries.reserve(text.size() / 256);
    }

    // The "objects" member's value only, at `from`, one container deep.
    TopologyReader(std::string_view text, size_t from, MovieTopology& out,
                   const std::atomic<bool>* stop)
        : json_(text, from, 1)
        , out_(out)
        , stop_(stop) {
        out_.arcIndices.reserve(text.size() / 32);
        out_.geometries.reserve(text.size() / 256);
    }
    // Reads it; where it ends.
    size_t readObjectsOnly() {
        readObjects();
        return json_.offset();
    }

    void read() {
        if (json_.enterObject()) {
            for (std::string_view key; json_.nextKey(key);) {
                if (key == "type") {
                    std::string_view type;
                    out_.isTopology = json_.string(type) && type == "Topology";
                } else if (key == "transform") {
                    readTransform();
                } else if (key == "tolvane") {
                    readMeta();
                } else if (key == "arcs") {
                    readArcs();
                } else if (key == "objects") {
                    if (!takeAhead()) readObjects();
                } else {
                    json_.skip();
                }
            }
        } else {
            out_.isTopology = false;
        }
        json_.finish();
    }

    // A large movie's "objects" are read on another core while this one reads the arcs,
    // which come first; taken when this reader comes to the same place.
    void readAhead(std::string_view text) {
        constexpr size_t kLarge = 2 << 20;
        if (text.size() < kLarge) return;
        // Where the objects begin, if this is a member's key (unless it lies in a string,
        // which this reader then finds it does).
        constexpr std::string_view kKey = "\"objects\":{";
        const size_t at = text.find(kKey);
        if (at == std::string_view::npos) return;
        ahead_.from = at + kKey.size() - 1;
        ahead_.part = std::async(std::launch::async, [text, this] {
            auto part = std::make_unique<MovieTopology>();
            try {
                part->endOfObjects =
                    TopologyReader(text, ahead_.from, *part, &ahead_.stop).readObjectsOnly();
            } catch (const JsonError&) {
                part.reset(); // this reader finds the fault, or reads elsewhere
            }
            return part;
        });
    }
    ~TopologyReader() {
        if (ahead_.part.valid()) {
            ahead_.stop = true;
            ahead_.part.wait();
        }
    }

private:
    bool takeAhead() {
        if (!ahead_.part.valid()) return false;
        const bool here = json_.offsetOfNext() == ahead_.from && out_.geometries.empty();
        if (!here) ahead_.stop = true;
        std::unique_ptr<MovieTopology> part = ahead_.part.get();
        if (!here || !part) return false;
        out_.arcIndices = std::move(part->arcIndices);
        out_.rings = std::move(part->rings);
        out_.geometries = std::move(part->geometries);
        out_.children = std::move(part->children);
        out_.regions = std::move(part->regions);
        out_.context = std::move(part->context);
        out_.cities = std::move(part->cities);
        out_.escaped.splice(out_.escaped.end(), part->escaped);
        json_.skipTo(part->endOfObjects);
        return true;
    }

    // A string that lives as long as the text.
    std::string_view keep(std::string_view s) {
        return json_.inText(s) ? s : out_.escaped.emplace_back(s);
    }
    std::string_view text() {
        std::string_view s;
        return json_.string(s) ? keep(s) : std::string_view();
    }

    // The first `n` items of an array, NaN where they are no numbers; how many items it has.
    size_t numbers(double* values, size_t n) {
        double x = 0, y = 0;
        if (n >= 2 && json_.integerPair(x, y)) {
            values[0] = x;
            values[1] = y;
            return 2;
        }
        scratch_.clear();
        if (json_.integers(scratch_)) {
            for (size_t i = 0; i < n && i < scratch_.size(); ++i)
                values[i] = scratch_[i];
            return scratch_.size();
        }
        size_t count = 0;
        if (!json_.enterArray()) return 0;
        while (json_.next()) {
            double v = NAN;
            if (count < n) {
                if (json_.number(v)) values[count] = v;
            } else {
                json_.skip();
            }
            ++count;
        }
        return count;
    }

    void readTransform() {
        if (!json_.enterObject()) return;
        for (std::string_view key; json_.nextKey(key);) {
            if (key == "scale")
                out_.scaleCount = numbers(out_.scale, 2);
            else if (key == "translate")
                out_.translateCount = numbers(out_.translate, 2);
            else
                json_.skip();
        }
    }

    void readMeta() {
        if (!json_.enterObject()) return;
        for (std::string_view key; json_.nextKey(key);) {
            if (key == "title")
                out_.title = text();
            else if (key == "attribution")
                out_.attribution = text();
            else if (key == "style")
                out_.style = text();
            else if (key == "kind")
                out_.kind = text();
            else if (key == "viewBox")
                numbers(out_.viewBox, 4);
            else
                json_.skip();
        }
    }

    // [[[x, y], [x, y], ...], ...]: anything else is no movie.
    void readArcs() {
        PointRuns& arcs = out_.arcs;
        if (!json_.enterArray()) return;
        while (json_.next()) {
            if (!json_.enterArray()) json_.fail("expected '['");
            while (json_.next()) {
                double x = 0, y = 0;
                json_.position(x, y);
                arcs.points.emplace_back(x, y);
            }
            if (arcs.points.size() >= UINT32_MAX) json_.fail("too large");
            arcs.endRun();
        }
    }

    void readObjects() {
        if (!json_.enterObject()) return;
        for (std::string_view key; json_.nextKey(key);) {
            if (stop_ && *stop_) json_.fail("not needed");
            std::vector<uint32_t>* list = nullptr;
            if (key == "regions") {
                list = &out_.regions;
                keyName_ = "key";
            } else if (key == "context") {
                list = &out_.context;
                keyName_ = "kind";
            } else if (key == "cities") {
                list = &out_.cities;
                keyName_ = "region";
            }
            const uint32_t object = list ? readGeometry(-1) : kNone;
            if (!list) json_.skip();
            if (object == kNone) continue;
            // A collection lists the geometries; anything else is one.
            const Geometry& g = out_.geometries[object];
            if (g.type == Geometry::Type::Collection)
                list->assign(out_.children.begin() + g.firstChild,
                             out_.children.begin() + g.firstChild + g.childCount);
            else
                list->assign(1, object);
        }
    }

    static constexpr uint32_t kNone = UINT32_MAX;

    // A geometry object and the parts of a collection down to the fifth level (the objects'
    // own, level -1, lists those of level 0); kNone for anything but an object.
    uint32_t readGeometry(int level) {
        if (!json_.enterObject()) return kNone;
        Geometry g;
        std::vector<uint32_t> parts;
        for (std::string_view key; json_.nextKey(key);) {
            if (key == "type") {
                std::string_view type;
                json_.string(type);
                g.type = type == "Polygon"              ? Geometry::Type::Polygon
                         : type == "MultiPolygon"       ? Geometry::Type::MultiPolygon
                         : type == "GeometryCollection" ? Geometry::Type::Collection
                                                        : Geometry::Type::Other;
            } else if (key == "arcs") {
                g.firstRing = static_cast<uint32_t>(out_.rings.size());
                readRings();
                g.endRing = static_cast<uint32_t>(out_.rings.size());
            } else if (key == "properties") {
                readProperties(g);
            } else if (key == "coordinates" && keyName_ == "region") {
                readCoordinates(g);
            } else if (key == "geometries" && level < 4 && json_.enterArray()) {
                while (json_.next()) {
                    if (stop_ && *stop_) json_.fail("not needed");
                    const uint32_t part = readGeometry(level + 1);
                    if (part != kNone) parts.push_back(part);
                }
            } else {
                json_.skip();
            }
        }
        g.firstChild = static_cast<uint32_t>(out_.children.size());
        g.childCount = static_cast<uint32_t>(parts.size());
        out_.children.insert(out_.children.end(), parts.begin(), parts.end());
        if (out_.geometries.size() >= kNone) json_.fail("too large");
        out_.geometries.push_back(g);
        return static_cast<uint32_t>(out_.geometries.size() - 1);
    }

    // A geometry's "arcs": the rings of a Polygon ([[i, ...], ...]) and of a MultiPolygon
    // ([[[i, ...], ...], ...]) alike, as which it is may only be said later.
    void readRings() {
        if (!json_.enterArray()) return;
        while (json_.next()) {
            MovieTopology::Ring outer = start(1);
            if (json_.integers(out_.arcIndices)) {
                end(outer);
                continue;
            }
            if (!json_.enterArray()) continue;
            while (json_.next()) {
                MovieTopology::Ring inner = start(2);
                if (json_.integers(out_.arcIndices)) {
                    outer.valid = false;
                    end(inner);
                } else if (json_.peek() == JsonReader::Kind::Array) {
                    outer.valid = false;
                    inner.valid = false; // some item is no integer
                    json_.skip();
                    end(inner);
                } else {
                    index(outer);
                }
            }
            end(outer);
        }
    }

    MovieTopology::Ring start(uint8_t depth) {
        MovieTopology::Ring ring;
        ring.first = static_cast<uint32_t>(out_.arcIndices.size());
        ring.depth = depth;
        return ring;
    }
    void index(MovieTopology::Ring& ring) {
        int32_t i = 0;
        if (json_.integer(i))
            out_.arcIndices.push_back(i);
        else
            ring.valid = false;
    }
    void end(MovieTopology::Ring& ring) {
        if (out_.arcIndices.size() >= UINT32_MAX || out_.rings.size() >= UINT32_MAX)
            json_.fail("too large");
        ring.count = static_cast<uint32_t>(out_.arcIndices.size() - ring.first);
        out_.rings.push_back(ring);
    }

    void readProperties(Geometry& g) {
        if (!json_.enterObject()) return;
        for (std::string_view key; json_.nextKey(key);) {
            if (key == "name")
                g.name = text();
            else if (key == keyName_)
                g.key = text();
            else if (key == "label" && keyName_ != "region")
                numbers(g.point, 2);
            else
                json_.skip();
        }
    }

    // [x, y], or a MultiPoint's [[x, y], ...], whose first point counts.
    void readCoordinates(Geometry& g) {
        if (!json_.enterArray()) return;
        for (size_t i = 0; json_.next(); ++i) {
            if (i == 0 && json_.peek() == JsonReader::Kind::Array) {
                numbers(g.point, 2);
                while (json_.next())
                    json_.skip();
                return;
            }
            double v = NAN;
            if (i < 2 && json_.number(v))
                g.point[i] = v;
            else if (i >= 2)
                json_.skip();
        }
    }

    JsonReader json_;
    MovieTopology& out_;
    std::string_view keyName_; // the property the list being read takes for its key
    std::vector<int32_t> scratch_;
    const std::atomic<bool>* stop_ = nullptr; // reading ahead: no longer needed
    struct {
        size_t from = 0;
        std::atomic<bool> stop = false;
        std::future<std::unique_ptr<MovieTopology>> part;
    } ahead_;
};

} // namespace

MovieTopology ReadMovieTopology(std::string_view text) {
    MovieTopology topology;
    TopologyReader reader(text, topology);
    reader.readAhead(text);
    reader.read();
    return topology;
}

} // namespace tolvane
