#include "MemoryStorage.h"

#include "db/EngineError.h"

#include <QDateTime>

namespace testdb {

int compareValues(const QVariant& a, const QVariant& b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() - b.isValid();
    switch (a.typeId()) {
    case QMetaType::QString:
        return a.toString().compare(b.toString());
    case QMetaType::QDate:
        return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    case QMetaType::QTime:
        return a.toTime() < b.toTime() ? -1 : (b.toTime() < a.toTime() ? 1 : 0);
    case QMetaType::QDateTime:
        return a.toDateTime() < b.toDateTime() ? -1 : (b.toDateTime() < a.toDateTime() ? 1 : 0);
    case QMetaType::QByteArray:
        return a.toByteArray().compare(b.toByteArray());
    default: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

MemoryStorage::MemoryStorage(QString path, std::shared_ptr<MemoryTableData> data)
    : path_(std::move(path)), data_(std::move(data))
{
}

void MemoryStorage::checkRow(int row) const
{
    if (row < 0 || row >= recordCount())
        throw db::EngineError(db::ErrorCode::InvalidState, QStringLiteral("row %1 out of range").arg(row));
}

db::Record MemoryStorage::read(int row) const
{
    checkRow(row);
    ++data_->reads;
    return data_->rows[static_cast<std::size_t>(row)];
}

db::Record MemoryStorage::numbered(const db::Record& record)
{
    db::Record result = record;
    result.resize(data_->fields.size());
    for (std::size_t i = 0; i < data_->fields.size(); ++i) {
        if (data_->fields[i].type == db::FieldType::ftAutoInc && !result[i].isValid())
            result[i] = ++data_->lastAutoInc;
    }
    return result;
}

// Position a record takes in key order; raises a key violation when another row (not ignoreRow) has its key.
int MemoryStorage::keyedPosition(const db::Record& record, int ignoreRow) const
{
    const int keys = data_->keyFieldCount;
    int position = 0;
    for (int row = 0; row < recordCount(); ++row) {
        if (row == ignoreRow)
            continue;
        const db::Record& other = data_->rows[static_cast<std::size_t>(row)];
        int order = 0;
        for (int k = 0; k < keys && order == 0; ++k)
            order = compareValues(other[static_cast<std::size_t>(k)], record[static_cast<std::size_t>(k)]);
        if (order == 0)
            throw db::EngineError(db::ErrorCode::KeyViolation, QStringLiteral("Schlüsselverletzung."));
        if (order < 0)
            position = row + 1 - (ignoreRow >= 0 && ignoreRow < row ? 1 : 0);
    }
    return position;
}

int MemoryStorage::insert(const db::Record& record, int beforeRow)
{
    if (!data_->readOnlyReason.isEmpty())
        throw db::EngineError(db::ErrorCode::ReadOnlyTable, data_->readOnlyReason);
    const db::Record values = numbered(record);
    int position;
    if (data_->keyFieldCount > 0)
        position = keyedPosition(values, -1);
    else
        position = std::clamp(beforeRow, 0, recordCount());
    data_->rows.insert(data_->rows.begin() + position, values);
    ++changes_;
    return position;
}

int MemoryStorage::update(int row, const db::Record& record)
{
    checkRow(row);
    db::Record values = record;
    values.resize(data_->fields.size());
    if (data_->keyFieldCount == 0) {
        data_->rows[static_cast<std::size_t>(row)] = values;
        ++changes_;
        return row;
    }
    const int position = keyedPosition(values, row);
    data_->rows.erase(data_->rows.begin() + row);
    data_->rows.insert(data_->rows.begin() + position, values);
    ++changes_;
    return position;
}

int MemoryStorage::updateChanged(int row, const db::Record& record, const std::vector<char>& changed)
{
    checkRow(row);
    db::Record values = data_->rows[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < values.size() && i < record.size() && i < changed.size(); ++i) {
        if (changed[i])
            values[i] = record[i];
    }
    return update(row, values);
}

void MemoryStorage::remove(int row)
{
    checkRow(row);
    data_->rows.erase(data_->rows.begin() + row);
    ++changes_;
}

void MemoryStorage::empty()
{
    data_->rows.clear();
    ++changes_;
}

int MemoryStorage::findKey(const db::Record& keyValues) const
{
    for (int row = 0; row < recordCount(); ++row) {
        const db::Record& r = data_->rows[static_cast<std::size_t>(row)];
        bool equal = true;
        for (std::size_t k = 0; k < keyValues.size() && equal; ++k)
            equal = compareValues(r[k], keyValues[k]) == 0;
        if (equal)
            return row;
    }
    return -1;
}

namespace {
QString nameKey(const QString& path)
{
    return path.toUpper();
}
}  // namespace

db::TableStoragePtr MemoryFormat::open(const QString& path, db::OpenMode) const
{
    const auto it = tables_.find(nameKey(path));
    if (it == tables_.end())
        throw db::EngineError(db::ErrorCode::TableNotFound, QStringLiteral("Die Tabelle %1 fehlt.").arg(path));
    return std::make_shared<MemoryStorage>(path, it->second);
}

void MemoryFormat::create(const QString& path, const db::FieldDefList& fields, int keyFieldCount) const
{
    auto data = std::make_shared<MemoryTableData>();
    data->fields = fields;
    data->keyFieldCount = keyFieldCount;
    tables_[nameKey(path)] = data;
}

void MemoryFormat::remove(const QString& path) const
{
    if (tables_.erase(nameKey(path)) == 0)
        throw db::EngineError(db::ErrorCode::TableNotFound, QStringLiteral("Die Tabelle %1 fehlt.").arg(path));
}

std::shared_ptr<MemoryTableData> MemoryFormat::data(const QString& path) const
{
    const auto it = tables_.find(nameKey(path));
    return it == tables_.end() ? nullptr : it->second;
}

MemoryFormat& memoryFormat()
{
    static MemoryFormat format;
    return format;
}

}  // namespace testdb
