#include "TestTables.h"

#include "db/Field.h"

#include <QSignalSpy>

#include <algorithm>
#include <random>

using namespace testdb;
using db::Table;

namespace {

void setRecord(Table& t, int nr, const QString& name)
{
    t.FieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
    t.FieldByName(QStringLiteral("Name"))->setAsString(name);
}

void setName(Table& t, const QString& name)
{
    t.FieldByName(QStringLiteral("Name"))->setAsString(name);
}

struct StateCase {
    const char* name;
    bool keyed;
    std::vector<std::pair<int, QString>> initial;
    std::function<void(Table&)> steps;
    QStringList order;     // Name column afterwards, in table order
    QString current;       // Name of the record the cursor is on after the steps
    db::TDataSetState state;
    // Order instead of `order` in a kind that stores every new record at the end (dBase); empty: the same.
    QStringList appendedOrder = {};
};

const std::vector<std::pair<int, QString>> kAbc = {{1, "A"}, {2, "B"}, {3, "C"}};
const std::vector<std::pair<int, QString>> kAce = {{1, "A"}, {3, "C"}, {5, "E"}};

const std::vector<StateCase> kStateCases = {
    // keyless tables: positions
    {"insert places the record before the current one", false, kAbc,
     [](Table& t) { t.Next(); t.Insert(); setRecord(t, 9, "X"); t.Post(); },
     {"A", "X", "B", "C"}, "X", db::dsBrowse, {"A", "B", "C", "X"}},
    {"insert on the first record", false, kAbc,
     [](Table& t) { t.Insert(); setRecord(t, 9, "X"); t.Post(); },
     {"X", "A", "B", "C"}, "X", db::dsBrowse, {"A", "B", "C", "X"}},
    {"insert on the last record goes before it", false, kAbc,
     [](Table& t) { t.Last(); t.Insert(); setRecord(t, 9, "X"); t.Post(); },
     {"A", "B", "X", "C"}, "X", db::dsBrowse, {"A", "B", "C", "X"}},
    {"append adds at the end", false, kAbc,
     [](Table& t) { t.Append(); setRecord(t, 9, "X"); t.Post(); },
     {"A", "B", "C", "X"}, "X", db::dsBrowse},
    {"moving posts a changed new record", false, kAbc,
     [](Table& t) { t.Next(); t.Insert(); setRecord(t, 9, "X"); t.First(); },
     {"A", "X", "B", "C"}, "A", db::dsBrowse, {"A", "B", "C", "X"}},
    {"append posts the changed record before it", false, kAbc,
     [](Table& t) { t.Append(); setRecord(t, 8, "X"); t.Append(); setRecord(t, 9, "Y"); t.Post(); },
     {"A", "B", "C", "X", "Y"}, "Y", db::dsBrowse},
    {"moving drops an unchanged new record", false, kAbc,
     [](Table& t) { t.Next(); t.Insert(); t.Next(); },
     {"A", "B", "C"}, "C", db::dsBrowse},
    {"moving posts an edited record", false, kAbc,
     [](Table& t) { t.Edit(); setName(t, "Z"); t.Next(); },
     {"Z", "B", "C"}, "B", db::dsBrowse},
    {"cancel restores an edited record", false, kAbc,
     [](Table& t) { t.Next(); t.Edit(); setName(t, "Z"); t.Cancel(); },
     {"A", "B", "C"}, "B", db::dsBrowse},
    {"cancel restores a field set twice", false, kAbc,
     [](Table& t) { t.Next(); t.Edit(); setName(t, "Z"); setName(t, "Y"); t.Cancel(); },
     {"A", "B", "C"}, "B", db::dsBrowse},
    {"a cancelled change is not posted by the next edit", false, kAbc,
     [](Table& t) {
         t.Edit(); setName(t, "Z"); t.Cancel();
         t.Edit(); t.FieldByName("Nr")->setAsInteger(7); t.Post();
     },
     {"A", "B", "C"}, "A", db::dsBrowse},
    {"cancel of a new record returns to the record it stood on", false, kAbc,
     [](Table& t) { t.Next(); t.Insert(); setRecord(t, 9, "X"); t.Cancel(); },
     {"A", "B", "C"}, "B", db::dsBrowse},
    {"delete moves to the following record", false, kAbc,
     [](Table& t) { t.Next(); t.Delete(); },
     {"A", "C"}, "C", db::dsBrowse},
    {"delete of the last record moves to the one before", false, kAbc,
     [](Table& t) { t.Last(); t.Delete(); },
     {"A", "B"}, "B", db::dsBrowse},
    {"delete in insert state only drops the new record", false, kAbc,
     [](Table& t) { t.Insert(); setRecord(t, 9, "X"); t.Delete(); },
     {"A", "B", "C"}, "A", db::dsBrowse},
    {"an explicit post stores an untouched new record", false, kAbc,
     [](Table& t) { t.Append(); t.Post(); },
     {"A", "B", "C", ""}, "", db::dsBrowse},
    {"edit after a posted append changes that record", false, kAbc,
     [](Table& t) {
         t.Append(); t.FieldByName("Nr")->setAsInteger(9); t.Post();
         t.Edit(); setName(t, "X"); t.Post();
     },
     {"A", "B", "C", "X"}, "X", db::dsBrowse},
    {"edit on an empty table starts a new record", false, {},
     [](Table& t) { t.Edit(); },
     {}, "", db::dsInsert},
    {"edit in insert state keeps the new record", false, kAbc,
     [](Table& t) { t.Append(); setName(t, "X"); t.Edit(); },
     {"A", "B", "C"}, "X", db::dsInsert},
    {"inserting from the last field to the first keeps the fields' order", false, {},
     [](Table& t) {
         t.Edit();
         for (const char* n : {"C", "B", "A"}) { t.Insert(); setName(t, n); }
         t.Post();
     },
     {"A", "B", "C"}, "A", db::dsBrowse, {"C", "B", "A"}},
    {"a pending record is dropped by Close", false, kAbc,
     [](Table& t) { t.Append(); setRecord(t, 9, "X"); t.Close(); t.Open(); },
     {"A", "B", "C"}, "A", db::dsBrowse},

    // keyed tables: key order
    {"a posted record takes its place in key order", true, kAce,
     [](Table& t) { t.Append(); setRecord(t, 4, "D"); t.Post(); },
     {"A", "C", "D", "E"}, "D", db::dsBrowse},
    {"insert in a keyed table ignores the cursor position", true, kAce,
     [](Table& t) { t.Last(); t.Insert(); setRecord(t, 0, "Z"); t.Post(); },
     {"Z", "A", "C", "E"}, "Z", db::dsBrowse},
    {"a changed key moves the record and the cursor follows", true, kAce,
     [](Table& t) { t.Edit(); t.FieldByName("Nr")->setAsInteger(9); t.Post(); },
     {"C", "E", "A"}, "A", db::dsBrowse},
    {"cancel restores a changed key", true, kAce,
     [](Table& t) { t.Edit(); t.FieldByName("Nr")->setAsInteger(9); setName(t, "Z"); t.Cancel(); },
     {"A", "C", "E"}, "A", db::dsBrowse},
    {"a key changed after a cancelled change", true, kAce,
     [](Table& t) {
         t.Edit(); setName(t, "Z"); t.Cancel();
         t.Edit(); t.FieldByName("Nr")->setAsInteger(9); t.Post();
     },
     {"C", "E", "A"}, "A", db::dsBrowse},
    {"FindKey goes to the record", true, kAce,
     [](Table& t) { ASSERT_TRUE(t.FindKey(3)); },
     {"A", "C", "E"}, "C", db::dsBrowse},
    {"FindKey converts a text to the key's type", true, kAce,
     [](Table& t) { ASSERT_TRUE(t.FindKey(QStringLiteral("5"))); },
     {"A", "C", "E"}, "E", db::dsBrowse},
    {"FindKey that fails leaves the cursor", true, kAce,
     [](Table& t) { t.Next(); ASSERT_FALSE(t.FindKey(4)); },
     {"A", "C", "E"}, "C", db::dsBrowse},
    {"FindKey posts a pending record first", true, kAce,
     [](Table& t) { t.Append(); setRecord(t, 2, "B"); ASSERT_TRUE(t.FindKey(5)); },
     {"A", "B", "C", "E"}, "E", db::dsBrowse},
};

}  // namespace

