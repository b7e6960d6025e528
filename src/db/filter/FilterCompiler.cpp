#include "db/EngineError.h"
#include "db/filter/Filter.h"
#include "db/filter/FilterProgram.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"

#include <algorithm>
#include <optional>

namespace db::filter {

using namespace detail;

namespace {

// Parentheses and NOTs nest by recursion; a limit keeps a pathological text from exhausting the stack.
constexpr int maxNesting = 256;
// How much of an offending part a message quotes.
constexpr qsizetype maxExcerpt = 30;

enum class Tok { End, LParen, RParen, Comma, Compare, String, Raw, Name, And, Or, Not, Is, Null, In, Bad };

struct Token {
    Tok kind = Tok::End;
    qsizetype pos = 0;
    qsizetype length = 0;
    QString text;            // String: the value without quotes; Raw, Name: as written; Bad: the reason
    Op op = Op::Eq;
    bool bracketed = false;  // Name written in [brackets]
};

// A side of a comparison: a field, or a value still as text (converted once the field it meets is known).
struct Operand {
    Token token;
    int field = -1;          // -1: a value
    bool null = false;       // the keyword NULL
};

bool isDelimiter(QChar c, bool inList)
{
    switch (c.unicode()) {
    case u'(': case u')': case u'[': case u']': case u'=': case u'<': case u'>': case u'\'': case u'"':
        return true;
    case u',':
        return inList;
    default:
        return c.isSpace();
    }
}

Op mirrored(Op op)
{
    switch (op) {
    case Op::Lt: return Op::Gt;
    case Op::Gt: return Op::Lt;
    case Op::Le: return Op::Ge;
    case Op::Ge: return Op::Le;
    default: return op;
    }
}

QStringView withoutTrailingBlanks(QStringView s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.first(n);
}

class Compiler {
public:
    Compiler(const QString& text, const FieldDefList& fields) : text_(text), fields_(fields) {}

    std::shared_ptr<const Program> run()
    {
        auto program = std::make_shared<Program>();
        program->text = text_;
        program_ = program.get();
        if (peek().kind == Tok::End) {
            program->nodes.push_back(Node{});
            return program;
        }
        const int root = parseOr(0);
        if (peek().kind != Tok::End)
            fail(ErrorCode::FilterSyntax, peek(), QStringLiteral("AND, OR oder das Ende der Bedingung erwartet"));
        program->root = root;
        for (const Node& node : program->nodes) {
            for (const int field : {node.field, node.otherField})
                if (field >= 0)
                    program->fields.push_back(field);
        }
        std::sort(program->fields.begin(), program->fields.end());
        program->fields.erase(std::unique(program->fields.begin(), program->fields.end()), program->fields.end());
        return program;
    }

private:
    // ---- tokens ----

    const Token& peek()
    {
        if (!peeked_ || peekedInList_ != inList_) {
            current_ = lex(pos_);
            peeked_ = true;
            peekedInList_ = inList_;
        }
        return current_;
    }

    Token take()
    {
        Token t = peek();
        pos_ = t.pos + t.length;
        peeked_ = false;
        return t;
    }

