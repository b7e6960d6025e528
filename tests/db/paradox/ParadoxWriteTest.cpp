// Tables this engine writes read back the same; keys, auto-increment, locks and companions behave as the original
// engine's do.

#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/ParadoxTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace paradoxtest;
using db::FieldDef;
using db::FieldType;
using db::OpenMode;
using db::Record;

namespace {

QByteArray pattern(int length, int seed)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) bytes[i] = char((i * 31 + seed * 7) & 0xFF);
    return bytes;
}

QString text(int length, int seed)
{
    QString s;
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzäöüßÄÖÜ 0123456789\r\n");
    for (int i = 0; i < length; ++i) s += alphabet.at((i + seed) % alphabet.size());
    return s;
}

db::FieldDefList everyType()
{
    return {def("Nr", FieldType::ftInteger),          def("Name", FieldType::ftString, 30),
            def("Datum", FieldType::ftDate),          def("Klein", FieldType::ftSmallint),
            def("Betrag", FieldType::ftCurrency),     def("Zahl", FieldType::ftFloat),
            def("Ja", FieldType::ftBoolean),          def("Notiz", FieldType::ftMemo, 20),
            def("Format", FieldType::ftFmtMemo, 0),   def("Bild", FieldType::ftGraphic, 10),
            def("Objekt", FieldType::ftParadoxOle, 0), def("Daten", FieldType::ftBlob, 16),
            def("Zeit", FieldType::ftTime),           def("Stempel", FieldType::ftDateTime),
            def("Lfd", FieldType::ftAutoInc),         def("Genau", FieldType::ftBCD, 32, 4),
            def("Roh", FieldType::ftBytes, 8)};
}

// Blob sizes that land in the record, in a suballocated block, and in blocks of their own.
const int kBlobSizes[] = {0, 1, 10, 20, 21, 100, 2047, 2048, 2049, 5000, 100000};

Record everyTypeRecord(int i)
{
    const int blobSize = kBlobSizes[i % int(std::size(kBlobSizes))];
    Record r;
    r.push_back(i);
    r.push_back(i % 5 == 4 ? QVariant() : QVariant(QStringLiteral("Müller %1 Straße").arg(i)));
    r.push_back(QDate(1900 + i, 1 + i % 12, 1 + i % 28));
    r.push_back(i % 2 ? -i : i);
    r.push_back(i * 1.25 - 3);
    r.push_back(i % 3 ? QVariant(i / 7.0) : QVariant());
    r.push_back(i % 2 == 0);
    r.push_back(blobSize ? QVariant(text(blobSize, i)) : QVariant());
    r.push_back(blobSize ? QVariant(text(blobSize, i + 1)) : QVariant());
    r.push_back(blobSize ? QVariant(pattern(blobSize, i)) : QVariant());
    r.push_back(blobSize ? QVariant(pattern(blobSize, i + 3)) : QVariant());
    r.push_back(blobSize ? QVariant(pattern(blobSize, i + 5)) : QVariant());
    r.push_back(QTime(i % 24, i % 60, i % 60, i % 1000));
    r.push_back(QDateTime(QDate(2000 + i, 2, 28 - i % 2), QTime(23, 59, 59, 999), Qt::UTC));
    r.push_back(QVariant());
    r.push_back(i % 4 == 3 ? QVariant() : QVariant(-12345.6789 + i));
    r.push_back(QByteArray("\x01\x02\x03", 3) + QByteArray::number(i));
    return r;
}

void expectRecord(const Record& actual, const Record& expected, int autoIncValue, const std::string& where)
{
    ASSERT_EQ(actual.size(), expected.size()) << where;
    for (size_t f = 0; f < expected.size(); ++f) {
        QVariant want = expected[f];
        if (f == 14) want = autoIncValue;
        if (f == 16 && want.isValid()) want = want.toByteArray().leftJustified(8, '\0');
        EXPECT_TRUE(sameValue(actual[f], want)) << where << " field " << f;
    }
}

class ParadoxEveryType : public ::testing::TestWithParam<int> {};

TEST_P(ParadoxEveryType, WriteThenReadEveryFieldTypeAndBlobSize)
{
    const int keyFields = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Alles.DB"));
    db::paradox::create(path, everyType(), keyFields);
    const int count = 2 * int(std::size(kBlobSizes));
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        // Keyed: inserted in reverse so that every insert lands in front.
        for (int n = 0; n < count; ++n) {
            const int i = keyFields ? count - 1 - n : n;
            table->insert(everyTypeRecord(i), table->recordCount());
        }
        for (int i = 0; i < count; ++i)
            expectRecord(table->read(i), everyTypeRecord(i), keyFields ? count - i : i + 1, "before flush row " + std::to_string(i));
        table->flush();
    }
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Alles.MB"))));
    EXPECT_EQ(QFileInfo::exists(dir.filePath(QStringLiteral("Alles.PX"))), keyFields > 0);
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), count);
    EXPECT_EQ(table->keyFieldCount(), keyFields);
    for (int i = 0; i < count; ++i)
        expectRecord(table->read(i), everyTypeRecord(i), keyFields ? count - i : i + 1, "after reopen row " + std::to_string(i));
    const auto& fields = table->fields();
    EXPECT_EQ(fields[1].size, 30);
    EXPECT_EQ(fields[7].size, 20);
    EXPECT_EQ(fields[15].precision, 4);
    EXPECT_EQ(fields[14].type, FieldType::ftAutoInc);
}

