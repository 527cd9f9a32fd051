#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tolvane::test {

TempAppFolder::TempAppFolder() {
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    QDir(dir_.path()).mkpath(QStringLiteral("help"));
}

QString TempAppFolder::path() const {
    return dir_.path() + u'/';
}

void TempAppFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString full = path() + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray TempAppFolder::read(const QString& relative) const {
    QFile f(path() + relative);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempAppFolder::exists(const QString& relative) const {
    return QFileInfo::exists(path() + relative);
}

void TempAppFolder::copyShipped(const QString& name) const {
    QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/data/") + name, dataPath(name));
}

void TempAppFolder::copyShippedMaps(const QStringList& stems) const {
    for (const QString& stem : stems) {
        copyShipped(stem + QStringLiteral(".xml"));
        copyShipped(stem + QStringLiteral(".map"));
    }
    copyShipped(QStringLiteral("cmap1.map"));
}

} // namespace tolvane::test
