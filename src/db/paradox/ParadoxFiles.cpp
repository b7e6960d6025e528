#include "db/paradox/ParadoxFiles.h"

#include "db/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace db::paradox {

namespace {

constexpr qint64 kMbBlock = 4096;
constexpr int kSubEntries = 64;
constexpr int kSubFirstChunk = 0x150 / 16;  // data area of a suballocation block starts after its entry table
constexpr int kSubChunks = 256;
constexpr qint64 kSmallBlobLimit = 2048;
constexpr qint64 kPendingLimit = 1 << 20;
// Blocks are read in pieces of this many bytes, and at most kReadSlots pieces (16 MB) are kept.
constexpr qint64 kReadPiece = 64 * 1024;
constexpr std::size_t kReadSlots = 256;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

[[noreturn]] void ioError(const QString& what, const QString& path)
{
    throw EngineError(ErrorCode::IoError,
                      QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), systemError()));
}

}  // namespace

PosixFile::~PosixFile()
{
    close();
}

PosixFile::PosixFile(PosixFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

PosixFile& PosixFile::operator=(PosixFile&& other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

void PosixFile::open(const QString& path, int flags, int mode)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) ioError(QStringLiteral("Die Datei kann nicht geöffnet werden:"), path);
    close();
    fd_ = fd;
    path_ = path;
}

void PosixFile::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

qint64 PosixFile::size() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0) ioError(QStringLiteral("Die Größe der Datei ist nicht lesbar:"), path_);
    return st.st_size;
}

void PosixFile::readAt(qint64 offset, char* buffer, qint64 n, const QString& what) const
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd_, buffer + done, size_t(n - done), off_t(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            ioError(QStringLiteral("Die Datei kann nicht gelesen werden:"), path_);
        }
        if (r == 0)
            throw EngineError(ErrorCode::CorruptFile,
                              corruptMessage(path_, QStringLiteral("%1 reicht über das Dateiende hinaus.").arg(what)));
        done += r;
    }
}

QByteArray PosixFile::readAt(qint64 offset, qint64 n, const QString& what) const
{
    QByteArray result(n, Qt::Uninitialized);
    readAt(offset, result.data(), n, what);
    return result;
}

void PosixFile::writeAt(qint64 offset, const char* data, qint64 n)
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t w = ::pwrite(fd_, data + done, size_t(n - done), off_t(offset + done));
        if (w < 0) {
            if (errno == EINTR) continue;
            ioError(QStringLiteral("Die Datei kann nicht geschrieben werden:"), path_);
        }
        done += w;
    }
}

void PosixFile::startWriteback(qint64 offset, qint64 n) const
{
#if defined(__linux__)
    ::sync_file_range(fd_, off_t(offset), off_t(n), SYNC_FILE_RANGE_WRITE);
#else
    (void)offset;
    (void)n;
#endif
}

void PosixFile::sync()
{
    if (::fsync(fd_) != 0) ioError(QStringLiteral("Die Datei kann nicht gesichert werden:"), path_);
}

void syncDirectory(const QString& path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);  // best effort: some file systems refuse fsync on folders
        ::close(fd);
    }
}

void renameFile(const QString& from, const QString& to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        ioError(QStringLiteral("Die Datei kann nicht ersetzt werden:"), to);
}

bool renameUnlessExists(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(__linux__)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) ioError(QStringLiteral("Die Datei kann nicht umbenannt werden:"), to);
    // A file system that cannot refuse the replacement itself: the callers hold the folder lock, under which no
    // writer of ours creates the file meanwhile.
#endif
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0) return false;
    renameFile(from, to);
    return true;
}

QString scratchPathFor(const QString& path)
{
    return path + QStringLiteral(".new~");
}

ScratchFile::~ScratchFile()
{
    if (!kept_ && !path_.isEmpty()) ::unlink(QFile::encodeName(path_).constData());
}

