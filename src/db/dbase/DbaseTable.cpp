// The dBase table storage: reading every dialect the engine meets, writing dBase III and IV tables.
//
// How a write keeps the table valid
// =================================
// A process may die between any two system calls. Everything below holds at each of those moments, so another
// program (or we, after a restart) always finds a table whose header, records and memo file agree, holding what the
// last completed flush left.
//
//  1. Changes wait in memory until flush(): new records with their memos, new images of existing records, deletion
//     marks. The storage flushes them itself when they pass kFlushAt bytes and when it is closed. Reads of waiting
//     rows are served from memory. A process that dies before a flush completes loses the waiting changes, never
//     the file.
//  2. A flush writes in this order, under one lock (rule 9): the rollback journal (only when existing records
//     change, rule 5), the memos (rule 3), the new records, the changed records and deletion flags, the header's
//     record count, and last the journal's removal. flush() also syncs both files: the records and memos before the
//     count is raised, everything before the journal goes.
//  3. A record never points at memo data that is not completely written, and the memo file's end marker (dBase
//     III: next free block; dBase IV: the end of its free list) never lies before the end of the file. A flush
//     first moves the marker past the blocks all its memos need, then writes them in one piece, and only then the
//     records that refer to them. Dying in between leaves unreferenced blocks (or a marker beyond the file's end),
//     which every writer, dBase included, simply skips. New memos always start at the file's end, never at a
//     marker beyond it, so a damaged marker cannot make the file grow by a hole.
//  4. The record count in the header never exceeds the number of complete records in the file. New records (with
//     the end-of-file marker behind them) are written first; the count is raised afterwards by one write of header
//     bytes 1..7, which lies within the first page and is therefore all-or-nothing. A flush of new records only is
//     done exactly when that write is.
//  5. Changes of existing records span many bytes in many places. Before the first of them is written, the journal
//     (<table file>-journal, with a checksum) holds the old bytes of every existing record the flush changes, the
//     old record count and the file's old end: its size and the bytes behind the last record that the new records
//     will cover (the end-of-file marker). Whoever opens the table for writing next, or flushes next, finds a
//     complete journal and writes the old bytes, the old end and the old count back, which undoes the whole flush
//     that died, new records included: readers that go by the end marker rather than the count find none of them.
//     An incomplete journal means no record was touched yet and is simply removed. Only entries that lie within
//     one record of the table's records are written back. A flush with a journal leaves bytes behind its new end
//     where they are (behind its end marker), so that the old end stays in the journal's reach. A journal that
//     cannot be removed once its flush is done or undone is emptied (nobody applies an empty one): left whole, it
//     would undo whatever is written after it. A flush that fails (a full disk) undoes itself the same way, or,
//     without a journal, puts the old end back; the journal goes, and the changes wait for the next flush.
//  6. Memo blocks in use are never overwritten: a changed memo is written as a new memo; the old blocks stay
//     unreferenced until the table is packed by another program.
//  7. A record changed or deleted by another writer between our change and our flush: our new image does not bring
//     a record back that the other deleted.
//  8. Emptying (exclusive only) drops the waiting changes, first sets the count to 0 (rule 4), then cuts the files.
//  9. Writers of several processes take turns: each flush holds an open-file-description lock on a byte range of
//     the .DBF far beyond its end, recovers a journal, re-reads the header under it and catches up with records
//     others appended; our new records go behind theirs. A table opened exclusively has no other writer and needs
//     neither lock nor catching up. Between flushes a writer sees the table as of its last flush plus its own
//     waiting changes.
// 10. A table the engine cannot keep correct (production or other index, FoxPro or dBase 7 dialect, field types
//     it does not write, encryption, an open transaction, an unknown code page) is never written: open() gives it
//     a readOnlyReason and every write raises EngineError with that reason. So is a table whose .DBF or memo file
//     the user protected (no write bit in its mode: root could write it anyway); a file protected while the table
//     is open makes the next flush raise before it writes anything.
// 11. A new table is written to temporary files which are renamed into place, the memo file before the .DBF, so
//     that no .DBF ever exists without its memo file.
// 12. Files another program cut short while we have them open are damaged, and a flush does not write into them:
//     a .DBF shorter than its header's record count says (records behind its end would leave a hole of zeros that
//     other readers take for records), and a memo file that ends before the end of the last memo any record of
//     the table points to, deleted records included (a new memo placed at its end would lie in blocks those
//     records still read as theirs). The flush raises EngineError and leaves both files as they are; what can
//     still be read is read as before.
//
// Reading takes records in blocks of about kReadBlock bytes and memos through the memo file's read-ahead window.
// Both are dropped at every flush, catch-up and emptying; a record another process changes in place shows once its
// block is read again.
//
// States: idle -> (insert/update/remove: changes waiting in memory) -> flush: lock, recover journal, catch up ->
// journal written (existing records change) -> memos appended -> records written -> count raised -> journal
// removed -> unlock -> idle.

#include "db/dbase/DbaseTable.h"

#include "db/ByteOrder.h"
#include "db/EngineError.h"
#include "db/FileLock.h"
#include "db/FileNames.h"
#include "db/dbase/DbaseMemo.h"
#include "db/dbase/DbfFormat.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <span>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace db::dbase {

namespace {

constexpr char kDeleted = '*';
constexpr char kEndOfFile = 0x1A;
// Where writers of several processes lock each other out: far beyond any real table's end.
constexpr off_t kWriterLockOffset = 0x7FFFFFF0;
constexpr char kJournalMagic[8] = {'D', 'B', 'F', 'U', 'N', 'D', 'O', '3'};
// The journal of earlier versions, without the file's old end; still undone when one of them left it.
constexpr char kJournalMagicWithoutEnd[8] = {'D', 'B', 'F', 'U', 'N', 'D', 'O', '2'};
// Waiting changes beyond this many bytes (records and the memo blocks they need) are written without waiting for
// flush(). Small enough that the waiting records are still in the processor's cache when they are written: copying
// them into the system's file cache from main memory costs more than the extra writes.
constexpr std::uint64_t kFlushAt = 1u << 20;
// A journal is never larger than the changes of one flush; one larger than this was not written by us.
constexpr std::uint64_t kMaxJournal = 64u << 20;
// Records read at once.
constexpr std::uint32_t kReadBlock = 64 * 1024;

// The indexes of the fields a change mask marks, in order, written to the front of marked (kept at least as long as
// the mask, so that no post allocates or grows it); returns how many. The marks are read eight at a time and only
// the marked bytes of a word are visited: a post of an import run marks one field of many.
std::size_t markedFields(const std::vector<char>& mask, std::vector<int>& marked)
{
    static_assert(std::endian::native == std::endian::little, "the first mark is the lowest byte of a word");
    const std::size_t n = mask.size();
    if (marked.size() < n)
        marked.resize(n);
    int* out = marked.data();
    std::size_t count = 0;
    const char* m = mask.data();
    for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, m + i, std::min<std::size_t>(8, n - i));
        while (word != 0) {
            const int byte = std::countr_zero(word) / 8;
            out[count++] = int(i) + byte;
            word &= ~(std::uint64_t(0xFF) << (8 * byte));
        }
    }
    return count;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The date for the header. QDate::currentDate() consults the time zone on every call, which a write per record
// would pay for each time; the date is taken again when the second changes.
QDate today()
{
    static thread_local std::time_t seen = 0;
    static thread_local QDate date;
    const std::time_t now = std::time(nullptr);
    if (now != seen) {
        seen = now;
        date = QDate::currentDate();
    }
    return date;
}

std::uint32_t fnv1a(const char* data, std::size_t size)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= std::uint8_t(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

std::uint64_t fileSizeOf(int fd, const QString& path)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Lesefehler in %1: %2").arg(path, errnoText()));
    return std::uint64_t(st.st_size);
}

// Files beside the table with its base name and one of the extensions (compared without case).
QStringList companions(const QString& tablePath, const QStringList& extensions)
{
    const QFileInfo info(tablePath);
    QStringList found;
    for (const QString& file : filesOfBaseName(info.absolutePath(), info.completeBaseName())) {
        const QString suffix = QFileInfo(file).suffix();
        for (const QString& ext : extensions)
            if (suffix.compare(ext, Qt::CaseInsensitive) == 0)
                found << file;
    }
    return found;
}

QString dialectName(std::uint8_t version, DbfFamily family)
{
    switch (family) {
    case DbfFamily::FoxPro2: return QStringLiteral("FoxPro");
    case DbfFamily::VisualFoxPro: return QStringLiteral("Visual FoxPro");
    case DbfFamily::DBase7: return QStringLiteral("dBase 7");
    default: return QStringLiteral("dBase (Kennbyte 0x%1)").arg(version, 2, 16, QLatin1Char('0'));
    }
}


