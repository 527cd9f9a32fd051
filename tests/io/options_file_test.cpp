// The options file format over plain data: lines, fields, encodings and grid rows.
#include "charts/PageState.h"
#include "io/OptionsFile.h"
#include "io/TextDecode.h"
#include "io/TextFile.h"
#include "model/UserError.h"

#include <gtest/gtest.h>

using namespace tolvane;

namespace {

QString ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const UserError& e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST(OptionsFile, KeysActByHowTheyStartAndCaseCounts) {
    EXPECT_EQ(ActionOfKey(u"rdoSquare").kind, OptionKind::Radio);
    EXPECT_EQ(ActionOfKey(u"WRCRGrid").fields, 4);
    EXPECT_EQ(ActionOfKey(u"WRCCGrid").fields, 5);
    for (const char16_t* ignored : {u"", u"Foo", u"TXTx", u"gdFlag", u"W", u"ActiveMapName"})
        EXPECT_EQ(ActionOfKey(ignored).kind, OptionKind::Ignored)
            << QStringView(ignored).toString().toStdString();
    EXPECT_EQ(SplitOptionLine("no colon here").key, "");
}

TEST(OptionsFile, WrittenLinesSplitBackAsTheyWereEvenWithSeparatorsInTexts) {
    // Lines as every writer has always produced them.
    DataRowFields row = SplitDataRow(u"Alpha+AL+12.5+14745584", 4);
    EXPECT_EQ(row.name, "Alpha");
    EXPECT_EQ(row.key, "AL");
    EXPECT_EQ(row.data, "12.5");
    EXPECT_EQ(row.color, 14745584);
    row = SplitDataRow(u"Beta+-++16777215", 4);
    EXPECT_EQ(row.key, "-");
    EXPECT_EQ(row.data, "");
    row = SplitDataRow(u"Köln+Nordrhein+3+255+12", 5);
    EXPECT_EQ(row.name, "Köln");
    EXPECT_EQ(row.color, 255);
    EXPECT_EQ(row.extra, "12");

    // "+" in the first text stays there.
    const DataRowFields plus{"Bosnia+Herzegovina", "BA", "7", 65280, "2"};
    for (const int fields : {4, 5}) {
        const DataRowFields back = SplitDataRow(JoinDataRow(plus, fields), fields);
        EXPECT_EQ(back.name, plus.name);
        EXPECT_EQ(back.key, "BA");
        EXPECT_EQ(back.data, "7");
        EXPECT_EQ(back.color, 65280);
        EXPECT_EQ(back.extra, fields == 5 ? "2" : "");
    }
    EXPECT_EQ(JoinDataRow({"Beta", "-", "", 16777215, "x"}, 4), "Beta+-++16777215");
    EXPECT_EQ(JoinDataRow({"Line\r\nbreak", "B", "1", 0, "2"}, 5), "Line  break+B+1+0+2");

    // Legends split at the last "?=".
    const LegendRowFields legend = SplitLegendRow(u"Why?=Because?=1339686");
    EXPECT_EQ(legend.text, "Why?=Because");
    EXPECT_EQ(legend.color, 1339686);
    EXPECT_EQ(JoinLegendRow({"0.000~10.000", 14745584}), "0.000~10.000?=14745584");
    EXPECT_EQ(SplitLegendRow(u"?=16777215").text, "");
    EXPECT_EQ(SplitLegendRow(u"123").color, 123); // no mark: all is colour
}

TEST(OptionsFile, ShortLinesReadFromTheLeftAndBadNumbersStopWithTheIntegerMessage) {
    DataRowFields row = SplitDataRow(u"A+B+5", 4);
    EXPECT_EQ(row.name, "A");
    EXPECT_EQ(row.key, "B");
    EXPECT_EQ(row.data, "");
    EXPECT_EQ(row.color, 5);
    // Five fields short of one: the colour field comes out empty.
    EXPECT_EQ(ErrorOf([] { SplitDataRow(u"A+B+C+7", 5); }), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { SplitDataRow(u"A+B+C+red", 4); }), "'red' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { SplitLegendRow(u"text?=blue"); }),
              "'blue' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ParseOptionInt(u"1.5"); }), "'1.5' is not a valid integer value");

    EXPECT_EQ(ParseOptionColor(u"clSilver"), 12632256);
    EXPECT_EQ(ParseOptionColor(u"clRed"), 255);
    EXPECT_EQ(ParseOptionColor(u"-16777201"), -16777201);
    EXPECT_EQ(ErrorOf([] { ParseOptionColor(u"clNothing"); }),
              "'clNothing' is not a valid integer value");
}

TEST(OptionsFile, FilesAreUtf8WithCrLfAndReadInEitherEncodingAndLineEnd) {
    const QByteArray built =
        BuildOptionsFile({{"ActivePageIndex", "0"}, {"ActiveMapName", "Côte"}, {"trSize", "3"}});
    EXPECT_EQ(built, "Tolvane Options\r\nActivePageIndex:0\r\nActiveMapName:C\xC3\xB4te\r\n"
                     "trSize:3\r\n");

    OptionsText text = ParseOptionsFile(built);
    EXPECT_EQ(text.pageIndex, 0);
    EXPECT_EQ(text.activeMapName, "Côte");
    ASSERT_EQ(text.lines.size(), 1u);
    EXPECT_EQ(text.lines[0].key, "trSize");

    // Windows-1252 with LF ends, another header, and no active map (the "Flag" page).
    text = ParseOptionsFile("Something else\nActivePageIndex:4\ncmbMap:27\ngdPLegend:\x80 5 "
                            "\x96 Z\xFCrich?=255\n\nlast");
    EXPECT_EQ(text.pageIndex, 4);
    EXPECT_FALSE(text.activeMapName);
    ASSERT_EQ(text.lines.size(), 4u);
    EXPECT_EQ(text.lines[0].key, "cmbMap");
    EXPECT_EQ(text.lines[1].value, QString::fromUtf8("€ 5 – Zürich?=255"));
    EXPECT_EQ(text.lines[2].key, "");
    EXPECT_EQ(text.lines[3].value, "last");

    EXPECT_EQ(DecodeText("\xEF\xBB\xBFTolvane"), "Tolvane"); // a byte order mark is dropped
    EXPECT_EQ(SplitTextLines("a\rb\r\n\r\nc\n").size(), 4);

    EXPECT_EQ(ErrorOf([] { ParseOptionsFile("Tolvane Options\r\nActivePageIndex:first\r\n"); }),
              "'first' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { ParseOptionsFile(""); }), "'' is not a valid integer value");
}

TEST(OptionsFile, RowsCountTheGridAndDecideWhatCanBeTyped) {
    GridData grid(6, 40); // a shade grid holding a longer map
    grid.setReadOnly(ColData, 3, false);
    PutDataRow(grid, 2, {"Alpha", "AL", "1", 255, "3"}, 5);
    PutDataRow(grid, 3, {"Beta", "-", "", 16777215, "0"}, 5);
    EXPECT_EQ(grid.rowCount(), 4); // cut to the rows read
    EXPECT_EQ(grid.text(0, 3), "2");
    EXPECT_EQ(grid.text(1, 2), "Alpha");
    EXPECT_EQ(grid.color(4, 2), 255);
    EXPECT_EQ(grid.text(5, 2), "3");
    EXPECT_FALSE(grid.readOnly(3, 2));
    EXPECT_FALSE(grid.readOnly(5, 2));
    EXPECT_TRUE(grid.readOnly(3, 3)); // no data: nothing to type
    EXPECT_TRUE(grid.readOnly(5, 3));
    EXPECT_TRUE(grid.readOnly(1, 2));

    GridData legend(4, 2);
    legend.setText(ColLegendText, 1, "loaded");
    PutLegendRow(legend, 1, {"first", 14745584});
    PutLegendRow(legend, 2, {"second", 1339686});
    EXPECT_EQ(legend.rowCount(), 3);
    EXPECT_EQ(legend.text(1, 1), "first");
    EXPECT_EQ(legend.color(2, 2), 1339686);
    EXPECT_TRUE(legend.readOnly(1, 1));  // an item the grid had keeps its cells as they were
    EXPECT_FALSE(legend.readOnly(1, 2)); // a new item can be typed into
    EXPECT_FALSE(legend.readOnly(3, 2));
    EXPECT_TRUE(legend.readOnly(2, 2));
}
