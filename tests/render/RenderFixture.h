#pragma once

#include "render/ChartRenderer.h"
#include "render/ChartScene.h"

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>

namespace tolvane::test {

// Hand-made movie data: squares.map holds regions AA "Alpha" (0..40 x 0..40), BB "Beta"
// (40..80 x 0..40, its ring uses the shared edge reversed) and CC "Gamma" (a band 0..80 x
// 45..60 with a hole 30..50 x 48..57, and an island 85..95 x 0..10), a piece of context
// land (82..98 x 15..35), and the cities Capital (20, 20), Springfield in Alpha (10, 10)
// and Springfield in Beta (70, 30). View box 0 0 100 60.
inline QString FixturePath(const QString& name) {
    return QStringLiteral(TOLVANE_SOURCE_DIR "/tests/render/data/") + name;
}

inline QByteArray ReadFixture(const QString& name) {
    QFile f(FixturePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The squares as a movie of another kind.
inline QByteArray SquaresAs(const char* kind) {
    QByteArray movie = ReadFixture(QStringLiteral("squares.map"));
    movie.replace("\"kind\":\"region\"", QByteArray("\"kind\":\"") + kind + "\"");
    return movie;
}

// A folder standing in for the data folder: the staged movie and its staged data file.
class ChartFolder {
public:
    QString path(const QString& name) const { return dir_.path() + u'/' + name; }
    QString write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile f(path(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path(name);
    }
    QString copyFixture(const QString& name) const { return write(name, ReadFixture(name)); }

private:
    QTemporaryDir dir_;
};

// A province.xml of the squares: colours as 0xRRGGBB.
inline QByteArray ProvinceXml(const QByteArray& provinces, bool showText = false,
                              const QByteArray& legend = QByteArray()) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<provinces><regions>3</regions>"
           "<border>8421504</border><showtext>" +
           QByteArray(showText ? "-1" : "0") + "</showtext>" + provinces + legend + "</provinces>";
}

inline QByteArray Province(int id, const char* name, const char* shortName, uint32_t color,
                           int shade = -1) {
    QByteArray e = "<province id=\"" + QByteArray::number(id) + "\"><name>" + name +
                   "</name><shortname>" + shortName + "</shortname><bgcolor>" +
                   QByteArray::number(color) + "</bgcolor><value>1</value>";
    if (shade >= 0) e += "<shade>" + QByteArray::number(shade) + "</shade>";
    return e + "</province>";
}

// The colour of the picture at a point of the movie's plane.
inline QColor ColorAt(const QImage& image, const ChartScene& scene, QPointF moviePoint) {
    const auto placement = MapPlacement(scene, QRectF(image.rect()));
    if (!placement) return {};
    const QPoint p = placement->map(moviePoint).toPoint();
    return image.rect().contains(p) ? image.pixelColor(p) : QColor();
}

inline bool Near(const QColor& a, const QColor& b, int tolerance = 6) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of exactly (or nearly) one colour.
inline int CountColor(const QImage& image, const QColor& color, int tolerance = 4) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += Near(image.pixelColor(x, y), color, tolerance) ? 1 : 0;
    return n;
}

} // namespace tolvane::test
