#include "io/SheetReader.h"

#include "io/CsvReader.h"
#include "io/OdsReader.h"
#include "io/XlsReader.h"
#include "io/XlsxReader.h"
#include "model/UserError.h"

#include <QFile>
#include <QFileInfo>

namespace tolvane {

namespace {

QString Suffix(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

QByteArray Head(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
}

} // namespace

bool IsSheetFile(const QString& path) {
    static const QStringList sheets{"xls", "xlsx", "xlsm", "ods", "csv"};
    return sheets.contains(Suffix(path));
}

std::unique_ptr<SheetReader> SheetReaderFor(const QString& path) {
    const QString suffix = Suffix(path);
    if (suffix == u"csv") return std::make_unique<CsvReader>();
    const QByteArray head = Head(path);
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        // Excel keeps a password-protected .xlsx in the older container format.
        if (suffix != u"xls")
            throw UserError(QStringLiteral("the file is protected by a password"));
        return std::make_unique<XlsReader>();
    }
    if (head.startsWith("PK")) {
        // An OpenDocument package names its kind first, unpacked.
        if (suffix == u"ods" || head.mid(30, 8) == "mimetype") return std::make_unique<OdsReader>();
        return std::make_unique<XlsxReader>();
    }
    if (!QFileInfo::exists(path)) throw UserError(QStringLiteral("the file does not exist"));
    throw UserError(QStringLiteral("the file is no workbook (neither an Excel nor an "
                                   "OpenDocument spreadsheet)"));
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.exists()) throw UserError(QStringLiteral("the file does not exist"));
    if (!file.open(QIODevice::ReadOnly))
        throw UserError(QStringLiteral("the file cannot be opened (%1)").arg(file.errorString()));
    if (file.size() > kMaxImportFileSize)
        throw UserError(QStringLiteral("the file is too large to read (over %1 MB)")
                            .arg(kMaxImportFileSize / (1024 * 1024)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw UserError(QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    return bytes;
}

} // namespace tolvane
