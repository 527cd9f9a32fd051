#pragma once

#include "charts/PageState.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace tolvane {

class DataGridView;
class Dialogs;
class GridData;
class GridDialog;
class LegendPanel;
class MainWindow;

// The pieces the chart pages are built from, so that every page looks and behaves alike.

// The maps of a list that offer "Show Name" and "Show Legend", where the map leaves room for
// them, by their stems; none given: every map of the list.
struct MapOffers {
    std::optional<QStringList> names = {};
    std::optional<QStringList> legend = {};
};

// A map list's captions, in order, the file stem each one names, and what each offers.
class MapTable {
public:
    struct Entry {
        const char* caption;
        const char* stem;
    };
    MapTable(std::initializer_list<Entry> entries, MapOffers offers = {});
    // Maps whose captions are their file stems.
    explicit MapTable(const QStringList& stems, MapOffers offers = {});
    const QStringList& captions() const { return captions_; }
    const QStringList& stems() const { return stems_; }
    bool offersNames(const QString& stem) const;
    bool offersLegend(const QString& stem) const;

private:
    QStringList captions_;
    QStringList stems_;
    MapOffers offers_;
};

// A list (a map list, "Map Select:", and the like) that the wheel changes only while it has
// the focus. Each item carries its stem as item data (`stems` empty: its caption).
QComboBox* MakeMapList(const QStringList& items, int current, QWidget* parent,
                       const QStringList& stems = {});
// A data grid of numbers: only backspace, digits, ".", "-" and "," can be typed into it. Its
// columns are as wide as the layout's texts need.
DataGridView* MakeDataGridView(GridData& grid, GridLayout layout, QWidget* parent);
// A hint text beside the buttons ("Mode 1: ...").
QLabel* MakeHint(const QString& text, QWidget* parent);
// The three colouring hints every data page shows; `sizes` adds "/size" for city grids.
void AddModeHints(QVBoxLayout* side, QWidget* parent, bool sizes = false);

// The colour choice of a Color cell of a data grid, as one undo step. The colour dialog
// opens with the cell's colour (`fromCell`: the "Map" page, which acts on clicks) or with
// the colour it last returned. The title row and rows without data (column 2 "-") open
// nothing.
void ChooseCellColor(Dialogs& dialogs, QWidget* parent, GridData& grid, int col, int row,
                     bool fromCell = false);

// Opens a colour or size dialog on one of its panels for the grid of a target mode.
void OpenGridDialog(GridDialog& dialog, int panel, int targetMode);
// A button that does so.
QPushButton* MakeDialogButton(const QString& caption, GridDialog& dialog, int panel, int targetMode,
                              QWidget* parent);

// Widgets side by side; `stretch` keeps them to the left.
QHBoxLayout* ButtonRow(const QList<QWidget*>& widgets, bool stretch = false);

// "Import from file" and "Export to file" stacked beside the hint that points to the help,
// or in one row after it.
QLayout* FileButtonsRow(QWidget* importButton, QWidget* exportButton, QWidget* parent,
                        Qt::Orientation orientation = Qt::Vertical);

// Lays out a page: the map row on top (the list, then `mapButtons`), the grid below it, the
// side column of buttons on the right (none: the grid takes the whole width) and the size
// bar along the bottom.
void LayOutPage(QWidget* tab, QWidget* mapList, QWidget* grid, QLayout* side, QWidget* sizeBar,
                const QList<QWidget*>& mapButtons = {});

// Places a legend editor over the left of the preview, so the chart stays in sight.
void PlaceLegendPanel(LegendPanel* panel, const MainWindow& main);

} // namespace tolvane
