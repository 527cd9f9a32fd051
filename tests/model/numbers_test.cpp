#include "model/Colors.h"
#include "model/NumberFormat.h"
#include "model/NumericText.h"
#include "model/UserError.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace tolvane;

TEST(NumericText, AcceptsSignedNumbersWithEitherDecimalMark) {
    for (const char* t : {"12", "-3.5", "0,25", "-", ".", ",", "-.", "007", "-0"})
        EXPECT_TRUE(IsNumericText(QString::fromLatin1(t))) << t;
}

TEST(NumericText, RejectsEverythingElse) {
    for (const char* t :
         {"", "1.2.3", "1.000,5", "--1", "1-", "+1", "1e5", " 1", "1 ", "1 2", "abc", "1,2,"})
        EXPECT_FALSE(IsNumericText(QString::fromLatin1(t))) << t;
    EXPECT_FALSE(IsNumericText(QStringLiteral("١٢"))); // digits of other scripts are not ours
}

TEST(SwapRedBlue, ConvertsBothWaysAndDropsTheTopByte) {
    EXPECT_EQ(SwapRedBlue(0x0000FF), 16711680);
    EXPECT_EQ(SwapRedBlue(0xFF0000), 255);
    EXPECT_EQ(SwapRedBlue(0xC0C0C0), 0xC0C0C0);
    EXPECT_EQ(SwapRedBlue(static_cast<int32_t>(0x8000000F)), 983040);
    for (int32_t c : {0x123456, 0x00FF00, 0x7F0001, static_cast<int32_t>(0xAB123456)})
        EXPECT_EQ(SwapRedBlue(SwapRedBlue(c)), c & 0xFFFFFF);
}

TEST(GeneralFormat, ShortestTextWithFifteenDigits) {
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(12.0), "12");
    EXPECT_EQ(FormatGeneral(-3.5), "-3.5");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatGeneral(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneral(1500), "1500");
    EXPECT_EQ(FormatGeneral(1234567), "1234567");
    EXPECT_EQ(FormatGeneral(0.1234567), "0.1234567");
    EXPECT_EQ(FormatGeneral(-0.0), "0");
    // Plain decimals at both ends too: an exponent would fail the grid's number check.
    EXPECT_EQ(FormatGeneral(1e15), "1000000000000000");
    EXPECT_EQ(FormatGeneral(1e20), "100000000000000000000");
    EXPECT_EQ(FormatGeneral(1.23456789012345678e17), "123456789012346000");
    EXPECT_EQ(FormatGeneral(-2.5e-7), "-0.00000025");
    EXPECT_EQ(FormatGeneral(1e-6), "0.000001");
}

TEST(GeneralFormat, EveryDoubleShowsAsATextThatMakesTheSameTextAgain) {
    // What a load shows in the grid is what the next make writes: the text must pass the
    // number check and read back to a value that shows the same.
    const auto survives = [](double v) {
        const QString shown = FormatGeneral(v);
        if (!IsNumericText(shown)) return ::testing::AssertionFailure() << "refused: " << v;
        const auto back = TryParseFloat(shown);
        if (!back || FormatGeneral(*back) != shown)
            return ::testing::AssertionFailure() << "changed: " << shown.toStdString();
        return ::testing::AssertionSuccess();
    };
    using limits = std::numeric_limits<double>;
    for (double v : {limits::max(), -limits::max(), std::nextafter(limits::max(), 0.0),
                     1.79769313486231e308, limits::min(), limits::denorm_min(),
                     -limits::denorm_min(), 1e-320, 1e308, 0.1, 1e15 - 0.5})
        EXPECT_TRUE(survives(v));
    EXPECT_EQ(FormatGeneral(limits::max()), "179769313486231" + QString(294, u'0'));
    EXPECT_EQ(FormatGeneral(limits::denorm_min()), "0." + QString(323, u'0') + "494065645841247");

    uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        bits ^= bits << 13; // xorshift: every exponent, every kind of mantissa
        bits ^= bits >> 7;
        bits ^= bits << 17;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        ASSERT_TRUE(survives(v));
    }
}

TEST(GeneralFormat, EveryWrittenNumberReadsBack) {
    for (double v :
         {0.0, 1.0, -1.0, 0.1, 1e-9, 3.14159265358979, 1e300, -1e-300, 99999.5, 12345678.9})
        EXPECT_DOUBLE_EQ(ParseFloat(FormatGeneral(v)), std::stod(FormatGeneral(v).toStdString()))
            << v;
    EXPECT_NEAR(ParseFloat(FormatGeneral(1.0 / 3)), 1.0 / 3, 1e-15);
}