// Whether two field images are equal. A field is a few dozen bytes, compared per post of an import run: in place,
// eight at a time, it costs less than the call of the library's comparison.
bool sameBytes(const char* a, const char* b, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            return false;
    }
    for (; i < n; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// A field image copied in place, eight bytes at a time, for the same reason.
void copyBytes(char* to, const char* from, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        std::memcpy(to + i, from + i, 8);
    for (; i < n; ++i)
        to[i] = from[i];
}

// Replaces the null value in slot by what make() returns, made right there: a record is ten or more values, read
// for every row, and moving each from a temporary into its place costs more than making it. A null QVariant holds
// nothing, so its storage is reused without running its destructor.
template <typename Make>
void makeInPlace(QVariant& slot, Make&& make)
{
    Q_ASSERT(slot.isNull() && !slot.isValid());
    try {
        ::new (static_cast<void*>(&slot)) QVariant(make());
    } catch (...) {
        ::new (static_cast<void*>(&slot)) QVariant();
        throw;
    }
}

// A memo of a waiting record image: none, new data waiting in the memo arena, or the memo the record's image
// refers to already (an unchanged memo of an existing record).
struct PendingMemo {
    enum State : std::uint8_t { None, New, Keep };
    std::uint32_t offset = 0;  // of New data in the arena
    std::uint32_t length = 0;
    State state = None;
};

// Record images waiting for a flush, one after the other, with one PendingMemo per memo field each.
class PendingImages {
public:
    void setShape(std::size_t recordLength, std::size_t memoFields)
    {
        recordLength_ = recordLength;
        memoFields_ = memoFields;
    }
    std::size_t count() const { return count_; }
    bool empty() const { return count_ == 0; }
    char* image(std::size_t i) { return raw_.data() + i * recordLength_; }
    const char* image(std::size_t i) const { return raw_.data() + i * recordLength_; }
    PendingMemo* memos(std::size_t i) { return memos_.data() + i * memoFields_; }
    const PendingMemo* memos(std::size_t i) const { return memos_.data() + i * memoFields_; }
    // The images back to back, with room for one byte more behind them.
    std::vector<char>& raw() { return raw_; }

    // A new image of blanks without memos, to be filled in place; dropLast() takes it back.
    std::size_t addBlank()
    {
        raw_.resize(raw_.size() + recordLength_, ' ');
        memos_.resize(memos_.size() + memoFields_);
        return count_++;
    }
    void dropLast()
    {
        raw_.resize(raw_.size() - recordLength_);
        memos_.resize(memos_.size() - memoFields_);
        --count_;
    }
    std::size_t add(const char* image, const PendingMemo* memos)
    {
        raw_.insert(raw_.end(), image, image + recordLength_);
        memos_.insert(memos_.end(), memos, memos + memoFields_);
        return count_++;
    }
    void set(std::size_t i, const char* image, const PendingMemo* memos)
    {
        std::memcpy(this->image(i), image, recordLength_);
        std::copy(memos, memos + memoFields_, this->memos(i));
    }
    void erase(std::size_t i)
    {
        raw_.erase(raw_.begin() + std::ptrdiff_t(i * recordLength_),
                   raw_.begin() + std::ptrdiff_t((i + 1) * recordLength_));
        memos_.erase(memos_.begin() + std::ptrdiff_t(i * memoFields_),
                     memos_.begin() + std::ptrdiff_t((i + 1) * memoFields_));
        --count_;
    }
    void clear()
    {
        raw_.clear();
        memos_.clear();
        count_ = 0;
    }

private:
    std::size_t recordLength_ = 0;
    std::size_t memoFields_ = 0;
    std::size_t count_ = 0;
    std::vector<char> raw_;
    std::vector<PendingMemo> memos_;
};

class DbaseStorage final : public TableStorage {
public:
    DbaseStorage(const QString& path, OpenMode mode, const OpenOptions& options);
    ~DbaseStorage() override;

    QString path() const override { return path_; }
    const FieldDefList& fields() const override { return defs_; }
    int keyFieldCount() const override { return 0; }
    QString readOnlyReason() const override { return readOnlyReason_; }
    int recordCount() const override { return int(rows_.size() + appended_.count()); }
    Record read(int row) const override;
    bool readsFieldsSingly() const override { return true; }
    void readField(int row, int field, QVariant& value) const override;
    void readFields(int row, Record& record, std::vector<char>& unread) const override;
    int insert(const Record& record, int beforeRow) override;
    int update(int row, const Record& record) override;
    int updateChanged(int row, const Record& record, const std::vector<char>& changed) override;
    void remove(int row) override;
    void empty() override;
    int findKey(const Record& keyValues) const override;
    void flush() override;

private:
    class WriteGuard;

    void decideWritable();
    // The first file of the table the user protected (fileWritable), or nothing.
    QString protectedFile() const;
    QString protectedReason(const QString& file) const
    {
        return QStringLiteral("Die Tabelle %1 kann nur gelesen werden. Die Datei %2 ist schreibgeschützt.")
            .arg(QDir::toNativeSeparators(path_), QFileInfo(file).fileName());
    }
    void scanRows(std::uint32_t from, std::uint32_t to);
    void catchUp();
    void recoverJournal();
    void checkRow(int row) const;
    void checkWritable() const;
    std::uint64_t recordOffset(std::uint32_t physical) const
    {
        return std::uint64_t(header_.headerLength) + std::uint64_t(physical) * header_.recordLength;
    }
    // The bytes of a record in the file, from the block read last or a new block around it.
    const char* recordBytes(std::uint32_t physical) const;
    void dropCaches() const;
    // Puts the values into raw (a whole record image: blanks for a new record, the record's old bytes for a change)
    // and memos (one per memo field). For a change, old and oldMemos are the record as it stands (oldMemos null: as
    // in the files); a memo equal to the old one keeps it.
    // changed, when given, names the fields to encode; the others keep what old holds.
    void encodeRecord(const Record& record, char* raw, PendingMemo* memos, const char* old,
                      const PendingMemo* oldMemos, const std::vector<char>* changed = nullptr);
    int updateRecord(int row, const Record& record, const std::vector<char>* changed);
    // The image of row as read() decodes it, and the memos waiting for it (null: as in the files).
    void imageOf(int row, const char*& raw, const PendingMemo*& memos) const;
    QByteArrayView nullFlagsOf(const char* raw) const;
    // One field's value of an image; index is the field's place in header_.fields.
    QVariant decodeField(const char* raw, const PendingMemo* memos, QByteArrayView nullFlags, int index) const;
    // The memo of a new record when it is text that goes into the memo arena byte for byte: encoded right there,
    // without a copy in between. False (nothing done) for any other value.
    bool appendMemoText(const DbfField& f, const QVariant& value, char* raw, PendingMemo& memo);
    QByteArray pendingMemoData(const PendingMemo& memo) const
    {
        return QByteArray(memoArena_.data() + memo.offset, qsizetype(memo.length));
    }
    QVariant readMemo(const DbfField& field, std::uint32_t block) const;
    QByteArrayView pendingMemoView(const PendingMemo& memo) const
    {
        return QByteArrayView(memoArena_.data() + memo.offset, qsizetype(memo.length));
    }
    // The value of a memo field holding data; owner, when given, may hold the data (then shared, not copied).
    QVariant memoValue(const DbfField& field, QByteArrayView data, const QByteArray* owner) const;
    // The record of an image; memos null: every memo as the image refers to it in the memo file.
    Record decode(const char* raw, const PendingMemo* memos) const;
    bool hasPending() const { return !appended_.empty() || !changed_.empty() || !deleted_.empty(); }
    // Flushes first when the waiting changes have grown past kFlushAt.
    void makeRoom();
    // Counts what a change holds in memory toward kFlushAt: its new memos, and its image when it adds one (a
    // record changed again rewrites the image it has).
    void notePending(const PendingMemo* memos, bool newImage);
    // updateRecord() for a change of plain fields only: encodes just them and puts them into the record's image.
    int updatePlainFields(int row, const Record& record, const std::vector<char>& changed);
    // Writes the waiting changes (rule 2); durable: synced to disk before and after the count is raised.
    void writePending(bool durable);
    void writeJournal(const QByteArray& body);
    // Removes the journal of a flush that is done or undone; one that cannot be removed is emptied, and when that
    // fails too, EngineError is raised: left as it is, the journal would undo whatever is written after it.
    void dropJournal();
    // Puts the bytes behind the last record back as they were (bytes at end) and cuts the file back to size.
    void restoreEnd(std::uint64_t end, QByteArrayView bytes, std::uint64_t size);
    // After a flush: the new records are records of the file, nothing waits.
    void settle(std::uint32_t oldCount, std::uint32_t newCount);
    void discardPending();
    void sync();
    // Has the system start writing what this flush left in the page cache, without waiting for it: the disk works
    // while the next records are encoded, and the sync of the closing flush has less left to wait for. Promises
    // nothing about durability; that stays with sync() and the closing flush.
    void startWriteback() const;
    // makeRoom() for a change of row; returns where that record's row is afterwards.
    int makeRoomFor(int row);

    QString path_;
    QString journalPath_;
    OpenMode mode_;
    FileLock lock_;
    int fd_ = -1;
    bool fdWritable_ = false;
    DbfHeader header_;
    TextCodec codec_;
    std::unique_ptr<MemoFile> memo_;
    FieldDefList defs_;
    std::vector<int> visible_;           // header_.fields index of each reported field
    std::vector<char> memoField_;        // by header_.fields index: whether its data lives in the memo file
    std::vector<int> memoSlot_;          // by header_.fields index: its PendingMemo within a record's, or -1
    std::vector<int> memoFields_;        // header_.fields index of each memo field
    std::vector<std::uint32_t> rows_;    // physical record number of each non-deleted record in the file
    QString readOnlyReason_;
    bool tailClean_ = false;  // nothing lies behind the end-of-file marker, as far as our own appends know
    bool unsynced_ = false;   // written since the files were last synced

    // Waiting changes: new records (rows behind rows_), new images of records in the file by physical number,
    // records of the file to be deleted, and the data of their new memos.
    PendingImages appended_;
    PendingImages changed_;
    std::vector<std::uint32_t> changedPhysical_;  // of each image in changed_; kNoRecord once it is deleted
    std::unordered_map<std::uint32_t, std::size_t> changedSlot_;
    std::vector<std::uint32_t> deleted_;
    std::vector<char> memoArena_;
    std::uint64_t pendingBytes_ = 0;
    bool memoChecked_ = false;  // the memo file was found appendable for the waiting memos
    // Room for the images and memos a change is prepared in, kept so that a change allocates nothing.
    std::vector<char> oldImage_;
    std::vector<char> newImage_;
    std::vector<int> marked_;  // the fields a change names
    std::vector<PendingMemo> newMemos_;
    std::vector<PendingMemo> keptMemos_;  // every memo as the record in the file refers to it

    // Records read ahead: physical numbers blockFirst_ .. blockFirst_ + blockCount_ - 1.
    mutable std::vector<char> block_;
    mutable std::uint32_t blockFirst_ = 0;
    mutable std::uint32_t blockCount_ = 0;

    static constexpr std::uint32_t kNoRecord = 0xFFFFFFFFu;
};

// Serialises writers of all processes (rule 9) and brings this storage up to date before a flush. A table opened
// exclusively has no other writer: nothing needs locking or catching up, only a journal our own failed flush left.
// A guard for writing refuses a table whose files the user protected since it was opened; one that only catches up
// (writes nothing of ours) lets it be.
class DbaseStorage::WriteGuard {
public:
    WriteGuard(DbaseStorage& s, bool shared, bool writes = true) : s_(s), locked_(shared)
    {
        if (locked_)
            lock(F_WRLCK);
        try {
            const QString protectedName = writes ? s_.protectedFile() : QString();
            if (!protectedName.isEmpty())
                throw EngineError(ErrorCode::ReadOnlyTable, s_.protectedReason(protectedName));
            s_.recoverJournal();
            if (locked_)
                s_.catchUp();
        } catch (...) {
            if (locked_)
                lock(F_UNLCK);
            throw;
        }
    }
    ~WriteGuard()
    {
        if (locked_)
            lock(F_UNLCK);
    }

private:
    void lock(short type)
    {
        struct flock fl {};
        fl.l_type = type;
        fl.l_whence = SEEK_SET;
        fl.l_start = kWriterLockOffset;
        fl.l_len = 1;
        int rc;
        do {
            rc = ::fcntl(s_.fd_, F_OFD_SETLKW, &fl);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0 && type != F_UNLCK)
            throw EngineError(ErrorCode::FileLocked,
                              QStringLiteral("Die Tabelle %1 kann nicht gesperrt werden: %2").arg(s_.path_, errnoText()));
    }
    DbaseStorage& s_;
    bool locked_;
};

DbaseStorage::DbaseStorage(const QString& requestedPath, OpenMode mode, const OpenOptions& options) : mode_(mode)
{
    path_ = findFileIgnoringCase(requestedPath);
    if (!QFileInfo::exists(path_))
        throw EngineError(ErrorCode::TableNotFound, QStringLiteral("Die Tabelle %1 existiert nicht.").arg(requestedPath));
    journalPath_ = path_ + QStringLiteral("-journal");
    lock_.acquire(path_, mode);

    const QByteArray native = QFile::encodeName(path_);
    fd_ = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    fdWritable_ = fd_ >= 0;
    if (fd_ < 0)
        fd_ = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2").arg(path_, errnoText()));
    try {
        const std::uint64_t size = fileSizeOf(fd_, path_);
        QByteArray head(qsizetype(std::min<std::uint64_t>(size, 32)), '\0');
        readExactly(fd_, head.data(), std::size_t(head.size()), 0, path_);
        const std::uint64_t needed = std::min<std::uint64_t>(headerBytesNeeded(head), size);
        head.resize(qsizetype(needed));
        readExactly(fd_, head.data(), std::size_t(head.size()), 0, path_);

        const std::uint8_t driver = head.size() > 29 ? std::uint8_t(head[29]) : 0;
        int codePage = options.codePage.value_or(codePageOfLanguageDriver(driver));
        bool unknownCodePage = false;
        if (codePage == 0) {
            // Tables of DOS programs name no code page; theirs is the OEM one.
            unknownCodePage = driver != 0;
            codePage = unknownCodePage ? 1252 : 850;
        }
        codec_ = TextCodec(codePage);
        header_ = parseHeader(head, size, path_, codec_);

        for (int i = 0; i < int(header_.fields.size()); ++i) {
            const DbfField& f = header_.fields[size_t(i)];
            const bool memoField = isMemoLetter(f.letter, header_.family, f.length);
            memoField_.push_back(memoField);
            memoSlot_.push_back(memoField && !f.hidden ? int(memoFields_.size()) : -1);
            if (f.hidden)
                continue;
            if (memoField)
                memoFields_.push_back(i);
            visible_.push_back(i);
            defs_.push_back(f.def);
        }
        appended_.setShape(header_.recordLength, memoFields_.size());
        changed_.setShape(header_.recordLength, memoFields_.size());

        if (header_.hasMemoFields) {
            MemoKind kind = header_.memoKind;
            QStringList memoFiles;
            if (kind == MemoKind::Fpt) {
                memoFiles = companions(path_, {QStringLiteral("fpt")});
            } else if (kind != MemoKind::None) {
                memoFiles = companions(path_, {QStringLiteral("dbt")});
            } else {
                memoFiles = companions(path_, {QStringLiteral("fpt")});
                kind = MemoKind::Fpt;
                if (memoFiles.isEmpty()) {
                    memoFiles = companions(path_, {QStringLiteral("dbt")});
                    kind = MemoKind::Dbt3;
                }
            }
            if (memoFiles.isEmpty())
                throw EngineError(ErrorCode::CorruptFile,
                                  QStringLiteral("Die Memodatei zur Tabelle %1 fehlt.").arg(path_));
            const QByteArray memoNative = QFile::encodeName(memoFiles.first());
            int memoFd = ::open(memoNative.constData(), (fdWritable_ ? O_RDWR : O_RDONLY) | O_CLOEXEC);
            if (memoFd < 0 && fdWritable_) {
                memoFd = ::open(memoNative.constData(), O_RDONLY | O_CLOEXEC);
                if (memoFd >= 0)
                    readOnlyReason_ = protectedReason(memoFiles.first());
            }
            if (memoFd < 0)
                throw EngineError(ErrorCode::IoError, QStringLiteral("Die Memodatei %1 kann nicht geöffnet werden: %2")
                                                          .arg(memoFiles.first(), errnoText()));
            memo_ = std::make_unique<MemoFile>(memoFd, kind, memoFiles.first());
            if (kind != header_.memoKind)
                header_.memoKind = kind;
        }

        if (unknownCodePage)
            readOnlyReason_ = QStringLiteral("Der Zeichensatz der Tabelle (Sprachtreiber 0x%1) ist unbekannt; "
                                             "sie kann nur gelesen werden.")
                                  .arg(driver, 2, 16, QLatin1Char('0'));
        if (!codec_.supported())
            readOnlyReason_ = QStringLiteral("Der Zeichensatz %1 der Tabelle wird nicht unterstützt; sie kann nur "
                                             "gelesen werden.")
                                  .arg(codec_.codePage());
        decideWritable();
        if (readOnlyReason_.isEmpty()) {
            WriteGuard guard(*this, true);  // recovers a journal left by a writer that died
        }
        rows_.clear();
        scanRows(0, header_.recordCount);
    } catch (...) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
}

DbaseStorage::~DbaseStorage()
{
    if (hasPending()) {
        // A destructor that raises ends the process; the failure is told in the log instead.
        try {
            writePending(true);
        } catch (const EngineError& e) {
            qWarning().noquote() << e.message();
        } catch (const std::exception& e) {
            qWarning("Writing table %s failed: %s", qUtf8Printable(path_), e.what());
        } catch (...) {
            qWarning("Writing table %s failed", qUtf8Printable(path_));
        }
    }
    memo_.reset();
    if (fd_ >= 0)
        ::close(fd_);
}

void DbaseStorage::decideWritable()
{
    if (!readOnlyReason_.isEmpty())
        return;
    auto refuse = [&](const QString& reason) {
        if (readOnlyReason_.isEmpty())
            readOnlyReason_ = reason;
    };
    const QString protectedName = protectedFile();
    if (!protectedName.isEmpty())
        refuse(protectedReason(protectedName));
    if (!fdWritable_)
        refuse(QStringLiteral("Die Tabelle %1 ist schreibgeschützt.").arg(path_));
    const std::uint8_t v = header_.version;
    if (v != 0x03 && v != 0x83 && v != 0x8B)
        refuse(QStringLiteral("Tabellen im Format %1 können nur gelesen werden.").arg(dialectName(v, header_.family)));
    if (header_.tableFlags & 0x01)
        refuse(QStringLiteral("Die Tabelle %1 hat einen Produktionsindex, den dieses Programm nicht pflegen kann; "
                              "sie kann nur gelesen werden.")
                   .arg(path_));
    const QStringList indexes = companions(
        path_, {QStringLiteral("mdx"), QStringLiteral("cdx"), QStringLiteral("ndx"), QStringLiteral("ntx"),
                QStringLiteral("idx")});
    if (!indexes.isEmpty())
        refuse(QStringLiteral("Zur Tabelle gehört die Indexdatei %1, die dieses Programm nicht pflegen kann; "
                              "die Tabelle kann nur gelesen werden.")
                   .arg(QFileInfo(indexes.first()).fileName()));
    if (header_.encryptionFlag != 0)
        refuse(QStringLiteral("Die Tabelle %1 ist verschlüsselt und kann nur gelesen werden.").arg(path_));
    if (header_.transactionFlag != 0)
        refuse(QStringLiteral("In der Tabelle %1 ist eine Transaktion nicht abgeschlossen; sie kann nur gelesen "
                              "werden.")
                   .arg(path_));
    for (const DbfField& f : header_.fields) {
        const bool memoField = f.letter == 'M' || f.letter == 'B' || f.letter == 'G';
        const bool plain = std::strchr("CNFDL", f.letter) != nullptr && f.letter != '\0';
        if (!plain && !memoField)
            refuse(QStringLiteral("Das Feld %1 hat einen Typ (%2), den dieses Programm nicht schreiben kann; die "
                                  "Tabelle kann nur gelesen werden.")
                       .arg(f.def.name, QChar::fromLatin1(f.letter)));
        if (f.letter == 'D' && f.length != 8)
            refuse(QStringLiteral("Das Datumsfeld %1 hat die Länge %2 statt 8; die Tabelle kann nur gelesen werden.")
                       .arg(f.def.name)
                       .arg(f.length));
        if (memoField && (f.length != 10 || !memo_ || (memo_->kind() != MemoKind::Dbt3 &&
                                                        memo_->kind() != MemoKind::Dbt4)))
            refuse(QStringLiteral("Die Memodatei der Tabelle %1 kann nicht geschrieben werden.").arg(path_));
        if (memoField && f.letter != 'M' && memo_ && memo_->kind() == MemoKind::Dbt3)
            refuse(QStringLiteral("Binärfelder in dBase-III-Memodateien können nicht geschrieben werden."));
    }
}

QString DbaseStorage::protectedFile() const
{
    for (const QString& file : {path_, memo_ ? memo_->path() : QString()})
        if (!file.isEmpty() && !fileWritable(file))
            return file;
    return {};
}

void DbaseStorage::scanRows(std::uint32_t from, std::uint32_t to)
{
    // Chunks small enough to stay in the processor's cache while their flags are looked at.
    const std::uint32_t perChunk = std::max<std::uint32_t>(1, kReadBlock / header_.recordLength);
    std::vector<std::uint32_t> deleted = deleted_;  // waiting deletions stay deleted
    std::sort(deleted.begin(), deleted.end());
    // The memo file learns which blocks records point to, deleted ones included (they can be recalled), so that it
    // never places a new memo there (rule 12).
    const bool noteMemos = memo_ && readOnlyReason_.isEmpty() && !memoFields_.empty();
    if (noteMemos && from == 0)
        memo_->forgetReferences();
    std::uint32_t highest = 0;
    std::vector<char> chunk;
    for (std::uint32_t first = from; first < to;) {
        const std::uint32_t n = std::min(perChunk, to - first);
        chunk.resize(std::size_t(n) * header_.recordLength);
        readExactly(fd_, chunk.data(), chunk.size(), recordOffset(first), path_);
        for (std::uint32_t i = 0; i < n; ++i) {
            const char* record = chunk.data() + std::size_t(i) * header_.recordLength;
            if (record[0] != kDeleted &&
                (deleted.empty() || !std::binary_search(deleted.begin(), deleted.end(), first + i)))
                rows_.push_back(first + i);
            if (noteMemos)
                for (const int index : memoFields_) {
                    const DbfField& f = header_.fields[size_t(index)];
                    highest = std::max(highest, memoBlockOf(f, record + f.offset));
                }
        }
        first += n;
    }
    if (noteMemos)
        memo_->noteReferenced(highest);
}

void DbaseStorage::catchUp()
{
    dropCaches();
    char head[32];
    readExactly(fd_, head, sizeof head, 0, path_);
    const std::uint32_t count = getU32(head + 4);
    const std::uint16_t headerLength = getU16(head + 8);
    const std::uint16_t recordLength = getU16(head + 10);
    if (std::uint8_t(head[0]) != header_.version || headerLength != header_.headerLength ||
        recordLength != header_.recordLength)
        throw EngineError(ErrorCode::CorruptFile,
                          QStringLiteral("Die Struktur der Tabelle %1 wurde von einem anderen Programm geändert.")
                              .arg(path_));
    if (count == header_.recordCount)
        return;
    if (std::uint64_t(headerLength) + std::uint64_t(count) * recordLength > fileSizeOf(fd_, path_))
        throw EngineError(ErrorCode::CorruptFile,
                          QStringLiteral("Die Tabelle %1 ist beschädigt: der Kopf nennt mehr Datensätze, als die "
                                         "Datei enthält.")
                              .arg(path_));
    const std::uint32_t old = header_.recordCount;
    header_.recordCount = count;
    tailClean_ = false;
    if (count > old) {
        scanRows(old, count);
    } else {
        // Another program took records away: waiting changes of records that are gone go with them.
        deleted_.erase(std::remove_if(deleted_.begin(), deleted_.end(), [&](std::uint32_t p) { return p >= count; }),
                       deleted_.end());
        for (auto it = changedSlot_.begin(); it != changedSlot_.end();) {
            if (it->first >= count) {
                changedPhysical_[it->second] = kNoRecord;
                it = changedSlot_.erase(it);
            } else {
                ++it;
            }
        }
        rows_.clear();
        scanRows(0, count);
    }
    ++changes_;
}

// Journal: magic (8), old record count (4), number of entries (4), the file's old size (8), the length (4) and the
// old bytes of the end behind the last record, entries of offset (8), length (4) and the old bytes, checksum (4) of
// everything before it. The journal of earlier versions lacks the old size and end.
void DbaseStorage::recoverJournal()
{
    const QByteArray native = QFile::encodeName(journalPath_);
    const int jfd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (jfd < 0)
        return;
    QByteArray data;
    try {
        const std::uint64_t size = fileSizeOf(jfd, journalPath_);
        if (size <= kMaxJournal) {
            data.resize(qsizetype(size));
            readExactly(jfd, data.data(), std::size_t(size), 0, journalPath_);
        }
    } catch (...) {
        ::close(jfd);
        throw;
    }
    ::close(jfd);

    auto u32 = [&](qsizetype at) {
        std::uint32_t v;
        std::memcpy(&v, data.constData() + at, 4);
        return v;
    };
    struct Entry {
        std::uint64_t offset;
        std::uint32_t length;
        qsizetype at;
    };
    std::vector<Entry> entries;
    const bool withEnd = data.size() >= 20 && std::memcmp(data.constData(), kJournalMagic, 8) == 0;
    bool complete = data.size() >= 20 &&
                    (withEnd || std::memcmp(data.constData(), kJournalMagicWithoutEnd, 8) == 0) &&
                    u32(data.size() - 4) == fnv1a(data.constData(), std::size_t(data.size() - 4));
    const std::uint32_t oldCount = complete ? u32(8) : 0;
    const std::uint64_t oldEnd = std::uint64_t(header_.headerLength) + std::uint64_t(oldCount) * header_.recordLength;
    std::uint64_t oldSize = 0;
    Entry tail{oldEnd, 0, 0};
    if (complete) {
        // Only the old bytes of records of this table are written back, each within its record, and the old end
        // behind them; offsets are checked without letting a sum wrap around.
        const std::uint64_t size = fileSizeOf(fd_, path_);
        const std::uint64_t recordLength = header_.recordLength;
        complete = recordLength > 0 && oldEnd <= size;
        const std::uint32_t n = complete ? u32(12) : 0;
        qsizetype at = 16;
        if (complete && withEnd) {
            complete = data.size() - 4 - at >= 12;
            if (complete) {
                std::memcpy(&oldSize, data.constData() + at, 8);
                tail.length = u32(at + 8);
                tail.at = at + 12;
                // The old end lies within the file as the flush left it, so that undoing never makes it grow.
                complete = oldSize >= oldEnd && tail.length <= oldSize - oldEnd && tail.length <= size - oldEnd &&
                           std::uint64_t(data.size() - 4 - tail.at) >= tail.length;
                at = tail.at + qsizetype(tail.length);
            }
        }
        for (std::uint32_t i = 0; complete && i < n; ++i) {
            if (data.size() - 4 - at < 12) {
                complete = false;
                break;
            }
            Entry e;
            std::memcpy(&e.offset, data.constData() + at, 8);
            e.length = u32(at + 8);
            e.at = at + 12;
            complete = e.length > 0 && std::uint64_t(data.size() - 4 - e.at) >= e.length &&
                       e.offset >= header_.headerLength &&
                       (e.offset - header_.headerLength) / recordLength < oldCount &&
                       (e.offset - header_.headerLength) % recordLength + e.length <= recordLength;
            at = e.at + qsizetype(e.length);
            entries.push_back(e);
        }
        complete = complete && at == data.size() - 4;
    }
    if (complete) {
        for (const Entry& e : entries)
            writeExactly(fd_, data.constData() + e.at, e.length, e.offset, path_);
        // The count before the end: a count beyond the file's end would keep the table from opening at all.
        char count[4];
        std::memcpy(count, &oldCount, 4);
        writeExactly(fd_, count, 4, 4, path_);
        if (withEnd)
            restoreEnd(oldEnd, QByteArrayView(data.constData() + tail.at, tail.length), oldSize);
        dropCaches();
        // Left in place, the journal would undo whatever is written after this.
        dropJournal();
        return;
    }
    ::unlink(native.constData());
}

void DbaseStorage::restoreEnd(std::uint64_t end, QByteArrayView bytes, std::uint64_t size)
{
    if (!bytes.isEmpty())
        writeExactly(fd_, bytes.data(), std::size_t(bytes.size()), end, path_);
    if (fileSizeOf(fd_, path_) > size && ::ftruncate(fd_, off_t(size)) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
}

void DbaseStorage::dropJournal()
{
    const QByteArray native = QFile::encodeName(journalPath_);
    if (::unlink(native.constData()) == 0 || errno == ENOENT)
        return;
    // Emptied, it is a journal nobody applies; it goes when it can.
    const QString why = errnoText();
    if (::truncate(native.constData(), 0) != 0)
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Datei %1 kann nicht gelöscht werden: %2").arg(journalPath_, why));
    ::unlink(native.constData());
}

void DbaseStorage::checkRow(int row) const
{
    if (row < 0 || row >= recordCount())
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Datensatz %1 gibt es in der Tabelle %2 nicht.").arg(row + 1).arg(path_));
}

void DbaseStorage::checkWritable() const
{
    if (!readOnlyReason_.isEmpty())
        throw EngineError(ErrorCode::ReadOnlyTable, readOnlyReason_);
}

const char* DbaseStorage::recordBytes(std::uint32_t physical) const
{
    if (physical - blockFirst_ < blockCount_)
        return block_.data() + std::size_t(physical - blockFirst_) * header_.recordLength;
    // Blocks lie on multiples of their size, so a cursor walking backwards reads ahead as well as one walking on.
    const std::uint32_t perBlock = std::max<std::uint32_t>(1, kReadBlock / header_.recordLength);
    const std::uint32_t first = physical / perBlock * perBlock;
    const std::uint32_t count = std::min(perBlock, header_.recordCount - first);
    block_.resize(std::size_t(count) * header_.recordLength);
    blockCount_ = 0;
    readExactly(fd_, block_.data(), block_.size(), recordOffset(first), path_);
    blockFirst_ = first;
    blockCount_ = count;
    return block_.data() + std::size_t(physical - first) * header_.recordLength;
}

void DbaseStorage::dropCaches() const
{
    blockCount_ = 0;
    if (memo_)
        memo_->dropCache();
}

QVariant DbaseStorage::memoValue(const DbfField& field, QByteArrayView data, const QByteArray* owner) const
{
    if (data.isEmpty())
        return {};
    if (field.def.type == FieldType::ftMemo)
        return memoText(data, codec_);
    if (owner && owner->constData() == data.data() && owner->size() == data.size())
        return *owner;
    return data.toByteArray();
}

QVariant DbaseStorage::readMemo(const DbfField& field, std::uint32_t block) const
{
    if (block == 0 || !memo_)
        return {};
    // Text is decoded straight from the memo file's read-ahead window.
    QByteArray holder;
    const QByteArrayView data = memo_->view(block, holder);
    return memoValue(field, data, &holder);
}

Record DbaseStorage::decode(const char* raw, const PendingMemo* memos) const
{
    QByteArrayView nullFlags;
    if (header_.nullFlagsField >= 0) {
        const DbfField& nf = header_.fields[size_t(header_.nullFlagsField)];
        nullFlags = QByteArrayView(raw + nf.offset, nf.length);
    }
    Record record(visible_.size());
    QVariant* out = record.data();
    for (int index : visible_) {
        const DbfField& f = header_.fields[size_t(index)];
        const char* bytes = raw + f.offset;
        QVariant& value = *out++;
        if (!memoField_[size_t(index)]) {
            makeInPlace(value, [&] { return decodeValue(f, bytes, codec_, header_.family, nullFlags); });
            continue;
        }
        const PendingMemo* memo = memos ? &memos[memoSlot_[size_t(index)]] : nullptr;
        if (!memo || memo->state == PendingMemo::Keep)
            makeInPlace(value, [&] { return readMemo(f, memoBlockOf(f, bytes)); });
        else if (memo->state == PendingMemo::New)
            value = memoValue(f, pendingMemoView(*memo), nullptr);
    }
    return record;
}

void DbaseStorage::imageOf(int row, const char*& raw, const PendingMemo*& memos) const
{
    checkRow(row);
    if (std::size_t(row) >= rows_.size()) {
        const std::size_t i = std::size_t(row) - rows_.size();
        raw = appended_.image(i);
        memos = appended_.memos(i);
        return;
    }
    const std::uint32_t physical = rows_[size_t(row)];
    if (!changedSlot_.empty()) {
        const auto it = changedSlot_.find(physical);
        if (it != changedSlot_.end()) {
            raw = changed_.image(it->second);
            memos = changed_.memos(it->second);
            return;
        }
    }
    raw = recordBytes(physical);
    memos = nullptr;
}

QByteArrayView DbaseStorage::nullFlagsOf(const char* raw) const
{
    if (header_.nullFlagsField < 0)
        return {};
    const DbfField& nf = header_.fields[size_t(header_.nullFlagsField)];
    return QByteArrayView(raw + nf.offset, nf.length);
}

QVariant DbaseStorage::decodeField(const char* raw, const PendingMemo* memos, QByteArrayView nullFlags, int index) const
{
    const DbfField& f = header_.fields[size_t(index)];
    const char* bytes = raw + f.offset;
    if (!memoField_[size_t(index)])
        return decodeValue(f, bytes, codec_, header_.family, nullFlags);
    const PendingMemo* memo = memos ? &memos[memoSlot_[size_t(index)]] : nullptr;
    if (!memo || memo->state == PendingMemo::Keep)
        return readMemo(f, memoBlockOf(f, bytes));
    if (memo->state == PendingMemo::New)
        return memoValue(f, pendingMemoView(*memo), nullptr);
    return {};
}

void DbaseStorage::readField(int row, int field, QVariant& value) const
{
    const char* raw = nullptr;
    const PendingMemo* memos = nullptr;
    imageOf(row, raw, memos);
    const int index = visible_.at(size_t(field));
    const DbfField& f = header_.fields[size_t(index)];
    const PendingMemo* memo = memos && memoField_[size_t(index)] ? &memos[memoSlot_[size_t(index)]] : nullptr;
    if (memoField_[size_t(index)] && f.def.type == FieldType::ftMemo && memo_ &&
        (!memo || memo->state == PendingMemo::Keep)) {
        // A text memo is decoded from the memo file's read-ahead window into the text read before.
        const std::uint32_t block = memoBlockOf(f, raw + f.offset);
        QByteArray holder;
        const QByteArrayView data = block == 0 ? QByteArrayView() : memo_->view(block, holder);
        if (data.isEmpty())
            value = QVariant();
        else
            memoTextInto(data, codec_, value);
        return;
    }
    value = decodeField(raw, memos, nullFlagsOf(raw), index);
}

void DbaseStorage::readFields(int row, Record& record, std::vector<char>& unread) const
{
    const char* raw = nullptr;
    const PendingMemo* memos = nullptr;
    imageOf(row, raw, memos);
    const QByteArrayView nullFlags = nullFlagsOf(raw);
    const std::size_t count = std::min({visible_.size(), record.size(), unread.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const int index = visible_[i];
        // A memo may mean reading the memo file: only when it is asked for.
        if (!unread[i] || memoField_[size_t(index)])
            continue;
        decodeValueInto(header_.fields[size_t(index)], raw + header_.fields[size_t(index)].offset, codec_,
                        header_.family, nullFlags, record[i]);
        unread[i] = 0;
    }
}

Record DbaseStorage::read(int row) const
{
    checkRow(row);
    if (std::size_t(row) >= rows_.size()) {
        const std::size_t i = std::size_t(row) - rows_.size();
        return decode(appended_.image(i), appended_.memos(i));
    }
    const std::uint32_t physical = rows_[size_t(row)];
    if (!changedSlot_.empty()) {
        const auto it = changedSlot_.find(physical);
        if (it != changedSlot_.end())
            return decode(changed_.image(it->second), changed_.memos(it->second));
    }
    return decode(recordBytes(physical), nullptr);
}

void DbaseStorage::encodeRecord(const Record& record, char* raw, PendingMemo* memos, const char* old,
                                const PendingMemo* oldMemos, const std::vector<char>* changed)
{
    const auto kept = [&](std::size_t i) { return old && changed && !(*changed)[i]; };
    if (record.size() != visible_.size())
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Der Datensatz hat %1 Werte, die Tabelle %2 Felder.")
                              .arg(record.size())
                              .arg(visible_.size()));
    // Plain fields first: a value that does not fit must fail before any memo is taken on.
    for (size_t i = 0; i < visible_.size(); ++i) {
        const int index = visible_[i];
        if (memoField_[size_t(index)] || kept(i))
            continue;
        if (!old && !record[i].isValid())
            continue;  // a new image is blanks already, as a blank value encodes
        encodeValue(header_.fields[size_t(index)], record[i], codec_, raw + header_.fields[size_t(index)].offset);
    }
    for (size_t i = 0; i < visible_.size(); ++i) {
        const int index = visible_[i];
        if (!memoField_[size_t(index)])
            continue;
        const DbfField& f = header_.fields[size_t(index)];
        const int slot = memoSlot_[size_t(index)];
        if (kept(i)) {
            std::memcpy(raw + f.offset, old + f.offset, size_t(f.length));
            memos[slot] = oldMemos ? oldMemos[slot] : PendingMemo{0, 0, PendingMemo::Keep};
            continue;
        }
        const QVariant& value = record[i];
        if (!old && appendMemoText(f, value, raw, memos[slot]))
            continue;
        QByteArray data;
        if (value.isValid() && !value.isNull())
            data = f.def.type == FieldType::ftMemo ? codec_.encode(value.toString()) : value.toByteArray();
        // What reading the memo gives back: a dBase III memo cannot hold its terminator.
        if (memo_ && memo_->kind() == MemoKind::Dbt3)
            data.replace('\x1A', QByteArray());
        if (old) {
            const PendingMemo oldMemo = oldMemos ? oldMemos[slot] : PendingMemo{0, 0, PendingMemo::Keep};
            QByteArray oldData;
            if (oldMemo.state == PendingMemo::New)
                oldData = pendingMemoData(oldMemo);
            else if (oldMemo.state == PendingMemo::Keep)
                oldData = memo_->read(memoBlockOf(f, old + f.offset));
            if (oldData == data || memoValue(f, oldData, &oldData) == value) {
                std::memcpy(raw + f.offset, old + f.offset, size_t(f.length));
                memos[slot] = oldMemo;
                continue;
            }
        }
        encodeMemoRef(f, 0, raw + f.offset);  // the block is known when the flush has written the memo
        if (data.isEmpty()) {
            memos[slot] = PendingMemo{};
            continue;
        }
        if (std::uint64_t(data.size()) > MemoFile::kMaxMemoBytes)
            throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Das Memo ist zu groß."));
        memos[slot] = PendingMemo{std::uint32_t(memoArena_.size()), std::uint32_t(data.size()), PendingMemo::New};
        memoArena_.insert(memoArena_.end(), data.constData(), data.constData() + data.size());
    }
}

bool DbaseStorage::appendMemoText(const DbfField& f, const QVariant& value, char* raw, PendingMemo& memo)
{
    if (f.def.type != FieldType::ftMemo || value.typeId() != QMetaType::QString || !memo_ ||
        memo_->kind() == MemoKind::Dbt3)
        return false;
    const QString& text = *static_cast<const QString*>(value.constData());
    if (std::uint64_t(text.size()) > MemoFile::kMaxMemoBytes)
        return false;  // the general way reports it
    const std::size_t at = memoArena_.size();
    memoArena_.resize(at + std::size_t(text.size()));
    if (!codec_.encodeDirect(text, memoArena_.data() + at)) {
        memoArena_.resize(at);
        return false;
    }
    encodeMemoRef(f, 0, raw + f.offset);  // the block is known when the flush has written the memo
    memo = text.isEmpty() ? PendingMemo{}
                          : PendingMemo{std::uint32_t(at), std::uint32_t(text.size()), PendingMemo::New};
    return true;
}

void DbaseStorage::makeRoom()
{
    if (pendingBytes_ >= kFlushAt)
        writePending(false);
}

int DbaseStorage::makeRoomFor(int row)
{
    if (pendingBytes_ < kFlushAt)
        return row;
    const std::size_t waiting = appended_.count();
    const bool isNew = std::size_t(row) >= rows_.size();
    const std::size_t newIndex = isNew ? std::size_t(row) - rows_.size() : 0;
    const std::uint32_t physical = isNew ? 0 : rows_[size_t(row)];
    writePending(false);
    // New records went to the table's end, behind whatever others appended; records of the file keep their number
    // unless another program took records away.
    if (isNew)
        return int(rows_.size() - waiting + newIndex);
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), physical);
    if (it == rows_.end() || *it != physical)
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Der Datensatz %1 der Tabelle %2 wurde von einem anderen Programm gelöscht.")
                              .arg(row + 1)
                              .arg(path_));
    return int(it - rows_.begin());
}

