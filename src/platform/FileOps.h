#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

// What tells one content of a file from another without reading it: the file itself
// (device and inode), its size and its modification time. The program replaces files by
// renaming a new one over them, which makes another file; one written in place gets
// another time. Hard links to one file share its stamp.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
    // Whether the stamp names the file's content. File systems keep times in coarse steps
    // (up to two seconds), and a file written just now may be replaced within the same step
    // by another of the same size that gets the same inode and time; a file older than a
    // step cannot. Nor can one this program wrote: it gets a time to the nanosecond that no
    // other write gets (see WriteFileAtomically).
    bool namesContent() const;
};
// None when the file cannot be looked at.
std::optional<FileStamp> StampOf(const QString& path);

// Writes through a temporary file in the same folder, flushed to the disk and renamed over
// the target, so a failed or interrupted write (a full disk, a killed process) leaves the
// old file whole. A write-protected target is refused. Throws UserError naming the file and
// the system's reason ("No space left on device"). Returns the stamp of what it wrote (none
// when the file system could not tell it).
// Files this program writes are dated to the nanosecond, each later than the one before,
// which a write by the coarse clock of the system does not match: their stamps name their
// content at once, without waiting for the clock to move on.
std::optional<FileStamp> WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Several files replaced as one: every new content is written out first, and only when all
// are on the disk are they renamed over their targets. When a rename fails, the targets
// already replaced get their old contents back. Throws UserError; on failure no target has
// changed.
struct FileContent {
    QString path;
    QByteArray bytes;
    // Instead of bytes: the file whose content `path` gets. Where the file system allows,
    // `path` becomes a link to it (nothing is copied); when it is that file already,
    // nothing is done at all.
    QString sameAs;
};
enum class Durability {
    Flushed, // on the disk before it replaces the old file: a crash leaves one of the two
    // Made again from other files before anything reads it (staged files): not waited for,
    // since a crash can only lose what the next load writes anew.
    Rebuilt,
};
void ReplaceFilesTogether(const std::vector<FileContent>& files,
                          Durability durability = Durability::Flushed);

// Copies a file over another (atomically). Throws UserError, changing nothing, when the
// source cannot be read or the target cannot be written.
void CopyFileAtomically(const QString& from, const QString& to);
// The same, telling failure by false instead of the reason.
bool CopyFileReplacing(const QString& from, const QString& to);

// Reads a whole file; throws UserError ("File not found: ...") when it cannot.
QByteArray ReadWholeFile(const QString& path);

} // namespace tolvane
