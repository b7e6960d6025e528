#include "wizard/finish/StoredSetting.h"

#include "engine/ImportSetting.h"
#include "texts/Texts.h"
#include "wizard/PageSupport.h"

#include <QFileInfo>
#include <limits>

namespace wizard {

QString FixBreakText(const engine::BoundarySlots& boundaries)
{
    QString text;
    for (std::int16_t slot : boundaries)
        text += QString::number(slot) + u';';
    return text;
}

std::optional<engine::BoundarySlots> FixBreakSlots(const QString& FixBreak)
{
    engine::BoundarySlots boundaries;
    boundaries.fill(engine::FreeSlot);
    int next = 0;
    QString digits;
    for (QChar c : FixBreak) {
        if (c != u';') {
            digits += c;
            continue;
        }
        bool ok = false;
        const int value = digits.toInt(&ok);
        digits.clear();
        if (!ok || value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
        if (value == 0)
            continue;
        if (next >= engine::BoundarySlotCount)
            return std::nullopt;
        boundaries[next++] = static_cast<std::int16_t>(value);
    }
    return boundaries;
}

QString StoredRowFault(const engine::ImportSetting& setting)
{
    const std::pair<int, const QString*> separators[] = {
        {61454, &setting.Decimal},
        {61455, &setting.Tausend},
        {61456, &setting.Zeit},
        {61457, &setting.Datum},
    };
    for (const auto& [text, value] : separators)
        if (value->size() != 1)
            return texts::Format(texts::Text(text), {*value});
    if (setting.TMJ.isEmpty())
        return texts::Text(61458);
    if (IsTextSource(setting.Quelldatei) && setting.FixVar.value_or(0) == 1 && !FixBreakSlots(setting.FixBreak))
        return texts::Text(61459);
    if (setting.Importmodus && (*setting.Importmodus < 1 || *setting.Importmodus > 5))
        return texts::Format(texts::Text(61460), {QString::number(*setting.Importmodus)});
    return QString();
}

bool IsTextSource(const QString& fileName)
{
    return QuellformatOf(fileName).isEmpty();
}

QString QuellformatOf(const QString& fileName)
{
    const QString extension = UpperExtension(fileName);
    if (extension == u".DB")
        return QStringLiteral("Paradox");
    if (extension == u".DBF")
        return QStringLiteral("dBase");
    if (extension == u".MDB")
        return QStringLiteral("Access");
    return QString();
}

}  // namespace wizard
