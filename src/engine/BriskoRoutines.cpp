#include "engine/BriskoRoutines.h"

#include "db/Table.h"
#include "platform/UserInterface.h"
#include "rtl/CodePages.h"
#include "rtl/Conversions.h"
#include "rtl/Decimal15.h"
#include "rtl/FormatSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>

namespace engine {

namespace {

constexpr qint64 KopierPuffergroesse = 8192;

// Wildcard match with the rules of the platform the masks come from: '*' any run, '?' one character, no regard to
// case, and a pattern ending in ".*" also matching a name without any extension.
bool wildcardMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    if (p == pattern.size())
        return true;
    // "name" against "name.*": the dot and the star stand for an empty extension.
    return pattern.mid(p) == u".*" && !name.contains(u'.');
}

struct MaskParts {
    QString folder;   // with trailing separator
    QString pattern;
};

MaskParts splitMask(const QString& mask)
{
    const qsizetype cut = mask.lastIndexOf(u'/');
    if (cut < 0)
        return {QDir::currentPath() + u'/', mask};
    return {mask.left(cut + 1), mask.mid(cut + 1)};
}

// Regular files of the mask's folder whose names match, in the order the folder lists them.
QStringList matchingFiles(const MaskParts& mask)
{
    QStringList result;
    const QDir dir(mask.folder);
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& entry : entries) {
        if (wildcardMatch(mask.pattern, entry) && !QFileInfo(mask.folder + entry).isDir())
            result << entry;
    }
    return result;
}

// Whether the value is the double nearest to a decimal of at most 15 significant digits and at most `decimals`
// places (0 to 6): then its 15-digit form is that decimal, which no rounding at `decimals` places changes. Whole
// numbers, prices and values rounded before are such decimals.
bool isShortDecimal(double value, int decimals)
{
    static constexpr double Scale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4) || decimals > 6)
        return false;
    // A decimal with fewer places is one with `decimals` places too, so one test does while the scaled value stays
    // an exact whole number; only larger values go down the places one by one.
    if (magnitude * Scale[decimals] < 1e15)
        return static_cast<double>(std::llround(magnitude * Scale[decimals])) / Scale[decimals] == magnitude;
    for (int d = 0; d <= decimals; ++d) {
        const double product = magnitude * Scale[d];
        if (!(product < 1e15))
            return false;
        if (static_cast<double>(std::llround(product)) / Scale[d] == magnitude)
            return true;
    }
    return false;
}

// What FormatFixed(value, decimals) reads back as: the value's 15 significant digits, cut at `decimals` places with
// halves away from zero, as a double. Nothing when the rounded decimal lies beyond the double range.
std::optional<double> roundedAtDecimals(double value, int decimals)
{
    decimals = std::min(decimals, 18);
    if (value == 0.0)
        return 0.0;
    if (isShortDecimal(value, decimals))
        return value;
    rtl::Decimal15 d(value);
    d.roundAt(d.exponent + decimals);
    return d.read(value < 0);
}

}  // namespace

int CopyFiles(const QString& SourceMask, const QString& TargetDir, const QString& NewBaseName)
{
    if (SourceMask.isEmpty() || TargetDir.isEmpty()) {
        platform::ErrorBox(QStringLiteral("Quell- oder Zieldatei wurde nicht angegeben!"));
        return -1;
    }
    if (!QFileInfo(TargetDir).isDir()) {
        platform::ErrorBox(QStringLiteral("Zielpfad nicht vorhanden: ") + TargetDir);
        return -1;
    }
    const MaskParts mask = splitMask(SourceMask);
    const QString target = TargetDir.endsWith(u'/') ? TargetDir : TargetDir + u'/';
    std::uint16_t count = 0;
    for (const QString& entry : matchingFiles(mask)) {
        QString targetName = entry;
        if (!NewBaseName.isEmpty()) {
            const qsizetype dot = entry.lastIndexOf(u'.');
            targetName = NewBaseName + (dot >= 0 ? entry.mid(dot) : QString());
        }
        if (CopyFileTo(mask.folder + entry, target + targetName) == 0)
            ++count;
    }
    return count;
}

int CopyFileTo(const QString& Source, const QString& Target)
{
    const QString fullTarget = QFileInfo(Target).absoluteFilePath();
    QFile in(Source);
    if (!in.open(QIODevice::ReadOnly)) {
        platform::ErrorBox(QStringLiteral("Die Datei ") + Source + QStringLiteral("kann nicht geöffnet werden"));
        return 1;
    }
    // The copy goes to a temporary file beside the target and replaces the target only when it is complete.
    QSaveFile out(fullTarget);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly)) {
        platform::ErrorBox(QStringLiteral("Die Zieldatei ") + fullTarget + QStringLiteral("kann nicht angelegt werden"));
        return 2;
    }
    QByteArray buffer(KopierPuffergroesse, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), KopierPuffergroesse);
        if (got < 0 || (got > 0 && out.write(buffer.constData(), got) != got)) {
            out.cancelWriting();
            platform::ErrorBox(QStringLiteral("Die Zieldatei ") + fullTarget + QStringLiteral("kann nicht angelegt werden"));
            return 3;
        }
        if (got < KopierPuffergroesse)
            break;
    }
    if (!out.commit()) {
        platform::ErrorBox(QStringLiteral("Die Zieldatei ") + fullTarget + QStringLiteral("kann nicht angelegt werden"));
        return 4;
    }
    return 0;
}

bool FileHasAttr(const QString& FileName, std::uint16_t Attr)
{
    const QFileInfo info(FileName);
    if (!info.exists() && !info.isSymLink())
        return true;
    std::uint16_t attrs = 0;
    if (!info.isWritable())
        attrs |= faReadOnly;
    if (info.fileName().startsWith(u'.'))
        attrs |= faHidden;
    if (info.isDir())
        attrs |= faDirectory;
    return (attrs & Attr) == Attr;
}

