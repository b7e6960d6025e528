#include "db/DataSource.h"

namespace db {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() = default;

void DataSource::setDataSet(Table* table)
{
    if (table == dataSet_)
        return;
    if (dataSet_)
        disconnect(dataSet_, nullptr, this, nullptr);
    dataSet_ = table;
    if (table) {
        connect(table, &Table::dataChanged, this, &DataSource::onTableData);
        connect(table, &Table::afterScroll, this, &DataSource::onTableScroll);
        connect(table, &Table::stateChanged, this, &DataSource::onTableState);
        connect(table, &QObject::destroyed, this, &DataSource::onTableDestroyed);
    }
    if (enabled_)
        announceAll();
}

void DataSource::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    announceAll();
}

TDataSetState DataSource::State() const
{
    return enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
}

void DataSource::announceAll()
{
    emit stateChanged();
    emit dataChanged(nullptr);
}

// The table already holds dataChanged and stateChanged back while its controls are disabled; afterScroll it sends
// for its own handlers regardless, so the data source holds that one back itself.

void DataSource::onTableData(Field* field)
{
    if (enabled_)
        emit dataChanged(field);
}

void DataSource::onTableScroll()
{
    if (enabled_ && dataSet_ && !dataSet_->ControlsDisabled())
        emit scrolled();
}

void DataSource::onTableState()
{
    if (enabled_)
        emit stateChanged();
}

void DataSource::onTableDestroyed()
{
    dataSet_ = nullptr;
    if (enabled_)
        announceAll();
}

}  // namespace db
