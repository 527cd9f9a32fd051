#pragma once

#include <QComboBox>

namespace tolvane {

struct ColorScheme;

// The colour schemes a gradient may take, each shown with its colours; the first item is
// the plain gradient between two colours of the user's own.
class SchemeComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit SchemeComboBox(QWidget* parent = nullptr);
    // None for the two-colour gradient.
    const ColorScheme* scheme() const;
    // Back to the two-colour gradient, without announcing it.
    void clearScheme();
};

} // namespace tolvane
