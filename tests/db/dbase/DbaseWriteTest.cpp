// Writing dBase tables: values of every type come back as written, deletes and memos behave, locks exclude each
// other, tables the engine cannot keep correct are refused, and other programs read what we write (and we read
// theirs).

#include "support/FieldDefs.h"
#include "DbaseTestUtil.h"

#include "db/dbase/DbaseTable.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <shapefil.h>
#include <map>
#include <sys/stat.h>

using namespace db;
using dbasetest::fieldIndex;
using dbasetest::sameValue;

namespace {

using testsupport::def;
using testsupport::fileBytes;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray hashOf(const QString& path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
}

// --- independent readers ------------------------------------------------------------------------------------------

QString oraclePython() { return QStringLiteral(DBASE_ORACLE_PYTHON); }

QJsonObject runOracle(const QString& mode, const QString& table, const QString& encoding = QString())
{
    QProcess process;
    QStringList arguments = {QStringLiteral(IMPORT_SOURCE_DIR "/tests/db/dbase/dbf_oracle.py"), mode, table};
    if (!encoding.isEmpty())
        arguments << encoding;
    process.start(oraclePython(), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "oracle did not finish";
        return {};
    }
    if (process.exitCode() != 0) {
        ADD_FAILURE() << "oracle " << mode.toStdString() << " failed: "
                      << QString::fromUtf8(process.readAllStandardError()).toStdString();
        return {};
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

#define REQUIRE_ORACLE()                                                                             \
    if (oraclePython().isEmpty())                                                                    \
    GTEST_SKIP() << "python3 with the Debian packages python3-dbf and python3-dbfread is not installed"

// Our value as the oracle prints it.
QJsonValue asJson(const QVariant& v)
{
    if (!v.isValid())
        return QJsonValue::Null;
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
    case QMetaType::Bool: return v.toBool();
    case QMetaType::Int: return v.toInt();
    case QMetaType::Double: return v.toDouble();
    case QMetaType::QByteArray: return QString::fromLatin1(v.toByteArray().toHex());
    default: return v.toString();
    }
}

void expectOracleAgrees(const QJsonObject& oracle, const TableStorage& table)
{
    const QJsonArray records = oracle.value(QStringLiteral("records")).toArray();
    ASSERT_EQ(records.size(), table.recordCount());
    for (int row = 0; row < table.recordCount(); ++row) {
        const Record ours = table.read(row);
        const QJsonArray theirs = records.at(row).toArray();
        ASSERT_EQ(theirs.size(), qsizetype(ours.size()));
        for (size_t i = 0; i < ours.size(); ++i) {
            const QJsonValue expected = asJson(ours[i]);
            const QJsonValue actual = theirs.at(qsizetype(i));
            if (expected.isDouble() && actual.isDouble())
                EXPECT_NEAR(actual.toDouble(), expected.toDouble(), 1e-9) << "row " << row << " field " << i;
            else
                EXPECT_EQ(actual, expected) << "row " << row << " field " << table.fields()[i].name.toStdString();
        }
    }
}

// --- every type ---------------------------------------------------------------------------------------------------

struct TypeCase {
    const char* name;
    FieldDef field;
    QVariant written;
    QVariant readBack;
};

class DbaseWriteType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(DbaseWriteType, ReadsBackWhatWasWritten)
{
    const TypeCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("typen.dbf"));
    dbase::create(path, {def("ID", FieldType::ftInteger), c.field});
    {
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        ASSERT_TRUE(table->readOnlyReason().isEmpty()) << table->readOnlyReason().toStdString();
        table->insert({7, c.written}, 0);
        table->insert({8, QVariant()}, 1);
        EXPECT_TRUE(sameValue(table->read(0)[1], c.readBack));
    }
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 2);
    EXPECT_TRUE(sameValue(table->read(0)[1], c.readBack));
    EXPECT_TRUE(sameValue(table->read(0)[0], 7.0));
    EXPECT_TRUE(sameValue(table->read(1)[1], QVariant()));
}

