#pragma once

// What the benchmarks of the main window share: one offscreen application and a fresh
// copy of the shipped data folder per benchmark.
#include "platform/AppFolder.h"

#include <QApplication>
#include <QTemporaryDir>

namespace tolvane::bench {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tolvane_bench";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

struct AppCopy {
    AppCopy() {
        SeedFolder(QStringLiteral(TOLVANE_SOURCE_DIR "/data"),
                   dir.path() + QStringLiteral("/data"));
    }
    QString path() const { return dir.path() + u'/'; }
    QTemporaryDir dir;
};

} // namespace tolvane::bench
