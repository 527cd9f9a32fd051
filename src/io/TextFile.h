#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tolvane {

// Lines of the text files the user moves between machines (options files). They are read
// with DecodeText (io/TextDecode.h) and written as UTF-8.

// The lines of a text, ended by CR LF, LF or a lone CR; a last line without its end counts,
// an empty text has no lines.
QStringList SplitTextLines(const QString& text);

// UTF-8, every line ended by CR LF.
QByteArray EncodeCrLfLines(const QStringList& lines);

} // namespace tolvane
