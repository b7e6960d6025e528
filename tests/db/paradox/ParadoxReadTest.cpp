// Tables written by other programs read back the values their makers published.

#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/ParadoxTable.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace paradoxtest;
using db::FieldType;

namespace {

struct Cell {
    int row;
    const char* field;
    QVariant value;
};

struct FixtureCase {
    const char* name;
    const char* path;
    int records;
    int keyFields;
    bool writable;
    std::vector<Cell> cells;
};

QVariant s(const char* text)
{
    return QString::fromUtf8(text);
}
QVariant d(int y, int m, int day)
{
    return QDate(y, m, day);
}
QVariant t(int h, int m, int sec)
{
    return QTime(h, m, sec);
}
const QVariant null;

const std::vector<FixtureCase> kFixtures = {
    {"Level3Unkeyed", "paradox/pdriver-areas/AREACODE.DB", 239, 0, true,
     {{0, "1", s("011")}, {0, "AC", s("20")}, {0, "Country", s("Egypt               ")}, {0, "State", null},
      {2, "Country", s("Algeria             ")}}},
    {"Level3KeyedWithoutIndex", "paradox/pdriver-areas/STATES.DB", 53, 1, true,
     {{0, "Abv", s("AK")}, {0, "State", s("Alaska")}, {2, "State", s("Arkansas")}, {2, "Zip To", s("729")}}},
    {"LargeKeyed", "paradox/pdriver-areas/ZIPCODES.DB", 43185, 1, false,
     {{0, "Zip", s("00401")}, {0, "City", s("Pleasantville")}, {2, "Zip", s("00544")}, {2, "City", s("Holtsville")}}},
    {"Level4WithPictures", "paradox/pdriver-db/AREACODE.DB", 135, 1, false,
     {{0, "Area Code", s("201")}, {0, "Full State", s("New Jersey")}, {1, "Full State", s("Washington DC")},
      {1, "State", s("DC")}}},
    {"Level7BigBlocks", "paradox/pdriver-db/AREACODES.DB", 370, 1, false,
     {{0, "AC", s("201")}, {0, "State", s("NJ")}, {0, "Cities", s("Hackensack, Jersey City (201/551 overlay)")}}},
    {"Level7Unkeyed437", "paradox/pdriver-db/CONTACTS.DB", 55, 0, true,
     {{0, "Last Name", s("Pan")}, {0, "First Name", s("Jerry")}, {0, "Company", s("Kauai Dive Shoppe")},
      {0, "Phone", s("808-555-0270")}, {2, "Phone", s("357-6-876708")}}},
    {"AutoIncMemoDate", "paradox/pdriver-db/CUSTOMER.DB", 20, 1, false,
     {{0, "CustNo", 1}, {0, "FirstName", s("Luke")}, {0, "Comments", s("Small comment (less 100 symbols)")},
      {0, "DateEntered", d(1996, 2, 2)}, {1, "EMail", s("fmallory@freeport.org")}, {2, "DateEntered", d(1996, 3, 16)}}},
    {"Number", "paradox/pdriver-db/DECIMAL.DB", 9, 0, true,
     {{0, "DECIMAL", -200.0}, {1, "DECIMAL", -20.0}, {2, "DECIMAL", -1.0}, {3, "DECIMAL", 1.0}, {6, "DECIMAL", 200.36},
      {7, "DECIMAL", 1.37}, {8, "DECIMAL", -1.387}}},
    {"LongMoneyCodePage936", "paradox/pdriver-db/GENERAL.DB", 3, 1, true,
     {{0, "ID", 1}, {0, "NAME", s("Mari")}, {0, "MONEYS", 100.0}, {2, "ID", 333333333}, {2, "NAME", s("Elizabet")},
      {2, "MONEYS", 75.0}}},
    {"AlphaKeyMemo", "paradox/pdriver-db/HERCULES.DB", 20, 1, true,
     {{0, "TEMPLATE", s("CUSTTF_HEADER")},
      {0, "HTML", s("<TABLE BORDER=2>\n<TR><TH>Name</TH><TH>EMail Address</TH></TR>\n")},
      {1, "TEMPLATE", s("FILTERED_MAIL_LIST1")}}},
    {"NumberKeyMoneyDate", "paradox/pdriver-db/ORDERS.DB", 224, 1, true,
     {{0, "Order No", 1001.0}, {0, "Customer No", 1221.0}, {0, "Sale Date", d(1988, 4, 3)},
      {0, "Ship Date", d(1988, 4, 5)}, {0, "Ship VIA", s("UPS")}, {0, "Total Invoice", 7320.0},
      {0, "Balance Due", 0.0}, {0, "Month", s("Apr")}, {1, "Total Invoice", 10154.0}}},
    {"Roman8", "paradox/pdriver-db/ROMAN8.db", 1, 0, true, {{0, "A", s("Š½ƒ¶")}}},
    {"TwoFieldKey", "paradox/pdriver-db/SERVER.DB", 4, 2, true,
     {{0, "REQTYPE", s("G")}, {0, "URI", s("/MAILLIST.HTM")}, {0, "HANDLER", s("OUTPUT_MAIL_LIST")},
      {2, "REQTYPE", s("P")}, {2, "URI", s("/NEWCUST")}}},
    {"Bcd", "paradox/pdriver-fields/bcd.db", 3, 0, true,
     {{0, "A", 1.23}, {0, "B", 1.0}, {0, "C", 0.123}, {1, "A", -1.23}, {1, "B", -1.0}, {1, "C", -0.123},
      {2, "A", 0.0}, {2, "B", null}, {2, "C", 0.9999}}},
    {"Date35", "paradox/pdriver-fields/date35.db", 3, 0, true,
     {{0, "DATE", d(2018, 1, 1)}, {1, "DATE", d(2018, 2, 1)}, {2, "DATE", d(2018, 1, 2)}}},
    {"Date4", "paradox/pdriver-fields/date4.db", 3, 0, true,
     {{0, "DATE", d(2018, 1, 1)}, {1, "DATE", d(2018, 2, 1)}, {2, "DATE", d(2018, 1, 2)}}},
    {"DateTime5", "paradox/pdriver-fields/date5.db", 3, 0, true,
     {{0, "TIME", t(10, 0, 0)}, {1, "TIME", t(10, 30, 0)}, {2, "TIME", t(9, 25, 25)}, {2, "DATE", d(2018, 1, 2)}}},
    {"DateTimeNulls", "paradox/pdriver-fields/date7.db", 5, 0, true,
     {{0, "DATE", d(2018, 1, 1)}, {3, "DATE", null}, {4, "TIME", null}}},
    {"Logical", "paradox/pdriver-fields/logical.db", 4, 0, true,
     {{0, "BOOL", true}, {1, "BOOL", false}, {2, "BOOL", true}, {3, "BOOL", true}}},
    {"AutoIncAndLong", "paradox/pdriver-fields/long.db", 3, 1, true,
     {{0, "Id", 1}, {0, "LONG", 1}, {1, "LONG", 2}, {2, "Id", 3}, {2, "LONG", null}}},
    {"MemoInRecordAndInFile", "paradox/pdriver-fields/memo.db", 2, 1, true, {{1, "MEMO", s("01234567890\n")}}},
    {"Time", "paradox/pdriver-fields/time.db", 3, 0, true,
     {{0, "Time", t(1, 0, 1)}, {1, "Time", null}, {2, "Time", t(3, 0, 3)}}},
    {"Timestamp", "paradox/pdriver-fields/timestamp.db", 2, 0, true,
     {{0, "Timestamp", null}, {1, "Timestamp", QDateTime(QDate(2020, 2, 1), QTime(1, 0, 1), Qt::UTC)}}},
    {"County16K", "paradox/pdriver-geog/County.DB", 3218, 1, true,
     {{0, "CountyID", 1}, {0, "County", s("Abbeville")}, {0, "StateID", s("SC")}, {0, "FIPS", s("45001")},
      {1, "County", s("Acadia")}}},
    {"ManyTypes16K", "paradox/pdriver-geog/tblsttes.DB", 58, 1, true,
     {{0, "State", s("AK")}, {0, "Time Zone", null}, {0, "Date Admitted", d(1959, 1, 3)}, {0, "Admitted Order", 49},
      {0, "Long", null}, {0, "Wide", 3810}, {0, "Area SQ MI Land + Water", 656424}, {1, "Date Admitted", d(1819, 12, 14)},
      {2, "Capital", s("Little Rock")}}},
    {"ParentInReferentialIntegrity", "paradox/pdriver-joins/A.db", 3, 1, false, {{0, "A", 1}, {2, "A", 3}}},
    {"JoinC", "paradox/pdriver-joins/C.DB", 3, 1, false, {{0, "C", 1}, {0, "B", 4}, {2, "A", 3}, {2, "B", 6}}},
    {"StaleSecondaryIndex", "paradox/pdriver-joins/case.db", 1, 0, false, {{0, "C", s("case")}}},
    {"CompositeIndex", "paradox/pdriver-joins/fk4.db", 2, 1, false,
     {{0, "ID", 1}, {0, "FK1", null}, {0, "B1", s("1")}, {1, "B1", s("2")}, {1, "FK", null}}},
    {"ShortWithLookup", "paradox/pdriver-joins/joinb.db", 3, 0, false, {{0, "Id", 2}, {2, "Id", 4}}},
    {"EmptyRequired", "paradox/pdriver-joins/paradox-ascii.db", 0, 0, true, {}},
    {"EmptyTwoFieldKey", "paradox/pdriver-joins/two.db", 0, 2, false, {}},
    {"Short", "paradox/pdriver-joins/joina.db", 3, 0, true, {{0, "ID", 1}, {2, "ID", 3}}},
};

class ParadoxFixtureRead : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(ParadoxFixtureRead, ReadsPublishedValues)
{
    const FixtureCase& c = GetParam();
    // A copy the user may change: whether the table is writable is the format's matter here, not the fixture's
    // file mode (the fixtures are protected).
    QTemporaryDir dir;
    const db::TableStoragePtr table =
        db::paradox::open(testsupport::copyTableTo(QString::fromLatin1(c.path), dir.path()), db::OpenMode::Shared);
    EXPECT_EQ(table->recordCount(), c.records);
    EXPECT_EQ(table->keyFieldCount(), c.keyFields);
    EXPECT_EQ(table->readOnlyReason().isEmpty(), c.writable) << table->readOnlyReason().toStdString();
    for (const Cell& cell : c.cells) {
        const db::Record record = table->read(cell.row);
        EXPECT_TRUE(sameValue(record[size_t(fieldIndex(*table, QString::fromUtf8(cell.field)))], cell.value))
            << "row " << cell.row << " field " << cell.field;
    }
    // Every record of every table decodes, blobs included.
    for (int row = 0; row < table->recordCount(); ++row) ASSERT_NO_THROW(table->read(row)) << "row " << row;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ParadoxFixtureRead, ::testing::ValuesIn(kFixtures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParadoxRead, FieldTypesAsTheOriginalEngineReportsThem)
{
    struct Case {
        const char* path;
        const char* field;
        FieldType type;
        int size;
    } cases[] = {
        {"paradox/pdriver-db/CUSTOMER.DB", "CustNo", FieldType::ftAutoInc, 0},
        {"paradox/pdriver-db/CUSTOMER.DB", "FirstName", FieldType::ftString, 51},
        {"paradox/pdriver-db/CUSTOMER.DB", "Comments", FieldType::ftMemo, 100},
        {"paradox/pdriver-db/CUSTOMER.DB", "DateEntered", FieldType::ftDate, 0},
        {"paradox/pdriver-db/GENERAL.DB", "ID", FieldType::ftInteger, 0},
        {"paradox/pdriver-db/GENERAL.DB", "MONEYS", FieldType::ftCurrency, 0},
        {"paradox/pdriver-db/DECIMAL.DB", "DECIMAL", FieldType::ftFloat, 0},
        {"paradox/pdriver-fields/logical.db", "BOOL", FieldType::ftBoolean, 0},
        {"paradox/pdriver-fields/fmemo.db", "FMEMO", FieldType::ftFmtMemo, 0},
        {"paradox/pdriver-fields/graphic240.db", "Graph", FieldType::ftGraphic, 240},
        {"paradox/pdriver-fields/time.db", "Time", FieldType::ftTime, 0},
        {"paradox/pdriver-fields/timestamp.db", "Timestamp", FieldType::ftDateTime, 0},
        {"paradox/pdriver-fields/bcd.db", "A", FieldType::ftBCD, 32},
        {"paradox/pdriver-fields/bytes.db", "BYTES", FieldType::ftBytes, 255},
        {"paradox/pdriver-joins/joina.db", "ID", FieldType::ftSmallint, 0},
    };
    for (const Case& c : cases) {
        const auto table = db::paradox::open(testsupport::fixture(QString::fromLatin1(c.path)), db::OpenMode::Shared);
        const db::FieldDef& f = table->fields()[size_t(fieldIndex(*table, QString::fromLatin1(c.field)))];
        EXPECT_EQ(f.type, c.type) << c.path << " " << c.field;
        EXPECT_EQ(f.size, c.size) << c.path << " " << c.field;
    }
}

TEST(ParadoxRead, BlobsOfEveryKind)
{
    struct Case {
        const char* path;
        int row;
        const char* field;
        int length;
        QByteArray start;
    } cases[] = {
        {"paradox/pdriver-fields/memo.db", 0, "MEMO", 555, "0123456789001234567890"},
        {"paradox/pdriver-fields/memo.db", 1, "MEMO", 12, "01234567890\n"},
        {"paradox/pdriver-fields/fmemo.db", 0, "FMEMO", 169, QByteArray("\x07\x00\x00\x00\x04\x00", 6)},
        {"paradox/pdriver-fields/fmemo.db", 1, "FMEMO", 726, QByteArray("\x07\x00\x00\x00\x31\x02", 6)},
        {"paradox/pdriver-fields/graphic240.db", 0, "Graph", 20078, "BM"},
        {"paradox/pdriver-db/CUSTOMER.DB", 1, "Comments", 518, "\tThe length of the leader"},
        {"paradox/pdriver-db/CUSTOMER.DB", 2, "Comments", 318, "mvn versions:set"},
        {"paradox/pdriver-db/HERCULES.DB", 1, "HTML", 106, "<TABLE>\n<TR>"},
    };
    for (const Case& c : cases) {
        const auto table = db::paradox::open(testsupport::fixture(QString::fromLatin1(c.path)), db::OpenMode::Shared);
        const QVariant v = table->read(c.row)[size_t(fieldIndex(*table, QString::fromLatin1(c.field)))];
        const QByteArray bytes = v.typeId() == QMetaType::QString ? v.toString().toLatin1() : v.toByteArray();
        EXPECT_EQ(bytes.size(), c.length) << c.path << " row " << c.row;
        EXPECT_TRUE(bytes.startsWith(c.start)) << c.path << " row " << c.row;
    }
}

TEST(ParadoxRead, BytesFieldKeepsItsRawBytes)
{
    const auto table = db::paradox::open(testsupport::fixture("paradox/pdriver-fields/bytes.db"), db::OpenMode::Shared);
    const QByteArray bytes = table->read(0)[0].toByteArray();
    ASSERT_EQ(bytes.size(), 255);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), 3), QStringLiteral("123"));
}

