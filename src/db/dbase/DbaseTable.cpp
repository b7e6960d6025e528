// The dBase table storage: reading every dialect the engine meets, writing dBase III and IV tables.
//
// How a write keeps the table valid
// =================================
// A process may die between any two system calls. Everything below holds at each of those moments, so another
// program (or we, after a restart) always finds a table whose header, records and memo file agree. Durability
// against a power failure additionally needs flush(), which syncs both files.
//
//  1. The record count in the header never exceeds the number of complete records in the file. An appended
//     record (with the end-of-file marker behind it) is written first; the count is raised afterwards by one
//     write of header bytes 1..7, which lies within the first page and is therefore all-or-nothing.
//  2. A record never points at memo data that is not completely written, and the memo file's end marker (dBase
//     III: next free block; dBase IV: the end of its free list) never lies before the end of the file. A new memo
//     first moves the marker past the blocks it needs, then fills them, and only then is the record that refers
//     to it written. Dying in between leaves unreferenced blocks (or a marker beyond the file's end), which every
//     writer, dBase included, simply skips. A new memo always starts at the file's end, never at a marker
//     beyond it, so a damaged marker cannot make the file grow by a hole.
//  3. Memo blocks in use are never overwritten: a changed memo is written as a new memo; the old blocks stay
//     unreferenced until the table is packed by another program.
//  4. An in-place change of a record spans the record's bytes, which may cross a page boundary and so be torn.
//     Before such a write the old bytes go to a rollback journal (<table file>-journal, with a checksum); the
//     journal is removed once the record is written. Whoever opens the table for writing next, or starts the next
//     change or delete, finds a complete journal and writes the old bytes back; an incomplete journal means the
//     record was not yet touched and is simply removed. Appends leave the journal alone: they touch no existing
//     record. Only a journal holding one whole record of the table is written back.
//  5. Deleting sets the one-byte deletion flag: all-or-nothing.
//  6. Emptying first sets the count to 0 (rule 1), then cuts the files.
//  7. Writers of several processes take turns: each write holds an open-file-description lock on a byte range
//     of the .DBF far beyond its end, re-reads the header under it and catches up with records others appended.
//     A table opened exclusively has no other writer and skips both.
//  8. A table the engine cannot keep correct (production or other index, FoxPro or dBase 7 dialect, field types
//     it does not write, encryption, an open transaction, an unknown code page) is never written: open() gives it
//     a readOnlyReason and every write raises EngineError with that reason.
//  9. A new table is written to temporary files which are renamed into place, the memo file before the .DBF, so
//     that no .DBF ever exists without its memo file.
//
// States of one write: idle -> (WriteGuard: lock, recover journal, catch up) -> memos appended (rule 2) ->
// journal written (update only, rule 4) -> record written -> header updated (append) / journal removed (update)
// -> idle.

#include "db/dbase/DbaseTable.h"

#include "db/EngineError.h"
#include "db/FileLock.h"
#include "db/dbase/DbaseMemo.h"
#include "db/dbase/DbfFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace db::dbase {

