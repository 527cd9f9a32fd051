#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvane {

// Text files the user moves between machines (options, imported tables): written as UTF-8,
// read as UTF-8 when the bytes are valid UTF-8 (a leading byte order mark is dropped), else
// as Windows-1252, the code page such files were written in before.
QString DecodeText(const QByteArray& bytes);

// The lines of a text, ended by CR LF, LF or a lone CR; a last line without its end counts,
// an empty text has no lines.
QStringList SplitTextLines(const QString& text);

// UTF-8, every line ended by CR LF.
QByteArray EncodeCrLfLines(const QStringList& lines);

} // namespace tolvane
