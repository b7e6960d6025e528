// Writing Paradox table file sets.
//
// Crash safety. A process may die between any two system calls (a single pwrite or rename counts as done or not
// done). Power loss is covered as far as fsync covers it: a flush first writes the blob file's new blocks and both
// scratch files, then syncs the .MB, the scratch .DB and the scratch .PX, and only then renames; the folder is
// synced after each rename. (The disk is asked to start on each file as soon as it is written, which changes what
// the syncs wait for, not what they guarantee.) A scratch table (setScratch) leaves the syncs out: the invariants
// below still hold against the death of the process, and a power loss may cost it its contents, which its owner
// builds anew.
//
// Invariants:
//   1. The .DB under its real name is always a complete table: it is only ever replaced as a whole, by rename(2)
//      of a fully written and synced scratch file ("NAME.DB.new~"); it is never written in place. A flush that
//      fails removes its scratch files again.
//   2. No byte of the .MB that a record of the current .DB points to is ever overwritten. New blobs go to blocks
//      appended past the end of the file, or to unused entries of a suballocation block appended in this session;
//      they become reachable only when invariant 1 puts in the .DB that points to them. Appended blocks may wait
//      in memory (BlobFile) but are written before the scratch .DB is written, and synced before it is renamed
//      into place. Unreachable blocks left by a crash are wasted space, not damage. The only in-place write is
//      the header's modification counter, a two-byte field nothing depends on for reading. Another writer may
//      append to the same .MB: a batch of appended blocks starts at the file's end as it is when the batch
//      begins (never at an end remembered from before), and blocks go out only in the writer's turn (5) and only
//      while the file still ends where this writer left it; otherwise the write is refused (0x2803).
//   3. The .PX is derived data. It is rebuilt from the records at every flush and renamed into place after the
//      .DB; its stamp (byte 0x2C) names the .DB change count (byte 0x2D) it was built for. A crash between the two
//      renames leaves a .PX whose stamp disagrees with the .DB: an index out of date, which this engine rebuilds
//      at the next write and never reads (it finds keys in the records themselves). The folder is synced between
//      the two renames, so that a power loss cannot keep the new .PX beside the old .DB: the next flush would give
//      its .DB the very stamp that .PX carries, and a crash before that flush's own .PX rename would leave an index
//      of other records whose stamp agrees.
//   4. The inter-process lock always sits on the file the table's name points to: the scratch .DB is locked in
//      the mode of the open table before it is renamed over the old one, and the old lock is dropped after.
//   5. Writers of one folder take turns under an exclusive lock on the folder (ParadoxStorage::beginTurn), for
//      every write into a file they share (the .MB's blocks and counter, a new .MB, the flush) and not only at the
//      flush; a writer whose .DB was replaced by someone else since it read or last wrote it refuses to write (it
//      would undo the other's changes, or write blobs where the other's now lie).
//   6. Nothing is written while the table is only being read: open() never changes a file.
//   7. A companion file that exists is never replaced by a new one: a new .MB is put in place only where there is
//      none, by a rename that refuses to replace; a companion that fails to open again for writing stays open as
//      it was, and the write fails.
//   8. A table one of whose files the user protected (no write bit in its mode; root's open() would not refuse)
//      is read-only, decided when it is opened and again in every turn: its files are neither written nor
//      replaced by rename.
//
// States of a table file set and the function that moves it on:
//
//            insert/update/remove/empty                         flush(): writeFileSet()
//   CLEAN  ----------------------------->  DIRTY (in memory)  -------------------------> SCRATCH WRITTEN
//     ^                                      |  .MB may hold new, unreachable blobs         |  .MB, .DB.new~,
//     |                                      |  (BlobFile::write, written out in a turn, 5) |  .PX.new~ synced
//     |                                      v                                              v
//     |                      process dies: old .DB + old .PX = old table (1, 2)      renameFile(.DB): DB SWITCHED
//     |                      flush fails: scratch files removed, still DIRTY (1)            |
//     |                                                                                     |  old .PX stale (3)
//     +-------------------------------------------------------------------------------------+
//                                    renameFile(.PX), syncDirectory(): CLEAN again

