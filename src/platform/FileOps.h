#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Writes through a temporary file in the same folder renamed over the target, so a failed
// or interrupted write leaves the old file whole. Throws UserError with a readable message.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Copies a file over another (atomically). Returns false, changing nothing, when the source
// cannot be read or the target cannot be written.
bool CopyFileReplacing(const QString& from, const QString& to);

// Reads a whole file; throws UserError ("File not found: ...") when it cannot.
QByteArray ReadWholeFile(const QString& path);

} // namespace tolvane
