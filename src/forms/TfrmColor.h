#pragma once

#include "forms/GridDialog.h"

class QComboBox;
class QLineEdit;

namespace tolvane {

class ColorEdit;
class SchemeComboBox;

// "Color Set": colours a data grid from its values, as a gradient over the value range
// (panel 1, which also rewrites the page's legend) or one colour for a value range
// (panel 2).
class TfrmColor : public GridDialog {
    Q_OBJECT
public:
    // The shade map's twin also gives each coloured row a shade code.
    enum class Codes { None, Shade };

    TfrmColor(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr,
              Codes codes = Codes::None);

    // The OK buttons' handlers: gradient, range.
    void cmdOK2Click();
    void cmdOK1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool servesMode(int mode) const override;
    bool rewritesLegend(int mode) const override;

private:
    void buildGradientPanel();
    void buildRangePanel();
    void schemeChanged();

    Codes codes_;

    ColorEdit* clrMinM_ = nullptr;
    ColorEdit* clrMaxM_ = nullptr;
    QComboBox* cmbStepM_ = nullptr;
    SchemeComboBox* cmbScheme_ = nullptr;
    QComboBox* cmbClasses_ = nullptr;
    QLineEdit* txtNum1_ = nullptr;
    QLineEdit* txtNum2_ = nullptr;
    ColorEdit* clrSet_ = nullptr;
    QComboBox* cmbShadeSet_ = nullptr; // shade codes only
};

// The shade map's "Color Set" (target mode 4): colours and shade codes for the shade grid.
class TfrmColor2 : public TfrmColor {
    Q_OBJECT
public:
    TfrmColor2(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr)
        : TfrmColor(dialogs, std::move(resolver), parent, Codes::Shade) {}
};

// Whether a character typed into a bound box holding `text` is kept: digits, "." once,
// and "-" only into an empty box.
bool BoundKeyAllowed(QChar typed, const QString& text);

} // namespace tolvane
