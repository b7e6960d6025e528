#pragma once

#include "db/Field.h"
#include "db/FieldType.h"
#include "db/OpenTables.h"
#include "db/TableStorage.h"
#include "db/filter/Filter.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace db {

class TableFormat;

// Which files a table lives in. ttDefault decides by the extension: ".DBF" is dBase, anything else (".DB", none)
// is Paradox.
enum TTableType { ttDefault, ttParadox, ttDBase };

// dsInactive: closed. dsBrowse: on a stored record. dsEdit: changing the current record. dsInsert: filling a new
// record that is not stored yet.
enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

// The field list a table is created from, and after Open the structure of the open table.
class FieldDefs {
public:
    void Clear();
    void Add(const QString& name, FieldType type, int size = 0, bool required = false);
    void Add(const FieldDef& def);
    int Count() const { return static_cast<int>(defs_.size()); }
    const FieldDef& Items(int index) const { return defs_.at(static_cast<std::size_t>(index)); }
    int IndexOf(const QString& name) const;  // without regard to case; -1 when absent
    const FieldDefList& list() const { return defs_; }

    // The primary key: the first KeyFieldCount fields (0: no key). dBase tables have none.
    int KeyFieldCount() const { return keyFieldCount_; }
    void setKeyFieldCount(int count) { keyFieldCount_ = count; }

    void assign(const FieldDefList& defs, int keyFieldCount);

private:
    FieldDefList defs_;
    int keyFieldCount_ = 0;
};

// A cursor over one table file set, with the operations and the state machine of the original platform's table
// component.
//
// State machine (browse, edit, insert):
//   - Edit changes the current record; on an empty table it starts a new record instead (insert state).
//   - Insert starts a new record that a keyless table stores before the current record; Append one that a
//     keyless table stores at the end. A keyed table stores every new record in key order.
//   - Post stores the pending record and leaves the cursor on it (in a keyed table wherever its key put it).
//     Post in insert state stores the record even when no field was set. The fields it wrote are read back from
//     the storage only when somebody asks for them (the storage may have cut, rounded or numbered them), so that
//     a run of Edit and Post on one record decodes it once, not twice per Post.
//   - Edit takes the current record as the cursor last read or posted it; it reads it anew only when the shared
//     storage changed since.
//   - Moving the cursor (First, Next, Prior, Last, FindKey, RecNo), Insert and Append first finish a pending
//     record: a changed one is posted, an unchanged one is dropped.
//   - Cancel drops the pending record; Close drops it too, without a word.
//   - When Post fails (key violation, required field empty, a value the storage refuses) the error is raised and
//     the record stays pending in its state, as the original keeps it: the caller may correct and post again or
//     cancel. Every move that would post it raises the same error until then.
//   - Writing a field needs edit or insert state; it never starts editing by itself.
//
// Several cursors on the same file set share one storage (see OpenTables). A cursor notices the writes of the
// others and stays on its record where it can: by key in a keyed table, by position and contents otherwise. A
// record changed or deleted by another cursor while this one edits it makes Post fail instead of overwriting the
// wrong record.
//
// Filter: while Filtered is on and the Filter text holds a condition, the cursor shows only the records the
// condition matches; moving, RecNo (position among the shown records), RecordCount, FindKey and Edit on an
// empty view all see the shown records only. A posted or changed record the condition no longer matches leaves
// the view, and the cursor goes to the next shown record (else the last), as after a delete. The text is compiled
// when the filter comes into force (switched on, changed while on, table opened while on); a text that does not
// compile raises EngineError and leaves table, filter and cursor as they were.
//
// Notifications are Qt signals. afterOpen, afterClose, afterPost and afterScroll always fire; dataChanged and
// stateChanged are the channel of data-aware controls and are held back between DisableControls and
// EnableControls, which then sends one stateChanged (if the state changed) and one dataChanged(nullptr).
class Table : public QObject {
    Q_OBJECT

public:
    explicit Table(QObject* parent = nullptr);
    ~Table() override;

    // Full path of the table; without an extension the format's own is added (".DB" or ".DBF").
    void setTableName(const QString& name);
    QString TableName() const { return tableName_; }
    void setTableType(TTableType type);
    TTableType TableType() const { return tableType_; }
    // A table kept in files of another kind than Paradox or dBase; overrides the table type. The format must
    // outlive the table.
    void setFormat(const TableFormat* format);
    // The path the table's main file has: TableName with the default extension added when it has none.
    QString filePath() const;

