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

// The German name of a field type code (0-22; anything else is "unbekannt").
QString Typbezeichnung(int typeCode, TypeNameTable table);

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
