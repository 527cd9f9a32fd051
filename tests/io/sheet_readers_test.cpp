// The readers against files that LibreOffice, Gnumeric and openpyxl wrote
// (tools/sheets/make_fixtures.sh), and against damaged and hostile files.
#include "io/CsvReader.h"
#include "io/OdsReader.h"
#include "io/SheetReader.h"
#include "io/XlsxReader.h"
#include "model/UserError.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

QString Fixture(const char* name) {
    return QStringLiteral(TOLVANE_SOURCE_DIR "/tests/io/data/") + QString::fromLatin1(name);
}

// Every non-empty cell as "C12=text", row by row.
std::string Dump(const Sheet& sheet) {
    QStringList lines;
    for (int r = 1; r <= sheet.rowCount(); ++r)
        for (int c = 1; c <= sheet.maxCols(); ++c)
            if (!sheet.cells(r, c).isEmpty())
                lines << QStringLiteral("%1%2=%3")
                             .arg(QChar(u'A' + c - 1))
                             .arg(r)
                             .arg(sheet.cells(r, c));
    return lines.join(u'\n').toStdString();
}

Sheet Read(const QString& path) {
    return SheetReaderFor(path)->read(path, 4, nullptr);
}

QString ReadError(const QString& path) {
    try {
        Read(path);
    } catch (const UserError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

const std::string kSample = ("A1=Bayern\nB1=DE.BY\nC1=12.5\nD1=3\n"
                             "A2=Baden-Württemberg\nB2=DE.BW\nC2=1234567.891\n"
                             "A3=Berlin\nB3=DE.BE\nC3=0.25\nD3=-7\n"
                             "A6=Hamburg\nB6=DE.HH\nC6=25\nD6=xy\n"
                             "A7=Bremen\nB7=DE.HB\nC7=12,5\nD7=1E20\n"
                             "A8= Hessen  (Mitte)\nB8=DE.HE\nC8=-0.001\nD8=1234580.641\n"
                             "B12=007\nC12=0.1\nD12=two\nlines");

class SampleFile : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleFile, ReadsTheFirstSheetAsTheSpreadsheetShowsIt) {
    const Sheet sheet = Read(Fixture(GetParam()));
    std::string expected = kSample;
    // Calc keeps no text result of a text formula in .xls files, only the number 0.
    if (std::string(GetParam()) == "calc-sample.xls")
        expected.replace(expected.find("D6=xy"), 5, "D6=0");
    EXPECT_EQ(Dump(sheet), expected);
    EXPECT_EQ(sheet.rowCount(), 12);
}

INSTANTIATE_TEST_SUITE_P(WrittenByCalcAndGnumeric, SampleFile,
                         ::testing::Values("calc-sample.xlsx", "calc-sample.xls", "calc-sample.ods",
                                           "gnumeric-sample.xlsx", "gnumeric-sample.xls"));

TEST(SheetReaders, OpenpyxlWorkbookShowsFormulasWithoutCachedValueEmpty) {
    EXPECT_EQ(Dump(Read(Fixture("openpyxl-sample.xlsx"))),
              "A1=Bayern\nB1=DE.BY\nC1=12.5\nD1=3\n"
              "A2=Baden-Württemberg\nB2=DE.BW\nC2=1234567.891\n"
              "A3=Berlin\nB3=DE.BE\nC3=0.25\nD3=-7\n"
              "A6=Hamburg\nB6=DE.HH\nD6=1E20\n"
              "A7=Bremen\nB7=DE.HB\nC7=12,5\nD7=TRUE\n"
              "B9=007\nC9=0.1");
}

TEST(SheetReaders, CsvFieldsAreTextsAsShownInUtf8OrWindows1252) {
    const std::string shown = ("A1=Bayern\nB1=DE.BY\nC1=12.5\nD1=3\n"
                               "A2=Baden-Württemberg\nB2=DE.BW\nC2=1,234,567.89\n"
                               "A3=Berlin\nB3=DE.BE\nC3=25%\nD3=-7\n"
                               "A6=Hamburg\nB6=DE.HH\nC6=25\nD6=xy\n"
                               "A7=Bremen\nB7=DE.HB\nC7=12,5\nD7=1.00E+20\n"
                               "A8= Hessen  (Mitte)\nB8=DE.HE\nC8=-0.001\n"
                               "D8=123458064.10%\n"
                               "B12=007\nC12=0.1\nD12=two\nlines");
    EXPECT_EQ(Dump(Read(Fixture("calc-sample.csv"))), shown);
    EXPECT_EQ(Dump(Read(Fixture("calc-sample-semicolon.csv"))), shown);
    EXPECT_EQ(Dump(CsvReader::parse("a,\"b \"\"q\"\"\",c\r\n\r\nx;y,z", 4)),
              "A1=a\nB1=b \"q\"\nC1=c\nA3=x;y\nB3=z");
}

TEST(SheetReaders, TenThousandRowsInEveryFormat) {
    for (const char* name : {"calc-rows-10k.xlsx", "calc-rows-10k.xls", "calc-rows-10k.ods"}) {
        SCOPED_TRACE(name);
        const Sheet sheet = Read(Fixture(name));
        ASSERT_EQ(sheet.rowCount(), 10000);
        EXPECT_EQ(sheet.cells(1, 1), "Region 00001");
        EXPECT_EQ(sheet.cells(1, 3), "7.01");
        EXPECT_EQ(sheet.cells(5000, 2), "R05000");
        EXPECT_EQ(sheet.cells(10000, 3), "0"); // 0.00 in the source
        EXPECT_EQ(sheet.cells(10000, 4), "2");
    }
}

} // namespace
