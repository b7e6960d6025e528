#pragma once

#include "db/FieldType.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace db {

// For every byte of a text in one table's code page the byte that stands for the same character in another's; 0
// where there is none (see TableStorage::textByteMap).
using TextByteMap = std::array<unsigned char, 256>;

// How a table file set is opened.
enum class OpenMode {
    Shared,     // other cursors and programs may read and write too
    Exclusive,  // nobody else may open it while we hold it
};

// One open table file set (a Paradox .DB with its companions, or a dBase .DBF with its memo file). A storage is
// shared by every cursor of the process that opens the same files; the cursors (db::Table) keep their own position
// and pending record, the storage keeps the records. Rows are numbered 0..recordCount()-1 in table order: key order
// for a keyed table, file order otherwise; deleted dBase records are not rows.
//
// Every method either completes or raises EngineError; a method that writes leaves the files valid at every moment
// the process could die.
class TableStorage {
public:
    virtual ~TableStorage() = default;

    virtual QString path() const = 0;
    virtual const FieldDefList& fields() const = 0;
    // Number of leading fields that make up the primary key; 0 for a keyless table.
    virtual int keyFieldCount() const = 0;

    // Non-empty when the table may not be written, with the reason in words for the user. Decided when the files
    // are opened; it does not change while the storage is open (cursors take it once, at Open).
    virtual QString readOnlyReason() const = 0;

    virtual int recordCount() const = 0;
    // A value read back may differ from the one written (cut, rounded, put into the code page, numbered), but
    // writing a value again stores what it stored the first time, and a blank stays blank (auto-increment fields
    // aside); cursors rely on that to read what they posted only when it is asked for.
    virtual Record read(int row) const = 0;
    // Cursors read a record field by field, each when it is asked for, from a storage that can do so cheaply
    // (readsFieldsSingly()). readField(row, field, value) gives value what read(row)[field] gives; value may hold
    // a value of another record, whose memory the storage may reuse when nobody else shares it.
    virtual bool readsFieldsSingly() const { return false; }
    virtual void readField(int row, int field, QVariant& value) const
    {
        value = read(row).at(static_cast<std::size_t>(field));
    }
    // Reads the fields of row that unread marks into record (one value per field) as readField does, and clears
    // their marks. A storage may leave a field that is costly to read (a blob) marked: readField reads it when it
    // is asked for.
    virtual void readFields(int row, Record& record, std::vector<char>& unread) const
    {
        const Record stored = read(row);
        for (std::size_t i = 0; i < stored.size() && i < record.size() && i < unread.size(); ++i) {
            if (unread[i]) {
                record[i] = stored[i];
                unread[i] = 0;
            }
        }
    }

