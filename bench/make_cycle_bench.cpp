// The data side of "Make && Preview": write the chart file from the grid, load it back,
// stage the movie's data file and refill the grid, for a chart of many regions.
#include "charts/Charts.h"
#include "platform/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tolvane;

static void BM_RegionMakeCycle(benchmark::State& state) {
    const int regions = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("data");
    ChartModel model;
    model.appFolder = dir.path() + "/";
    model.currentMapName = "Big";
    QFile movie(model.movieFilePath());
    movie.open(QIODevice::WriteOnly);
    movie.write(QByteArray(200000, 'x'));
    movie.close();

    MapPageState page;
    for (int i = 0; i < regions; ++i)
        model.regions.push_back({i + 1,
                                 QStringLiteral("Region number %1").arg(i + 1),
                                 QStringLiteral("XX-%1").arg(i + 1),
                                 {},
                                 0x336699,
                                 i * 1.25,
                                 0,
                                 0});
    model.regionCount = regions;
    page.grid.setRowCount(regions + 2);
    for (int i = 0; i < regions; ++i) {
        page.grid.setText(3, i + 2, QString::number(i * 0.5));
        page.grid.setColor(4, i + 2, 0x102030 + i);
    }
    page.legend.countIndex = 5;
    page.legend.grid.setRowCount(7);

    for (auto _ : state) {
        WriteRegionChart(model, page);
        LoadRegionChart(model, page, model.currentMapName);
    }
    state.SetLabel(std::to_string(regions) + " regions");
}
BENCHMARK(BM_RegionMakeCycle)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

// Writing the chart file's text alone, for a chart of many regions with fractional values.
static void BM_BuildChartFile(benchmark::State& state) {
    ChartFileData data;
    data.regions = static_cast<int>(state.range(0));
    data.border = QStringLiteral("0");
    for (int i = 0; i < data.regions; ++i)
        data.items.push_back({i + 1,
                              QStringLiteral("Region number %1").arg(i + 1),
                              QStringLiteral("XX-%1").arg(i + 1),
                              {},
                              0x336699 + i,
                              i * 1.37 + 0.01,
                              0,
                              0});
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildChartFile(ChartKind::Region, data).toBytes());
}
BENCHMARK(BM_BuildChartFile)->Arg(200000)->Unit(benchmark::kMillisecond);
