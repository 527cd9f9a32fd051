#pragma once

#include "io/ReadProgress.h"
#include "io/Sheet.h"

#include <QString>
#include <memory>

namespace tolvane {

// Reads the first sheet of a workbook file, as a spreadsheet program opening it shows it:
// texts as typed, numbers in the general number format, formula cells by the value last
// computed, dates and times as the file stores them, empty cells as "".
class SheetReader {
public:
    virtual ~SheetReader() = default;
    // Columns 1 .. maxCols of the first sheet. Throws UserError saying why the file cannot
    // be read (a phrase such as "the file is damaged (...)"), ReadCancelled when cancelled.
    virtual Sheet read(const QString& path, int maxCols, ReadProgress* progress) const = 0;
};

// Whether a file is read as a spreadsheet (.xls, .xlsx, .xlsm, .ods, .csv), by its own
// extension; other files are text files.
bool IsSheetFile(const QString& path);

// The reader for a spreadsheet file. A workbook saved under another workbook extension
// (an .xlsx named .xls) is still read by what its content is.
std::unique_ptr<SheetReader> SheetReaderFor(const QString& path);

// Files larger than this are refused before they are read.
inline constexpr long long kMaxImportFileSize = 256LL * 1024 * 1024;

// The whole file, or UserError saying why it cannot be read.
QByteArray ReadFileBytes(const QString& path);

} // namespace tolvane
