#include "model/GridClipboard.h"

#include <algorithm>

namespace tolvane {

namespace {

constexpr int kNameColumn = 1;
constexpr int kKeyColumn = 2;
constexpr int kDataColorColumn = 4;
constexpr int kLegendColorColumn = 2;
constexpr int kMaxCellChars = 200;

QString ColourText(int32_t platform) {
    return QStringLiteral("#%1%2%3")
        .arg(platform & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((platform >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((platform >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

bool Passes(const QString& value, int col, int row, const CellFilter& allows) {
    if (value.size() > kMaxCellChars) return false;
    QString sofar;
    for (const QChar c : value) {
        if (allows && !allows(c, sofar, col, row)) return false;
        sofar += c;
    }
    return true;
}

} // namespace

TextTable ParseTextTable(const QString& text) {
    TextTable table;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool cellStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
            continue;
        }
        if (c == u'"' && !cellStarted) {
            quoted = true;
            cellStarted = true;
        } else if (c == u'\t') {
            row << cell;
            cell.clear();
            cellStarted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            row << cell;
            table.push_back(row);
            row.clear();
            cell.clear();
            cellStarted = false;
        } else {
            cell += c;
            cellStarted = true;
        }
    }
    if (cellStarted || !row.isEmpty()) { // the last line needs no line end
        row << cell;
        table.push_back(row);
    }
    return table;
}

namespace {

// Columns no row may be typed into (names, colours) are passed over, so that a block of
// two columns fills Data and Size (or Shade) as the user sees them side by side.
std::vector<int> ValueColumns(const GridData& grid, int from, int firstRow) {
    std::vector<int> columns;
    for (int col = from; col < grid.colCount(); ++col) {
        bool editable = false;
        for (int row = firstRow; row < grid.rowCount() && !editable; ++row)
            editable = !grid.readOnly(col, row);
        if (editable || col == from) columns.push_back(col);
    }
    return columns;
}

} // namespace

PasteOutcome PasteTable(GridData& grid, int col, int row, const TextTable& table,
                        const CellFilter& allows) {
    PasteOutcome outcome;
    const std::vector<int> columns = ValueColumns(grid, col, row);
    GridUpdate update(grid);
    for (size_t r = 0; r < table.size(); ++r) {
        const int target = row + static_cast<int>(r);
        if (target >= grid.rowCount()) {
            outcome.beyondLastRow = static_cast<int>(table.size() - r);
            break;
        }
        bool skipped = false;
        for (qsizetype c = 0; c < table[r].size(); ++c) {
            const auto at = static_cast<size_t>(c);
            const int targetCol = at < columns.size() ? columns[at] : -1;
            const QString value = table[r][c].trimmed();
            if (!grid.contains(targetCol, target) || grid.readOnly(targetCol, target) ||
                !Passes(value, targetCol, target, allows)) {
                skipped = true;
                continue;
            }
            grid.setText(targetCol, target, value);
            ++outcome.pasted;
        }
        if (skipped) outcome.skippedRows << grid.text(kNameColumn, target);
    }
    return outcome;
}

QString CopyTable(const GridData& grid, int left, int top, int right, int bottom, bool dataGrid) {
    const int colorColumn = dataGrid ? kDataColorColumn : kLegendColorColumn;
    const int firstItemRow = dataGrid ? 2 : 1;
    QStringList lines;
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        if (dataGrid)
            for (int col : {kNameColumn, kKeyColumn})
                if (col < left && grid.contains(col, row)) cells << grid.text(col, row);
        for (int col = left; col <= right; ++col) {
            const bool colour = col == colorColumn && row >= firstItemRow;
            cells << (colour ? ColourText(grid.color(col, row)) : grid.text(col, row));
        }
        lines << cells.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace tolvane