INSTANTIATE_TEST_SUITE_P(
    Types, DbaseWriteType,
    ::testing::Values(
        TypeCase{"StringUmlauts", def("NAME", FieldType::ftString, 20), u("Müller & Söhne €"), u("Müller & Söhne €")},
        TypeCase{"StringCutToSize", def("KURZ", FieldType::ftString, 5), u("abcdefgh"), u("abcde")},
        TypeCase{"StringTrailingBlanks", def("NAME", FieldType::ftString, 10), u("ab   "), u("ab")},
        TypeCase{"StringEmptyIsNull", def("NAME", FieldType::ftString, 10), u(""), QVariant()},
        TypeCase{"SmallintMax", def("KLEIN", FieldType::ftSmallint), 32767, 32767},
        TypeCase{"SmallintMin", def("KLEIN", FieldType::ftSmallint), -32768, -32768},
        TypeCase{"WordMax", def("WORT", FieldType::ftWord), 65535, 65535},
        TypeCase{"IntegerMax", def("GANZ", FieldType::ftInteger), 2147483647, 2147483647.0},
        TypeCase{"IntegerMin", def("GANZ", FieldType::ftInteger), -2147483647 - 1, -2147483648.0},
        TypeCase{"FloatDefaultDecimals", def("ZAHL", FieldType::ftFloat), 3.14159, 3.1416},
        TypeCase{"FloatNegativeZeroRounded", def("ZAHL", FieldType::ftFloat), -0.00004, 0.0},
        TypeCase{"FloatLarge", def("ZAHL", FieldType::ftFloat), 123456789012345.0, 123456789012345.0},
        TypeCase{"FloatGivenWidth", def("ZAHL", FieldType::ftFloat, 10, 2), -1234.5, -1234.5},
        TypeCase{"FloatFromText", def("ZAHL", FieldType::ftFloat, 10, 2), u("17.25"), 17.25},
        TypeCase{"FloatEmptyTextIsNull", def("ZAHL", FieldType::ftFloat, 10, 2), u(""), QVariant()},
        TypeCase{"Currency", def("BETRAG", FieldType::ftCurrency), 19.99, 19.99},
        TypeCase{"Date", def("DATUM", FieldType::ftDate), QDate(2024, 2, 29), QDate(2024, 2, 29)},
        TypeCase{"DateOfDateTime", def("DATUM", FieldType::ftDate), QDateTime(QDate(1999, 12, 31), QTime(23, 59)),
                 QDate(1999, 12, 31)},
        TypeCase{"TimeAsText", def("ZEIT", FieldType::ftTime), QTime(12, 34, 56), u("12:34:56")},
        TypeCase{"DateTimeAsText", def("STEMPEL", FieldType::ftDateTime), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)),
                 u("2001-02-03 04:05:06")},
        TypeCase{"BooleanTrue", def("AKTIV", FieldType::ftBoolean), true, true},
        TypeCase{"BooleanFalse", def("AKTIV", FieldType::ftBoolean), false, false},
        TypeCase{"MemoLines", def("NOTIZ", FieldType::ftMemo), u("Zeile 1\r\nZeile 2 äöüß"), u("Zeile 1\r\nZeile 2 äöüß")},
        TypeCase{"MemoEmptyIsNull", def("NOTIZ", FieldType::ftMemo), u(""), QVariant()},
        TypeCase{"FormattedMemo", def("NOTIZ", FieldType::ftFmtMemo), u("{\\rtf1 x}"), u("{\\rtf1 x}")},
        TypeCase{"BlobBinary", def("DATEN", FieldType::ftBlob), QByteArray("\x00\x1A\x1F\xFF\r\n", 6),
                 QByteArray("\x00\x1A\x1F\xFF\r\n", 6)},
        TypeCase{"GraphicBinary", def("BILD", FieldType::ftGraphic), QByteArray(3000, '\x1A'), QByteArray(3000, '\x1A')},
        TypeCase{"DbaseOle", def("OLE", FieldType::ftDBaseOle), QByteArray("OLE\x01", 4), QByteArray("OLE\x01", 4)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DbaseWrite, FieldTypesOfNewTable)
{
    struct Case {
        FieldDef field;
        FieldType reported;
        int size;
        int precision;
    };
    const std::vector<Case> cases = {
        {def("A", FieldType::ftString, 30), FieldType::ftString, 30, 0},
        {def("B", FieldType::ftSmallint), FieldType::ftInteger, 6, 0},
        {def("C", FieldType::ftInteger), FieldType::ftFloat, 11, 0},
        {def("D", FieldType::ftFloat), FieldType::ftFloat, 20, 4},
        {def("E", FieldType::ftCurrency), FieldType::ftFloat, 20, 2},
        {def("F", FieldType::ftFloat, 5, 0), FieldType::ftInteger, 5, 0},
        {def("G", FieldType::ftFloat, 4, 0), FieldType::ftSmallint, 4, 0},
        {def("H", FieldType::ftDate), FieldType::ftDate, 0, 0},
        {def("I", FieldType::ftBoolean), FieldType::ftBoolean, 0, 0},
        {def("J", FieldType::ftMemo), FieldType::ftMemo, 0, 0},
        {def("K", FieldType::ftBlob), FieldType::ftBlob, 0, 0},
        {def("L", FieldType::ftDBaseOle), FieldType::ftDBaseOle, 0, 0},
    };
    FieldDefList defs;
    for (const Case& c : cases)
        defs.push_back(c.field);
    QTemporaryDir dir;
    dbase::create(dir.filePath(QStringLiteral("neu.dbf")), defs);
    const TableStoragePtr table = dbase::open(dir.filePath(QStringLiteral("neu.dbf")), OpenMode::Shared);
    ASSERT_EQ(table->fields().size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(table->fields()[i].type, cases[i].reported) << i;
        EXPECT_EQ(table->fields()[i].size, cases[i].size) << i;
        EXPECT_EQ(table->fields()[i].precision, cases[i].precision) << i;
    }
    // Version 0x8B (dBase IV with memo), language driver of Windows-1252, memo file with the table's case.
    const QByteArray head = fileBytes(dir.filePath(QStringLiteral("neu.dbf")));
    EXPECT_EQ(std::uint8_t(head[0]), 0x8B);
    EXPECT_EQ(std::uint8_t(head[29]), 0x57);
    EXPECT_EQ(std::uint8_t(head.back()), 0x1A);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("neu.dbt"))));
}

