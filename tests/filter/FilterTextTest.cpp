// Filter texts the dialog did not write itself come back as pieces that give the same filter again.
#include "filter/FilterText.h"

#include <gtest/gtest.h>

namespace {

using namespace filter;

TEST(ReadFilterText, ForeignTextsComeBackAsPiecesThatJoinToTheSameFilter)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<int> conditions;  // -1 for a raw piece
        const char* joined;           // the pieces with their links, the first without
    };
    const Case cases[] = {
        {"a comparison without brackets", "[Nr] > 5000", {-1}, "[Nr] > 5000"},
        {"two bare comparisons", "Nr > 1 AND Name = 'a'", {-1, -1}, "Nr > 1 AND Name = 'a'"},
        {"a link inside quotes", "Name = 'x AND y' OR  Nr = 2", {-1, -1}, "Name = 'x AND y' OR  Nr = 2"},
        {"a bare value in brackets reads as a comparison", "(Nr > 5)", {cdGreater}, "(Nr > '5')"},
        {"an unknown form after a row",
         "(Nr = '1') AND NOT (Nr = '2')",
         {cdEqual, -1},
         "(Nr = '1') AND NOT (Nr = '2')"},
        {"IS NOT NULL", "(Nr IS NOT NULL)", {cdNotEmpty}, "(Nr NOT IS NULL)"},
        {"blanks and control characters around", " \t(Nr = '1')\r\n", {cdEqual}, "(Nr = '1')"},
        {"an unclosed quote", "(Name = 'abc)", {-1}, "(Name = 'abc)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<ReadRow> rows = ReadFilterText(QString::fromUtf8(c.text));
        std::vector<int> conditions;
        QString joined;
        for (const ReadRow& r : rows) {
            conditions.push_back(r.condition);
            const QString piece = r.condition < 0 ? r.raw : ConditionText(r.fieldName, r.condition, r.value);
            joined += (joined.isEmpty() ? QString() : LinkText(r.isAnd)) + piece;
        }
        EXPECT_EQ(conditions, c.conditions);
        EXPECT_EQ(joined, QString::fromUtf8(c.joined));
    }
}

}  // namespace
