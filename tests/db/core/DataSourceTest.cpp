#include "TestTables.h"

#include "db/DataSource.h"
#include "db/Field.h"

#include <QSignalSpy>

using namespace testdb;
using db::DataSource;
using db::Table;

namespace {

const std::vector<std::pair<int, QString>> kAbc = {{1, "A"}, {2, "B"}, {3, "C"}};

void setName(Table& t, const QString& name)
{
    t.FieldByName(QStringLiteral("Name"))->setAsString(name);
}

// What the controls of a data source were told.
struct Heard {
    int state = 0;
    int record = 0;  // dataChanged(nullptr)
    int field = 0;   // dataChanged(a field)
    int scrolled = 0;

    bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& h, std::ostream* os)
{
    *os << "{state " << h.state << ", record " << h.record << ", field " << h.field << ", scrolled " << h.scrolled
        << "}";
}

class Listener {
public:
    explicit Listener(DataSource& source)
    {
        QObject::connect(&source, &DataSource::stateChanged, &context_, [this] { ++heard.state; });
        QObject::connect(&source, &DataSource::dataChanged, &context_,
                         [this](db::Field* f) { ++(f ? heard.field : heard.record); });
        QObject::connect(&source, &DataSource::scrolled, &context_, [this] { ++heard.scrolled; });
    }
    Heard heard;

private:
    QObject context_;
};

}  // namespace

TEST_P(StorageTest, DataSourceTellsItsControls)
{
    struct Case {
        const char* name;
        std::function<void(Table&, DataSource&)> steps;
        Heard heard;
    };
    const std::vector<Case> cases = {
        {"moving", [](Table& t, DataSource&) { t.Next(); t.Last(); }, {0, 2, 0, 2}},
        {"moving past the end scrolls without a new record", [](Table& t, DataSource&) { t.Last(); t.Next(); },
         {0, 1, 0, 2}},
        {"editing a field", [](Table& t, DataSource&) { t.Edit(); setName(t, "Z"); }, {1, 0, 1, 0}},
        {"posting", [](Table& t, DataSource&) { t.Edit(); setName(t, "Z"); t.Post(); }, {2, 1, 1, 0}},
        {"appending and cancelling", [](Table& t, DataSource&) { t.Append(); t.Cancel(); }, {2, 2, 0, 2}},
        {"closing and opening", [](Table& t, DataSource&) { t.Close(); t.Open(); }, {2, 1, 0, 1}},
        {"disabled controls hear one refresh afterwards",
         [](Table& t, DataSource&) {
             t.DisableControls();
             for (t.First(); !t.Eof(); t.Next()) {
                 t.Edit();
                 setName(t, "Z");
                 t.Post();
             }
             t.EnableControls();
         },
         {0, 1, 0, 0}},
        {"a state that differs after enabling is told once",
         [](Table& t, DataSource&) {
             t.DisableControls();
             t.Next();
             t.Append();
             t.EnableControls();
         },
         {1, 1, 0, 0}},
        {"a switched-off data source is silent; switching is told",
         [](Table& t, DataSource& s) {
             s.setEnabled(false);
             t.Next();
             t.Edit();
             setName(t, "Z");
             t.Post();
             s.setEnabled(true);
         },
         {2, 2, 0, 0}},
        {"another data set is told, the old one no longer heard",
         [](Table& t, DataSource& s) {
             auto other = std::make_unique<Table>();
             s.setDataSet(other.get());
             t.Next();
             s.setDataSet(&t);
         },
         {2, 2, 0, 0}},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = makeTable(QStringLiteral("S%1").arg(++serial), false, kAbc);
        DataSource source;
        source.setDataSet(table.get());
        Listener listener(source);
        c.steps(*table, source);
        EXPECT_EQ(listener.heard, c.heard);
    }
}

TEST_P(StorageTest, DataSourceStateFollowsTableSwitchAndLifetime)
{
    auto table = makeTable(QStringLiteral("State"), false, kAbc);
    DataSource source;
    EXPECT_EQ(source.State(), db::dsInactive);
    source.setDataSet(table.get());
    EXPECT_EQ(source.DataSet(), table.get());
    EXPECT_EQ(source.State(), db::dsBrowse);
    table->Edit();
    EXPECT_EQ(source.State(), db::dsEdit);
    source.setEnabled(false);
    EXPECT_EQ(source.State(), db::dsInactive);
    source.setEnabled(true);
    table->Cancel();
    table->Close();
    EXPECT_EQ(source.State(), db::dsInactive);
    table->Open();

    // A table that goes away leaves the data source without one, and the controls are told.
    Listener listener(source);
    table.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(source.State(), db::dsInactive);
    EXPECT_EQ(listener.heard.state, 2);  // closed, then gone
    EXPECT_EQ(listener.heard.record, 1);
}
