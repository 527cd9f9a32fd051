#include "platform/FileOps.h"

#include "model/UserError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace {

[[noreturn]] void ThrowWriteError(const QString& path, int error) {
    throw UserError(
        QStringLiteral("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(strerror(error))));
}

mode_t ProcessUmask() {
    static const mode_t mask = [] {
        const mode_t m = umask(0);
        umask(m);
        return m;
    }();
    return mask;
}

// A symbolic link is written through: the file it points to is replaced, the link stays.
QString ResolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? path : target;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

FileStamp StampOf(const struct stat& st) {
    return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                     static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

int64_t NowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The stamps of the files this program wrote lately, dated each to a nanosecond of its own.
struct WrittenStamps {
    std::mutex mutex;
    int64_t lastNs = 0;
    std::deque<FileStamp> stamps; // most recent last
};

WrittenStamps& Written() {
    static WrittenStamps written;
    return written;
}

// Dates a file just written to the nanosecond, later than any file written before, and
// notes its stamp when the file system keeps such a time (one of coarse times does not).
std::optional<FileStamp> DateWritten(int fd) {
    WrittenStamps& written = Written();
    std::lock_guard lock(written.mutex);
    const int64_t ns = std::max(NowNs(), written.lastNs + 1);
    written.lastNs = ns;
    const timespec time{static_cast<time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
    const timespec times[2] = {time, time};
    const bool dated = ::futimens(fd, times) == 0;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    const FileStamp stamp = StampOf(st);
    if (dated && stamp.modifiedNs == ns) {
        written.stamps.push_back(stamp);
        // Older ones are settled by the time they are looked at again.
        if (written.stamps.size() > 256) written.stamps.pop_front();
    }
    return stamp;
}

// The new contents in a temporary file beside `target` (on the disk when `flush`). Returns
// its path, and its stamp in `stamp`.
QByteArray WriteTemporary(const QString& target, const QByteArray& bytes, bool flush = true,
                          std::optional<FileStamp>* stamp = nullptr) {
    const QByteArray native = QFile::encodeName(target);
    struct stat old {};
    const bool exists = ::stat(native.constData(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && ::access(native.constData(), W_OK) != 0)
        ThrowWriteError(target, errno); // write-protected: the user's way to keep a file

    QByteArray temp = native + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) ThrowWriteError(target, errno);
    const mode_t mode =
        exists && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : (0666 & ~ProcessUmask());
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
    if (ok) {
        const std::optional<FileStamp> written = DateWritten(fd);
        if (stamp) *stamp = written;
    }
    ok = ok && (!flush || ::fsync(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        ThrowWriteError(target, error);
    }
    return temp;
}

void Rename(const QByteArray& temp, const QString& target) {
    if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        ThrowWriteError(target, error);
    }
}

} // namespace

std::optional<FileStamp> WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    const QString target = ResolvedTarget(path);
    std::optional<FileStamp> stamp;
    Rename(WriteTemporary(target, bytes, true, &stamp), target);
    return stamp;
}

namespace {

// A hard link to `source` under a free name beside `target`; empty when the file system
// cannot link (another disk, a file system without links).
QByteArray LinkTemporary(const QString& target, const QString& source) {
    const QByteArray from = QFile::encodeName(source);
    for (int attempt = 0; attempt < 20; ++attempt) {
        // mkstemp finds a free name; the link takes it. Another process taking it in
        // between makes the link fail with EEXIST, and the next name is tried.
        QByteArray temp = QFile::encodeName(target) + ".XXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) return {};
        ::close(fd);
        ::unlink(temp.constData());
        if (::link(from.constData(), temp.constData()) == 0) return temp;
        if (errno != EEXIST) return {};
    }
    return {};
}

bool Writable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// Whether a file is meant to be written: its owner may (whoever runs the program).
bool OwnerMayWrite(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & S_IWUSR);
}

} // namespace

void ReplaceFilesTogether(const std::vector<FileContent>& files, Durability durability) {
    const bool flush = durability == Durability::Flushed;
    struct Staged {
        QString target;
        QByteArray temp;
        QByteArray backup;             // a link to the old file, to put back
        std::optional<QByteArray> old; // without a link: its contents (none: no file)
    };
    std::vector<Staged> staged;
    const auto removeTemps = [&staged](size_t from) {
        for (size_t i = from; i < staged.size(); ++i)
            ::unlink(staged[i].temp.constData());
    };
    const auto removeBackups = [&staged] {
        for (const Staged& s : staged)
            if (!s.backup.isEmpty()) ::unlink(s.backup.constData());
    };
    try {
        for (const FileContent& f : files) {
            Staged s;
            s.target = ResolvedTarget(f.path);
            const bool exists = QFileInfo(s.target).isFile();
            if (!f.sameAs.isEmpty()) {
                const std::optional<FileStamp> source = StampOf(f.sameAs);
                if (source && StampOf(s.target) == source) continue; // it is that file already
                if (exists && !Writable(s.target)) ThrowWriteError(s.target, errno);
                // A link costs no copy; a read-only file is copied, or the link would make
                // the target read-only too.
                if (source && OwnerMayWrite(f.sameAs)) s.temp = LinkTemporary(s.target, f.sameAs);
                if (s.temp.isEmpty())
                    s.temp = WriteTemporary(s.target, ReadWholeFile(f.sameAs), flush);
            } else {
                s.temp = WriteTemporary(s.target, f.bytes, flush);
            }
            // The old file is kept by a second link, not by reading it.
            if (exists) {
                s.backup = LinkTemporary(s.target, s.target);
                if (s.backup.isEmpty()) s.old = ReadWholeFile(s.target);
            }
            staged.push_back(std::move(s));
        }
    } catch (const UserError&) {
        removeTemps(0);
        removeBackups();
        throw;
    }
    for (size_t i = 0; i < staged.size(); ++i) {
        try {
            Rename(staged[i].temp, staged[i].target);
        } catch (const UserError&) {
            removeTemps(i + 1);
            for (size_t k = 0; k < i; ++k) {
                const Staged& done = staged[k];
                try {
                    if (!done.backup.isEmpty())
                        Rename(done.backup, done.target);
                    else if (done.old)
                        WriteFileAtomically(done.target, *done.old);
                    else
                        QFile::remove(done.target);
                } catch (const UserError&) {
                    // The first failure is the one to report.
                }
            }
            removeBackups();
            throw;
        }
    }
    removeBackups();
}

void CopyFileAtomically(const QString& from, const QString& to) {
    WriteFileAtomically(to, ReadWholeFile(from));
}

bool CopyFileReplacing(const QString& from, const QString& to) {
    try {
        CopyFileAtomically(from, to);
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

bool FileStamp::namesContent() const {
    constexpr int64_t kCoarsestStepNs = 2'000'000'000;
    if (modifiedNs < NowNs() - kCoarsestStepNs) return true;
    WrittenStamps& written = Written();
    std::lock_guard lock(written.mutex);
    return std::find(written.stamps.begin(), written.stamps.end(), *this) != written.stamps.end();
}

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return StampOf(st);
}

} // namespace tolvane
