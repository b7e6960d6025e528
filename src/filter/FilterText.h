#pragma once

#include <QString>
#include <vector>

// The filter text of the data filter dialog's condition rows, and the reading of a filter text back into rows.
// What the rows produce is what the table engine's filter accepts (db/filter/Filter.h): field names it cannot read
// bare go in brackets, quotes inside a compared value are doubled.
namespace filter {

// The condition numbers of a row; stored in filter files, so they never change.
enum Condition {
    cdEqual = 0,
    cdNotEqual = 1,
    cdNotGreater = 2,
    cdNotLess = 3,
    cdLess = 4,
    cdGreater = 5,
    cdEmpty = 6,     // no value: IS NULL
    cdNotEmpty = 7,  // a value: NOT IS NULL
    cdInList = 8,
    cdBetween = 9,
};
inline constexpr int kConditionCount = 10;

// The operator text of a condition ("=", ..., "IS NULL", "NOT IS NULL", "IN", and "" for the range).
QString OperatorText(int condition);
// The condition of an operator text; 0 when it is none of them.
int IndexOfOperator(const QString& op);

// The text in front of every row but the first: " AND " or " OR  " (five characters both).
QString LinkText(bool isAnd);

// The field as the filter names it: bare, or in brackets when bare it would not read as that one field.
QString FieldReference(const QString& fieldName);

// One row's condition without its link: (F = 'V'), (F IS NULL), (F IN (V)), (F  >= V1) AND (F <= V2).
QString ConditionText(const QString& fieldName, int condition, const QString& value);

// A range value split at its first blank; without a blank the second value is missing.
struct RangeValues {
    QString first;
    QString second;
    bool hasSecond = false;
};
RangeValues SplitRange(const QString& value);

// One row read back from a filter text. A piece in a form no row writes keeps its text (raw) and has no field.
struct ReadRow {
    bool isAnd = true;
    QString fieldName;
    int condition = -1;  // -1: a raw piece
    QString value;
    QString raw;  // the piece as it stood, without its link
};

// The rows of a filter text, in order. Every row the dialog writes comes back as it was written; anything else
// comes back as raw pieces, split at the links " AND " and " OR  " that stand outside quotes and brackets, so that
// joining the rows again gives the same filter.
std::vector<ReadRow> ReadFilterText(const QString& text);

}  // namespace filter