    Token lex(qsizetype pos) const
    {
        const qsizetype n = text_.size();
        while (pos < n && text_[pos].isSpace())
            ++pos;
        Token t;
        t.pos = pos;
        if (pos >= n)
            return t;
        const QChar c = text_[pos];
        auto single = [&](Tok kind) {
            t.kind = kind;
            t.length = 1;
            return t;
        };
        switch (c.unicode()) {
        case u'(': return single(Tok::LParen);
        case u')': return single(Tok::RParen);
        case u',':
            if (inList_)
                return single(Tok::Comma);
            break;
        case u'=':
            t.op = Op::Eq;
            return single(Tok::Compare);
        case u'<':
        case u'>': {
            t.kind = Tok::Compare;
            const QChar next = pos + 1 < n ? text_[pos + 1] : QChar();
            if (c == u'<' && next == u'>') {
                t.op = Op::Ne;
                t.length = 2;
            } else if (next == u'=') {
                t.op = c == u'<' ? Op::Le : Op::Ge;
                t.length = 2;
            } else {
                t.op = c == u'<' ? Op::Lt : Op::Gt;
                t.length = 1;
            }
            return t;
        }
        case u'\'':
        case u'"':
            return lexQuoted(pos, c);
        case u'[': {
            const qsizetype close = text_.indexOf(u']', pos + 1);
            if (close < 0)
                return bad(pos, n - pos, QStringLiteral("']' fehlt"));
            t.kind = Tok::Name;
            t.bracketed = true;
            t.text = text_.mid(pos + 1, close - pos - 1);
            t.length = close + 1 - pos;
            return t;
        }
        case u']':
            return bad(pos, 1, QStringLiteral("unerwartetes Zeichen"));
        default:
            break;
        }

        qsizetype end = pos;
        while (end < n && !isDelimiter(text_[end], inList_))
            ++end;
        if (end == pos)  // a comma outside a list
            return bad(pos, 1, QStringLiteral("unerwartetes Zeichen"));
        t.text = text_.mid(pos, end - pos);
        t.length = end - pos;
        if (startsLikeNumber(pos)) {
            t.kind = Tok::Raw;
            return t;
        }
        // A field whose name holds blanks or delimiters may stand bare; the longest name found here wins.
        qsizetype longest = 0;
        for (const FieldDef& def : fields_) {
            const qsizetype len = def.name.size();
            if (len > t.length && len > longest && pos + len <= n
                && QStringView(text_).mid(pos, len).compare(def.name, Qt::CaseInsensitive) == 0
                && (pos + len == n || isDelimiter(text_[pos + len], inList_)))
                longest = len;
        }
        if (longest > 0) {
            t.kind = Tok::Name;
            t.text = text_.mid(pos, longest);
            t.length = longest;
            return t;
        }
        t.kind = keyword(t.text);
        return t;
    }

    Token lexQuoted(qsizetype pos, QChar quote) const
    {
        const qsizetype n = text_.size();
        Token t;
        t.kind = Tok::String;
        t.pos = pos;
        qsizetype i = pos + 1;
        for (;;) {
            if (i >= n)
                return bad(pos, n - pos, QStringLiteral("Text ohne schließendes Anführungszeichen"));
            if (text_[i] == quote) {
                if (i + 1 < n && text_[i + 1] == quote) {  // a doubled quote stands for one
                    t.text += quote;
                    i += 2;
                    continue;
                }
                break;
            }
            t.text += text_[i];
            ++i;
        }
        t.length = i + 1 - pos;
        return t;
    }

    bool startsLikeNumber(qsizetype pos) const
    {
        auto digitAt = [&](qsizetype i) { return i < text_.size() && text_[i].isDigit(); };
        const QChar c = text_[pos];
        if (c.isDigit())
            return true;
        if (c == u'.' || c == u',')
            return digitAt(pos + 1);
        if (c == u'-' || c == u'+')
            return digitAt(pos + 1)
                   || (pos + 1 < text_.size() && (text_[pos + 1] == u'.' || text_[pos + 1] == u',')
                       && digitAt(pos + 2));
        return false;
    }

    static Tok keyword(const QString& word)
    {
        static const struct {
            const char16_t* text;
            Tok kind;
        } keywords[] = {{u"AND", Tok::And}, {u"OR", Tok::Or},     {u"NOT", Tok::Not},
                        {u"IS", Tok::Is},   {u"NULL", Tok::Null}, {u"IN", Tok::In}};
        for (const auto& k : keywords)
            if (word.compare(QStringView(k.text), Qt::CaseInsensitive) == 0)
                return k.kind;
        return Tok::Name;
    }

