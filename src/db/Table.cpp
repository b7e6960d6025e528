#include "db/Table.h"

#include "db/EngineError.h"
#include "db/TableFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaMethod>
#include <algorithm>
#include <utility>

namespace db {

// ---- FieldDefs ----

void FieldDefs::Clear()
{
    defs_.clear();
    keyFieldCount_ = 0;
}

void FieldDefs::Add(const QString& name, FieldType type, int size, bool required)
{
    FieldDef def;
    def.name = name;
    def.type = type;
    def.size = size;
    def.required = required;
    defs_.push_back(def);
}

void FieldDefs::Add(const FieldDef& def)
{
    defs_.push_back(def);
}

int FieldDefs::IndexOf(const QString& name) const
{
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (defs_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void FieldDefs::assign(const FieldDefList& defs, int keyFieldCount)
{
    defs_ = defs;
    keyFieldCount_ = keyFieldCount;
}

// ---- Table ----

Table::Table(QObject* parent) : QObject(parent) {}

Table::~Table()
{
    // A destructor that raises ends the process; the failure is told in the log instead.
    try {
        Close();
    } catch (const std::exception& e) {
        qWarning("Closing table %s failed: %s", qUtf8Printable(tableName_), e.what());
    } catch (...) {
        qWarning("Closing table %s failed", qUtf8Printable(tableName_));
    }
}

void Table::setTableName(const QString& name)
{
    checkInactive("TableName");
    tableName_ = name;
}

void Table::setTableType(TTableType type)
{
    checkInactive("TableType");
    tableType_ = type;
}

void Table::setFormat(const TableFormat* format)
{
    checkInactive("Format");
    format_ = format;
}

void Table::setExclusive(bool exclusive)
{
    checkInactive("Exclusive");
    exclusive_ = exclusive;
}

void Table::setScratch(bool scratch)
{
    checkInactive("Scratch");
    scratch_ = scratch;
}

const TableFormat& Table::format() const
{
    if (format_)
        return *format_;
    switch (tableType_) {
    case ttParadox:
        return paradoxFormat();
    case ttDBase:
        return dbaseFormat();
    case ttDefault:
        break;
    }
    return QFileInfo(tableName_).suffix().compare(QStringLiteral("DBF"), Qt::CaseInsensitive) == 0 ? dbaseFormat()
                                                                                                  : paradoxFormat();
}

QString Table::filePath() const
{
    if (tableName_.isEmpty())
        return QString();
    const QFileInfo info(tableName_);
    return info.suffix().isEmpty() ? tableName_ + format().defaultExtension() : tableName_;
}

QString Table::displayName() const
{
    return QDir::toNativeSeparators(filePath());
}

void Table::throwInactive() const
{
    throw EngineError(ErrorCode::InvalidState, QStringLiteral("Die Tabelle %1 ist nicht geöffnet.").arg(displayName()));
}

void Table::checkInactive(const char* operation) const
{
    if (state_ != dsInactive) {
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("%1 ist bei der geöffneten Tabelle %2 nicht möglich.")
                              .arg(QString::fromLatin1(operation), displayName()));
    }
}

bool Table::CanModify() const
{
    return Active() && readOnlyReason_.isEmpty();
}

QString Table::ReadOnlyReason() const
{
    return Active() ? readOnlyReason_ : QString();
}

void Table::throwReadOnly() const
{
    throw EngineError(ErrorCode::ReadOnlyTable, readOnlyReason_);
}

// ---- open and close ----

void Table::setActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void Table::Open()
{
    if (Active())
        return;
    if (tableName_.isEmpty())
        throw EngineError(ErrorCode::TableNotFound, QStringLiteral("Es wurde kein Tabellenname angegeben."));
    const TableFormat& fmt = format();
    const QString path = filePath();
    const OpenMode mode = exclusive_ ? OpenMode::Exclusive : OpenMode::Shared;
    auto lease =
        OpenTables::acquire(OpenTables::keyFor(path), mode, [&] { return fmt.open(path, mode); }, scratch_);
    // A filter that does not fit the table keeps it closed, as when the files could not be opened.
    filterExpr_ = filtered_ ? filter::compile(filterText_, lease->storage()->fields()) : filter::Expression();
    visibleBuilt_ = false;
    lease_ = std::move(lease);
    storage_ = lease_->storage().get();
    readsSingly_ = storage_->readsFieldsSingly();
    readOnlyReason_ = storage_->readOnlyReason();
    lease_->setBeforeOthersWrite([this] { refreshPosted(); });
    fieldDefs_.assign(storage_->fields(), storage_->keyFieldCount());
    buildFields();

    modified_ = false;
    placeOnFirst();
    readCurrent();
    markSeen();
    setState(dsBrowse);
    emit afterOpen();
    notifyData(nullptr);
    notifyScroll();
}

void Table::setFieldDisplays(std::vector<FieldDisplay> displays)
{
    fieldDisplays_ = std::move(displays);
    for (const std::unique_ptr<Field>& field : fields_)
        applyDeclaredDisplay(*field);
}

void Table::applyDeclaredDisplay(Field& field) const
{
    for (const FieldDisplay& display : fieldDisplays_) {
        if (display.fieldName.compare(field.FieldName(), Qt::CaseInsensitive) == 0) {
            field.applyDisplay(display);
            return;
        }
    }
}

void Table::buildFields()
{
    const FieldDefList& defs = storage_->fields();
    const int keyCount = storage_->keyFieldCount();
    std::vector<std::unique_ptr<Field>> previous = std::move(fields_);
    fields_.clear();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool indexField = index < keyCount;
        // A field of the same name and type keeps its object, and with it the display settings made on it.
        auto same = std::find_if(previous.begin(), previous.end(), [&](const std::unique_ptr<Field>& f) {
            return f && f->FieldName().compare(defs[i].name, Qt::CaseInsensitive) == 0
                   && f->DataType() == defs[i].type;
        });
        if (same != previous.end()) {
            (*same)->rebind(index, defs[i], indexField);
            fields_.push_back(std::move(*same));
        } else {
            fields_.push_back(std::make_unique<Field>(this, index, defs[i], indexField));
            applyDeclaredDisplay(*fields_.back());
        }
    }
    activeFieldCount_ = static_cast<int>(fields_.size());
    requiredFields_.clear();
    for (std::size_t i = 0; i < defs.size(); ++i) {
        // The storage numbers an auto-increment field itself.
        if (defs[i].required && defs[i].type != FieldType::ftAutoInc)
            requiredFields_.push_back(static_cast<int>(i));
    }
}

void Table::Close()
{
    if (!Active())
        return;
    // A pending record is dropped; whoever wants it kept posts it first.
    modified_ = false;
    buffer_.clear();
    original_.clear();
    written_.clear();
    writtenList_.clear();
    unread_.clear();
    spareTexts_.clear();
    anyUnread_ = allUnread_ = false;
    dropBytes();
    readApart_.clear();
    setRow(-1);
    bof_ = eof_ = true;
    activeFieldCount_ = 0;
    storage_ = nullptr;
    filterExpr_ = filter::Expression();
    visibleRows_.clear();
    visibleBuilt_ = false;
    std::unique_ptr<OpenTables::Lease> lease = std::move(lease_);
    setState(dsInactive);
    emit afterClose();
    lease->release();
}

// ---- keeping step with the storage ----

void Table::readCurrent(bool whole)
{
    if (row() >= 0 && row() < storage_->recordCount()) {
        if (readsSingly_ && !whole) {
            // The values buffer_ holds stay, so that the storage can decode into their memory.
            const std::size_t count = storage_->fields().size();
            buffer_.resize(count);
            unread_.assign(count, 1);
            anyUnread_ = allUnread_ = true;
            return;
        }
        buffer_ = storage_->read(row());
    } else {
        buffer_.assign(storage_->fields().size(), QVariant());
    }
    if (anyUnread_) {
        std::fill(unread_.begin(), unread_.end(), 0);
        anyUnread_ = allUnread_ = false;
    }
}

// Reads the fields this cursor has not read since it moved or posted them, from the record they belong to. Only
// valid while the storage has not changed since: other cursors call it before they write, this one before it
// looks for its record after a change it did not make (a change made behind the cursors' backs, such as another
// process appending to a dBase file, leaves the row where it was).
void Table::refreshPosted()
{
    if (!anyUnread_)
        return;
    if (state_ == dsInsert) {
        blankLeftovers();
        return;
    }
    const bool onRecord = row() >= 0 && row() < storage_->recordCount();
    Record stored = onRecord ? storage_->read(row()) : Record();  // a failing read leaves the flags as they were
    std::fill(unread_.begin(), unread_.end(), 0);
    anyUnread_ = allUnread_ = false;
    if (!onRecord)
        return;
    if (state_ == dsEdit) {
        // The values set since Edit are the pending ones and stay; the rest, and the record Post will look for,
        // are what is stored.
        for (std::size_t i = 0; i < buffer_.size() && i < stored.size(); ++i) {
            if (!written_[i])
                buffer_[i] = std::move(stored[i]);
            else if (i < original_.size())
                original_[i] = std::move(stored[i]);
        }
    } else {
        buffer_ = std::move(stored);
    }
}

// An unread field a caller asks for. Browsing, every field the storage reads cheaply is read with it: a caller
// that reads one field of a record mostly reads the others too. Editing, only the field is read.
void Table::readUnread(std::size_t index)
{
    allUnread_ = false;
    if (state_ == dsInsert) {
        // A field of a new record not set yet.
        buffer_[index] = QVariant();
        unread_[index] = 0;
        --leftovers_;
        return;
    }
    const bool onRecord = row() >= 0 && row() < storage_->recordCount();
    if (!readsSingly_ || !onRecord) {
        refreshPosted();
        return;
    }
    if (state_ == dsBrowse) {
        if (readApart_.size() == unread_.size()) {
            // The fields read apart but this one keep their marks out of the storage's sight: it reads the
            // marked fields only.
            const std::size_t count = unread_.size();
            heldMarks_.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                heldMarks_[i] = static_cast<char>(unread_[i] & readApart_[i] & (i != index));
                unread_[i] = static_cast<char>(unread_[i] & ~heldMarks_[i]);
            }
            storage_->readFields(row(), buffer_, unread_);
            for (std::size_t i = 0; i < count; ++i)
                unread_[i] = static_cast<char>(unread_[i] | heldMarks_[i]);
        } else {
            storage_->readFields(row(), buffer_, unread_);
        }
        if (!unread_[index])
            return;
    }
    // Editing, the field is unwritten (a written one is not read), so the stored value is its original as well.
    storage_->readField(row(), static_cast<int>(index), buffer_[index]);
    unread_[index] = 0;
}

