#pragma once

#include <QString>
#include <QStringList>

namespace tolvane {

// The candidate most like `text` (fewest single-character edits, case ignored), or ""
// when even that one differs in more than half of its characters.
QString ClosestName(const QString& text, const QStringList& candidates);

} // namespace tolvane
