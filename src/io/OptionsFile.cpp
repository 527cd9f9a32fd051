#include "io/OptionsFile.h"

#include "charts/PageState.h"
#include "io/TextDecode.h"
#include "io/TextFile.h"
#include "model/ChartModel.h"
#include "model/NumberFormat.h"
#include "model/UserError.h"

#include <algorithm>
#include <array>

namespace tolvane {

namespace {

const QString kGridSeparator = QStringLiteral("+");
const QString kLegendSeparator = QStringLiteral("?=");

struct KeyRule {
    const char16_t* prefix;
    OptionKind kind;
    int fields;
};
// Tried in this order; the first whose prefix starts the key wins.
constexpr std::array<KeyRule, 13> kKeyRules = {{
    {u"txt", OptionKind::Text, 0},
    {u"clr", OptionKind::Color, 0},
    {u"rdo", OptionKind::Radio, 0},
    {u"cmb", OptionKind::ListIndex, 0},
    {u"tr", OptionKind::TrackBar, 0},
    {u"WGrid", OptionKind::DataRow, 4},
    {u"WShadeGrid", OptionKind::DataRow, 5},
    {u"WCityGrid", OptionKind::DataRow, 5},
    {u"WRCRGrid", OptionKind::DataRow, 4},
    {u"WRCCGrid", OptionKind::DataRow, 5},
    {u"gdPLegend", OptionKind::LegendRow, 0},
    {u"gdCLegend", OptionKind::LegendRow, 0},
    {u"gdShadeLegend", OptionKind::LegendRow, 0},
}};

struct NamedColor {
    const char16_t* name;
    int32_t color;
};
constexpr std::array<NamedColor, 20> kNamedColors = {{
    {u"clBlack", 0x000000},      {u"clMaroon", 0x000080},  {u"clGreen", 0x008000},
    {u"clOlive", 0x008080},      {u"clNavy", 0x800000},    {u"clPurple", 0x800080},
    {u"clTeal", 0x808000},       {u"clGray", 0x808080},    {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF},        {u"clLime", 0x00FF00},    {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000},       {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00},
    {u"clWhite", 0xFFFFFF},      {u"clLtGray", 0xC0C0C0},  {u"clDkGray", 0x808080},
    {u"clMoneyGreen", 0xC0DCC0}, {u"clSkyBlue", 0xF0CAA6},
}};

// A text inside a line must not end it.
QString OneLine(QString text) {
    for (QChar& c : text)
        if (c == u'\r' || c == u'\n') c = u' ';
    return text;
}

// Searched by hand: QStringView::lastIndexOf of Qt 6.4 can look one character past the end
// of a view that is part of a longer text.
qsizetype LastIndexOf(QStringView text, QStringView mark) {
    for (qsizetype i = text.size() - mark.size(); i >= 0; --i)
        if (text.mid(i, mark.size()) == mark) return i;
    return -1;
}

// The next field of a line read from the left: it runs to the next "+"; once none is left,
// the field is empty and the rest stays whole for what follows.
QString TakeField(QStringView& rest) {
    const qsizetype plus = rest.indexOf(kGridSeparator);
    if (plus < 0) return {};
    QString field = rest.left(plus).toString();
    rest = rest.mid(plus + 1);
    return field;
}

} // namespace

OptionAction ActionOfKey(QStringView key) {
    for (const KeyRule& rule : kKeyRules)
        if (key.startsWith(QStringView(rule.prefix))) return {rule.kind, rule.fields};
    return {};
}

const std::vector<OptionDataGrid>& OptionDataGrids() {
    static const std::vector<OptionDataGrid> grids = [] {
        const QStringList region{"Region Name", "Short Name", "Data", "Color"};
        const QStringList shade{"Region Name", "Region", "Data", "Color", "Shade"};
        const QStringList city{"City Name", "Region", "Data", "Color", "Size"};
        return std::vector<OptionDataGrid>{{"WGrid", 4, region},
                                           {"WShadeGrid", 5, shade},
                                           {"WCityGrid", 5, city},
                                           {"WRCRGrid", 4, region},
                                           {"WRCCGrid", 5, city}};
    }();
    return grids;
}

const std::vector<OptionSlot>& OptionLineOrder() {
    using K = OptionKind;
    static const std::vector<OptionSlot> order{
        {K::ListIndex, "cmbMap", {}},
        {K::Color, "clrBoder", {}},
        {K::TrackBar, "trSize", {}},
        {K::DataRow, "WGrid", {}},
        {K::ListIndex, "cmbShadeMap", {}},
        {K::Color, "clrShadeBoder", {}},
        {K::TrackBar, "trShadeSize", {}},
        {K::DataRow, "WShadeGrid", {}},
        {K::ListIndex, "cmbCityMap", {}},
        {K::Color, "clrCityBoder", {}},
        {K::TrackBar, "trCitySize", {}},
        {K::DataRow, "WCityGrid", {}},
        {K::ListIndex, "cmbRCMap", {}},
        {K::TrackBar, "trRCSize", {}},
        {K::DataRow, "WRCRGrid", {}},
        {K::DataRow, "WRCCGrid", {}},
        {K::ListIndex, "cmbPLegendCount", {}},
        {K::LegendRow, "gdPLegend", "cmbPLegendCount"},
        {K::ListIndex, "cmbCLegendCount", {}},
        {K::LegendRow, "gdCLegend", "cmbCLegendCount"},
        {K::ListIndex, "cmbShadeLegendCount", {}},
        {K::LegendRow, "gdShadeLegend", "cmbShadeLegendCount"},
    };
    return order;
}

QString MapListOfPage(int page) {
    static const QStringList lists{"cmbMap", "cmbShadeMap", "cmbCityMap", "cmbRCMap"};
    return page >= 0 && page < lists.size() ? lists[page] : QString();
}

OptionLine SplitOptionLine(const QString& line) {
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0) return {{}, line};
    return {line.left(colon), line.mid(colon + 1)};
}