void Table::settleByte(std::size_t index)
{
    byteMarks_[index] = 0;
    QVariant& value = buffer_[index];
    // A field written the usual way since holds its value already.
    if (holdsOwn<QByteArray>(value))
        value = storage_->textOfBytes(static_cast<int>(index), ownValue<QByteArray>(value));
}

void Table::settleBytes()
{
    for (const int index : bytesList_) {
        if (byteMarks_[static_cast<std::size_t>(index)])
            settleByte(static_cast<std::size_t>(index));
    }
    dropBytes();
}

bool Table::bytesInKey() const
{
    const int keyCount = storage_->keyFieldCount();
    for (const int index : bytesList_) {
        if (index < keyCount && byteMarks_[static_cast<std::size_t>(index)])
            return true;
    }
    return false;
}

bool Table::takesTextBytes(int index, const Table& source, int sourceIndex, TextByteMap& map) const
{
    return storage_ && source.storage_ && index >= 0 && index < activeFieldCount_ && sourceIndex >= 0 &&
           sourceIndex < source.activeFieldCount_ &&
           fields_[static_cast<std::size_t>(index)]->DataType() == FieldType::ftString &&
           storage_->textByteMap(index, *source.storage_, sourceIndex, map);
}

bool Table::putTextBytes(int index, QByteArrayView bytes, const TextByteMap& map)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    // Translated in one pass before anything of the record changes; a text field's bytes are short (a longer
    // text goes the general way).
    unsigned char translated[256];
    if (n > static_cast<qsizetype>(sizeof translated))
        return false;
    // Bytes below 0x80 stand for themselves on both sides: eight of them go at once.
    unsigned char missing = 0;
    qsizetype k = 0;
    for (; k + 8 <= n; k += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + k, sizeof word);
        if (!(word & 0x8080808080808080ull)) {
            std::memcpy(translated + k, &word, sizeof word);
            continue;
        }
        for (qsizetype j = k; j < k + 8; ++j) {
            const unsigned char b = map[in[j]];
            translated[j] = b;
            missing |= static_cast<unsigned char>(b == 0);
        }
    }
    for (; k < n; ++k) {
        const unsigned char b = map[in[k]];
        translated[k] = b;
        missing |= static_cast<unsigned char>(b == 0);
    }
    if (missing)
        return false;
    const auto i = static_cast<std::size_t>(index);
    QVariant& slot = startFieldWrite(index);
    if (!holdsOwn<QByteArray>(slot) && i < spareTexts_.size() && holdsOwn<QByteArray>(spareTexts_[i])) {
        // The memory the field's bytes had in the record before.
        QVariant& spare = spareTexts_[i];
        slot.swap(spare);
        if (spare.isValid() && !holdsOwn<QString>(spare))
            spare = QVariant();
    }
    if (!holdsOwn<QByteArray>(slot) || !ownValue<QByteArray>(slot).isDetached() ||
        ownValue<QByteArray>(slot).capacity() < n) {
        QByteArray own;
        own.reserve(std::max<qsizetype>(n, 32));
        slot = QVariant::fromValue(std::move(own));
    }
    QByteArray& own = ownValue<QByteArray>(slot);
    own.resize(n);
    std::memcpy(own.data(), translated, static_cast<std::size_t>(n));
    if (byteMarks_.size() <= i)
        byteMarks_.resize(buffer_.size());
    if (!byteMarks_[i]) {
        byteMarks_[i] = 1;
        bytesList_.push_back(index);
    }
    bytesHeld_ = true;
    finishFieldWrite(index);
    return true;
}