    void setExclusive(bool exclusive);
    bool Exclusive() const { return exclusive_; }

    // A scratch table is one the program keeps in its own working folder and builds anew from its origin whenever
    // it needs it, so its files need not survive a crash or a power loss; a user's table is never one. Its changes
    // are written without waiting for the disk, and when its last cursor closes, the records stay in the process
    // (see OpenTables) instead of being written: opening the same files again as a scratch table in the same mode
    // gets them back. DeleteTable, CreateTable and EmptyTable drop what the process keeps without writing it.
    // Whatever needs the files current writes them first, without waiting for the disk: a cursor that opens them
    // without the flag or in the other mode, FlushBuffers, the end of the process. Set while the table is closed;
    // kept across Close and Open.
    void setScratch(bool scratch);
    bool Scratch() const { return scratch_; }

    void Open();
    void Close();
    bool Active() const { return state_ != dsInactive; }
    void setActive(bool active);
    TDataSetState State() const { return state_; }
    bool Modified() const { return modified_; }
    // Whether the open table may be written; ReadOnlyReason says why not.
    bool CanModify() const;
    QString ReadOnlyReason() const;

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof();
    bool Bof();
    // Position of the current record, 1-based; 0 for an empty or closed table, -1 while inserting.
    int RecNo();
    void setRecNo(int recNo);
    int RecordCount();
    bool IsEmpty();

    // Posts a changed pending record, drops an unchanged one; raises when the post fails.
    void CheckBrowseMode();
    // Makes every record posted so far durable in the table's files, whichever other cursors share them; a changed
    // pending record is posted first, as by CheckBrowseMode. The cursor stays where it is.
    void FlushBuffers();

    void setFilter(const QString& text);
    QString Filter() const { return filterText_; }
    void setFiltered(bool filtered);
    bool Filtered() const { return filtered_; }

    // Read access for grids and batch moves, without moving the cursor or touching a pending record: the
    // index-th shown record (0-based, the order navigation sees), as stored; an empty record when out of range.
    Record recordAt(int index);
    // Where a grid shows the pending record of insert state: its 0-based position among the shown records.
    // -1 outside insert state.
    int pendingIndex();

    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    // Exact look-up on the primary key with as many leading key fields as values are given. Found: the cursor is
    // on the record and the answer is true. Not found: the cursor stays where it was and the answer is false.
    bool FindKey(const QVariantList& keyValues);
    bool FindKey(const QVariant& keyValue);

    // Texts passed as their bytes (TableStorage::textByteMap): whether text field index here takes the text of
    // field sourceIndex of source so, while both are open, and by which bytes.
    bool takesTextBytes(int index, const Table& source, int sourceIndex, TextByteMap& map) const;
    // The bytes of field index of the current record, browsing; false where there are none to be had so (a
    // pending record, no record, a field whose bytes are no text). Valid until the table is used again.
    bool textBytes(int index, QByteArrayView& bytes);
    // Sets text field index to the text that bytes of the source's code page stand for, as setting that text
    // would: bytes not empty, without a zero byte, no longer than the field takes; map as takesTextBytes gave it.
    // Reading the field before the record is posted gives that text. False, with nothing changed, where a byte has
    // no counterpart here: the text is for the general way.
    bool putTextBytes(int index, QByteArrayView bytes, const TextByteMap& map);
    // Fields whose bytes a caller takes (textBytes): reading another field of a record does not decode them with
    // it; each is decoded when it is read itself. Empty: every field goes with the others. Kept until Close.
    void setReadApart(std::vector<char> fields) { readApart_ = std::move(fields); }

    Field* FieldByName(const QString& name);  // raises EngineError (FieldNotFound) when absent
    Field* FindField(const QString& name);    // nullptr when absent or closed
    Field* Fields(int index)  // raises EngineError when out of range
    {
        if (static_cast<unsigned>(index) >= static_cast<unsigned>(activeFieldCount_))
            throwNoField(index);
        return fields_[static_cast<std::size_t>(index)].get();
    }
    int FieldCount() const;
    // Number of fields in the primary index (0 for a keyless table), while open.
    int IndexFieldCount() const;

    db::FieldDefs& FieldDefs() { return fieldDefs_; }

