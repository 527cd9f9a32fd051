#include "io/XlsxReader.h"

#include "io/SheetXml.h"
#include "io/ZipPackage.h"
#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <charconv>
#include <string>
#include <vector>

namespace tolvane {

namespace {

// Strings may carry characters XML cannot hold as "_xHHHH_" (a carriage return is
// "_x000D_"); "_x005F_" escapes a literal underscore before such a sequence.
QString Unescape(QString text) {
    if (!text.contains(QLatin1String("_x"))) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(static_cast<char16_t>(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a shared string item or inline string: its own <t> or its runs' <t>s;
// phonetic guides (<rPh>) are not part of the text.
QString StringItemText(pugi::xml_node item) {
    QString text;
    for (pugi::xml_node part : item.children()) {
        if (Is(part, "t")) {
            text += Utf8(part.child_value());
        } else if (Is(part, "r")) {
            if (pugi::xml_node t = Child(part, "t")) text += Utf8(t.child_value());
        }
    }
    return Unescape(text);
}

QString NumberText(const char* value) {
    double number = 0;
    const char* end = value + std::strlen(value);
    const auto [stop, ec] = std::from_chars(value, end, number);
    if (ec != std::errc() || stop != end) return Utf8(value).trimmed();
    return FormatGeneral(number);
}

// "BC12" -> column 55, row 12; 0 where a part is missing or out of range.
void ParseRef(const char* ref, int& col, int& row) {
    col = 0;
    row = 0;
    const char* p = ref;
    for (; *p >= 'A' && *p <= 'Z'; ++p) {
        col = col * 26 + (*p - 'A' + 1);
        if (col > 16384) {
            col = 0;
            return;
        }
    }
    const char* end = p + std::strlen(p);
    if (std::from_chars(p, end, row).ptr != end || row < 1 || row > Sheet::kMaxRows) row = 0;
}

int IntAttr(pugi::xml_node node, const char* local, int fallback) {
    const pugi::xml_attribute a = Attr(node, local);
    if (!a) return fallback;
    int v = 0;
    const char* text = a.value();
    const char* end = text + std::strlen(text);
    return std::from_chars(text, end, v).ptr == end ? v : fallback;
}

// Workbook part names as the relationships give them, made absolute in the package.
std::string PartName(const char* target) {
    std::string t = target;
    if (!t.empty() && t[0] == '/') return t.substr(1);
    return "xl/" + t;
}

struct WorkbookParts {
    std::string sheet;
    std::string sharedStrings;
};

WorkbookParts FindParts(const ZipPackage& zip) {
    WorkbookParts parts{"xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"};
    if (!zip.contains("xl/workbook.xml") || !zip.contains("xl/_rels/workbook.xml.rels"))
        return parts;
    QByteArray workbookBytes = zip.read("xl/workbook.xml");
    pugi::xml_document workbook;
    ParseSheetXml(workbook, workbookBytes, "xl/workbook.xml");
    const pugi::xml_node first = Child(Child(workbook.document_element(), "sheets"), "sheet");
    if (!first) throw UserError(QStringLiteral("the workbook has no sheet"));
    const char* id = Attr(first, "id").value();

    QByteArray relsBytes = zip.read("xl/_rels/workbook.xml.rels");
    pugi::xml_document rels;
    ParseSheetXml(rels, relsBytes, "xl/_rels/workbook.xml.rels");
    for (pugi::xml_node rel : rels.document_element().children()) {
        const char* type = Attr(rel, "Type").value();
        const char* target = Attr(rel, "Target").value();
        if (std::strcmp(Attr(rel, "Id").value(), id) == 0) parts.sheet = PartName(target);
        if (std::string_view(type).ends_with("/sharedStrings"))
            parts.sharedStrings = PartName(target);
    }
    return parts;
}

std::vector<QString> ReadSharedStrings(const ZipPackage& zip, const std::string& part) {
    std::vector<QString> strings;
    if (!zip.contains(part.c_str())) return strings;
    QByteArray bytes = zip.read(part.c_str());
    pugi::xml_document doc;
    ParseSheetXml(doc, bytes, part.c_str());
    for (pugi::xml_node si : doc.document_element().children())
        if (Is(si, "si")) strings.push_back(StringItemText(si));
    return strings;
}

QString CellText(pugi::xml_node c, const std::vector<QString>& shared) {
    const char* type = Attr(c, "t").value();
    if (std::strcmp(type, "inlineStr") == 0) return StringItemText(Child(c, "is"));
    const pugi::xml_node v = Child(c, "v");
    if (!v) return {};
    const char* value = v.child_value();
    if (std::strcmp(type, "s") == 0) {
        size_t index = 0;
        const char* end = value + std::strlen(value);
        if (std::from_chars(value, end, index).ptr != end || index >= shared.size())
            throw UserError(QStringLiteral("the file is damaged (a cell names shared string "
                                           "\"%1\", which does not exist)")
                                .arg(Utf8(value)));
        return shared[index];
    }
    if (std::strcmp(type, "b") == 0)
        return std::strcmp(value, "0") == 0 ? QStringLiteral("FALSE") : QStringLiteral("TRUE");
    if (*type == 0 || std::strcmp(type, "n") == 0) return NumberText(value);
    return Unescape(Utf8(value)); // "str" (a formula's text), "e" (an error), "d" (a date)
}

} // namespace

Sheet XlsxReader::read(const QString& path, int maxCols, ReadProgress* progress) const {
    return parse(ReadFileBytes(path), maxCols, progress);
}

Sheet XlsxReader::parse(const QByteArray& bytes, int maxCols, ReadProgress* progress) {
    const ZipPackage zip(bytes);
    const WorkbookParts parts = FindParts(zip);
    const std::vector<QString> shared = ReadSharedStrings(zip, parts.sharedStrings);
    QByteArray sheetBytes = zip.read(parts.sheet.c_str(), progress);
    pugi::xml_document doc;
    ParseSheetXml(doc, sheetBytes, parts.sheet.c_str());
    const pugi::xml_node data = Child(doc.document_element(), "sheetData");

    Sheet sheet(maxCols);
    int row = 0;
    int rowsDone = 0;
    for (pugi::xml_node r : data.children()) {
        if (!Is(r, "row")) continue;
        row = IntAttr(r, "r", row + 1);
        if (row < 1 || row > Sheet::kMaxRows) break;
        int col = 0;
        for (pugi::xml_node c : r.children()) {
            if (!Is(c, "c")) continue;
            int refCol = 0;
            int refRow = 0;
            ParseRef(Attr(c, "r").value(), refCol, refRow);
            col = refCol > 0 ? refCol : col + 1;
            if (col > maxCols) break; // cells come left to right
            sheet.setCells(row, col, CellText(c, shared));
        }
        if (++rowsDone % 1024 == 0 && progress) progress->check();
    }
    return sheet;
}

} // namespace tolvane