void Table::startPending()
{
    const auto count = static_cast<std::size_t>(activeFieldCount_);
    if (written_.size() != count) {
        written_.assign(count, 0);
    } else {
        for (const int i : writtenList_)
            written_[static_cast<std::size_t>(i)] = 0;
    }
    writtenList_.clear();
}

void Table::markAllLeftOver()
{
    const auto count = static_cast<std::size_t>(activeFieldCount_);
    buffer_.resize(count);
    unread_.assign(count, 1);
}

void Table::blankLeftovers()
{
    for (std::size_t i = 0; i < unread_.size(); ++i) {
        if (unread_[i]) {
            QVariant& value = buffer_[i];
            if ((holdsOwn<QString>(value) && ownValue<QString>(value).isDetached()) ||
                (holdsOwn<QByteArray>(value) && ownValue<QByteArray>(value).isDetached())) {
                if (spareTexts_.size() < unread_.size())
                    spareTexts_.resize(unread_.size());
                spareTexts_[i].swap(value);
            }
            value = QVariant();  // or the spare before
            unread_[i] = 0;
        }
    }
    anyUnread_ = allUnread_ = false;
    leftovers_ = 0;
}

// An empty text is left to the usual way, which keeps whether it is null.
bool Table::copyIntoSpareText(QVariant& slot, int index, const QString& value)
{
    const auto i = static_cast<std::size_t>(index);
    if (i >= spareTexts_.size() || value.isEmpty())
        return false;
    QVariant& spare = spareTexts_[i];
    if (!holdsOwn<QString>(spare))
        return false;
    slot.swap(spare);
    if (spare.isValid())
        spare = QVariant();  // what the slot held: blank mostly
    QString& own = ownValue<QString>(slot);
    if (own.capacity() < value.size()) {
        // Made large enough for the texts of this field to come, as the text a source decodes is just as long.
        own = QString();
        own.reserve(std::max<qsizetype>(value.size(), 32));
    }
    assignText(own, value);
    return true;
}

