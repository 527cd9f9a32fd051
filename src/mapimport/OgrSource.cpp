#include "mapimport/OgrSource.h"

#include "mapimport/OgrGeometry.h"
#include "mapimport/TextDecode.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>
#include <mutex>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

namespace tolvane::mapimport {

namespace {

// GDAL reports through a global handler; ours keep the messages for our own errors.
class QuietGdal {
public:
    QuietGdal() {
        static std::once_flag once;
        std::call_once(once, [] { GDALAllRegister(); });
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietGdal() { CPLPopErrorHandler(); }
    QuietGdal(const QuietGdal&) = delete;
    QuietGdal& operator=(const QuietGdal&) = delete;
    static QString lastMessage() { return QString::fromUtf8(CPLGetLastErrorMsg()).trimmed(); }
};

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// "KEY=VALUE" items of a metadata list whose key holds one of the words.
QString MetadataItem(char** items, std::initializer_list<const char*> words) {
    for (char** it = items; it && *it; ++it) {
        const QString item = QString::fromUtf8(*it);
        const qsizetype eq = item.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = item.left(eq).toLower();
        for (const char* w : words)
            if (key.contains(QLatin1String(w))) return item.mid(eq + 1).trimmed();
    }
    return {};
}

// Features looked at to tell what a layer of mixed geometry types holds when it is opened.
constexpr int64_t kKindScan = 1000;

using GdalDataset = std::unique_ptr<GDALDataset, void (*)(GDALDataset*)>;

} // namespace

struct OgrSource::Impl {
    QString path;
    GdalDataset dataset{nullptr, [](GDALDataset* d) { GDALClose(d); }};
    std::vector<LayerInfo> layers;
    std::vector<bool> kindTentative; // only the first features of a mixed layer were looked at

    OGRLayer& ogrLayer(const QString& name) const {
        OGRLayer* l = dataset->GetLayerByName(name.toUtf8().constData());
        if (!l)
            throw UserError(QStringLiteral("“%1” has no layer “%2”.").arg(FileName(path), name));
        return *l;
    }
};

OgrSource::OgrSource(const QString& path)
    : impl_(std::make_unique<Impl>()) {
    QuietGdal quiet;
    impl_->path = path;
    if (!QFileInfo(path).isFile())
        throw UserError(QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(path)));
    QString gdalPath = path;
    if (path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive))
        gdalPath = QStringLiteral("/vsizip/") + path; // a zipped shapefile
    static const char* const kDrivers[] = {"GeoJSON", "TopoJSON", "ESRI Shapefile", "GPKG",
                                           nullptr};
    impl_->dataset.reset(GDALDataset::Open(gdalPath.toUtf8().constData(),
                                           GDAL_OF_VECTOR | GDAL_OF_READONLY, kDrivers));
    if (!impl_->dataset) {
        const QString why = QuietGdal::lastMessage();
        throw UserError(
            QStringLiteral("“%1” is not a GeoJSON, TopoJSON, Shapefile or GeoPackage file.%2")
                .arg(FileName(path), why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why)));
    }
    for (OGRLayer* l : impl_->dataset->GetLayers()) {
        LayerInfo info;
        info.name = QString::fromUtf8(l->GetName());
        info.kind = KindOf(l->GetGeomType());
        bool complete = true;
        if (info.kind == GeometryKind::Unknown) info.kind = ScanKind(*l, kKindScan, complete);
        impl_->kindTentative.push_back(!complete && info.kind != GeometryKind::Polygons);
        info.featureCount = l->GetFeatureCount(TRUE);
        const OGRFeatureDefn* defn = l->GetLayerDefn();
        for (int i = 0; i < defn->GetFieldCount(); ++i) {
            const OGRFieldDefn* f = defn->GetFieldDefn(i);
            const OGRFieldType t = f->GetType();
            info.fields.push_back(
                {QString::fromUtf8(f->GetNameRef()), t == OFTString || t == OFTWideString});
        }
        info.extent = ExtentOf(*l);
        impl_->layers.push_back(std::move(info));
    }
    if (impl_->layers.empty())
        throw UserError(QStringLiteral("“%1” holds no map layers.").arg(FileName(path)));
}

OgrSource::~OgrSource() = default;

const QString& OgrSource::path() const {
    return impl_->path;
}

