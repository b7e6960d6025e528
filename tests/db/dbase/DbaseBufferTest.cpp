// Changes wait in memory until a flush: they read back at once, leave the files alone until the flush (or until
// they outgrow the buffer), and a flush that fails keeps them and the files. Reading goes through blocks of records
// and a window of the memo file read ahead; their edges (a last block cut short, deleted records inside a block,
// records and memos larger than a block) read the same as any record.

#include "support/FieldDefs.h"
#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

using namespace db;

namespace {

using testsupport::def;
using testsupport::fileBytes;

std::vector<Record> contents(const TableStorage& t)
{
    std::vector<Record> records;
    for (int r = 0; r < t.recordCount(); ++r)
        records.push_back(t.read(r));
    return records;
}

std::vector<Record> contents(const QString& path)
{
    return contents(*dbase::open(path, OpenMode::Shared));
}

Record rec(const char* name, const char* memo, double n)
{
    return {QString::fromUtf8(name), memo ? QVariant(QString::fromUtf8(memo)) : QVariant(), n};
}

// --- changes waiting for the flush ----------------------------------------------------------------------------------

struct BufferCase {
    const char* name;
    std::function<void(TableStorage&)> changes;  // on the three records of the table
    std::vector<Record> expected;                 // the table afterwards
    bool counted;                                 // whether cursors are told of a change
    bool filesChange;                             // whether the flush has anything to write
};

class DbaseBuffer : public ::testing::TestWithParam<BufferCase> {};

TEST_P(DbaseBuffer, ChangesReadBackAndReachTheFilesAtTheFlush)
{
    const BufferCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("B.DBF"));
    const QString memoPath = dir.filePath(QStringLiteral("B.DBT"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo),
                         def("N", FieldType::ftFloat)});
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        for (const Record& r : {rec("eins", "Memo eins", 1), rec("zwei", nullptr, 2), rec("drei", "Memo drei", 3)})
            t->insert(r, t->recordCount());
    }
    const QByteArray dbfBefore = fileBytes(path);
    const QByteArray memoBefore = fileBytes(memoPath);
    const std::vector<Record> before = contents(path);

    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    const std::uint64_t changesBefore = t->changeCount();
    c.changes(*t);
    EXPECT_EQ(contents(*t), c.expected);
    EXPECT_EQ(fileBytes(path), dbfBefore);
    EXPECT_EQ(fileBytes(memoPath), memoBefore);
    EXPECT_EQ(contents(path), before);
    EXPECT_EQ(t->changeCount() != changesBefore, c.counted);

    t->flush();
    EXPECT_EQ(contents(*t), c.expected);
    EXPECT_EQ(contents(path), c.expected);
    EXPECT_EQ(fileBytes(path) != dbfBefore, c.filesChange);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DbaseBuffer,
    ::testing::Values(
        BufferCase{"NewRecords",
                   [](TableStorage& t) {
                       t.insert(rec("vier", "Memo vier", 4), 0);
                       t.insert(rec("fünf", nullptr, 5), 0);
                   },
                   {rec("eins", "Memo eins", 1), rec("zwei", nullptr, 2), rec("drei", "Memo drei", 3),
                    rec("vier", "Memo vier", 4), rec("fünf", nullptr, 5)},
                   true, true},
        BufferCase{"ChangedNewRecord",
                   [](TableStorage& t) {
                       t.insert(rec("vier", "Memo vier", 4), 3);
                       t.update(3, rec("VIER", "anderes Memo", 44));
                       t.update(3, rec("VIER", "anderes Memo", 45));
                   },
                   {rec("eins", "Memo eins", 1), rec("zwei", nullptr, 2), rec("drei", "Memo drei", 3),
                    rec("VIER", "anderes Memo", 45)},
                   true, true},
        BufferCase{"NewRecordDeletedBeforeTheFlush",
                   [](TableStorage& t) {
                       t.insert(rec("vier", "Memo vier", 4), 3);
                       t.remove(3);
                   },
                   {rec("eins", "Memo eins", 1), rec("zwei", nullptr, 2), rec("drei", "Memo drei", 3)}, true,
                   false},
        BufferCase{"ChangedRecordsOfTheFile",
                   [](TableStorage& t) {
                       t.update(0, rec("EINS", "Memo eins", 11));  // the memo stays
                       t.update(1, rec("zwei", "jetzt mit Memo", 2));
                       t.update(2, rec("drei", nullptr, 3));
                   },
                   {rec("EINS", "Memo eins", 11), rec("zwei", "jetzt mit Memo", 2), rec("drei", nullptr, 3)}, true,
                   true},
        BufferCase{"ChangedTwiceThenDeleted",
                   [](TableStorage& t) {
                       t.update(1, rec("ZWEI", "neu", 22));
                       t.update(1, rec("ZWEI", "neuer", 23));
                       t.remove(1);
                       t.remove(0);
                   },
                   {rec("drei", "Memo drei", 3)}, true, true},
        BufferCase{"UnchangedValues",
                   [](TableStorage& t) {
                       t.update(0, rec("eins", "Memo eins", 1));
                       t.update(1, rec("zwei", nullptr, 2));
                   },
                   {rec("eins", "Memo eins", 1), rec("zwei", nullptr, 2), rec("drei", "Memo drei", 3)}, false,
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// Two writers: each one's records reach the table at its flush, behind whatever the other flushed before.
TEST(DbaseBufferWriters, NewRecordsGoBehindThoseFlushedMeanwhile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("W.DBF"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo),
                         def("N", FieldType::ftFloat)});
    const TableStoragePtr a = dbase::open(path, OpenMode::Shared);
    const TableStoragePtr b = dbase::open(path, OpenMode::Shared);
    a->insert(rec("a1", "von A", 1), 0);
    a->insert(rec("a2", nullptr, 2), 1);
    b->insert(rec("b1", "von B", 3), 0);
    b->flush();
    EXPECT_EQ(contents(*a), (std::vector<Record>{rec("a1", "von A", 1), rec("a2", nullptr, 2)}));
    const std::uint64_t seen = a->changeCount();
    a->flush();
    EXPECT_NE(a->changeCount(), seen);  // the cursors learn that rows moved
    const std::vector<Record> expected{rec("b1", "von B", 3), rec("a1", "von A", 1), rec("a2", nullptr, 2)};
    EXPECT_EQ(contents(*a), expected);
    EXPECT_EQ(contents(path), expected);
    // A's change of a record B wrote, and B's of one A wrote, each on the other's image.
    a->update(0, rec("b1", "von A geändert", 3));
    b->flush();
    b->update(1, rec("a1", "von B geändert", 1));
    a->flush();
    b->flush();
    EXPECT_EQ(contents(path),
              (std::vector<Record>{rec("b1", "von A geändert", 3), rec("a1", "von B geändert", 1), rec("a2", nullptr, 2)}));
}

