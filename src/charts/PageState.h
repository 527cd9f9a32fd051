#pragma once

#include "charts/ChartFile.h"
#include "model/Colors.h"
#include "model/GridData.h"

#include <vector>

namespace tolvane {

// The column layouts of the data grids.
enum class GridLayout {
    Region, // Region Name, Short Name, Data, Color
    Shade,  // ... and Shade
    City,   // City Name, Region Name, Data, Color, Size
};

// Data grid columns, shared by every layout.
enum DataColumn : int { ColName = 1, ColKey = 2, ColData = 3, ColColor = 4, ColExtra = 5 };
// Legend grid columns.
enum LegendColumn : int { ColLegendText = 1, ColLegendColor = 2, ColLegendExtra = 3 };

GridData MakeDataGrid(GridLayout layout);
GridData MakeLegendGrid(ChartKind kind);
int LegendMaxItems(ChartKind kind); // the item-count list runs "1" .. this

// What a data grid's rows were last filled with, so that a refill passes over the rows no one
// has touched since whose record is the same, and a make takes their numbers without reading
// the text again: at 200,000 rows, formatting and reading numbers is most of what either
// costs. Kept beside the grid; reading the grid adds what it reads.
struct GridRowsMemo {
    struct Row {
        double value = 0, extra = 0;         // the record's data and shade or size
        int32_t color = 0;                   // and colour, as filled in
        bool read = false;                   // whether the next two are known:
        double readValue = 0, readExtra = 0; // what the row's texts read as
    };
    uint64_t grid = 0;     // GridData::id() of the grid filled; 0: none
    uint64_t filledAt = 0; // its revision when the fill ended
    GridLayout layout = GridLayout::Region;
    std::vector<Row> rows;
};

// One legend set: its grid, the item-count list's selection (-1: none) and "Show Legend".
struct LegendState {
    explicit LegendState(ChartKind kind_)
        : kind(kind_)
        , grid(MakeLegendGrid(kind_)) {}
    ChartKind kind;
    GridData grid;
    int countIndex = -1;
    bool show = false;
};

// What the loaders refill and the writers read on the "Map" and "Advance Map" pages.
struct MapPageState {
    explicit MapPageState(ChartKind kind = ChartKind::Region)
        : grid(MakeDataGrid(kind == ChartKind::Shade ? GridLayout::Shade : GridLayout::Region))
        , legend(kind) {}
    GridData grid;
    LegendState legend;
    int32_t border = kSilver; // platform colour
    bool showName = false;    // "Show Name"
    mutable GridRowsMemo gridMemo;
};

// The "Bubble" page; its border is the "Map" page's.
struct CityPageState {
    GridData grid = MakeDataGrid(GridLayout::City);
    LegendState legend{ChartKind::City};
    bool showName = false; // "Show City Name"
    mutable GridRowsMemo gridMemo;
};

// The "Advance Bubble" page: no legend, no border control.
struct RegionCityPageState {
    GridData regionGrid = MakeDataGrid(GridLayout::Region); // the "Region" sub-page
    GridData cityGrid = MakeDataGrid(GridLayout::City);     // the "  City  " sub-page
    mutable GridRowsMemo regionMemo, cityMemo;
};

} // namespace tolvane