TEST(ParadoxRead, RequiredFlagsComeFromTheValidityFile)
{
    const auto ascii = db::paradox::open(testsupport::fixture("paradox/pdriver-joins/paradox-ascii.db"),
                                         db::OpenMode::Shared);
    EXPECT_TRUE(ascii->fields()[0].required);
    const auto areas = db::paradox::open(testsupport::fixture("paradox/pdriver-db/AREACODE.DB"), db::OpenMode::Shared);
    for (const auto& f : areas->fields()) EXPECT_FALSE(f.required) << f.name.toStdString();
}

TEST(ParadoxRead, AccentedTextInCodePage1252AndKeySearch)
{
    const auto table = db::paradox::open(testsupport::fixture("paradox/pdriver-db/AREACODES.DB"), db::OpenMode::Shared);
    struct Case {
        const char* key;
        const char* cities;
    } cases[] = {{"418", "Québec, Gaspé, southeastern"}, {"408", "San José"}};
    for (const Case& c : cases) {
        const int row = table->findKey({QString::fromLatin1(c.key)});
        ASSERT_GE(row, 0) << c.key;
        EXPECT_TRUE(table->read(row)[2].toString().startsWith(QString::fromUtf8(c.cities))) << c.key;
    }
    EXPECT_EQ(table->findKey({QStringLiteral("999")}), -1);
}

