// The readers against files that LibreOffice, Gnumeric and openpyxl wrote
// (tools/sheets/make_fixtures.sh), and against damaged and hostile files.
#include "io/CsvReader.h"
#include "io/OdsReader.h"
#include "io/SheetReader.h"
#include "io/XlsxReader.h"
#include "model/UserError.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

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

std::string ReadError(const QString& path) {
    try {
        Read(path);
    } catch (const UserError& e) {
        return e.message().toStdString();
    }
    return "(no error)";
}

void Put16(QByteArray& out, uint32_t v) {
    out.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
}
void Put32(QByteArray& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A zip archive of stored entries; `claimedSize` > 0 makes the directory claim that every
// entry unpacks to that many bytes, as a zip bomb's does.
QByteArray Zip(const std::vector<std::pair<QByteArray, QByteArray>>& entries,
               uint32_t claimedSize = 0) {
    QByteArray out;
    QByteArray directory;
    for (const auto& [name, data] : entries) {
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
        const auto offset = static_cast<uint32_t>(out.size());
        const auto size = static_cast<uint32_t>(data.size());
        Put32(out, 0x04034b50);
        for (uint32_t v : {20u, 0u, 0u, 0u, 0u})
            Put16(out, v);
        Put32(out, crc);
        Put32(out, size);
        Put32(out, size);
        Put16(out, uint32_t(name.size()));
        Put16(out, 0);
        out += name + data;
        Put32(directory, 0x02014b50);
        for (uint32_t v : {20u, 20u, 0u, 0u, 0u, 0u})
            Put16(directory, v);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, claimedSize ? claimedSize : size);
        Put16(directory, uint32_t(name.size()));
        for (uint32_t v : {0u, 0u, 0u, 0u})
            Put16(directory, v);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += name;
    }
    const auto directoryOffset = static_cast<uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, uint32_t(entries.size()));
    Put16(out, uint32_t(entries.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

QByteArray XlsxSheet(const QByteArray& rows, const QByteArray& prolog = {}) {
    return prolog +
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
           "main\"><sheetData>" +
           rows + "</sheetData></worksheet>";
}

const std::string kSample = ("A1=Bayern\nB1=DE.BY\nC1=12.5\nD1=3\n"
                             "A2=Baden-Württemberg\nB2=DE.BW\nC2=1234567.891\n"
                             "A3=Berlin\nB3=DE.BE\nC3=0.25\nD3=-7\n"
                             "A6=Hamburg\nB6=DE.HH\nC6=25\nD6=xy\n"
                             "A7=Bremen\nB7=DE.HB\nC7=12,5\nD7=100000000000000000000\n"
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
              "A6=Hamburg\nB6=DE.HH\nD6=100000000000000000000\n"
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

TEST(SheetReaders, HostileAndDamagedFilesGiveAClearReasonAndNothingElse) {
    QTemporaryDir dir;
    auto file = [&](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    };
    const QByteArray row = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>x</t></is></c></row>";
    EXPECT_EQ(ReadError(file("bomb.xlsx",
                             Zip({{"xl/worksheets/sheet1.xml", XlsxSheet(row)}}, 0x7FFFFFFF))),
              "the file is too large to read (xl/worksheets/sheet1.xml would unpack to more than "
              "256 MB)");
    EXPECT_EQ(ReadError(file("bomb.ods", Zip({{"content.xml", "<x/>"}}, 0x40000000))),
              "the file is too large to read (content.xml would unpack to more than 256 MB)");
    EXPECT_EQ(ReadError(file("torn.xlsx", Zip({{"xl/worksheets/sheet1.xml", row}}).left(40))),
              "the file is damaged or is no workbook (not a zip archive)");
    EXPECT_EQ(ReadError(file("empty.ods", Zip({{"meta.xml", "<x/>"}}))),
              "the file is damaged or is no workbook (content.xml is missing)");
    EXPECT_EQ(
        ReadError(file("cut.xlsx", Zip({{"xl/worksheets/sheet1.xml", XlsxSheet(row).left(90)}}))),
        "the file is damaged (xl/worksheets/sheet1.xml is not well-formed XML: Could not "
        "determine tag type at byte 89)");
    EXPECT_EQ(ReadError(file("text.xls", "Region\tDE.BY\t1\n")),
              "the file is no workbook (neither an Excel nor an OpenDocument spreadsheet)");
    EXPECT_EQ(ReadError(dir.filePath("missing.ods")), "the file does not exist");
    // A directory entry whose name claims 25,938 bytes of its 64 never reaches FreeXL.
    EXPECT_EQ(ReadError(QStringLiteral(TOLVANE_SOURCE_DIR
                                       "/fuzz/crashers/sheet_xls/freexl-iconv-stack-overread.xls")),
              "the file is damaged or holds no workbook");
    // A sheet sized twice, the second time too large: FreeXL would count the first size's
    // cells by the second.
    EXPECT_EQ(ReadError(QStringLiteral(TOLVANE_SOURCE_DIR
                                       "/fuzz/crashers/sheet_xls/freexl-sheet-sized-twice.xls")),
              "the file is damaged (a text or a sheet size in it is inconsistent)");
    // A sheet of 6 KB claiming millions of rows, each of whose empty cells would be read.
    EXPECT_EQ(
        ReadError(QStringLiteral(TOLVANE_SOURCE_DIR
                                 "/fuzz/crashers/sheet_xls/freexl-sheet-beyond-excel-size.xls")),
        "the file is damaged (a text or a sheet size in it is inconsistent)");

    // Entities are never expanded: neither a file's contents nor a billion laughs.
    const QByteArray doctype = "<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;\">"
                               "<!ENTITY f SYSTEM \"file:///etc/hostname\">]>";
    const QByteArray entities =
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>&b;&f;</t></is></c></row>";
    const Sheet sheet = Read(
        file("entities.xlsx", Zip({{"xl/worksheets/sheet1.xml", XlsxSheet(entities, doctype)}})));
    EXPECT_EQ(sheet.cells(1, 1), "&b;&f;");

    // Nesting far deeper than any real file must not exhaust the stack.
    const QByteArray deep = "<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" "
                            "xmlns:text=\"x\"><office:body><office:spreadsheet><table:table>" +
                            QByteArray("<table:table-row-group>").repeated(200000) +
                            "</table:table-row-group>" +
                            QByteArray("</table:table-row-group>").repeated(199999) +
                            "</table:table></office:spreadsheet></office:body>"
                            "</office:document-content>";
    EXPECT_EQ(OdsReader::parse(Zip({{"content.xml", deep}}), 4).rowCount(), 0);
}

TEST(SheetReaders, XlsxCellsWithoutAddressesFollowOnAndEscapesAreDecoded) {
    const QByteArray strings =
        "<sst xmlns=\"s\"><si><t>a_x000D_b_x005F_x0041_</t></si>"
        "<si><r><t>ri</t></r><r><t>ch</t></r><rPh><t>ignored</t></rPh></si></sst>";
    const QByteArray rows = "<row><c t=\"s\"><v>0</v></c><c t=\"b\"><v>0</v></c>"
                            "<c t=\"e\"><v>#DIV/0!</v></c><c t=\"str\"><f>A1</f><v>x</v></c></row>"
                            "<row><c r=\"B2\" t=\"s\"><v>1</v></c><c><v>0.30000000000000004</v></c>"
                            "<c><f>1/0</f></c></row>";
    const Sheet sheet = XlsxReader::parse(
        Zip({{"xl/sharedStrings.xml", strings}, {"xl/worksheets/sheet1.xml", XlsxSheet(rows)}}), 4);
    EXPECT_EQ(Dump(sheet), "A1=a\rb_x0041_\nB1=FALSE\nC1=#DIV/0!\nD1=x\nB2=rich\nC2=0.3");
    const QByteArray badIndex = "<row><c t=\"s\"><v>7</v></c></row>";
    EXPECT_THROW(XlsxReader::parse(Zip({{"xl/sharedStrings.xml", strings},
                                        {"xl/worksheets/sheet1.xml", XlsxSheet(badIndex)}}),
                                   4),
                 UserError);
}

TEST(SheetReaders, RowsAndCellsRepeatedByCountButNotBeyondASheet) {
    const QByteArray content =
        "<office:document-content xmlns:office=\"o\" xmlns:table=\"t\" xmlns:text=\"x\">"
        "<office:body><office:spreadsheet><table:table>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell "
        "table:number-columns-repeated=\"3\" office:value-type=\"float\" office:value=\"2.50\"/>"
        "</table:table-row>"
        "<table:table-row "
        "table:number-rows-repeated=\"1048000\"><table:table-cell/></table:table-row>"
        "<table:table-row-group><table:table-row><table:table-cell office:value-type=\"string\">"
        "<text:p>a<text:s text:c=\"2\"/>b<office:annotation><text:p>note</text:p>"
        "</office:annotation></text:p></table:table-cell></table:table-row></table:table-row-group>"
        "<table:table-row table:number-rows-repeated=\"99999999\"><table:table-cell "
        "office:value-type=\"boolean\" office:boolean-value=\"true\"/></table:table-row>"
        "</table:table></office:spreadsheet></office:body></office:document-content>";
    const Sheet sheet = OdsReader::parse(Zip({{"content.xml", content}}), 4);
    EXPECT_EQ(sheet.cells(2, 3), "2.5");
    EXPECT_EQ(sheet.cells(2, 4), "");
    EXPECT_EQ(sheet.cells(1048003, 1), "a  b");
    EXPECT_EQ(sheet.cells(1048004, 1), "TRUE");
    EXPECT_EQ(sheet.rowCount(), Sheet::kMaxRows);
}

} // namespace
