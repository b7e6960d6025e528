#pragma once

#include "db/FileLock.h"
#include "db/TableStorage.h"
#include "db/paradox/KeyHashSet.h"
#include "db/paradox/ParadoxFiles.h"
#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/RowStore.h"

#include <QByteArray>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace db::paradox {

// A check of a record image, taken by reference for the length of one call: a lambda passed to it costs no
// allocation, as it may in a std::function, on a path that runs once per record.
class RecordCheck {
public:
    RecordCheck() = default;
    template <typename F>
    RecordCheck(const F& check)  // from any callable, as std::function is made
        : check_(&check), call_([](const void* c, const char* record) { (*static_cast<const F*>(c))(record); })
    {
    }
    explicit operator bool() const { return call_ != nullptr; }
    void operator()(const char* record) const { call_(check_, record); }

private:
    const void* check_ = nullptr;
    void (*call_)(const void*, const char*) = nullptr;
};

// One open Paradox table. Reading goes straight to the file, block by block. The first write loads every record
// into memory; from then on the records live here and flush() writes the whole file set anew (see the top of
// ParadoxWriter.cpp for why that keeps the files valid at every moment).
class ParadoxStorage final : public TableStorage, private WriterTurns {
public:
    static std::shared_ptr<ParadoxStorage> open(const QString& path, OpenMode mode);
    ~ParadoxStorage() override;

    QString path() const override { return path_; }
    const FieldDefList& fields() const override { return fields_; }
    int keyFieldCount() const override { return header_.keyFieldCount; }
    QString readOnlyReason() const override { return readOnlyReason_; }
    int recordCount() const override;
    Record read(int row) const override;
    bool readsFieldsSingly() const override { return true; }
    void readField(int row, int field, QVariant& value) const override;
    void readFields(int row, Record& record, std::vector<char>& unread) const override;
    int insert(const Record& record, int beforeRow) override;
    int insertUnplaced(const Record& record) override;
    bool copiesFrom(const TableStorage& source, int fieldCount) const override;
    int insertCopy(const TableStorage& source, int sourceRow, int fieldCount) override;
    bool appendsTextBytes(int codePage, int count) const override;
    void appendTextBytes(const QByteArrayView* texts, int count) override;
    void writeTextBytesTable(qint64 count, int fieldCount, const std::function<void(QByteArrayView*)>& next) override;
    bool textByteMap(int field, const TableStorage& source, int sourceField, TextByteMap& map) const override;
    bool textBytes(int row, int field, QByteArrayView& bytes) const override;
    QString textOfBytes(int field, QByteArrayView bytes) const override;
    int update(int row, const Record& record) override;
    int updateChanged(int row, const Record& record, const std::vector<char>& changed) override;
    void remove(int row) override;
    void empty() override;
    int findKey(const Record& keyValues) const override;
    qint64 recordCapacity() const override;
    void flush() override;
    void setScratch(bool scratch) override { durable_ = !scratch; }
    void discardChanges() override
    {
        dirty_ = false;
        dropUnplaced();
    }

    // Facts of the file for tests and diagnostics.
    const TableHeader& header() const { return header_; }
    int autoIncCounter() const { return autoInc_; }

private:
    struct BlockRef {
        int block = 0;
        int count = 0;
        int firstRow = 0;
    };

    ParadoxStorage() = default;
    void load(const QString& path, OpenMode mode);
    void walkChain();
    void readValidity();

