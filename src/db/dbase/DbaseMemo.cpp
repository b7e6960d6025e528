#include "db/dbase/DbaseMemo.h"

#include "db/ByteOrder.h"
#include "db/EngineError.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace db::dbase {

namespace {


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
        const std::uint32_t size = getU16(head + 20);
        blockSize_ = size == 0 ? 512 : size;
        if (blockSize_ < 32)
            corrupt(QStringLiteral("die Blockgröße %1 ist ungültig").arg(blockSize_));
        break;
    }
    case MemoKind::Fpt:
        blockSize_ = getBE16(head + 6);
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

const char* MemoFile::windowed(std::uint64_t offset, std::size_t n, std::uint64_t size) const
{
    if (offset >= windowStart_ && offset + n <= windowStart_ + std::uint64_t(window_.size()))
        return window_.constData() + (offset - windowStart_);
    const std::size_t want = std::size_t(std::min<std::uint64_t>(kWindow, size - offset));
    window_.resize(qsizetype(std::max(want, n)));
    windowStart_ = offset;
    try {
        readExactly(fd_, window_.data(), std::size_t(window_.size()), offset, path_);
    } catch (...) {
        dropCache();
        throw;
    }
    return window_.constData();
}

QByteArray MemoFile::read(std::uint32_t block) const
{
    QByteArray holder;
    const QByteArrayView data = view(block, holder);
    if (data.size() == holder.size() && data.data() == holder.constData())
        return holder;
    return data.toByteArray();
}

QByteArrayView MemoFile::view(std::uint32_t block, QByteArray& holder) const
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
                break;
            }
            data.append(chunk, qsizetype(n));
            at += n;
            if (std::uint64_t(data.size()) > kMaxMemoBytes)
                corrupt(QStringLiteral("das Memo ab Block %1 hat kein Ende").arg(block));
        }
        holder = std::move(data);
        return QByteArrayView(holder);
    };

    if (kind_ == MemoKind::Dbt3 || kind_ == MemoKind::Dbt4) {
        // The first block: most memos fit in it, header and all.
        const std::size_t got = std::size_t(std::min<std::uint64_t>(512, size - offset));
        const char* first = windowed(offset, got, size);
        const bool dbase4Block = got >= 8 && std::uint8_t(first[0]) == 0xFF && std::uint8_t(first[1]) == 0xFF &&
                                 first[2] == 0x08 && first[3] == 0x00;
        if (!dbase4Block) {
            if (const void* end = std::memchr(first, 0x1A, got))
                return QByteArrayView(first, qsizetype(static_cast<const char*>(end) - first));
            return readTerminated(offset);
        }
        const std::uint32_t length = getU32(first + 4);
        if (length < 8 || offset + length > sizeCovering(offset + length) || length - 8 > kMaxMemoBytes)
            corrupt(QStringLiteral("die Länge des Memos in Block %1 ist ungültig").arg(block));
        if (length <= got)
            return QByteArrayView(first + 8, qsizetype(length - 8));
        if (length <= kWindow)
            return QByteArrayView(windowed(offset, length, sizeCovering(offset + length)) + 8, qsizetype(length - 8));
        holder = QByteArray(qsizetype(length - 8), Qt::Uninitialized);
        readExactly(fd_, holder.data(), std::size_t(holder.size()), offset + 8, path_);
        return QByteArrayView(holder);
    }

    // FoxPro
    if (offset + 8 > size)
        corrupt(QStringLiteral("der Verweis auf Block %1 liegt außerhalb der Datei").arg(block));
    const std::uint32_t length = getBE32(windowed(offset, 8, size) + 4);
    if (length > kMaxMemoBytes || offset + 8 + length > sizeCovering(offset + 8 + length))
        corrupt(QStringLiteral("die Länge des Memos in Block %1 ist ungültig").arg(block));
    if (8u + length <= kWindow)
        return QByteArrayView(windowed(offset, 8u + length, sizeCovering(offset + 8 + length)) + 8, qsizetype(length));
    holder = QByteArray(qsizetype(length), Qt::Uninitialized);
    readExactly(fd_, holder.data(), length, offset + 8, path_);
    return QByteArrayView(holder);
}

