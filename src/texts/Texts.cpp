#include "texts/Texts.h"

#include <QDebug>
#include <algorithm>
#include <utility>

namespace texts {

namespace {

LanguageLookup& activeLookup()
{
    static LanguageLookup lookup;
    return lookup;
}

const Entry* findEntry(int id)
{
    const std::span<const Entry> table = GermanTable();
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const Entry& entry, int wanted) { return entry.id < wanted; });
    return it != table.end() && it->id == id ? &*it : nullptr;
}

}  // namespace

QString GermanText(int id)
{
    const Entry* entry = findEntry(id);
    return entry ? QString::fromUtf8(entry->text) : QString();
}

bool HasText(int id)
{
    return findEntry(id) != nullptr;
}

QString MissingTextMarker(int id)
{
    return QStringLiteral("[Text %1]").arg(id);
}

QString Text(int id)
{
    if (const LanguageLookup& lookup = activeLookup()) {
        if (std::optional<QString> fromModule = lookup(id))
            return *std::move(fromModule);
    }
    if (const Entry* entry = findEntry(id))
        return QString::fromUtf8(entry->text);
    qWarning("No program text has the number %d", id);
    return MissingTextMarker(id);
}

void SetLanguageLookup(LanguageLookup lookup)
{
    activeLookup() = std::move(lookup);
}

ScopedLanguageLookup::ScopedLanguageLookup(LanguageLookup lookup) : previous_(std::move(activeLookup()))
{
    activeLookup() = std::move(lookup);
}

ScopedLanguageLookup::~ScopedLanguageLookup()
{
    activeLookup() = std::move(previous_);
}

QString Format(const QString& pattern, std::initializer_list<QString> values)
{
    QString result;
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype at = pattern.indexOf(QLatin1String("%s"), from);
        if (at < 0)
            break;
        result += pattern.mid(from, at - from) + value;
        from = at + 2;
    }
    return result + pattern.mid(from);
}

}  // namespace texts