INSTANTIATE_TEST_SUITE_P(KeyedAndKeyless, ParadoxEveryType, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? std::string("Keyed") : std::string("Keyless"); });

// Tables whose files are larger than what a flush writes at once, with records placed all over the table (so that
// they lie in many separately grown chunks), enough large memos that the blob file is written out while records are
// still being added, and one memo larger than all the others together.
class ParadoxLargeFlush : public ::testing::TestWithParam<int> {};

TEST_P(ParadoxLargeFlush, EveryRecordAndMemoReadsBack)
{
    const int keyFields = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gross.db"));
    db::paradox::create(path,
                        {def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 120),
                         def("Notiz", FieldType::ftMemo, 10)},
                        keyFields);
    const auto record = [](int i, int version) {
        QVariant memo;
        if (i == 4321)
            memo = QStringLiteral("%1 ").arg(i + version).repeated(700000);
        else if (i % 40 == 0)
            memo = text(5000 + version, i);
        else if (i % 3 != 0)
            memo = text(5 + (i + version) % 30, i);
        return Record{i, text(60 + i % 60, i), memo};
    };
    const int count = 12000;
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    std::vector<Record> expected;
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        std::mt19937 random(5);
        for (const int i : order) {
            // Keyless tables take the place asked for, keyed ones the place of the key.
            const int row = table->insert(record(i, 0), int(random() % (expected.size() + 1)));
            expected.insert(expected.begin() + row, record(i, 0));
            if (expected.size() == count / 2) table->flush();
        }
    }
    ASSERT_GT(QFileInfo(path).size(), 1 << 20);
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (int row = 0; row < int(expected.size()); row += 97) {
            const int i = expected[size_t(row)][0].toInt();
            ASSERT_EQ(table->update(row, record(i, 1)), row);
            expected[size_t(row)] = record(i, 1);
        }
        for (int row = int(expected.size()) - 1; row >= 0; row -= 50) {
            table->remove(row);
            expected.erase(expected.begin() + row);
        }
    }
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), int(expected.size()));
    for (int row = 0; row < table->recordCount(); ++row) {
        const Record actual = table->read(row);
        for (size_t f = 0; f < actual.size(); ++f)
            ASSERT_TRUE(sameValue(actual[f], expected[size_t(row)][f])) << "row " << row << " field " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(KeyedAndKeyless, ParadoxLargeFlush, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? std::string("Keyed") : std::string("Keyless"); });

TEST(ParadoxWrite, UpdatesAndDeletesSurviveReopen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.db"));
    db::paradox::create(path, {def("Id", FieldType::ftInteger), def("Text", FieldType::ftMemo, 5)}, 0);
    {
        auto table = db::paradox::open(path, OpenMode::Shared);
        for (int i = 0; i < 300; ++i) table->insert({i, text(i * 13, i)}, table->recordCount());
        table->update(10, {1010, QStringLiteral("kurz")});
        table->update(11, {1011, text(4000, 3)});
        table->remove(0);
        table->insert({-1, QStringLiteral("vorne")}, 0);
    }
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 300);
    EXPECT_TRUE(sameValue(table->read(0)[1], QStringLiteral("vorne")));
    EXPECT_TRUE(sameValue(table->read(1)[0], 1));
    EXPECT_TRUE(sameValue(table->read(10)[1], QStringLiteral("kurz")));
    EXPECT_TRUE(sameValue(table->read(11)[1], text(4000, 3)));
    EXPECT_TRUE(sameValue(table->read(299)[1], text(299 * 13, 299)));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("notes.mb"))).exists(), true);
}

// A memo is encoded straight into the blob file when it has more characters than the record keeps of it; its
// bytes decide where it ends up: characters beyond the basic plane take two places in the text and become one '?',
// so such a memo may still fit into the record, or take fewer chunks than its length promised.
TEST(ParadoxWrite, MemosWhoseBytesAreFewerThanTheirCharacters)
{
    const QString emoji = QStringLiteral("\U0001F600");
    struct Case {
        const char* name;
        QString memo;
        QString readBack;
    };
    const Case cases[] = {
        {"fits the record after all", QStringLiteral("abcdefghi") + emoji, QStringLiteral("abcdefghi?")},
        {"one byte more than the record", QStringLiteral("abcdefghij") + emoji, QStringLiteral("abcdefghij?")},
        {"fewer chunks than characters", emoji.repeated(16) + QStringLiteral("x"), QString(16, u'?') + u'x'},
        {"plain", QStringLiteral("abcdefghijklmnop"), QStringLiteral("abcdefghijklmnop")},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("emoji.db"));
    db::paradox::create(path, {def("Id", FieldType::ftInteger), def("Notiz", FieldType::ftMemo, 10)}, 0);
    {
        auto table = db::paradox::open(path, OpenMode::Shared);
        for (int round = 0; round < 2; ++round)
            for (const Case& c : cases) table->insert({table->recordCount(), c.memo}, table->recordCount());
    }
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 2 * int(std::size(cases)));
    for (int row = 0; row < table->recordCount(); ++row) {
        const Case& c = cases[size_t(row) % std::size(cases)];
        EXPECT_TRUE(sameValue(table->read(row)[1], c.readBack)) << c.name << " row " << row;
    }
}

