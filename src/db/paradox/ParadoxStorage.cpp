#include "db/paradox/ParadoxStorage.h"

#include "db/EngineError.h"
#include "db/FileNames.h"
#include "db/paradox/ParadoxValidity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>

namespace db::paradox {

namespace {

constexpr int kMaxHeaderRead = 0x10000;
constexpr qint64 kBlockCacheLimit = 16 << 20;
constexpr qint64 kChunkBytes = 64 << 10;
constexpr int kSampleRows = 8;
constexpr std::size_t kFewUnplaced = 4;  // records held back that are placed one by one rather than sorted

// The indexes of the fields a change mask marks, in order. The marks are read eight at a time: a post of an import
// run marks one field of many.
void markedFields(const std::vector<char>& mask, std::vector<int>& marked)
{
    marked.clear();
    const size_t n = mask.size();
    const char* m = mask.data();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, m + i, 8);
        // The top bit of every byte that is not zero, without a carry from one byte into the next; the first byte
        // in memory is the lowest (little-endian), so the marks come out in field order.
        std::uint64_t set = (((word & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | word) & 0x8080808080808080ull;
        for (; set != 0; set &= set - 1) marked.push_back(int(i + size_t(std::countr_zero(set)) / 8));
    }
    for (; i < n; ++i)
        if (m[i]) marked.push_back(int(i));
}

QString resolveTablePath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile()) return info.absoluteFilePath();
    // The original platform ignores case in file names; so do we, and a name without extension means the .DB.
    const QDir dir = info.absoluteDir();
    const QString wanted = info.suffix().isEmpty() ? info.fileName() + QStringLiteral(".db") : info.fileName();
    const QString found = findFileIgnoringCase(dir.filePath(wanted));
    if (QFileInfo(found).isFile()) return found;
    throw EngineError(ErrorCode::TableNotFound,
                      QStringLiteral("Die Tabelle %1 existiert nicht.").arg(QDir::toNativeSeparators(path)));
}

// German dictionary order, the stand-in for the international sort orders whose weights are not public:
// letters without their accents and case, umlauts as their base letter, ß as "ss".
QString dictionaryForm(const QString& text)
{
    QString folded;
    folded.reserve(text.size());
    for (QChar c : text) {
        if (c == QChar(0x00DF)) {
            folded += QStringLiteral("SS");
            continue;
        }
        if (c.decompositionTag() == QChar::Canonical) {
            const QString parts = c.decomposition();
            if (!parts.isEmpty()) c = parts.at(0);
        }
        folded += c.toUpper();
    }
    return folded;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

constexpr qsizetype kKeptBlobBytes = 1 << 20;

bool isNull(const QVariant& v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty()) ||
           (v.typeId() == QMetaType::QByteArray && v.toByteArray().isEmpty());
}

}  // namespace

std::shared_ptr<ParadoxStorage> ParadoxStorage::open(const QString& path, OpenMode mode)
{
    std::shared_ptr<ParadoxStorage> storage(new ParadoxStorage);
    storage->load(path, mode);
    return storage;
}

ParadoxStorage::~ParadoxStorage()
{
    if (!dirty_) return;
    // A destructor that raises ends the process; whatever stops the flush is told in the log instead.
    try {
        flush();
    } catch (const EngineError& e) {
        qWarning().noquote() << e.message();
    } catch (const std::exception& e) {
        qWarning("Writing table %s failed: %s", qUtf8Printable(path_), e.what());
    } catch (...) {
        qWarning("Writing table %s failed", qUtf8Printable(path_));
    }
}

void ParadoxStorage::load(const QString& requestedPath, OpenMode mode)
{
    path_ = resolveTablePath(requestedPath);
    mode_ = mode;
    lock_.acquire(path_, mode);
    db_.open(path_, O_RDONLY);
    struct stat st {};
    if (::fstat(db_.fd(), &st) == 0) dbInode_ = qint64(st.st_ino);
    const qint64 size = db_.size();
    fileSize_ = size;
    const QByteArray head = db_.readAt(0, std::min<qint64>(size, kMaxHeaderRead), QStringLiteral("Der Dateikopf"));
    header_ = parseTableHeader(head, size, path_);
    if (header_.encrypted)
        throw EngineError(ErrorCode::PasswordProtected,
                          QStringLiteral("Die Tabelle %1 ist durch ein Kennwort geschützt und kann nicht geöffnet werden.")
                              .arg(QDir::toNativeSeparators(path_)));
    codec_ = TextCodec(header_.codePage, header_.sortOrderName);
    asciiOrder_ = header_.sortOrderName.isEmpty() ? header_.sortOrder == 0
                                                  : header_.sortOrderName.compare(QLatin1String("ascii"),
                                                                                  Qt::CaseInsensitive) == 0;
    autoInc_ = header_.autoInc;
    for (size_t i = 0; i < header_.layout.size(); ++i) {
        const FieldLayout& f = header_.layout[i];
        FieldDef def;
        def.name = codec_.decode(header_.fieldNames[qsizetype(i)]);
        def.type = fieldTypeOf(f.type);
        if (f.type == TypeCode::Alpha || f.type == TypeCode::Bytes)
            def.size = f.length;
        else if (f.isBlob())
            def.size = f.leaderSize();
        else if (f.type == TypeCode::Bcd) {
            def.size = 32;
            def.precision = f.sizeByte;
        }
        if (f.isBlob()) blobFields_.push_back(int(i));
        if (f.type == TypeCode::AutoInc) {
            autoIncFields_.push_back(int(i));
            if (int(i) < header_.keyFieldCount) keyNumbered_ = true;
        }
        fields_.push_back(def);
    }
    walkChain();

    blobs_.setTurns(this);
    if (!blobFields_.empty()) {
        const QString mb = findCompanion(path_, QStringLiteral("MB"));
        if (!mb.isEmpty())
            blobs_.open(mb, false);
        else
            mbMissingPath_ = newCompanionPath(path_, QStringLiteral("MB"));
    }
    if (header_.keyFieldCount > 0) pxPath_ = findCompanion(path_, QStringLiteral("PX"));
    readValidity();
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].required) requiredFields_.push_back(int(i));

    const QStringList secondary =
        findCompanions(path_, QStringLiteral("[XY][0-9A-Fa-f]{2}|[XY]G[0-9A-Fa-f]"));
    QStringList reasons;
    if (!secondary.isEmpty()) {
        QStringList names;
        for (const QString& s : secondary) names << QFileInfo(s).fileName();
        reasons << QStringLiteral("Sie hat Sekundärindizes (%1), die dieses Programm nicht pflegen kann.")
                       .arg(names.join(QStringLiteral(", ")));
    }
    if (header_.writeProtected) reasons << QStringLiteral("Sie ist schreibgeschützt.");
    const QString protectedName = protectedFile();
    if (!protectedName.isEmpty())
        reasons << QStringLiteral("Die Datei %1 ist schreibgeschützt.").arg(QFileInfo(protectedName).fileName());
    if (!codec_.supported())
        reasons << QStringLiteral("Ihre Codeseite %1 wird nicht unterstützt.").arg(header_.codePage);
    if (!readOnlyReason_.isEmpty()) reasons << readOnlyReason_;
    if (!reasons.isEmpty())
        readOnlyReason_ = QStringLiteral("Die Tabelle %1 kann nur gelesen werden. %2")
                              .arg(QDir::toNativeSeparators(path_), reasons.join(QLatin1Char(' ')));
}

void ParadoxStorage::readValidity()
{
    const QString valPath = findCompanion(path_, QStringLiteral("VAL"));
    if (valPath.isEmpty()) return;
    const ValidityChecks checks = readValidityChecks(valPath, header_);
    if (checks.stale) return;  // belongs to an earlier structure; the original engine ignores it as well
    for (const QByteArray& name : checks.requiredFields)
        for (size_t i = 0; i < fields_.size(); ++i)
            if (header_.fieldNames[qsizetype(i)].compare(name, Qt::CaseInsensitive) == 0) fields_[i].required = true;
    if (!checks.unenforced.isEmpty())
        readOnlyReason_ = QStringLiteral("Sie hat Gültigkeitsprüfungen, die dieses Programm nicht einhalten kann (%1).")
                              .arg(checks.unenforced.join(QStringLiteral(", ")));
}

