// tolvane-render: draws a map's chart without a window, along the same path as the program
// (load the chart data file, stage the movie and the staged data file, play), and writes it
// as a picture.
//
//   tolvane-render MAP [--size WxH] [-o FILE] [--app-folder DIR] [--timing]
//   tolvane-render --movie FILE [--data FILE] [--size WxH] [-o FILE] [--timing]
//   tolvane-render --help | --version
//
// MAP is a map name ("Germany", "USACity", "flag1"). Without --app-folder the application
// folder beside the executable is used, through a temporary copy of the files the chart
// needs, so the shipped files are never touched; with --app-folder the work happens in
// that folder, as in the program. The second form draws a movie with a staged data file
// directly (the file its kind names beside it, unless --data says otherwise).
// The output format follows the file name: .png, .svg, .pdf, anything else a 24-bit BMP.
// Entries of the chart that the map has no shape for are listed on stderr. With --timing, a
// line "TIMING premain_ms=.. qt_ms=.. fonts_ms=.. load_ms=.. parse_ms=.. draw_ms=..
// encode_ms=.. write_ms=.." goes to stdout.

#include "charts/Charts.h"
#include "model/ChartModel.h"
#include "model/UserError.h"
#include "platform/AppFolder.h"
#include "platform/FileOps.h"
#include "render/ChartScene.h"
#include "render/PictureFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <future>
#include <optional>

using namespace tolvane;

namespace {

struct Options {
    QString map;
    QString movie;
    QString data;
    QString output;
    QString appFolder;
    QSize size{2000, 1400};
    bool timing = false;
};

void Usage(FILE* to) {
    std::fputs("usage: tolvane-render MAP [--size WxH] [-o FILE] [--app-folder DIR] [--timing]\n"
               "       tolvane-render --movie FILE [--data FILE] [--size WxH] [-o FILE] "
               "[--timing]\n"
               "       tolvane-render --help | --version\n"
               "See the tolvane-render(1) manual page.\n",
               to);
}

std::optional<Options> ParseArguments(const QStringList& args) {
    Options o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == u"-o" || a == u"--output") && hasValue) {
            o.output = args[++i];
        } else if (a == u"--size" && hasValue) {
            static const QRegularExpression re(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
            const auto m = re.match(args[++i]);
            if (!m.hasMatch()) return std::nullopt;
            o.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (a == u"--app-folder" && hasValue) {
            o.appFolder = args[++i];
        } else if (a == u"--movie" && hasValue) {
            o.movie = args[++i];
        } else if (a == u"--data" && hasValue) {
            o.data = args[++i];
        } else if (a == u"--timing") {
            o.timing = true;
        } else if (a.startsWith(u'-') || !o.map.isEmpty()) {
            return std::nullopt;
        } else {
            o.map = a;
        }
    }
    if (o.map.isEmpty() == o.movie.isEmpty()) return std::nullopt;
    if (o.map.endsWith(QStringLiteral(".map")) || o.map.endsWith(QStringLiteral(".cht")))
        o.map.chop(4);
    if (o.output.isEmpty())
        o.output = QFileInfo(o.map.isEmpty() ? o.movie : o.map).completeBaseName() +
                   QStringLiteral(".png");
    return o;
}

