#include "db/access/ADOSourceTable.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using db::access::ADOSourceTable;
using db::access::AccessConnection;

namespace {

AccessConnection connectTo(const QString& fixture)
{
    AccessConnection c;
    c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security Info=False")
                              .arg(testsupport::fixture(fixture)));
    c.connect();
    return c;
}

}  // namespace

// The contents viewer shows an Access table through an ordinary cursor: it navigates, shares records between two
// cursors and refuses every change.
TEST(ADOSourceTable, ReadsAnAccessTableThroughTheCursorAndRefusesWrites)
{
    AccessConnection connection = connectTo("access/jackcess/test2V2000.mdb");
    const auto schema = connection.openTablesSchema();
    ADOSourceTable table;
    table.setConnection(&connection);
    table.setTableName("MSP_PROJECTS");
    EXPECT_EQ(table.TableName(), "MSP_PROJECTS");
    ASSERT_NO_THROW(table.Open());
    EXPECT_GT(table.FieldCount(), 0);
    const int count = table.RecordCount();
    int walked = 0;
    for (table.First(); !table.Eof(); table.Next())
        ++walked;
    EXPECT_EQ(walked, count);

    ADOSourceTable second;
    second.setConnection(&connection);
    second.setTableName("MSP_PROJECTS");
    ASSERT_NO_THROW(second.Open());
    EXPECT_EQ(second.RecordCount(), count);

    EXPECT_THROW(table.Append(), db::EngineError);
    EXPECT_THROW(table.EmptyTable(), db::EngineError);
    EXPECT_THROW(table.setTableName("Other"), db::EngineError);  // not while open
}

TEST(ADOSourceTable, OpeningWithoutAConnectionOrAnUnknownTableIsAClearError)
{
    ADOSourceTable table;
    table.setTableName("Kunden");
    EXPECT_THROW(table.Open(), db::EngineError);
    AccessConnection connection = connectTo("access/jackcess/test2V2000.mdb");
    table.setConnection(&connection);
    table.setTableName("Gibt es nicht");
    EXPECT_THROW(table.Open(), db::EngineError);
    EXPECT_FALSE(table.Active());
}
