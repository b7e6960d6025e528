// Reading tables written by other programs: every dBase fixture reads back the values its sources publish, and
// damaged copies raise EngineError instead of crashing, hanging or allocating without bound.

#include "DbaseTestUtil.h"

#include "db/dbase/DbaseTable.h"
#include "db/dbase/DbfFormat.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace db;
using dbasetest::fieldIndex;
using dbasetest::sameValue;

namespace {

struct Cell {
    int row;
    const char* field;
    QVariant value;
};

struct FixtureCase {
    const char* name;
    const char* file;
    std::optional<int> codePage;
    int rows;
    int fields;
    bool writable;
    std::vector<Cell> cells;
};

QVariant s(const char* utf8) { return QString::fromUtf8(utf8); }
QVariant d(int y, int m, int day) { return QDate(y, m, day); }
QVariant dt(int y, int mo, int day, int h, int mi, int sec)
{
    return QDateTime(QDate(y, mo, day), QTime(h, mi, sec));
}

const std::vector<FixtureCase>& fixtureCases()
{
    static const std::vector<FixtureCase> cases = {
        {"NatCp850Umlauts", "dbase/lino/NAT.DBF", std::nullopt, 14, 12, true,
         {{0, "NAME", s("Belgien")}, {1, "NAME", s("Luxemburg")}, {2, "NAME", s("Deutschland")},
          {3, "NAME", s("Niederlande")}, {4, "NAME", s("Frankreich")}, {5, "NAME", s("Großbritannien")},
          {6, "NAME", s("Italien")}, {7, "NAME", s("Irland")}, {8, "NAME", s("Spanien")},
          {9, "NAME", s("Portugal")}, {10, "NAME", s("Schweiz")}, {11, "NAME", s("Österreich")},
          {12, "NAME", s("Dänemark")}, {13, "NAME", s("United States of America")},
          {0, "TVAPICT", s("@R !!-999.999.999")}, {1, "TELPREFIX", QVariant()}}},
        {"ParClipperMemo", "dbase/lino/PAR.DBF", std::nullopt, 48, 37, true,
         {{0, "RUE", s("Bergstraße")}, {0, "DATCREA", d(2002, 10, 23)}, {0, "MEMO", QVariant()},
          {10, "IDPAR", s("000008")}, {10, "FIRME", s("Ausdemwald")}, {11, "IDPAR", s("000012")},
          {11, "FIRME", s("Müller AG")}, {12, "FIRME", s("Bodard")}, {13, "FIRME", s("Mendelssohn GmbH")},
          {14, "IDPAR", s("000015")}, {14, "FIRME", s("INTERMOBIL s.a.")},
          {2, "MEMO", s("Öffnungszeiten : \r\nMo-Fr 8.30-17.00")},
          {10, "MEMO",
           s("Das ist der Memotext zu Norbert Ausdemwald (IdPar 000008).\r\nHier ist eine zweite Zeile.\r\n\r\n"
             "Auf der vierten Zeile kommen weiche Zeilensprünge (ASCII 141) hinzu, die von memoedit() automatisch "
             "eingefügt werden, wenn eine Zeile länger als der Texteditor ist. Hinter \"von\" und \"der\" müsste "
             "jeweils ein ASCII 141 sein.\r\nUnd jetzt ist Schluss. Ohne Leerzeile hinter dem Ausrufezeichen!")}}},
        {"Dbase03DuplicateNames", "dbase/rubydbf/dbase_03.dbf", std::nullopt, 14, 31, true,
         {{0, "Type", s("CMP")}, {0, "Date_Visit", d(2005, 7, 12)}, {0, "Max_PDOP", 5.2},
          {0, "Time", s("10:56:30am")}, {1, "Max_PDOP", 4.9}, {2, "Max_HDOP", 4.4}}},
        {"Dbase83Memo", "dbase/rubydbf/dbase_83.dbf", 1252, 67, 15, true,
         {{0, "ID", 87.0}, {0, "NAME", s("Assorted Petits Fours")}, {0, "WEIGHT", 5.51}, {0, "TAXABLE", true},
          {0, "PRICE", 0.0}, {1, "COST", 28.95}, {1, "TAXABLE", false}, {2, "ACTIVE", false},
          {0, "THUMBNAIL", s("graphics/00000001/t_1.jpg")}}},
        {"Dbase8bDbase4Memo", "dbase/rubydbf/dbase_8b.dbf", std::nullopt, 10, 6, true,
         {{0, "CHARACTER", s("One")}, {0, "NUMERICAL", 1.0}, {0, "DATE", d(1970, 1, 1)}, {0, "LOGICAL", true},
          {0, "FLOAT", 1.23456789012346}, {0, "MEMO", s("First memo\r\n")}, {1, "DATE", d(1970, 12, 31)},
          {2, "LOGICAL", QVariant()}, {2, "CHARACTER", s("Three")}, {9, "FLOAT", 0.1}, {9, "MEMO", QVariant()},
          {8, "FLOAT", QVariant()}}},
        {"Dbase30VisualFoxPro", "dbase/rubydbf/dbase_30.dbf", std::nullopt, 34, 145, false,
         {{0, "ACCESSNO", s("1999.1")}, {0, "ACQVALUE", QVariant()}, {1, "ACQVALUE", 0.0},
          {0, "CLASSES", s("Domestic Life\r\nWeddings\r\n")}, {3, "CLASSES", s("Agriculture\r\nFarms & Farming\r\n")},
          {0, "CATDATE", d(1999, 3, 5)}, {0, "APPNOTES", QVariant()}}},
        {"Dbase31NullFlags", "dbase/rubydbf/dbase_31.dbf", std::nullopt, 77, 10, false,
         {{0, "PRODUCTID", 1}, {0, "PRODUCTNAM", s("Chai")}, {0, "UNITPRICE", 18.0}, {0, "REORDERLEV", 10},
          {1, "REORDERLEV", 25}, {1, "UNITSONORD", 40}, {0, "DISCONTINU", false}, {2, "QUANTITYPE", s("12 - 550 ml bottles")}}},
        {"Dbase32Varchar", "dbase/rubydbf/dbase_32.dbf", std::nullopt, 1, 1, false,
         {{0, "NAME", s("Bad Meets Evil")}}},
        {"DbaseF5FoxPro", "dbase/rubydbf/dbase_f5.dbf", std::nullopt, 975, 59, false,
         {{3, "DATN", d(1870, 6, 30)}, {0, "COMN", s("baix penedès")}, {0, "OFIC", s("químic prof sec")},
          {0, "NF", 1}, {2, "NFP", 867}, {0, "DATB", QVariant()}, {0, "OBSE", QVariant()}}},
        {"Cp1251Header", "dbase/rubydbf/cp1251.dbf", std::nullopt, 4, 2, false,
         {{0, "NAME", s("амбулаторно-поликлиническое")}, {1, "NAME", s("больничное")}, {2, "NAME", s("НИИ")},
          {0, "RN", 1}}},
        {"Dbase7Level", "dbase/javadbf/test_delete.dbf", std::nullopt, 2, 1, false,
         {{0, "FNAME", s("john")}, {1, "FNAME", s("suzy")}}},
        {"ProvinciasCp1252", "dbase/javadbf/provincias_es.dbf", std::nullopt, 52, 5, true,
         {{0, "Texto", s("Álava")}, {0, "CCAA", s("País Vasco")}, {1, "Codigo", s("02")}}},
        {"ContinentsNoEofMarker", "dbase/javadbf/continents.dbf", std::nullopt, 7, 1, true,
         {{0, "name", s("North America")}, {2, "name", s("Africa")}}},
        {"PeopleDeleted", "dbase/dbfread/people.dbf", std::nullopt, 2, 2, true,
         {{0, "NAME", s("Alice")}, {1, "NAME", s("Bob")}, {0, "BIRTHDATE", d(1987, 3, 1)},
          {1, "BIRTHDATE", d(1980, 11, 12)}}},
        {"MemotestUpperCaseFpt", "dbase/dbfread/memotest.dbf", std::nullopt, 2, 3, false,
         {{0, "MEMO", s("Alice memo")}, {1, "MEMO", s("Bob memo")}, {1, "NAME", s("Bob")}}},
        {"XbaseTestMemo", "dbase/dbd-xbase/test.dbf", std::nullopt, 2, 5, true,
         {{0, "ID", 1}, {0, "MSG", s("Record no 1")}, {0, "NOTE", s("This is a memo for record no one")},
          {0, "BOOLEAN", QVariant()}, {0, "DATES", d(1996, 8, 13)}, {1, "ID", 3},
          {1, "NOTE", s("This is a memo for record 3")}, {1, "BOOLEAN", false}, {1, "DATES", d(1996, 1, 2)}}},
        {"NdxIndexed", "dbase/dbd-xbase/ndx-num.dbf", std::nullopt, 594, 1, false,
         {{0, "FIELD1", 1001.0}, {2, "FIELD1", 1003.0}}},
        {"NtxIndexed", "dbase/dbd-xbase/ntx-char.dbf", std::nullopt, 68, 1, false,
         {{0, "V1", s("10")}, {1, "V1", s("8")}}},
        {"RoomsCdxFlag", "dbase/dbd-xbase/rooms.dbf", std::nullopt, 42, 2, false,
         {{0, "ROOMNAME", s(" None")}, {0, "FACILITY", QVariant()}, {1, "ROOMNAME", s("Bay  1")},
          {1, "FACILITY", s("Main")}}},
        {"Afox5Memo", "dbase/dbd-xbase/afox5.dbf", std::nullopt, 2, 5, false,
         {{0, "ID", s("b20")}, {0, "PRICE", 10.0}, {0, "DESC", s("first desc.")}, {0, "MESSAGE", s("first mess.")},
          {1, "NAME", s("Bill")}, {1, "MESSAGE", s("second mess.")}}},
        {"TypesCurrencyDateTime", "dbase/dbd-xbase/types.dbf", std::nullopt, 4, 3, false,
         {{0, "PAYMENT", 1.0}, {1, "PAYMENT", 858993.4591}, {2, "PAYMENT", -1.0002}, {3, "PAYMENT", -858993.4592},
          {0, "T", dt(1970, 1, 1, 0, 0, 0)}, {1, "T", dt(2003, 4, 4, 16, 13, 11)}, {0, "ID", 1}}},
        {"Cp850HeaderSays1252", "dbase/dbase-rs/cp850.dbf", std::nullopt, 1, 1, false,
         {{0, "TEXT", s("Ž”�!õ$%&/").toString().replace(QChar(0xFFFD), QChar(0x81))}}},
        {"Cp850ReadAs850", "dbase/dbase-rs/cp850.dbf", 850, 1, 1, false, {{0, "TEXT", s("Äöü!§$%&/")}}},
        {"KundenSchemaOnly", "dbase/dbase-rs/KUNDEN-schema-only.DBF", std::nullopt, 0, 49, false, {}},
        {"BlankNumbersAreNull", "dbase/dbase-rs/contain_none_float.dbf", std::nullopt, 1, 5, true,
         {{0, "name", s("tralala")}, {0, "value_f", 12.345}, {0, "value_f_non", QVariant()}, {0, "value_n", 4.0},
          {0, "value_n_non", QVariant()}}},
    };
    return cases;
}

class DbaseFixtureRead : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(DbaseFixtureRead, ReadsPublishedValues)
{
    const FixtureCase& c = GetParam();
    dbase::OpenOptions options;
    options.codePage = c.codePage;
    // A copy: the fixtures are protected files, and whether the dialect is written is asked of a table the user lets
    // us change.
    QTemporaryDir dir;
    const TableStoragePtr table =
        dbase::open(testsupport::copyTableTo(QString::fromLatin1(c.file), dir.path()), OpenMode::Shared, options);
    EXPECT_EQ(table->recordCount(), c.rows);
    EXPECT_EQ(int(table->fields().size()), c.fields);
    EXPECT_EQ(table->readOnlyReason().isEmpty(), c.writable) << table->readOnlyReason().toStdString();
    EXPECT_EQ(table->keyFieldCount(), 0);
    for (const Cell& cell : c.cells) {
        const int index = fieldIndex(*table, QString::fromLatin1(cell.field));
        ASSERT_GE(index, 0) << cell.field;
        const Record record = table->read(cell.row);
        EXPECT_TRUE(sameValue(record[size_t(index)], cell.value)) << "row " << cell.row << " field " << cell.field;
    }
    // Every record reads without error.
    for (int row = 0; row < table->recordCount(); ++row)
        ASSERT_NO_THROW(table->read(row)) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DbaseFixtureRead, ::testing::ValuesIn(fixtureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DbaseFixtureHeader, VersionDateAndFieldsAsPublished)
{
    struct HeaderCase {
        const char* file;
        int version;
        QDate lastUpdate;
        int recordLength;
        QStringList firstFields;
    };
    const std::vector<HeaderCase> cases = {
        {"dbase/lino/NAT.DBF", 0x03, QDate(2003, 1, 22), 94, {"IDNAT", "NAME", "INTRA"}},
        {"dbase/lino/PAR.DBF", 0x83, QDate(2005, 1, 4), 879, {"IDPAR", "IDGEN", "FIRME"}},
        {"dbase/rubydbf/dbase_83.dbf", 0x83, QDate(2003, 12, 18), 805, {"ID", "CATCOUNT"}},
        {"dbase/rubydbf/dbase_8b.dbf", 0x8B, QDate(2000, 6, 12), 160, {"CHARACTER", "NUMERICAL"}},
        {"dbase/rubydbf/dbase_f5.dbf", 0xF5, QDate(2004, 2, 28), 969, {"NF", "SEXE"}},
        {"dbase/dbase-rs/KUNDEN-schema-only.DBF", 0x03, QDate(2025, 9, 4), 1015, {"K_N", "K_AC", "K_B", "K_UMS_MO"}},
    };
    for (const HeaderCase& c : cases) {
        QFile file(testsupport::fixture(QString::fromLatin1(c.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.file;
        const QByteArray bytes = file.readAll();
        const dbase::DbfHeader h = dbase::parseHeader(bytes, std::uint64_t(bytes.size()), file.fileName(),
                                                      dbase::TextCodec(850));
        EXPECT_EQ(h.version, c.version) << c.file;
        EXPECT_EQ(h.lastUpdate, c.lastUpdate) << c.file;
        EXPECT_EQ(h.recordLength, c.recordLength) << c.file;
        for (int i = 0; i < c.firstFields.size(); ++i)
            EXPECT_EQ(h.fields[size_t(i)].def.name, c.firstFields[i]) << c.file;
    }
}

TEST(DbaseFixtureHeader, TypesMapToEngineCodes)
{
    struct TypeCase {
        const char* file;
        const char* field;
        FieldType type;
        int size;
        int precision;
    };
    const std::vector<TypeCase> cases = {
        {"dbase/rubydbf/dbase_8b.dbf", "CHARACTER", FieldType::ftString, 100, 0},
        {"dbase/rubydbf/dbase_8b.dbf", "NUMERICAL", FieldType::ftFloat, 20, 2},
        {"dbase/rubydbf/dbase_8b.dbf", "DATE", FieldType::ftDate, 0, 0},
        {"dbase/rubydbf/dbase_8b.dbf", "LOGICAL", FieldType::ftBoolean, 0, 0},
        {"dbase/rubydbf/dbase_8b.dbf", "FLOAT", FieldType::ftFloat, 20, 18},
        {"dbase/rubydbf/dbase_8b.dbf", "MEMO", FieldType::ftMemo, 0, 0},
        {"dbase/rubydbf/dbase_f5.dbf", "NF", FieldType::ftInteger, 5, 0},
        {"dbase/rubydbf/cp1251.dbf", "RN", FieldType::ftSmallint, 4, 0},
        {"dbase/dbd-xbase/ndx-num.dbf", "FIELD1", FieldType::ftFloat, 10, 0},
        {"dbase/dbd-xbase/types.dbf", "PAYMENT", FieldType::ftCurrency, 0, 0},
        {"dbase/dbd-xbase/types.dbf", "T", FieldType::ftDateTime, 0, 0},
        {"dbase/rubydbf/dbase_31.dbf", "PRODUCTID", FieldType::ftAutoInc, 0, 0},  // field flags 0x0C
        {"dbase/rubydbf/dbase_31.dbf", "SUPPLIERID", FieldType::ftInteger, 0, 0},  // 0x06: nullable, binary
        {"dbase/rubydbf/dbase_32.dbf", "NAME", FieldType::ftString, 250, 0},
    };
    for (const TypeCase& c : cases) {
        const TableStoragePtr table = dbase::open(testsupport::fixture(QString::fromLatin1(c.file)), OpenMode::Shared);
        const int index = fieldIndex(*table, QString::fromLatin1(c.field));
        ASSERT_GE(index, 0) << c.field;
        const FieldDef& def = table->fields()[size_t(index)];
        EXPECT_EQ(def.type, c.type) << c.file << " " << c.field;
        EXPECT_EQ(def.size, c.size) << c.file << " " << c.field;
        EXPECT_EQ(def.precision, c.precision) << c.file << " " << c.field;
    }
}

TEST(DbaseFixtureHeader, FileNamesMatchWithoutCase)
{
    QTemporaryDir dir;
    const QString copy = testsupport::copyTableTo(QStringLiteral("dbase/rubydbf/dbase_83.dbf"), dir.path());
    // The memo file is dbase_83.dbt; rename it to upper case and open the table under an upper-case name.
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("dbase_83.dbt")), dir.filePath(QStringLiteral("DBASE_83.DBT"))));
    const TableStoragePtr table = dbase::open(dir.filePath(QStringLiteral("DBASE_83.DBF")), OpenMode::Shared);
    EXPECT_EQ(table->recordCount(), 67);
    const int desc = fieldIndex(*table, QStringLiteral("DESC"));
    EXPECT_TRUE(table->read(0)[size_t(desc)].toString().startsWith(QStringLiteral("Our Original assortment")));
    EXPECT_EQ(table->path(), copy);
}

TEST(DbaseFixtureHeader, KeylessTableRefusesFindKey)
{
    const TableStoragePtr table = dbase::open(testsupport::fixture(QStringLiteral("dbase/dbfread/people.dbf")), OpenMode::Shared);
    try {
        table->findKey({QStringLiteral("Alice")});
        FAIL() << "findKey on a dBase table";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.code(), ErrorCode::NotSupported);
        EXPECT_FALSE(e.message().isEmpty());
    }
}

// --- damaged files ------------------------------------------------------------------------------------------------

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void putU32le(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// Opens the table and reads every record; true when that worked, false when it raised EngineError.
bool openAndReadAll(const QString& path)
{
    try {
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        for (int row = 0; row < table->recordCount(); ++row)
            table->read(row);
        return true;
    } catch (const EngineError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        return false;
    }
}

struct DamageCase {
    const char* name;
    const char* fixture;
    const char* damagedFile;  // file name inside the copy
    std::function<void(QByteArray&)> damage;
};

TEST(DbaseDamagedFile, RaisesEngineError)
{
    const std::vector<DamageCase> cases = {
        {"truncated header", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b.truncate(20); }},
        {"truncated descriptors", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b.truncate(60); }},
        {"truncated records", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b.truncate(130); }},
        {"count beyond file", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { putU32le(b, 4, 0xFFFFFFF0u); }},
        {"header length beyond file", "dbase/dbfread/people.dbf", "people.dbf",
         [](QByteArray& b) { b[8] = char(0xFF); b[9] = char(0xFF); }},
        {"record length zero", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b[10] = 0; b[11] = 0; }},
        {"fields longer than record", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b[32 + 16] = char(200); }},
        {"field length zero", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b[32 + 16] = 0; }},
        {"unknown version", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b[0] = 0x77; }},
        {"no fields", "dbase/dbfread/people.dbf", "people.dbf", [](QByteArray& b) { b[32] = 0x0D; }},
        {"autoincrement field shorter than its four bytes", "dbase/dbfread/people.dbf", "people.dbf",
         [](QByteArray& b) { b[32 + 11] = '+'; b[32 + 16] = 2; }},
        {"dbt3 memo pointer beyond file", "dbase/dbd-xbase/test.dbf", "test.dbf",
         [](QByteArray& b) { b.replace(193 + 1 + 5 + 254, 10, "    999999"); }},
        {"dbt4 memo length beyond file", "dbase/rubydbf/dbase_8b.dbf", "dbase_8b.dbt",
         [](QByteArray& b) { putU32le(b, 512 + 4, 0x7FFFFFF0u); }},
        {"dbt4 memo length below header", "dbase/rubydbf/dbase_8b.dbf", "dbase_8b.dbt",
         [](QByteArray& b) { putU32le(b, 512 + 4, 3); }},
        {"dbt4 memo file truncated", "dbase/rubydbf/dbase_8b.dbf", "dbase_8b.dbt", [](QByteArray& b) { b.truncate(600); }},
        {"fpt block size zero", "dbase/dbd-xbase/afox5.dbf", "afox5.FPT", [](QByteArray& b) { b[6] = 0; b[7] = 0; }},
        {"fpt memo length huge", "dbase/dbd-xbase/afox5.dbf", "afox5.FPT",
         [](QByteArray& b) { for (int i = 0; i < 4; ++i) b[512 + 4 + i] = char(0x7F); }},
        {"fpt empty", "dbase/dbd-xbase/afox5.dbf", "afox5.FPT", [](QByteArray& b) { b.clear(); }},
        {"memo file missing", "dbase/dbd-xbase/test.dbf", "test.dbt", [](QByteArray&) {}},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString table = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        const QString damaged = dir.filePath(QString::fromLatin1(c.damagedFile));
        if (QString::fromLatin1(c.name) == QLatin1String("memo file missing")) {
            QFile::remove(damaged);
        } else {
            QByteArray bytes = readAll(damaged);
            c.damage(bytes);
            writeAll(damaged, bytes);
        }
        EXPECT_FALSE(openAndReadAll(table));
    }
}

