#include "model/UndoStack.h"

#include <algorithm>

namespace tolvane {

namespace {

// What one step did to one grid: the cells it changed one by one, or, once it added or
// removed rows, the whole grid before and after.
struct GridChanges {
    GridData* grid = nullptr;
    struct Cell {
        int col;
        int row;
        GridCell before;
        GridCell after;
    };
    std::vector<Cell> cells;
    bool reshaped = false;
    GridData::Snapshot before;
    GridData::Snapshot after;
};

} // namespace

struct UndoStack::Step {
    QString name;
    std::vector<GridChanges> grids;

    GridChanges& of(GridData& grid) {
        for (GridChanges& g : grids)
            if (g.grid == &grid) return g;
        grids.push_back({&grid, {}, false, {}, {}});
        return grids.back();
    }
    // The values after the step are read once it is over.
    void finish() {
        for (GridChanges& g : grids) {
            if (g.reshaped) {
                g.after = g.grid->snapshot();
            } else {
                for (GridChanges::Cell& c : g.cells)
                    c.after = g.grid->cell(c.col, c.row);
            }
        }
    }
    bool empty() const {
        return std::all_of(grids.begin(), grids.end(),
                           [](const GridChanges& g) { return !g.reshaped && g.cells.empty(); });
    }
};

UndoStack::UndoStack() = default;

UndoStack::~UndoStack() {
    for (GridData* grid : grids_)
        if (grid->recorder() == this) grid->setRecorder(nullptr);
}

void UndoStack::attach(GridData& grid) {
    grid.setRecorder(this);
    grids_.push_back(&grid);
}

UndoStack::Step& UndoStack::current() {
    if (!open_) {
        open_ = std::make_unique<Step>();
        open_->name = QStringLiteral("Edit Cell");
        implicit_ = true;
    }
    return *open_;
}

void UndoStack::cellChanging(GridData& grid, int col, int row) {
    if (paused_ > 0) return;
    if (implicit_ && depth_ == 0) closeImplicit(); // each loose change is a step of its own
    GridChanges& changes = current().of(grid);
    if (!changes.reshaped) changes.cells.push_back({col, row, grid.cell(col, row), {}});
}

void UndoStack::shapeChanging(GridData& grid) {
    if (paused_ > 0) return;
    if (implicit_ && depth_ == 0) closeImplicit();
    GridChanges& changes = current().of(grid);
    if (changes.reshaped) return;
    // Cells changed before this in the same step are in the snapshot already; taking the
    // snapshot back and then those cells gives the grid as the step found it.
    changes.reshaped = true;
    changes.before = grid.snapshot();
}

void UndoStack::begin(const QString& name) {
    if (depth_++ > 0) return;
    closeImplicit();
    open_ = std::make_unique<Step>();
    open_->name = name;
    implicit_ = false;
}

void UndoStack::end() {
    if (depth_ == 0 || --depth_ > 0) return;
    closeImplicit();
}

void UndoStack::closeImplicit() {
    if (!open_) return;
    std::unique_ptr<Step> step = std::move(open_);
    implicit_ = false;
    step->finish();
    if (step->empty()) return;
    done_.push_back(std::move(step));
    undone_.clear();
    notify();
}

bool UndoStack::canUndo() {
    if (depth_ == 0) closeImplicit();
    return !done_.empty();
}

bool UndoStack::canRedo() {
    if (depth_ == 0) closeImplicit();
    return !undone_.empty();
}

QString UndoStack::undoName() {
    return canUndo() ? done_.back()->name : QString();
}

QString UndoStack::redoName() {
    return canRedo() ? undone_.back()->name : QString();
}

void UndoStack::undo() {
    if (!canUndo()) return;
    std::unique_ptr<Step> step = std::move(done_.back());
    done_.pop_back();
    {
        UndoPause pause(*this);
        for (auto g = step->grids.rbegin(); g != step->grids.rend(); ++g) {
            GridUpdate update(*g->grid);
            if (g->reshaped) g->grid->restore(g->before);
            // With a reshape these are the cells changed before it, which the snapshot holds.
            for (auto c = g->cells.rbegin(); c != g->cells.rend(); ++c)
                g->grid->setCell(c->col, c->row, c->before);
        }
    }
    undone_.push_back(std::move(step));
    notify();
}

void UndoStack::redo() {
    if (!canRedo()) return;
    std::unique_ptr<Step> step = std::move(undone_.back());
    undone_.pop_back();
    {
        UndoPause pause(*this);
        for (GridChanges& g : step->grids) {
            GridUpdate update(*g.grid);
            if (g.reshaped) {
                g.grid->restore(g.after);
                continue;
            }
            for (const GridChanges::Cell& c : g.cells)
                g.grid->setCell(c.col, c.row, c.after);
        }
    }
    done_.push_back(std::move(step));
    notify();
}

void UndoStack::clear() {
    open_.reset();
    implicit_ = false;
    done_.clear();
    undone_.clear();
    notify();
}

void UndoStack::notify() {
    if (listener_) listener_();
}

UndoStep::UndoStep(GridData* grid, const QString& name)
    : stack_(grid ? dynamic_cast<UndoStack*>(grid->recorder()) : nullptr) {
    if (stack_) stack_->begin(name);
}

UndoStep::~UndoStep() {
    if (stack_) stack_->end();
}

UndoPause::UndoPause(UndoStack& stack)
    : stack_(stack) {
    if (stack_.depth_ == 0) stack_.closeImplicit(); // a typed change stays its own step
    ++stack_.paused_;
}

UndoPause::~UndoPause() {
    --stack_.paused_;
}

} // namespace tolvane
