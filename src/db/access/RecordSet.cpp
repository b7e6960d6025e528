#include "db/access/RecordSet.h"

#include "db/EngineError.h"

#include <QRegularExpression>

#include <functional>

namespace db::access {

namespace {

EngineError syntaxError(const QString& filter)
{
    return EngineError(ErrorCode::FilterSyntax, QStringLiteral("Der Filter \"%1\" ist ungültig.").arg(filter));
}

using Predicate = std::function<bool(const QStringList&)>;

// Recursive descent over the filter text; builds a predicate over a row.
class FilterParser {
public:
    FilterParser(const QString& text, const QStringList& fields) : text_(text), fields_(fields) {}

    Predicate parse()
    {
        Predicate p = orExpression();
        skipBlanks();
        if (pos_ != text_.size())
            throw syntaxError(text_);
        return p;
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && text_.at(pos_).isSpace())
            ++pos_;
    }

    bool keyword(const QString& word)
    {
        skipBlanks();
        if (text_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = pos_ + word.size();
        if (after < text_.size() && (text_.at(after).isLetterOrNumber() || text_.at(after) == u'_'))
            return false;
        pos_ = after;
        return true;
    }

    bool symbol(QStringView s)
    {
        skipBlanks();
        if (QStringView(text_).mid(pos_).startsWith(s)) {
            pos_ += s.size();
            return true;
        }
        return false;
    }

    Predicate orExpression()
    {
        Predicate left = andExpression();
        while (keyword(QStringLiteral("OR"))) {
            Predicate right = andExpression();
            left = [left, right](const QStringList& row) { return left(row) || right(row); };
        }
        return left;
    }

    Predicate andExpression()
    {
        Predicate left = unary();
        while (keyword(QStringLiteral("AND"))) {
            Predicate right = unary();
            left = [left, right](const QStringList& row) { return left(row) && right(row); };
        }
        return left;
    }

    Predicate unary()
    {
        if (keyword(QStringLiteral("NOT"))) {
            Predicate inner = unary();
            return [inner](const QStringList& row) { return !inner(row); };
        }
        if (symbol(u"(")) {
            Predicate inner = orExpression();
            if (!symbol(u")"))
                throw syntaxError(text_);
            return inner;
        }
        return comparison();
    }

    QString identifier()
    {
        skipBlanks();
        if (symbol(u"[")) {
            const qsizetype end = text_.indexOf(u']', pos_);
            if (end < 0)
                throw syntaxError(text_);
            const QString name = text_.mid(pos_, end - pos_);
            pos_ = end + 1;
            return name;
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_.at(pos_).isLetterOrNumber() || text_.at(pos_) == u'_'))
            ++pos_;
        if (pos_ == start)
            throw syntaxError(text_);
        return text_.mid(start, pos_ - start);
    }

    struct Literal {
        QString text;
        bool numeric = false;
        double number = 0;
    };

