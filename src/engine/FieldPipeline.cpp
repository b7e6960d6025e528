#include "engine/FieldPipeline.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/Formulas.h"
#include "parser/Parser.h"
#include "platform/StackTrace.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <QBuffer>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QTime>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <variant>

namespace engine {

namespace {

// One guarded step: a failure is counted and swallowed, the field keeps what it had (the engine's setters change
// nothing when they refuse a value).
template <class Step>
void guarded(const PipelineContext& ctx, Step&& step)
{
    try {
        const platform::ExpectedThrows expected;
        step();
    } catch (const std::exception&) {
        AnzFehlerErhoehen(ctx.AnzFehler);
    }
}

[[noreturn]] void fieldNotFound(const QString& name)
{
    throw db::EngineError(db::ErrorCode::FieldNotFound, QStringLiteral("Feld '%1' nicht gefunden.").arg(name));
}

// Laenge as the width routines take it; raises like the conversion does for anything that is no whole number in
// their range.
std::uint16_t widthOf(const QString& laenge)
{
    const std::int32_t width = rtl::StrToInt(laenge);
    if (width < 0 || width > std::numeric_limits<std::uint16_t>::max())
        throw std::range_error("Laenge out of range");
    return static_cast<std::uint16_t>(width);
}

// A field's value as a number the way the classic field classes read it: a text field converts its text, so a
// blank one is no number (the engine's AsFloat would answer 0 there).
double asFloat(const db::Field& field)
{
    switch (field.DataType()) {
    case db::FieldType::ftString:
    case db::FieldType::ftMemo:
    case db::FieldType::ftFmtMemo:
        return rtl::StrToFloat(field.AsString());
    default:
        return field.AsFloat();
    }
}

// Right alignment of a number field that is not blank: its text padded with blanks reads back as the number the
// text alone gives, which is written without the text where the value tells it. False, with nothing written, where
// the text has to decide.
bool numberRealigned(db::Field& target)
{
    if (target.IsNull())
        return false;
    switch (target.DataType()) {
    case db::FieldType::ftSmallint:
    case db::FieldType::ftInteger:
    case db::FieldType::ftWord:
    case db::FieldType::ftAutoInc:
        target.setAsInteger(target.AsInteger());
        return true;
    case db::FieldType::ftFloat:
    case db::FieldType::ftCurrency:
    case db::FieldType::ftBCD:
        if (const std::optional<double> read = NumberThroughText(target.AsFloat())) {
            target.setAsFloat(*read);
            return true;
        }
        return false;
    default:
        return false;
    }
}

// A whole number as stored: the kinds the engine keeps are read straight, without QVariant's conversion machinery.
qlonglong wholeOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
        return *static_cast<const int*>(value.constData());
    case QMetaType::LongLong:
        return *static_cast<const qlonglong*>(value.constData());
    default:
        return value.toLongLong();
    }
}

// ---- the comparisons of the defaults ----

// A value as the comparisons see it: a number or a text.
using Comparable = std::variant<double, QString>;

double dayNumber(const QDateTime& dt)
{
    static const QDate dayZero(1899, 12, 30);
    return static_cast<double>(dayZero.daysTo(dt.date())) + dt.time().msecsSinceStartOfDay() / 86400000.0;
}

// The source value in its own kind; nothing for a blank field, which stands in no relation to anything.
std::optional<Comparable> sourceComparable(const db::Field& field)
{
    const QVariant& value = field.AsVariant();
    if (!value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return Comparable(value.toDouble());
    case QMetaType::Bool:
        // A logical value counts as the classic variant's -1 and 0.
        return Comparable(value.toBool() ? -1.0 : 0.0);
    case QMetaType::QDate:
        return Comparable(dayNumber(QDateTime(value.toDate(), QTime(0, 0))));
    case QMetaType::QTime:
        return Comparable(value.toTime().msecsSinceStartOfDay() / 86400000.0);
    case QMetaType::QDateTime:
        return Comparable(dayNumber(value.toDateTime()));
    default:
        return Comparable(field.AsString());
    }
}

