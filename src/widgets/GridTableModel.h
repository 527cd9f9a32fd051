#pragma once

#include "model/GridData.h"

#include <QAbstractTableModel>

namespace tolvane {

// Shows a GridData in a Qt view. The grid's header rows (row 0, and the title row of data
// grids) and its fixed column 0 become the view's headers; the rest are the view's cells.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // headerRows: 2 for data grids (fixed row and title row), 1 for legend grids.
    GridTableModel(GridData& grid, int headerRows, QObject* parent = nullptr);
    ~GridTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    GridData& grid() { return grid_; }
    int headerRows() const { return headerRows_; }
    int gridRow(int viewRow) const { return viewRow + headerRows_; }
    int gridCol(int viewCol) const { return viewCol + 1; }
    QModelIndex indexOf(int col, int row) const { return index(row - headerRows_, col - 1); }

private:
    void gridChanged(GridData::Change change, int col, int row);

    GridData& grid_;
    int headerRows_;
};

} // namespace tolvane
