#pragma once

#include "model/GridData.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tolvane {

// Tables copied from a spreadsheet program or a web page arrive as text: cells separated by
// tabs, rows by line ends; a cell holding a tab, a line end or a quote is quoted.
using TextTable = std::vector<QStringList>;
TextTable ParseTextTable(const QString& text);

// Whether a typed character may join a cell's text: the grid's key filter.
using CellFilter = std::function<bool(QChar typed, const QString& text, int col, int row)>;

struct PasteOutcome {
    int pasted = 0;          // cells that took a value
    QStringList skippedRows; // names (column 1) of rows where a cell kept its text
    int beyondLastRow = 0;   // rows of the table below the grid's last row
};

// Pastes `table` with its top left cell at (col, row), row by row downwards; further
// columns of the table go to the next columns that can be typed into (Data, then Size or
// Shade). A cell takes its value only when it is editable and every character passes the
// filter, exactly as if it had been typed; any other cell keeps its text. Values are
// trimmed first.
PasteOutcome PasteTable(GridData& grid, int col, int row, const TextTable& table,
                        const CellFilter& allows);

// The cells of columns left .. right and rows top .. bottom as tab-separated lines. In a
// data grid each row is led by its name and short name (columns 1 and 2) when the block
// does not hold them. A colour cell (column 4 of a data grid, 2 of a legend grid) gives
// its colour as #rrggbb.
QString CopyTable(const GridData& grid, int left, int top, int right, int bottom, bool dataGrid);

} // namespace tolvane