    // Writes a new record. A keyless table puts it before beforeRow (recordCount() appends); a keyed table puts it
    // in key order and raises a key violation when the key exists. Returns the row the record landed on.
    virtual int insert(const Record& record, int beforeRow) = 0;
    // insert() at the end, for a caller that does not need the row yet: a keyed table may hold the record back
    // from its place and answer -1; it is placed before any call that deals in rows answers (recordCount()
    // counts it at once), and the caller finds it by its key. A key violation is raised here all the same. A
    // storage that holds nothing back answers as insert() does.
    virtual int insertUnplaced(const Record& record) { return insert(record, recordCount()); }
    // Batch moves take a shortcut below the cursors where a storage can offer one: copiesFrom says whether
    // insertCopy can store row sourceRow of source, its first fieldCount fields into the first fieldCount fields here
    // (the others blank), as exactly what reading it, setting field by field and inserting would store, without
    // the values in between. insertCopy is insert() otherwise: key order, key violations, the returned row.
    virtual bool copiesFrom(const TableStorage& source, int fieldCount) const
    {
        (void)source;
        (void)fieldCount;
        return false;
    }
    virtual int insertCopy(const TableStorage& source, int sourceRow, int fieldCount)
    {
        (void)source;
        (void)sourceRow;
        (void)fieldCount;
        throw std::logic_error("insertCopy without copiesFrom");
    }
    // Filling a new table from values already in its code page takes a shortcut below the cursors where a storage
    // can offer one: appendsTextBytes says whether appendTextBytes can append to this keyless table a record whose
    // first count fields (text fields all) take texts given as bytes of codePage (no zero byte among them), each cut
    // to its field, the others blank, as exactly what setting the decoded texts field by field and inserting at the
    // end would store, without the values in between.
    virtual bool appendsTextBytes(int codePage, int count) const
    {
        (void)codePage;
        (void)count;
        return false;
    }
    virtual void appendTextBytes(const QByteArrayView* texts, int count)
    {
        (void)texts;
        (void)count;
        throw std::logic_error("appendTextBytes without appendsTextBytes");
    }
    // The same for a whole table at once: fills a table that holds no record and has no change waiting with count
    // records, next giving the texts of one record at every call, and writes it to its files as count calls of
    // appendTextBytes and a flush would, without holding the records meanwhile. The default does exactly that.
    virtual void writeTextBytesTable(qint64 count, int fieldCount, const std::function<void(QByteArrayView*)>& next)
    {
        std::vector<QByteArrayView> texts(static_cast<std::size_t>(fieldCount));
        for (qint64 i = 0; i < count; ++i) {
            next(texts.data());
            appendTextBytes(texts.data(), fieldCount);
        }
        flush();
    }
    // A text passed from one table to another as its bytes, where nothing is lost by it. textByteMap says whether
    // field here, a text field, takes the text of sourceField of source as bytes: both in single-byte code pages in
    // which a character is one byte, and map[b] the byte here that stands for the character byte b stands for
    // there; 0 where there is no such byte here (and for zero). Below 0x80 every byte stands for itself. A record written with such bytes as a QByteArray
    // value stores what writing their text would store. textBytes gives the bytes of row's field (up to its first
    // zero, so none for a blank field), valid until the next call on this storage; false where it has none to give.
    virtual bool textByteMap(int field, const TableStorage& source, int sourceField, TextByteMap& map) const
    {
        (void)field;
        (void)source;
        (void)sourceField;
        (void)map;
        return false;
    }
    virtual bool textBytes(int row, int field, QByteArrayView& bytes) const
    {
        (void)row;
        (void)field;
        (void)bytes;
        return false;
    }
    // The text the bytes of field stand for (takesTextBytes), as reading them back would give it.
    virtual QString textOfBytes(int field, QByteArrayView bytes) const
    {
        (void)field;
        (void)bytes;
        throw std::logic_error("textOfBytes without takesTextBytes");
    }
    // Replaces the record of row; returns the row it is on afterwards (a changed key moves it).
    virtual int update(int row, const Record& record) = 0;
    // update() when the caller knows which fields it changed: changed[i] is non-zero for them, and every other
    // field keeps what the storage has for it, whatever record holds there (a cursor that read only some fields
    // of the record holds nothing for the others). A storage may then encode the changed fields only; the default
    // writes the stored record with the changed fields put in.
    virtual int updateChanged(int row, const Record& record, const std::vector<char>& changed)
    {
        Record whole = read(row);
        for (std::size_t i = 0; i < whole.size() && i < record.size() && i < changed.size(); ++i) {
            if (changed[i])
                whole[i] = record[i];
        }
        return update(row, whole);
    }
    virtual void remove(int row) = 0;
    virtual void empty() = 0;

    // Row of the record whose leading key fields equal keyValues (as many as given), or -1.
    virtual int findKey(const Record& keyValues) const = 0;

    // The most records the table can ever hold, as its file format counts them. A record past them is refused by
    // insert(); whoever knows how many are coming asks before the first (Table::CheckRoomFor).
    virtual qint64 recordCapacity() const { return std::numeric_limits<int>::max(); }

    // Counts every change of the records, so that cursors sharing the storage notice writes of the others. A plain
    // member, not a virtual call: a cursor asks for it on every field it reads.
    std::uint64_t changeCount() const { return changes_; }

    // Makes everything written so far durable and every derived file (indexes, headers) current.
    virtual void flush() = 0;

    // The files of a scratch table (see OpenTables) need to be current and valid when they are written, not
    // durable: its writes leave out waiting for the disk (fsync). A storage that always syncs may ignore it.
    virtual void setScratch(bool scratch) { (void)scratch; }
    // Forgets every change not written yet, so that closing writes nothing: the files are about to be deleted,
    // replaced or emptied. The storage is not used afterwards.
    virtual void discardChanges() {}

protected:
    // Every method that changes the records counts the change here.
    std::uint64_t changes_ = 0;
};

using TableStoragePtr = std::shared_ptr<TableStorage>;

}  // namespace db
