#pragma once

#include "db/TableStorage.h"

#include <QString>

namespace db {

// Inter-process lock on one table, held for as long as the table is open: shared opens may coexist, an exclusive
// open excludes every other open. Uses the operating system's advisory locks on the table's main file, so a lock
// dies with the process that held it.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    // Takes the lock without waiting; raises EngineError with code 0x2803 when another holder conflicts, and an
    // I/O error when the file cannot be opened.
    void acquire(const QString& path, OpenMode mode);
    void release();
    bool held() const { return fd_ >= 0; }
    OpenMode mode() const { return mode_; }

private:
    int fd_ = -1;
    OpenMode mode_ = OpenMode::Shared;
};

// Whether the user let the file be changed: a write bit in its mode and write access for us. Root may open any
// file for writing, so the mode alone tells a file its owner protected. A file that is not there protects nothing.
bool fileWritable(const QString& path);

}  // namespace db
