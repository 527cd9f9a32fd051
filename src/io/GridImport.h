#pragma once

#include "io/ReadProgress.h"
#include "io/Sheet.h"
#include "model/GridData.h"

#include <QString>
#include <vector>

namespace tolvane {

// How a data grid travels to and from files. Sheet columns A, B and C hold grid columns 1
// (the row's name), 2 (short name, or region name in city grids) and 3 (Data); column D
// holds grid column 5 (Shade or Size) where the grid sends it. Sheet row n is grid row
// n + 1, without a title row.
struct GridFileLayout {
    bool extraColumn = false; // grid column 5 travels as sheet column D
    QString rowNoun;          // what one grid row is, in messages: "region", "city"
};

// An import file read completely: a spreadsheet's first sheet, or a text file's text.
struct ImportSource {
    bool isSheet = false;
    Sheet sheet;
    QString text;
};

// Reads a file for import: as a spreadsheet when its extension is one (.xls, .xlsx, .xlsm,
// .ods, .csv), else as a tab-separated text file. Throws UserError saying why it cannot,
// ReadCancelled when cancelled. Touches no grid, so it may run on another thread.
ImportSource ReadImportSource(const QString& path, ReadProgress* progress = nullptr);

// A line or sheet row that matched no grid row.
struct UnmatchedEntry {
    QString where;      // "line 4", "row 12"
    QString names;      // what it names: the key, or "name, key" for sheet rows
    QString suggestion; // the closest grid row's names, or ""
};

struct ImportReport {
    std::vector<UnmatchedEntry> unmatched; // the first kListedUnmatched, with suggestions
    int unmatchedCount = 0;
    static constexpr int kListedUnmatched = 10;
};

// Puts what the source holds into the grid's Data cells (and column 5 where the layout
// sends it):
// - a text file: each line's second tab-separated field names the rows whose column 2
//   equals it; the text after the second tab becomes their Data when it is a number,
//   else "0"; rows no line names (but no-data rows, "-") get "0".
// - a sheet whose columns A and B name its rows: each goes to the grid row with the same
//   name and column 2; unnamed grid rows get "0" as with text files.
// - a sheet without names: sheet row n goes to grid row n + 1, every region row, as is.
// A line or row whose key is the grid's title of column 2 is a header and is skipped.
// Throws UserError, changing nothing, when no line or row matched any grid row.
ImportReport ApplyImport(GridData& grid, const ImportSource& source, const GridFileLayout& layout);

// "3 rows of "file.xlsx" match no region of this map and were left out: ..."
QString UnmatchedMessage(const QString& fileName, bool isSheet, const ImportReport& report,
                         const GridFileLayout& layout);

// The grid's rows as the sheet that export writes.
Sheet ExportGrid(const GridData& grid, const GridFileLayout& layout);

} // namespace tolvane
