#include "db/OpenTables.h"
#include "db/Table.h"
#include "db/paradox/ParadoxStorage.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Records the table's files hold, read past the process's own registry; -1 when the table file is missing.
int recordsOnDisk(const QString& path)
{
    if (!QFileInfo::exists(path))
        return -1;
    return db::paradox::ParadoxStorage::open(path, db::OpenMode::Shared)->recordCount();
}

int recordsSeenBy(db::Table& table)
{
    table.Open();
    const int count = table.RecordCount();
    table.Close();
    return count;
}

// A closed scratch table of three records, created empty on disk.
void fillScratch(db::Table& table, const QString& path)
{
    table.setTableName(path);
    table.setScratch(true);
    table.FieldDefs().Clear();
    table.FieldDefs().Add(QStringLiteral("Name"), db::FieldType::ftString, 255);
    table.CreateTable();
    table.Open();
    for (const char* name : {"eins", "zwei", "drei"}) {
        table.Append();
        table.Fields(0)->setAsString(QString::fromLatin1(name));
        table.Post();
    }
    table.Close();
}

}  // namespace

TEST(ScratchTable, KeptRecordsAndWhatWritesThem)
{
    struct Case {
        const char* name;
        std::function<void(db::Table& scratch, const QString& path)> act;
        int seenByScratch;  // records a scratch cursor sees afterwards; -1: not asked (no table)
        int onDisk;         // records in the files; -1: no table file
    };
    const std::vector<Case> cases = {
        {"closed and opened again in the process", [](db::Table&, const QString&) {}, 3, 0},
        {"deleted before anything was written", [](db::Table& t, const QString&) { t.DeleteTable(); }, -1, -1},
        {"opened by a cursor without the flag",
         [](db::Table&, const QString& path) {
             db::Table plain;
             plain.setTableName(path);
             EXPECT_EQ(recordsSeenBy(plain), 3);
         },
         3, 3},
        {"opened exclusively by another scratch cursor",
         [](db::Table&, const QString& path) {
             db::Table other;
             other.setTableName(path);
             other.setScratch(true);
             other.setExclusive(true);
             EXPECT_EQ(recordsSeenBy(other), 3);
         },
         3, 3},
        {"flushed while open",
         [](db::Table& t, const QString&) {
             t.Open();
             t.FlushBuffers();
             t.Close();
         },
         3, 3},
        {"emptied while closed", [](db::Table& t, const QString&) { t.EmptyTable(); }, 0, 0},
        {"created anew", [](db::Table& t, const QString&) { t.CreateTable(); }, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ZSP.db"));
        db::Table scratch;
        fillScratch(scratch, path);
        c.act(scratch, path);
        if (c.seenByScratch >= 0) {
            EXPECT_EQ(recordsSeenBy(scratch), c.seenByScratch);
        }
        EXPECT_EQ(recordsOnDisk(path), c.onDisk);
        if (c.onDisk < 0) {
            EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        }
        // Nothing of the case stays in the process for the folder that goes away.
        if (QFileInfo::exists(path))
            scratch.DeleteTable();
    }
}

TEST(ScratchTable, UserTablesStillWriteWhenClosed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Kunden.db"));
    db::Table table;
    table.setTableName(path);
    table.FieldDefs().Add(QStringLiteral("Name"), db::FieldType::ftString, 20);
    table.CreateTable();
    table.Open();
    table.Append();
    table.Fields(0)->setAsString(QStringLiteral("Müller"));
    table.Post();
    table.Close();
    EXPECT_FALSE(db::OpenTables::version(db::OpenTables::keyFor(path)).has_value());
    EXPECT_EQ(recordsOnDisk(path), 1);
}