TEST(ParadoxRead, FindKeyOnLargeAndCompositeKeys)
{
    const auto zips = db::paradox::open(testsupport::fixture("paradox/pdriver-areas/ZIPCODES.DB"), db::OpenMode::Shared);
    const int last = zips->recordCount() - 1;
    const QString lastZip = zips->read(last)[0].toString();
    EXPECT_EQ(zips->findKey({lastZip}), last);
    EXPECT_EQ(zips->findKey({QStringLiteral("00544")}), 2);
    EXPECT_EQ(zips->findKey({QStringLiteral("00545")}), -1);

    const auto server = db::paradox::open(testsupport::fixture("paradox/pdriver-db/SERVER.DB"), db::OpenMode::Shared);
    EXPECT_EQ(server->findKey({QStringLiteral("P"), QStringLiteral("/NEWCUST")}), 2);
    EXPECT_EQ(server->findKey({QStringLiteral("G")}), 0);
    EXPECT_EQ(server->findKey({QStringLiteral("G"), QStringLiteral("/NOPE")}), -1);
}

TEST(ParadoxRead, PasswordProtectedTablesAreRefused)
{
    for (const char* path : {"paradox/pdriver-encrypt/encrypted.db", "paradox/pdriver-encrypt/encrypted35.db"}) {
        try {
            db::paradox::open(testsupport::fixture(QString::fromLatin1(path)), db::OpenMode::Shared);
            ADD_FAILURE() << path << " opened";
        } catch (const db::EngineError& e) {
            EXPECT_EQ(e.code(), db::ErrorCode::PasswordProtected) << path;
            EXPECT_TRUE(e.message().contains(QStringLiteral("Kennwort"))) << e.message().toStdString();
        }
    }
}

