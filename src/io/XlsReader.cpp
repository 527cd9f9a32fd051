#include "io/XlsReader.h"

#include "io/CompoundFile.h"
#include "io/XlsRecords.h"
#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <freexl.h>

namespace tolvane {

namespace {

QString OpenFailure(int code) {
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("the file cannot be opened");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("there is not enough memory to read it");
    case FREEXL_INVALID_CFBF_HEADER:
        return QStringLiteral("the file is no Excel 97-2003 workbook");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("the file holds no workbook");
    case FREEXL_CRAFTED_FILE:
        return QStringLiteral("the file is damaged (its structure is inconsistent)");
    default:
        return QStringLiteral("the file is damaged (FreeXL error %1)").arg(code);
    }
}

QString CellText(const FreeXL_CellValue& cell) {
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return FormatGeneral(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return QString::fromUtf8(cell.value.text_value);
    default:
        return {};
    }
}

// The workbook stream of a compound document file, and the name it has there ("Book" in
// Excel 5 files).
std::pair<QByteArray, const char*> WorkbookStream(const QByteArray& file) {
    for (const char* name : {"Workbook", "Book"})
        if (auto stream = ReadCompoundStream(file, name)) return {*stream, name};
    static const QByteArray kMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (!file.startsWith(kMagic))
        throw UserError(QStringLiteral("the file is no Excel 97-2003 workbook"));
    throw UserError(QStringLiteral("the file is damaged or holds no workbook"));
}

// FreeXL reads the container around the workbook itself and trusts the lengths a damaged
// one gives: a directory name claiming more bytes than its entry holds made it read far
// past its own buffer, and so did texts longer than their records. So libgsf reads the
// user's file, the texts are checked, and FreeXL is handed the workbook's whole records
// alone in a container libgsf laid out, from a file of our own.
class Workbook {
public:
    explicit Workbook(const QByteArray& file) {
        const auto [stream, name] = WorkbookStream(file);
        if (!XlsTextsFit(stream))
            throw UserError(QStringLiteral(
                "the file is damaged (a text or a sheet size in it is inconsistent)"));
        const std::optional<QByteArray> clean = WriteCompoundFile(name, WholeXlsRecords(stream));
        if (!clean) throw UserError(QStringLiteral("there is not enough memory to read it"));
        copy_.setFileTemplate(QDir::tempPath() + QStringLiteral("/tolvane-XXXXXX.xls"));
        if (!copy_.open() || copy_.write(*clean) != clean->size() || !copy_.flush())
            throw UserError(
                QStringLiteral("a temporary copy cannot be written (%1)").arg(copy_.errorString()));
        const int code = freexl_open(QFile::encodeName(copy_.fileName()).constData(), &handle_);
        if (code != FREEXL_OK) {
            handle_ = nullptr; // FreeXL frees what it had opened
            throw UserError(OpenFailure(code));
        }
        // Formula results FreeXL leaves out are read from Excel 97 records only.
        if (QByteArrayView(name) == "Workbook") stream_ = stream;
    }
    ~Workbook() { freexl_close(handle_); }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    const void* handle() const { return handle_; }
    // The Excel 97-2003 workbook stream; empty for older formats.
    const QByteArray& stream() const { return stream_; }

private:
    QTemporaryFile copy_;
    QByteArray stream_;
    const void* handle_ = nullptr;
};

} // namespace

Sheet XlsReader::read(const QString& path, int maxCols, ReadProgress* progress) const {
    const Workbook book(ReadFileBytes(path));
    const void* h = book.handle();
    unsigned int value = 0;
    if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK &&
        value == FREEXL_BIFF_OBFUSCATED)
        throw UserError(QStringLiteral("the file is protected by a password"));
    if (freexl_select_active_worksheet(h, 0) != FREEXL_OK)
        throw UserError(QStringLiteral("the workbook has no sheet"));
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
        throw UserError(QStringLiteral("the file is damaged (its sheet has no size)"));
    const int readCols = std::min<int>(cols, maxCols);
    Sheet sheet(maxCols);
    for (unsigned int r = 0; r < rows; ++r) {
        for (int c = 0; c < readCols; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(h, r, static_cast<unsigned short>(c), &cell) != FREEXL_OK)
                throw UserError(QStringLiteral("the file is damaged (cell %1 of row %2 cannot "
                                               "be read)")
                                    .arg(c + 1)
                                    .arg(r + 1));
            sheet.setCells(static_cast<int>(r) + 1, c + 1, CellText(cell));
        }
        if (r % 1024 == 0) Report(progress, r, rows);
    }
    for (const XlsCell& cell : XlsCellsBeyondFreeXl(book.stream()))
        sheet.setCells(cell.row, cell.col, cell.text);
    return sheet;
}

} // namespace tolvane
