// An independent reader and writer: pxlib reads the tables we write, and we read the tables pxlib writes.
// (Debian's pxlib aborts as soon as a blob file is attached, so these tables have no blob fields.)

#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/ParadoxTable.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>
}

using namespace paradoxtest;
using db::FieldDef;
using db::FieldType;
using db::OpenMode;
using db::Record;

namespace {

struct PxTable {
    pxdoc_t* doc = nullptr;
    explicit PxTable(const QString& path)
    {
        doc = PX_new();
        if (PX_open_file(doc, QFile::encodeName(path).constData()) < 0) {
            PX_delete(doc);
            doc = nullptr;
        } else {
            PX_set_targetencoding(doc, "UTF-8");
        }
    }
    ~PxTable()
    {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
    }
    // Values of one record as pxlib decodes them, in our value kinds.
    Record record(int recno) const
    {
        Record result;
        pxval_t** values = PX_retrieve_record(doc, recno);
        const int n = PX_get_num_fields(doc);
        for (int i = 0; i < n; ++i) {
            pxval_t* v = values ? values[i] : nullptr;
            if (!v || v->isnull) {
                result.emplace_back();
            } else {
                switch (v->type) {
                case pxfAlpha: result.emplace_back(QString::fromUtf8(v->value.str.val, v->value.str.len)); break;
                case pxfBytes: result.emplace_back(QByteArray(v->value.str.val, v->value.str.len)); break;
                case pxfDate: result.emplace_back(db::paradox::dateFromDays(v->value.lval)); break;
                case pxfTime: result.emplace_back(QTime::fromMSecsSinceStartOfDay(int(v->value.lval))); break;
                case pxfLogical: result.emplace_back(v->value.lval != 0); break;
                case pxfShort:
                case pxfLong:
                case pxfAutoInc: result.emplace_back(int(v->value.lval)); break;
                case pxfTimestamp: {
                    const auto ms = qint64(v->value.dval);
                    result.emplace_back(QDateTime(db::paradox::dateFromDays(ms / 86400000),
                                                  QTime::fromMSecsSinceStartOfDay(int(ms % 86400000)), Qt::UTC));
                    break;
                }
                default: result.emplace_back(v->value.dval); break;
                }
            }
            if (v) {
                if ((v->type == pxfAlpha || v->type == pxfBytes) && v->value.str.val) pxdoc_free(doc, v->value.str.val);
                pxdoc_free(doc, v);
            }
        }
        if (values) pxdoc_free(doc, values);
        return result;
    }
    static void pxdoc_free(pxdoc_t* doc, void* p) { doc->free(doc, p); }
};

db::FieldDefList pxlibTypes()
{
    return {def("Schluessel", FieldType::ftInteger), def("Name", FieldType::ftString, 40),
            def("Datum", FieldType::ftDate),         def("Klein", FieldType::ftSmallint),
            def("Betrag", FieldType::ftCurrency),    def("Zahl", FieldType::ftFloat),
            def("Ja", FieldType::ftBoolean),         def("Zeit", FieldType::ftTime),
            def("Stempel", FieldType::ftDateTime),   def("Lfd", FieldType::ftAutoInc)};
}

Record pxlibRecord(int i)
{
    return {i * 7 - 50,
            i % 4 == 3 ? QVariant() : QVariant(QStringLiteral("Müller-Lüdenscheidt Öß %1").arg(i)),
            QDate(1850 + i * 3, 1 + i % 12, 1 + i % 28),
            i - 20,
            i * 100.25,
            i % 5 == 0 ? QVariant() : QVariant(-i / 3.0),
            i % 2 == 1,
            QTime(i % 24, 59 - i % 60, i % 60),
            QDateTime(QDate(1999, 12, 31), QTime(23, 0, i % 60), Qt::UTC).addDays(i),
            i + 1};
}

class PxlibReadsOurTables : public ::testing::TestWithParam<int> {};

TEST_P(PxlibReadsOurTables, SameValues)
{
    const int keyFields = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UNSER.DB"));
    db::paradox::create(path, pxlibTypes(), keyFields);
    const int count = 600;  // several data blocks, and for the keyed table a multi-entry index
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (int i = count - 1; i >= 0; --i) table->insert(pxlibRecord(i), table->recordCount());
    }
    PxTable px(path);
    ASSERT_NE(px.doc, nullptr);
    ASSERT_EQ(PX_get_num_records(px.doc), count);
    for (int row = 0; row < count; ++row) {
        const int i = keyFields ? row : count - 1 - row;
        const Record expected = pxlibRecord(i);
        const Record actual = px.record(row);
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t f = 0; f < expected.size(); ++f) {
            // pxlib has no blank for numbers: it reads the all-zero field as 0.
            const QVariant want = (f == 5 && !expected[f].isValid()) ? QVariant(0.0) : expected[f];
            EXPECT_TRUE(sameValue(actual[f], want)) << "row " << row << " field " << f;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KeyedAndKeyless, PxlibReadsOurTables, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? std::string("Keyed") : std::string("Keyless"); });

