#include "TestTables.h"

#include "db/Field.h"

#include <random>

using namespace testdb;
using db::Table;

namespace {

const std::vector<std::pair<int, QString>> kFive = {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E"}};
const QString kTwoConditions = QStringLiteral("Nr >= 3 and [Name] <> 'X'");

void setRecord(Table& t, int nr, const QString& name)
{
    t.FieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
    t.FieldByName(QStringLiteral("Name"))->setAsString(name);
}

void setName(Table& t, const QString& name)
{
    t.FieldByName(QStringLiteral("Name"))->setAsString(name);
}

void filter(Table& t, const QString& text)
{
    t.setFilter(text);
    t.setFiltered(true);
}

}  // namespace

TEST_P(StorageTest, FilterNarrowsNavigationRecNoAndRecordCount)
{
    auto table = makeTable(QStringLiteral("Nav"), GetParam().keyed, kFive);
    table->Next();
    filter(*table, kTwoConditions);
    // Switching the filter on goes to the first shown record.
    EXPECT_EQ(current(*table), "C");
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_TRUE(table->Bof());
    table->Next();
    EXPECT_EQ(current(*table), "D");
    EXPECT_EQ(table->RecNo(), 2);
    table->Next();
    table->Next();
    EXPECT_TRUE(table->Eof());
    EXPECT_EQ(current(*table), "E");
    EXPECT_EQ(table->RecNo(), 3);
    table->Prior();
    table->Prior();
    table->Prior();
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(current(*table), "C");
    table->setRecNo(2);
    EXPECT_EQ(current(*table), "D");
    table->setRecNo(99);
    EXPECT_EQ(current(*table), "E");
    table->Last();
    EXPECT_EQ(table->RecNo(), 3);
    EXPECT_EQ(names(*table), QStringList({"C", "D", "E"}));
    if (GetParam().keyed) {
        table->First();
        EXPECT_FALSE(table->FindKey(2));  // exists, but the filter hides it
        EXPECT_EQ(current(*table), "C");
        EXPECT_TRUE(table->FindKey(4));
        EXPECT_EQ(table->RecNo(), 2);
    }

    // Changing the text while on applies it at once; switching off shows everything from the first record.
    table->setFilter(QStringLiteral("Nr < 3"));
    EXPECT_EQ(names(*table), QStringList({"A", "B"}));
    table->setFiltered(false);
    EXPECT_EQ(current(*table), "A");
    EXPECT_EQ(table->RecordCount(), 5);
    EXPECT_EQ(table->Filter(), "Nr < 3");

    // A filter nothing passes: an empty view, where Edit starts a new record.
    filter(*table, QStringLiteral("Nr > 100"));
    EXPECT_EQ(table->RecordCount(), 0);
    EXPECT_TRUE(table->Eof());
    EXPECT_TRUE(table->Bof());
    EXPECT_EQ(table->RecNo(), 0);
    EXPECT_TRUE(table->FieldByName("Name")->IsNull());
    table->Edit();
    EXPECT_EQ(table->State(), db::dsInsert);
    table->Cancel();

    // An empty text shows every record.
    table->setFilter(QString());
    EXPECT_EQ(table->RecordCount(), 5);
}

TEST_P(StorageTest, WritesUnderAFilterKeepTheViewRight)
{
    struct Case {
        const char* name;
        bool keyed;
        std::function<void(Table&)> steps;
        QStringList shown;  // names shown afterwards, in order
        QString current;
        int recNo;
        // Where the kind appends every new record at the end instead (dBase); empty: the same.
        QStringList shownWhenAppending = {};
        QString currentWhenAppending = {};
    };
    const std::vector<Case> cases = {
        {"a posted record the filter matches appears", false,
         [](Table& t) { t.Append(); setRecord(t, 6, "F"); t.Post(); },
         {"C", "D", "E", "F"}, "F", 4},
        {"a record inserted before the current one takes its place", false,
         [](Table& t) { t.Next(); t.Insert(); setRecord(t, 7, "G"); t.Post(); },
         {"C", "G", "D", "E"}, "G", 2, {"C", "D", "E", "G"}},
        {"a posted record the filter does not match vanishes; the record in its place becomes current", false,
         [](Table& t) { t.Next(); t.Insert(); setRecord(t, 0, "Z"); t.Post(); },
         {"C", "D", "E"}, "D", 2},
        {"an appended record outside the filter vanishes; the cursor goes back to the last one", true,
         [](Table& t) { t.Last(); t.Append(); setRecord(t, 0, "Z"); t.Post(); },
         {"C", "D", "E"}, "E", 3},
        {"a keyed record inside the filter appears in key order", true,
         [](Table& t) { t.Append(); setRecord(t, 9, "I"); t.Post(); t.Append(); setRecord(t, 6, "F"); t.Post(); },
         {"C", "D", "E", "F", "I"}, "F", 4},
        {"an edit that leaves the filter moves the cursor on", false,
         [](Table& t) { t.Next(); t.Edit(); setName(t, "X"); t.Post(); },
         {"C", "E"}, "E", 2},
        {"an edit of the last shown record that leaves the filter goes back one", false,
         [](Table& t) { t.Last(); t.Edit(); setName(t, "X"); t.Post(); },
         {"C", "D"}, "D", 2},
        {"a changed key that stays inside the filter follows the record", true,
         [](Table& t) { t.Edit(); t.FieldByName("Nr")->setAsInteger(8); t.Post(); },
         {"D", "E", "C"}, "C", 3},
        {"a changed key that leaves the filter moves to the record after its old place", true,
         [](Table& t) { t.Next(); t.Edit(); t.FieldByName("Nr")->setAsInteger(0); t.Post(); },
         {"C", "E"}, "E", 2},
        {"delete moves to the next shown record", false,
         [](Table& t) { t.Next(); t.Delete(); },
         {"C", "E"}, "E", 2},
        {"delete of the last shown record goes to the one before", false,
         [](Table& t) { t.Last(); t.Delete(); },
         {"C", "D"}, "D", 2},
        {"cancel of a new record returns to the shown record", false,
         [](Table& t) { t.Next(); t.Insert(); setRecord(t, 0, "Z"); t.Cancel(); },
         {"C", "D", "E"}, "D", 2},
        {"a record that was hidden and is changed to match appears", false,
         [](Table& t) {
             t.setFiltered(false);
             t.Edit();  // on A
             t.FieldByName("Nr")->setAsInteger(6);
             t.Post();
             t.setFiltered(true);
         },
         {"A", "C", "D", "E"}, "A", 1},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.keyed && !GetParam().keyed)
            continue;
        auto table = makeTable(QStringLiteral("W%1").arg(++serial), c.keyed, kFive);
        filter(*table, kTwoConditions);
        c.steps(*table);
        const bool appends = !GetParam().insertsAtCursor && !c.shownWhenAppending.isEmpty();
        const QString expectedCurrent = appends && !c.currentWhenAppending.isEmpty() ? c.currentWhenAppending
                                                                                      : c.current;
        EXPECT_EQ(current(*table), expectedCurrent);
        EXPECT_EQ(table->RecNo(), appends ? c.shownWhenAppending.indexOf(expectedCurrent) + 1 : c.recNo);
        EXPECT_EQ(table->RecordCount(), c.shown.size());
        EXPECT_EQ(names(*table), appends ? c.shownWhenAppending : c.shown);
    }
}

