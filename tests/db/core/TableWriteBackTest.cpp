#include "MemoryStorage.h"
#include "TestTables.h"

#include "db/Field.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

using namespace testdb;
using db::FieldType;
using db::Table;

namespace {

// Fields whose values a storage may store otherwise than written: a text with a letter outside the code page, a
// fraction longer than a dBase number keeps, a number the storage gives.
db::FieldDefList writeBackFields()
{
    return {
        {QStringLiteral("Nr"), FieldType::ftInteger, 0, 0, false},
        {QStringLiteral("Name"), FieldType::ftString, 10, 0, false},
        {QStringLiteral("Betrag"), FieldType::ftFloat, 0, 0, false},
        {QStringLiteral("Zaehler"), FieldType::ftAutoInc, 0, 0, false},
        {QStringLiteral("Datum"), FieldType::ftDate, 0, 0, false},
    };
}

const QString kForeign = QStringLiteral("Grüße ж");
constexpr double kLongFraction = 1.234567;

void set(Table& t, const char* field, const QVariant& value)
{
    t.FieldByName(QLatin1String(field))->setAsVariant(value);
}

void appendFirst(Table& t)
{
    t.Append();
    set(t, "Nr", 1);
    set(t, "Name", kForeign);
    set(t, "Betrag", kLongFraction);
    t.Post();
}

// Every field as the cursor shows it is the value stored, but for the fields named in pending (set in edit state
// and not posted yet).
void expectShowsStored(Table& t, const QStringList& pending = {})
{
    ASSERT_GT(t.RecNo(), 0);
    const db::Record stored = t.recordAt(t.RecNo() - 1);
    ASSERT_EQ(static_cast<int>(stored.size()), t.FieldCount());
    for (int i = 0; i < t.FieldCount(); ++i) {
        db::Field* field = t.Fields(i);
        if (pending.contains(field->FieldName(), Qt::CaseInsensitive))
            continue;
        EXPECT_EQ(field->AsVariant(), stored[static_cast<std::size_t>(i)]) << field->FieldName().toStdString();
    }
}

}  // namespace

TEST_P(StorageTest, FieldsShowWhatTheStorageMadeOfAPost)
{
    struct Case {
        const char* name;
        std::function<void(Table&)> steps;
        QStringList pending;  // fields set in edit state and not posted when the steps end
    };
    const std::vector<Case> cases = {
        {"a new record", [](Table& t) { appendFirst(t); }, {}},
        {"one field per post, as the import run writes",
         [](Table& t) {
             t.Append();
             set(t, "Nr", 1);
             t.Post();
             t.Edit();
             set(t, "Name", kForeign);
             t.Post();
             t.Edit();
             set(t, "Betrag", kLongFraction);
             t.Post();
             t.Edit();
             set(t, "Datum", QDate(2024, 2, 29));
             t.Post();
         },
         {}},
        {"a post without changes", [](Table& t) { appendFirst(t); t.Edit(); t.Post(); }, {}},
        {"unwritten fields while editing after a post",
         [](Table& t) { appendFirst(t); t.Edit(); set(t, "Datum", QDate(2024, 2, 29)); },
         {"Datum"}},
        {"a cancelled edit after a post",
         [](Table& t) { appendFirst(t); t.Edit(); set(t, "Name", "Anders"); t.Cancel(); }, {}},
        {"a second record posted before the first",
         [](Table& t) {
             t.Append();
             set(t, "Nr", 5);
             set(t, "Betrag", 9.87654321);
             t.Post();
             appendFirst(t);
         },
         {}},
        {"a key changed by the post",
         [](Table& t) {
             t.Append();
             set(t, "Nr", 5);
             t.Post();
             appendFirst(t);
             t.Edit();
             set(t, "Nr", 7);
             set(t, "Betrag", kLongFraction);
             t.Post();
         },
         {}},
    };
    int serial = 0;
    for (bool keyed : {false, true}) {
        if (keyed && !GetParam().keyed)
            continue;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keyed ? " (keyed)" : ""));
            auto table = makeTableWith(QStringLiteral("WriteBack%1").arg(++serial), writeBackFields(), keyed ? 1 : 0);
            c.steps(*table);
            expectShowsStored(*table, c.pending);
            if (table->State() != db::dsBrowse)
                table->Post();
            expectShowsStored(*table);
            // A second cursor reads the same values from the storage.
            auto other = cursor(table->TableName());
            other->Open();
            other->setRecNo(table->RecNo());
            for (int i = 0; i < table->FieldCount(); ++i)
                EXPECT_EQ(other->Fields(i)->AsVariant(), table->Fields(i)->AsVariant());
        }
    }
}