// pxlib reads the primary index of a table with two index levels and finds every record through it. (It takes the
// first block of the index's chain for the root and every other block for the lowest level.)
TEST(PxlibRoundTrip, ReadsOurTwoLevelPrimaryIndex)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BAUM.DB"));
    db::paradox::create(path, {def("Nr", FieldType::ftInteger), def("Text", FieldType::ftString, 100)}, 1);
    const int count = 6000;
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (int i = 0; i < count; ++i) table->insert({i, QStringLiteral("Zeile %1").arg(i)}, table->recordCount());
    }
    QFile pxFile(dir.filePath(QStringLiteral("BAUM.PX")));
    ASSERT_TRUE(pxFile.open(QIODevice::ReadOnly));
    ASSERT_EQ(int(pxFile.read(0x21).at(0x20)), 2) << "not a two-level index";

    QStringList complaints;
    const auto complain = [](pxdoc_t*, int, const char* message, void* data) {
        static_cast<QStringList*>(data)->append(QString::fromUtf8(message));
    };
    PxTable table(path);
    ASSERT_NE(table.doc, nullptr);
    pxdoc_t* index = PX_new3(complain, nullptr, nullptr, nullptr, &complaints);
    ASSERT_GE(PX_open_file(index, QFile::encodeName(pxFile.fileName()).constData()), 0);
    ASSERT_EQ(PX_read_primary_index(index), 0) << complaints.join(QLatin1Char(' ')).toStdString();
    ASSERT_EQ(PX_add_primary_index(table.doc, index), 0) << complaints.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(complaints.isEmpty()) << complaints.join(QLatin1Char(' ')).toStdString();
    for (int row = 0; row < count; ++row) {
        const Record r = table.record(row);
        ASSERT_EQ(r.size(), 2u);
        ASSERT_TRUE(sameValue(r[0], row)) << "row " << row;
    }
}

TEST(PxlibRoundTrip, UmlautsInCodePage850)
{
    QTemporaryDir dir;
    const QString path = testsupport::copyTableTo(QStringLiteral("paradox/pdriver-joins/paradox-ascii.db"), dir.path());
    const QStringList words{QStringLiteral("Äpfel"), QStringLiteral("Größe"), QStringLiteral("Übermaß ü ö ä")};
    {
        auto table = db::paradox::open(path, OpenMode::Exclusive);
        for (const QString& w : words) table->insert({w}, table->recordCount());
    }
    PxTable px(path);
    ASSERT_NE(px.doc, nullptr);
    ASSERT_EQ(PX_get_num_records(px.doc), int(words.size()));
    for (int i = 0; i < int(words.size()); ++i) EXPECT_TRUE(sameValue(px.record(i)[0], words[i]));
}

TEST(PxlibRoundTrip, WeReadWhatPxlibWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pxlib.db"));
    pxfield_t fields[] = {{const_cast<char*>("Name"), pxfAlpha, 20, 0}, {const_cast<char*>("Nummer"), pxfLong, 4, 0},
                          {const_cast<char*>("Kurz"), pxfShort, 2, 0},  {const_cast<char*>("Wert"), pxfNumber, 8, 0},
                          {const_cast<char*>("Tag"), pxfDate, 4, 0},     {const_cast<char*>("Ok"), pxfLogical, 1, 0}};
    const int n = int(std::size(fields));
    pxdoc_t* doc = PX_new();
    pxfield_t* owned = static_cast<pxfield_t*>(doc->malloc(doc, sizeof fields, "fields"));
    for (int i = 0; i < n; ++i) {
        owned[i] = fields[i];
        owned[i].px_fname = static_cast<char*>(doc->malloc(doc, 16, "name"));
        qstrcpy(owned[i].px_fname, fields[i].px_fname);
    }
    ASSERT_GE(PX_create_file(doc, owned, n, QFile::encodeName(path).constData(), pxfFileTypNonIndexDB), 0);
    PX_set_parameter(doc, "codepage", "1252");
    const int count = 200;
    for (int i = 0; i < count; ++i) {
        QByteArray record(PX_get_recordsize(doc), '\0');
        int offset = 0;
        // pxlib does not recode on writing here, so the text goes in as code page 1252 bytes.
        QByteArray name = QStringLiteral("Zeile %1 ä").arg(i).toLatin1();
        PX_put_data_alpha(doc, record.data() + offset, 20, name.data());
        offset += 20;
        PX_put_data_long(doc, record.data() + offset, 4, i * 1000);
        offset += 4;
        PX_put_data_short(doc, record.data() + offset, 2, short(-i));
        offset += 2;
        PX_put_data_double(doc, record.data() + offset, 8, i / 4.0);
        offset += 8;
        PX_put_data_long(doc, record.data() + offset, 4, int(db::paradox::daysFromDate(QDate(2001, 1, 1).addDays(i))));
        offset += 4;
        PX_put_data_byte(doc, record.data() + offset, 1, char(i % 2 ? 1 : 0));
        ASSERT_GE(PX_put_record(doc, record.data()), 0);
    }
    PX_close(doc);
    PX_delete(doc);

    auto table = db::paradox::open(path, OpenMode::Shared);
    ASSERT_EQ(table->recordCount(), count);
    for (int i = 0; i < count; ++i) {
        const Record r = table->read(i);
        EXPECT_TRUE(sameValue(r[0], QStringLiteral("Zeile %1 ä").arg(i))) << i;
        EXPECT_TRUE(sameValue(r[1], i * 1000)) << i;
        EXPECT_TRUE(sameValue(r[2], -i)) << i;
        EXPECT_TRUE(sameValue(r[3], i / 4.0)) << i;
        EXPECT_TRUE(sameValue(r[4], QDate(2001, 1, 1).addDays(i))) << i;
        EXPECT_TRUE(sameValue(r[5], i % 2 == 1)) << i;
    }
}

}  // namespace
