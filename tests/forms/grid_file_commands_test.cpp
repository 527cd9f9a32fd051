// "Import from file" and "Export to file" as the user meets them: dialogs, messages, files.
#include "forms/GridFileCommands.h"
#include "forms/LegendMapPage.h"
#include "forms/MainWindow.h"
#include "forms/MapPages.h"
#include "io/ReadProgress.h"
#include "io/SheetReader.h"
#include "platform/Dialogs.h"
#include "support/TempAppFolder.h"
#include "widgets/WorkProgress.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tolvane;

namespace {

GridData Regions() {
    GridData grid = MakeDataGrid(GridLayout::Region);
    grid.setRowCount(4);
    const char* rows[][3] = {{"Bayern", "DE.BY", "1"}, {"Berlin", "DE.BE", "2"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            grid.setText(c + 1, r + 2, QString::fromLatin1(rows[r][c]));
    return grid;
}

class GridFiles : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }
    std::string data() const {
        return (grid.text(ColData, 2) + u'|' + grid.text(ColData, 3)).toStdString();
    }
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    GridData grid = Regions();
};

TEST_F(GridFiles, ImportOffersEachPagesFilesAndCancelChangesNothing) {
    dialogs.queueCancel();
    dialogs.queueCancel();
    EXPECT_FALSE(ImportGridFile(nullptr, dialogs, grid, kRegionGridFile));
    EXPECT_FALSE(ImportGridFile(nullptr, dialogs, grid, kCityGridFile));
    EXPECT_EQ(dialogs.titles, QStringList({"Import Data", "Import Data"}));
    EXPECT_EQ(dialogs.filters,
              QStringList({"Spreadsheets (*.xls *.xlsx *.xlsm *.ods *.csv);;Text files (*.txt)",
                           "Spreadsheets (*.xls *.xlsx *.xlsm *.ods *.csv)"}));
    EXPECT_EQ(data(), "1|2");
}

TEST_F(GridFiles, AFileThatCannotBeReadChangesNothingAndSaysWhy) {
    dialogs.queuePath(write("broken.xlsx", "PK\x03\x04 not really"));
    EXPECT_FALSE(ImportGridFile(nullptr, dialogs, grid, kRegionGridFile));
    EXPECT_EQ(dialogs.errors,
              QStringList("Cannot import \"broken.xlsx\": the file is damaged or is no workbook "
                          "(not a zip archive).\nNothing was changed."));
    EXPECT_EQ(data(), "1|2");
}

TEST_F(GridFiles, ImportListsWhatMatchedNoRowOnlyWhenSomethingDidNot) {
    // The file's own extension decides: ".xls" elsewhere in the name does not make a sheet.
    dialogs.queuePath(write("all.xls.txt", "a\tDE.BE\t7\n"));
    EXPECT_TRUE(ImportGridFile(nullptr, dialogs, grid, kRegionGridFile));
    EXPECT_EQ(data(), "0|7");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    dialogs.queuePath(write("some.csv", "Bayern,DE.BY,3\nBerlin,DE.BF,4\n"));
    EXPECT_TRUE(ImportGridFile(nullptr, dialogs, grid, kRegionGridFile));
    EXPECT_EQ(data(), "3|0");
    EXPECT_EQ(dialogs.messages,
              QStringList("1 row of \"some.csv\" matches no region of this map and was left "
                          "out:\nrow 2: \"Berlin, DE.BF\" (closest: \"Berlin, DE.BE\")"));
}

TEST_F(GridFiles, ExportOpensTheWorkbookInTheSpreadsheetProgram) {
    ExportGridFile(nullptr, dialogs, grid, kRegionGridFile, "Germany");
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    const QString path = dialogs.openedUrls[0].toLocalFile();
    EXPECT_EQ(QFileInfo(path).fileName(), "Germany.xlsx");
    const Sheet sheet = SheetReaderFor(path)->read(path, 4, nullptr);
    EXPECT_EQ(sheet.cells(2, 1), "Berlin");
    EXPECT_EQ(sheet.cells(2, 3), "2");
    QFileInfo(path).dir().removeRecursively();
}

TEST_F(GridFiles, WithoutASpreadsheetProgramTheExportIsSavedWhereTheUserSays) {
    dialogs.openUrlSucceeds = false;
    dialogs.queuePath(dir.filePath("mine"));
    ExportGridFile(nullptr, dialogs, grid, kRegionGridFile, "Germany");
    EXPECT_EQ(dialogs.titles, QStringList("Export Data"));
    const QString saved = dir.filePath("mine.xlsx");
    EXPECT_EQ(SheetReaderFor(saved)->read(saved, 4, nullptr).cells(1, 2), "DE.BY");
    EXPECT_FALSE(QFileInfo::exists(dialogs.openedUrls[0].toLocalFile())); // no copy left behind

    // An existing file is replaced only after the user agreed.
    write("mine.xlsx", "keep");
    dialogs.queuePath(dir.filePath("mine.xlsx"));
    dialogs.queueCancel();
    ExportGridFile(nullptr, dialogs, grid, kRegionGridFile, "Germany");
    EXPECT_EQ(dialogs.titles.last(),
              "Information: A same named file has existed. Do you want to replace it?");
    QFile kept(saved);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");
    EXPECT_TRUE(dialogs.allAnswered());
}

TEST(WorkProgress, LongWorkShowsItsProgressAndCancelStopsIt) {
    ReadProgress progress;
    QString shown;
    int value = -1;
    QTimer::singleShot(100, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible()) {
                shown = dialog->labelText();
                value = dialog->value();
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            }
    });
    EXPECT_THROW(RunWithProgress(
                     nullptr, "Reading \"big.xlsx\"...",
                     [&] {
                         for (;;) {
                             progress.report(250, 1000);
                             std::this_thread::sleep_for(std::chrono::milliseconds(5));
                         }
                     },
                     {[&] { return progress.permille(); }, [&] { progress.cancel(); }},
                     std::chrono::milliseconds(0)),
                 ReadCancelled);
    EXPECT_EQ(shown, "Reading \"big.xlsx\"...");
    EXPECT_EQ(value, 250);
}

TEST(MapPage, ImportAndExportButtonsWorkOnTheRegionGrid) {
    test::TempAppFolder app;
    for (const char* name : {"World2.xml", "World2.map", "cmap1.map"})
        app.copyShipped(QString::fromLatin1(name));
    ScriptedDialogs dialogs;
    MainWindow main(app.path(), dialogs);
    main.startUp();
    LegendMapPage& page = main.regionPage();
    EXPECT_EQ(page.importButton()->text(), "Import from file");
    EXPECT_EQ(page.exportButton()->text(), "Export to file");

    GridData& grid = page.state().grid;
    const QString key = grid.text(ColKey, 3);
    app.write("values.txt", "x\t" + key.toUtf8() + "\t42\n");
    dialogs.queuePath(app.path() + "values.txt");
    page.importButton()->click();
    EXPECT_EQ(grid.text(ColData, 3), "42");

    page.exportButton()->click();
    ASSERT_EQ(dialogs.openedUrls.size(), 1);
    const QString path = dialogs.openedUrls[0].toLocalFile();
    EXPECT_EQ(QFileInfo(path).fileName(), "World2.xlsx");
    EXPECT_EQ(SheetReaderFor(path)->read(path, 4, nullptr).cells(2, 3), "42");
    QFileInfo(path).dir().removeRecursively();
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

} // namespace