double asNumber(const Comparable& value)
{
    if (const double* number = std::get_if<double>(&value))
        return *number;
    // A text against a number is read as a number; a text that is none raises and ends the field.
    return rtl::StrToFloat(std::get<QString>(value));
}

// <0, 0 or >0 as a stands to b.
int compareValues(const Comparable& a, const Comparable& b)
{
    if (std::holds_alternative<QString>(a) && std::holds_alternative<QString>(b))
        return std::get<QString>(a).compare(std::get<QString>(b), Qt::CaseSensitive);
    const double x = asNumber(a);
    const double y = asNumber(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// The six comparisons of the source value with C; each one that holds writes the default once more.
template <class Write>
void sixComparisons(const PipelineContext& ctx, const BoundMappingRow& row, const Comparable& C, Write&& write)
{
    if (!row.BedGleich && !row.BedKleiner && !row.BedGroesser)
        return;
    const std::optional<Comparable> source = sourceComparable(row.sourceField());
    if (!source)
        return;
    const int rel = compareValues(*source, C);
    if (row.BedGleich && rel == 0)
        guarded(ctx, write);
    if (row.BedKleiner && rel < 0)
        guarded(ctx, write);
    if (row.BedGroesser && rel > 0)
        guarded(ctx, write);
    if (row.BedGleich && row.BedKleiner && rel <= 0)
        guarded(ctx, write);
    if (row.BedGleich && row.BedGroesser && rel >= 0)
        guarded(ctx, write);
    if (row.BedKleiner && row.BedGroesser && rel != 0)
        guarded(ctx, write);
}

// The source field's text, read at its first use and then kept: the steps of a field only write the target, so
// the source record cannot change while they run, and reading the text of a number costs a conversion each time.
//
// For a number field, what two steps want of that text follows from the value alone: the number the copy reads from
// it, and whether it is digits alone (right alignment). Both are then had without writing the text, which is the
// dearer part; where the value leaves anything open (a blank field, a value the text round trip refuses, separators
// that could stand in a written number), they come from the text as ever.
class SourceText {
public:
    explicit SourceText(const BoundMappingRow& row) : row_(row) {}

    const QString& get()
    {
        if (!text_)
            text_ = row_.sourceField().AsString();
        return *text_;
    }

    // The text with thousands separators dropped and read as a number, where the value gives it.
    std::optional<double> copiedNumber()
    {
        study();
        return number_;
    }

    // IsNumeric(get()).
    bool isDigits()
    {
        study();
        return digits_ ? *digits_ : IsNumeric(get());
    }

private:
    void study()
    {
        if (studied_)
            return;
        const db::Field& source = row_.sourceField();
        studied_ = true;
        switch (source.DataType()) {
        case db::FieldType::ftSmallint:
        case db::FieldType::ftInteger:
        case db::FieldType::ftWord:
        case db::FieldType::ftAutoInc: {
            // Written as its decimal digits, with a minus in front when negative.
            const QVariant& value = source.AsVariant();
            if (!value.isValid())
                return;
            const qlonglong whole = wholeOf(value);
            digits_ = whole >= 0;
            if (separatorsStayApart())
                number_ = static_cast<double>(whole);
            break;
        }
        case db::FieldType::ftFloat:
        case db::FieldType::ftCurrency:
        case db::FieldType::ftBCD: {
            // Written at 15 significant digits: digits alone exactly when those are a whole number below 10^15,
            // which is written without exponent.
            const QVariant& value = source.AsVariant();
            if (!value.isValid())
                return;
            const std::optional<double> read = NumberThroughText(value.toDouble());
            if (!read)
                return;
            digits_ = *read >= 0 && *read < 1e15 && *read == std::floor(*read);
            if (separatorsStayApart())
                number_ = *read;
            break;
        }
        case db::FieldType::ftDate:
            // Written in the short date format, which may rule out digits alone for every date; writing the text
            // would cost more than the rest of the field.
            if (source.AsVariant().isValid() && rtl::DateTextHasNonDigit())
                digits_ = false;
            break;
        default:
            break;
        }
    }

    // Whether dropping thousands separators leaves a written number as it was.
    static bool separatorsStayApart()
    {
        const rtl::FormatSettings& fs = rtl::formatSettings();
        const QChar thousands = fs.ThousandSeparator;
        return !thousands.isDigit() && thousands != u'-' && thousands != u'E' && thousands != fs.DecimalSeparator;
    }

    const BoundMappingRow& row_;
    std::optional<QString> text_;
    bool studied_ = false;
    std::optional<double> number_;
    std::optional<bool> digits_;
};

// No condition value, no memo target, and a source text longer than the target width.
bool overLengthRuleHolds(const BoundMappingRow& row, SourceText& sourceText)
{
    if (!row.Quellwert_alph.isEmpty() || row.Quellwert_num)
        return false;
    if (row.Typ == static_cast<int>(db::FieldType::ftMemo) || row.Typ == static_cast<int>(db::FieldType::ftFmtMemo))
        return false;
    return sourceText.get().size() > rtl::StrToInt(row.Laenge);
}

void copyPicture(const PipelineContext& ctx, const db::Field& source, db::Field& target)
{
    const QString name = source.AsString();
    QString path;
    if (!name.isEmpty()) {
        if (QFileInfo(name).isFile()) {
            path = name;
        } else {
            const QString beside = ctx.QuelldateiOrdner + name;
            if (QFileInfo(beside).isFile())
                path = beside;
        }
    }
    if (path.isEmpty()) {
        target.Clear();
        return;
    }
    const QByteArray bitmap = PictureFileAsBitmap(path);
    if (bitmap.isEmpty())
        throw std::runtime_error("the file holds no picture that can be read");
    target.setAsVariant(bitmap);
}

// Bounded, so that a source whose formulas never repeat costs no more memory than a few thousand entries.
constexpr std::size_t MaxKeptValues = 4096;

bool hasSideEffects(const std::string& expression)
{
    // The parser compares names in upper case; RND advances its generator on every evaluation.
    for (std::size_t i = 0; i + 2 < expression.size(); ++i) {
        if ((expression[i] | 0x20) == 'r' && (expression[i + 1] | 0x20) == 'n' && (expression[i + 2] | 0x20) == 'd')
            return true;
    }
    return false;
}

}  // namespace

double FormelWertSpeicher::Wert(const PipelineContext& ctx, const std::string& expression)
{
    FormelWertSpeicher* kept = ctx.formelWerte;
    // A parser that hands compile errors to a handler instead of raising would leave no sign of the failure.
    const bool keepable = kept && !ctx.Parser1.OnParserError && !hasSideEffects(expression);
    if (keepable) {
        if (const auto it = kept->values_.find(expression); it != kept->values_.end())
            return it->second;
    }
    ctx.Parser1.setExpression(expression);
    const double value = ctx.Parser1.Value();
    if (keepable) {
        if (kept->values_.size() >= MaxKeptValues)
            kept->values_.clear();
        kept->values_.emplace(expression, value);
    }
    return value;
}

double FormelWertSpeicher::Wert(const PipelineContext& ctx, const NumericFormula& formula)
{
    FormelWertSpeicher* kept = ctx.formelWerte;
    std::string* key = kept ? &kept->key_ : nullptr;
    if (key)
        key->clear();  // keeps its memory from the record before
    const bool byValues = kept && !ctx.Parser1.OnParserError && formula.appendValueKey(*key);
    if (byValues) {
        if (const auto it = kept->byFieldValues_.find(*key); it != kept->byFieldValues_.end())
            return it->second;
    }
    const std::string expression = formula.expression().toStdString();
    const double value = Wert(ctx, expression);
    // Kept under the values only where the text is kept: never a failure (Wert raised), never RND.
    if (byValues && !hasSideEffects(expression)) {
        if (kept->byFieldValues_.size() >= MaxKeptValues)
            kept->byFieldValues_.clear();
        kept->byFieldValues_.emplace(*key, value);
    }
    return value;
}

void AnzFehlerErhoehen(std::int32_t& AnzFehler)
{
    if (AnzFehler == std::numeric_limits<std::int32_t>::max())
        throw std::range_error("counter out of range");
    ++AnzFehler;
}

// ---- rows ----

db::Field& BoundMappingRow::sourceField() const
{
    if (!quelle)
        fieldNotFound(Zuordnung);
    return *quelle;
}

db::Field& BoundMappingRow::targetField() const
{
    if (!ziel)
        fieldNotFound(Feldname);
    return *ziel;
}

namespace {

// Whether every step of FeldUebertragen but the copy leaves the row's target alone, and the copy of a text into the
// target's text field stores the source's bytes. A key field keeps the general way, and so its look-ups and its
// place. So does a row that aligns: its values would have to be looked at as texts, and decoding the source is
// what passing bytes saves most.
bool copiesTextAsBytes(BoundMappingRow& row)
{
    if (!row.quelle || !row.ziel || row.ziel->IsIndexField() || row.Ausrichtung_li ||
        (row.Ausrichtung_re && IsNumeric(row.Laenge)))
        return false;
    if (!row.ziel->takesTextBytesOf(*row.quelle, row.byteMap))
        return false;
    if ((row.Div && *row.Div != 0) || (row.Mul && *row.Mul != 0))
        return false;
    if (!row.Vorgabewert_alph.isEmpty() || row.Vorgabewert_num || !row.Formel_alph.isEmpty() ||
        !row.Formel_num.isEmpty() || row.Runden)
        return false;
    if (row.StringAuswahlBeg && row.StringAuswahlEnd && *row.StringAuswahlBeg != 0 && *row.StringAuswahlEnd != 0)
        return false;
    if (row.Ueberl_abschneid_li && row.quelle->DataSize() > row.ziel->DataSize() && IsNumeric(row.Laenge))
        return false;
    return true;
}

}  // namespace

std::vector<BoundMappingRow> BindMappingRows(const std::vector<MappingRow>& rows, db::Table& tblQuelle,
                                             db::Table& tblZiel, bool textAsBytes)
{
    std::vector<BoundMappingRow> bound;
    bound.reserve(rows.size());
    for (const MappingRow& row : rows) {
        BoundMappingRow b{row, nullptr, nullptr, nullptr};
        if (b.isMapped())
            b.quelle = tblQuelle.FindField(b.Zuordnung);
        b.ziel = tblZiel.FindField(b.Feldname);
        if (!b.Formel_num.isEmpty())
            b.formelNum = std::make_shared<const NumericFormula>(tblQuelle, b.Formel_num);
        b.textAsBytes = textAsBytes && b.isMapped() && copiesTextAsBytes(b);
        bound.push_back(std::move(b));
    }
    // A source field another row reads as a value is decoded anyway: its text is copied the general way, which
    // then costs less.
    for (BoundMappingRow& row : bound) {
        if (!row.textAsBytes)
            continue;
        for (const BoundMappingRow& other : bound) {
            if (&other != &row && other.quelle == row.quelle)
                row.textAsBytes = false;
        }
    }
    return bound;
}

QByteArray PictureFileAsBitmap(const QString& path)
{
    QImage image;
    if (!image.load(path))
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return QByteArray();
    return bytes;
}

// ---- the pipeline ----

namespace {

// A text of digits alone, at most 15 of them (a key, a count, as a text file holds them), is its number exactly, as
// the general conversion reads it: no double lies nearer. Nothing for any other text.
std::optional<double> digitsAlone(const QString& text)
{
    const qsizetype n = text.size();
    if (n == 0 || n > 15)
        return std::nullopt;
    std::int64_t whole = 0;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        whole = whole * 10 + (ch.unicode() - u'0');
    }
    return static_cast<double>(whole);
}

void copyValue(const PipelineContext& ctx, const BoundMappingRow& row, SourceText& sourceText)
{
    db::Field& target = row.targetField();
    db::Field& source = row.sourceField();
    switch (target.DataType()) {
    case db::FieldType::ftInteger:
    case db::FieldType::ftWord:
    case db::FieldType::ftFloat:
    case db::FieldType::ftCurrency: {
        if (const std::optional<double> number = sourceText.copiedNumber()) {
            target.setAsFloat(*number);
            break;
        }
        QString text = sourceText.get();
        if (const std::optional<double> whole = digitsAlone(text)) {
            target.setAsFloat(*whole);
            break;
        }
        text.remove(rtl::formatSettings().ThousandSeparator);
        target.setAsFloat(rtl::StrToFloat(text));
        break;
    }
    case db::FieldType::ftGraphic:
        if (source.DataType() == db::FieldType::ftGraphic)
            target.setAsVariant(source.AsVariant());
        else if (source.DataType() == db::FieldType::ftString)
            copyPicture(ctx, source, target);
        else
            target.Clear();
        break;
    default:
        target.setAsVariant(source.AsVariant());
        break;
    }
}

void alphDefault(const PipelineContext& ctx, const BoundMappingRow& row, SourceText& sourceText)
{
    if (row.Vorgabewert_alph.isEmpty())
        return;
    auto write = [&] { row.targetField().setAsString(row.Vorgabewert_alph); };
    if (overLengthRuleHolds(row, sourceText))
        guarded(ctx, write);
    // Exact equality of the texts, whatever relations are ticked.
    if (!row.Quellwert_alph.isEmpty() && sourceText.get() == row.Quellwert_alph)
        guarded(ctx, write);
    if (row.Quellwert_num)
        sixComparisons(ctx, row, Comparable(*row.Quellwert_num), write);
}

}  // namespace