TEST_P(StorageTest, PostedButUnreadRecordSurvivesOtherCursorsWrites)
{
    struct Case {
        const char* name;
        std::function<void(Table& a, Table& b)> steps;  // a has just posted its record Nr 1
        int error;                                     // raised by a's Post at the end, 0 for none
        QString storedName;                            // of record Nr 1 at the end
    };
    auto appendTwo = [](Table& b) {
        b.Append();
        set(b, "Nr", 2);
        set(b, "Name", "Zwei");
        b.Post();
    };
    auto renameFirst = [](Table& b) {
        b.First();
        b.Edit();
        set(b, "Name", "Fremd");
        b.Post();
    };
    const std::vector<Case> cases = {
        {"another cursor appends, then this one edits",
         [&](Table& a, Table& b) { appendTwo(b); a.Edit(); set(a, "Name", "Neu"); },
         0, "Neu"},
        {"another cursor appends while this one edits",
         [&](Table& a, Table& b) { a.Edit(); appendTwo(b); set(a, "Name", "Neu"); },
         0, "Neu"},
        {"another cursor changes the record, then this one edits",
         [&](Table& a, Table& b) { renameFirst(b); a.Edit(); set(a, "Datum", QDate(2024, 2, 29)); },
         0, "Fremd"},
        {"another cursor changes the record while this one edits",
         [&](Table& a, Table& b) { a.Edit(); renameFirst(b); set(a, "Name", "Neu"); },
         db::ErrorCode::RecordChanged, "Fremd"},
    };
    int serial = 0;
    for (bool keyed : {false, true}) {
        if (keyed && !GetParam().keyed)
            continue;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keyed ? " (keyed)" : ""));
            auto a = makeTableWith(QStringLiteral("Unread%1").arg(++serial), writeBackFields(), keyed ? 1 : 0);
            auto b = cursor(a->TableName());
            b->Open();
            appendFirst(*a);
            c.steps(*a, *b);
            EXPECT_EQ(engineErrorOf([&] { a->Post(); }), c.error);
            if (c.error == 0)
                expectShowsStored(*a);
            else
                a->Cancel();
            b->First();
            ASSERT_EQ(b->FieldByName("Nr")->AsInteger(), 1);
            EXPECT_EQ(b->FieldByName("Name")->AsString(), c.storedName);
            EXPECT_EQ(b->RecordCount(), a->RecordCount());
        }
    }
}

