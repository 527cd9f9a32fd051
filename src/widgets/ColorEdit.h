#pragma once

#include "model/Colors.h"

#include <QAbstractButton>
#include <cstdint>

namespace tolvane {

class Dialogs;

// A box filled with one platform colour that can be clicked or focused and pressed with
// Space; the legend dialog's copy colours are these.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    int32_t color() const { return color_; }
    void setColor(int32_t color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSwatch(QPainter& painter, const QRect& box) const;

private:
    int32_t color_ = kWhite;
};

// A colour edit: shows the selected colour; a click (or Space) opens the colour dialog
// preset with it. Only a colour the user picks is announced; setColor is silent.
class ColorEdit : public ColorSwatch {
    Q_OBJECT
public:
    ColorEdit(Dialogs& dialogs, int32_t color, QWidget* parent = nullptr);

    // Asks for a colour as a click does.
    void choose();

    QSize sizeHint() const override;

signals:
    void colorChosen(int32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Dialogs& dialogs_;
};

} // namespace tolvane
