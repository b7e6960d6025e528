#include "TestTables.h"

#include "db/Field.h"

using namespace testdb;
using db::Table;

namespace {

const std::vector<std::pair<int, QString>> kAce = {{1, "A"}, {3, "C"}, {5, "E"}};

QString nameOf(Table& t)
{
    return t.FieldByName(QStringLiteral("Name"))->AsString();
}

}  // namespace

TEST_P(StorageTest, CursorsOnOneTableSeeEachOthersWrites)
{
    struct Case {
        const char* name;
        bool keyed;
        std::function<void(Table& writer)> write;
        QString readerOn;  // Name of the reader's record afterwards
        int readerCount;
    };
    const std::vector<Case> cases = {
        {"a record inserted before the reader's", false,
         [](Table& w) { w.Insert(); w.FieldByName("Name")->setAsString("X"); w.Post(); }, "C", 4},
        {"the record before the reader's deleted", false, [](Table& w) { w.Delete(); }, "C", 2},
        {"the reader's record deleted", false, [](Table& w) { w.Next(); w.Delete(); }, "E", 2},
        {"a record appended", false,
         [](Table& w) { w.Append(); w.FieldByName("Name")->setAsString("X"); w.Post(); }, "C", 4},
        {"a keyed record put before the reader's", true,
         [](Table& w) { w.Append(); w.FieldByName("Nr")->setAsInteger(2); w.FieldByName("Name")->setAsString("B");
                        w.Post(); }, "C", 4},
        {"the reader's record changed in place", true,
         [](Table& w) { w.Next(); w.Edit(); w.FieldByName("Name")->setAsString("Cc"); w.Post(); }, "Cc", 3},
        {"the reader's key changed", true,
         [](Table& w) { w.FindKey(3); w.Edit(); w.FieldByName("Nr")->setAsInteger(9); w.Post(); },
         "E", 3},  // its key gone, the reader keeps its position
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.keyed && !GetParam().keyed)
            continue;
        auto writer = makeTable(QStringLiteral("Shared%1").arg(++serial), c.keyed, kAce);
        auto reader = cursor(writer->TableName());
        reader->Open();
        reader->Next();
        ASSERT_EQ(nameOf(*reader), "C");
        c.write(*writer);
        EXPECT_EQ(reader->RecordCount(), c.readerCount);
        EXPECT_EQ(nameOf(*reader), c.readerOn);
        EXPECT_EQ(writer->RecordCount(), c.readerCount);
    }
}

TEST_P(StorageTest, PostOfARecordAnotherCursorChangedIsRefused)
{
    for (bool keyed : {false, true}) {
        SCOPED_TRACE(keyed ? "keyed" : "keyless");
        if (keyed && !GetParam().keyed)
            continue;
        auto writer = makeTable(keyed ? QStringLiteral("K") : QStringLiteral("U"), keyed, kAce);
        auto editor = cursor(writer->TableName());
        editor->Open();
        editor->Next();
        editor->Edit();
        editor->FieldByName("Name")->setAsString("Mine");

        writer->Next();
        writer->Edit();
        writer->FieldByName("Name")->setAsString("Theirs");
        writer->Post();

        EXPECT_EQ(engineErrorOf([&] { editor->Post(); }), db::ErrorCode::RecordChanged);
        EXPECT_EQ(editor->State(), db::dsEdit);
        editor->Cancel();
        EXPECT_EQ(nameOf(*editor), "Theirs");

        // A change elsewhere in the table does not stand in the way.
        editor->Edit();
        editor->FieldByName("Name")->setAsString("Mine");
        writer->Last();
        writer->Delete();
        editor->Post();
        EXPECT_EQ(names(*writer), QStringList({"A", "Mine"}));
    }
}

TEST_P(StorageTest, ExclusiveUseWithinTheProcess)
{
    struct Case {
        const char* name;
        bool firstExclusive;
        bool secondExclusive;
        bool conflict;
    };
    const std::vector<Case> cases = {
        {"shared beside shared", false, false, false},
        {"exclusive beside shared", false, true, true},
        {"shared beside exclusive", true, false, true},
        {"exclusive beside exclusive", true, true, true},
    };
    auto created = makeTable(QStringLiteral("Lock"), false, kAce);
    created->Close();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = cursor(pathOf("Lock"));
        first->setExclusive(c.firstExclusive);
        first->Open();
        auto second = cursor(pathOf("Lock"));
        second->setExclusive(c.secondExclusive);
        EXPECT_EQ(engineErrorOf([&] { second->Open(); }), c.conflict ? db::ErrorCode::FileLocked : 0);
        EXPECT_EQ(second->Active(), !c.conflict);
        second->Close();
        first->Close();
        second->Open();  // free again once the first has closed
        EXPECT_EQ(second->RecordCount(), 3);
    }
}

TEST_P(StorageTest, EmptyCreateAndDeleteNeedTheTableToThemselves)
{
    auto holder = makeTable(QStringLiteral("Whole"), false, kAce);
    auto other = cursor(pathOf("Whole"));

    EXPECT_EQ(engineErrorOf([&] { holder->EmptyTable(); }), db::ErrorCode::ExclusiveAccessNeeded);
    EXPECT_EQ(engineErrorOf([&] { other->EmptyTable(); }), db::ErrorCode::FileLocked);
    EXPECT_EQ(engineErrorOf([&] { other->DeleteTable(); }), db::ErrorCode::FileLocked);
    other->FieldDefs().Add("Nr", db::FieldType::ftInteger);
    EXPECT_EQ(engineErrorOf([&] { other->CreateTable(); }), db::ErrorCode::FileLocked);
    EXPECT_EQ(holder->RecordCount(), 3);

    holder->Close();
    holder->setExclusive(true);
    holder->Open();
    holder->Append();
    holder->FieldByName("Name")->setAsString("pending");
    holder->EmptyTable();
    EXPECT_EQ(holder->State(), db::dsBrowse);
    EXPECT_EQ(holder->RecordCount(), 0);
    EXPECT_TRUE(holder->Eof());
    holder->Append();
    holder->FieldByName("Name")->setAsString("again");
    holder->Post();
    holder->Close();

    other->EmptyTable();  // a closed table is emptied through a short exclusive open
    EXPECT_FALSE(other->Active());
    other->Open();
    EXPECT_EQ(other->RecordCount(), 0);
    other->Close();

    other->DeleteTable();
    EXPECT_EQ(engineErrorOf([&] { other->Open(); }), db::ErrorCode::TableNotFound);
}

TEST_P(StorageTest, CreateTableReplacesATableNobodyHolds)
{
    auto old = makeTable(QStringLiteral("Again"), false, kAce);
    old->Close();
    auto fresh = cursor(pathOf("Again"));
    fresh->FieldDefs().Clear();
    fresh->FieldDefs().Add("Nr", db::FieldType::ftInteger);
    fresh->FieldDefs().Add("Text", db::FieldType::ftString, 20);
    ASSERT_NO_THROW(fresh->CreateTable());
    fresh->Open();
    EXPECT_EQ(fresh->RecordCount(), 0);
    EXPECT_EQ(fresh->FieldCount(), 2);
    EXPECT_NE(fresh->FindField("Text"), nullptr);
}