const std::vector<LayerInfo>& OgrSource::layers() const {
    return impl_->layers;
}

const LayerInfo& OgrSource::layer(const QString& name) const {
    for (const LayerInfo& l : impl_->layers)
        if (l.name == name) return l;
    QStringList names;
    for (const LayerInfo& l : impl_->layers)
        names << l.name;
    throw UserError(QStringLiteral("“%1” has no layer “%2”. Its layers: %3.")
                        .arg(FileName(impl_->path), name, names.join(QStringLiteral(", "))));
}

QString OgrSource::metadataSource() const {
    return MetadataItem(impl_->dataset->GetMetadata(), {"source", "title", "author"});
}

QString OgrSource::metadataLicence() const {
    QString licence = MetadataItem(impl_->dataset->GetMetadata(),
                                   {"licen", "copyright", "rights", "attribution"});
    for (const LayerInfo& info : impl_->layers) {
        if (!licence.isEmpty()) break;
        licence = MetadataItem(impl_->ogrLayer(info.name).GetMetadata(),
                               {"licen", "copyright", "rights", "attribution"});
    }
    return licence;
}

std::vector<FieldSummary> OgrSource::summarizeFields(const QString& layerName,
                                                     const Progress& progress) {
    QuietGdal quiet;
    const LayerInfo& info = layer(layerName);
    OGRLayer& l = impl_->ogrLayer(layerName);
    const OGRFeatureDefn* defn = l.GetLayerDefn();
    struct Tally {
        FieldSummary summary;
        int index = -1;
        QSet<QString> values;
        double length = 0;
    };
    std::vector<Tally> tallies;
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
        const OGRFieldType t = defn->GetFieldDefn(i)->GetType();
        if (t != OFTString && t != OFTInteger && t != OFTInteger64) continue;
        Tally tally;
        tally.summary.name = QString::fromUtf8(defn->GetFieldDefn(i)->GetNameRef());
        tally.summary.text = t == OFTString;
        tally.index = i;
        tallies.push_back(std::move(tally));
    }
    const char* const ignored[] = {"OGR_GEOMETRY", nullptr};
    l.SetIgnoredFields(const_cast<const char**>(ignored));
    l.ResetReading();
    int64_t done = 0;
    const QString step = QStringLiteral("Reading the fields");
    for (auto& feature : l) {
        if (++done % 4096 == 0) Report(progress, step, done, info.featureCount);
        for (Tally& t : tallies) {
            if (!feature->IsFieldSetAndNotNull(t.index)) continue;
            const QString value = DecodeText(feature->GetFieldAsString(t.index)).trimmed();
            if (value.isEmpty()) continue;
            ++t.summary.filled;
            t.length += static_cast<double>(value.size());
            if (std::any_of(value.begin(), value.end(), [](QChar c) { return c.isLetter(); }))
                ++t.summary.lettered;
            t.values.insert(value);
        }
    }
    l.SetIgnoredFields(nullptr);
    std::vector<FieldSummary> out;
    for (Tally& t : tallies) {
        t.summary.distinct = t.values.size();
        t.summary.meanLength =
            t.summary.filled ? t.length / static_cast<double>(t.summary.filled) : 0;
        out.push_back(std::move(t.summary));
    }
    return out;
}

