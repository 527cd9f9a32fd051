// Options files as the reader takes them apart: lines, data rows and legend items put into
// grids with a row counter per grid.
#include "FuzzTargets.h"
#include "io/OptionsFile.h"
#include "model/UserError.h"

#include <map>

using namespace tolvane;

namespace {

bool SameRow(const DataRowFields& a, const DataRowFields& b) {
    return a.name == b.name && a.key == b.key && a.data == b.data && a.color == b.color &&
           a.extra == b.extra;
}

// Every line as the reader handles it; a bad number ends the file, as it ends reading.
void ReadLines(const OptionsText& text) {
    std::map<QString, GridData> grids;
    std::map<QString, int> rows;
    for (const OptionLine& line : text.lines) {
        const OptionAction action = ActionOfKey(line.key);
        switch (action.kind) {
        case OptionKind::DataRow: {
            const DataRowFields row = SplitDataRow(line.value, action.fields);
            // What is read is written back and read again unchanged.
            fuzz::FuzzCheck(
                SameRow(SplitDataRow(JoinDataRow(row, action.fields), action.fields), row),
                "a data row reads back as it was written");
            GridData& grid = grids.try_emplace(line.key, action.fields + 1, 2).first->second;
            const int r = ++rows.try_emplace(line.key, 1).first->second;
            PutDataRow(grid, r, row, action.fields);
            fuzz::FuzzCheck(grid.rowCount() == r + 1, "a data grid ends with the last row read");
            break;
        }
        case OptionKind::LegendRow: {
            const LegendRowFields item = SplitLegendRow(line.value);
            const LegendRowFields back = SplitLegendRow(JoinLegendRow(item));
            fuzz::FuzzCheck(back.text == item.text && back.color == item.color,
                            "a legend item reads back as it was written");
            GridData& grid = grids.try_emplace(line.key, 4, 1).first->second;
            const int r = ++rows.try_emplace(line.key, 0).first->second;
            PutLegendRow(grid, r, item);
            break;
        }
        case OptionKind::Color:
            ParseOptionColor(line.value);
            break;
        case OptionKind::ListIndex:
        case OptionKind::TrackBar:
            ParseOptionInt(line.value);
            break;
        case OptionKind::Text:
        case OptionKind::Radio:
        case OptionKind::Ignored:
            break;
        }
    }
}

} // namespace

TOLVANE_FUZZ_TARGET(options_file) {
    OptionsText text;
    try {
        text = ParseOptionsFile(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const UserError&) {
        return;
    }
    // A file read and written again reads the same.
    std::vector<OptionLine> lines{{kActivePageKey, QString::number(text.pageIndex)}};
    if (text.activeMapName) lines.push_back({kActiveMapKey, *text.activeMapName});
    lines.insert(lines.end(), text.lines.begin(), text.lines.end());
    const OptionsText again = ParseOptionsFile(BuildOptionsFile(lines));
    bool same = again.pageIndex == text.pageIndex && again.activeMapName == text.activeMapName &&
                again.lines.size() == text.lines.size();
    for (size_t i = 0; same && i < text.lines.size(); ++i)
        same =
            again.lines[i].key == text.lines[i].key && again.lines[i].value == text.lines[i].value;
    fuzz::FuzzCheck(same, "an options file written again reads the same");
    try {
        ReadLines(text);
    } catch (const UserError&) {
    }
}
