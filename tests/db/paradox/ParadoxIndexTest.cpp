// The primary index we write is a sound tree: walked from its root, every leaf entry names the data block that
// starts with its key and holds its record count, the leaves list the data blocks in chain order, every upper entry
// carries the first key and the summed count of the block below it, keys rise strictly, and the header's figures
// (root, levels, entries, blocks) agree with what the walk finds.

#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/ParadoxTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <set>

using db::getU16;
using db::getU32;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

int indexShort(const char* p)
{
    return int(((std::uint8_t(p[0]) << 8) | std::uint8_t(p[1])) ^ 0x8000);
}

struct DataBlock {
    int number;
    int count;
    QByteArray firstKey;
};

struct Walk {
    const QByteArray& px;
    int headerSize;
    int blockSize;
    int entrySize;
    int keySize;
    std::set<int> visited;
    std::vector<std::pair<QByteArray, int>> leaves;  // key, data block, in walk order
    std::vector<int> leafCounts;
    qint64 entries = 0;

    // Walks the index block `block` at `level` (1 = pointing at data blocks); returns its summed count and first
    // key, or fails the test.
    std::pair<int, QByteArray> visit(int block, int level)
    {
        EXPECT_TRUE(visited.insert(block).second) << "index block " << block << " reached twice";
        const qint64 start = headerSize + qint64(block - 1) * blockSize;
        if (block < 1 || start + blockSize > px.size()) {
            ADD_FAILURE() << "index block " << block << " lies outside the file";
            return {0, {}};
        }
        const char* b = px.constData() + start;
        const int lastOffset = std::int16_t(getU16(b + 4));
        const int n = lastOffset / entrySize + 1;
        EXPECT_EQ(lastOffset % entrySize, 0);
        EXPECT_GE(n, 1) << "empty index block " << block;
        int sum = 0;
        QByteArray first;
        QByteArray previous;
        for (int i = 0; i < n; ++i) {
            const char* e = b + 6 + i * entrySize;
            const QByteArray key(e, keySize);
            const int target = indexShort(e + keySize);
            const int count = indexShort(e + keySize + 2);
            EXPECT_EQ(indexShort(e + keySize + 4), 0);
            ++entries;
            if (i == 0) first = key;
            if (i > 0) {
                EXPECT_LT(previous, key) << "keys out of order in index block " << block;
            }
            previous = key;
            if (level == 1) {
                leaves.emplace_back(key, target);
                leafCounts.push_back(count);
            } else {
                const auto [below, belowFirst] = visit(target, level - 1);
                EXPECT_EQ(count, below) << "count of entry " << i << " in index block " << block;
                EXPECT_EQ(key, belowFirst) << "key of entry " << i << " in index block " << block;
            }
            sum += count;
        }
        return {sum, first};
    }
};

std::vector<DataBlock> dataBlocks(const QByteArray& db, int keySize)
{
    const int headerSize = getU16(db.constData() + 2);
    const int blockSize = std::uint8_t(db[5]) * 1024;
    const int recordSize = getU16(db.constData());
    std::vector<DataBlock> blocks;
    for (int block = getU16(db.constData() + 0x0E); block != 0;) {
        const char* b = db.constData() + headerSize + qint64(block - 1) * blockSize;
        const int count = std::int16_t(getU16(b + 4)) / recordSize + 1;
        blocks.push_back({block, count, QByteArray(b + 6, keySize)});
        block = getU16(b);
    }
    return blocks;
}

void checkIndex(const QString& dbPath, const QString& pxPath, int keySize, int records)
{
    const QByteArray db = readAll(dbPath);
    const QByteArray px = readAll(pxPath);
    ASSERT_GE(px.size(), 0x58);
    const char* h = px.constData();
    EXPECT_EQ(std::uint8_t(h[4]), 1) << "not a primary index";
    EXPECT_EQ(std::uint8_t(h[0x2C]), std::uint8_t(db[0x2D])) << "index stamp differs from the table's";
    const int entrySize = getU16(h);
    ASSERT_EQ(entrySize, keySize + 6);
    const int headerSize = getU16(h + 2);
    const int blockSize = std::uint8_t(h[5]) * 1024;
    const int fileBlocks = getU16(h + 0x0C);
    const int root = getU16(h + 0x1E);
    const int levels = std::uint8_t(h[0x20]);
    EXPECT_EQ(px.size(), headerSize + qint64(fileBlocks) * blockSize);

    const std::vector<DataBlock> blocks = dataBlocks(db, keySize);
    if (records == 0) {
        EXPECT_EQ(levels, 0);
        EXPECT_EQ(fileBlocks, 0);
        EXPECT_TRUE(blocks.empty());
        return;
    }
    Walk walk{px, headerSize, blockSize, entrySize, keySize, {}, {}, {}};
    const int total = walk.visit(root, levels).first;
    EXPECT_EQ(total & 0xFFFF, records & 0xFFFF);
    EXPECT_EQ(int(walk.visited.size()), fileBlocks) << "index blocks outside the tree";
    EXPECT_EQ(qint64(getU32(h + 6)), walk.entries);
    ASSERT_EQ(walk.leaves.size(), blocks.size()) << "leaf entries and data blocks differ in number";
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(walk.leaves[i].second, blocks[i].number) << "leaf " << i;
        EXPECT_EQ(walk.leaves[i].first, blocks[i].firstKey) << "leaf " << i;
        EXPECT_EQ(walk.leafCounts[i], blocks[i].count) << "leaf " << i;
    }
}

