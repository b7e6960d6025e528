#pragma once

#include "db/FieldType.h"

#include <QString>

namespace db {
class Field;
class Table;
}

// The program's own working tables, the field type names shown in them, and the names of the files around them:
// setting files, the Temp folder and backup copies. Every routine that reads or writes these tables relies on the
// column lists here; the build writes the empty tables from them into the program folder.
//
// The engine's German working names (the other headers point here):
//   Quelle / Ziel          the source / the target (tblQuelle, tblZiel, Quelldatei, Zieldatei)
//   ZStrukt                the mapping: one row per target field, saying what fills it (Zielstruktur)
//   QStrukt                the source's structure: one row per source field (Quellstruktur)
//   ImpList                the list of stored import settings, keyed on Bezeichnung (their name)
//   Einstellung            an import setting: a row of ImpList and its setting files (a copy of ZStrukt); Eigene =
//                          the user's own, VorDef = predefined
//   Feld, Feldname, Typ    field, field name, field type; Laenge = length, Typbezeichnung = the type's shown name
//   Zuordnung              the source field a target field is mapped to (empty: none)
//   Vorgabewert, Formel    the default value and the formula of a target field (_alph text, _num number)
//   ZSP                    the staging table a text file is read into before the source table is sized from it
//   Importlauf             the import run; its modes: Anhaengen (1, append every record), Ignorieren (2, skip
//                          records whose key is there), Umbenennen (3, append those under new keys), SelfInc (4,
//                          count the key up), Aktualisieren (5, update records whose key is there)
//   Startwert              the start value from which modes 3 and 4 generate keys; Schluessel = key
//   AnzFehler, Anz...      the count of failures, counts of ...; Datensatz = record, Wert = value, Lauf = run
//   FixLen, Trenn...       fixed-width text; its column boundaries (FixTrennPositionen, Trennlinie)
//   Sicherungskopie        the backup copy of the target
namespace engine {

class EngineContext;

// Column lists of the three working tables, in column order.
db::FieldDefList ZStruktFields();   // the mapping, one row per target field; keyless
db::FieldDefList QStruktFields();   // the source structure, one row per source field; keyless
db::FieldDefList ImpListFields();   // the stored import settings; keyed on Bezeichnung
constexpr int ImpListKeyFieldCount = 1;

inline const QString ZStruktFileName = QStringLiteral("ZStrukt.DB");
inline const QString QStruktFileName = QStringLiteral("QStrukt.DB");
inline const QString ImpListFileName = QStringLiteral("ImpList.DB");
inline const QString TempFolderName = QStringLiteral("Temp");

// Which of the two working tables a type name is written into: the two spell the short and long integer
// differently.
enum class TypeNameTable { ZStrukt, QStrukt };

// The German name of a field type code (0-22; anything else is "unbekannt"), as the working tables store it
// whatever language is in use: their Typbezeichnung column holds Windows-1252 text, which the names of other
// languages need not fit into.
QString Typbezeichnung(int typeCode, TypeNameTable table);
// The name a person reads for a field type code: the language module's where it has one. Grids and messages show
// this one, by the code, never the stored column.
QString ShownTypbezeichnung(int typeCode, TypeNameTable table);

// The Laenge text of a field: its data size, the declared size for text fields, "-" for memos and unknown types.
QString LaengeText(int typeCode, int dataSize);
QString LaengeText(const db::Field& field);

// Points the three working tables at their files in the program folder (closing them first) and declares how grids
// show their columns: captions, widths, alignment and the columns they hide. The routines that open and fill the
// tables later keep the declarations, and may change a column's display for a while, as the source reader does.
void PointWorkingTables(const EngineContext& engine, db::Table& tblZStrukt, db::Table& tblQStrukt,
                        db::Table& tblImpList);

// True when a setting's base name (TableName or VorDefTableName, or a name read from a disk's setting list) names a
// file in the program folder and nothing else: not empty, no folder separator, no "..", no wildcard. Names that
// fail are refused before any file is copied or deleted.
bool IsSafeBaseName(const QString& baseName);

// The proposed name of a backup copy: the target's folder, "CP_", the target's file name.
QString BackupProposal(const QString& targetPath);

}  // namespace engine
