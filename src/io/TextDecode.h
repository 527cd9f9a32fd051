#pragma once

#include <QByteArray>
#include <QString>

namespace tolvane {

// Text files are UTF-8 when they are valid UTF-8 (a byte order mark is dropped), else
// Windows-1252, the code page older programs of this kind wrote.
QString DecodeText(const QByteArray& bytes);

} // namespace tolvane
