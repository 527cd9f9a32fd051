// tolvane: the program. Options (see `tolvane --help` and the tolvane(1) manual page):
//   --startup-probe  prints the time from start to the first chart on screen and quits.

#include "BuildInfo.h"
#include "forms/MainWindow.h"
#include "model/UserError.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEvent>
#include <QIcon>
#include <QScreen>
#include <QSettings>
#include <cstdio>
#include <cstring>

namespace {

// Reports the time from main() to the first chart painted on screen and quits: a start-up
// timing run with the real window system.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(const QElapsedTimer& clock)
        : clock_(clock) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            std::printf("first_chart_ms=%.1f\n", static_cast<double>(clock_.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& clock_;
    bool reported_ = false;
};

const QCommandLineOption kStartupProbe(
    QStringLiteral("startup-probe"),
    QStringLiteral("Start-up timing aid: print the milliseconds from start to the first chart "
                   "on screen (first_chart_ms=...) and quit."));

// Handles --help and --version (which exit) and unknown options (which exit with an error).
void ParseCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Makes thematic map charts."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kStartupProbe);
    parser.process(QCoreApplication::arguments());
}

// --help and --version answer on the terminal, without a display.
bool OnlyAsksForText(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        for (const char* text : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], text) == 0) return true;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QCommandLineParser parser;
    if (OnlyAsksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        ParseCommandLine(parser);
        return 0;
    }
    QApplication app(argc, argv);
    ParseCommandLine(parser);
    QApplication::setDesktopFileName(QStringLiteral(TOLVANE_APP_ID));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tolvane"), QIcon(QStringLiteral(":/about/tolvane.png"))));

    tolvane::QtDialogs dialogs;
    QString appFolder;
    try {
        appFolder = tolvane::FindAppFolder(QApplication::applicationDirPath());
    } catch (const tolvane::UserError& e) {
        dialogs.showError(nullptr, e.message());
        return 1;
    }
    // Qt's own dialogs remember places and colours in a settings file of their own: it is
    // kept with the program's other files rather than in the user's configuration folder.
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, appFolder);

    tolvane::MainWindow main(appFolder, dialogs);
    FirstPaintProbe probe(clock);
    if (parser.isSet(kStartupProbe)) main.previewPlayer()->installEventFilter(&probe);
    main.startUp();
    if (const QScreen* screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    return QApplication::exec();
}
