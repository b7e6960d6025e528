#include "WorkingFolder.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/DBCheck.h"

#include <QTemporaryDir>
#include <cmath>
#include <optional>

using db::FieldType;

namespace {

// A keyless source with a text column and a number column; nullopt is a blank field.
struct SourceRow {
    std::optional<QString> text;
    std::optional<double> number;
};

void fill(db::Table& table, const std::vector<SourceRow>& rows)
{
    table.Open();
    for (const SourceRow& r : rows) {
        table.Append();
        if (r.text)
            table.FieldByName("Text")->setAsString(*r.text);
        if (r.number)
            table.FieldByName("Zahl")->setAsFloat(*r.number);
        table.Post();
    }
    table.Close();
}

}  // namespace

TEST(SchluesselfeldPruefen, EveryValuePresentAndNoneTwice)
{
    struct Case {
        const char* name;
        std::vector<SourceRow> rows;
        const char* column;
        bool usable;
        int stopsAt;  // RecNo where the walk ended; 0: past the last record
    } const cases[] = {
        {"empty table", {}, "Text", true, 0},
        {"all different", {{"A", 1}, {"B", 2}, {"C", 3}}, "Text", true, 0},
        {"first record empty", {{std::nullopt, 1}, {"B", 2}}, "Text", false, 1},
        {"A B A", {{"A", 1}, {"B", 2}, {"A", 3}}, "Text", false, 3},
        {"A B B", {{"A", 1}, {"B", 2}, {"B", 3}}, "Text", false, 3},
        {"case makes a difference", {{"a", 1}, {"A", 2}}, "Text", true, 0},
        {"numbers all different", {{"A", 1}, {"B", 2}, {"C", 3}}, "Zahl", true, 0},
        {"numeric null", {{"A", 1}, {"B", std::nullopt}, {"C", 3}}, "Zahl", false, 2},
        {"zero is a value", {{"A", 0}, {"B", 1}}, "Zahl", true, 0},
        {"numbers repeated", {{"A", 1.5}, {"B", 2}, {"C", 1.5}}, "Zahl", false, 3},
        {"numbers that print alike",
         {{"A", 0.1}, {"B", std::nextafter(0.1, 1.0)}, {"C", 0.30000000000000004}, {"D", 0.3}},
         "Zahl",
         true,
         0},
        {"field name in another case", {{"A", 1}, {"A", 2}}, "text", false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString file = dir.filePath("Quelle.DB");
        db::paradox::create(file, {def("Text", FieldType::ftString, 10), def("Zahl", FieldType::ftFloat)}, 0);
        db::Table tblQuelle;
        tblQuelle.setTableName(file);
        fill(tblQuelle, c.rows);

        // A grid on the table: it must follow the table again once the check is over.
        db::DataSource grid;
        grid.setDataSet(&tblQuelle);
        int refreshes = 0;
        QObject::connect(&grid, &db::DataSource::dataChanged, [&](db::Field*) { ++refreshes; });

        EXPECT_EQ(engine::SchluesselfeldPruefen(tblQuelle, QString::fromUtf8(c.column)), c.usable);
        EXPECT_TRUE(tblQuelle.Active());
        if (c.stopsAt == 0) {
            EXPECT_TRUE(tblQuelle.Eof());
        } else {
            EXPECT_EQ(tblQuelle.RecNo(), c.stopsAt);
        }
        EXPECT_FALSE(tblQuelle.ControlsDisabled());
        refreshes = 0;
        tblQuelle.First();
        EXPECT_GT(refreshes, 0);
    }
}

TEST(SchluesselfeldPruefen, AnUnknownFieldRaisesAndLeavesTheControlsFollowing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Quelle.DB");
    db::paradox::create(file, {def("Text", FieldType::ftString, 10), def("Zahl", FieldType::ftFloat)}, 0);
    db::Table tblQuelle;
    tblQuelle.setTableName(file);
    fill(tblQuelle, {{"A", 1}});
    try {
        engine::SchluesselfeldPruefen(tblQuelle, "Fehlt");
        ADD_FAILURE() << "no error";
    } catch (const db::EngineError& e) {
        EXPECT_EQ(e.code(), db::ErrorCode::FieldNotFound);
    }
    EXPECT_FALSE(tblQuelle.ControlsDisabled());
}
