#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tolvane {

// The help pages made from the program's own tables, so they always show what the program
// does: every shade code as the player draws it, and every country code of the flag page.

// The picture of a shade code on the help page: a swatch as a 500x350 chart draws it, enlarged.
QImage ShadeSwatchImage(int code);
// The file the swatch of a code is stored in, relative to the help folder.
QString ShadeSwatchFile(int code);
QString ShadeHelpPage();

// From the code table: a header line, then "<code>\t<name>" per line (UTF-8).
QString CountryCodeHelpPage(const QByteArray& codeTable);

} // namespace tolvane