    QByteArray rawRecord(int row) const;
    // The bytes of file block `block` (1-based), of which at least `needed` must lie in the file; valid until the
    // next call.
    const char* blockData(int block, int needed) const;
    // The bytes of one record, valid until the next call.
    const char* recordAt(int row) const;
    // The records of blocks_[index], side by side.
    const char* blockRecords(int index) const;
    QVariant decodeBlob(const FieldLayout& f, const char* p) const;
    void encodeBlob(const FieldLayout& f, const QVariant& value, char* p);
    // The record image of record into raw (recordSize bytes); for a change, previous is the stored image, and a
    // field changed leaves out (when given) keeps its bytes. check, when given, sees the image before any blob of
    // it goes into the blob file, and may refuse it by raising.
    void encodeRecord(const Record& record, const char* previous, const std::vector<char>* changed, char* raw,
                      RecordCheck check = {});
    bool storedNull(const FieldLayout& f, const char* p) const;
    int updateRecord(int row, const Record& record, const std::vector<char>* changed);
    void checkRow(int row) const;
    void checkWritable();
    // Refuses a record the table could not hold even in the largest blocks its file level allows.
    void checkRoom() const;
    QString fullMessage() const;
    void materialize();
    // Drops what was kept of the file's blocks and keys for reading.
    void forgetReadCaches();
    // The record of input with its auto-increment numbers into newRecord_, checked by check as encodeRecord
    // does; the counter stays as it was when it fails.
    char* encodeNew(const Record& input, RecordCheck check);

    // Key order. The key fields lie side by side from the record's start, and every field but an alpha one
    // outside ascii order compares as its bytes do: then keys compare as all their bytes at once. Inline, as a
    // record placed in a keyed table compares keys a few dozen times.
    int compareKeys(const char* a, const char* b, int fieldCount) const
    {
        if (asciiOrder_ && fieldCount > 0) {
            const FieldLayout& last = header_.layout[size_t(fieldCount - 1)];
            return compareBytes(a, b, last.offset + last.length);
        }
        return compareKeyFields(a, b, fieldCount);
    }
    int compareKeyFields(const char* a, const char* b, int fieldCount) const;
    int lowerBound(const char* key, int fieldCount) const;
    // Row at which record's key belongs among the placed records; a key one of them has is a key violation.
    int freePlace(const char* record) const;
    // freePlace, and a key our stand-in for the table's collation cannot place safely is refused.
    int placeKey(const char* record);
    QString keyText(const char* record) const;
    [[noreturn]] void throwKeyViolation(const char* record) const;
    // Bytes of the whole primary key at the start of a record.
    int keySize() const
    {
        const int k = header_.keyFieldCount;
        return k > 0 ? header_.layout[size_t(k - 1)].offset + header_.layout[size_t(k - 1)].length : 0;
    }

    bool asciiOrder() const { return asciiOrder_; }

    // Auto-increment rules.
    void assignAutoInc(Record& record, const QByteArray* previous, std::vector<char>* changed);
    void forgetAutoInc(const char* record);
    void rememberAutoInc(const char* record);
    void ensureAutoIncSets();

    // Writers' turns (see WriterTurns): the folder lock, and the check that the files are still those this
    // storage read or last wrote, and that none of them was protected since.
    void beginTurn() override;
    void endTurn() override;
    // The first file of the set whose mode forbids changes, or an empty string.
    QString protectedFile() const;

    // ParadoxWriter.cpp
    void writeFileSet();
    // The file set anew with records records, fill writing each into the record image it is given in turn.
    template <class Fill>
    void writeFileSetOf(qint64 records, Fill&& fill);
    QByteArray buildHeader(qint64 records, int blocks) const;
    QByteArray buildPrimaryIndex(const std::vector<BlockRef>& blocks, int dbChangeStamp) const;
    void ensureBlobFile();

    QString path_;
    OpenMode mode_ = OpenMode::Shared;
    FileLock lock_;
    PosixFile db_;
    qint64 dbInode_ = 0;
    TableHeader header_;
    FieldDefList fields_;
    TextCodec codec_;
    QString readOnlyReason_;
    bool asciiOrder_ = true;
    mutable int orderChecked_ = -1;  // -1 unknown, 0 the stored order differs from ours, 1 matches

