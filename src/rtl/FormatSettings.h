#pragma once

#include <QChar>
#include <QString>

class QLocale;

namespace rtl {

// The process-wide format settings every conversion reads. They start from the system locale and are changed at
// run time (an import setting brings its own separators and date format; the mapping page switches the decimal
// separator to ","). The short date format is written in the classic notation: "DD/MM/YYYY", "YYYY/MM/DD",
// "D/M/YY"; the "/" in it stands for DateSeparator.
struct FormatSettings {
    QChar DecimalSeparator = u'.';
    QChar ThousandSeparator = u',';
    QChar TimeSeparator = u':';
    QChar DateSeparator = u'/';
    QString ShortDateFormat = QStringLiteral("MM/DD/YYYY");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");
};

// The settings in force. Mutable on purpose: callers assign single members.
FormatSettings& formatSettings();

// Settings taken from a locale, in the classic notation: the locale's date separator becomes the "/" of the short
// date format, and a two-digit year is widened to four digits so that written dates keep their century.
FormatSettings settingsFromLocale(const QLocale& locale);

// Settings taken from the system locale (what the process starts with, at the first use of formatSettings()).
FormatSettings settingsFromSystemLocale();

// Puts the settings back to those of the system locale.
void resetFormatSettings();

// Keeps the current settings and restores them when it goes out of scope.
class FormatSettingsGuard {
public:
    FormatSettingsGuard() : saved_(formatSettings()) {}
    ~FormatSettingsGuard() { formatSettings() = saved_; }
    FormatSettingsGuard(const FormatSettingsGuard&) = delete;
    FormatSettingsGuard& operator=(const FormatSettingsGuard&) = delete;

private:
    FormatSettings saved_;
};

}  // namespace rtl