Record Table::editedOriginal() const
{
    Record original = buffer_;
    for (std::size_t i = 0; i < original.size() && i < written_.size() && i < original_.size(); ++i) {
        if (written_[i])
            original[i] = original_[i];
    }
    return original;
}

// Another cursor wrote to the shared storage: find our record again. A keyed table finds it by its key; a keyless
// one looks for the same record at its position and at the neighbouring ones (a record inserted or deleted before
// it moves it by one), else keeps the position.
void Table::followStorage()
{
    refreshPosted();
    markSeen();
    if (state_ != dsBrowse)
        return;  // a pending record is placed when it is posted
    const int count = storage_->recordCount();
    if (count == 0) {
        setRow(-1);
        bof_ = eof_ = true;
        readCurrent();
        return;
    }
    if (row() < 0) {
        setRow(0);
        settleOnVisible();
        readCurrent();
        return;
    }
    int found = -1;
    const int keyCount = storage_->keyFieldCount();
    if (keyCount > 0) {
        found = storage_->findKey(Record(buffer_.begin(), buffer_.begin() + keyCount));
    } else {
        for (int candidate : {row(), row() - 1, row() + 1}) {
            if (candidate >= 0 && candidate < count && storage_->read(candidate) == buffer_) {
                found = candidate;
                break;
            }
        }
    }
    setRow(found >= 0 ? found : std::clamp(row(), 0, count - 1));
    settleOnVisible();
    readCurrent();
}

// Before a Post of edit state: the row the edited record is on now, or an error when another cursor changed or
// deleted it meanwhile.
int Table::locateEditedRow()
{
    if (storage_->changeCount() == seenChange_)
        return row();
    refreshPosted();
    const Record original = editedOriginal();
    const int count = storage_->recordCount();
    const int keyCount = storage_->keyFieldCount();
    int found = -1;
    if (keyCount > 0) {
        const int r = storage_->findKey(Record(original.begin(), original.begin() + keyCount));
        if (r >= 0 && storage_->read(r) == original)
            found = r;
    } else if (row() >= 0 && row() < count && storage_->read(row()) == original) {
        found = row();
    } else {
        // Nearest equal record; a keyless table has nothing else to tell its records apart by.
        for (int distance = 1; distance < count && found < 0; ++distance) {
            for (int candidate : {row() - distance, row() + distance}) {
                if (candidate >= 0 && candidate < count && storage_->read(candidate) == original) {
                    found = candidate;
                    break;
                }
            }
        }
    }
    if (found < 0) {
        throw EngineError(ErrorCode::RecordChanged,
                          QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer geändert "
                                         "oder gelöscht."));
    }
    return found;
}

// ---- the records a filter shows ----

void Table::ensureVisibleRows()
{
    const std::uint64_t now = storage_->changeCount();
    if (visibleBuilt_ && visibleSeen_ == now)
        return;
    // Straight from the stored records: no field objects, no cursor moves, one pass.
    visibleRows_.clear();
    const int count = storage_->recordCount();
    if (readsSingly_) {
        // Only the fields the condition names are decoded (a memo it does not name is never read), each into the
        // value of the record before, without a record made per row.
        const std::vector<int>& used = filterExpr_.fieldsUsed();
        Record record(storage_->fields().size());
        std::vector<char> unread(record.size(), 0);
        for (int row = 0; row < count; ++row) {
            for (const int i : used)
                unread[static_cast<std::size_t>(i)] = 1;
            storage_->readFields(row, record, unread);
            for (const int i : used) {
                if (unread[static_cast<std::size_t>(i)]) {
                    storage_->readField(row, i, record[static_cast<std::size_t>(i)]);
                    unread[static_cast<std::size_t>(i)] = 0;
                }
            }
            if (filterExpr_.matches(record))
                visibleRows_.push_back(row);
        }
    } else {
        for (int row = 0; row < count; ++row) {
            if (filterExpr_.matches(storage_->read(row)))
                visibleRows_.push_back(row);
        }
    }
    visibleBuilt_ = true;
    visibleSeen_ = now;
}

int Table::filteredCount()
{
    ensureVisibleRows();
    return static_cast<int>(visibleRows_.size());
}

// Storage row of the index-th shown record; index must be within viewCount().
int Table::filteredRow(int index)
{
    ensureVisibleRows();
    return visibleRows_[static_cast<std::size_t>(index)];
}

int Table::filteredIndexOf(int row)
{
    ensureVisibleRows();
    const auto it = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), row);
    return it != visibleRows_.end() && *it == row ? static_cast<int>(it - visibleRows_.begin()) : -1;
}