void ParadoxStorage::walkChain()
{
    blocks_.clear();
    std::vector<bool> visited(size_t(header_.fileBlocks) + 1, false);
    const int rs = header_.recordSize;
    const int capacity = (header_.blockSize - kBlockHeaderSize) / rs;
    qint64 rows = 0;
    int block = header_.firstBlock;
    while (block != 0) {
        if (block < 1 || block > header_.fileBlocks)
            throw EngineError(ErrorCode::CorruptFile,
                              corruptMessage(path_, QStringLiteral("Die Blockkette verweist auf Block %1 außerhalb der Datei.")
                                                        .arg(block)));
        if (visited[size_t(block)])
            throw EngineError(ErrorCode::CorruptFile,
                              corruptMessage(path_, QStringLiteral("Die Blockkette enthält eine Schleife.")));
        visited[size_t(block)] = true;
        const char* bh = blockData(block, kBlockHeaderSize);
        const int next = getU16(bh);
        const int lastOffset = std::int16_t(getU16(bh + 4));
        int count = 0;
        if (lastOffset >= 0) {
            if (lastOffset % rs != 0 || lastOffset / rs + 1 > capacity)
                throw EngineError(ErrorCode::CorruptFile,
                                  corruptMessage(path_, QStringLiteral("Block %1 gibt eine unmögliche Satzzahl an.").arg(block)));
            count = lastOffset / rs + 1;
        }
        if (count > 0) blocks_.push_back({block, count, int(rows)});
        rows += count;
        block = next;
    }
    rowCount_ = int(rows);
}

int ParadoxStorage::recordCount() const
{
    return materialized_ ? int(rows_.size() + unplaced_.size()) : rowCount_;
}

void ParadoxStorage::checkRow(int row) const
{
    if (row < 0 || row >= recordCount())
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Satz %1 gibt es in der Tabelle %2 nicht.").arg(row + 1).arg(QFileInfo(path_).fileName()));
}

const char* ParadoxStorage::blockData(int block, int needed) const
{
    const qint64 blockSize = header_.blockSize;
    const int perChunk = int(std::max<qint64>(1, kChunkBytes / blockSize));
    const int chunk = (block - 1) / perChunk;
    const qint64 chunkStart = header_.headerSize + qint64(chunk) * perChunk * blockSize;
    const qint64 offset = header_.headerSize + qint64(block - 1) * blockSize;
    if (offset + needed > fileSize_) {
        // Reports the block as reaching past the end of the file, as reading it alone does.
        QByteArray bytes(needed, Qt::Uninitialized);
        db_.readAt(offset, bytes.data(), needed, QStringLiteral("Block %1").arg(block));
    }
    if (chunk != currentChunk_) {
        const auto it = chunks_.find(chunk);
        if (it != chunks_.end()) {
            currentData_ = it->second.constData();
        } else {
            const qint64 length = std::min(qint64(perChunk) * blockSize, fileSize_ - chunkStart);
            if (chunk == currentChunk_ + 1) {
                streamChunk_.resize(length);
                db_.readAt(chunkStart, streamChunk_.data(), length, QStringLiteral("Block %1").arg(block));
                currentData_ = streamChunk_.constData();
            } else {
                QByteArray bytes = db_.readAt(chunkStart, length, QStringLiteral("Block %1").arg(block));
                if (chunkBytes_ + length > kBlockCacheLimit) {
                    chunks_.clear();
                    chunkBytes_ = 0;
                }
                chunkBytes_ += length;
                currentData_ = chunks_.emplace(chunk, std::move(bytes)).first->second.constData();
            }
        }
        currentChunk_ = chunk;
    }
    return currentData_ + (offset - chunkStart);
}

const char* ParadoxStorage::recordAt(int row) const
{
    if (materialized_) return rows_[size_t(row)];
    if (cachedBlock_ >= 0) {
        // A cursor reads the fields of one record and then the next: mostly the block of the previous access.
        const BlockRef& last = blocks_[size_t(cachedBlock_)];
        if (row >= last.firstRow && row - last.firstRow < last.count)
            return cachedRecords_ + qsizetype(row - last.firstRow) * header_.recordSize;
    }
    const auto it = std::upper_bound(blocks_.begin(), blocks_.end(), row,
                                     [](int r, const BlockRef& b) { return r < b.firstRow; });
    const int index = int(it - blocks_.begin()) - 1;
    return blockRecords(index) + qsizetype(row - blocks_[size_t(index)].firstRow) * header_.recordSize;
}

const char* ParadoxStorage::blockRecords(int index) const
{
    if (cachedBlock_ != index) {
        const BlockRef& b = blocks_[size_t(index)];
        cachedRecords_ = blockData(b.block, kBlockHeaderSize + b.count * header_.recordSize) + kBlockHeaderSize;
        cachedBlock_ = index;
    }
    return cachedRecords_;
}

QByteArray ParadoxStorage::rawRecord(int row) const
{
    return QByteArray(recordAt(row), header_.recordSize);
}

QVariant ParadoxStorage::decodeBlob(const FieldLayout& f, const char* p) const
{
    const int leader = f.leaderSize();
    BlobRef ref;
    ref.offsetAndIndex = getU32(p + leader);
    ref.length = getU32(p + leader + 4);
    ref.modification = getU16(p + leader + 8);
    if (ref.length == 0) return {};
    QByteArray bytes;
    if (ref.offsetAndIndex == 0) {
        if (ref.length > std::uint32_t(leader))
            throw EngineError(ErrorCode::CorruptFile,
                              corruptMessage(path_, QStringLiteral("Ein Memo ist länger als sein Platz im Satz, aber ohne Verweis.")));
        bytes = QByteArray(p, ref.length);
    } else {
        if (!blobs_.isOpen())
            throw EngineError(ErrorCode::CorruptFile,
                              corruptMessage(path_, QStringLiteral("Die Memo-Datei %1 fehlt.")
                                                        .arg(QFileInfo(mbMissingPath_).fileName())));
        bytes = blobs_.read(ref);
    }
    switch (f.type) {
    case TypeCode::Memo:
    case TypeCode::FmtMemo: return codec_.decode(bytes);
    case TypeCode::Graphic:
    case TypeCode::Ole:
        // Graphics and OLE objects carry an 8-byte prefix (kind, payload length) in front of the payload.
        if (bytes.size() >= 8 && bytes.at(0) == 1 && bytes.at(1) == 0 && bytes.at(2) == 0 &&
            getU32(bytes.constData() + 4) == std::uint32_t(bytes.size() - 8))
            bytes.remove(0, 8);
        return bytes;
    default: return bytes;
    }
}

Record ParadoxStorage::read(int row) const
{
    placeUnplaced();
    checkRow(row);
    const char* raw = recordAt(row);
    Record record;
    record.reserve(header_.layout.size());
    for (const FieldLayout& f : header_.layout) {
        const char* p = raw + f.offset;
        record.push_back(f.isBlob() ? decodeBlob(f, p) : decodeField(f, p, codec_));
    }
    return record;
}

void ParadoxStorage::readField(int row, int field, QVariant& value) const
{
    placeUnplaced();
    checkRow(row);
    const FieldLayout& f = header_.layout.at(size_t(field));
    const char* p = recordAt(row) + f.offset;
    if (f.isBlob())
        value = decodeBlob(f, p);
    else
        decodeFieldInto(f, p, codec_, value);
}