// An alpha field's text ends at its first zero byte or fills the field; the bytes around the end are chosen so
// that a scan of several bytes at once could take a neighbour for the end (0x01, 0x80, 0xFF next to the zero).
TEST(ParadoxRead, AlphaTextEndsAtTheFirstZeroByte)
{
    const db::paradox::TextCodec codec;
    const char pattern[] = {'a', '\x01', '\x80', '\xFF', 'Z', '\x01', '\x7F', '\xE4'};
    for (const int length : {1, 2, 7, 8, 9, 15, 16, 17, 24, 30, 255}) {
        for (int end = 1; end <= length; ++end) {
            SCOPED_TRACE(QStringLiteral("field of %1 bytes, text of %2").arg(length).arg(end).toStdString());
            QByteArray bytes(length, '\0');
            for (int i = 0; i < end; ++i) bytes[i] = pattern[i % int(sizeof pattern)];
            // Bytes after the end belong to no text, however they look.
            for (int i = end + 1; i < length; ++i) bytes[i] = pattern[(i * 3) % int(sizeof pattern)];
            const db::paradox::FieldLayout field{db::paradox::TypeCode::Alpha, std::uint8_t(length), 0, length};
            const QString expected = codec.decode(bytes.left(end));
            EXPECT_EQ(db::paradox::decodeField(field, bytes.constData(), codec).toString(), expected);
            QVariant reused = QStringLiteral("a longer text held before");
            db::paradox::decodeFieldInto(field, bytes.constData(), codec, reused);
            EXPECT_EQ(reused.toString(), expected);
        }
    }
}

}  // namespace
