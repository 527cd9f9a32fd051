// The renderer on a loaded scene: a staged data file drawn on the test squares (of the kind
// its root element asks for), or a movie drawn with a staged file that uses every feature
// (names, shades, legend, bubbles). The picture's size follows from the input, and now and
// then it is drawn as SVG, whose painter cannot clip, or in a frame far larger than the
// picture.
#include "FuzzTargets.h"
#include "model/UserError.h"
#include "platform/FileOps.h"
#include "platform/XmlDocument.h"
#include "render/ChartRenderer.h"
#include "render/ChartScene.h"
#include "render/PictureFile.h"

#include <QCryptographicHash>
#include <QPainter>
#include <cmath>

using namespace tolvane;
using tolvane::fuzz::FuzzCheck;

namespace {

QString FixtureFolder() {
    return QString::fromUtf8(fuzz::SourceDir()) + QStringLiteral("/tests/render/data/");
}

const QByteArray& Squares() {
    static const QByteArray movie = ReadWholeFile(FixtureFolder() + QStringLiteral("squares.map"));
    return movie;
}

QByteArray SquaresAs(const char* kind, const char* style = "") {
    QByteArray movie = Squares();
    movie.replace("\"kind\":\"region\"",
                  QByteArray("\"kind\":\"") + kind + "\",\"style\":\"" + style + "\"");
    return movie;
}

// Every feature on: names, shades, legend items, bubbles, flags.
const char kEverything[] = R"(<all><border>8421504</border><showtext>-1</showtext>
<province id="1"><name>Alpha</name><shortname>AA</shortname><bgcolor>16711680</bgcolor><value>1</value><shade>5</shade></province>
<province id="2"><name>Beta</name><shortname>BB</shortname><bgcolor>255</bgcolor><value>2</value><shade>11</shade></province>
<province id="3"><name>Gamma</name><shortname>CC</shortname><bgcolor>65280</bgcolor><value>3</value><shade>8</shade></province>
<city id="1"><name>Capital</name><country>Alpha</country><bgcolor>255</bgcolor><value>1</value><scale>200</scale></city>
<city id="2"><name>Springfield</name><country>Beta</country><bgcolor>65280</bgcolor><value>1</value><scale>80</scale></city>
<provinces><city id="1"><name>Beta</name><shortname>BB</shortname><bgcolor>255</bgcolor></city></provinces>
<cities><city id="1"><name>Capital</name><country>Alpha</country><bgcolor>255</bgcolor><scale>100</scale></city></cities>
<plegends><showplegend>-1</showplegend><plegendcount>3</plegendcount>
<plegend id="1"><text>low</text><color>255</color><scale>50</scale><shade>4</shade></plegend>
<plegend id="2"><text>mid</text><color>65280</color><scale>100</scale><shade>9</shade></plegend>
<plegend id="3"><text>high</text><color>16711680</color><scale>300</scale><shade>13</shade></plegend></plegends>
<title>Flags</title><item id="1"><name>FR</name><data>20</data><size>100</size></item>
<item id="2"><name>DE</name><data>-5</data><size>-25</size></item></all>)";

MovieKind KindForRoot(const XmlInElement& root, uint8_t pick) {
    if (root.is("cities")) return MovieKind::City;
    if (root.is("map")) return MovieKind::RegionCity;
    if (root.is("charts")) return MovieKind::Flag;
    return pick & 1 ? MovieKind::City : MovieKind::Region;
}

} // namespace

TOLVANE_FUZZ_TARGET(render_scene) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    const auto pick = [&digest](int i) { return static_cast<uint8_t>(digest[i]); };

    ChartScene scene;
    scene.loaded = true;
    scene.folder = FixtureFolder();
    try {
        if (bytes.trimmed().startsWith('{')) {
            scene.movie = ParseMapMovie(bytes);
            scene.data = std::make_shared<const StagedChart>(
                ReadStagedChart(scene.movie->kind,
                                XmlReader::fromBytes(kEverything, QStringLiteral("all")).root()));
        } else {
            const XmlReader reader = XmlReader::fromBytes(bytes, QStringLiteral("fuzz"));
            const MovieKind kind = KindForRoot(reader.root(), pick(0));
            const char* styles[] = {"flag1", "flag2", "flag3"};
            scene.movie =
                ParseMapMovie(kind == MovieKind::Flag ? SquaresAs("flag", styles[pick(1) % 3])
                                                      : SquaresAs(qPrintable(MovieKindText(kind))));
            scene.data = std::make_shared<const StagedChart>(ReadStagedChart(kind, reader.root()));
        }
    } catch (const UserError&) {
        return;
    }
    scene.match = MatchChart(*scene.movie, *scene.data);

    // Small pictures: the arithmetic is the same at any size, and a small one is quick.
    const QSize picture(8 + pick(2) % 160, 6 + pick(3) % 120);
    if (pick(4) % 32 == 0) {
        EncodeChartPicture(scene, PictureFormat::Svg, picture);
    } else if (pick(4) % 32 == 1) {
        // A frame far larger than the picture, as a widget scrolled over a huge chart: only
        // a corner is seen, and every size in the chart grows with the frame.
        QImage image(picture, QImage::Format_RGB32);
        QPainter painter(&image);
        const double scale = std::pow(10.0, 2 + pick(5) % 6);
        RenderChart(painter, scene,
                    QRectF(-pick(6) * scale / 256, -pick(7) * scale / 256, picture.width() * scale,
                           picture.height() * scale));
    } else {
        const QImage image = RenderChartImage(scene, picture);
        FuzzCheck(image.size() == picture, "the picture has the size asked for");
    }
}