// Puts the cursor on a shown record: the current one if it is shown, else the next shown one, else the last;
// on nothing when nothing is shown.
void Table::settleOnVisible()
{
    const int count = viewCount();
    if (count == 0) {
        setRow(-1);
        bof_ = eof_ = true;
        return;
    }
    if (!filterActive()) {
        setRow(std::clamp(row(), 0, count - 1));
        return;
    }
    const auto it = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), std::max(row(), 0));
    setRow(it == visibleRows_.end() ? visibleRows_.back() : *it);
}

// The cursor's own writes keep the list of shown rows current without reading the table again, as long as the
// list was current just before the write; otherwise it is built anew when next needed.

void Table::noteInserted(std::uint64_t before, int row)
{
    if (!visibleBuilt_ || visibleSeen_ != before)
        return;
    auto it = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), row);
    for (auto later = it; later != visibleRows_.end(); ++later)
        ++*later;
    if (filterExpr_.matches(buffer_))
        visibleRows_.insert(it, row);
    visibleSeen_ = storage_->changeCount();
}

void Table::noteUpdated(std::uint64_t before, int from, int to)
{
    if (!visibleBuilt_ || visibleSeen_ != before)
        return;
    const auto old = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), from);
    if (old != visibleRows_.end() && *old == from)
        visibleRows_.erase(old);
    // The records between the old and the new place move up or down by one.
    if (to != from) {
        const int low = std::min(from, to);
        const int high = std::max(from, to);
        const int shift = to > from ? -1 : 1;
        for (auto it = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), low);
             it != visibleRows_.end() && *it <= high; ++it)
            *it += shift;
    }
    if (filterExpr_.matches(buffer_))
        visibleRows_.insert(std::lower_bound(visibleRows_.begin(), visibleRows_.end(), to), to);
    visibleSeen_ = storage_->changeCount();
}

void Table::noteRemoved(std::uint64_t before, int row)
{
    if (!visibleBuilt_ || visibleSeen_ != before)
        return;
    auto it = std::lower_bound(visibleRows_.begin(), visibleRows_.end(), row);
    if (it != visibleRows_.end() && *it == row)
        it = visibleRows_.erase(it);
    for (; it != visibleRows_.end(); ++it)
        --*it;
    visibleSeen_ = storage_->changeCount();
}

void Table::setFilter(const QString& text)
{
    if (text == filterText_)
        return;
    if (Active() && filtered_)
        applyFilter(text);
    else
        filterText_ = text;
}

void Table::setFiltered(bool filtered)
{
    if (filtered == filtered_)
        return;
    if (!Active()) {
        filtered_ = filtered;
        return;
    }
    if (filtered) {
        applyFilter(filterText_);
        return;
    }
    checkBrowseMode();
    filtered_ = false;
    filterExpr_ = filter::Expression();
    visibleRows_.clear();
    visibleBuilt_ = false;
    First();
}

// Brings text into force on the open table. It is compiled before anything changes, so a text that does not
// compile leaves the table as it was; then the pending record is finished and the cursor goes to the first
// shown record.
void Table::applyFilter(const QString& text)
{
    filter::Expression expression = filter::compile(text, storage_->fields());
    checkBrowseMode();
    filterText_ = text;
    filtered_ = true;
    filterExpr_ = std::move(expression);
    visibleRows_.clear();
    visibleBuilt_ = false;
    First();
}

Record Table::recordAt(int index)
{
    if (!Active() || index < 0 || index >= viewCount())
        return Record();
    return storage_->read(viewRow(index));
}

int Table::pendingIndex()
{
    if (state_ != dsInsert)
        return -1;
    if (appending_)
        return viewCount();
    const int count = viewCount();
    if (!filterActive())
        return std::clamp(insertBefore_, 0, count);
    ensureVisibleRows();
    return static_cast<int>(std::lower_bound(visibleRows_.begin(), visibleRows_.end(), insertBefore_)
                            - visibleRows_.begin());
}

// ---- notifications ----

void Table::connectNotify(const QMetaMethod& signal)
{
    QObject::connectNotify(signal);
    if (signal == QMetaMethod::fromSignal(&Table::afterScroll))
        heard_ |= HeardScroll;
    else if (signal == QMetaMethod::fromSignal(&Table::dataChanged))
        heard_ |= HeardData;
    else if (signal == QMetaMethod::fromSignal(&Table::stateChanged))
        heard_ |= HeardState;
    else if (signal == QMetaMethod::fromSignal(&Table::afterPost))
        heard_ |= HeardPost;
    else if (!signal.isValid())
        heard_ = ~0u;  // a connection that does not say to what: everything is heard
}

void Table::DisableControls()
{
    if (disableCount_++ == 0)
        stateWhenDisabled_ = state_;
}

void Table::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ > 0)
        return;
    if (state_ != stateWhenDisabled_)
        emit stateChanged();
    if (Active())
        emit dataChanged(nullptr);
}

// ---- moving ----

void Table::CheckBrowseMode()
{
    checkBrowseMode();
}

void Table::FlushBuffers()
{
    checkBrowseMode();
    storage_->flush();
}