void ParadoxStorage::readFields(int row, Record& record, std::vector<char>& unread) const
{
    placeUnplaced();
    checkRow(row);
    // A blob may mean reading the blob file: only when it is asked for.
    decodeFieldsInto(header_.layout, recordAt(row), codec_, record, unread);
}

// ---- key order -------------------------------------------------------------------------------------------------

int ParadoxStorage::compareKeyFields(const char* a, const char* b, int fieldCount) const
{
    for (int i = 0; i < fieldCount; ++i) {
        const FieldLayout& f = header_.layout[size_t(i)];
        const char* pa = a + f.offset;
        const char* pb = b + f.offset;
        if (!asciiOrder_ && f.type == TypeCode::Alpha) {
            const QString sa = dictionaryForm(codec_.decode(QByteArray(pa, int(qstrnlen(pa, uint(f.length))))));
            const QString sb = dictionaryForm(codec_.decode(QByteArray(pb, int(qstrnlen(pb, uint(f.length))))));
            const int c = sa.compare(sb);
            if (c != 0) return sign(c);
        }
        const int c = std::memcmp(pa, pb, size_t(f.length));
        if (c != 0) return sign(c);
    }
    return 0;
}

namespace {

// Up to eight bytes as a big-endian number, the missing ones as zeros: such numbers compare as the bytes do.
std::uint64_t leadingBytes(const char* p, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) value |= std::uint64_t(std::uint8_t(p[i])) << (56 - 8 * i);
    return value;
}

}  // namespace

void ParadoxStorage::buildKeyPrefixes(int keySize) const
{
    const int n = recordCount();
    if (n == 0) return;
    // The records are in key order, so what the first and the last key share, every key shares.
    QByteArray first(recordAt(0), keySize);
    const char* last = recordAt(n - 1);
    int shared = 0;
    while (shared < keySize && first[shared] == last[shared]) ++shared;
    first.truncate(shared);
    sharedKeyStart_ = first;
    const int width = std::min(8, keySize - shared);
    keyTailSize_ = keySize - shared;
    keyPrefixes_.resize(size_t(n));
    keyTails_.resize(size_t(n) * size_t(keyTailSize_));
    char* tail = keyTails_.data();
    for (int row = 0; row < n; ++row, tail += keyTailSize_) {
        const char* key = recordAt(row) + shared;
        keyPrefixes_[size_t(row)] = leadingBytes(key, width);
        if (keyTailSize_ > 0) std::memcpy(tail, key, size_t(keyTailSize_));  // no tails: tail is null
    }
}

bool ParadoxStorage::rowHasKey(int row, const char* key, int keyBytes) const
{
    if (materialized_ || keyPrefixes_.empty()) return std::memcmp(recordAt(row), key, size_t(keyBytes)) == 0;
    const int skip = int(sharedKeyStart_.size());
    if (std::memcmp(key, sharedKeyStart_.constData(), size_t(std::min(keyBytes, skip))) != 0) return false;
    return keyBytes <= skip ||
           std::memcmp(keyTails_.data() + size_t(row) * size_t(keyTailSize_), key + skip, size_t(keyBytes - skip)) == 0;
}