TEST_P(StorageTest, FlushBuffersMakesPostedRecordsDurable)
{
    struct Case {
        const char* name;
        std::function<void(Table&)> steps;  // on a table with records 1 "A" and 2 "B", the cursor on the second
        QStringList durable;                // Name of the records the files hold afterwards
    };
    const std::vector<Case> cases = {
        {"posted records", [](Table&) {}, {"A", "B"}},
        {"a changed pending record is posted first",
         [](Table& t) { t.Append(); set(t, "Nr", 3); set(t, "Name", "C"); },
         {"A", "B", "C"}},
        {"an unchanged pending record is dropped", [](Table& t) { t.Append(); }, {"A", "B"}},
        {"an edit in progress", [](Table& t) { t.Edit(); set(t, "Name", "Bb"); }, {"A", "Bb"}},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString base = QStringLiteral("Flush%1").arg(++serial);
        auto table = makeTable(base, false, {{1, "A"}, {2, "B"}});
        auto holder = cursor(table->TableName());  // keeps the files open past the flush
        holder->Open();
        table->Last();
        const int flushesBefore = GetParam().name == "Memory" ? memoryFormat().data(table->filePath())->flushes : 0;
        c.steps(*table);
        const int recNo = table->RecNo() < 0 ? table->RecordCount() + 1 : table->RecNo();
        table->FlushBuffers();
        EXPECT_EQ(table->State(), db::dsBrowse);
        EXPECT_TRUE(table->Active());
        EXPECT_EQ(table->RecNo(), std::min(recNo, table->RecordCount()));

        if (GetParam().name == "Memory") {
            // The test double keeps its records in memory: a flush is all it can be asked for.
            EXPECT_GT(memoryFormat().data(table->filePath())->flushes, flushesBefore);
            EXPECT_EQ(names(*holder), c.durable);
            continue;
        }
        // What the files hold now, read from a copy by a cursor of its own.
        const QFileInfo info(table->filePath());
        const QString copies = dir_.filePath(base + QStringLiteral("_Copy"));
        ASSERT_TRUE(QDir().mkpath(copies));
        for (const QFileInfo& file : info.absoluteDir().entryInfoList(QDir::Files)) {
            if (file.completeBaseName().compare(info.completeBaseName(), Qt::CaseInsensitive) == 0) {
                ASSERT_TRUE(QFile::copy(file.absoluteFilePath(), copies + u'/' + file.fileName()));
            }
        }
        auto copy = cursor(copies + u'/' + info.fileName());
        copy->Open();
        EXPECT_EQ(names(*copy), c.durable);
    }
    auto closed = cursor(pathOf(QStringLiteral("Flush1")));
    EXPECT_EQ(engineErrorOf([&] { closed->FlushBuffers(); }), db::ErrorCode::InvalidState);
}

// The import run's way of writing a record, one field per Edit and Post, reads nothing back until a field the
// storage stored is asked for.
TEST(TableWriteBack, EditAndPostReadBackOnlyWhatIsAskedFor)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lazy.MEM"));
    Table table;
    table.setFormat(&memoryFormat());
    table.setTableName(path);
    for (const db::FieldDef& def : writeBackFields())
        table.FieldDefs().Add(def);
    table.FieldDefs().setKeyFieldCount(1);
    table.CreateTable();
    table.Open();
    const auto data = memoryFormat().data(path);

    table.Append();
    set(table, "Nr", 1);
    table.Post();
    for (int i = 0; i < 12; ++i) {
        table.Edit();
        set(table, "Name", QStringLiteral("N%1").arg(i));
        // A field set in this edit is the pending value, not a stored one.
        EXPECT_EQ(table.FieldByName("Name")->AsString(), QStringLiteral("N%1").arg(i));
        table.Post();
    }
    EXPECT_EQ(data->reads, 0);  // the fields not set stay as the storage has them, the auto-increment number too
    EXPECT_EQ(table.FieldByName("Zaehler")->AsInteger(), 1);
    EXPECT_EQ(table.FieldByName("Name")->AsString(), "N11");
    EXPECT_EQ(data->rows.at(0).at(1), QVariant("N11"));
    EXPECT_EQ(data->rows.at(0).at(3), QVariant(1));
}

