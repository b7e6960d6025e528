// Block sizes: a table that outgrows the blocks it was made with moves to larger ones at the flush, a table keeps
// the blocks it has while they hold its records, and work that would bring more records than a table can ever hold
// is refused before it starts. pxlib reads what we write, as an independent reader (no blob fields: see
// ParadoxPxlibTest.cpp).

#include "ParadoxTestUtil.h"
#include "db/BatchMove.h"
#include "db/OpenTables.h"
#include "db/Table.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/ParadoxStorage.h"
#include "db/paradox/ParadoxTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

using namespace paradoxtest;
using db::FieldType;
using db::OpenMode;
using db::Record;

namespace {

// What pxlib reads of a table whose first field is a long integer and whose second an alpha field.
struct PxReader {
    pxdoc_t* doc = PX_new();
    explicit PxReader(const QString& path)
    {
        if (PX_open_file(doc, QFile::encodeName(path).constData()) < 0) {
            PX_delete(doc);
            doc = nullptr;
        }
    }
    ~PxReader()
    {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
    }
    int blockCode() const { return doc->px_head->px_maxtablesize; }
    std::pair<long, QString> keyAndName(int recno) const
    {
        std::pair<long, QString> result{-1, QString()};
        pxval_t** values = PX_retrieve_record(doc, recno);
        if (!values) return result;
        const int n = PX_get_num_fields(doc);
        for (int i = 0; i < n; ++i) {
            pxval_t* v = values[i];
            if (!v) continue;
            if (i == 0 && !v->isnull) result.first = v->value.lval;
            if (i == 1 && !v->isnull) result.second = QString::fromLatin1(v->value.str.val, v->value.str.len);
            if (v->type == pxfAlpha && v->value.str.val) doc->free(doc, v->value.str.val);
            doc->free(doc, v);
        }
        doc->free(doc, values);
        return result;
    }
};

// A long key and alpha fields that make records of recordSize bytes.
db::FieldDefList fieldsOfSize(int recordSize)
{
    db::FieldDefList fields{def(QStringLiteral("Nr"), FieldType::ftInteger)};
    int left = recordSize - 4;
    while (left > 0) {
        const int size = std::min(left, 255);
        fields.push_back(def(QStringLiteral("Text%1").arg(fields.size()), FieldType::ftString, size));
        left -= size;
    }
    return fields;
}

Record recordOf(int i, size_t fieldCount)
{
    Record r(fieldCount);
    r[0] = i;
    r[1] = QStringLiteral("Satz %1").arg(i);
    return r;
}

int storedBlockCode(const db::TableStorage& table)
{
    return dynamic_cast<const db::paradox::ParadoxStorage&>(table).header().blockSize / 1024;
}

// The road of the reported fault: a keyed table of records just big enough for three to a 2 KB block, filled past
// 65,535 such blocks. The flush moves it to 4 KB blocks, where more than 32,767 of them hold it.
TEST(ParadoxBlockSize, TableGrowsPastTheBlocksOfItsFirstSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("GROSS.DB"));
    const db::FieldDefList fields = fieldsOfSize(680);
    db::paradox::create(path, fields, 1);
    const int count = 3 * db::paradox::kMaxBlocks + 3395;  // 200,000
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        ASSERT_EQ(storedBlockCode(*table), 2);
        for (int i = 0; i < count; ++i) table->insertUnplaced(recordOf(i, fields.size()));
        table->flush();
        EXPECT_EQ(storedBlockCode(*table), 4);
    }

    auto table = db::paradox::open(path, OpenMode::Shared);
    const auto& header = dynamic_cast<const db::paradox::ParadoxStorage&>(*table).header();
    EXPECT_EQ(header.blockSize, 4096);
    EXPECT_EQ(header.fileBlocks, (count + 5) / 6);
    ASSERT_EQ(table->recordCount(), count);
    for (int row = 0; row < count; ++row) {
        const Record r = table->read(row);
        if (r[0] != QVariant(row) || r[1] != QVariant(QStringLiteral("Satz %1").arg(row))) {
            ADD_FAILURE() << "row " << row << " reads " << r[0].toInt() << " " << r[1].toString().toStdString();
            break;
        }
    }

    PxReader px(path);
    ASSERT_NE(px.doc, nullptr);
    EXPECT_EQ(px.blockCode(), 4);
    ASSERT_EQ(PX_get_num_records(px.doc), count);
    // pxlib looks a record up by walking the blocks before it: a sample, with the first and last of the blocks
    // numbered past 32,767 and the records around the old limit.
    std::vector<int> rows{0, 1, 6 * 32767 - 1, 6 * 32767, 3 * db::paradox::kMaxBlocks - 1, 3 * db::paradox::kMaxBlocks,
                          count - 2, count - 1};
    for (int row = 0; row < count; row += 9973) rows.push_back(row);
    for (const int row : rows) {
        const auto [key, name] = px.keyAndName(row);
        EXPECT_EQ(key, row);
        EXPECT_EQ(name, QStringLiteral("Satz %1").arg(row));
    }
}

