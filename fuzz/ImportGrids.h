#pragma once

// What the import targets do with a file once it is read: put it into a region grid (Data
// and Shade columns) and a city grid, as the import commands do.
#include "charts/PageState.h"
#include "io/GridImport.h"
#include "model/UserError.h"

namespace tolvane::fuzz {

inline constexpr int kImportColumns = 4; // sheet columns A .. D, as the import reads them

inline void ApplyToGrids(const ImportSource& source) {
    static const char* const rows[][3] = {
        {"Bayern", "DE.BY", "1"}, {"Berlin", "-", ""}, {"Hessen", "DE.HE", "2,5"}};
    for (const auto& [layout, gridLayout] :
         {std::pair(GridFileLayout{true, QStringLiteral("region")}, GridLayout::Shade),
          std::pair(GridFileLayout{false, QStringLiteral("city")}, GridLayout::City)}) {
        GridData grid = MakeDataGrid(gridLayout);
        grid.setRowCount(2 + 3);
        for (int i = 0; i < 3; ++i)
            for (int c = 0; c < 3; ++c)
                grid.setText(c + 1, i + 2, QString::fromUtf8(rows[i][c]));
        try {
            ApplyImport(grid, source, layout);
        } catch (const UserError&) {
        }
    }
}

} // namespace tolvane::fuzz
