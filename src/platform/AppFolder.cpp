#include "platform/AppFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tolvane {

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void SeedFolder(const QString& from, const QString& to) {
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        if (QFileInfo::exists(target)) continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(file, target);
        // Installed copies are read-only; the user's copies must be writable.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

QString FindAppFolder(const QString& executableDir) {
    const QString portable = WithTrailingSlash(QDir::cleanPath(executableDir));
    if (QFileInfo(portable + QStringLiteral("data")).isDir()) return portable;

    const QString user =
        WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/tolvane"));
    QStringList installed{QStringLiteral(TOLVANE_INSTALL_SHARE),
                          QDir::cleanPath(executableDir + QStringLiteral("/../share/tolvane"))};
    for (const QString& shared : installed) {
        if (QFileInfo(shared + QStringLiteral("/data")).isDir()) {
            SeedFolder(shared + QStringLiteral("/data"), user + QStringLiteral("data"));
            SeedFolder(shared + QStringLiteral("/help"), user + QStringLiteral("help"));
            break;
        }
    }
    QDir().mkpath(user + QStringLiteral("data"));
    return user;
}

} // namespace tolvane
