#include "model/UserError.h"
#include "platform/AppFolder.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Get(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// An installed Tolvane under a temporary prefix and a user whose data folder is temporary.
struct Installed {
    Installed() { qputenv("XDG_DATA_HOME", home.path().toUtf8()); }
    ~Installed() { qunsetenv("XDG_DATA_HOME"); }
    QString bin() const { return prefix.path() + "/bin"; }
    QString shipped(const QString& name) const { return prefix.path() + "/share/tolvane/" + name; }
    QString user(const QString& name = {}) const { return home.path() + "/tolvane/" + name; }
    QTemporaryDir home, prefix;
};

} // namespace

TEST(AppFolder, AnUpgradeBringsNewShippedFilesButNeverReplacesWhatTheUserChanged) {
    Installed app;
    Put(app.shipped("data/Germany.xml"), "Germany 1");
    Put(app.shipped("data/Spain.xml"), "Spain 1");
    Put(app.shipped("help/help.htm"), "help 1");
    ASSERT_EQ(FindAppFolder(app.bin()), app.user());
    EXPECT_EQ(Get(app.user("data/Spain.xml")), "Spain 1");

    Put(app.user("data/Germany.xml"), "my Germany chart");
    Put(app.user("data/LastOption.set"), "my options");
    // The new version changes every shipped file and ships one more.
    Put(app.shipped("data/Germany.xml"), "Germany 2, redrawn");
    Put(app.shipped("data/Spain.xml"), "Spain 2, redrawn");
    Put(app.shipped("help/help.htm"), "help 2, rewritten");
    Put(app.shipped("data/Italy.xml"), "Italy 2");
    FindAppFolder(app.bin());
    EXPECT_EQ(Get(app.user("data/Germany.xml")), "my Germany chart");
    EXPECT_EQ(Get(app.user("data/LastOption.set")), "my options");
    EXPECT_EQ(Get(app.user("data/Spain.xml")), "Spain 2, redrawn");
    EXPECT_EQ(Get(app.user("help/help.htm")), "help 2, rewritten");
    EXPECT_EQ(Get(app.user("data/Italy.xml")), "Italy 2");

    // A chart the user changed stays theirs in every later version too.
    Put(app.shipped("data/Germany.xml"), "Germany 3, redrawn again");
    FindAppFolder(app.bin());
    EXPECT_EQ(Get(app.user("data/Germany.xml")), "my Germany chart");
    // A shipped file the user deleted comes back.
    QFile::remove(app.user("data/Spain.xml"));
    FindAppFolder(app.bin());
    EXPECT_EQ(Get(app.user("data/Spain.xml")), "Spain 2, redrawn");
}

TEST(AppFolder, AFolderThatCannotBeMadeIsOneMessageAndNothingIsTouched) {
    Installed app;
    Put(app.shipped("data/Germany.xml"), "Germany 1");
    Put(app.home.path() + "/tolvane", "a file where the folder should be");
    try {
        FindAppFolder(app.bin());
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_TRUE(e.message().startsWith("Tolvane cannot write to its folder " + app.user()))
            << e.message().toStdString();
    }
    EXPECT_EQ(Get(app.home.path() + "/tolvane"), "a file where the folder should be");
}
