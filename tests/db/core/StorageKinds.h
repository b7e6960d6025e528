#pragma once

#include "db/Table.h"

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace testdb {

// One kind of storage the cursor tests run over. Every test that is about the cursor and not about one file format
// runs once per kind, so that the formats are held to the same behaviour as the contract's test double.
struct StorageKind {
    std::string name;
    QString extension;  // of the main file, with the dot
    bool keyed = true;             // can have a primary key
    bool keepsRequired = true;     // keeps the "required" flag of a field
    bool insertsAtCursor = true;   // a keyless table stores an inserted record before the current one
    // Points the table at this kind of storage (table type or format); the table name is set by the caller.
    std::function<void(db::Table&)> configure;
};

std::vector<StorageKind> storageKinds();

void PrintTo(const StorageKind& kind, std::ostream* os);

// gtest parameter name.
std::string kindName(const testing::TestParamInfo<StorageKind>& info);

}  // namespace testdb
