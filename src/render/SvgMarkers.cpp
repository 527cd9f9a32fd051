#include "render/SvgMarkers.h"

#include <cctype>
#include <charconv>
#include <map>
#include <pugixml.hpp>
#include <string>
#include <vector>

namespace tolvane {

namespace {

class PathTokens {
public:
    explicit PathTokens(const std::string& d)
        : d_(d) {}
    void skip() {
        while (i_ < d_.size() &&
               (std::isspace(static_cast<unsigned char>(d_[i_])) || d_[i_] == ','))
            ++i_;
    }
    bool atNumber() {
        skip();
        if (i_ >= d_.size()) return false;
        const char c = d_[i_];
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
    }
    bool number(double& out) {
        if (!atNumber()) return false;
        size_t start = i_;
        if (d_[start] == '+') ++start;
        const auto [end, ec] = std::from_chars(d_.data() + start, d_.data() + d_.size(), out);
        if (ec != std::errc()) return false;
        i_ = static_cast<size_t>(end - d_.data());
        return true;
    }
    bool command(char& out) {
        skip();
        if (i_ >= d_.size() || !std::isalpha(static_cast<unsigned char>(d_[i_]))) return false;
        out = d_[i_++];
        return true;
    }
    bool done() {
        skip();
        return i_ >= d_.size();
    }

private:
    const std::string& d_;
    size_t i_ = 0;
};

// Numbers each command takes per segment, and where its end point is among them.
int ArgumentCount(char upper) {
    switch (upper) {
    case 'M':
    case 'L':
    case 'T':
        return 2;
    case 'H':
    case 'V':
        return 1;
    case 'S':
    case 'Q':
        return 4;
    case 'C':
        return 6;
    case 'A':
        return 7;
    default:
        return 0;
    }
}

} // namespace

QList<QPointF> PathDataVertices(const QString& data) {
    const std::string d = data.toStdString();
    PathTokens tokens(d);
    QList<QPointF> out;
    QPointF current, subpathStart;
    char cmd = 0;
    while (!tokens.done()) {
        char next = 0;
        if (tokens.command(next))
            cmd = next;
        else if (!cmd)
            break;
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(cmd)));
        const bool relative = cmd != upper;
        if (upper == 'Z') {
            current = subpathStart;
            out.push_back(current);
            continue;
        }
        const int n = ArgumentCount(upper);
        if (n == 0) break;
        bool first = true;
        while (tokens.atNumber()) {
            double a[7] = {};
            for (int k = 0; k < n; ++k)
                if (!tokens.number(a[k])) return out;
            QPointF p;
            if (upper == 'H')
                p = QPointF(relative ? current.x() + a[0] : a[0], current.y());
            else if (upper == 'V')
                p = QPointF(current.x(), relative ? current.y() + a[0] : a[0]);
            else
                p = relative ? current + QPointF(a[n - 2], a[n - 1]) : QPointF(a[n - 2], a[n - 1]);
            current = p;
            if (upper == 'M' && first) subpathStart = p;
            out.push_back(p);
            first = false;
        }
        // Pairs after a moveto are linetos.
        if (upper == 'M') cmd = relative ? 'l' : 'L';
    }
    return out;
}

namespace {

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

std::string MarkerId(const char* reference) {
    // url(#id)
    std::string r(reference);
    const size_t hash = r.find('#'), close = r.find(')');
    if (hash == std::string::npos || close == std::string::npos || close < hash) return {};
    return r.substr(hash + 1, close - hash - 1);
}

void CollectMarkers(pugi::xml_node node, std::map<std::string, pugi::xml_node>& markers) {
    for (pugi::xml_node child : node.children()) {
        if (std::string(child.name()) == "marker" && child.attribute("id"))
            markers[child.attribute("id").value()] = child;
        else
            CollectMarkers(child, markers);
    }
}

void PlaceMarkers(pugi::xml_node node, const std::map<std::string, pugi::xml_node>& markers) {
    std::vector<pugi::xml_node> children(node.children().begin(), node.children().end());
    for (pugi::xml_node child : children) {
        if (std::string(child.name()) == "marker") continue;
        PlaceMarkers(child, markers);
        const char* kinds[] = {"marker-start", "marker-mid", "marker-end"};
        const QList<QPointF> vertices =
            PathDataVertices(QString::fromUtf8(child.attribute("d").value()));
        pugi::xml_node after = child;
        for (int k = 0; k < 3; ++k) {
            const pugi::xml_attribute attr = child.attribute(kinds[k]);
            if (!attr) continue;
            const auto marker = markers.find(MarkerId(attr.value()));
            child.remove_attribute(attr);
            if (marker == markers.end() || vertices.isEmpty()) continue;
            const qsizetype first = k == 0 ? 0 : k == 1 ? 1 : vertices.size() - 1;
            const qsizetype last = k == 0 ? 0 : k == 1 ? vertices.size() - 2 : vertices.size() - 1;
            for (qsizetype v = first; v <= last; ++v) {
                pugi::xml_node group = node.insert_child_after("g", after);
                const std::string move = "translate(" + std::to_string(vertices[v].x()) + " " +
                                         std::to_string(vertices[v].y()) + ")";
                group.append_attribute("transform").set_value(move.c_str());
                for (pugi::xml_node part : marker->second.children())
                    group.append_copy(part);
                after = group;
            }
        }
    }
}

} // namespace

QByteArray ExpandSvgMarkers(const QByteArray& svg) {
    if (!svg.contains("<marker")) return svg;
    pugi::xml_document doc;
    if (!doc.load_buffer(svg.constData(), static_cast<size_t>(svg.size()))) return svg;
    std::map<std::string, pugi::xml_node> markers;
    CollectMarkers(doc, markers);
    PlaceMarkers(doc, markers);
    for (auto& [id, marker] : markers)
        marker.parent().remove_child(marker);
    ByteWriter writer;
    doc.save(writer, "", pugi::format_raw);
    return writer.bytes;
}

} // namespace tolvane
