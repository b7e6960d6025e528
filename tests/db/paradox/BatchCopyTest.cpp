#include "ParadoxTestUtil.h"

#include "db/BatchMove.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxStorage.h"
#include "rtl/CodePages.h"

#include <QDir>
#include <QTemporaryDir>

using db::FieldType;
using paradoxtest::def;

namespace {

struct TableContents {
    db::FieldDefList fields;
    int keys = 0;  // keyed tables are created in code page 437, keyless ones in 1252
    QList<QStringList> rows;
};

// Every character of the code page but the control characters.
QString everyCharacter(rtl::CodePage cp)
{
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b)
        bytes += char(b);
    return rtl::decode(bytes, cp);
}

void create(db::Table& table, const QString& path, const TableContents& contents)
{
    table.setTableName(path);
    table.FieldDefs().Clear();
    for (const db::FieldDef& f : contents.fields)
        table.FieldDefs().Add(f);
    table.FieldDefs().setKeyFieldCount(contents.keys);
    table.CreateTable();
    table.Open();
    for (const QStringList& row : contents.rows) {
        table.Append();
        for (int i = 0; i < row.size(); ++i)
            table.Fields(i)->setAsString(row[i]);
        table.Post();
    }
    table.Close();
}

QList<QStringList> contents(db::Table& table)
{
    QList<QStringList> rows;
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList row;
        for (int i = 0; i < table.FieldCount(); ++i)
            row << table.Fields(i)->AsString();
        rows << row;
    }
    table.Close();
    return rows;
}

}  // namespace

// A batch move between Paradox tables copies the stored bytes where they carry over as they are; whichever way it
// goes, the destination must end up as a field-by-field copy through the cursor leaves it (which an exclusively
// opened destination always gets).
TEST(ParadoxBatchCopy, StoredCopiesEqualFieldByFieldCopies)
{
    const QString all1252 = everyCharacter(rtl::CodePage::Windows1252);
    const QString all437 = everyCharacter(rtl::CodePage::Oem437);
    struct Case {
        const char* name;
        TableContents source;
        TableContents destination;
        bool shortcut;  // the storages copy the stored bytes
        QList<QStringList> expected;
        int error = 0;
        int moved = 0;
    };
    const std::vector<Case> cases = {
        {"every character, cut to the shorter field",
         {{def("A", FieldType::ftString, 255), def("B", FieldType::ftString, 20)}, 0,
          {{all1252, "Köln"}, {"", "nur B"}, {"Ä", ""}}},
         {{def("A", FieldType::ftString, 150), def("B", FieldType::ftString, 3)}, 0, {{"schon da", "x"}}},
         true,
         {{"schon da", "x"}, {all1252.left(150), "Köl"}, {"", "nur"}, {"Ä", ""}},
         0,
         3},
        {"more fields in the destination stay blank, fewer leave the rest out",
         {{def("A", FieldType::ftString, 10), def("B", FieldType::ftString, 10), def("C", FieldType::ftString, 10)},
          0,
          {{"a1", "b1", "c1"}}},
         {{def("A", FieldType::ftString, 10), def("B", FieldType::ftString, 10)}, 0, {}},
         true,
         {{"a1", "b1"}},
         0,
         1},
        {"fields the source does not have stay blank, whatever their kind",
         {{def("A", FieldType::ftString, 10)}, 0, {{"a1"}}},
         {{def("A", FieldType::ftString, 10), def("N", FieldType::ftInteger), def("D", FieldType::ftDate)}, 0, {}},
         true,
         {{"a1", "", ""}},
         0,
         1},
        {"a keyed destination stops at the first key violation",
         {{def("K", FieldType::ftString, 12), def("T", FieldType::ftString, 255)}, 1,
          {{"A", all437}, {"M", "neu"}, {"Z", "zu spät"}}},
         {{def("K", FieldType::ftString, 12), def("T", FieldType::ftString, 30)}, 1, {{"M", "alt"}}},
         true,
         {{"A", all437.left(30)}, {"M", "alt"}},
         db::ErrorCode::KeyViolation,
         1},
        {"text of another code page is converted",
         {{def("K", FieldType::ftString, 12)}, 1, {{"Grüße ß"}}},
         {{def("A", FieldType::ftString, 12)}, 0, {}},
         false,
         {{"Grüße ß"}},
         0,
         1},
        {"a text into a number is converted",
         {{def("A", FieldType::ftString, 10)}, 0, {{"42"}}},
         {{def("N", FieldType::ftInteger)}, 0, {}},
         false,
         {{"42"}},
         0,
         1},
        {"a numbering field is numbered",
         {{def("A", FieldType::ftString, 10)}, 0, {{"a1"}, {"a2"}}},
         {{def("A", FieldType::ftString, 10), def("Nr", FieldType::ftAutoInc)}, 0, {}},
         false,
         {{"a1", "1"}, {"a2", "2"}},
         0,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString sourcePath = dir.filePath(QStringLiteral("quelle.db"));
        {
            db::Table source;
            create(source, sourcePath, c.source);
        }
        {
            db::Table destination;
            create(destination, dir.filePath(QStringLiteral("probe.db")), c.destination);
            const auto from = db::paradox::ParadoxStorage::open(sourcePath, db::OpenMode::Shared);
            const auto to = db::paradox::ParadoxStorage::open(destination.filePath(), db::OpenMode::Shared);
            const int fieldCount = int(std::min(from->fields().size(), to->fields().size()));
            EXPECT_EQ(to->copiesFrom(*from, fieldCount), c.shortcut);
        }
        for (const bool exclusive : {false, true}) {
            SCOPED_TRACE(exclusive ? "field by field" : "as the storages allow");
            db::Table source;
            source.setTableName(sourcePath);
            db::Table destination;
            create(destination, dir.filePath(exclusive ? QStringLiteral("ziel_x.db") : QStringLiteral("ziel.db")),
                   c.destination);
            destination.setExclusive(exclusive);
            db::BatchMove move;
            move.setSource(&source);
            move.setDestination(&destination);
            EXPECT_EQ(paradoxtest::engineErrorCode([&] { move.Execute(); }), c.error);
            EXPECT_EQ(move.MovedCount(), c.moved);
            EXPECT_FALSE(destination.Active());
            destination.setExclusive(false);
            EXPECT_EQ(contents(destination), c.expected);
        }
    }
}

// Another cursor of the destination that posted a record keeps showing it, though stored copies land before it.
TEST(ParadoxBatchCopy, OtherCursorsOfTheDestinationKeepTheirRecord)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    db::Table source;
    create(source, dir.filePath(QStringLiteral("quelle.db")),
           {{def("K", FieldType::ftString, 12)}, 1, {{"A"}, {"B"}, {"C"}}});
    db::Table destination;
    create(destination, dir.filePath(QStringLiteral("ziel.db")), {{def("K", FieldType::ftString, 12)}, 1, {}});
    db::Table other;
    other.setTableName(destination.filePath());
    other.Open();
    other.Append();
    other.Fields(0)->setAsString(QStringLiteral("Bm"));
    other.Post();

    db::BatchMove move;
    move.setSource(&source);
    move.setDestination(&destination);
    move.Execute();
    EXPECT_EQ(move.MovedCount(), 3);
    EXPECT_EQ(other.Fields(0)->AsString(), QStringLiteral("Bm"));
    EXPECT_EQ(other.RecordCount(), 4);
    EXPECT_EQ(other.RecNo(), 3);
    other.Close();
    EXPECT_EQ(contents(destination), (QList<QStringList>{{"A"}, {"B"}, {"Bm"}, {"C"}}));
}