// The first new memo of a flush has the memo file checked, so that a damaged one fails the change that needs it
// instead of the flush.
void DbaseStorage::notePending(const PendingMemo* memos, bool newImage)
{
    if (newImage)
        pendingBytes_ += header_.recordLength;
    for (std::size_t m = 0; m < memoFields_.size(); ++m) {
        if (memos[m].state != PendingMemo::New)
            continue;
        if (!memoChecked_) {
            memo_->checkAppendable();
            memoChecked_ = true;
        }
        pendingBytes_ += memo_->storedSize(memos[m].length);
    }
}

int DbaseStorage::insert(const Record& record, int /*beforeRow*/)
{
    // dBase keeps records in the order they were written: like the original engine, a new record always goes to
    // the end of the table, wherever the cursor stands.
    checkWritable();
    makeRoom();
    if (std::uint64_t(header_.recordCount) + appended_.count() >= 0xFFFFFFFFu)
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Tabelle %1 ist voll.").arg(path_));
    // Encoded where it waits; a value that does not fit takes the image back.
    const std::size_t arenaBefore = memoArena_.size();
    const std::size_t i = appended_.addBlank();
    try {
        encodeRecord(record, appended_.image(i), appended_.memos(i), nullptr, nullptr);
        notePending(appended_.memos(i), true);
    } catch (...) {
        appended_.dropLast();
        memoArena_.resize(arenaBefore);
        throw;
    }
    ++changes_;
    return recordCount() - 1;
}