TEST_P(StorageTest, StateMachine)
{
    for (const StateCase& c : kStateCases) {
        SCOPED_TRACE(c.name);
        if (c.keyed && !GetParam().keyed)
            continue;
        static int serial = 0;
        auto table = makeTable(QStringLiteral("T%1").arg(++serial), c.keyed, c.initial);
        c.steps(*table);
        EXPECT_EQ(table->State(), c.state);
        EXPECT_EQ(current(*table), c.current);
        if (table->State() != db::dsBrowse)
            table->Cancel();
        const bool appends = !GetParam().insertsAtCursor && !c.appendedOrder.isEmpty();
        EXPECT_EQ(names(*table), appends ? c.appendedOrder : c.order);
    }
}

TEST_P(StorageTest, NavigationFlagsAndRecordNumbers)
{
    auto table = makeTable(QStringLiteral("Nav"), false, kAbc);
    EXPECT_TRUE(table->Bof());
    EXPECT_FALSE(table->Eof());
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_EQ(table->RecordCount(), 3);

    table->Next();
    table->Next();
    EXPECT_EQ(table->RecNo(), 3);
    EXPECT_FALSE(table->Eof());
    table->Next();  // past the last record: stays on it, Eof set
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(current(*table), "C");
    table->Prior();
    EXPECT_FALSE(table->Eof());
    EXPECT_EQ(current(*table), "B");
    table->First();
    table->Prior();
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(current(*table), "A");
    table->Last();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(table->RecNo(), 3);
    table->setRecNo(2);
    EXPECT_EQ(current(*table), "B");

    table->Append();
    EXPECT_EQ(table->RecNo(), -1);
    EXPECT_EQ(table->RecordCount(), 3);  // the pending record is not counted
    table->Cancel();

    auto empty = makeTable(QStringLiteral("Empty"), false, {});
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(empty->RecNo(), 0);
    EXPECT_TRUE(empty->FieldByName("Name")->IsNull());
}