TEST_P(StorageTest, ABadFilterLeavesTheTableAsItWas)
{
    struct Case {
        const char* name;
        QString text;
        int code;
    };
    const std::vector<Case> cases = {
        {"a condition without its value", QStringLiteral("Nr >"), db::ErrorCode::FilterSyntax},
        {"a text without its closing quote", QStringLiteral("Name = 'B"), db::ErrorCode::FilterSyntax},
        {"a name that is no field", QStringLiteral("[Eigene] = 'True'"), db::ErrorCode::FieldNotFound},
    };
    auto table = makeTable(QStringLiteral("Bad"), false, kFive);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Switching on with the bad text: stays unfiltered on the same record.
        table->setFiltered(false);
        table->setFilter(c.text);
        table->setRecNo(2);
        EXPECT_EQ(engineErrorOf([&] { table->setFiltered(true); }), c.code);
        EXPECT_FALSE(table->Filtered());
        EXPECT_EQ(current(*table), "B");
        EXPECT_EQ(table->RecordCount(), 5);

        // Changing a working filter to the bad text: the working one stays in force.
        table->setFilter(QStringLiteral("Nr > 3"));
        table->setFiltered(true);
        table->Next();
        EXPECT_EQ(engineErrorOf([&] { table->setFilter(c.text); }), c.code);
        EXPECT_EQ(table->Filter(), "Nr > 3");
        EXPECT_TRUE(table->Filtered());
        EXPECT_EQ(current(*table), "E");
        EXPECT_EQ(table->RecordCount(), 2);

        // Opening with the bad text in force: the table stays closed.
        table->setFiltered(false);
        table->setFilter(c.text);
        table->Close();
        table->setFiltered(true);
        EXPECT_EQ(engineErrorOf([&] { table->Open(); }), c.code);
        EXPECT_FALSE(table->Active());
        table->setFiltered(false);
        table->Open();
    }
    // A filter set while closed works from the opening on.
    table->Close();
    table->setFilter(QStringLiteral("Nr <= 2"));
    table->setFiltered(true);
    table->Open();
    EXPECT_EQ(names(*table), QStringList({"A", "B"}));
}

