#pragma once

#include <QString>
#include <chrono>
#include <functional>

class QWidget;

namespace tolvane {

// How a long piece of work tells its progress and is asked to stop.
struct WorkFeedback {
    std::function<int()> permille; // how far it got in thousandths, -1 while unknown
    std::function<void()> cancel;  // asks it to stop; it then throws
};

// Runs `work` on another thread while this one keeps the windows painted (user input
// waits). Once the work has run for `showAfter`, a modal progress dialog shows `label` and
// how far it got, with a Cancel button. Returns when the work is over; rethrows what it
// threw. `work` must not touch widgets or anything this thread may change meanwhile.
void RunWithProgress(QWidget* parent, const QString& label, const std::function<void()>& work,
                     const WorkFeedback& feedback,
                     std::chrono::milliseconds showAfter = std::chrono::milliseconds(500));

} // namespace tolvane
