#pragma once

#include "model/ChartModel.h"
#include "model/GridData.h"
#include "platform/XmlDocument.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tolvane {

// The flag chart: a few countries (codes) with a value each, drawn by a flag movie from
// data/ChartFlag1.xml. Nothing of it is ever read back: the page's grid is its only store.

// One column of the flag grid: row 1 the country code, row 2 the value, as typed.
struct FlagColumn {
    QString code;
    QString value;
};

inline constexpr int kFlagMinColumns = 2;
inline constexpr int kFlagMaxColumns = 15;
inline constexpr int kFlagStartColumns = 6;

// The flag grid: row 0 and column 0 are titles ("1".."N" and "1", "2"); rows 1 and 2 of
// columns 1..N are editable.
GridData MakeFlagGrid(int columns);
// Sets N, keeping the cells of the columns that remain; new columns are empty and editable.
void SetFlagColumnCount(GridData& grid, int columns);
// Columns 1..count of the grid, whatever lies beyond them.
std::vector<FlagColumn> FlagColumnsOf(const GridData& grid, int count);

// The movie file of a flag chart type ("Flag1" -> "flag1.cht"); empty for any other text.
QString FlagMovieName(const QString& type);

// Each value as a percent of the largest one, "%.1f". Values are single precision; a text
// that is not a number counts as 0. When no value is above 0 every flag gets 100.0.
QStringList FlagSizes(const std::vector<FlagColumn>& columns);

// The flag chart data file; an empty title is written as ".".
XmlWriter BuildFlagChart(const QString& title, const std::vector<FlagColumn>& columns);

// Writes data/ChartFlag1.xml and stages the type's movie as data/cmap.map. A type that
// names no movie does nothing and returns false. Throws UserError when the file cannot be
// written or the movie cannot be staged (the chart file is written first, so a failure
// never leaves the flag movie drawing an older chart unreported).
bool WriteFlagChart(const ChartModel& model, const QString& type, const QString& title,
                    const std::vector<FlagColumn>& columns);

} // namespace tolvane
