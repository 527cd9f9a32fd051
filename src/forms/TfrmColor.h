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

    TfrmColor(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent = nullptr);

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

    Dialogs& dialogs_;
    ColorTargetResolver resolver_;
    int targetMode_ = 0;

    QStackedWidget* pages_ = nullptr;
    ColorEdit* clrMinM_ = nullptr;
    ColorEdit* clrMaxM_ = nullptr;
    QComboBox* cmbStepM_ = nullptr;
    QPushButton* cmdOK2_ = nullptr;
    QLineEdit* txtNum1_ = nullptr;
    QLineEdit* txtNum2_ = nullptr;
    ColorEdit* clrSet_ = nullptr;
    QPushButton* cmdOK1_ = nullptr;
};

// Whether a character typed into a bound box holding `text` is kept: digits, "." once,
// and "-" only into an empty box.
bool BoundKeyAllowed(QChar typed, const QString& text);

} // namespace tolvane
