#include "rtl/Conversions.h"

#include "rtl/CodePages.h"
#include "rtl/Decimal15.h"
#include "rtl/FormatSettings.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace rtl {

EConvertError::EConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}

namespace {

[[noreturn]] void fail(const char* pattern, const QString& value)
{
    throw EConvertError(QString::fromUtf8(pattern).arg(value));
}

constexpr const char* kInvalidFloat = "'%1' ist kein gültiger Gleitkommawert";
constexpr const char* kInvalidInteger = "'%1' ist kein gültiger Integerwert";
constexpr const char* kInvalidDate = "'%1' ist kein gültiges Datum";
constexpr const char* kInvalidTime = "'%1' ist keine gültige Zeit";
constexpr const char* kInvalidDateTime = "'%1' ist kein gültiges Datum und Zeit";
constexpr const char* kInvalidFormat = "Format '%1' ungültig oder nicht kompatibel mit Argument";

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// ---------------------------------------------------------------------------------------------------------------
// Floating point

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// Parses the classic float syntax. Blanks are the space character only, as in the classic runtime.
std::optional<double> parseFloat(const QString& s)
{
    const QChar decimal = formatSettings().DecimalSeparator;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    std::string ascii;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    // The decimal magnitude of the first significant digit, to tell overflow from underflow.
    int integerDigits = 0;
    int leadingFractionZeros = 0;
    bool significant = false;
    int mantissaDigits = 0;
    while (i < n && isDigit(s[i])) {
        significant = significant || s[i] != u'0';
        if (significant)
            ++integerDigits;
        ascii += static_cast<char>(s[i].unicode());
        ++mantissaDigits;
        ++i;
    }
    if (i < n && s[i] == decimal) {
        ascii += '.';
        ++i;
        while (i < n && isDigit(s[i])) {
            if (!significant && s[i] == u'0')
                ++leadingFractionZeros;
            significant = significant || s[i] != u'0';
            ascii += static_cast<char>(s[i].unicode());
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    long long exponent = 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) {
            negativeExponent = s[i] == u'-';
            ++i;
        }
        int exponentDigits = 0;
        while (i < n && isDigit(s[i])) {
            if (exponent < 1000000)
                exponent = exponent * 10 + (s[i].unicode() - u'0');
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0)
            return std::nullopt;
        if (negativeExponent)
            exponent = -exponent;
        ascii += 'e';
        ascii += std::to_string(exponent);
    }
    while (i < n && s[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;
    if (!significant)
        return negative ? -0.0 : 0.0;

    double value = 0.0;
    const char* last = ascii.data() + ascii.size();
    const auto res = std::from_chars(ascii.data(), last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large is an error; too small for a double is zero, as when the classic runtime assigns it.
        const long long magnitude = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
        if (magnitude > 0)
            return std::nullopt;
        return negative ? -0.0 : 0.0;
    }
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

// ---------------------------------------------------------------------------------------------------------------
// Dates and times

enum class Part { Day, Month, Year };

// The order of day, month and year in the short date format. Unlike the classic runtime, which looks at the first
// letter only and so knows just three orders, every order the format can express is honoured: a source written
// "YYYY/DD/MM" must be read in that order.
std::array<Part, 3> dateOrder(const QString& format)
{
    std::array<Part, 3> order{};
    int found = 0;
    bool seen[3] = {false, false, false};
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        const QChar u = c.toUpper();
        Part p;
        if (u == u'D')
            p = Part::Day;
        else if (u == u'M')
            p = Part::Month;
        else if (u == u'Y' || u == u'E')
            p = Part::Year;
        else
            continue;
        if (!seen[static_cast<int>(p)]) {
            seen[static_cast<int>(p)] = true;
            order[found++] = p;
        }
    }
    if (found == 3)
        return order;
    // A format without all three parts: the first part decides, as in the classic runtime.
    if (found > 0 && order[0] == Part::Day)
        return {Part::Day, Part::Month, Part::Year};
    if (found > 0 && order[0] == Part::Year)
        return {Part::Year, Part::Month, Part::Day};
    return {Part::Month, Part::Day, Part::Year};
}

class Scanner {
public:
    explicit Scanner(const QString& s) : s_(s) {}

    bool atEnd() const { return pos_ >= s_.size(); }

    void skipBlanks()
    {
        while (pos_ < s_.size() && s_[pos_] == u' ')
            ++pos_;
    }

    // Up to four digits after optional blanks; digits is how many were read.
    bool number(int& value, int& digits)
    {
        skipBlanks();
        qsizetype i = pos_;
        int n = 0;
        while (i < s_.size() && isDigit(s_[i]) && n < 1000) {
            n = n * 10 + (s_[i].unicode() - u'0');
            ++i;
        }
        if (i == pos_)
            return false;
        digits = static_cast<int>(i - pos_);
        pos_ = i;
        value = n;
        return true;
    }

    bool character(QChar c)
    {
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool word(QStringView w)
    {
        skipBlanks();
        if (s_.size() - pos_ >= w.size() && QStringView(s_).mid(pos_, w.size()).compare(w, Qt::CaseInsensitive) == 0) {
            pos_ += w.size();
            return true;
        }
        return false;
    }

    // Digits of a fraction of a second; only the first three count.
    bool fraction(int& msec)
    {
        qsizetype i = pos_;
        int value = 0;
        int count = 0;
        while (i < s_.size() && isDigit(s_[i])) {
            if (count < 3) {
                value = value * 10 + (s_[i].unicode() - u'0');
                ++count;
            }
            ++i;
        }
        if (i == pos_)
            return false;
        while (count < 3) {
            value *= 10;
            ++count;
        }
        pos_ = i;
        msec = value;
        return true;
    }

private:
    const QString& s_;
    qsizetype pos_ = 0;
};

// Two-digit years fall into the hundred years from 50 years back to 49 years ahead of the current year.
int windowedYear(int year)
{
    const int threshold = QDate::currentDate().year() - 50;
    int y = year + threshold / 100 * 100;
    if (y < threshold)
        y += 100;
    return y;
}

bool scanDate(Scanner& sc, QDate& date)
{
    const FormatSettings& fs = formatSettings();
    const auto order = dateOrder(fs.ShortDateFormat);
    int n[3] = {0, 0, 0};
    int len[3] = {0, 0, 0};
    if (!sc.number(n[0], len[0]) || !sc.character(fs.DateSeparator) || !sc.number(n[1], len[1]))
        return false;
    int day = 0;
    int month = 0;
    int year = 0;
    int yearDigits = 0;
    if (sc.character(fs.DateSeparator)) {
        if (!sc.number(n[2], len[2]))
            return false;
        for (int i = 0; i < 3; ++i) {
            switch (order[i]) {
            case Part::Day:
                day = n[i];
                break;
            case Part::Month:
                month = n[i];
                break;
            case Part::Year:
                year = n[i];
                yearDigits = len[i];
                break;
            }
        }
    } else {
        // Day and month only, in the order the format gives them; the year is the current one.
        year = QDate::currentDate().year();
        yearDigits = 4;
        int k = 0;
        for (Part p : order) {
            if (p == Part::Year)
                continue;
            (p == Part::Day ? day : month) = n[k++];
        }
    }
    if (yearDigits <= 2 && year <= 99)
        year = windowedYear(year);
    if (year < 1 || year > 9999 || !QDate::isValid(year, month, day))
        return false;
    date = QDate(year, month, day);
    return true;
}

bool scanTime(Scanner& sc, QTime& time)
{
    const FormatSettings& fs = formatSettings();
    int baseHour = -1;
    if (sc.word(u"AM"))
        baseHour = 0;
    else if (sc.word(u"PM"))
        baseHour = 12;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    int digits = 0;
    if (!sc.number(hour, digits))
        return false;
    if (sc.character(fs.TimeSeparator)) {
        if (!sc.number(minute, digits))
            return false;
        if (sc.character(fs.TimeSeparator)) {
            if (!sc.number(second, digits))
                return false;
            if (sc.character(fs.DecimalSeparator) && !sc.fraction(msec))
                return false;
        }
    }
    if (baseHour < 0) {
        if (sc.word(u"AM"))
            baseHour = 0;
        else if (sc.word(u"PM"))
            baseHour = 12;
    }
    if (baseHour >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        if (hour == 12)
            hour = 0;
        hour += baseHour;
    }
    sc.skipBlanks();
    if (!QTime::isValid(hour, minute, second, msec))
        return false;
    time = QTime(hour, minute, second, msec);
    return true;
}

// The day the classic runtime counts from; a time without a date lies on it.
QDate zeroDate()
{
    return QDate(1899, 12, 30);
}

QString padded(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// Appends value with at least width digits; formatting runs per record, so no temporary strings.
void appendPadded(QString& out, int value, int width)
{
    if (value < 0) {
        out += padded(value, width);
        return;
    }
    char16_t digits[12];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = n; i < width; ++i)
        out += u'0';
    while (n > 0)
        out += QChar(digits[--n]);
}

void appendRepeated(QString& out, QChar c, int count)
{
    for (int i = 0; i < count; ++i)
        out += c;
}

bool hasAmPm(const QString& format)
{
    // One pass, as every date written as text asks: each of the three markers begins with an A.
    const QStringView view(format);
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view[i] != u'A' && view[i] != u'a')
            continue;
        const QStringView rest = view.mid(i);
        if (rest.startsWith(u"AM/PM", Qt::CaseInsensitive) || rest.startsWith(u"A/P", Qt::CaseInsensitive) ||
            rest.startsWith(u"AMPM", Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The classic date and time pattern letters, case-insensitive: d dd ddd dddd, m mm mmm mmmm (minutes right after
// an hour), yy yyyy, h hh, n nn, s ss, z zzz, am/pm a/p ampm, "/" for DateSeparator, ":" for TimeSeparator and
// quoted literals.
QString formatDateTime(const QString& format, const QDate& date, const QTime& time)
{
    const FormatSettings& fs = formatSettings();
    // Only names of days and months need the locale, and building it costs more than the rest of the call.
    std::optional<QLocale> systemLocale;
    const auto locale = [&systemLocale]() -> const QLocale& {
        if (!systemLocale)
            systemLocale.emplace(QLocale::system());
        return *systemLocale;
    };
    const bool twelveHour = hasAmPm(format);
    // Each of year(), month() and day() works out the whole calendar date again; once is enough.
    int year = 0;
    int month = 0;
    int day = 0;
    bool partsKnown = false;
    const auto parts = [&] {
        if (!partsKnown) {
            date.getDate(&year, &month, &day);
            partsKnown = true;
        }
    };
    QString out;
    out.reserve(format.size() + 8);
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        const QChar u = c.toUpper();
        if (c == u'"' || c == u'\'') {
            qsizetype end = format.indexOf(c, i + 1);
            if (end < 0)
                end = format.size();
            out += QStringView(format).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (u == u'A') {
            const QStringView rest = QStringView(format).mid(i);
            const int hour = time.hour();
            if (rest.startsWith(u"AM/PM", Qt::CaseInsensitive)) {
                out += hour < 12 ? u"AM" : u"PM";
                i += 5;
                continue;
            }
            if (rest.startsWith(u"A/P", Qt::CaseInsensitive)) {
                out += hour < 12 ? u'A' : u'P';
                i += 3;
                continue;
            }
            if (rest.startsWith(u"AMPM", Qt::CaseInsensitive)) {
                out += hour < 12 ? u"AM" : u"PM";
                i += 4;
                continue;
            }
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toUpper() == u)
            ++run;
        const int count = static_cast<int>(run);
        if (u == u'D') {
            parts();
            if (count <= 2)
                appendPadded(out, day, count);
            else if (count == 3)
                out += locale().dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else
                out += locale().dayName(date.dayOfWeek(), QLocale::LongFormat);
            afterHour = false;
        } else if (u == u'M' && afterHour) {
            appendPadded(out, time.minute(), qMin(count, 2));
            afterHour = false;
        } else if (u == u'M') {
            parts();
            if (count <= 2)
                appendPadded(out, month, count);
            else if (count == 3)
                out += locale().monthName(month, QLocale::ShortFormat);
            else
                out += locale().monthName(month, QLocale::LongFormat);
        } else if (u == u'Y') {
            parts();
            appendPadded(out, count <= 2 ? year % 100 : year, count <= 2 ? 2 : 4);
            afterHour = false;
        } else if (u == u'H') {
            int hour = time.hour();
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            appendPadded(out, hour, qMin(count, 2));
            afterHour = true;
        } else if (u == u'N') {
            appendPadded(out, time.minute(), qMin(count, 2));
            afterHour = false;
        } else if (u == u'S') {
            appendPadded(out, time.second(), qMin(count, 2));
            afterHour = false;
        } else if (u == u'Z') {
            appendPadded(out, time.msec(), count >= 3 ? 3 : 1);
        } else if (c == u'/') {
            appendRepeated(out, fs.DateSeparator, count);
        } else if (c == u':') {
            appendRepeated(out, fs.TimeSeparator, count);
        } else {
            appendRepeated(out, c, count);
        }
        i += run;
    }
    return out;
}

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

}  // namespace

// -------------------------------------------------------------------------------------------------------------------

double StrToFloat(const QString& s)
{
    const auto value = parseFloat(s);
    if (!value)
        fail(kInvalidFloat, s);
    return *value;
}

bool TryStrToFloat(const QString& s, double& value)
{
    const auto parsed = parseFloat(s);
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

namespace {

// A value that is exactly the double nearest to a decimal with at most 15 digits and few decimals (whole numbers,
// prices, measurements) is written straight from that decimal: the 15-digit rounding of the value is that decimal,
// as the grid of 15 digits is more than four times coarser than the double's precision. Anything else, and
// values small enough for the scientific form, return false.
bool shortDecimalToStr(double value, QChar separator, QString& out)
{
    constexpr double kLimit = 1e15;
    const double magnitude = std::fabs(value);
    if (!(magnitude < kLimit) || magnitude < 1e-4)
        return false;
    constexpr int kMaxDecimals = 6;
    static constexpr double kScale[kMaxDecimals + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    std::int64_t scaled = 0;
    int decimals = 0;
    for (;; ++decimals) {
        if (decimals > kMaxDecimals)
            return false;
        const double product = magnitude * kScale[decimals];
        if (!(product < kLimit))
            return false;
        scaled = std::llround(product);
        if (static_cast<double>(scaled) / kScale[decimals] == magnitude)
            break;
    }
    char16_t buf[32];
    int pos = 32;
    std::int64_t rest = scaled;
    for (int i = 0; i < decimals; ++i) {
        buf[--pos] = char16_t(u'0' + rest % 10);
        rest /= 10;
    }
    if (decimals > 0)
        buf[--pos] = separator.unicode();
    do {
        buf[--pos] = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (value < 0)
        buf[--pos] = u'-';
    out = QString(reinterpret_cast<const QChar*>(buf + pos), 32 - pos);
    return true;
}

}  // namespace

QString FloatToStr(double value)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    if (QString fast; shortDecimalToStr(value, formatSettings().DecimalSeparator, fast))
        return fast;
    const Decimal15 d(value);
    if (d.count == 0)
        return QStringLiteral("0");
    const QChar sep = formatSettings().DecimalSeparator;
    QString out;
    out.reserve(24);  // the longest form: sign, 15 digits, separator, three leading zeros or an exponent
    if (std::signbit(value))
        out += u'-';
    const int ndigits = d.count;
    if (d.exponent > 15 || d.exponent < -3) {
        // Scientific: one digit before the separator, an exponent with no plus sign and no leading zeros.
        out += QLatin1Char(d.digits[0]);
        if (ndigits > 1) {
            out += sep;
            out += QLatin1String(d.digits + 1, ndigits - 1);
        }
        out += u'E';
        out += QString::number(d.exponent - 1);
        return out;
    }
    if (d.exponent <= 0) {
        out += u'0';
        out += sep;
        out += QString(-d.exponent, u'0');
        out += QLatin1String(d.digits, ndigits);
        return out;
    }
    if (ndigits <= d.exponent) {
        out += QLatin1String(d.digits, ndigits);
        out += QString(d.exponent - ndigits, u'0');
        return out;
    }
    out += QLatin1String(d.digits, d.exponent);
    out += sep;
    out += QLatin1String(d.digits + d.exponent, ndigits - d.exponent);
    return out;
}

int RoundDecimalDigits(char* digits, int count, int keep, int& exponent)
{
    if (keep < 0)
        return 0;
    if (keep < count) {
        const bool up = digits[keep] >= '5';
        count = keep;
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits[k] == '9') {
                digits[k] = '0';
                --k;
            }
            if (k >= 0) {
                ++digits[k];
            } else {
                digits[0] = '1';
                count = 1;
                ++exponent;
            }
        }
    }
    while (count > 0 && digits[count - 1] == '0')
        --count;
    return count;
}

QString FormatFixed(double value, int decimals, int width)
{
    if (decimals < 0)
        fail(kInvalidFormat, QStringLiteral("%%1.%2f").arg(width).arg(decimals));
    decimals = qMin(decimals, 18);
    QString out;
    if (!std::isfinite(value)) {
        out = nonFinite(value);
    } else {
        // Rounded from the 15-digit decimal form, not from the binary value: 2.345 is stored as 2.34499999...,
        // but the classic runtime sees 2.345 and so gives 2.35.
        Decimal15 d(value);
        // Halves away from zero: the sign is applied afterwards.
        d.roundAt(d.exponent + decimals);
        const char* digits = d.digits;
        const int ndigits = d.count;
        const int exponent = ndigits == 0 ? 0 : d.exponent;
        if (ndigits > 0 && std::signbit(value))
            out += u'-';
        // Integer part.
        if (exponent <= 0) {
            out += u'0';
        } else {
            for (int k = 0; k < exponent; ++k)
                out += k < ndigits ? QChar(QLatin1Char(digits[k])) : QChar(u'0');
        }
        if (decimals > 0) {
            out += formatSettings().DecimalSeparator;
            for (int k = 0; k < decimals; ++k) {
                const int idx = exponent + k;
                out += idx >= 0 && idx < ndigits ? QChar(QLatin1Char(digits[idx])) : QChar(u'0');
            }
        }
    }
    if (out.size() < width)
        out = QString(width - out.size(), u' ') + out;
    return out;
}

QString IntToStr(std::int64_t value)
{
    return QString::number(value);
}

bool TryStrToInt(const QString& s, std::int32_t& value)
{
    // Leading blanks and a sign are allowed, nothing after the last digit: the classic runtime's integer reader.
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == n)
        return false;
    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (!isDigit(s[i]))
            return false;
        magnitude = magnitude * 10 + (s[i].unicode() - u'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    const std::int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(result);
    return true;
}

std::int32_t StrToInt(const QString& s)
{
    std::int32_t value = 0;
    if (!TryStrToInt(s, value))
        fail(kInvalidInteger, s);
    return value;
}

bool TryStrToDate(const QString& s, QDate& value)
{
    Scanner sc(s);
    QDate date;
    if (!scanDate(sc, date))
        return false;
    sc.skipBlanks();
    if (!sc.atEnd())
        return false;
    value = date;
    return true;
}

bool TryStrToTime(const QString& s, QTime& value)
{
    Scanner sc(s);
    QTime time;
    if (!scanTime(sc, time) || !sc.atEnd())
        return false;
    value = time;
    return true;
}

bool TryStrToDateTime(const QString& s, QDateTime& value)
{
    Scanner sc(s);
    QDate date;
    if (scanDate(sc, date)) {
        sc.skipBlanks();
        QTime time(0, 0);
        if (sc.atEnd() || (scanTime(sc, time) && sc.atEnd())) {
            // UTC keeps the clock time as written, also one that a change to summer time skips locally.
            value = QDateTime(date, time, Qt::UTC);
            return true;
        }
        return false;
    }
    QTime time;
    if (!TryStrToTime(s, time))
        return false;
    value = QDateTime(zeroDate(), time, Qt::UTC);
    return true;
}

QDate StrToDate(const QString& s)
{
    QDate d;
    if (!TryStrToDate(s, d))
        fail(kInvalidDate, s);
    return d;
}

QTime StrToTime(const QString& s)
{
    QTime t;
    if (!TryStrToTime(s, t))
        fail(kInvalidTime, s);
    return t;
}

QDateTime StrToDateTime(const QString& s)
{
    QDateTime dt;
    if (!TryStrToDateTime(s, dt))
        fail(kInvalidDateTime, s);
    return dt;
}

QString DateToStr(const QDate& d)
{
    if (!d.isValid())
        return QString();
    return formatDateTime(formatSettings().ShortDateFormat, d, QTime(0, 0));
}

bool DateTextHasNonDigit()
{
    // Every character of the format that is no pattern letter, no digit, no quote and no separator mark is written
    // as it stands (or, for an A, as a letter of AM/PM), quoted or not; each separator mark writes its separator.
    const FormatSettings& fs = formatSettings();
    for (const QChar c : fs.ShortDateFormat) {
        if (c == u'/') {
            if (!fs.DateSeparator.isDigit())
                return true;
            continue;
        }
        if (c == u':') {
            if (!fs.TimeSeparator.isDigit())
                return true;
            continue;
        }
        if (c == u'"' || c == u'\'' || (c >= u'0' && c <= u'9'))
            continue;
        switch (c.toUpper().unicode()) {
        case u'D': case u'M': case u'Y': case u'H': case u'N': case u'S': case u'Z':
            continue;
        default:
            return true;
        }
    }
    return false;
}

QString TimeToStr(const QTime& t)
{
    if (!t.isValid())
        return QString();
    return formatDateTime(formatSettings().LongTimeFormat, zeroDate(), t);
}

QString DateTimeToStr(const QDateTime& dt)
{
    if (!dt.isValid())
        return QString();
    QString out = DateToStr(dt.date());
    const QTime t = dt.time();
    if (t.isValid() && t != QTime(0, 0))
        out += u' ' + TimeToStr(t);
    return out;
}

QString Trim(const QString& s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && isBlank(s[first]))
        ++first;
    while (last > first && isBlank(s[last - 1]))
        --last;
    return s.mid(first, last - first);
}

QString TrimLeft(const QString& s)
{
    qsizetype first = 0;
    while (first < s.size() && isBlank(s[first]))
        ++first;
    return s.mid(first);
}

QString TrimRight(const QString& s)
{
    qsizetype last = s.size();
    while (last > 0 && isBlank(s[last - 1]))
        --last;
    return s.left(last);
}

QString UpperCase(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return out;
}

QString LowerCase(const QString& s)
{
    QString out = s;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return out;
}

namespace {

// One character at a time, so the text keeps its length ("ß" stays "ß"); a character of the ANSI code page keeps
// a partner of the same code page (the Greek capital of "µ" has no 1252 byte, so "µ" stays).
template <typename Map>
QString ansiCase(const QString& s, Map map)
{
    QString out = s;
    for (QChar& c : out) {
        const QChar mapped = map(c);
        if (mapped == c)
            continue;
        if (toByte(c.unicode(), CodePage::Windows1252) >= 0 && toByte(mapped.unicode(), CodePage::Windows1252) < 0)
            continue;
        c = mapped;
    }
    return out;
}

}  // namespace

QString AnsiUpperCase(const QString& s)
{
    return ansiCase(s, [](QChar c) { return c.toUpper(); });
}

QString AnsiLowerCase(const QString& s)
{
    return ansiCase(s, [](QChar c) { return c.toLower(); });
}

}  // namespace rtl
