#include "charts/AddedMaps.h"

#include "model/UserError.h"
#include "platform/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace tolvane {

namespace {

QString DataFolder(const QString& appFolder) {
    return appFolder + QStringLiteral("data/");
}

QString ListPath(const QString& appFolder) {
    return DataFolder(appFolder) + QStringLiteral("addedmaps.xml");
}

QString KindText(AddedMapKind kind) {
    return kind == AddedMapKind::City ? QStringLiteral("city") : QStringLiteral("region");
}

// Every entry of the list file, whether its files exist or not.
std::vector<AddedMap> ReadList(const QString& appFolder) {
    std::vector<AddedMap> maps;
    if (!QFileInfo::exists(ListPath(appFolder))) return maps;
    const XmlReader reader = XmlReader::load(ListPath(appFolder));
    for (const XmlInElement entry : reader.root()) {
        if (!entry.is("map")) continue;
        AddedMap map;
        QString kind;
        for (const XmlInElement field : entry) {
            if (field.is("stem"))
                map.stem = field.text();
            else if (field.is("title"))
                map.title = field.text();
            else if (field.is("kind"))
                kind = field.text();
            else if (field.is("source"))
                map.source = field.text();
            else if (field.is("entries"))
                map.entries = std::max<qlonglong>(field.text().toLongLong(), 0);
        }
        if (map.stem.isEmpty() || (kind != u"region" && kind != u"city")) continue;
        map.kind = kind == u"city" ? AddedMapKind::City : AddedMapKind::Region;
        if (map.title.isEmpty()) map.title = map.stem;
        maps.push_back(std::move(map));
    }
    return maps;
}

void WriteList(const QString& appFolder, const std::vector<AddedMap>& maps) {
    XmlWriter writer;
    XmlOutElement root = writer.createRoot("addedmaps");
    int id = 0;
    for (const AddedMap& map : maps) {
        XmlOutElement e = root.addChild("map");
        e.setId(++id);
        e.addText("stem", map.stem);
        e.addText("title", map.title);
        e.addText("kind", KindText(map.kind));
        e.addText("source", map.source);
        if (map.entries > 0) e.addText("entries", QString::number(map.entries));
    }
    writer.save(ListPath(appFolder));
}

// Stems of files the program itself writes into data/, which a map must never take.
const QSet<QString>& ReservedStems() {
    static const QSet<QString> stems{
        QStringLiteral("cmap"),      QStringLiteral("cmap1"),      QStringLiteral("province"),
        QStringLiteral("city"),      QStringLiteral("rc"),         QStringLiteral("chartflag1"),
        QStringLiteral("flag1"),     QStringLiteral("flag2"),      QStringLiteral("flag3"),
        QStringLiteral("addedmaps"), QStringLiteral("lastoption"), QStringLiteral("countrycodes")};
    return stems;
}

QString SafeFileStem(const QString& title) {
    QString stem;
    for (const QChar c : title.simplified()) {
        const bool bad =
            c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
        stem.append(bad ? QChar(u'_') : c);
    }
    while (stem.startsWith(u'.') || stem.startsWith(u' '))
        stem.remove(0, 1);
    stem = stem.left(80).trimmed();
    return stem.isEmpty() ? QStringLiteral("Map") : stem;
}

void RemoveQuietly(const QString& path) {
    QFile::remove(path);
}

} // namespace

std::vector<AddedMap> LoadAddedMaps(const QString& appFolder) {
    std::vector<AddedMap> maps = ReadList(appFolder);
    const QString data = DataFolder(appFolder);
    std::erase_if(maps, [&](const AddedMap& m) {
        return !QFileInfo(data + m.stem + QStringLiteral(".map")).isFile() ||
               !QFileInfo(data + m.stem + QStringLiteral(".xml")).isFile();
    });
    return maps;
}

QString ChooseMapStem(const QString& appFolder, const QString& title) {
    QSet<QString> taken = ReservedStems();
    for (const QFileInfo& f :
         QDir(DataFolder(appFolder)).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        taken.insert(f.completeBaseName().toLower());
    for (const AddedMap& m : ReadList(appFolder))
        taken.insert(m.stem.toLower());
    const QString base = SafeFileStem(title);
    QString stem = base;
    for (int n = 2; taken.contains(stem.toLower()); ++n)
        stem = base + QStringLiteral(" %1").arg(n);
    return stem;
}

void AddMapFiles(const QString& appFolder, const AddedMap& map, const QByteArray& movie,
                 const QByteArray& chart) {
    const QString data = DataFolder(appFolder);
    const QString moviePath = data + map.stem + QStringLiteral(".map");
    const QString chartPath = data + map.stem + QStringLiteral(".xml");
    if (map.stem.isEmpty() || QFileInfo::exists(moviePath) || QFileInfo::exists(chartPath))
        throw UserError(QStringLiteral("A map named “%1” exists already.").arg(map.stem));
    std::vector<AddedMap> maps = ReadList(appFolder); // a damaged list stops here
    maps.push_back(map);

    const auto fail = [](const QString& path, const QString& why) {
        return UserError(
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), why));
    };
    QSaveFile movieFile(moviePath), chartFile(chartPath);
    if (!movieFile.open(QIODevice::WriteOnly) || movieFile.write(movie) != movie.size())
        throw fail(moviePath, movieFile.errorString());
    if (!chartFile.open(QIODevice::WriteOnly) || chartFile.write(chart) != chart.size())
        throw fail(chartPath, chartFile.errorString());
    if (!movieFile.commit()) throw fail(moviePath, movieFile.errorString());
    if (!chartFile.commit()) {
        RemoveQuietly(moviePath);
        throw fail(chartPath, chartFile.errorString());
    }
    try {
        WriteList(appFolder, maps);
    } catch (const UserError&) {
        RemoveQuietly(moviePath);
        RemoveQuietly(chartPath);
        throw;
    }
}

void RemoveAddedMap(const QString& appFolder, const QString& stem) {
    std::vector<AddedMap> maps = ReadList(appFolder);
    const auto it =
        std::find_if(maps.begin(), maps.end(), [&](const AddedMap& m) { return m.stem == stem; });
    if (it == maps.end())
        throw UserError(
            QStringLiteral("“%1” is not a map you added, so it cannot be removed.").arg(stem));
    maps.erase(it);
    WriteList(appFolder, maps);
    const QString data = DataFolder(appFolder);
    QStringList left;
    for (const QString& ext : {QStringLiteral(".map"), QStringLiteral(".xml")}) {
        const QString path = data + stem + ext;
        if (QFileInfo::exists(path) && !QFile::remove(path)) left << QDir::toNativeSeparators(path);
    }
    if (!left.isEmpty())
        throw UserError(
            QStringLiteral("“%1” is off the map list, but these files could not be deleted: %2")
                .arg(stem, left.join(QStringLiteral(", "))));
}

} // namespace tolvane
