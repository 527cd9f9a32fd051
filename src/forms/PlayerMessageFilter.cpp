#include "forms/PlayerMessageFilter.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

namespace tolvane {

PlayerMessageFilter::PlayerMessageFilter(QObject* parent)
    : QObject(parent) {}

void PlayerMessageFilter::install() {
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

bool PlayerMessageFilter::overPlayer(QWidget* widget) const {
    for (const QPointer<QWidget>& player : players_) {
        if (player && widget && (widget == player || player->isAncestorOf(widget))) return true;
    }
    return false;
}

bool PlayerMessageFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            QWidget* under = QApplication::widgetAt(mouse->globalPosition().toPoint());
            if (!under) under = qobject_cast<QWidget*>(watched);
            if (overPlayer(under)) return true;
        }
    } else if (type == QEvent::ContextMenu && overPlayer(qobject_cast<QWidget*>(watched))) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tolvane
