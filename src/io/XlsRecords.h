#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace tolvane {

struct XlsCell {
    int row; // from 1
    int col; // from 1
    QString text;
};

// The cells of an .xls workbook's first worksheet that FreeXL leaves out: formulas by
// their cached value (numbers in the general number format, texts, TRUE/FALSE, error
// codes) and texts in the older rich-string record that Gnumeric writes. `workbook` is the
// compound file's "Workbook" stream; only Excel 97 and later (BIFF8) workbooks are read,
// anything else gives no cells.
std::vector<XlsCell> XlsCellsBeyondFreeXl(const QByteArray& workbook);

} // namespace tolvane