// Random byte flips anywhere in the files: the table either reads or raises EngineError.
TEST(DbaseDamagedFile, RandomFlipsNeverCrash)
{
    const std::vector<std::pair<const char*, QStringList>> tables = {
        {"dbase/rubydbf/dbase_8b.dbf", {"dbase_8b.dbf", "dbase_8b.dbt"}},
        {"dbase/dbd-xbase/test.dbf", {"test.dbf", "test.dbt"}},
        {"dbase/dbfread/memotest.dbf", {"memotest.dbf", "memotest.FPT"}},
        {"dbase/rubydbf/dbase_31.dbf", {"dbase_31.dbf"}},
        {"dbase/javadbf/test_delete.dbf", {"test_delete.dbf"}},
    };
    QRandomGenerator random(20240611);
    int opened = 0;
    int refused = 0;
    for (const auto& [fixture, files] : tables) {
        QTemporaryDir dir;
        const QString table = testsupport::copyTableTo(QString::fromLatin1(fixture), dir.path());
        std::vector<QByteArray> originals;
        for (const QString& f : files)
            originals.push_back(readAll(dir.filePath(f)));
        for (int round = 0; round < 150; ++round) {
            for (int i = 0; i < files.size(); ++i) {
                QByteArray bytes = originals[size_t(i)];
                const int flips = 1 + int(random.bounded(4));
                for (int k = 0; k < flips && !bytes.isEmpty(); ++k) {
                    // Mostly the header area, where a flip changes the structure.
                    const int limit = random.bounded(2) ? std::min<int>(bytes.size(), 600) : bytes.size();
                    bytes[int(random.bounded(limit))] = char(random.bounded(256));
                }
                writeAll(dir.filePath(files[i]), bytes);
            }
            (openAndReadAll(table) ? opened : refused)++;
        }
    }
    EXPECT_GT(opened + refused, 0);
}

}  // namespace
