#include "forms/AboutDialog.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace tolvane;

// This build is given no web or mail address: the box shows no link at all, and nothing
// that looks like an address.
TEST(AboutBox, ShowsTheBuildsVersionTheLicenceAndTheMapSourcesButNoUnconfiguredLinks) {
    ScriptedDialogs dialogs;
    AboutDialog about(dialogs);
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Version " TOLVANE_VERSION)));
    EXPECT_EQ(about.findChild<QLabel*>("labWebLink"), nullptr);
    EXPECT_EQ(about.findChild<QLabel*>("Label8"), nullptr);
    EXPECT_FALSE(texts.join('\n').contains("example")) << texts.join('\n').toStdString();
    EXPECT_FALSE(texts.join('\n').contains('@'));

    const auto* credits = about.findChild<QPlainTextEdit*>("txtCredits");
    ASSERT_NE(credits, nullptr);
    QFile licence(TOLVANE_SOURCE_DIR "/LICENSE"),
        sources(TOLVANE_SOURCE_DIR "/data/ATTRIBUTION.txt");
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly) && sources.open(QIODevice::ReadOnly));
    EXPECT_TRUE(credits->toPlainText().contains(QString::fromUtf8(licence.readAll())));
    EXPECT_TRUE(credits->toPlainText().contains(QString::fromUtf8(sources.readAll())));
}