TEST(DbaseWrite, RefusedDefinitions)
{
    const std::vector<std::pair<const char*, FieldDefList>> cases = {
        {"name too long", {def("VIEL_ZU_LANG", FieldType::ftString, 5)}},
        {"name with blank", {def("A B", FieldType::ftString, 5)}},
        {"name starting with digit", {def("1A", FieldType::ftString, 5)}},
        {"duplicate name", {def("A", FieldType::ftString, 5), def("a", FieldType::ftDate)}},
        {"string of 255", {def("A", FieldType::ftString, 255)}},
        {"string of 0", {def("A", FieldType::ftString, 0)}},
        {"decimals do not fit", {def("A", FieldType::ftFloat, 5, 4)}},
        {"cursor type", {def("A", FieldType::ftCursor)}},
        {"no fields", {}},
    };
    for (const auto& [name, defs] : cases) {
        QTemporaryDir dir;
        EXPECT_THROW(dbase::create(dir.filePath(QStringLiteral("x.dbf")), defs), EngineError) << name;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.dbf")))) << name;
    }
}

TEST(DbaseWrite, NumberThatDoesNotFitChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zahl.dbf"));
    dbase::create(path, {def("N", FieldType::ftFloat, 5, 0), def("M", FieldType::ftMemo)});
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    const QByteArray before = fileBytes(path);
    const QByteArray memoBefore = fileBytes(dir.filePath(QStringLiteral("zahl.dbt")));
    for (const QVariant& bad : {QVariant(123456.0), QVariant(-12345.0), QVariant(u("12a")), QVariant(qQNaN())}) {
        try {
            table->insert({bad, u("Memo")}, 0);
            ADD_FAILURE() << "accepted " << bad.toString().toStdString();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), ErrorCode::InvalidValue);
        }
    }
    EXPECT_EQ(table->recordCount(), 0);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("zahl.dbt"))), memoBefore);
}

// --- deletes, updates, memos --------------------------------------------------------------------------------------

TEST(DbaseWrite, DeletedRecordsDisappear)
{
    REQUIRE_ORACLE();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loesch.dbf"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10)});
    {
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        for (const char* name : {"A", "B", "C", "D", "E"})
            table->insert({u(name)}, table->recordCount());
        table->flush();
        table->remove(1);
        table->remove(2);
        ASSERT_EQ(table->recordCount(), 3);
        EXPECT_EQ(table->read(1)[0].toString(), u("C"));
    }
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 3);
    EXPECT_EQ(table->read(0)[0].toString(), u("A"));
    EXPECT_EQ(table->read(1)[0].toString(), u("C"));
    EXPECT_EQ(table->read(2)[0].toString(), u("E"));
    // The records stay in the file, flagged: the header still counts five.
    const QByteArray bytes = fileBytes(path);
    EXPECT_EQ(std::uint8_t(bytes[4]), 5);
    expectOracleAgrees(runOracle(QStringLiteral("dbfread"), path), *table);
    expectOracleAgrees(runOracle(QStringLiteral("dbf"), path), *table);
    // Deleting from a fixture copy: people.dbf already has one deleted record.
    const QString people = testsupport::copyTableTo(QStringLiteral("dbase/dbfread/people.dbf"), dir.path());
    const TableStoragePtr peopleTable = dbase::open(people, OpenMode::Shared);
    peopleTable->remove(0);
    EXPECT_EQ(peopleTable->recordCount(), 1);
    peopleTable->flush();
    expectOracleAgrees(runOracle(QStringLiteral("dbfread"), people), *peopleTable);
}