    // How grids show the table's columns, declared once as the program's own tables are set up: every field the
    // table makes from then on (on opening) whose name matches a declaration (without regard to case) takes it, and
    // so do the fields it has already. A field kept across Close and Open keeps what was set on it since, as a
    // field a routine changed the display of must keep that change.
    void setFieldDisplays(std::vector<FieldDisplay> displays);

    // Creates the table from FieldDefs (an existing one of that name is replaced); the table must be closed.
    void CreateTable();
    // The most records the table can ever hold: the open table's; while closed, that of the table CreateTable
    // would make from FieldDefs.
    qint64 RecordCapacity();
    // Refuses a piece of work that would bring more records than the table can hold, before its first record:
    // `more` records beyond those the open table has (a closed table: those CreateTable's table would start
    // with, none). Raises EngineError with the limit in words.
    void CheckRoomFor(qint64 more);
    // Deletes every record. Needs exclusive use: an open table must have been opened exclusively, a closed table
    // is opened exclusively for the moment.
    void EmptyTable();
    // Deletes the table's files; the table must be closed and nobody may hold it.
    void DeleteTable();

    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

signals:
    void afterOpen();
    void afterClose();
    void afterPost();
    void afterScroll();
    // A field's value changed (field set) or the whole record changed or moved (field null).
    void dataChanged(db::Field* field);
    void stateChanged();

protected:
    void connectNotify(const QMetaMethod& signal) override;

private:
    friend class Field;
    // The value in the cursor's record, valid until the record changes or the cursor moves.
    const QVariant& fieldValue(int index);
    // Takes the value over: every write passes a value converted for the field, nobody else's.
    void setFieldValue(int index, QVariant&& value);
    // The usual write: a value of the kind the field stores (QString, int, double, bool, QDate, QTime, QDateTime),
    // checked and converted already. It goes into the value the record holds in place when that is of its kind,
    // as the record before mostly leaves it, instead of a variant made, moved into place and destroyed. value may
    // be the field's own (read through AsVariant): nothing changes the field before it is copied.
    template <typename T>
    void putFieldValue(int index, const T& value);
    static void assignText(QString& to, const QString& from);
    // putFieldValue in every state and case; apart, so that the usual case stays small enough to be inlined. The
    // value comes as a copy, so that the usual case can keep a number in a register instead of in memory.
    template <typename T>
    void writeFieldValue(int index, T value);
    // Whether value holds a T in its own storage, which may be overwritten in place (through ownValue).
    template <typename T>
    static bool holdsOwn(const QVariant& value);
    template <typename T>
    static T& ownValue(QVariant& value);
    // The part every write but putFieldValue's usual case shares: checks the state and marks the field set;
    // returns the value to set.
    QVariant& startFieldWrite(int index);
    void markWritten(int index);
    // The field is looked up only for a listener, apart, so that the usual write does not load it just in case.
    void finishFieldWrite(int index)
    {
        if ((heard_ & HeardData) && disableCount_ == 0)
            notifyFieldWritten(index);
    }
    void notifyFieldWritten(int index);
    [[noreturn]] void throwNotEditing() const;
    [[noreturn]] void throwNoField(int index) const;
    [[noreturn]] void throwInactive() const;
    void readUnread(std::size_t index);
    // The fields put as bytes since the last post hold their texts again (settleByte: the one field); dropBytes
    // forgets them where the record is read anew anyway.
    void settleBytes();
    void settleByte(std::size_t index);
    bool bytesInKey() const;
    void dropBytes()
    {
        for (const int index : bytesList_)
            byteMarks_[static_cast<std::size_t>(index)] = 0;
        bytesHeld_ = false;
        bytesList_.clear();
    }
    // A new record is blank. The values buffer_ holds stay, marked as left over (see unread_), so that the fields
    // set next are written into them in place: an import sets most fields of every record it appends.
    void startBlank()
    {
        if (!allUnread_)
            markAllLeftOver();
        anyUnread_ = true;
        allUnread_ = false;
        leftovers_ = activeFieldCount_;
    }
    void markAllLeftOver();
    void blankLeftovers();
    bool copyIntoSpareText(QVariant& slot, int index, const QString& value);

