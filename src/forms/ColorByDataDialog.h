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
class ColorByDataDialog : public GridDialog {
    Q_OBJECT
public:
    // The shade map's twin also gives each coloured row a shade code.
    enum class Codes { None, Shade };

    ColorByDataDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr,
                      Codes codes = Codes::None);

    // The OK buttons' handlers: gradient, range.
    void applyGradient();
    void applyRange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool servesMode(int mode) const override;
    bool rewritesLegend(int mode) const override;

private:
    void buildGradientPanel();
    void buildRangePanel();
    void schemeChanged();

    Codes codes_;

    ColorEdit* minColorEdit_ = nullptr;
    ColorEdit* maxColorEdit_ = nullptr;
    QComboBox* stepList_ = nullptr;
    SchemeComboBox* schemeList_ = nullptr;
    QComboBox* classMethodList_ = nullptr;
    QLineEdit* lowBound_ = nullptr;
    QLineEdit* highBound_ = nullptr;
    ColorEdit* rangeColorEdit_ = nullptr;
    QComboBox* shadeCodeList_ = nullptr; // shade codes only
};

// The shade map's "Color Set" (target mode 4): colours and shade codes for the shade grid.
class ShadeColorDialog : public ColorByDataDialog {
    Q_OBJECT
public:
    ShadeColorDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr)
        : ColorByDataDialog(dialogs, std::move(resolver), parent, Codes::Shade) {}
};

// Whether a character typed into a bound box holding `text` is kept: digits, "." once,
// and "-" only into an empty box.
bool BoundKeyAllowed(QChar typed, const QString& text);

} // namespace tolvane
