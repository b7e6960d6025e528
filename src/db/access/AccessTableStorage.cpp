#include "db/EngineError.h"
#include "db/access/AccessConnection.h"
#include "db/access/AccessFile.h"

#include <QFileInfo>

namespace db::access {

namespace {

// All records of one Access table, read once when the table is opened; the database itself is never written.
class AccessTableStorage final : public TableStorage {
public:
    AccessTableStorage(QString databasePath, QString tableName)
        : databasePath_(std::move(databasePath)), tableName_(std::move(tableName))
    {
        readAccessTable(
            databasePath_, tableName_,
            [this](const std::vector<AccessColumn>& columns) {
                for (const AccessColumn& c : columns)
                    fields_.push_back(fieldFor(c));
            },
            [this](Record&& record) { records_.push_back(std::move(record)); });
    }

    QString path() const override { return databasePath_; }
    const FieldDefList& fields() const override { return fields_; }
    int keyFieldCount() const override { return 0; }

    QString readOnlyReason() const override
    {
        return QStringLiteral("Die Tabelle \"%1\" der Access-Datenbank \"%2\" kann nur gelesen werden.")
            .arg(tableName_, QFileInfo(databasePath_).fileName());
    }

    int recordCount() const override { return int(records_.size()); }

    Record read(int row) const override
    {
        if (row < 0 || row >= int(records_.size()))
            throw EngineError(ErrorCode::InvalidState,
                              QStringLiteral("Den Datensatz %1 gibt es in der Tabelle \"%2\" nicht.")
                                  .arg(row + 1)
                                  .arg(tableName_));
        return records_[std::size_t(row)];
    }

    int insert(const Record&, int) override { refuse(); }
    int update(int, const Record&) override { refuse(); }
    void remove(int) override { refuse(); }
    void empty() override { refuse(); }
    int findKey(const Record&) const override { return -1; }
    void flush() override {}

private:
    [[noreturn]] void refuse() const { throw EngineError(ErrorCode::ReadOnlyTable, readOnlyReason()); }

    QString databasePath_;
    QString tableName_;
    FieldDefList fields_;
    std::vector<Record> records_;
};

}  // namespace

TableStoragePtr openAccessTable(const AccessConnection& connection, const QString& tableName)
{
    if (!connection.isConnected())
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Verbindung zur Access-Datenbank ist nicht geöffnet."));
    return std::make_shared<AccessTableStorage>(connection.databasePath(), tableName);
}

}  // namespace db::access
