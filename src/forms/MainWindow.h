#pragma once

#include "model/ChartModel.h"

#include <QWidget>
#include <functional>
#include <memory>

class QPushButton;
class QTabWidget;

namespace tolvane {

class AboutDialog;
class BubbleSizeDialog;
class ChartPage;
class ChartPlayer;
class ColorByDataDialog;
class Dialogs;
class FlagPage;
class LegendColorDialog;
class LegendMapPage;
class OptionsCommands;
class PageSet;
class PlayerMessageFilter;
class RegionCityPage;
class ShadeColorDialog;

// The main window: the pages (PageSet), the preview players, the dialogs, and the commands
// every page shares ("Make && Preview", "Save Chart", the options files, help, about).
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

    // Shared commands: "Make && Preview" and "Save Chart" act on the page of the chart mode.
    void makeAndPreview();
    void saveChart();
    // The same for one page, whatever the chart mode: pages with buttons of their own.
    void makeAndPreview(ChartPage& page);
    void saveChart(ChartPage& page);
    void showHelp();
    void showAbout();
    // "Add map…" beside the map lists: the map added is then chosen on its page ("Map" for
    // regions, "Bubble" for cities).
    void addMap();
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

    // Marks a user operation under way while it lives, so that a click delivered while it
    // lets the players repaint cannot start a second one inside it.
    class Operation {
    public:
        explicit Operation(MainWindow& main);
        ~Operation();
        // False when another operation was under way: the new one should not run.
        bool entered() const { return entered_; }

    private:
        bool& busy_;
        bool entered_;
    };

    ChartModel& model() { return model_; }
    Dialogs& dialogs() { return dialogs_; }
    PlayerMessageFilter& playerFilter() { return *playerFilter_; }
    PageSet& pages() { return *pages_; }
    OptionsCommands& options() { return *options_; }
    ColorByDataDialog& colorDialog() { return *colorDialog_; }
    ShadeColorDialog& shadeColorDialog() { return *shadeColorDialog_; }
    BubbleSizeDialog& sizeDialog() { return *sizeDialog_; }
    LegendColorDialog& legendColorDialog() { return *legendColorDialog_; }
    AboutDialog& aboutDialog() { return *aboutDialog_; }
    // The "Map", "Advance Map" and "Bubble" pages.
    LegendMapPage& regionPage() const;
    LegendMapPage& shadePage() const;
    LegendMapPage& cityPage() const;
    RegionCityPage& regionCityPage() const;
    FlagPage& flagPage() const;
    QTabWidget* pageTabs() const;
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
    void makePlayers();
    void makeButtons();
    // The added maps into the pages' lists; the message of a list that cannot be read.
    QString listAddedMaps();

    ChartModel model_;
    Dialogs& dialogs_;
    bool busy_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    QString addedMapsError_; // reported once the window starts

    QWidget* clientArea_ = nullptr;
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
    std::unique_ptr<PageSet> pages_;
    std::unique_ptr<OptionsCommands> options_;
};

} // namespace tolvane
