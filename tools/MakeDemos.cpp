// Writes the sample tables of the program folder's Demos folder from their text sources: a dBase and a Paradox
// source with records, and an empty Paradox and dBase target for a first import. Every table is written afresh
// under a temporary name and then put in place, so an interrupted build never leaves half a table there.
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>

using db::FieldDef;
using db::FieldType;

namespace {

// The records of a source text: UTF-8, ";" between values, the field names in the first line.
QList<QStringList> ReadRecords(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(qPrintable(QStringLiteral("cannot read ") + path));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QList<QStringList> records;
    in.readLine();
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.isEmpty())
            records << line.split(u';');
    }
    return records;
}

void Fill(db::Table& table, const QList<QStringList>& records)
{
    table.Open();
    for (const QStringList& values : records) {
        table.Append();
        for (int i = 0; i < table.FieldCount() && i < values.size(); ++i) {
            db::Field* field = table.Fields(i);
            if (field->DataType() == FieldType::ftString)
                field->setAsString(values[i]);
            else if (field->DataType() == FieldType::ftFloat || field->DataType() == FieldType::ftCurrency)
                field->setAsFloat(values[i].toDouble());
            else
                field->setAsInteger(values[i].toInt());
        }
        table.Post();
    }
    table.Close();
}

// Every file of the table's base name in folder goes, whatever its extension.
void RemoveTable(QDir folder, const QString& base)
{
    for (const QString& name : folder.entryList({base + QStringLiteral(".*")}, QDir::Files))
        folder.remove(name);
}

// Makes the table under a temporary base name, then renames its files to the final name.
void Make(QDir folder, const QString& fileName, const std::function<void(const QString&)>& write)
{
    const QFileInfo final(folder.filePath(fileName));
    const QString temporary = QStringLiteral("_make_") + final.completeBaseName();
    RemoveTable(folder, temporary);
    write(folder.filePath(temporary + u'.' + final.suffix()));
    RemoveTable(folder, final.completeBaseName());
    for (const QString& name : folder.entryList({temporary + QStringLiteral(".*")}, QDir::Files)) {
        const QString renamed = final.completeBaseName() + name.mid(temporary.size());
        if (!folder.rename(name, renamed))
            throw std::runtime_error(qPrintable(QStringLiteral("cannot rename ") + name));
    }
}

void MakeDbase(const QString& path, const db::FieldDefList& fields, const QList<QStringList>& records)
{
    db::Table table;
    table.setTableName(path);
    for (const FieldDef& f : fields)
        table.FieldDefs().Add(f);
    table.CreateTable();
    Fill(table, records);
}

void MakeParadox(const QString& path, const db::FieldDefList& fields, int keyFields, const QList<QStringList>& records)
{
    db::paradox::create(path, fields, keyFields);
    db::Table table;
    table.setTableName(path);
    Fill(table, records);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: MakeDemos <folder of the text sources> <Demos folder>\n");
        return 2;
    }
    const QDir sources(QString::fromLocal8Bit(argv[1]));
    const QDir demos(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(demos.path());

    const db::FieldDefList artikel{
        {QStringLiteral("ARTNR"), FieldType::ftFloat, 6, 0, false},
        {QStringLiteral("BEZEICHN"), FieldType::ftString, 40, 0, false},
        {QStringLiteral("PREIS"), FieldType::ftFloat, 10, 2, false},
        {QStringLiteral("BESTAND"), FieldType::ftFloat, 6, 0, false},
        {QStringLiteral("GRUPPE"), FieldType::ftString, 10, 0, false},
    };
    const db::FieldDefList lieferanten{
        {QStringLiteral("LiefNr"), FieldType::ftInteger, 0, 0, true},
        {QStringLiteral("Firma"), FieldType::ftString, 40, 0, false},
        {QStringLiteral("Strasse"), FieldType::ftString, 30, 0, false},
        {QStringLiteral("PLZ"), FieldType::ftString, 5, 0, false},
        {QStringLiteral("Ort"), FieldType::ftString, 25, 0, false},
        {QStringLiteral("Telefon"), FieldType::ftString, 20, 0, false},
    };
    const db::FieldDefList zielKunden{
        {QStringLiteral("KundenNr"), FieldType::ftInteger, 0, 0, true},
        {QStringLiteral("Name"), FieldType::ftString, 30, 0, false},
        {QStringLiteral("Vorname"), FieldType::ftString, 20, 0, false},
        {QStringLiteral("Strasse"), FieldType::ftString, 30, 0, false},
        {QStringLiteral("PLZ"), FieldType::ftString, 5, 0, false},
        {QStringLiteral("Ort"), FieldType::ftString, 25, 0, false},
        {QStringLiteral("Telefon"), FieldType::ftString, 20, 0, false},
        {QStringLiteral("Umsatz"), FieldType::ftCurrency, 0, 0, false},
        {QStringLiteral("KundeSeit"), FieldType::ftDate, 0, 0, false},
    };
    try {
        Make(demos, QStringLiteral("Artikel.dbf"), [&](const QString& path) {
            MakeDbase(path, artikel, ReadRecords(sources.filePath(QStringLiteral("Artikel.csv"))));
        });
        Make(demos, QStringLiteral("ZielArtikel.dbf"), [&](const QString& path) { MakeDbase(path, artikel, {}); });
        Make(demos, QStringLiteral("Lieferanten.db"), [&](const QString& path) {
            MakeParadox(path, lieferanten, 1, ReadRecords(sources.filePath(QStringLiteral("Lieferanten.csv"))));
        });
        Make(demos, QStringLiteral("ZielKunden.db"),
             [&](const QString& path) { MakeParadox(path, zielKunden, 1, {}); });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeDemos: %s\n", e.what());
        return 1;
    }
    return 0;
}
