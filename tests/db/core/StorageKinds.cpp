#include <gtest/gtest.h>

#include "StorageKinds.h"

#include "MemoryStorage.h"

namespace testdb {

std::vector<StorageKind> storageKinds()
{
    std::vector<StorageKind> kinds;
    kinds.push_back({"Memory", QStringLiteral(".MEM"), true, true, true,
                     [](db::Table& t) { t.setFormat(&memoryFormat()); }});
    // dBase keeps its records in the order they were written: a new record always goes to the end.
    kinds.push_back({"DBase", QStringLiteral(".DBF"), false, false, false,
                     [](db::Table& t) { t.setTableType(db::ttDBase); }});
    // keepsRequired false: paradox::create writes no validity file (.VAL) yet, so a new table loses the flag.
    kinds.push_back({"Paradox", QStringLiteral(".DB"), true, false, true,
                     [](db::Table& t) { t.setTableType(db::ttParadox); }});
    return kinds;
}

void PrintTo(const StorageKind& kind, std::ostream* os)
{
    *os << kind.name;
}

std::string kindName(const testing::TestParamInfo<StorageKind>& info)
{
    return info.param.name;
}

}  // namespace testdb
