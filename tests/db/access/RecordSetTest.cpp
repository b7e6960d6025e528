#include "db/EngineError.h"
#include "db/access/RecordSet.h"

#include <gtest/gtest.h>

using db::access::RecordSet;

namespace {

RecordSet sample()
{
    return RecordSet({QStringLiteral("TABLE_NAME"), QStringLiteral("TABLE_TYPE")},
                     {{QStringLiteral("Kunden"), QStringLiteral("TABLE")},
                      {QStringLiteral("MSysObjects"), QStringLiteral("SYSTEM TABLE")},
                      {QStringLiteral("Abfrage O'Neil"), QStringLiteral("VIEW")},
                      {QStringLiteral("Artikel"), QStringLiteral("TABLE")}});
}

QString visibleNames(RecordSet& set)
{
    QStringList names;
    for (set.first(); !set.eof(); set.next())
        names.append(set.fieldByName(QStringLiteral("table_name")));
    return names.join(u',');
}

}  // namespace

TEST(RecordSet, Filters)
{
    struct Case {
        const char* filter;
        const char* expected;
    };
    const Case cases[] = {
        {"", "Kunden,MSysObjects,Abfrage O'Neil,Artikel"},
        {"(TABLE_TYPE = 'TABLE')", "Kunden,Artikel"},
        {"(TABLE_TYPE = 'TABLE') or (TABLE_TYPE = 'VIEW')", "Kunden,Abfrage O'Neil,Artikel"},
        {"(TABLE_TYPE = 'SYNONYM')", ""},
        {"TABLE_TYPE = 'table'", "Kunden,Artikel"},
        {"TABLE_TYPE <> 'TABLE' AND NOT TABLE_NAME LIKE 'MSys*'", "Abfrage O'Neil"},
        {"TABLE_NAME = 'Abfrage O''Neil'", "Abfrage O'Neil"},
        {"[TABLE_NAME] >= 'K'", "Kunden,MSysObjects"},
        {"TABLE_NAME LIKE '%e%' and (TABLE_TYPE='TABLE' or TABLE_TYPE='VIEW')", "Kunden,Abfrage O'Neil,Artikel"},
    };
    for (const Case& c : cases) {
        RecordSet set = sample();
        set.setFilter(QString::fromUtf8(c.filter));
        set.setFiltered(true);
        EXPECT_EQ(visibleNames(set).toStdString(), c.expected) << c.filter;
        EXPECT_EQ(set.recordCount(), c.expected[0] ? int(QString::fromUtf8(c.expected).count(u',')) + 1 : 0) << c.filter;
    }
}

TEST(RecordSet, FilterOnlyCountsWhenSwitchedOn)
{
    RecordSet set = sample();
    set.setFilter(QStringLiteral("(TABLE_TYPE = 'VIEW')"));
    EXPECT_EQ(set.recordCount(), 4);
    set.setFiltered(true);
    EXPECT_EQ(set.recordCount(), 1);
}

TEST(RecordSet, BadFiltersAndFields)
{
    const char* bad[] = {"(TABLE_TYPE = 'TABLE'", "TABLE_TYPE = 'TABLE", "TABLE_TYPE 'TABLE'", "NAME = 'x'",
                         "TABLE_TYPE = 'TABLE' or", "TABLE_TYPE = 'A' TABLE_NAME"};
    for (const char* filter : bad) {
        RecordSet set = sample();
        set.setFilter(QString::fromUtf8(filter));
        try {
            set.setFiltered(true);
            ADD_FAILURE() << filter << " accepted";
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), db::ErrorCode::FilterSyntax) << filter;
        }
    }
    RecordSet set = sample();
    EXPECT_THROW(set.fieldByName(QStringLiteral("DESCRIPTION")), db::EngineError);
    set.setFilter(QStringLiteral("TABLE_TYPE = 'SYNONYM'"));
    set.setFiltered(true);
    EXPECT_TRUE(set.eof());
    EXPECT_THROW(set.fieldByName(QStringLiteral("TABLE_NAME")), db::EngineError);
}
