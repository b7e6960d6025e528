// A flush that dies before any one of its writes leaves the table as it was before the flush or as the flush
// meant to leave it, never anything between: every crash point of a flush is tried in turn, in a child process that
// ends itself there. The memo file's end marker never lies before the file's end, and the next writer can go on.
// A flush that died after its journal is undone by the next writer, even when that one dies while undoing it, and
// the undoing leaves the .DBF as it was, end marker and size included: readers that go by the marker rather than the
// count (dbfread) must not find the undone records behind the count.

#include "support/FieldDefs.h"
#include "CrashPoints.h"

#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace db;

namespace {

using testsupport::def;
using testsupport::fileBytes;

Record row(const char* name, const QString& memo, double n)
{
    return {QString::fromLatin1(name), memo.isNull() ? QVariant() : QVariant(memo), n};
}

void copyFolder(const QString& from, const QString& to)
{
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

std::vector<Record> contents(const QString& path)
{
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    std::vector<Record> records;
    for (int r = 0; r < t->recordCount(); ++r)
        records.push_back(t->read(r));
    return records;
}

// Runs work in a child process that dies before its writes-th write; returns whether it died there (false: the
// work finished first).
bool diesAt(int writes, const std::function<void()>& work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            crashpoints::arm(writes);
            work();
            crashpoints::disarm();
            _exit(0);
        } catch (const EngineError& e) {
            std::fprintf(stderr, "child: %s\n", e.what());
        } catch (...) {
        }
        _exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == crashpoints::kCrashed)
        << "exit status " << WEXITSTATUS(status);
    return WEXITSTATUS(status) == crashpoints::kCrashed;
}

// The memo file's next free block (dBase IV, without a free list) lies at or behind the file's end.
::testing::AssertionResult markerCoversTheFile(const QString& memoPath)
{
    const QByteArray memo = fileBytes(memoPath);
    const std::uint32_t marker = std::uint8_t(memo[0]) | (std::uint8_t(memo[1]) << 8) |
                                 (std::uint8_t(memo[2]) << 16) | (std::uint32_t(std::uint8_t(memo[3])) << 24);
    const std::uint32_t blocks = std::uint32_t((memo.size() + 511) / 512);
    if (marker >= blocks)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "marker " << marker << " before the end of " << blocks << " blocks";
}

// Two .DBF images are the same file but for the date of the last change (header bytes 1 to 3).
::testing::AssertionResult sameBesidesDate(QByteArray a, QByteArray b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << a.size() << " bytes instead of " << b.size();
    a.replace(1, 3, QByteArray(3, '\0'));
    b.replace(1, 3, QByteArray(3, '\0'));
    if (a != b)
        return ::testing::AssertionFailure() << "the bytes differ";
    return ::testing::AssertionSuccess();
}

struct FlushCase {
    const char* name;
    std::function<void(TableStorage&)> changes;  // made before the flush, on the five records of base()
};

std::vector<Record> base()
{
    return {row("eins", QStringLiteral("erstes Memo"), 1), row("zwei", QString(), 2),
            row("drei", QStringLiteral("drittes Memo").repeated(60), 3), row("vier", QStringLiteral("viertes"), 4),
            row("fuenf", QStringLiteral("fünftes"), 5)};
}

class DbaseCrashPoint : public ::testing::TestWithParam<FlushCase> {};

TEST_P(DbaseCrashPoint, FlushLeavesTheOldOrTheNewState)
{
    const FlushCase& c = GetParam();
    QTemporaryDir pristine;
    const QString table = QStringLiteral("C.DBF");
    dbase::create(QDir(pristine.path()).filePath(table),
                  {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo), def("N", FieldType::ftFloat)});
    {
        const TableStoragePtr t = dbase::open(QDir(pristine.path()).filePath(table), OpenMode::Shared);
        for (const Record& r : base())
            t->insert(r, t->recordCount());
    }
    const std::vector<Record> before = contents(QDir(pristine.path()).filePath(table));
    const QByteArray pristineDbf = fileBytes(QDir(pristine.path()).filePath(table));
    ASSERT_EQ(before.size(), 5u);

    // The state the flush means to leave: the same changes flushed without dying.
    QTemporaryDir reference;
    copyFolder(pristine.path(), reference.path());
    {
        const TableStoragePtr t = dbase::open(QDir(reference.path()).filePath(table), OpenMode::Shared);
        c.changes(*t);
    }
    const std::vector<Record> after = contents(QDir(reference.path()).filePath(table));
    ASSERT_NE(after, before);

    int crashPoints = 0;
    int old = 0;
    for (int writes = 0;; ++writes) {
        ASSERT_LT(writes, 100) << "the flush never finishes";
        QTemporaryDir dir;
        copyFolder(pristine.path(), dir.path());
        const QString path = QDir(dir.path()).filePath(table);
        const bool died = diesAt(writes, [&] {
            const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
            c.changes(*t);
        });
        EXPECT_TRUE(markerCoversTheFile(QDir(dir.path()).filePath(QStringLiteral("C.DBT")))) << "write " << writes;
        const bool journal = QFile::exists(path + QStringLiteral("-journal"));

        // Whoever opens next and dies while recovering leaves it for the one after.
        if (died && journal) {
            for (int recoveryWrites = 0; diesAt(recoveryWrites, [&] { dbase::open(path, OpenMode::Shared); });
                 ++recoveryWrites)
                ASSERT_LT(recoveryWrites, 100);
        }
        std::vector<Record> now;
        ASSERT_NO_THROW(now = contents(path)) << "write " << writes;
        if (died && journal) {
            EXPECT_TRUE(sameBesidesDate(fileBytes(path), pristineDbf)) << "undone before write " << writes;
        }
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal"))) << "write " << writes;
        if (!died) {
            EXPECT_EQ(now, after);
            break;
        }
        ++crashPoints;
        if (now == before)
            ++old;
        else
            EXPECT_EQ(now, after) << "dying before write " << writes << " left a state between";

        // The next writer goes on from there.
        {
            const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
            t->insert(row("danach", QStringLiteral("neues Memo"), 9), t->recordCount());
        }
        const std::vector<Record> next = contents(path);
        ASSERT_EQ(next.size(), now.size() + 1);
        EXPECT_EQ(next.back(), row("danach", QStringLiteral("neues Memo"), 9));
        EXPECT_EQ(std::vector<Record>(next.begin(), next.end() - 1), now);
    }
    // Every write of the flush was a crash point, and dying at most of them kept the old state.
    EXPECT_GE(crashPoints, 3);
    EXPECT_GE(old, 2);
}

