#include "TestTables.h"

#include "db/Field.h"
#include "rtl/FormatSettings.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <ctime>

using namespace testdb;
using db::FieldType;
using db::Table;

namespace {

// Runs a test under another time zone of the process and restores the one it had.
class TimeZoneGuard {
public:
    explicit TimeZoneGuard(const char* zone) : hadZone_(qEnvironmentVariableIsSet("TZ")), saved_(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneGuard()
    {
        if (hadZone_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        tzset();
    }
    TimeZoneGuard(const TimeZoneGuard&) = delete;
    TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

private:
    bool hadZone_;
    QByteArray saved_;
};

// Days since 1899-12-30 plus the time as a fraction: the number a date-time field takes as a float.
double dateTimeNumber(const QDate& date, const QTime& time)
{
    return static_cast<double>(QDate(1899, 12, 30).daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0;
}

}  // namespace

// Dates and clock times are plain calendar values: the local time zone, and the hour a change to summer time skips
// or repeats there, must not move them on the way into a table and back.
TEST_P(StorageTest, DatesAndTimesSurviveChangesOfTheLocalClock)
{
    struct Case {
        const char* name;
        const char* zone;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        {"hour skipped in spring", "Europe/Berlin", QDate(2024, 3, 31), QTime(2, 30)},
        {"hour repeated in autumn", "Europe/Berlin", QDate(2024, 10, 27), QTime(2, 30)},
        {"midnight skipped", "America/Sao_Paulo", QDate(2018, 11, 4), QTime(0, 0)},
        {"ordinary day", "UTC", QDate(2024, 6, 1), QTime(12, 0)},
    };
    rtl::FormatSettingsGuard settings;
    rtl::formatSettings().ShortDateFormat = QStringLiteral("YYYY/MM/DD");
    rtl::formatSettings().DateSeparator = u'-';
    rtl::formatSettings().LongTimeFormat = QStringLiteral("hh:nn:ss");
    rtl::formatSettings().TimeSeparator = u':';
    rtl::formatSettings().DecimalSeparator = u'.';

    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TimeZoneGuard zone(c.zone);
        const QString stampText =
            c.date.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + c.time.toString(QStringLiteral("hh:mm:ss"));
        const QString path = pathOf(QStringLiteral("DST%1").arg(++n));
        {
            auto table = makeTableWith(QStringLiteral("DST%1").arg(n),
                                       {{QStringLiteral("Tag"), FieldType::ftDate, 0, 0, false},
                                        {QStringLiteral("Uhr"), FieldType::ftTime, 0, 0, false},
                                        {QStringLiteral("StempText"), FieldType::ftDateTime, 0, 0, false},
                                        {QStringLiteral("StempZahl"), FieldType::ftDateTime, 0, 0, false},
                                        {QStringLiteral("TagZahl"), FieldType::ftDate, 0, 0, false}});
            table->Append();
            table->FieldByName(QStringLiteral("Tag"))->setAsVariant(c.date);
            table->FieldByName(QStringLiteral("Uhr"))->setAsVariant(c.time);
            table->FieldByName(QStringLiteral("StempText"))->setAsString(stampText);
            table->FieldByName(QStringLiteral("StempZahl"))->setAsFloat(dateTimeNumber(c.date, c.time));
            table->FieldByName(QStringLiteral("TagZahl"))->setAsFloat(dateTimeNumber(c.date, QTime(0, 0)));
            table->Post();
            table->Close();
        }
        auto table = cursor(path);
        table->Open();
        table->First();
        ASSERT_FALSE(table->Eof());
        EXPECT_EQ(table->FieldByName(QStringLiteral("Tag"))->AsDateTime().date(), c.date);
        EXPECT_EQ(table->FieldByName(QStringLiteral("TagZahl"))->AsDateTime().date(), c.date);
        EXPECT_EQ(table->FieldByName(QStringLiteral("Tag"))->AsFloat(), dateTimeNumber(c.date, QTime(0, 0)));
        for (const char* name : {"Uhr", "StempText", "StempZahl"}) {
            SCOPED_TRACE(name);
            db::Field* field = table->FieldByName(QLatin1String(name));
            const bool stamp = name[0] == 'S';
            // dBase has no field for a time or a date-time; they are kept as their text (and a number as its own).
            if (field->DataType() == FieldType::ftString) {
                if (qstrcmp(name, "StempZahl") != 0) {
                    EXPECT_EQ(field->AsString(), stamp ? stampText : c.time.toString(QStringLiteral("hh:mm:ss")));
                }
                continue;
            }
            const QDateTime value = field->AsDateTime();
            EXPECT_EQ(value.time(), c.time);
            if (stamp) {
                EXPECT_EQ(value.date(), c.date);
            }
        }
    }
}
