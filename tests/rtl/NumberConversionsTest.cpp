#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <random>
#include <string>
#include <limits>

namespace {

using namespace rtl;

// Every case states the separators it runs under; the guard puts the process settings back afterwards.
class NumberConversions : public ::testing::Test {
protected:
    void use(QChar decimal, QChar thousands)
    {
        formatSettings().DecimalSeparator = decimal;
        formatSettings().ThousandSeparator = thousands;
    }
    FormatSettingsGuard guard_;
};

struct FloatReadCase {
    const char* name;
    QChar decimal;
    const char* text;
    double expected;
};

TEST_F(NumberConversions, StrToFloatReadsTheClassicSyntax)
{
    const FloatReadCase cases[] = {
        {"plain", u'.', "3.25", 3.25},
        {"comma decimal", u',', "3,25", 3.25},
        {"blanks around", u',', "  -3,25  ", -3.25},
        {"plus sign", u'.', "+7", 7.0},
        {"leading separator", u'.', ".5", 0.5},
        {"trailing separator", u'.', "5.", 5.0},
        {"exponent", u',', "1,5E-7", 1.5e-7},
        {"lower-case exponent with plus", u'.', "2e+3", 2000.0},
        {"large", u'.', "123456789012345678", 123456789012345678.0},
        {"too small is zero", u'.', "1e-400", 0.0},
        {"zero", u',', "0", 0.0},
    };
    for (const auto& c : cases) {
        use(c.decimal, c.decimal == u',' ? u'.' : u',');
        double tried = -1;
        EXPECT_TRUE(TryStrToFloat(QString::fromUtf8(c.text), tried)) << c.name;
        EXPECT_DOUBLE_EQ(tried, c.expected) << c.name;
        EXPECT_DOUBLE_EQ(StrToFloat(QString::fromUtf8(c.text)), c.expected) << c.name;
    }
}

TEST_F(NumberConversions, StrToFloatRejectsAnythingElseWithTheValueInTheMessage)
{
    struct Case {
        const char* name;
        QChar decimal;
        const char* text;
    };
    const Case cases[] = {
        {"letters", u'.', "abc"},
        {"empty", u'.', ""},
        {"blanks only", u'.', "   "},
        {"wrong separator", u',', "3.25"},
        {"thousands separator", u',', "1.234,56"},
        {"two separators", u'.', "1.2.3"},
        {"separator alone", u'.', "."},
        {"sign alone", u'.', "-"},
        {"exponent without digits", u'.', "1E"},
        {"trailing letter", u'.', "12a"},
        {"tab is no blank here", u'.', "\t1"},
        {"too large", u'.', "1e400"},
        {"blank inside", u'.', "1 2"},
    };
    for (const auto& c : cases) {
        use(c.decimal, c.decimal == u',' ? u'.' : u',');
        const QString text = QString::fromUtf8(c.text);
        double value = 42;
        EXPECT_FALSE(TryStrToFloat(text, value)) << c.name;
        EXPECT_EQ(value, 42) << c.name << ": a failed try leaves the value alone";
        try {
            StrToFloat(text);
            ADD_FAILURE() << c.name << ": no error raised";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text)) << c.name;
        }
    }
}

TEST_F(NumberConversions, ThousandsSeparatorsRemovedBeforeReading)
{
    use(u',', u'.');
    QString text = QStringLiteral("1.234,56");
    text.remove(formatSettings().ThousandSeparator);
    EXPECT_DOUBLE_EQ(StrToFloat(text), 1234.56);
}