int ParadoxStorage::lowerBound(const char* key, int fieldCount) const
{
    int lo = 0;
    int hi = materialized_ ? int(rows_.size()) : rowCount_;  // records held back are not in key order yet
    if (!materialized_ && !keyPrefixes_.empty()) {
        const FieldLayout& lastField = header_.layout[size_t(fieldCount - 1)];
        const int keyBytes = lastField.offset + lastField.length;
        const int skip = int(sharedKeyStart_.size());
        const int c = std::memcmp(key, sharedKeyStart_.constData(), size_t(std::min(keyBytes, skip)));
        if (c != 0) return c < 0 ? 0 : hi;
        if (keyBytes <= skip) return 0;  // every record starts with the key
        const int width = std::min(8, keyBytes - skip);
        const std::uint64_t probe = leadingBytes(key + skip, width);
        const std::uint64_t mask = width == 8 ? ~std::uint64_t(0) : ~(~std::uint64_t(0) >> (8 * width));
        const std::uint64_t* begin = keyPrefixes_.data();
        const std::uint64_t* end = begin + keyPrefixes_.size();
        // Without branches, and with both places the next step may look at asked for ahead: in a large table the
        // steps wait on memory rather than on each other's guesses.
        const std::uint64_t* base = begin;
        const char* tails = keyTails_.data();
        bool tailsAsked = keyBytes - skip <= 8;
        for (std::size_t n = keyPrefixes_.size(); n > 1;) {
            const std::size_t half = n / 2;
            __builtin_prefetch(base + half / 2);
            __builtin_prefetch(base + half + half / 2);
            base = (base[half - 1] & mask) < probe ? base + half : base;
            n -= half;
            if (!tailsAsked && n <= 8) {
                // The rest of the key of the rows left, which the row found is checked against.
                tailsAsked = true;
                const std::size_t row = std::size_t(base - begin);
                const std::size_t rows = std::min(n + 1, keyPrefixes_.size() - row);
                const char* first = tails + row * std::size_t(keyTailSize_);
                for (std::size_t at = 0; at < rows * std::size_t(keyTailSize_); at += 64) __builtin_prefetch(first + at);
            }
        }
        const std::uint64_t* from = base + ((*base & mask) < probe ? 1 : 0);
        lo = int(from - begin);
        if (keyBytes - skip <= 8) return lo;
        // The rows whose eight bytes equal the key's, mostly none or one: the rest of the key decides.
        const std::uint64_t* tieEnd = from;
        while (tieEnd != end && tieEnd - from < 8 && *tieEnd == probe) ++tieEnd;
        if (tieEnd - from == 8) tieEnd = std::partition_point(tieEnd, end, [&](std::uint64_t v) { return v == probe; });
        hi = int(tieEnd - begin);
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (std::memcmp(keyTails_.data() + size_t(mid) * size_t(keyTailSize_), key + skip, size_t(keyBytes - skip)) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }
    if (!materialized_ && !samples_.empty()) {
        // The last sample before the key, then among the records up to the next sample, which lie in one block.
        int first = 0;
        int last = int(samples_.size());
        while (first < last) {
            const int mid = first + (last - first) / 2;
            if (compareKeys(sampleKeys_.constData() + qsizetype(mid) * sampleKeySize_, key, fieldCount) < 0)
                first = mid + 1;
            else
                last = mid;
        }
        if (first == 0) return 0;
        const Sample& sample = samples_[size_t(first - 1)];
        const int end = size_t(first) < samples_.size() ? samples_[size_t(first)].row : recordCount();
        const BlockRef& b = blocks_[size_t(sample.block)];
        const int rs = header_.recordSize;
        const char* records = blockRecords(sample.block) + qsizetype(sample.row - b.firstRow) * rs;
        int inGroup = 0;
        int count = std::min(end, b.firstRow + b.count) - sample.row;
        while (inGroup < count) {
            const int mid = inGroup + (count - inGroup) / 2;
            if (compareKeys(records + qsizetype(mid) * rs, key, fieldCount) < 0)
                inGroup = mid + 1;
            else
                count = mid;
        }
        return sample.row + inGroup;
    }
    if (materialized_ && rows_.chunkCount() > 0) {
        // A key behind the last one, as records imported in key order come, goes to the end.
        if (compareKeys(rows_.back(), key, fieldCount) < 0) return hi;
        // First among the chunks by their first records, then inside the one chunk the key may be in.
        size_t first = 0;
        size_t last = rows_.chunkCount();
        while (first < last) {
            const size_t mid = first + (last - first) / 2;
            if (compareKeys(rows_.keepsKeys() ? rows_.chunkKey(mid) : rows_.chunkData(mid), key, fieldCount) < 0)
                first = mid + 1;
            else
                last = mid;
        }
        if (first == 0) return 0;
        const char* chunk = rows_.chunkData(first - 1);
        const qsizetype rs = header_.recordSize;
        qsizetype inChunk = 0;
        qsizetype end = qsizetype(rows_.chunkRows(first - 1));
        while (inChunk < end) {
            const qsizetype mid = inChunk + (end - inChunk) / 2;
            if (compareKeys(chunk + mid * rs, key, fieldCount) < 0)
                inChunk = mid + 1;
            else
                end = mid;
        }
        return int(rows_.chunkStart(first - 1)) + int(inChunk);
    }
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (compareKeys(recordAt(mid), key, fieldCount) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int ParadoxStorage::findKey(const Record& keyValues) const
{
    placeUnplaced();
    const int k = std::min<int>(int(keyValues.size()), header_.keyFieldCount);
    if (k <= 0 || recordCount() == 0) return -1;
    QByteArray key(header_.recordSize, '\0');
    try {
        for (int i = 0; i < k; ++i)
            encodeField(header_.layout[size_t(i)], keyValues[size_t(i)], key.data() + header_.layout[size_t(i)].offset,
                        codec_, fields_[size_t(i)].name);
    } catch (const EngineError&) {
        return -1;  // a value the key field cannot hold is in no record
    }
    if (orderChecked_ < 0) {
        orderChecked_ = 1;
        const int n = recordCount();
        QByteArray previous = n > 0 ? rawRecord(0) : QByteArray();
        for (int row = 1; row < n && orderChecked_; ++row) {
            const QByteArray current = rawRecord(row);
            if (compareKeys(previous.constData(), current.constData(), header_.keyFieldCount) >= 0) orderChecked_ = 0;
            previous = current;
        }
        const FieldLayout& lastKey = header_.layout[size_t(header_.keyFieldCount - 1)];
        const int keySize = lastKey.offset + lastKey.length;
        // Keys compare as their bytes do when every key field is compared byte by byte.
        if (orderChecked_ == 1 && !materialized_ && asciiOrder_) {
            buildKeyPrefixes(keySize);
        } else if (orderChecked_ == 1 && !materialized_) {
            // The key of every kSampleRows-th record of each block, built from the records themselves.
            sampleKeySize_ = keySize;
            for (size_t index = 0; index < blocks_.size(); ++index) {
                const BlockRef& b = blocks_[index];
                const char* records = blockRecords(int(index));
                for (int i = 0; i < b.count; i += kSampleRows) {
                    samples_.push_back({b.firstRow + i, int(index)});
                    sampleKeys_.append(records + qsizetype(i) * header_.recordSize, keySize);
                }
            }
        }
    }
    const int keyBytes = header_.layout[size_t(k - 1)].offset + header_.layout[size_t(k - 1)].length;
    if (orderChecked_ == 1) {
        const int row = lowerBound(key.constData(), k);
        if (row < recordCount() && rowHasKey(row, key.constData(), keyBytes)) return row;
        return -1;
    }
    for (int row = 0; row < recordCount(); ++row)
        if (std::memcmp(recordAt(row), key.constData(), size_t(keyBytes)) == 0) return row;
    return -1;
}

int ParadoxStorage::freePlace(const char* record) const
{
    const int k = header_.keyFieldCount;
    const int row = lowerBound(record, k);
    if (row < int(rows_.size()) && compareKeys(rows_[size_t(row)], record, k) == 0) throwKeyViolation(record);
    return row;
}

int ParadoxStorage::placeKey(const char* record)
{
    const int k = header_.keyFieldCount;
    const int row = freePlace(record);
    const int n = int(rows_.size());
    if (!asciiOrder_) {
        // Our dictionary order only stands in for the table's real collation. Where it and plain byte order put the
        // key at different places, another engine may well see the order differently, so we do not write it.
        const int keyBytes = header_.layout[size_t(k - 1)].offset + header_.layout[size_t(k - 1)].length;
        const bool afterPrevious =
            row == 0 || std::memcmp(rows_[size_t(row - 1)], record, size_t(keyBytes)) < 0;
        const bool beforeNext =
            row >= n || std::memcmp(record, rows_[size_t(row)], size_t(keyBytes)) < 0;
        if (!afterPrevious || !beforeNext) {
            throw EngineError(ErrorCode::NotSupported,
                              QStringLiteral("Der Schlüssel \"%1\" kann in der Sortierfolge %2 der Tabelle %3 nicht sicher "
                                             "eingeordnet werden; der Satz wurde nicht geschrieben.")
                                  .arg(keyText(record), header_.sortOrderName, QFileInfo(path_).fileName()));
        }
    }
    return row;
}

QString ParadoxStorage::keyText(const char* record) const
{
    QStringList parts;
    for (int i = 0; i < header_.keyFieldCount; ++i)
        parts << decodeField(header_.layout[size_t(i)], record + header_.layout[size_t(i)].offset, codec_).toString();
    return parts.join(QStringLiteral(", "));
}

void ParadoxStorage::throwKeyViolation(const char* record) const
{
    throw EngineError(ErrorCode::KeyViolation, QStringLiteral("Schlüsselverletzung: Den Schlüssel %1 gibt es in der Tabelle %2 schon.")
                                                   .arg(keyText(record), QFileInfo(path_).fileName()));
}

// ---- writing ---------------------------------------------------------------------------------------------------

void ParadoxStorage::checkWritable()
{
    if (!readOnlyReason_.isEmpty()) throw EngineError(ErrorCode::ReadOnlyTable, readOnlyReason_);
}

void ParadoxStorage::materialize()
{
    if (materialized_) return;
    RowStore rows;
    rows.reset(header_.recordSize, keySize());
    unplaced_.reset(header_.recordSize, keySize());
    for (int row = 0; row < rowCount_; ++row) rows.append(recordAt(row));
    if (header_.keyFieldCount > 0) {
        for (size_t i = 1; i < rows.size(); ++i)
            if (compareKeys(rows[i - 1], rows[i], header_.keyFieldCount) >= 0)
                throw EngineError(ErrorCode::ReadOnlyTable,
                                  QStringLiteral("Die Tabelle %1 kann nicht geändert werden: ihre Sätze stehen nicht in der "
                                                 "Reihenfolge, die dieses Programm für die Sortierfolge %2 bildet.")
                                      .arg(QDir::toNativeSeparators(path_), header_.sortOrderName));
        orderChecked_ = 1;
    }
    // A failure leaves the blob file open for reading as it was, and the write fails; the next write tries again.
    if (blobs_.isOpen()) blobs_.open(blobs_.path(), true);
    rows_ = std::move(rows);
    materialized_ = true;
    forgetReadCaches();
}

void ParadoxStorage::forgetReadCaches()
{
    cachedBlock_ = -1;
    cachedRecords_ = nullptr;
    currentChunk_ = -1;
    currentData_ = nullptr;
    streamChunk_.clear();
    chunks_.clear();
    chunkBytes_ = 0;
    samples_.clear();
    sampleKeys_.clear();
    keyPrefixes_ = {};
    sharedKeyStart_.clear();
    keyTails_ = {};
}

QString ParadoxStorage::protectedFile() const
{
    for (const QString& file : {path_, pxPath_, blobs_.isOpen() ? blobs_.path() : QString()})
        if (!file.isEmpty() && !fileWritable(file)) return file;
    return {};
}

void ParadoxStorage::beginTurn()
{
    if (turnDepth_ > 0) {
        ++turnDepth_;
        return;
    }
    turnLock_.lock(path_);
    try {
        struct stat st {};
        if (::stat(QFile::encodeName(path_).constData(), &st) != 0 || qint64(st.st_ino) != dbInode_)
            throw EngineError(ErrorCode::FileLocked,
                              QStringLiteral("Die Tabelle %1 wurde inzwischen von einem anderen Programm geändert; "
                                             "die Änderungen können nicht gespeichert werden.")
                                  .arg(QDir::toNativeSeparators(path_)));
        const QString protectedName = protectedFile();
        if (!protectedName.isEmpty())
            throw EngineError(ErrorCode::ReadOnlyTable, QStringLiteral("Die Tabelle %1 kann nur gelesen werden. Die "
                                                                       "Datei %2 ist schreibgeschützt.")
                                                            .arg(QDir::toNativeSeparators(path_),
                                                                 QFileInfo(protectedName).fileName()));
    } catch (...) {
        turnLock_.unlock();
        throw;
    }
    turnDepth_ = 1;
}

void ParadoxStorage::endTurn()
{
    if (--turnDepth_ == 0) turnLock_.unlock();
}

void ParadoxStorage::ensureBlobFile()
{
    if (blobs_.isOpen()) return;
    WriterTurn turn(this);
    // A blob file that exists is never replaced by an empty one: records of this table, or of another writer's
    // version of it, may point into it. Only where there is none yet, records point into none, and a fresh one can
    // be put in place directly.
    QString path = findCompanion(path_, QStringLiteral("MB"));
    if (path.isEmpty()) {
        path = mbMissingPath_.isEmpty() ? newCompanionPath(path_, QStringLiteral("MB")) : mbMissingPath_;
        ScratchFile scratch(scratchPathFor(path));
        PosixFile file = BlobFile::writeEmpty(scratch.path());
        if (durable_) file.sync();
        if (renameUnlessExists(scratch.path(), path)) {
            scratch.keep();
            if (durable_) syncDirectory(path);
        }
    }
    blobs_.open(path, true);
    mbMissingPath_.clear();
}

void ParadoxStorage::encodeBlob(const FieldLayout& f, const QVariant& value, char* p)
{
    std::memset(p, 0, size_t(f.length));
    const bool memo = f.type == TypeCode::Memo || f.type == TypeCode::FmtMemo;
    QByteArray& bytes = blobBytes_;
    if (memo && holds<QString>(value)) {
        const QString& text = *static_cast<const QString*>(value.constData());
        if (text.isEmpty()) return;
        const int leader = f.leaderSize();
        // A memo longer than the record keeps of it, short enough for a suballocation block (as most are), is
        // encoded right into its place in the blob file; its first bytes are copied into the record from there.
        if (text.size() > leader && text.size() <= BlobFile::smallBlobLimit()) {
            ensureBlobFile();
            if (char* room = blobs_.smallRoom(text.size())) {
                const qsizetype length = codec_.encodeTo(text, room);
                if (length > leader) {
                    std::memcpy(p, room, size_t(leader));
                    const BlobRef ref = blobs_.commitSmall(length);
                    putU32(p + leader, ref.offsetAndIndex);
                    putU32(p + leader + 4, ref.length);
                    putU16(p + leader + 8, ref.modification);
                    return;
                }
                // A code page of its own (-1), or a text that came out no longer than the record keeps: the
                // room stays unused and the way below takes the text.
            }
        }
        // The text encoded into memory kept from the previous one.
        codec_.encode(text, bytes);
    } else {
        if (isNull(value)) return;
        if (memo && !holds<QByteArray>(value))
            codec_.encode(value.toString(), bytes);
        else
            bytes = value.toByteArray();
    }
    if (bytes.isEmpty()) return;
    const int leader = f.leaderSize();
    std::memcpy(p, bytes.constData(), size_t(std::min<qsizetype>(leader, bytes.size())));
    const bool prefixed = f.type == TypeCode::Graphic || f.type == TypeCode::Ole;
    if (!prefixed && bytes.size() <= leader) {
        putU32(p + leader + 4, std::uint32_t(bytes.size()));
        return;
    }
    if (prefixed) {
        QByteArray prefix(8, '\0');
        prefix[0] = 1;
        prefix[3] = char(f.type == TypeCode::Graphic ? 1 : 2);
        putU32(prefix.data() + 4, std::uint32_t(bytes.size()));
        bytes.prepend(prefix);
    }
    ensureBlobFile();
    const BlobRef ref = blobs_.write(bytes);
    if (bytes.capacity() > kKeptBlobBytes) bytes.clear();  // a big one's memory is not kept for the next
    putU32(p + leader, ref.offsetAndIndex);
    putU32(p + leader + 4, ref.length);
    putU16(p + leader + 8, ref.modification);
}

bool ParadoxStorage::storedNull(const FieldLayout& f, const char* p) const
{
    if (f.isBlob()) return getU32(p + f.leaderSize() + 4) == 0;
    return !decodeField(f, p, codec_).isValid();
}

void ParadoxStorage::encodeRecord(const Record& record, const char* previous, const std::vector<char>* changed,
                                  char* raw, RecordCheck check)
{
    if (record.size() != header_.layout.size())
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Der Satz hat %1 Werte, die Tabelle %2 Felder.")
                                                       .arg(record.size())
                                                       .arg(header_.layout.size()));
    // A field the caller did not change keeps its bytes; what record holds for it is not looked at.
    const bool partial = previous && changed;
    const auto kept = [&](size_t i) { return partial && !(*changed)[i]; };
    for (const int fi : requiredFields_) {
        const size_t i = size_t(fi);
        const FieldLayout& f = header_.layout[i];
        if (kept(i) ? storedNull(f, previous + f.offset) : isNull(record[i]))
            throw EngineError(ErrorCode::RequiredFieldMissing,
                              QStringLiteral("Das Feld %1 muss einen Wert haben.").arg(fields_[i].name));
    }
    // The fields cover the record without a gap (the header is refused otherwise), and each one's bytes are
    // written whole below, blanks included: zeroing the record first would write a wide one twice.
    const FieldLayout* layout = header_.layout.data();
    const size_t n = header_.layout.size();
    for (size_t i = 0; i < n; ++i) {
        const FieldLayout& f = layout[i];
        char* p = raw + f.offset;
        const QVariant& value = record[i];
        if (kept(i))
            std::memcpy(p, previous + f.offset, size_t(f.length));
        else if (encodeUsualKind(f, value, p, codec_, fields_[i].name) || f.isBlob())
            continue;
        else if (!value.isValid())
            std::memset(p, 0, size_t(f.length));  // a blank, as encodeField writes it
        else
            encodeField(f, value, p, codec_, fields_[i].name);
    }
    // Blobs last: everything that can fail has been checked before anything is appended to the blob file.
    if (check) check(raw);
    for (const int fi : blobFields_) {
        const size_t i = size_t(fi);
        const FieldLayout& f = layout[i];
        if (kept(i)) continue;
        if (previous && decodeBlob(f, previous + f.offset) == record[i]) {
            std::memcpy(raw + f.offset, previous + f.offset, size_t(f.length));
            continue;
        }
        encodeBlob(f, record[i], raw + f.offset);
    }
}

void ParadoxStorage::ensureAutoIncSets()
{
    if (autoIncSetsBuilt_) return;
    autoIncUsed_.assign(autoIncFields_.size(), {});
    for (size_t row = 0; row < rows_.size(); ++row) rememberAutoInc(rows_[row]);
    autoIncSetsBuilt_ = true;
}

void ParadoxStorage::rememberAutoInc(const char* record)
{
    for (size_t j = 0; j < autoIncFields_.size(); ++j) {
        const FieldLayout& f = header_.layout[size_t(autoIncFields_[j])];
        const QVariant v = decodeField(f, record + f.offset, codec_);
        if (v.isValid()) autoIncUsed_[j].insert(v.toInt());
    }
}

void ParadoxStorage::forgetAutoInc(const char* record)
{
    for (size_t j = 0; j < autoIncFields_.size(); ++j) {
        const FieldLayout& f = header_.layout[size_t(autoIncFields_[j])];
        const QVariant v = decodeField(f, record + f.offset, codec_);
        if (v.isValid()) autoIncUsed_[j].erase(v.toInt());
    }
}

// An auto-increment field gets the next number when it is null. A value set by the caller is kept when no other
// record has it, and the counter moves above it so that it is never handed out again.
// A field left out of changed keeps its number, or gets one when it has none.
void ParadoxStorage::assignAutoInc(Record& record, const QByteArray* previous, std::vector<char>* changed)
{
    if (autoIncFields_.empty()) return;
    ensureAutoIncSets();
    std::int32_t counter = autoInc_;
    for (size_t j = 0; j < autoIncFields_.size(); ++j) {
        const int fi = autoIncFields_[j];
        const FieldLayout& f = header_.layout[size_t(fi)];
        const QVariant old = previous ? decodeField(f, previous->constData() + f.offset, codec_) : QVariant();
        QVariant& v = record[size_t(fi)];
        if (changed && !(*changed)[size_t(fi)]) {
            if (old.isValid()) continue;
            v = QVariant();
            (*changed)[size_t(fi)] = 1;
        }
        const auto nextNumber = [&] {
            if (counter >= 2147483647)
                throw EngineError(ErrorCode::InvalidValue,
                                  QStringLiteral("Der Zähler des Feldes %1 ist erschöpft.").arg(fields_[size_t(fi)].name));
            return int(++counter);
        };
        if (isNull(v)) {
            if (old.isValid()) {
                v = old;
                continue;
            }
            v = nextNumber();
            continue;
        }
        bool ok = false;
        const qlonglong wanted = v.toLongLong(&ok);
        if (!ok || wanted < -2147483647LL || wanted > 2147483647LL) continue;  // encodeField reports it
        if (old.isValid() && old.toLongLong() == wanted) continue;
        if (autoIncUsed_[j].count(std::int32_t(wanted))) {
            if (previous)
                throw EngineError(ErrorCode::KeyViolation,
                                  QStringLiteral("Den Wert %1 des Feldes %2 hat schon ein anderer Satz.")
                                      .arg(wanted)
                                      .arg(fields_[size_t(fi)].name));
            v = nextNumber();
            continue;
        }
        counter = std::max<std::int32_t>(counter, std::int32_t(wanted));
    }
    autoInc_ = counter;
}

char* ParadoxStorage::encodeNew(const Record& input, RecordCheck check)
{
    Record numbered;  // the record with its auto-increment numbers, when it has such fields
    const std::int32_t savedCounter = autoInc_;
    // Encoded into a buffer of the storage: the record store copies it, so a record costs no allocation.
    if (newRecord_.size() != size_t(header_.recordSize)) newRecord_.resize(size_t(header_.recordSize));
    char* raw = newRecord_.data();
    try {
        if (recordCount() >= 0x7FFFFFFF) throw EngineError(ErrorCode::NotSupported, QStringLiteral("Die Tabelle ist voll."));
        if (!autoIncFields_.empty()) {
            numbered = input;
            assignAutoInc(numbered, nullptr, nullptr);
        }
        encodeRecord(autoIncFields_.empty() ? input : numbered, nullptr, nullptr, raw, check);
    } catch (...) {
        autoInc_ = savedCounter;
        throw;
    }
    return raw;
}

qint64 ParadoxStorage::recordCapacity() const
{
    return paradox::recordCapacity(header_.fileVersion, header_.recordSize, header_.blockSize / 1024);
}

QString ParadoxStorage::fullMessage() const
{
    return fullTableMessage(path_, recordCapacity(),
                            std::max(largestBlockCode(header_.fileVersion), header_.blockSize / 1024));
}

void ParadoxStorage::checkRoom() const
{
    // Refused here, the record that does not fit leaves the others to be written; at the flush all would be lost.
    if (recordCount() >= recordCapacity()) throw EngineError(ErrorCode::NotSupported, fullMessage());
}

int ParadoxStorage::insert(const Record& input, int beforeRow)
{
    checkWritable();
    materialize();
    checkRoom();
    placeUnplaced();
    int row = (beforeRow < 0 || beforeRow > int(rows_.size())) ? int(rows_.size()) : beforeRow;
    // A key violation is found before the record's blobs go into the blob file.
    char* raw = encodeNew(input, [&](const char* record) {
        if (header_.keyFieldCount > 0) row = placeKey(record);
    });
    rows_.insert(size_t(row), raw);
    if (autoIncSetsBuilt_) rememberAutoInc(raw);
    dirty_ = true;
    ++changes_;
    return row;
}

int ParadoxStorage::insertUnplaced(const Record& input)
{
    checkWritable();
    materialize();
    // Held back are only records whose place follows from their bytes and whose key the cursor knows.
    if (header_.keyFieldCount == 0 || !asciiOrder_ || keyNumbered_) return insert(input, recordCount());
    checkRoom();
    const int keyBytes = keySize();
    // Records that come in key order go to their place at once, as long as none is held back before them. The
    // others are checked for their key before their blobs go into the blob file.
    bool inOrder = false;
    std::uint64_t hash = 0;
    char* raw = encodeNew(input, [&](const char* record) {
        inOrder = unplaced_.empty() && (rows_.empty() || compareBytes(rows_.back(), record, keyBytes) < 0);
        if (inOrder) return;
        if (!rows_.empty()) freePlace(record);
        if (unplacedKeysStale_) rebuildUnplacedKeys();
        hash = qHashBits(record, size_t(keyBytes));
        const auto sameKey = [&](std::size_t index) { return std::memcmp(unplaced_[index], record, size_t(keyBytes)) == 0; };
        if (unplacedKeys_.find(hash, sameKey) >= 0) throwKeyViolation(record);
    });
    if (inOrder) {
        rows_.append(raw);
    } else {
        unplaced_.append(raw);
        try {
            unplacedKeys_.add(hash);
        } catch (...) {
            unplaced_.erase(unplaced_.size() - 1);
            throw;
        }
    }
    if (autoIncSetsBuilt_) rememberAutoInc(raw);
    dirty_ = true;
    ++changes_;
    return inOrder ? int(rows_.size()) - 1 : -1;
}

bool ParadoxStorage::copiesFrom(const TableStorage& source, int fieldCount) const
{
    const auto* from = dynamic_cast<const ParadoxStorage*>(&source);
    if (!from || fieldCount < 0 || size_t(fieldCount) > header_.layout.size() ||
        size_t(fieldCount) > from->header_.layout.size())
        return false;
    // Numbering and the check for a value take the record's values; the cursor's check has its own words.
    if (!autoIncFields_.empty()) return false;
    for (const FieldDef& def : fields_)
        if (def.required) return false;
    // A text is decoded, cut to as many characters as the field here takes and encoded again: in one single-byte
    // code page on both sides, in which every byte encodes back to itself, that is its bytes up to the first zero,
    // cut to the field's length. Any other kind of field would need the conversions of a field write.
    for (size_t i = 0; i < size_t(fieldCount); ++i) {
        if (header_.layout[i].type != TypeCode::Alpha || from->header_.layout[i].type != TypeCode::Alpha) return false;
    }
    return fieldCount == 0 || codec_.keepsBytesOf(from->codec_);
}

int ParadoxStorage::insertCopy(const TableStorage& source, int sourceRow, int fieldCount)
{
    const auto& from = dynamic_cast<const ParadoxStorage&>(source);
    checkWritable();
    materialize();
    checkRoom();
    placeUnplaced();
    from.placeUnplaced();
    from.checkRow(sourceRow);
    // Fields left out are blank: zero bytes, as a blank value of every type encodes.
    QByteArray raw(header_.recordSize, '\0');
    const char* in = from.recordAt(sourceRow);
    for (size_t i = 0; i < size_t(fieldCount); ++i) {
        const FieldLayout& s = from.header_.layout[i];
        const FieldLayout& d = header_.layout[i];
        const char* text = in + s.offset;
        std::memcpy(raw.data() + d.offset, text, qstrnlen(text, uint(std::min(s.length, d.length))));
    }
    const int row = header_.keyFieldCount > 0 ? placeKey(raw.constData()) : int(rows_.size());
    rows_.insert(size_t(row), raw.constData());
    dirty_ = true;
    ++changes_;
    return row;
}

bool ParadoxStorage::appendsTextBytes(int codePage, int count) const
{
    if (header_.keyFieldCount != 0 || !autoIncFields_.empty() || count < 0 || size_t(count) > header_.layout.size())
        return false;
    for (const FieldDef& def : fields_)
        if (def.required) return false;
    for (size_t i = 0; i < size_t(count); ++i)
        if (header_.layout[i].type != TypeCode::Alpha) return false;
    // In a code page whose every byte encodes back to itself, a text's bytes are what its encoding stores.
    return codec_.codePage() == codePage && codec_.keepsBytesOf(codec_);
}

void ParadoxStorage::appendTextBytes(const QByteArrayView* texts, int count)
{
    checkWritable();
    materialize();
    checkRoom();
    placeUnplaced();
    newRecord_.assign(size_t(header_.recordSize), '\0');
    for (size_t i = 0; i < size_t(count); ++i) {
        const FieldLayout& f = header_.layout[i];
        const QByteArrayView text = texts[i];
        // An empty value may come without memory of its own: nothing is copied for it.
        if (!text.isEmpty())
            std::memcpy(newRecord_.data() + f.offset, text.data(), size_t(std::min<qsizetype>(text.size(), f.length)));
    }
    rows_.append(newRecord_.data());
    dirty_ = true;
    ++changes_;
}

bool ParadoxStorage::textByteMap(int field, const TableStorage& source, int sourceField, TextByteMap& map) const
{
    const auto* from = dynamic_cast<const ParadoxStorage*>(&source);
    if (!from || field < 0 || size_t(field) >= header_.layout.size() || sourceField < 0 ||
        size_t(sourceField) >= from->header_.layout.size())
        return false;
    if (header_.layout[size_t(field)].type != TypeCode::Alpha ||
        from->header_.layout[size_t(sourceField)].type != TypeCode::Alpha)
        return false;
    return from->codec_.byteMapTo(codec_, map);
}

bool ParadoxStorage::textBytes(int row, int field, QByteArrayView& bytes) const
{
    if (size_t(field) >= header_.layout.size()) return false;
    const FieldLayout& f = header_.layout[size_t(field)];
    if (f.type != TypeCode::Alpha) return false;
    placeUnplaced();
    if (unsigned(row) >= unsigned(ParadoxStorage::recordCount())) return false;
    const char* p = recordAt(row) + f.offset;
    bytes = QByteArrayView(p, textLength(p, f.length));
    return true;
}

QString ParadoxStorage::textOfBytes(int field, QByteArrayView bytes) const
{
    (void)field;
    return codec_.decode(bytes.toByteArray());
}

int ParadoxStorage::update(int row, const Record& input)
{
    return updateRecord(row, input, nullptr);
}

int ParadoxStorage::updateRecord(int row, const Record& input, const std::vector<char>* changedFields)
{
    checkWritable();
    materialize();
    placeUnplaced();
    checkRow(row);
    const QByteArray previous(rows_[size_t(row)], header_.recordSize);
    std::vector<char> changed = changedFields ? *changedFields : std::vector<char>();
    std::vector<char>* mask = changedFields ? &changed : nullptr;
    Record numbered;
    const std::int32_t savedCounter = autoInc_;
    if (!autoIncFields_.empty()) {
        ensureAutoIncSets();
        forgetAutoInc(previous.constData());
    }
    QByteArray raw;
    int target = row;
    try {
        if (!autoIncFields_.empty()) {
            numbered = input;
            assignAutoInc(numbered, &previous, mask);
        }
        raw.resize(header_.recordSize);
        const int k = header_.keyFieldCount;
        // A key another record has is refused before the blobs go into the blob file.
        const auto keyTaken = [&](const char* record) {
            if (k > 0 && compareKeys(previous.constData(), record, k) != 0) freePlace(record);
        };
        encodeRecord(autoIncFields_.empty() ? input : numbered, previous.constData(), mask, raw.data(), keyTaken);
        if (k > 0 && compareKeys(previous.constData(), raw.constData(), k) != 0) {
            rows_.erase(size_t(row));
            try {
                target = placeKey(raw.constData());
            } catch (...) {
                rows_.insert(size_t(row), previous.constData());
                throw;
            }
            rows_.insert(size_t(target), raw.constData());
        } else {
            rows_.replace(size_t(row), raw.constData());
        }
    } catch (...) {
        autoInc_ = savedCounter;
        if (autoIncSetsBuilt_) rememberAutoInc(previous.constData());
        throw;
    }
    if (autoIncSetsBuilt_) rememberAutoInc(raw.constData());
    dirty_ = true;
    ++changes_;
    return target;
}

int ParadoxStorage::updateChanged(int row, const Record& record, const std::vector<char>& changed)
{
    const size_t n = header_.layout.size();
    if (changed.size() != n || record.size() != n) return updateRecord(row, record, nullptr);
    checkWritable();
    materialize();
    placeUnplaced();
    checkRow(row);
    // A moved key, a changed blob and an auto-increment field that is changed or still needs its number take the
    // whole record. The run of an import changes plain fields of a record in place, one or two per post, where
    // re-encoding the others would be most of the cost.
    const FieldLayout* layout = header_.layout.data();
    const char* mask = changed.data();
    for (int i = 0; i < header_.keyFieldCount; ++i)
        if (mask[i]) return updateRecord(row, record, &changed);
    char* stored = rows_[size_t(row)];
    for (const int fi : blobFields_)
        if (mask[fi]) return updateRecord(row, record, &changed);
    for (const int fi : autoIncFields_) {
        const FieldLayout& f = layout[size_t(fi)];
        if (mask[fi] || storedNull(f, stored + f.offset)) return updateRecord(row, record, &changed);
    }
    for (const int fi : requiredFields_) {
        const FieldLayout& f = layout[size_t(fi)];
        if (mask[fi] ? isNull(record[size_t(fi)]) : storedNull(f, stored + f.offset))
            throw EngineError(ErrorCode::RequiredFieldMissing,
                              QStringLiteral("Das Feld %1 muss einen Wert haben.").arg(fields_[size_t(fi)].name));
    }
    // Every changed field is encoded before any goes into the record, so that a refused value changes nothing.
    if (scratch_.size() != header_.recordSize) scratch_ = QByteArray(header_.recordSize, '\0');
    char* encoded = scratch_.data();
    markedFields(changed, marked_);
    for (const int i : marked_)
        encodeField(layout[i], record[size_t(i)], encoded + layout[i].offset, codec_, fields_[size_t(i)].name);
    char* target = stored;
    for (const int i : marked_)
        std::memcpy(target + layout[i].offset, encoded + layout[i].offset, size_t(layout[i].length));
    dirty_ = true;
    ++changes_;
    return row;
}

void ParadoxStorage::remove(int row)
{
    checkWritable();
    materialize();
    placeUnplaced();
    checkRow(row);
    if (autoIncSetsBuilt_) forgetAutoInc(rows_[size_t(row)]);
    rows_.erase(size_t(row));
    dirty_ = true;
    ++changes_;
}

void ParadoxStorage::empty()
{
    checkWritable();
    materialize();
    rows_.clear();
    dropUnplaced();
    if (autoIncSetsBuilt_)
        for (auto& used : autoIncUsed_) used.clear();
    dirty_ = true;
    ++changes_;
}

// ---- records held back from their place ------------------------------------------------------------------------

void ParadoxStorage::rebuildUnplacedKeys()
{
    unplacedKeys_.clear();
    const size_t keyBytes = size_t(keySize());
    RowWalker walk(unplaced_);
    for (std::size_t i = 0; i < unplaced_.size(); ++i) unplacedKeys_.add(qHashBits(walk.next(), keyBytes));
    unplacedKeysStale_ = false;
}

void ParadoxStorage::dropUnplaced()
{
    unplaced_.clear();
    unplacedKeys_.clear();
    unplacedKeysStale_ = false;
}

namespace {

struct KeyOrder {
    std::uint64_t prefix;  // eight bytes of a key that tell keys apart, as one number
    std::uint32_t index;   // of its record
};

// Stable sort by prefix, a byte at a time from the last: a few passes over the entries in sequence, where comparing
// sorts would jump through them. A byte every entry has the same is passed over. Few entries are simply compared.
void sortByPrefix(KeyOrder* entries, std::size_t n, std::vector<KeyOrder>& scratch)
{
    if (n < 256) {
        std::sort(entries, entries + n, [](const KeyOrder& a, const KeyOrder& b) { return a.prefix < b.prefix; });
        return;
    }
    scratch.resize(n);
    KeyOrder* from = entries;
    KeyOrder* to = scratch.data();
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (std::size_t i = 0; i < n; ++i)
        for (int d = 0; d < 8; ++d) ++counts[size_t(d)][(from[i].prefix >> (8 * d)) & 0xFF];
    for (int d = 0; d < 8; ++d) {
        std::array<std::uint32_t, 256>& starts = counts[size_t(d)];
        if (std::find(starts.begin(), starts.end(), std::uint32_t(n)) != starts.end()) continue;
        std::uint32_t sum = 0;
        for (std::uint32_t& c : starts) sum += std::exchange(c, sum);
        for (std::size_t i = 0; i < n; ++i) to[starts[(from[i].prefix >> (8 * d)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != entries) std::copy(from, from + n, entries);
}

// Keys compared as their bytes compare as the bytes in which not all of them agree: the others never decide. Those
// positions, eight at a time (a level), make the numbers the keys are sorted by.
class KeyBytesThatDiffer {
public:
    // keys: the records, each starting with its key of keyBytes bytes.
    KeyBytesThatDiffer(const std::vector<const char*>& keys, int keyBytes) : keyAt_(keys)
    {
        const std::size_t words = std::size_t(keyBytes + 7) / 8;
        const std::size_t tail = std::size_t(keyBytes) - (words - 1) * 8;  // bytes of the last word in the key
        std::vector<std::uint64_t> first(words, 0);
        std::vector<std::uint64_t> differ(words, 0);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            for (std::size_t w = 0; w < words; ++w) {
                std::uint64_t word = 0;
                std::memcpy(&word, keys[k] + 8 * w, w + 1 < words ? 8 : tail);
                if (k == 0)
                    first[w] = word;
                else
                    differ[w] |= word ^ first[w];
            }
        }
        for (std::size_t at = 0; at < std::size_t(keyBytes); ++at) {
            if (reinterpret_cast<const std::uint8_t*>(differ.data())[at] != 0) positions_.push_back(int(at));
        }
    }
    bool hasLevel(std::size_t level) const { return level * 8 < positions_.size(); }
    std::uint64_t prefix(std::uint32_t index, std::size_t level) const
    {
        const char* key = keyAt_[index];
        const int* at = positions_.data() + level * 8;
        const std::size_t n = std::min<std::size_t>(8, positions_.size() - level * 8);
        if (n == 8 && at[7] == at[0] + 7) {
            std::uint64_t word;
            std::memcpy(&word, key + at[0], sizeof word);
            return qFromBigEndian(word);
        }
        std::uint64_t value = 0;
        for (std::size_t j = 0; j < 8; ++j) value = value << 8 | (j < n ? std::uint8_t(key[at[j]]) : 0u);
        return value;
    }

private:
    const std::vector<const char*>& keyAt_;
    std::vector<int> positions_;
};

// entries[begin, end) are sorted by their prefixes of level; those that tie are sorted by the next level's.
void sortTies(std::vector<KeyOrder>& entries, std::size_t begin, std::size_t end, std::size_t level,
              const KeyBytesThatDiffer& bytes, std::vector<KeyOrder>& scratch)
{
    if (!bytes.hasLevel(level + 1)) return;
    for (std::size_t run = begin; run < end;) {
        std::size_t runEnd = run + 1;
        while (runEnd < end && entries[runEnd].prefix == entries[run].prefix) ++runEnd;
        if (runEnd - run > 1) {
            for (std::size_t i = run; i < runEnd; ++i) entries[i].prefix = bytes.prefix(entries[i].index, level + 1);
            sortByPrefix(entries.data() + run, runEnd - run, scratch);
            sortTies(entries, run, runEnd, level + 1, bytes, scratch);
        }
        run = runEnd;
    }
}

}  // namespace

void ParadoxStorage::placeAmongRows()
{
    std::size_t done = 0;
    try {
        RowWalker walk(unplaced_);
        for (; done < unplaced_.size(); ++done) {
            const char* record = walk.next();
            rows_.insert(size_t(lowerBound(record, header_.keyFieldCount)), record);
        }
    } catch (...) {
        // The ones placed already are held back no longer; the others are no longer where their keys were noted.
        for (; done > 0; --done) unplaced_.erase(0);
        unplacedKeysStale_ = true;
        throw;
    }
}

void ParadoxStorage::placeSortedUnplaced()
{
    const int keyBytes = keySize();
    const std::size_t count = unplaced_.size();
    // The fewer go among the more: each into its place, and the others stay where they are.
    if (rows_.size() * 8 < count) std::swap(rows_, unplaced_);
    if (unplaced_.size() * 8 < rows_.size()) {
        placeAmongRows();
    } else {
        RowStore merged;
        merged.reset(header_.recordSize, keyBytes);
        RowWalker placed(rows_);
        RowWalker waiting(unplaced_);
        std::size_t placedLeft = rows_.size();
        std::size_t waitingLeft = unplaced_.size();
        const char* a = placed.next();
        const char* b = waiting.next();
        while (placedLeft > 0 && waitingLeft > 0) {
            if (compareBytes(a, b, keyBytes) < 0) {
                merged.append(a);
                a = --placedLeft > 0 ? placed.next() : nullptr;
            } else {
                merged.append(b);
                b = --waitingLeft > 0 ? waiting.next() : nullptr;
            }
        }
        for (; placedLeft > 0; --placedLeft, a = placedLeft > 0 ? placed.next() : nullptr) merged.append(a);
        for (; waitingLeft > 0; --waitingLeft, b = waitingLeft > 0 ? waiting.next() : nullptr) merged.append(b);
        rows_ = std::move(merged);
    }
}

void ParadoxStorage::placeUnplacedNow()
{
    // Held back are only records of a table whose keys compare as their bytes (insertUnplaced), all of them
    // different from each other and from the table's.
    const std::size_t count = unplaced_.size();
    if (count <= kFewUnplaced && !rows_.empty()) {
        // A record or two, as a cursor that asks for its row after every post leaves: straight to their places.
        placeAmongRows();
        dropUnplaced();
        return;
    }
    std::vector<KeyOrder> order(count);
    {
        std::vector<const char*> records(count);
        RowWalker walk(unplaced_);
        for (const char*& r : records) r = walk.next();
        const KeyBytesThatDiffer bytes(records, keySize());
        for (std::size_t i = 0; i < count; ++i) order[i] = {bytes.prefix(std::uint32_t(i), 0), std::uint32_t(i)};
        std::vector<KeyOrder> scratch;
        sortByPrefix(order.data(), count, scratch);
        sortTies(order, 0, count, 0, bytes, scratch);
    }
    // Put in key order where they lie; then they and the table's records, each in order, go together.
    {
        std::vector<std::uint32_t> from(count);
        for (std::size_t i = 0; i < count; ++i) from[i] = order[i].index;
        order = {};
        unplaced_.permute(from);
    }
    // Anything that fails from here on leaves the records held back in another order than their keys were
    // noted in: the keys are noted anew before they are needed again.
    try {
        placeSortedUnplaced();
    } catch (...) {
        unplacedKeysStale_ = true;
        throw;
    }
    dropUnplaced();
}

}  // namespace db::paradox
