#include "mapimport/MapImport.h"

#include "charts/ChartFile.h"
#include "mapimport/DefaultChart.h"
#include "mapimport/FieldSuggest.h"
#include "mapimport/LabelPoint.h"
#include "mapimport/MovieWriter.h"
#include "mapimport/Projection.h"
#include "mapimport/Simplify.h"
#include "mapimport/Topology.h"
#include "mapimport/UniqueNames.h"
#include "platform/XmlDocument.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <unistd.h>

namespace tolvane::mapimport {

namespace {

constexpr int kQuantization = 100000;
// Borders keep detail down to half a pixel of a 2000 x 1400 picture of the whole map.
constexpr double kPictureWidth = 2000, kPictureHeight = 1400, kDetailPixels = 0.5;

QString Attribution(const OgrSource& source, const ImportChoices& c) {
    if (!c.attribution.trimmed().isEmpty()) return c.attribution.simplified();
    QString name = c.sourceName.trimmed();
    if (name.isEmpty()) name = source.metadataSource();
    if (name.isEmpty()) name = QFileInfo(source.path()).fileName();
    QString licence = c.licence.trimmed();
    if (licence.isEmpty()) licence = source.metadataLicence();
    const auto sentence = [](QString text) {
        text = text.simplified();
        return text.endsWith(u'.') ? text : text + u'.';
    };
    QString line = sentence(QStringLiteral("Source: ") + name);
    if (!licence.isEmpty()) line += u' ' + sentence(QStringLiteral("Licence: ") + licence);
    return line;
}

// Features with a point PROJ could not project are left out whole.
void DropUnprojected(LayerData& layer) {
    const auto bad = [](const QPointF& p) { return std::isnan(p.x()); };
    if (layer.kind == GeometryKind::Points) {
        size_t kept = 0;
        for (size_t i = 0; i < layer.sites.size(); ++i) {
            if (bad(layer.sites[i])) {
                layer.leftOut << QStringLiteral("%1: cannot be projected").arg(layer.names[i]);
                continue;
            }
            layer.sites[kept] = layer.sites[i];
            layer.names[kept] = layer.names[i];
            layer.shortNames[kept] = layer.shortNames[i];
            ++kept;
        }
        layer.sites.resize(kept);
        layer.names.resize(kept);
        layer.shortNames.resize(kept);
        return;
    }
    const Shapes& in = layer.shapes;
    if (std::none_of(in.points.begin(), in.points.end(), bad)) return;
    Shapes out;
    std::vector<QString> names, shortNames;
    for (size_t f = 0; f < in.featureCount(); ++f) {
        const uint32_t r0 = in.polygonStart[in.featureStart[f]];
        const uint32_t r1 = in.polygonStart[in.featureStart[f + 1]];
        if (std::any_of(in.points.begin() + in.ringStart[r0], in.points.begin() + in.ringStart[r1],
                        bad)) {
            layer.leftOut << QStringLiteral("%1: cannot be projected").arg(layer.names[f]);
            continue;
        }
        for (uint32_t p = in.featureStart[f]; p < in.featureStart[f + 1]; ++p) {
            for (uint32_t r = in.polygonStart[p]; r < in.polygonStart[p + 1]; ++r) {
                out.points.insert(out.points.end(), in.points.begin() + in.ringStart[r],
                                  in.points.begin() + in.ringStart[r + 1]);
                out.endRing();
            }
            out.endPolygon();
        }
        out.endFeature();
        names.push_back(std::move(layer.names[f]));
        shortNames.push_back(std::move(layer.shortNames[f]));
    }
    layer.shapes = std::move(out);
    layer.names = std::move(names);
    layer.shortNames = std::move(shortNames);
}

// Regions in the order of the lists: by name, as a reader looks for them.
std::vector<uint32_t> ByName(const std::vector<QString>& names) {
    std::vector<uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = names[a].compare(names[b], Qt::CaseInsensitive);
        return c != 0 ? c < 0 : names[a] < names[b];
    });
    return order;
}

std::vector<Ring> PolygonRings(const Topology& topo, uint32_t polygon, std::vector<QPoint>& buf) {
    std::vector<Ring> rings;
    for (uint32_t r = topo.polygonStart[polygon]; r < topo.polygonStart[polygon + 1]; ++r) {
        topo.ringPoints(r, buf);
        rings.emplace_back(buf.begin(), buf.end());
    }
    return rings;
}

double PolygonArea(const std::vector<Ring>& rings) {
    double area = 0;
    for (size_t i = 0; i < rings.size(); ++i) {
        const double a = std::abs(TwiceArea(rings[i].data(), rings[i].size()));
        area += i == 0 ? a : -a;
    }
    return area;
}

