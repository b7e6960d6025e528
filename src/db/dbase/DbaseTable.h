#pragma once

#include "db/TableStorage.h"

#include <optional>

namespace db::dbase {

// Choices a caller can make when opening a table.
struct OpenOptions {
    // Code page of the text (1252, 850, 437, 1251, ...) in place of the one the header names; for tables whose
    // header names none or the wrong one. Without it: the header's language driver, and 850 (the OEM code page)
    // when the header names none.
    std::optional<int> codePage;
};

// Opens a dBase table (.DBF and its memo file, found without regard to case) and takes the inter-process lock.
TableStoragePtr open(const QString& path, OpenMode mode);
TableStoragePtr open(const QString& path, OpenMode mode, const OpenOptions& options);

// Creates a new dBase IV table (with a .DBT memo file when a memo field exists, language driver Windows-1252);
// an existing table of that name is replaced.
void create(const QString& path, const FieldDefList& fields);

}  // namespace db::dbase
