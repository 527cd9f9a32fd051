#include "forms/GridFileCommands.h"

#include "io/XlsxWriter.h"
#include "model/GridData.h"
#include "model/UndoStack.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "widgets/WorkProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

namespace tolvane {

QString GridFileKind::filter() const {
    QString filter = QStringLiteral("Spreadsheets (*.xls *.xlsx *.xlsm *.ods *.csv)");
    if (offersText) filter += QStringLiteral(";;Text files (*.txt)");
    return filter;
}

bool ImportGridFile(QWidget* parent, Dialogs& dialogs, GridData& grid, const GridFileKind& kind) {
    const auto path = dialogs.openFile(parent, QStringLiteral("Import Data"), kind.filter());
    if (!path) return false;
    const QString fileName = QFileInfo(*path).fileName();
    try {
        ReadProgress progress;
        ImportSource source;
        RunWithProgress(parent, QStringLiteral("Reading \"%1\"...").arg(fileName),
                        [&] { source = ReadImportSource(*path, &progress); },
                        {[&] { return progress.permille(); }, [&] { progress.cancel(); }});
        const UndoStep step(&grid, QStringLiteral("Import"));
        const ImportReport report = ApplyImport(grid, source, kind.layout);
        if (report.unmatchedCount > 0)
            dialogs.showMessage(parent,
                                UnmatchedMessage(fileName, source.isSheet, report, kind.layout));
        return true;
    } catch (const ReadCancelled&) {
    } catch (const UserError& e) {
        dialogs.showError(parent, QStringLiteral("Cannot import \"%1\": %2.\nNothing was changed.")
                                      .arg(fileName, e.message()));
    } catch (const std::bad_alloc&) {
        dialogs.showError(parent, QStringLiteral("Cannot import \"%1\": there is not enough "
                                                 "memory to read it.\nNothing was changed.")
                                      .arg(fileName));
    }
    return false;
}

namespace {

// Offers to save the exported workbook where no program could open it.
void SaveExport(QWidget* parent, Dialogs& dialogs, const QString& written) {
    const auto chosen = dialogs.saveFile(parent, QStringLiteral("Export Data"),
                                         QStringLiteral("Excel workbooks (*.xlsx)"));
    if (!chosen) return;
    QString target = *chosen;
    if (QFileInfo(target).suffix().compare(u"xlsx", Qt::CaseInsensitive) != 0)
        target += QStringLiteral(".xlsx");
    if (QFileInfo::exists(target) &&
        !dialogs.askOkCancel(
            parent, QStringLiteral("Information"),
            QStringLiteral("A same named file has existed. Do you want to replace it?")))
        return;
    if (!CopyFileReplacing(written, target))
        throw UserError(QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(target)));
}

} // namespace

void ExportGridFile(QWidget* parent, Dialogs& dialogs, const GridData& grid,
                    const GridFileKind& kind, const QString& name) {
    try {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tolvane-export-XXXXXX"));
        if (!folder.isValid())
            throw UserError(QStringLiteral("Cannot make a temporary folder to export into: %1")
                                .arg(folder.errorString()));
        QString stem = name.isEmpty() ? QStringLiteral("Data") : name;
        stem.replace(u'/', u'_');
        const QString path = folder.filePath(stem + QStringLiteral(".xlsx"));
        WriteXlsx(ExportGrid(grid, kind.layout), path);
        if (dialogs.openUrl(QUrl::fromLocalFile(path))) {
            folder.setAutoRemove(false); // the spreadsheet program reads the file from here
            return;
        }
        SaveExport(parent, dialogs, path);
    } catch (const UserError& e) {
        dialogs.showError(parent, e.message());
    }
}

} // namespace tolvane
