#include "charts/GridRows.h"
#include "forms/ColorByDataDialog.h"
#include "forms/LegendColorDialog.h"
#include "forms/LegendPanel.h"
#include "platform/Dialogs.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvane {
namespace {

constexpr int32_t kMarker = 0x123456;

GridData DataGrid(const QStringList& values) {
    GridData grid = MakeDataGrid(GridLayout::Region);
    grid.setRowCount(static_cast<int>(values.size()) + 2);
    for (int i = 0; i < values.size(); ++i) {
        grid.setText(ColData, i + 2, values[i]);
        grid.setColor(ColColor, i + 2, kMarker);
    }
    return grid;
}

// A main window's worth of targets for the colour dialog.
struct Targets {
    GridData region = DataGrid({"0", "30", "60"});
    LegendState regionLegend{ChartKind::Region};
    GridData rcCities = DataGrid({"1", "2", "3", "4"});
    LegendState cityLegend{ChartKind::City};
    int regionRows = 3;
    int cityRows = 2;

    ColorTarget resolve(int mode) {
        switch (mode) {
        case 1:
            return {&region, regionRows, &regionLegend};
        case 32:
            // A resolver that wrongly hands a legend must not get it rewritten.
            return {&rcCities, cityRows, &cityLegend};
        default:
            return {};
        }
    }
};

class ColorDialogTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    Targets targets;
    ColorByDataDialog form{dialogs, [this](int mode) { return targets.resolve(mode); }};

    template <typename T> T* child(const char* name) {
        return form.findChild<T*>(QLatin1String(name));
    }
};

TEST_F(ColorDialogTest, StartsWithTheDefaults) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Color Set"));
    EXPECT_EQ(child<ColorEdit>("clrMinM")->color(), 14745584);
    EXPECT_EQ(child<ColorEdit>("clrMaxM")->color(), 1339686);
    EXPECT_EQ(child<ColorEdit>("clrSet")->color(), 14745568);
    auto* steps = child<QComboBox>("cmbStepM");
    EXPECT_EQ(steps->count(), 49);
    EXPECT_EQ(steps->itemText(0), QStringLiteral("2"));
    EXPECT_EQ(steps->itemText(48), QStringLiteral("50"));
    EXPECT_EQ(steps->currentText(), QStringLiteral("6"));
    EXPECT_EQ(child<QLineEdit>("txtNum1")->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QLineEdit>("txtNum2")->text(), QStringLiteral("0"));
    EXPECT_EQ(child<QComboBox>("cmbClasses")->currentText(), QStringLiteral("Equal interval"));
    EXPECT_EQ(child<QComboBox>("cmbScheme")->currentIndex(), 0);
}

TEST_F(ColorDialogTest, ASchemeFillsBothColoursUntilOneIsPicked) {
    auto* scheme = child<QComboBox>("cmbScheme");
    scheme->setCurrentIndex(scheme->findData(QStringLiteral("Reds")));
    EXPECT_EQ(child<ColorEdit>("clrMinM")->color(), SwapRedBlue(0xfee5d9)); // Reds, 6 classes
    EXPECT_EQ(child<ColorEdit>("clrMaxM")->color(), SwapRedBlue(0xa50f15));
    EXPECT_TRUE(scheme->currentText().contains("color-blind safe"));
    dialogs.queueColor(0x000001);
    child<ColorEdit>("clrMaxM")->click();
    EXPECT_EQ(scheme->currentIndex(), 0);
}

