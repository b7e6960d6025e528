#include "engine/Formulas.h"

#include "db/Field.h"
#include "db/Table.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace engine {

namespace {

// Only tells formulas apart in the keys of kept values: no program state, so it needs no place in the context;
// atomic so that no thread ever hands out a number twice.
std::atomic<std::uint64_t> nextFormulaId{1};

void noFormula()
{
    platform::ErrorBox(texts::Text(65052));
}

void fieldMissing(const QString& name)
{
    platform::ErrorBox(texts::Format(texts::Text(65053), {name}));
}

bool isNumericType(db::FieldType type)
{
    switch (type) {
    case db::FieldType::ftSmallint:
    case db::FieldType::ftInteger:
    case db::FieldType::ftWord:
    case db::FieldType::ftFloat:
    case db::FieldType::ftCurrency:
    case db::FieldType::ftAutoInc:
        return true;
    default:
        return false;
    }
}

// A field named in a formula: "#" and the name, which may stand in braces ("#{Name mit Blank}") and then holds
// blanks. The name ends before a character of endsBefore, which the caller reads next, and at a blank outside braces,
// a closing brace (never part of a name, not even a stray one) or a character of endsAfter, which go with the name.
struct FieldNameScan {
    QString name;   // trimmed
    qsizetype end;  // where the caller goes on
};

FieldNameScan scanFieldName(const QString& s, qsizetype start, QStringView endsBefore, QStringView endsAfter)
{
    QString name;
    bool brace = false;
    qsizetype j = start;
    while (j < s.size()) {
        const QChar ch = s[j];
        if (ch == u'{') {
            brace = true;
            ++j;
            continue;
        }
        if (endsBefore.contains(ch))
            break;
        if ((ch == u' ' && !brace) || ch == u'}' || endsAfter.contains(ch)) {
            ++j;
            break;
        }
        name += ch;
        ++j;
    }
    return {rtl::Trim(name), j};
}

}  // namespace

QString FormelAlphBerechnen(db::Table& DataSet, const QString& Formel)
{
    QString result;
    const QString s = rtl::Trim(Formel);
    if (s.isEmpty()) {
        noFormula();
        return QString();
    }
    const qsizetype n = s.size();
    qsizetype i = 0;
    // Each pass takes one part; a last character alone (an opening mark or "#" with nothing after it) is not
    // looked at.
    do {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype close = s.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            result += s.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
        } else if (c == u'#') {
            // A quotation mark right after a name starts the next literal, so that #Name"text" reads as the field
            // followed by the text; a "+" between the parts is dropped with the name.
            const FieldNameScan scan = scanFieldName(s, i + 1, u"\"", u"+");
            i = scan.end;
            const QString& name = scan.name;
            db::Field* field = DataSet.FindField(name);
            if (!field) {
                fieldMissing(name);
                return QString();
            }
            result += field->AsString();
        } else {
            ++i;
        }
    } while (i < n - 1);
    return result;
}

NumericFormula::NumericFormula(db::Table& DataSet, const QString& Formel)
    : table_(&DataSet), formula_(Formel), id_(nextFormulaId++)
{
    const QString s = rtl::Trim(Formel);
    empty_ = s.isEmpty();
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'#') {
            // Operators, brackets and the comma between function arguments end a name even inside braces and
            // stay in the expression.
            const FieldNameScan scan = scanFieldName(s, i + 1, u"+-*/^(),", u"");
            i = scan.end;
            Part reference;
            reference.name = scan.name;
            reference.field = DataSet.FindField(reference.name);
            reference.isReference = true;
            parts_.push_back(std::move(reference));
        } else if (c == u' ') {
            ++i;
        } else {
            if (parts_.empty() || parts_.back().isReference)
                parts_.emplace_back();
            parts_.back().literal += c;
            ++i;
        }
    }
}

QString NumericFormula::expression() const
{
    if (empty_) {
        noFormula();
        return QString();
    }
    QString result;
    result.reserve(formula_.size() + 24 * static_cast<qsizetype>(parts_.size()));
    for (const Part& part : parts_) {
        if (!part.isReference) {
            result += part.literal;
            continue;
        }
        if (!part.field) {
            fieldMissing(part.name);
            return QString();
        }
        const db::Field& field = *part.field;
        if (isNumericType(field.DataType())) {
            result += field.AsString();
        } else {
            const rtl::FormatSettings& fs = rtl::formatSettings();
            QString text = field.AsString();
            text.remove(fs.ThousandSeparator);
            double value = 0;
            if (!rtl::TryStrToFloat(text, value)) {
                platform::ErrorBox(texts::Format(texts::Text(65054), {part.name, rtl::Trim(field.AsString()),
                                                                      QString(fs.DecimalSeparator),
                                                                      QString(fs.ThousandSeparator)}));
                // The caller gets what was built so far; the parser decides whether that still means anything.
                return result;
            }
            result += rtl::FloatToStr(value);
        }
    }
    result.replace(u',', u'.');
    return result;
}

bool NumericFormula::appendValueKey(std::string& key) const
{
    if (empty_)
        return false;
    key.append(reinterpret_cast<const char*>(&id_), sizeof id_);
    for (const Part& part : parts_) {
        if (!part.isReference)
            continue;
        if (!part.field || !isNumericType(part.field->DataType()))
            return false;
        const QVariant value = part.field->AsVariant();
        if (!value.isValid())
            return false;
        // The text of a number field is its value written out, as a whole number or as a double at 15 digits.
        const db::FieldType type = part.field->DataType();
        const bool whole = type != db::FieldType::ftFloat && type != db::FieldType::ftCurrency;
        const std::int64_t bits = whole ? value.toLongLong() : std::bit_cast<std::int64_t>(value.toDouble());
        key.push_back(whole ? 'i' : 'f');
        key.append(reinterpret_cast<const char*>(&bits), sizeof bits);
    }
    return true;
}

QString FormelNumAufbereiten(db::Table& DataSet, const QString& Formel)
{
    return NumericFormula(DataSet, Formel).expression();
}

}  // namespace engine
