#include "io/CsvReader.h"

#include "io/TextDecode.h"

namespace tolvane {

namespace {

// The separator is the one of the two that the first line uses more, outside quotes.
QChar Separator(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') quoted = !quoted;
        if (quoted) continue;
        if (c == u'\n') break;
        if (c == u',') ++commas;
        if (c == u';') ++semicolons;
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

} // namespace

Sheet CsvReader::read(const QString& path, int maxCols, ReadProgress* progress) const {
    return parse(DecodeText(ReadFileBytes(path)), maxCols, progress);
}

Sheet CsvReader::parse(const QString& text, int maxCols, ReadProgress* progress) {
    Sheet sheet(maxCols);
    const QChar separator = Separator(text);
    const qsizetype n = text.size();
    int row = 1;
    int col = 1;
    QString field;
    bool quoted = false;
    auto endField = [&] {
        sheet.setCells(row, col, field);
        field.clear();
        ++col;
    };
    for (qsizetype i = 0; i < n && row <= Sheet::kMaxRows; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < n && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            endField();
            ++row;
            col = 1;
            if (row % 4096 == 0) Report(progress, i, n);
        } else {
            field += c;
        }
    }
    endField();
    return sheet;
}

} // namespace tolvane
