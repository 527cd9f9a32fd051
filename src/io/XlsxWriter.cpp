#include "io/XlsxWriter.h"

#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <QDir>
#include <QFile>
#include <xlsxwriter.h>

namespace tolvane {

namespace {

// The number a text stands for when writing it as that number reads back the same text.
std::optional<double> ExactNumber(const QString& text) {
    const QChar first = text.isEmpty() ? QChar() : text[0];
    if (!(first.isDigit() || first == u'-')) return std::nullopt;
    const auto value = TryParseFloat(text);
    if (!value || FormatGeneral(*value) != text) return std::nullopt;
    return value;
}

void Check(lxw_error error, const QString& path) {
    if (error != LXW_NO_ERROR)
        throw UserError(
            QStringLiteral("Cannot write %1: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(error))));
}

} // namespace

void WriteXlsx(const Sheet& sheet, const QString& path) {
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        throw UserError(
            QStringLiteral("Cannot write %1: out of memory").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet* ws = workbook_add_worksheet(book, nullptr);
    const double widths[] = {36, 16, 12, 12}; // names, keys, values
    for (lxw_col_t c = 0; c < 4; ++c)
        worksheet_set_column(ws, c, c, widths[c], nullptr);
    lxw_error error = LXW_NO_ERROR;
    for (int r = 1; r <= sheet.rowCount() && error == LXW_NO_ERROR; ++r) {
        for (int c = 1; c <= sheet.maxCols() && error == LXW_NO_ERROR; ++c) {
            const QString& text = sheet.cells(r, c);
            if (text.isEmpty()) continue;
            const auto row = static_cast<lxw_row_t>(r - 1);
            const auto col = static_cast<lxw_col_t>(c - 1);
            if (const auto number = ExactNumber(text))
                error = worksheet_write_number(ws, row, col, *number, nullptr);
            else
                error = worksheet_write_string(ws, row, col, text.toUtf8().constData(), nullptr);
        }
    }
    const lxw_error closed = workbook_close(book); // frees the workbook in every case
    Check(error, path);
    Check(closed, path);
}

} // namespace tolvane