void Table::finishPending()
{
    if (state_ == dsEdit || state_ == dsInsert) {
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void Table::placeOnFirst()
{
    const int count = viewCount();
    setRow(count > 0 ? viewRow(0) : -1);
    bof_ = true;
    eof_ = count == 0;
}

void Table::First()
{
    checkBrowseMode();
    placeOnFirst();
    readCurrent();
    notifyData(nullptr);
    notifyScroll();
}

void Table::Last()
{
    checkBrowseMode();
    const int count = viewCount();
    setRow(count > 0 ? viewRow(count - 1) : -1);
    eof_ = true;
    bof_ = count == 0;
    readCurrent();
    notifyData(nullptr);
    notifyScroll();
}

void Table::Next()
{
    checkBrowseMode();
    const int count = viewCount();
    if (!eof_) {
        const int index = currentIndex();
        if (index >= 0 && index + 1 < count) {
            setRow(viewRow(index + 1));
            bof_ = false;
            readCurrent();
            notifyData(nullptr);
        } else {
            eof_ = true;
        }
    }
    notifyScroll();
}

void Table::Prior()
{
    checkBrowseMode();
    if (!bof_) {
        const int index = currentIndex();
        if (index > 0) {
            setRow(viewRow(index - 1));
            eof_ = false;
            readCurrent();
            notifyData(nullptr);
        } else {
            bof_ = true;
        }
    }
    notifyScroll();
}

bool Table::Eof()
{
    if (!Active())
        return true;
    syncWithStorage();
    if (state_ == dsBrowse && viewCount() == 0)
        return true;
    return eof_;
}

bool Table::Bof()
{
    if (!Active())
        return true;
    syncWithStorage();
    if (state_ == dsBrowse && viewCount() == 0)
        return true;
    return bof_;
}

int Table::RecNo()
{
    if (!Active())
        return 0;
    if (state_ == dsInsert)
        return -1;
    syncWithStorage();
    return currentIndex() + 1;
}

void Table::setRecNo(int recNo)
{
    checkBrowseMode();
    const int count = viewCount();
    if (count == 0)
        return;
    setRow(viewRow(std::clamp(recNo, 1, count) - 1));
    bof_ = eof_ = false;
    readCurrent();
    notifyData(nullptr);
    notifyScroll();
}

int Table::RecordCount()
{
    if (!Active())
        return 0;
    syncWithStorage();
    return viewCount();
}

bool Table::IsEmpty()
{
    return RecordCount() == 0;
}

// ---- changing ----

void Table::Append()
{
    checkWritable();
    checkBrowseMode();
    startBlank();
    appending_ = true;
    modified_ = false;
    bof_ = false;
    eof_ = true;
    setState(dsInsert);
    notifyData(nullptr);
    notifyScroll();
}

void Table::Insert()
{
    checkWritable();
    checkBrowseMode();
    startBlank();
    appending_ = false;
    insertBefore_ = std::max(row(), 0);
    modified_ = false;
    bof_ = eof_ = false;
    setState(dsInsert);
    notifyData(nullptr);
    notifyScroll();
}

void Table::Edit()
{
    checkWritable();
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    // Reads the record anew when anybody wrote since the cursor last read or posted it; otherwise the buffer is
    // the stored record already.
    syncWithStorage();
    if (viewCount() == 0) {
        Insert();
        return;
    }
    original_.resize(buffer_.size());
    startPending();
    modified_ = false;
    setState(dsEdit);
}

void Table::Post()
{
    checkActive();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    if (bytesHeld_ && (filterActive() || bytesInKey()))
        settleBytes();
    if (!requiredFields_.empty())
        checkRequired();
    if (filterActive()) {
        postShown();
    } else if (state_ == dsInsert) {
        storeNew(false);
    } else {
        int from;
        storeEdited(from);
    }
    markSeen();
    setState(dsBrowse);
    notifyPost();
    notifyData(nullptr);
}

void Table::checkRequired()
{
    // Bytes put into a field are never blank: they are looked at as they are, not turned into their text.
    struct BytesAsTheyAre {
        bool& held;
        bool was;
        ~BytesAsTheyAre() { held = was; }
    } asTheyAre{bytesHeld_, std::exchange(bytesHeld_, false)};
    for (const int i : requiredFields_) {
        if (!fieldValue(i).isValid()) {
            throw EngineError(ErrorCode::RequiredFieldMissing,
                              QStringLiteral("Feld '%1' muss einen Wert haben.")
                                  .arg(fields_[static_cast<std::size_t>(i)]->FieldName()));
        }
    }
}

int Table::storeNew(bool needRow)
{
    lease_->aboutToWrite();
    if (leftovers_ > 0)
        blankLeftovers();
    const int count = storage_->recordCount();
    int landed;
    if (appending_ && !needRow) {
        // The storage may hold an appended record back from its place in key order until somebody asks where
        // it is: an import appends one record after the other and asks for none of their rows.
        landed = storage_->insertUnplaced(buffer_);
        if (landed < 0)
            keepPostedKey();
    } else {
        landed = storage_->insert(buffer_, appending_ ? count : std::clamp(insertBefore_, 0, count));
    }
    setRow(landed);
    rowUnknown_ = landed < 0;
    bof_ = eof_ = false;
    modified_ = false;
    // What the storage made of the record is read back whole when asked for, as it may have numbered its
    // auto-increment fields (its blanks stay blanks). startBlank gave unread_ a mark per field.
    std::fill(unread_.begin(), unread_.end(), 1);
    anyUnread_ = allUnread_ = true;
    if (bytesHeld_)
        dropBytes();
    return landed;
}

// The key of the record just posted, in memory of its own: the next record's values are set into buffer_. A text
// is copied into the memory the kept one owns, as sharing it would cost atomic reference counting per post.
void Table::keepPostedKey()
{
    const auto keyCount = static_cast<std::size_t>(storage_->keyFieldCount());
    postedKey_.resize(keyCount);
    for (std::size_t i = 0; i < keyCount; ++i) {
        const QVariant& value = buffer_[i];
        QVariant& kept = postedKey_[i];
        if (!holdsOwn<QString>(value)) {
            kept = value;
            continue;
        }
        const QString& text = *static_cast<const QString*>(value.constData());
        if (!holdsOwn<QString>(kept))
            kept = QString();
        QString& own = ownValue<QString>(kept);
        if (!own.isDetached() || own.capacity() < text.size()) {
            own = QString();
            own.reserve(std::max<qsizetype>(text.size(), 64));
        }
        assignText(own, text);
    }
}

void Table::findPosted()
{
    rowUnknown_ = false;
    row_ = storage_->findKey(postedKey_);
}

int Table::storeEdited(int& from)
{
    lease_->aboutToWrite();
    from = locateEditedRow();
    // Only the fields set since Edit are passed on: the others keep what is stored, whether or not this cursor
    // has read them (and a number the storage gave an auto-increment field stays, blank as it may be here).
    const int landed = storage_->updateChanged(from, buffer_, written_);
    setRow(landed);
    bof_ = eof_ = false;
    modified_ = false;
    // What the storage made of the written fields is read back when asked for.
    if (!writtenList_.empty()) {
        unread_.resize(buffer_.size(), 0);
        for (const int i : writtenList_)
            unread_[static_cast<std::size_t>(i)] = 1;
        anyUnread_ = true;
    }
    if (bytesHeld_)
        dropBytes();
    return landed;
}

// Where the record is shown before it is stored; should the filter not match it once stored, the record that takes
// this place becomes the current one, as after a delete.
void Table::postShown()
{
    const std::uint64_t changesBefore = storage_->changeCount();
    const bool inserting = state_ == dsInsert;
    const int shownAt = inserting ? pendingIndex() : currentIndex();
    int from = -1;
    const int landed = inserting ? storeNew(true) : storeEdited(from);
    // Whether the record stays in view is decided on its stored values.
    readCurrent(true);
    if (inserting)
        noteInserted(changesBefore, landed);
    else
        noteUpdated(changesBefore, from, landed);
    if (viewIndexOf(row()) < 0) {
        const int count = viewCount();
        if (count == 0) {
            setRow(-1);
            bof_ = eof_ = true;
        } else {
            setRow(viewRow(std::clamp(shownAt, 0, count - 1)));
        }
        readCurrent();
    }
}

void Table::Cancel()
{
    checkActive();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    const bool wasInsert = state_ == dsInsert;
    settleBytes();
    if (!wasInsert) {
        // So that finding the record again looks for it as it is stored.
        for (std::size_t i = 0; i < buffer_.size() && i < written_.size() && i < original_.size(); ++i) {
            if (written_[i])
                buffer_[i].swap(original_[i]);
        }
    }
    modified_ = false;
    setState(dsBrowse);
    syncWithStorage();
    settleOnVisible();
    if (row() >= 0 && wasInsert)
        bof_ = eof_ = false;
    readCurrent();
    notifyData(nullptr);
    if (wasInsert)
        notifyScroll();
}

void Table::Delete()
{
    checkActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    checkWritable();
    int target;
    if (state_ == dsEdit) {
        target = locateEditedRow();
        modified_ = false;
        original_.clear();
        dropBytes();
        setState(dsBrowse);
    } else {
        syncWithStorage();
        target = row();
    }
    if (storage_->recordCount() == 0 || target < 0) {
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Tabelle %1 enthält keinen Datensatz, der gelöscht werden könnte.")
                              .arg(displayName()));
    }
    lease_->aboutToWrite();
    const std::uint64_t changesBefore = storage_->changeCount();
    storage_->remove(target);
    if (filterActive())
        noteRemoved(changesBefore, target);
    markSeen();
    const int count = storage_->recordCount();
    if (count == 0) {
        setRow(-1);
        bof_ = eof_ = true;
    } else {
        setRow(std::min(target, count - 1));
        bof_ = eof_ = false;
        settleOnVisible();
    }
    readCurrent();
    notifyData(nullptr);
    notifyScroll();
}

bool Table::FindKey(const QVariant& keyValue)
{
    return FindKey(QVariantList{keyValue});
}

bool Table::FindKey(const QVariantList& keyValues)
{
    checkBrowseMode();
    const int keyCount = storage_->keyFieldCount();
    if (keyCount == 0) {
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Tabelle %1 hat keinen Primärschlüssel.").arg(displayName()));
    }
    if (keyValues.isEmpty() || keyValues.size() > keyCount) {
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Der Primärschlüssel der Tabelle %1 hat %2 Felder, gesucht wurde mit %3.")
                              .arg(displayName())
                              .arg(keyCount)
                              .arg(keyValues.size()));
    }
    Record key;
    const FieldDefList& defs = storage_->fields();
    for (qsizetype i = 0; i < keyValues.size(); ++i)
        key.push_back(Field::convert(defs[static_cast<std::size_t>(i)], keyValues[i]));
    const int found = storage_->findKey(key);
    if (found < 0 || viewIndexOf(found) < 0)
        return false;
    setRow(found);
    bof_ = eof_ = false;
    readCurrent();
    notifyData(nullptr);
    notifyScroll();
    return true;
}