TEST_F(NumberConversions, FloatToStrUsesFifteenSignificantDigits)
{
    struct Case {
        const char* name;
        QChar decimal;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"binary noise hidden", u',', 0.1 + 0.2, "0,3"},
        {"integer", u'.', 42.0, "42"},
        {"negative", u',', -2.5, "-2,5"},
        {"zero", u',', 0.0, "0"},
        {"negative zero", u',', -0.0, "0"},
        {"fifteen integer digits stay fixed", u'.', 999999999999999.0, "999999999999999"},
        {"sixteen integer digits go scientific", u'.', 1e15, "1E15"},
        {"large power of ten", u',', 1e20, "1E20"},
        {"small with comma", u',', 1.5e-7, "1,5E-7"},
        {"rounded to fifteen digits", u',', 123456789012345678.0, "1,23456789012346E17"},
        {"smallest fixed", u'.', 0.0001, "0.0001"},
        {"below fixed range", u'.', 0.00001, "1E-5"},
        {"fraction", u'.', 1234.5678, "1234.5678"},
        {"third", u'.', 1.0 / 3.0, "0.333333333333333"},
        {"two thirds rounded", u'.', 2.0 / 3.0, "0.666666666666667"},
        {"carry into a new digit", u'.', 9.999999999999998, "10"},
        {"negative whole number", u',', -123.0, "-123"},
        {"six decimals", u',', -0.123456, "-0,123456"},
        {"seven decimals", u'.', 0.1234567, "0.1234567"},
        {"decimal stored below its value", u'.', 1.005, "1.005"},
        {"fifteen digits with a decimal", u'.', 99999999999999.9, "99999999999999.9"},
        {"noise of three tenths", u'.', 0.1 * 3, "0.3"},
        {"infinity", u'.', std::numeric_limits<double>::infinity(), "INF"},
        {"not a number", u'.', std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        use(c.decimal, c.decimal == u',' ? u'.' : u',');
        EXPECT_EQ(FloatToStr(c.value), QString::fromUtf8(c.expected)) << c.name;
    }
}

// In the fixed range the form is the value rounded to fifteen significant digits without trailing zeros, which
// Qt's general format gives independently: whole numbers, short decimals and arbitrary doubles must all agree.
TEST_F(NumberConversions, FloatToStrAgreesWithFifteenDigitRoundingInTheFixedRange)
{
    use(u'.', u',');
    std::mt19937_64 random(20240331);
    // A double that lies exactly halfway between two fifteen-digit decimals is left out: there Qt rounds away from
    // zero and the classic runtime to even.
    const auto isTie = [](double v) {
        char buf[80];
        const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 60).ptr;
        const std::string mantissa(buf, std::find(buf, end, 'e'));  // "d.ddd…", exact at this length
        return mantissa[16] == '5' && mantissa.find_first_not_of('0', 17) == std::string::npos;
    };
    std::uniform_real_distribution<double> anyMagnitude(-4.0, 14.9);
    std::uniform_int_distribution<std::int64_t> digits(-99999999999999, 99999999999999);
    std::uniform_int_distribution<int> decimals(0, 8);
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        switch (i % 3) {
        case 0:
            value = static_cast<double>(digits(random)) / std::pow(10.0, decimals(random));
            break;
        case 1:
            value = static_cast<double>(digits(random) % 100000000) / std::pow(10.0, decimals(random));
            break;
        default:
            value = std::pow(10.0, anyMagnitude(random)) * (i % 2 ? -1 : 1);
            break;
        }
        if (value == 0 || std::fabs(value) < 1e-4 || std::fabs(value) >= 9e14 || isTie(value))
            continue;
        ASSERT_EQ(FloatToStr(value), QString::number(value, 'g', 15)) << std::setprecision(17) << value;
    }
}

TEST_F(NumberConversions, FloatToStrReadsBackUnderTheSameSeparator)
{
    use(u',', u'.');
    for (double v : {0.1, -1234.5, 1e-9, 6.02214076e23, 2.0 / 3.0})
        EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
}