TEST_P(StorageTest, RefusedPostsKeepTheRecordPending)
{
    struct Case {
        const char* name;
        bool keyed;
        bool nameRequired;
        std::function<void(Table&)> fill;
        int code;
    };
    const std::vector<Case> cases = {
        {"key violation", true, false, [](Table& t) { setRecord(t, 3, "X"); }, db::ErrorCode::KeyViolation},
        {"required field empty", false, true, [](Table& t) { t.FieldByName("Nr")->setAsInteger(7); },
         db::ErrorCode::RequiredFieldMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.keyed && !GetParam().keyed) || (c.nameRequired && !GetParam().keepsRequired))
            continue;
        auto table = makeTable(QString::fromLatin1(c.name).remove(' '), c.keyed, kAce, c.nameRequired);
        table->Append();
        c.fill(*table);
        EXPECT_EQ(engineErrorOf([&] { table->Post(); }), c.code);
        EXPECT_EQ(table->State(), db::dsInsert);
        EXPECT_EQ(table->FieldByName("Nr")->AsInteger(), c.keyed ? 3 : 7);
        // A move would post it again and is refused the same way, without moving.
        EXPECT_EQ(engineErrorOf([&] { table->First(); }), c.code);
        EXPECT_EQ(table->State(), db::dsInsert);
        EXPECT_EQ(table->RecordCount(), 3);
        table->Cancel();
        EXPECT_EQ(names(*table), QStringList({"A", "C", "E"}));
    }
}

