#include "platform/AppFolder.h"

#include "BuildInfo.h"
#include "model/UserError.h"
#include "platform/FileOps.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tolvane {

namespace {

// What a file of the user's folder was seeded from: the installed copy's size and time, which
// tell cheaply whether it changed since, and the content's hash ("-" for a file the user
// changed or made, which is kept from then on).
struct Seeded {
    QString stamp;
    QByteArray hash;
};
const QByteArray kUsersOwn = QByteArrayLiteral("-");

QString StampOf(const QFileInfo& file) {
    return QString::number(file.size()) + u':' +
           QString::number(file.lastModified().toMSecsSinceEpoch());
}

QByteArray HashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// One line per file: relative path, stamp and hash separated by tabs.
QHash<QString, Seeded> ReadRecord(const QString& path) {
    QHash<QString, Seeded> record;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return record;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
        if (fields.size() == 3)
            record.insert(QString::fromUtf8(fields[0]), {QString::fromUtf8(fields[1]), fields[2]});
    }
    return record;
}

void WriteRecord(const QString& path, const QHash<QString, Seeded>& record) {
    QStringList names = record.keys();
    names.sort();
    QByteArray text;
    for (const QString& name : names) {
        const Seeded& s = record[name];
        text += name.toUtf8() + '\t' + s.stamp.toUtf8() + '\t' + s.hash + '\n';
    }
    WriteFileAtomically(path, text);
}

QString UserFolder() {
    return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/tolvane"));
}

[[noreturn]] void CannotUse(const QString& folder, const QString& reason) {
    throw UserError(
        QStringLiteral("Tolvane cannot write to its folder %1 (%2).\n\nYour charts and options "
                       "are kept there, so Tolvane cannot start. Nothing in the folder was "
                       "changed. Make the folder writable, or free some space, and start "
                       "Tolvane again.")
            .arg(QDir::toNativeSeparators(folder), reason));
}

// Every chart, staged file and option the program writes goes into data/.
void EnsureWritable(const QString& appFolder) {
    const QString data = appFolder + QStringLiteral("data");
    if (!QDir().mkpath(data)) CannotUse(appFolder, QStringLiteral("it cannot be created"));
    QTemporaryFile probe(data + QStringLiteral("/.write-test-XXXXXX"));
    if (!probe.open()) CannotUse(appFolder, probe.errorString());
}

// A first start copies the whole installed folder: written under a temporary name and
// renamed into place, but without a disk sync per file, which would cost seconds. The
// record, written last and synced, lists only files whose copy completed.
void CopyNew(const QByteArray& bytes, const QString& to) {
    QDir().mkpath(QFileInfo(to).absolutePath());
    const QString part = to + QStringLiteral(".part");
    QFile out(part);
    const bool written = out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         out.write(bytes) == bytes.size() && out.flush();
    const QString reason = out.errorString();
    out.close();
    if (!written || !QFile::rename(part, to)) {
        QFile::remove(part);
        throw UserError(
            QStringLiteral("Cannot write %1: %2")
                .arg(QDir::toNativeSeparators(to), written ? out.errorString() : reason));
    }
}

} // namespace

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void SeedFolder(const QString& from, const QString& to, const QString& record) {
    QHash<QString, Seeded> seeded =
        record.isEmpty() ? QHash<QString, Seeded>{} : ReadRecord(record);
    bool changed = false;
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo shipped(it.next());
        const QString name = source.relativeFilePath(shipped.filePath());
        const QString target = QDir(to).filePath(name);
        const QString stamp = StampOf(shipped);
        const auto known = seeded.constFind(name);
        const bool present = QFileInfo::exists(target);
        if (present && (record.isEmpty() || (known != seeded.cend() && known->stamp == stamp)))
            continue; // nothing new since the last start
        const QByteArray bytes = ReadWholeFile(shipped.filePath());
        const QByteArray hash = HashOf(bytes);
        QByteArray kept = hash;
        if (!present) {
            CopyNew(bytes, target);
        } else if (const QByteArray mine = HashOf(ReadWholeFile(target)); mine != hash) {
            // A new installed copy (or a file from before the record): the user's copy is
            // replaced only if it is still what was seeded.
            if (known != seeded.cend() && known->hash == mine)
                WriteFileAtomically(target, bytes);
            else
                kept = kUsersOwn;
        }
        seeded.insert(name, {stamp, kept});
        changed = true;
    }
    if (changed && !record.isEmpty()) WriteRecord(record, seeded);
}

QString FindAppFolder(const QString& executableDir) {
    const QString portable = WithTrailingSlash(QDir::cleanPath(executableDir));
    if (QFileInfo(portable + QStringLiteral("data")).isDir()) {
        EnsureWritable(portable);
        return portable;
    }
    const QString user = UserFolder();
    const QString shared =
        QDir::cleanPath(executableDir + u'/' + QStringLiteral(TOLVANE_SHARE_FROM_BIN));
    if (!QDir().mkpath(user)) CannotUse(user, QStringLiteral("it cannot be created"));
    try {
        if (QFileInfo(shared + QStringLiteral("/data")).isDir())
            SeedFolder(shared, user, user + QStringLiteral(".seeded"));
    } catch (const UserError& e) {
        CannotUse(user, e.message());
    }
    EnsureWritable(user);
    return user;
}

} // namespace tolvane
