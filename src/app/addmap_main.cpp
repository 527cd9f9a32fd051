// tolvane-addmap: adds a polygon or point layer of a GeoJSON, TopoJSON, Shapefile or
// GeoPackage file to the program's maps, as "Add map…" does; lists and removes added maps.
// Run with --help for the options.

#include "charts/AddedMaps.h"
#include "mapimport/FieldSuggest.h"
#include "mapimport/MapImport.h"
#include "mapimport/Projection.h"
#include "model/UserError.h"
#include "platform/AppFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace tolvane;
using namespace tolvane::mapimport;

namespace {

// Set on SIGTERM or SIGINT: the conversion stops at its next step and writes nothing.
volatile std::sig_atomic_t gStopAsked = 0;

extern "C" void AskToStop(int) {
    gStopAsked = 1;
}

void Print(const QString& text, FILE* to = stdout) {
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

QString Quoted(const QString& s) {
    return QStringLiteral("“%1”").arg(s);
}

// One JSON object on a line of its own, at once: the program reading it shows it as it comes.
void PrintJson(const QJsonObject& object) {
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// A list under its heading, a long one shortened to its first `shown` items.
QString ListText(const QString& heading, const QStringList& items, qsizetype shown) {
    if (items.isEmpty()) return {};
    QString text = QStringLiteral("%1 (%2):\n").arg(heading).arg(items.size());
    for (qsizetype i = 0; i < std::min(items.size(), shown); ++i)
        text += QStringLiteral("  ") + items[i] + u'\n';
    if (items.size() > shown) text += QStringLiteral("  … and %1 more\n").arg(items.size() - shown);
    return text;
}

// Progress on stderr: one line per step and tenth, redrawn in place on a terminal.
class ProgressLine {
public:
    bool operator()(const QString& step, int64_t done, int64_t total) {
        if (gStopAsked) return false;
        const int tenth = total > 0 ? static_cast<int>(10 * done / total) : -1;
        if (step == step_ && tenth == tenth_) return true;
        step_ = step;
        tenth_ = tenth;
        const QString line = tenth >= 0 ? QStringLiteral("%1… %2%").arg(step).arg(tenth * 10)
                                        : step + QStringLiteral("…");
        if (terminal_)
            std::fprintf(stderr, "\r\033[K%s", line.toUtf8().constData());
        else
            Print(line, stderr);
        return true;
    }
    void finish() const {
        if (terminal_ && !step_.isEmpty()) std::fputc('\n', stderr);
    }

private:
    bool terminal_ = isatty(fileno(stderr));
    QString step_;
    int tenth_ = -2;
};

// Progress for a program that runs this one: {"step": ..., "permille": ...} per step and
// thousandth (-1 while the step cannot tell how far it is).
class ProgressJson {
public:
    bool operator()(const QString& step, int64_t done, int64_t total) {
        if (gStopAsked) return false;
        const int permille =
            total > 0 ? static_cast<int>(1000 * std::clamp<int64_t>(done, 0, total) / total) : -1;
        if (step == step_ && permille == permille_) return true;
        step_ = step;
        permille_ = permille;
        PrintJson({{QStringLiteral("step"), step}, {QStringLiteral("permille"), permille}});
        return true;
    }
    void finish() const {}

private:
    QString step_;
    int permille_ = -2;
};

QString KindText(GeometryKind kind) {
    switch (kind) {
    case GeometryKind::Polygons:
        return QStringLiteral("polygons");
    case GeometryKind::Points:
        return QStringLiteral("points");
    case GeometryKind::Lines:
        return QStringLiteral("lines");
    case GeometryKind::None:
        return QStringLiteral("no geometry");
    case GeometryKind::Unknown:
        break;
    }
    return QStringLiteral("mixed geometries");
}

// What --list shows of a layer that can become a map.
struct LayerChoices {
    GeometryKind kind = GeometryKind::Polygons; // Polygons or Points
    FieldSuggestion fields;
    QString projection;
};

template <typename ProgressT>
std::optional<LayerChoices> SuggestFor(OgrSource& source, const LayerInfo& layer,
                                       ProgressT& progress) {
    if (layer.kind == GeometryKind::Lines || layer.kind == GeometryKind::None) return {};
    LayerChoices c;
    c.kind = layer.kind == GeometryKind::Points ? GeometryKind::Points : GeometryKind::Polygons;
    c.fields = SuggestFields(source.summarizeFields(layer.name, std::ref(progress)),
                             layer.featureCount, c.kind);
    c.projection = ProposeProjection(layer.extent);
    return c;
}

void ListLayers(const QString& path) {
    OgrSource source(path);
    ProgressLine progress;
    Print(QDir::toNativeSeparators(path));
    for (const LayerInfo& layer : source.layers()) {
        Print(QStringLiteral("Layer %1: %2, %3 features")
                  .arg(Quoted(layer.name), KindText(layer.kind))
                  .arg(layer.featureCount));
        QStringList fields;
        for (const FieldInfo& f : layer.fields)
            fields << f.name + (f.text ? QString() : QStringLiteral(" (number)"));
        Print(QStringLiteral("  fields: %1")
                  .arg(fields.isEmpty() ? QStringLiteral("none") : fields.join(u", ")));
        const auto c = SuggestFor(source, layer, progress);
        progress.finish();
        if (!c) continue;
        const FieldSuggestion& s = c->fields;
        Print(QStringLiteral("  suggested name field: %1; %2 field: %3")
                  .arg(s.nameField.isEmpty() ? QStringLiteral("none") : s.nameField,
                       c->kind == GeometryKind::Points ? QStringLiteral("region")
                                                       : QStringLiteral("short-name"),
                       s.shortField.isEmpty() ? QStringLiteral("none") : s.shortField));
        Print(QStringLiteral("  proposed projection: %1").arg(c->projection));
    }
    const QString source_ = source.metadataSource(), licence = source.metadataLicence();
    if (!source_.isEmpty()) Print(QStringLiteral("Source: %1").arg(source_));
    if (!licence.isEmpty()) Print(QStringLiteral("Licence: %1").arg(licence));
}

void ListLayersJson(const QString& path) {
    OgrSource source(path);
    ProgressJson progress;
    QJsonArray layers;
    for (const LayerInfo& layer : source.layers()) {
        QJsonArray fields;
        for (const FieldInfo& f : layer.fields)
            fields.append(
                QJsonObject{{QStringLiteral("name"), f.name}, {QStringLiteral("text"), f.text}});
        QJsonObject l{{QStringLiteral("name"), layer.name},
                      {QStringLiteral("kind"), KindText(layer.kind)},
                      {QStringLiteral("features"), static_cast<qint64>(layer.featureCount)},
                      {QStringLiteral("fields"), fields}};
        if (const auto c = SuggestFor(source, layer, progress)) {
            l.insert(QStringLiteral("map"), c->kind == GeometryKind::Points
                                                ? QStringLiteral("city")
                                                : QStringLiteral("region"));
            l.insert(QStringLiteral("nameField"), c->fields.nameField);
            l.insert(QStringLiteral("shortField"), c->fields.shortField == c->fields.nameField
                                                       ? QString()
                                                       : c->fields.shortField);
            l.insert(QStringLiteral("projection"), c->projection);
        }
        layers.append(l);
    }
    PrintJson({{QStringLiteral("layers"), layers},
               {QStringLiteral("defaultLayer"), DefaultLayer(source).name},
               {QStringLiteral("source"), source.metadataSource()},
               {QStringLiteral("licence"), source.metadataLicence()}});
}

void ListAdded(const QString& appFolder) {
    const std::vector<AddedMap> maps = LoadAddedMaps(appFolder);
    if (maps.empty())
        Print(QStringLiteral("No maps added in %1").arg(QDir::toNativeSeparators(appFolder)));
    for (const AddedMap& m : maps)
        Print(QStringLiteral("%1\t%2\t%3\t%4")
                  .arg(m.stem,
                       m.kind == AddedMapKind::City ? QStringLiteral("city")
                                                    : QStringLiteral("region"),
                       m.title, m.source));
}

// What adding did, as the command prints it; lists shortened to their first `shown` items.
QString ReportText(const QString& appFolder, const AddedResult& r, qsizetype shown) {
    const bool city = r.map.kind == AddedMapKind::City;
    QString text =
        QStringLiteral("Added %1: a %2 map of %3 %4, as data/%5.map and data/%5.xml in %6\n")
            .arg(Quoted(r.map.title), city ? QStringLiteral("city") : QStringLiteral("region"))
            .arg(r.converted.entries)
            .arg(city ? QStringLiteral("cities") : QStringLiteral("regions"), r.map.stem,
                 QDir::toNativeSeparators(appFolder));
    text +=
        QStringLiteral("Layer %1; name field %2; %3 field %4\n")
            .arg(Quoted(r.plan.layer), Quoted(r.plan.nameField),
                 city ? QStringLiteral("region") : QStringLiteral("short-name"),
                 r.plan.shortField.isEmpty() ? QStringLiteral("none") : Quoted(r.plan.shortField));
    text += QStringLiteral("Projection: %1\n").arg(r.plan.projection);
    text += QStringLiteral("Attribution: %1\n").arg(r.plan.attribution);
    if (!city)
        text += QStringLiteral("Border points after simplifying: %1; movie size: %2 KB\n")
                    .arg(r.converted.arcPoints)
                    .arg((r.converted.movie.size() + 1023) / 1024);
    text += ListText(QStringLiteral("Repaired invalid geometries"), r.converted.repaired, shown);
    text += ListText(QStringLiteral("Names made unique"), r.converted.renamed, shown);
    text += ListText(QStringLiteral("Left out"), r.converted.leftOut, shown);
    text += ListText(QStringLiteral("Kept without a shape (too small to draw)"),
                     r.converted.tooSmall, shown);
    return text;
}

template <typename ProgressT>
AddedResult AddWith(ProgressT& progress, const QString& appFolder, const QString& path,
                    const ImportChoices& choices) {
    try {
        AddedResult r = AddMapFromFile(appFolder, path, choices, std::ref(progress));
        progress.finish();
        return r;
    } catch (...) {
        progress.finish();
        throw;
    }
}

void Add(const QString& appFolder, const QString& path, const ImportChoices& choices) {
    ProgressLine progress;
    const AddedResult r = AddWith(progress, appFolder, path, choices);
    std::fputs(ReportText(appFolder, r, 20).toUtf8().constData(), stdout);
}

void AddJson(const QString& appFolder, const QString& path, const ImportChoices& choices) {
    ProgressJson progress;
    const AddedResult r = AddWith(progress, appFolder, path, choices);
    PrintJson({{QStringLiteral("added"),
                QJsonObject{{QStringLiteral("stem"), r.map.stem},
                            {QStringLiteral("title"), r.map.title},
                            {QStringLiteral("map"), r.map.kind == AddedMapKind::City
                                                        ? QStringLiteral("city")
                                                        : QStringLiteral("region")},
                            {QStringLiteral("entries"), static_cast<qint64>(r.map.entries)},
                            {QStringLiteral("report"), ReportText(appFolder, r, 1000)}}}});
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvane-addmap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Adds a polygon layer (a region map) or a point layer (a city map) of a "
                       "GeoJSON, TopoJSON, Shapefile (also zipped) or GeoPackage file to "
                       "Tolvane's maps. What is not given is suggested from the file."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The file to add."));
    const QCommandLineOption list(QStringLiteral("list"),
                                  QStringLiteral("List the file's layers and fields with the "
                                                 "suggested choices; add nothing."));
    const QCommandLineOption layer(QStringLiteral("layer"),
                                   QStringLiteral("The layer to add (default: the first with "
                                                  "polygons, else points)."),
                                   QStringLiteral("name"));
    const QCommandLineOption nameField(QStringLiteral("name-field"),
                                       QStringLiteral("The field that names each region or city."),
                                       QStringLiteral("field"));
    const QCommandLineOption shortField(
        QStringLiteral("short-field"),
        QStringLiteral("Regions: the field of short names (\"\" for none: the names serve). "
                       "Cities: the field of their region."),
        QStringLiteral("field"));
    const QCommandLineOption projection(
        QStringLiteral("projection"),
        QStringLiteral("A PROJ string, EPSG:code, or \"source\" to keep the file's own "
                       "coordinates (default: an equal-area projection for the extent)."),
        QStringLiteral("projection"));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("The map's name in the map lists (default: "
                                                  "the layer's name)."),
                                   QStringLiteral("text"));
    const QCommandLineOption sourceName(
        QStringLiteral("source-name"),
        QStringLiteral("Who made the data, for the attribution line (default: from the file)."),
        QStringLiteral("text"));
    const QCommandLineOption licence(
        QStringLiteral("licence"),
        QStringLiteral("The data's licence, for the attribution line (default: from the file)."),
        QStringLiteral("text"));
    const QCommandLineOption attribution(
        QStringLiteral("attribution"),
        QStringLiteral("The whole attribution line, instead of source and licence."),
        QStringLiteral("text"));
    const QCommandLineOption appFolder(
        QStringLiteral("app-folder"),
        QStringLiteral("The application folder to add to (default: the program's own)."),
        QStringLiteral("folder"));
    const QCommandLineOption added(QStringLiteral("added"),
                                   QStringLiteral("List the maps added so far."));
    const QCommandLineOption remove(QStringLiteral("remove"),
                                    QStringLiteral("Remove an added map (by the file name stem "
                                                   "--added shows)."),
                                    QStringLiteral("stem"));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("For programs that run this one: with --list or a file to add, print one "
                       "JSON object per line: progress as {\"step\", \"permille\"}, then "
                       "{\"layers\", ...} or {\"added\": {...}}, or {\"error\"} on failure."));
    parser.addOptions({list, layer, nameField, shortField, projection, title, sourceName, licence,
                       attribution, appFolder, added, remove, json});
    parser.process(app);
    std::signal(SIGTERM, AskToStop);
    std::signal(SIGINT, AskToStop);
    const bool asJson = parser.isSet(json);

    const QStringList files = parser.positionalArguments();
    const bool manage = parser.isSet(added) || parser.isSet(remove);
    if ((manage && !files.isEmpty()) || (!manage && files.size() != 1)) {
        Print(QStringLiteral("Give one file to add, or --added, or --remove STEM (see --help)."),
              stderr);
        return 2;
    }
    try {
        const QString folder = parser.isSet(appFolder)
                                   ? WithTrailingSlash(QDir(parser.value(appFolder)).absolutePath())
                                   : FindAppFolder(QCoreApplication::applicationDirPath());
        if (parser.isSet(added)) {
            ListAdded(folder);
        } else if (parser.isSet(remove)) {
            RemoveAddedMap(folder, parser.value(remove));
            Print(QStringLiteral("Removed %1").arg(Quoted(parser.value(remove))));
        } else if (parser.isSet(list)) {
            asJson ? ListLayersJson(files.front()) : ListLayers(files.front());
        } else {
            if (!QFileInfo(folder + QStringLiteral("data")).isDir())
                throw UserError(QStringLiteral("%1 is not an application folder (it has no data "
                                               "folder).")
                                    .arg(QDir::toNativeSeparators(folder)));
            ImportChoices choices;
            choices.layer = parser.value(layer);
            choices.nameField = parser.value(nameField);
            if (parser.isSet(shortField)) choices.shortField = parser.value(shortField);
            choices.projection = parser.value(projection);
            choices.title = parser.value(title);
            choices.sourceName = parser.value(sourceName);
            choices.licence = parser.value(licence);
            choices.attribution = parser.value(attribution);
            asJson ? AddJson(folder, files.front(), choices) : Add(folder, files.front(), choices);
        }
    } catch (const UserError& e) {
        if (asJson)
            PrintJson(
                {{QStringLiteral("error"), e.message()},
                 {QStringLiteral("cancelled"), dynamic_cast<const Cancelled*>(&e) != nullptr}});
        else
            Print(e.message(), stderr);
        return 1;
    }
    return 0;
}