// ---- fields ----

Field* Table::FindField(const QString& name)
{
    for (int i = 0; i < activeFieldCount_; ++i) {
        if (fields_[static_cast<std::size_t>(i)]->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return fields_[static_cast<std::size_t>(i)].get();
    }
    return nullptr;
}

Field* Table::FieldByName(const QString& name)
{
    Field* field = FindField(name);
    if (!field) {
        throw EngineError(ErrorCode::FieldNotFound,
                          QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
    }
    return field;
}

void Table::throwNoField(int index) const
{
    throw EngineError(ErrorCode::FieldNotFound,
                      QStringLiteral("Die Tabelle %1 hat kein Feld mit der Nummer %2.").arg(displayName()).arg(index));
}

int Table::FieldCount() const
{
    return activeFieldCount_;
}

int Table::IndexFieldCount() const
{
    return Active() ? storage_->keyFieldCount() : 0;
}

void Table::notifyFieldWritten(int index)
{
    emit dataChanged(fields_[static_cast<std::size_t>(index)].get());
}

void Table::setFieldValue(int index, QVariant&& value)
{
    startFieldWrite(index) = std::move(value);
    finishFieldWrite(index);
}

// The first change of a field since Edit keeps what it held. A copy, not a move: the value stays in buffer_ for
// the new one to be written into, and may be what is written.
void Table::markWritten(int index)
{
    const auto i = static_cast<std::size_t>(index);
    // A blank over a blank is no copy: an import sets each field of a record it has just appended once, blank.
    if (buffer_[i].isValid() || original_[i].isValid())
        original_[i] = buffer_[i];
    written_[i] = 1;
    writtenList_.push_back(index);
}

void Table::throwNotEditing() const
{
    checkActive();
    throw EngineError(ErrorCode::InvalidState,
                      QStringLiteral("Die Tabelle %1 ist nicht im Bearbeitungs- oder Einfügemodus.").arg(displayName()));
}

// ---- whole tables ----

void Table::CreateTable()
{
    checkInactive("CreateTable");
    if (fieldDefs_.Count() == 0) {
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Die Tabelle %1 kann nicht ohne Felder angelegt werden.").arg(displayName()));
    }
    const QString path = filePath();
    const QString key = OpenTables::keyFor(path);
    if (OpenTables::isOpen(key)) {
        throw EngineError(ErrorCode::FileLocked,
                          QStringLiteral("Die Tabelle %1 wird bereits verwendet.").arg(displayName()));
    }
    OpenTables::discardKept(key);
    format().create(path, fieldDefs_.list(), fieldDefs_.KeyFieldCount());
}

qint64 Table::RecordCapacity()
{
    if (Active())
        return storage_->recordCapacity();
    return format().capacity(fieldDefs_.list(), fieldDefs_.KeyFieldCount());
}

void Table::CheckRoomFor(qint64 more)
{
    const qint64 capacity = RecordCapacity();
    const qint64 wanted = (Active() ? storage_->recordCount() : 0) + std::max<qint64>(more, 0);
    if (wanted > capacity) {
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Tabelle %1 kann höchstens %2 Sätze aufnehmen; für %3 Sätze reicht sie "
                                         "nicht aus.")
                              .arg(displayName())
                              .arg(capacity)
                              .arg(wanted));
    }
}

