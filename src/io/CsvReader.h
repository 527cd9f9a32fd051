#pragma once

#include "io/SheetReader.h"

namespace tolvane {

// Comma-separated files (.csv) as spreadsheet programs write them: fields separated by
// commas, or by semicolons where the decimal mark is a comma; quoted fields may hold
// separators, doubled quotes and line breaks. Every field is taken as text.
class CsvReader : public SheetReader {
public:
    Sheet read(const QString& path, int maxCols, ReadProgress* progress) const override;
    static Sheet parse(const QString& text, int maxCols, ReadProgress* progress = nullptr);
};

} // namespace tolvane
