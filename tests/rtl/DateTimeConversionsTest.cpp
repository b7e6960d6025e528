#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

using namespace rtl;

class DateTimeConversions : public ::testing::Test {
protected:
    void use(const char* shortDate, QChar dateSeparator, QChar timeSeparator = u':', QChar decimal = u',')
    {
        FormatSettings& fs = formatSettings();
        fs.ShortDateFormat = QString::fromUtf8(shortDate);
        fs.DateSeparator = dateSeparator;
        fs.TimeSeparator = timeSeparator;
        fs.DecimalSeparator = decimal;
        fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    }
    FormatSettingsGuard guard_;
};

struct DateCase {
    const char* name;
    const char* format;
    QChar separator;
    const char* text;
    QDate expected;
};

TEST_F(DateTimeConversions, StrToDateFollowsTheShortDateFormat)
{
    const int thisYear = QDate::currentDate().year();
    const DateCase cases[] = {
        {"day first with full stop", "DD/MM/YYYY", u'.', "24.12.2023", QDate(2023, 12, 24)},
        {"single digits", "DD/MM/YYYY", u'.', "1.2.2023", QDate(2023, 2, 1)},
        {"blanks around and between", "DD/MM/YYYY", u'.', " 1 . 2 . 2023 ", QDate(2023, 2, 1)},
        {"year first with hyphen", "YYYY/MM/DD", u'-', "2023-12-24", QDate(2023, 12, 24)},
        {"month first", "MM/DD/YYYY", u'/', "12/24/2023", QDate(2023, 12, 24)},
        {"year day month", "YYYY/DD/MM", u'/', "2023/24/12", QDate(2023, 12, 24)},
        {"month year day", "MM/YYYY/DD", u'/', "12/2023/24", QDate(2023, 12, 24)},
        {"day year month", "DD/YYYY/MM", u'/', "24/2023/12", QDate(2023, 12, 24)},
        {"lower-case format", "dd/mm/yyyy", u'.', "24.12.2023", QDate(2023, 12, 24)},
        {"leap day", "DD/MM/YYYY", u'.', "29.02.2024", QDate(2024, 2, 29)},
        {"day and month only, day first", "DD/MM/YYYY", u'.', "24.12", QDate(thisYear, 12, 24)},
        {"day and month only, year first", "YYYY/MM/DD", u'-', "12-24", QDate(thisYear, 12, 24)},
        {"three-digit year is literal", "DD/MM/YYYY", u'.', "1.1.099", QDate(99, 1, 1)},
    };
    for (const auto& c : cases) {
        use(c.format, c.separator);
        EXPECT_EQ(StrToDate(QString::fromUtf8(c.text)), c.expected) << c.name;
    }
}

TEST_F(DateTimeConversions, TwoDigitYearsFallIntoTheCenturyWindow)
{
    use("DD/MM/YY", u'.');
    const int thisYear = QDate::currentDate().year();
    // 50 years back and 49 ahead of this year.
    const int oldest = thisYear - 50;
    const int newest = thisYear + 49;
    const QString oldestText = QStringLiteral("1.1.%1").arg(oldest % 100, 2, 10, QChar(u'0'));
    const QString newestText = QStringLiteral("1.1.%1").arg(newest % 100, 2, 10, QChar(u'0'));
    EXPECT_EQ(StrToDate(oldestText).year(), oldest);
    EXPECT_EQ(StrToDate(newestText).year(), newest);
    EXPECT_EQ(StrToDate(QStringLiteral("1.1.%1").arg(thisYear % 100, 2, 10, QChar(u'0'))).year(), thisYear);
    // A four-digit year is never moved.
    EXPECT_EQ(StrToDate(QStringLiteral("1.1.0050")).year(), 50);
}

TEST_F(DateTimeConversions, InvalidDatesRaise)
{
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"no leap day", "29.02.2023"},     {"month 13", "01.13.2023"},   {"day 0", "00.12.2023"},
        {"day 32", "32.01.2023"},          {"wrong separator", "24/12/2023"}, {"empty", ""},
        {"one number", "24"},              {"trailing text", "24.12.2023x"},  {"time appended", "24.12.2023 10:00"},
        {"missing third number", "24.12."}, {"five-digit year", "1.1.20231"},  {"year 0", "1.1.0000"},
    };
    use("DD/MM/YYYY", u'.');
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        QDate d(2000, 1, 1);
        EXPECT_FALSE(TryStrToDate(text, d)) << c.name;
        EXPECT_EQ(d, QDate(2000, 1, 1)) << c.name;
        try {
            StrToDate(text);
            ADD_FAILURE() << c.name << ": no error raised";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' ist kein gültiges Datum").arg(text)) << c.name;
        }
    }
}

