// "Bubble Set" as a user drives it: typing into its boxes, OK and Cancel on each target.
#include "charts/GridRows.h"
#include "forms/BubbleSizeDialog.h"
#include "platform/Dialogs.h"
#include "widgets/NumberEdits.h"

#include <QComboBox>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvane {
namespace {

GridData CityGrid(const QStringList& values) {
    GridData grid = MakeDataGrid(GridLayout::City);
    grid.setRowCount(static_cast<int>(values.size()) + 2);
    for (int i = 0; i < values.size(); ++i) {
        grid.setText(ColData, i + 2, values[i]);
        grid.setText(ColExtra, i + 2, QStringLiteral("7"));
    }
    return grid;
}

class SizeDialogTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    GridData cities = CityGrid({"0", "1000", "2500.5", "-3"});
    LegendState legend{ChartKind::City};
    BubbleSizeDialog form{dialogs, [this](int mode) -> ColorTarget {
                              // A resolver that wrongly hands mode 32 a legend must not get it
                              // rewritten.
                              if (mode == 2 || mode == 32) return {&cities, 4, &legend};
                              return {};
                          }};

    template <typename T> T* child(const char* name) {
        return form.findChild<T*>(QLatin1String(name));
    }
    // Types into a box and leaves it, as a user does.
    void typeInto(QWidget* box, const QString& keys) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, keys);
        box->clearFocus();
    }
    QString size(int row) const { return cities.text(ColExtra, row); }
};

TEST_F(SizeDialogTest, SizeBoxesBringTypedValuesIntoRangeWhenLeft) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(form.windowTitle(), "Bubble Set");
    auto* minS = child<SpinEdit>("txtMinS");
    auto* maxS = child<SpinEdit>("txtMaxS");
    EXPECT_EQ(minS->text(), "50");
    EXPECT_EQ(maxS->text(), "100");
    EXPECT_EQ(child<QComboBox>("cmbStepM")->currentText(), "6");

    typeInto(minS, "250");
    EXPECT_EQ(minS->text(), "200");
    typeInto(minS, "x-");
    EXPECT_EQ(minS->text(), "0"); // "x" cannot be typed; a lone "-" is no number
    typeInto(minS, "62.5");
    EXPECT_EQ(minS->integerValue(), 62); // halves to the even neighbour
    maxS->setFocus();
    QTest::keyClick(maxS, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(maxS, "63.5"); // not left yet: what is typed counts
    EXPECT_EQ(maxS->integerValue(), 64);

    form.setTargetMode(2);
    form.applyGradient();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(size(2), "62"); // 0: the minimum's class, between -3 and 2500.5
    EXPECT_EQ(size(4), "64");
    EXPECT_EQ(legend.countIndex, 5);
}

TEST_F(SizeDialogTest, RangeBoundsShowThousandsAndKeepTheirDecimals) {
    form.showPanel(GridDialog::RangePanel);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* lo = child<NumericEdit>("txtNum1");
    auto* hi = child<NumericEdit>("txtNum2");
    EXPECT_EQ(lo->text(), "0");
    typeInto(lo, "1,000");
    EXPECT_EQ(lo->text(), "1,000");
    hi->setFocus();
    EXPECT_EQ(hi->text(), "0");
    typeInto(hi, "2500.5");
    EXPECT_EQ(hi->text(), "2,500.5"); // never rounded to a bound the user did not type
    lo->setFocus();
    EXPECT_EQ(lo->text(), "1000"); // edited as the plain number
    QTest::keyClick(lo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(lo, "-2abc");
    EXPECT_EQ(lo->text(), "-2");
    lo->clearFocus();
    EXPECT_EQ(lo->text(), "(2)");

    typeInto(child<SpinEdit>("txtSize"), "140");
    form.setTargetMode(32);
    form.applyRange();
    EXPECT_EQ(QStringList({size(2), size(3), size(4), size(5)}),
              QStringList({"140", "140", "140", "7"}));
    EXPECT_EQ(legend.grid.rowCount(), 1); // mode 32 has no legend

    form.showPanel(GridDialog::GradientPanel);
    form.applyGradient();
    EXPECT_EQ(legend.grid.rowCount(), 1);
}

TEST_F(SizeDialogTest, ConversionErrorsKeepTheDialogOpenAndOtherModesOnlyClose) {
    cities.setText(ColData, 3, QStringLiteral("."));
    form.setTargetMode(2);
    form.show();
    form.applyGradient();
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(dialogs.errors[0], "'.' is not a valid floating point value");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(size(2), "7");
    EXPECT_EQ(legend.grid.rowCount(), 1);

    form.setTargetMode(31);
    form.applyGradient();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(dialogs.errors.size(), 1);
    form.show();
    form.reject();
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

} // namespace
} // namespace tolvane
