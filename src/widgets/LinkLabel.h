#pragma once

#include <QLabel>

namespace tolvane {

// A blue, underlined text with a hand cursor that acts on a click or on Enter/Space when
// focused.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();
};

} // namespace tolvane
