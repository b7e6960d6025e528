#pragma once

#include "db/TableStorage.h"

namespace db::paradox {

// Opens a Paradox table (.DB and its companions, found without regard to case) and takes the inter-process lock.
// Raises EngineError: 0x2803 when another holder conflicts, a clear message for a damaged, encrypted or
// unsupported file.
TableStoragePtr open(const QString& path, OpenMode mode);

// Creates a new Paradox table (format 7, keyed on its first keyFieldCount fields when > 0) with the given fields;
// an existing table of that name is replaced.
void create(const QString& path, const FieldDefList& fields, int keyFieldCount);

// The most records a table that create() makes from these fields can hold, once it has grown to the largest
// blocks of its file level. Raises EngineError as create() does for fields it cannot make.
qint64 capacity(const FieldDefList& fields, int keyFieldCount);

}  // namespace db::paradox