TEST_F(ColorDialogTest, GradientOkColoursTheTargetRewritesItsLegendAndCloses) {
    QSignalSpy changed(&form, &ColorByDataDialog::targetChanged);
    form.setTargetMode(1);
    form.showPanel(ColorByDataDialog::GradientPanel);
    child<QComboBox>("cmbStepM")->setCurrentIndex(0); // 2 bands
    form.show();
    form.applyGradient();

    EXPECT_EQ(targets.region.color(ColColor, 2), 14745584);
    EXPECT_EQ(targets.region.color(ColColor, 4), 1339686);
    EXPECT_EQ(targets.regionLegend.countIndex, 1);
    EXPECT_EQ(targets.regionLegend.grid.text(ColLegendText, 2), QStringLiteral("30.000~60.000"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
}

TEST_F(ColorDialogTest, FewerQuantileClassesThanAskedAreExplained) {
    targets.region = DataGrid({"0", "7", "0"});
    form.setTargetMode(1);
    form.showPanel(ColorByDataDialog::GradientPanel);
    auto* classes = child<QComboBox>("cmbClasses");
    classes->setCurrentIndex(classes->findText(QStringLiteral("Quantile")));
    form.applyGradient();
    EXPECT_EQ(targets.regionLegend.grid.rowCount(), 3);
    EXPECT_EQ(targets.region.color(ColColor, 3), 1339686);
    EXPECT_EQ(dialogs.messages,
              QStringList({"6 classes asked, 2 possible: the values take 2 distinct levels."}));

    classes->setCurrentIndex(classes->findText(QStringLiteral("Equal interval")));
    form.applyGradient();
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(ColorDialogTest, ConversionErrorIsShownAndChangesNothing) {
    QSignalSpy changed(&form, &ColorByDataDialog::targetChanged);
    targets.region.setText(ColData, 3, QStringLiteral("."));
    form.setTargetMode(1);
    form.show();
    form.applyGradient();
    form.showPanel(ColorByDataDialog::RangePanel);
    form.applyRange();

    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("'.' is not a valid floating point value"));
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(targets.region.color(ColColor, row), kMarker);
    EXPECT_EQ(targets.regionLegend.countIndex, -1);
    EXPECT_EQ(targets.regionLegend.grid.rowCount(), 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(targets.region.updating());
}

TEST_F(ColorDialogTest, RangeOkUsesTheBoundsAndTheCityRowCount) {
    form.setTargetMode(32);
    form.showPanel(ColorByDataDialog::RangePanel);
    child<QLineEdit>("txtNum1")->setText(QStringLiteral("2"));
    child<QLineEdit>("txtNum2")->setText(QStringLiteral("9"));
    form.applyRange();
    EXPECT_EQ(targets.rcCities.color(ColColor, 2), kMarker);
    EXPECT_EQ(targets.rcCities.color(ColColor, 3), 14745568);
    EXPECT_EQ(targets.rcCities.color(ColColor, 4), kMarker); // beyond the city count

    form.showPanel(ColorByDataDialog::GradientPanel);
    form.applyGradient();
    EXPECT_EQ(targets.cityLegend.grid.rowCount(), 1);
    EXPECT_EQ(targets.cityLegend.countIndex, -1);
}

TEST_F(ColorDialogTest, CancelAndUnknownTargetsChangeNothing) {
    QSignalSpy changed(&form, &ColorByDataDialog::targetChanged);
    form.setTargetMode(1);
    form.show();
    form.reject();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.setTargetMode(7);
    form.show();
    form.applyGradient();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(targets.region.color(ColColor, 2), kMarker);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(ColorDialogTest, BoundBoxesAcceptOnlyNumberKeys) {
    form.showPanel(ColorByDataDialog::RangePanel);
    form.show();
    auto* box = child<QLineEdit>("txtNum1");
    box->setFocus();
    box->end(false);
    QTest::keyClick(box, Qt::Key_Minus);
    EXPECT_EQ(box->text(), QStringLiteral("0")); // "-" only into an empty box
    QTest::keyClicks(box, QStringLiteral("a.5.,x"));
    EXPECT_EQ(box->text(), QStringLiteral("0.5"));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("-12"));
    EXPECT_EQ(box->text(), QStringLiteral("-12"));
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("-1"));
}

TEST_F(ColorDialogTest, ColourEditsKeepAChosenColourForTheNextRun) {
    dialogs.queueColor(PlatformRgb(1, 2, 3));
    auto* edit = child<ColorEdit>("clrSet");
    QSignalSpy chosen(edit, &ColorEdit::colorChosen);
    edit->click();
    EXPECT_EQ(dialogs.lastColorPreset, 14745568);
    EXPECT_EQ(chosen.count(), 1);

    form.setTargetMode(1);
    form.showPanel(ColorByDataDialog::RangePanel);
    form.applyRange(); // 0 .. 0 colours the "0" row
    EXPECT_EQ(targets.region.color(ColColor, 2), PlatformRgb(1, 2, 3));
}

TEST(ColorEditTest, CancelKeepsTheColourAndSetColorIsSilent) {
    ScriptedDialogs dialogs;
    ColorEdit edit(dialogs, 0xFF);
    QSignalSpy chosen(&edit, &ColorEdit::colorChosen);
    edit.setColor(0xFF00);
    dialogs.queueCancel();
    edit.show();
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_Space);
    EXPECT_EQ(dialogs.colorDialogs, 1);
    EXPECT_EQ(dialogs.lastColorPreset, 0xFF00);
    EXPECT_EQ(edit.color(), 0xFF00);
    EXPECT_EQ(chosen.count(), 0);
}

// The legend colour dialog and the legend panel, over a region and a city legend.
class LegendColorTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    LegendState region{ChartKind::Region};
    LegendState city{ChartKind::City};
    LegendColorDialog dialog{dialogs, [this](int mode) -> LegendState* {
                                 return mode == 1 ? &region : mode == 2 ? &city : nullptr;
                             }};

    void SetUp() override {
        region.grid.setRowCount(4);
        city.grid.setRowCount(4);
    }
};

