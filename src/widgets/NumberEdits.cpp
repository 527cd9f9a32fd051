#include "widgets/NumberEdits.h"

#include "model/NumberFormat.h"

#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace tolvane {

SpinEdit::SpinEdit(double min, double max, double value, QWidget* parent)
    : QDoubleSpinBox(parent) {
    setDecimals(6);
    setRange(min, max);
    setSingleStep(1);
    setValue(value);
    setAlignment(Qt::AlignRight);
}

int SpinEdit::integerValue() {
    interpretText();
    return RoundHalfEven(value());
}

QValidator::State SpinEdit::validate(QString& text, int&) const {
    for (const QChar c : text)
        if (!c.isDigit() && c != u'.' && c != u',' && c != u'-' && c != u' ')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

double SpinEdit::valueFromText(const QString& text) const {
    const std::optional<double> typed = TryParseFloat(text);
    return std::clamp(typed ? *typed : 0.0, minimum(), maximum());
}

QString SpinEdit::textFromValue(double value) const {
    return FormatGeneral(value);
}

NumericEdit::NumericEdit(double value, QWidget* parent)
    : QLineEdit(parent) {
    setAlignment(Qt::AlignRight);
    setMaxLength(40);
    static const QRegularExpression number(
        QStringLiteral(R"(\(?-?[0-9,]*\.?[0-9]*([eE][-+]?[0-9]*)?\)?)"));
    setValidator(new QRegularExpressionValidator(number, this));
    setValue(value);
}

double NumericEdit::value() const {
    if (!hasFocus()) return value_;
    const std::optional<double> typed = TryParseGrouped(text());
    return typed ? *typed : 0;
}

void NumericEdit::setValue(double value) {
    value_ = std::isfinite(value) ? value : 0;
    setText(hasFocus() ? FormatGeneral(value_) : FormatGrouped(value_));
}

void NumericEdit::focusInEvent(QFocusEvent* event) {
    setText(FormatGeneral(value_));
    QLineEdit::focusInEvent(event);
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    const std::optional<double> typed = TryParseGrouped(text());
    value_ = typed ? *typed : 0;
    QLineEdit::focusOutEvent(event);
    setText(FormatGrouped(value_));
}

} // namespace tolvane
