#include "io/HelpPages.h"
#include "render/ShadePatterns.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

QByteArray Shipped(const QString& path) {
    QFile f(QStringLiteral(TOLVANE_SOURCE_DIR "/") + path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(HelpPages, ShippedPagesAreUpToDateWithTheProgramsTables) {
    EXPECT_EQ(QString::fromUtf8(Shipped("help/shade.htm")), ShadeHelpPage())
        << "run build/tolvane-helpgen . after changing the shade patterns";
    EXPECT_EQ(QString::fromUtf8(Shipped("help/code.htm")),
              CountryCodeHelpPage(Shipped("data/countrycodes.tsv")))
        << "run build/tolvane-helpgen . after changing data/countrycodes.tsv";
    for (int code = 0; code <= kLastShadeCode; ++code)
        EXPECT_TRUE(
            QFileInfo::exists(QStringLiteral(TOLVANE_SOURCE_DIR "/help/") + ShadeSwatchFile(code)))
            << code;
    for (const char* page : {"help.htm", "shade.htm", "code.htm", "help.css"})
        EXPECT_FALSE(Shipped(QStringLiteral("help/") + page).isEmpty()) << page;
}

TEST(HelpPages, SwatchesShowPlainCodesPlainAndEveryPatternDistinct) {
    const QImage plain0 = ShadeSwatchImage(0);
    EXPECT_EQ(plain0, ShadeSwatchImage(1));
    QSet<QByteArray> seen;
    for (int code = kFirstShadeCode; code <= kLastShadeCode; ++code) {
        const QImage swatch = ShadeSwatchImage(code);
        EXPECT_NE(swatch, plain0) << "code " << code << " draws no pattern";
        const QByteArray pixels(reinterpret_cast<const char*>(swatch.constBits()),
                                swatch.sizeInBytes());
        EXPECT_FALSE(seen.contains(pixels)) << "code " << code << " looks like an earlier one";
        seen.insert(pixels);
    }
    EXPECT_EQ(ShadeSwatchImage(kLastShadeCode + 1), plain0); // unknown codes are plain
}

TEST(HelpPages, CodePageEscapesNamesAndSkipsTheHeader) {
    const QString page = CountryCodeHelpPage("code\tname\nAX\t\xc3\x85land & Co\nBAD LINE\n\n");
    EXPECT_TRUE(page.contains("<tr><td>AX</td><td>Åland &amp; Co</td></tr>"));
    EXPECT_FALSE(page.contains("<td>code</td>"));
    EXPECT_FALSE(page.contains("BAD LINE"));
}
