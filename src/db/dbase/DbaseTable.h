#pragma once

#include "db/TableStorage.h"

namespace db::dbase {

// Opens a dBase table (.DBF and its memo file, found without regard to case) and takes the inter-process lock.
TableStoragePtr open(const QString& path, OpenMode mode);

// Creates a new dBase IV table (with a .DBT memo file when a memo field exists, language driver Windows-1252);
// an existing table of that name is replaced.
void create(const QString& path, const FieldDefList& fields);

}  // namespace db::dbase
