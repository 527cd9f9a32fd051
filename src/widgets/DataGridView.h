#pragma once

#include "model/GridClipboard.h"
#include "model/GridData.h"

#include <QList>
#include <QTableView>
#include <functional>

class QAction;

namespace tolvane {

class GridTableModel;

// The spreadsheet-like grid of the pages: cells with a text, a fill colour and a read-only
// flag, over a GridData. Signals and the key filter speak grid coordinates (col, row).
class DataGridView : public QTableView {
    Q_OBJECT
public:
    // headerRows: 2 for data grids (fixed row and title row), 1 for legend grids.
    DataGridView(GridData& grid, int headerRows, QWidget* parent = nullptr);

    GridData& grid();
    // Decides whether a typed character may reach a cell; `text` is the cell's text so far.
    using KeyFilter = std::function<bool(QChar typed, const QString& text, int col, int row)>;
    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }
    // Column widths in grid columns (column 0 is the row header).
    void setColumnWidths(const QList<int>& widths);

    // The width that shows every column and the vertical scroll bar, nothing more.
    int columnsWidth() const;

    // The selected cell in grid coordinates; (-1, -1) when none.
    int currentCol() const;
    int currentRow() const;
    void selectCell(int col, int row);

    // Ctrl+C: the selected block as tab-separated text, with the rows' names.
    void copySelection();
    // Ctrl+V: a table from the clipboard into the cells from the selected one down, each
    // value passing the key filter as if typed; one undo step "Paste".
    void paste();
    // Actions the context menu offers above Copy and Paste (the page's Undo and Redo).
    void setMenuActions(QList<QAction*> actions) { menuActions_ = std::move(actions); }

signals:
    void cellClicked(int col, int row);
    // A cell became the selected one, by mouse or keyboard.
    void cellSelected(int col, int row);
    // Enter was pressed on the selected cell while not editing it.
    void enterPressed(int col, int row);
    // A paste left some cells as they were.
    void pasteIncomplete(const PasteOutcome& outcome);
    void menuAboutToShow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool allows(QChar typed, const QString& text, int col, int row) const;

    GridTableModel* model_;
    KeyFilter keyFilter_;
    QList<QAction*> menuActions_;
};

// The key filter of the data grids: backspace, digits, ".", "-" and ",".
bool IsNumberKey(QChar typed);

} // namespace tolvane
