#pragma once

#include "db/dbase/DbfFormat.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace db::dbase {

// One memo file (.DBT of dBase III or IV, .FPT of FoxPro) on an open descriptor. Reads check every block number
// and length against the file's size, so a damaged file raises EngineError instead of reading past its end or
// allocating without bound. Writing appends only (dBase III and IV files); see DbaseTable.cpp for the order of
// writes that keeps the table valid.
//
// Reads go through a window of the file read ahead (kWindow bytes from the memo asked for): memos written one after
// the other are read one after the other, so most reads cost no system call. Memo blocks in use are never
// rewritten, so the window can only be wrong about blocks no record it has been asked about refers to yet; the
// owner drops it (dropCache) whenever it learns of records written by others, and every write here drops it.
class MemoFile {
public:
    MemoFile(int fd, MemoKind kind, const QString& path);
    ~MemoFile();
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    MemoKind kind() const { return kind_; }
    std::uint32_t blockSize() const { return blockSize_; }
    int fd() const { return fd_; }
    const QString& path() const { return path_; }

    // Data of the memo starting at block (0 = no memo: empty).
    QByteArray read(std::uint32_t block) const;
    // The same data without a copy where it can be had: a view into the read-ahead window, valid until the next
    // call on this file. A memo the window cannot hold is read into holder, which the view then shows.
    QByteArrayView view(std::uint32_t block, QByteArray& holder) const;
    // Writes every memo of memos behind everything in use, in one piece after the file's end marker was moved past
    // them; returns the first block of each.
    std::vector<std::uint32_t> appendAll(const std::vector<QByteArrayView>& memos);
    // Raises EngineError when appendAll would find the file damaged (its list of free blocks, or an end before the
    // end of a memo a record points to), without writing.
    void checkAppendable() const;
    // The table's records point to block (0: none); no new memo is placed into the blocks of that memo.
    void noteReferenced(std::uint32_t block)
    {
        referenced_ = std::max(referenced_, block);
    }
    // Forgets every block noted, before the table's records are all looked at anew.
    void forgetReferences()
    {
        referenced_ = 0;
        usedEnd_ = 0;
    }
    // Bytes a memo of dataSize bytes takes in the file.
    std::uint64_t storedSize(std::uint64_t dataSize) const;
    // Drops every memo: header only.
    void reset();
    // Forgets what was read ahead.
    void dropCache() const
    {
        windowStart_ = 0;
        window_.clear();
    }

    // A new, empty memo file of the kind we create (dBase IV, 512-byte blocks).
    static QByteArray newDbt4Header();

    // Memos larger than this are taken as damage rather than data.
    static constexpr std::uint64_t kMaxMemoBytes = 256u * 1024u * 1024u;
    // How much a read takes in at once.
    static constexpr std::size_t kWindow = 64 * 1024;

private:
    std::uint64_t fileSize() const;
    // The file's size as last seen, looked at again when end lies beyond it.
    std::uint64_t sizeCovering(std::uint64_t end) const;
    // Bytes [offset, offset + n) from the window, reading a new one from offset when they are not in it; the caller
    // makes sure they lie within the file of size bytes and n <= kWindow. Valid until the next call.
    const char* windowed(std::uint64_t offset, std::size_t n, std::uint64_t size) const;
    // The dBase IV free-list entry that ends the list (the one whose marker is moved), 0 when the header's marker
    // is that end; raises EngineError for a damaged list.
    std::uint64_t lastFreeRun(std::uint32_t marker, std::uint64_t blocksInFile) const;
    [[noreturn]] void corrupt(const QString& why) const;
    // Raises EngineError when the file of size bytes ends before a memo a record points to ends: another program
    // cut it, and a memo placed at its end would lie in blocks records still read as theirs.
    void checkReferencesWithin(std::uint64_t size) const;
    // Where the memo starting at block ends; raises EngineError when it runs past the file's end of size bytes.
    std::uint64_t memoEnd(std::uint32_t block, std::uint64_t size) const;

    int fd_;
    MemoKind kind_;
    QString path_;
    std::uint32_t blockSize_ = 512;
    mutable std::uint64_t knownSize_ = 0;
    mutable std::uint64_t windowStart_ = 0;
    mutable QByteArray window_;
    std::uint32_t referenced_ = 0;        // the highest block a record points to, as far as noted
    mutable std::uint64_t usedEnd_ = 0;   // the end of the memos records point to, as far as checked
};

// pread/pwrite that finish the whole range or raise EngineError (short reads: the file ended early).
void readExactly(int fd, void* buffer, std::size_t size, std::uint64_t offset, const QString& path);
void writeExactly(int fd, const void* buffer, std::size_t size, std::uint64_t offset, const QString& path);

}  // namespace db::dbase