QString memoOfSize(int size, int seed)
{
    QString text;
    text.reserve(size);
    for (int i = 0; i < size; ++i)
        text.append(i % 61 == 60 ? QChar(u'\n') : QChar(u'a' + (i * 7 + seed) % 26));
    return text;
}

struct MemoTableCase {
    const char* name;
    const char* fixture;  // nullptr: a new table
    const char* memoField;
};

class DbaseMemoWrite : public ::testing::TestWithParam<MemoTableCase> {};

TEST_P(DbaseMemoWrite, MemosOfEverySizeReadBack)
{
    REQUIRE_ORACLE();
    const MemoTableCase& c = GetParam();
    QTemporaryDir dir;
    QString path;
    if (c.fixture) {
        path = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
    } else {
        path = dir.filePath(QStringLiteral("memo.dbf"));
        dbase::create(path, {def("NR", FieldType::ftSmallint), def("NOTIZ", FieldType::ftMemo)});
    }
    const std::vector<int> sizes = {1, 100, 495, 496, 502, 503, 504, 505, 510, 511, 512, 513, 1000, 5000, 70000};
    std::map<int, QString> expected;  // row -> memo
    {
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        ASSERT_TRUE(table->readOnlyReason().isEmpty()) << table->readOnlyReason().toStdString();
        const int memo = fieldIndex(*table, QString::fromLatin1(c.memoField));
        const int existing = table->recordCount();
        for (size_t i = 0; i < sizes.size(); ++i) {
            Record record(table->fields().size());
            record[size_t(memo)] = memoOfSize(sizes[i], int(i));
            const int row = table->insert(record, 0);
            EXPECT_EQ(row, existing + int(i));
            expected[row] = memoOfSize(sizes[i], int(i));
        }
        // Changing one memo writes a new one; an unchanged one keeps its block.
        Record changed = table->read(existing + 2);
        changed[size_t(memo)] = memoOfSize(3000, 99);
        table->update(existing + 2, changed);
        expected[existing + 2] = memoOfSize(3000, 99);
        Record same = table->read(existing + 3);
        table->update(existing + 3, same);
        Record cleared = table->read(existing + 4);
        cleared[size_t(memo)] = QVariant();
        table->update(existing + 4, cleared);
        expected[existing + 4] = QString();
    }
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    const int memo = fieldIndex(*table, QString::fromLatin1(c.memoField));
    for (const auto& [row, text] : expected) {
        const QVariant value = table->read(row)[size_t(memo)];
        if (text.isEmpty())
            EXPECT_FALSE(value.isValid()) << "row " << row;
        else
            EXPECT_EQ(value.toString(), text) << "row " << row;
    }
    // dbfread (which knows the dBase III and IV memo files) reads the same memos.
    // Fixtures whose header names no code page are OEM text.
    const QJsonObject oracle = runOracle(QStringLiteral("dbfread"), path, c.fixture ? QStringLiteral("cp850") : QString());
    const QJsonArray records = oracle.value(QStringLiteral("records")).toArray();
    ASSERT_EQ(records.size(), table->recordCount());
    for (const auto& [row, text] : expected) {
        const QJsonValue theirs = records.at(row).toArray().at(memo);
        if (text.isEmpty())
            EXPECT_TRUE(theirs.isNull()) << "row " << row;
        else
            EXPECT_EQ(theirs.toString(), text) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(MemoFiles, DbaseMemoWrite,
                         ::testing::Values(MemoTableCase{"NewDbase4", nullptr, "NOTIZ"},
                                           MemoTableCase{"Dbase3Fixture", "dbase/rubydbf/dbase_83.dbf", "DESC"},
                                           MemoTableCase{"Dbase4Fixture", "dbase/rubydbf/dbase_8b.dbf", "MEMO"},
                                           MemoTableCase{"ClipperFixture", "dbase/lino/PAR.DBF", "MEMO"},
                                           MemoTableCase{"XbaseFixture", "dbase/dbd-xbase/test.dbf", "NOTE"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DbaseWrite, UpdateChangesOnlyItsRecord)
{
    REQUIRE_ORACLE();
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("dbase/dbd-xbase/test.dbf"), dir.path());
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    const Record first = table->read(0);
    Record second = table->read(1);
    second[1] = u("Geändert");
    second[2] = u("Neues Memo");
    second[3] = true;
    second[4] = QDate(2020, 5, 17);
    EXPECT_EQ(table->update(1, second), 1);
    table->flush();
    const TableStoragePtr reopened = dbase::open(path, OpenMode::Shared);
    // The header names no code page: the text is OEM (850), which dbfread does not know; compare the rest.
    EXPECT_EQ(reopened->read(0), first);
    EXPECT_TRUE(sameValue(reopened->read(1)[1], u("Geändert")));
    EXPECT_TRUE(sameValue(reopened->read(1)[2], u("Neues Memo")));
    EXPECT_TRUE(sameValue(reopened->read(1)[3], true));
    EXPECT_TRUE(sameValue(reopened->read(1)[4], QDate(2020, 5, 17)));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
}

TEST(DbaseWrite, EmptyNeedsExclusiveAndKeepsStructure)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("dbase/rubydbf/dbase_8b.dbf"), dir.path());
    {
        const TableStoragePtr shared = dbase::open(path, OpenMode::Shared);
        EXPECT_THROW(shared->empty(), EngineError);
        EXPECT_EQ(shared->recordCount(), 10);
    }
    const TableStoragePtr table = dbase::open(path, OpenMode::Exclusive);
    table->empty();
    EXPECT_EQ(table->recordCount(), 0);
    Record record(table->fields().size());
    record[0] = u("Neu");
    record[5] = u("Memo nach dem Leeren");
    table->insert(record, 0);
    table->flush();
    EXPECT_EQ(fileBytes(path).size(), 225 + 160 + 1);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("dbase_8b.dbt"))).size(), 1024);
    EXPECT_EQ(table->read(0)[5].toString(), u("Memo nach dem Leeren"));
}

