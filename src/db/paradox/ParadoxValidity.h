#pragma once

#include "db/paradox/ParadoxFormat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace db::paradox {

// What a table's validity-check file (.VAL) says, as far as this engine uses it.
struct ValidityChecks {
    bool stale = false;                  // the file belongs to an earlier structure of the table
    QList<QByteArray> requiredFields;    // raw field names (code page of the table) marked required
    QStringList unenforced;              // checks this engine cannot keep (pictures, ranges, lookups, references)
};

// Reads the .VAL file at path for the table whose header is given. Raises EngineError for a damaged file.
ValidityChecks readValidityChecks(const QString& path, const TableHeader& table);

}  // namespace db::paradox