    const TableFormat& format() const;
    void checkActive() const
    {
        if (state_ == dsInactive)
            throwInactive();
    }
    void checkInactive(const char* operation) const;
    void checkWritable() const
    {
        checkActive();
        if (!readOnlyReason_.isEmpty())
            throwReadOnly();
    }
    [[noreturn]] void throwReadOnly() const;
    void checkBrowseMode()
    {
        checkActive();
        if (state_ != dsBrowse)
            finishPending();
        syncWithStorage();
    }
    void finishPending();
    // Cheap when nobody wrote since the cursor last looked: it runs for every field read.
    void syncWithStorage()
    {
        if (storage_ && storage_->changeCount() != seenChange_)
            followStorage();
    }
    void followStorage();
    void applyFilter(const QString& text);
    bool filterActive() const { return filtered_ && storage_ && !filterExpr_.isEmpty(); }
    void ensureVisibleRows();
    // Without a filter every stored row is shown and is its own index: the moves that run per record stay inline.
    int viewCount() { return filterActive() ? filteredCount() : storage_->recordCount(); }
    int viewRow(int index) { return filterActive() ? filteredRow(index) : index; }
    int viewIndexOf(int row)
    {
        if (filterActive())
            return filteredIndexOf(row);
        return row >= 0 && row < storage_->recordCount() ? row : -1;
    }
    int currentIndex() { return row() < 0 ? -1 : viewIndexOf(row()); }
    // The current row. A record appended into a keyed table may be held back from its place by the storage until
    // a row is asked for: the cursor on it finds it by its key then.
    int row()
    {
        if (rowUnknown_)
            findPosted();
        return row_;
    }
    void setRow(int row)
    {
        row_ = row;
        rowUnknown_ = false;
    }
    void keepPostedKey();
    void findPosted();
    int filteredCount();
    int filteredRow(int index);
    int filteredIndexOf(int row);
    void settleOnVisible();
    void placeOnFirst();
    void noteInserted(std::uint64_t before, int row);
    void noteUpdated(std::uint64_t before, int from, int to);
    void noteRemoved(std::uint64_t before, int row);
    // Makes buffer_ the record of row_; a storage that reads single fields is read only when they are asked for,
    // unless whole is set.
    void readCurrent(bool whole = false);
    void refreshPosted();
    void startPending();
    // The parts of Post: checkRequired raises when a required field is blank; storeNew and storeEdited store the
    // pending record and put the cursor on the row it landed on, which they return (storeEdited gives the row the
    // record came from in from; storeNew -1 when the storage holds the record back, as it may unless needRow);
    // postShown does the same under a filter and keeps the view in step.
    void checkRequired();
    int storeNew(bool needRow);
    int storeEdited(int& from);
    void postShown();
    void markSeen() { seenChange_ = storage_->changeCount(); }
    int locateEditedRow();
    // The record as it was when Edit started, put together from buffer_ and original_.
    Record editedOriginal() const;
    void setState(TDataSetState state)
    {
        if (state_ == state)
            return;
        state_ = state;
        notifyState();
    }
    // Inline: a walk over a table nobody listens to pays a test per record (per field written), not a call.
    void notifyData(Field* field)
    {
        if ((heard_ & HeardData) && disableCount_ == 0)
            emit dataChanged(field);
    }
    void notifyState()
    {
        if ((heard_ & HeardState) && disableCount_ == 0)
            emit stateChanged();
    }
    void notifyScroll()
    {
        if (heard_ & HeardScroll)
            emit afterScroll();
    }
    void notifyPost()
    {
        if (heard_ & HeardPost)
            emit afterPost();
    }
    void buildFields();
    void applyDeclaredDisplay(Field& field) const;
    QString displayName() const;

    QString tableName_;
    TTableType tableType_ = ttDefault;
    const TableFormat* format_ = nullptr;
    bool exclusive_ = false;
    bool scratch_ = false;
    db::FieldDefs fieldDefs_;

    std::unique_ptr<OpenTables::Lease> lease_;
    TableStorage* storage_ = nullptr;
    std::vector<std::unique_ptr<Field>> fields_;  // kept after Close so display settings survive
    std::vector<FieldDisplay> fieldDisplays_;
    int activeFieldCount_ = 0;

