#pragma once

#include "mapimport/OgrSource.h"

#include <QString>
#include <vector>

namespace tolvane::mapimport {

struct FieldSuggestion {
    QString nameField;  // empty: no field can name the features
    QString shortField; // empty: none fits (regions then use their names)
};

// Suggests from what the values look like. The name field: filled for most features, as
// unique as possible, words rather than codes, preferably called like a name. The short-name field
// of regions: unique, filled for nearly all, short, preferably called like a code. For cities it is
// their region: a text that repeats, called like a country, state or region.
FieldSuggestion SuggestFields(const std::vector<FieldSummary>& fields, int64_t features,
                              GeometryKind kind);

} // namespace tolvane::mapimport
