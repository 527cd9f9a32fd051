#pragma once

#include <QString>

namespace tolvane {

// The folder that holds data/ and help/, always ending in '/'.
// Portable: the executable's folder when it holds data/. Installed: the user's data folder
// ($XDG_DATA_HOME/tolvane/), brought up to date with the installed read-only copy by
// SeedFolder. Throws UserError with one message for the user when the folder cannot be
// made, filled or written to: the program cannot keep a chart there.
QString FindAppFolder(const QString& executableDir);

// Ensures the trailing separator ("/" stays "/", a root is never doubled).
QString WithTrailingSlash(const QString& folder);

// Brings `to` up to date with the installed copy `from`:
// - a file `to` lacks is copied;
// - a file the user has is replaced only when the installed copy has changed since it was
//   seeded (an upgrade) and the user's copy is still exactly what was seeded then;
// - a file the user changed or made is never touched, whatever a newer version ships.
// `record` (a file) remembers what each file was seeded from; without it, only missing
// files are copied. Throws UserError when a file cannot be written.
void SeedFolder(const QString& from, const QString& to, const QString& record = {});

} // namespace tolvane
