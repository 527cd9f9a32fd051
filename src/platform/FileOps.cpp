#include "platform/FileOps.h"

#include "model/UserError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <ctime>
#include <sys/stat.h>

namespace tolvane {

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw UserError(
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason));
    }
}

bool CopyFileReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return false;
    try {
        WriteFileAtomically(to, bytes);
    } catch (const UserError&) {
        return false;
    }
    return true;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw UserError(QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("Cannot read %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UserError(QStringLiteral("Cannot read %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    return bytes;
}

bool FileStamp::settled() const {
    constexpr int64_t kCoarsestStepNs = 2'000'000'000;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return modifiedNs <
           static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec - kCoarsestStepNs;
}

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                     static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace tolvane
