#pragma once

#include "charts/PageState.h"
#include "model/ChartModel.h"

#include <QFrame>
#include <functional>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDialog;
class QPushButton;

namespace tolvane {

class DataGridView;
class LegendColorDialog;

// The editor of one legend set of "Map", "Bubble" or "Advance Map": the item
// count, the legend grid, and "Hide". The main window places it over the player area; it
// starts hidden and is shown by the page's "Legend Set" button.
class LegendPanel : public QFrame {
    Q_OBJECT
public:
    // The legend items of the chart loaded last (the chart model's legend table).
    using LegendTable = std::function<const std::vector<TLegend>&()>;
    // Shows the legend colour dialog; the default runs it modally.
    using DialogRunner = std::function<void(QDialog&)>;

    // `dataGrid` is the page's data grid whose colours the "Legend Set" button offers.
    LegendPanel(LegendState& state, const GridData& dataGrid, LegendColorDialog& colorDialog,
                LegendTable legendTable, QWidget* parent = nullptr);

    // "Show Legend" enables "Legend Set" exactly while checked; unchecking hides the panel.
    void bind(QCheckBox* showLegend, QAbstractButton* legendSet);
    // After a load or a gradient: the item-count list shows the state's count, no handler run.
    void syncFromState();
    // After the list was set without its handler (an options file): the state follows it.
    void syncToState();

    DataGridView* gridView() const { return grid_; }
    QComboBox* countList() const { return count_; }
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

    // "Show Legend" changed.
    void showLegendToggled(bool checked);
    // "Legend Set": shows the panel, the colour dialog offering the data grid's colours.
    void openPanel();
    // The user chose an item count: the legend texts are filled in again (one undo step).
    void countChosen(int index);
    // A click into the legend grid: the colour column opens the legend colour dialog.
    void legendCellClicked(int col, int row);

private:
    LegendState& state_;
    const GridData& dataGrid_;
    LegendColorDialog& colorDialog_;
    LegendTable legendTable_;
    DialogRunner runDialog_;
    QComboBox* count_ = nullptr;
    DataGridView* grid_ = nullptr;
    QPushButton* hide_ = nullptr;
    QAbstractButton* legendSet_ = nullptr;
};

} // namespace tolvane
