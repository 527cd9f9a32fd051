#pragma once

#include "model/GridData.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace tolvane {

// Takes back and redoes what the user did to a page's grids. Every change the grids make
// is recorded; the changes made inside one UndoStep form one step with its name ("Paste",
// "Gradient Color"), a change made outside any step is a step of its own ("Edit Cell").
class UndoStack : public GridRecorder {
public:
    UndoStack();
    ~UndoStack() override;
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    // Records the changes of `grid` from now on, until the stack is destroyed.
    void attach(GridData& grid);

    bool canUndo();
    bool canRedo();
    // The name of the step undo or redo would take back; empty when there is none.
    QString undoName();
    QString redoName();
    void undo();
    void redo();
    // Forgets every step, as after a load: a loaded chart is where undo stops.
    void clear();
    // Heard after every change of the steps available.
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

    void cellChanging(GridData& grid, int col, int row) override;
    void shapeChanging(GridData& grid) override;

private:
    friend class UndoStep;
    friend class UndoPause;
    struct Step;
    void begin(const QString& name);
    void end();
    void closeImplicit();
    Step& current();
    void notify();

    std::vector<GridData*> grids_;
    std::vector<std::unique_ptr<Step>> done_;
    std::vector<std::unique_ptr<Step>> undone_;
    std::unique_ptr<Step> open_;
    bool implicit_ = false;
    int depth_ = 0;
    int paused_ = 0;
    std::function<void()> listener_;
};

// One named step for the scope's lifetime: every change of the grids recorded by the
// grid's stack (if any) is taken back together. Nested steps join the outermost.
class UndoStep {
public:
    UndoStep(GridData* grid, const QString& name);
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UndoStack* stack_ = nullptr;
};

// Changes made in this scope are not recorded (loads: what they put in place is not undone).
class UndoPause {
public:
    explicit UndoPause(UndoStack& stack);
    ~UndoPause();
    UndoPause(const UndoPause&) = delete;
    UndoPause& operator=(const UndoPause&) = delete;

private:
    UndoStack& stack_;
};

} // namespace tolvane
