#include "filter/FilterText.h"

#include "rtl/Conversions.h"

#include <array>
#include <optional>

namespace filter {

namespace {

// "leer" (empty) finds the records without a value, "nicht leer" those with one.
const std::array<const char*, kConditionCount> kOperators = {"=", "<>",      "<=",          ">=", "<",
                                                             ">", "IS NULL", "NOT IS NULL", "IN", ""};

bool isKeyword(const QString& word)
{
    for (const char* keyword : {"AND", "OR", "NOT", "IS", "NULL", "IN"})
        if (word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString quoted(const QString& value)
{
    return u'\'' + QString(value).replace(u'\'', QStringLiteral("''")) + u'\'';
}

bool startsLikeNumber(const QString& value)
{
    auto digitAt = [&](qsizetype i) { return i < value.size() && value[i].isDigit(); };
    if (value.isEmpty())
        return false;
    const QChar c = value[0];
    if (c.isDigit())
        return true;
    if (c == u'-' || c == u'+' || c == u'.' || c == u',')
        return digitAt(1) ||
               (c != u'.' && c != u',' && value.size() > 2 && (value[1] == u'.' || value[1] == u',') && digitAt(2));
    return false;
}

// A range bound stays bare when it reads as a number, a date or a time (the usual case, and what the filter
// converts for any field); a word would be taken for a field name, so it goes in quotes.
QString rangeBound(const QString& value)
{
    if (startsLikeNumber(value) || value.startsWith(u'\'') || value.startsWith(u'"'))
        return value;
    return quoted(value);
}

// ---- reading back ----

class RowReader {
public:
    RowReader(const QString& text, qsizetype pos) : s_(text), pos_(pos) {}

    qsizetype pos() const { return pos_; }

    std::optional<ReadRow> row()
    {
        ReadRow r;
        if (!take(u"("))
            return std::nullopt;
        const auto field = fieldName();
        if (!field)
            return std::nullopt;
        r.fieldName = *field;
        qsizetype blanks = 0;
        while (pos_ < s_.size() && s_[pos_] == u' ') {
            ++pos_;
            ++blanks;
        }
        if (blanks == 2 && take(u">= ")) {
            const auto first = bound();
            if (!first || !take(u") AND (") || !fieldName() || !take(u" <= "))
                return std::nullopt;
            const auto second = bound();
            if (!second || !take(u")"))
                return std::nullopt;
            r.condition = cdBetween;
            r.value = *second == QStringLiteral(" ") ? *first : *first + u' ' + *second;
            return r;
        }
        if (blanks != 1)
            return std::nullopt;
        if (take(u"IS NULL)")) {
            r.condition = cdEmpty;
            return r;
        }
        if (take(u"NOT IS NULL)") || take(u"IS NOT NULL)")) {
            r.condition = cdNotEmpty;
            return r;
        }
        if (take(u"IN (")) {
            const qsizetype start = pos_;
            int depth = 1;
            while (pos_ < s_.size() && depth > 0) {
                const QChar c = s_[pos_];
                if (c == u'\'' || c == u'"') {
                    if (!skipQuoted())
                        return std::nullopt;
                    continue;
                }
                if (c == u'(')
                    ++depth;
                else if (c == u')')
                    --depth;
                ++pos_;
            }
            if (depth != 0)
                return std::nullopt;
            r.value = s_.mid(start, pos_ - 1 - start);
            if (!take(u")"))
                return std::nullopt;
            r.condition = cdInList;
            return r;
        }
        for (const int condition : {cdNotEqual, cdNotGreater, cdNotLess, cdEqual, cdLess, cdGreater}) {
            const QString op = OperatorText(condition) + u' ';
            if (!take(op))
                continue;
            const auto value = bound();
            if (!value || !take(u")"))
                return std::nullopt;
            r.condition = condition;
            r.value = *value;
            return r;
        }
        return std::nullopt;
    }

private:
    bool take(QStringView expected)
    {
        if (QStringView(s_).mid(pos_).startsWith(expected)) {
            pos_ += expected.size();
            return true;
        }
        return false;
    }

    std::optional<QString> fieldName()
    {
        if (take(u"[")) {
            const qsizetype close = s_.indexOf(u']', pos_);
            if (close < 0)
                return std::nullopt;
            QString name = s_.mid(pos_, close - pos_);
            pos_ = close + 1;
            return name;
        }
        const qsizetype start = pos_;
        while (pos_ < s_.size() && s_[pos_] != u' ' && s_[pos_] != u')')
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return s_.mid(start, pos_ - start);
    }

    // Past a quoted text (doubled quotes inside); false when it has no end.
    bool skipQuoted()
    {
        const QChar quote = s_[pos_];
        ++pos_;
        while (pos_ < s_.size()) {
            if (s_[pos_] == quote) {
                if (pos_ + 1 < s_.size() && s_[pos_ + 1] == quote) {
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return true;
            }
            ++pos_;
        }
        return false;
    }

    // A compared value: quoted (its quotes taken off, doubled ones made single) or bare up to the bracket.
    std::optional<QString> bound()
    {
        if (pos_ < s_.size() && (s_[pos_] == u'\'' || s_[pos_] == u'"')) {
            const QChar quote = s_[pos_];
            const qsizetype start = pos_;
            if (!skipQuoted())
                return std::nullopt;
            QString inner = s_.mid(start + 1, pos_ - start - 2);
            return inner.replace(QString(2, quote), QString(quote));
        }
        const qsizetype start = pos_;
        while (pos_ < s_.size() && s_[pos_] != u')')
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return s_.mid(start, pos_ - start);
    }

    const QString& s_;
    qsizetype pos_;
};

// Where the next link outside quotes and brackets starts, or the end.
qsizetype nextLink(const QString& s, qsizetype from)
{
    QChar quote;
    bool bracket = false;
    for (qsizetype i = from; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (bracket) {
            bracket = c != u']';
            continue;
        }
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'[')
            bracket = true;
        else if (QStringView(s).mid(i).startsWith(LinkText(true)) || QStringView(s).mid(i).startsWith(LinkText(false)))
            return i;
    }
    return s.size();
}

}  // namespace

QString OperatorText(int condition)
{
    if (condition < 0 || condition >= kConditionCount)
        return QString();
    return QLatin1String(kOperators[std::size_t(condition)]);
}

int IndexOfOperator(const QString& op)
{
    for (int i = 0; i < kConditionCount; ++i)
        if (op == QLatin1String(kOperators[std::size_t(i)]))
            return i;
    return 0;
}

QString LinkText(bool isAnd)
{
    return isAnd ? QStringLiteral(" AND ") : QStringLiteral(" OR  ");
}

QString FieldReference(const QString& fieldName)
{
    bool bare = !fieldName.isEmpty() && !fieldName[0].isDigit() && !isKeyword(fieldName);
    for (const QChar c : fieldName)
        bare = bare && (c.isLetterOrNumber() || c == u'_');
    // A name with a closing bracket cannot be bracketed; the filter still finds it bare by its whole name.
    if (bare || fieldName.contains(u']'))
        return fieldName;
    return u'[' + fieldName + u']';
}

RangeValues SplitRange(const QString& value)
{
    RangeValues r;
    const qsizetype blank = value.indexOf(u' ');
    if (blank < 0) {
        r.first = value;
        return r;
    }
    r.first = value.left(blank);
    r.second = value.mid(blank + 1);
    r.hasSecond = true;
    return r;
}

QString ConditionText(const QString& fieldName, int condition, const QString& value)
{
    const QString f = FieldReference(fieldName);
    QString text = u'(' + f + u' ' + OperatorText(condition);
    switch (condition) {
    case cdEmpty:
    case cdNotEmpty:
        return text + u')';
    case cdInList:
        return text + QStringLiteral(" (") + value + QStringLiteral("))");
    case cdBetween: {
        const RangeValues range = SplitRange(value);
        const QString second = range.hasSecond ? rangeBound(range.second) : QStringLiteral("\" \"");
        return text + QStringLiteral(" >= ") + rangeBound(range.first) + QStringLiteral(") AND (") + f +
               QStringLiteral(" <= ") + second + u')';
    }
    default:
        return text + u' ' + quoted(value) + u')';
    }
}

std::vector<ReadRow> ReadFilterText(const QString& text)
{
    std::vector<ReadRow> rows;
    QString rest = rtl::Trim(text);
    while (!rest.isEmpty()) {
        bool isAnd = true;
        if (rest.startsWith(QStringLiteral("OR  "))) {
            isAnd = false;
            rest.remove(0, 4);
        } else if (rest.startsWith(QStringLiteral("AND "))) {
            rest.remove(0, 4);
        }
        rest = rtl::Trim(rest);
        RowReader reader(rest, 0);
        std::optional<ReadRow> row = reader.row();
        qsizetype end = reader.pos();
        if (row && end < rest.size() && nextLink(rest, end) != end)
            row.reset();
        if (!row) {
            end = nextLink(rest, 0);
            row = ReadRow{};
        }
        row->isAnd = isAnd;
        row->raw = rest.left(end);
        rows.push_back(*row);
        rest = rtl::Trim(rest.mid(end));
    }
    return rows;
}

}  // namespace filter
