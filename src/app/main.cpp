#include "forms/TFrmMain.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <cstdio>

namespace {

// With TOLVANE_STARTUP_PROBE set, reports the time from main() to the first chart painted on
// screen and quits: a start-up benchmark run with the real window system.
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

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));

    tolvane::QtDialogs dialogs;
    tolvane::TFrmMain main(tolvane::FindAppFolder(QApplication::applicationDirPath()), dialogs);
    FirstPaintProbe probe(clock);
    if (qEnvironmentVariableIsSet("TOLVANE_STARTUP_PROBE")) main.Flash1->installEventFilter(&probe);
    main.FormCreate();
    if (const QScreen* screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    return QApplication::exec();
}
