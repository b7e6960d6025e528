#pragma once

#include "db/dbase/DbfFormat.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace db::dbase {

// One memo file (.DBT of dBase III or IV, .FPT of FoxPro) on an open descriptor. Reads check every block number
// and length against the file's size, so a damaged file raises EngineError instead of reading past its end or
// allocating without bound. Writing appends only (dBase III and IV files); see DbaseTable.cpp for the order of
// writes that keeps the table valid.
class MemoFile {
public:
    MemoFile(int fd, MemoKind kind, const QString& path);
    ~MemoFile();
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    MemoKind kind() const { return kind_; }
    std::uint32_t blockSize() const { return blockSize_; }
    int fd() const { return fd_; }

    // Data of the memo starting at block (0 = no memo: empty).
    QByteArray read(std::uint32_t block) const;
    // Writes data as a new memo behind everything in use and advances the file's end marker; returns its block.
    std::uint32_t append(const QByteArray& data);
    // Drops every memo: header only.
    void reset();

    // A new, empty memo file of the kind we create (dBase IV, 512-byte blocks).
    static QByteArray newDbt4Header();

    // Memos larger than this are taken as damage rather than data.
    static constexpr std::uint64_t kMaxMemoBytes = 256u * 1024u * 1024u;

private:
    std::uint64_t fileSize() const;
    // The file's size as last seen, looked at again when end lies beyond it.
    std::uint64_t sizeCovering(std::uint64_t end) const;
    [[noreturn]] void corrupt(const QString& why) const;

    int fd_;
    MemoKind kind_;
    QString path_;
    std::uint32_t blockSize_ = 512;
    mutable std::uint64_t knownSize_ = 0;
};

// pread/pwrite that finish the whole range or raise EngineError (short reads: the file ended early).
void readExactly(int fd, void* buffer, std::size_t size, std::uint64_t offset, const QString& path);
void writeExactly(int fd, const void* buffer, std::size_t size, std::uint64_t offset, const QString& path);

}  // namespace db::dbase
