#include "io/GridImport.h"

#include "charts/PageState.h"
#include "io/NameSuggest.h"
#include "io/SheetReader.h"
#include "io/TextDecode.h"
#include "model/ChartModel.h"
#include "model/NumericText.h"
#include "model/UserError.h"

#include <QHash>
#include <optional>

namespace tolvane {

namespace {

constexpr int kFirstRow = 2;     // grid rows 0 and 1 are the header and the titles
constexpr int kSheetColumns = 4; // A .. D

struct Update {
    int row;
    QString data;
    std::optional<QString> extra;
};

// What an import will change, worked out before anything changes.
struct Plan {
    std::vector<Update> updates;
    bool resetOthers = true; // rows no update names get Data "0"
    std::vector<UnmatchedEntry> unmatched;
    int unmatchedCount = 0;
    bool anyMatched = false;
};

class Planner {
public:
    Planner(const GridData& grid, const GridFileLayout& layout)
        : grid_(grid)
        , layout_(layout)
        , keyTitle_(grid.text(ColKey, 1)) {}

    Plan text(const QString& text);
    Plan sheet(const Sheet& sheet);

private:
    Plan sheetByPosition(const Sheet& sheet);
    Plan sheetByNames(const Sheet& sheet);
    void unmatched(const QString& where, const QString& names, const QStringList& candidates);
    int lastRow() const { return grid_.rowCount() - 1; }
    bool noData(int row) const { return grid_.text(ColKey, row) == kNoDataMark; }

    const GridData& grid_;
    const GridFileLayout& layout_;
    const QString keyTitle_;
    Plan plan_;
};

void Planner::unmatched(const QString& where, const QString& names, const QStringList& candidates) {
    if (plan_.unmatchedCount++ >= ImportReport::kListedUnmatched) return;
    plan_.unmatched.push_back({where, names, ClosestName(names, candidates)});
}

Plan Planner::text(const QString& text) {
    QHash<QString, QList<int>> rowsOfKey;
    QStringList keys;
    for (int r = kFirstRow; r <= lastRow(); ++r) {
        if (noData(r)) continue;
        rowsOfKey[grid_.text(ColKey, r)].append(r);
        keys << grid_.text(ColKey, r);
    }
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty()) continue;
        // The key is the second field; a line with fewer than two tabs has none, and its
        // value is what follows its first tab (the whole line when it has no tab).
        QStringView key;
        QStringView value = line;
        if (const qsizetype tab1 = line.indexOf(u'\t'); tab1 >= 0) {
            value = line.mid(tab1 + 1);
            if (const qsizetype tab2 = line.indexOf(u'\t', tab1 + 1); tab2 >= 0) {
                key = line.mid(tab1 + 1, tab2 - tab1 - 1);
                value = line.mid(tab2 + 1);
            }
        }
        if ((!keyTitle_.isEmpty() && key == keyTitle_) || key == kNoDataMark) continue;
        const auto found = rowsOfKey.constFind(key.toString());
        if (found == rowsOfKey.constEnd()) {
            unmatched(QStringLiteral("line %1").arg(i + 1),
                      key.isEmpty() ? line.toString() : key.toString(), keys);
            continue;
        }
        const QString data = IsNumericText(value) ? value.toString() : QStringLiteral("0");
        for (const int r : *found)
            plan_.updates.push_back({r, data, std::nullopt});
        plan_.anyMatched = true;
    }
    if (!plan_.anyMatched)
        throw UserError(QStringLiteral("no line names a %1 of this map by its \"%2\" in the "
                                       "second tab-separated field")
                            .arg(layout_.rowNoun, keyTitle_));
    return std::move(plan_);
}

Plan Planner::sheet(const Sheet& sheet) {
    if (sheet.rowCount() == 0) throw UserError(QStringLiteral("its first sheet is empty"));
    for (int r = 1; r <= sheet.rowCount(); ++r)
        if (!sheet.cells(r, 1).isEmpty() || !sheet.cells(r, 2).isEmpty())
            return sheetByNames(sheet);
    return sheetByPosition(sheet);
}

std::optional<QString> Extra(const Sheet& sheet, int row, const GridFileLayout& layout) {
    if (!layout.extraColumn) return std::nullopt;
    return sheet.cells(row, 4);
}

Plan Planner::sheetByPosition(const Sheet& sheet) {
    plan_.resetOthers = false;
    for (int r = kFirstRow; r <= lastRow(); ++r)
        plan_.updates.push_back({r, sheet.cells(r - 1, 3), Extra(sheet, r - 1, layout_)});
    plan_.anyMatched = true;
    for (int s = lastRow(); s <= sheet.rowCount(); ++s)
        if (!sheet.rowEmpty(s)) unmatched(QStringLiteral("row %1").arg(s), sheet.cells(s, 3), {});
    return std::move(plan_);
}