std::uint64_t MemoFile::storedSize(std::uint64_t dataSize) const
{
    if (kind_ == MemoKind::Dbt3)
        return (dataSize + 2 + blockSize_ - 1) / blockSize_ * blockSize_;
    // dBase IV: 8 header bytes and at least one filler byte, which readers that take the length without its header
    // stop at.
    return ((8 + dataSize) / blockSize_ + 1) * blockSize_;
}

std::uint64_t MemoFile::lastFreeRun(std::uint32_t marker, std::uint64_t blocksInFile) const
{
    if (kind_ != MemoKind::Dbt4 || marker >= blocksInFile)
        return 0;
    // dBase IV keeps a list of free runs ordered by block number; its last entry points at the end of the file.
    // Walk it with strictly rising block numbers, so a damaged list cannot loop.
    std::uint64_t run = marker;
    std::uint64_t steps = 0;
    while (true) {
        if (run == 0 || run >= blocksInFile || ++steps > blocksInFile)
            corrupt(QStringLiteral("die Liste der freien Blöcke ist ungültig"));
        char entry[8];
        readExactly(fd_, entry, 8, run * blockSize_, path_);
        const std::uint64_t next = getU32(entry);
        if (next >= blocksInFile)
            return run;
        if (next <= run)
            corrupt(QStringLiteral("die Liste der freien Blöcke ist ungültig"));
        run = next;
    }
}

std::uint64_t MemoFile::memoEnd(std::uint32_t block, std::uint64_t size) const
{
    const std::uint64_t offset = std::uint64_t(block) * blockSize_;
    auto cut = [&]() { corrupt(QStringLiteral("das Memo ab Block %1 ist abgeschnitten").arg(block)); };
    if (offset >= size)
        cut();
    if (kind_ == MemoKind::Dbt4 && size - offset >= 8) {
        char head[8];
        readExactly(fd_, head, 8, offset, path_);
        if (std::uint8_t(head[0]) == 0xFF && std::uint8_t(head[1]) == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
            const std::uint64_t end = offset + getU32(head + 4);
            if (end > size)
                cut();
            return end;
        }
    }
    // Text up to its terminator, as reading takes it: without one before the file's end, anything placed behind
    // would read as the memo's continuation.
    char chunk[4096];
    for (std::uint64_t at = offset; at < size && at - offset <= kMaxMemoBytes;) {
        const std::size_t n = std::size_t(std::min<std::uint64_t>(sizeof chunk, size - at));
        readExactly(fd_, chunk, n, at, path_);
        if (const void* end = std::memchr(chunk, 0x1A, n))
            return at + std::uint64_t(static_cast<const char*>(end) - chunk) + 1;
        at += n;
    }
    cut();
    return size;
}

void MemoFile::checkReferencesWithin(std::uint64_t size) const
{
    if (referenced_ != 0 && std::uint64_t(referenced_) * blockSize_ >= usedEnd_)
        usedEnd_ = memoEnd(referenced_, size);
    if (size < usedEnd_)
        corrupt(QStringLiteral("sie endet vor den Memos, auf die die Tabelle verweist; es wird nichts in sie "
                               "geschrieben"));
}

void MemoFile::checkAppendable() const
{
    if (kind_ != MemoKind::Dbt3 && kind_ != MemoKind::Dbt4)
        throw EngineError(ErrorCode::ReadOnlyTable, QStringLiteral("FoxPro-Memodateien werden nur gelesen."));
    const std::uint64_t size = fileSize();
    char head[8];
    readExactly(fd_, head, 8, 0, path_);
    lastFreeRun(getU32(head), (size + blockSize_ - 1) / blockSize_);
    checkReferencesWithin(size);
}

