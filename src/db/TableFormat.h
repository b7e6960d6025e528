#pragma once

#include "db/TableStorage.h"

#include <QString>
#include <limits>

namespace db {

// The kind of files a table lives in: how to open, create and delete one table's file set. A Table picks the
// format from its table type; a format of another kind can be handed to it directly (Table::setFormat).
class TableFormat {
public:
    virtual ~TableFormat() = default;

    // Extension a table name without one gets, with the dot (".DB").
    virtual QString defaultExtension() const = 0;
    virtual TableStoragePtr open(const QString& path, OpenMode mode) const = 0;
    // Replaces an existing table of that name; refuses (0x2803) when another program holds it.
    virtual void create(const QString& path, const FieldDefList& fields, int keyFieldCount) const = 0;
    // The most records a table that create() makes from these fields can ever hold.
    virtual qint64 capacity(const FieldDefList& fields, int keyFieldCount) const
    {
        (void)fields;
        (void)keyFieldCount;
        return std::numeric_limits<int>::max();
    }
    // Deletes the table with every companion file; refuses (0x2803) when another program holds it.
    virtual void remove(const QString& path) const = 0;
};

const TableFormat& paradoxFormat();
const TableFormat& dbaseFormat();

}  // namespace db
