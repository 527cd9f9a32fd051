#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

class QComboBox;
class QLabel;
class QLayout;
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

// A map list's captions, in order, and the file stem each one names.
class MapTable {
public:
    struct Entry {
        const char* caption;
        const char* stem;
    };
    MapTable(std::initializer_list<Entry> entries);
    // Maps whose captions are their file stems.
    explicit MapTable(const QStringList& stems);
    const QStringList& captions() const { return captions_; }
    const QStringList& stems() const { return stems_; }
    // Empty when the table has no such caption or stem.
    QString stemOf(const QString& caption) const;
    QString captionOf(const QString& stem) const;

private:
    QStringList captions_;
    QStringList stems_;
};

// A list (a map list, "Map Select:", and the like) that the wheel changes only while it has
// the focus. Each item carries its stem as item data (`stems` empty: its caption).
QComboBox* MakeMapList(const QString& name, const QStringList& items, int current, QWidget* parent,
                       const QStringList& stems = {});
// A data grid of numbers: only backspace, digits, ".", "-" and "," can be typed into it.
DataGridView* MakeDataGridView(const QString& name, GridData& grid, const QList<int>& widths,
                               QWidget* parent);
// A hint text beside the buttons ("Mode 1: ...").
QLabel* MakeHint(const QString& text, QWidget* parent);
// The three colouring hints every data page shows; `sizes` adds "/size" for city grids.
void AddModeHints(QVBoxLayout* side, QWidget* parent, bool sizes = false);

// The colour choice of a selected Color cell (every data grid but the "Map" page's, which
// acts on clicks): the colour dialog opens with the colour it last returned. The title row
// and rows without data (column 2 "-") open nothing.
void ChooseSelectedCellColor(Dialogs& dialogs, QWidget* parent, GridData& grid, int col, int row);

// Opens a colour or size dialog on one of its panels for the grid of a target mode.
void OpenGridDialog(GridDialog& dialog, int panel, int targetMode);

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