TEST(ParadoxWrite, KeyedTableKeepsKeyOrderAndFindsKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KEYS.DB"));
    db::paradox::create(path,
                        {def("Gruppe", FieldType::ftString, 10), def("Nr", FieldType::ftInteger),
                         def("Name", FieldType::ftString, 100)},
                        2);
    std::vector<int> numbers(5000);
    for (int i = 0; i < 5000; ++i) numbers[size_t(i)] = i * 3 - 2000;
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (int n : numbers) table->insert({n % 2 ? QStringLiteral("B") : QStringLiteral("A"), n, QString::number(n)}, 0);
        EXPECT_EQ(engineErrorCode([&] { table->insert({QStringLiteral("A"), 4, QStringLiteral("doppelt")}, 0); }),
                  db::ErrorCode::KeyViolation);
        // Changing a key moves the record.
        const int row = table->findKey({QStringLiteral("A"), -2000});
        ASSERT_EQ(row, 0);
        const int moved = table->update(row, {QStringLiteral("C"), 1, QStringLiteral("verschoben")});
        EXPECT_EQ(moved, table->recordCount() - 1);
        table->remove(table->findKey({QStringLiteral("B"), 1}));
    }
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 4999);
    Record previous;
    for (int row = 0; row < table->recordCount(); ++row) {
        const Record r = table->read(row);
        if (row) {
            const bool ordered = previous[0].toString() < r[0].toString() ||
                                 (previous[0] == r[0] && previous[1].toInt() < r[1].toInt());
            ASSERT_TRUE(ordered) << "row " << row;
        }
        previous = r;
    }
    struct Find {
        QString group;
        int number;
        bool found;
    } finds[] = {{"A", 4, true}, {"B", 1, false}, {"C", 1, true}, {"A", 5, false}, {"B", 12997, true}, {"A", -2000, false}};
    for (const Find& f : finds) {
        const int row = table->findKey({f.group, f.number});
        EXPECT_EQ(row >= 0, f.found) << f.group.toStdString() << f.number;
        if (row >= 0) {
            EXPECT_EQ(table->read(row)[1].toInt(), f.number);
        }
    }
    EXPECT_EQ(table->findKey({QStringLiteral("C")}), table->recordCount() - 1);
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("KEYS.PX"))).size(), 2048);
}

// Records posted without asking for their rows wait in memory and are put in key order when anything asks for a
// row: sorted, and merged with the table's records or, where either are few, placed among the others one by one.
// Each case checks the order, that every record keeps its own values, and the key violations against both kinds
// of record.
TEST(ParadoxWrite, RecordsHeldBackFromTheirPlaceLandInKeyOrder)
{
    struct Case {
        const char* name;
        int existing;  // records placed before (keys 0, 4, 8, ...)
        int added;     // records held back (keys 1, 5, 9, ... and negative ones, shuffled)
        int askEvery;  // a look-up after every so many, which places what waits; 0 for none
    } cases[] = {
        {"into an empty table", 0, 3000, 0},
        {"merged with the table's records", 800, 3000, 0},
        {"a few among many", 4000, 100, 0},
        {"many around a few", 100, 3000, 0},
        {"placed in several rounds", 500, 3000, 700},
        {"placed after every few", 50, 300, 3},
    };
    const auto group = [](int n) { return n % 3 == 0 ? QStringLiteral("A") : QStringLiteral("B"); };
    const auto record = [&](int n) { return Record{group(n), n, QStringLiteral("n%1").arg(n)}; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("HELD.DB"));
        db::paradox::create(path,
                            {def("Gruppe", FieldType::ftString, 10), def("Nr", FieldType::ftInteger),
                             def("Name", FieldType::ftString, 40)},
                            2);
        std::vector<int> added;
        for (int i = 0; i < c.added; ++i) added.push_back(i % 4 == 3 ? -(i * 4 + 1) : i * 4 + 1);
        std::shuffle(added.begin(), added.end(), std::mt19937(11));
        {
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            for (int i = 0; i < c.existing; ++i) table->insert(record(i * 4), 0);
            for (int i = 0; i < c.added; ++i) {
                const int n = added[size_t(i)];
                table->insertUnplaced(record(n));
                ASSERT_EQ(table->recordCount(), c.existing + i + 1);
                if (c.askEvery > 0 && i % c.askEvery == c.askEvery - 1) {
                    const int row = table->findKey({group(n), n});
                    ASSERT_GE(row, 0);
                    EXPECT_EQ(table->read(row)[2].toString(), QStringLiteral("n%1").arg(n));
                }
            }
            const int count = table->recordCount();
            for (const int taken : {added.front(), added.back(), c.existing > 0 ? 4 * (c.existing - 1) : added[1]}) {
                EXPECT_EQ(engineErrorCode([&] { table->insertUnplaced(record(taken)); }), db::ErrorCode::KeyViolation)
                    << taken;
            }
            EXPECT_EQ(table->recordCount(), count);
            const int fresh = 4 * c.existing + 4 * c.added + 2;
            table->insertUnplaced(record(fresh));
            EXPECT_EQ(table->read(table->findKey({group(fresh), fresh}))[1].toInt(), fresh);
        }
        auto table = db::paradox::open(path, OpenMode::Shared);
        ASSERT_EQ(table->recordCount(), c.existing + c.added + 1);
        Record previous;
        for (int row = 0; row < table->recordCount(); ++row) {
            const Record r = table->read(row);
            ASSERT_EQ(r[2].toString(), QStringLiteral("n%1").arg(r[1].toInt())) << "row " << row;
            if (row) {
                const bool ordered = previous[0].toString() < r[0].toString() ||
                                     (previous[0] == r[0] && previous[1].toInt() < r[1].toInt());
                ASSERT_TRUE(ordered) << "row " << row;
            }
            previous = r;
        }
    }
}