using paradoxtest::def;

struct IndexCase {
    const char* name;
    db::FieldDefList fields;
    int keyFields;
    int records;
    int minimumLevels;
};

void PrintTo(const IndexCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParadoxIndexTree : public ::testing::TestWithParam<IndexCase> {};

TEST_P(ParadoxIndexTree, WalksFromTheRootToEveryDataBlock)
{
    const IndexCase c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BAUM.DB"));
    db::paradox::create(path, c.fields, c.keyFields);
    int keySize = 0;
    for (int i = 0; i < c.keyFields; ++i) {
        const db::FieldDef& f = c.fields[size_t(i)];
        keySize += f.type == db::FieldType::ftString ? f.size : f.type == db::FieldType::ftSmallint ? 2 : 4;
    }
    std::vector<int> order(size_t(c.records));
    for (int i = 0; i < c.records; ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    const auto record = [&](int i) {
        db::Record r;
        for (const db::FieldDef& f : c.fields) {
            if (f.type == db::FieldType::ftString)
                r.push_back(QStringLiteral("Schlüssel %1").arg(i % 1000 * 37 + i / 1000, 6, 10, QLatin1Char('0')));
            else
                r.push_back(int(r.size()) < c.keyFields ? i : i / 3);
        }
        return r;
    };
    {
        auto table = db::paradox::open(path, db::OpenMode::Exclusive);
        for (const int i : order) table->insert(record(i), 0);
    }
    const QString px = dir.filePath(QStringLiteral("BAUM.PX"));
    checkIndex(path, px, keySize, c.records);
    EXPECT_GE(std::uint8_t(readAll(px)[0x20]), c.minimumLevels);
    {
        // The table as only read: its keys are found through the first keys of its blocks.
        const auto table = db::paradox::open(path, db::OpenMode::Shared);
        for (int i = 0; i < c.records; i += 7) {
            const db::Record wanted = record(i);
            const db::Record key(wanted.begin(), wanted.begin() + c.keyFields);
            const int row = table->findKey(key);
            ASSERT_GE(row, 0) << "record " << i << " not found";
            EXPECT_EQ(table->read(row), wanted);
        }
        db::Record missing = record(c.records + 5);
        missing.resize(size_t(c.keyFields));
        EXPECT_EQ(table->findKey(missing), -1);
    }

    // After deletes scattered over the table the rebuilt tree is as sound.
    int remaining = c.records;
    {
        auto table = db::paradox::open(path, db::OpenMode::Exclusive);
        for (int row = table->recordCount() - 1; row >= 0; row -= 3) {
            table->remove(row);
            --remaining;
        }
    }
    checkIndex(path, px, keySize, remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ParadoxIndexTree,
    ::testing::Values(
        IndexCase{"Empty", {def("Nr", db::FieldType::ftInteger), def("Text", db::FieldType::ftString, 20)}, 1, 0, 0},
        IndexCase{"OneDataBlock", {def("Nr", db::FieldType::ftInteger), def("Text", db::FieldType::ftString, 20)}, 1,
                  40, 1},
        IndexCase{"ManyBlocksSmallKey",
                  {def("Nr", db::FieldType::ftInteger), def("Text", db::FieldType::ftString, 100)}, 1, 6000, 2},
        IndexCase{"WideKeyThreeLevels",
                  {def("Name", db::FieldType::ftString, 200), def("Wert", db::FieldType::ftInteger)}, 1, 1500, 3},
        IndexCase{"CompositeKey",
                  {def("Name", db::FieldType::ftString, 120), def("Nr", db::FieldType::ftInteger),
                   def("Wert", db::FieldType::ftInteger)},
                  2, 2500, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
