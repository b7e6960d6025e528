#pragma once

#include "db/Table.h"

#include <QObject>
#include <QPointer>

namespace db {

class Field;

// Links a table to the controls that show it. Controls listen to the data source, never to the table, so that a
// window can switch a whole group of controls to another table (DataSet) or blank them (Enabled off) in one place.
//
// Signals:
//   stateChanged()        the table opened, closed or changed between browse, edit and insert; also when the
//                         data source gets another table or is switched on or off.
//   dataChanged(field)    with a field: that field of the current record changed. Without (nullptr): anything
//                         may have changed, the records, their number and the cursor's position; a control shows
//                         everything afresh.
//   scrolled()            the cursor moved to another record.
// Nothing is sent while the data source is switched off or the table's controls are disabled
// (Table::DisableControls); EnableControls then sends one dataChanged(nullptr) (and stateChanged when the state
// differs), which is the one refresh the controls need.
class DataSource : public QObject {
    Q_OBJECT

public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    Table* DataSet() const { return dataSet_.data(); }
    void setDataSet(Table* table);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The table's state as the controls see it: dsInactive without a table, while switched off, or while the
    // table is closed.
    TDataSetState State() const;

signals:
    void stateChanged();
    void dataChanged(db::Field* field);
    void scrolled();

private:
    void onTableData(Field* field);
    void onTableScroll();
    void onTableState();
    void onTableDestroyed();
    void announceAll();

    QPointer<Table> dataSet_;
    bool enabled_ = true;
};

}  // namespace db
