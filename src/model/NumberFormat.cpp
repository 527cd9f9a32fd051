#include "model/NumberFormat.h"

#include "model/NumericText.h"
#include "model/UserError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace tolvane {

QString FormatGeneral(double value) {
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN")
                                 : (value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"));
    if (value == 0) return QStringLiteral("0");

    // 15 significant digits in scientific form, then trimmed.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    const std::string s(buf);
    const bool negative = s[0] == '-';
    const size_t start = negative ? 1 : 0;
    const size_t ePos = s.find('e');
    std::string digits = s.substr(start, 1) + s.substr(start + 2, ePos - start - 2);
    const int exponent = std::stoi(s.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto intDigits = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits + std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    } else {
        out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(out);
}

QString FormatFixed(double value, int decimals) {
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        const double scale = std::pow(10.0, decimals);
        value = std::round(value * scale) / scale;
        if (value == 0) value = 0; // no "-0"
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return QString::fromLatin1(buf);
}

namespace {

QStringView Trimmed(QStringView text) {
    return text.trimmed();
}

} // namespace

std::optional<int32_t> TryParseInt(QStringView text) {
    text = Trimmed(text);
    if (text.isEmpty() || text.size() > 20) return std::nullopt;
    std::string s = text.toLatin1().toStdString();
    if (s[0] == '+') s.erase(0, 1);
    if (s.empty() || s[0] == '+') return std::nullopt;
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<double> TryParseFloat(QStringView text) {
    text = Trimmed(text);
    if (text.isEmpty() || text.size() > 300) return std::nullopt;
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    int marks = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'.') {
            ++marks;
            s += '.';
        } else if ((u >= u'0' && u <= u'9') || u == u'-' || u == u'+' || u == u'e' || u == u'E') {
            s += static_cast<char>(u);
        } else {
            return std::nullopt;
        }
    }
    if (marks > 1) return std::nullopt;
    if (s[0] == '+') s.erase(0, 1);
    if (s.empty() || s[0] == '+') return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<bool> TryParseBool(QStringView text) {
    const QStringView t = Trimmed(text);
    if (t.compare(u"true", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0) return false;
    if (const auto v = TryParseFloat(t)) return *v != 0;
    return std::nullopt;
}

int32_t ParseInt(QStringView text) {
    if (const auto v = TryParseInt(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

double ParseFloat(QStringView text) {
    if (const auto v = TryParseFloat(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

bool ParseBool(QStringView text) {
    if (const auto v = TryParseBool(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}

double CellFloat(QStringView text, double fallback) {
    return IsNumericText(text) ? ParseFloat(text) : fallback;
}

int32_t CellInt(QStringView text, int32_t fallback) {
    return IsNumericText(text) ? ParseInt(text) : fallback;
}

QString BoolText(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

int RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    return static_cast<int>(std::clamp(rounded, double(INT32_MIN), double(INT32_MAX)));
}

QString FormatGrouped(double value) {
    const QString plain = FormatGeneral(std::fabs(value));
    const qsizetype dot = plain.indexOf(u'.');
    QString whole = plain.left(dot < 0 ? plain.size() : dot);
    if (!plain.contains(u'E'))
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, u',');
    const QString text = whole + (dot < 0 ? QString() : plain.mid(dot));
    return value < 0 ? u'(' + text + u')' : text;
}

std::optional<double> TryParseGrouped(QStringView text) {
    text = text.trimmed();
    const bool parenthesised = text.size() >= 2 && text.front() == u'(' && text.back() == u')';
    if (parenthesised) text = text.mid(1, text.size() - 2).trimmed();
    QString digits = text.toString();
    digits.remove(u',');
    if (parenthesised && digits.startsWith(u'-')) return std::nullopt;
    const std::optional<double> v = TryParseFloat(digits);
    if (!v) return std::nullopt;
    return parenthesised ? -*v : *v;
}

} // namespace tolvane