// A new table gets the smallest block size that holds three of its records, among those real files of its level
// have: 2, 4, 16 and 32 KB. pxlib reads every one of them.
TEST(ParadoxBlockSize, NewTablesGetTheSmallestBlockForThreeRecords)
{
    struct Case {
        int recordSize;
        int blockCode;
    };
    const Case cases[] = {{680, 2}, {681, 4}, {1363, 4}, {1364, 16}, {2550, 16}, {5460, 32}, {10920, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recordSize);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("NEU.DB"));
        const db::FieldDefList fields = fieldsOfSize(c.recordSize);
        db::paradox::create(path, fields, 1);
        const int count = 7;
        {
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            for (int i = 0; i < count; ++i) table->insert(recordOf(i, fields.size()), table->recordCount());
        }
        auto table = db::paradox::open(path, OpenMode::Shared);
        EXPECT_EQ(storedBlockCode(*table), c.blockCode);
        ASSERT_EQ(table->recordCount(), count);
        EXPECT_EQ(table->read(count - 1)[1], QVariant(QStringLiteral("Satz %1").arg(count - 1)));
        PxReader px(path);
        ASSERT_NE(px.doc, nullptr);
        EXPECT_EQ(px.blockCode(), c.blockCode);
        ASSERT_EQ(PX_get_num_records(px.doc), count);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(px.keyAndName(i), std::make_pair(long(i), QStringLiteral("Satz %1").arg(i)));
    }
    EXPECT_NE(engineErrorCode([] {
                  QTemporaryDir dir;
                  db::paradox::create(dir.filePath(QStringLiteral("ZULANG.DB")), fieldsOfSize(10921), 1);
              }),
              0);
}

