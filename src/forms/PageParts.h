#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLayout;
class QVBoxLayout;
class QWidget;

namespace tolvane {

class DataGridView;
class GridData;
class LegendPanel;
class TFrmMain;

// The pieces the chart pages are built from, so that every page looks and behaves alike.

// A list (a map list, "Map Select:", and the like) that the wheel changes only while it has
// the focus.
QComboBox* MakeMapList(const QString& name, const QStringList& items, int current, QWidget* parent);
// A data grid of numbers: only backspace, digits, ".", "-" and "," can be typed into it.
DataGridView* MakeDataGridView(const QString& name, GridData& grid, const QList<int>& widths,
                               QWidget* parent);
// A hint text beside the buttons ("Mode 1: ...").
QLabel* MakeHint(const QString& text, QWidget* parent);
// The three colouring hints every data page shows; `sizes` adds "/size" for city grids.
void AddModeHints(QVBoxLayout* side, QWidget* parent, bool sizes = false);

// "Import from file" and "Export to file" stacked beside the hint that points to the help.
QLayout* FileButtonsRow(QWidget* importButton, QWidget* exportButton, QWidget* parent);

// Lays out a page: the map row on top, the grid below it, the side column of buttons on
// the right and the size bar along the bottom.
void LayOutPage(QWidget* tab, QWidget* mapList, QWidget* grid, QLayout* side, QWidget* sizeBar);

// Places a legend editor over the left of the preview, so the chart stays in sight.
void PlaceLegendPanel(LegendPanel* panel, const TFrmMain& main);

} // namespace tolvane
