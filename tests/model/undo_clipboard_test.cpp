// Undo and redo over grids, and tables pasted into and copied out of them.
#include "charts/GridRows.h"
#include "charts/LegendSets.h"
#include "model/GridClipboard.h"
#include "model/UndoStack.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Two regions with data and one without, as a loader leaves a shade grid.
GridData ShadeGrid() {
    std::vector<TProvince> regions(3);
    const char* names[] = {"Alpha", "Beta", "Gamma"};
    const char* keys[] = {"A", "-", "C"};
    for (int i = 0; i < 3; ++i) {
        regions[i].Name = QString::fromLatin1(names[i]);
        regions[i].ShortName = QString::fromLatin1(keys[i]);
        regions[i].Color = 0x102030;
        regions[i].Shade = 1;
    }
    GridData grid = MakeDataGrid(GridLayout::Shade);
    FillDataGrid(grid, GridLayout::Shade, regions);
    return grid;
}

bool NumberKey(QChar c, const QString&, int, int) {
    return c.isDigit() || c == u'.' || c == u'-' || c == u',';
}

} // namespace

TEST(PasteTest, TablesFromSpreadsheetsAndWebPagesAreRead) {
    const TextTable table = ParseTextTable("1\t2\r\n\"a\tb\"\t\"say \"\"hi\"\"\"\n\t\n3");
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0], QStringList({"1", "2"}));
    EXPECT_EQ(table[1], QStringList({"a\tb", "say \"hi\""}));
    EXPECT_EQ(table[2], QStringList({"", ""}));
    EXPECT_EQ(table[3], QStringList({"3"}));
    EXPECT_EQ(ParseTextTable("5\n").size(), 1u);
}

TEST(PasteTest, ValuesPassTheKeyFilterAndSkipNamesColoursAndRowsWithoutData) {
    GridData grid = ShadeGrid();
    const PasteOutcome outcome =
        PasteTable(grid, 3, 2, ParseTextTable(" 12.5 \t3\n7\t4\n1x\t5\n9\n"), NumberKey);
    EXPECT_EQ(grid.text(3, 2), "12.5");
    EXPECT_EQ(grid.text(5, 2), "3"); // the second column skips the colour column
    EXPECT_EQ(grid.text(3, 3), "");  // no data: read-only
    EXPECT_EQ(grid.text(3, 4), "0"); // "1x" is no number: kept
    EXPECT_EQ(grid.text(5, 4), "5");
    EXPECT_EQ(outcome.pasted, 3);
    EXPECT_EQ(outcome.skippedRows, QStringList({"Beta", "Gamma"}));
    EXPECT_EQ(outcome.beyondLastRow, 1);
}

TEST(CopyTest, RowsAreLedByTheirNamesAndColoursGiveTheirValue) {
    GridData grid = ShadeGrid();
    grid.setText(3, 2, "12.5");
    EXPECT_EQ(CopyTable(grid, 3, 2, 4, 3, true), "Alpha\tA\t12.5\t#102030\nBeta\t-\t\t#ffffff\n");
    EXPECT_EQ(CopyTable(grid, 1, 2, 2, 2, true), "Alpha\tA\n");
}

TEST(UndoTest, StepsTakeBackTogetherWhatTheyChangedAndRedoPutsItBack) {
    GridData grid = ShadeGrid();
    LegendState legend(ChartKind::Shade);
    UndoStack stack;
    stack.attach(grid);
    stack.attach(legend.grid);

    grid.setText(3, 2, "1"); // typed: a step of its own
    grid.setText(3, 2, "2");
    {
        const UndoStep step(&grid, "Gradient Color");
        grid.setColor(4, 2, 0xFF);
        ResizeLegend(legend, 3); // the legend gains rows in the same step
        legend.grid.setText(1, 1, "low");
    }
    EXPECT_EQ(stack.undoName(), "Gradient Color");
    stack.undo();
    EXPECT_EQ(grid.color(4, 2), 0x302010); // platform order
    EXPECT_EQ(legend.grid.rowCount(), 1);
    EXPECT_EQ(grid.text(3, 2), "2");
    EXPECT_EQ(stack.undoName(), "Edit Cell");
    stack.undo();
    EXPECT_EQ(grid.text(3, 2), "1");

    stack.redo();
    stack.redo();
    EXPECT_EQ(grid.text(3, 2), "2");
    EXPECT_EQ(legend.grid.rowCount(), 5);
    EXPECT_EQ(legend.grid.text(1, 1), "low");
    EXPECT_FALSE(stack.canRedo());

    stack.undo();
    grid.setText(5, 2, "4"); // a new step drops what could have been redone
    EXPECT_FALSE(stack.canRedo());
    {
        const UndoPause pause(stack); // a load
        grid.setText(3, 4, "99");
    }
    stack.undo();
    EXPECT_EQ(grid.text(5, 2), "1");
    EXPECT_EQ(grid.text(3, 4), "99");
}

} // namespace tolvane
