#include "platform/FileDialogFilter.h"

#include <QRegularExpression>

namespace platform {

QString caseInsensitivePattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString out;
    bool inBrackets = false;
    for (const QChar c : pattern) {
        if (c == u'[')
            inBrackets = true;
        else if (c == u']')
            inBrackets = false;
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (inBrackets || lower == upper) {
            out += c;
        } else {
            out += u'[';
            out += lower;
            out += upper;
            out += u']';
        }
    }
    return out;
}

QStringList qtNameFilters(const QString& filter)
{
    static const QRegularExpression patternSeparators(QStringLiteral("[;\\s]+"));
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(patternSeparators, Qt::SkipEmptyParts))
            patterns += caseInsensitivePattern(pattern);
        if (patterns.isEmpty())
            patterns += QStringLiteral("*");
        result += parts[i].trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

}  // namespace platform