// A writer that keeps writing without flushing writes whenever its waiting changes pass a few megabytes, so that
// memory stays bounded; everything is there after the flush.
TEST(DbaseBufferLimit, LargeChangesAreWrittenBeforeTheFlush)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("L.DBF"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo),
                         def("N", FieldType::ftFloat)});
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    const QString big = QStringLiteral("x").repeated(300000);
    for (int i = 0; i < 30; ++i)
        t->insert({QString::number(i), big + QString::number(i), i}, t->recordCount());
    const int written = int(contents(path).size());
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 30);
    EXPECT_LT(fileBytes(dir.filePath(QStringLiteral("L.DBT"))).size(), 30 * 300000);
    t->update(0, {QStringLiteral("null"), QStringLiteral("kurz"), 0});  // a record written meanwhile
    t->flush();
    const std::vector<Record> all = contents(path);
    ASSERT_EQ(all.size(), 30u);
    EXPECT_EQ(all[0], (Record{QStringLiteral("null"), QStringLiteral("kurz"), 0.0}));
    for (int i = 1; i < 30; ++i)
        EXPECT_EQ(all[size_t(i)][1].toString(), big + QString::number(i)) << i;
}

// A flush that fails keeps the files as they were and the changes waiting, so that a later flush can write them.
TEST(DbaseBufferFailure, FailedFlushKeepsFilesAndChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("F.DBF"));
    const QString memoPath = dir.filePath(QStringLiteral("F.DBT"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo),
                         def("N", FieldType::ftFloat)});
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        t->insert(rec("eins", "Memo eins", 1), 0);
    }
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    t->update(0, rec("EINS", "neues Memo", 11));
    t->insert(rec("zwei", "Memo zwei", 2), 1);
    const QByteArray dbfBefore = fileBytes(path);
    const QByteArray memoGood = fileBytes(memoPath);

    // The memo file's free list turns bad behind the writer's back: the memos cannot be written.
    QByteArray memoBad = memoGood;
    memoBad.append(QByteArray(512, '\0'));
    memoBad[0] = 2;  // the free list starts at block 2, whose entry points backwards
    {
        QFile f(memoPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(memoBad);
    }
    EXPECT_THROW(t->flush(), EngineError);
    EXPECT_EQ(fileBytes(path), dbfBefore);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
    const std::vector<Record> expected{rec("EINS", "neues Memo", 11), rec("zwei", "Memo zwei", 2)};
    EXPECT_EQ(contents(*t), expected);
    EXPECT_EQ(contents(path), (std::vector<Record>{rec("eins", "Memo eins", 1)}));

    {
        QFile f(memoPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(memoGood);
    }
    t->flush();
    EXPECT_EQ(contents(path), expected);
}

// --- reading ahead --------------------------------------------------------------------------------------------------

struct ReadAheadCase {
    const char* name;
    int texts;       // text fields of width bytes: they set how many records a block holds
    int width;
    int blocks;      // records: this many blocks' worth ...
    int extra;       // ... and this many more (a last block cut short)
    std::function<std::vector<int>(int perBlock, int count)> deleted;  // records deleted in the file
};

class DbaseReadAhead : public ::testing::TestWithParam<ReadAheadCase> {};

QString memoFor(int i)
{
    // Sizes around the memo file's blocks and its read-ahead window (64 KB with the 8 bytes of the memo's head),
    // none at all, and mostly short ones.
    static const int sizes[] = {0, 1, 503, 504, 505, 1000, 65528, 65529, 70000};
    const int size = i % 50 < 9 ? sizes[i % 50] : 12 + i % 7;
    if (size == 0)
        return {};
    return QString(QChar(u'a' + i % 26)).repeated(std::max(0, size - 4)) +
           QStringLiteral("%1").arg(i % 10000, 4, 10, QLatin1Char('0')).right(size);
}

Record sample(int i, int texts, int width)
{
    Record r;
    for (int t = 0; t < texts; ++t)
        r.push_back(QStringLiteral("%1-%2").arg(i).arg(t).repeated(width / 3).left(width));
    r.push_back(i);
    const QString memo = memoFor(i);
    r.push_back(memo.isEmpty() ? QVariant() : QVariant(memo));
    return r;
}

TEST_P(DbaseReadAhead, EveryOrderReadsTheRecords)
{
    const ReadAheadCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("R.DBF"));
    FieldDefList defs;
    for (int t = 0; t < c.texts; ++t)
        defs.push_back(def(qPrintable(QStringLiteral("T%1").arg(t)), FieldType::ftString, c.width));
    defs.push_back(def("N", FieldType::ftInteger));
    defs.push_back(def("NOTE", FieldType::ftMemo));
    dbase::create(path, defs);
    const QByteArray head = fileBytes(path);
    const int recordLength = std::uint8_t(head[10]) | (std::uint8_t(head[11]) << 8);
    const int perBlock = std::max(1, 65536 / recordLength);
    const int count = c.blocks * perBlock + c.extra;
    const std::vector<int> gone = c.deleted ? c.deleted(perBlock, count) : std::vector<int>();
    std::vector<Record> expected;
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Exclusive);
        for (int i = 0; i < count; ++i)
            t->insert(sample(i, c.texts, c.width), t->recordCount());
        t->flush();
        std::vector<int> descending = gone;
        std::sort(descending.begin(), descending.end(), std::greater<int>());
        for (int d : descending)
            t->remove(d);
        for (int i = 0; i < count; ++i)
            if (std::find(gone.begin(), gone.end(), i) == gone.end())
                expected.push_back(sample(i, c.texts, c.width));
    }
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(t->recordCount(), int(expected.size()));
    const int n = t->recordCount();
    for (int r = 0; r < n; ++r)
        ASSERT_EQ(t->read(r), expected[size_t(r)]) << "forward, row " << r;
    for (int r = n - 1; r >= 0; --r)
        ASSERT_EQ(t->read(r), expected[size_t(r)]) << "backward, row " << r;
    for (int step = 0, r = 0; step < n; ++step, r = (r + perBlock + 3) % n)
        ASSERT_EQ(t->read(r), expected[size_t(r)]) << "leaping, row " << r;
    EXPECT_THROW(t->read(n), EngineError);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, DbaseReadAhead,
    ::testing::Values(
        ReadAheadCase{"OneRecord", 1, 60, 0, 1, nullptr},
        ReadAheadCase{"LastBlockCutShort", 1, 60, 2, 7, nullptr},
        ReadAheadCase{"WholeBlocks", 1, 60, 3, 0, nullptr},
        ReadAheadCase{"DeletedAtTheBlockEdges", 1, 60, 3, 5,
                      [](int perBlock, int count) {
                          return std::vector<int>{0, perBlock - 1, perBlock, 2 * perBlock - 1, 2 * perBlock,
                                                  count - 1};
                      }},
        ReadAheadCase{"WholeBlockDeleted", 4, 60, 3, 1,
                      [](int perBlock, int) {
                          std::vector<int> block;
                          for (int i = perBlock; i < 2 * perBlock; ++i)
                              block.push_back(i);
                          return block;
                      }},
        ReadAheadCase{"LargestRecords", 15, 254, 1, 2,
                      [](int perBlock, int) { return std::vector<int>{perBlock - 1}; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A reader's memo window must not hand out what another writer appended after it was read.
TEST(DbaseReadAheadWriters, MemosOfOthersReadAfterCatchingUp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O.DBF"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo),
                         def("N", FieldType::ftFloat)});
    const TableStoragePtr a = dbase::open(path, OpenMode::Shared);
    const TableStoragePtr b = dbase::open(path, OpenMode::Shared);
    for (int i = 0; i < 5; ++i)
        a->insert(rec("a", "kurzes Memo von A", i), a->recordCount());
    a->flush();
    ASSERT_EQ(contents(*a).size(), 5u);  // A's window now holds the memo file's end
    b->flush();                           // B catches up
    b->update(4, rec("a", "von B geändert", 4));
    for (int i = 0; i < 3; ++i)
        b->insert(rec("b", "Memo von B", i), b->recordCount());
    b->flush();
    a->insert(rec("a", "noch eins", 9), a->recordCount());
    a->flush();  // A catches up: five records of its own, B's three, its new one
    std::vector<Record> expected;
    for (int i = 0; i < 4; ++i)
        expected.push_back(rec("a", "kurzes Memo von A", i));
    expected.push_back(rec("a", "von B geändert", 4));
    for (int i = 0; i < 3; ++i)
        expected.push_back(rec("b", "Memo von B", i));
    expected.push_back(rec("a", "noch eins", 9));
    EXPECT_EQ(contents(*a), expected);
    EXPECT_EQ(contents(path), expected);
}

}  // namespace
