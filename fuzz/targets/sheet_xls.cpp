// .xls workbooks, as the grid import reads them (FreeXL reads files, so each input is
// written to one first).
#include "FuzzTargets.h"
#include "ImportGrids.h"
#include "io/XlsReader.h"
#include "io/XlsRecords.h"

#include <QDir>
#include <QTemporaryFile>

using namespace tolvane;

TOLVANE_FUZZ_TARGET(sheet_xls) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    XlsCellsBeyondFreeXl(bytes);
    static QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tolvane-fuzz-XXXXXX.xls"));
    if (!file.isOpen() && !file.open()) return;
    file.resize(0);
    file.seek(0);
    file.write(bytes);
    file.flush();
    try {
        fuzz::ApplyToGrids(ImportSource{
            true, XlsReader().read(file.fileName(), fuzz::kImportColumns, nullptr), {}});
    } catch (const UserError&) {
    }
}
