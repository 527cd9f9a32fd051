// Writes the help pages made from the program's tables: help/shade.htm with its swatches and
// help/code.htm. Run after changing the shade patterns or data/countrycodes.tsv:
//   build/tolvane-helpgen <repository folder>
#include "io/HelpPages.h"
#include "platform/FileOps.h"
#include "render/ShadePatterns.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no window: it only draws into images
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const QString help = root + QStringLiteral("/help/");
    try {
        QDir().mkpath(help + QStringLiteral("shade"));
        for (int code = 0; code <= tolvane::kLastShadeCode; ++code)
            tolvane::ShadeSwatchImage(code).save(help + tolvane::ShadeSwatchFile(code), "PNG");
        tolvane::WriteFileAtomically(help + QStringLiteral("shade.htm"),
                                     tolvane::ShadeHelpPage().toUtf8());
        const QByteArray codes =
            tolvane::ReadWholeFile(root + QStringLiteral("/data/countrycodes.tsv"));
        tolvane::WriteFileAtomically(help + QStringLiteral("code.htm"),
                                     tolvane::CountryCodeHelpPage(codes).toUtf8());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tolvane-helpgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
