// The player as the main window uses it, and the picture files Save Chart writes.
#include "model/UserError.h"
#include "render/PictureFile.h"
#include "render/RenderFixture.h"
#include "widgets/ChartPlayer.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace tolvane;
using namespace tolvane::test;

namespace {

const char kBlank[] = R"({"type":"Topology","arcs":[],"objects":{},"tolvane":{"kind":"blank"}})";

uint32_t Le32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
uint16_t Le16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// The staged movie and a red Alpha, as "Make && Preview" leaves them.
struct Staged {
    ChartFolder folder;
    QString movie = folder.copyFixture(QStringLiteral("squares.map"));
    QString blank = folder.write(QStringLiteral("cmap1.map"), kBlank);
    void color(uint32_t rgb) const {
        folder.write(QStringLiteral("province.xml"), ProvinceXml(Province(1, "Alpha", "AA", rgb)));
    }
    Staged() { color(0xFF0000); }
};

} // namespace

TEST(ChartPlayer, RestartSequenceDrawsTheStagedChartAtTheWidgetSize) {
    Staged staged;
    ChartPlayer player;
    player.resize(793, 308);
    player.loadMovie(0, staged.blank);
    player.loadMovie(0, staged.movie);
    player.play();
    const QImage picture = player.picture();
    EXPECT_EQ(picture.size(), QSize(793, 308));
    EXPECT_TRUE(Near(ColorAt(picture, player.scene(), {20, 30}), QColor(255, 0, 0)));
}

TEST(ChartPlayer, LoadingTheSamePathAgainReadsItAfresh) {
    Staged staged;
    ChartPlayer player;
    player.resize(500, 350);
    player.loadMovie(0, staged.movie);
    player.play();
    staged.color(0x0000FF);
    player.loadMovie(0, staged.movie);
    player.play();
    EXPECT_TRUE(Near(ColorAt(player.picture(), player.scene(), {20, 30}), QColor(0, 0, 255)));
    // Other layers are not used.
    player.loadMovie(1, staged.blank);
    EXPECT_EQ(player.moviePath(), staged.movie);
}

TEST(ChartPlayer, RenderPictureDrawsAtAnySizeWithoutTheWidget) {
    Staged staged;
    ChartPlayer player;
    player.resize(200, 100);
    player.loadMovie(0, staged.movie);
    player.play();
    const QImage big = player.renderPicture(QSize(2000, 1400));
    EXPECT_EQ(big.size(), QSize(2000, 1400));
    EXPECT_EQ(player.picture().size(), QSize(200, 100));
    EXPECT_TRUE(Near(ColorAt(big, player.scene(), {20, 30}), QColor(255, 0, 0)));
}

TEST(ChartPlayer, NeverShowsAMenuOfItsOwn) {
    ChartPlayer player;
    EXPECT_TRUE(player.menu());
    player.setMenu(false);
    EXPECT_FALSE(player.property("Menu").toBool());
    EXPECT_EQ(player.contextMenuPolicy(), Qt::PreventContextMenu);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QCoreApplication::sendEvent(&player, &event);
    EXPECT_TRUE(event.isAccepted());
}

TEST(ChartPlayer, SavesA24BitBitmapOfExactlyTheSize) {
    Staged staged;
    ChartPlayer player;
    player.loadMovie(0, staged.movie);
    player.play();
    for (const QSize size : {QSize(575, 402), QSize(501, 351)}) { // rows padded to 4 bytes
        const QString path = staged.folder.path(QStringLiteral("chart.bmp"));
        player.savePicture(path, size);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bmp = f.readAll();
        const uint32_t stride = (uint32_t(size.width()) * 3 + 3) & ~3u;
        ASSERT_EQ(bmp.left(2), "BM");
        EXPECT_EQ(Le32(bmp, 2), uint32_t(bmp.size()));
        EXPECT_EQ(Le32(bmp, 18), uint32_t(size.width()));
        EXPECT_EQ(Le32(bmp, 22), uint32_t(size.height()));
        EXPECT_EQ(Le16(bmp, 28), 24);
        EXPECT_EQ(uint32_t(bmp.size()), 54 + stride * uint32_t(size.height()));
        // Qt's own reader sees the same picture the player draws.
        const QImage back(path);
        const QImage drawn = player.renderPicture(size);
        EXPECT_EQ(back.size(), size);
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
                  drawn.convertToFormat(QImage::Format_RGB32));
    }
}

