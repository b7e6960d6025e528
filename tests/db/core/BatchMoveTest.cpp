#include "support/FieldDefs.h"
#include "TestTables.h"

#include "db/BatchMove.h"
#include "db/Field.h"
#include "rtl/FormatSettings.h"

#include <QDate>

using namespace testdb;
using db::FieldType;
using db::Table;

namespace {

using testsupport::def;

// dBase text fields end at 254 characters; the other kinds take the staging tables' 255.
int wideText(const StorageKind& kind)
{
    return kind.extension == ".DBF" ? 254 : 255;
}

}  // namespace

TEST_P(StorageTest, BatchMoveConvertsFieldByField)
{
    rtl::FormatSettingsGuard guard;
    rtl::formatSettings().DecimalSeparator = u',';
    rtl::formatSettings().DateSeparator = u'.';
    rtl::formatSettings().ShortDateFormat = QStringLiteral("DD/MM/YYYY");

    struct Case {
        const char* name;
        db::FieldDef from;
        QVariant value;
        db::FieldDef to;
        QString expected;  // destination's AsString
        int error = 0;     // EngineError code of the move, 0: none
    };
    const int wide = wideText(GetParam());
    const std::vector<Case> cases = {
        {"a long text is cut to the shorter field", def("Wert", FieldType::ftString, wide),
         QStringLiteral("Müllerstraße 12"), def("Wert", FieldType::ftString, 6), QStringLiteral("Müller")},
        {"a text fitting the sized field stays whole", def("Wert", FieldType::ftString, wide),
         QStringLiteral("Bonn"), def("Wert", FieldType::ftString, 4), QStringLiteral("Bonn")},
        {"a text becomes an integer", def("Wert", FieldType::ftString, 10), QStringLiteral("42"),
         def("Wert", FieldType::ftInteger), QStringLiteral("42")},
        {"a text becomes a float with the decimal separator", def("Wert", FieldType::ftString, 10),
         QStringLiteral("2,5"), def("Wert", FieldType::ftFloat), QStringLiteral("2,5")},
        {"a text becomes a date", def("Wert", FieldType::ftString, 10), QStringLiteral("31.12.2024"),
         def("Wert", FieldType::ftDate), QStringLiteral("31.12.2024")},
        {"a text becomes a logical value", def("Wert", FieldType::ftString, 10), QStringLiteral("false"),
         def("Wert", FieldType::ftBoolean), QStringLiteral("False")},
        {"an integer becomes a text", def("Wert", FieldType::ftInteger), 1234, def("Wert", FieldType::ftString, 10),
         QStringLiteral("1234")},
        {"a logical value becomes a text", def("Wert", FieldType::ftBoolean), true,
         def("Wert", FieldType::ftString, 10), QStringLiteral("True")},
        {"a date becomes a text", def("Wert", FieldType::ftDate), QDate(2024, 2, 29),
         def("Wert", FieldType::ftString, 10), QStringLiteral("29.02.2024")},
        {"a blank value stays blank", def("Wert", FieldType::ftString, 10), QVariant(),
         def("Wert", FieldType::ftInteger), QString()},
        {"a text that is no number stops the move", def("Wert", FieldType::ftString, 10), QStringLiteral("zwölf"),
         def("Wert", FieldType::ftInteger), QString(), db::ErrorCode::InvalidValue},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++serial;
        // Each source holds the value between two records that always convert, so that the count shows where a
        // move stopped.
        auto source = makeTableWith(QStringLiteral("Q%1").arg(serial),
                                    {def("Nr", FieldType::ftInteger), c.from});
        for (int nr : {1, 2, 3}) {
            source->Append();
            source->Fields(0)->setAsInteger(nr);
            if (nr == 2)
                source->Fields(1)->setAsVariant(c.value);
            source->Post();
        }
        auto target = makeTableWith(QStringLiteral("Z%1").arg(serial), {def("Nr", FieldType::ftInteger), c.to});
        db::BatchMove move;
        move.setSource(source.get());
        move.setDestination(target.get());
        move.setMode(db::batAppend);
        EXPECT_EQ(engineErrorOf([&] { move.Execute(); }), c.error);
        EXPECT_EQ(move.MovedCount(), c.error ? 1 : 3);
        EXPECT_EQ(target->State(), db::dsBrowse);
        ASSERT_EQ(target->RecordCount(), move.MovedCount());
        if (c.error)
            continue;
        target->setRecNo(2);
        EXPECT_EQ(target->Fields(0)->AsInteger(), 2);
        EXPECT_EQ(target->Fields(1)->AsString(), c.expected);
    }
}

