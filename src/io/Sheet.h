#pragma once

#include <QString>
#include <vector>

namespace tolvane {

// The cells of one sheet as the spreadsheet shows them. Rows and columns count from 1, as
// a spreadsheet's own cell addresses do; a cell never written reads as "".
class Sheet {
public:
    static constexpr int kMaxRows = 1048576; // the most any spreadsheet program keeps

    // Only columns 1 .. maxCols are kept: what lies further right is never needed.
    explicit Sheet(int maxCols = 4)
        : maxCols_(maxCols) {}

    int maxCols() const { return maxCols_; }
    // The last row holding a non-empty cell; 0 for an empty sheet.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const QString& cells(int row, int col) const;
    bool rowEmpty(int row) const;
    // Writes outside 1 .. kMaxRows or 1 .. maxCols are ignored; "" clears nothing.
    void setCells(int row, int col, const QString& text);

private:
    int maxCols_;
    std::vector<std::vector<QString>> rows_;
};

} // namespace tolvane
