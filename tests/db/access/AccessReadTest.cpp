#include "AccessOracle.h"
#include "support/TestSupport.h"

#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "db/access/AccessFile.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace db::access;

namespace {

QString connectionStringFor(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
           + QStringLiteral(";Persist Security Info=False");
}

struct ReadTable {
    std::vector<AccessColumn> columns;
    std::vector<db::Record> rows;
};

ReadTable readAll(const QString& path, const QString& table)
{
    ReadTable result;
    readAccessTable(
        path, table, [&](const std::vector<AccessColumn>& c) { result.columns = c; },
        [&](db::Record&& r) { result.rows.push_back(std::move(r)); });
    return result;
}

}  // namespace

// Every user table of every fixture, read through our layer, gives the values mdb-export prints, row by row.
TEST(AccessRead, EveryTableMatchesMdbExport)
{
    for (const QString& fixture : accesstest::readableFixtures()) {
        const QString path = testsupport::fixture(fixture);
        for (const QString& table : accesstest::tablesWithMdbTools(path)) {
            SCOPED_TRACE((fixture + QStringLiteral(" / ") + table).toStdString());
            const ReadTable ours = readAll(path, table);
            const std::vector<QStringList> expected = accesstest::exportWithMdbTools(path, table);
            ASSERT_EQ(ours.rows.size(), expected.size());
            for (std::size_t r = 0; r < expected.size(); ++r) {
                ASSERT_EQ(std::size_t(expected[r].size()), ours.columns.size()) << "row " << r;
                for (std::size_t c = 0; c < ours.columns.size(); ++c)
                    EXPECT_TRUE(accesstest::sameAsMdbExport(ours.rows[r][c], ours.columns[c].type, expected[r][int(c)]))
                        << "row " << r << " column " << ours.columns[c].name.toStdString() << ": ours "
                        << accesstest::asMdbExportText(ours.rows[r][c], ours.columns[c].type).toStdString()
                        << ", mdb-export " << expected[r][int(c)].toStdString();
            }
        }
    }
}

// Values checked against what the databases' authors published, independent of mdbtools: umlauts of Jet 3
// (code page text) and Jet 4 (compressed Unicode), numbers, dates, the empty table.
TEST(AccessRead, KnownValues)
{
    struct Case {
        const char* name;
        const char* fixture;
        const char* table;
        int row;
        int column;
        QVariant value;
    };
    const Case cases[] = {
        {"jet3 A umlaut", "access/jackcess/testIndexCodesV1997.mdb", "Table1", -1, 1, QStringLiteral("AAÄAA")},
        {"jet3 sharp s", "access/jackcess/testIndexCodesV1997.mdb", "Table1", -1, 1, QStringLiteral("AAßAA")},
        {"jet3 u umlaut", "access/jackcess/testIndexCodesV1997.mdb", "Table1", -1, 1, QStringLiteral("AAüAA")},
        {"jet4 compressed", "access/jackcess/testUnicodeCompV2003.mdb", "Table", 1, 1, QStringLiteral("ääkkösiä")},
        {"jet4 cyrillic", "access/jackcess/testUnicodeCompV2003.mdb", "Table", 2, 1, QStringLiteral("Мир")},
        {"jet4 umlaut", "access/jackcess/testUnicodeCompV2003.mdb", "Table", 6, 1, QStringLiteral("ümlaut")},
        {"text", "access/jackcess/testV1997.mdb", "Table1", 1, 0, QStringLiteral("abcdefg")},
        {"byte", "access/jackcess/testV1997.mdb", "Table1", 1, 2, 2},
        {"integer", "access/jackcess/testV1997.mdb", "Table1", 1, 3, 222},
        {"long", "access/jackcess/testV1997.mdb", "Table1", 1, 4, 333333333},
        {"double", "access/jackcess/testV1997.mdb", "Table1", 1, 5, 444.555},
        {"date", "access/jackcess/testV1997.mdb", "Table1", 1, 6,
         QDateTime(QDate(1974, 9, 21), QTime(0, 0), Qt::UTC)},
        {"currency", "access/jackcess/testV1997.mdb", "Table1", 1, 7, 3.5},
        {"yes", "access/jackcess/testV1997.mdb", "Table1", 1, 8, true},
        {"no", "access/jackcess/testV1997.mdb", "Table1", 0, 8, false},
        {"decimal negative", "access/jackcess/fixedNumericTestV2000.mdb", "test", 0, 5, -1.0},
        {"pound sign", "access/jackcess/test2V1997.mdb", "MSP_PROJECTS", 0, 9, QStringLiteral("£")},
        {"overflow row", "access/jackcess/overflowTestV1997.mdb", "Table1", 2, 7, QStringLiteral("row3col9")},
        {"date before 1899", "access/jackcess/testIndexCodesV1997.mdb", "Table6", -1, 1,
         QDateTime(QDate(1805, 6, 12), QTime(0, 0), Qt::UTC)},
        {"replication id", "access/jackcess/testIndexCodesV1997.mdb", "Table13", 0, 1,
         QStringLiteral("{8E39276A-BCA8-4AC4-891E-49911D8438DD}")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadTable t = readAll(testsupport::fixture(QString::fromLatin1(c.fixture)), QString::fromLatin1(c.table));
        if (c.row >= 0) {
            ASSERT_LT(std::size_t(c.row), t.rows.size());
            EXPECT_EQ(t.rows[std::size_t(c.row)][std::size_t(c.column)], c.value);
        } else {
            const bool found = std::any_of(t.rows.begin(), t.rows.end(), [&](const db::Record& r) {
                return r[std::size_t(c.column)] == c.value;
            });
            EXPECT_TRUE(found) << c.value.toString().toStdString();
        }
    }
}

TEST(AccessRead, EmptyTableGivesColumnsAndNoRows)
{
    const ReadTable t = readAll(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb")),
                                QStringLiteral("Table2"));
    EXPECT_EQ(t.columns.size(), 89u);
    EXPECT_TRUE(t.rows.empty());
}

TEST(AccessRead, FieldTypesOfTheColumns)
{
    const ReadTable t = readAll(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb")),
                                QStringLiteral("Table1"));
    using db::FieldType;
    const std::vector<std::pair<FieldType, int>> expected = {
        {FieldType::ftString, 50},  {FieldType::ftString, 100},  {FieldType::ftSmallint, 0},
        {FieldType::ftSmallint, 0}, {FieldType::ftInteger, 0},   {FieldType::ftFloat, 0},
        {FieldType::ftDateTime, 0}, {FieldType::ftCurrency, 0},  {FieldType::ftBoolean, 0}};
    ASSERT_EQ(t.columns.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const db::FieldDef f = fieldFor(t.columns[i]);
        EXPECT_EQ(f.type, expected[i].first) << i;
        EXPECT_EQ(f.size, expected[i].second) << i;
    }
    // Jet 4 stores the length of a text column in bytes of UCS-2; the field gets characters.
    const ReadTable users = readAll(testsupport::fixture(QStringLiteral("access/jackcess/fixedTextTestV2000.mdb")),
                                    QStringLiteral("users"));
    EXPECT_EQ(fieldFor(users.columns[1]).size, 32);
    // Memo and OLE become memo and binary blob.
    const ReadTable wide = readAll(testsupport::fixture(QStringLiteral("access/jackcess/test2V1997.mdb")),
                                   QStringLiteral("MSP_PROJECTS"));
    EXPECT_EQ(fieldFor(wide.columns[2]).type, FieldType::ftMemo);
    EXPECT_EQ(fieldFor(wide.columns.back()).type, FieldType::ftBlob);
}

TEST(AccessRead, DateValues)
{
    struct Case {
        const char* name;
        double value;
        QDateTime expected;
    };
    const Case cases[] = {
        {"day zero", 0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)},
        {"noon", 1.5, QDateTime(QDate(1899, 12, 31), QTime(12, 0), Qt::UTC)},
        {"before 1899 the time counts forward", -1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC)},
        {"milliseconds kept", 2.0 + 1.0 / 86400000.0 * 250, QDateTime(QDate(1900, 1, 1), QTime(0, 0, 0, 250), Qt::UTC)},
        {"rounding to the next day", 3.0 - 1e-10, QDateTime(QDate(1900, 1, 2), QTime(0, 0), Qt::UTC)},
        {"last day Access knows", 2958465.5, QDateTime(QDate(9999, 12, 31), QTime(12, 0), Qt::UTC)},
        {"first day Access knows", -657434.0, QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC)},
        {"after 9999", 2958466.0, QDateTime()},
        {"before 100", -657435.0, QDateTime()},
        {"not a number", std::nan(""), QDateTime()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(accessDateToDateTime(c.value), c.expected) << c.name;
}