void FeldwertKopieren(const PipelineContext& ctx, const BoundMappingRow& row)
{
    SourceText sourceText(row);
    copyValue(ctx, row, sourceText);
}

void FeldRunden(const PipelineContext& ctx, const BoundMappingRow& row)
{
    if (!row.Runden)
        return;
    guarded(ctx, [&] {
        const int decimals = *row.Runden;
        if (decimals < std::numeric_limits<std::int8_t>::min() || decimals > std::numeric_limits<std::int8_t>::max())
            throw std::range_error("Runden out of range");
        db::Field& target = row.targetField();
        target.setAsFloat(RoundToDecimals(static_cast<std::int8_t>(decimals), asFloat(target)));
    });
}

void VorgabeAlphAnwenden(const PipelineContext& ctx, const BoundMappingRow& row)
{
    SourceText sourceText(row);
    alphDefault(ctx, row, sourceText);
}

void VorgabeNumAnwenden(const PipelineContext& ctx, const BoundMappingRow& row)
{
    if (!row.Vorgabewert_num)
        return;
    auto write = [&] { row.targetField().setAsVariant(*row.Vorgabewert_num); };
    SourceText sourceText(row);
    if (overLengthRuleHolds(row, sourceText))
        guarded(ctx, write);
    if (!row.Quellwert_alph.isEmpty())
        sixComparisons(ctx, row, Comparable(row.Quellwert_alph), write);
    if (row.Quellwert_num)
        sixComparisons(ctx, row, Comparable(*row.Quellwert_num), write);
}