void FolderLock::lock(const QString& tablePath)
{
    unlock();
    const QByteArray dir = QFile::encodeName(QFileInfo(tablePath).absolutePath());
    fd_ = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;  // without the folder lock we still write safely; only concurrent writers race
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

void FolderLock::unlock()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

PosixFile BlobFile::writeEmpty(const QString& path)
{
    QByteArray header(kMbBlock, '\0');
    char* d = header.data();
    d[0x00] = 0;             // header block
    putU16(d + 0x01, 1);     // one 4 KiB unit
    putU16(d + 0x03, 1);     // modification counter
    const char constants[] = {char(0x82), 0x73, 0x02, 0x00, 0x29, 0x00};
    std::memcpy(d + 0x05, constants, sizeof constants);
    putU16(d + 0x0B, 0x1000);
    putU16(d + 0x0D, 0x1000);
    d[0x10] = 0x10;
    putU16(d + 0x11, 0x0040);
    putU16(d + 0x13, 0x0800);
    putU16(d + 0x29, 0x02A1);
    PosixFile file;
    file.open(path, O_WRONLY | O_CREAT | O_TRUNC);
    file.writeAt(0, header.constData(), header.size());
    file.startWriteback(0, 0);
    return file;
}

void BlobFile::open(const QString& path, bool writable)
{
    file_.open(path, writable ? O_RDWR : O_RDONLY);
    size_ = fileEnd_ = file_.size();
    settled_ = true;
    pending_.clear();
    pendingStart_ = size_;
    cachedBlock_ = -1;
    blockCache_.clear();
    pieces_.clear();
    subBlock_ = 0;
    subNextEntry_ = -1;
    if (size_ < kMbBlock)
        throw EngineError(ErrorCode::CorruptFile,
                          corruptMessage(path, QStringLiteral("Die Memo-Datei ist kürzer als ihr Kopfblock.")));
    const QByteArray head = file_.readAt(0, 5, QStringLiteral("Der Kopf der Memo-Datei"));
    if (head.at(0) != 0)
        throw EngineError(ErrorCode::CorruptFile,
                          corruptMessage(path, QStringLiteral("Die Memo-Datei hat keinen gültigen Kopfblock.")));
    modCount_ = getU16(head.constData() + 3);
}

void BlobFile::readBytes(qint64 offset, char* buffer, qint64 n) const
{
    const QString what = QStringLiteral("Ein Memo");
    const qint64 pendingEnd = pendingStart_ + pending_.size();
    if (pending_.isEmpty() || offset + n <= pendingStart_) {
        file_.readAt(offset, buffer, n, what);
        return;
    }
    if (offset < pendingStart_) {
        const qint64 head = pendingStart_ - offset;
        file_.readAt(offset, buffer, head, what);
        buffer += head;
        n -= head;
        offset = pendingStart_;
    }
    if (offset + n > pendingEnd)
        throw EngineError(ErrorCode::CorruptFile,
                          corruptMessage(file_.path(), QStringLiteral("%1 reicht über das Dateiende hinaus.").arg(what)));
    std::memcpy(buffer, pending_.constData() + (offset - pendingStart_), size_t(n));
}

void BlobFile::forgetPieces(qint64 offset, qint64 n)
{
    if (pieces_.empty()) return;
    for (qint64 start = offset / kReadPiece * kReadPiece; start < offset + n; start += kReadPiece) {
        ReadPiece& piece = pieces_[std::size_t(start / kReadPiece) % kReadSlots];
        if (piece.start == start) piece.start = -1;
    }
}

const char* BlobFile::blockAt(qint64 offset, qint64& available) const
{
    const qint64 written = pending_.isEmpty() ? size_ : pendingStart_;
    if (offset + kMbBlock > written) {
        // Appended, waiting in memory (or partly): read where it waits.
        if (cachedBlock_ != offset) {
            blockCache_.resize(kMbBlock);
            cachedBlock_ = -1;
            readBytes(offset, blockCache_.data(), kMbBlock);
            cachedBlock_ = offset;
        }
        available = kMbBlock;
        return blockCache_.constData();
    }
    const qint64 start = offset / kReadPiece * kReadPiece;
    if (pieces_.empty()) pieces_.resize(kReadSlots);
    ReadPiece& piece = pieces_[std::size_t(start / kReadPiece) % kReadSlots];
    // A piece read while its end was still waiting in memory is shorter; it is read again once the block is out.
    if (piece.start != start || offset + kMbBlock > start + piece.bytes.size()) {
        const qint64 n = std::min(kReadPiece, written - start);
        piece.start = -1;
        piece.bytes.resize(n);
        file_.readAt(start, piece.bytes.data(), n, QStringLiteral("Ein Memo"));
        piece.start = start;
    }
    available = piece.bytes.size() - (offset - start);
    return piece.bytes.constData() + (offset - start);
}

void BlobFile::writeBytes(qint64 offset, const char* data, qint64 n)
{
    if (cachedBlock_ >= 0 && offset < cachedBlock_ + kMbBlock && offset + n > cachedBlock_) cachedBlock_ = -1;
    forgetPieces(offset, n);
    if (!pending_.isEmpty() && offset >= pendingStart_ && offset + n <= pendingStart_ + pending_.size()) {
        std::memcpy(pending_.data() + (offset - pendingStart_), data, size_t(n));
        return;
    }
    WriterTurn turn(turns_);
    checkEnd();
    writeFile(offset, data, n);
    dirty_ = unsynced_ = true;
}

void BlobFile::writeFile(qint64 offset, const char* data, qint64 n)
{
    try {
        file_.writeAt(offset, data, n);
    } catch (...) {
        // A write that failed half way (a full disk) grew the file by bytes of ours, within our turn: they stay
        // ours, so that writing them again once there is room is not taken for another writer's work.
        fileEnd_ = std::max(fileEnd_, file_.size());
        throw;
    }
    fileEnd_ = std::max(fileEnd_, offset + n);
}

void BlobFile::checkEnd() const
{
    if (file_.size() != fileEnd_)
        throw EngineError(ErrorCode::FileLocked,
                          QStringLiteral("Die Memo-Datei %1 wurde inzwischen von einem anderen Programm geändert; "
                                         "die Änderungen können nicht gespeichert werden.")
                              .arg(QDir::toNativeSeparators(file_.path())));
}

void BlobFile::startBatch()
{
    if (!settled_ || !pending_.isEmpty()) return;
    settled_ = false;
    const qint64 end = file_.size();
    if (end == fileEnd_) return;
    // Another writer appended (or cut the file) since: the blocks of this batch go behind what is there now, and
    // the suballocation block filled before is left to whoever finds it.
    size_ = fileEnd_ = end;
    pendingStart_ = end;
    subBlock_ = 0;
    subNextEntry_ = -1;
    cachedBlock_ = -1;
    pieces_.clear();
}

void BlobFile::writePending()
{
    if (pending_.isEmpty()) return;
    WriterTurn turn(turns_);
    checkEnd();
    writeFile(pendingStart_, pending_.constData(), pending_.size());
    file_.startWriteback(pendingStart_, pending_.size());
    pendingStart_ += pending_.size();
    // The buffer is kept for the next blocks, unless a huge blob made it grow far beyond its usual size.
    if (pending_.capacity() > 2 * kPendingLimit + kMbBlock)
        pending_.clear();
    else
        pending_.resize(0);
    dirty_ = unsynced_ = true;
}

QByteArray BlobFile::read(const BlobRef& ref) const
{
    auto bad = [&](const QString& detail) {
        throw EngineError(ErrorCode::CorruptFile, corruptMessage(file_.path(), detail));
    };
    const qint64 offset = ref.offsetAndIndex & 0xFFFFFF00u;
    const int index = int(ref.offsetAndIndex & 0xFF);
    if (offset < kMbBlock || offset % kMbBlock != 0 || offset + kMbBlock > size_)
        bad(QStringLiteral("Ein Memo-Verweis zeigt außerhalb der Memo-Datei."));
    qint64 available = 0;
    const char* block = blockAt(offset, available);
    const int type = std::uint8_t(block[0]);
    if (index == 0xFF) {
        if (type != 2) bad(QStringLiteral("Ein Memo-Verweis zeigt auf einen Block falschen Typs."));
        const qint64 blocks = getU16(block + 1);
        const qint64 length = getU32(block + 3);
        if (length != ref.length || 9 + length > blocks * kMbBlock || offset + 9 + length > size_)
            bad(QStringLiteral("Die Länge eines Memos stimmt nicht mit seinem Block überein."));
        if (9 + length <= available) return QByteArray(block + 9, length);  // read with the block already
        QByteArray bytes(length, Qt::Uninitialized);
        readBytes(offset + 9, bytes.data(), length);
        return bytes;
    }
    if (index >= kSubEntries || type != 3) bad(QStringLiteral("Ein Memo-Verweis ist ungültig."));
    const char* entry = block + 12 + 5 * index;
    const qint64 dataOffset = qint64(std::uint8_t(entry[0])) * 16;
    const qint64 chunks = std::uint8_t(entry[1]);
    const qint64 last = std::uint8_t(entry[4]);
    if (dataOffset == 0 || chunks == 0 || last == 0 || last > 16)
        bad(QStringLiteral("Ein Memo-Verweis zeigt auf einen leeren Eintrag."));
    const qint64 length = (chunks - 1) * 16 + last;
    if (length != ref.length || dataOffset + length > kMbBlock)
        bad(QStringLiteral("Die Länge eines Memos stimmt nicht mit seinem Eintrag überein."));
    return QByteArray(block + dataOffset, length);
}

char* BlobFile::appendBlock(qint64 size, std::uint32_t& offset)
{
    const qint64 at = (size_ + kMbBlock - 1) / kMbBlock * kMbBlock;
    if (at + size > qint64(0xFFFFFF00u))
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Memo-Datei %1 ist voll.").arg(QDir::toNativeSeparators(file_.path())));
    // What waits goes out before the new block joins it, so that the new block stays in memory while it is filled.
    if (pending_.size() >= kPendingLimit) writePending();
    if (pending_.isEmpty()) {
        pendingStart_ = at;
        pending_.reserve(std::max(kPendingLimit, size) + kMbBlock);
    }
    const qint64 start = at - pendingStart_;
    pending_.append(start + size - pending_.size(), '\0');
    size_ = at + size;
    offset = std::uint32_t(at);
    return pending_.data() + start;
}

std::uint16_t BlobFile::nextModification()
{
    if (++modCount_ == 0) modCount_ = 1;
    return modCount_;
}

BlobRef BlobFile::write(const QByteArray& blob)
{
    startBatch();
    const qint64 length = blob.size();
    if (length > kSmallBlobLimit) {
        const qint64 blocks = (9 + length + kMbBlock - 1) / kMbBlock;
        if (blocks > 0xFFFF)
            throw EngineError(ErrorCode::NotSupported, QStringLiteral("Ein Memo ist zu groß (%1 Bytes).").arg(length));
        BlobRef ref;
        ref.length = std::uint32_t(length);
        ref.modification = nextModification();
        std::uint32_t offset = 0;
        char* d = appendBlock(blocks * kMbBlock, offset);
        d[0] = 2;
        putU16(d + 1, std::uint32_t(blocks));
        putU32(d + 3, std::uint32_t(length));
        putU16(d + 7, ref.modification);
        std::memcpy(d + 9, blob.constData(), size_t(length));
        ref.offsetAndIndex = offset | 0xFF;
        return ref;
    }
    ensureSubRoom(int((length + 15) / 16));
    // The data goes in before the entry that describes it; neither is reachable until a record points here.
    writeBytes(subBlock_ + qint64(subNextChunk_) * 16, blob.constData(), length);
    return commitSmall(length);
}

void BlobFile::ensureSubRoom(int chunks)
{
    if (subBlock_ != 0 && subNextEntry_ >= 0 && subNextChunk_ + chunks <= kSubChunks) return;
    std::uint32_t offset = 0;
    char* d = appendBlock(kMbBlock, offset);
    d[0] = 3;
    putU16(d + 1, 1);
    subBlock_ = offset;
    subNextEntry_ = kSubEntries - 1;
    subNextChunk_ = kSubFirstChunk;
}

qint64 BlobFile::smallBlobLimit()
{
    return kSmallBlobLimit;
}

char* BlobFile::smallRoom(qint64 maxLength)
{
    startBatch();
    ensureSubRoom(int((maxLength + 15) / 16));
    // A block that went out to the file already (a big blob came in between) is filled through write().
    if (pending_.isEmpty() || subBlock_ < pendingStart_) return nullptr;
    if (cachedBlock_ == subBlock_) cachedBlock_ = -1;
    return pending_.data() + (subBlock_ - pendingStart_) + qint64(subNextChunk_) * 16;
}

BlobRef BlobFile::commitSmall(qint64 length)
{
    BlobRef ref;
    ref.length = std::uint32_t(length);
    ref.modification = nextModification();
    const int chunks = int((length + 15) / 16);
    char entry[5];
    entry[0] = char(subNextChunk_);
    entry[1] = char(chunks);
    putU16(entry + 2, ref.modification);
    entry[4] = char(length - qint64(chunks - 1) * 16);
    writeBytes(subBlock_ + 12 + 5 * subNextEntry_, entry, 5);
    ref.offsetAndIndex = std::uint32_t(subBlock_) | std::uint32_t(subNextEntry_);
    --subNextEntry_;
    subNextChunk_ += chunks;
    return ref;
}

void BlobFile::writeOut()
{
    writePending();
    if (!dirty_) return;
    char counter[2];
    putU16(counter, modCount_);
    writeBytes(3, counter, 2);
    file_.startWriteback(0, kMbBlock);
    dirty_ = false;
}

void BlobFile::sync()
{
    if (!unsynced_) return;
    file_.sync();
    unsynced_ = false;
}

}  // namespace db::paradox
