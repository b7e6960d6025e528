#include "db/TableModel.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"

#include <algorithm>

namespace db {

// ---- TableModel ----

TableModel::TableModel(DataSource* source, QObject* parent) : QAbstractTableModel(parent), source_(source)
{
    if (source) {
        connect(source, &DataSource::stateChanged, this, [this] { sync(true); });
        connect(source, &DataSource::dataChanged, this, &TableModel::onData);
        connect(source, &DataSource::scrolled, this, [this] { sync(false); });
    }
    sync(true);
}

Table* TableModel::table() const
{
    if (!source_ || source_->State() == dsInactive)
        return nullptr;
    return source_->DataSet();
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rowCount_;
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

Field* TableModel::fieldAt(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return nullptr;
    return columns_[static_cast<std::size_t>(column)];
}

// Index among the table's shown records of the record in row; the pending record has none (-1).
int TableModel::recordIndex(int row) const
{
    if (pendingRow_ < 0 || row < pendingRow_)
        return row;
    return row == pendingRow_ ? -1 : row - 1;
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    Table* t = table();
    Field* field = index.isValid() ? fieldAt(index.column()) : nullptr;
    if (!t || !field || index.row() >= rowCount_)
        return QVariant();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(field->Alignment() | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    // A view paints from inside the event loop, where an error must not go: a record that cannot be read shows
    // blank here, and the cursor raises the error when it gets there.
    try {
        // The cursor's record shows its pending changes. While the table's controls are disabled the cursor
        // wanders without telling the model, so then every row comes from the table.
        if (index.row() == currentRow_ && t->State() != dsBrowse && !t->ControlsDisabled()) {
            if (!field->hasShownText())
                return field->AsString();
            Record pending;
            for (int f = 0; f < t->FieldCount(); ++f)
                pending.push_back(t->Fields(f)->AsVariant());
            return field->shownTextOf(pending);
        }
        const int record = recordIndex(index.row());
        if (record != cachedIndex_) {
            cachedRecord_ = t->recordAt(record);
            cachedIndex_ = record;
        }
        return field->shownTextOf(cachedRecord_);
    } catch (const EngineError&) {
        return QVariant();
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return QAbstractTableModel::headerData(section, orientation, role);
    Field* field = fieldAt(section);
    if (!field)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return field->DisplayLabel();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(field->Alignment() | Qt::AlignVCenter);
    case DisplayWidthRole:
        return field->DisplayWidth();
    default:
        return QVariant();
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    Table* t = table();
    if (index.isValid() && t && t->CanModify())
        result |= Qt::ItemIsEditable;
    return result;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    Table* t = table();
    Field* field = index.isValid() ? fieldAt(index.column()) : nullptr;
    if (!t || !field || role != Qt::EditRole || index.row() >= rowCount_)
        return false;
    try {
        goTo(index.row());
        const QString text = value.toString();
        // An editor closed without a change does not start editing the record.
        if (t->State() == dsBrowse && field->AsString() == text)
            return true;
        if (t->State() == dsBrowse)
            t->Edit();
        field->setAsString(text);
        return true;
    } catch (const EngineError& error) {
        report(error);
        return false;
    }
}

bool TableModel::moveTo(int row)
{
    try {
        goTo(row);
        return true;
    } catch (const EngineError& error) {
        report(error);
        return false;
    }
}

void TableModel::goTo(int row)
{
    Table* t = table();
    if (!t || row < 0 || row >= rowCount_ || row == currentRow_)
        return;
    int index = recordIndex(row);
    if (index < 0)
        return;
    if (t->State() == dsEdit || t->State() == dsInsert) {
        // Finishing the pending record moves the other records by one place at most; find the wanted one again.
        const Record wanted = t->recordAt(index);
        t->CheckBrowseMode();
        const int count = t->RecordCount();
        int found = -1;
        for (int candidate : {index, index + 1, index - 1}) {
            if (candidate >= 0 && candidate < count && t->recordAt(candidate) == wanted) {
                found = candidate;
                break;
            }
        }
        if (count == 0)
            return;
        index = found >= 0 ? found : std::clamp(index, 0, count - 1);
    }
    t->setRecNo(index + 1);
}

void TableModel::report(const EngineError& error)
{
    // Raised again from the event loop, where the program's error handling shows it; raising it here would
    // unwind through the item view's code.
    QMetaObject::invokeMethod(this, [error] { throw error; }, Qt::QueuedConnection);
}

void TableModel::refresh()
{
    sync(true);
}

void TableModel::onData(Field* field)
{
    if (field && currentRow_ >= 0) {
        const auto it = std::find(columns_.begin(), columns_.end(), field);
        if (it != columns_.end()) {
            const QModelIndex cell = index(currentRow_, static_cast<int>(it - columns_.begin()));
            emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
        }
        return;
    }
    if (!field)
        sync(true);
}

void TableModel::sync(bool contentsChanged)
{
    Table* t = table();
    std::vector<Field*> columns;
    int pending = -1;
    int rows = 0;
    int current = -1;
    if (t) {
        for (int i = 0; i < t->FieldCount(); ++i) {
            if (t->Fields(i)->Visible())
                columns.push_back(t->Fields(i));
        }
        pending = t->pendingIndex();
        rows = t->RecordCount() + (pending >= 0 ? 1 : 0);
        current = pending >= 0 ? pending : t->RecNo() - 1;
    }
    cachedIndex_ = -1;
    cachedRecord_.clear();

    const bool sameColumns = columns == columns_;
    const bool restructured = !sameColumns || rows != rowCount_;
    restructuring_ = true;
    if (sameColumns && pendingRow_ < 0 && pending >= 0 && rows == rowCount_ + 1) {
        // A new record was started: it appears at its place.
        beginInsertRows(QModelIndex(), pending, pending);
        rowCount_ = rows;
        pendingRow_ = pending;
        endInsertRows();
    } else if (sameColumns && pendingRow_ >= 0 && pending < 0 && rows == rowCount_ - 1) {
        // The new record was dropped, or posted where the filter does not show it.
        const int gone = pendingRow_;
        beginRemoveRows(QModelIndex(), gone, gone);
        rowCount_ = rows;
        pendingRow_ = -1;
        endRemoveRows();
    } else if (!sameColumns || rows != rowCount_) {
        beginResetModel();
        columns_ = std::move(columns);
        rowCount_ = rows;
        pendingRow_ = pending;
        endResetModel();
        contentsChanged = false;
    } else {
        pendingRow_ = pending;
    }
    restructuring_ = false;
    if (contentsChanged && rowCount_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rowCount_ - 1, static_cast<int>(columns_.size()) - 1));

    // After rows came or went a view's current index may have moved by itself: the row is told again.
    if (current != currentRow_ || restructured) {
        const int previous = currentRow_;
        currentRow_ = current;
        // The cursor's row is shown from the cursor, the others from the table: both may look different now.
        for (int row : {previous, current}) {
            if (row >= 0 && row < rowCount_ && !columns_.empty())
                emit dataChanged(index(row, 0), index(row, static_cast<int>(columns_.size()) - 1));
        }
        emit currentRowChanged(current);
    }
}

// ---- TableSelectionLink ----

TableSelectionLink::TableSelectionLink(TableModel* model, QItemSelectionModel* selection, QObject* parent)
    : QObject(parent), model_(model), selection_(selection)
{
    connect(model, &TableModel::currentRowChanged, this, &TableSelectionLink::selectCurrent);
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onViewCurrentChanged(current); });
    selectCurrent();
}

void TableSelectionLink::selectCurrent()
{
    if (!model_ || !selection_ || updating_ || model_->restructuring())
        return;
    updating_ = true;
    const int row = model_->currentRow();
    if (row < 0 || model_->columnCount() == 0) {
        selection_->clear();
    } else {
        const QModelIndex was = selection_->currentIndex();
        const int column = was.isValid() ? std::min(was.column(), model_->columnCount() - 1) : 0;
        const QModelIndex target = model_->index(row, column);
        if (was != target || !selection_->isRowSelected(row))
            selection_->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    updating_ = false;
}

void TableSelectionLink::onViewCurrentChanged(const QModelIndex& current)
{
    if (!model_ || updating_ || model_->restructuring() || !current.isValid()
        || current.row() == model_->currentRow())
        return;
    updating_ = true;
    model_->moveTo(current.row());
    updating_ = false;
    // Where the cursor went (or stayed, when the table refused) is the row to show: now, and once more when the
    // view has finished its own handling of the click or key, which selects the row it meant.
    selectCurrent();
    QMetaObject::invokeMethod(this, &TableSelectionLink::selectCurrent, Qt::QueuedConnection);
}

}  // namespace db
