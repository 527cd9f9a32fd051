#pragma once

#include "charts/AddedMaps.h"
#include "model/ChartModel.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QPushButton;
class QTabWidget;

namespace tolvane {

class ChartPage;
class ChartPlayer;
class CityPage;
class Dialogs;
class LegendPanel;
class FlagPage;
class PlayerMessageFilter;
class RegionCityPage;
class RegionPage;
class ShadePage;
class AboutDialog;
class ColorByDataDialog;
class ShadeColorDialog;
class LegendColorDialog;
class BubbleSizeDialog;
struct ColorTarget;
struct LegendState;

// The main window: the page control with one page class per chart kind, the players, and
// the commands every page shares ("Make && Preview", "Save Chart", help, about).
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The client area keeps the form's sizes: the preview placement is computed from them.
    static constexpr int kClientWidth = 1000;
    static constexpr int kClientHeight = 711;
    static constexpr int kPageControlHeight = 373;

    MainWindow(const QString& appFolder, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, before the window is shown: loads and plays the first chart.
    void startUp();
    // Shutdown: the last place to store what must outlive the run.
    void shutDown();

    // Page switching: the page at `index` became the active one.
    void onPageChanged(int index);

    // The options file: the state of every page's controls. Writing replaces the file
    // whole or not at all. Reading sets the controls the file names; it returns whether the
    // file's active map is the one its page shows now, and throws UserError when the file
    // cannot be read or stops at a bad line (the lines before it stay applied).
    void saveOptionsFile(const QString& path);
    bool loadOptionsFile(const QString& path);
    // Where each run leaves its options for the next: data/LastOption.set.
    QString lastOptionsPath() const;

    // Shared commands.
    void makeAndPreview();
    void saveChart();
    // The same for one page, whatever the chart mode: pages with buttons of their own.
    void makeAndPreview(ChartPage& page);
    void saveChart(ChartPage& page);
    void saveOptions();
    void openOptions();
    void showHelp();
    void showAbout();
    // "Add map…" beside the map lists: the map added is then chosen on its page ("Map" for
    // regions, "Bubble" for cities).
    void addMap();
    // Shows an added map on its page, as if the user chose it there.
    void showAddedMap(const AddedMap& map);
    // Reads the list of added maps again into the pages' map lists; a damaged list is
    // reported and lists none.
    void reloadAddedMaps();

    // Shared operations of the pages.
    void restartPreview(ChartPlayer* player);
    void placePreview(ChartPlayer* player);
    // Lets the players repaint; typed keys and clicks wait until the operation is over.
    void letEventsRun();
    // Runs one user operation; its error, if any, is shown and ends it. True on success.
    bool runOperation(const std::function<void()>& operation);
    void openHelpPage(const QString& page);

    ChartModel& model() { return model_; }
    Dialogs& dialogs() { return dialogs_; }
    PlayerMessageFilter& playerFilter() { return *playerFilter_; }
    ColorByDataDialog& colorDialog() { return *colorDialog_; }
    ShadeColorDialog& shadeColorDialog() { return *shadeColorDialog_; }
    BubbleSizeDialog& sizeDialog() { return *sizeDialog_; }
    LegendColorDialog& legendColorDialog() { return *legendColorDialog_; }
    AboutDialog& aboutDialog() { return *aboutDialog_; }
    RegionPage& regionPage() { return *regionPage_; }
    ShadePage& shadePage() { return *shadePage_; }
    CityPage& cityPage() { return *cityPage_; }
    RegionCityPage& regionCityPage() { return *regionCityPage_; }
    FlagPage& flagPage() { return *flagPage_; }
    // The page "Make && Preview" and "Save Chart" act on: the one of the chart mode.
    ChartPage* pageOfMode() const;
    QTabWidget* pageTabs() const { return pageTabs_; }
    QWidget* clientArea() const { return clientArea_; }
    QPushButton* makeButton() const { return makeButton_; }
    QPushButton* saveChartButton() const { return saveChartButton_; }
    QPushButton* saveOptionsButton() const { return saveOptionsButton_; }
    QPushButton* openOptionsButton() const { return openOptionsButton_; }
    // The area below the page control where the previews and legend panels sit.
    QRect previewArea() const;

    // The preview every page but "Advance Map" shows its chart in, and the one of "Advance
    // Map"; each has a capture player beside it that draws Save Chart's pictures, never shown.
    ChartPlayer* previewPlayer() const { return preview_; }
    ChartPlayer* shadePreviewPlayer() const { return shadePreview_; }
    ChartPlayer* capturePlayer() const { return capture_; }
    ChartPlayer* shadeCapturePlayer() const { return shadeCapture_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Adds a page's tab and takes the page on; pages are added in page-control order.
    template <typename Page> Page* addPage(const QString& caption, const QString& tabName);
    // Shows page `index`; `reload` loads its chart again even when the grids hold it.
    void showPage(int index, bool reload);
    // Start-up: a first run has no last options; any other failure is reported once.
    void restoreLastOptions();
    // What the colour and size dialogs act on for a target mode: the page that owns it says.
    ColorTarget colorTarget(int mode);
    LegendState* legendTarget(int mode);
    // The added maps into the pages' lists; the message of a list that cannot be read.
    QString listAddedMaps();

    ChartModel model_;
    Dialogs& dialogs_;
    bool busy_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    QString addedMapsError_; // reported once the window starts

    QWidget* clientArea_ = nullptr;
    QTabWidget* pageTabs_ = nullptr;
    QWidget* captureArea_ = nullptr;
    ChartPlayer* preview_ = nullptr;
    ChartPlayer* shadePreview_ = nullptr;
    ChartPlayer* capture_ = nullptr;
    ChartPlayer* shadeCapture_ = nullptr;
    QPushButton* makeButton_ = nullptr;
    QPushButton* saveChartButton_ = nullptr;
    QPushButton* saveOptionsButton_ = nullptr;
    QPushButton* openOptionsButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    PlayerMessageFilter* playerFilter_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;
    ColorByDataDialog* colorDialog_ = nullptr;
    BubbleSizeDialog* sizeDialog_ = nullptr;
    LegendColorDialog* legendColorDialog_ = nullptr;
    ShadeColorDialog* shadeColorDialog_ = nullptr;
    // The pages hold the grids the views show: they outlive every widget (see ~MainWindow).
    std::vector<std::unique_ptr<ChartPage>> pages_;
    RegionPage* regionPage_ = nullptr;
    ShadePage* shadePage_ = nullptr;
    CityPage* cityPage_ = nullptr;
    RegionCityPage* regionCityPage_ = nullptr;
    FlagPage* flagPage_ = nullptr;
    int activePage_ = 0;
};

} // namespace tolvane