TEST_P(StorageTest, RefusedOperations)
{
    auto keyless = makeTable(QStringLiteral("Keyless"), false, kAbc);
    auto empty = makeTable(QStringLiteral("Empty"), false, {});
    struct Case {
        const char* name;
        std::function<void()> op;
        int code;
    };
    const std::vector<Case> cases = {
        {"writing a field in browse state", [&] { setName(*keyless, "Z"); }, db::ErrorCode::InvalidState},
        {"clearing a field in browse state", [&] { keyless->FieldByName("Name")->Clear(); },
         db::ErrorCode::InvalidState},
        {"FindKey without a primary key", [&] { keyless->FindKey(1); }, db::ErrorCode::NotSupported},
        {"deleting from an empty table", [&] { empty->Delete(); }, db::ErrorCode::InvalidState},
        {"FieldByName of a missing field", [&] { keyless->FieldByName("Fehlt"); }, db::ErrorCode::FieldNotFound},
        {"Fields out of range", [&] { keyless->Fields(2); }, db::ErrorCode::FieldNotFound},
        {"moving a closed table", [&] { auto t = cursor(pathOf("Keyless")); t->Next(); },
         db::ErrorCode::InvalidState},
        {"creating a table that is open", [&] { keyless->CreateTable(); }, db::ErrorCode::InvalidState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engineErrorOf(c.op), c.code);
    }
    EXPECT_EQ(keyless->State(), db::dsBrowse);
    EXPECT_EQ(names(*keyless), QStringList({"A", "B", "C"}));
    EXPECT_EQ(keyless->FindField("Fehlt"), nullptr);
    EXPECT_EQ(keyless->FindField("name"), keyless->Fields(1));
}

TEST_P(StorageTest, FieldsDescribeTheTable)
{
    const bool keyed = GetParam().keyed;
    auto table = makeTable(QStringLiteral("Described"), keyed, kAce);
    ASSERT_EQ(table->FieldCount(), 2);
    EXPECT_EQ(table->IndexFieldCount(), keyed ? 1 : 0);
    EXPECT_EQ(table->Fields(0)->IsIndexField(), keyed);
    EXPECT_FALSE(table->Fields(1)->IsIndexField());
    EXPECT_EQ(table->Fields(1)->FieldName().toUpper(), "NAME");  // dBase keeps names in capitals
    EXPECT_EQ(table->Fields(1)->DataType(), db::FieldType::ftString);
    EXPECT_EQ(table->Fields(1)->Size(), 20);
    EXPECT_EQ(table->Fields(1)->DataSize(), 21);
    EXPECT_EQ(table->FieldDefs().Count(), 2);
    EXPECT_EQ(table->FieldDefs().KeyFieldCount(), keyed ? 1 : 0);

    // Display settings stay with the field across Close and Open.
    db::Field* name = table->FieldByName("Name");
    name->setDisplayWidth(27);
    name->setVisible(false);
    table->Close();
    EXPECT_EQ(table->FieldCount(), 0);
    EXPECT_EQ(table->FindField("Name"), nullptr);
    table->Open();
    EXPECT_EQ(table->FieldByName("Name"), name);
    EXPECT_EQ(name->DisplayWidth(), 27);
    EXPECT_FALSE(name->Visible());
}

TEST_P(StorageTest, TableNameWithoutExtensionGetsTheFormatsOwn)
{
    auto created = makeTable(QStringLiteral("Plain"), false, kAbc);
    created->Close();
    auto table = cursor(dir_.filePath(QStringLiteral("Plain")));
    EXPECT_EQ(table->filePath(), pathOf(QStringLiteral("Plain")));
    table->Open();
    EXPECT_EQ(table->RecordCount(), 3);
}

