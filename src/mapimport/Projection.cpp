#include "mapimport/Projection.h"

#include "model/UserError.h"

#include <QtMath>
#include <cmath>
#include <cpl_error.h>
#include <memory>
#include <ogr_spatialref.h>

namespace tolvane::mapimport {

namespace {

QString Number(double v) {
    // Four decimals are metres on the ground; trailing zeros only make the text longer.
    QString text = QString::number(std::round(v * 1e4) / 1e4, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text == u"-0" ? QStringLiteral("0") : text;
}

double WrapLongitude(double lon) {
    while (lon > 180)
        lon -= 360;
    while (lon < -180)
        lon += 360;
    return lon;
}

const QString kDatum = QStringLiteral(" +datum=WGS84 +units=m +no_defs");

} // namespace

QString ProposeProjection(const std::optional<LonLatBox>& extent) {
    if (!extent) return kSourceProjection;
    const LonLatBox& b = *extent;
    const double width = b.width(), height = b.height();
    const double lon0 = WrapLongitude(b.west + width / 2);
    const double lat0 = (b.south + b.north) / 2;
    if (width >= 200 || height >= 120) return QStringLiteral("+proj=eqearth +lon_0=0") + kDatum;
    if (width > 15 && width > 1.5 * height) {
        if (b.south < 0 && b.north > 0)
            return QStringLiteral("+proj=cea +lon_0=%1 +lat_ts=0").arg(Number(lon0)) + kDatum;
        const double lat1 = b.south + height / 6, lat2 = b.north - height / 6;
        return QStringLiteral("+proj=aea +lat_0=%1 +lon_0=%2 +lat_1=%3 +lat_2=%4")
                   .arg(Number(lat0), Number(lon0), Number(lat1), Number(lat2)) +
               kDatum;
    }
    return QStringLiteral("+proj=laea +lat_0=%1 +lon_0=%2").arg(Number(lat0), Number(lon0)) +
           kDatum;
}

void ProjectInPlace(std::vector<QPointF>& points, const QByteArray& crsWkt,
                    const QString& definition) {
    const auto flip = [&points] {
        for (QPointF& p : points)
            p.setY(-p.y());
    };
    if (definition.trimmed() == kSourceProjection) {
        flip();
        return;
    }
    if (crsWkt.isEmpty())
        throw UserError(QStringLiteral("The file does not say where on Earth its coordinates lie, "
                                       "so it cannot be projected; keep its own coordinates "
                                       "(projection “%1”).")
                            .arg(kSourceProjection));
    CPLPushErrorHandler(CPLQuietErrorHandler);
    struct PopHandler {
        ~PopHandler() { CPLPopErrorHandler(); }
    } pop;
    OGRSpatialReference from, to;
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    to.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (from.SetFromUserInput(crsWkt.constData()) != OGRERR_NONE)
        throw UserError(QStringLiteral("The file's coordinate reference system is not one PROJ "
                                       "knows."));
    if (to.SetFromUserInput(definition.toUtf8().constData()) != OGRERR_NONE)
        throw UserError(QStringLiteral("“%1” is not a projection PROJ knows (give a PROJ string "
                                       "such as “+proj=laea +lat_0=52 +lon_0=10”, or “EPSG:3035”).")
                            .arg(definition));
    std::unique_ptr<OGRCoordinateTransformation> ct(OGRCreateCoordinateTransformation(&from, &to));
    if (!ct)
        throw UserError(QStringLiteral("PROJ cannot project the file's coordinates to “%1”: %2")
                            .arg(definition, QString::fromUtf8(CPLGetLastErrorMsg())));
    constexpr size_t kChunk = 1 << 16;
    std::vector<double> x(kChunk), y(kChunk);
    std::vector<int> ok(kChunk);
    for (size_t start = 0; start < points.size(); start += kChunk) {
        const size_t n = std::min(kChunk, points.size() - start);
        for (size_t i = 0; i < n; ++i) {
            x[i] = points[start + i].x();
            y[i] = points[start + i].y();
        }
        ct->Transform(static_cast<int>(n), x.data(), y.data(), nullptr, ok.data());
        for (size_t i = 0; i < n; ++i) {
            const bool good = ok[i] && std::isfinite(x[i]) && std::isfinite(y[i]);
            points[start + i] = good ? QPointF(x[i], -y[i]) : QPointF(qQNaN(), qQNaN());
        }
    }
}

} // namespace tolvane::mapimport
