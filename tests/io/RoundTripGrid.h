#pragma once

#include "charts/PageState.h"

namespace tolvane::test {

// A shade grid whose texts probe the export: numbers of several kinds, texts that only
// look like numbers ("007", "1,5", "12.50"), a no-data row and names beyond ASCII.
// tools/sheets writes it with the program's exporter and has LibreOffice convert it.
inline GridData RoundTripGrid() {
    static const char* const rows[][4] = {
        {"Bayern", "DE.BY", "12.5", "3"},
        {"Baden-Württemberg", "DE.BW", "1234567.891", "1"},
        {"Antarctica", "-", "", ""},
        {"Berlin", "DE.BE", "0.1", "2"},
        {"Hamburg", "DE.HH", "-3", ""},
        {"Saarland", "DE.SL", "007", "4"},
        {"Bremen", "DE.HB", "1,5", "10"},
        {"Hessen", "DE.HE", "100000000000000000000", "5"},
        {"Sachsen", "DE.SN", "0", "0"},
        {"Thüringen", "DE.TH", "12.50", ""},
        {"Niedersachsen", "01", "99999999999999", "6"},
        {"Nordrhein-Westfalen", "DE.NW", "0.000001", "7"},
        {"Rheinland-Pfalz", "DE.RP", "-0.25", "8"},
    };
    GridData grid = MakeDataGrid(GridLayout::Shade);
    grid.setRowCount(2 + static_cast<int>(std::size(rows)));
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i)
        for (int c = 0; c < 4; ++c)
            grid.setText(c < 3 ? c + 1 : ColExtra, i + 2, QString::fromUtf8(rows[i][c]));
    return grid;
}

} // namespace tolvane::test