TEST_P(StorageTest, NotificationsAndDisabledControls)
{
    auto table = makeTable(QStringLiteral("Signals"), false, kAbc);
    QSignalSpy scroll(table.get(), &Table::afterScroll);
    QSignalSpy data(table.get(), &Table::dataChanged);
    QSignalSpy state(table.get(), &Table::stateChanged);
    QSignalSpy posted(table.get(), &Table::afterPost);

    table->Next();
    EXPECT_EQ(scroll.count(), 1);
    EXPECT_EQ(data.count(), 1);
    table->Edit();
    EXPECT_EQ(state.count(), 1);
    setName(*table, "Z");
    ASSERT_EQ(data.count(), 2);
    EXPECT_EQ(data.last().at(0).value<db::Field*>(), table->FieldByName("Name"));
    table->Post();
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(state.count(), 2);

    scroll.clear();
    data.clear();
    state.clear();
    table->DisableControls();
    table->DisableControls();
    for (table->First(); !table->Eof(); table->Next()) {
        table->Edit();
        setName(*table, current(*table) + "1");
        table->Post();
    }
    table->EnableControls();
    EXPECT_EQ(data.count(), 0);  // still disabled once
    table->EnableControls();
    EXPECT_GT(scroll.count(), 0);  // the table's own events go on while controls are disabled
    EXPECT_EQ(data.count(), 1);
    EXPECT_EQ(state.count(), 0);  // in browse state before and after
    EXPECT_EQ(names(*table), QStringList({"A1", "Z1", "C1"}));
}

INSTANTIATE_TEST_SUITE_P(AllStorages, StorageTest, testing::ValuesIn(storageKinds()), kindName);

// Look-ups in a table that is only read, on a key of two fields whose texts share a long start and, after it,
// their first bytes: the storage may search an index of its own there, which has to agree with the records.
TEST_P(StorageTest, FindKeyInATableThatIsOnlyRead)
{
    if (!GetParam().keyed)
        GTEST_SKIP() << "no primary keys";
    const db::FieldDefList fields = {
        {QStringLiteral("Name"), db::FieldType::ftString, 20, 0, false},
        {QStringLiteral("Nr"), db::FieldType::ftInteger, 0, 0, false},
    };
    const QString path = makeTableWith(QStringLiteral("OnlyRead"), fields, 2)->TableName();
    {
        auto writer = cursor(path);
        writer->Open();
        for (const auto& [name, nr] : std::vector<std::pair<QString, int>>{
                 {"Strasse-Lang-A1", 1}, {"Strasse-Lang-A1", 2}, {"Strasse-Lang-A1xx", 1},
                 {"Strasse-Lang-A1xxxxx", 3}, {"Strasse-Lang-B", 5}}) {
            writer->Append();
            writer->FieldByName("Name")->setAsString(name);
            writer->FieldByName("Nr")->setAsInteger(nr);
            writer->Post();
        }
    }
    struct Case {
        const char* name;
        QVariantList key;
        int nr;  // of the record found, 0 for none
        QString foundName = {};
    };
    const std::vector<Case> cases = {
        {"both fields, tied with another record in the name and the first bytes", {"Strasse-Lang-A1", 2}, 2,
         "Strasse-Lang-A1"},
        {"the name alone finds its first record", {"Strasse-Lang-A1"}, 1, "Strasse-Lang-A1"},
        {"a name that only starts another", {"Strasse-Lang-A1x"}, 0},
        {"a longer name", {"Strasse-Lang-A1xx", 1}, 1, "Strasse-Lang-A1xx"},
        {"the longest name", {"Strasse-Lang-A1xxxxx", 3}, 3, "Strasse-Lang-A1xxxxx"},
        {"the last record", {"Strasse-Lang-B", 5}, 5, "Strasse-Lang-B"},
        {"a number the name lacks", {"Strasse-Lang-B", 4}, 0},
        {"before the first record", {"Strasse-Lang-A0", 1}, 0},
        {"after the last record", {"Strasse-Lang-C", 1}, 0},
        {"a name below the shared start", {"Anders", 1}, 0},
        {"a name above the shared start", {"Zebra", 1}, 0},
        {"the shared start alone", {"Strasse-Lang-"}, 0},
    };
    auto reader = cursor(path);
    reader->Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reader->Last();
        ASSERT_EQ(reader->FindKey(c.key), c.nr != 0);
        if (c.nr != 0) {
            EXPECT_EQ(reader->FieldByName("Nr")->AsInteger(), c.nr);
            EXPECT_EQ(reader->FieldByName("Name")->AsString(), c.foundName);
        } else {
            EXPECT_EQ(reader->FieldByName("Nr")->AsInteger(), 5);  // stays where it was
        }
    }
}