TEST_F(DateTimeConversions, StrToTimeReadsHoursMinutesSecondsAndHalfDays)
{
    struct Case {
        const char* name;
        const char* text;
        QTime expected;
    };
    const Case cases[] = {
        {"full", "14:30:15", QTime(14, 30, 15)},
        {"no seconds", "14:30", QTime(14, 30)},
        {"hour only", "7", QTime(7, 0)},
        {"blanks", " 7 : 05 ", QTime(7, 5)},
        {"fraction of a second", "00:00:01,25", QTime(0, 0, 1, 250)},
        {"pm after", "2:30 PM", QTime(14, 30)},
        {"am before", "am 9:15", QTime(9, 15)},
        {"twelve am is midnight", "12:00 AM", QTime(0, 0)},
        {"twelve pm is noon", "12:00 pm", QTime(12, 0)},
        {"last second", "23:59:59", QTime(23, 59, 59)},
    };
    use("DD/MM/YYYY", u'.');
    for (const auto& c : cases)
        EXPECT_EQ(StrToTime(QString::fromUtf8(c.text)), c.expected) << c.name;

    use("DD/MM/YYYY", u'.', u'.');
    EXPECT_EQ(StrToTime(QStringLiteral("14.30")), QTime(14, 30)) << "own time separator";
}

TEST_F(DateTimeConversions, InvalidTimesRaise)
{
    use("DD/MM/YYYY", u'.');
    for (const char* text : {"24:00", "12:60", "12:30:60", "13:00 PM", "0:30 AM", "", "12:", "12:30x", "12.30", "ab"}) {
        QTime t;
        EXPECT_FALSE(TryStrToTime(QString::fromUtf8(text), t)) << text;
        try {
            StrToTime(QString::fromUtf8(text));
            ADD_FAILURE() << text << ": no error raised";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' ist keine gültige Zeit").arg(QString::fromUtf8(text)));
        }
    }
}

TEST_F(DateTimeConversions, StrToDateTimeTakesDateTimeOrEither)
{
    use("DD/MM/YYYY", u'.');
    struct Case {
        const char* name;
        const char* text;
        QDateTime expected;
    };
    const Case cases[] = {
        {"both", "24.12.2023 18:30:05", QDateTime(QDate(2023, 12, 24), QTime(18, 30, 5))},
        {"date only", "24.12.2023", QDateTime(QDate(2023, 12, 24), QTime(0, 0))},
        {"time only lies on day zero", "18:30", QDateTime(QDate(1899, 12, 30), QTime(18, 30))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToDateTime(QString::fromUtf8(c.text)), c.expected) << c.name;
    EXPECT_THROW(StrToDateTime(QStringLiteral("24.12.2023 25:00")), EConvertError);
    EXPECT_THROW(StrToDateTime(QStringLiteral("31.02.2023")), EConvertError);
}

TEST_F(DateTimeConversions, DateToStrWritesTheShortDateFormat)
{
    struct Case {
        const char* format;
        QChar separator;
        QDate date;
        const char* expected;
    };
    const Case cases[] = {
        {"DD/MM/YYYY", u'.', QDate(2023, 2, 1), "01.02.2023"},
        {"YYYY/MM/DD", u'-', QDate(2023, 2, 1), "2023-02-01"},
        {"D/M/YYYY", u'/', QDate(2023, 2, 1), "1/2/2023"},
        {"DD/MM/YY", u'.', QDate(2007, 2, 1), "01.02.07"},
        {"MM/DD/YYYY", u'/', QDate(999, 12, 31), "12/31/0999"},
        {"dd\"x\"mm", u'.', QDate(2023, 2, 1), "01x02"},
    };
    for (const auto& c : cases) {
        use(c.format, c.separator);
        EXPECT_EQ(DateToStr(c.date), QString::fromUtf8(c.expected)) << c.format;
    }
}

TEST_F(DateTimeConversions, DateAndTimeTextsReadBackUnderEveryOrder)
{
    const QDate date(1987, 7, 9);
    for (const char* format : {"DD/MM/YYYY", "MM/DD/YYYY", "YYYY/MM/DD", "YYYY/DD/MM", "MM/YYYY/DD", "DD/YYYY/MM"}) {
        for (QChar sep : {u'.', u'-', u'/'}) {
            use(format, sep);
            EXPECT_EQ(StrToDate(DateToStr(date)), date) << format << " " << QString(sep).toStdString();
        }
    }
}

TEST_F(DateTimeConversions, TimeToStrAndDateTimeToStr)
{
    use("DD/MM/YYYY", u'.', u'.');
    EXPECT_EQ(TimeToStr(QTime(7, 5, 3)), QStringLiteral("07.05.03"));
    formatSettings().LongTimeFormat = QStringLiteral("h:mm:ss AM/PM");
    EXPECT_EQ(TimeToStr(QTime(19, 5, 3)), QStringLiteral("7.05.03 PM")) << "minutes after the hour, 12-hour clock";
    EXPECT_EQ(TimeToStr(QTime(0, 0, 0)), QStringLiteral("12.00.00 AM"));
    formatSettings().LongTimeFormat = QStringLiteral("hh:nn:ss");
    EXPECT_EQ(DateTimeToStr(QDateTime(QDate(2023, 12, 24), QTime(18, 30, 5))), QStringLiteral("24.12.2023 18.30.05"));
    EXPECT_EQ(DateTimeToStr(QDateTime(QDate(2023, 12, 24), QTime(0, 0))), QStringLiteral("24.12.2023"))
        << "midnight leaves the time out";
    EXPECT_EQ(DateToStr(QDate()), QString()) << "an empty value writes nothing";
    EXPECT_EQ(TimeToStr(QTime()), QString());
    EXPECT_EQ(DateTimeToStr(QDateTime()), QString());
}

}  // namespace
