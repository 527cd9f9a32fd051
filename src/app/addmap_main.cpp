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
#include <cstdio>
#include <unistd.h>

using namespace tolvane;
using namespace tolvane::mapimport;

namespace {

void Print(const QString& text, FILE* to = stdout) {
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

QString Quoted(const QString& s) {
    return QStringLiteral("“%1”").arg(s);
}

// A long list shortened to its first items.
void PrintList(const QString& heading, const QStringList& items) {
    if (items.isEmpty()) return;
    constexpr qsizetype kShown = 20;
    Print(QStringLiteral("%1 (%2):").arg(heading).arg(items.size()));
    for (qsizetype i = 0; i < std::min(items.size(), kShown); ++i)
        Print(QStringLiteral("  ") + items[i]);
    if (items.size() > kShown) Print(QStringLiteral("  … and %1 more").arg(items.size() - kShown));
}

// Progress on stderr: one line per step and tenth, redrawn in place on a terminal.
class ProgressLine {
public:
    bool operator()(const QString& step, int64_t done, int64_t total) {
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

void ListLayers(const QString& path) {
    OgrSource source(path);
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
        if (layer.kind == GeometryKind::Lines || layer.kind == GeometryKind::None) continue;
        const GeometryKind kind =
            layer.kind == GeometryKind::Points ? GeometryKind::Points : GeometryKind::Polygons;
        const FieldSuggestion s =
            SuggestFields(source.summarizeFields(layer.name, {}), layer.featureCount, kind);
        Print(QStringLiteral("  suggested name field: %1; %2 field: %3")
                  .arg(s.nameField.isEmpty() ? QStringLiteral("none") : s.nameField,
                       kind == GeometryKind::Points ? QStringLiteral("region")
                                                    : QStringLiteral("short-name"),
                       s.shortField.isEmpty() ? QStringLiteral("none") : s.shortField));
        Print(QStringLiteral("  proposed projection: %1").arg(ProposeProjection(layer.extent)));
    }
    const QString source_ = source.metadataSource(), licence = source.metadataLicence();
    if (!source_.isEmpty()) Print(QStringLiteral("Source: %1").arg(source_));
    if (!licence.isEmpty()) Print(QStringLiteral("Licence: %1").arg(licence));
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

void Add(const QString& appFolder, const QString& path, const ImportChoices& choices) {
    ProgressLine progress;
    AddedResult r;
    try {
        r = AddMapFromFile(appFolder, path, choices, std::ref(progress));
    } catch (...) {
        progress.finish();
        throw;
    }
    progress.finish();
    const bool city = r.map.kind == AddedMapKind::City;
    Print(QStringLiteral("Added %1: a %2 map of %3 %4, as data/%5.map and data/%5.xml in %6")
              .arg(Quoted(r.map.title), city ? QStringLiteral("city") : QStringLiteral("region"))
              .arg(r.converted.entries)
              .arg(city ? QStringLiteral("cities") : QStringLiteral("regions"), r.map.stem,
                   QDir::toNativeSeparators(appFolder)));
    Print(
        QStringLiteral("Layer %1; name field %2; %3 field %4")
            .arg(Quoted(r.plan.layer), Quoted(r.plan.nameField),
                 city ? QStringLiteral("region") : QStringLiteral("short-name"),
                 r.plan.shortField.isEmpty() ? QStringLiteral("none") : Quoted(r.plan.shortField)));
    Print(QStringLiteral("Projection: %1").arg(r.plan.projection));
    Print(QStringLiteral("Attribution: %1").arg(r.plan.attribution));
    if (!city)
        Print(QStringLiteral("Border points after simplifying: %1; movie size: %2 KB")
                  .arg(r.converted.arcPoints)
                  .arg((r.converted.movie.size() + 1023) / 1024));
    PrintList(QStringLiteral("Repaired invalid geometries"), r.converted.repaired);
    PrintList(QStringLiteral("Names made unique"), r.converted.renamed);
    PrintList(QStringLiteral("Left out"), r.converted.leftOut);
    PrintList(QStringLiteral("Kept without a shape (too small to draw)"), r.converted.tooSmall);
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
    parser.addOptions({list, layer, nameField, shortField, projection, title, sourceName, licence,
                       attribution, appFolder, added, remove});
    parser.process(app);

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
            ListLayers(files.front());
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
            Add(folder, files.front(), choices);
        }
    } catch (const UserError& e) {
        Print(e.message(), stderr);
        return 1;
    }
    return 0;
}
