#include "db/dbase/DbaseMemo.h"

#include "db/EngineError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace db::dbase {

namespace {

std::uint32_t u32le(const char* p)
{
    return std::uint32_t(std::uint8_t(p[0])) | (std::uint32_t(std::uint8_t(p[1])) << 8) |
           (std::uint32_t(std::uint8_t(p[2])) << 16) | (std::uint32_t(std::uint8_t(p[3])) << 24);
}

std::uint32_t u32be(const char* p)
{
    return (std::uint32_t(std::uint8_t(p[0])) << 24) | (std::uint32_t(std::uint8_t(p[1])) << 16) |
           (std::uint32_t(std::uint8_t(p[2])) << 8) | std::uint32_t(std::uint8_t(p[3]));
}

void putU32le(char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

void readExactly(int fd, void* buffer, std::size_t size, std::uint64_t offset, const QString& path)
{
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, out, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw EngineError(ErrorCode::IoError,
                              QStringLiteral("Lesefehler in %1: %2").arg(path, errnoText()));
        if (n == 0)
            throw EngineError(ErrorCode::CorruptFile,
                              QStringLiteral("Die Datei %1 ist beschädigt: sie endet zu früh.").arg(path));
        out += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
}

void writeExactly(int fd, const void* buffer, std::size_t size, std::uint64_t offset, const QString& path)
{
    const auto* in = static_cast<const char*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, in, size, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EngineError(ErrorCode::IoError,
                              QStringLiteral("Schreibfehler in %1: %2").arg(path, errnoText()));
        in += n;
        size -= std::size_t(n);
        offset += std::uint64_t(n);
    }
}

MemoFile::MemoFile(int fd, MemoKind kind, const QString& path) : fd_(fd), kind_(kind), path_(path)
{
    char head[32];
    if (fileSize() < sizeof head)
        corrupt(QStringLiteral("der Kopf fehlt"));
    readExactly(fd_, head, sizeof head, 0, path_);
    switch (kind_) {
    case MemoKind::Dbt3:
        blockSize_ = 512;
        break;
    case MemoKind::Dbt4: {
        const std::uint32_t size = std::uint8_t(head[20]) | (std::uint8_t(head[21]) << 8);
        blockSize_ = size == 0 ? 512 : size;
        if (blockSize_ < 32)
            corrupt(QStringLiteral("die Blockgröße %1 ist ungültig").arg(blockSize_));
        break;
    }
    case MemoKind::Fpt:
        blockSize_ = (std::uint8_t(head[6]) << 8) | std::uint8_t(head[7]);
        if (blockSize_ == 0)
            corrupt(QStringLiteral("die Blockgröße ist 0"));
        break;
    case MemoKind::None:
        break;
    }
}

MemoFile::~MemoFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::uint64_t MemoFile::fileSize() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Lesefehler in %1: %2").arg(path_, errnoText()));
    return std::uint64_t(st.st_size);
}

void MemoFile::corrupt(const QString& why) const
{
    throw EngineError(ErrorCode::CorruptFile, QStringLiteral("Die Memodatei %1 ist beschädigt: %2.").arg(path_, why));
}

std::uint64_t MemoFile::sizeCovering(std::uint64_t end) const
{
    if (end > knownSize_)
        knownSize_ = fileSize();
    return knownSize_;
}

QByteArray MemoFile::read(std::uint32_t block) const
{
    if (block == 0)
        return {};
    // The size last seen serves as long as the memo lies within it; only a memo beyond it (appended by another
    // writer since) costs a look at the file.
    const std::uint64_t offset = std::uint64_t(block) * blockSize_;
    std::uint64_t size = sizeCovering(offset + 8);
    if (offset >= size || (kind_ != MemoKind::Dbt3 && offset < blockSize_))
        corrupt(QStringLiteral("der Verweis auf Block %1 liegt außerhalb der Datei").arg(block));

    auto readTerminated = [&](std::uint64_t from) {
        // dBase III text runs to the first 0x1A; the file's end closes it too.
        QByteArray data;
        char chunk[4096];
        std::uint64_t at = from;
        while (at < (size = sizeCovering(at + 1))) {
            const std::size_t n = std::size_t(std::min<std::uint64_t>(sizeof chunk, size - at));
            readExactly(fd_, chunk, n, at, path_);
            const void* end = std::memchr(chunk, 0x1A, n);
            if (end) {
                data.append(chunk, static_cast<const char*>(end) - chunk);
                return data;
            }
            data.append(chunk, qsizetype(n));
            at += n;
            if (std::uint64_t(data.size()) > kMaxMemoBytes)
                corrupt(QStringLiteral("das Memo ab Block %1 hat kein Ende").arg(block));
        }
        return data;
    };

    if (kind_ == MemoKind::Dbt3 || kind_ == MemoKind::Dbt4) {
        // The first block in one read: most memos fit in it, header and all.
        char first[512];
        const std::size_t got = std::size_t(std::min<std::uint64_t>(sizeof first, size - offset));
        readExactly(fd_, first, got, offset, path_);
        const bool dbase4Block = got >= 8 && std::uint8_t(first[0]) == 0xFF && std::uint8_t(first[1]) == 0xFF &&
                                 first[2] == 0x08 && first[3] == 0x00;
        if (!dbase4Block) {
            if (const void* end = std::memchr(first, 0x1A, got))
                return QByteArray(first, qsizetype(static_cast<const char*>(end) - first));
            return readTerminated(offset);
        }
        const std::uint32_t length = u32le(first + 4);
        if (length < 8 || offset + length > sizeCovering(offset + length) || length - 8 > kMaxMemoBytes)
            corrupt(QStringLiteral("die Länge des Memos in Block %1 ist ungültig").arg(block));
        if (length <= got)
            return QByteArray(first + 8, qsizetype(length - 8));
        QByteArray data(qsizetype(length - 8), Qt::Uninitialized);
        readExactly(fd_, data.data(), std::size_t(data.size()), offset + 8, path_);
        return data;
    }

    // FoxPro
    char head[8];
    if (offset + 8 > size)
        corrupt(QStringLiteral("der Verweis auf Block %1 liegt außerhalb der Datei").arg(block));
    readExactly(fd_, head, 8, offset, path_);
    const std::uint32_t length = u32be(head + 4);
    if (length > kMaxMemoBytes || offset + 8 + length > sizeCovering(offset + 8 + length))
        corrupt(QStringLiteral("die Länge des Memos in Block %1 ist ungültig").arg(block));
    QByteArray data(qsizetype(length), Qt::Uninitialized);
    readExactly(fd_, data.data(), length, offset + 8, path_);
    return data;
}

