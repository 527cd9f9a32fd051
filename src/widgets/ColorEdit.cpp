#include "widgets/ColorEdit.h"

#include "platform/Dialogs.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace tolvane {

namespace {

QColor ToQColor(int32_t c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

constexpr int kArrowWidth = 16;

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent)
    : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setColor(kWhite);
}

void ColorSwatch::setColor(int32_t color) {
    color_ = color;
    // The colour is the content: name it for tooltips and screen readers.
    const QString name =
        QStringLiteral("RGB %1, %2, %3").arg(RedOf(color)).arg(GreenOf(color)).arg(BlueOf(color));
    setToolTip(name);
    setAccessibleDescription(name);
    update();
}

QSize ColorSwatch::sizeHint() const {
    return {22, 22};
}

void ColorSwatch::paintSwatch(QPainter& painter, const QRect& box) const {
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(ToQColor(color_));
    painter.drawRect(box.adjusted(2, 2, -3, -3));
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidth(2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(1, 1, -1, -1));
    }
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSwatch(painter, rect());
}

ColorEdit::ColorEdit(Dialogs& dialogs, int32_t color, QWidget* parent)
    : ColorSwatch(parent)
    , dialogs_(dialogs) {
    setColor(color);
    connect(this, &QAbstractButton::clicked, this, &ColorEdit::choose);
}

void ColorEdit::choose() {
    const std::optional<int32_t> chosen = dialogs_.chooseColor(this, color());
    if (!chosen) return;
    setColor(*chosen);
    emit colorChosen(*chosen);
}

QSize ColorEdit::sizeHint() const {
    return {96, 24};
}

void ColorEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -kArrowWidth, 0);
    paintSwatch(painter, box);
    // A drop-down arrow tells that a click opens a chooser.
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(box.right() + 1, 0, kArrowWidth, height());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

} // namespace tolvane