// A label point inside each region's largest part, in the plane. A region without a
// shape gets the middle of its source points.
std::vector<QPointF> PlaceLabels(const Topology& topo, const Shapes& plane, double precision,
                                 const Progress& progress) {
    const QString step = QStringLiteral("Placing names");
    std::vector<QPointF> labels(topo.featureCount());
    std::vector<QPoint> buf;
    for (size_t f = 0; f < topo.featureCount(); ++f) {
        if (f % 4096 == 0) Report(progress, step, static_cast<int64_t>(f), topo.featureCount());
        std::vector<Ring> all, largest;
        double largestArea = -1;
        for (uint32_t p = topo.featureStart[f]; p < topo.featureStart[f + 1]; ++p) {
            std::vector<Ring> rings = PolygonRings(topo, p, buf);
            const double area = PolygonArea(rings);
            if (area > largestArea) {
                largestArea = area;
                largest = rings;
            }
            all.insert(all.end(), rings.begin(), rings.end());
        }
        if (largest.empty()) {
            const uint32_t r0 = plane.polygonStart[plane.featureStart[f]];
            const uint32_t r1 = plane.polygonStart[plane.featureStart[f + 1]];
            QPointF sum;
            for (uint32_t i = plane.ringStart[r0]; i < plane.ringStart[r1]; ++i)
                sum += plane.points[i];
            const auto n = plane.ringStart[r1] - plane.ringStart[r0];
            labels[f] = n ? sum / n : QPointF();
            continue;
        }
        QPointF label = LabelPoint(largest, precision);
        // Another part may overlap the largest (a badly drawn source): the point must be
        // inside what is drawn, so try the whole region too.
        if (!InsideRings(all, label)) label = LabelPoint(all, precision);
        labels[f] = topo.toPlane(label);
    }
    return labels;
}

ConvertedMap ConvertRegions(LayerData& layer, const ImportPlan& plan, const Progress& progress) {
    ConvertedMap out;
    out.kind = AddedMapKind::Region;
    MakeRegionNamesUnique(layer.names, layer.shortNames, out.renamed);

    Topology topo = BuildTopology(layer.shapes, kQuantization, progress);
    const double pixel =
        std::max(topo.bounds.width() / kPictureWidth, topo.bounds.height() / kPictureHeight) /
        topo.scale;
    SimplifyTopology(topo, kDetailPixels * pixel, progress);
    out.arcPoints = topo.arcPoints.size();
    const std::vector<QPointF> labels =
        PlaceLabels(topo, layer.shapes, std::max(1.0, pixel / 2), progress);
    for (size_t f = 0; f < topo.featureCount(); ++f)
        if (topo.featureStart[f] == topo.featureStart[f + 1]) out.tooSmall << layer.names[f];

    Report(progress, QStringLiteral("Writing the map"), 0, 0);
    const std::vector<uint32_t> order = ByName(layer.names);
    out.movie = WriteRegionMovie(topo, {plan.title, plan.attribution, ViewBoxAround(topo.bounds)},
                                 layer.names, layer.shortNames, labels, order);
    const std::vector<int32_t> colours = ColourRegions(Neighbours(topo));
    out.chart = BuildChartFile(ChartKind::Region,
                               DefaultRegionChart(layer.names, layer.shortNames, colours, order))
                    .toBytes();
    out.entries = order.size();
    return out;
}

ConvertedMap ConvertCities(LayerData& layer, const ImportPlan& plan, const Progress& progress) {
    ConvertedMap out;
    out.kind = AddedMapKind::City;
    MakeCityNamesUnique(layer.names, layer.shortNames, out.renamed);
    Report(progress, QStringLiteral("Writing the map"), 0, 0);
    const std::vector<uint32_t> order = ByName(layer.names);
    const QRectF bounds = BoundsOf(layer.sites.data(), layer.sites.size());
    out.movie = WriteCityMovie(layer.sites, {plan.title, plan.attribution, ViewBoxAround(bounds)},
                               layer.names, layer.shortNames, order);
    out.chart =
        BuildChartFile(ChartKind::City, DefaultCityChart(layer.names, layer.shortNames, order))
            .toBytes();
    out.entries = order.size();
    return out;
}

} // namespace

const LayerInfo& DefaultLayer(const OgrSource& source) {
    for (const GeometryKind kind :
         {GeometryKind::Polygons, GeometryKind::Unknown, GeometryKind::Points})
        for (const LayerInfo& l : source.layers())
            if (l.kind == kind) return l;
    return source.layers().front();
}