int DbaseStorage::update(int row, const Record& record)
{
    return updateRecord(row, record, nullptr);
}

int DbaseStorage::updateChanged(int row, const Record& record, const std::vector<char>& changed)
{
    const std::size_t n = visible_.size();
    if (changed.size() != n)
        return updateRecord(row, record, nullptr);
    const char* mask = changed.data();
    for (const int index : memoFields_) {
        const auto at = std::find(visible_.begin(), visible_.end(), index);
        if (at != visible_.end() && mask[at - visible_.begin()])
            return updateRecord(row, record, &changed);
    }
    return updatePlainFields(row, record, changed);
}

int DbaseStorage::updatePlainFields(int row, const Record& record, const std::vector<char>& changed)
{
    checkWritable();
    checkRow(row);
    // A record whose image waits takes the change in that image and adds nothing to what waits, so it is no reason
    // to flush: flushing there would write a record half-changed (a new one after its first post, as an import run
    // posts field by field) and leave the rest of its changes to be made in the file, under a journal.
    const bool waiting = std::size_t(row) >= rows_.size() ||
                         (!changedSlot_.empty() && changedSlot_.count(rows_[size_t(row)]) > 0);
    if (!waiting)
        row = makeRoomFor(row);
    const bool isNew = std::size_t(row) >= rows_.size();
    const std::uint32_t physical = isNew ? kNoRecord : rows_[size_t(row)];
    char* image = nullptr;  // the waiting image the fields go into, when the record has one
    if (isNew) {
        image = appended_.image(std::size_t(row) - rows_.size());
    } else if (!changedSlot_.empty()) {
        const auto slot = changedSlot_.find(physical);
        if (slot != changedSlot_.end())
            image = changed_.image(slot->second);
    }
    const char* current = image ? image : recordBytes(physical);
    // Every changed field is encoded before any goes into the image, so that a refused value changes nothing.
    newImage_.resize(header_.recordLength);
    char* encoded = newImage_.data();
    const int* fields = visible_.data();
    // As many marks as visible fields (updateChanged saw to it).
    const std::span<const int> marked(marked_.data(), markedFields(changed, marked_));
    bool same = true;
    for (const int i : marked) {
        const DbfField& f = header_.fields[size_t(fields[i])];
        encodeValue(f, record[i], codec_, encoded + f.offset);
        same = same && sameBytes(encoded + f.offset, current + f.offset, f.length);
    }
    if (same)
        return row;
    if (!image) {
        keptMemos_.assign(memoFields_.size(), PendingMemo{0, 0, PendingMemo::Keep});
        notePending(keptMemos_.data(), true);
        const std::size_t added = changed_.add(current, keptMemos_.data());
        changedSlot_.emplace(physical, added);
        changedPhysical_.push_back(physical);
        image = changed_.image(added);
    }
    for (const int i : marked) {
        const DbfField& f = header_.fields[size_t(fields[i])];
        copyBytes(image + f.offset, encoded + f.offset, f.length);
    }
    ++changes_;
    return row;
}

