#pragma once

// Plain file access for the table files: positioned reads and writes that either complete or raise EngineError,
// the blob file (.MB), and the steps of replacing a file atomically.

#include "db/paradox/ParadoxFormat.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace db::paradox {

class PosixFile {
public:
    PosixFile() = default;
    ~PosixFile();
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;
    PosixFile(PosixFile&& other) noexcept;
    PosixFile& operator=(PosixFile&& other) noexcept;

    // flags as for open(2); mode for new files. When the open fails, the file open before stays open.
    void open(const QString& path, int flags, int mode = 0644);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const QString& path() const { return path_; }

    qint64 size() const;
    // Reads exactly n bytes at offset; a short file raises a corrupt-file error naming `what`.
    void readAt(qint64 offset, char* buffer, qint64 n, const QString& what) const;
    QByteArray readAt(qint64 offset, qint64 n, const QString& what) const;
    void writeAt(qint64 offset, const char* data, qint64 n);
    // Asks the system to start putting n bytes at offset on the disk (n = 0: up to the end), so that a later sync()
    // finds less to wait for. Best effort: it promises nothing, and a failure only leaves the work to sync().
    void startWriteback(qint64 offset, qint64 n) const;
    void sync();

private:
    int fd_ = -1;
    QString path_;
};

// Makes a rename in the folder of path durable.
void syncDirectory(const QString& path);
// rename(2) with an EngineError on failure.
void renameFile(const QString& from, const QString& to);
// rename(2) that never replaces a file: false when to exists (from is then left as it was).
bool renameUnlessExists(const QString& from, const QString& to);
// Name of the scratch file a new version of path is written to before it replaces path.
QString scratchPathFor(const QString& path);

// Removes a scratch file when the work that writes it fails, so that no half-written file stays in the user's
// folder; keep() once it was renamed into place. An empty path stands for no file.
class ScratchFile {
public:
    explicit ScratchFile(QString path) : path_(std::move(path)) {}
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const QString& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    QString path_;
    bool kept_ = false;
};

