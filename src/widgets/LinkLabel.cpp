#include "widgets/LinkLabel.h"

namespace tolvane {

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(
          QStringLiteral("<a href=\"#\" style=\"color:#0000ff\">%1</a>").arg(text.toHtmlEscaped()),
          parent) {
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(text);
    connect(this, &QLabel::linkActivated, this, &LinkLabel::clicked);
}

} // namespace tolvane
