#pragma once

#include "io/SheetReader.h"

namespace tolvane {

// Excel 97-2003 workbooks (.xls), read with FreeXL.
class XlsReader : public SheetReader {
public:
    Sheet read(const QString& path, int maxCols, ReadProgress* progress) const override;
};

} // namespace tolvane