TEST(AccessRead, UnknownTableIsRefused)
{
    try {
        readAll(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb")), QStringLiteral("Table 9"));
        FAIL() << "no error";
    } catch (const db::EngineError& e) {
        EXPECT_EQ(e.code(), db::ErrorCode::TableNotFound);
        EXPECT_TRUE(e.message().contains(QStringLiteral("\"Table 9\""))) << e.message().toStdString();
    }
}

TEST(AccessRead, TableNamesIgnoreCase)
{
    const ReadTable t = readAll(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb")),
                                QStringLiteral("TABLE1"));
    EXPECT_EQ(t.rows.size(), 2u);
}

// The storage a grid shows: the records in order, and no way to change them.
TEST(AccessTableStorage, ReadsRecordsAndRefusesWrites)
{
    AccessConnection connection;
    connection.setConnectionString(connectionStringFor(testsupport::fixture(QStringLiteral("access/jackcess/testV1997.mdb"))));
    connection.connect();
    const db::TableStoragePtr storage = openAccessTable(connection, QStringLiteral("Table1"));
    ASSERT_EQ(storage->recordCount(), 2);
    EXPECT_EQ(storage->fields().size(), 9u);
    EXPECT_EQ(storage->read(1)[0], QVariant(QStringLiteral("abcdefg")));
    EXPECT_FALSE(storage->readOnlyReason().isEmpty());

    const std::pair<const char*, std::function<void()>> writes[] = {
        {"insert", [&] { storage->insert(db::Record(9), 0); }},
        {"update", [&] { storage->update(0, db::Record(9)); }},
        {"remove", [&] { storage->remove(0); }},
        {"empty", [&] { storage->empty(); }},
    };
    for (const auto& [name, write] : writes) {
        try {
            write();
            ADD_FAILURE() << name << " did not raise";
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), db::ErrorCode::ReadOnlyTable) << name;
        }
    }
    EXPECT_EQ(storage->recordCount(), 2);
    EXPECT_EQ(openAccessTable(connection, QStringLiteral("Table2"))->recordCount(), 0);
}
