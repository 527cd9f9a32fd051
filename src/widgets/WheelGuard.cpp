#include "widgets/WheelGuard.h"

#include <QEvent>
#include <QWidget>

namespace tolvane {

namespace {

class WheelGuard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && !widget->hasFocus()) {
                event->ignore(); // the wheel scrolls whatever lies under the list instead
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void IgnoreWheelUnlessFocused(QWidget* widget) {
    widget->setFocusPolicy(Qt::StrongFocus); // a wheel turn must not take the focus either
    widget->installEventFilter(new WheelGuard(widget));
}

} // namespace tolvane
