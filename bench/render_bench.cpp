// Drawing and preview benchmarks. The map is the largest movie in data/ of the build tree
// (the shipped maps), or the file named by TOLVANE_BENCH_MAP; the chart data drawn on it is
// the map's own chart data file beside it (<map>.xml), when there is one.
//
//   build/tolvane_bench [--benchmark_filter=...]
#include "charts/Charts.h"
#include "model/UserError.h"
#include "render/ChartRenderer.h"
#include "render/ChartScene.h"
#include "render/MapMovie.h"
#include "render/PictureFile.h"
#include "render/PngEncoder.h"
#include "widgets/ChartPlayer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tolvane;

namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tolvane_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    (void)app;
}

QString LargestMap() {
    const QString chosen = qEnvironmentVariable("TOLVANE_BENCH_MAP");
    if (!chosen.isEmpty()) return chosen;
    QString best;
    qint64 bestSize = -1;
    QDirIterator it(QStringLiteral(TOLVANE_BINARY_DIR "/data"), {QStringLiteral("*.map")},
                    QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.fileName() == u"cmap.map" || info.fileName() == u"cmap1.map") continue;
        if (info.size() > bestSize) {
            bestSize = info.size();
            best = info.filePath();
        }
    }
    return best;
}

// An application folder with the map staged by the program's own loader (data/cmap.map
// and the staged data file of its kind), and the blank cmap1.map.
struct StagedFolder {
    QTemporaryDir dir;
    QString data;
    bool ok = false;
    StagedFolder() {
        const QString map = LargestMap();
        if (map.isEmpty()) return;
        data = dir.path() + QStringLiteral("/data/");
        QDir().mkpath(data);
        const QString stem = QFileInfo(map).completeBaseName();
        QFile::copy(map, data + stem + QStringLiteral(".map"));
        QFile::copy(QFileInfo(map).path() + u'/' + stem + QStringLiteral(".xml"),
                    data + stem + QStringLiteral(".xml"));
        QFile blank(data + QStringLiteral("cmap1.map"));
        blank.open(QIODevice::WriteOnly);
        blank.write(R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"blank"}})");
        blank.close();
        ChartModel model;
        model.appFolder = dir.path() + u'/';
        model.currentMapName = stem;
        try {
            switch (LoadMapMovie(data + stem + QStringLiteral(".map"))->kind) {
            case MovieKind::City: {
                CityPageState page;
                int32_t border = 0;
                LoadCityChart(model, page, border, stem);
                break;
            }
            case MovieKind::RegionCity: {
                RegionCityPageState page;
                LoadRegionCityChart(model, page, stem);
                break;
            }
            default: {
                MapPageState page;
                LoadRegionChart(model, page, stem);
            }
            }
        } catch (const UserError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return;
        }
        ok = true;
        std::fprintf(stderr, "map: %s\n", qPrintable(map));
    }
};

StagedFolder& Staged() {
    static StagedFolder folder;
    return folder;
}

void BM_DecodeMovie(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const QString path = Staged().data + QStringLiteral("cmap.map");
    for (auto _ : state) {
        ClearMovieCache();
        benchmark::DoNotOptimize(LoadMapMovie(path));
    }
}
BENCHMARK(BM_DecodeMovie)->Unit(benchmark::kMillisecond);

void BM_DrawLargestMap(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const ChartScene scene = LoadChartScene(Staged().data + QStringLiteral("cmap.map"));
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChartImage(scene, size));
}
BENCHMARK(BM_DrawLargestMap)->Args({2000, 1400})->Args({500, 350})->Unit(benchmark::kMillisecond);

