#pragma once

#include "forms/ChartPage.h"
#include "model/GridData.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tolvane {

class ChartSizeBar;
class DataGridView;
class LinkLabel;

// The "Flag" page: a few countries shown by their flags, scaled by a value each. It has
// its own "Make && Preview" and "Save Chart" on a panel over the main window's buttons and
// leaves the chart mode as it was; its grid is the only store of its data.
class FlagPage : public ChartPage {
    Q_OBJECT
public:
    FlagPage(MainWindow& main, QWidget* tab);

    // The codes row 1 starts with.
    static const QStringList& startCodes();
    void fillStartCodes();

    int chartMode() const override { return 0; }
    // Writes and stages the chart of the type shown, and shows the page's buttons.
    void activate() override;
    void deactivate() override;
    // WriteFlagChart with the type of the list; false when it failed (reported).
    bool make() override;
    QSize chartSize() const override;

    // Handlers.
    // Makes the chart and restarts the preview: "Make && Preview" on the page's own panel,
    // and any change of the type list.
    void makeAndPreview();
    void columnCountChanged();
    void saveChart();
    void showCountryCodes();

    // The number of countries the column count list names.
    int columnCount() const;
    GridData& grid() { return grid_; }
    QComboBox* typeList() const { return typeList_; }
    QLineEdit* titleEdit() const { return titleEdit_; }
    QComboBox* columnCountList() const { return columnCountList_; }
    DataGridView* gridView() const { return gridView_; }
    LinkLabel* countryCodeLink() const { return countryCodeLink_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    QWidget* buttonPanel() const { return buttonPanel_; }
    QPushButton* makeButton() const { return makeButton_; }
    QPushButton* saveChartButton() const { return saveChartButton_; }

private:
    void build(QWidget* tab);
    void buildPanel();
    // The grid as wide as its columns: fifteen of them fit the page.
    void fitGridWidth();
    // Writes the chart, then gives the players their message filter back.
    bool writeChart();

    GridData grid_;
    QComboBox* typeList_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QComboBox* columnCountList_ = nullptr;
    DataGridView* gridView_ = nullptr;
    LinkLabel* countryCodeLink_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    QWidget* buttonPanel_ = nullptr;
    QPushButton* makeButton_ = nullptr;
    QPushButton* saveChartButton_ = nullptr;
};

} // namespace tolvane