namespace {

constexpr char kDeleted = '*';
constexpr char kEndOfFile = 0x1A;
// Where writers of several processes lock each other out: far beyond any real table's end.
constexpr off_t kWriterLockOffset = 0x7FFFFFF0;
constexpr char kJournalMagic[8] = {'D', 'B', 'F', 'U', 'N', 'D', 'O', '1'};

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

// The file in path's folder whose name equals path's name without regard to case (path itself when it exists).
QString findCaseInsensitive(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir dir = info.dir();
    for (const QString& entry : dir.entryList(QDir::Files))
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

// Files beside the table with its base name and one of the extensions (compared without case).
QStringList companions(const QString& tablePath, const QStringList& extensions)
{
    const QFileInfo info(tablePath);
    QStringList found;
    for (const QFileInfo& entry : info.dir().entryInfoList(QDir::Files)) {
        if (entry.completeBaseName().compare(info.completeBaseName(), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& ext : extensions)
            if (entry.suffix().compare(ext, Qt::CaseInsensitive) == 0)
                found << entry.filePath();
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

class DbaseStorage final : public TableStorage {
public:
    DbaseStorage(const QString& path, OpenMode mode, const OpenOptions& options);
    ~DbaseStorage() override;

    QString path() const override { return path_; }
    const FieldDefList& fields() const override { return defs_; }
    int keyFieldCount() const override { return 0; }
    QString readOnlyReason() const override { return readOnlyReason_; }
    int recordCount() const override { return int(rows_.size()); }
    Record read(int row) const override;
    int insert(const Record& record, int beforeRow) override;
    int update(int row, const Record& record) override;
    void remove(int row) override;
    void empty() override;
    int findKey(const Record& keyValues) const override;
    std::uint64_t changeCount() const override { return changes_; }
    void flush() override;

private:
    class WriteGuard;

    void decideWritable();
    void scanRows(std::uint32_t from, std::uint32_t to);
    void catchUp();
    void recoverJournal();
    void checkRow(int row) const;
    void checkWritable() const;
    std::uint64_t recordOffset(std::uint32_t physical) const
    {
        return std::uint64_t(header_.headerLength) + std::uint64_t(physical) * header_.recordLength;
    }
    // Puts the values into raw (a record image); memo fields whose value differs from old get a new memo.
    void encodeRecord(const Record& record, QByteArray& raw, const QByteArray* old);
    QVariant readMemo(const DbfField& field, std::uint32_t block) const;
    QVariant memoValue(const DbfField& field, const QByteArray& data) const;
    Record decode(const QByteArray& raw, const std::vector<QByteArray>* memos) const;
    void remember(std::uint32_t physical, const QByteArray& raw);
    void touchHeaderDate();

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
    std::vector<std::uint32_t> rows_;    // physical record number of each non-deleted record
    QString readOnlyReason_;
    std::uint64_t changes_ = 0;
    bool dateTouched_ = false;
    bool tailClean_ = false;  // nothing lies behind the end-of-file marker, as far as our own appends know
    // The record just written, with the memo data it refers to, by header_.fields index: the cursor reads it back
    // right after the write, and gets it from here once instead of from the files.
    std::vector<QByteArray> writtenMemos_;
    mutable bool recentValid_ = false;
    std::uint32_t recentPhysical_ = 0;
    QByteArray recentRaw_;
    std::vector<QByteArray> recentMemos_;
};

// Serialises writers of all processes (rule 7) and brings this storage up to date before a write. A table opened
// exclusively has no other writer: its journal was dealt with when it was opened, and nothing needs locking or
// catching up. An append touches no existing record, so the journal of a change that died (which covers one
// existing record) waits for the next change, delete or open.
class DbaseStorage::WriteGuard {
public:
    enum Purpose { Open, Append, Change };

    WriteGuard(DbaseStorage& s, Purpose purpose) : s_(s), locked_(purpose == Open || s.mode_ != OpenMode::Exclusive)
    {
        if (!locked_)
            return;
        lock(F_WRLCK);
        try {
            if (purpose != Append)
                s_.recoverJournal();
            s_.catchUp();
        } catch (...) {
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
    path_ = findCaseInsensitive(requestedPath);
    if (path_.isEmpty())
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
            if (header_.fields[size_t(i)].hidden)
                continue;
            visible_.push_back(i);
            defs_.push_back(header_.fields[size_t(i)].def);
        }

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
                    readOnlyReason_ = QStringLiteral("Die Memodatei %1 ist schreibgeschützt.").arg(memoFiles.first());
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
            WriteGuard guard(*this, WriteGuard::Open);  // recovers a journal left by a writer that died
        }
        scanRows(0, header_.recordCount);
    } catch (...) {
        ::close(fd_);
        fd_ = -1;
        throw;
    }
}

DbaseStorage::~DbaseStorage()
{
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
        if (memoField && (f.length != 10 || !memo_ || (memo_->kind() != MemoKind::Dbt3 &&
                                                        memo_->kind() != MemoKind::Dbt4)))
            refuse(QStringLiteral("Die Memodatei der Tabelle %1 kann nicht geschrieben werden.").arg(path_));
        if (memoField && f.letter != 'M' && memo_ && memo_->kind() == MemoKind::Dbt3)
            refuse(QStringLiteral("Binärfelder in dBase-III-Memodateien können nicht geschrieben werden."));
    }
}

void DbaseStorage::scanRows(std::uint32_t from, std::uint32_t to)
{
    const std::uint32_t perChunk = std::max<std::uint32_t>(1, (1u << 20) / header_.recordLength);
    std::vector<char> chunk;
    for (std::uint32_t first = from; first < to;) {
        const std::uint32_t n = std::min(perChunk, to - first);
        chunk.resize(std::size_t(n) * header_.recordLength);
        readExactly(fd_, chunk.data(), chunk.size(), recordOffset(first), path_);
        for (std::uint32_t i = 0; i < n; ++i)
            if (chunk[std::size_t(i) * header_.recordLength] != kDeleted)
                rows_.push_back(first + i);
        first += n;
    }
}

void DbaseStorage::catchUp()
{
    char head[32];
    readExactly(fd_, head, sizeof head, 0, path_);
    const std::uint32_t count = std::uint32_t(std::uint8_t(head[4])) | (std::uint32_t(std::uint8_t(head[5])) << 8) |
                                (std::uint32_t(std::uint8_t(head[6])) << 16) |
                                (std::uint32_t(std::uint8_t(head[7])) << 24);
    const std::uint16_t headerLength = std::uint16_t(std::uint8_t(head[8]) | (std::uint8_t(head[9]) << 8));
    const std::uint16_t recordLength = std::uint16_t(std::uint8_t(head[10]) | (std::uint8_t(head[11]) << 8));
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
    recentValid_ = false;
    tailClean_ = false;
    if (count > old) {
        scanRows(old, count);
    } else {
        rows_.clear();
        scanRows(0, count);
    }
    ++changes_;
}

void DbaseStorage::recoverJournal()
{
    const QByteArray native = QFile::encodeName(journalPath_);
    const int jfd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (jfd < 0)
        return;
    QByteArray data;
    char buffer[4096];
    bool tooLarge = false;
    while (true) {
        const ssize_t n = ::read(jfd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        data.append(buffer, n);
        if (data.size() > 70000) {
            tooLarge = true;
            break;
        }
    }
    ::close(jfd);
    // magic, offset (8), length (4), old bytes, checksum (4)
    bool complete = !tooLarge && data.size() >= 24 && std::memcmp(data.constData(), kJournalMagic, 8) == 0;
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
    if (complete) {
        std::memcpy(&offset, data.constData() + 8, 8);
        std::memcpy(&length, data.constData() + 16, 4);
        complete = std::uint64_t(data.size()) == 24u + length;
    }
    if (complete) {
        std::uint32_t sum;
        std::memcpy(&sum, data.constData() + 20 + length, 4);
        // Only the image of one whole record of this table is written back; the offset is checked without
        // letting offset + length wrap around.
        const std::uint64_t size = fileSizeOf(fd_, path_);
        complete = sum == fnv1a(data.constData(), 20 + length) && length == header_.recordLength &&
                   offset >= header_.headerLength && length <= size && offset <= size - length &&
                   (offset - header_.headerLength) % header_.recordLength == 0;
    }
    if (complete)
        writeExactly(fd_, data.constData() + 20, length, offset, path_);
    ::unlink(native.constData());
}

void DbaseStorage::checkRow(int row) const
{
    if (row < 0 || row >= int(rows_.size()))
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Datensatz %1 gibt es in der Tabelle %2 nicht.").arg(row + 1).arg(path_));
}

void DbaseStorage::checkWritable() const
{
    if (!readOnlyReason_.isEmpty())
        throw EngineError(ErrorCode::ReadOnlyTable, readOnlyReason_);
}

QVariant DbaseStorage::memoValue(const DbfField& field, const QByteArray& data) const
{
    if (data.isEmpty())
        return {};
    if (field.def.type == FieldType::ftMemo)
        return memoText(data, codec_);
    return data;
}

QVariant DbaseStorage::readMemo(const DbfField& field, std::uint32_t block) const
{
    if (block == 0 || !memo_)
        return {};
    return memoValue(field, memo_->read(block));
}

Record DbaseStorage::decode(const QByteArray& raw, const std::vector<QByteArray>* memos) const
{
    QByteArray nullFlags;
    if (header_.nullFlagsField >= 0) {
        const DbfField& nf = header_.fields[size_t(header_.nullFlagsField)];
        nullFlags = raw.mid(nf.offset, nf.length);
    }
    Record record;
    record.reserve(visible_.size());
    for (int index : visible_) {
        const DbfField& f = header_.fields[size_t(index)];
        const char* bytes = raw.constData() + f.offset;
        if (!isMemoLetter(f.letter, header_.family, f.length))
            record.push_back(decodeValue(f, bytes, codec_, header_.family, nullFlags));
        else if (memos)
            record.push_back(memoValue(f, (*memos)[size_t(index)]));
        else
            record.push_back(readMemo(f, memoBlockOf(f, bytes)));
    }
    return record;
}

Record DbaseStorage::read(int row) const
{
    checkRow(row);
    const std::uint32_t physical = rows_[size_t(row)];
    if (recentValid_ && physical == recentPhysical_) {
        recentValid_ = false;
        return decode(recentRaw_, &recentMemos_);
    }
    QByteArray raw(header_.recordLength, Qt::Uninitialized);
    readExactly(fd_, raw.data(), std::size_t(raw.size()), recordOffset(physical), path_);
    return decode(raw, nullptr);
}

void DbaseStorage::remember(std::uint32_t physical, const QByteArray& raw)
{
    recentPhysical_ = physical;
    recentRaw_ = raw.left(header_.recordLength);
    recentMemos_ = writtenMemos_;
    recentValid_ = true;
}

void DbaseStorage::encodeRecord(const Record& record, QByteArray& raw, const QByteArray* old)
{
    if (record.size() != visible_.size())
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Der Datensatz hat %1 Werte, die Tabelle %2 Felder.")
                              .arg(record.size())
                              .arg(visible_.size()));
    recentValid_ = false;
    writtenMemos_.assign(header_.fields.size(), QByteArray());
    // Plain fields first: a value that does not fit must fail before any memo is written.
    for (size_t i = 0; i < visible_.size(); ++i) {
        const DbfField& f = header_.fields[size_t(visible_[i])];
        if (!isMemoLetter(f.letter, header_.family, f.length))
            encodeValue(f, record[i], codec_, raw.data() + f.offset);
    }
    for (size_t i = 0; i < visible_.size(); ++i) {
        const DbfField& f = header_.fields[size_t(visible_[i])];
        if (!isMemoLetter(f.letter, header_.family, f.length))
            continue;
        const QVariant& value = record[i];
        QByteArray data;
        if (value.isValid() && !value.isNull())
            data = f.def.type == FieldType::ftMemo ? codec_.encode(value.toString()) : value.toByteArray();
        QByteArray& written = writtenMemos_[size_t(visible_[i])];
        if (old) {
            const std::uint32_t oldBlock = memoBlockOf(f, old->constData() + f.offset);
            const QByteArray oldData = oldBlock ? memo_->read(oldBlock) : QByteArray();
            if (oldData == data || memoValue(f, oldData) == value) {
                std::memcpy(raw.data() + f.offset, old->constData() + f.offset, size_t(f.length));
                written = oldData;
                continue;
            }
        }
        encodeMemoRef(f, data.isEmpty() ? 0 : memo_->append(data), raw.data() + f.offset);
        // What reading the memo gives back: a dBase III memo cannot hold its terminator.
        if (memo_ && memo_->kind() == MemoKind::Dbt3)
            data.replace('\x1A', QByteArray());
        written = data;
    }
}

void DbaseStorage::touchHeaderDate()
{
    if (dateTouched_)
        return;
    const QByteArray dc = encodeDateAndCount(today(), header_.recordCount);
    writeExactly(fd_, dc.constData(), 3, 1, path_);
    dateTouched_ = true;
}

int DbaseStorage::insert(const Record& record, int /*beforeRow*/)
{
    // dBase keeps records in the order they were written: like the original engine, a new record always goes to
    // the end of the table, wherever the cursor stands.
    checkWritable();
    WriteGuard guard(*this, WriteGuard::Append);
    QByteArray raw(header_.recordLength + 1, ' ');
    raw[header_.recordLength] = kEndOfFile;
    encodeRecord(record, raw, nullptr);

    const std::uint32_t physical = header_.recordCount;
    if (physical == 0xFFFFFFFFu)
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Tabelle %1 ist voll.").arg(path_));
    writeExactly(fd_, raw.constData(), std::size_t(raw.size()), recordOffset(physical), path_);
    const QByteArray dc = encodeDateAndCount(today(), physical + 1);
    writeExactly(fd_, dc.constData(), std::size_t(dc.size()), 1, path_);
    dateTouched_ = true;
    header_.recordCount = physical + 1;
    rows_.push_back(physical);
    remember(physical, raw);
    ++changes_;
    // Bytes behind the new end (left by another program or a process that died mid-append) are cut off. They can
    // only be there at our first append and after others wrote: an append that died covers the same bytes as the
    // next one, which overwrites them.
    const std::uint64_t end = header_.dataEnd() + 1;
    if (!tailClean_ && fileSizeOf(fd_, path_) > end && ::ftruncate(fd_, off_t(end)) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    tailClean_ = true;
    return int(rows_.size()) - 1;
}

int DbaseStorage::update(int row, const Record& record)
{
    checkWritable();
    WriteGuard guard(*this, WriteGuard::Change);
    checkRow(row);
    const std::uint32_t physical = rows_[size_t(row)];
    const std::uint64_t offset = recordOffset(physical);
    QByteArray old(header_.recordLength, Qt::Uninitialized);
    readExactly(fd_, old.data(), std::size_t(old.size()), offset, path_);
    QByteArray raw = old;
    encodeRecord(record, raw, &old);
    if (raw == old) {
        remember(physical, raw);
        return row;
    }

    // Rule 4: the old image goes to the journal before the record is touched.
    QByteArray journal;
    journal.append(kJournalMagic, 8);
    journal.append(reinterpret_cast<const char*>(&offset), 8);
    const std::uint32_t length = std::uint32_t(old.size());
    journal.append(reinterpret_cast<const char*>(&length), 4);
    journal.append(old);
    const std::uint32_t sum = fnv1a(journal.constData(), std::size_t(journal.size()));
    journal.append(reinterpret_cast<const char*>(&sum), 4);
    const QByteArray native = QFile::encodeName(journalPath_);
    const int jfd = ::open(native.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (jfd < 0)
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Datei %1 kann nicht angelegt werden: %2").arg(journalPath_, errnoText()));
    try {
        writeExactly(jfd, journal.constData(), std::size_t(journal.size()), 0, journalPath_);
    } catch (...) {
        ::close(jfd);
        ::unlink(native.constData());
        throw;
    }
    ::close(jfd);
    writeExactly(fd_, raw.constData(), std::size_t(raw.size()), offset, path_);
    ::unlink(native.constData());
    remember(physical, raw);
    touchHeaderDate();
    ++changes_;
    return row;
}

void DbaseStorage::remove(int row)
{
    checkWritable();
    WriteGuard guard(*this, WriteGuard::Change);
    checkRow(row);
    recentValid_ = false;
    writeExactly(fd_, &kDeleted, 1, recordOffset(rows_[size_t(row)]), path_);
    rows_.erase(rows_.begin() + row);
    touchHeaderDate();
    ++changes_;
}

void DbaseStorage::empty()
{
    checkWritable();
    if (mode_ != OpenMode::Exclusive)
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Tabelle %1 muss zum Leeren exklusiv geöffnet sein.").arg(path_));
    WriteGuard guard(*this, WriteGuard::Change);
    recentValid_ = false;
    const QByteArray dc = encodeDateAndCount(today(), 0);
    writeExactly(fd_, dc.constData(), std::size_t(dc.size()), 1, path_);
    writeExactly(fd_, &kEndOfFile, 1, header_.headerLength, path_);
    if (::ftruncate(fd_, off_t(header_.headerLength) + 1) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    if (memo_)
        memo_->reset();
    header_.recordCount = 0;
    rows_.clear();
    dateTouched_ = true;
    ++changes_;
}

int DbaseStorage::findKey(const Record& /*keyValues*/) const
{
    throw EngineError(ErrorCode::NotSupported,
                      QStringLiteral("Die dBase-Tabelle %1 hat keinen Primärindex; eine Suche nach Schlüssel ist "
                                     "nicht möglich.")
                          .arg(path_));
}

void DbaseStorage::flush()
{
    if (!fdWritable_)
        return;
    if (::fsync(fd_) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in %1: %2").arg(path_, errnoText()));
    if (memo_ && ::fsync(memo_->fd()) != 0)
        throw EngineError(ErrorCode::IoError, QStringLiteral("Schreibfehler in der Memodatei zu %1: %2")
                                                  .arg(path_, errnoText()));
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
    const QString existing = findCaseInsensitive(path);
    if (!existing.isEmpty())
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
