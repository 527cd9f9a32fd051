#pragma once

#include "forms/GridDialog.h"

class QComboBox;

namespace tolvane {

class NumericEdit;
class SpinEdit;

// "Bubble Set": sizes the bubbles of a city grid from its values, as classes spread between
// two sizes (panel 1, which on the "Bubble" page also rewrites the city legend) or one size
// for a value range (panel 2). Target modes 2 ("Bubble") and 32
// (the city grid of "Advance Bubble").
class BubbleSizeDialog : public GridDialog {
    Q_OBJECT
public:
    BubbleSizeDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr);

    // The OK buttons' handlers: gradient, range.
    void applyGradient();
    void applyRange();

protected:
    bool servesMode(int mode) const override;
    bool rewritesLegend(int mode) const override;

private:
    void buildGradientPanel();
    void buildRangePanel();

    SpinEdit* minSizeEdit_ = nullptr;
    SpinEdit* maxSizeEdit_ = nullptr;
    QComboBox* stepList_ = nullptr;
    NumericEdit* lowBound_ = nullptr;
    NumericEdit* highBound_ = nullptr;
    SpinEdit* rangeSizeEdit_ = nullptr;
};

} // namespace tolvane