    static Token bad(qsizetype pos, qsizetype length, const QString& reason)
    {
        Token t;
        t.kind = Tok::Bad;
        t.pos = pos;
        t.length = length;
        t.text = reason;
        return t;
    }

    // ---- errors ----

    [[noreturn]] void fail(int code, const Token& at, const QString& reason) const
    {
        QString where;
        if (at.kind == Tok::End) {
            where = QStringLiteral("am Ende");
        } else {
            QString part = text_.mid(at.pos, at.length);
            if (part.size() > maxExcerpt)
                part = part.left(maxExcerpt) + QStringLiteral("...");
            where = QStringLiteral("bei '%1'").arg(part);
        }
        throw EngineError(std::vector<int>{code},
                          QStringLiteral("Fehler im Filterausdruck an Position %1 %2: %3.")
                              .arg(at.pos + 1)
                              .arg(where, reason));
    }

    [[noreturn]] void failUnexpected(const Token& at, const QString& expected) const
    {
        fail(ErrorCode::FilterSyntax, at, at.kind == Tok::Bad ? at.text : expected);
    }

    // ---- grammar ----

    int add(Node node)
    {
        program_->nodes.push_back(std::move(node));
        return static_cast<int>(program_->nodes.size()) - 1;
    }

    int join(NodeKind kind, int left, int right)
    {
        Node node;
        node.kind = kind;
        node.left = left;
        node.right = right;
        return add(std::move(node));
    }

    int parseOr(int depth)
    {
        int left = parseAnd(depth);
        while (peek().kind == Tok::Or) {
            take();
            left = join(NodeKind::Or, left, parseAnd(depth));
        }
        return left;
    }

    int parseAnd(int depth)
    {
        int left = parseFactor(depth);
        while (peek().kind == Tok::And) {
            take();
            left = join(NodeKind::And, left, parseFactor(depth));
        }
        return left;
    }

    int parseFactor(int depth)
    {
        if (depth > maxNesting)
            fail(ErrorCode::FilterSyntax, peek(), QStringLiteral("zu tief geschachtelt"));
        if (peek().kind == Tok::Not) {
            take();
            return join(NodeKind::Not, parseFactor(depth + 1), -1);
        }
        if (peek().kind == Tok::LParen) {
            take();
            const int inner = parseOr(depth + 1);
            if (peek().kind != Tok::RParen)
                failUnexpected(peek(), QStringLiteral("')' erwartet"));
            take();
            return inner;
        }
        return parsePredicate();
    }

    int parsePredicate()
    {
        const Operand left = parseOperand();
        const Token next = peek();
        switch (next.kind) {
        case Tok::Compare: {
            take();
            const Operand right = parseOperand();
            return comparison(left, next, right);
        }
        case Tok::Is: {
            take();
            bool negated = false;
            if (peek().kind == Tok::Not) {
                take();
                negated = true;
            }
            expectNull();
            return nullTest(left, negated);
        }
        case Tok::Not: {
            // "F NOT IS NULL" and "F NOT IN (...)"
            take();
            if (peek().kind == Tok::Is) {
                take();
                expectNull();
                return nullTest(left, true);
            }
            if (peek().kind == Tok::In)
                return inList(left, true);
            failUnexpected(peek(), QStringLiteral("IS oder IN erwartet"));
        }
        case Tok::In:
            return inList(left, false);
        default:
            failUnexpected(next, QStringLiteral("Vergleichsoperator, IS oder IN erwartet"));
        }
    }

    void expectNull()
    {
        if (peek().kind != Tok::Null)
            failUnexpected(peek(), QStringLiteral("NULL erwartet"));
        take();
    }

    Operand parseOperand()
    {
        Operand operand;
        operand.token = take();
        switch (operand.token.kind) {
        case Tok::Name:
            operand.field = resolveField(operand.token);
            break;
        case Tok::String:
        case Tok::Raw:
            break;
        case Tok::Null:
            operand.null = true;
            break;
        default:
            failUnexpected(operand.token, QStringLiteral("Feldname oder Wert erwartet"));
        }
        return operand;
    }