double Ms(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

bool IsShadeMap(const QString& stem) {
    return stem == u"Chinaad" || stem == u"Germany3" || stem == u"Italy2";
}

// The movie of a map name: a map, or a flag chart movie.
QString MovieOf(const QString& appFolder, const QString& stem) {
    const QString map = appFolder + QStringLiteral("data/") + stem + QStringLiteral(".map");
    const QString flagMovie = appFolder + QStringLiteral("data/") + stem + QStringLiteral(".cht");
    if (!QFileInfo(map).isFile() && QFileInfo(flagMovie).isFile()) return flagMovie;
    if (!QFileInfo(map).isFile())
        throw UserError(QStringLiteral("Map file missing: %1").arg(QDir::toNativeSeparators(map)));
    return map;
}

// Runs the program's loader for the map in `appFolder`, which stages data/cmap.map and the
// staged data file; hands back the movie to play. Flag and blank movies draw from files
// the program writes elsewhere: they play as they are.
QString StageMap(const QString& appFolder, const QString& stem, const QString& map,
                 MovieKind kind) {
    ChartModel model;
    model.appFolder = appFolder;
    model.currentMapName = stem;
    if (kind == MovieKind::Region || IsShadeMap(stem)) {
        MapPageState page(IsShadeMap(stem) ? ChartKind::Shade : ChartKind::Region);
        if (IsShadeMap(stem))
            LoadShadeChart(model, page, stem);
        else
            LoadRegionChart(model, page, stem);
    } else if (kind == MovieKind::City) {
        CityPageState page;
        int32_t border = 0;
        LoadCityChart(model, page, border, stem);
    } else if (kind == MovieKind::RegionCity) {
        RegionCityPageState page;
        LoadRegionCityChart(model, page, stem);
    } else {
        return map;
    }
    return model.stagedMoviePath();
}

// The files a chart of `stem` needs, copied into a fresh application folder. Throws
// UserError when one cannot be copied.
bool CopyNeededFiles(const QString& from, const QString& to, const QString& stem) {
    QDir().mkpath(to + QStringLiteral("data"));
    bool any = false;
    for (const QString& ext : {QStringLiteral(".map"), QStringLiteral(".xml")}) {
        const QString name = QStringLiteral("data/") + stem + ext;
        if (!QFileInfo(from + name).isFile()) continue;
        CopyFileAtomically(from + name, to + name);
        any = true;
    }
    return any;
}

void ReportUnmatched(const ChartScene& scene) {
    for (const QString& r : scene.match.unmatchedRegions)
        std::fprintf(stderr, "no shape for region: %s\n", qPrintable(r));
    for (const QString& c : scene.match.unmatchedCities)
        std::fprintf(stderr, "no point for city: %s\n", qPrintable(c));
    for (const QString& note : scene.notes)
        std::fprintf(stderr, "%s\n", qPrintable(note));
}

// The processor time the process used before main(): loading and linking the libraries.
double PreMainMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    const double preMainMs = PreMainMs();
    QElapsedTimer qtTimer;
    qtTimer.start();
    // A command-line tool never opens a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const double qtMs = Ms(qtTimer);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(u"--help") || args.contains(u"-h")) {
        Usage(stdout);
        return 0;
    }
    if (args.contains(u"--version")) {
        std::puts("tolvane-render " TOLVANE_VERSION);
        return 0;
    }
    const std::optional<Options> options = ParseArguments(args);
    if (!options) {
        Usage(stderr);
        return 2;
    }
    const Options& o = *options;

    // Every chart has some text, and fontconfig takes a while to list the fonts: they are
    // listed on another core while the map is read, decoded and drawn.
    std::future<double> fonts = std::async(std::launch::async, [] {
        QElapsedTimer t;
        t.start();
        QFontDatabase::families();
        return Ms(t);
    });

    try {
        QElapsedTimer timer;
        double parseMs = 0, loadMs = 0;
        QString movie = o.movie;
        std::optional<QTemporaryDir> scratch;
        if (movie.isEmpty()) {
            timer.start();
            QString folder;
            if (!o.appFolder.isEmpty()) {
                folder = WithTrailingSlash(QDir(o.appFolder).absolutePath());
            } else {
                const QString shipped = FindAppFolder(QCoreApplication::applicationDirPath());
                scratch.emplace();
                folder = WithTrailingSlash(scratch->path());
                if (!CopyNeededFiles(shipped, folder, o.map))
                    folder = shipped; // nothing to copy: flag movies read the shipped folder
            }
            const QString source = MovieOf(folder, o.map);
            loadMs = Ms(timer);
            // Decoded once: the staged copy is found again by its content.
            timer.restart();
            const MovieKind kind = LoadMapMovie(source)->kind;
            parseMs = Ms(timer);
            timer.restart();
            movie = StageMap(folder, o.map, source, kind);
            loadMs += Ms(timer);
        }

        timer.start();
        const ChartScene scene =
            o.data.isEmpty() ? LoadChartScene(movie) : LoadChartScene(movie, o.data);
        parseMs += Ms(timer);
        ReportUnmatched(scene);

        // The regions are drawn before any text: the fonts may still be listed meanwhile
        // (Qt's font database waits for its own listing when text comes).
        const EncodedPicture picture =
            EncodeChartPicture(scene, PictureFormatFor(o.output), o.size);
        const double fontsMs = fonts.get();
        timer.restart();
        // Replaced whole, never half-written; not waited onto the disk, as the command
        // makes the same picture again.
        ReplaceFilesTogether({{o.output, picture.bytes, {}}}, Durability::Rebuilt);
        const double writeMs = Ms(timer);

        if (o.timing)
            std::printf(
                "TIMING premain_ms=%.2f qt_ms=%.2f fonts_ms=%.2f load_ms=%.2f parse_ms=%.2f "
                "draw_ms=%.2f encode_ms=%.2f write_ms=%.2f\n",
                preMainMs, qtMs, fontsMs, loadMs, parseMs, picture.drawMs, picture.encodeMs,
                writeMs);
        // A picture with a note in it is no success: something could not be drawn.
        return scene.movie && scene.notes.isEmpty() ? 0 : 1;
    } catch (const UserError& e) {
        std::fprintf(stderr, "tolvane-render: %s\n", qPrintable(e.message()));
        return 1;
    }
}
