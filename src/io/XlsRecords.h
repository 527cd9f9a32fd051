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

// `stream` up to its first record that runs past its end or is longer than Excel writes:
// FreeXL copies such a record with the length it gives, past its buffers.
QByteArray WholeXlsRecords(const QByteArray& stream);

// Whether every text FreeXL reads lies within its record: those of the shared string table
// (as many as it says it holds, across its CONTINUE records), of number formats, sheet
// names and text cells; and whether each sheet size is whole. FreeXL copies them with the
// lengths they give.
bool XlsTextsFit(const QByteArray& stream);

} // namespace tolvane
