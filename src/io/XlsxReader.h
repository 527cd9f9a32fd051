#pragma once

#include "io/SheetReader.h"

namespace tolvane {

// Office Open XML workbooks (.xlsx, .xlsm): shared and inline strings with their rich
// text runs, numbers, booleans, errors and formulas' cached values.
class XlsxReader : public SheetReader {
public:
    Sheet read(const QString& path, int maxCols, ReadProgress* progress) const override;
    // The same from the file's bytes.
    static Sheet parse(const QByteArray& bytes, int maxCols, ReadProgress* progress = nullptr);
};

} // namespace tolvane