// Records held back are sorted by the bytes in which their keys differ, eight at a time: keys alike in their first
// eight such bytes are told apart by the next ones, and keys that agree in a stretch in the middle by the bytes
// after it.
TEST(ParadoxWrite, HeldBackKeysAlikeInTheirFirstBytesLandInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ALIKE.DB"));
    db::paradox::create(path, {def("Name", FieldType::ftString, 24), def("Nr", FieldType::ftInteger)}, 1);
    QStringList names;
    for (const char* head : {"11111111", "22222222", "33333333"})
        for (int i = 0; i < 1000; ++i)
            names << QStringLiteral("%1-Mitte-%2").arg(QLatin1String(head)).arg(i % 37 * 1000 + i, 6, 10, QLatin1Char('0'));
    std::vector<int> order(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(17));
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (const int i : order) table->insertUnplaced({names[i], i});
    }
    names.sort();
    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), names.size());
    for (int row = 0; row < table->recordCount(); ++row) ASSERT_EQ(table->read(row)[0].toString(), names[row]) << row;
}

// A record refused for its key leaves nothing behind in the blob file, whichever way it was posted: the blob file
// ends as large as without the refused post.
TEST(ParadoxWrite, KeyViolationsWriteNoBlobs)
{
    struct Case {
        const char* name;
        bool heldBack;  // posted through insertUnplaced
        int taken;      // the key posted twice: 20 and 30 are placed, 10 waits for its place
        bool changed = false;  // the record of 20 changed to the key instead of a new one posted
    } cases[] = {
        {"placed at once, key of a placed record", false, 30},
        {"held back, key of a placed record", true, 30},
        {"held back, key of a record held back", true, 10},
        {"a record changed to another one's key", false, 30, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto blobBytes = [&](bool refusedPost) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("BLOBKEY.DB"));
            db::paradox::create(path, {def("Nr", FieldType::ftInteger), def("Notiz", FieldType::ftMemo, 10)}, 1);
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            const auto post = [&](int nr, char letter) {
                const Record r{nr, QString(5000, QLatin1Char(letter))};
                if (c.heldBack)
                    table->insertUnplaced(r);
                else
                    table->insert(r, 0);
            };
            for (const int nr : {20, 30, 10}) post(nr, 'a');
            if (refusedPost && c.changed) {
                const Record r{c.taken, QString(5000, QLatin1Char('b'))};
                EXPECT_EQ(engineErrorCode([&] { table->update(table->findKey({20}), r); }), db::ErrorCode::KeyViolation);
            } else if (refusedPost) {
                EXPECT_EQ(engineErrorCode([&] { post(c.taken, 'b'); }), db::ErrorCode::KeyViolation);
            }
            EXPECT_EQ(table->recordCount(), 3);
            EXPECT_EQ(table->read(table->findKey({c.taken}))[1].toString(), QString(5000, QLatin1Char('a')));
            table.reset();
            return QFileInfo(dir.filePath(QStringLiteral("BLOBKEY.MB"))).size();
        };
        EXPECT_EQ(blobBytes(true), blobBytes(false));
    }
}

TEST(ParadoxWrite, AutoIncrementRules)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Zaehler.db"));
    db::paradox::create(path, {def("Lfd", FieldType::ftAutoInc), def("Text", FieldType::ftString, 10)}, 0);
    struct Step {
        QVariant given;
        int expected;
    } steps[] = {{QVariant(), 1}, {QVariant(), 2}, {10, 10}, {QVariant(), 11}, {5, 5}, {11, 12}, {QVariant(), 13}};
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (const Step& s : steps) {
            const int row = table->insert({s.given, QStringLiteral("x")}, table->recordCount());
            EXPECT_EQ(table->read(row)[0].toInt(), s.expected) << "given " << s.given.toString().toStdString();
        }
        // A deleted number is not handed out again, not even after reopening.
        table->remove(table->recordCount() - 1);
        // An update may not take another record's number.
        EXPECT_EQ(engineErrorCode([&] { table->update(0, {2, QStringLiteral("y")}); }), db::ErrorCode::KeyViolation);
    }
    auto table = db::paradox::open(path, OpenMode::Exclusive);
    const int row = table->insert({QVariant(), QStringLiteral("z")}, table->recordCount());
    EXPECT_EQ(table->read(row)[0].toInt(), 14);
}

