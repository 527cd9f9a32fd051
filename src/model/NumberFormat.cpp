#include "model/NumberFormat.h"

#include "model/NumericText.h"
#include "model/UserError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace tolvane {

QString FormatGeneral(double value) {
    const std::string text = FormatGeneralText(value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FormatGeneralText(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    if (value == 0) return "0";

    // 15 significant digits, then written out in plain decimals: a text with an exponent
    // would fail the numeric check of the grid, and the next make would write 0 instead.
    // (A chart file holds one per region: this is written without printf, which takes
    // several times as long.)
    char digits[15];
    int count = 15;
    int exponent = 308;
    // Rounded up to 15 digits, the largest doubles would name a number beyond every double
    // and no longer read back; they keep the largest 15 digits that still do.
    constexpr double kLargest15 = 1.79769313486231e308;
    if (std::fabs(value) > kLargest15) {
        std::memcpy(digits, "179769313486231", 15);
    } else {
        // "d.dddddddddddddde+XX", as printf's "%.14e" writes it.
        char sci[32];
        const char* end = std::to_chars(sci, sci + sizeof sci, std::fabs(value),
                                        std::chars_format::scientific, 14)
                              .ptr;
        digits[0] = sci[0];
        std::memcpy(digits + 1, sci + 2, 14);
        std::from_chars(sci[17] == '+' ? sci + 18 : sci + 17, end, exponent);
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    std::string out; // most numbers fit in the string itself, with no allocation
    if (value < 0) out += '-';
    if (exponent >= 0) {
        const int intDigits = exponent + 1;
        if (count <= intDigits) {
            out.append(digits, static_cast<size_t>(count));
            out.append(static_cast<size_t>(intDigits - count), '0');
        } else {
            out.append(digits, static_cast<size_t>(intDigits));
            out += '.';
            out.append(digits + intDigits, static_cast<size_t>(count - intDigits));
        }
    } else {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<size_t>(count));
    }
    return out;
}

QString FormatFixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 20);
    if (std::isfinite(value)) {
        // printf rounds the exact binary value, which is right but for exact halves (62.5,
        // 0.125), which it takes to the even neighbour; those go away from zero. Rounding a
        // scaled copy instead would round twice: 1.0005 is 1.000499999... and gives "1.000".
        const double scale = std::pow(10.0, decimals);
        const double scaled = value * scale;
        const double error = std::fma(value, scale, -scaled);
        if (error == 0 && std::fabs(scaled - std::trunc(scaled)) == 0.5)
            value = std::nextafter(value, value < 0 ? -INFINITY : INFINITY);
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string out(buf);
    // No "-0" or "-0.000": a value that rounds to zero is zero.
    if (out[0] == '-' && out.find_first_not_of("0.", 1) == std::string::npos) out.erase(0, 1);
    return QString::fromLatin1(out);
}

namespace {

QStringView Trimmed(QStringView text) {
    return text.trimmed();
}

} // namespace

std::optional<int32_t> TryParseInt(QStringView text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty()) return std::nullopt;
    // Leading zeros carry no value, however many there are ("0012632256" is a colour).
    int64_t v = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
        if (v > int64_t(INT32_MAX) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<double> TryParseFloat(QStringView text) {
    text = Trimmed(text);
    if (text.isEmpty()) return std::nullopt;
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

namespace {

// The text as a message names it: a whole page of text would make a message box nobody
// can read (or close).
QString Named(QStringView text) {
    constexpr qsizetype kShown = 100;
    if (text.size() <= kShown) return text.toString();
    qsizetype cut = kShown;
    if (text[cut].isLowSurrogate()) --cut;
    return text.left(cut).toString() + QChar(0x2026);
}

} // namespace

int32_t ParseInt(QStringView text) {
    if (const auto v = TryParseInt(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Named(text)));
}

double ParseFloat(QStringView text) {
    if (const auto v = TryParseFloat(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Named(text)));
}

bool ParseBool(QStringView text) {
    if (const auto v = TryParseBool(text)) return *v;
    throw ConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(Named(text)));
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