TEST(DbaseWrite, WritersOfTwoOpensSeeEachOther)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zwei.dbf"));
    dbase::create(path, {def("NAME", FieldType::ftString, 10), def("NOTIZ", FieldType::ftMemo)});
    const TableStoragePtr a = dbase::open(path, OpenMode::Shared);
    const TableStoragePtr b = dbase::open(path, OpenMode::Shared);
    a->insert({u("von A"), u("Memo A")}, 0);
    a->flush();
    // B learns of A's record when it flushes its own, which goes behind A's.
    EXPECT_EQ(b->insert({u("von B"), u("Memo B")}, 0), 0);
    b->flush();
    EXPECT_EQ(b->recordCount(), 2);
    EXPECT_EQ(b->read(0)[1].toString(), u("Memo A"));
    EXPECT_EQ(b->read(1)[1].toString(), u("Memo B"));
    const TableStoragePtr c = dbase::open(path, OpenMode::Shared);
    EXPECT_EQ(c->recordCount(), 2);
    EXPECT_EQ(c->read(0)[1].toString(), u("Memo A"));
}

// --- locks and refusals -------------------------------------------------------------------------------------------

TEST(DbaseLock, ExclusiveExcludesEveryOtherOpen)
{
    struct Case {
        OpenMode first;
        OpenMode second;
        bool conflict;
    };
    const std::vector<Case> cases = {
        {OpenMode::Shared, OpenMode::Shared, false},
        {OpenMode::Shared, OpenMode::Exclusive, true},
        {OpenMode::Exclusive, OpenMode::Shared, true},
        {OpenMode::Exclusive, OpenMode::Exclusive, true},
    };
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("dbase/dbfread/people.dbf"), dir.path());
    for (const Case& c : cases) {
        const TableStoragePtr first = dbase::open(path, c.first);
        try {
            const TableStoragePtr second = dbase::open(path, c.second);
            EXPECT_FALSE(c.conflict);
        } catch (const EngineError& e) {
            EXPECT_TRUE(c.conflict);
            EXPECT_EQ(e.code(), ErrorCode::FileLocked);
        }
    }
    // Creating over a table somebody holds is refused too.
    const TableStoragePtr holder = dbase::open(path, OpenMode::Shared);
    try {
        dbase::create(path, {def("X", FieldType::ftString, 5)});
        ADD_FAILURE() << "replaced a table in use";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), ErrorCode::FileLocked);
    }
    EXPECT_EQ(holder->recordCount(), 2);
}