TEST_F(LegendColorTest, OkWritesTheLegendColourIntoTheTargetCell) {
    CopyColors colors;
    colors.fill(kWhite);
    colors[2] = 0x0000AA;
    colors[16] = 0x00BB00; // beyond the swatches
    dialog.setCopyColors(colors);
    EXPECT_EQ(dialog.legendColor(), 14745584);
    dialog.takeCopyColor(3);
    dialog.setTarget(2, 3, ColLegendColor);
    dialog.applyColor();
    EXPECT_EQ(city.grid.color(ColLegendColor, 3), 0x0000AA);
    EXPECT_EQ(region.grid.color(ColLegendColor, 3), kWhite);

    // Not preset from the cell: the next OK writes the colour shown last.
    dialog.setTarget(1, 1, ColLegendColor);
    dialog.applyColor();
    EXPECT_EQ(region.grid.color(ColLegendColor, 1), 0x0000AA);
}

TEST_F(LegendColorTest, CancelAndUnknownTargetsChangeNothing) {
    dialog.setLegendColor(0x0000AA);
    dialog.setTarget(1, 2, ColLegendColor);
    dialog.reject();
    EXPECT_EQ(region.grid.color(ColLegendColor, 2), kWhite);
    dialog.setTarget(3, 2, ColLegendColor);
    dialog.applyColor();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(region.grid.color(ColLegendColor, 2), kWhite);
}

class LegendPanelTest : public LegendColorTest {
protected:
    GridData data = DataGrid({"1", "2"});
    std::vector<TLegend> table{
        {1, "one", 0, 0, 0}, {2, "two", 0, 0, 0}, {3, "three", 0, 0, 0}, {4, "four", 0, 0, 0}};
    QWidget window;
    QCheckBox showLegend{QStringLiteral("Show Legend"), &window};
    QPushButton legendSet{QStringLiteral("Legend Set"), &window};
    std::unique_ptr<LegendPanel> panel;
    std::vector<std::tuple<int, int, int>> opened; // mode, row, col