// A cursor reads a record it moves to only as far as its fields are asked for. Another cursor's write must not
// let it read a different record than the one it is on, nor let its Edit overwrite a record changed meanwhile.
TEST_P(StorageTest, RecordNotReadYetSurvivesOtherCursorsWrites)
{
    struct Case {
        const char* name;
        std::function<void(Table& a, Table& b)> steps;  // a has just moved to Nr 2 "B" of 1 "A", 2 "B", 3 "C"
        int error;                                     // raised by a's Post at the end (after an Edit), 0 for none
        QString shown;                                 // Name a shows at the end
    };
    auto goTo = [](Table& t, int nr) {
        for (t.First(); !t.Eof() && t.FieldByName(QStringLiteral("Nr"))->AsInteger() != nr;)
            t.Next();
    };
    auto rename = [&](Table& b, int nr, const char* name) {
        goTo(b, nr);
        b.Edit();
        b.FieldByName(QStringLiteral("Name"))->setAsString(QLatin1String(name));
        b.Post();
    };
    const std::vector<Case> cases = {
        {"another cursor appends", [](Table&, Table& b) {
             b.Append();
             b.FieldByName(QStringLiteral("Nr"))->setAsInteger(4);
             b.FieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("D"));
             b.Post();
         }, 0, "B"},
        {"another cursor deletes the record before", [&](Table&, Table& b) { goTo(b, 1); b.Delete(); }, 0, "B"},
        {"another cursor changes the record after", [&](Table&, Table& b) { rename(b, 3, "Z"); }, 0, "B"},
        {"another cursor changes the record", [&](Table&, Table& b) { rename(b, 2, "X"); }, 0, "X"},
        {"another cursor changes the record while this one edits",
         [&](Table& a, Table& b) {
             a.Edit();
             rename(b, 2, "X");
             a.FieldByName(QStringLiteral("Nr"))->setAsInteger(2);
         },
         db::ErrorCode::RecordChanged, "X"},
    };
    int serial = 0;
    for (bool keyed : {false, true}) {
        if (keyed && !GetParam().keyed)
            continue;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keyed ? " (keyed)" : ""));
            auto a = makeTable(QStringLiteral("NotRead%1").arg(++serial), keyed, {{1, "A"}, {2, "B"}, {3, "C"}});
            auto b = cursor(a->TableName());
            b->Open();
            a->First();
            a->Next();
            c.steps(*a, *b);
            if (a->State() == db::dsEdit) {
                EXPECT_EQ(engineErrorOf([&] { a->Post(); }), c.error);
                a->Cancel();
            }
            EXPECT_EQ(a->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
            EXPECT_EQ(current(*a), c.shown);
        }
    }
}

// The cursor decodes a record into the memory of the values it held for the record before, where nobody else
// holds them: a value a caller took keeps what it was when the cursor moves on.
TEST_P(StorageTest, ValuesTakenFromTheCursorKeepWhenItMoves)
{
    auto table = makeTable(QStringLiteral("Taken"), false, {{1, "Erster"}, {2, "Zweiter"}, {3, "Dritter"}});
    db::Field* name = table->FieldByName(QStringLiteral("Name"));
    db::Field* nr = table->FieldByName(QStringLiteral("Nr"));
    const QVariant firstName = name->AsVariant();
    const QString firstText = name->AsString();
    const QVariant firstNr = nr->AsVariant();
    table->Next();
    QStringList seen = {name->AsString()};
    table->Next();
    seen << name->AsString();
    EXPECT_EQ(firstName, QVariant(QStringLiteral("Erster")));
    EXPECT_EQ(firstText, QStringLiteral("Erster"));
    EXPECT_EQ(firstNr, QVariant(1));
    EXPECT_EQ(seen, QStringList({QStringLiteral("Zweiter"), QStringLiteral("Dritter")}));
    table->Prior();
    EXPECT_EQ(name->AsString(), QStringLiteral("Zweiter"));
    EXPECT_EQ(nr->AsInteger(), 2);
}

