#include "wizard/GridTitles.h"

#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "platform/LocUtils.h"

#include <array>
#include <cstring>
#include <optional>

namespace wizard {

namespace {

// The titles end in a blank where the columns' own names do, as the grids have always shown them.
constexpr std::array kTitles = {
    GridTitle{"ZStrukt.Index", "Index"},
    GridTitle{"ZStrukt.Feldname", "Feldname "},
    GridTitle{"ZStrukt.Laenge", "Länge "},
    GridTitle{"ZStrukt.Typbezeichnung", "Typ "},
    GridTitle{"ZStrukt.Zuordnung", "Zuordnung "},
    GridTitle{"QStrukt.Index", "Index"},
    GridTitle{"QStrukt.Feldname", "Feldname "},
    GridTitle{"QStrukt.Typbezeichnung", "Typ "},
    GridTitle{"QStrukt.Laenge", "Länge "},
    GridTitle{"ImpList.Bezeichnung", "Bezeichnung"},
    GridTitle{"ImpList.Quellformat", "Quellformat"},
    GridTitle{"ImpList.Quelldatei", "Quelldatei"},
    GridTitle{"ImpList.Zieldatei", "Zieldatei"},
};

}  // namespace

std::span<const GridTitle> GridTitles()
{
    return kTitles;
}

QString GridTitleText(const char* key)
{
    const QString id = QString::fromLatin1(key);
    if (const std::optional<QString> translated = platform::WindowText(id))
        return *translated;
    for (const GridTitle& title : kTitles) {
        if (std::strcmp(title.key, key) == 0)
            return QString::fromUtf8(title.german);
    }
    return id;
}

std::function<QString(const db::Record&)> ShownTypeName(db::Table& table, bool zStrukt)
{
    const auto names = zStrukt ? engine::TypeNameTable::ZStrukt : engine::TypeNameTable::QStrukt;
    return [&table, names](const db::Record& record) {
        // The columns by name: a table read from a setting file need not order them as ours does.
        const db::Field* typ = table.FindField(QStringLiteral("Typ"));
        const db::Field* stored = table.FindField(QStringLiteral("Typbezeichnung"));
        const auto at = [&record](const db::Field* field) {
            const auto column = field ? static_cast<std::size_t>(field->Index()) : record.size();
            return column < record.size() ? record[column] : QVariant();
        };
        const QVariant code = at(typ);
        // A row without a code (not one the structure readers wrote) shows what it holds.
        if (!code.isValid() || code.isNull())
            return at(stored).toString();
        return engine::ShownTypbezeichnung(code.toInt(), names);
    };
}

}  // namespace wizard
