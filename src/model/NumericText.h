#pragma once

#include <QStringView>

namespace tolvane {

// Whether a cell or edit text counts as a number: only "-0123456789.,", at most one
// decimal mark of either kind, "-" only in first place, not empty. Texts that pass may
// still fail to convert ("-", "." alone); callers decide what that means.
bool IsNumericText(QStringView text);

} // namespace tolvane
