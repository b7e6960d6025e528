#pragma once

#include "support/TestSupport.h"
#include "StorageKinds.h"

#include "db/EngineError.h"
#include "db/Table.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>


namespace testdb {

// A fresh table per test of the kind under test: fields Nr (integer) and Name (text of 20), keyed on Nr or not.
class StorageTest : public testing::TestWithParam<StorageKind> {
protected:
    QString pathOf(const QString& base) const { return dir_.filePath(base + GetParam().extension); }

    std::unique_ptr<db::Table> cursor(const QString& path) const
    {
        auto table = std::make_unique<db::Table>();
        GetParam().configure(*table);
        table->setTableName(path);
        return table;
    }

    // Creates the table with the given rows and returns it open (shared).
    std::unique_ptr<db::Table> makeTable(const QString& base, bool keyed,
                                         const std::vector<std::pair<int, QString>>& rows,
                                         bool nameRequired = false)
    {
        auto table = cursor(pathOf(base));
        table->FieldDefs().Clear();
        table->FieldDefs().Add(QStringLiteral("Nr"), db::FieldType::ftInteger);
        table->FieldDefs().Add(QStringLiteral("Name"), db::FieldType::ftString, 20, nameRequired);
        table->FieldDefs().setKeyFieldCount(keyed ? 1 : 0);
        table->CreateTable();
        table->Open();
        for (const auto& [nr, name] : rows) {
            table->Append();
            table->FieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
            table->FieldByName(QStringLiteral("Name"))->setAsString(name);
            table->Post();
        }
        table->First();
        return table;
    }

    // Creates a table of the given fields (keyed on the first keyFieldCount) and returns it open (shared).
    std::unique_ptr<db::Table> makeTableWith(const QString& base, const db::FieldDefList& fields,
                                             int keyFieldCount = 0)
    {
        auto table = cursor(pathOf(base));
        table->FieldDefs().Clear();
        for (const db::FieldDef& def : fields)
            table->FieldDefs().Add(def);
        table->FieldDefs().setKeyFieldCount(keyFieldCount);
        table->CreateTable();
        table->Open();
        return table;
    }

    // The Name column from first to last record; leaves the cursor at the end.
    static QStringList names(db::Table& table)
    {
        QStringList result;
        for (table.First(); !table.Eof(); table.Next())
            result << table.FieldByName(QStringLiteral("Name"))->AsString();
        return result;
    }

    static QString current(db::Table& table) { return table.FieldByName(QStringLiteral("Name"))->AsString(); }

    QTemporaryDir dir_;
};

// Runs f and returns the code of the EngineError it raised, or 0.
inline int engineErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const db::EngineError& e) {
        return e.code();
    }
    return 0;
}

}  // namespace testdb
