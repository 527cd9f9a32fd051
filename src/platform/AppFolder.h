#pragma once

#include <QString>

namespace tolvane {

// The folder that holds data/ and help/, always ending in '/'.
// Portable: the executable's folder when it holds data/. Installed: the user's data folder
// ($XDG_DATA_HOME/tolvane/), seeded from the read-only installed copy without overwriting
// any file the user already has.
QString FindAppFolder(const QString& executableDir);

// Ensures the trailing separator ("/" stays "/", a root is never doubled).
QString WithTrailingSlash(const QString& folder);

// Copies every file of `from` into `to` that `to` does not yet have.
void SeedFolder(const QString& from, const QString& to);

} // namespace tolvane
