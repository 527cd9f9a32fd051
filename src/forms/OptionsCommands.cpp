#include "forms/OptionsCommands.h"

#include "forms/ChartPage.h"
#include "forms/MainWindow.h"
#include "forms/OptionsForm.h"
#include "forms/PageSet.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

namespace tolvane {

OptionsCommands::OptionsCommands(MainWindow& main)
    : main_(main) {}

QString OptionsCommands::lastRunPath() const {
    return main_.model().dataPath(QStringLiteral("LastOption.set"));
}

void OptionsCommands::restoreLastRun() {
    const QString path = lastRunPath();
    if (!QFileInfo::exists(path)) return; // the first run
    try {
        readFile(path);
    } catch (const UserError& e) {
        main_.dialogs().showError(&main_,
                                  QStringLiteral("%1\n\nThe options of the last run (%2) are "
                                                 "restored as far as they could be read.")
                                      .arg(e.message(), QDir::toNativeSeparators(path)));
    }
}

void OptionsCommands::keepForNextRun() {
    main_.runOperation([this] { writeFile(lastRunPath()); });
}

void OptionsCommands::writeFile(const QString& path) {
    WriteFileAtomically(path, BuildOptionsFile(CollectOptions(*main_.clientArea(),
                                                              main_.pageTabs()->currentIndex())));
}

bool OptionsCommands::readFile(const QString& path) {
    const OptionsText text = ParseOptionsFile(ReadWholeFile(path));
    const OptionsApplied applied =
        ApplyOptions(*main_.clientArea(), text, [this] { main_.letEventsRun(); });
    main_.pages().takeControlsIntoState();
    if (!applied.error.isEmpty()) throw UserError(applied.error);
    return applied.activeMapShown;
}

void OptionsCommands::save() {
    MainWindow::Operation busy(main_);
    if (!busy.entered()) return;
    Dialogs& dialogs = main_.dialogs();
    const auto chosen =
        dialogs.saveFile(&main_, QStringLiteral("Save Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".set");
    if (!MayReplaceFile(dialogs, &main_, path)) return;
    main_.runOperation([&] { writeFile(path); });
}

void OptionsCommands::open() {
    MainWindow::Operation busy(main_);
    if (!busy.entered()) return;
    const auto chosen =
        main_.dialogs().openFile(&main_, QStringLiteral("Open Options"), QStringLiteral("*.set"));
    if (!chosen) return;
    bool reload = true;
    const bool read = main_.runOperation([&] {
        if (readFile(*chosen)) reload = false;
    });
    // A file of another map reloads the page. So does one that changed the page's map list
    // alone: the grids must never hold one map's rows under another map's name.
    PageSet& pages = main_.pages();
    if ((read && reload) || !pages.active().showsSelection())
        pages.showPage(pages.activeIndex(), true);
}

} // namespace tolvane