    void SetUp() override {
        LegendColorTest::SetUp();
        panel = std::make_unique<LegendPanel>(
            city, data, dialog, [this]() -> const auto& { return table; }, &window);
        panel->setDialogRunner([this](QDialog&) {
            opened.emplace_back(dialog.targetMode(), dialog.targetRow(), dialog.targetCol());
        });
        panel->bind(&showLegend, &legendSet);
        panel->resize(300, 200);
        window.resize(400, 300);
        window.show();
    }

    void clickCell(int col, int row) {
        DataGridView* view = panel->gridView();
        const QRect rect = view->visualRect(view->model()->index(row - 1, col - 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(LegendPanelTest, BuiltHiddenWithTheSetsControls) {
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->objectName(), QStringLiteral("pnCLegend"));
    EXPECT_EQ(panel->countList()->count(), 10);
    EXPECT_EQ(panel->countList()->currentText(), QStringLiteral("4"));
    EXPECT_FALSE(legendSet.isEnabled());
}

TEST_F(LegendPanelTest, OnlyTheColourColumnOpensTheColourDialog) {
    showLegend.setChecked(true);
    legendSet.click();
    ASSERT_TRUE(panel->isVisible());
    clickCell(ColLegendText, 2);
    clickCell(ColLegendExtra, 2);
    EXPECT_TRUE(opened.empty());
    clickCell(ColLegendColor, 2);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_tuple(2, 2, ColLegendColor));
    EXPECT_EQ(dialogs.colorDialogs, 0);
}

TEST_F(LegendPanelTest, UncheckingShowLegendHidesThePanelAndDisablesLegendSet) {
    showLegend.setChecked(true);
    EXPECT_TRUE(legendSet.isEnabled());
    legendSet.click();
    EXPECT_TRUE(panel->isVisible());
    showLegend.setChecked(false);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(legendSet.isEnabled());
    EXPECT_FALSE(city.show);
}

TEST_F(LegendPanelTest, LegendSetOffersTheDataGridsColours) {
    data.setColor(ColColor, 2, 0x0000CC);
    data.setColor(ColColor, 3, 0x000011);
    showLegend.setChecked(true);
    legendSet.click();
    EXPECT_EQ(dialog.copyColor(1), 0x000011);
    EXPECT_EQ(dialog.copyColor(2), 0x0000CC);
    EXPECT_EQ(dialog.copyColor(3), kWhite);
}

TEST_F(LegendPanelTest, ChoosingACountRefillsButSyncingDoesNot) {
    city.grid.setText(ColLegendText, 1, QStringLiteral("typed"));
    city.countIndex = 5;
    panel->syncFromState();
    EXPECT_EQ(panel->countList()->currentIndex(), 5);
    EXPECT_EQ(city.grid.text(ColLegendText, 1), QStringLiteral("typed"));

    panel->countList()->setFocus();
    QTest::keyClick(panel->countList(), Qt::Key_Up); // the user picks "5"
    EXPECT_EQ(city.countIndex, 4);
    EXPECT_EQ(city.grid.rowCount(), 6);
    EXPECT_EQ(city.grid.text(ColLegendText, 1), QStringLiteral("one"));
    EXPECT_EQ(city.grid.text(ColLegendText, 4), QStringLiteral("four"));
    EXPECT_TRUE(city.grid.text(ColLegendText, 5).isEmpty());
}

TEST_F(LegendPanelTest, ThirdColumnTakesNumberKeysOnly) {
    city.grid.setReadOnly(ColLegendExtra, 1, false);
    city.grid.setReadOnly(ColLegendText, 1, false);
    showLegend.setChecked(true);
    legendSet.click();
    DataGridView* view = panel->gridView();
    view->setFocus();
    view->selectCell(ColLegendExtra, 1);
    QTest::keyClicks(view, QStringLiteral("a5"));
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("b-1"));
    EXPECT_EQ(editor->text(), QStringLiteral("5-1"));
}

} // namespace
} // namespace tolvane