QString PairText(const QString& name, const QString& key) {
    return name + QStringLiteral(", ") + key;
}

Plan Planner::sheetByNames(const Sheet& sheet) {
    // Rows named alike are paired in order: the n-th such sheet row with the n-th grid row.
    QHash<QString, QList<int>> rowsOfPair;
    QStringList pairs;
    for (int r = kFirstRow; r <= lastRow(); ++r) {
        const QString pair = PairText(grid_.text(ColName, r), grid_.text(ColKey, r));
        rowsOfPair[pair].append(r);
        pairs << pair;
    }
    for (int s = 1; s <= sheet.rowCount(); ++s) {
        if (sheet.rowEmpty(s) || (!keyTitle_.isEmpty() && sheet.cells(s, 2) == keyTitle_)) continue;
        const QString pair = PairText(sheet.cells(s, 1), sheet.cells(s, 2));
        auto found = rowsOfPair.find(pair);
        if (found == rowsOfPair.end() || found->isEmpty()) {
            unmatched(QStringLiteral("row %1").arg(s), pair, pairs);
            continue;
        }
        plan_.updates.push_back({found->takeFirst(), sheet.cells(s, 3), Extra(sheet, s, layout_)});
        plan_.anyMatched = true;
    }
    if (!plan_.anyMatched)
        throw UserError(QStringLiteral("no row of its first sheet names a %1 of this map in "
                                       "columns A and B (as \"Export to file\" writes them)")
                            .arg(layout_.rowNoun));
    return std::move(plan_);
}

} // namespace

ImportSource ReadImportSource(const QString& path, ReadProgress* progress) {
    ImportSource source;
    source.isSheet = IsSheetFile(path);
    if (source.isSheet) {
        source.sheet = SheetReaderFor(path)->read(path, kSheetColumns, progress);
        return source;
    }
    const QByteArray bytes = ReadFileBytes(path);
    // A workbook under another name (.xlsb, .numbers) would read as lines of noise.
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("\xD0\xCF\x11\xE0"))
        throw UserError(QStringLiteral("the file is a workbook of a kind Tolvane does not read "
                                       "(save it as .xlsx, .xls or .ods)"));
    source.text = DecodeText(bytes);
    return source;
}

ImportReport ApplyImport(GridData& grid, const ImportSource& source, const GridFileLayout& layout) {
    Planner planner(grid, layout);
    const Plan plan = source.isSheet ? planner.sheet(source.sheet) : planner.text(source.text);
    GridUpdate update(grid);
    if (plan.resetOthers)
        for (int r = kFirstRow; r < grid.rowCount(); ++r)
            if (grid.text(ColKey, r) != kNoDataMark) grid.setText(ColData, r, QStringLiteral("0"));
    for (const Update& u : plan.updates) {
        grid.setText(ColData, u.row, u.data);
        if (u.extra) grid.setText(ColExtra, u.row, *u.extra);
    }
    return {plan.unmatched, plan.unmatchedCount};
}

QString UnmatchedMessage(const QString& fileName, bool isSheet, const ImportReport& report,
                         const GridFileLayout& layout) {
    const int n = report.unmatchedCount;
    QString text = QStringLiteral("%1 %2 of \"%3\" %4 no %5 of this map and %6 left out:")
                       .arg(n)
                       .arg(isSheet ? (n == 1 ? "row" : "rows") : (n == 1 ? "line" : "lines"))
                       .arg(fileName)
                       .arg(n == 1 ? "matches" : "match")
                       .arg(layout.rowNoun)
                       .arg(n == 1 ? "was" : "were");
    for (const UnmatchedEntry& e : report.unmatched) {
        text += QStringLiteral("\n%1: \"%2\"").arg(e.where, e.names);
        if (!e.suggestion.isEmpty()) text += QStringLiteral(" (closest: \"%1\")").arg(e.suggestion);
    }
    if (n > static_cast<int>(report.unmatched.size()))
        text +=
            QStringLiteral("\n... and %1 more.").arg(n - static_cast<int>(report.unmatched.size()));
    return text;
}

Sheet ExportGrid(const GridData& grid, const GridFileLayout& layout) {
    Sheet sheet(kSheetColumns);
    for (int r = kFirstRow; r < grid.rowCount(); ++r) {
        sheet.setCells(r - 1, 1, grid.text(ColName, r));
        sheet.setCells(r - 1, 2, grid.text(ColKey, r));
        sheet.setCells(r - 1, 3, grid.text(ColData, r));
        if (layout.extraColumn) sheet.setCells(r - 1, 4, grid.text(ColExtra, r));
    }
    return sheet;
}

} // namespace tolvane
