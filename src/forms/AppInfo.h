#pragma once

#include <QString>

namespace tolvane {

// Who makes Tolvane and where to reach them: shown in the about box and used for its links.
struct AppInfo {
    static QString productName() { return QStringLiteral("Tolvane"); }
    static QString version() { return QStringLiteral(TOLVANE_VERSION); }
    static QString maker() { return QStringLiteral("The Tolvane developers"); }
    static QString webAddress() { return QStringLiteral("https://tolvane.example.org/"); }
    static QString mailAddress() { return QStringLiteral("support@tolvane.example.org"); }
    static QString mailSubject() { return productName() + u' ' + version(); }
};

} // namespace tolvane
