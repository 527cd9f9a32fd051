// Every input a fuzzer ever broke the program with, and the hand-made seeds, replayed on
// each build through every target (any file must be safe for any reader): a fixed fault
// stays fixed.
#include "FuzzTargets.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

using namespace tolvane::fuzz;

TEST(FuzzReplay, EveryKeptInputRunsCleanlyThroughEveryTarget) {
    ASSERT_GE(Targets().size(), 3u);
    QDirIterator it(QStringLiteral(TOLVANE_SOURCE_DIR "/fuzz"), QDir::Files,
                    QDirIterator::Subdirectories);
    int inputs = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.contains(u"/crashers/") && !path.contains(u"/seeds/")) continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        for (const Target& target : Targets()) {
            SCOPED_TRACE(target.name + (" on " + path.toStdString()));
            target.run(reinterpret_cast<const uint8_t*>(bytes.constData()),
                       static_cast<size_t>(bytes.size()));
        }
        ++inputs;
    }
    EXPECT_GE(inputs, 6);
}