QByteArray BuildOptionsFile(const std::vector<OptionLine>& lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()) + 1);
    text << kOptionsHeader;
    for (const OptionLine& line : lines)
        text << line.key + u':' + line.value;
    return EncodeCrLfLines(text);
}

OptionsText ParseOptionsFile(const QByteArray& bytes) {
    const QStringList lines = SplitTextLines(DecodeText(bytes));
    OptionsText parsed;
    // Line 1 is the header, whatever it says.
    parsed.pageIndex =
        ParseOptionInt(lines.size() > 1 ? SplitOptionLine(lines[1]).value : QString());
    qsizetype next = 2;
    if (lines.size() > 2) {
        OptionLine third = SplitOptionLine(lines[2]);
        if (third.key == kActiveMapKey) {
            parsed.activeMapName = std::move(third.value);
            ++next;
        }
    }
    parsed.lines.reserve(static_cast<size_t>(std::max<qsizetype>(lines.size() - next, 0)));
    for (qsizetype i = next; i < lines.size(); ++i)
        parsed.lines.push_back(SplitOptionLine(lines[i]));
    return parsed;
}

int32_t ParseOptionInt(QStringView text) {
    return ParseInt(text);
}

int32_t ParseOptionColor(QStringView text) {
    for (const NamedColor& named : kNamedColors)
        if (text.compare(QStringView(named.name), Qt::CaseInsensitive) == 0) return named.color;
    return ParseOptionInt(text);
}

QString JoinDataRow(const DataRowFields& row, int fields) {
    QString line = OneLine(row.name) + kGridSeparator + OneLine(row.key) + kGridSeparator +
                   OneLine(row.data) + kGridSeparator + QString::number(row.color);
    if (fields > 4) line += kGridSeparator + OneLine(row.extra);
    return line;
}

DataRowFields SplitDataRow(QStringView value, int fields) {
    DataRowFields row;
    // Fields written after the colour, the colour, then the data and key texts.
    const int fromRight = fields - 1;
    if (value.count(kGridSeparator) >= fromRight) {
        QStringView rest = value;
        auto takeLast = [&rest] {
            const qsizetype plus = LastIndexOf(rest, kGridSeparator);
            const QStringView field = rest.mid(plus + 1);
            rest = rest.left(plus);
            return field;
        };
        if (fields > 4) row.extra = takeLast().toString();
        row.color = ParseOptionInt(takeLast());
        row.data = takeLast().toString();
        row.key = takeLast().toString();
        row.name = rest.toString();
        return row;
    }
    // Too few fields: read as they come, so the colour gets what is left.
    QStringView rest = value;
    row.name = TakeField(rest);
    row.key = TakeField(rest);
    row.data = TakeField(rest);
    if (fields > 4) {
        row.color = ParseOptionInt(TakeField(rest));
        row.extra = rest.toString();
    } else {
        row.color = ParseOptionInt(rest);
    }
    return row;
}

QString JoinLegendRow(const LegendRowFields& row) {
    return OneLine(row.text) + kLegendSeparator + QString::number(row.color);
}

LegendRowFields SplitLegendRow(QStringView value) {
    const qsizetype mark = LastIndexOf(value, kLegendSeparator);
    if (mark < 0) return {{}, ParseOptionInt(value)};
    return {value.left(mark).toString(), ParseOptionInt(value.mid(mark + kLegendSeparator.size()))};
}

DataRowFields DataRowOf(const GridData& grid, int row) {
    return {grid.text(ColName, row), grid.text(ColKey, row), grid.text(ColData, row),
            grid.color(ColColor, row), grid.text(ColExtra, row)};
}

LegendRowFields LegendRowOf(const GridData& grid, int row) {
    return {grid.text(ColLegendText, row), grid.color(ColLegendColor, row)};
}

void PutDataRow(GridData& grid, int row, const DataRowFields& fields, int fieldCount) {
    grid.setRowCount(row + 1);
    grid.setText(0, row, QString::number(row - 1));
    grid.setText(ColName, row, fields.name);
    grid.setText(ColKey, row, fields.key);
    grid.setText(ColData, row, fields.data);
    grid.setColor(ColColor, row, fields.color);
    const bool noData = fields.key == kNoDataMark;
    grid.setReadOnly(ColData, row, noData);
    if (fieldCount > 4) {
        grid.setText(ColExtra, row, fields.extra);
        grid.setReadOnly(ColExtra, row, noData);
    }
}

void PutLegendRow(GridData& grid, int row, const LegendRowFields& fields) {
    const bool added = row >= grid.rowCount();
    grid.setRowCount(row + 1);
    grid.setText(0, row, QString::number(row));
    grid.setText(ColLegendText, row, fields.text);
    grid.setColor(ColLegendColor, row, fields.color);
    if (added) {
        grid.setReadOnly(ColLegendText, row, false);
        grid.setReadOnly(ColLegendExtra, row, false);
    }
}

} // namespace tolvane
