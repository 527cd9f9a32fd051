// Import and export of a 10,000-row grid: reading each file format completely and filling
// the grid, and writing the grid as an .xlsx workbook. The spreadsheets are the committed
// fixtures LibreOffice wrote (tests/io/data/calc-rows-10k.*).
#include "charts/PageState.h"
#include "forms/GridFileCommands.h"
#include "io/XlsxWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tolvane;

namespace {

constexpr int kRows = 10000;

// The grid the fixtures were made for: "Region 00001", "R00001", ...
GridData TenThousandRegions() {
    GridData grid = MakeDataGrid(GridLayout::Shade);
    grid.setRowCount(kRows + 2);
    for (int i = 1; i <= kRows; ++i) {
        grid.setText(ColName, i + 1, QStringLiteral("Region %1").arg(i, 5, 10, QChar(u'0')));
        grid.setText(ColKey, i + 1, QStringLiteral("R%1").arg(i, 5, 10, QChar(u'0')));
        grid.setText(ColData, i + 1, QString::number(i * 0.25));
        grid.setText(ColExtra, i + 1, QString::number(i % 9 + 1));
    }
    return grid;
}

void Import(benchmark::State& state, const QString& path) {
    GridData grid = TenThousandRegions();
    for (auto _ : state) {
        const ImportReport report =
            ApplyImport(grid, ReadImportSource(path), kShadeGridFile.layout);
        if (report.unmatchedCount != 0) state.SkipWithError("rows did not match");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_ImportSheet(benchmark::State& state, const char* name) {
    Import(state, QStringLiteral(TOLVANE_SOURCE_DIR "/tests/io/data/") + QString::fromLatin1(name));
}
BENCHMARK_CAPTURE(BM_ImportSheet, xlsx, "calc-rows-10k.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportSheet, xls, "calc-rows-10k.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportSheet, ods, "calc-rows-10k.ods")->Unit(benchmark::kMillisecond);

void BM_ImportText(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("rows.txt");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (int i = 1; i <= kRows; ++i)
        file.write(QStringLiteral("Region %1\tR%1\t%2\r\n")
                       .arg(i, 5, 10, QChar(u'0'))
                       .arg(i * 0.5)
                       .toUtf8());
    file.close();
    Import(state, path);
}
BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);

void BM_ExportXlsx(benchmark::State& state) {
    const GridData grid = TenThousandRegions();
    QTemporaryDir dir;
    const QString path = dir.filePath("export.xlsx");
    for (auto _ : state)
        WriteXlsx(ExportGrid(grid, kShadeGridFile.layout), path);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond);

} // namespace
