#pragma once

#include <QString>

namespace tolvane::mapimport {

// A text from a file: UTF-8 when it is valid UTF-8, else Windows-1252 (old shapefiles
// without a code page file).
QString DecodeText(const char* bytes);

} // namespace tolvane::mapimport