// What a preview restart costs once the map was seen: the blank movie, the staged movie
// again (decoded geometry comes from the cache), its staged data file, and the drawing at
// the preview's size.
void BM_PreviewRestart(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    ChartPlayer player;
    player.resize(793, 308);
    const QString blank = Staged().data + QStringLiteral("cmap1.map");
    const QString movie = Staged().data + QStringLiteral("cmap.map");
    player.loadMovie(0, movie); // the map was played before
    player.play();
    for (auto _ : state) {
        player.loadMovie(0, blank);
        player.loadMovie(0, movie);
        player.play();
        benchmark::DoNotOptimize(player.picture());
    }
}
BENCHMARK(BM_PreviewRestart)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    EnsureApplication();
    if (!Staged().ok) return state.SkipWithError("no map found");
    const ChartScene scene = LoadChartScene(Staged().data + QStringLiteral("cmap.map"));
    const QImage image = RenderChartImage(scene, QSize(2000, 1400));
    const bool png = state.range(0) == 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(png ? EncodePng(image) : EncodeBmp24(image));
    state.SetLabel(png ? "png" : "bmp");
}
BENCHMARK(BM_Encode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A city map with `count` cities spread over the land of `stem`'s movie, all with names,
// sizes and colours, and a legend: the bubble layer at its busiest.
struct ManyCities {
    QTemporaryDir dir;
    QString movie;
    ManyCities(const QString& stem, int count) {
        QFile in(QStringLiteral(TOLVANE_SOURCE_DIR "/data/") + stem + QStringLiteral(".map"));
        if (!in.open(QIODevice::ReadOnly)) return;
        QJsonObject topology = QJsonDocument::fromJson(in.readAll()).object();
        QJsonObject objects = topology[QStringLiteral("objects")].toObject();
        QJsonObject cities = objects[QStringLiteral("cities")].toObject();
        const QJsonArray shipped = cities[QStringLiteral("geometries")].toArray();
        QJsonArray geometries;
        QByteArray xml = "<cities><regions>" + QByteArray::number(count) +
                         "</regions><border>12632256</border><showtext>-1</showtext>";
        uint32_t seed = 12345;
        const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
        for (int i = 0; i < count; ++i) {
            // Near a shipped city, so that the bubbles crowd where real ones do.
            const QJsonArray at = shipped[static_cast<qsizetype>(next() % shipped.size())]
                                      .toObject()[QStringLiteral("coordinates")]
                                      .toArray();
            const double x = at[0].toDouble() + double(next() % 4001) - 2000;
            const double y = at[1].toDouble() + double(next() % 4001) - 2000;
            const QString name = QStringLiteral("City %1").arg(i + 1);
            geometries.append(QJsonObject{
                {QStringLiteral("type"), QStringLiteral("Point")},
                {QStringLiteral("coordinates"), QJsonArray{x, y}},
                {QStringLiteral("properties"),
                 QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("region"), "R"}}}});
            xml += "<city id=\"" + QByteArray::number(i + 1) + "\"><name>" + name.toUtf8() +
                   "</name><country>R</country><bgcolor>" + QByteArray::number(next() % 0xFFFFFF) +
                   "</bgcolor><value>1</value><scale>" + QByteArray::number(20 + next() % 181) +
                   "</scale></city>";
        }
        xml += "<plegends><showplegend>-1</showplegend><plegendcount>6</plegendcount>";
        for (int m = 1; m <= 6; ++m)
            xml += "<plegend id=\"" + QByteArray::number(m) + "\"><text>class " +
                   QByteArray::number(m) + "</text><color>" + QByteArray::number(m * 0x202020) +
                   "</color><scale>" + QByteArray::number(25 * m) + "</scale></plegend>";
        xml += "</plegends></cities>";
        cities[QStringLiteral("geometries")] = geometries;
        objects[QStringLiteral("cities")] = cities;
        topology[QStringLiteral("objects")] = objects;
        movie = dir.path() + QStringLiteral("/cmap.map");
        QFile out(movie);
        out.open(QIODevice::WriteOnly);
        out.write(QJsonDocument(topology).toJson(QJsonDocument::Compact));
        QFile staged(dir.path() + QStringLiteral("/city.xml"));
        staged.open(QIODevice::WriteOnly);
        staged.write(xml);
    }
};

void BM_DrawManyBubbles(benchmark::State& state) {
    EnsureApplication();
    const QString stem =
        state.range(0) == 0 ? QStringLiteral("WorldCity") : QStringLiteral("GermanyCity");
    const ManyCities cities(stem, 5000);
    if (cities.movie.isEmpty()) return state.SkipWithError("no city map found");
    const ChartScene scene = LoadChartScene(cities.movie);
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderChartImage(scene, QSize(2000, 1400)));
    state.SetLabel(stem.toStdString() + ", 5000 bubbles with names");
}
BENCHMARK(BM_DrawManyBubbles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
