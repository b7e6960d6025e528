#pragma once

#include "db/FieldType.h"

#include <QString>
#include <memory>
#include <vector>

// The filter language of the table cursor. A filter text is compiled once against the table's fields and then
// tested against every record; the cursor shows only the records it matches.
//
// Syntax (keywords in any case):
//   condition  := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | "(" condition ")" | predicate
//   predicate  := operand ( "=" | "<>" | "<" | ">" | "<=" | ">=" ) operand
//               | field IS [NOT] NULL | field NOT IS NULL
//               | field [NOT] IN "(" value { "," value } ")"
//   operand    := field | value
//   field      := bare name | "[" any name "]"
//   value      := 'text' | "text" (a doubled quote stands for one) | a bare number, date or time (12, -1.5,
//                 1,5, 31.12.2024, 12:30) | inside an IN list also a bare word
//
// Values are converted to the type of the field they meet: numbers with "." or the current decimal separator,
// dates and times under the current format settings, a logical field's value from "True"/"False" in any case.
// An empty text counts as no value.
//
// Rules of comparison:
//   - A field without a value (null, or a text field holding only blanks) fails every comparison, also "<>"
//     and IN; only IS NULL finds it. NOT simply inverts, so NOT (F = 'x') is true for such a record.
//     "F = ''" is taken as F IS NULL and "F <> ''" as F IS NOT NULL.
//   - Texts are compared case-sensitively, character by character (code units), with trailing blanks on
//     either side left out.
//   - A text value ending in "*" compared with "=" or "<>" tests the beginning of the field:
//     Name = 'Mü*' finds every name starting with "Mü".
//   - Two fields can be compared when both are texts, both numbers, both logical or both dates/times.
//   - Binary and blob fields other than memos can only be tested with IS NULL.
namespace db::filter {

namespace detail {
struct Program;
}

class Expression {
public:
    // An expression without conditions: every record matches.
    Expression();

    bool matches(const Record& record) const;

    // True when the text held no condition at all (an empty filter shows every record).
    bool isEmpty() const;
    // The text the expression was compiled from.
    const QString& text() const;
    // The fields the conditions look at (indexes into the compiled field list, ascending, each once): matches()
    // reads no other value of the record, so a caller may leave the others unread.
    const std::vector<int>& fieldsUsed() const;

private:
    friend Expression compile(const QString& text, const FieldDefList& fields);
    explicit Expression(std::shared_ptr<const detail::Program> program);

    std::shared_ptr<const detail::Program> program_;
};

// Parses the text and resolves its field names (without regard to case) against the fields. A text that is not
// a valid filter raises EngineError with code ErrorCode::FilterSyntax, an unknown field name one with
// ErrorCode::FieldNotFound; the German message quotes the offending part and its character position.
Expression compile(const QString& text, const FieldDefList& fields);

}  // namespace db::filter
