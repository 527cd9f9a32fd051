#pragma once

#include "model/UserError.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace tolvane::mapimport {

// Long work reports each step: what it does and how far it is (done of total; total 0 when
// it cannot tell). Returning false asks the work to stop: it then throws Cancelled and
// leaves nothing written.
using Progress = std::function<bool(const QString& step, int64_t done, int64_t total)>;

class Cancelled : public UserError {
public:
    Cancelled()
        : UserError(QStringLiteral("Adding the map was cancelled.")) {}
};

// Calls `progress` (when set) and throws Cancelled when it asks to stop.
inline void Report(const Progress& progress, const QString& step, int64_t done, int64_t total) {
    if (progress && !progress(step, done, total)) throw Cancelled();
}

} // namespace tolvane::mapimport