std::uint32_t MemoFile::append(const QByteArray& data)
{
    const std::uint64_t size = fileSize();
    const std::uint64_t blocksInFile = (size + blockSize_ - 1) / blockSize_;
    char head[8];
    readExactly(fd_, head, 8, 0, path_);
    const std::uint32_t marker = u32le(head);

    QByteArray payload;
    if (kind_ == MemoKind::Dbt3) {
        payload = data;
        payload.replace('\x1A', QByteArray());  // the terminator cannot be part of the text
        payload.append("\x1A\x1A", 2);
        payload.append(QByteArray(qsizetype((blockSize_ - payload.size() % blockSize_) % blockSize_), '\0'));
    } else if (kind_ == MemoKind::Dbt4) {
        if (std::uint64_t(data.size()) > kMaxMemoBytes)
            throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Das Memo ist zu groß."));
        payload.resize(8);
        payload[0] = char(0xFF);
        payload[1] = char(0xFF);
        payload[2] = 0x08;
        payload[3] = 0x00;
        putU32le(payload.data() + 4, std::uint32_t(data.size() + 8));
        payload.append(data);
        // At least one filler byte: readers that take the length without its 8 header bytes stop at it.
        const qsizetype pad = blockSize_ - (payload.size() % blockSize_);
        payload.append(QByteArray(pad, '\x1F'));
        if (payload.size() % blockSize_ != 0)
            payload.append(QByteArray(blockSize_ - payload.size() % blockSize_, '\x1F'));
    } else {
        throw EngineError(ErrorCode::ReadOnlyTable, QStringLiteral("FoxPro-Memodateien werden nur gelesen."));
    }
    const std::uint64_t blocks = std::uint64_t(payload.size()) / blockSize_;

    // A new memo always starts at the file's end. A marker beyond it (left by a writer that died after claiming
    // blocks, or by damage) points at blocks nothing refers to; starting there would only leave a hole, which for
    // a damaged marker could be a terabyte of sparse file.
    const std::uint64_t start = std::max<std::uint64_t>(blocksInFile, 1);
    std::uint64_t lastFreeRun = 0;  // block of the free-list entry that ends the list, 0 when there is none
    if (kind_ == MemoKind::Dbt4 && marker < blocksInFile) {
        // dBase IV keeps a list of free runs ordered by block number; its last entry points at the end of the
        // file. Walk it with strictly rising block numbers, so a damaged list cannot loop.
        std::uint64_t run = marker;
        std::uint64_t steps = 0;
        while (true) {
            if (run == 0 || run >= blocksInFile || ++steps > blocksInFile)
                corrupt(QStringLiteral("die Liste der freien Blöcke ist ungültig"));
            char entry[8];
            readExactly(fd_, entry, 8, run * blockSize_, path_);
            const std::uint64_t next = u32le(entry);
            if (next >= blocksInFile) {
                lastFreeRun = run;
                break;
            }
            if (next <= run)
                corrupt(QStringLiteral("die Liste der freien Blöcke ist ungültig"));
            run = next;
        }
    }
    const std::uint64_t end = start + blocks;
    if (end > 0xFFFFFFFFu || end * blockSize_ > (std::uint64_t(1) << 40))
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Memodatei %1 ist voll.").arg(path_));

    // The marker first: it claims the blocks before anything is in them. Dying after it leaves the end of the used
    // area beyond the file's end, which every writer takes as the place for the next memo; the other order would
    // leave blocks behind the marker that a dBase IV reader takes for the start of its free list.
    char marker4[4];
    putU32le(marker4, std::uint32_t(end));
    writeExactly(fd_, marker4, 4, lastFreeRun * blockSize_, path_);
    writeExactly(fd_, payload.constData(), std::size_t(payload.size()), start * blockSize_, path_);
    knownSize_ = std::max(size, end * blockSize_);
    return std::uint32_t(start);
}

void MemoFile::reset()
{
    char marker4[4];
    putU32le(marker4, 1);
    writeExactly(fd_, marker4, 4, 0, path_);
    if (::ftruncate(fd_, off_t(std::max<std::uint32_t>(blockSize_, 512))) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    knownSize_ = fileSize();
}

QByteArray MemoFile::newDbt4Header()
{
    QByteArray head(512, '\0');
    head[0] = 1;  // the first free block: right after the header
    head[0x12] = 0x02;
    head[0x13] = 0x01;
    head[0x14] = char(0x00);
    head[0x15] = char(0x02);  // 512-byte blocks
    return head;
}

}  // namespace db::dbase
