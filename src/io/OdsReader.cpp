#include "io/OdsReader.h"

#include "io/SheetXml.h"
#include "io/ZipPackage.h"
#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <algorithm>
#include <charconv>

namespace tolvane {

namespace {

// Spans within spans and groups within groups go no deeper than any real file does, so a
// hostile file cannot exhaust the stack.
constexpr int kMaxDepth = 64;

int Repeat(pugi::xml_node node, const char* local) {
    const char* text = Attr(node, local).value();
    long long n = 1;
    const char* end = text + std::strlen(text);
    if (*text == 0 || std::from_chars(text, end, n).ptr != end || n < 1) return 1;
    return static_cast<int>(std::min<long long>(n, Sheet::kMaxRows));
}

// A paragraph's text: spans and links give their text, <text:s> its spaces, <text:tab>
// and <text:line-break> their characters; notes attached to the cell are left out.
void AppendText(pugi::xml_node node, QString& out, int depth = 0) {
    if (depth > kMaxDepth) return;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += Utf8(child.value());
        } else if (Is(child, "s")) {
            out += QString(std::clamp(Repeat(child, "c"), 1, 1000), u' ');
        } else if (Is(child, "tab")) {
            out += u'\t';
        } else if (Is(child, "line-break")) {
            out += u'\n';
        } else if (!Is(child, "annotation")) {
            AppendText(child, out, depth + 1);
        }
    }
}

QString ParagraphsText(pugi::xml_node cell) {
    QString text;
    bool first = true;
    for (pugi::xml_node p : cell.children()) {
        if (!Is(p, "p") && !Is(p, "h")) continue;
        if (!first) text += u'\n';
        first = false;
        AppendText(p, text);
    }
    return text;
}

QString CellText(pugi::xml_node cell) {
    const char* type = Attr(cell, "value-type").value();
    if (std::strcmp(type, "float") == 0 || std::strcmp(type, "percentage") == 0 ||
        std::strcmp(type, "currency") == 0) {
        const QString value = Utf8(Attr(cell, "value").value());
        const auto number = TryParseFloat(value);
        return number ? FormatGeneral(*number) : value;
    }
    if (std::strcmp(type, "date") == 0) return Utf8(Attr(cell, "date-value").value());
    if (std::strcmp(type, "time") == 0) return Utf8(Attr(cell, "time-value").value());
    if (std::strcmp(type, "boolean") == 0) {
        const char* value = Attr(cell, "boolean-value").value();
        return std::strcmp(value, "true") == 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    if (std::strcmp(type, "string") == 0) {
        if (const pugi::xml_attribute value = Attr(cell, "string-value"))
            return Utf8(value.value());
    }
    return ParagraphsText(cell); // strings, and formula errors shown as text
}

class TableWalker {
public:
    TableWalker(Sheet& sheet, ReadProgress* progress)
        : sheet_(sheet)
        , progress_(progress) {}

    // Rows may sit in groups (header rows, row groups) at any depth.
    void walk(pugi::xml_node parent, int depth = 0) {
        if (depth > kMaxDepth) return;
        for (pugi::xml_node child : parent.children()) {
            if (row_ >= Sheet::kMaxRows) return;
            if (Is(child, "table-row")) {
                addRow(child);
            } else if (Is(child, "table-row-group") || Is(child, "table-header-rows") ||
                       Is(child, "table-rows")) {
                walk(child, depth + 1);
            }
        }
    }

private:
    void addRow(pugi::xml_node row) {
        const int repeat = std::min(Repeat(row, "number-rows-repeated"), Sheet::kMaxRows - row_);
        std::vector<QString> texts;
        int col = 0;
        for (pugi::xml_node cell : row.children()) {
            if (!Is(cell, "table-cell") && !Is(cell, "covered-table-cell")) continue;
            const int cols = Repeat(cell, "number-columns-repeated");
            const QString text = CellText(cell);
            for (int i = 0; i < cols && col < sheet_.maxCols(); ++i, ++col)
                texts.push_back(text);
            if (col >= sheet_.maxCols()) break;
        }
        const bool empty =
            std::all_of(texts.begin(), texts.end(), [](const QString& t) { return t.isEmpty(); });
        // Empty rows repeated a million times fill a sheet's unused end: skip them whole.
        for (int r = 0; !empty && r < repeat; ++r) {
            for (size_t c = 0; c < texts.size(); ++c)
                sheet_.setCells(row_ + r + 1, static_cast<int>(c) + 1, texts[c]);
            if (r % 1024 == 1023 && progress_) progress_->check();
        }
        row_ += repeat;
        if (++rowsSeen_ % 1024 == 0 && progress_) progress_->check();
    }

    Sheet& sheet_;
    ReadProgress* progress_;
    int row_ = 0;
    int rowsSeen_ = 0;
};

} // namespace

Sheet OdsReader::read(const QString& path, int maxCols, ReadProgress* progress) const {
    return parse(ReadFileBytes(path), maxCols, progress);
}

Sheet OdsReader::parse(const QByteArray& bytes, int maxCols, ReadProgress* progress) {
    const ZipPackage zip(bytes);
    QByteArray content = zip.read("content.xml", progress);
    pugi::xml_document doc;
    ParseSheetXml(doc, content, "content.xml");
    const pugi::xml_node spreadsheet = Child(Child(doc.document_element(), "body"), "spreadsheet");
    const pugi::xml_node table = Child(spreadsheet, "table");
    if (!table) throw UserError(QStringLiteral("the file holds no spreadsheet"));
    Sheet sheet(maxCols);
    TableWalker(sheet, progress).walk(table);
    return sheet;
}

} // namespace tolvane