TEST_P(StorageTest, BatchMoveAppendsEveryShownRecordAndLeavesTheTablesAsFound)
{
    // The text import's sizing step: a staging table of wide text fields moved into a table of fitted fields,
    // which is created closed and stays closed.
    const int wide = wideText(GetParam());
    auto staging = makeTableWith(QStringLiteral("ZSP"), {def("FELD_1", FieldType::ftString, wide),
                                                         def("FELD_2", FieldType::ftString, wide),
                                                         def("FELD_3", FieldType::ftString, wide)});
    const std::vector<QStringList> rows = {{"Meier", "Köln", "x"}, {"Schulze-Westphal", "Bad Homburg", ""},
                                           {"", "Ulm", "y"}, {"Li", "", ""}};
    for (const QStringList& row : rows) {
        staging->Append();
        for (int i = 0; i < 3; ++i)
            staging->Fields(i)->setAsString(row[i]);
        staging->Post();
    }
    staging->setRecNo(3);

    auto target = cursor(pathOf(QStringLiteral("kunden")));
    target->FieldDefs().Clear();
    target->FieldDefs().Add(QStringLiteral("FELD_1"), FieldType::ftString, 16);
    target->FieldDefs().Add(QStringLiteral("FELD_2"), FieldType::ftString, 11);
    target->CreateTable();  // one field fewer: the third is left out

    db::BatchMove move;
    move.setSource(staging.get());
    move.setDestination(target.get());
    move.Execute();
    EXPECT_EQ(move.MovedCount(), 4);
    EXPECT_FALSE(target->Active());
    EXPECT_EQ(staging->RecNo(), 3);  // the reading does not move the source's cursor

    target->Open();
    QList<QStringList> moved;
    for (target->First(); !target->Eof(); target->Next())
        moved << QStringList{target->Fields(0)->AsString(), target->Fields(1)->AsString()};
    EXPECT_EQ(moved, (QList<QStringList>{{"Meier", "Köln"}, {"Schulze-Westphal", "Bad Homburg"}, {"", "Ulm"},
                                         {"Li", ""}}));
    target->Close();

    // A filter on the source applies; a pending record of the source is posted first; a closed source is opened
    // and closed again.
    staging->setFilter(QStringLiteral("FELD_3 = 'y' or FELD_1 = 'Neu'"));
    staging->setFiltered(true);
    staging->Append();
    staging->Fields(0)->setAsString(QStringLiteral("Neu"));
    move.Execute();
    EXPECT_EQ(move.MovedCount(), 2);
    staging->Close();
    move.Execute();
    EXPECT_EQ(move.MovedCount(), 2);
    EXPECT_FALSE(staging->Active());
    target->Open();
    EXPECT_EQ(target->RecordCount(), 8);
    target->Last();
    EXPECT_EQ(target->Fields(0)->AsString(), "Neu");
}

TEST_P(StorageTest, BatchMoveRefusals)
{
    auto table = makeTable(QStringLiteral("Selbst"), false, {{1, "A"}});
    auto same = cursor(table->TableName());
    struct Case {
        const char* name;
        Table* source;
        Table* destination;
        int code;
    };
    const std::vector<Case> cases = {
        {"no destination", table.get(), nullptr, db::ErrorCode::InvalidState},
        {"no source", nullptr, table.get(), db::ErrorCode::InvalidState},
        {"a table into itself", table.get(), same.get(), db::ErrorCode::InvalidValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::BatchMove move;
        move.setSource(c.source);
        move.setDestination(c.destination);
        EXPECT_EQ(engineErrorOf([&] { move.Execute(); }), c.code);
        EXPECT_EQ(move.MovedCount(), 0);
    }
    EXPECT_EQ(table->RecordCount(), 1);
}

TEST_P(StorageTest, BatchMoveKeyViolationKeepsWhatWasMoved)
{
    if (!GetParam().keyed)
        GTEST_SKIP() << "no primary keys in this kind";
    auto source = makeTable(QStringLiteral("Quelle"), false, {{1, "A"}, {2, "B"}, {3, "C"}});
    auto target = makeTable(QStringLiteral("Ziel"), true, {{3, "alt"}});
    db::BatchMove move;
    move.setSource(source.get());
    move.setDestination(target.get());
    EXPECT_EQ(engineErrorOf([&] { move.Execute(); }), db::ErrorCode::KeyViolation);
    EXPECT_EQ(move.MovedCount(), 2);
    EXPECT_EQ(target->State(), db::dsBrowse);
    EXPECT_EQ(names(*target), QStringList({"A", "B", "alt"}));
}
