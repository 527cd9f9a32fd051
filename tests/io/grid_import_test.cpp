// Import and export over plain grid data, for every page's grid.
#include "charts/PageState.h"
#include "forms/GridFileCommands.h"
#include "io/RoundTripGrid.h"
#include "io/SheetReader.h"
#include "io/XlsxWriter.h"
#include "io/ZipPackage.h"
#include "model/UserError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

const GridFileLayout kRegion = kRegionGridFile.layout;
const GridFileLayout kShade = kShadeGridFile.layout;
const GridFileLayout kCity = kCityGridFile.layout;

GridData Grid(GridLayout layout, const std::vector<std::array<const char*, 4>>& rows) {
    GridData grid = MakeDataGrid(layout);
    grid.setRowCount(2 + static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        for (int c = 0; c < 4; ++c)
            grid.setText(c < 3 ? c + 1 : ColExtra, static_cast<int>(i) + 2,
                         QString::fromUtf8(rows[i][static_cast<size_t>(c)]));
    return grid;
}

GridData Regions() {
    return Grid(GridLayout::Shade, {{"Bayern", "DE.BY", "1", "2"},
                                    {"Berlin", "DE.BE", "2", "3"},
                                    {"Antarctica", "-", "", ""},
                                    {"Hamburg", "DE.HH", "3", "4"}});
}

GridData Cities() {
    return Grid(GridLayout::City, {{"Paris", "France", "1", "10"},
                                   {"Lyon", "France", "2", "20"},
                                   {"Zürich", "Zürich", "3", "30"},
                                   {"Nowhere", "-", "", ""}});
}

// A grid column's texts from the first data row on, "|"-separated.
std::string Column(const GridData& grid, int col) {
    QStringList texts;
    for (int r = 2; r < grid.rowCount(); ++r)
        texts << grid.text(col, r);
    return texts.join(u'|').toStdString();
}

ImportSource Text(const QString& text) {
    return {false, Sheet(), text};
}

ImportSource SheetOf(const std::vector<std::array<const char*, 4>>& rows) {
    ImportSource source{true, Sheet(4), {}};
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 4; ++c)
            source.sheet.setCells(static_cast<int>(r) + 1, c + 1,
                                  QString::fromUtf8(rows[r][static_cast<size_t>(c)]));
    return source;
}

std::string Failure(GridData& grid, const ImportSource& source, const GridFileLayout& layout) {
    try {
        ApplyImport(grid, source, layout);
    } catch (const UserError& e) {
        return e.message().toStdString();
    }
    return "(imported)";
}

TEST(GridImport, TextLinesSetTheDataOfTheRowsTheirSecondFieldNames) {
    GridData grid = Regions();
    const ImportReport report = ApplyImport(grid,
                                            Text("Region Name\tShort Name\tData\r\n"
                                                 "Bavaria\tDE.BY\t12.5\r\n"
                                                 "Hamburg\tDE.HH\t12,5x\r\n"
                                                 "Nowhere\tDE.BX\t5\r\n"
                                                 "\r\n"
                                                 "no tabs\n"
                                                 "none\t-\t9\n"),
                                            kRegion);
    // Rows no line names fall back to "0"; the no-data row and the Shade column stay.
    EXPECT_EQ(Column(grid, ColData), "12.5|0||0");
    EXPECT_EQ(Column(grid, ColExtra), "2|3||4");
    EXPECT_EQ(UnmatchedMessage("values.txt", false, report, kRegion).toStdString(),
              "2 lines of \"values.txt\" match no region of this map and were left out:\n"
              "line 4: \"DE.BX\" (closest: \"DE.BY\")\n"
              "line 6: \"no tabs\"");
}

TEST(GridImport, CityTextLinesNameARegionAndSetAllItsCities) {
    GridData grid = Cities();
    const ImportReport report = ApplyImport(grid, Text("any\tFrance\t7\n"), kCity);
    EXPECT_EQ(Column(grid, ColData), "7|7|0|");
    EXPECT_EQ(Column(grid, ColExtra), "10|20|30|");
    EXPECT_EQ(report.unmatchedCount, 0);
}