    std::vector<BlockRef> blocks_;
    int rowCount_ = 0;
    qint64 fileSize_ = 0;
    // The file is read in chunks of consecutive blocks (a table's blocks mostly lie in chain order). Chunks read
    // out of order are kept, so that key searches in a table that is only read do not go to the file for the
    // blocks every search passes; dropped as a whole when they grow past their limit. Chunks read in order (a
    // cursor walking the table) go through one buffer.
    mutable std::unordered_map<int, QByteArray> chunks_;
    mutable qint64 chunkBytes_ = 0;
    mutable QByteArray streamChunk_;
    mutable int currentChunk_ = -1;  // the chunk of the last block asked for, and its bytes
    mutable const char* currentData_ = nullptr;
    mutable int cachedBlock_ = -1;     // index in blocks_ of the block whose records cachedRecords_ points to
    mutable const char* cachedRecords_ = nullptr;
    // First key of every block, once the records were found in key order (a table that is only read).
    // The key of every kSampleRows-th record of each block (from its first on), in key order, once the records
    // were found in key order (a table that is only read): a search finds the few records the key may be among
    // in memory the processor keeps close, and looks at the file's blocks only for those.
    struct Sample {
        int row = 0;
        int block = 0;  // index in blocks_
    };
    mutable std::vector<Sample> samples_;
    mutable QByteArray sampleKeys_;
    mutable int sampleKeySize_ = 0;
    // Instead of the samples where keys compare byte by byte (ascii order): eight bytes of every record's key, from
    // the first byte in which the keys differ on, as one number per row. A search finds its row among these,
    // which the processor keeps close even for a large table, and reads only the record it lands on (and the few
    // whose eight bytes tie).
    // The rest of every key lies in keyTails_, side by side, so that telling the keys that tie apart and checking
    // the row found do not go through the blocks either.
    mutable std::vector<std::uint64_t> keyPrefixes_;
    mutable QByteArray sharedKeyStart_;  // the bytes every key starts with, left out of keyPrefixes_ and keyTails_
    mutable std::vector<char> keyTails_;
    mutable int keyTailSize_ = 0;
    void buildKeyPrefixes(int keySize) const;
    // Whether the first keyBytes bytes of row's key are those of key.
    bool rowHasKey(int row, const char* key, int keyBytes) const;

    bool materialized_ = false;
    RowStore rows_;
    // Records of a keyed table that a cursor posted without asking for their rows (insertUnplaced), in the order
    // they came. Put in key order one by one, shuffled keys jump through the whole table for every record; held
    // back, they are sorted once and merged with the table in one pass, before anything that deals in rows
    // (placeUnplaced). Their keys are known meanwhile (unplacedKeys_), so that a key violation is still raised by
    // the post that causes it. Placing them changes how the records are held, not which records there are or
    // what they hold: no change for the cursors to follow.
    RowStore unplaced_;
    KeyHashSet unplacedKeys_;  // by their index in unplaced_
    bool keyNumbered_ = false;  // an auto-increment key field: its number is not the cursor's to find it by
    // Const, as reading asks for rows too; a storage is never a const object (open() makes every one).
    void placeUnplaced() const
    {
        if (!unplaced_.empty()) const_cast<ParadoxStorage*>(this)->placeUnplacedNow();
    }
    void placeUnplacedNow();
    // The records held back, in key order, and the table's records go together.
    void placeSortedUnplaced();
    // Each record held back into its place among the table's, in any order.
    void placeAmongRows();
    void dropUnplaced();
    void rebuildUnplacedKeys();
    bool unplacedKeysStale_ = false;  // unplacedKeys_ do not name unplaced_'s records by their places
    QByteArray scratch_;  // changed fields encoded before they go into their record
    std::vector<char> newRecord_;  // a new record encoded before the record store takes a copy
    QByteArray blobBytes_;         // a blob encoded before it goes into the blob file
    std::vector<int> marked_;  // the fields a change names
    std::vector<int> requiredFields_;  // fields that must hold a value, known once the table is loaded
    bool dirty_ = false;
    bool durable_ = true;  // writes wait for the disk (fsync); not for a scratch table
    std::int32_t autoInc_ = 0;
    std::vector<int> autoIncFields_;
    std::vector<int> blobFields_;  // memo, blob, graphic and OLE fields
    std::vector<std::unordered_set<std::int32_t>> autoIncUsed_;
    bool autoIncSetsBuilt_ = false;

    BlobFile blobs_;
    QString mbMissingPath_;
    QString pxPath_;  // the primary index, once there is one
    FolderLock turnLock_;
    int turnDepth_ = 0;
};

}  // namespace db::paradox
