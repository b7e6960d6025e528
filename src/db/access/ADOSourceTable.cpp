#include "db/access/ADOSourceTable.h"

#include "db/EngineError.h"

#include <QHash>

namespace db::access {

namespace {

void requireClosed(const db::Table& table, const char* what)
{
    if (table.Active()) {
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("%1 kann bei geöffneter Tabelle nicht geändert werden.").arg(QLatin1String(what)));
    }
}

[[noreturn]] void refuseWrite()
{
    throw EngineError(ErrorCode::ReadOnlyTable,
                      QStringLiteral("Tabellen einer Access-Datenbank können hier nur gelesen werden."));
}

}  // namespace

ADOSourceTable::ADOSourceTable(QObject* parent) : db::Table(parent)
{
    db::Table::setFormat(&format_);
}

void ADOSourceTable::setConnection(AccessConnection* connection)
{
    requireClosed(*this, "Connection");
    format_.connection = connection;
    updateRegistryName();
}

void ADOSourceTable::setTableName(const QString& name)
{
    requireClosed(*this, "TableName");
    accessTableName_ = name;
    format_.tableName = name;
    updateRegistryName();
}

void ADOSourceTable::updateRegistryName()
{
    // A name no file can have: the connection string stands for the database, whether it is connected yet or not.
    const QString database = format_.connection ? format_.connection->connectionString() : QString();
    const QString key = QStringLiteral("/:access:%1/#%2")
                            .arg(QString::fromLatin1(QByteArray::number(qHash(database), 16)), accessTableName_);
    db::Table::setTableName(accessTableName_.isEmpty() ? QString() : key);
}

TableStoragePtr ADOSourceTable::Format::open(const QString&, OpenMode) const
{
    if (!connection || !connection->isConnected()) {
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Verbindung zur Access-Datenbank ist nicht hergestellt."));
    }
    return openAccessTable(*connection, tableName);
}

void ADOSourceTable::Format::create(const QString&, const FieldDefList&, int) const
{
    refuseWrite();
}

void ADOSourceTable::Format::remove(const QString&) const
{
    refuseWrite();
}

}  // namespace db::access