// A new record starts blank while its values stay where the record before left them, to be overwritten in place;
// an edited field is overwritten in place too. Nothing of the record before may show or be stored, and a value a
// caller took keeps what it was.
TEST_P(StorageTest, FieldsOverwrittenInPlaceShowOnlyTheirNewValues)
{
    const QDate day(2024, 2, 29);
    struct Case {
        const char* name;
        bool needsKey;
        std::function<void(Table&, Table& other)> steps;  // start on the posted record {1, "Eins", 2.5, day}
        std::vector<QVariantList> expected;                // Nr, Name, Betrag, Datum of every record, by Nr
    };
    const QVariantList first = {1, "Eins", 2.5, day};
    const std::vector<Case> cases = {
        {"fields of a new record not set are blank",
         false,
         [](Table& t, Table&) {
             t.Append();
             for (int i = 0; i < t.FieldCount(); ++i)
                 EXPECT_TRUE(t.Fields(i)->IsNull()) << t.Fields(i)->FieldName().toStdString();
             set(t, "Nr", 2);
             EXPECT_TRUE(t.FieldByName("Name")->IsNull());
             t.Post();
         },
         {first, {2, QVariant(), QVariant(), QVariant()}}},
        {"a value taken from a new record keeps when the field is set again",
         false,
         [](Table& t, Table&) {
             t.Append();
             set(t, "Nr", 2);
             set(t, "Name", "Zwei");
             const QVariant taken = t.FieldByName("Name")->AsVariant();
             const QVariant takenNr = t.FieldByName("Nr")->AsVariant();
             set(t, "Name", "Drei");
             set(t, "Nr", 3);
             EXPECT_EQ(taken, QVariant("Zwei"));
             EXPECT_EQ(takenNr, QVariant(2));
             t.Post();
         },
         {first, {3, "Drei", QVariant(), QVariant()}}},
        {"a value taken while editing keeps, and a cancel brings the stored one back",
         false,
         [&](Table& t, Table&) {
             t.Edit();
             const QVariant taken = t.FieldByName("Name")->AsVariant();
             set(t, "Name", "Zwei");
             set(t, "Datum", day.addDays(1));
             EXPECT_EQ(taken, QVariant("Eins"));
             EXPECT_EQ(t.FieldByName("Name")->AsString(), "Zwei");
             t.Cancel();
             EXPECT_EQ(t.FieldByName("Name")->AsString(), "Eins");
             EXPECT_EQ(t.FieldByName("Datum")->AsVariant(), QVariant(day));
         },
         {first}},
        {"fields set to their own values while editing",
         false,
         [](Table& t, Table&) {
             t.Edit();
             for (int i = 0; i < t.FieldCount(); ++i)
                 t.Fields(i)->setAsVariant(t.Fields(i)->AsVariant());
             EXPECT_EQ(t.FieldByName("Name")->AsString(), "Eins");
             t.Post();
         },
         {first}},
        {"another cursor writes while a new record waits",
         false,
         [](Table& t, Table& other) {
             t.Append();
             set(t, "Nr", 2);
             other.Append();
             set(other, "Nr", 3);
             set(other, "Name", "Drei");
             other.Post();
             EXPECT_TRUE(t.FieldByName("Name")->IsNull());
             t.Post();
         },
         {first, {2, QVariant(), QVariant(), QVariant()}, {3, "Drei", QVariant(), QVariant()}}},
        {"a refused post keeps the new record blank but for what was set",
         true,
         [](Table& t, Table&) {
             t.Append();
             set(t, "Nr", 1);
             set(t, "Name", "Zwei");
             EXPECT_THROW(t.Post(), db::EngineError);
             EXPECT_TRUE(t.FieldByName("Betrag")->IsNull());
             set(t, "Nr", 2);
             t.Post();
         },
         {first, {2, "Zwei", QVariant(), QVariant()}}},
        {"new records after the one before was read, or right after it",
         false,
         [&](Table& t, Table&) {
             EXPECT_EQ(t.FieldByName("Name")->AsString(), "Eins");
             t.Append();
             for (int i = 0; i < t.FieldCount(); ++i)
                 EXPECT_TRUE(t.Fields(i)->IsNull()) << t.Fields(i)->FieldName().toStdString();
             set(t, "Nr", 2);
             set(t, "Datum", day);
             t.Post();
             t.Append();
             set(t, "Nr", 3);
             set(t, "Name", "Drei");
             EXPECT_EQ(t.FieldByName("Name")->AsString(), "Drei");
             EXPECT_TRUE(t.FieldByName("Datum")->IsNull());
             t.Post();
         },
         {first, {2, QVariant(), QVariant(), day}, {3, "Drei", QVariant(), QVariant()}}},
        {"the key posted first, each further field set and posted while editing, as an import does",
         false,
         [&](Table& t, Table& other) {
             const QStringList names = {QStringLiteral("Zwei"), QStringLiteral("Drei drei"), QStringLiteral("Vier"),
                                        QStringLiteral("Fünf und")};
             QString taken;
             for (int n = 2; n <= 5; ++n) {
                 t.Append();
                 set(t, "Nr", n);
                 t.Post();
                 EXPECT_TRUE(t.FieldByName("Name")->IsNull());
                 for (const auto& [field, value] :
                      {std::pair<const char*, QVariant>{"Name", names[n - 2]}, {"Betrag", n * 1.5}}) {
                     t.Edit();
                     set(t, field, value);
                     t.Post();
                     EXPECT_EQ(t.FieldByName(QLatin1String(field))->AsVariant(), value);
                     other.Last();
                     EXPECT_EQ(other.FieldByName(QLatin1String(field))->AsVariant(), value);
                 }
                 if (n == 3)
                     taken = t.FieldByName("Name")->AsString();
             }
             EXPECT_EQ(taken, names[1]);
         },
         {first,
          {2, "Zwei", 3.0, QVariant()},
          {3, "Drei drei", 4.5, QVariant()},
          {4, "Vier", 6.0, QVariant()},
          {5, "Fünf und", 7.5, QVariant()}}},
        {"a new record after one cancelled",
         false,
         [](Table& t, Table&) {
             t.Append();
             set(t, "Nr", 2);
             set(t, "Name", "Zwei");
             t.Cancel();
             t.Append();
             EXPECT_TRUE(t.FieldByName("Name")->IsNull());
             set(t, "Nr", 3);
             t.Post();
         },
         {first, {3, QVariant(), QVariant(), QVariant()}}},
    };
    const db::FieldDefList fields = {
        {QStringLiteral("Nr"), FieldType::ftInteger, 0, 0, false},
        {QStringLiteral("Name"), FieldType::ftString, 10, 0, false},
        {QStringLiteral("Betrag"), FieldType::ftFloat, 0, 0, false},
        {QStringLiteral("Datum"), FieldType::ftDate, 0, 0, false},
    };
    int serial = 0;
    for (const Case& c : cases) {
        if (c.needsKey && !GetParam().keyed)
            continue;
        SCOPED_TRACE(c.name);
        auto table = makeTableWith(QStringLiteral("InPlace%1").arg(++serial), fields, c.needsKey ? 1 : 0);
        table->Append();
        for (int i = 0; i < table->FieldCount(); ++i)
            table->Fields(i)->setAsVariant(first[i]);
        table->Post();
        auto other = cursor(table->TableName());
        other->Open();
        c.steps(*table, *other);
        other->Close();
        table->Close();
        table->Open();
        std::vector<QVariantList> stored;
        for (table->First(); !table->Eof(); table->Next()) {
            QVariantList record;
            for (int i = 0; i < table->FieldCount(); ++i)
                record << table->Fields(i)->AsVariant();
            stored.push_back(record);
        }
        std::sort(stored.begin(), stored.end(),
                  [](const QVariantList& a, const QVariantList& b) { return a[0].toInt() < b[0].toInt(); });
        EXPECT_EQ(stored, c.expected);
    }
}

