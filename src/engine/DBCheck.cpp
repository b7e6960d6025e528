#include "engine/DBCheck.h"

#include "db/Field.h"
#include "db/Table.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <unordered_set>

namespace engine {

namespace {

// Holds the table's controls still for as long as it lives.
class ControlsDisabled {
public:
    explicit ControlsDisabled(db::Table& table) : table_(table) { table_.DisableControls(); }
    ~ControlsDisabled() { table_.EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    db::Table& table_;
};

// A key that is equal for equal field values and differs otherwise. The field's text form would not do: a float
// shows 15 significant digits, so two different values could look alike.
QString valueKey(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double: {
        double d = value.toDouble();
        if (d == 0)
            d = 0;  // -0 and 0 are the same value
        return QStringLiteral("d") + QString::number(d, 'g', 17);
    }
    case QMetaType::QDate:
        return QStringLiteral("D") + value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return QStringLiteral("T") + value.toTime().toString(Qt::ISODateWithMs);
    case QMetaType::QDateTime:
        return QStringLiteral("S") + value.toDateTime().toString(Qt::ISODateWithMs);
    case QMetaType::QByteArray:
        return QStringLiteral("B") + QString::fromLatin1(value.toByteArray().toHex());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("b1") : QStringLiteral("b0");
    case QMetaType::QString:
        return QStringLiteral("s") + value.toString();
    default:
        return QStringLiteral("i") + value.toString();
    }
}

struct QStringHash {
    std::size_t operator()(const QString& s) const noexcept { return qHash(s); }
};

}  // namespace

bool SchluesselfeldPruefen(db::Table& DataSet, const QString& FieldName)
{
    const ControlsDisabled held(DataSet);
    DataSet.Open();
    DataSet.First();
    const db::Field* field = DataSet.FieldByName(FieldName);
    std::unordered_set<QString, QStringHash> seen;
    while (!DataSet.Eof()) {
        if (field->IsNull() || field->AsString().isEmpty())
            return false;
        if (!seen.insert(valueKey(field->AsVariant())).second)
            return false;
        DataSet.Next();
    }
    return true;
}

}  // namespace engine
