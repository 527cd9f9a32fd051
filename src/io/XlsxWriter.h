#pragma once

#include "io/Sheet.h"

#include <QString>

namespace tolvane {

// Writes a sheet as an .xlsx workbook with one sheet. A text that is a number in the
// general number format ("12.5", "-3", "1E20") is written as that number, so the
// spreadsheet can compute with it; any other text ("007", "1,5", "12.50") as text, so that
// reading the file back gives every text unchanged. Throws UserError.
void WriteXlsx(const Sheet& sheet, const QString& path);

} // namespace tolvane
