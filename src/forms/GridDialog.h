#pragma once

#include "forms/ColorTarget.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace tolvane {

class Dialogs;

// A dialog that fills a page's data grid from its values: a gradient panel and a range
// panel, one shown at a time, acting on the grid its caller names by a target mode. Created
// once; its controls keep their values for the whole run.
class GridDialog : public QDialog {
    Q_OBJECT
public:
    enum Panel { GradientPanel = 1, RangePanel = 2 };

    void setTargetMode(int mode) { targetMode_ = mode; }
    int targetMode() const { return targetMode_; }
    void showPanel(int panel);
    int panel() const;

signals:
    // The target's grid (and legend) changed; the page refreshes its item-count list.
    void targetChanged(int targetMode);

protected:
    GridDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent);

    // A panel headed by `heading`; its layout takes the panel's controls. The gradient
    // panel is made first, then the range panel.
    QVBoxLayout* startPanel(const QString& name, const QString& heading);
    // The bound boxes of a range panel, "lo <= Data <= hi" (objectNames txtNum1
    // and txtNum2).
    static void addBounds(QVBoxLayout* panel, QLineEdit* lo, QLineEdit* hi);
    // OK, which runs `ok`, and Cancel at the foot of a panel; `first` takes the focus when
    // the panel is shown, and the panel's OK answers Enter.
    void finishPanel(QVBoxLayout* panel, const QString& okName, const QString& cancelName,
                     const std::function<void()>& ok, QWidget* first);
    // Resolves the target and, for a mode the dialog serves, runs `apply` on it as one undo
    // step named `step`, and closes. A value that does not convert is reported and the
    // dialog stays open; any other mode only closes.
    void run(const QString& step, const std::function<void(const ColorTarget&)>& apply);
    virtual bool servesMode(int mode) const = 0;
    virtual bool rewritesLegend(int mode) const = 0;

    // "Progression: " 2 .. 50, at 6.
    static QComboBox* stepList(QWidget* parent);

    Dialogs& dialogs_;

private:
    ColorTargetResolver resolver_;
    int targetMode_ = 0;
    QStackedWidget* pages_ = nullptr;
    QPushButton* ok_[2] = {};
    QWidget* first_[2] = {};
};

} // namespace tolvane
