#include "db/BatchMove.h"

#include "db/EngineError.h"
#include "db/OpenTables.h"
#include "db/Table.h"
#include "db/TableStorage.h"

#include <QDir>
#include <algorithm>

namespace db {

namespace {

// Opens a closed table for as long as it lives, and closes it again; an open table is left alone.
class OpenedForTheMove {
public:
    explicit OpenedForTheMove(Table& table) : table_(table)
    {
        if (!table_.Active()) {
            table_.Open();
            opened_ = true;
        }
    }
    ~OpenedForTheMove()
    {
        if (!opened_)
            return;
        try {
            table_.Close();
        } catch (const std::exception& e) {
            qWarning("Closing table %s failed: %s", qUtf8Printable(table_.TableName()), e.what());
        }
    }
    OpenedForTheMove(const OpenedForTheMove&) = delete;
    OpenedForTheMove& operator=(const OpenedForTheMove&) = delete;

    // Closes now, so that a failing close is raised to the caller instead of only being logged.
    void close()
    {
        if (opened_) {
            opened_ = false;
            table_.Close();
        }
    }

private:
    Table& table_;
    bool opened_ = false;
};

class ControlsDisabled {
public:
    explicit ControlsDisabled(Table& table) : table_(table) { table_.DisableControls(); }
    ~ControlsDisabled() { table_.EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Table& table_;
};

// A hold of its own on the storage that table has open, for reading or writing below the cursors; null when the
// table's cursor holds the files exclusively.
std::unique_ptr<OpenTables::Lease> joinStorage(const Table& table)
{
    if (table.Exclusive())
        return nullptr;
    const QString key = OpenTables::keyFor(table.filePath());
    if (!OpenTables::isOpen(key))
        return nullptr;
    try {
        // Joined with the table's own scratch flag: a scratch storage stays one.
        return OpenTables::acquire(key, OpenMode::Shared, [] { return TableStoragePtr(); }, table.Scratch());
    } catch (const EngineError&) {
        return nullptr;
    }
}

}  // namespace

bool BatchMove::copyStored(int fieldCount)
{
    // The records a filter shows are the cursor's to find; a table that may not be written refuses through its
    // cursor, in the cursor's words.
    if ((source_->Filtered() && !source_->Filter().isEmpty()) || !destination_->CanModify())
        return false;
    const std::unique_ptr<OpenTables::Lease> from = joinStorage(*source_);
    const std::unique_ptr<OpenTables::Lease> to = from ? joinStorage(*destination_) : nullptr;
    if (!to || !to->storage()->copiesFrom(*from->storage(), fieldCount))
        return false;
    TableStorage& target = *to->storage();
    const TableStorage& origin = *from->storage();
    // The other cursors of the destination read back what they posted before anything moves under them; they post
    // nothing while the move runs, so once is enough.
    to->aboutToWrite();
    const int recordCount = origin.recordCount();
    for (int row = 0; row < recordCount; ++row) {
        target.insertCopy(origin, row, fieldCount);
        ++movedCount_;
    }
    return true;
}

void BatchMove::moveFieldByField(int fieldCount)
{
    const int recordCount = source_->RecordCount();
    for (int index = 0; index < recordCount; ++index) {
        const Record record = source_->recordAt(index);
        destination_->Append();
        try {
            for (int i = 0; i < fieldCount && i < static_cast<int>(record.size()); ++i) {
                Field* field = destination_->Fields(i);
                if (field->DataType() == FieldType::ftAutoInc)
                    continue;
                const QVariant& value = record[static_cast<std::size_t>(i)];
                if (value.isValid())
                    field->setAsVariant(value);
            }
            destination_->Post();
        } catch (...) {
            destination_->Cancel();
            throw;
        }
        ++movedCount_;
    }
}

void BatchMove::Execute()
{
    movedCount_ = 0;
    if (!source_ || !destination_) {
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Für das Übertragen der Datensätze fehlt die Quell- oder die Zieltabelle."));
    }
    // Appending a table to itself would read the records it is writing.
    if (OpenTables::keyFor(source_->filePath()) == OpenTables::keyFor(destination_->filePath())) {
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Die Datensätze der Tabelle %1 können nicht in dieselbe Tabelle übertragen "
                                         "werden.")
                              .arg(QDir::toNativeSeparators(source_->filePath())));
    }

    OpenedForTheMove source(*source_);
    OpenedForTheMove destination(*destination_);
    source_->CheckBrowseMode();
    destination_->CheckBrowseMode();
    // A destination that cannot hold every record is refused before the first one moves, not near the end.
    destination_->CheckRoomFor(source_->RecordCount());
    {
        ControlsDisabled quiet(*destination_);
        const int fieldCount = std::min(source_->FieldCount(), destination_->FieldCount());
        if (!copyStored(fieldCount))
            moveFieldByField(fieldCount);
    }
    destination.close();
    source.close();
}

}  // namespace db