    TDataSetState state_ = dsInactive;
    Record buffer_;  // the current record, or the pending one in edit and insert state
    // In edit state, what buffer_ held when Edit started, for the fields set since (written_); the others still
    // hold it in buffer_. A run of Edit, one field, Post copies one value instead of the record.
    Record original_;
    int row_ = -1;     // current row, -1 when the table is empty; read through row()
    bool rowUnknown_ = false;  // row_ is to be found by postedKey_
    Record postedKey_;  // key of the record last posted, held back from its place (see row())
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
    bool appending_ = false;
    int insertBefore_ = 0;
    std::uint64_t seenChange_ = 0;
    // Fields set since Edit (a new record needs no marks: it is stored and read back whole). writtenList_ holds the
    // same fields as indexes, in the order they were first set: a post touches the marks of the one or two fields
    // an import run sets instead of walking every field.
    std::vector<char> written_;
    std::vector<int> writtenList_;
    // Fields Post checks for a value: required ones the storage does not number itself.
    std::vector<int> requiredFields_;
    // Fields of buffer_ (and of original_ in edit state) that hold what this cursor posted instead of what the
    // storage gives back; valid while nobody changed the storage since, which every other cursor makes sure of
    // by letting this one read them back first (OpenTables::Lease::aboutToWrite). In insert state, the fields not
    // set yet, whose values are what the record before left: they read as blank, and are blanked before the
    // record is stored, but a field set meanwhile is written into that value in place.
    std::vector<char> unread_;
    bool anyUnread_ = false;
    // Every field is marked in unread_, as the Post of a new record leaves them: the Append after it finds the
    // marks it needs already set. False in insert state, where the fields set clear their marks.
    bool allUnread_ = false;
    // In insert state, how many fields are left over (marked in unread_).
    int leftovers_ = 0;
    // The memory of texts the record before left, kept per field when a new record is blanked before it is
    // stored: an import stores a record after its first field and sets the others in edit state, where a text is
    // copied into this memory instead of sharing the caller's. Sharing would cost an allocation per field twice
    // over: the text the caller got from its source could not be decoded into again, and blanking the next
    // record would free it.
    std::vector<QVariant> spareTexts_;  // each blank or holding a text of its own
    // Fields put as bytes (putTextBytes) since the last post, whose values in buffer_ are those bytes; a read
    // turns them into their texts first.
    bool bytesHeld_ = false;  // set whenever bytesList_ is not empty
    std::vector<int> bytesList_;
    std::vector<char> byteMarks_;  // per field: its value in buffer_ is bytes
    std::vector<char> readApart_;
    std::vector<char> heldMarks_;  // readUnread's, kept for its memory
    // The storage reads single fields: a record the cursor moves to is decoded only as far as it is read, and
    // its fields count as unread until then (a field read once stays in buffer_ until the cursor moves).
    bool readsSingly_ = false;
    // The storage's answer at Open: it does not change while the storage is open, and every Edit asks for it.
    QString readOnlyReason_;

    QString filterText_;
    bool filtered_ = false;
    filter::Expression filterExpr_;  // compiled while the filter is in force
    // Storage rows of the shown records, ascending; valid while visibleBuilt_ and the storage's change count is
    // visibleSeen_. The cursor's own writes adjust it in place, anybody else's make it be built again.
    std::vector<int> visibleRows_;
    bool visibleBuilt_ = false;
    std::uint64_t visibleSeen_ = 0;

    int disableCount_ = 0;
    TDataSetState stateWhenDisabled_ = dsInactive;
    // Signals anybody ever connected to (never reset: a listener gets every notification): a cursor walking a
    // table nobody watches does not pay for emitting per record.
    enum Heard : unsigned { HeardScroll = 1, HeardData = 2, HeardState = 4, HeardPost = 8 };
    unsigned heard_ = 0;
};

// Field reads run per field of every record a caller walks over, so their common case is inline.
inline const QVariant& Table::fieldValue(int index)
{
    if (state_ == dsBrowse) {
        syncWithStorage();
    } else {
        checkActive();
        // Bytes are put into a pending record only.
        if (bytesHeld_ && byteMarks_[static_cast<std::size_t>(index)]) [[unlikely]]
            settleByte(static_cast<std::size_t>(index));
    }
    const auto i = static_cast<std::size_t>(index);
    if (anyUnread_ && unread_[i] && !(state_ == dsEdit && written_[i]))
        readUnread(i);
    return buffer_[i];
}

inline QVariant& Table::startFieldWrite(int index)
{
    const auto i = static_cast<std::size_t>(index);
    if (state_ == dsInsert) {
        // What the record before left there is overwritten now.
        leftovers_ -= unread_[i];
        unread_[i] = 0;
    } else if (state_ != dsEdit)
        throwNotEditing();
    else if (!written_[i])
        markWritten(index);
    modified_ = true;
    return buffer_[i];
}

