#pragma once

#include "db/TableStorage.h"
#include "db/access/RecordSet.h"

#include <QString>

namespace db::access {

// A connection to one Access database (.mdb, Access 97 to 2003), reached through a connection string of the form
// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<file>;Persist Security Info=False". The database is only ever
// read; it is not locked, so Access may have it open at the same time.
class AccessConnection {
public:
    AccessConnection() = default;

    // Takes effect at the next connect(); raises EngineError InvalidState while connected.
    void setConnectionString(const QString& connectionString);
    const QString& connectionString() const { return connectionString_; }

    // Checks the connection string and the database (an Access file of a readable version, not damaged, without a
    // database password); raises EngineError with a German message otherwise and stays disconnected. Connecting
    // while connected does nothing.
    void connect();
    void disconnect();
    bool isConnected() const { return connected_; }

    // The database file named by the connection string (valid once connected).
    const QString& databasePath() const { return databasePath_; }

    // The tables schema: one row per table and view of the database with TABLE_NAME and TABLE_TYPE, in the order
    // of the database's catalog. TABLE_TYPE is "TABLE" for a table of the user, "SYSTEM TABLE" for a table of the
    // database engine, "ACCESS TABLE" for a hidden table of the Access user interface, "VIEW" for a select query,
    // "LINK" for a table linked from another Access file and "PASS-THROUGH" for a table linked through ODBC.
    // Raises EngineError InvalidState when not connected.
    RecordSet openTablesSchema() const;

    // Runs one statement and returns the number of rows it affected. The only statement understood is the copy
    // of a table into a new Paradox table:
    //     SELECT * INTO [<name>.db] IN "<folder>" "Paradox 5.x;" FROM <table>
    // where <table> is the rest of the statement (blanks allowed, brackets optional). The target table must not
    // exist yet; it gets one field per column (see fieldFor). Everything else raises EngineError NotSupported.
    int execute(const QString& statement);

private:
    void requireConnected() const;

    QString connectionString_;
    QString databasePath_;
    bool connected_ = false;
};

// Paradox field names for Access column names: at most 25 characters, without the characters Paradox refuses,
// and unique without regard to case.
QStringList paradoxFieldNames(const QStringList& accessNames);

// A read-only storage over one table of the connection's database, holding all its records, for grids and
// cursors (db::Table) that show an Access table. Every write raises EngineError ReadOnlyTable. Raises as
// readAccessTable does.
TableStoragePtr openAccessTable(const AccessConnection& connection, const QString& tableName);

}  // namespace db::access