#include "db/EngineError.h"
#include "db/FileNames.h"
#include "db/paradox/ParadoxStorage.h"
#include "db/paradox/ParadoxTable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace db::paradox {

namespace {

constexpr int kHeaderUnit = 0x800;
constexpr qint64 kWriteBuffer = 1 << 20;

qint64 inodeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return qint64(st.st_ino);
}

int fileModeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return 0644;
    return int(st.st_mode & 07777);
}

// Writes a file from its start through a buffer, so that a big table goes out in large writes. Callers build their
// blocks right in the buffer (room()). After each write the system is asked to start putting the bytes on the
// disk, so that the sync at the end has little left to wait for.
class BufferedWriter {
public:
    BufferedWriter(PosixFile& file, bool startWriteback)
        : file_(file), buffer_(new char[size_t(kWriteBuffer)]), startWriteback_(startWriteback)
    {
    }
    // Room for the next n (at most kWriteBuffer) bytes of the file; the caller sets every one of them.
    char* room(qint64 n)
    {
        if (used_ + n > kWriteBuffer) flush();
        char* p = buffer_.get() + used_;
        used_ += n;
        return p;
    }
    void append(const char* data, qint64 n)
    {
        if (used_ + n <= kWriteBuffer) {
            std::memcpy(room(n), data, size_t(n));
            return;
        }
        flush();
        write(data, n);
    }
    void flush()
    {
        write(buffer_.get(), used_);
        used_ = 0;
    }

private:
    void write(const char* data, qint64 n)
    {
        if (n == 0) return;
        file_.writeAt(offset_, data, n);
        if (startWriteback_) file_.startWriteback(offset_, n);
        offset_ += n;
    }

    PosixFile& file_;
    std::unique_ptr<char[]> buffer_;
    qint64 used_ = 0;
    qint64 offset_ = 0;
    bool startWriteback_;
};

// Writes a new file from header and what body appends. It is not synced yet: the caller syncs it (durable files)
// before it renames it into place.
PosixFile writeScratch(const QString& scratch, const QByteArray& header, int mode,
                       const std::function<void(BufferedWriter&)>& body, bool durable)
{
    PosixFile file;
    file.open(scratch, O_WRONLY | O_CREAT | O_TRUNC, mode);
    BufferedWriter out(file, durable);
    out.append(header.constData(), header.size());
    if (body) body(out);
    out.flush();
    return file;
}

std::uint8_t nextStamp(std::uint8_t stamp)
{
    // The original engine is said to trust an index only once the table's change count is at least 2.
    const int next = (stamp + 1) & 0xFF;
    return std::uint8_t(next < 2 ? 2 : next);
}

struct IndexEntry {
    const char* key = nullptr;
    int block = 0;
    int count = 0;
};

void putIndexShort(char* p, int value)
{
    // Stored like a Short field (big-endian, top bit flipped); block numbers and counts above 32767 keep their
    // low 16 bits, as the field has no more room.
    putBE16(p, std::uint32_t((value & 0xFFFF) ^ 0x8000));
}

}  // namespace

QByteArray ParadoxStorage::buildHeader(qint64 records, int blocks) const
{
    QByteArray raw = header_.raw;
    char* d = raw.data();
    putU32(d + 0x06, std::uint32_t(records));
    putU16(d + 0x0A, std::uint32_t(blocks));
    putU16(d + 0x0C, std::uint32_t(blocks));
    putU16(d + 0x0E, blocks > 0 ? 1 : 0);
    putU16(d + 0x10, std::uint32_t(blocks));
    d[0x14] = 0;
    d[0x2A] = 0;
    d[0x2D] = char(nextStamp(std::uint8_t(d[0x2D])));
    putU16(d + 0x3A, std::uint32_t(blocks));
    putU32(d + 0x49, std::uint32_t(autoInc_));
    putU16(d + 0x4D, 0);
    d[0x4F] = 0;
    return raw;
}