// Which block size a table moves to, by its file level: 16 and 32 KB only from level 7 on, and a table keeps the
// size it has (one another program chose) as long as that holds its records.
TEST(ParadoxBlockSize, GrowthFollowsTheFileLevel)
{
    using db::paradox::blockCodeFor;
    using db::paradox::kMaxBlocks;
    struct Case {
        const char* name;
        int fileVersion;
        int recordSize;
        qint64 records;
        int currentCode;
        int expected;
    };
    const Case cases[] = {
        {"162-byte records past 2 KB blocks", 0x0C, 162, 12LL * kMaxBlocks + 1, 2, 4},
        {"keyed 196-byte target past 2 KB blocks", 0x0C, 196, 10LL * kMaxBlocks + 1, 2, 4},
        {"level 7 skips 8 KB", 0x0C, 162, 25LL * kMaxBlocks + 1, 2, 16},
        {"level 7 up to 32 KB", 0x0C, 162, 202LL * kMaxBlocks, 2, 32},
        {"past 32 KB blocks", 0x0C, 162, 202LL * kMaxBlocks + 1, 2, 0},
        {"level 5 ends at 4 KB", 0x0B, 162, 25LL * kMaxBlocks, 2, 4},
        {"level 5 past 4 KB blocks", 0x0B, 162, 25LL * kMaxBlocks + 1, 2, 0},
        {"level 4 from 1 KB", 0x09, 100, 10LL * kMaxBlocks + 1, 1, 2},
        {"level 3 ends at 4 KB", 0x03, 106, 38LL * kMaxBlocks + 1, 1, 0},
        {"16 KB blocks another program chose stay", 0x0C, 36, 10, 16, 16},
        {"8 KB blocks another program chose stay, then 16", 0x0C, 36, 227LL * kMaxBlocks + 1, 8, 16},
        {"level 5 table with 4 KB blocks is full", 0x0B, 4090, kMaxBlocks + 1, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blockCodeFor(c.fileVersion, c.recordSize, c.records, c.currentCode), c.expected) << c.name;
}

// Tables written by other programs keep their block size when we write them.
TEST(ParadoxBlockSize, ExistingTableKeepsItsBlockSize)
{
    const std::pair<const char*, int> cases[] = {{"paradox/pdriver-geog/County.DB", 16},
                                                 {"paradox/pdriver-fields/date4.db", 2},
                                                 {"paradox/pdriver-areas/AREACODE.DB", 1}};
    for (const auto& [fixture, code] : cases) {
        SCOPED_TRACE(fixture);
        QTemporaryDir dir;
        const QString path = testsupport::copyTableTo(QString::fromLatin1(fixture), dir.path());
        int count = 0;
        {
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            ASSERT_EQ(storedBlockCode(*table), code);
            table->remove(0);
            count = table->recordCount();
        }
        auto table = db::paradox::open(path, OpenMode::Shared);
        EXPECT_EQ(storedBlockCode(*table), code);
        EXPECT_EQ(table->recordCount(), count);
    }
}

// A level 5 table cannot have blocks larger than 4 KB: filled to what 65,535 of them hold, it grows to them and
// refuses the next record with its limit in words, and keeps every record it took.
TEST(ParadoxBlockSize, TableFullAtTheLargestBlocksOfItsLevelRefusesTheNextRecord)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-fields/bytes.db"), dir.path());
    const qint64 capacity = 16LL * db::paradox::kMaxBlocks;  // 255-byte records
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        ASSERT_EQ(storedBlockCode(*table), 2);
        ASSERT_EQ(table->recordCapacity(), capacity);
        const Record blank{QVariant()};
        while (table->recordCount() < capacity) table->insert(blank, table->recordCount());
        QString message;
        try {
            table->insert(blank, table->recordCount());
        } catch (const db::EngineError& e) {
            message = e.message();
        }
        EXPECT_TRUE(message.contains(QStringLiteral("höchstens %1 Sätze").arg(capacity))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("4 KB"))) << message.toStdString();
        table->flush();
    }
    auto table = db::paradox::open(path, OpenMode::Shared);
    EXPECT_EQ(table->recordCount(), capacity);
    EXPECT_EQ(storedBlockCode(*table), 4);
    PxReader px(path);
    ASSERT_NE(px.doc, nullptr);
    EXPECT_EQ(px.blockCode(), 4);
    EXPECT_EQ(PX_get_num_records(px.doc), capacity);
}

