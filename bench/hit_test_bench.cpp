// Pointing at the preview: what lies under the pointer, once per mouse move, on the map
// with the most regions, in the preview's size.
#include "render/ChartScene.h"
#include "render/HitTest.h"

#include <benchmark/benchmark.h>

using namespace tolvane;

static void BM_HitTestPerMouseMove(benchmark::State& state) {
    const QString data = QStringLiteral(TOLVANE_SOURCE_DIR "/data/");
    const ChartScene scene = LoadChartScene(data + "World.map", data + "World.xml");
    const QRectF frame(0, 0, 793, 308);
    const ChartHitIndex index(scene, frame);
    // A sweep of the pointer over the whole preview, one point per move.
    std::vector<QPointF> moves;
    for (int y = 2; y < 308; y += 7)
        for (int x = 2; x < 793; x += 11)
            moves.emplace_back(x, y);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(index.at(moves[i]));
        i = (i + 1) % moves.size();
    }
}
BENCHMARK(BM_HitTestPerMouseMove)->Unit(benchmark::kMicrosecond);

static void BM_HitIndexBuild(benchmark::State& state) {
    const QString data = QStringLiteral(TOLVANE_SOURCE_DIR "/data/");
    const ChartScene scene = LoadChartScene(data + "World.map", data + "World.xml");
    for (auto _ : state)
        benchmark::DoNotOptimize(ChartHitIndex(scene, QRectF(0, 0, 793, 308)));
}
BENCHMARK(BM_HitIndexBuild)->Unit(benchmark::kMicrosecond);
