#pragma once

#include "model/GridData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvane {

// The options file (".set"): the state of the chart pages as "key:value" lines under a
// header line. A key is the name of the main window's control the line sets; what the line
// does is chosen by how the key starts, so lines for controls a later page adds are read
// with no change here. Colours are platform colours (red in the low byte).

inline const QString kOptionsHeader = QStringLiteral("Tolvane Options");
inline const QString kActivePageKey = QStringLiteral("ActivePageIndex");
inline const QString kActiveMapKey = QStringLiteral("ActiveMapName");

// What a line does to the control its key names.
enum class OptionKind {
    Ignored,
    Text,      // "txt...": an edit box's text
    Color,     // "clr...": a colour edit's colour
    Radio,     // "rdo...": checks the radio button
    ListIndex, // "cmb...": a list's selected index
    TrackBar,  // "tr...": a track bar's position
    DataRow,   // "WGrid", "WShadeGrid", ...: the next data row of that grid
    LegendRow, // "gdPLegend", ...: the next item of that legend
};
struct OptionAction {
    OptionKind kind = OptionKind::Ignored;
    int fields = 0; // data rows: 4 or 5 fields
};
OptionAction ActionOfKey(QStringView key);

// The data grids the reader knows, with the captions it gives their title rows.
struct OptionDataGrid {
    QString name;
    int fields;
    QStringList titles;
};
const std::vector<OptionDataGrid>& OptionDataGrids();

// The written lines after the header, in their order: the control and what is written of
// it; a legend's lines follow its item-count list.
struct OptionSlot {
    OptionKind kind;
    QString name;
    QString countList; // legends: the list whose index + 1 is the number of items written
};
const std::vector<OptionSlot>& OptionLineOrder();
// The map list of a page of the page control; empty for a page without one ("Flag").
QString MapListOfPage(int page);

struct OptionLine {
    QString key;
    QString value;
};
// Splits at the first ":"; the value may hold more. A line without ":" has an empty key.
OptionLine SplitOptionLine(const QString& line);

// The header, then one "key:value" line each, as UTF-8 with CR LF.
QByteArray BuildOptionsFile(const std::vector<OptionLine>& lines);

// A file taken apart: the page index of line 2, the active map of line 3 when line 3 names
// it, and every later line (line 3 too when it is an ordinary line). Line 1 is not looked
// at. A page index that is no integer throws ConvertError.
struct OptionsText {
    int pageIndex = -1;
    std::optional<QString> activeMapName;
    std::vector<OptionLine> lines;
};
OptionsText ParseOptionsFile(const QByteArray& bytes);

// A decimal integer; else ConvertError "'%s' is not a valid integer value".
int32_t ParseOptionInt(QStringView text);
// A decimal integer or a colour name such as "clSilver".
int32_t ParseOptionColor(QStringView text);

// One data grid row: columns 1, 2, 3, the colour of column 4 and, in five-field grids, the
// text of column 5.
struct DataRowFields {
    QString name;
    QString key;
    QString data;
    int32_t color = 0;
    QString extra;
};
QString JoinDataRow(const DataRowFields& row, int fields);
// The colour and what follows it are taken from the right end, the texts of columns 3 and 2
// before them, and column 1 keeps the rest, "+" and all. A line with too few fields is read
// from the left, the fields missing being empty. A colour that is no integer throws
// ConvertError.
DataRowFields SplitDataRow(QStringView value, int fields);

struct LegendRowFields {
    QString text;
    int32_t color = 0;
};
QString JoinLegendRow(const LegendRowFields& row);
// Splits at the last "?=", so the text may hold "?=" itself. Without one, all is colour.
LegendRowFields SplitLegendRow(QStringView value);

// What the writer takes of grid row `row` (cells outside the grid read empty and white).
DataRowFields DataRowOf(const GridData& grid, int row);
LegendRowFields LegendRowOf(const GridData& grid, int row);

// Puts a data row into grid row `row`, which becomes the last one: the grid is cut or grown
// to end there. Data (and column 5) can be typed into unless column 2 is "-", the mark of a
// region without data.
void PutDataRow(GridData& grid, int row, const DataRowFields& fields, int fieldCount);
// Puts legend item `row` into the grid, which ends with it. An item the grid did not have
// gets cells that can be typed into, as a new item of the count list does.
void PutLegendRow(GridData& grid, int row, const LegendRowFields& fields);

} // namespace tolvane