TEST(ParadoxWrite, ExhaustedAutoIncrementCounterRefusesNewNumbers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Voll.db"));
    db::paradox::create(path, {def("Lfd", FieldType::ftAutoInc), def("Text", FieldType::ftString, 10)}, 0);
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        table->insert({2147483647, QStringLiteral("letzter")}, 0);
    }
    ASSERT_EQ(db::paradox::open(path, OpenMode::Shared)->read(0)[0].toInt(), 2147483647);
    // Neither a blank number nor one that is taken may wrap the counter around.
    for (const QVariant& given : {QVariant(), QVariant(2147483647)}) {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        EXPECT_EQ(engineErrorCode([&] { table->insert({given, QStringLiteral("x")}, 1); }),
                  db::ErrorCode::InvalidValue);
        EXPECT_EQ(table->recordCount(), 1);
    }
}

TEST(ParadoxWrite, RequiredFieldsAreEnforced)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-joins/paradox-ascii.db"), dir.path());
    auto table = db::paradox::open(path, OpenMode::Shared);
    EXPECT_EQ(engineErrorCode([&] { table->insert({QVariant()}, 0); }), db::ErrorCode::RequiredFieldMissing);
    EXPECT_EQ(engineErrorCode([&] { table->insert({QStringLiteral("da")}, 0); }), 0);
}

TEST(ParadoxWrite, ExistingTablesOfOtherProgramsAcceptChanges)
{
    struct Case {
        const char* fixture;
        Record record;
        int expectedRow;
    } cases[] = {
        {"paradox/pdriver-db/CONTACTS.DB", {QStringLiteral("Ölberg"), QStringLiteral("Jörg"), QStringLiteral("Käse & Co"), QStringLiteral("0")}, 55},
        {"paradox/pdriver-db/ORDERS.DB", {999.0, 1.0, QDate(2024, 1, 2), QVariant(), QStringLiteral("UPS"), 1.5, 1.5, 0.0, QStringLiteral("FOB"), QStringLiteral("Check"), QStringLiteral("Jan")}, 0},
        {"paradox/pdriver-db/HERCULES.DB", {QStringLiteral("AAA_NEW"), text(3000, 1)}, 0},
        {"paradox/pdriver-fields/memo.db", {QVariant(), text(700, 2)}, 2},
        {"paradox/pdriver-areas/STATES.DB", {QStringLiteral("ZZ"), QStringLiteral("Zedland"), QStringLiteral("000"), QStringLiteral("001")}, 53},
        {"paradox/pdriver-geog/County.DB", {0, QStringLiteral("Nowhere"), QStringLiteral("NW"), QStringLiteral("00000")}, 0},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        int before;
        Record firstBefore;
        {
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            before = table->recordCount();
            firstBefore = table->read(0);
            EXPECT_EQ(table->insert(c.record, table->recordCount()), c.expectedRow) << c.fixture;
        }
        auto table = db::paradox::open(path, OpenMode::Shared);
        EXPECT_EQ(table->recordCount(), before + 1) << c.fixture;
        const Record back = table->read(c.expectedRow);
        for (size_t f = 0; f < c.record.size(); ++f)
            if (c.record[f].isValid()) {
                EXPECT_TRUE(sameValue(back[f], c.record[f])) << c.fixture << " field " << f;
            }
        const int oldFirst = c.expectedRow == 0 ? 1 : 0;
        EXPECT_EQ(table->read(oldFirst), firstBefore) << c.fixture;
        if (table->keyFieldCount() > 0) {
            EXPECT_EQ(table->findKey({back[0]}), c.expectedRow) << c.fixture;
            EXPECT_FALSE(testsupport::fixture(c.fixture).isEmpty());
        }
    }
}

TEST(ParadoxWrite, TablesWeCannotMaintainAreReadOnly)
{
    struct Case {
        const char* fixture;
        const char* reasonContains;
    } cases[] = {
        {"paradox/pdriver-joins/C.DB", "Sekundärindizes"},
        {"paradox/pdriver-db/CUSTOMER.DB", "CUSTOMER.X06"},
        {"paradox/pdriver-db/AREACODE.DB", "Eingabemaske"},
        {"paradox/pdriver-joins/fk4.db", "fk4.XG0"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        auto table = db::paradox::open(path, OpenMode::Shared);
        EXPECT_TRUE(table->readOnlyReason().contains(QString::fromUtf8(c.reasonContains)))
            << table->readOnlyReason().toStdString();
        try {
            table->remove(0);
            ADD_FAILURE() << c.fixture << " was written";
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), db::ErrorCode::ReadOnlyTable);
            EXPECT_EQ(e.message(), table->readOnlyReason());
        }
    }
}

