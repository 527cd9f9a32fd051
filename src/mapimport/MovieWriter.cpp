#include "mapimport/MovieWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace tolvane::mapimport {

namespace {

constexpr int kQuantization = 100000;

class JsonOut {
public:
    std::string text;

    JsonOut& raw(std::string_view s) {
        text.append(s);
        return *this;
    }
    JsonOut& integer(int64_t v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        text.append(buf, r.ptr);
        return *this;
    }
    // The shortest text that reads back as the same double.
    JsonOut& number(double v) {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v == 0 ? 0.0 : v);
        text.append(buf, r.ptr);
        return *this;
    }
    JsonOut& string(const QString& s) {
        const QByteArray utf8 = s.toUtf8();
        text.push_back('"');
        for (const char c : utf8) {
            if (c == '"' || c == '\\') {
                text.push_back('\\');
                text.push_back(c);
            } else if (static_cast<unsigned char>(c) < 0x20) {
                static const char* hex = "0123456789abcdef";
                text.append("\\u00");
                text.push_back(hex[(c >> 4) & 0xF]);
                text.push_back(hex[c & 0xF]);
            } else {
                text.push_back(c);
            }
        }
        text.push_back('"');
        return *this;
    }
    QByteArray bytes() const {
        return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    }
};

// Plane coordinates to a tenth of a grid step: finer is invisible, and only longer.
class PlaneNumbers {
public:
    explicit PlaneNumbers(double gridStep)
        : decimals_(std::max(
              0, 1 - static_cast<int>(std::floor(std::log10(gridStep > 0 ? gridStep : 1))))) {}
    void write(JsonOut& out, double v) const {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals_);
        std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
        if (text.find('.') != std::string_view::npos) {
            while (text.back() == '0')
                text.remove_suffix(1);
            if (text.back() == '.') text.remove_suffix(1);
        }
        out.raw(text == "-0" ? std::string_view("0") : text);
    }

private:
    int decimals_;
};

void Header(JsonOut& out, const char* kind, const MovieHeader& h, double scale, QPointF translate,
            const PlaneNumbers& round) {
    out.raw(R"({"type":"Topology","transform":{"scale":[)")
        .number(scale)
        .raw(",")
        .number(scale)
        .raw(R"(],"translate":[)")
        .number(translate.x())
        .raw(",")
        .number(translate.y())
        .raw(R"(]},"tolvane":{"kind":")")
        .raw(kind)
        .raw(R"(","title":)")
        .string(h.title)
        .raw(R"(,"attribution":)")
        .string(h.attribution)
        .raw(R"(,"viewBox":[)");
    round.write(out, h.viewBox.left());
    out.raw(",");
    round.write(out, h.viewBox.top());
    out.raw(",");
    round.write(out, h.viewBox.right());
    out.raw(",");
    round.write(out, h.viewBox.bottom());
    out.raw("]}");
}

void RingList(JsonOut& out, const Topology& topo, uint32_t polygon) {
    out.raw("[");
    for (uint32_t r = topo.polygonStart[polygon]; r < topo.polygonStart[polygon + 1]; ++r) {
        out.raw(r == topo.polygonStart[polygon] ? "[" : ",[");
        for (uint32_t k = topo.ringStart[r]; k < topo.ringStart[r + 1]; ++k) {
            if (k > topo.ringStart[r]) out.raw(",");
            out.integer(topo.ringArcs[k]);
        }
        out.raw("]");
    }
    out.raw("]");
}

} // namespace

QRectF ViewBoxAround(const QRectF& bounds) {
    double side = std::max(bounds.width(), bounds.height());
    if (!(side > 0)) side = 1000; // one point: a square around it
    const double margin = side * 0.02;
    QRectF box = bounds.adjusted(-margin, -margin, margin, margin);
    // A row of points along one line still needs height to be drawn.
    if (box.width() < side / 10) box.adjust(-side / 20, 0, side / 20, 0);
    if (box.height() < side / 10) box.adjust(0, -side / 20, 0, side / 20);
    return box;
}

QByteArray WriteRegionMovie(const Topology& topo, const MovieHeader& header,
                            const std::vector<QString>& names,
                            const std::vector<QString>& shortNames,
                            const std::vector<QPointF>& labels,
                            const std::vector<uint32_t>& order) {
    JsonOut out;
    out.text.reserve(topo.arcPoints.size() * 10 + names.size() * 64 + 1024);
    const PlaneNumbers round(topo.scale);
    Header(out, "region", header, topo.scale, topo.translate, round);
    out.raw(R"(,"arcs":[)");
    for (size_t a = 0; a < topo.arcCount(); ++a) {
        out.raw(a ? ",[" : "[");
        QPoint previous(0, 0);
        for (uint32_t i = topo.arcStart[a]; i < topo.arcStart[a + 1]; ++i) {
            const QPoint p = topo.arcPoints[i];
            out.raw(i > topo.arcStart[a] ? ",[" : "[")
                .integer(p.x() - previous.x())
                .raw(",")
                .integer(p.y() - previous.y())
                .raw("]");
            previous = p;
        }
        out.raw("]");
    }
    out.raw(R"(],"objects":{"regions":{"type":"GeometryCollection","geometries":[)");
    bool first = true;
    for (const uint32_t f : order) {
        out.raw(first ? "{" : ",{");
        first = false;
        const uint32_t p0 = topo.featureStart[f], p1 = topo.featureStart[f + 1];
        if (p1 == p0) {
            out.raw(R"("type":null)");
        } else if (p1 - p0 == 1) {
            out.raw(R"("type":"Polygon","arcs":)");
            RingList(out, topo, p0);
        } else {
            out.raw(R"("type":"MultiPolygon","arcs":[)");
            for (uint32_t p = p0; p < p1; ++p) {
                if (p > p0) out.raw(",");
                RingList(out, topo, p);
            }
            out.raw("]");
        }
        out.raw(R"(,"properties":{"key":)")
            .string(shortNames[f])
            .raw(R"(,"name":)")
            .string(names[f])
            .raw(R"(,"label":[)");
        round.write(out, labels[f].x());
        out.raw(",");
        round.write(out, labels[f].y());
        out.raw("]}}");
    }
    out.raw("]}}}");
    return out.bytes();
}

QByteArray WriteCityMovie(const std::vector<QPointF>& sites, const MovieHeader& header,
                          const std::vector<QString>& names, const std::vector<QString>& regions,
                          const std::vector<uint32_t>& order) {
    const QRectF bounds = BoundsOf(sites.data(), sites.size());
    const double scale = GridStep(bounds, kQuantization);
    const double x0 = bounds.left(), y0 = bounds.top();
    JsonOut out;
    Header(out, "city", header, scale, QPointF(x0, y0), PlaneNumbers(scale));
    out.raw(R"(,"arcs":[],"objects":{"cities":{"type":"GeometryCollection","geometries":[)");
    bool first = true;
    for (const uint32_t i : order) {
        out.raw(first ? R"({"type":"Point","coordinates":[)"
                      : R"(,{"type":"Point","coordinates":[)");
        first = false;
        out.integer(std::lround((sites[i].x() - x0) / scale))
            .raw(",")
            .integer(std::lround((sites[i].y() - y0) / scale))
            .raw(R"(],"properties":{"name":)")
            .string(names[i])
            .raw(R"(,"region":)")
            .string(regions[i])
            .raw("}}");
    }
    out.raw("]}}}");
    return out.bytes();
}

} // namespace tolvane::mapimport
