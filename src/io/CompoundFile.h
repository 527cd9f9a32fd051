#pragma once

#include <QByteArray>
#include <optional>

namespace tolvane {

// One stream of a compound document file, the container of .xls workbooks (the workbook
// itself is its "Workbook" stream). Nothing when the bytes are no such file or lack the
// stream. Read with libgsf.
std::optional<QByteArray> ReadCompoundStream(const QByteArray& file, const char* name);

// The bytes of a compound document file that holds `stream` under `name` and nothing else,
// laid out by libgsf. Nothing if it cannot be written.
std::optional<QByteArray> WriteCompoundFile(const char* name, const QByteArray& stream);

} // namespace tolvane