// A post of some fields leaves every other field as stored: plain fields beside a memo, in a record still waiting
// to be written and in one read from the files.
TEST_P(StorageTest, PostOfSomeFieldsKeepsTheOthers)
{
    const db::FieldDefList fields = {
        {QStringLiteral("Nr"), FieldType::ftInteger, 0, 0, false},
        {QStringLiteral("Name"), FieldType::ftString, 10, 0, false},
        {QStringLiteral("Notiz"), FieldType::ftMemo, 10, 0, false},
        {QStringLiteral("Betrag"), FieldType::ftFloat, 0, 0, false},
    };
    const QString longNote = QStringLiteral("Ein Memo, das länger ist als sein Platz im Satz.");
    struct Case {
        const char* name;
        bool reopen;  // the record comes from the files, not from what waits to be written
        std::vector<std::pair<const char*, QVariant>> changes;
        QVariantList expected;  // Nr, Name, Notiz, Betrag afterwards
    };
    const std::vector<Case> cases = {
        {"a plain field", false, {{"Name", "Zwei"}}, {1, "Zwei", longNote, 2.5}},
        {"a plain field of a record from the files", true, {{"Betrag", 7.25}}, {1, "Eins", longNote, 7.25}},
        {"the memo", false, {{"Notiz", "Kurz"}}, {1, "Eins", "Kurz", 2.5}},
        {"the memo of a record from the files", true, {{"Notiz", "Kurz"}}, {1, "Eins", "Kurz", 2.5}},
        {"a plain field and the memo", true, {{"Name", "Zwei"}, {"Notiz", QVariant()}}, {1, "Zwei", QVariant(), 2.5}},
        {"a field set to what it holds", true, {{"Name", "Eins"}}, {1, "Eins", longNote, 2.5}},
        {"a field cleared", false, {{"Betrag", QVariant()}}, {1, "Eins", longNote, QVariant()}},
    };
    int serial = 0;
    for (bool keyed : {false, true}) {
        if (keyed && !GetParam().keyed)
            continue;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (keyed ? " (keyed)" : ""));
            auto table = makeTableWith(QStringLiteral("Some%1").arg(++serial), fields, keyed ? 1 : 0);
            table->Append();
            set(*table, "Nr", 1);
            set(*table, "Name", "Eins");
            set(*table, "Notiz", longNote);
            set(*table, "Betrag", 2.5);
            table->Post();
            if (c.reopen) {
                table->Close();
                table->Open();
            }
            table->Edit();
            for (const auto& [field, value] : c.changes)
                set(*table, field, value);
            table->Post();
            table->Close();
            table->Open();
            ASSERT_EQ(table->RecordCount(), 1);
            for (int i = 0; i < table->FieldCount(); ++i) {
                EXPECT_EQ(table->Fields(i)->AsVariant(), c.expected[i]) << table->Fields(i)->FieldName().toStdString();
            }
        }
    }
}