// Files the user protected (mode 0444 in a writable folder, which root may still open for writing) make the table
// read-only: no write is reported done, and no file of the set is changed or replaced.
TEST(ParadoxWrite, ProtectedFilesMakeTheTableReadOnly)
{
    struct Case {
        const char* file;
        bool whileOpen;  // protected after the table was opened and changed, before the flush
    } cases[] = {{"SICHER.DB", false}, {"SICHER.PX", false}, {"SICHER.MB", false}, {"SICHER.DB", true},
                 {"SICHER.MB", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.whileOpen ? " while open" : ""));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SICHER.DB"));
        db::paradox::create(path, {def("Nr", FieldType::ftInteger), def("Notiz", FieldType::ftMemo, 10)}, 1);
        {
            auto table = db::paradox::open(path, OpenMode::Exclusive);
            for (int i = 1; i <= 3; ++i) table->insert({i, text(3000, i)}, 0);
        }
        const auto files = [&] {
            std::map<QString, std::pair<qint64, QByteArray>> result;  // inode and contents by name
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files)) {
                QFile file(dir.filePath(name));
                EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                struct stat st {};
                ::stat(QFile::encodeName(file.fileName()).constData(), &st);
                result[name] = {qint64(st.st_ino), file.readAll()};
            }
            return result;
        };
        const auto before = files();
        const QByteArray protectedFile = QFile::encodeName(dir.filePath(QString::fromLatin1(c.file)));
        db::TableStoragePtr table;
        int code = 0;
        if (c.whileOpen) {
            table = db::paradox::open(path, OpenMode::Shared);
            table->insert({4, text(3000, 4)}, 0);
            ASSERT_EQ(::chmod(protectedFile.constData(), 0444), 0);
            code = engineErrorCode([&] { table->flush(); });
        } else {
            ASSERT_EQ(::chmod(protectedFile.constData(), 0444), 0);
            table = db::paradox::open(path, OpenMode::Shared);
            EXPECT_TRUE(table->readOnlyReason().contains(QString::fromLatin1(c.file)))
                << table->readOnlyReason().toStdString();
            code = engineErrorCode([&] {
                table->insert({4, text(3000, 4)}, 0);
                table->flush();
            });
        }
        EXPECT_EQ(code, db::ErrorCode::ReadOnlyTable);
        table->discardChanges();
        table.reset();
        EXPECT_EQ(files(), before);
    }
}

TEST(ParadoxWrite, InternationalOrderRefusesKeysItCannotPlaceSafely)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-db/HERCULES.DB"), dir.path());
    auto table = db::paradox::open(path, OpenMode::Exclusive);
    struct Case {
        const char* key;
        int code;
    } cases[] = {{"apfel", db::ErrorCode::NotSupported}, {"ÄPFEL", db::ErrorCode::NotSupported}, {"AAB", 0}, {"ZZZ", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(engineErrorCode([&] { table->insert({QString::fromUtf8(c.key), QStringLiteral("m")}, 0); }), c.code)
            << c.key;
}

TEST(ParadoxWrite, CompanionsAreFoundWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-fields/memo.db"), dir.path());
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("memo.mb")), dir.filePath(QStringLiteral("MEMO.MB"))));
    ASSERT_TRUE(QFile::rename(path, dir.filePath(QStringLiteral("Memo.Db"))));
    auto table = db::paradox::open(dir.filePath(QStringLiteral("MEMO.db")), OpenMode::Shared);
    EXPECT_EQ(table->read(0)[1].toString().size(), 555);
    table->insert({QVariant(), text(3000, 1)}, 0);
    table->flush();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("MEMO.MB"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("Memo.mb"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("memo.px"))));

    struct Created {
        const char* name;
        const char* memoFile;
    } created[] = {{"Kunden.DB", "Kunden.MB"}, {"lower.db", "lower.mb"}};
    for (const Created& c : created) {
        db::paradox::create(dir.filePath(QString::fromLatin1(c.name)), {def("Notiz", FieldType::ftMemo, 10)}, 0);
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(QString::fromLatin1(c.memoFile)))) << c.name;
    }
}

TEST(ParadoxWrite, LocksBetweenOpens)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-db/CONTACTS.DB"), dir.path());
    struct Case {
        OpenMode first;
        OpenMode second;
        int code;
    } cases[] = {{OpenMode::Shared, OpenMode::Shared, 0},
                 {OpenMode::Shared, OpenMode::Exclusive, db::ErrorCode::FileLocked},
                 {OpenMode::Exclusive, OpenMode::Shared, db::ErrorCode::FileLocked},
                 {OpenMode::Exclusive, OpenMode::Exclusive, db::ErrorCode::FileLocked}};
    for (const Case& c : cases) {
        auto first = db::paradox::open(path, c.first);
        EXPECT_EQ(engineErrorCode([&] { db::paradox::open(path, c.second); }), c.code);
        // Writing moves the file under the name; the lock must move with it.
        if (c.first == OpenMode::Exclusive) {
            first->insert({QStringLiteral("x"), QVariant(), QVariant(), QVariant()}, 0);
            first->flush();
            EXPECT_EQ(engineErrorCode([&] { db::paradox::open(path, c.second); }), c.code);
        }
    }
    EXPECT_EQ(engineErrorCode([&] { db::paradox::create(path, {def("A", FieldType::ftString, 1)}, 0); }), 0);
}