void Table::EmptyTable()
{
    if (Active()) {
        checkWritable();
        if (lease_->mode() != OpenMode::Exclusive) {
            throw EngineError(ErrorCode::ExclusiveAccessNeeded,
                              QStringLiteral("Die Tabelle %1 muss zum Leeren exklusiv geöffnet sein.")
                                  .arg(displayName()));
        }
        if (state_ == dsEdit || state_ == dsInsert) {
            modified_ = false;
            original_.clear();
            setState(dsBrowse);
        }
        lease_->aboutToWrite();
        storage_->empty();
        visibleRows_.clear();
        visibleBuilt_ = true;
        visibleSeen_ = storage_->changeCount();
        markSeen();
        setRow(-1);
        bof_ = eof_ = true;
        readCurrent();
        notifyData(nullptr);
        return;
    }
    const TableFormat& fmt = format();
    const QString path = filePath();
    const QString key = OpenTables::keyFor(path);
    OpenTables::discardKept(key);
    auto lease = OpenTables::acquire(
        key, OpenMode::Exclusive, [&] { return fmt.open(path, OpenMode::Exclusive); }, scratch_);
    const QString reason = lease->storage()->readOnlyReason();
    if (!reason.isEmpty())
        throw EngineError(ErrorCode::ReadOnlyTable, reason);
    lease->storage()->empty();
    lease->release();
}

void Table::DeleteTable()
{
    checkInactive("DeleteTable");
    const QString path = filePath();
    const QString key = OpenTables::keyFor(path);
    if (OpenTables::isOpen(key)) {
        throw EngineError(ErrorCode::FileLocked,
                          QStringLiteral("Die Tabelle %1 wird bereits verwendet.").arg(displayName()));
    }
    OpenTables::discardKept(key);
    format().remove(path);
}

}  // namespace db
