#pragma once

#include "db/FieldType.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QPointer>
#include <vector>

namespace db {

class DataSource;
class EngineError;
class Field;
class Table;

// The records of a data source's table as an item model, so that a table view shows and edits them as a data grid
// does.
//
// Columns are the table's visible fields, headed by their DisplayLabel; header data under DisplayWidthRole gives a
// column's display width in characters, for the view to size the column with its own font. Rows are the records
// the table shows (its filter applies), plus the pending record of insert state where the grid shows it. Nothing
// is read ahead: the row count comes from RecordCount and a cell reads its record when the view asks for it,
// without moving the cursor; the cursor's own record is shown from the cursor, so that its pending changes show.
//
// The model follows the data source: rows appear and vanish with appends, posts, deletes and filters, and
// currentRowChanged reports the row of the cursor's record. Editing a cell puts the cursor on its row, starts
// editing there and writes the text into the field (Field::setAsString); the record is posted when the cursor
// leaves it, as in a data grid. An error the table raises while editing or moving is raised again from the event
// loop (the program's general error handling shows it), never through the view's code.
//
// Columns are taken again whenever the table opens or closes; after changing a field's Visible, DisplayLabel or
// DisplayWidth on an open table, call refresh().
class TableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int DisplayWidthRole = Qt::UserRole + 1;

    explicit TableModel(DataSource* source, QObject* parent = nullptr);

    DataSource* dataSource() const { return source_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The field shown in column, or nullptr.
    Field* fieldAt(int column) const;
    // Row of the cursor's record (in insert state the pending record's); -1 when there is none.
    int currentRow() const { return currentRow_; }
    // Puts the cursor on the record of row, posting a pending record first; false (and the error raised from the
    // event loop) when the table refused.
    bool moveTo(int row);
    // Takes columns, rows and the cursor's row afresh.
    void refresh();
    // True while rows are being inserted, removed or the model reset: a view's current index then moves by
    // itself, which is no choice of the person's.
    bool restructuring() const { return restructuring_; }

signals:
    void currentRowChanged(int row);

private:
    Table* table() const;
    void sync(bool contentsChanged);
    void onData(Field* field);
    int recordIndex(int row) const;
    void goTo(int row);
    void report(const EngineError& error);

    QPointer<DataSource> source_;
    std::vector<Field*> columns_;
    int rowCount_ = 0;
    int pendingRow_ = -1;
    int currentRow_ = -1;
    bool restructuring_ = false;
    // The record last read for a cell: a view asks for a row's cells one after another.
    mutable int cachedIndex_ = -1;
    mutable Record cachedRecord_;
};

// Keeps a view's current row and the table's cursor together, both ways: when the cursor moves, its row becomes
// the view's current, selected row (the view scrolls to it); when the person selects another row, the cursor
// moves there, posting a pending record first. When the table refuses (a post fails), the cursor's row is
// selected again. Pass the view's selectionModel() after setting the model on the view.
class TableSelectionLink : public QObject {
    Q_OBJECT

public:
    TableSelectionLink(TableModel* model, QItemSelectionModel* selection, QObject* parent = nullptr);

private:
    void selectCurrent();
    void onViewCurrentChanged(const QModelIndex& current);

    QPointer<TableModel> model_;
    QPointer<QItemSelectionModel> selection_;
    bool updating_ = false;
};

}  // namespace db
