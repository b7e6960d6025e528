#include "db/filter/Filter.h"

#include "db/filter/FilterProgram.h"

#include <QDate>
#include <QDateTime>
#include <QStringView>
#include <QTime>
#include <QVariant>

namespace db::filter {

using namespace detail;

namespace detail {

ValueKind valueKindOf(FieldType type)
{
    switch (type) {
    case FieldType::ftString:
    case FieldType::ftMemo:
    case FieldType::ftFmtMemo:
        return ValueKind::Text;
    case FieldType::ftSmallint:
    case FieldType::ftInteger:
    case FieldType::ftWord:
    case FieldType::ftAutoInc:
    case FieldType::ftFloat:
    case FieldType::ftCurrency:
    case FieldType::ftBCD:
        return ValueKind::Number;
    case FieldType::ftBoolean:
        return ValueKind::Logical;
    case FieldType::ftDate:
    case FieldType::ftTime:
    case FieldType::ftDateTime:
        return ValueKind::Moment;
    default:
        return ValueKind::Opaque;
    }
}

}  // namespace detail

namespace {

constexpr qint64 msecsPerDay = 86400000;

QStringView withoutTrailingBlanks(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.first(n);
}

// The text of a field without its trailing blanks; empty for a record without a value. Storage hands texts over
// as QString, which is looked at in place; any other kind is converted into scratch.
QStringView textOf(const QVariant& v, QString& scratch)
{
    if (v.typeId() == QMetaType::QString)
        return withoutTrailingBlanks(*static_cast<const QString*>(v.constData()));
    if (!v.isValid())
        return {};
    scratch = v.toString();
    return withoutTrailingBlanks(scratch);
}

bool numberOf(const QVariant& v, double& out)
{
    switch (v.typeId()) {
    case QMetaType::Int:
        out = *static_cast<const int*>(v.constData());
        return true;
    case QMetaType::Double:
        out = *static_cast<const double*>(v.constData());
        return true;
    case QMetaType::UnknownType:
        return false;
    default: {
        bool ok = false;
        out = v.toDouble(&ok);
        return ok;
    }
    }
}

bool logicalOf(const QVariant& v, bool& out)
{
    if (v.typeId() == QMetaType::Bool) {
        out = *static_cast<const bool*>(v.constData());
        return true;
    }
    if (!v.isValid())
        return false;
    out = v.toBool();
    return true;
}

bool momentOf(const QVariant& v, qint64& out)
{
    switch (v.typeId()) {
    case QMetaType::QDate: {
        const QDate& d = *static_cast<const QDate*>(v.constData());
        if (!d.isValid())
            return false;
        out = d.toJulianDay() * msecsPerDay;
        return true;
    }
    case QMetaType::QTime: {
        const QTime& t = *static_cast<const QTime*>(v.constData());
        if (!t.isValid())
            return false;
        out = t.msecsSinceStartOfDay();
        return true;
    }
    case QMetaType::QDateTime: {
        const QDateTime& dt = *static_cast<const QDateTime*>(v.constData());
        if (!dt.isValid())
            return false;
        out = dt.date().toJulianDay() * msecsPerDay + dt.time().msecsSinceStartOfDay();
        return true;
    }
    default:
        return false;
    }
}

template <typename T>
bool holds(Op op, const T& a, const T& b)
{
    switch (op) {
    case Op::Eq: return a == b;
    case Op::Ne: return a != b;
    case Op::Lt: return a < b;
    case Op::Gt: return a > b;
    case Op::Le: return a <= b;
    case Op::Ge: return a >= b;
    }
    return false;
}

bool holdsForText(Op op, QStringView field, const Value& value)
{
    if (value.prefix) {
        const bool starts = field.startsWith(value.text);
        return op == Op::Eq ? starts : !starts;
    }
    return holds(op, field.compare(value.text, Qt::CaseSensitive), 0);
}

const QVariant& fieldAt(const Record& record, int index)
{
    static const QVariant none;
    return static_cast<std::size_t>(index) < record.size() ? record[static_cast<std::size_t>(index)] : none;
}

bool isNull(const QVariant& v, ValueKind kind)
{
    if (!v.isValid())
        return true;
    QString scratch;
    double number;
    bool logical;
    qint64 moment;
    switch (kind) {
    case ValueKind::Text: return textOf(v, scratch).isEmpty();
    case ValueKind::Number: return !numberOf(v, number);
    case ValueKind::Logical: return !logicalOf(v, logical);
    case ValueKind::Moment: return !momentOf(v, moment);
    case ValueKind::Opaque: return v.isNull();
    }
    return false;
}

bool compareValue(const Node& node, const QVariant& v)
{
    switch (node.valueKind) {
    case ValueKind::Text: {
        QString scratch;
        const QStringView text = textOf(v, scratch);
        return !text.isEmpty() && holdsForText(node.op, text, node.value);
    }
    case ValueKind::Number: {
        double number;
        return numberOf(v, number) && holds(node.op, number, node.value.number);
    }
    case ValueKind::Logical: {
        bool logical;
        return logicalOf(v, logical) && holds(node.op, logical, node.value.logical);
    }
    case ValueKind::Moment: {
        qint64 moment;
        return momentOf(v, moment) && holds(node.op, moment, node.value.moment);
    }
    case ValueKind::Opaque:
        return false;
    }
    return false;
}

bool compareFields(const Node& node, const QVariant& a, const QVariant& b)
{
    switch (node.valueKind) {
    case ValueKind::Text: {
        QString scratchA, scratchB;
        const QStringView x = textOf(a, scratchA);
        const QStringView y = textOf(b, scratchB);
        return !x.isEmpty() && !y.isEmpty() && holds(node.op, x.compare(y, Qt::CaseSensitive), 0);
    }
    case ValueKind::Number: {
        double x, y;
        return numberOf(a, x) && numberOf(b, y) && holds(node.op, x, y);
    }
    case ValueKind::Logical: {
        bool x, y;
        return logicalOf(a, x) && logicalOf(b, y) && holds(node.op, x, y);
    }
    case ValueKind::Moment: {
        qint64 x, y;
        return momentOf(a, x) && momentOf(b, y) && holds(node.op, x, y);
    }
    case ValueKind::Opaque:
        return false;
    }
    return false;
}

bool isIn(const Node& node, const QVariant& v)
{
    switch (node.valueKind) {
    case ValueKind::Text: {
        QString scratch;
        const QStringView text = textOf(v, scratch);
        if (text.isEmpty())
            return false;
        for (const Value& item : node.list)
            if (text == item.text)
                return true;
        return false;
    }
    case ValueKind::Number: {
        double number;
        if (!numberOf(v, number))
            return false;
        for (const Value& item : node.list)
            if (number == item.number)
                return true;
        return false;
    }
    case ValueKind::Logical: {
        bool logical;
        if (!logicalOf(v, logical))
            return false;
        for (const Value& item : node.list)
            if (logical == item.logical)
                return true;
        return false;
    }
    case ValueKind::Moment: {
        qint64 moment;
        if (!momentOf(v, moment))
            return false;
        for (const Value& item : node.list)
            if (moment == item.moment)
                return true;
        return false;
    }
    case ValueKind::Opaque:
        return false;
    }
    return false;
}

bool evaluate(const Program& program, int index, const Record& record)
{
    const Node& node = program.nodes[static_cast<std::size_t>(index)];
    switch (node.kind) {
    case NodeKind::Always:
        return true;
    case NodeKind::And:
        return evaluate(program, node.left, record) && evaluate(program, node.right, record);
    case NodeKind::Or:
        return evaluate(program, node.left, record) || evaluate(program, node.right, record);
    case NodeKind::Not:
        return !evaluate(program, node.left, record);
    case NodeKind::CompareValue:
        return compareValue(node, fieldAt(record, node.field));
    case NodeKind::CompareFields:
        return compareFields(node, fieldAt(record, node.field), fieldAt(record, node.otherField));
    case NodeKind::IsNull:
        return isNull(fieldAt(record, node.field), node.valueKind) != node.negated;
    case NodeKind::In:
        // NOT IN is no plain inversion: a field without a value is in no list and outside none.
        if (isNull(fieldAt(record, node.field), node.valueKind))
            return false;
        return isIn(node, fieldAt(record, node.field)) != node.negated;
    }
    return false;
}

std::shared_ptr<const Program> alwaysTrue()
{
    static const std::shared_ptr<const Program> program = [] {
        auto p = std::make_shared<Program>();
        p->nodes.push_back(Node{});
        return p;
    }();
    return program;
}

}  // namespace

Expression::Expression() : program_(alwaysTrue()) {}

Expression::Expression(std::shared_ptr<const Program> program) : program_(std::move(program)) {}

bool Expression::matches(const Record& record) const
{
    return evaluate(*program_, program_->root, record);
}

bool Expression::isEmpty() const
{
    return program_->nodes[static_cast<std::size_t>(program_->root)].kind == NodeKind::Always;
}

const QString& Expression::text() const
{
    return program_->text;
}

const std::vector<int>& Expression::fieldsUsed() const
{
    return program_->fields;
}

}  // namespace db::filter
