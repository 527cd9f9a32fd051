#include "forms/TFrmMain.h"
#include "platform/AppFolder.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tolvane"));

    tolvane::QtDialogs dialogs;
    tolvane::TFrmMain main(tolvane::FindAppFolder(QApplication::applicationDirPath()), dialogs);
    main.FormCreate();
    if (const QScreen* screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    return QApplication::exec();
}
