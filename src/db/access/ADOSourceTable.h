#pragma once

#include "db/Table.h"
#include "db/TableFormat.h"
#include "db/access/AccessConnection.h"

namespace db::access {

// A read-only cursor over one table of an Access database, for the grids that show an Access source's contents.
// It behaves like any db::Table (navigation, fields, filters, data sources); every write is refused.
//
// Inside the process-wide registry of open tables it is known by the database file's path followed by the table
// name, so two cursors over the same Access table share its records, and no file name can collide with it.
class ADOSourceTable : public db::Table {
    Q_OBJECT
public:
    explicit ADOSourceTable(QObject* parent = nullptr);

    // The connection the table is read through; it must be connected when the table opens.
    void setConnection(AccessConnection* connection);
    AccessConnection* Connection() const { return format_.connection; }

    // The Access table's own name (blanks allowed).
    void setTableName(const QString& name);
    QString TableName() const { return accessTableName_; }

private:
    class Format : public TableFormat {
    public:
        QString defaultExtension() const override { return QString(); }
        TableStoragePtr open(const QString& path, OpenMode mode) const override;
        void create(const QString& path, const FieldDefList& fields, int keyFieldCount) const override;
        void remove(const QString& path) const override;

        AccessConnection* connection = nullptr;
        QString tableName;
    };

    void updateRegistryName();

    Format format_;
    QString accessTableName_;
};

}  // namespace db::access
