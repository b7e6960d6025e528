#include "db/Field.h"

#include "db/EngineError.h"
#include "db/Table.h"
#include "rtl/Conversions.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace db {

namespace {

using Kind = Field::Kind;

Kind kindOf(FieldType type)
{
    switch (type) {
    case FieldType::ftString:
    case FieldType::ftMemo:
    case FieldType::ftFmtMemo:
        return Kind::Text;
    case FieldType::ftSmallint:
    case FieldType::ftInteger:
    case FieldType::ftWord:
    case FieldType::ftAutoInc:
        return Kind::Integer;
    case FieldType::ftFloat:
    case FieldType::ftCurrency:
    case FieldType::ftBCD:
        return Kind::Float;
    case FieldType::ftBoolean:
        return Kind::Logical;
    case FieldType::ftDate:
        return Kind::Date;
    case FieldType::ftTime:
        return Kind::Time;
    case FieldType::ftDateTime:
        return Kind::DateTime;
    case FieldType::ftBytes:
    case FieldType::ftVarBytes:
    case FieldType::ftBlob:
    case FieldType::ftGraphic:
    case FieldType::ftParadoxOle:
    case FieldType::ftDBaseOle:
    case FieldType::ftTypedBinary:
        return Kind::Binary;
    case FieldType::ftUnknown:
    case FieldType::ftCursor:
        break;
    }
    return Kind::Unsupported;
}

// The fixed-size text field is the only one whose values are cut; a memo's size is merely its in-record part.
bool cutsText(const FieldDef& def)
{
    return def.type == FieldType::ftString && def.size > 0;
}

[[noreturn]] void refuse(const QString& message)
{
    throw EngineError(ErrorCode::InvalidValue, message);
}

[[noreturn]] void accessError(const FieldDef& def, const QString& asWhat)
{
    refuse(QStringLiteral("Das Feld '%1' kann nicht als %2 verwendet werden.").arg(def.name, asWhat));
}

void checkSupported(const FieldDef& def)
{
    if (kindOf(def.type) == Kind::Unsupported)
        refuse(QStringLiteral("Das Feld '%1' hat einen Typ, den das Programm nicht bearbeiten kann.").arg(def.name));
}

std::pair<std::int64_t, std::int64_t> rangeOf(FieldType type)
{
    switch (type) {
    case FieldType::ftSmallint:
        return {-32768, 32767};
    case FieldType::ftWord:
        return {0, 65535};
    default:
        return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}

[[noreturn]] void rangeError(const FieldDef& def, const QString& value)
{
    const auto [lo, hi] = rangeOf(def.type);
    refuse(QStringLiteral("%1 ist kein gültiger Wert für das Feld '%2'. Der erlaubte Bereich ist %3 bis %4.")
               .arg(value, def.name, QString::number(lo), QString::number(hi)));
}

QVariant checkedInteger(const FieldDef& def, std::int64_t value)
{
    const auto [lo, hi] = rangeOf(def.type);
    if (value < lo || value > hi)
        rangeError(def, QString::number(value));
    return QVariant(static_cast<int>(value));
}

// Day 0 of the original platform's date-time numbers; a date-time is days since then plus the time as a fraction.
const QDate kDayZero(1899, 12, 30);

// Date-times are plain calendar dates and clock times, so they are kept in UTC: a local one would ask the time
// zone for every value (a file look-up per call) and move the clock times that a change to summer time skips.
QDateTime plainDateTime(const QDate& date, const QTime& time)
{
    return QDateTime(date, time, Qt::UTC);
}

double toDateTimeNumber(const QDate& date, const QTime& time)
{
    const double days = static_cast<double>(kDayZero.daysTo(date));
    const double fraction = time.msecsSinceStartOfDay() / 86400000.0;
    return days < 0 ? days - fraction : days + fraction;
}

double toDateTimeNumber(const QDateTime& dt)
{
    return toDateTimeNumber(dt.date(), dt.time());
}

QDateTime fromDateTimeNumber(double value)
{
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    const int msecs = static_cast<int>(std::llround(fraction * 86400000.0));
    return plainDateTime(kDayZero.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(msecs);
}

QVariant dateTimeForKind(Kind kind, const QDateTime& dt)
{
    switch (kind) {
    case Kind::Date:
        return QVariant(dt.date());
    case Kind::Time:
        return QVariant(dt.time());
    default:
        return QVariant(dt);
    }
}

bool isDateKind(Kind kind)
{
    return kind == Kind::Date || kind == Kind::Time || kind == Kind::DateTime;
}

QVariant fromText(const FieldDef& def, const QString& text)
{
    checkSupported(def);
    const Kind kind = kindOf(def.type);
    if (text.isEmpty())
        return QVariant();
    switch (kind) {
    case Kind::Text:
        // Most texts fit: they are taken as they are, without a cut copy.
        if (cutsText(def) && text.size() > def.size)
            return QVariant(text.left(def.size));
        return QVariant(text);
    case Kind::Integer: {
        std::int32_t value = 0;
        if (!rtl::TryStrToInt(text, value)) {
            // A number too large for 32 bits is a range error, anything else not a number at all.
            double asFloat = 0;
            const auto [lo, hi] = rangeOf(def.type);
            if (rtl::TryStrToFloat(text, asFloat) && asFloat == std::trunc(asFloat)
                && (asFloat < static_cast<double>(lo) || asFloat > static_cast<double>(hi)))
                rangeError(def, text);
            refuse(QStringLiteral("'%1' ist kein gültiger ganzzahliger Wert für das Feld '%2'.").arg(text, def.name));
        }
        return checkedInteger(def, value);
    }
    case Kind::Float: {
        double value = 0;
        if (!rtl::TryStrToFloat(text, value) || !std::isfinite(value))
            refuse(QStringLiteral("'%1' ist kein gültiger Gleitkommawert für das Feld '%2'.").arg(text, def.name));
        return QVariant(value);
    }
    case Kind::Logical: {
        // Any leading part of the two words, in any case, as the original's logical field takes it.
        if (QStringLiteral("True").startsWith(text, Qt::CaseInsensitive))
            return QVariant(true);
        if (QStringLiteral("False").startsWith(text, Qt::CaseInsensitive))
            return QVariant(false);
        refuse(QStringLiteral("'%1' ist kein gültiger logischer Wert für das Feld '%2'.").arg(text, def.name));
    }
    case Kind::Date: {
        QDate value;
        if (!rtl::TryStrToDate(text, value))
            refuse(QStringLiteral("'%1' ist kein gültiges Datum für das Feld '%2'.").arg(text, def.name));
        return QVariant(value);
    }
    case Kind::Time: {
        QTime value;
        if (!rtl::TryStrToTime(text, value))
            refuse(QStringLiteral("'%1' ist keine gültige Uhrzeit für das Feld '%2'.").arg(text, def.name));
        return QVariant(value);
    }
    case Kind::DateTime: {
        QDateTime value;
        if (!rtl::TryStrToDateTime(text, value))
            refuse(QStringLiteral("'%1' ist keine gültige Angabe von Datum und Uhrzeit für das Feld '%2'.")
                       .arg(text, def.name));
        return QVariant(value);
    }
    case Kind::Binary: {
        QByteArray bytes = text.toLatin1();
        if ((def.type == FieldType::ftBytes || def.type == FieldType::ftVarBytes) && def.size > 0)
            bytes.truncate(def.size);
        return QVariant(bytes);
    }
    case Kind::Unsupported:
        break;
    }
    accessError(def, QStringLiteral("Text"));
}

QVariant fromInteger(const FieldDef& def, std::int64_t value)
{
    checkSupported(def);
    switch (kindOf(def.type)) {
    case Kind::Text:
        return fromText(def, rtl::IntToStr(value));
    case Kind::Integer:
        return checkedInteger(def, value);
    case Kind::Float:
        return QVariant(static_cast<double>(value));
    default:
        accessError(def, QStringLiteral("Integer"));
    }
}

QVariant fromFloat(const FieldDef& def, double value)
{
    checkSupported(def);
    const Kind kind = kindOf(def.type);
    if (!std::isfinite(value))
        refuse(QStringLiteral("Der Wert für das Feld '%1' ist keine gültige Zahl.").arg(def.name));
    switch (kind) {
    case Kind::Text:
        return fromText(def, rtl::FloatToStr(value));
    case Kind::Integer: {
        // Half to even, like the original's rounding of floats into integers.
        const double rounded = std::nearbyint(value);
        const auto [lo, hi] = rangeOf(def.type);
        if (rounded < static_cast<double>(lo) || rounded > static_cast<double>(hi))
            rangeError(def, rtl::FloatToStr(value));
        return QVariant(static_cast<int>(rounded));
    }
    case Kind::Float:
        return QVariant(value);
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime:
        return dateTimeForKind(kind, fromDateTimeNumber(value));
    default:
        accessError(def, QStringLiteral("Gleitkommazahl"));
    }
}

QVariant fromBool(const FieldDef& def, bool value)
{
    checkSupported(def);
    switch (kindOf(def.type)) {
    case Kind::Text:
        return fromText(def, value ? QStringLiteral("T") : QStringLiteral("F"));
    case Kind::Logical:
        return QVariant(value);
    default:
        accessError(def, QStringLiteral("logischer Wert"));
    }
}

QVariant fromDateTime(const FieldDef& def, const QDateTime& value)
{
    checkSupported(def);
    const Kind kind = kindOf(def.type);
    if (!isDateKind(kind))
        accessError(def, QStringLiteral("Datum/Zeit"));
    if (!value.isValid())
        return QVariant();
    return dateTimeForKind(kind, value);
}

// Whether a variant holds no value. QVariant::isNull asks the meta-type system; a variant holding one of the plain
// value types a field stores is never null (only one holding a null pointer is), which a field write per value
// need not ask.
bool holdsNothing(int type, const QVariant& value)
{
    switch (type) {
    case QMetaType::UnknownType:
        return true;
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime:
    case QMetaType::QByteArray:
        return false;
    default:
        return value.isNull();
    }
}

QVariant fromVariant(const FieldDef& def, const QVariant& value)
{
    checkSupported(def);
    const int valueType = value.typeId();
    if (holdsNothing(valueType, value))
        return QVariant();
    const Kind kind = kindOf(def.type);
    switch (valueType) {
    case QMetaType::QString:
        return fromText(def, *static_cast<const QString*>(value.constData()));
    case QMetaType::Bool:
        if (kind == Kind::Text)
            return fromText(def, value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        if (kind == Kind::Integer || kind == Kind::Float)
            return fromInteger(def, value.toBool() ? 1 : 0);
        return fromBool(def, value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        if (kind == Kind::Logical)
            return QVariant(value.toLongLong() != 0);
        if (isDateKind(kind))
            return fromFloat(def, value.toDouble());
        return fromInteger(def, value.toLongLong());
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        if (kind == Kind::Logical)
            return QVariant(value.toDouble() != 0);
        if (valueType == QMetaType::Double)
            return fromFloat(def, *static_cast<const double*>(value.constData()));
        return fromFloat(def, value.toDouble());
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: {
        const int type = value.typeId();
        if (kind == Kind::Text) {
            if (type == QMetaType::QDate)
                return fromText(def, rtl::DateToStr(value.toDate()));
            if (type == QMetaType::QTime)
                return fromText(def, rtl::TimeToStr(value.toTime()));
            return fromText(def, rtl::DateTimeToStr(value.toDateTime()));
        }
        // A date into a date field and a time into a time field go as they are, the usual case of every record.
        if (type == QMetaType::QDate && kind == Kind::Date) {
            const QDate date = value.toDate();
            return date.isValid() ? QVariant(date) : QVariant();
        }
        if (type == QMetaType::QTime && kind == Kind::Time) {
            const QTime time = value.toTime();
            return time.isValid() ? QVariant(time) : QVariant();
        }
        QDateTime dt;
        if (type == QMetaType::QDate)
            dt = plainDateTime(value.toDate(), QTime(0, 0));
        else if (type == QMetaType::QTime)
            dt = plainDateTime(kDayZero, value.toTime());
        else
            dt = value.toDateTime();
        if (kind == Kind::Float)
            return QVariant(toDateTimeNumber(dt));
        return fromDateTime(def, dt);
    }
    case QMetaType::QByteArray:
        if (kind == Kind::Binary) {
            QByteArray bytes = value.toByteArray();
            if ((def.type == FieldType::ftBytes || def.type == FieldType::ftVarBytes) && def.size > 0)
                bytes.truncate(def.size);
            return bytes.isEmpty() ? QVariant() : QVariant(bytes);
        }
        return fromText(def, QString::fromLatin1(value.toByteArray()));
    default:
        return fromText(def, value.toString());
    }
}

[[noreturn]] void conversionFailed(const FieldDef& def, const QString& text, const QString& asWhat)
{
    refuse(QStringLiteral("Der Inhalt '%1' des Feldes '%2' ist kein gültiger %3.").arg(text, def.name, asWhat));
}

}  // namespace

Field::Field(Table* table, int index, const FieldDef& def, bool indexField) : table_(table)
{
    rebind(index, def, indexField);
}

void Field::rebind(int index, const FieldDef& def, bool indexField)
{
    index_ = index;
    def_ = def;
    indexField_ = indexField;
    kind_ = kindOf(def.type);
    textLimit_ = kind_ != Kind::Text ? 0 : cutsText(def) ? def.size : std::numeric_limits<qsizetype>::max();
    const auto [lo, hi] = rangeOf(def.type);
    intMin_ = lo;
    intSpan_ = static_cast<std::uint64_t>(hi - lo);
}

int Field::DataSize() const
{
    switch (def_.type) {
    case FieldType::ftString:
        return def_.size + 1;
    case FieldType::ftSmallint:
    case FieldType::ftWord:
    case FieldType::ftBoolean:
        return 2;
    case FieldType::ftInteger:
    case FieldType::ftAutoInc:
    case FieldType::ftDate:
    case FieldType::ftTime:
        return 4;
    case FieldType::ftFloat:
    case FieldType::ftCurrency:
    case FieldType::ftDateTime:
        return 8;
    case FieldType::ftBCD:
        return 34;
    case FieldType::ftBytes:
        return def_.size;
    case FieldType::ftVarBytes:
        return def_.size + 2;
    default:
        return 0;
    }
}

int Field::DisplayWidth() const
{
    if (displayWidth_ > 0)
        return displayWidth_;
    switch (kind_) {
    case Kind::Text:
        return def_.type == FieldType::ftString ? def_.size : 10;
    case Kind::Logical:
        return 5;
    default:
        return 10;
    }
}

void Field::applyDisplay(const FieldDisplay& display)
{
    displayLabel_ = display.label;
    displayWidth_ = display.width;
    visible_ = display.visible;
    alignmentSet_ = display.alignment.has_value();
    alignment_ = display.alignment.value_or(Qt::Alignment());
    shownText_ = display.shownText;
}

QString Field::shownTextOf(const Record& record) const
{
    if (shownText_)
        return shownText_(record);
    const auto column = static_cast<std::size_t>(index_);
    return column < record.size() ? textOf(record[column]) : QString();
}

Qt::Alignment Field::Alignment() const
{
    if (alignmentSet_)
        return alignment_;
    return (kind_ == Kind::Integer || kind_ == Kind::Float) ? Qt::AlignRight : Qt::AlignLeft;
}

void Field::store(QVariant&& value)
{
    table_->setFieldValue(index_, std::move(value));
}

bool Field::takesTextBytesOf(const Field& source, TextByteMap& map) const
{
    return table_->takesTextBytes(index_, *source.table_, source.index_, map);
}

bool Field::setTextBytes(QByteArrayView bytes, const TextByteMap& map)
{
    // One byte a character: the text is cut where its bytes are.
    return table_->putTextBytes(index_, bytes.size() > textLimit_ ? bytes.first(textLimit_) : bytes, map);
}

bool Field::IsNull() const
{
    return !raw().isValid();
}

void Field::Clear()
{
    store(QVariant());
}

QString Field::AsString() const
{
    return textOf(raw());
}

QString Field::textOf(const QVariant& v) const
{
    if (!v.isValid())
        return QString();
    switch (kind_) {
    case Kind::Text:
        return v.toString();
    case Kind::Integer:
        return rtl::IntToStr(v.toLongLong());
    case Kind::Float:
        return rtl::FloatToStr(v.toDouble());
    case Kind::Logical:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Date:
        return rtl::DateToStr(v.toDate());
    case Kind::Time:
        return rtl::TimeToStr(v.toTime());
    case Kind::DateTime:
        return rtl::DateTimeToStr(v.toDateTime());
    case Kind::Binary:
        return QString::fromLatin1(v.toByteArray());
    case Kind::Unsupported:
        break;
    }
    return QString();
}

// Every setter first takes the usual case, a value that goes into the field as it is, straight into the record
// (the inline ones in Table.h); the conversions decide everything else, errors included.

void Field::storeText(const QString& value)
{
    store(fromText(def_, value));
}

void Field::storeDateTime(const QDateTime& value)
{
    store(fromDateTime(def_, value));
}

void Field::storeVariant(const QVariant& value)
{
    store(fromVariant(def_, value));
}

int Field::AsInteger() const
{
    const QVariant& v = raw();
    switch (kind_) {
    case Kind::Text: {
        // A blank text is no number either, as StrToInt('') is none.
        std::int32_t result = 0;
        if (!rtl::TryStrToInt(v.toString(), result))
            conversionFailed(def_, v.toString(), QStringLiteral("ganzzahliger Wert"));
        return result;
    }
    case Kind::Integer:
        return v.isValid() ? v.toInt() : 0;
    case Kind::Float: {
        if (!v.isValid())
            return 0;
        const double rounded = std::nearbyint(v.toDouble());
        if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
            conversionFailed(def_, rtl::FloatToStr(v.toDouble()), QStringLiteral("ganzzahliger Wert"));
        return static_cast<int>(rounded);
    }
    default:
        accessError(def_, QStringLiteral("Integer"));
    }
}

void Field::storeInteger(int value)
{
    if (kind_ == Kind::Float) {
        table_->putFieldValue(index_, static_cast<double>(value));
        return;
    }
    store(fromInteger(def_, value));
}

double Field::AsFloat() const
{
    const QVariant& v = raw();
    switch (kind_) {
    case Kind::Text: {
        double result = 0;
        if (!rtl::TryStrToFloat(v.toString(), result))
            conversionFailed(def_, v.toString(), QStringLiteral("Gleitkommawert"));
        return result;
    }
    case Kind::Integer:
    case Kind::Float:
        // A float field holds a double: read straight, without the variant's conversion.
        if (v.typeId() == QMetaType::Double)
            return *static_cast<const double*>(v.constData());
        return v.isValid() ? v.toDouble() : 0.0;
    case Kind::Date:
        return v.isValid() ? toDateTimeNumber(v.toDate(), QTime(0, 0)) : 0.0;
    case Kind::Time:
        return v.isValid() ? toDateTimeNumber(kDayZero, v.toTime()) : 0.0;
    case Kind::DateTime:
        return v.isValid() ? toDateTimeNumber(v.toDateTime()) : 0.0;
    default:
        accessError(def_, QStringLiteral("Gleitkommazahl"));
    }
}

void Field::storeFloat(double value)
{
    if (kind_ == Kind::Integer && std::isfinite(value)) {
        // Half to even, as fromFloat rounds.
        const double rounded = std::nearbyint(value);
        const auto intMax = intMin_ + static_cast<std::int64_t>(intSpan_);
        if (rounded >= static_cast<double>(intMin_) && rounded <= static_cast<double>(intMax)) {
            table_->putFieldValue(index_, static_cast<int>(rounded));
            return;
        }
    }
    store(fromFloat(def_, value));
}

bool Field::AsBoolean() const
{
    const QVariant& v = raw();
    switch (kind_) {
    case Kind::Text: {
        // A text reads as true when it starts like "True" or "Yes" does.
        const QString s = v.toString();
        return !s.isEmpty() && QStringLiteral("TtYy").contains(s.front());
    }
    case Kind::Logical:
        return v.isValid() && v.toBool();
    default:
        accessError(def_, QStringLiteral("logischer Wert"));
    }
}

void Field::storeBoolean(bool value)
{
    store(fromBool(def_, value));
}

QDateTime Field::AsDateTime() const
{
    const QVariant& v = raw();
    switch (kind_) {
    case Kind::Date:
        return v.isValid() ? plainDateTime(v.toDate(), QTime(0, 0)) : QDateTime();
    case Kind::Time:
        return v.isValid() ? plainDateTime(kDayZero, v.toTime()) : QDateTime();
    case Kind::DateTime:
        return v.isValid() ? v.toDateTime() : QDateTime();
    default:
        accessError(def_, QStringLiteral("Datum/Zeit"));
    }
}

void Field::setAsDateTime(const QDateTime& value)
{
    if (value.isValid()) {
        switch (kind_) {
        case Kind::Date:
            table_->putFieldValue(index_, value.date());
            return;
        case Kind::Time:
            table_->putFieldValue(index_, value.time());
            return;
        case Kind::DateTime:
            table_->putFieldValue(index_, value);
            return;
        default:
            break;
        }
    }
    storeDateTime(value);
}

// The value of a T that value holds, or nullptr, told by Table::holdsOwn's one comparison (a type known under two
// descriptions, or a null variant, merely takes the longer way, the conversions).
template <typename T>
Q_ALWAYS_INLINE const T* Field::valueOf(const QVariant& value)
{
    if (!Table::holdsOwn<T>(value))
        return nullptr;
    return &value.data_ptr().get<T>();
}

namespace {

// QTime::isValid, without its call into the library: a time holds its milliseconds since midnight, or is null.
bool isValidTime(QTime time)
{
    return !time.isNull() && static_cast<unsigned>(time.msecsSinceStartOfDay()) < 86400000u;
}

}  // namespace

// A text owns memory: replacing one may free the old one, a call after which the field is still needed. Apart,
// the other kinds' writes in setAsVariant keep to the registers a call may use.
template <typename T>
Q_NEVER_INLINE void Field::putApart(const T& value)
{
    table_->putFieldValue(index_, value);
}

void Field::setAsVariant(const QVariant& value)
{
    switch (kind_) {
    case Kind::Text:
        if (const QString* text = valueOf<QString>(value); text && takesTextAsIs(*text)) {
            putApart(*text);
            return;
        }
        break;
    case Kind::Integer:
        if (const int* number = valueOf<int>(value); number && fitsInteger(*number)) {
            table_->putFieldValue(index_, *number);
            return;
        }
        break;
    case Kind::Float:
        if (const double* number = valueOf<double>(value); number && std::isfinite(*number)) {
            table_->putFieldValue(index_, *number);
            return;
        }
        break;
    case Kind::Logical:
        if (const bool* flag = valueOf<bool>(value)) {
            table_->putFieldValue(index_, *flag);
            return;
        }
        break;
    case Kind::Date:
        if (const QDate* date = valueOf<QDate>(value); date && date->isValid()) {
            table_->putFieldValue(index_, *date);
            return;
        }
        break;
    case Kind::Time:
        if (const QTime* time = valueOf<QTime>(value); time && isValidTime(*time)) {
            table_->putFieldValue(index_, *time);
            return;
        }
        break;
    case Kind::DateTime:
        // Whether it is valid is a call into the library: setAsDateTime asks, and takes either as this would.
        if (const QDateTime* dt = valueOf<QDateTime>(value)) {
            setAsDateTime(*dt);
            return;
        }
        break;
    default:
        break;
    }
    storeVariant(value);
}

QVariant Field::convert(const FieldDef& def, const QVariant& value)
{
    return fromVariant(def, value);
}

}  // namespace db
