#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cstdint>
#include <stdexcept>
#include <string>

// String conversions with the behaviour of the classic runtime the program's rules are written against. Every
// conversion that depends on the locale reads rtl::formatSettings() at the moment of the call.
namespace rtl {

// Raised when a text is not a value of the wanted kind; what() names the value, e.g.
// "'12a' ist kein gültiger Gleitkommawert".
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Floating point: optional blanks around, optional sign, digits with at most one DecimalSeparator, optional
// exponent "E"/"e" with optional sign. No thousands separators. A value too large for a double is an error, one
// too small is zero.
double StrToFloat(const QString& s);
bool TryStrToFloat(const QString& s, double& value);

// General format with 15 significant digits, the DecimalSeparator, no thousands separators; exponent form only
// where fixed notation would need more than 15 digits ("1E20", "1,5E-7").
QString FloatToStr(double value);

// Format("%<width>.<decimals>f", value): fixed point, halves rounded away from zero, right-aligned in width
// characters (padding blanks in front), DecimalSeparator as the decimal point. The rounding starts from the
// value's 15-significant-digit decimal form, as in the classic runtime: 2.345 gives "2.35" although the double is
// 2.34499999... More than 18 decimals count as 18; negative decimals are an invalid format (EConvertError).
QString FormatFixed(double value, int decimals, int width = 0);
// Cuts the significant decimal digits digits[0..count) after keep of them, halves away from zero, and drops the
// trailing zeros; a carry out of the first digit (0.999 -> 1) leaves the single digit 1 and raises exponent by one.
// Returns how many digits remain (none for a negative keep). The rounding FormatFixed does on the 15-digit form.
int RoundDecimalDigits(char* digits, int count, int keep, int& exponent);

// 32-bit integers: optionally signed decimal digits, leading blanks allowed (trailing ones are not, as in the
// classic runtime); anything else, or a value out of the 32-bit range, raises
// "'<value>' ist kein gültiger Integerwert".
QString IntToStr(std::int64_t value);
std::int32_t StrToInt(const QString& s);
bool TryStrToInt(const QString& s, std::int32_t& value);

// Dates and times under the current settings. The day/month/year order comes from ShortDateFormat (every one of
// the six orders); a date of two numbers is day and month of the current year; a two-digit year is taken into the
// century window around the current year (50 years back, 49 ahead). Times are hours with optional minutes,
// seconds and fraction (after the DecimalSeparator), and an optional "AM"/"PM" before or after. A date and time
// text may also be a time alone, which lies on 30.12.1899, the classic runtime's day zero. Failures raise
// EConvertError: "'<value>' ist kein gültiges Datum", "... keine gültige Zeit", "... kein gültiges Datum und Zeit".
QDate StrToDate(const QString& s);
QTime StrToTime(const QString& s);
QDateTime StrToDateTime(const QString& s);
bool TryStrToDate(const QString& s, QDate& value);
bool TryStrToTime(const QString& s, QTime& value);
bool TryStrToDateTime(const QString& s, QDateTime& value);
// Written in ShortDateFormat and LongTimeFormat (classic pattern letters, case-insensitive: d dd ddd dddd,
// m mm mmm mmmm, yy yyyy, h hh, n nn, s ss, z zzz, am/pm a/p ampm; "/" and ":" stand for the separators).
QString DateToStr(const QDate& d);
// True when every text DateToStr writes for a valid date holds a character other than a digit, which the format
// settings alone decide (a separator or a literal that is no digit); false when the date may decide.
bool DateTextHasNonDigit();
QString TimeToStr(const QTime& t);
// Date and time joined by a blank; the time part is left out at midnight. An invalid value gives an empty text.
QString DateTimeToStr(const QDateTime& dt);

// Trim removes every character up to and including the blank (code <= 32) from both ends; TrimLeft and TrimRight
// from one end only.
QString Trim(const QString& s);
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);

// UpperCase changes only a-z; AnsiUpperCase changes every letter that has an upper-case form.
QString UpperCase(const QString& s);
QString LowerCase(const QString& s);
QString AnsiUpperCase(const QString& s);
QString AnsiLowerCase(const QString& s);

}  // namespace rtl
