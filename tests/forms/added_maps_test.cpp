// "Add map…" and "Remove map" through the main window, offscreen, with scripted dialogs and
// the real converter program beside the tests.
#include "charts/PageState.h"
#include "forms/AddMapDialog.h"
#include "forms/AddedMapRow.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "forms/PageSet.h"
#include "model/Colors.h"
#include "platform/Dialogs.h"
#include "render/MapMovie.h"
#include "render/RenderFixture.h"
#include "support/TempAppFolder.h"
#include "widgets/ChartPlayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tolvane;
using tolvane::test::TempAppFolder;

namespace {

QString Fixture(const QString& name) {
    return QStringLiteral(TOLVANE_SOURCE_DIR "/tests/mapimport/data/") + name;
}

class AddedMaps : public ::testing::Test {
protected:
    void SetUp() override {
        app.copyShippedMaps({"World2", "WorldCity"});
        start();
    }
    void start() {
        main.reset();
        main = std::make_unique<MainWindow>(app.path(), dialogs);
        main->startUp();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    // The dialog with `file`'s layers read.
    std::unique_ptr<AddMapDialog> openDialog(const QString& file) {
        auto dialog = std::make_unique<AddMapDialog>(dialogs, app.path(), main.get());
        dialogs.queuePath(file);
        EXPECT_TRUE(dialog->chooseFile());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->busy(); }, 60000));
        return dialog;
    }
    void add(AddMapDialog& dialog) {
        dialog.addButton()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.busy(); }, 60000));
    }
    QStringList dataFiles() const {
        return QDir(app.dataPath({})).entryList(QDir::Files, QDir::Name);
    }
    QStringList captions(QComboBox* list) const {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }

    TempAppFolder app;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
};

} // namespace

TEST_F(AddedMaps, RegionMapIsAddedListedDrawnKeptAndRemoved) {
    LegendMapPage& page = main->regionPage();
    const int builtIn = page.mapList()->count();
    EXPECT_FALSE(page.addedMaps()->removeButton()->isEnabled()) << "a built-in map is chosen";

    auto dialog = openDialog(Fixture("districts.geojson"));
    EXPECT_EQ(dialog->layerList()->currentText(), "districts (polygons, 9 features)");
    EXPECT_EQ(dialog->nameFieldList()->currentText(), "name");
    EXPECT_EQ(dialog->shortFieldList()->currentText(), "code");
    EXPECT_TRUE(dialog->projectionEdit()->text().startsWith("+proj=laea"));
    EXPECT_EQ(dialog->titleEdit()->text(), "districts");
    dialog->titleEdit()->setText("Bezirke");
    dialog->licenceEdit()->setText("CC0");
    add(*dialog);
    ASSERT_TRUE(dialog->addedMap()) << dialogs.errors.join("; ").toStdString();
    EXPECT_EQ(dialog->addedMap()->stem, "Bezirke");
    EXPECT_TRUE(dialog->report()->toPlainText().contains(
        "Attribution: Source: districts.geojson. Licence: CC0.\n"));
    EXPECT_TRUE(dialog->report()->toPlainText().contains(
        "Names made unique (1):\n  “Südtal” is also “Südtal (2)”\n"));
    EXPECT_FALSE(dialog->addButton()->isVisible());

    // Listed after the built-in maps, chosen, loaded with its names offered.
    main->reloadAddedMaps();
    main->pages().showAddedMap(*dialog->addedMap());
    ASSERT_EQ(page.mapList()->count(), builtIn + 1);
    EXPECT_EQ(page.mapList()->itemText(builtIn), "Bezirke");
    EXPECT_EQ(page.mapList()->currentIndex(), builtIn);
    EXPECT_EQ(main->model().currentMapName, "Bezirke");
    EXPECT_EQ(page.state().grid.rowCount(), 2 + 9);
    EXPECT_TRUE(page.showNameBox()->isEnabled());
    EXPECT_TRUE(page.addedMaps()->removeButton()->isEnabled());

    // Coloured and made (names off, so that none covers a label point), each region is drawn
    // in its own colour at its label point.
    EXPECT_TRUE(page.showNameBox()->isChecked()) << "the new map's chart shows names";
    page.showNameBox()->setChecked(false);
    GridData& grid = page.state().grid;
    for (int row = 2; row < grid.rowCount(); ++row)
        grid.setColor(ColColor, row, PlatformRgb(25 * row, 200 - 15 * row, 90));
    main->makeAndPreview();
    const ChartScene& scene = main->previewPlayer()->scene();
    ASSERT_TRUE(scene.movie);
    EXPECT_TRUE(scene.match.unmatchedRegions.isEmpty());
    const QImage image = main->previewPlayer()->renderPicture(QSize(1000, 700));
    for (int row = 2; row < grid.rowCount(); ++row) {
        const QString key = grid.text(ColKey, row);
        const auto shape = std::find_if(scene.movie->regions.begin(), scene.movie->regions.end(),
                                        [&](const MovieShape& s) { return s.key == key; });
        ASSERT_NE(shape, scene.movie->regions.end()) << key.toStdString();
        EXPECT_TRUE(tolvane::test::Near(tolvane::test::ColorAt(image, scene, shape->label),
                                        QColor(25 * row, 200 - 15 * row, 90)))
            << key.toStdString();
    }

    // The next start lists it again.
    dialog.reset();
    start();
    ASSERT_EQ(captions(main->regionPage().mapList()).mid(builtIn), QStringList{"Bezirke"});
    EXPECT_EQ(captions(main->cityPage().mapList()).size(), 12) << "a region map only";

    // Removed after asking: its files go, a built-in map takes its place.
    LegendMapPage& again = main->regionPage();
    main->pages().showAddedMap(*LoadAddedMaps(app.path()).begin());
    dialogs.queueCancel();
    again.addedMaps()->removeButton()->click();
    EXPECT_TRUE(app.exists("data/Bezirke.map")) << "the question was cancelled";
    dialogs.queueOk();
    again.addedMaps()->removeButton()->click();
    ASSERT_EQ(dialogs.titles.size(), 3) << "the file, two questions";
    EXPECT_TRUE(
        dialogs.titles[2].startsWith("Remove map: Remove the map “Bezirke” that you added?"));
    EXPECT_FALSE(app.exists("data/Bezirke.map"));
    EXPECT_FALSE(app.exists("data/Bezirke.xml"));
    EXPECT_EQ(again.mapList()->count(), builtIn);
    EXPECT_EQ(main->model().currentMapName, "World2");
    EXPECT_EQ(again.shownMap(), "World2");
    EXPECT_FALSE(again.addedMaps()->removeButton()->isEnabled());
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join("; ").toStdString();
}

