#pragma once

#include "db/FieldType.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace db::access {

// Object kinds of an Access catalog, as the database's object table stores them (forms, reports and the other
// objects of the Access user interface have negative numbers).
namespace ObjectType {
constexpr int Table = 1;
constexpr int OdbcLinkedTable = 4;
constexpr int Query = 5;
constexpr int LinkedTable = 6;
}  // namespace ObjectType

// One entry of the database's catalog, in the order the catalog holds them.
struct CatalogObject {
    QString name;
    int type = 0;
    quint32 flags = 0;
};

// Column type codes of Access tables.
namespace AccessType {
constexpr int Boolean = 0x01;
constexpr int Byte = 0x02;
constexpr int Integer = 0x03;
constexpr int LongInteger = 0x04;
constexpr int Currency = 0x05;
constexpr int Single = 0x06;
constexpr int Double = 0x07;
constexpr int DateTime = 0x08;
constexpr int Binary = 0x09;
constexpr int Text = 0x0A;
constexpr int Ole = 0x0B;
constexpr int Memo = 0x0C;
constexpr int ReplicationId = 0x0F;
constexpr int Decimal = 0x10;
}  // namespace AccessType

// One column of an Access table.
struct AccessColumn {
    QString name;
    int type = 0;
    int length = 0;          // characters of a text column, bytes of a binary column
    bool autoNumber = false;
};

// The field of our table engine an Access column is read into. Raises EngineError NotSupported for a column
// type that has no counterpart.
FieldDef fieldFor(const AccessColumn& column);

// Every object of the database's catalog. Checks the file first (checkAccessHeader) and reads it in a separate
// process, so a damaged file raises a clear EngineError instead of taking the program down.
std::vector<CatalogObject> readAccessCatalog(const QString& path);

// Reads one table (found by name without regard to case; an exact match wins): onColumns once with the columns,
// then onRow for every record in the table's storage order, values as FieldType.h lists them. Raises EngineError:
// TableNotFound for an unknown name, CorruptFile when the table cannot be read in full.
void readAccessTable(const QString& path, const QString& tableName,
                     const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                     const std::function<void(Record&&)>& onRow);

// The date and time an Access date value (days since 30 Dec 1899, time of day as the fraction, which counts forward
// from the day also for days before 1899) stands for, to the millisecond; an invalid QDateTime for a value outside
// the years 100 to 9999.
QDateTime accessDateToDateTime(double value);

}  // namespace db::access