std::vector<std::uint32_t> MemoFile::appendAll(const std::vector<QByteArrayView>& memos)
{
    if (memos.empty())
        return {};
    if (kind_ != MemoKind::Dbt3 && kind_ != MemoKind::Dbt4)
        throw EngineError(ErrorCode::ReadOnlyTable, QStringLiteral("FoxPro-Memodateien werden nur gelesen."));
    dropCache();
    const std::uint64_t size = fileSize();
    const std::uint64_t blocksInFile = (size + blockSize_ - 1) / blockSize_;
    char head[8];
    readExactly(fd_, head, 8, 0, path_);
    const std::uint32_t marker = getU32(head);
    checkReferencesWithin(size);

    // A new memo always starts at the file's end. A marker beyond it (left by a writer that died after claiming
    // blocks, or by damage) points at blocks nothing refers to; starting there would only leave a hole, which for
    // a damaged marker could be a terabyte of sparse file.
    const std::uint64_t start = std::max<std::uint64_t>(blocksInFile, 1);
    std::uint64_t total = 0;
    for (const QByteArrayView data : memos) {
        if (std::uint64_t(data.size()) > kMaxMemoBytes)
            throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Das Memo ist zu groß."));
        const auto terminators = kind_ == MemoKind::Dbt3 ? std::count(data.begin(), data.end(), '\x1A') : 0;
        total += storedSize(std::uint64_t(data.size() - terminators));
    }
    const std::uint64_t end = start + total / blockSize_;
    if (end > 0xFFFFFFFFu || end * blockSize_ > (std::uint64_t(1) << 40))
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Memodatei %1 ist voll.").arg(path_));
    const std::uint64_t freeRun = lastFreeRun(marker, blocksInFile);

    std::vector<std::uint32_t> blocks;
    blocks.reserve(memos.size());
    QByteArray payload(qsizetype(total), Qt::Uninitialized);
    char* out = payload.data();
    std::uint64_t block = start;
    for (const QByteArrayView data : memos) {
        blocks.push_back(std::uint32_t(block));
        char* const begin = out;
        if (kind_ == MemoKind::Dbt3) {
            // The terminator cannot be part of the text.
            for (const char c : data)
                if (c != '\x1A')
                    *out++ = c;
            const std::uint64_t stored = storedSize(std::uint64_t(out - begin));
            *out++ = '\x1A';
            *out++ = '\x1A';
            std::memset(out, 0, std::size_t(stored - std::uint64_t(out - begin)));
            out = begin + stored;
        } else {
            const std::uint64_t stored = storedSize(std::uint64_t(data.size()));
            out[0] = char(0xFF);
            out[1] = char(0xFF);
            out[2] = 0x08;
            out[3] = 0x00;
            putU32(out + 4, std::uint32_t(data.size() + 8));
            if (!data.isEmpty())
                std::memcpy(out + 8, data.data(), std::size_t(data.size()));
            std::memset(out + 8 + data.size(), '\x1F', std::size_t(stored - 8 - std::uint64_t(data.size())));
            out = begin + stored;
        }
        block += std::uint64_t(out - begin) / blockSize_;
    }

    // The marker first: it claims the blocks before anything is in them. Dying after it leaves the end of the used
    // area beyond the file's end, which every writer takes as the place for the next memo; the other order would
    // leave blocks behind the marker that a dBase IV reader takes for the start of its free list.
    char marker4[4];
    putU32(marker4, std::uint32_t(end));
    writeExactly(fd_, marker4, 4, freeRun * blockSize_, path_);
    writeExactly(fd_, payload.constData(), std::size_t(payload.size()), start * blockSize_, path_);
    knownSize_ = std::max(size, end * blockSize_);
    usedEnd_ = std::max(usedEnd_, end * blockSize_);
    return blocks;
}

void MemoFile::reset()
{
    char marker4[4];
    putU32(marker4, 1);
    writeExactly(fd_, marker4, 4, 0, path_);
    if (::ftruncate(fd_, off_t(std::max<std::uint32_t>(blockSize_, 512))) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    knownSize_ = fileSize();
    forgetReferences();
    dropCache();
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