// A flush that fails because the disk is full, at any one of its writes, reports it and leaves the table as it was,
// with no journal or other file of its own left in the folder; its changes wait, and the next flush writes them.
TEST_P(DbaseCrashPoint, FailedFlushLeavesTheOldStateAndNoFileOfItsOwn)
{
    const FlushCase& c = GetParam();
    QTemporaryDir pristine;
    const QString table = QStringLiteral("C.DBF");
    const QString pristinePath = QDir(pristine.path()).filePath(table);
    dbase::create(pristinePath,
                  {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo), def("N", FieldType::ftFloat)});
    {
        const TableStoragePtr t = dbase::open(pristinePath, OpenMode::Shared);
        for (const Record& r : base())
            t->insert(r, t->recordCount());
    }
    const std::vector<Record> before = contents(pristinePath);
    const QByteArray pristineDbf = fileBytes(pristinePath);
    QTemporaryDir reference;
    copyFolder(pristine.path(), reference.path());
    c.changes(*dbase::open(QDir(reference.path()).filePath(table), OpenMode::Shared));
    const std::vector<Record> after = contents(QDir(reference.path()).filePath(table));

    int failures = 0;
    for (int writes = 0;; ++writes) {
        ASSERT_LT(writes, 100) << "the flush never finishes";
        QTemporaryDir dir;
        copyFolder(pristine.path(), dir.path());
        const QString path = QDir(dir.path()).filePath(table);
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        bool failed = false;
        crashpoints::failAt(writes, ENOSPC);
        try {
            c.changes(*t);
        } catch (const EngineError& e) {
            failed = true;
            EXPECT_EQ(e.code(), ErrorCode::IoError) << e.what();
        }
        crashpoints::disarm();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{table, QStringLiteral("C.DBT")}))
            << "write " << writes;
        if (!failed) {
            EXPECT_EQ(contents(path), after);
            break;
        }
        ++failures;
        EXPECT_TRUE(sameBesidesDate(fileBytes(path), pristineDbf)) << "failing write " << writes;
        EXPECT_EQ(contents(path), before) << "failing write " << writes;
        t->flush();
        EXPECT_EQ(contents(path), after) << "failing write " << writes;
    }
    EXPECT_GE(failures, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Flushes, DbaseCrashPoint,
    ::testing::Values(
        FlushCase{"NewRecordsWithMemos",
                  [](TableStorage& t) {
                      t.insert(row("sechs", QStringLiteral("sechstes Memo"), 6), t.recordCount());
                      t.insert(row("sieben", QString(), 7), t.recordCount());
                      t.insert(row("acht", QStringLiteral("großes Memo ").repeated(300), 8), t.recordCount());
                      t.flush();
                  }},
        FlushCase{"ChangesDeletesAndNewRecords",
                  [](TableStorage& t) {
                      t.update(1, row("ZWEI", QStringLiteral("neues Memo"), 22));
                      t.update(3, row("VIER", QStringLiteral("viertes"), 44));  // the memo stays
                      t.remove(2);
                      t.insert(row("sechs", QStringLiteral("sechstes Memo"), 6), t.recordCount());
                      t.insert(row("sieben", QStringLiteral("weg"), 7), t.recordCount());
                      t.update(4, row("SECHS", QStringLiteral("geändert"), 66));
                      t.remove(5);
                      t.flush();
                  }},
        FlushCase{"DeletesOnly",
                  [](TableStorage& t) {
                      t.remove(4);
                      t.remove(0);
                      t.flush();
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
