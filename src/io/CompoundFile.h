#pragma once

#include <QByteArray>
#include <optional>

namespace tolvane {

// One stream of a compound document file, the container of .xls workbooks (the workbook
// itself is its "Workbook" stream). Nothing when the bytes are no such file or lack the
// stream. Read with libgsf.
std::optional<QByteArray> ReadCompoundStream(const QByteArray& file, const char* name);

// Whether every entry of the file's directory, followed from its header through the
// allocation table, gives its name a length that fits the entry (64 bytes at most). FreeXL
// converts the names with the lengths as they stand, reading past its own buffer on a file
// that lies. True for bytes that are no compound document: they are refused elsewhere.
bool CompoundDirectoryNamesFit(const QByteArray& file);

} // namespace tolvane
