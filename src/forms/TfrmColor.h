#pragma once

#include "forms/ColorTarget.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tolvane {

class ColorEdit;
class Dialogs;

// "Color Set": colours a data grid from its values, as a gradient over the value range
// (panel 1, which also rewrites the page's legend) or one colour for a value range
// (panel 2). Created once; its controls keep their values for the whole run.
class TfrmColor : public QDialog {
    Q_OBJECT
public:
    enum Panel { GradientPanel = 1, RangePanel = 2 };
    // The shade map's twin also gives each coloured row a shade code.
    enum class Codes { None, Shade };

    TfrmColor(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr,
              Codes codes = Codes::None);

    void setTargetMode(int mode) { targetMode_ = mode; }
    int targetMode() const { return targetMode_; }
    void showPanel(int panel);
    int panel() const;

    // The buttons' handlers: gradient OK, range OK, and both Cancels.
    void cmdOK2Click();
    void cmdOK1Click();
    void cmdCancel2Click();

signals:
    // The target's grid (and legend) changed; the page refreshes its item-count list.
    void targetChanged(int targetMode);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGradientPanel();
    QWidget* buildRangePanel();
    template <typename Apply> void run(Apply apply);

    bool acceptsMode(int mode) const;

    Dialogs& dialogs_;
    ColorTargetResolver resolver_;
    Codes codes_;
    int targetMode_ = 0;

    QStackedWidget* pages_ = nullptr;
    ColorEdit* clrMinM_ = nullptr;
    ColorEdit* clrMaxM_ = nullptr;
    QComboBox* cmbStepM_ = nullptr;
    QPushButton* cmdOK2_ = nullptr;
    QLineEdit* txtNum1_ = nullptr;
    QLineEdit* txtNum2_ = nullptr;
    ColorEdit* clrSet_ = nullptr;
    QComboBox* cmbShadeSet_ = nullptr; // shade codes only
    QPushButton* cmdOK1_ = nullptr;
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
