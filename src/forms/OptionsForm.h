#pragma once

#include "io/OptionsFile.h"

#include <functional>
#include <vector>

class QWidget;

namespace tolvane {

// The options file over the main window's controls, found by their names: the writer takes
// each stored value from the control of that name, the reader sets the control its line's
// key names. Pages join in by naming their controls as the file does.

// The lines the file stores for the controls under `form`, in the file's order, for the
// page control's page `activePage`. Controls the window does not have are left out.
std::vector<OptionLine> CollectOptions(const QWidget& form, int activePage);

struct OptionsApplied {
    // Line 3 named the map that the list of the stored page (line 2) shows.
    bool activeMapShown = false;
    // Empty when every line was read; else why reading stopped at a line, the lines
    // before it staying applied.
    QString error;
};

// Sets the controls under `form` as the lines say. Data and legend grids get one row per
// line, counted per grid; lists and colour edits change without running their handlers
// (the caller brings the pages' states in step); track bars run theirs. `letEventsRun` is
// called now and then, so the players can repaint.
OptionsApplied ApplyOptions(QWidget& form, const OptionsText& text,
                            const std::function<void()>& letEventsRun);

} // namespace tolvane