TEST(ChartPlayer, SavesPngSvgAndPdfByExtension) {
    Staged staged;
    ChartPlayer player;
    player.loadMovie(0, staged.movie);
    player.play();
    const QString png = staged.folder.path(QStringLiteral("chart.PNG"));
    player.savePicture(png, QSize(650, 455));
    const QImage back(png, "PNG");
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), player.renderPicture(QSize(650, 455)));

    const QString svg = staged.folder.path(QStringLiteral("chart.svg"));
    player.savePicture(svg, QSize(650, 455));
    QFile s(svg);
    ASSERT_TRUE(s.open(QIODevice::ReadOnly));
    EXPECT_TRUE(s.readAll().contains("<svg"));

    const QString pdf = staged.folder.path(QStringLiteral("chart.pdf"));
    player.savePicture(pdf, QSize(650, 455));
    QFile p(pdf);
    ASSERT_TRUE(p.open(QIODevice::ReadOnly));
    EXPECT_TRUE(p.read(5) == "%PDF-");
}

TEST(ChartPlayer, SaveFailuresAreUserErrorsAndLeaveOldFilesWhole) {
    Staged staged;
    ChartPlayer player;
    player.loadMovie(0, staged.movie);
    player.play();
    EXPECT_THROW(player.savePicture(staged.folder.path(QStringLiteral("no/such/dir/x.bmp")),
                                    QSize(500, 350)),
                 UserError);
    EXPECT_THROW(player.savePicture(staged.folder.path(QStringLiteral("x.bmp")), QSize(0, 350)),
                 UserError);
    EXPECT_THROW(player.savePicture(QString(), QSize(500, 350)), UserError);
    const QString old = staged.folder.write(QStringLiteral("old.bmp"), "keep");
    EXPECT_THROW(player.savePicture(old, QSize(-1, -1)), UserError);
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep");
}

TEST(ChartPlayer, MissingMovieGivesANotedPictureNotAnError) {
    ChartFolder folder;
    ChartPlayer player;
    player.resize(500, 350);
    EXPECT_NO_THROW(player.loadMovie(0, folder.path(QStringLiteral("cmap.map"))));
    EXPECT_NO_THROW(player.play());
    EXPECT_FALSE(player.scene().notes.isEmpty());
    EXPECT_EQ(player.picture().size(), QSize(500, 350));
}

TEST(RenderCommand, DrawsAMovieWithItsStagedDataAndListsUnmatchedEntries) {
    const QString program = QStringLiteral(TOLVANE_BINARY_DIR "/tolvane-render");
    if (!QFileInfo(program).isExecutable()) GTEST_SKIP() << "tolvane-render not built";
    Staged staged;
    staged.folder.write(
        QStringLiteral("province.xml"),
        ProvinceXml(Province(1, "Alpha", "AA", 0xFF0000) + Province(2, "Atlantis", "ZZ", 5)));
    const QString out = staged.folder.path(QStringLiteral("out.bmp"));
    QProcess run;
    run.start(program, {QStringLiteral("--movie"), staged.movie, QStringLiteral("--size"),
                        QStringLiteral("640x480"), QStringLiteral("-o"), out});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(run.readAllStandardOutput(), QByteArray()) << "times only when asked";
    EXPECT_TRUE(run.readAllStandardError().contains("Atlantis (ZZ)"));
    EXPECT_EQ(QImage(out).size(), QSize(640, 480));

    run.start(program,
              {QStringLiteral("--movie"), staged.movie, QStringLiteral("--size"),
               QStringLiteral("64x48"), QStringLiteral("-o"), out, QStringLiteral("--timing")});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_TRUE(
        QString::fromUtf8(run.readAllStandardOutput())
            .contains(QRegularExpression(QStringLiteral(
                "^TIMING premain_ms=[0-9.]+ qt_ms=[0-9.]+ fonts_ms=[0-9.]+ load_ms=[0-9.]+ "
                "parse_ms=[0-9.]+ draw_ms=[0-9.]+ encode_ms=[0-9.]+ write_ms=[0-9.]+\n$"))));
}
