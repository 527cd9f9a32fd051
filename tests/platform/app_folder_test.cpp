#include "platform/AppFolder.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

TEST(AppFolder, EndsWithOneSeparator) {
    EXPECT_EQ(WithTrailingSlash("/opt/tolvane"), "/opt/tolvane/");
    EXPECT_EQ(WithTrailingSlash("/opt/tolvane/"), "/opt/tolvane/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
}

TEST(AppFolder, APortableFolderIsTheExecutablesOwn) {
    TempAppFolder app; // has data/
    QString exeDir = app.path();
    exeDir.chop(1);
    EXPECT_EQ(FindAppFolder(exeDir), app.path());
    EXPECT_EQ(FindAppFolder(app.path()), app.path());
}

TEST(AppFolder, WithoutDataBesideItTheUsersFolderIsSeededFromTheInstalledCopy) {
    QTemporaryDir home, prefix;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    // An installed layout: <prefix>/bin/tolvane and <prefix>/share/tolvane/{data,help}.
    const QString share = prefix.path() + "/share/tolvane";
    QDir().mkpath(share + "/data");
    QDir().mkpath(share + "/help");
    QDir().mkpath(prefix.path() + "/bin");
    QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/help/help.css"), share + "/help/help.css");
    {
        QFile f(share + "/data/Germany.xml");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("shipped");
    }
    const QString user = home.path() + "/tolvane/";
    QDir().mkpath(user + "data");
    {
        QFile mine(user + "data/Germany.xml");
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("my chart");
    }

    EXPECT_EQ(FindAppFolder(prefix.path() + "/bin"), user);
    QFile kept(user + "data/Germany.xml");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "my chart"); // never overwrites what the user has
    EXPECT_TRUE(QFile::exists(user + "help/help.css"));
    qunsetenv("XDG_DATA_HOME");
}