TEST(ParadoxWrite, LockHeldByAnotherProcess)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-db/CONTACTS.DB"), dir.path());
    for (const OpenMode childMode : {OpenMode::Exclusive, OpenMode::Shared}) {
        int ready[2];
        int release[2];
        ASSERT_EQ(pipe(ready), 0);
        ASSERT_EQ(pipe(release), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char byte = 0;
            try {
                auto table = db::paradox::open(path, childMode);
                byte = 1;
                (void)!write(ready[1], &byte, 1);
                (void)!read(release[0], &byte, 1);
            } catch (...) {
                (void)!write(ready[1], &byte, 1);
            }
            _exit(0);
        }
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        ASSERT_EQ(byte, 1);
        EXPECT_EQ(engineErrorCode([&] { db::paradox::open(path, OpenMode::Exclusive); }), db::ErrorCode::FileLocked);
        EXPECT_EQ(engineErrorCode([&] { db::paradox::open(path, OpenMode::Shared); }),
                  childMode == OpenMode::Exclusive ? db::ErrorCode::FileLocked : 0);
        (void)!write(release[1], &byte, 1);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_EQ(engineErrorCode([&] { db::paradox::open(path, OpenMode::Exclusive); }), 0);
        for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
    }
}

TEST(ParadoxWrite, CreateRejectsImpossibleDefinitions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.db"));
    struct Case {
        const char* name;
        db::FieldDefList fields;
        int keys;
    } cases[] = {
        {"no fields", {}, 0},
        {"alpha too long", {def("A", FieldType::ftString, 256)}, 0},
        {"duplicate names", {def("A", FieldType::ftInteger), def("a", FieldType::ftInteger)}, 0},
        {"memo key", {def("M", FieldType::ftMemo, 10)}, 1},
        {"more keys than fields", {def("A", FieldType::ftInteger)}, 2},
        {"unknown type", {def("W", FieldType::ftWord)}, 0},
        {"name too long", {def("Ein_sehr_langer_Feldname_x", FieldType::ftInteger)}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NE(engineErrorCode([&] { db::paradox::create(path, c.fields, c.keys); }), 0) << c.name;
        EXPECT_FALSE(QFileInfo::exists(path)) << c.name;
    }
}

}  // namespace

// An update that names its changed fields encodes only those; the rules of a whole update still hold.
TEST(ParadoxWrite, UpdateOfTheChangedFieldsOnly)
{
    QTemporaryDir dir;
    const db::FieldDefList fields = {def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                                     def("Betrag", FieldType::ftFloat), def("Datum", FieldType::ftDate)};
    const auto filled = [&](const QString& name, int keys) {
        const QString path = dir.filePath(name);
        db::paradox::create(path, fields, keys);
        auto table = db::paradox::open(path, OpenMode::Shared);
        for (int i = 0; i < 3; ++i)
            table->insert({i + 1, QStringLiteral("Satz %1").arg(i + 1), i * 1.5, QDate(2024, 1, 1 + i)},
                          table->recordCount());
        return table;
    };
    struct Case {
        const char* name;
        int keys;
        Record record;  // for row 1
        std::vector<char> changed;
        Record expected;  // row 1 after reopening
        int expectedRow;
    };
    const Case cases[] = {
        // A field not named keeps its stored bytes even when the record passed holds something else for it.
        {"unnamed fields keep their bytes", 0, {99, QStringLiteral("neu"), 7.25, QDate(2030, 1, 1)}, {0, 1, 1, 0},
         {2, QStringLiteral("neu"), 7.25, QDate(2024, 1, 2)}, 1},
        {"a cleared field", 0, {2, QVariant(), 1.5, QDate(2024, 1, 2)}, {0, 1, 0, 0},
         {2, QVariant(), 1.5, QDate(2024, 1, 2)}, 1},
        {"a changed key moves the record", 1, {10, QStringLiteral("Satz 2"), 1.5, QDate(2024, 1, 2)}, {1, 0, 0, 0},
         {3, QStringLiteral("Satz 3"), 3.0, QDate(2024, 1, 3)}, 2},
        {"a changed non-key field of a keyed table", 1, {2, QStringLiteral("anders"), 1.5, QDate(2024, 1, 2)},
         {0, 1, 0, 0}, {2, QStringLiteral("anders"), 1.5, QDate(2024, 1, 2)}, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QStringLiteral("changed%1.db").arg(++n);
        {
            auto table = filled(name, c.keys);
            const std::uint64_t before = table->changeCount();
            EXPECT_EQ(table->updateChanged(1, c.record, c.changed), c.expectedRow);
            EXPECT_GT(table->changeCount(), before);
        }
        auto table = db::paradox::open(dir.filePath(name), OpenMode::Shared);
        ASSERT_EQ(table->recordCount(), 3);
        const Record row = table->read(1);
        for (size_t i = 0; i < row.size(); ++i)
            EXPECT_TRUE(sameValue(row[i], c.expected[i])) << "field " << i;
        EXPECT_TRUE(sameValue(table->read(0)[1], QStringLiteral("Satz 1")));
    }
}

TEST(ParadoxWrite, UpdateOfTheChangedFieldsOnlyEnforcesRequiredFields)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-joins/paradox-ascii.db"), dir.path());
    auto table = db::paradox::open(path, OpenMode::Shared);
    const int row = table->insert({QStringLiteral("da")}, 0);
    EXPECT_EQ(engineErrorCode([&] { table->updateChanged(row, {QVariant()}, {1}); }),
              db::ErrorCode::RequiredFieldMissing);
    EXPECT_TRUE(sameValue(table->read(row)[0], QStringLiteral("da")));
}

