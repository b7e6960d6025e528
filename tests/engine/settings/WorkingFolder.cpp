#include "WorkingFolder.h"

#include "db/Field.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/WorkingTables.h"

void WorkingFolder::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    db::paradox::create(path(engine::ZStruktFileName), engine::ZStruktFields(), 0);
    db::paradox::create(path(engine::QStruktFileName), engine::QStruktFields(), 0);
    db::paradox::create(path(engine::ImpListFileName), engine::ImpListFields(), engine::ImpListKeyFieldCount);
    tblZStrukt = table(engine::ZStruktFileName);
    tblQStrukt = table(engine::QStruktFileName);
    tblImpList = table(engine::ImpListFileName);
}

void WorkingFolder::TearDown()
{
    tblZStrukt.reset();
    tblQStrukt.reset();
    tblImpList.reset();
}

std::unique_ptr<db::Table> WorkingFolder::table(const QString& name) const
{
    auto t = std::make_unique<db::Table>();
    t->setTableName(path(name));
    return t;
}

db::FieldDef def(const char* name, db::FieldType type, int size)
{
    return {QString::fromUtf8(name), type, size, 0, false};
}

QStringList columnTexts(db::Table& table, const QString& column)
{
    QStringList result;
    table.Open();
    for (table.First(); !table.Eof(); table.Next())
        result << table.FieldByName(column)->AsString();
    return result;
}
