#include "widgets/GridTableModel.h"

#include "model/Colors.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace tolvane {

GridTableModel::GridTableModel(GridData& grid, int headerRows, QObject* parent)
    : QAbstractTableModel(parent)
    , grid_(grid)
    , headerRows_(headerRows) {
    grid_.setListener(
        [this](GridData::Change change, int col, int row) { gridChanged(change, col, row); });
}

GridTableModel::~GridTableModel() {
    grid_.setListener({});
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.rowCount() - headerRows_, 0);
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(grid_.colCount() - 1, 0);
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const GridCell& cell = grid_.cell(gridCol(index.column()), gridRow(index.row()));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell.text;
    case Qt::BackgroundRole: {
        const int32_t c = cell.color;
        return QBrush(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }
    case Qt::ForegroundRole:
        return cell.readOnly ? QBrush(QColor(60, 60, 60)) : QBrush(Qt::black);
    default:
        return {};
    }
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int col = gridCol(index.column());
    const int row = gridRow(index.row());
    if (grid_.readOnly(col, row)) return false;
    grid_.setText(col, row, value.toString().left(200));
    return true;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!grid_.readOnly(gridCol(index.column()), gridRow(index.row()))) f |= Qt::ItemIsEditable;
    return f;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return grid_.text(section + 1, headerRows_ - 1);
    return grid_.text(0, section + headerRows_);
}

void GridTableModel::gridChanged(GridData::Change change, int col, int row) {
    switch (change) {
    case GridData::Change::Cell:
        if (row < headerRows_ || col < 1) {
            emit headerDataChanged(row < headerRows_ ? Qt::Horizontal : Qt::Vertical, 0,
                                   std::max(row < headerRows_ ? columnCount() : rowCount(), 1) - 1);
            return;
        }
        emit dataChanged(indexOf(col, row), indexOf(col, row));
        return;
    case GridData::Change::Layout:
        beginResetModel();
        endResetModel();
        return;
    case GridData::Change::All:
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Horizontal, 0, std::max(columnCount(), 1) - 1);
        emit headerDataChanged(Qt::Vertical, 0, std::max(rowCount(), 1) - 1);
        return;
    }
}

} // namespace tolvane
