// Writes the predefined settings a new user finds in the program's Demos folder: Demos/VorDef.DB with two
// settings (the separated text Kunden.txt into the Paradox table ZielKunden.db, the dBase table Artikel.dbf into
// ZielArtikel.dbf) and their setting files Demo1.* and Demo2.*, the mapping of each target field to the source
// field of the same name with the options of a fresh mapping.
//
//     MakeDemoSettings <program folder>
//
// The mapping follows the target tables in Demos when they are there; otherwise it is made from the field lists
// below, which are those of the shipped targets. The files are written anew on every build, so that a VorDef.DB
// renamed by reading it twice is put back.
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/FileNames.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/StructureReaders.h"
#include "engine/WorkingTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>

namespace {

using db::FieldType;

struct DemoSetting {
    engine::ImportSetting row;
    QString target;  // file name of the target in Demos
    db::TTableType targetType;
    db::FieldDefList targetFields;  // when the target is not in Demos
    int targetKeyFields;
};

std::vector<DemoSetting> DemoSettings()
{
    engine::ImportSetting kunden;
    kunden.Bezeichnung = QStringLiteral("Beispiel: Kunden aus Textdatei");
    kunden.Bemerkung = QStringLiteral(
        "Liest die Kunden aus der Textdatei Kunden.txt (Felder durch Semikolon getrennt, "
        "Feldnamen in der ersten Zeile) in die Paradox-Tabelle ZielKunden.db. Kunden, "
        "deren Nummer schon in der Tabelle steht, werden übergangen.");
    kunden.Quellformat = QStringLiteral("Text");
    kunden.VorDefTableName = QStringLiteral("Demo1");
    kunden.Quelldatei = QStringLiteral("Kunden.txt");
    kunden.Zieldatei = QStringLiteral("ZielKunden.db");
    kunden.Importmodus = 2;
    kunden.Semic = true;
    kunden.Delimiter = 1;
    kunden.ColNames = QStringLiteral("KundenNr;Name;Vorname;Strasse;PLZ;Ort;Telefon;Umsatz;KundeSeit");
    kunden.FixVar = 0;
    kunden.NamesInFirstLine = true;

    engine::ImportSetting artikel;
    artikel.Bezeichnung = QStringLiteral("Beispiel: Artikel aus dBase-Tabelle");
    artikel.Bemerkung = QStringLiteral(
        "Hängt die Artikel der dBase-Tabelle Artikel.dbf an die dBase-Tabelle "
        "ZielArtikel.dbf an.");
    artikel.Quellformat = QStringLiteral("dBase");
    artikel.VorDefTableName = QStringLiteral("Demo2");
    artikel.Quelldatei = QStringLiteral("Artikel.dbf");
    artikel.Zieldatei = QStringLiteral("ZielArtikel.dbf");
    artikel.Importmodus = 1;

    for (engine::ImportSetting* s : {&kunden, &artikel}) {
        s->Eigene = false;
        s->Decimal = QStringLiteral(",");
        s->Tausend = QStringLiteral(".");
        s->Zeit = QStringLiteral(":");
        s->Datum = QStringLiteral(".");
        s->TMJ = QStringLiteral("DD/MM/YYYY");
    }

    const db::FieldDefList kundenFields = {
        {QStringLiteral("KundenNr"), FieldType::ftInteger, 0, 0, true},
        {QStringLiteral("Name"), FieldType::ftString, 40},
        {QStringLiteral("Vorname"), FieldType::ftString, 30},
        {QStringLiteral("Strasse"), FieldType::ftString, 40},
        {QStringLiteral("PLZ"), FieldType::ftString, 5},
        {QStringLiteral("Ort"), FieldType::ftString, 40},
        {QStringLiteral("Telefon"), FieldType::ftString, 20},
        {QStringLiteral("Umsatz"), FieldType::ftFloat},
        {QStringLiteral("KundeSeit"), FieldType::ftDate},
    };
    const db::FieldDefList artikelFields = {
        {QStringLiteral("ARTNR"), FieldType::ftString, 10},   {QStringLiteral("BEZEICHN"), FieldType::ftString, 40},
        {QStringLiteral("PREIS"), FieldType::ftFloat, 10, 2}, {QStringLiteral("BESTAND"), FieldType::ftFloat, 8, 0},
        {QStringLiteral("GRUPPE"), FieldType::ftString, 10},
    };
    return {
        {kunden, QStringLiteral("ZielKunden.db"), db::ttParadox, kundenFields, 1},
        {artikel, QStringLiteral("ZielArtikel.dbf"), db::ttDBase, artikelFields, 0},
    };
}

// The mapping of one setting, written as setting files base.* into demos.
void WriteMapping(const DemoSetting& setting, const QString& demos, const QString& scratch)
{
    QString targetPath = db::findFileIgnoringCase(demos + setting.target);
    if (!QFileInfo(targetPath).isFile()) {
        targetPath = scratch + setting.target;
        db::Table created;
        created.setTableName(targetPath);
        created.setTableType(setting.targetType);
        for (const db::FieldDef& def : setting.targetFields)
            created.FieldDefs().Add(def);
        created.FieldDefs().setKeyFieldCount(setting.targetKeyFields);
        created.CreateTable();
    }

    const QString mappingPath = scratch + engine::ZStruktFileName;
    for (const QString& file : db::filesOfBaseName(scratch, QStringLiteral("ZStrukt")))
        QFile::remove(file);
    db::paradox::create(mappingPath, engine::ZStruktFields(), 0);
    {
        db::Table target;
        target.setTableName(targetPath);
        db::DataSource dscZiel;
        dscZiel.setDataSet(&target);
        db::Table mapping;
        mapping.setTableName(mappingPath);
        engine::ZielStrukturEinlesen(dscZiel, mapping);
        // Every target field is fed by the source field of its name; an auto-increment field is left to the engine.
        for (mapping.First(); !mapping.Eof(); mapping.Next()) {
            if (mapping.FieldByName(QStringLiteral("Typ"))->AsInteger() == int(FieldType::ftAutoInc))
                continue;
            mapping.Edit();
            mapping.FieldByName(QStringLiteral("Zuordnung"))
                ->setAsString(mapping.FieldByName(QStringLiteral("Feldname"))->AsString());
            mapping.Post();
        }
        mapping.Close();
        target.Close();
    }
    const QString base = setting.row.VorDefTableName;
    for (const QString& old : db::filesOfBaseName(demos, base))
        QFile::remove(old);
    for (const QString& file : db::filesOfBaseName(scratch, QStringLiteral("ZStrukt"))) {
        const QString extension = QFileInfo(file).suffix();
        if (!QFile::copy(file, demos + base + u'.' + extension))
            throw std::runtime_error(qPrintable(QStringLiteral("cannot write %1%2.%3").arg(demos, base, extension)));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDemoSettings <program folder>\n");
        return 2;
    }
    const QString demos = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("Demos")) + u'/';
    QTemporaryDir scratchDir;
    try {
        if (!QDir().mkpath(demos) || !scratchDir.isValid())
            throw std::runtime_error("cannot make the Demos folder");
        const QString scratch = scratchDir.path() + u'/';
        const std::vector<DemoSetting> settings = DemoSettings();
        for (const DemoSetting& setting : settings)
            WriteMapping(setting, demos, scratch);

        const QString list = demos + QStringLiteral("VorDef.DB");
        for (const QString& old : db::filesOfBaseName(demos, QStringLiteral("VorDef")))
            QFile::remove(old);
        db::paradox::create(list, engine::ImpListFields(), engine::ImpListKeyFieldCount);
        db::Table vorDef;
        vorDef.setTableName(list);
        vorDef.Open();
        for (const DemoSetting& setting : settings) {
            vorDef.Append();
            engine::WriteImpListRow(vorDef, setting.row);
            vorDef.Post();
        }
        vorDef.Close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeDemoSettings: %s\n", e.what());
        return 1;
    }
    return 0;
}