TEST_F(AddedMaps, PointLayerBecomesACityMapOnTheBubblePage) {
    auto dialog = openDialog(Fixture("regions.gpkg"));
    EXPECT_EQ(dialog->layerList()->currentText(), "districts (polygons, 9 features)");
    dialog->layerList()->setCurrentIndex(
        dialog->layerList()->findText("towns (points, 6 features)"));
    EXPECT_EQ(dialog->shortFieldList()->currentText(), "state");
    EXPECT_EQ(dialog->sourceEdit()->text(), "Tolvane test districts") << "from the file";
    add(*dialog);
    ASSERT_TRUE(dialog->addedMap()) << dialogs.errors.join("; ").toStdString();
    EXPECT_EQ(dialog->addedMap()->kind, AddedMapKind::City);

    main->reloadAddedMaps();
    main->pages().showAddedMap(*dialog->addedMap());
    LegendMapPage& page = main->cityPage();
    EXPECT_EQ(main->pageTabs()->currentWidget(), page.tab());
    EXPECT_EQ(page.mapList()->currentText(), "towns");
    EXPECT_EQ(main->model().currentMapName, "towns");
    EXPECT_EQ(page.state().grid.rowCount(), 2 + 6);
    EXPECT_TRUE(page.showNameBox()->isEnabled());
    EXPECT_TRUE(page.showLegendBox()->isEnabled());
    EXPECT_EQ(main->regionPage().mapList()->count(), 59) << "a city map only";
}

TEST_F(AddedMaps, FailedOrCancelledConversionLeavesListAndFolderAsTheyWere) {
    const QStringList before = dataFiles();
    auto dialog = openDialog(Fixture("districts.geojson"));
    dialog->projectionEdit()->setText("+proj=nowhere");
    add(*dialog);
    EXPECT_FALSE(dialog->addedMap());
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("nowhere")) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialog->addButton()->isEnabled()) << "other choices can be tried";

    // Cancel while it converts.
    dialog->projectionEdit()->clear();
    dialog->addButton()->click();
    ASSERT_TRUE(dialog->busy());
    ASSERT_EQ(dialog->closeButton()->text(), "Cancel");
    dialog->closeButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->busy(); }, 60000));
    EXPECT_FALSE(dialog->addedMap());
    EXPECT_EQ(dialogs.errors.size(), 1) << "a cancel is no error";

    EXPECT_EQ(dataFiles(), before);
    main->reloadAddedMaps();
    EXPECT_EQ(main->regionPage().mapList()->count(), 59);
}