QString IfThenStr(bool Cond, const QString& WhenTrue, const QString& WhenFalse)
{
    return Cond ? WhenTrue : WhenFalse;
}

bool IsNumeric(const QString& S)
{
    if (S.isEmpty())
        return false;
    for (const QChar c : S) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool EmptyTableExclusive(db::Table& Table)
{
    try {
        Table.Close();
        Table.setExclusive(true);
        Table.EmptyTable();
        Table.setExclusive(false);
        return true;
    } catch (const std::exception&) {
        Table.Close();
        const QString crlf = QStringLiteral("\r\n");
        platform::ErrorBox(QStringLiteral("Leeren der Datenbank ") + Table.TableName() + QStringLiteral(" ist fehlgeschlagen.") +
                  crlf + QStringLiteral("Die Datenbank konnte nicht exclusiv geöffnet werden") + crlf + crlf +
                  QStringLiteral("Mögliche Problemlösung:") + crlf +
                  QStringLiteral("Löschen Sie die Dateien P*.lck im aktuellen Programmverzeichnis"));
        return false;
    }
}

std::optional<double> NumberThroughText(double Value)
{
    const QChar separator = rtl::formatSettings().DecimalSeparator;
    if (!std::isfinite(Value) || separator.isDigit() || separator == u'+' || separator == u'-' || separator == u'E' ||
        separator == u'e')
        return std::nullopt;
    if (Value == 0.0)
        return 0.0;
    if (isShortDecimal(Value, 6))
        return Value;
    return rtl::Decimal15(Value).read(Value < 0);
}

QString PadLeftTo(const QString& S, std::uint16_t Width)
{
    if (S.size() >= Width)
        return S;
    // Built in one piece: right alignment pads a field of every record.
    QString padded(Width, u' ');
    std::copy(S.cbegin(), S.cend(), padded.begin() + (Width - S.size()));
    return padded;
}

QString CutToLength(const QString& S, std::uint16_t Width)
{
    return S.size() <= Width ? S : S.right(Width);
}

double RoundToDecimals(std::int8_t Decimals, double Value)
{
    // Rounding runs once or twice per field and record, so the usual case is done on the digits alone; the text
    // round trip stays for what it alone decides (an invalid count, a value that is no number or that its
    // rounding carries beyond the largest double, a decimal separator that reads as a digit).
    if (Decimals >= 0 && std::isfinite(Value) && !rtl::formatSettings().DecimalSeparator.isDigit()) {
        if (const std::optional<double> rounded = roundedAtDecimals(Value, Decimals))
            return *rounded;
    }
    return rtl::StrToFloat(rtl::FormatFixed(Value, Decimals, 40));
}

std::int32_t IntMax(std::int32_t A, std::int32_t B)
{
    return A > B ? A : B;
}

std::int32_t IntMin(std::int32_t A, std::int32_t B)
{
    return A < B ? A : B;
}

int DeleteFiles(const QString& Mask)
{
    if (Mask.isEmpty()) {
        platform::ErrorBox(QStringLiteral("Dateien wurden nicht angegeben!"));
        return -1;
    }
    const MaskParts mask = splitMask(Mask);
    std::uint16_t count = 0;
    for (const QString& entry : matchingFiles(mask)) {
        if (QFile::remove(mask.folder + entry))
            ++count;
    }
    return count;
}

QString IntToStrThousands(std::int32_t Value)
{
    // The counters of the progress window are rewritten for every record: digits and separators go straight into
    // one buffer, from the right.
    const QChar separator = rtl::formatSettings().ThousandSeparator;
    std::uint32_t rest = Value < 0 ? 0u - static_cast<std::uint32_t>(Value) : static_cast<std::uint32_t>(Value);
    QChar buffer[16];
    int pos = 16;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            buffer[--pos] = separator;
        buffer[--pos] = QChar(static_cast<char16_t>(u'0' + rest % 10));
        rest /= 10;
        ++digits;
    } while (rest > 0);
    if (Value < 0)
        buffer[--pos] = u'-';
    return QString(buffer + pos, 16 - pos);
}

std::int32_t StrToIntThousands(const QString& S)
{
    // Read with the separators skipped, which is what removing them first gives; only a text that is no number
    // goes the long way, for the conversion's own error.
    const QChar separator = rtl::formatSettings().ThousandSeparator;
    std::int64_t magnitude = 0;
    bool negative = false;
    bool started = false;
    int digits = 0;
    bool valid = true;
    for (const QChar c : S) {
        if (c == separator)
            continue;
        if (!started) {
            if (c == u' ')
                continue;
            started = true;
            if (c == u'+' || c == u'-') {
                negative = c == u'-';
                continue;
            }
        }
        if (c < u'0' || c > u'9' || magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            valid = false;
            break;
        }
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        ++digits;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (valid && digits > 0 && value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())
        return static_cast<std::int32_t>(value);
    QString plain = S;
    plain.remove(separator);
    return rtl::StrToInt(plain);
}

void BusyDelay()
{
    volatile std::uint32_t counter = 1000000001u;
    while (counter != 0)
        counter = counter - 1;
}

QString OemToAnsiStr(const QString& S)
{
    return S.isEmpty() ? S : rtl::OemToAnsi(S);
}

QString CopyRange(const QString& S, std::int32_t FromPos, std::int32_t ToPos)
{
    if (FromPos > S.size() || ToPos < FromPos)
        return {};
    const qsizetype from = FromPos < 1 ? 1 : FromPos;
    const qsizetype to = ToPos > S.size() ? S.size() : ToPos;
    return from > to ? QString() : S.mid(from - 1, to - from + 1);
}

}  // namespace engine