QByteArray ParadoxStorage::buildPrimaryIndex(const std::vector<BlockRef>& dataBlocks, int dbChangeStamp) const
{
    const int k = header_.keyFieldCount;
    const int keySize = header_.layout[size_t(k - 1)].offset + header_.layout[size_t(k - 1)].length;
    const int entrySize = keySize + 6;
    int blockCode = 2;
    while ((blockCode * 1024 - kBlockHeaderSize) / entrySize < 3) blockCode *= 2;
    const int blockSize = blockCode * 1024;
    const int perBlock = (blockSize - kBlockHeaderSize) / entrySize;

    // The shape of the tree follows from the number of data blocks: each level has an entry for every block of the
    // level below, up to the level that fits in one block, the root.
    int count = 0;
    int levels = 0;
    qint64 totalEntries = 0;
    std::vector<int> levelBlockCounts;  // from the lowest level up
    for (qint64 entries = qint64(dataBlocks.size()); entries > 0;) {
        ++levels;
        totalEntries += entries;
        const qint64 levelBlocks = (entries + perBlock - 1) / perBlock;
        count += int(levelBlocks);
        levelBlockCounts.push_back(int(levelBlocks));
        if (levelBlocks == 1) break;
        entries = levelBlocks;
    }
    if (count > kMaxBlocks)
        throw EngineError(ErrorCode::NotSupported, QStringLiteral("Der Primärindex der Tabelle wird zu groß."));

    const int tableNameSize = header_.tableNameSize();
    const int real = 0x58 + 2 * k + 4 + tableNameSize;
    const int headerSize = (real + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit;
    QByteArray file(headerSize + qint64(count) * blockSize, '\0');

    // The keys stay in the records; the rows do not change while the index is built.
    std::vector<IndexEntry> level;
    level.reserve(dataBlocks.size());
    for (const BlockRef& b : dataBlocks) level.push_back({rows_[size_t(b.firstRow)], b.block, b.count});
    // The root is the first block, each level follows the one above it, and the chain runs through all blocks in
    // file order: readers that walk the tree start from the root (header 0x1E), and readers that take the first
    // block of the chain for the root and the rest for the lowest level (pxlib does) read a two-level tree right.
    int levelStart = count + 1;  // the number of the first block of the level being built
    int root = 1;
    for (int lowest = 0; !level.empty(); ++lowest) {
        levelStart -= levelBlockCounts[size_t(lowest)];
        int made = levelStart - 1;
        std::vector<IndexEntry> upper;
        for (size_t start = 0; start < level.size(); start += size_t(perBlock)) {
            const size_t end = std::min(level.size(), start + size_t(perBlock));
            const int number = ++made;
            char* d = file.data() + headerSize + qint64(number - 1) * blockSize;
            putU16(d, std::uint32_t(number < count ? number + 1 : 0));
            putU16(d + 2, std::uint32_t(number - 1));
            putU16(d + 4, std::uint32_t(std::int16_t((int(end - start) - 1) * entrySize)));
            int sum = 0;
            for (size_t i = start; i < end; ++i) {
                char* e = d + kBlockHeaderSize + (i - start) * size_t(entrySize);
                std::memcpy(e, level[i].key, size_t(keySize));
                putIndexShort(e + keySize, level[i].block);
                putIndexShort(e + keySize + 2, level[i].count);
                putIndexShort(e + keySize + 4, 0);
                sum += level[i].count;
            }
            upper.push_back({level[start].key, number, sum});
        }
        if (upper.size() == 1) {
            root = upper.front().block;
            break;
        }
        level = std::move(upper);
    }

    char* h = file.data();
    putU16(h + 0x00, std::uint32_t(entrySize));
    putU16(h + 0x02, std::uint32_t(headerSize));
    h[0x04] = char(FileType::PrimaryIndex);
    h[0x05] = char(blockCode);
    putU32(h + 0x06, std::uint32_t(totalEntries));
    putU16(h + 0x0A, std::uint32_t(count));
    putU16(h + 0x0C, std::uint32_t(count));
    putU16(h + 0x0E, count > 0 ? 1 : 0);
    putU16(h + 0x10, std::uint32_t(count));
    putU16(h + 0x1E, std::uint32_t(root));
    h[0x20] = char(levels);
    putU16(h + 0x21, std::uint32_t(k));
    h[0x29] = char(header_.sortOrder);
    h[0x2C] = char(dbChangeStamp);
    h[0x39] = char(header_.fileVersion);
    putU16(h + 0x3A, std::uint32_t(count));
    putU32(h + 0x49, 1);
    putU16(h + 0x51, std::uint32_t(real));
    for (int i = 0; i < k; ++i) {
        h[0x58 + 2 * i] = char(header_.layout[size_t(i)].type);
        h[0x58 + 2 * i + 1] = char(header_.layout[size_t(i)].sizeByte);
    }
    const QByteArray name = QFileInfo(path_).fileName().toLatin1().left(tableNameSize - 1);
    std::memcpy(h + 0x58 + 2 * k + 4, name.constData(), size_t(name.size()));
    return file;
}

void ParadoxStorage::writeFileSet()
{
    RowWalker rows(rows_);
    const auto rs = size_t(header_.recordSize);
    writeFileSetOf(qint64(rows_.size()), [&](char* record) { std::memcpy(record, rows.next(), rs); });
}

template <class Fill>
void ParadoxStorage::writeFileSetOf(qint64 records, Fill&& fill)
{
    const int rs = header_.recordSize;
    // The whole file is written anew anyway: a table that outgrows its blocks moves to larger ones here. Otherwise
    // it keeps the size it has, which may be one another program chose.
    const int blockCode = blockCodeFor(header_.fileVersion, rs, records, header_.blockSize / 1024);
    if (blockCode == 0) throw EngineError(ErrorCode::NotSupported, fullMessage());
    const int blockSize = blockCode * 1024;
    const int perBlock = (blockSize - kBlockHeaderSize) / rs;
    const int blocks = int((records + perBlock - 1) / perBlock);
    std::vector<BlockRef> layout;
    for (int b = 0; b < blocks; ++b) {
        const int first = b * perBlock;
        layout.push_back({b + 1, std::min<int>(perBlock, int(records) - first), first});
    }

    WriterTurn turn(this);
    // Everything is written before anything is synced, so that the disk works on all files while the next is
    // built; the syncs all come before the first rename.
    if (blobs_.isOpen()) blobs_.writeOut();

    QByteArray header = buildHeader(records, blocks);
    header[0x05] = char(blockCode);
    const int mode = fileModeOf(path_);
    const QString dbScratch = scratchPathFor(path_);
    ScratchFile dbScratchFile(dbScratch);
    PosixFile dbFile = writeScratch(dbScratch, header, mode, [&](BufferedWriter& out) {
        for (const BlockRef& b : layout) {
            char* d = out.room(blockSize);
            putU16(d, std::uint32_t(b.block < blocks ? b.block + 1 : 0));
            putU16(d + 2, std::uint32_t(b.block - 1));
            putU16(d + 4, std::uint32_t(std::int16_t((b.count - 1) * rs)));
            char* p = d + kBlockHeaderSize;
            for (int i = 0; i < b.count; ++i, p += rs) fill(p);
            std::memset(p, 0, size_t(d + blockSize - p));
        }
    }, durable_);

    QString pxPath;
    PosixFile pxFile;
    if (header_.keyFieldCount > 0) {
        pxPath = findCompanion(path_, QStringLiteral("PX"));
        if (pxPath.isEmpty()) pxPath = newCompanionPath(path_, QStringLiteral("PX"));
    }
    const QString pxScratch = pxPath.isEmpty() ? QString() : scratchPathFor(pxPath);
    ScratchFile pxScratchFile(pxScratch);
    if (!pxPath.isEmpty()) {
        const QByteArray px = buildPrimaryIndex(layout, std::uint8_t(header.at(0x2D)));
        pxFile = writeScratch(pxScratch, px, fileModeOf(pxPath), {}, durable_);
    }
    if (durable_) {
        if (blobs_.isOpen()) blobs_.sync();
        dbFile.sync();
        if (pxFile.isOpen()) pxFile.sync();
    }
    dbFile.close();
    pxFile.close();

    FileLock newLock;
    newLock.acquire(dbScratch, mode_);
    renameFile(dbScratch, path_);
    dbScratchFile.keep();
    if (durable_) syncDirectory(path_);  // before the .PX follows, see invariant 3
    lock_ = std::move(newLock);
    dbInode_ = inodeOf(path_);  // first: the table under the name is ours, whatever fails below
    db_.open(path_, O_RDONLY);
    if (blobs_.isOpen()) blobs_.settle();
    if (!pxScratch.isEmpty()) {
        renameFile(pxScratch, pxPath);
        pxScratchFile.keep();
        pxPath_ = pxPath;
        if (durable_) syncDirectory(pxPath);
    }

    header_.raw = header;
    header_.blockSize = blockSize;
    header_.numRecords = std::uint32_t(records);
    header_.blocksInUse = header_.fileBlocks = header_.lastBlock = blocks;
    header_.firstBlock = blocks > 0 ? 1 : 0;
    header_.autoInc = autoInc_;
    blocks_ = layout;
    rowCount_ = int(records);
}

void ParadoxStorage::writeTextBytesTable(qint64 count, int fieldCount, const std::function<void(QByteArrayView*)>& next)
{
    checkWritable();
    // Only a table read from its file and holding nothing is written straight from the texts: anything else, a
    // table too small for them (refused at the record that does not fit) and no records at all (nothing to write)
    // go the way of single records.
    if (count == 0 || materialized_ || dirty_ || rowCount_ != 0 || count > recordCapacity() || blobs_.isOpen() ||
        !appendsTextBytes(codec_.codePage(), fieldCount)) {
        TableStorage::writeTextBytesTable(count, fieldCount, next);
        return;
    }
    std::vector<QByteArrayView> texts(static_cast<size_t>(fieldCount));
    const auto rs = size_t(header_.recordSize);
    writeFileSetOf(count, [&](char* record) {
        std::memset(record, 0, rs);
        next(texts.data());
        for (size_t i = 0; i < size_t(fieldCount); ++i) {
            const FieldLayout& f = header_.layout[i];
            const QByteArrayView text = texts[i];
            if (!text.isEmpty())
                std::memcpy(record + f.offset, text.data(), size_t(std::min<qsizetype>(text.size(), f.length)));
        }
    });
    // The records are read from the file from now on, as those of a table opened anew.
    fileSize_ = db_.size();
    forgetReadCaches();
    ++changes_;
}

void ParadoxStorage::flush()
{
    if (!dirty_) return;
    placeUnplaced();
    writeFileSet();
    dirty_ = false;
}

// ---- new tables ------------------------------------------------------------------------------------------------

namespace {

struct NewTableOrder {
    const char* name;
    std::uint8_t id;
    int codePage;
};

// Keyed tables get byte order, which every engine agrees on; keyless ones the Windows international order.
constexpr NewTableOrder kKeyedOrder{"ascii", 0x00, 437};
constexpr NewTableOrder kKeylessOrder{"ANSIINTL", 0x62, 1252};

[[noreturn]] void badDefinition(const QString& text)
{
    throw EngineError(ErrorCode::InvalidValue, text);
}

// The layout of a new table's records, with every field definition checked.
std::vector<FieldLayout> newLayout(const FieldDefList& fields, int keyFieldCount)
{
    const int n = int(fields.size());
    if (n < 1 || n > 255) badDefinition(QStringLiteral("Eine Paradox-Tabelle hat 1 bis 255 Felder, nicht %1.").arg(n));
    if (keyFieldCount < 0 || keyFieldCount > n || keyFieldCount > 16)
        badDefinition(QStringLiteral("Unmögliche Zahl von Schlüsselfeldern: %1.").arg(keyFieldCount));
    std::vector<FieldLayout> layout;
    QSet<QString> seen;
    int offset = 0;
    for (int i = 0; i < n; ++i) {
        const FieldDef& def = fields[size_t(i)];
        const QString name = def.name;
        if (name.trimmed().isEmpty() || name.size() > 25 || name.startsWith(QLatin1Char(' ')))
            badDefinition(QStringLiteral("Der Feldname \"%1\" ist nicht zulässig.").arg(name));
        if (seen.contains(name.toUpper())) badDefinition(QStringLiteral("Das Feld %1 kommt doppelt vor.").arg(name));
        seen.insert(name.toUpper());
        FieldLayout f;
        f.type = typeCodeOf(def.type);
        if (f.type == 0)
            throw EngineError(ErrorCode::NotSupported,
                              QStringLiteral("Das Feld %1 hat einen Typ, den Paradox-Tabellen nicht kennen.").arg(name));
        switch (f.type) {
        case TypeCode::Alpha:
        case TypeCode::Bytes:
            if (def.size < 1 || def.size > 255)
                badDefinition(QStringLiteral("Das Feld %1 muss 1 bis 255 Zeichen lang sein.").arg(name));
            f.sizeByte = std::uint8_t(def.size);
            break;
        case TypeCode::Memo:
        case TypeCode::Blob:
        case TypeCode::FmtMemo:
        case TypeCode::Ole:
        case TypeCode::Graphic: {
            const int minimum = f.type == TypeCode::Memo ? 1 : 0;
            if (def.size < minimum || def.size > 240)
                badDefinition(QStringLiteral("Das Memofeld %1 kann %2 bis 240 Zeichen im Satz halten, nicht %3.")
                                  .arg(name)
                                  .arg(minimum)
                                  .arg(def.size));
            f.sizeByte = std::uint8_t(def.size + kBlobPointerSize);
            break;
        }
        case TypeCode::Bcd:
            if (def.precision < 0 || def.precision > 32)
                badDefinition(QStringLiteral("Das Feld %1 kann 0 bis 32 Nachkommastellen haben.").arg(name));
            f.sizeByte = std::uint8_t(def.precision);
            break;
        case TypeCode::Short: f.sizeByte = 2; break;
        case TypeCode::Logical: f.sizeByte = 1; break;
        case TypeCode::Money:
        case TypeCode::Number:
        case TypeCode::Timestamp: f.sizeByte = 8; break;
        default: f.sizeByte = 4; break;
        }
        f.length = recordBytesOf(f.type, f.sizeByte);
        f.offset = offset;
        offset += f.length;
        if (i < keyFieldCount && f.isBlob())
            badDefinition(QStringLiteral("Das Memofeld %1 kann nicht zum Schlüssel gehören.").arg(name));
        layout.push_back(f);
    }
    return layout;
}

int recordSizeOf(const std::vector<FieldLayout>& layout)
{
    return layout.back().offset + layout.back().length;
}

}  // namespace

static void createTable(const QString& requestedPath, const FieldDefList& fields, int keyFieldCount)
{
    const int n = int(fields.size());
    const NewTableOrder order = keyFieldCount > 0 ? kKeyedOrder : kKeylessOrder;
    const TextCodec codec(order.codePage, QString::fromLatin1(order.name));

    TableHeader h;
    h.fileVersion = kLevel7;
    h.fileType = keyFieldCount > 0 ? FileType::KeyedTable : FileType::UnkeyedTable;
    h.keyFieldCount = keyFieldCount;
    h.sortOrder = order.id;
    h.sortOrderName = QString::fromLatin1(order.name);
    h.codePage = order.codePage;
    h.layout = newLayout(fields, keyFieldCount);
    for (const FieldDef& def : fields) h.fieldNames.push_back(codec.encode(def.name));
    h.recordSize = recordSizeOf(h.layout);
    // A new table starts with the blocks most real files have, 2 KB, or larger ones where these would not hold
    // three records (the original engine's rule for keyed tables). A flush moves it to larger ones as it grows.
    int blockCode = 2;
    while (blockCode != 0 && (blockCode * 1024 - kBlockHeaderSize) / h.recordSize < 3)
        blockCode = nextBlockCode(h.fileVersion, blockCode);
    if (blockCode == 0) badDefinition(QStringLiteral("Die Sätze der Tabelle wären mit %1 Bytes zu lang.").arg(h.recordSize));
    h.blockSize = blockCode * 1024;

    const QString path = QFileInfo(requestedPath).absoluteFilePath();
    // An existing table of this name (in any case) is replaced, but only while nobody has it open.
    QString existing = findFileIgnoringCase(path);
    if (!QFileInfo(existing).isFile()) existing.clear();
    FileLock oldLock;
    std::uint8_t oldStructureStamp = 0;
    if (!existing.isEmpty()) {
        oldLock.acquire(existing, OpenMode::Exclusive);
        QFile old(existing);
        if (old.open(QIODevice::ReadOnly)) {
            const QByteArray head = old.read(0x30);
            if (head.size() == 0x30) oldStructureStamp = std::uint8_t(head.at(0x2E));
        }
    }

    const int real = realHeaderSize(h);
    h.headerSize = (real + kHeaderUnit - 1) / kHeaderUnit * kHeaderUnit;
    QByteArray raw(h.headerSize, '\0');
    char* d = raw.data();
    putU16(d + 0x00, std::uint32_t(h.recordSize));
    putU16(d + 0x02, std::uint32_t(h.headerSize));
    d[0x04] = char(h.fileType);
    d[0x05] = char(blockCode);
    putU16(d + 0x12, 12);
    putU16(d + 0x21, std::uint32_t(n));
    putU16(d + 0x23, std::uint32_t(keyFieldCount));
    putU32(d + 0x25, 0xFF00FF00u);
    d[0x29] = char(h.sortOrder);
    d[0x2D] = 2;
    // A new structure stamp, so that validity checks of a replaced table no longer apply.
    d[0x2E] = char(nextStamp(std::uint8_t(oldStructureStamp + 16)));
    d[0x39] = char(h.fileVersion);
    d[0x3E] = 0x1F;
    d[0x3F] = 0x0F;
    putU16(d + 0x51, std::uint32_t(real));
    d[0x56] = 0x20;
    putU16(d + 0x58, 0x0100u + std::uint32_t(h.fileVersion));
    putU16(d + 0x5A, 0x0100u + std::uint32_t(h.fileVersion));
    putU32(d + 0x60, std::uint32_t(std::time(nullptr)));
    putU16(d + 0x64, std::uint32_t(n + 1));
    putU16(d + 0x6A, std::uint32_t(h.codePage));
    d[0x6C] = 1;
    d[0x6D] = 1;
    int pos = 0x78;
    for (const FieldLayout& f : h.layout) {
        d[pos++] = char(f.type);
        d[pos++] = char(f.sizeByte);
    }
    pos += 4 + 4 * n;  // pointers the original engine keeps in memory
    const QByteArray tableName = QFileInfo(path).fileName().toLatin1().left(h.tableNameSize() - 1);
    std::memcpy(d + pos, tableName.constData(), size_t(tableName.size()));
    pos += h.tableNameSize();
    for (const QByteArray& name : h.fieldNames) {
        std::memcpy(d + pos, name.constData(), size_t(name.size()));
        pos += int(name.size()) + 1;
    }
    putU16(d + 0x66, std::uint32_t(pos - 0x58));
    for (int i = 0; i < n; ++i) {
        putU16(d + pos, std::uint32_t(i + 1));
        pos += 2;
    }
    putU16(d + 0x6E, std::uint32_t(pos - 0x58));
    std::memcpy(d + pos, order.name, std::strlen(order.name));

    const bool hasBlobs = std::any_of(h.layout.begin(), h.layout.end(), [](const FieldLayout& f) { return f.isBlob(); });
    const QString dbScratch = scratchPathFor(path);
    const QString pxPath = newCompanionPath(path, QStringLiteral("PX"));
    const QString mbPath = newCompanionPath(path, QStringLiteral("MB"));
    ScratchFile dbScratchFile(dbScratch);
    ScratchFile pxScratchFile(keyFieldCount > 0 ? scratchPathFor(pxPath) : QString());
    ScratchFile mbScratchFile(hasBlobs ? scratchPathFor(mbPath) : QString());
    PosixFile dbFile = writeScratch(dbScratch, raw, existing.isEmpty() ? 0644 : fileModeOf(existing), {}, true);
    PosixFile pxFile;
    PosixFile mbFile;
    if (keyFieldCount > 0) {
        QByteArray px(kHeaderUnit, '\0');
        char* p = px.data();
        const int keyBytes = h.layout[size_t(keyFieldCount - 1)].offset + h.layout[size_t(keyFieldCount - 1)].length;
        putU16(p + 0x00, std::uint32_t(keyBytes + 6));
        putU16(p + 0x02, kHeaderUnit);
        p[0x04] = char(FileType::PrimaryIndex);
        p[0x05] = 2;
        putU16(p + 0x1E, 1);
        putU16(p + 0x21, std::uint32_t(keyFieldCount));
        p[0x29] = char(h.sortOrder);
        p[0x2C] = d[0x2D];
        p[0x39] = char(h.fileVersion);
        putU32(p + 0x49, 1);
        putU16(p + 0x51, std::uint32_t(0x58 + 2 * keyFieldCount + 4 + h.tableNameSize()));
        for (int i = 0; i < keyFieldCount; ++i) {
            p[0x58 + 2 * i] = char(h.layout[size_t(i)].type);
            p[0x58 + 2 * i + 1] = char(h.layout[size_t(i)].sizeByte);
        }
        std::memcpy(p + 0x58 + 2 * keyFieldCount + 4, tableName.constData(), size_t(tableName.size()));
        pxFile = writeScratch(scratchPathFor(pxPath), px, 0644, {}, true);
    }
    if (hasBlobs) mbFile = BlobFile::writeEmpty(scratchPathFor(mbPath));
    // Every file is written before any is synced: the disk works on all of them at once.
    for (PosixFile* file : {&dbFile, &pxFile, &mbFile})
        if (file->isOpen()) file->sync();

    FolderLock folderLock(path);
    // The new .DB first: from here on the name holds the new, empty table, which points into no other file. Where
    // no table is replaced, no old .DB can meet the new companions, and the names need not be durable in order.
    const QStringList stale =
        findCompanions(path, QStringLiteral("DB|PX|MB|VAL|[XY][0-9A-Fa-f]{2}|[XY]G[0-9A-Fa-f]"));
    renameFile(dbScratch, path);
    dbScratchFile.keep();
    if (!existing.isEmpty() || !stale.isEmpty()) syncDirectory(path);
    QStringList keep{path};
    if (keyFieldCount > 0) {
        renameFile(scratchPathFor(pxPath), pxPath);
        pxScratchFile.keep();
        keep << pxPath;
    }
    if (hasBlobs) {
        renameFile(scratchPathFor(mbPath), mbPath);
        mbScratchFile.keep();
        keep << mbPath;
    }
    // Whatever else belonged to the replaced table describes a structure that no longer exists.
    for (const QString& file : stale)
        if (!keep.contains(file)) QFile::remove(file);
    syncDirectory(path);
}

TableStoragePtr open(const QString& path, OpenMode mode)
{
    return ParadoxStorage::open(path, mode);
}

void create(const QString& path, const FieldDefList& fields, int keyFieldCount)
{
    createTable(path, fields, keyFieldCount);
}

qint64 capacity(const FieldDefList& fields, int keyFieldCount)
{
    return recordCapacity(kLevel7, recordSizeOf(newLayout(fields, keyFieldCount)));
}

}  // namespace db::paradox