// A keyless text table filled at once from text bytes is, byte for byte, the table that appending the same records one
// by one and flushing leaves, whatever blocks the count takes; afterwards it reads from its file and takes changes
// as any table opened anew.
TEST(ParadoxWrite, TextBytesWrittenAtOnceAreTheFileOfRecordsAppendedOneByOne)
{
    const db::FieldDefList fields{def("A", FieldType::ftString, 12), def("B", FieldType::ftString, 1),
                                  def("C", FieldType::ftString, 40)};
    // Values of every length up to past the field's, empty ones and bytes of the upper half among them.
    const auto value = [](int record, int field) {
        QByteArray bytes;
        for (int i = 0; i < (record * 7 + field * 3) % 45; ++i)
            bytes += char(0x41 + (record + i * 13) % 190);
        return bytes;
    };
    for (const int count : {0, 1, 19, 20, 21, 5000}) {
        SCOPED_TRACE(count);
        QTemporaryDir one, other;
        const QString atOnce = one.filePath(QStringLiteral("quelle.db"));
        const QString oneByOne = other.filePath(QStringLiteral("quelle.db"));
        for (const QString& path : {atOnce, oneByOne}) {
            db::paradox::create(path, fields, 0);
            auto table = db::paradox::open(path, OpenMode::Shared);
            ASSERT_TRUE(table->appendsTextBytes(1252, 3));
            std::vector<QByteArray> record(3);
            int next = 0;
            const auto texts = [&](QByteArrayView* out) {
                for (int f = 0; f < 3; ++f) {
                    record[size_t(f)] = value(next, f);
                    out[f] = record[size_t(f)];
                }
                ++next;
            };
            if (path == atOnce)
                table->writeTextBytesTable(count, 3, texts);
            else
                table->db::TableStorage::writeTextBytesTable(count, 3, texts);
            EXPECT_EQ(next, count);
            ASSERT_EQ(table->recordCount(), count);
            if (count > 0) {
                EXPECT_EQ(table->read(count - 1)[2].toString().size(),
                          std::min<qsizetype>(value(count - 1, 2).size(), 40));
                table->insert({QStringLiteral("neu"), QString(), QString()}, table->recordCount());
                table->flush();
                EXPECT_TRUE(sameValue(table->read(count)[0], QStringLiteral("neu")));
            }
        }
        // The header keeps the second the table was made (0x60 to 0x63): the two tables may be made a second apart.
        const auto withoutTime = [](auto bytes) {
            for (qsizetype i = 0x60; i < 0x64 && i < bytes.size(); ++i)
                bytes[i] = 0;
            return bytes;
        };
        EXPECT_EQ(withoutTime(testsupport::fileBytes(atOnce)), withoutTime(testsupport::fileBytes(oneByOne)));
    }
}

// A text field's bytes are the text's encoding cut to the field at its first zero, zeros after them, whatever mix of
// plain characters, characters of the upper half, characters the code page lacks, surrogates and zeros the text
// holds, and wherever the field's end cuts it.
TEST(ParadoxWrite, TextFieldBytesAreTheEncodingCutToTheField)
{
    const char16_t alphabet[] = {u'a', u'Z',   u'7',   u' ',   u'~',   0x7F, 0,      0xE4,   0xDF,   0x20AC,
                                 0x81, 0x4E00, 0xD83D, 0xDE00, 0xFFFD, 0xC4, 0x2500, 0x0192, 0x00A0, 0x01};
    std::mt19937 random(30);
    for (const int codePage : {1252, 850}) {
        const db::paradox::TextCodec codec(codePage, QString());
        for (int round = 0; round < 20000; ++round) {
            QString text;
            const int plainRun = int(random() % 20);
            for (int c = 0, n = int(random() % 40); c < n; ++c)
                text += QChar(c < plainRun ? u'a' + char16_t(c % 26)
                                           : alphabet[random() % (sizeof alphabet / sizeof alphabet[0])]);
            const int length = 1 + int(random() % 40);
            QByteArray expected = codec.encode(text).left(length);
            if (const qsizetype zero = expected.indexOf('\0'); zero >= 0)
                expected.truncate(zero);
            expected.append(QByteArray(length - expected.size(), '\0'));
            QByteArray field(length, '\x55');
            ASSERT_TRUE(codec.encodeInto(text, field.data(), length));
            ASSERT_EQ(field, expected) << codePage << " " << text.toStdString() << " in " << length;
        }
    }
}