TEST(DbaseReadOnly, TablesWeCannotKeepCorrectAreNotWritten)
{
    struct Case {
        const char* name;
        const char* fixture;
        std::function<void(const QString& table)> prepare;
        const char* reasonContains;
    };
    auto setByte = [](int offset, char value) {
        return [=](const QString& table) {
            QByteArray bytes = fileBytes(table);
            bytes[offset] = value;
            QFile f(table);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
    };
    auto addFile = [](const char* suffix) {
        return [=](const QString& table) {
            QFile f(QFileInfo(table).path() + QStringLiteral("/") + QFileInfo(table).completeBaseName() +
                    QString::fromLatin1(suffix));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("index");
        };
    };
    const std::vector<Case> cases = {
        {"production index flag", "dbase/dbfread/people.dbf", setByte(28, 1), "Produktionsindex"},
        {"mdx beside", "dbase/dbfread/people.dbf", addFile(".MDX"), "people.MDX"},
        {"ndx beside", "dbase/dbfread/people.dbf", addFile(".ndx"), "people.ndx"},
        {"encrypted", "dbase/dbfread/people.dbf", setByte(15, 1), "verschlüsselt"},
        {"open transaction", "dbase/dbfread/people.dbf", setByte(14, 1), "Transaktion"},
        {"visual foxpro", "dbase/dbd-xbase/afox5.dbf", [](const QString&) {}, "Visual FoxPro"},
        {"visual foxpro auto-increment", "dbase/rubydbf/dbase_31.dbf", [](const QString&) {}, "Visual FoxPro"},
        {"foxpro types in a dBase header", "dbase/dbd-xbase/types.dbf", [](const QString&) {}, "Typ"},
        {"dbase 7", "dbase/javadbf/test_delete.dbf", [](const QString&) {}, "dBase 7"},
        // A date takes eight bytes; a shorter date field (the name field before it longer by as much) would be
        // written past its end.
        {"short date field", "dbase/dbfread/people.dbf",
         [=](const QString& table) {
             setByte(48, 20)(table);
             setByte(80, 4)(table);
         },
         "Länge 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        c.prepare(path);
        const QByteArray before = hashOf(path);
        const TableStoragePtr table = dbase::open(path, OpenMode::Exclusive);
        EXPECT_TRUE(table->readOnlyReason().contains(u(c.reasonContains))) << table->readOnlyReason().toStdString();
        const Record record = table->read(0);
        const std::vector<std::function<void()>> writes = {
            [&] { table->insert(record, 0); }, [&] { table->update(0, record); }, [&] { table->remove(0); },
            [&] { table->empty(); }};
        for (const auto& write : writes) {
            try {
                write();
                ADD_FAILURE() << "wrote a read-only table";
            } catch (const EngineError& e) {
                EXPECT_EQ(e.code(), ErrorCode::ReadOnlyTable);
                EXPECT_EQ(e.message(), table->readOnlyReason());
            }
        }
        EXPECT_EQ(hashOf(path), before);
    }
}

// Root opens any file for writing; the mode bits alone say that the user protected it.
TEST(DbaseReadOnly, ProtectedFilesAreNotWritten)
{
    struct Case {
        const char* file;
        bool whileOpen;  // protected after the table was opened and changed, before the flush
    } cases[] = {{"SICHER.DBF", false}, {"SICHER.DBT", false}, {"SICHER.DBF", true}, {"SICHER.DBT", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.whileOpen ? " while open" : ""));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("SICHER.DBF"));
        dbase::create(path, {def("NR", FieldType::ftInteger), def("NOTIZ", FieldType::ftMemo)});
        {
            const TableStoragePtr table = dbase::open(path, OpenMode::Exclusive);
            for (int i = 1; i <= 3; ++i)
                table->insert({i, QString(600, QChar(u'a' + i))}, i - 1);
        }
        const auto files = [&] {
            std::map<QString, QByteArray> result;
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
                result[name] = fileBytes(dir.filePath(name));
            return result;
        };
        const auto before = files();
        const QByteArray protectedFile = QFile::encodeName(dir.filePath(QString::fromLatin1(c.file)));
        TableStoragePtr table;
        if (!c.whileOpen) {
            ASSERT_EQ(::chmod(protectedFile.constData(), 0444), 0);
            table = dbase::open(path, OpenMode::Shared);
            EXPECT_TRUE(table->readOnlyReason().contains(QString::fromLatin1(c.file)))
                << table->readOnlyReason().toStdString();
        } else {
            table = dbase::open(path, OpenMode::Shared);
            ASSERT_TRUE(table->readOnlyReason().isEmpty()) << table->readOnlyReason().toStdString();
        }
        try {
            table->insert({4, QString(600, u'x')}, 3);
            table->update(0, {1, u("geändert")});
            if (c.whileOpen) {
                ASSERT_EQ(::chmod(protectedFile.constData(), 0444), 0);
            }
            table->flush();
            ADD_FAILURE() << "wrote a protected table";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.code(), ErrorCode::ReadOnlyTable);
            EXPECT_EQ(e.message(), u("Die Tabelle %1 kann nur gelesen werden. Die Datei %2 ist schreibgeschützt.")
                                       .arg(QDir::toNativeSeparators(path), QString::fromLatin1(c.file)));
        }
        table.reset();  // the changes refused at the flush are not written at the close either
        EXPECT_EQ(files(), before);
    }
}

