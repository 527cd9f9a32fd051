// Writes the round-trip grid with the program's own exporter, for make_fixtures.sh.
#include "io/GridImport.h"
#include "io/RoundTripGrid.h"
#include "io/XlsxWriter.h"
#include "model/UserError.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.xlsx\n", argv[0]);
        return 2;
    }
    try {
        const tolvane::GridFileLayout shade{true, QStringLiteral("region")};
        tolvane::WriteXlsx(tolvane::ExportGrid(tolvane::test::RoundTripGrid(), shade),
                           QString::fromLocal8Bit(argv[1]));
    } catch (const tolvane::UserError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
