#pragma once

#include "db/TableStorage.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace db {

// The process-wide registry of open table files. Every cursor of the process that opens the same file set shares
// one TableStorage, so the inter-process lock is taken once per process and the cursors see each other's
// writes. Within the process the same rule holds as between processes: an exclusive open excludes every other.
class OpenTables {
public:
    // One cursor's hold on an open table. Releasing the last hold flushes the storage and closes its files.
    class Lease {
    public:
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        const TableStoragePtr& storage() const { return storage_; }
        OpenMode mode() const { return mode_; }
        const QString& key() const { return key_; }

        // Gives the hold back; when it was the last one, flushes the storage and raises what flush raised (the
        // hold is gone either way).
        void release();

        // What the holder must do before anybody else changes the records: a cursor that still holds values it
        // posted, without having read them back, reads them back while the storage still has them where it put
        // them.
        void setBeforeOthersWrite(std::function<void()> settle) { settle_ = std::move(settle); }
        // Called by the holder before it changes the records: every other holder of the storage settles first.
        void aboutToWrite() const;

    private:
        friend class OpenTables;
        using Holders = std::vector<Lease*>;
        Lease(QString key, TableStoragePtr storage, OpenMode mode, std::shared_ptr<Holders> holders);
        QString key_;
        TableStoragePtr storage_;
        OpenMode mode_;
        std::shared_ptr<Holders> holders_;  // every lease on the storage, this one included
        std::function<void()> settle_;
        bool held_ = true;
    };

    // The registry key of a table file: its canonical path, found without regard to case when the exact name does
    // not exist.
    static QString keyFor(const QString& path);

    // Joins the storage open under key, or opens it with open(). Raises EngineError 0x2803 when the wanted mode
    // conflicts with the holds of other cursors.
    static std::unique_ptr<Lease> acquire(const QString& key, OpenMode mode,
                                          const std::function<TableStoragePtr()>& open);

    // Whether any cursor of the process holds the table.
    static bool isOpen(const QString& key);
};

}  // namespace db