// --- other programs -----------------------------------------------------------------------------------------------

// A table of every type without memos, filled with a few records.
QString writeSampleWithoutMemo(const QString& dir)
{
    const QString path = dir + QStringLiteral("/probe.dbf");
    dbase::create(path, {def("NAME", FieldType::ftString, 25), def("KLEIN", FieldType::ftSmallint),
                         def("GROSS", FieldType::ftInteger), def("BETRAG", FieldType::ftFloat, 12, 2),
                         def("DATUM", FieldType::ftDate), def("AKTIV", FieldType::ftBoolean)});
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    table->insert({u("Müller"), 12, 123456789, 1234.5, QDate(2024, 2, 29), true}, 0);
    table->insert({u("Ärger & Öl"), -7, -1, -0.25, QDate(1900, 1, 1), false}, 1);
    table->insert({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()}, 2);
    table->insert({u("gelöscht"), 1, 1, 1.0, QDate(2000, 1, 1), true}, 3);
    table->flush();
    table->remove(3);
    table->flush();
    return path;
}

TEST(DbaseCompatibility, PythonReadersReadOurTables)
{
    REQUIRE_ORACLE();
    QTemporaryDir dir;
    const QString plain = writeSampleWithoutMemo(dir.path());
    const TableStoragePtr table = dbase::open(plain, OpenMode::Shared);
    expectOracleAgrees(runOracle(QStringLiteral("dbfread"), plain), *table);
    expectOracleAgrees(runOracle(QStringLiteral("dbf"), plain), *table);

    // With memos (dBase IV): dbfread only, python3-dbf does not read dBase IV memo files.
    const QString memo = dir.filePath(QStringLiteral("mitmemo.dbf"));
    dbase::create(memo, {def("NAME", FieldType::ftString, 10), def("NOTIZ", FieldType::ftMemo),
                         def("DATEN", FieldType::ftBlob), def("WERT", FieldType::ftFloat)});
    const TableStoragePtr memoTable = dbase::open(memo, OpenMode::Shared);
    memoTable->insert({u("eins"), u("Straße\r\nZeile zwei"), QByteArray("\x01\x02\x03", 3), 2.5}, 0);
    memoTable->insert({u("zwei"), QVariant(), QVariant(), QVariant()}, 1);
    memoTable->insert({u("drei"), memoOfSize(2000, 3), QByteArray(600, 'b'), -1.0}, 2);
    memoTable->flush();
    expectOracleAgrees(runOracle(QStringLiteral("dbfread"), memo), *memoTable);
}