size_t FreeMemory() {
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : meminfo.readAll().split('\n')) {
            if (!line.startsWith("MemAvailable:")) continue;
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2) return static_cast<size_t>(parts[1].toULongLong()) * 1024;
        }
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    return pages > 0 && size > 0 ? static_cast<size_t>(pages) * static_cast<size_t>(size)
                                 : size_t(1) << 30;
}

ImportPlan PlanImport(OgrSource& source, const ImportChoices& c, const Progress& progress) {
    const LayerInfo& layer = c.layer.isEmpty() ? DefaultLayer(source) : source.layer(c.layer);
    ImportPlan plan;
    plan.layer = layer.name;
    plan.kind = layer.kind == GeometryKind::Points ? GeometryKind::Points : GeometryKind::Polygons;
    plan.features = layer.featureCount;
    plan.nameField = c.nameField;
    plan.shortField = c.shortField.value_or(QString());
    if (c.nameField.isEmpty() || !c.shortField) {
        const FieldSuggestion s = SuggestFields(source.summarizeFields(layer.name, progress),
                                                layer.featureCount, plan.kind);
        if (plan.nameField.isEmpty()) plan.nameField = s.nameField;
        if (!c.shortField)
            plan.shortField = s.shortField == plan.nameField ? QString() : s.shortField;
    }
    if (plan.nameField.isEmpty()) {
        QStringList names;
        for (const FieldInfo& f : layer.fields)
            names << f.name;
        throw UserError(QStringLiteral("The layer “%1” has no field that could name its %2 (%3).")
                            .arg(layer.name,
                                 plan.kind == GeometryKind::Points ? QStringLiteral("cities")
                                                                   : QStringLiteral("regions"),
                                 names.isEmpty() ? QStringLiteral("it has no fields")
                                                 : QStringLiteral("its fields: %1 are empty")
                                                       .arg(names.join(QStringLiteral(", ")))));
    }
    plan.projection =
        c.projection.trimmed().isEmpty() ? ProposeProjection(layer.extent) : c.projection.trimmed();
    plan.title = c.title.simplified().isEmpty() ? layer.name : c.title.simplified();
    plan.attribution = Attribution(source, c);
    return plan;
}

ConvertedMap ConvertMap(OgrSource& source, const ImportPlan& plan, size_t memoryBudget,
                        const Progress& progress) {
    try {
        ReadRequest request{plan.layer, plan.nameField, plan.shortField,
                            memoryBudget ? memoryBudget : FreeMemory()};
        LayerData layer = source.read(request, progress);
        const bool cities = layer.kind == GeometryKind::Points;
        if (layer.names.empty())
            throw UserError(QStringLiteral("The layer “%1” has no %2 that can be charted%3")
                                .arg(plan.layer,
                                     cities ? QStringLiteral("points") : QStringLiteral("polygons"),
                                     layer.leftOut.isEmpty()
                                         ? QStringLiteral(".")
                                         : QStringLiteral(": ") +
                                               layer.leftOut.mid(0, 5).join(QStringLiteral("; "))));
        Report(progress, QStringLiteral("Projecting"), 0, 0);
        ProjectInPlace(cities ? layer.sites : layer.shapes.points, layer.crsWkt, plan.projection);
        DropUnprojected(layer);
        if (layer.names.empty())
            throw UserError(
                QStringLiteral("No feature of the layer “%1” can be projected with “%2”.")
                    .arg(plan.layer, plan.projection));
        ConvertedMap out =
            cities ? ConvertCities(layer, plan, progress) : ConvertRegions(layer, plan, progress);
        out.repaired = std::move(layer.repaired);
        out.leftOut = std::move(layer.leftOut);
        return out;
    } catch (const std::bad_alloc&) {
        throw UserError(QStringLiteral("“%1” is too large to convert with the memory this computer "
                                       "has free.")
                            .arg(QFileInfo(source.path()).fileName()));
    }
}

AddedResult AddMapFromFile(const QString& appFolder, const QString& path,
                           const ImportChoices& choices, const Progress& progress,
                           size_t memoryBudget) {
    OgrSource source(path);
    AddedResult result;
    result.plan = PlanImport(source, choices, progress);
    result.converted = ConvertMap(source, result.plan, memoryBudget, progress);
    result.map.stem = ChooseMapStem(appFolder, result.plan.title);
    result.map.title = result.plan.title;
    result.map.kind = result.converted.kind;
    result.map.entries = static_cast<int64_t>(result.converted.entries);
    result.map.source =
        QStringLiteral("%1, layer %2").arg(QFileInfo(path).fileName(), result.plan.layer);
    AddMapFiles(appFolder, result.map, result.converted.movie, result.converted.chart);
    return result;
}

} // namespace tolvane::mapimport