TEST_P(StorageTest, FilteredViewFollowsManyWritesAndOtherCursors)
{
    // A long run of writes through a filtered cursor and an unfiltered one on the same table; after each write
    // the filtered view must equal the matching records of the whole table, in order, with the cursor on one of
    // them. Every write uses a new number, so keys never collide and edits move keyed records.
    auto filtered = makeTable(QStringLiteral("Many"), GetParam().keyed, {});
    auto plain = cursor(filtered->TableName());
    plain->Open();
    filter(*filtered, QStringLiteral("Nr >= 300 and Name <> 'x'"));
    std::mt19937 random(7);
    for (int step = 0; step < 150; ++step) {
        SCOPED_TRACE(step);
        Table& writer = random() % 3 == 0 ? *plain : *filtered;
        const int nr = (step * 7919) % 1009;
        const QString name = random() % 4 == 0 ? QStringLiteral("x") : QStringLiteral("n%1").arg(step);
        switch (random() % 4) {
        case 0:
            writer.Append();
            setRecord(writer, nr, name);
            writer.Post();
            break;
        case 1:
            writer.Insert();
            setRecord(writer, nr, name);
            writer.Post();
            break;
        case 2:
            if (!writer.IsEmpty()) {
                writer.Edit();
                setRecord(writer, nr, name);
                writer.Post();
            }
            break;
        default:
            if (!writer.IsEmpty())
                writer.Delete();
            break;
        }
        QStringList expected;
        for (plain->First(); !plain->Eof(); plain->Next()) {
            if (plain->FieldByName("Nr")->AsInteger() >= 300 && current(*plain) != "x")
                expected << current(*plain);
        }
        ASSERT_EQ(filtered->RecordCount(), expected.size());
        const int recNo = filtered->RecNo();
        ASSERT_EQ(recNo == 0, expected.isEmpty());
        if (recNo > 0) {
            ASSERT_EQ(expected[recNo - 1], current(*filtered));
        }
        ASSERT_EQ(names(*filtered), expected);
        // Back to a record in the middle, so that the next writes do not all happen at the end.
        filtered->setRecNo(static_cast<int>(random() % 10));
        plain->setRecNo(static_cast<int>(random() % 10));
    }
}
