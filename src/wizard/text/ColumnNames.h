#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The headers of the column grid become the field names of the staging and the source table. They are checked,
// all of them, before a byte of the file is read, so that a name the tables cannot take is mended on the naming
// sheet instead of failing (or being silently changed) after a long reading.
namespace wizard {

// A Paradox table holds at most this many fields.
constexpr int MaxSourceColumns = 255;
// A field name holds at most this many characters.
constexpr int MaxColumnNameLength = 25;

struct ColumnNameProblem {
    int column = 0;   // from 0: the column the person should mend
    QString message;  // names the column (from 1) and what is wrong
};

// The first header that cannot become a field name of the source table: more columns than a table holds, an empty
// name, a leading blank, more than 25 characters, a character a Paradox field name must not hold (control
// characters, brackets, braces, parentheses, "->", a "#" alone), a character Windows-1252 (the tables' code page)
// lacks, or a name that equals an earlier one once stored (ignoring case).
std::optional<ColumnNameProblem> CheckColumnNames(const QStringList& headers);


}  // namespace wizard
