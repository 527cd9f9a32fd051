#pragma once

#include "BuildInfo.h"

#include <QString>

namespace tolvane {

// Who makes Tolvane and where to reach them: shown in the about box and used for its links.
// The addresses come from the build (cmake -DTOLVANE_WEB_ADDRESS=... -DTOLVANE_MAIL_ADDRESS=...);
// an address not given is not shown.
struct AppInfo {
    static QString productName() { return QStringLiteral("Tolvane"); }
    static QString version() { return QStringLiteral(TOLVANE_VERSION); }
    static QString maker() { return QStringLiteral("The Tolvane developers"); }
    static QString licence() { return QStringLiteral("MIT licence"); }
    static QString webAddress() { return QStringLiteral(TOLVANE_WEB_ADDRESS); }
    static QString mailAddress() { return QStringLiteral(TOLVANE_MAIL_ADDRESS); }
    static QString mailSubject() { return productName() + u' ' + version(); }
};

} // namespace tolvane
