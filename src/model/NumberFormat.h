#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// Numbers are always written with "." whatever the locale, and read with "." or ",".

// Shortest text with at most 15 significant digits, in plain decimals without an exponent:
// 12 for 12.0, 0.1, 100000000000000000000 for 1E20, 0.00000015 for 1.5E-7. Every text it
// gives passes IsNumericText and reads back to a number that gives the same text again.
QString FormatGeneral(double value);
std::string FormatGeneralText(double value); // the same, as Latin-1 (ASCII) bytes

// Fixed decimals of the exact value, exact halves rounded away from zero ("%.0f" of 62.5 is
// 63, "%.3f" of 1.0005, which is 1.000499999..., is 1.000).
QString FormatFixed(double value, int decimals);

std::optional<int32_t> TryParseInt(QStringView text);
std::optional<double> TryParseFloat(QStringView text);
std::optional<bool> TryParseBool(QStringView text);

// As above, but throw ConvertError with the message the user sees, naming the text (the
// first hundred characters of a longer one):
// "'%s' is not a valid integer value" and its floating point and boolean twins.
int32_t ParseInt(QStringView text);
double ParseFloat(QStringView text);
bool ParseBool(QStringView text);

// The number a cell holds when IsNumericText accepts it; `fallback` when it does not.
// A text that passes the check but does not convert ("-", "." alone) throws ConvertError.
double CellFloat(QStringView text, double fallback);
int32_t CellInt(QStringView text, int32_t fallback);

QString BoolText(bool value); // "-1" or "0"

// The nearest integer, halves to the even neighbour (62.5 gives 62, 63.5 gives 64).
int RoundHalfEven(double value);

// A number as the range boxes show it: "," between thousands, negatives in parentheses,
// decimals only when the number has some ("1,234", "(56)", "2.5").
QString FormatGrouped(double value);
// Reads what a range box shows or a user types there: "1,234", "(56)", "-56", "2.5". The
// "," only separates thousands here.
std::optional<double> TryParseGrouped(QStringView text);

} // namespace tolvane
