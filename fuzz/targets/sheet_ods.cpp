// .ods workbooks, as the grid import reads them.
#include "FuzzTargets.h"
#include "ImportGrids.h"
#include "io/OdsReader.h"

using namespace tolvane;

TOLVANE_FUZZ_TARGET(sheet_ods) {
    try {
        const Sheet sheet = OdsReader::parse(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
            fuzz::kImportColumns);
        fuzz::ApplyToGrids(ImportSource{true, sheet, {}});
    } catch (const UserError&) {
    }
}
