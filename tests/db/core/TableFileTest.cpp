#include "TestTables.h"

#include "db/EngineError.h"
#include "db/OpenTables.h"
#include "db/Table.h"
#include "rtl/FormatSettings.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TableFile, TypeAndExtensionDecideTheFiles)
{
    struct Case {
        const char* name;
        QString tableName;
        db::TTableType type;
        QString path;
    };
    const std::vector<Case> cases = {
        {"Paradox by its extension", "/d/Kunden.DB", db::ttDefault, "/d/Kunden.DB"},
        {"dBase by its extension, any case", "/d/kunden.dbf", db::ttDefault, "/d/kunden.dbf"},
        {"no extension is Paradox", "/d/ZSP", db::ttDefault, "/d/ZSP.DB"},
        {"no extension with dBase given", "/d/ZSP", db::ttDBase, "/d/ZSP.DBF"},
        {"a given type keeps the given extension", "/d/Liste.txt", db::ttParadox, "/d/Liste.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::Table table;
        table.setTableType(c.type);
        table.setTableName(c.tableName);
        EXPECT_EQ(table.filePath(), c.path);
    }
}

TEST(TableFile, RealDbaseTableFoundWithoutRegardToCase)
{
    rtl::FormatSettingsGuard guard;
    rtl::formatSettings().ShortDateFormat = QStringLiteral("DD/MM/YYYY");
    rtl::formatSettings().DateSeparator = u'.';
    QTemporaryDir dir;
    const QString copy = testsupport::copyTableTo(QStringLiteral("dbase/dbfread/people.dbf"), dir.path());
    ASSERT_FALSE(copy.isEmpty());
    const QString upper = dir.filePath(QStringLiteral("PEOPLE.DBF"));
    EXPECT_EQ(db::OpenTables::keyFor(upper), db::OpenTables::keyFor(copy));

    db::Table table;
    table.setTableName(upper);
    table.Open();
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.Fields(1)->DataType(), db::FieldType::ftDate);
    QStringList rows;
    for (table.First(); !table.Eof(); table.Next())
        rows << table.FieldByName("name")->AsString() + " " + table.FieldByName("BIRTHDATE")->AsString();
    // The deleted record is no row.
    EXPECT_EQ(rows, QStringList({"Alice 01.03.1987", "Bob 12.11.1980"}));
    EXPECT_EQ(table.RecordCount(), 2);

    // The second spelling joins the same open table instead of locking itself out.
    db::Table second;
    second.setTableName(copy);
    second.setExclusive(true);
    EXPECT_THROW(second.Open(), db::EngineError);
    second.setExclusive(false);
    second.Open();
    table.Edit();
    table.FieldByName("NAME")->setAsString("Bobby");
    table.Post();
    second.Last();
    EXPECT_EQ(second.FieldByName("NAME")->AsString(), "Bobby");
}