namespace {

int FieldIndex(const OGRFeatureDefn& defn, const QString& field, const QString& layer) {
    const int index = defn.GetFieldIndex(field.toUtf8().constData());
    if (index >= 0) return index;
    QStringList names;
    for (int i = 0; i < defn.GetFieldCount(); ++i)
        names << QString::fromUtf8(defn.GetFieldDefn(i)->GetNameRef());
    throw UserError(
        QStringLiteral("The layer “%1” has no field “%2”. Its fields: %3.")
            .arg(layer, field,
                 names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
}

QString FieldText(OGRFeature& f, int index) {
    if (index < 0 || !f.IsFieldSetAndNotNull(index)) return {};
    return DecodeText(f.GetFieldAsString(index)).simplified();
}

QString Label(const QString& name, GIntBig fid) {
    return name.isEmpty() ? QStringLiteral("feature %1").arg(fid) : name;
}

} // namespace

LayerData OgrSource::read(const ReadRequest& request, const Progress& progress) {
    QuietGdal quiet;
    const LayerInfo& info = layer(request.layer);
    OGRLayer& l = impl_->ogrLayer(request.layer);
    LayerData out;
    GeometryKind kind = info.kind;
    const auto index = static_cast<size_t>(&info - impl_->layers.data());
    if (impl_->kindTentative[index]) {
        bool complete = true;
        kind = ScanKind(l, 0, complete);
    }
    if (kind == GeometryKind::Lines || kind == GeometryKind::None)
        throw UserError(QStringLiteral("The layer “%1” has no polygons or points%2: there is "
                                       "nothing to draw a region or a city from.")
                            .arg(request.layer, kind == GeometryKind::Lines
                                                    ? QStringLiteral(" (only lines)")
                                                    : QString()));
    out.kind = kind;
    const OGRFeatureDefn& defn = *l.GetLayerDefn();
    const int nameIndex = FieldIndex(defn, request.nameField, request.layer);
    const int shortIndex =
        request.shortField.isEmpty() ? -1 : FieldIndex(defn, request.shortField, request.layer);

    if (const OGRSpatialReference* srs = l.GetSpatialRef()) {
        char* wkt = nullptr;
        const char* const options[] = {"FORMAT=WKT2_2018", nullptr};
        if (srs->exportToWkt(&wkt, options) == OGRERR_NONE) out.crsWkt = wkt;
        CPLFree(wkt);
        out.lonLat = srs->IsGeographic();
    } else if (info.extent) {
        out.lonLat = true; // no reference given, but every coordinate is a longitude/latitude
        out.crsWkt = "EPSG:4326";
    }

    const QString step = QStringLiteral("Reading the features");
    const size_t budget = request.memoryBudget;
    const auto tooLarge = [&] {
        return UserError(QStringLiteral("“%1” is too large to convert with the memory this "
                                        "computer has free (about %2 MB needed, %3 MB free).")
                             .arg(FileName(impl_->path))
                             .arg(static_cast<qulonglong>(l.GetFeatureCount(TRUE)) *
                                      out.shapes.points.size() * kBytesPerVertex /
                                      std::max<size_t>(1, out.names.size()) >>
                                  20)
                             .arg(budget >> 20));
    };
    int64_t done = 0;
    l.ResetReading();
    try {
        for (auto& feature : l) {
            if (++done % 1024 == 0) Report(progress, step, done, info.featureCount);
            const QString name = FieldText(*feature, nameIndex);
            const OGRGeometry* g = feature->GetGeometryRef();
            if (!g || g->IsEmpty()) {
                out.leftOut
                    << QStringLiteral("%1: no geometry").arg(Label(name, feature->GetFID()));
                continue;
            }
            if (kind == GeometryKind::Points) {
                const auto p = FirstPoint(*g);
                if (!p) {
                    out.leftOut
                        << QStringLiteral("%1: not a point").arg(Label(name, feature->GetFID()));
                    continue;
                }
                out.sites.push_back(*p);
            } else {
                std::unique_ptr<OGRGeometry> owned;
                if (g->hasCurveGeometry()) {
                    owned.reset(g->getLinearGeometry());
                    g = owned.get();
                }
                if (KindOf(g->getGeometryType()) == GeometryKind::Polygons ||
                    wkbFlatten(g->getGeometryType()) == wkbGeometryCollection) {
                    if (!g->IsValid()) {
                        std::unique_ptr<OGRGeometry> valid(g->MakeValid());
                        if (!valid) {
                            out.leftOut << QStringLiteral("%1: invalid geometry that could not "
                                                          "be repaired")
                                               .arg(Label(name, feature->GetFID()));
                            continue;
                        }
                        out.repaired << Label(name, feature->GetFID());
                        owned = std::move(valid);
                        g = owned.get();
                    }
                }
                AddPolygons(*g, out.shapes);
                if (out.shapes.polygonCount() == out.shapes.featureStart.back()) {
                    out.leftOut
                        << QStringLiteral("%1: no area").arg(Label(name, feature->GetFID()));
                    continue;
                }
                out.shapes.endFeature();
                if (budget && out.shapes.points.size() * kBytesPerVertex > budget) throw tooLarge();
            }
            out.names.push_back(name);
            out.shortNames.push_back(FieldText(*feature, shortIndex));
        }
    } catch (const std::bad_alloc&) {
        throw tooLarge();
    }
    Report(progress, step, done, done);
    return out;
}

} // namespace tolvane::mapimport
