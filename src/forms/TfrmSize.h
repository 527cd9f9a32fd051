#pragma once

#include "forms/GridDialog.h"

class QComboBox;

namespace tolvane {

class NumericEdit;
class SpinEdit;

// "Bubble Set": sizes the bubbles of a city grid from its values, as classes spread between
// two sizes (panel 1, which on the "Bubble" page also rewrites the city legend) or one size
// for a value range (panel 2). Target modes 2 (WCityGrid) and 32 (WRCCGrid).
class TfrmSize : public GridDialog {
    Q_OBJECT
public:
    TfrmSize(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr);

    // The OK buttons' handlers: gradient, range.
    void cmdOK2Click();
    void cmdOK1Click();

protected:
    bool servesMode(int mode) const override;
    bool rewritesLegend(int mode) const override;

private:
    void buildGradientPanel();
    void buildRangePanel();

    SpinEdit* txtMinS_ = nullptr;
    SpinEdit* txtMaxS_ = nullptr;
    QComboBox* cmbStepM_ = nullptr;
    NumericEdit* txtNum1_ = nullptr;
    NumericEdit* txtNum2_ = nullptr;
    SpinEdit* txtSize_ = nullptr;
};

} // namespace tolvane