TEST_F(NumberConversions, FormatFixedRoundsTheDecimalFormHalvesAwayFromZero)
{
    struct Case {
        const char* name;
        double value;
        int decimals;
        int width;
        QChar decimal;
        const char* expected;
    };
    const Case cases[] = {
        {"2.345 is 2.35 though stored below", 2.345, 2, 0, u'.', "2.35"},
        {"negative half to zero decimals", -2.5, 0, 0, u'.', "-3"},
        {"positive half", 0.5, 0, 0, u'.', "1"},
        {"1.005 stored below still rounds up", 1.005, 2, 0, u',', "1,01"},
        {"below the half", 2.344, 2, 0, u'.', "2.34"},
        {"negative half to two decimals", -1.125, 2, 0, u'.', "-1.13"},
        {"carry through nines", 9.995, 2, 0, u'.', "10.00"},
        {"padding", 3.14159, 3, 10, u',', "     3,142"},
        {"width 40", 2.345, 2, 40, u'.', "                                    2.35"},
        {"zeros appended", 7.0, 4, 0, u'.', "7.0000"},
        {"small value to zero has no sign", -0.001, 2, 0, u'.', "0.00"},
        {"small value rounds up", 0.005, 2, 0, u'.', "0.01"},
        {"far below", 1e-20, 2, 0, u'.', "0.00"},
        {"large", 123456789.125, 2, 0, u'.', "123456789.13"},
        {"beyond fifteen digits", 123456789012345678.0, 1, 0, u'.', "123456789012346000.0"},
        {"zero", 0.0, 3, 0, u',', "0,000"},
        {"text longer than width", 12345.0, 0, 3, u'.', "12345"},
    };
    for (const auto& c : cases) {
        use(c.decimal, c.decimal == u',' ? u'.' : u',');
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.width), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST_F(NumberConversions, FormatFixedAndBackRoundsToDecimals)
{
    // The round trip through "%40.Nf" text is how values are rounded to a number of decimals.
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {{2.345, 2, 2.35}, {-2.5, 0, -3.0}, {1.23456, 4, 1.2346}, {-0.049, 1, 0.0}, {99.95, 1, 100.0}};
    for (QChar decimal : {u'.', u','}) {
        use(decimal, decimal == u',' ? u'.' : u',');
        for (const auto& c : cases)
            EXPECT_DOUBLE_EQ(StrToFloat(FormatFixed(c.value, c.decimals, 40)), c.expected) << c.value;
    }
}

TEST_F(NumberConversions, FormatFixedRejectsNegativeDecimals)
{
    EXPECT_THROW(FormatFixed(1.0, -1, 40), EConvertError);
}

TEST_F(NumberConversions, StrToIntAcceptsOnlySignedDecimalsInRange)
{
    struct Case {
        const char* name;
        const char* text;
        bool valid;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"plain", "123", true, 123},
        {"largest", "2147483647", true, 2147483647},
        {"smallest", "-2147483648", true, std::numeric_limits<std::int32_t>::min()},
        {"plus", "+5", true, 5},
        {"leading zeros", "007", true, 7},
        {"leading blanks", "  42", true, 42},
        {"one above", "2147483648", false, 0},
        {"one below", "-2147483649", false, 0},
        {"far too large", "99999999999999999999", false, 0},
        {"trailing blank", "42 ", false, 0},
        {"empty", "", false, 0},
        {"sign alone", "-", false, 0},
        {"decimal point", "1.0", false, 0},
        {"hexadecimal", "$FF", false, 0},
        {"hexadecimal C style", "0x10", false, 0},
        {"thousands", "1.234", false, 0},
        {"letters", "12a", false, 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        std::int32_t value = -7;
        EXPECT_EQ(TryStrToInt(text, value), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(value, c.expected) << c.name;
            EXPECT_EQ(StrToInt(text), c.expected) << c.name;
        } else {
            try {
                StrToInt(text);
                ADD_FAILURE() << c.name << ": no error raised";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text)) << c.name;
            }
        }
    }
}

TEST_F(NumberConversions, IntToStrWritesPlainDigits)
{
    use(u',', u'.');
    EXPECT_EQ(IntToStr(-1234567), QStringLiteral("-1234567"));
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), QStringLiteral("-9223372036854775808"));
}

}  // namespace
