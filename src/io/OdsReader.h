#pragma once

#include "io/SheetReader.h"

namespace tolvane {

// OpenDocument spreadsheets (.ods): typed cell values, formulas' cached values, rich text,
// and rows and cells repeated by count.
class OdsReader : public SheetReader {
public:
    Sheet read(const QString& path, int maxCols, ReadProgress* progress) const override;
    static Sheet parse(const QByteArray& bytes, int maxCols, ReadProgress* progress = nullptr);
};

} // namespace tolvane