void FormelAlphAnwenden(const PipelineContext& ctx, const BoundMappingRow& row)
{
    guarded(ctx, [&] { row.targetField().setAsString(FormelAlphBerechnen(ctx.tblQuelle, row.Formel_alph)); });
}

void FormelNumAnwenden(const PipelineContext& ctx, const BoundMappingRow& row)
{
    guarded(ctx, [&] {
        const bool prepared = row.formelNum && row.formelNum->isFor(ctx.tblQuelle, row.Formel_num);
        const double value =
            prepared ? FormelWertSpeicher::Wert(ctx, *row.formelNum)
                     : FormelWertSpeicher::Wert(ctx, FormelNumAufbereiten(ctx.tblQuelle, row.Formel_num).toStdString());
        row.targetField().setAsFloat(value);
        FeldRunden(ctx, row);
    });
}

void FeldUebertragen(const PipelineContext& ctx, const BoundMappingRow& row)
{
    if (row.textAsBytes) {
        // The copy alone decides such a row's value; a blank source, a source that is not on a stored record and a
        // text with a character the target's code page lacks go the general way.
        QByteArrayView bytes;
        if (row.quelle->textBytes(bytes) && !bytes.isEmpty()) {
            bool taken = true;
            guarded(ctx, [&] { taken = row.ziel->setTextBytes(bytes, row.byteMap); });
            if (taken)
                return;
        }
    }
    SourceText sourceText(row);
    // 1. Copy.
    guarded(ctx, [&] { copyValue(ctx, row, sourceText); });
    // 2. and 3. both start from the source value: with both set the target ends as source x Mul.
    if (row.Div && *row.Div != 0)
        guarded(ctx, [&] { row.targetField().setAsFloat(asFloat(row.sourceField()) / *row.Div); });
    if (row.Mul && *row.Mul != 0)
        guarded(ctx, [&] { row.targetField().setAsFloat(asFloat(row.sourceField()) * *row.Mul); });
    // 4. - 7. Defaults, then formulas.
    if (!row.Vorgabewert_alph.isEmpty())
        alphDefault(ctx, row, sourceText);
    if (row.Vorgabewert_num)
        VorgabeNumAnwenden(ctx, row);
    if (!row.Formel_alph.isEmpty())
        FormelAlphAnwenden(ctx, row);
    if (!row.Formel_num.isEmpty())
        FormelNumAnwenden(ctx, row);
    // 8. Left alignment replaces whatever came before with the trimmed source digits.
    if (row.Ausrichtung_li) {
        const QString trimmed = rtl::Trim(sourceText.get());
        if (IsNumeric(trimmed))
            guarded(ctx, [&] { row.targetField().setAsString(trimmed); });
    }
    // 9. Right alignment: only a source of digits as it stands.
    if (row.Ausrichtung_re && sourceText.isDigits() && IsNumeric(row.Laenge)) {
        guarded(ctx, [&] {
            db::Field& target = row.targetField();
            const std::uint16_t width = widthOf(row.Laenge);
            if (!numberRealigned(target))
                target.setAsString(PadLeftTo(rtl::Trim(target.AsString()), width));
        });
    }
    // 10. Over-length cut, decided by the declared sizes. Both fields must exist whether or not the row cuts (a
    // missing one ends the run here); their sizes are looked at only for a row that cuts.
    db::Field& cutSource = row.sourceField();
    db::Field& cutTarget = row.targetField();
    if (row.Ueberl_abschneid_li && cutSource.DataSize() > cutTarget.DataSize() && IsNumeric(row.Laenge)) {
        guarded(ctx, [&] {
            db::Field& target = row.targetField();
            target.setAsString(CutToLength(rtl::Trim(target.AsString()), widthOf(row.Laenge)));
        });
    }
    // 11. Substring, character by character from the source text.
    if (row.StringAuswahlBeg && row.StringAuswahlEnd && *row.StringAuswahlBeg != 0 && *row.StringAuswahlEnd != 0) {
        db::Field& target = row.targetField();
        target.setAsString(QString());
        const QString& text = sourceText.get();
        for (int p = *row.StringAuswahlBeg; p <= *row.StringAuswahlEnd; ++p) {
            guarded(ctx, [&] {
                if (p < 1 || p > text.size())
                    throw std::out_of_range("character position outside the source text");
                target.setAsString(target.AsString() + text[p - 1]);
            });
        }
    }
    // 12. Rounding, also after a numeric formula that rounded already.
    FeldRunden(ctx, row);
}

void FeldOhneZuordnung(const PipelineContext& ctx, const BoundMappingRow& row)
{
    if (!row.Vorgabewert_alph.isEmpty())
        guarded(ctx, [&] { row.targetField().setAsString(row.Vorgabewert_alph); });
    if (row.Vorgabewert_num)
        guarded(ctx, [&] { row.targetField().setAsVariant(*row.Vorgabewert_num); });
    if (!row.Formel_alph.isEmpty())
        FormelAlphAnwenden(ctx, row);
    if (!row.Formel_num.isEmpty())
        FormelNumAnwenden(ctx, row);
}

}  // namespace engine
