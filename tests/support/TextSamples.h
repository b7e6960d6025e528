#pragma once

#include "engine/TextimportFixLen.h"
#include "rtl/CodePages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <vector>

// Sample texts and column boundaries for the tests of the text road, in the engine and in the wizard's pages.
namespace samples {

using Rows = std::vector<QStringList>;

// The bytes of a Windows or a DOS text file holding the given text.
inline QByteArray ansi(const char* utf8)
{
    return rtl::encode(QString::fromUtf8(utf8), rtl::CodePage::Windows1252);
}

inline QByteArray oem(const char* utf8)
{
    return rtl::encode(QString::fromUtf8(utf8), rtl::CodePage::Oem850);
}

inline QString u8(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A column boundary list with boundaries after the given characters.
inline engine::ColumnBoundaryList listOf(std::initializer_list<int> boundaries)
{
    engine::ColumnBoundaryList list;
    for (int b : boundaries)
        engine::TrennposHinzufuegen(list, b);
    return list;
}

// The boundaries a list holds, free slots left out.
inline std::set<int> boundariesOf(const engine::ColumnBoundaryList& list)
{
    std::set<int> result;
    for (std::int16_t v : list.FixTrennPositionen)
        if (v >= 1)
            result.insert(v);
    return result;
}

}  // namespace samples
