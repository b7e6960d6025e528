#include "support/TestSupport.h"

#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "engine/AccessTables.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace engine;

namespace {

void connectTo(db::access::AccessConnection& connection, const QString& fixture)
{
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                   + testsupport::fixture(fixture) + QStringLiteral(";Persist Security Info=False"));
    connection.connect();
}

QStringList mdbTables(const QString& fixture)
{
    QProcess process;
    process.start(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), testsupport::fixture(fixture)});
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QString joined(const std::vector<AdoTableInfo>& tables)
{
    QStringList parts;
    for (const AdoTableInfo& t : tables)
        parts.append(t.TableName + u'=' + t.TableType);
    return parts.join(u'|');
}

}  // namespace

TEST(AccessTables, AppendOrFilter)
{
    struct Case {
        const char* filter;
        const char* condition;
        const char* expected;
    };
    const Case cases[] = {
        {"", "(TABLE_TYPE = 'TABLE')", "(TABLE_TYPE = 'TABLE')"},
        {"(TABLE_TYPE = 'TABLE')", "(TABLE_TYPE = 'VIEW')", "(TABLE_TYPE = 'TABLE') or (TABLE_TYPE = 'VIEW')"},
        {"a or b", "c", "a or b or c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AppendOrFilter(QString::fromUtf8(c.filter), QString::fromUtf8(c.condition)).toStdString(), c.expected);
}

// The tables of the kind TABLE are the user tables mdb-tables lists, in the same (catalog) order.
TEST(AccessTables, UserTablesOfEveryFixture)
{
    const char* fixtures[] = {"access/jackcess/testV1997.mdb",           "access/jackcess/test2V1997.mdb",
                              "access/jackcess/overflowTestV1997.mdb",   "access/jackcess/testIndexCodesV1997.mdb",
                              "access/jackcess/indexTestV1997.mdb",      "access/jackcess/test2V2000.mdb",
                              "access/jackcess/fixedNumericTestV2000.mdb", "access/jackcess/fixedTextTestV2000.mdb",
                              "access/jackcess/delColTestV2000.mdb",     "access/jackcess/testUnicodeCompV2003.mdb"};
    for (const char* fixture : fixtures) {
        db::access::AccessConnection connection;
        connectTo(connection, QString::fromLatin1(fixture));
        std::vector<AdoTableInfo> tables;
        ListAdoTables(connection, AdoTableKind::Table, tables);
        QStringList names;
        for (const AdoTableInfo& t : tables) {
            names.append(t.TableName);
            EXPECT_EQ(t.TableType, QStringLiteral("TABLE"));
        }
        EXPECT_EQ(names, mdbTables(QString::fromLatin1(fixture))) << fixture;
    }
}

TEST(AccessTables, KindSets)
{
    db::access::AccessConnection connection;
    connectTo(connection, QStringLiteral("access/jackcess/indexTestV1997.mdb"));
    struct Case {
        const char* name;
        AdoTableKinds kinds;
        const char* expected;
    };
    const Case cases[] = {
        {"tables", AdoTableKind::Table, "Table1=TABLE|Table2=TABLE|Table3=TABLE"},
        {"no queries in the database", AdoTableKind::View, ""},
        {"synonyms never exist", AdoTableKind::Synonym, ""},
        {"system tables", AdoTableKind::SystemTable,
         "MSysObjects=SYSTEM TABLE|MSysACEs=SYSTEM TABLE|MSysQueries=SYSTEM TABLE|MSysRelationships=SYSTEM TABLE"},
        {"tables of the user interface", AdoTableKind::AccessTable,
         "MSysModules=ACCESS TABLE|MSysModules2=ACCESS TABLE|MSysAccessObjects=ACCESS TABLE"},
        {"catalog order across kinds", AdoTableKind::Table | AdoTableKind::AccessTable | AdoTableKind::View,
         "MSysModules=ACCESS TABLE|MSysModules2=ACCESS TABLE|Table1=TABLE|Table2=TABLE|Table3=TABLE|"
         "MSysAccessObjects=ACCESS TABLE"},
    };
    for (const Case& c : cases) {
        std::vector<AdoTableInfo> tables{{QStringLiteral("stale"), QStringLiteral("TABLE")}};
        ListAdoTables(connection, c.kinds, tables);
        EXPECT_EQ(joined(tables).toStdString(), c.expected) << c.name;
    }
}

TEST(AccessTables, ConnectionErrorsReachTheCaller)
{
    db::access::AccessConnection connection;
    std::vector<AdoTableInfo> tables;
    EXPECT_THROW(ListAdoTables(connection, AdoTableKind::Table, tables), db::EngineError);
}
