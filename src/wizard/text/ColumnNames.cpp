#include "wizard/text/ColumnNames.h"

#include "rtl/CodePages.h"
#include "texts/Texts.h"

namespace wizard {

namespace {

QString number(int column)
{
    return QString::number(column + 1);
}

// The characters of a name that Windows-1252 cannot hold, each once.
QString unstorable(const QString& name)
{
    QString out;
    for (QChar c : name) {
        if (rtl::toByte(c.unicode(), rtl::CodePage::Windows1252) < 0 && !out.contains(c))
            out += c;
    }
    return out;
}

bool forbiddenInFieldName(const QString& name)
{
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("[]{}()").contains(c))
            return true;
    }
    return name.contains(QStringLiteral("->")) || name == u"#";
}

// The name as the table stores it, for comparing: its code page's characters, upper case.
QString stored(const QString& name)
{
    return rtl::decode(rtl::encode(name, rtl::CodePage::Windows1252), rtl::CodePage::Windows1252).toUpper();
}

std::optional<ColumnNameProblem> checkAlone(int column, const QString& name)
{
    if (name.isEmpty())
        return ColumnNameProblem{column, texts::Format(texts::Text(61400), {number(column)})};
    if (name.startsWith(u' '))
        return ColumnNameProblem{column, texts::Format(texts::Text(61401), {name, number(column)})};
    if (name.size() > MaxColumnNameLength) {
        return ColumnNameProblem{
            column, texts::Format(texts::Text(61402), {name, number(column), QString::number(MaxColumnNameLength)})};
    }
    if (forbiddenInFieldName(name)) {
        QString shown = name;
        shown.replace(u'\r', u' ').replace(u'\n', u' ').replace(u'\t', u' ');
        return ColumnNameProblem{column, texts::Format(texts::Text(61403), {shown, number(column)})};
    }
    if (const QString lacking = unstorable(name); !lacking.isEmpty())
        return ColumnNameProblem{column, texts::Format(texts::Text(61404), {name, number(column), lacking})};
    return std::nullopt;
}

}  // namespace

std::optional<ColumnNameProblem> CheckColumnNames(const QStringList& headers)
{
    if (headers.size() > MaxSourceColumns) {
        return ColumnNameProblem{MaxSourceColumns, texts::Format(texts::Text(61405),
                                                                 {QString::number(headers.size()),
                                                                  QString::number(MaxSourceColumns)})};
    }
    QStringList keys;
    for (int column = 0; column < headers.size(); ++column) {
        const QString& name = headers.at(column);
        if (auto problem = checkAlone(column, name))
            return problem;
        const QString key = stored(name);
        // The later of two equal names is the one to mend.
        if (const qsizetype other = keys.indexOf(key); other >= 0) {
            return ColumnNameProblem{column, texts::Format(texts::Text(61406), {name, number(column),
                                                                                 headers.at(other),
                                                                                 number(static_cast<int>(other))})};
        }
        keys << key;
    }
    return std::nullopt;
}

}  // namespace wizard
