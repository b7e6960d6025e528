#pragma once

#include "db/TableFormat.h"
#include "db/TableStorage.h"

#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace testdb {

// The storage contract's test double: tables held in memory, with the contract's rules kept honestly (key order
// and key violations in keyed tables, insert positions in keyless ones, auto-increment numbering on insert, the
// change counter). Used to check the cursor where the file formats are not the subject.
struct MemoryTableData {
    db::FieldDefList fields;
    int keyFieldCount = 0;
    std::vector<db::Record> rows;
    int lastAutoInc = 0;
    QString readOnlyReason;
    mutable long long reads = 0;  // records handed out by read(), to check who reads how much
    int flushes = 0;
};

class MemoryStorage : public db::TableStorage {
public:
    MemoryStorage(QString path, std::shared_ptr<MemoryTableData> data);

    QString path() const override { return path_; }
    const db::FieldDefList& fields() const override { return data_->fields; }
    int keyFieldCount() const override { return data_->keyFieldCount; }
    QString readOnlyReason() const override { return data_->readOnlyReason; }
    int recordCount() const override { return static_cast<int>(data_->rows.size()); }
    db::Record read(int row) const override;
    int insert(const db::Record& record, int beforeRow) override;
    int update(int row, const db::Record& record) override;
    // Puts the changed fields into the stored record, as a storage that encodes only those does.
    int updateChanged(int row, const db::Record& record, const std::vector<char>& changed) override;
    void remove(int row) override;
    void empty() override;
    int findKey(const db::Record& keyValues) const override;
    void flush() override { ++data_->flushes; }

private:
    void checkRow(int row) const;
    int keyedPosition(const db::Record& record, int ignoreRow) const;
    db::Record numbered(const db::Record& record);

    QString path_;
    std::shared_ptr<MemoryTableData> data_;
};

// A table format whose "files" live in this process only, named by path without regard to case.
class MemoryFormat : public db::TableFormat {
public:
    QString defaultExtension() const override { return QStringLiteral(".MEM"); }
    db::TableStoragePtr open(const QString& path, db::OpenMode mode) const override;
    void create(const QString& path, const db::FieldDefList& fields, int keyFieldCount) const override;
    void remove(const QString& path) const override;

    std::shared_ptr<MemoryTableData> data(const QString& path) const;

private:
    mutable std::map<QString, std::shared_ptr<MemoryTableData>> tables_;
};

MemoryFormat& memoryFormat();

// Order of two values of one field: blank first, then by the value's own order.
int compareValues(const QVariant& a, const QVariant& b);

}  // namespace testdb
