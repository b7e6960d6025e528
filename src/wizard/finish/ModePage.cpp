#include "wizard/finish/ModePage.h"

#include "engine/BriskoRoutines.h"
#include "engine/ImportSetting.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"
#include "wizard/PageSupport.h"

#include <QDateTime>
#include <limits>

namespace wizard {

namespace {

bool Info(const QString& text)
{
    platform::MessageBox(platform::MessageType::Information, text);
    return false;
}

bool InfoWithHelp(const QString& text, int helpContext)
{
    platform::MessageBox(platform::MessageType::Information, text, platform::Buttons::OkHelp, helpContext);
    return false;
}

bool Clash()
{
    return InfoWithHelp(texts::Text(65221) + kCrLf + kCrLf + texts::Text(64939), 16);
}

QString Hochzaehlen()
{
    return texts::Text(65249);
}

// The prefix and the number a text start value counts from: the trailing run of digits is the number.
struct TextStart {
    QString prefix;
    qint64 number = 0;
};

bool TextKeyFits(const engine::MappingRow& key, const QString& start, int recordCount,
                 const std::function<bool(const QVariant&)>& exists)
{
    bool lengthKnown = false;
    const int length = key.Laenge.toInt(&lengthKnown);
    if (lengthKnown && start.size() > length)
        return Info(texts::Text(65189));

    qsizetype digitsFrom = start.size();
    while (digitsFrom > 0 && start.at(digitsFrom - 1).isDigit() && start.at(digitsFrom - 1).unicode() < 128)
        --digitsFrom;
    TextStart from{start.left(digitsFrom), 0};
    if (digitsFrom == start.size()) {
        const QString& p = from.prefix;
        const QString example = p + QStringLiteral("0, ") + p + QStringLiteral("1...") + p + QStringLiteral("100");
        if (platform::MessageBox(platform::MessageType::Confirmation, texts::Text(64938) + example,
                                 platform::Buttons::YesNo) != platform::Button::Yes)
            return false;
    } else {
        // A run of digits too long for any key length: the first generated value is already too long.
        bool ok = false;
        from.number = start.mid(digitsFrom).toLongLong(&ok);
        if (!ok)
            return Info(texts::Format(texts::Text(64937), {Hochzaehlen()}));
    }
    for (int k = 0; k < recordCount; ++k) {
        QString value = from.prefix + QString::number(from.number + k);
        if (key.Ausrichtung_re && engine::IsNumeric(value) && lengthKnown && value.size() < length)
            value = engine::PadLeftTo(value, static_cast<std::uint16_t>(length));
        if (lengthKnown && value.size() > length)
            return Info(texts::Format(texts::Text(64937), {Hochzaehlen()}));
        if (exists(value))
            return Clash();
    }
    return true;
}

bool NumberKeyFits(int typ, const QString& start, int recordCount, const std::function<bool(const QVariant&)>& exists)
{
    // A start value that is no number raises the conversion error, as a typed number does everywhere.
    const double first = rtl::StrToFloat(start);
    double low = 0;
    double high = 0;
    switch (typ) {
    case 2:
        low = -32767;
        high = 32767;
        break;
    case 3:
        low = -2147483647.0;
        high = 2147483647.0;
        break;
    default:
        low = std::numeric_limits<double>::denorm_min();
        high = 1.7e308;
        break;
    }
    if (first < low || first > high)
        return InfoWithHelp(texts::Text(64941), 17);
    const bool integral = typ == 2 || typ == 3;
    for (int k = 0; k < recordCount; ++k) {
        const double value = first + k;
        if (value > high)
            return InfoWithHelp(texts::Format(texts::Text(64942), {Hochzaehlen()}), 17);
        const QVariant key = integral && value == static_cast<double>(static_cast<qint64>(value))
                                 ? QVariant(static_cast<qint64>(value))
                                 : QVariant(value);
        if (exists(key))
            return Clash();
    }
    return true;
}

QString DateFormatMessage(const engine::MappingRow& key, const QString& example)
{
    return QStringLiteral("Das Primärschlüsselfeld Ihrer Zieldatenbank ist vom Typ") + kCrLf + u'"' +
           key.Typbezeichnung + u'"' + kCrLf + kCrLf +
           QStringLiteral("Bitte geben Sie den Startwert folgendermaßen ein:") + kCrLf + example;
}

}  // namespace

bool StartwertFuerSchluesselPruefen(const engine::MappingRow& Key, const QString& Startwert, int RecordCount,
                                    const std::function<bool(const QVariant&)>& KeyExists)
{
    switch (Key.Typ) {
    case 1:
        return TextKeyFits(Key, Startwert, RecordCount, KeyExists);
    case 2:
    case 3:
    case 6:
    case 7:
        return NumberKeyFits(Key.Typ, Startwert, RecordCount, KeyExists);
    case 8:
        Info(texts::Format(texts::Text(64943), {Key.Typbezeichnung}));
        return true;
    case 9: {
        QDate date;
        if (!rtl::TryStrToDate(Startwert, date))
            return Info(DateFormatMessage(Key, QStringLiteral("TT.MM.JJJJ")));
        for (int k = 0; k < RecordCount; ++k)
            if (KeyExists(date.addDays(k)))
                return Clash();
        return true;
    }
    case 10: {
        QTime time;
        if (!rtl::TryStrToTime(Startwert, time))
            return Info(DateFormatMessage(Key, QStringLiteral("HH:MM:SS")));
        for (int k = 0; k < RecordCount; ++k)
            if (KeyExists(time.addSecs(k)))
                return Clash();
        return true;
    }
    case 11: {
        QDateTime moment;
        if (!rtl::TryStrToDateTime(Startwert, moment))
            return Info(texts::Format(texts::Text(64912), {Key.Typbezeichnung}));
        for (int k = 0; k < RecordCount; ++k)
            if (KeyExists(moment.addSecs(k)))
                return Clash();
        return true;
    }
    default:
        Info(texts::Format(texts::Text(64913), {Key.Typbezeichnung}));
        return true;
    }
}

}  // namespace wizard
