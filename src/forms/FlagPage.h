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
    FlagPage(TFrmMain& main, QWidget* tab);

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
    void cmdMake2Click() { MakeFlagChart(); }
    void MakeFlagChart();
    void cmbFlagChange() { MakeFlagChart(); }
    void cmbFlagColCountChange();
    void cmdSavePicture2Click();
    void labCountryCodeClick();

    // The number of countries the column count list names.
    int columnCount() const;
    GridData& grid() { return grid_; }
    QComboBox* cmbFlag() const { return cmbFlag_; }
    QLineEdit* txtFlagTitle() const { return txtFlagTitle_; }
    QComboBox* cmbFlagColCount() const { return cmbFlagColCount_; }
    DataGridView* grdFlag() const { return grdFlag_; }
    LinkLabel* labCountryCode() const { return labCountryCode_; }
    ChartSizeBar* sizeBar() const { return sizeBar_; }
    QWidget* pnFlag() const { return pnFlag_; }
    QPushButton* cmdMake2() const { return cmdMake2_; }
    QPushButton* cmdSavePicture2() const { return cmdSavePicture2_; }

private:
    void build(QWidget* tab);
    void buildPanel();
    // The grid as wide as its columns: fifteen of them fit the page.
    void fitGridWidth();
    // Writes the chart, then gives the players their message filter back.
    bool writeChart();

    GridData grid_;
    QComboBox* cmbFlag_ = nullptr;
    QLineEdit* txtFlagTitle_ = nullptr;
    QComboBox* cmbFlagColCount_ = nullptr;
    DataGridView* grdFlag_ = nullptr;
    LinkLabel* labCountryCode_ = nullptr;
    ChartSizeBar* sizeBar_ = nullptr;
    QWidget* pnFlag_ = nullptr;
    QPushButton* cmdMake2_ = nullptr;
    QPushButton* cmdSavePicture2_ = nullptr;
};

} // namespace tolvane