// Exclusive lock on the folder of a table for the time one writer changes files in it. Locks of one process on the
// same folder through two objects exclude each other as well: a writer takes it once (see WriterTurns).
class FolderLock {
public:
    FolderLock() = default;
    explicit FolderLock(const QString& tablePath) { lock(tablePath); }
    ~FolderLock() { unlock(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    void lock(const QString& tablePath);
    void unlock();

private:
    int fd_ = -1;
};

// The turns of the writers of one table's files. A writer takes its turn before it writes into a file other
// writers share; beginTurn() waits for the folder lock and raises when another writer changed the table since this
// one last saw it, and the turn lasts until the matching endTurn(). Turns nest.
class WriterTurns {
public:
    virtual void beginTurn() = 0;
    virtual void endTurn() = 0;

protected:
    ~WriterTurns() = default;
};

// One turn for the length of a scope (none without turns).
class WriterTurn {
public:
    explicit WriterTurn(WriterTurns* turns) : turns_(turns)
    {
        if (turns_) turns_->beginTurn();
    }
    ~WriterTurn()
    {
        if (turns_) turns_->endTurn();
    }
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;

private:
    WriterTurns* turns_;
};

// A pointer to one blob as a record field stores it after the leader.
struct BlobRef {
    std::uint32_t offsetAndIndex = 0;
    std::uint32_t length = 0;
    std::uint16_t modification = 0;
};

// The blob file of a table. New blobs are only ever appended (whole new blocks, or free entries of a
// suballocation block this object created), so nothing a record already points to is ever overwritten. Appended
// blocks may stay in memory until writeOut(); reads see them all the same.
//
// Other writers may append to the same file. Every write to the file happens in a writer's turn (setTurns), and
// appended blocks go out only where the file ends at that moment: a file that grew or shrank since this object
// last wrote to it is not written (EngineError 0x2803), as the blocks meant for its end would land on another
// writer's. Where the blocks of a batch go is taken from the file itself when the batch begins (after open() and
// settle()), never from an end remembered from an earlier batch.
class BlobFile {
public:
    // A blob file without blobs, written but not synced yet: the caller syncs it before it renames it into place.
    static PosixFile writeEmpty(const QString& path);

    // Opens the file; when that fails, the file open before stays open as it was.
    void open(const QString& path, bool writable);
    bool isOpen() const { return file_.isOpen(); }
    const QString& path() const { return file_.path(); }
    void setTurns(WriterTurns* turns) { turns_ = turns; }
    // No record waits for a blob appended so far (the table that holds them was saved or dropped them): the next
    // block appended starts a new batch at the file's end as it is then.
    void settle() { settled_ = true; }

    QByteArray read(const BlobRef& ref) const;
    BlobRef write(const QByteArray& blob);
    // A small blob made right in its place: room for up to maxLength bytes (1 .. smallBlobLimit()) in a
    // suballocation block waiting in memory, or nullptr when there is none and write() has to take the blob. The
    // caller writes the blob there and hands its length (at most maxLength) to commitSmall(), which adds its entry
    // to the block (write() takes the same way); a room left without commitSmall() is simply not used.
    char* smallRoom(qint64 maxLength);
    BlobRef commitSmall(qint64 length);
    static qint64 smallBlobLimit();
    // Writes every appended blob and the modification counter, and has the system start putting them on the disk.
    void writeOut();
    // Waits until the disk holds everything written so far.
    void sync();

private:
    // Appends a zeroed block of size bytes past the end of the file; returns where the caller fills it in memory
    // (valid until the next append) and sets offset to its place in the file.
    char* appendBlock(qint64 size, std::uint32_t& offset);
    // Positioned access that sees the appended bytes not yet written out.
    void readBytes(qint64 offset, char* buffer, qint64 n) const;
    void writeBytes(qint64 offset, const char* data, qint64 n);
    void writePending();
    std::uint16_t nextModification();
    // A suballocation block with a free entry and room for chunks more chunks of 16 bytes, a new one if need be.
    void ensureSubRoom(int chunks);

    // The file is as this object left it, so that appended blocks may go out at pendingStart_; raises otherwise.
    void checkEnd() const;
    // A new batch of blocks begins where the file ends now.
    void startBatch();
    void writeFile(qint64 offset, const char* data, qint64 n);

    PosixFile file_;
    WriterTurns* turns_ = nullptr;
    qint64 size_ = 0;
    qint64 fileEnd_ = 0;    // the size of the file as this object last saw or made it
    bool settled_ = true;  // no record waits for an appended blob: the next one starts a new batch
    // Appended blocks are collected here and written in large pieces (at the latest by sync(), before any record
    // points to them), so that adding a small blob costs no system call.
    QByteArray pending_;
    qint64 pendingStart_ = 0;
    // The block at offset, valid until the next read or write; available tells how many bytes from there on were
    // read with it (at least the block).
    const char* blockAt(qint64 offset, qint64& available) const;
    // Blocks written out, read in pieces of many blocks and kept: the blobs of a table read in another order than
    // they were written (a keyed table read in key order) cost a system call per piece rather than one per blob.
    // A piece lives in the slot its place in the file picks; a later piece for the slot replaces it, which bounds
    // the memory kept.
    struct ReadPiece {
        qint64 start = -1;
        QByteArray bytes;
    };
    mutable std::vector<ReadPiece> pieces_;
    void forgetPieces(qint64 offset, qint64 n);
    // The last block read among the appended ones not written out yet.
    mutable qint64 cachedBlock_ = -1;
    mutable QByteArray blockCache_;
    std::uint16_t modCount_ = 0;
    bool dirty_ = false;     // blobs written since the modification counter was stored
    bool unsynced_ = false;  // written since the last sync()
    // Suballocation block currently filled by this object (0 = none yet).
    qint64 subBlock_ = 0;
    int subNextEntry_ = -1;
    int subNextChunk_ = 0;
};

}  // namespace db::paradox
