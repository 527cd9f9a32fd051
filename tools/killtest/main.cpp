// tolvane-kill-driver: runs the program's own load, make and save steps on a map, over and
// over, so that scripts/killtest.sh can kill it at any moment and check what is on disk.
//
//   tolvane-kill-driver APP_FOLDER MAP [CYCLES]
//
// Start-up loads the map's chart (staging data/cmap.map and data/province.xml). Each cycle
// then makes the chart with every value set to that cycle's version ("1" on even cycles,
// "2.5" on odd ones, with a legend text to match): write data/MAP.xml, load it again and
// stage it; and saves the chart as APP_FOLDER/chart.png, as Save Chart does. Without
// CYCLES it runs until it is killed.
#include "charts/Charts.h"
#include "charts/GridRows.h"
#include "model/UserError.h"
#include "render/ChartScene.h"
#include "render/PictureFile.h"

#include <QGuiApplication>
#include <cstdio>

using namespace tolvane;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: tolvane-kill-driver APP_FOLDER MAP [CYCLES]\n", stderr);
        return 2;
    }
    ChartModel model;
    model.appFolder = QString::fromLocal8Bit(argv[1]);
    if (!model.appFolder.endsWith(u'/')) model.appFolder += u'/';
    model.currentMapName = QString::fromLocal8Bit(argv[2]);
    const long cycles = argc > 3 ? std::atol(argv[3]) : -1;
    try {
        MapPageState page;
        LoadRegionChart(model, page, model.currentMapName);
        for (long i = 0; cycles < 0 || i < cycles; ++i) {
            const bool odd = i % 2 == 1;
            for (int row = 2; row < page.grid.rowCount(); ++row)
                if (!page.grid.readOnly(ColData, row))
                    page.grid.setText(ColData, row,
                                      odd ? QStringLiteral("2.5") : QStringLiteral("1"));
            if (page.legend.grid.rowCount() > 1)
                page.legend.grid.setText(ColLegendText, 1,
                                         odd ? QStringLiteral("B") : QStringLiteral("A"));
            WriteRegionChart(model, page);
            LoadRegionChart(model, page, model.currentMapName);
            WriteChartPicture(LoadChartScene(model.stagedMoviePath()),
                              model.appFolder + QStringLiteral("chart.png"), QSize(500, 350));
        }
    } catch (const UserError& e) {
        std::fprintf(stderr, "tolvane-kill-driver: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
