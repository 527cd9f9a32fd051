// tolvane-addmap as a user runs it: what it prints, its exit codes, the files it leaves.
#include "support/TempAppFolder.h"

#include <QProcess>
#include <gtest/gtest.h>

using tolvane::test::TempAppFolder;

namespace {

struct CommandRun {
    int code = -1;
    QString out, err;
};

CommandRun AddMap(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOLVANE_BINARY_DIR "/tolvane-addmap"), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

const QString kDistricts =
    QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mapimport/data/districts.geojson");

} // namespace

TEST(AddMapCommand, AddsListsAndRemovesMaps) {
    TempAppFolder app;
    const QStringList folder{"--app-folder", app.path()};
    CommandRun r =
        AddMap(folder + QStringList{kDistricts, "--title", "Bezirke", "--licence", "CC0"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Added “Bezirke”: a region map of 9 regions, as "
                                 "data/Bezirke.map and data/Bezirke.xml in "))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Attribution: Source: districts.geojson. Licence: CC0.\n"));
    EXPECT_TRUE(r.out.contains("Names made unique (1):\n  “Südtal” is also “Südtal (2)”\n"));
    EXPECT_TRUE(r.err.contains("Simplifying borders")) << "no progress shown";
    EXPECT_TRUE(app.exists("data/Bezirke.map"));

    r = AddMap(folder + QStringList{"--added"});
    EXPECT_EQ(r.out, "Bezirke\tregion\tBezirke\tdistricts.geojson, layer districts\n");

    r = AddMap(folder + QStringList{"--remove", "Bezirke"});
    EXPECT_EQ(r.code, 0);
    EXPECT_FALSE(app.exists("data/Bezirke.map"));
    EXPECT_FALSE(app.exists("data/Bezirke.xml"));

    r = AddMap(folder + QStringList{kDistricts, "--layer", "roads"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.endsWith("“districts.geojson” has no layer “roads”. Its layers: "
                               "districts.\n"))
        << r.err.toStdString();
    EXPECT_EQ(AddMap(folder).code, 2) << "no file given";
}
