#include "support/TestSupport.h"

#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "db/access/IsolatedRun.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace db::access;

namespace {

struct Outcome {
    bool ok = false;
    int code = 0;
    std::map<QString, int> rowsPerTable;
};

// Connects, lists and reads every user table; any failure must be an EngineError with a message.
Outcome readEverything(const QString& path)
{
    Outcome outcome;
    AccessConnection connection;
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
                                   + QStringLiteral(";Persist Security Info=False"));
    try {
        connection.connect();
        RecordSet schema = connection.openTablesSchema();
        QStringList tables;
        for (schema.first(); !schema.eof(); schema.next())
            if (schema.fieldByName(QStringLiteral("TABLE_TYPE")) == QStringLiteral("TABLE"))
                tables.append(schema.fieldByName(QStringLiteral("TABLE_NAME")));
        for (const QString& table : tables)
            outcome.rowsPerTable[table] = openAccessTable(connection, table)->recordCount();
        outcome.ok = true;
    } catch (const db::EngineError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        outcome.code = e.code();
    }
    return outcome;
}

QByteArray fixtureBytes(const QString& fixture)
{
    QFile f(testsupport::fixture(fixture));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QString writeVariant(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath(QStringLiteral("damaged.mdb"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path;
}

class ShortIdleTimeout : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = isolationIdleTimeoutMs();
        setIsolationIdleTimeoutMs(3000);
    }
    void TearDown() override { setIsolationIdleTimeoutMs(saved_); }

private:
    int saved_ = 0;
};

const char* const kFixtures[] = {"access/jackcess/testV1997.mdb", "access/jackcess/test2V1997.mdb",
                                 "access/jackcess/testUnicodeCompV2003.mdb", "access/jackcess/test2V2000.mdb"};

}  // namespace

// A copy cut short at a page boundary passes the header check and reaches the library: it is either read in full
// (the lost pages held nothing of the tables) or refused, never read with rows missing.
TEST_F(ShortIdleTimeout, TruncatedCopiesAreReadInFullOrRefused)
{
    QTemporaryDir dir;
    for (const char* fixture : kFixtures) {
        const QByteArray original = fixtureBytes(QString::fromLatin1(fixture));
        const Outcome intact = readEverything(testsupport::fixture(QString::fromLatin1(fixture)));
        ASSERT_TRUE(intact.ok) << fixture;
        const int pageSize = original.at(0x14) == 0 ? 2048 : 4096;
        const int pages = int(original.size() / pageSize);
        int refused = 0;
        for (int keep = 1; keep < pages; keep += std::max(1, pages / 24)) {
            SCOPED_TRACE(std::string(fixture) + " pages " + std::to_string(keep));
            const Outcome o = readEverything(writeVariant(dir, original.left(qsizetype(keep) * pageSize)));
            if (o.ok)
                EXPECT_EQ(o.rowsPerTable, intact.rowsPerTable);
            else
                ++refused;
        }
        EXPECT_GT(refused, 0) << fixture;
    }
}

// Random damage anywhere in the file, including the first page: the program keeps running and every failure is a
// clear EngineError.
TEST_F(ShortIdleTimeout, FlippedBytesNeverCrashTheProgram)
{
    QTemporaryDir dir;
    QRandomGenerator random(20240611);
    for (const char* fixture : kFixtures) {
        const QByteArray original = fixtureBytes(QString::fromLatin1(fixture));
        int refused = 0;
        for (int variant = 0; variant < 40; ++variant) {
            QByteArray bytes = original;
            const int flips = 1 + int(random.bounded(64));
            const bool onePage = variant % 2 == 0;  // concentrate on one page (a table definition, say) or spread
            const int pageSize = original.at(0x14) == 0 ? 2048 : 4096;
            const qsizetype page = random.bounded(int(original.size() / pageSize)) * qsizetype(pageSize);
            for (int i = 0; i < flips; ++i) {
                const qsizetype at = onePage ? page + random.bounded(pageSize) : random.bounded(int(bytes.size()));
                bytes[at] = char(bytes.at(at) ^ char(1 + random.bounded(255)));
            }
            SCOPED_TRACE(std::string(fixture) + " variant " + std::to_string(variant));
            if (!readEverything(writeVariant(dir, bytes)).ok)
                ++refused;
        }
        RecordProperty(fixture, refused);
    }
}
