#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using namespace rtl;

// Settings read from the locale, turned into the classic notation.
class LocaleSettings : public ::testing::Test {
protected:
    void TearDown() override { resetFormatSettings(); }
};

TEST_F(LocaleSettings, ProcessStartsWithTheSystemLocale)
{
    const FormatSettings fromLocale = settingsFromSystemLocale();
    const FormatSettings& current = formatSettings();
    EXPECT_EQ(current.DecimalSeparator, fromLocale.DecimalSeparator);
    EXPECT_EQ(current.ThousandSeparator, fromLocale.ThousandSeparator);
    EXPECT_EQ(current.DateSeparator, fromLocale.DateSeparator);
    EXPECT_EQ(current.TimeSeparator, fromLocale.TimeSeparator);
    EXPECT_EQ(current.ShortDateFormat, fromLocale.ShortDateFormat);
    EXPECT_EQ(current.LongTimeFormat, fromLocale.LongTimeFormat);
    EXPECT_EQ(QString(current.DecimalSeparator), QLocale::system().decimalPoint());
}

TEST_F(LocaleSettings, LocalesTranslateIntoTheClassicNotation)
{
    struct Case {
        const char* locale;
        QChar decimal;
        QChar thousands;
        QChar dateSeparator;
        QChar timeSeparator;
        const char* shortDate;
        const char* longTime;
    };
    const Case cases[] = {
        {"de_DE", u',', u'.', u'.', u':', "DD/MM/YYYY", "hh:nn:ss"},
        {"en_US", u'.', u',', u'/', u':', "M/D/YYYY", "h:nn:ss AMPM"},
        {"sv_SE", u',', u'\u00a0', u'-', u':', "YYYY/MM/DD", "hh:nn:ss"},
        {"nl_NL", u',', u'.', u'-', u':', "DD/MM/YYYY", "hh:nn:ss"},
        {"fi_FI", u',', u'\u00a0', u'.', u'.', "D/M/YYYY", "h:nn:ss"},
        // Trailing dots after every part and words after the date cannot be read back: they are left out.
        {"hu_HU", u',', u'\u00a0', u'.', u':', "YYYY/MM/DD", "h:nn:ss"},
        {"bg_BG", u',', u'\u00a0', u'.', u':', "D/MM/YYYY", "h:nn:ss"},
        // The half-day marker in front, and hour words of the long format are no separators.
        {"ko_KR", u'.', u',', u'.', u':', "YYYY/M/D", "AMPM h:nn:ss"},
        {"ja_JP", u'.', u',', u'/', u':', "YYYY/MM/DD", "h:nn:ss"},
    };
    for (const auto& c : cases) {
        const FormatSettings s = settingsFromLocale(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << c.locale;
        // Some locales group with a no-break space of either width; any blank-like separator will do.
        if (c.thousands == u'\u00a0')
            EXPECT_TRUE(s.ThousandSeparator.isSpace()) << c.locale;
        else
            EXPECT_EQ(s.ThousandSeparator, c.thousands) << c.locale;
        EXPECT_EQ(s.DateSeparator, c.dateSeparator) << c.locale;
        EXPECT_EQ(s.TimeSeparator, c.timeSeparator) << c.locale;
        EXPECT_EQ(s.ShortDateFormat, QString::fromUtf8(c.shortDate)) << c.locale;
        EXPECT_EQ(s.LongTimeFormat, QString::fromUtf8(c.longTime)) << c.locale;
    }
}

TEST_F(LocaleSettings, EveryLocaleReadsBackWhatItWrites)
{
    // Whatever the user's locale, a date, time or number the program writes must convert back.
    const QDate date(2031, 11, 4);
    const QTime time(21, 7, 9);
    const double number = -1234.5678;
    for (QLocale::Language language :
         {QLocale::C, QLocale::German, QLocale::English, QLocale::French, QLocale::Swedish, QLocale::Japanese,
          QLocale::Hungarian, QLocale::Korean, QLocale::Bulgarian, QLocale::Finnish, QLocale::Chinese,
          QLocale::Arabic, QLocale::Persian, QLocale::Hindi}) {
        const QLocale locale(language);
        FormatSettingsGuard guard;
        formatSettings() = settingsFromLocale(locale);
        const std::string name = locale.name().toStdString();
        QDate readDate;
        EXPECT_TRUE(TryStrToDate(DateToStr(date), readDate)) << name << " " << DateToStr(date).toStdString();
        EXPECT_EQ(readDate, date) << name;
        QTime readTime;
        EXPECT_TRUE(TryStrToTime(TimeToStr(time), readTime)) << name << " " << TimeToStr(time).toStdString();
        EXPECT_EQ(readTime, time) << name;
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(number)), number) << name;
    }
}

TEST_F(LocaleSettings, RuntimeChangesStayUntilReset)
{
    {
        FormatSettingsGuard guard;
        formatSettings().DecimalSeparator = u'#';
        formatSettings().ShortDateFormat = QStringLiteral("YYYY/MM/DD");
        EXPECT_EQ(formatSettings().DecimalSeparator, u'#');
    }
    EXPECT_EQ(formatSettings().DecimalSeparator, settingsFromSystemLocale().DecimalSeparator) << "guard restores";
    formatSettings().DateSeparator = u'-';
    EXPECT_EQ(formatSettings().DateSeparator, u'-');
    resetFormatSettings();
    EXPECT_EQ(formatSettings().DateSeparator, settingsFromSystemLocale().DateSeparator);
}

}  // namespace