    int resolveField(const Token& name) const
    {
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (fields_[i].name.compare(name.text, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        fail(ErrorCode::FieldNotFound, name, QStringLiteral("Feld '%1' nicht gefunden").arg(name.text));
    }

    const FieldDef& def(int field) const { return fields_[static_cast<std::size_t>(field)]; }

    int needField(const Operand& operand) const
    {
        if (operand.field < 0)
            fail(ErrorCode::FilterSyntax, operand.token, QStringLiteral("Feldname erwartet"));
        return operand.field;
    }

    int nullTest(const Operand& left, bool negated)
    {
        Node node;
        node.kind = NodeKind::IsNull;
        node.field = needField(left);
        node.valueKind = valueKindOf(def(node.field).type);
        node.negated = negated;
        return add(std::move(node));
    }

    int comparison(const Operand& left, const Token& opToken, const Operand& right)
    {
        if (left.field >= 0 && right.field >= 0)
            return fieldComparison(left, opToken, right);
        if (left.field < 0 && right.field < 0)
            fail(ErrorCode::FilterSyntax, left.token, QStringLiteral("ein Vergleich braucht ein Feld"));
        const bool fieldFirst = left.field >= 0;
        const Operand& field = fieldFirst ? left : right;
        const Operand& value = fieldFirst ? right : left;
        const Op op = fieldFirst ? opToken.op : mirrored(opToken.op);

        Node node;
        node.field = field.field;
        node.valueKind = valueKindOf(def(node.field).type);
        if (node.valueKind == ValueKind::Opaque)
            failOpaque(field);

        // "= NULL" and "= ''" ask for an empty field, as IS NULL does.
        const bool emptyText = !value.null && node.valueKind == ValueKind::Text
                               && withoutTrailingBlanks(value.token.text).isEmpty();
        if (value.null || emptyText) {
            if (op != Op::Eq && op != Op::Ne) {
                if (value.null)
                    fail(ErrorCode::FilterSyntax, opToken, QStringLiteral("NULL nur mit = oder <> vergleichbar"));
            } else {
                node.kind = NodeKind::IsNull;
                node.negated = op == Op::Ne;
                return add(std::move(node));
            }
        }
        node.kind = NodeKind::CompareValue;
        node.op = op;
        node.value = convert(value.token, node.field, op == Op::Eq || op == Op::Ne);
        return add(std::move(node));
    }

    int fieldComparison(const Operand& left, const Token& opToken, const Operand& right)
    {
        const ValueKind a = valueKindOf(def(left.field).type);
        const ValueKind b = valueKindOf(def(right.field).type);
        if (a == ValueKind::Opaque)
            failOpaque(left);
        if (b == ValueKind::Opaque)
            failOpaque(right);
        if (a != b)
            fail(ErrorCode::FilterSyntax, right.token,
                 QStringLiteral("die Felder '%1' und '%2' haben unvergleichbare Typen")
                     .arg(def(left.field).name, def(right.field).name));
        Node node;
        node.kind = NodeKind::CompareFields;
        node.valueKind = a;
        node.op = opToken.op;
        node.field = left.field;
        node.otherField = right.field;
        return add(std::move(node));
    }

    int inList(const Operand& left, bool negated)
    {
        take();  // IN
        Node node;
        node.kind = NodeKind::In;
        node.negated = negated;
        node.field = needField(left);
        node.valueKind = valueKindOf(def(node.field).type);
        if (node.valueKind == ValueKind::Opaque)
            failOpaque(left);
        if (peek().kind != Tok::LParen)
            failUnexpected(peek(), QStringLiteral("'(' erwartet"));
        take();
        // Inside the list a comma separates values and a bare word is a value, not a field.
        inList_ = true;
        for (;;) {
            const Token item = take();
            if (item.kind != Tok::String && item.kind != Tok::Raw && item.kind != Tok::Name)
                failUnexpected(item, QStringLiteral("Wert erwartet"));
            if (item.kind == Tok::Name && item.bracketed)
                fail(ErrorCode::FilterSyntax, item, QStringLiteral("Wert erwartet"));
            node.list.push_back(convert(item, node.field, false));
            const Token next = take();
            if (next.kind == Tok::RParen)
                break;
            if (next.kind != Tok::Comma)
                failUnexpected(next, QStringLiteral("',' oder ')' erwartet"));
        }
        inList_ = false;
        return add(std::move(node));
    }

    [[noreturn]] void failOpaque(const Operand& field) const
    {
        fail(ErrorCode::FilterSyntax, field.token,
             QStringLiteral("das Feld '%1' kann nur mit IS NULL geprüft werden").arg(def(field.field).name));
    }

    // The value converted to the type of the field; prefixAllowed: a trailing "*" makes a text a beginning.
    Value convert(const Token& token, int field, bool prefixAllowed) const
    {
        const FieldDef& d = def(field);
        Value value;
        const QString trimmed = rtl::Trim(token.text);
        auto invalid = [&](const QString& what) {
            fail(ErrorCode::FilterSyntax, token,
                 QStringLiteral("'%1' ist %2 für das Feld '%3'").arg(token.text, what, d.name));
        };
        switch (valueKindOf(d.type)) {
        case ValueKind::Text:
            value.text = withoutTrailingBlanks(token.text).toString();
            if (prefixAllowed && value.text.endsWith(u'*')) {
                value.text.chop(1);
                value.prefix = true;
            }
            break;
        case ValueKind::Number: {
            QString number = trimmed;
            const QChar separator = rtl::formatSettings().DecimalSeparator;
            if (separator != u'.')
                number.replace(u'.', separator);
            if (!rtl::TryStrToFloat(number, value.number))
                invalid(QStringLiteral("keine gültige Zahl"));
            break;
        }
        case ValueKind::Logical:
            if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0)
                value.logical = true;
            else if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0)
                value.logical = false;
            else
                invalid(QStringLiteral("kein Wahrheitswert (True oder False)"));
            break;
        case ValueKind::Moment:
            value.moment = moment(d.type, trimmed, invalid);
            break;
        case ValueKind::Opaque:
            fail(ErrorCode::FilterSyntax, token,
                 QStringLiteral("das Feld '%1' kann nur mit IS NULL geprüft werden").arg(d.name));
        }
        return value;
    }