// A run asks before its first record whether the target can hold what is coming: a new table by its field
// definitions, an open one by its records and file level. The limit is in the message.
TEST(ParadoxBlockSize, WorkThatCannotBeHeldIsRefusedBeforeItStarts)
{
    const auto refusal = [](db::Table& table, qint64 more) {
        try {
            table.CheckRoomFor(more);
        } catch (const db::EngineError& e) {
            return e.message();
        }
        return QString();
    };
    QTemporaryDir dir;

    // Ten text columns of 255 characters: twelve records to a 32 KB block.
    db::Table staging;
    staging.setTableName(dir.filePath(QStringLiteral("ZSP.db")));
    for (int i = 0; i < 10; ++i) staging.FieldDefs().Add(QStringLiteral("Feld%1").arg(i + 1), FieldType::ftString, 255);
    EXPECT_EQ(staging.RecordCapacity(), 786420);
    EXPECT_EQ(refusal(staging, 786420), QString());
    EXPECT_TRUE(refusal(staging, 1000000).contains(QStringLiteral("höchstens 786420 Sätze")))
        << refusal(staging, 1000000).toStdString();

    // A level 4 table can grow to 4 KB blocks: 127 of its 32-byte records to a block.
    db::Table zip;
    zip.setTableName(testsupport::copyTableTo(QStringLiteral("paradox/pdriver-areas/ZIPCODES.DB"), dir.path()));
    zip.Open();
    const qint64 capacity = 127LL * db::paradox::kMaxBlocks;
    EXPECT_EQ(zip.RecordCapacity(), capacity);
    EXPECT_EQ(refusal(zip, capacity - zip.RecordCount()), QString());
    EXPECT_FALSE(refusal(zip, capacity - zip.RecordCount() + 1).isEmpty());
}

// A batch move asks the same before its first record: a level 5 table of 255-byte records, 16 to its largest
// (4 KB) block, cannot take one more record than 65,535 such blocks hold, and keeps what it has.
TEST(ParadoxBlockSize, BatchMoveIntoATableTooSmallMovesNothing)
{
    QTemporaryDir dir;
    const QString target = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-fields/bytes.db"), dir.path());
    const QString sourcePath = dir.filePath(QStringLiteral("QUELLE.DB"));
    const qint64 capacity = 16LL * db::paradox::kMaxBlocks;
    db::paradox::create(sourcePath, {def(QStringLiteral("B"), FieldType::ftString, 1)}, 0);
    {
        auto source = db::paradox::open(sourcePath, OpenMode::Exclusive);
        const Record record{QStringLiteral("b")};
        for (qint64 i = 0; i < capacity; ++i) source->insert(record, source->recordCount());
    }
    db::Table source;
    source.setTableName(sourcePath);
    db::Table destination;
    destination.setTableName(target);
    db::BatchMove mover;
    mover.setSource(&source);
    mover.setDestination(&destination);
    mover.setMode(db::batAppend);
    QString message;
    try {
        mover.Execute();
    } catch (const db::EngineError& e) {
        message = e.message();
    }
    EXPECT_TRUE(message.contains(QStringLiteral("höchstens %1 Sätze").arg(capacity))) << message.toStdString();
    EXPECT_EQ(mover.MovedCount(), 0);
    destination.Open();
    EXPECT_EQ(destination.RecordCount(), 1);
}

// A close that cannot write the table raises its error once; the storage does not try the same write again when
// it goes away.
TEST(ParadoxBlockSize, FailedCloseRaisesOnce)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-db/CONTACTS.DB"), dir.path());
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtWarningMsg) warnings << text;
        });
    int raised = 0;
    {
        db::Table table;
        table.setTableName(path);
        table.Open();
        const int before = table.RecordCount();
        table.Append();
        table.Fields(0)->setAsString(QStringLiteral("Neu"));
        table.Post();
        // A folder where the flush writes its scratch file makes every try fail alike.
        ASSERT_TRUE(QDir().mkdir(path + QStringLiteral(".new~")));
        try {
            table.Close();
        } catch (const db::EngineError&) {
            ++raised;
        }
        QDir().rmdir(path + QStringLiteral(".new~"));
        EXPECT_FALSE(db::OpenTables::isOpen(db::OpenTables::keyFor(path)));
        table.Open();
        EXPECT_EQ(table.RecordCount(), before);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
