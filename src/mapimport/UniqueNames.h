#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tolvane::mapimport {

// Region names and short names as charts need them: printable, not empty, each name and
// each short name once, no short name "-" (the no-data mark) and no name "Nill" (the name
// writers leave out). A repeat gets " (2)", " (3)"... (short names "-2", "-3"...), the
// first keeps its text; every change is listed in `changes`. Without short names (all
// empty) each region's short name is its name.
void MakeRegionNamesUnique(std::vector<QString>& names, std::vector<QString>& shortNames,
                           QStringList& changes);

// Cities: a name may repeat in different regions (the chart tells them apart by region),
// but not within one. A region "-" (the no-data mark) becomes empty.
void MakeCityNamesUnique(std::vector<QString>& names, std::vector<QString>& regions,
                         QStringList& changes);

} // namespace tolvane::mapimport
