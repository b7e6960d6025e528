// A filter over a dBase table decodes only the fields its conditions name: memos it names are read from the memo
// file or from the changes waiting for a flush, and fields it does not name never decide.

#include "db/Field.h"
#include "db/Table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* name;
    const char* filter;
    int shown;
};

TEST(DbaseFilter, NamedFieldsDecideFlushedAndWaitingRecordsAlike)
{
    QTemporaryDir dir;
    db::Table table;
    table.setTableType(db::ttDBase);
    table.setTableName(dir.filePath(QStringLiteral("kunden.dbf")));
    table.FieldDefs().Add(QStringLiteral("NAME"), db::FieldType::ftString, 20);
    table.FieldDefs().Add(QStringLiteral("NOTIZ"), db::FieldType::ftMemo);
    table.FieldDefs().Add(QStringLiteral("NR"), db::FieldType::ftInteger);
    table.CreateTable();
    table.Open();
    // Records 0-3 reach the files, 4-7 wait for the flush: the same four records twice.
    const char* notes[] = {"Rückruf", "", "Rückruf erbeten", "Rückruf"};
    for (int nr = 0; nr < 8; ++nr) {
        if (nr == 4)
            table.FlushBuffers();
        table.Append();
        table.Fields(0)->setAsString(nr % 2 ? QStringLiteral("Meier") : QStringLiteral("Müller"));
        table.Fields(1)->setAsString(QString::fromUtf8(notes[nr % 4]));
        table.Fields(2)->setAsInteger(nr);
        table.Post();
    }
    const FilterCase cases[] = {
        {"memo alone", "NOTIZ = 'Rückruf'", 4},
        {"memo beginning", "NOTIZ = 'Rückruf*'", 6},
        {"empty memo", "NOTIZ IS NULL", 2},
        {"memo and a plain field", "NOTIZ = 'Rückruf' AND NR > 2", 3},
        {"plain fields only", "NAME = 'Meier' AND NR < 6", 3},
        {"two fields compared", "NR > NR", 0},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.name);
        table.setFilter(QString::fromUtf8(c.filter));
        table.setFiltered(true);
        EXPECT_EQ(table.RecordCount(), c.shown);
        // The cursor reads the shown records whole, including the fields the filter left undecoded.
        for (table.First(); !table.Eof(); table.Next())
            EXPECT_FALSE(table.Fields(0)->AsString().isEmpty());
        table.setFiltered(false);
    }
    table.Close();
}

}  // namespace