TEST(GridImport, TextFilesInUtf8OrWindows1252) {
    QTemporaryDir dir;
    for (const QByteArray& bytes :
         {QByteArray("x\tZ\xC3\xBCrich\t4\r\n"), QByteArray("x\tZ\xFCrich\t4\r\n")}) {
        const QString path = dir.filePath("values.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        GridData grid = Cities();
        ApplyImport(grid, ReadImportSource(path), kCity);
        EXPECT_EQ(Column(grid, ColData), "0|0|4|");
    }
}

TEST(GridImport, AWorkbookOfAnotherKindIsNotReadAsText) {
    QTemporaryDir dir;
    QFile file(dir.filePath("data.xlsb"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04\x14\x00");
    file.close();
    EXPECT_THROW(ReadImportSource(file.fileName()), UserError);
}

TEST(GridImport, AFileThatMatchesNothingChangesNothing) {
    GridData grid = Regions();
    EXPECT_EQ(Failure(grid, Text("a\tDE.XX\t1\nb\tDE.YY\t2\n"), kRegion),
              "no line names a region of this map by its \"Short Name\" in the second "
              "tab-separated field");
    EXPECT_EQ(Failure(grid, SheetOf({{"Paris", "France", "1", ""}}), kShade),
              "no row of its first sheet names a region of this map in columns A and B (as "
              "\"Export to file\" writes them)");
    EXPECT_EQ(Failure(grid, SheetOf({}), kShade), "its first sheet is empty");
    EXPECT_EQ(Column(grid, ColData), "1|2||3");
}

TEST(GridImport, SheetRowsGoToTheGridRowsTheyName) {
    GridData grid = Regions();
    const ImportReport report = ApplyImport(grid,
                                            SheetOf({{"Region Name", "Short Name", "Data", "Shade"},
                                                     {"Hamburg", "DE.HH", "30", "7"},
                                                     {"", "", "", ""},
                                                     {"Bayern", "DE.BY", "10", "5"},
                                                     {"Hamburg", "DE.HH", "31", "8"},
                                                     {"Berlim", "DE.BE", "20", "6"}}),
                                            kShade);
    EXPECT_EQ(Column(grid, ColData), "10|0||30");
    EXPECT_EQ(Column(grid, ColExtra), "5|3||7");
    EXPECT_EQ(UnmatchedMessage("v.ods", true, report, kShade).toStdString(),
              "2 rows of \"v.ods\" match no region of this map and were left out:\n"
              "row 5: \"Hamburg, DE.HH\" (closest: \"Hamburg, DE.HH\")\n"
              "row 6: \"Berlim, DE.BE\" (closest: \"Berlin, DE.BE\")");
}

TEST(GridImport, SheetWithoutNamesGoesByPositionIntoEveryRow) {
    GridData grid = Regions();
    const ImportReport report = ApplyImport(grid,
                                            SheetOf({{"", "", "10", "5"},
                                                     {"", "", "x", ""},
                                                     {"", "", "9", "9"},
                                                     {"", "", "", "1"},
                                                     {"", "", "", ""},
                                                     {"", "", "77", ""}}),
                                            kShade);
    EXPECT_EQ(Column(grid, ColData), "10|x|9|");
    EXPECT_EQ(Column(grid, ColExtra), "5||9|1");
    EXPECT_EQ(UnmatchedMessage("v.xls", true, report, kShade).toStdString(),
              "1 row of \"v.xls\" matches no region of this map and was left out:\n"
              "row 6: \"77\"");
}

// Each page's grid, exported and imported back into a grid whose values were changed.
class EveryGrid : public ::testing::TestWithParam<std::pair<const GridFileKind*, GridLayout>> {};

TEST_P(EveryGrid, ExportThenImportGivesTheGridBack) {
    const auto [kind, layout] = GetParam();
    GridData original = tolvane::test::RoundTripGrid();
    GridData grid = MakeDataGrid(layout);
    grid.setRowCount(original.rowCount());
    for (int r = 2; r < grid.rowCount(); ++r)
        for (int c = 1; c < grid.colCount(); ++c)
            grid.setText(c, r, original.text(c, r));

    QTemporaryDir dir;
    const QString path = dir.filePath("grid.xlsx");
    WriteXlsx(ExportGrid(grid, kind->layout), path);
    const ImportSource source = ReadImportSource(path);
    EXPECT_EQ(source.sheet.cells(5, 2), "DE.HH");
    EXPECT_EQ(source.sheet.cells(2, 4), kind->layout.extraColumn ? "1" : "");

    GridData changed = grid;
    for (int r = 2; r < grid.rowCount(); ++r)
        for (int c : {ColData, ColExtra})
            changed.setText(c, r, QStringLiteral("99"));
    const std::string extraBefore = Column(changed, ColExtra);
    ApplyImport(changed, source, kind->layout);
    EXPECT_EQ(Column(changed, ColData), Column(grid, ColData));
    EXPECT_EQ(Column(changed, ColExtra),
              kind->layout.extraColumn ? Column(grid, ColExtra) : extraBefore);
}

INSTANTIATE_TEST_SUITE_P(Pages, EveryGrid,
                         ::testing::Values(std::pair(&kRegionGridFile, GridLayout::Region),
                                           std::pair(&kShadeGridFile, GridLayout::Shade),
                                           std::pair(&kCityGridFile, GridLayout::City),
                                           std::pair(&kRegionCityRegionGridFile,
                                                     GridLayout::Region),
                                           std::pair(&kRegionCityCityGridFile, GridLayout::City)));

TEST(GridExport, NumbersAreWrittenAsNumbersAndEveryOtherTextAsText) {
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.xlsx");
    WriteXlsx(ExportGrid(tolvane::test::RoundTripGrid(), kShade), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray xml = ZipPackage(file.readAll()).read("xl/worksheets/sheet1.xml");
    for (const char* number :
         {"<c r=\"C1\"><v>12.5</v>", "<c r=\"C5\"><v>-3</v>", "<c r=\"C8\"><v>1E+20</v>",
          "<c r=\"D9\"><v>0</v>", "<c r=\"C12\"><v>"})
        EXPECT_TRUE(xml.contains(number)) << number;
    for (const char* text : {"<c r=\"C6\" t=\"s\">", "<c r=\"C7\" t=\"s\">",
                             "<c r=\"C10\" t=\"s\">", "<c r=\"B11\" t=\"s\">"})
        EXPECT_TRUE(xml.contains(text)) << text;
    EXPECT_FALSE(xml.contains("r=\"C3\"")); // the no-data row's empty Data
}

// The program's export as LibreOffice saved it again in its own and the old Excel format.
TEST(GridExport, WorkbooksCalcConvertedImportUnchanged) {
    const GridData original = tolvane::test::RoundTripGrid();
    for (const char* name : {"roundtrip.xlsx", "roundtrip-calc.ods", "roundtrip-calc.xls"}) {
        SCOPED_TRACE(name);
        GridData grid = original;
        for (int r = 2; r < grid.rowCount(); ++r)
            grid.setText(ColData, r, QStringLiteral("5"));
        ApplyImport(grid,
                    ReadImportSource(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/io/data/") +
                                     QString::fromLatin1(name)),
                    kShade);
        EXPECT_EQ(Column(grid, ColData), Column(original, ColData));
        EXPECT_EQ(Column(grid, ColExtra), Column(original, ColExtra));
    }
}

} // namespace