// The type is read from the variant itself, as QVariant::metaType() is a call into the library (a type known under
// two descriptions merely takes the longer way). The kinds a field stores fit into the variant itself, so a shared
// one is left to the longer way as well. A variant made of a type without a value (is_null) would keep reporting
// null when only its value were replaced.
// All three in one comparison: the word after the value holds the address of the type's interface, whose two low
// bits are free and hold the flags is_shared and is_null, so a variant that holds a T in itself, not null, has
// exactly that address there. (Were the flags packed elsewhere, the comparison would merely never hold.)
template <typename T>
Q_ALWAYS_INLINE bool Table::holdsOwn(const QVariant& value)
{
    using Private = QVariant::Private;
    static_assert(sizeof(Private) == sizeof(Private::data) + sizeof(quintptr));
    quintptr typeAndFlags;
    std::memcpy(&typeAndFlags, reinterpret_cast<const char*>(&value.data_ptr()) + sizeof(Private::data),
                sizeof typeAndFlags);
    return typeAndFlags == reinterpret_cast<quintptr>(QMetaType::fromType<T>().iface());
}

// A variant keeps a value that fits in itself (every kind a field stores): no need to ask where it is.
template <typename T>
Q_ALWAYS_INLINE T& Table::ownValue(QVariant& value)
{
    static_assert(QVariant::Private::CanUseInternalSpace<T>);
    return *reinterpret_cast<T*>(&value.data_ptr().data.data);
}

// A text copied into the memory the field's text owns already, when nobody shares it and it has room: no allocation,
// and none of the atomic reference counting that sharing the caller's text costs, once for it and once when the
// next record's text replaces it.
Q_ALWAYS_INLINE void Table::assignText(QString& to, const QString& from)
{
    const qsizetype n = from.size();
    if (to.isDetached() && n <= to.capacity() && to.constData() != from.constData()) {
        to.resize(n);
        std::memcpy(to.data(), from.constData(), static_cast<std::size_t>(n) * sizeof(QChar));
    } else {
        to = from;
    }
}

template <typename T>
inline void Table::putFieldValue(int index, const T& value)
{
    const auto i = static_cast<std::size_t>(index);
    QVariant& slot = buffer_[i];
    // A field of a new record that holds a value of its kind, mostly one the record before left.
    if (state_ == dsInsert && holdsOwn<T>(slot)) {
        leftovers_ -= unread_[i];
        unread_[i] = 0;
        modified_ = true;
        if constexpr (std::is_same_v<T, QString>)
            assignText(ownValue<QString>(slot), value);
        else
            ownValue<T>(slot) = value;
        finishFieldWrite(index);
        return;
    }
    writeFieldValue(index, value);
}

template <typename T>
Q_NEVER_INLINE void Table::writeFieldValue(int index, T value)
{
    QVariant& slot = startFieldWrite(index);
    if (holdsOwn<T>(slot)) {
        ownValue<T>(slot) = std::move(value);
    } else {
        bool copied = false;
        if constexpr (std::is_same_v<T, QString>)
            copied = copyIntoSpareText(slot, index, value);
        if (!copied)
            slot = QVariant::fromValue(value);
    }
    finishFieldWrite(index);
}

// Per text field of every record a run passes as bytes.
inline bool Table::textBytes(int index, QByteArrayView& bytes)
{
    if (state_ != dsBrowse)
        return false;
    syncWithStorage();
    return storage_->textBytes(row(), index, bytes);
}

inline bool Field::textBytes(QByteArrayView& bytes) const
{
    return table_->textBytes(index_, bytes);
}

inline const QVariant& Field::raw() const
{
    return table_->fieldValue(index_);
}

inline void Field::setAsString(const QString& value)
{
    if (takesTextAsIs(value))
        table_->putFieldValue(index_, value);
    else
        storeText(value);
}

inline void Field::setAsInteger(int value)
{
    if (kind_ == Kind::Integer && fitsInteger(value))
        table_->putFieldValue(index_, value);
    else
        storeInteger(value);
}

inline void Field::setAsFloat(double value)
{
    if (kind_ == Kind::Float && std::isfinite(value))
        table_->putFieldValue(index_, value);
    else
        storeFloat(value);
}

inline void Field::setAsBoolean(bool value)
{
    if (kind_ == Kind::Logical)
        table_->putFieldValue(index_, value);
    else
        storeBoolean(value);
}

inline const QVariant& Field::AsVariant() const
{
    return raw();
}

}  // namespace db