    template <typename Invalid>
    static qint64 moment(FieldType type, const QString& text, const Invalid& invalid)
    {
        constexpr qint64 msecsPerDay = 86400000;
        switch (type) {
        case FieldType::ftDate: {
            QDate d;
            if (!rtl::TryStrToDate(text, d))
                invalid(QStringLiteral("kein gültiges Datum"));
            return d.toJulianDay() * msecsPerDay;
        }
        case FieldType::ftTime: {
            QTime t;
            if (!rtl::TryStrToTime(text, t))
                invalid(QStringLiteral("keine gültige Zeit"));
            return t.msecsSinceStartOfDay();
        }
        default: {
            QDateTime dt;
            if (!rtl::TryStrToDateTime(text, dt))
                invalid(QStringLiteral("kein gültiges Datum mit Zeit"));
            return dt.date().toJulianDay() * msecsPerDay + dt.time().msecsSinceStartOfDay();
        }
        }
    }

    const QString& text_;
    const FieldDefList& fields_;
    Program* program_ = nullptr;
    qsizetype pos_ = 0;
    bool inList_ = false;
    bool peeked_ = false;
    bool peekedInList_ = false;
    Token current_;
};

}  // namespace

Expression compile(const QString& text, const FieldDefList& fields)
{
    return Expression(Compiler(text, fields).run());
}

}  // namespace db::filter
