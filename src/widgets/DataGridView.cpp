#include "widgets/DataGridView.h"

#include "model/UndoStack.h"
#include "widgets/GridTableModel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>

namespace tolvane {

namespace {

constexpr int kMaxCellChars = 200;

// Editors get the cell length limit and report their keys to the view's filter.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(DataGridView* view)
        : QStyledItemDelegate(view)
        , view_(view) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(kMaxCellChars);
            line->setProperty("gridRow", index.row());
            line->setProperty("gridCol", index.column());
            line->installEventFilter(view_);
        }
        return editor;
    }

private:
    DataGridView* view_;
};

} // namespace

bool IsNumberKey(QChar c) {
    return c == QChar(8) || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u',';
}

DataGridView::DataGridView(GridData& grid, int headerRows, QWidget* parent)
    : QTableView(parent)
    , model_(new GridTableModel(grid, headerRows, this)) {
    setModel(model_);
    setItemDelegate(new CellDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setDragEnabled(false);
    setWordWrap(false);
    setTabKeyNavigation(true);
    verticalHeader()->setDefaultSectionSize(21);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Selected cells keep showing their colour: the colour is the content.
    setStyleSheet(QStringLiteral(
        "QTableView { gridline-color: #c8c8c8; selection-background-color: transparent; "
        "selection-color: black; }"
        "QTableView::item:selected { border: 2px solid #1f6fd1; }"
        "QHeaderView::section { background-color: #f0f0f0; border: 0; border-right: 1px solid "
        "#c8c8c8; "
        "border-bottom: 1px solid #c8c8c8; padding: 0 4px; }"));

    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        emit cellClicked(model_->gridCol(index.column()), model_->gridRow(index.row()));
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid())
                    emit cellSelected(model_->gridCol(current.column()),
                                      model_->gridRow(current.row()));
            });
    // A reset (new map) loses the selection model's connection target, not the model.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { clearSelection(); });
}

GridData& DataGridView::grid() {
    return model_->grid();
}

void DataGridView::setColumnWidths(const QList<int>& widths) {
    for (int i = 0; i < widths.size(); ++i) {
        if (i == 0)
            verticalHeader()->setFixedWidth(widths[0]);
        else
            setColumnWidth(i - 1, widths[i]);
    }
}

int DataGridView::columnsWidth() const {
    int width =
        verticalHeader()->width() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model_->columnCount(); ++c)
        width += columnWidth(c);
    return width;
}

int DataGridView::currentCol() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? model_->gridCol(i.column()) : -1;
}

int DataGridView::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? model_->gridRow(i.row()) : -1;
}

void DataGridView::selectCell(int col, int row) {
    setCurrentIndex(model_->indexOf(col, row));
}

bool DataGridView::allows(QChar typed, const QString& text, int col, int row) const {
    return !keyFilter_ || keyFilter_(typed, text, col, row);
}

void DataGridView::copySelection() {
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    for (const QModelIndex& i : chosen) {
        left = std::min(left, model_->gridCol(i.column()));
        right = std::max(right, model_->gridCol(i.column()));
        top = std::min(top, model_->gridRow(i.row()));
        bottom = std::max(bottom, model_->gridRow(i.row()));
    }
    QApplication::clipboard()->setText(
        CopyTable(model_->grid(), left, top, right, bottom, model_->headerRows() == 2));
}

void DataGridView::paste() {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return;
    const TextTable table = ParseTextTable(QApplication::clipboard()->text());
    if (table.empty()) return;
    GridData& grid = model_->grid();
    PasteOutcome outcome;
    {
        UndoStep step(&grid, QStringLiteral("Paste"));
        outcome = PasteTable(grid, model_->gridCol(index.column()), model_->gridRow(index.row()),
                             table, [this](QChar c, const QString& text, int col, int row) {
                                 return allows(c, text, col, row);
                             });
    }
    if (!outcome.skippedRows.isEmpty() || outcome.beyondLastRow > 0) emit pasteIncomplete(outcome);
}

void DataGridView::contextMenuEvent(QContextMenuEvent* event) {
    emit menuAboutToShow();
    QMenu menu(this);
    menu.addActions(menuActions_);
    if (!menuActions_.isEmpty()) menu.addSeparator();
    menu.addAction(QStringLiteral("&Copy"), QKeySequence::Copy, this, &DataGridView::copySelection);
    menu.addAction(QStringLiteral("&Paste"), QKeySequence::Paste, this, &DataGridView::paste);
    menu.exec(event->globalPos());
}

void DataGridView::keyPressEvent(QKeyEvent* event) {
    if (state() != EditingState) {
        if (event->matches(QKeySequence::Copy)) {
            copySelection();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            paste();
            return;
        }
    }
    const QModelIndex index = currentIndex();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && index.isValid() &&
        state() != EditingState)
        emit enterPressed(model_->gridCol(index.column()), model_->gridRow(index.row()));
    // Typing into a selected cell starts editing with that character: filter it first.
    const QString text = event->text();
    if (index.isValid() && text.size() == 1 && text[0].isPrint() && state() != EditingState &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int col = model_->gridCol(index.column());
        const int row = model_->gridRow(index.row());
        if (!allows(text[0], model_->grid().text(col, row), col, row)) {
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

bool DataGridView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* line = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (line && text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8)) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const int col = model_->gridCol(line->property("gridCol").toInt());
            const int row = model_->gridRow(line->property("gridRow").toInt());
            if (!allows(text[0], line->text(), col, row)) return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace tolvane