// Records appended to a keyed table one after the other, in no order: whatever the cursor does next finds the
// record it posted last at its place in key order (a storage may keep such records from their places until a row
// is asked for).
TEST_P(StorageTest, AppendedRecordsOfAKeyedTableAreWhereTheKeySaysWhenAsked)
{
    if (!GetParam().keyed)
        GTEST_SKIP() << "no primary keys";
    std::vector<int> numbers(300);
    for (int i = 0; i < 300; ++i)
        numbers[static_cast<std::size_t>(i)] = i % 5 == 0 ? -i * 3 - 1 : i * 3;
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(5));
    std::vector<int> sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    const int last = numbers.back();
    const auto nameOf = [](int nr) { return QStringLiteral("N%1").arg(nr); };
    const auto position = [&](int nr) { return int(std::lower_bound(sorted.begin(), sorted.end(), nr) - sorted.begin()); };
    struct Case {
        const char* name;
        std::function<void(Table& t, Table& other)> act;
        QString current;  // Name of the record the cursor is on afterwards
        int recNo;
        int count = 300;
    };
    const std::vector<Case> cases = {
        {"reads the record it posted last", [](Table&, Table&) {}, nameOf(last), position(last) + 1},
        {"Next goes to the record after it", [](Table& t, Table&) { t.Next(); },
         nameOf(sorted[size_t(position(last) + 1)]), position(last) + 2},
        {"Prior goes to the record before it", [](Table& t, Table&) { t.Prior(); },
         nameOf(sorted[size_t(position(last) - 1)]), position(last)},
        {"a new record given up returns to it",
         [](Table& t, Table&) { t.Append(); setRecord(t, 100000, "Neu"); t.Cancel(); }, nameOf(last),
         position(last) + 1},
        {"its key refused again, waiting or placed",
         [&](Table& t, Table&) {
             for (const int taken : {last, numbers.front(), sorted.front()}) {
                 t.Append();
                 setRecord(t, taken, "doppelt");
                 EXPECT_EQ(engineErrorOf([&] { t.Post(); }), db::ErrorCode::KeyViolation) << taken;
                 t.Cancel();
             }
         },
         nameOf(last), position(last) + 1},
        {"Edit changes it",
         [&](Table& t, Table& other) {
             t.Edit();
             setName(t, "geändert");
             t.Post();
             ASSERT_TRUE(other.FindKey(last));
             EXPECT_EQ(current(other), "geändert");
         },
         "geändert", position(last) + 1},
        {"Delete removes it and goes to the record after it",
         [&](Table& t, Table& other) {
             t.Delete();
             EXPECT_FALSE(other.FindKey(last));
             EXPECT_EQ(other.RecordCount(), 299);
         },
         nameOf(sorted[size_t(position(last) + 1)]), position(last) + 1, 299},
        {"another cursor appending as well finds its own",
         [&](Table&, Table& other) {
             for (const int nr : {-100000, 100000}) {
                 other.Append();
                 setRecord(other, nr, nameOf(nr));
                 other.Post();
             }
             EXPECT_EQ(current(other), nameOf(100000));
             EXPECT_EQ(other.RecNo(), 302);
         },
         nameOf(last), position(last) + 2, 302},
        {"another cursor reads every record in key order",
         [&](Table&, Table& other) {
             QStringList expected;
             for (const int nr : sorted)
                 expected << nameOf(nr);
             EXPECT_EQ(names(other), expected);
         },
         nameOf(last), position(last) + 1},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto t = makeTable(QStringLiteral("Appended%1").arg(++serial), true, {});
        auto other = cursor(t->TableName());
        other->Open();
        for (const int nr : numbers) {
            t->Append();
            setRecord(*t, nr, nameOf(nr));
            t->Post();
        }
        c.act(*t, *other);
        EXPECT_EQ(current(*t), c.current);
        EXPECT_EQ(t->RecNo(), c.recNo);
        EXPECT_EQ(t->RecordCount(), c.count);
    }
}