int DbaseStorage::updateRecord(int row, const Record& record, const std::vector<char>* changed)
{
    checkWritable();
    checkRow(row);
    row = makeRoomFor(row);
    const bool isNew = std::size_t(row) >= rows_.size();
    const std::size_t newIndex = isNew ? std::size_t(row) - rows_.size() : 0;
    const std::uint32_t physical = isNew ? kNoRecord : rows_[size_t(row)];
    const auto slot = isNew ? changedSlot_.end() : changedSlot_.find(physical);

    std::vector<char>& old = oldImage_;
    old.resize(header_.recordLength);
    const PendingMemo* oldMemos = nullptr;
    if (isNew) {
        std::memcpy(old.data(), appended_.image(newIndex), old.size());
        oldMemos = appended_.memos(newIndex);
    } else if (slot != changedSlot_.end()) {
        std::memcpy(old.data(), changed_.image(slot->second), old.size());
        oldMemos = changed_.memos(slot->second);
    } else {
        std::memcpy(old.data(), recordBytes(physical), old.size());
    }
    std::vector<char>& raw = newImage_;
    raw = old;
    std::vector<PendingMemo>& memos = newMemos_;
    memos.assign(memoFields_.size(), PendingMemo{});
    const std::size_t arenaBefore = memoArena_.size();
    const bool addsImage = !isNew && slot == changedSlot_.end();
    try {
        encodeRecord(record, raw.data(), memos.data(), old.data(), oldMemos, changed);
        const bool sameMemos = std::all_of(memos.begin(), memos.end(), [&](const PendingMemo& m) {
            const std::size_t i = std::size_t(&m - memos.data());
            const PendingMemo o = oldMemos ? oldMemos[i] : PendingMemo{0, 0, PendingMemo::Keep};
            return m.state == o.state && m.offset == o.offset && m.length == o.length;
        });
        if (raw == old && sameMemos) {
            memoArena_.resize(arenaBefore);
            return row;
        }
        notePending(memos.data(), addsImage);
    } catch (...) {
        memoArena_.resize(arenaBefore);
        throw;
    }
    if (isNew) {
        appended_.set(newIndex, raw.data(), memos.data());
    } else if (slot != changedSlot_.end()) {
        changed_.set(slot->second, raw.data(), memos.data());
    } else {
        changedSlot_.emplace(physical, changed_.add(raw.data(), memos.data()));
        changedPhysical_.push_back(physical);
    }
    ++changes_;
    return row;
}