    Literal literal()
    {
        skipBlanks();
        Literal lit;
        if (pos_ < text_.size() && (text_.at(pos_) == u'\'' || text_.at(pos_) == u'#')) {
            const QChar quote = text_.at(pos_++);
            for (;;) {
                if (pos_ >= text_.size())
                    throw syntaxError(text_);
                const QChar c = text_.at(pos_++);
                if (c == quote) {
                    if (pos_ < text_.size() && text_.at(pos_) == quote) {  // doubled quote stands for itself
                        lit.text += c;
                        ++pos_;
                        continue;
                    }
                    break;
                }
                lit.text += c;
            }
            return lit;
        }
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_.at(pos_).isDigit() || text_.at(pos_) == u'.' || text_.at(pos_) == u'-'
                                        || text_.at(pos_) == u'+' || text_.at(pos_) == u'e' || text_.at(pos_) == u'E'))
            ++pos_;
        bool ok = false;
        lit.text = text_.mid(start, pos_ - start);
        lit.number = lit.text.toDouble(&ok);
        if (!ok)
            throw syntaxError(text_);
        lit.numeric = true;
        return lit;
    }

    Predicate comparison()
    {
        const QString name = identifier();
        int column = -1;
        for (int i = 0; i < fields_.size(); ++i)
            if (fields_.at(i).compare(name, Qt::CaseInsensitive) == 0)
                column = i;
        if (column < 0)
            throw EngineError(ErrorCode::FilterSyntax,
                              QStringLiteral("Der Filter \"%1\" nennt das unbekannte Feld \"%2\".").arg(text_, name));

        enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like };
        Op op;
        if (symbol(u"<>"))
            op = Op::Ne;
        else if (symbol(u"<="))
            op = Op::Le;
        else if (symbol(u">="))
            op = Op::Ge;
        else if (symbol(u"="))
            op = Op::Eq;
        else if (symbol(u"<"))
            op = Op::Lt;
        else if (symbol(u">"))
            op = Op::Gt;
        else if (keyword(QStringLiteral("LIKE")))
            op = Op::Like;
        else
            throw syntaxError(text_);

        const Literal lit = literal();
        if (op == Op::Like) {
            QString pattern;
            for (const QChar c : lit.text)
                pattern += (c == u'*' || c == u'%') ? QStringLiteral(".*") : QRegularExpression::escape(QString(c));
            const QRegularExpression re(QRegularExpression::anchoredPattern(pattern),
                                        QRegularExpression::CaseInsensitiveOption
                                            | QRegularExpression::DotMatchesEverythingOption);
            return [re, column](const QStringList& row) { return re.match(row.at(column)).hasMatch(); };
        }
        return [lit, op, column](const QStringList& row) {
            int order;
            if (lit.numeric) {
                bool ok = false;
                const double v = row.at(column).toDouble(&ok);
                if (!ok)
                    return false;
                order = v < lit.number ? -1 : (v > lit.number ? 1 : 0);
            } else {
                order = QString::compare(row.at(column), lit.text, Qt::CaseInsensitive);
            }
            switch (op) {
            case Op::Eq:
                return order == 0;
            case Op::Ne:
                return order != 0;
            case Op::Lt:
                return order < 0;
            case Op::Gt:
                return order > 0;
            case Op::Le:
                return order <= 0;
            case Op::Ge:
                return order >= 0;
            case Op::Like:
                break;
            }
            return false;
        };
    }

    const QString& text_;
    const QStringList& fields_;
    qsizetype pos_ = 0;
};

}  // namespace

RecordSet::RecordSet(QStringList fieldNames, std::vector<QStringList> rows)
    : fieldNames_(std::move(fieldNames)), rows_(std::move(rows))
{
    apply();
}

RecordSet::~RecordSet() = default;
RecordSet::RecordSet(RecordSet&&) noexcept = default;
RecordSet& RecordSet::operator=(RecordSet&&) noexcept = default;

void RecordSet::setFilter(const QString& filter)
{
    filter_ = filter;
    apply();
}

void RecordSet::setFiltered(bool filtered)
{
    filtered_ = filtered;
    apply();
}

void RecordSet::apply()
{
    std::vector<int> visible;
    if (filtered_ && !filter_.trimmed().isEmpty()) {
        const Predicate keep = FilterParser(filter_, fieldNames_).parse();
        for (int i = 0; i < int(rows_.size()); ++i)
            if (keep(rows_[i]))
                visible.push_back(i);
    } else {
        for (int i = 0; i < int(rows_.size()); ++i)
            visible.push_back(i);
    }
    visible_ = std::move(visible);
    position_ = 0;
}

void RecordSet::first()
{
    position_ = 0;
}

void RecordSet::next()
{
    if (position_ < int(visible_.size()))
        ++position_;
}

bool RecordSet::eof() const
{
    return position_ >= int(visible_.size());
}

int RecordSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < fieldNames_.size(); ++i)
        if (fieldNames_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw EngineError(ErrorCode::FieldNotFound, QStringLiteral("Feld \"%1\" nicht gefunden.").arg(name));
}

QString RecordSet::fieldByName(const QString& name) const
{
    const int column = fieldIndex(name);
    if (eof())
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Der Datensatzzeiger steht hinter dem letzten Datensatz."));
    return rows_[visible_[position_]].at(column);
}

}  // namespace db::access
