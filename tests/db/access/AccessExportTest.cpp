#include "AccessOracle.h"
#include "support/TestSupport.h"

#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "db/access/AccessFile.h"
#include "db/paradox/ParadoxTable.h"
#include "rtl/CodePages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::access;

namespace {

QString selectInto(const QString& table, const QString& folder)
{
    return QStringLiteral("SELECT * INTO [") + table + QStringLiteral(".db] IN \"") + folder
           + QStringLiteral("\" \"Paradox 5.x;\" FROM ") + table;
}

void connectTo(AccessConnection& connection, const QString& fixture)
{
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                   + testsupport::fixture(fixture) + QStringLiteral(";Persist Security Info=False"));
    connection.connect();
}

std::vector<AccessColumn> columnsOf(const QString& path, const QString& table)
{
    std::vector<AccessColumn> columns;
    readAccessTable(path, table, [&](const std::vector<AccessColumn>& c) { columns = c; }, [](db::Record&&) {});
    return columns;
}

}  // namespace

// Every table of every fixture copied into Paradox and read back gives the values mdb-export prints; the row
// count returned is the number of rows copied, zero for an empty table.
TEST(AccessExport, EveryTableRoundTripsThroughParadox)
{
    for (const QString& fixture : accesstest::readableFixtures()) {
        const QString path = testsupport::fixture(fixture);
        AccessConnection connection;
        connectTo(connection, fixture);
        for (const QString& table : accesstest::tablesWithMdbTools(path)) {
            SCOPED_TRACE((fixture + QStringLiteral(" / ") + table).toStdString());
            QTemporaryDir dir;
            const std::vector<QStringList> expected = accesstest::exportWithMdbTools(path, table);
            const int rows = connection.execute(selectInto(table, dir.path()));
            EXPECT_EQ(std::size_t(rows), expected.size());

            const std::vector<AccessColumn> columns = columnsOf(path, table);
            const db::TableStoragePtr copy =
                db::paradox::open(QDir(dir.path()).filePath(table + QStringLiteral(".db")), db::OpenMode::Shared);
            ASSERT_EQ(copy->fields().size(), columns.size());
            for (std::size_t c = 0; c < columns.size(); ++c)
                EXPECT_EQ(copy->fields()[c].type, fieldFor(columns[c]).type) << columns[c].name.toStdString();
            ASSERT_EQ(std::size_t(copy->recordCount()), expected.size());
            for (int r = 0; r < copy->recordCount(); ++r) {
                const db::Record record = copy->read(r);
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    // A Paradox table holds code page 1252 text: what that code page lacks arrives as '?'.
                    QString printed = expected[std::size_t(r)][int(c)];
                    if (columns[c].type == AccessType::Text || columns[c].type == AccessType::Memo)
                        printed = rtl::decode(rtl::encode(printed, rtl::CodePage::Windows1252), rtl::CodePage::Windows1252);
                    EXPECT_TRUE(accesstest::sameAsMdbExport(record[c], columns[c].type, printed))
                        << "row " << r << " column " << columns[c].name.toStdString() << ": ours "
                        << accesstest::asMdbExportText(record[c], columns[c].type).toStdString() << ", mdb-export "
                        << printed.toStdString();
                }
            }
        }
    }
}

TEST(AccessExport, Statements)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    AccessConnection connection;
    connectTo(connection, QStringLiteral("access/jackcess/testV1997.mdb"));
    struct Case {
        const char* name;
        QString statement;
        int code;       // 0: runs
        int rows;
    };
    const Case cases[] = {
        {"as the wizard builds it", selectInto(QStringLiteral("Table1"), folder), 0, 2},
        {"bracketed source, other letter case",
         QStringLiteral("select * into [B.db] in \"%1\" \"Paradox 5.x;\" from [table1]").arg(folder), 0, 2},
        {"empty table", selectInto(QStringLiteral("Table3"), folder), 0, 0},
        {"name with blanks is taken whole",
         QStringLiteral("SELECT * INTO [X.db] IN \"%1\" \"Paradox 5.x;\" FROM Meine Tabelle 1").arg(folder),
         db::ErrorCode::TableNotFound, 0},
        {"target exists", selectInto(QStringLiteral("Table1"), folder), db::ErrorCode::InvalidState, 0},
        {"folder missing", selectInto(QStringLiteral("Table2"), folder + QStringLiteral("/none")),
         db::ErrorCode::IoError, 0},
        {"other target format",
         QStringLiteral("SELECT * INTO [C.dbf] IN \"%1\" \"dBase IV;\" FROM Table1").arg(folder),
         db::ErrorCode::NotSupported, 0},
        {"plain select", QStringLiteral("SELECT * FROM Table1"), db::ErrorCode::NotSupported, 0},
        {"delete", QStringLiteral("DELETE FROM Table1"), db::ErrorCode::NotSupported, 0},
    };
    for (const Case& c : cases) {
        try {
            const int rows = connection.execute(c.statement);
            EXPECT_EQ(c.code, 0) << c.name;
            EXPECT_EQ(rows, c.rows) << c.name;
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), c.code) << c.name << ": " << e.message().toStdString();
            if (c.code == db::ErrorCode::TableNotFound) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("\"Meine Tabelle 1\""))) << e.message().toStdString();
            }
        }
    }
    // A refused or failed statement leaves nothing behind.
    QStringList files = QDir(folder).entryList(QDir::Files);
    for (QString& f : files)
        f = f.toUpper();
    files.sort();
    EXPECT_FALSE(files.contains(QStringLiteral("X.DB")));
    EXPECT_FALSE(files.contains(QStringLiteral("C.DBF")));
}

TEST(AccessExport, NeedsAConnection)
{
    QTemporaryDir dir;
    AccessConnection connection;
    EXPECT_THROW(connection.execute(selectInto(QStringLiteral("Table1"), dir.path())), db::EngineError);
}

// Field names Paradox cannot hold are cut to 25 characters in the copy.
TEST(AccessExport, LongFieldNames)
{
    QTemporaryDir dir;
    AccessConnection connection;
    connectTo(connection, QStringLiteral("access/jackcess/test2V1997.mdb"));
    ASSERT_EQ(connection.execute(selectInto(QStringLiteral("MSP_PROJECTS"), dir.path())), 1);
    const db::TableStoragePtr copy =
        db::paradox::open(QDir(dir.path()).filePath(QStringLiteral("MSP_PROJECTS.db")), db::OpenMode::Shared);
    for (const db::FieldDef& f : copy->fields())
        EXPECT_LE(f.name.size(), 25) << f.name.toStdString();
    EXPECT_EQ(copy->fields()[10].name, QStringLiteral("PROJ_OPT_NEW_ARE_EFFORT_D"));
}