TEST(DbaseCompatibility, WeReadWhatPythonDbfWrites)
{
    REQUIRE_ORACLE();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("python.dbf"));
    runOracle(QStringLiteral("dbf-write"), path);
    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 3);
    const std::vector<Record> expected = {
        {u("Müller"), 12.5, 42, QDate(2024, 2, 29), true, u("Erste Zeile\r\nzweite Zeile")},
        {u("Öztürk & Söhne"), -0.75, -7, QVariant(), false, QVariant()},
        {QVariant(), QVariant(), QVariant(), QDate(1999, 12, 31), QVariant(), QString(1500, u'x')},
    };
    for (int row = 0; row < 3; ++row)
        for (size_t i = 0; i < expected[size_t(row)].size(); ++i)
            EXPECT_TRUE(sameValue(table->read(row)[i], expected[size_t(row)][i])) << row << "/" << i;
    // And we can go on writing it (dBase III memo file).
    EXPECT_TRUE(table->readOnlyReason().isEmpty()) << table->readOnlyReason().toStdString();
    table->insert({u("Neu"), 1.0, 2, QDate(2001, 1, 1), true, u("Anhang")}, 3);
    table->flush();
    expectOracleAgrees(runOracle(QStringLiteral("dbfread"), path), *table);
}

std::string shpText(DBFHandle h, int record, int field)
{
    return QByteArray(DBFReadStringAttribute(h, record, field)).trimmed().toStdString();
}

TEST(DbaseCompatibility, ShapelibReadsOurTables)
{
    QTemporaryDir dir;
    const QString path = writeSampleWithoutMemo(dir.path());
    DBFHandle h = DBFOpen(QFile::encodeName(path).constData(), "rb");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(DBFGetRecordCount(h), 4);  // shapelib counts deleted records too
    EXPECT_EQ(DBFGetFieldCount(h), 6);
    EXPECT_EQ(DBFIsRecordDeleted(h, 3), 1);
    EXPECT_EQ(shpText(h, 0, 0), QString(u("Müller")).toLatin1().toStdString());
    EXPECT_EQ(DBFReadIntegerAttribute(h, 0, 1), 12);
    EXPECT_EQ(DBFReadIntegerAttribute(h, 0, 2), 123456789);
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(h, 0, 3), 1234.5);
    EXPECT_EQ(shpText(h, 0, 4), "20240229");
    EXPECT_EQ(shpText(h, 0, 5), "T");
    EXPECT_EQ(DBFReadIntegerAttribute(h, 1, 1), -7);
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(h, 1, 3), -0.25);
    EXPECT_EQ(shpText(h, 1, 5), "F");
    // Empty values: shapelib takes blank text and numbers as null; blank dates and logicals it hands out as the
    // blanks they are (its own null markers are "00000000" and "?").
    for (int field = 0; field < 4; ++field)
        EXPECT_TRUE(DBFIsAttributeNULL(h, 2, field)) << field;
    EXPECT_EQ(shpText(h, 2, 4), "");
    EXPECT_EQ(shpText(h, 2, 5), "");
    DBFClose(h);
}

TEST(DbaseCompatibility, WeReadWhatShapelibWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shape.dbf"));
    DBFHandle h = DBFCreate(QFile::encodeName(path).constData());
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(DBFAddField(h, "NAME", FTString, 20, 0), 0);
    ASSERT_EQ(DBFAddField(h, "ANZAHL", FTInteger, 6, 0), 1);
    ASSERT_EQ(DBFAddField(h, "WERT", FTDouble, 14, 3), 2);
    ASSERT_EQ(DBFAddField(h, "DATUM", FTDate, 8, 0), 3);
    ASSERT_EQ(DBFAddField(h, "OK", FTLogical, 1, 0), 4);
    const QByteArray name = QString(u("Größe")).toLatin1();
    DBFWriteStringAttribute(h, 0, 0, name.constData());
    DBFWriteIntegerAttribute(h, 0, 1, -4711);
    DBFWriteDoubleAttribute(h, 0, 2, 3.125);
    char date[] = "20231224";
    DBFWriteAttributeDirectly(h, 0, 3, date);  // this shapelib has no date writer
    DBFWriteLogicalAttribute(h, 0, 4, 'T');
    for (int field = 0; field < 5; ++field)
        DBFWriteNULLAttribute(h, 1, field);
    DBFWriteStringAttribute(h, 2, 0, "weg");
    DBFMarkRecordDeleted(h, 2, 1);
    DBFClose(h);

    const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), 2);
    const Record first = table->read(0);
    EXPECT_TRUE(sameValue(first[0], u("Größe")));
    EXPECT_TRUE(sameValue(first[1], -4711));
    EXPECT_TRUE(sameValue(first[2], 3.125));
    EXPECT_TRUE(sameValue(first[3], QDate(2023, 12, 24)));
    EXPECT_TRUE(sameValue(first[4], true));
    for (const QVariant& v : table->read(1))
        EXPECT_FALSE(v.isValid());
}

}  // namespace