// The import run's way of writing, one field per post, over more records than a table keeps waiting in memory: every
// record reaches the files whole, wherever the writing to the files fell between its posts.
TEST_P(StorageTest, RecordsPostedFieldByFieldPastWhatWaitsInMemory)
{
    const db::FieldDefList fields = {
        {QStringLiteral("Nr"), FieldType::ftInteger, 0, 0, false},
        {QStringLiteral("Name"), FieldType::ftString, 200, 0, false},
        {QStringLiteral("Betrag"), FieldType::ftFloat, 0, 0, false},
    };
    if (GetParam().name == "Memory")
        GTEST_SKIP() << "the test double keeps every record in memory";
    constexpr int Records = 6000;  // about 1.2 MB of records
    const auto nameOf = [](int nr) { return QStringLiteral("Name %1 ").arg(nr).leftJustified(190, u'x'); };
    auto table = makeTableWith(QStringLiteral("Many"), fields, GetParam().keyed ? 1 : 0);
    for (int nr = 1; nr <= Records; ++nr) {
        table->Append();
        set(*table, "Nr", nr);
        table->Post();
        table->Edit();
        set(*table, "Name", nameOf(nr));
        table->Post();
        table->Edit();
        set(*table, "Betrag", nr / 4.0);
        table->Post();
    }
    table->Close();
    table->Open();
    ASSERT_EQ(table->RecordCount(), Records);
    int nr = 0;
    for (table->First(); !table->Eof(); table->Next()) {
        ++nr;
        ASSERT_EQ(table->FieldByName("Nr")->AsInteger(), nr);
        ASSERT_EQ(table->FieldByName("Name")->AsString(), nameOf(nr));
        ASSERT_EQ(table->FieldByName("Betrag")->AsFloat(), nr / 4.0);
    }
    EXPECT_EQ(nr, Records);
}