TEST(FixedFormat, RoundsHalvesAwayFromZeroWithAPoint) {
    EXPECT_EQ(FormatFixed(62.5, 0), "63");
    EXPECT_EQ(FormatFixed(-62.5, 0), "-63");
    EXPECT_EQ(FormatFixed(100, 0), "100");
    EXPECT_EQ(FormatFixed(10, 3), "10.000");
    EXPECT_EQ(FormatFixed(2.0625, 3), "2.063");
    EXPECT_EQ(FormatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(FormatFixed(25, 1), "25.0");
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13"); // an exact half
    EXPECT_EQ(FormatFixed(-0.125, 2), "-0.13");
    // Not halves: 1.0005 is 1.000499999... and 2.675 is 2.67499999...; rounding a scaled
    // copy would round them twice, upwards.
    EXPECT_EQ(FormatFixed(1.0005, 3), "1.000");
    EXPECT_EQ(FormatFixed(2.675, 2), "2.67");
    EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
}

TEST(Conversions, AcceptPointOrCommaAndNameTheTextOnFailure) {
    EXPECT_DOUBLE_EQ(ParseFloat(u"1,5"), 1.5);
    EXPECT_DOUBLE_EQ(ParseFloat(u"-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(ParseFloat(u"1E20"), 1e20);
    EXPECT_EQ(ParseInt(u"-42"), -42);
    EXPECT_EQ(ParseInt(u"16777215"), 16777215);
    EXPECT_EQ(ParseInt(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt(u"+7"), 7);
    // However many leading zeros: a border written by another program stays a colour.
    EXPECT_EQ(ParseInt(QString(40, u'0') + "12632256"), 12632256);

    auto message = [](auto f) {
        try {
            f();
        } catch (const ConvertError& e) {
            return e.message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(message([] { ParseInt(u"12.5"); }), "'12.5' is not a valid integer value");
    EXPECT_EQ(message([] { ParseInt(u"99999999999"); }),
              "'99999999999' is not a valid integer value");
    EXPECT_EQ(message([] { ParseFloat(u"-"); }), "'-' is not a valid floating point value");
    EXPECT_EQ(message([] { ParseFloat(u"1.2,3"); }), "'1.2,3' is not a valid floating point value");
    EXPECT_EQ(message([] { ParseFloat(u"1e999"); }), "'1e999' is not a valid floating point value");
    EXPECT_EQ(message([] { ParseFloat(u"nan"); }), "'nan' is not a valid floating point value");
    EXPECT_EQ(message([] { ParseBool(u"yes"); }), "'yes' is not a valid boolean value");
    EXPECT_EQ(message([] { ParseInt(u"2147483648"); }),
              "'2147483648' is not a valid integer value");
    EXPECT_EQ(message([] { ParseInt(QString(500000, u'x')); }),
              "'" + QString(100, u'x') + QChar(0x2026) + "' is not a valid integer value");
}

TEST(Conversions, BooleansAreAnyNumberOrTrueFalse) {
    EXPECT_TRUE(ParseBool(u"-1"));
    EXPECT_TRUE(ParseBool(u"1"));
    EXPECT_TRUE(ParseBool(u"2,5"));
    EXPECT_FALSE(ParseBool(u"0"));
    EXPECT_TRUE(ParseBool(u"TRUE"));
    EXPECT_FALSE(ParseBool(u"fAlSe"));
    EXPECT_EQ(BoolText(true), "-1");
    EXPECT_EQ(BoolText(false), "0");
}

TEST(Conversions, CellsFallBackOnlyWhenNotNumericText) {
    EXPECT_EQ(CellFloat(u"abc", 0), 0);
    EXPECT_EQ(CellFloat(u"", 100), 100);
    EXPECT_EQ(CellFloat(u"1-2", 0), 0);
    EXPECT_EQ(CellInt(u"", 1), 1);
    EXPECT_THROW(CellFloat(u".", 0), ConvertError);
    EXPECT_THROW(CellInt(u"2,5", 1), ConvertError);
}

TEST(GroupedFormat, ThousandsParenthesesAndOnlyTheDecimalsANumberHas) {
    EXPECT_EQ(FormatGrouped(0), "0");
    EXPECT_EQ(FormatGrouped(999), "999");
    EXPECT_EQ(FormatGrouped(1234567), "1,234,567");
    EXPECT_EQ(FormatGrouped(-1234), "(1,234)");
    EXPECT_EQ(FormatGrouped(2.5), "2.5"); // the bound as it is, never rounded for show
    for (const double v : {0.0, 2.5, -1234.25, 1234567.0, -0.001})
        EXPECT_EQ(TryParseGrouped(FormatGrouped(v)), v) << v;
    EXPECT_EQ(TryParseGrouped(u"-56"), -56);
    EXPECT_EQ(TryParseGrouped(u"1,000.5"), 1000.5);
    EXPECT_FALSE(TryParseGrouped(u"(-5)"));
    EXPECT_FALSE(TryParseGrouped(u"-"));
    EXPECT_FALSE(TryParseGrouped(u"1.2.3"));
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(62.5), 62);
    EXPECT_EQ(RoundHalfEven(63.5), 64);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(99.51), 100);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
}
