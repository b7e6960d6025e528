#include "rtl/Conversions.h"

#include <gtest/gtest.h>

namespace {

using namespace rtl;

struct TrimCase {
    const char* name;
    QString text;
    QString both;
    QString left;
    QString right;
};

TEST(TextConversions, TrimRemovesEverythingUpToTheBlank)
{
    const TrimCase cases[] = {
        {"blanks", QStringLiteral("  ab c  "), QStringLiteral("ab c"), QStringLiteral("ab c  "), QStringLiteral("  ab c")},
        {"control characters", QStringLiteral("\t\r\nab\x01\x1f"), QStringLiteral("ab"), QStringLiteral("ab\x01\x1f"),
         QStringLiteral("\t\r\nab")},
        {"NUL counts", QString(QChar(0)) + QStringLiteral("x") + QChar(0), QStringLiteral("x"),
         QStringLiteral("x") + QChar(0), QString(QChar(0)) + QStringLiteral("x")},
        {"non-breaking space stays", QStringLiteral("\u00a0x\u00a0"), QStringLiteral("\u00a0x\u00a0"),
         QStringLiteral("\u00a0x\u00a0"), QStringLiteral("\u00a0x\u00a0")},
        {"only blanks", QStringLiteral(" \t "), QString(), QString(), QString()},
        {"empty", QString(), QString(), QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.text), c.both) << c.name;
        EXPECT_EQ(TrimLeft(c.text), c.left) << c.name;
        EXPECT_EQ(TrimRight(c.text), c.right) << c.name;
    }
}

TEST(TextConversions, UpperAndLowerCase)
{
    struct Case {
        const char* name;
        QString text;
        QString upper;
        QString ansiUpper;
    };
    const Case cases[] = {
        {"ascii", QStringLiteral("abz AZ 09"), QStringLiteral("ABZ AZ 09"), QStringLiteral("ABZ AZ 09")},
        {"umlauts only in the ansi form", QStringLiteral("äöü é"), QStringLiteral("äöü é"), QStringLiteral("ÄÖÜ É")},
        {"sharp s keeps the length", QStringLiteral("straße"), QStringLiteral("STRAßE"), QStringLiteral("STRAßE")},
        {"micro sign has no 1252 capital", QStringLiteral("µ"), QStringLiteral("µ"), QStringLiteral("µ")},
        {"y with diaeresis has one", QStringLiteral("ÿšœž"), QStringLiteral("ÿšœž"), QStringLiteral("ŸŠŒŽ")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCase(c.text), c.upper) << c.name;
        EXPECT_EQ(AnsiUpperCase(c.text), c.ansiUpper) << c.name;
    }
    EXPECT_EQ(LowerCase(QStringLiteral("ÄBC")), QStringLiteral("Äbc"));
    EXPECT_EQ(AnsiLowerCase(QStringLiteral("ÄBCŸ")), QStringLiteral("äbcÿ"));
}

}  // namespace
