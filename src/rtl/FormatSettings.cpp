#include "rtl/FormatSettings.h"

#include <QList>
#include <QLocale>
#include <QStringList>

namespace rtl {

namespace {

QChar firstChar(const QString& s, QChar fallback)
{
    return s.isEmpty() ? fallback : s.front();
}

// The first character of a Qt date or time pattern that is neither a letter, a blank nor part of a quoted literal:
// the separator the locale writes between the parts.
QChar firstSeparator(const QString& pattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}

struct PatternToken {
    QChar letter;
    qsizetype count;
};

// The letter runs of a Qt date or time pattern, outside quoted literals, in order.
QList<PatternToken> letterRuns(const QString& pattern)
{
    QList<PatternToken> runs;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (!quoted && i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (!quoted && c.isLetter())
            runs.append({c, run});
        i += run;
    }
    return runs;
}

// Qt's short date pattern ("dd.MM.yy", "M/d/yy", "yyyy-MM-dd", "d MMM yyyy") in the classic notation
// ("DD/MM/YYYY"): the parts in the locale's order with its widths, joined by the "/" placeholder. What the classic
// conversions cannot read back is left out or made numeric: literal words and trailing dots go, a month name
// becomes "MM", and a two-digit year is widened to four digits so that a written date keeps its century.
QString classicDateFormat(const QString& pattern)
{
    QStringList parts;
    bool day = false;
    bool month = false;
    bool year = false;
    for (const PatternToken& t : letterRuns(pattern)) {
        if (t.letter == u'd' && t.count <= 2 && !day) {
            parts.append(QString(t.count, u'D'));
            day = true;
        } else if (t.letter == u'M' && !month) {
            parts.append(t.count <= 2 ? QString(t.count, u'M') : QStringLiteral("MM"));
            month = true;
        } else if (t.letter == u'y' && !year) {
            parts.append(QStringLiteral("YYYY"));
            year = true;
        }
    }
    if (!(day && month && year))
        return QStringLiteral("DD/MM/YYYY");
    return parts.join(u'/');
}

// The long time format in the classic notation: hours (with the locale's width), minutes and seconds joined by the
// ":" placeholder, and "AMPM" where the locale writes a 12-hour clock, before or after as the locale does.
QString classicTimeFormat(const QString& pattern)
{
    QString hour = QStringLiteral("hh");
    int ampm = 0;  // -1 before the time, 1 after it
    bool sawHour = false;
    for (const PatternToken& t : letterRuns(pattern)) {
        if ((t.letter == u'h' || t.letter == u'H') && !sawHour) {
            hour = t.count >= 2 ? QStringLiteral("hh") : QStringLiteral("h");
            sawHour = true;
        } else if ((t.letter == u'a' || t.letter == u'A') && ampm == 0) {
            ampm = sawHour ? 1 : -1;
        }
    }
    const QString time = hour + QStringLiteral(":nn:ss");
    if (ampm < 0)
        return QStringLiteral("AMPM ") + time;
    if (ampm > 0)
        return time + QStringLiteral(" AMPM");
    return time;
}

FormatSettings& storage()
{
    // Taken from the locale on first use, so that every conversion, also one made before any window exists, sees
    // the user's settings.
    static FormatSettings settings = settingsFromSystemLocale();
    return settings;
}

}  // namespace

FormatSettings settingsFromSystemLocale()
{
    return settingsFromLocale(QLocale::system());
}

FormatSettings settingsFromLocale(const QLocale& locale)
{
    FormatSettings s;
    s.DecimalSeparator = firstChar(locale.decimalPoint(), u'.');
    s.ThousandSeparator = firstChar(locale.groupSeparator(), s.DecimalSeparator == u',' ? u'.' : u',');

    const QString datePattern = locale.dateFormat(QLocale::ShortFormat);
    s.DateSeparator = firstSeparator(datePattern, u'/');
    s.ShortDateFormat = classicDateFormat(datePattern);

    s.TimeSeparator = firstSeparator(locale.timeFormat(QLocale::ShortFormat), u':');
    s.LongTimeFormat = classicTimeFormat(locale.timeFormat(QLocale::LongFormat));
    return s;
}

FormatSettings& formatSettings()
{
    return storage();
}

void resetFormatSettings()
{
    storage() = settingsFromSystemLocale();
}

}  // namespace rtl
