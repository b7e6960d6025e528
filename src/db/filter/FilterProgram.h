#pragma once

// The compiled form of a filter: a flat list of nodes, children referred to by index. Every value a record is
// compared with is converted when the filter is compiled, so testing a record parses nothing and allocates
// nothing for the usual value kinds.

#include "db/FieldType.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace db::filter::detail {

// How a field's values are compared. Dates and times become one number (milliseconds on a day count) so that
// all three temporal types compare the same way.
enum class ValueKind : std::uint8_t { Text, Number, Logical, Moment, Opaque };

enum class NodeKind : std::uint8_t {
    Always,         // an empty filter
    And,
    Or,
    Not,
    CompareValue,   // field <op> value
    CompareFields,  // field <op> field
    IsNull,         // field IS NULL, or IS NOT NULL when negated
    In,             // field IN (values), or NOT IN when negated
};

enum class Op : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge };

struct Value {
    QString text;        // Text: without trailing blanks
    bool prefix = false; // Text: the value ended in "*" (removed from text) and is a beginning to look for
    double number = 0;
    bool logical = false;
    qint64 moment = 0;
};

struct Node {
    NodeKind kind = NodeKind::Always;
    ValueKind valueKind = ValueKind::Text;
    Op op = Op::Eq;
    bool negated = false;
    int field = -1;
    int otherField = -1;
    int left = -1;
    int right = -1;
    Value value;
    std::vector<Value> list;
};

struct Program {
    QString text;
    std::vector<Node> nodes;
    int root = 0;
    std::vector<int> fields;  // every field a node refers to, ascending, each once
};

ValueKind valueKindOf(FieldType type);

}  // namespace db::filter::detail
