// Options files with 5,000 rows in each of the five data grids: writing, reading, and a
// start-up that restores such a file before its first chart.
#include "BenchApp.h"
#include "forms/MainWindow.h"
#include "forms/OptionsCommands.h"
#include "io/OptionsFile.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "render/MapMovie.h"
#include "widgets/ChartPlayer.h"

#include <benchmark/benchmark.h>
#include <optional>

using namespace tolvane;

namespace {

constexpr int kRows = 5000;

QByteArray LargeOptionsFile() {
    std::vector<OptionLine> lines{{kActivePageKey, "0"}, {kActiveMapKey, "World2"}};
    for (const OptionSlot& slot : OptionLineOrder()) {
        switch (slot.kind) {
        case OptionKind::DataRow: {
            const int fields = ActionOfKey(slot.name).fields;
            for (int r = 1; r <= kRows; ++r)
                lines.push_back(
                    {slot.name,
                     JoinDataRow({QStringLiteral("Region %1").arg(r), QStringLiteral("R%1").arg(r),
                                  QString::number(r * 1.25), (r * 7919) & 0xFFFFFF, "3"},
                                 fields)});
            break;
        }
        case OptionKind::LegendRow:
            for (int r = 1; r <= 10; ++r)
                lines.push_back(
                    {slot.name, JoinLegendRow({QStringLiteral("%1 ~ %2").arg(r).arg(r + 1), r})});
            break;
        case OptionKind::ListIndex:
            lines.push_back({slot.name, slot.name == u"cmbMap" ? "1" : "0"});
            break;
        default:
            lines.push_back({slot.name, "0"});
            break;
        }
    }
    return BuildOptionsFile(lines);
}

} // namespace

static void BM_SaveOptionsLarge(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    WriteFileAtomically(app.path() + "large.set", LargeOptionsFile());
    main.options().readFile(app.path() + "large.set");
    for (auto _ : state)
        main.options().writeFile(app.path() + "saved.set");
    state.SetLabel(
        QStringLiteral("%1 bytes").arg(QFileInfo(app.path() + "saved.set").size()).toStdString());
}
BENCHMARK(BM_SaveOptionsLarge)->Unit(benchmark::kMillisecond);

static void BM_OpenOptionsLarge(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    main.show();
    WriteFileAtomically(app.path() + "large.set", LargeOptionsFile());
    for (auto _ : state) {
        main.options().readFile(app.path() + "large.set");
        QCoreApplication::processEvents(); // the grids show their new rows
    }
}
BENCHMARK(BM_OpenOptionsLarge)->Unit(benchmark::kMillisecond);

static void BM_StartUpWithLargeLastOptions(benchmark::State& state) {
    bench::EnsureApplication();
    bench::AppCopy app;
    ScriptedDialogs dialogs;
    const QByteArray large = LargeOptionsFile();
    std::optional<MainWindow> main;
    for (auto _ : state) {
        state.PauseTiming();
        main.reset(); // exit writes the file: every run starts from the large one
        WriteFileAtomically(app.path() + "data/LastOption.set", large);
        ClearMovieCache();
        state.ResumeTiming();
        main.emplace(app.path(), dialogs);
        main->startUp();
        main->show();
        benchmark::DoNotOptimize(main->previewPlayer()->picture());
    }
}
BENCHMARK(BM_StartUpWithLargeLastOptions)->Unit(benchmark::kMillisecond);
