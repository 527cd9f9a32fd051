// Chart data files of every kind, as the loaders read them and the movie's reader reads the
// staged copies. Beyond not crashing: a chart that loads is shown in its page and made,
// twice over (the first make drops the rows named "Nill", the second the count they were
// in), and from then on every load and make must give the same file byte for byte: a
// value the program read or showed survives the next make unchanged. What a make knows of
// its file without reading it back must be what reading it gives.
#include "FuzzTargets.h"
#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/UserError.h"
#include "platform/XmlDocument.h"
#include "render/StagedChart.h"

using namespace tolvane;
using tolvane::fuzz::FuzzCheck;

namespace {

// Load (shown in a fresh page) and make, as "Make && Preview" does after a load.
QByteArray LoadAndMake(ChartKind kind, ChartFileData data) {
    ChartModel model;
    ChartFileData made;
    switch (kind) {
    case ChartKind::Region:
    case ChartKind::Shade: {
        MapPageState page(kind);
        ShowMapChart(kind, model, page, std::move(data));
        made = MakeMapChart(kind, model, page);
        break;
    }
    case ChartKind::City: {
        CityPageState page;
        int32_t border = 0;
        ShowCityChart(model, page, border, std::move(data));
        made = MakeCityChart(model, page, border);
        break;
    }
    case ChartKind::RegionCity: {
        RegionCityPageState page;
        ShowRegionCityChart(model, page, std::move(data));
        made = MakeRegionCityChart(model, page);
        break;
    }
    }
    return BuildChartFile(kind, made).toBytes();
}

// The file written for `data`, against what the program takes it to read back as, and the
// movie's reading of it when its staged copy is that file itself.
void CheckReadBack(ChartKind kind, const ChartFileData& data) {
    if (kind == ChartKind::RegionCity) return;
    const QByteArray bytes = BuildChartFile(kind, data).toBytes();
    const XmlReader reader = XmlReader::fromBytes(bytes, QStringLiteral("made"));
    std::optional<ChartFileData> read;
    try {
        read = ParseChartFile(kind, reader);
    } catch (const UserError&) {
    }
    if (const std::optional<ChartFileData> back = ReadBackChartData(kind, data)) {
        FuzzCheck(read && SameChartData(*back, *read), "a file reads back otherwise than known");
        FuzzCheck(BuildChartFile(kind, *back).toBytes() == bytes,
                  "a file built from what it reads back as is another file");
    }
    // Built after another file: the items it copies must make the same file, read back the same.
    const auto checkBuiltAfter = [kind](const ChartFileData& next, const BuiltListFile* before) {
        BuiltListFile built = BuildListFile(kind, next, before);
        const std::optional<ChartFileData> back = ReadBackChartData(kind, next);
        FuzzCheck(built.bytes == BuildChartFile(kind, next).toBytes(),
                  "a file built after another is another file");
        FuzzCheck(back.has_value() == (built.back != nullptr) &&
                      (!back || SameChartData(*back, *built.back)),
                  "a file built after another reads back otherwise than known");
        return built;
    };
    const BuiltListFile first = checkBuiltAfter(data, nullptr);
    if (first.back) {
        ChartFileData edited = *first.back;
        for (size_t i = 1; i < edited.items.size(); i += 2)
            edited.items[i].Value = edited.items[i].Value * 3 + 1;
        if (!edited.items.empty()) edited.items.pop_back();
        checkBuiltAfter(edited, &first);
    }
    if (!read) return;
    const int count = LegendItemCount(kind, read->legend);
    if (BuildChartFile(kind, StagedCopy(*read, count), true).toBytes() == bytes)
        FuzzCheck(StagedChartOf(kind, *read) == ReadStagedChart(MovieKindOf(kind), reader.root()),
                  "the movie reads a chart file otherwise than known");
}

} // namespace

TOLVANE_FUZZ_TARGET(chart_file) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<XmlReader> reader;
    try {
        reader = XmlReader::fromBytes(bytes, QStringLiteral("fuzz"));
    } catch (const UserError&) {
        return;
    }
    for (const ChartKind kind :
         {ChartKind::Region, ChartKind::Shade, ChartKind::City, ChartKind::RegionCity}) {
        ChartFileData read;
        try {
            read = ParseChartFile(kind, *reader);
        } catch (const UserError&) {
            continue; // refused as a whole: nothing was shown
        }
        CheckReadBack(kind, read);
        QByteArray once, twice;
        try {
            const auto again = [kind](const QByteArray& made) {
                return LoadAndMake(
                    kind, ParseChartFile(kind, XmlReader::fromBytes(made, QStringLiteral("made"))));
            };
            once = again(LoadAndMake(kind, std::move(read)));
            twice = again(once);
        } catch (const UserError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            FuzzCheck(false, "a chart that loaded cannot be made, or its file not loaded again");
        }
        FuzzCheck(once == twice, "a chart changes when it is made once more");
        // What the staged copy of such a file gives the movie.
        BuildChartFile(kind, ParseChartFile(kind, *reader), true);
    }
    for (const MovieKind kind :
         {MovieKind::Region, MovieKind::City, MovieKind::RegionCity, MovieKind::Flag})
        ReadStagedChart(kind, reader->root());
}
