#pragma once

#include "model/Colors.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace tolvane {

struct GridCell {
    QString text;
    int32_t color = kWhite; // platform colour: red in the low byte
    bool readOnly = true;
    bool operator==(const GridCell&) const = default;
};

class GridData;

// Hears of every change before it is made, so that it can be taken back (the undo stack).
class GridRecorder {
public:
    virtual ~GridRecorder() = default;
    virtual void cellChanging(GridData& grid, int col, int row) = 0;
    // The grid is about to gain or lose rows or columns.
    virtual void shapeChanging(GridData& grid) = 0;
};

// The cells of a data or legend grid, without any window. Row 0 and column 0 are the
// grid's own fixed header; in data grids row 1 holds the column titles and the k-th
// region or city stands in row k + 1; in legend grids item n stands in row n.
// Coordinates are given column first, as (col, row).
class GridData {
public:
    enum class Change { Cell, Layout, All };
    // Views listen here; col and row name the cell for Change::Cell only.
    using Listener = std::function<void(Change, int col, int row)>;

    GridData() = default;
    GridData(int colCount, int rowCount);

    int rowCount() const { return rows_; }
    int colCount() const { return cols_; }
    // Resizing keeps the cells that remain; new cells are empty, white and read-only.
    void setRowCount(int rows);
    void setColCount(int cols);

    bool contains(int col, int row) const;
    const GridCell& cell(int col, int row) const;
    const QString& text(int col, int row) const { return cell(col, row).text; }
    int32_t color(int col, int row) const { return cell(col, row).color; }
    bool readOnly(int col, int row) const { return cell(col, row).readOnly; }

    // Writes outside the grid are ignored, as a grid control ignores them.
    void setText(int col, int row, const QString& text);
    void setColor(int col, int row, int32_t color);
    void setReadOnly(int col, int row, bool readOnly);
    void setCell(int col, int row, GridCell cell);
    // The same, making a cell only where one changes: refilling a large grid with what it
    // shows already copies no string, and, from Latin-1 text, makes none.
    void setCell(int col, int row, const QString& text, int32_t color, bool readOnly);
    void setCell(int col, int row, QLatin1StringView text, int32_t color, bool readOnly);

    // Repainting suspended: views hear of the changes once, when the last update ends.
    void beginUpdate() { ++updateDepth_; }
    void endUpdate();
    bool updating() const { return updateDepth_ > 0; }

    void setListener(Listener listener) { listener_ = std::move(listener); }
    void setRecorder(GridRecorder* recorder) { recorder_ = recorder; }
    GridRecorder* recorder() const { return recorder_; }

    // The whole grid, to put back later as it was.
    struct Snapshot {
        int cols = 0;
        int rows = 0;
        std::vector<GridCell> cells;
    };
    Snapshot snapshot() const { return {cols_, rows_, cells_}; }
    void restore(Snapshot snapshot);

    // Counts the changes made so far, so an owner can tell whether anything changed since
    // it last looked.
    uint64_t revision() const { return revision_; }
    // The revision of the last change to a row's cells (or to the grid's shape).
    uint64_t rowRevision(int row) const {
        return row >= 0 && row < rows_ ? rowRevisions_[static_cast<size_t>(row)] : revision_;
    }
    // Tells this grid from every other one, and from its own copies: revisions are only
    // comparable within one grid.
    uint64_t id() const { return id_.value; }

private:
    template <typename Text>
    void putCell(int col, int row, const Text& text, int32_t color, bool readOnly);
    GridCell& at(int col, int row) { return cells_[static_cast<size_t>(row * cols_ + col)]; }
    void notify(Change change, int col = -1, int row = -1);

    // A new one for every grid made, copied or moved.
    struct Id {
        uint64_t value = Next();
        Id() = default;
        Id(const Id&) {}
        Id& operator=(const Id&) {
            value = Next();
            return *this;
        }
        static uint64_t Next();
    };

    int cols_ = 0;
    int rows_ = 0;
    std::vector<GridCell> cells_;
    int updateDepth_ = 0;
    uint64_t revision_ = 0;
    std::vector<uint64_t> rowRevisions_;
    Id id_;
    bool pendingLayout_ = false;
    bool pendingCells_ = false;
    Listener listener_;
    GridRecorder* recorder_ = nullptr;
};

// Suspends a grid's repainting for a scope, resuming even when an error ends it early.
class GridUpdate {
public:
    explicit GridUpdate(GridData& grid)
        : grid_(grid) {
        grid_.beginUpdate();
    }
    ~GridUpdate() { grid_.endUpdate(); }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    GridData& grid_;
};

} // namespace tolvane
