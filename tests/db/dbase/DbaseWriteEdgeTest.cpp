// Edges of writing: a record read right after it was written reads as it will from the files, and damaged
// companion files (a wild memo end marker, a forged rollback journal) neither blow up the files nor get written
// outside the table's records.

#include "support/FieldDefs.h"
#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdint>

using namespace db;

namespace {

using testsupport::def;
using testsupport::fileBytes;

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void putU32(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct WriteBackCase {
    const char* name;
    bool dbase3;  // the table turned into dBase III (version 0x83, plain-text memo file)
    Record record;
};

class DbaseReadAfterWrite : public ::testing::TestWithParam<WriteBackCase> {};

// The storage hands out records waiting for the flush from memory; what it hands out must be what the files hold
// after the flush, conversions of the writer included.
TEST_P(DbaseReadAfterWrite, MatchesTheFiles)
{
    const WriteBackCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("W.DBF"));
    dbase::create(path, {def("NAME", FieldType::ftString, 6), def("NOTE", FieldType::ftMemo),
                         def("DAY", FieldType::ftDate), def("AT", FieldType::ftTime), def("N", FieldType::ftFloat, 8)});
    if (c.dbase3) {
        QByteArray dbf = fileBytes(path);
        dbf[0] = char(0x83);
        writeBytes(path, dbf);
        QByteArray memo(512, '\0');
        putU32(memo, 0, 1);
        writeBytes(dir.filePath(QStringLiteral("W.DBT")), memo);
    }
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    Record inserted, updated;
    {
        t->insert({QStringLiteral("vorher"), QStringLiteral("altes Memo"), QVariant(), QVariant(), 1}, 0);
        const int row = t->insert(c.record, 1);
        inserted = t->read(row);
        t->flush();
        t->update(0, c.record);
        updated = t->read(0);
        t->flush();
    }
    const TableStoragePtr reopened = dbase::open(path, OpenMode::Shared);
    EXPECT_EQ(inserted, reopened->read(1));
    EXPECT_EQ(updated, reopened->read(0));
    EXPECT_EQ(t->read(1), reopened->read(1));
    EXPECT_EQ(t->read(0), reopened->read(0));
}

INSTANTIATE_TEST_SUITE_P(
    Values, DbaseReadAfterWrite,
    ::testing::Values(
        WriteBackCase{"PlainValues", false,
                      {QStringLiteral("abc"), QStringLiteral("Memo"), QDate(2024, 2, 29), QTime(23, 59, 58), 2.5}},
        WriteBackCase{"CutAndRounded", false,
                      {QStringLiteral("zu langer Text"), QString(), QDate(1, 1, 1), QTime(0, 0), 1.23456789}},
        WriteBackCase{"SoftBreaksInMemo", false,
                      {QVariant(), QString::fromLatin1("eins\x8D\ndrei\r\n"), QVariant(), QVariant(), QVariant()}},
        WriteBackCase{"Dbase3MemoWithItsTerminator", true,
                      {QStringLiteral("x"), QString::fromLatin1("vor\x1A nach"), QVariant(), QVariant(), -0.0001}},
        WriteBackCase{"Dbase3UnchangedMemo", true,
                      {QStringLiteral("vorher"), QStringLiteral("altes Memo"), QVariant(), QVariant(), 1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MarkerCase {
    const char* name;
    bool dbase3;          // the table turned into dBase III (version 0x83, plain-text memo file)
    std::uint32_t marker;  // the memo file's next-free block as the damage left it
};

class DbaseMemoMarker : public ::testing::TestWithParam<MarkerCase> {};

// A marker beyond the file's end names blocks no record uses; the next memo goes to the file's end instead of
// leaving a hole up to the marker.
TEST_P(DbaseMemoMarker, NewMemoGoesToTheFilesEnd)
{
    const MarkerCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("M.DBF"));
    const QString memoPath = dir.filePath(QStringLiteral("M.DBT"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo)});
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        t->insert({QStringLiteral("eins"), QStringLiteral("erstes Memo")}, 0);
    }
    QByteArray memo = fileBytes(memoPath);
    if (c.dbase3) {
        QByteArray dbf = fileBytes(path);
        dbf[0] = char(0x83);
        writeBytes(path, dbf);
        memo = QByteArray(512, '\0');
        memo.append(QByteArray("erstes Memo\x1A\x1A"));
        memo.append(QByteArray(1024 - memo.size(), '\0'));
    }
    putU32(memo, 0, c.marker);
    writeBytes(memoPath, memo);

    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    ASSERT_TRUE(t->readOnlyReason().isEmpty()) << t->readOnlyReason().toStdString();
    t->insert({QStringLiteral("zwei"), QStringLiteral("zweites Memo")}, 1);
    t->flush();
    EXPECT_EQ(fileBytes(memoPath).size(), memo.size() + 512);
    const TableStoragePtr reopened = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(reopened->recordCount(), 2);
    EXPECT_EQ(reopened->read(0)[1].toString(), QStringLiteral("erstes Memo"));
    EXPECT_EQ(reopened->read(1)[1].toString(), QStringLiteral("zweites Memo"));
}

INSTANTIATE_TEST_SUITE_P(Damage, DbaseMemoMarker,
                         ::testing::Values(MarkerCase{"Dbase4FarBeyond", false, 0x7FFFFFF0u},
                                           MarkerCase{"Dbase4JustBeyond", false, 5},
                                           MarkerCase{"Dbase3FarBeyond", true, 0xFFFFFFFFu},
                                           MarkerCase{"Dbase3Stale", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

std::uint32_t fnv1a(const QByteArray& data)
{
    std::uint32_t hash = 2166136261u;
    for (char c : data) {
        hash ^= std::uint8_t(c);
        hash *= 16777619u;
    }
    return hash;
}

struct JournalEntry {
    std::uint64_t offsetFromHeader;  // added to the header length (wrapping)
    QByteArray bytes;
};

struct JournalCase {
    const char* name;
    std::uint32_t oldCount;  // the record count before the flush that died
    std::vector<JournalEntry> entries;
    int cut;       // bytes taken off the journal's end (a journal not written to its end)
    bool applied;  // whether the journal belongs back into the table
};

class DbaseJournal : public ::testing::TestWithParam<JournalCase> {};

// A flush that died after writing its journal is undone as a whole by the next writer: the old bytes and the old
// record count go back. A journal that is incomplete or names bytes outside the records it covers is dropped
// without touching the table, and the table opens for writing either way.
TEST_P(DbaseJournal, OnlyCompleteJournalsOfWholeRecordsAreRestored)
{
    const JournalCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("J.DBF"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10)});
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        for (const char* name : {"eins", "zwei", "drei"})
            t->insert({QString::fromLatin1(name)}, t->recordCount());
    }
    const QByteArray before = fileBytes(path);
    const int headerLength = std::uint8_t(before[8]) | (std::uint8_t(before[9]) << 8);
    QByteArray journal("DBFUNDO2");
    journal.append(reinterpret_cast<const char*>(&c.oldCount), 4);
    const std::uint32_t entries = std::uint32_t(c.entries.size());
    journal.append(reinterpret_cast<const char*>(&entries), 4);
    for (const JournalEntry& e : c.entries) {
        const std::uint64_t offset = std::uint64_t(headerLength) + e.offsetFromHeader;
        const std::uint32_t length = std::uint32_t(e.bytes.size());
        journal.append(reinterpret_cast<const char*>(&offset), 8);
        journal.append(reinterpret_cast<const char*>(&length), 4);
        journal.append(e.bytes);
    }
    const std::uint32_t sum = fnv1a(journal);
    journal.append(reinterpret_cast<const char*>(&sum), 4);
    journal.chop(c.cut);
    writeBytes(path + QStringLiteral("-journal"), journal);

    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
    QStringList names;
    for (int row = 0; row < t->recordCount(); ++row)
        names << t->read(row)[0].toString();
    const QStringList expected = c.applied ? QStringList{QStringLiteral("alt")} : QStringList{
        QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei")};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(fileBytes(path).size(), before.size());
    t->insert({QStringLiteral("vier")}, t->recordCount());
    t->flush();
    EXPECT_EQ(t->recordCount(), expected.size() + 1);
    // The new record goes right behind the records the count names; what lay behind them is cut off.
    const std::uint32_t records = (c.applied ? c.oldCount : 3) + 1;
    EXPECT_EQ(fileBytes(path).size(), headerLength + 11 * records + 1);
}

// Records are 11 bytes: the deletion flag and NAME. Applied cases leave one record of the three, "alt", with the
// second record deleted again: the flush that died had changed the first and taken the second's flag away.
INSTANTIATE_TEST_SUITE_P(
    Forged, DbaseJournal,
    ::testing::Values(
        JournalCase{"UndoesTheWholeFlush", 2, {{0, " alt       "}, {11, "*"}}, 0, true},
        JournalCase{"NotWrittenToItsEnd", 2, {{0, " alt       "}, {11, "*"}}, 1, false},
        JournalCase{"OnlyItsHead", 2, {{0, " alt       "}, {11, "*"}}, 22, false},
        JournalCase{"EntryAcrossTwoRecords", 2, {{0, " alt       "}, {5, " alt       "}}, 0, false},
        JournalCase{"EntryBehindTheOldCount", 2, {{0, " alt       "}, {22, "*"}}, 0, false},
        JournalCase{"WrapsAroundToTheHeader", 2, {{~std::uint64_t(0) - 7, " alt       "}}, 0, false},
        JournalCase{"OldCountBeyondTheFile", 9, {{0, " alt       "}}, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

constexpr int ChangedWidth = 19;

struct ChangedFieldCase {
    const char* name;
    std::vector<int> fields;  // the fields the change marks
    int position;             // the one character of each that changes; -1: none changes
};

class DbaseChangedFields : public ::testing::TestWithParam<ChangedFieldCase> {};

// A change that names its fields writes exactly those, wherever in the record they lie (the marks are read in
// words of eight) and wherever in the field the new value first differs from the stored one (the images are compared
// in words of eight); one that stores what is there already changes nothing.
TEST_P(DbaseChangedFields, WritesTheMarkedFieldsOnly)
{
    const ChangedFieldCase& c = GetParam();
    constexpr int FieldCount = 11;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("C.DBF"));
    FieldDefList defs;
    for (int i = 0; i < FieldCount; ++i)
        defs.push_back(def(QByteArray("F" + QByteArray::number(i)).constData(), FieldType::ftString, ChangedWidth));
    dbase::create(path, defs);
    const QString stored(ChangedWidth, u'a');
    Record original(FieldCount, stored);
    Record expected = original;
    Record change(FieldCount);  // unmarked fields hold nothing, as a cursor that read only some of them would
    std::vector<char> marks(FieldCount, 0);
    for (const int f : c.fields) {
        QString value = stored;
        if (c.position >= 0)
            value[c.position] = u'b';
        change[std::size_t(f)] = value;
        expected[std::size_t(f)] = value;
        marks[std::size_t(f)] = 1;
    }
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        t->insert(original, 0);
        t->flush();
        // Once on the record in the file, once more on the image that now waits for the flush.
        for (int round = 0; round < 2; ++round) {
            const std::uint64_t before = t->changeCount();
            t->updateChanged(0, change, marks);
            EXPECT_EQ(t->read(0), expected) << "round " << round;
            const bool changes = c.position >= 0 && round == 0;
            EXPECT_EQ(t->changeCount() != before, changes) << "round " << round;
        }
        t->flush();
    }
    EXPECT_EQ(dbase::open(path, OpenMode::Shared)->read(0), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DbaseChangedFields,
    ::testing::Values(ChangedFieldCase{"FirstFieldFirstCharacter", {0}, 0},
                      ChangedFieldCase{"LastOfTheFirstWordOfMarks", {7}, 7},
                      ChangedFieldCase{"FirstAfterTheFirstWordOfMarks", {8}, 8},
                      ChangedFieldCase{"LastFieldLastCharacter", {10}, ChangedWidth - 1},
                      ChangedFieldCase{"SecondWordOfTheImage", {3}, 15},
                      ChangedFieldCase{"TwoFieldsInDifferentWords", {2, 9}, 16},
                      ChangedFieldCase{"SameValueChangesNothing", {4, 10}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct CutCase {
    const char* name;
    bool dbase3;       // the table turned into dBase III (version 0x83, plain-text memo file)
    bool memoFile;     // the memo file is cut, not the .DBF
    qint64 cutBy;      // bytes taken off the file's end
    bool beforeOpen;   // cut before our open rather than while it is open
    bool appends;      // the write appends a record with a memo; otherwise it changes (memo file) or deletes the
                       // first record
    OpenMode mode;
};

class DbaseCutShort : public ::testing::TestWithParam<CutCase> {};

// Another program cuts a file of the table short while we have it open (or before): the next write is refused with
// a message that says the table is damaged, and neither file changes; the memos before a cut read as before.
// Sixty records with a memo each, the last one three blocks long.
TEST_P(DbaseCutShort, WritingIsRefusedAndTheFilesStay)
{
    const CutCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K.DBF"));
    const QString memoPath = dir.filePath(QStringLiteral("K.DBT"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTE", FieldType::ftMemo)});
    if (c.dbase3) {
        QByteArray dbf = fileBytes(path);
        dbf[0] = char(0x83);
        writeBytes(path, dbf);
        QByteArray memo(512, '\0');
        putU32(memo, 0, 1);
        writeBytes(memoPath, memo);
    }
    auto memoOf = [](int i) {
        return i == 59 ? QStringLiteral("langes Memo ").repeated(125) : QStringLiteral("Memo %1").arg(i);
    };
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        for (int i = 0; i < 60; ++i)
            t->insert({QStringLiteral("n%1").arg(i), memoOf(i)}, t->recordCount());
    }
    const QString cutPath = c.memoFile ? memoPath : path;
    auto cut = [&] { ASSERT_TRUE(QFile::resize(cutPath, QFileInfo(cutPath).size() - c.cutBy)); };
    if (c.beforeOpen)
        cut();
    TableStoragePtr t = dbase::open(path, c.mode);
    ASSERT_TRUE(t->readOnlyReason().isEmpty()) << t->readOnlyReason().toStdString();
    if (!c.beforeOpen)
        cut();
    const QByteArray dbf = fileBytes(path);
    const QByteArray memo = fileBytes(memoPath);

    try {
        if (c.appends)
            t->insert({QStringLiteral("neu"), QStringLiteral("neues Memo")}, t->recordCount());
        else if (c.memoFile)
            t->update(0, {QStringLiteral("anders"), QStringLiteral("geändertes Memo")});
        else
            t->remove(0);  // reads nothing of the records, which lie in a block cut short
        t->flush();
        ADD_FAILURE() << "the write was not refused";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.codes().front(), ErrorCode::CorruptFile) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("beschädigt"))) << e.what();
    }
    if (c.memoFile) {
        EXPECT_EQ(t->read(0), (Record{QStringLiteral("n0"), memoOf(0)}));
        EXPECT_EQ(t->read(20), (Record{QStringLiteral("n20"), memoOf(20)}));
    }
    t.reset();  // closing tries a refused flush again
    EXPECT_EQ(fileBytes(path), dbf);
    EXPECT_EQ(fileBytes(memoPath), memo);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
}

// Records are 21 bytes (flag, NAME, NOTE); cutting the .DBF by 484 bytes takes records 38 to 60 and the end marker.
// The memo file's last memo takes three blocks: 700 bytes cut it in its middle, 5120 take it and seven more memos.
INSTANTIATE_TEST_SUITE_P(
    Damage, DbaseCutShort,
    ::testing::Values(
        CutCase{"DbfWhileOpen", false, false, 484, false, true, OpenMode::Shared},
        CutCase{"DbfWhileOpenExclusive", false, false, 484, false, true, OpenMode::Exclusive},
        CutCase{"DbfDeleteBeforeTheCut", false, false, 484, false, false, OpenMode::Shared},
        CutCase{"MemoFileByWholeMemos", false, true, 5120, false, true, OpenMode::Shared},
        CutCase{"MemoFileInsideTheLastMemo", false, true, 700, false, true, OpenMode::Exclusive},
        CutCase{"MemoFileBeforeOpen", false, true, 5120, true, true, OpenMode::Shared},
        CutCase{"MemoFileNewMemoOfAChange", false, true, 5120, false, false, OpenMode::Shared},
        CutCase{"Dbase3MemoFileInsideTheLastMemo", true, true, 700, false, true, OpenMode::Shared}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
