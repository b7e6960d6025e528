#pragma once

#include "db/TableStorage.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace db {

// The process-wide registry of open table files. Every cursor of the process that opens the same file set shares
// one TableStorage, so the inter-process lock is taken once per process and the cursors see each other's
// writes. Within the process the same rule holds as between processes: an exclusive open excludes every other.
//
// Scratch tables (Table::setScratch): while every cursor that held a storage since it was opened was a scratch
// cursor, the storage writes without syncing, and releasing its last hold keeps it here, unwritten, instead of
// closing it. A kept storage still holds its inter-process lock; it counts as closed (isOpen is false) and comes
// back to the next scratch cursor that opens the files in the same mode. Whatever needs the files current first
// writes it (without sync): an open without the flag or in the other mode, and the end of the process. Deleting,
// replacing or emptying the table drops it unwritten (discardKept).
class OpenTables {
public:
    // One cursor's hold on an open table. Releasing the last hold flushes the storage and closes its files, or keeps
    // the storage of scratch cursors.
    class Lease {
    public:
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        const TableStoragePtr& storage() const { return storage_; }
        OpenMode mode() const { return mode_; }
        const QString& key() const { return key_; }

        // Gives the hold back; when it was the last one, flushes the storage and raises what flush raised (the
        // hold is gone either way), unless the storage is kept.
        void release();

        // What the holder must do before anybody else changes the records: a cursor that still holds values it
        // posted, without having read them back, reads them back while the storage still has them where it put
        // them.
        void setBeforeOthersWrite(std::function<void()> settle) { settle_ = std::move(settle); }
        // Called by the holder before it changes the records: every other holder of the storage settles first.
        // Inline, as a cursor calls it for every record it posts and mostly holds the storage alone.
        void aboutToWrite() const
        {
            if (held_ && holders_->size() > 1)
                settleOthers();
        }

    private:
        friend class OpenTables;
        using Holders = std::vector<Lease*>;
        Lease(QString key, TableStoragePtr storage, OpenMode mode, std::shared_ptr<Holders> holders);
        void settleOthers() const;
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

    // Joins the storage open or kept under key, or opens it with open(). Raises EngineError 0x2803 when the wanted
    // mode conflicts with the holds of other cursors. scratch: the holder is a scratch cursor.
    static std::unique_ptr<Lease> acquire(const QString& key, OpenMode mode,
                                          const std::function<TableStoragePtr()>& open, bool scratch = false);

    // Whether any cursor of the process holds the table (a kept storage is held by none).
    static bool isOpen(const QString& key);

    // Drops the storage kept under key without writing it, and with it its inter-process lock: its files are about
    // to be deleted, replaced or emptied. Nothing happens when none is kept.
    static void discardKept(const QString& key);

    // Identifies the records the process holds or keeps under key: equal answers mean nobody changed them in
    // between (within the process; another process cannot write while the lock is held). Empty when the process
    // has nothing under key.
    struct Version {
        std::uint64_t storage = 0;  // which storage object, never reused
        std::uint64_t changes = 0;  // its change count
        bool operator==(const Version&) const = default;
    };
    static std::optional<Version> version(const QString& key);
};

}  // namespace db