void DbaseStorage::remove(int row)
{
    checkWritable();
    checkRow(row);
    row = makeRoomFor(row);
    if (std::size_t(row) >= rows_.size()) {
        appended_.erase(std::size_t(row) - rows_.size());
    } else {
        const std::uint32_t physical = rows_[size_t(row)];
        const auto slot = changedSlot_.find(physical);
        if (slot != changedSlot_.end()) {
            changedPhysical_[slot->second] = kNoRecord;
            changedSlot_.erase(slot);
        }
        deleted_.push_back(physical);
        pendingBytes_ += 32;  // its journal entry
        rows_.erase(rows_.begin() + row);
    }
    ++changes_;
}

void DbaseStorage::discardPending()
{
    appended_.clear();
    changed_.clear();
    changedPhysical_.clear();
    changedSlot_.clear();
    deleted_.clear();
    memoArena_.clear();
    pendingBytes_ = 0;
    memoChecked_ = false;
}

void DbaseStorage::empty()
{
    checkWritable();
    if (mode_ != OpenMode::Exclusive)
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Tabelle %1 muss zum Leeren exklusiv geöffnet sein.").arg(path_));
    WriteGuard guard(*this, false);
    discardPending();
    dropCaches();
    const QByteArray dc = encodeDateAndCount(today(), 0);
    writeExactly(fd_, dc.constData(), std::size_t(dc.size()), 1, path_);
    writeExactly(fd_, &kEndOfFile, 1, header_.headerLength, path_);
    if (::ftruncate(fd_, off_t(header_.headerLength) + 1) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    if (memo_)
        memo_->reset();
    header_.recordCount = 0;
    rows_.clear();
    unsynced_ = true;
    ++changes_;
}

int DbaseStorage::findKey(const Record& /*keyValues*/) const
{
    throw EngineError(ErrorCode::NotSupported,
                      QStringLiteral("Die dBase-Tabelle %1 hat keinen Primärindex; eine Suche nach Schlüssel ist "
                                     "nicht möglich.")
                          .arg(path_));
}

void DbaseStorage::writeJournal(const QByteArray& body)
{
    const QByteArray native = QFile::encodeName(journalPath_);
    const int jfd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (jfd < 0)
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Datei %1 kann nicht angelegt werden: %2").arg(journalPath_, errnoText()));
    try {
        const std::uint32_t sum = fnv1a(body.constData(), std::size_t(body.size()));
        writeExactly(jfd, body.constData(), std::size_t(body.size()), 0, journalPath_);
        writeExactly(jfd, &sum, 4, std::uint64_t(body.size()), journalPath_);
        // On the disk before any record it covers: a power failure must not leave changed records without it.
        if (::fdatasync(jfd) != 0)
            throw EngineError(ErrorCode::IoError,
                              QStringLiteral("Schreibfehler in %1: %2").arg(journalPath_, errnoText()));
    } catch (...) {
        ::close(jfd);
        ::unlink(native.constData());
        throw;
    }
    ::close(jfd);
}

void DbaseStorage::sync()
{
    if (::fsync(fd_) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    if (memo_ && ::fsync(memo_->fd()) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in der Memodatei zu %1: %2")
                                                  .arg(path_, errnoText()));
    unsynced_ = false;
}

void DbaseStorage::startWriteback() const
{
#if defined(__linux__)
    // Failure only means the data goes out later, with the next sync.
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    if (memo_)
        ::sync_file_range(memo_->fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void DbaseStorage::writePending(bool durable)
{
    if (!hasPending()) {
        // Nothing to write: a flush still brings the storage up to date with what others wrote.
        if (durable && mode_ != OpenMode::Exclusive)
            WriteGuard guard(*this, true, false);
        if (durable && unsynced_)
            sync();
        return;
    }
    WriteGuard guard(*this, mode_ != OpenMode::Exclusive);
    const std::uint64_t oldSize = fileSizeOf(fd_, path_);
    // Rule 12: records written behind the end of a file another program cut short would leave a hole of zeros.
    if (oldSize < recordOffset(header_.recordCount))
        throw EngineError(ErrorCode::CorruptFile,
                          QStringLiteral("Die Tabelle %1 ist beschädigt: sie ist kürzer, als ihr Kopf angibt (%2 "
                                         "Datensätze); es wird nichts in sie geschrieben.")
                              .arg(path_)
                              .arg(header_.recordCount));
    const std::uint32_t oldCount = header_.recordCount;
    const std::uint32_t newCount = oldCount + std::uint32_t(appended_.count());
    if (std::uint64_t(oldCount) + appended_.count() >= 0xFFFFFFFFu)
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Tabelle %1 ist voll.").arg(path_));
    // The file's end as it is: the bytes behind the last record that the new records cover (the end marker), for
    // the journal (rule 5) and for a flush that fails before the count is raised, which puts them back.
    const std::uint64_t oldEnd = recordOffset(oldCount);
    const std::uint64_t covered = appended_.empty() ? oldEnd : recordOffset(newCount) + 1;
    QByteArray oldTail(qsizetype(std::min(oldSize, covered) - oldEnd), Qt::Uninitialized);
    if (!oldTail.isEmpty())
        readExactly(fd_, oldTail.data(), std::size_t(oldTail.size()), oldEnd, path_);

    // Changes of existing records, with their bytes as they stand now under the lock (rules 5 and 7).
    struct InPlace {
        std::uint64_t offset;
        std::size_t slot;  // in changed_, or kNoRecord for a deletion
    };
    std::vector<InPlace> inPlace;
    QByteArray journal;
    if (!changed_.empty() || !deleted_.empty()) {
        journal.append(kJournalMagic, 8);
        journal.append(reinterpret_cast<const char*>(&oldCount), 4);
        journal.append(4, '\0');
        const std::uint32_t tailLength = std::uint32_t(oldTail.size());
        journal.append(reinterpret_cast<const char*>(&oldSize), 8);
        journal.append(reinterpret_cast<const char*>(&tailLength), 4);
        journal.append(oldTail);
        std::vector<char> current(header_.recordLength);
        auto note = [&](std::uint64_t offset, const char* bytes, std::uint32_t length) {
            journal.append(reinterpret_cast<const char*>(&offset), 8);
            journal.append(reinterpret_cast<const char*>(&length), 4);
            journal.append(bytes, length);
        };
        for (std::size_t slot = 0; slot < changedPhysical_.size(); ++slot) {
            const std::uint32_t physical = changedPhysical_[slot];
            if (physical == kNoRecord || physical >= oldCount)
                continue;
            readExactly(fd_, current.data(), current.size(), recordOffset(physical), path_);
            if (current[0] == kDeleted)
                continue;  // another writer deleted it meanwhile
            note(recordOffset(physical), current.data(), header_.recordLength);
            inPlace.push_back({recordOffset(physical), slot});
        }
        for (const std::uint32_t physical : deleted_) {
            if (physical >= oldCount)
                continue;
            char flag;
            readExactly(fd_, &flag, 1, recordOffset(physical), path_);
            note(recordOffset(physical), &flag, 1);
            inPlace.push_back({recordOffset(physical), kNoRecord});
        }
        const std::uint32_t entries = std::uint32_t(inPlace.size());
        std::memcpy(journal.data() + 12, &entries, 4);
        if (inPlace.empty())
            journal.clear();
    }

    // A memo file that cannot take the memos fails the flush before the journal has anything to undo.
    if (!journal.isEmpty() && memo_ && !memoArena_.empty())
        memo_->checkAppendable();
    if (!journal.isEmpty())
        writeJournal(journal);
    bool committed = false;  // the count is raised
    try {
        // Rule 3: the memos of the records written below, in one piece.
        std::vector<QByteArrayView> memoData;
        std::vector<std::pair<char*, int>> refs;  // record image and memo field of each
        auto collect = [&](char* image, const PendingMemo* memos) {
            for (std::size_t m = 0; m < memoFields_.size(); ++m) {
                if (memos[m].state != PendingMemo::New)
                    continue;
                memoData.emplace_back(memoArena_.data() + memos[m].offset, qsizetype(memos[m].length));
                refs.emplace_back(image, memoFields_[m]);
            }
        };
        for (std::size_t i = 0; i < appended_.count(); ++i)
            collect(appended_.image(i), appended_.memos(i));
        for (const InPlace& change : inPlace)
            if (change.slot != kNoRecord)
                collect(changed_.image(change.slot), changed_.memos(change.slot));
        if (!memoData.empty()) {
            const std::vector<std::uint32_t> blocks = memo_->appendAll(memoData);
            for (std::size_t i = 0; i < refs.size(); ++i) {
                const DbfField& f = header_.fields[size_t(refs[i].second)];
                encodeMemoRef(f, blocks[i], refs[i].first + f.offset);
            }
        }

        // Rule 4: the new records with the end-of-file marker behind them.
        if (!appended_.empty()) {
            std::vector<char>& raw = appended_.raw();
            raw.push_back(kEndOfFile);
            try {
                writeExactly(fd_, raw.data(), raw.size(), recordOffset(oldCount), path_);
            } catch (...) {
                raw.pop_back();
                throw;
            }
            raw.pop_back();
        }
        for (const InPlace& change : inPlace) {
            if (change.slot == kNoRecord)
                writeExactly(fd_, &kDeleted, 1, change.offset, path_);
            else
                writeExactly(fd_, changed_.image(change.slot), header_.recordLength, change.offset, path_);
        }
        if (durable && (::fdatasync(fd_) != 0 || (memo_ && ::fdatasync(memo_->fd()) != 0)))
            throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));

        const QByteArray dc = encodeDateAndCount(today(), newCount);
        writeExactly(fd_, dc.constData(), std::size_t(dc.size()), 1, path_);
        committed = true;
        // Bytes behind the new end (left by another program or a flush that died) are cut off. They can only be
        // there at our first flush and after others wrote: a flush that died covers the same bytes as the next
        // one, which overwrites them. A flush with a journal leaves them to the next one without (rule 5).
        const std::uint64_t end = recordOffset(newCount) + 1;
        if (!appended_.empty() && !tailClean_ && journal.isEmpty()) {
            if (fileSizeOf(fd_, path_) > end && ::ftruncate(fd_, off_t(end)) != 0)
                throw EngineError(ErrorCode::IoError,
                                  QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
            tailClean_ = true;
        }
        if (durable || !journal.isEmpty()) {
            sync();
        } else {
            unsynced_ = true;
            startWriteback();
        }
        if (!journal.isEmpty())
            dropJournal();
    } catch (...) {
        dropCaches();
        if (!journal.isEmpty()) {
            // Undo what was written of the changes; the waiting changes stay for the next flush. When undoing
            // fails too, the journal stays for whoever writes next, which undoes them then.
            try {
                recoverJournal();
            } catch (const EngineError& e) {
                qWarning().noquote() << e.message();
            }
        } else if (committed) {
            // The count was raised: the records are the table's now, whatever failed after.
            settle(oldCount, newCount);
        } else if (!appended_.empty()) {
            // New records may lie behind the count, where readers that go by the end marker find them.
            try {
                restoreEnd(oldEnd, oldTail, oldSize);
            } catch (const EngineError& e) {
                qWarning().noquote() << e.message();
            }
        }
        throw;
    }
    settle(oldCount, newCount);
}

void DbaseStorage::settle(std::uint32_t oldCount, std::uint32_t newCount)
{
    header_.recordCount = newCount;
    for (std::uint32_t physical = oldCount; physical < newCount; ++physical)
        rows_.push_back(physical);
    discardPending();
    dropCaches();
}

void DbaseStorage::flush()
{
    if (!fdWritable_ || !readOnlyReason_.isEmpty())
        return;
    writePending(true);
}

// Writes bytes to a new temporary file in dir and returns its path; the caller renames it into place.
QString writeTemporary(const QString& dir, const QByteArray& bytes)
{
    QTemporaryFile file(QDir(dir).filePath(QStringLiteral(".dbase-new-XXXXXX")));
    file.setAutoRemove(false);
    if (!file.open())
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Im Ordner %1 kann keine Datei angelegt werden: %2").arg(dir, file.errorString()));
    const QString name = file.fileName();
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.close();
        QFile::remove(name);
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1").arg(name));
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    file.close();
    return name;
}

void renameInto(const QString& from, const QString& to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        const QString why = errnoText();
        QFile::remove(from);
        throw EngineError(ErrorCode::IoError, QStringLiteral("Die Datei %1 kann nicht angelegt werden: %2").arg(to, why));
    }
}

}  // namespace

TableStoragePtr open(const QString& path, OpenMode mode)
{
    return open(path, mode, OpenOptions{});
}

TableStoragePtr open(const QString& path, OpenMode mode, const OpenOptions& options)
{
    return std::make_shared<DbaseStorage>(path, mode, options);
}

void create(const QString& path, const FieldDefList& fields)
{
    const DbfHeader header = layoutForCreate(fields);
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    if (!QFileInfo(dir).isDir())
        throw EngineError(ErrorCode::IoError, QStringLiteral("Der Ordner %1 existiert nicht.").arg(dir));

    // Nobody may hold the table being replaced.
    FileLock lock;
    const QString existing = findFileIgnoringCase(path);
    if (QFileInfo::exists(existing))
        lock.acquire(existing, OpenMode::Exclusive);

    QByteArray dbf = encodeHeader(header);
    dbf.append(kEndOfFile);
    const QString newDbf = writeTemporary(dir, dbf);
    QString newMemo;
    if (header.hasMemoFields) {
        try {
            newMemo = writeTemporary(dir, MemoFile::newDbt4Header());
        } catch (...) {
            QFile::remove(newDbf);
            throw;
        }
    }

    // The old table's files go first (its index and memo files would not fit the new table), then the memo file
    // comes into place before the .DBF (rule 9).
    if (!existing.isEmpty())
        QFile::remove(existing);
    for (const QString& old : companions(path, {QStringLiteral("dbt"), QStringLiteral("fpt"), QStringLiteral("mdx"),
                                                QStringLiteral("cdx")}))
        QFile::remove(old);
    const bool lowerCase = info.suffix() == info.suffix().toLower() && !info.suffix().isEmpty();
    const QString memoPath = QDir(dir).filePath(info.completeBaseName() +
                                                (lowerCase ? QStringLiteral(".dbt") : QStringLiteral(".DBT")));
    if (!newMemo.isEmpty())
        renameInto(newMemo, memoPath);
    renameInto(newDbf, info.absoluteFilePath());
}

}  // namespace db::dbase
