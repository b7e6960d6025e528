#pragma once

// Sample data shared by the benchmarks, so that the wizard's figures and the engine's own are taken on the same
// records and the same text.

#include "db/Field.h"
#include "rtl/CodePages.h"

#include <QChar>
#include <QFile>
#include <QString>
#include <cstdio>

namespace bench {

// Twelve fields of a customer's order: numbers, texts, amounts and a date.
inline const db::FieldDefList& recordFields()
{
    using db::FieldType;
    auto def = [](const char* name, FieldType type, int size = 0) {
        return db::FieldDef{QString::fromUtf8(name), type, size, 0, false};
    };
    static const db::FieldDefList fields{
        def("Nr", FieldType::ftInteger),         def("Name", FieldType::ftString, 30),
        def("Vorname", FieldType::ftString, 20), def("Ort", FieldType::ftString, 25),
        def("Plz", FieldType::ftString, 5),      def("Strasse", FieldType::ftString, 30),
        def("Menge", FieldType::ftFloat),        def("Preis", FieldType::ftFloat),
        def("Betrag", FieldType::ftFloat),       def("Datum", FieldType::ftDate),
        def("Anzahl", FieldType::ftInteger),     def("Notiz", FieldType::ftString, 40),
    };
    return fields;
}

// Writes `lines` separated lines after `text` (a heading, or nothing) in Windows-1252: ten columns, about 120 bytes
// a line, quoted names holding the separator and umlauts, numbers, dates, plain text.
inline void writeSeparatedLines(QFile& file, QString text, int lines)
{
    for (int i = 0; i < lines; ++i) {
        text += QStringLiteral("%1;\"Müller; Söhne %2\";\"Hauptstraße %3\";%4;\"Köln-Süd\";%5,%6;%7.%8.2023;"
                               "\"Grüße; Öl; Äpfel\";DE%9;ok\r\n")
                    .arg(i)
                    .arg(i % 977)
                    .arg(i % 131)
                    .arg(50000 + i % 40000)
                    .arg(i % 10000)
                    .arg(i % 100, 2, 10, QChar(u'0'))
                    .arg(1 + i % 28)
                    .arg(1 + i % 12)
                    .arg(qint64(i) * 7919 % 100000000, 8, 10, QChar(u'0'));
        if (text.size() > (1 << 20)) {
            file.write(rtl::encode(text, rtl::CodePage::Windows1252));
            text.clear();
        }
    }
    file.write(rtl::encode(text, rtl::CodePage::Windows1252));
}

// Prints a figure next to its goal, and whether it is met.
inline void verdict(const char* what, double value, const char* relation, double goal)
{
    const bool met = relation[0] == '>' ? value >= goal : value <= goal;
    std::printf("  %-62s %8.2f  (goal %s %.1f)  %s\n", what, value, relation, goal, met ? "met" : "MISSED");
}

}  // namespace bench
