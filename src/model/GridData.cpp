#include "model/GridData.h"

#include <algorithm>
#include <atomic>

namespace tolvane {

GridData::GridData(int colCount, int rowCount) {
    setColCount(colCount);
    setRowCount(rowCount);
}

uint64_t GridData::Id::Next() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

void GridData::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows == rows_) return;
    if (recorder_) recorder_->shapeChanging(*this);
    cells_.resize(static_cast<size_t>(rows * cols_));
    rows_ = rows;
    // Rows kept keep their revisions: a refill that adds a row leaves the others as read.
    rowRevisions_.resize(static_cast<size_t>(rows), revision_ + 1);
    notify(Change::Layout);
}

void GridData::setColCount(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) return;
    if (recorder_) recorder_->shapeChanging(*this);
    std::vector<GridCell> cells(static_cast<size_t>(rows_ * cols));
    const int keep = std::min(cols, cols_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < keep; ++c)
            cells[static_cast<size_t>(r * cols + c)] = std::move(at(c, r));
    cells_ = std::move(cells);
    cols_ = cols;
    std::fill(rowRevisions_.begin(), rowRevisions_.end(), revision_ + 1);
    notify(Change::Layout);
}

bool GridData::contains(int col, int row) const {
    return col >= 0 && row >= 0 && col < cols_ && row < rows_;
}

const GridCell& GridData::cell(int col, int row) const {
    static const GridCell outside;
    if (!contains(col, row)) return outside;
    return cells_[static_cast<size_t>(row * cols_ + col)];
}

void GridData::setText(int col, int row, const QString& text) {
    if (!contains(col, row) || at(col, row).text == text) return;
    if (recorder_) recorder_->cellChanging(*this, col, row);
    at(col, row).text = text;
    notify(Change::Cell, col, row);
}

void GridData::setColor(int col, int row, int32_t color) {
    if (!contains(col, row) || at(col, row).color == color) return;
    if (recorder_) recorder_->cellChanging(*this, col, row);
    at(col, row).color = color;
    notify(Change::Cell, col, row);
}

void GridData::setReadOnly(int col, int row, bool readOnly) {
    if (!contains(col, row) || at(col, row).readOnly == readOnly) return;
    if (recorder_) recorder_->cellChanging(*this, col, row);
    at(col, row).readOnly = readOnly;
    notify(Change::Cell, col, row);
}

void GridData::setCell(int col, int row, GridCell cell) {
    if (!contains(col, row) || at(col, row) == cell) return;
    if (recorder_) recorder_->cellChanging(*this, col, row);
    at(col, row) = std::move(cell);
    notify(Change::Cell, col, row);
}

template <typename Text>
void GridData::putCell(int col, int row, const Text& text, int32_t color, bool readOnly) {
    if (!contains(col, row)) return;
    const GridCell& now = at(col, row);
    if (now.color == color && now.readOnly == readOnly && now.text == text) return;
    setCell(col, row, GridCell{QString(text), color, readOnly});
}

void GridData::setCell(int col, int row, const QString& text, int32_t color, bool readOnly) {
    putCell(col, row, text, color, readOnly);
}

void GridData::setCell(int col, int row, QLatin1StringView text, int32_t color, bool readOnly) {
    putCell(col, row, text, color, readOnly);
}

void GridData::restore(Snapshot snapshot) {
    if (recorder_) recorder_->shapeChanging(*this);
    cols_ = snapshot.cols;
    rows_ = snapshot.rows;
    cells_ = std::move(snapshot.cells);
    rowRevisions_.assign(static_cast<size_t>(rows_), revision_ + 1);
    notify(Change::Layout);
}

void GridData::endUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0) return;
    if (pendingLayout_ || pendingCells_) {
        const Change change = pendingLayout_ ? Change::Layout : Change::All;
        pendingLayout_ = pendingCells_ = false;
        if (listener_) listener_(change, -1, -1);
    }
}

void GridData::notify(Change change, int col, int row) {
    ++revision_;
    if (change == Change::Cell) rowRevisions_[static_cast<size_t>(row)] = revision_;
    if (updateDepth_ > 0) {
        (change == Change::Layout ? pendingLayout_ : pendingCells_) = true;
        return;
    }
    if (listener_) listener_(change, col, row);
}

} // namespace tolvane
