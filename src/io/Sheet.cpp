#include "io/Sheet.h"

namespace tolvane {

const QString& Sheet::cells(int row, int col) const {
    static const QString empty;
    if (row < 1 || row > rowCount() || col < 1) return empty;
    const auto& cells = rows_[static_cast<size_t>(row - 1)];
    return col > static_cast<int>(cells.size()) ? empty : cells[static_cast<size_t>(col - 1)];
}

bool Sheet::rowEmpty(int row) const {
    if (row < 1 || row > rowCount()) return true;
    return rows_[static_cast<size_t>(row - 1)].empty();
}

void Sheet::setCells(int row, int col, const QString& text) {
    if (text.isEmpty() || row < 1 || row > kMaxRows || col < 1 || col > maxCols_) return;
    if (row > rowCount()) rows_.resize(static_cast<size_t>(row));
    auto& cells = rows_[static_cast<size_t>(row - 1)];
    if (col > static_cast<int>(cells.size())) cells.resize(static_cast<size_t>(col));
    cells[static_cast<size_t>(col - 1)] = text;
}

} // namespace tolvane
