// Text files (tab-separated) and comma-separated files, as the grid import reads them.
#include "FuzzTargets.h"
#include "ImportGrids.h"
#include "io/CsvReader.h"
#include "io/TextDecode.h"

using namespace tolvane;

TOLVANE_FUZZ_TARGET(text_import) {
    const QString text =
        DecodeText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    fuzz::ApplyToGrids(ImportSource{false, Sheet(), text});
    try {
        fuzz::ApplyToGrids(ImportSource{true, CsvReader::parse(text, fuzz::kImportColumns), {}});
    } catch (const UserError&) {
    }
}
