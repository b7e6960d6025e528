#pragma once

#include "db/FieldType.h"
#include "db/access/AccessFile.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace accesstest {

// The rows mdb-export prints for a table: values as CSV cells (text unquoted, binary as upper-case hex, dates and
// times as "yyyy-MM-dd HH:mm:ss"); the header line is left out.
std::vector<QStringList> exportWithMdbTools(const QString& database, const QString& table);

// Table names mdb-tables lists (user tables, in catalog order).
QStringList tablesWithMdbTools(const QString& database);

// Our value in the form mdb-export prints it for a column of that Access type.
QString asMdbExportText(const QVariant& value, int accessType);

// Whether our value is the one mdb-export printed. Two known faults of mdb-export are allowed for: it prints a
// date before 30 Dec 1899 as "1900-01-00 00:00:00", and prints a replication id as the hex code of its own
// text form (which lacks the fourth hyphen).
bool sameAsMdbExport(const QVariant& value, int accessType, const QString& printed);

// Every Access fixture database the tests read (the password-protected one is not among them).
QStringList readableFixtures();

}  // namespace accesstest
