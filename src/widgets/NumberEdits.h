#pragma once

#include <QDoubleSpinBox>
#include <QLineEdit>

namespace tolvane {

// A spin box that also takes typing. While typing, any text of digits and marks may stand;
// leaving the box (or reading it) brings a number outside the range to the nearer bound and
// a text that is no number to 0, as close to 0 as the range allows.
class SpinEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    SpinEdit(double min, double max, double value, QWidget* parent = nullptr);

    // The box's number rounded to the nearest integer, halves to even; what is typed counts
    // even before the box is left.
    int integerValue();

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
};

// A number box that shows its number with "," between thousands and negatives in
// parentheses ("1,234", "(56)"). While it has the focus it shows the plain number, so that
// what is edited is the number itself, not its display. The number is a double: decimals
// typed are kept and shown.
class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit NumericEdit(double value, QWidget* parent = nullptr);

    // What is typed counts even before the box is left; a text that is no number is 0.
    double value() const;
    void setValue(double value);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    double value_ = 0;
};

} // namespace tolvane
