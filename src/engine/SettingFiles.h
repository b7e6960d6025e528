#pragma once

#include "platform/UserInterface.h"

#include <QString>
#include <QVariant>

namespace db {
class DataSource;
class Table;
}  // namespace db

// Routines that keep the working tables consistent with the files around them: loading a stored import setting,
// saving the previous mapping to Temp, dropping mappings to vanished source fields, the backup copy of the
// target, the warning about a target held by another program, the key look-up through a data source.
//
// Every base name of setting files read from ImpList (TableName, VorDefTableName) is checked before it becomes a
// path: one that could name a file outside the program folder, or one of the working tables themselves, is
// refused with a message and nothing is copied or deleted.
namespace engine {

class EngineContext;

// Loads the stored setting named Einstellung: looks it up in tblImpList and copies its setting files (base name
// TableName for an own setting, VorDefTableName for a predefined one, each with every extension) over the files of
// tblZStrukt, which is closed for the copy and opened again. True when the files were copied.
// Setting files missing: beep, an error box asking whether to delete the setting; Yes runs the context's
// ImportEinstellungLoeschen on the setting at tblImpList's cursor. A name not in the list or an unusable base name:
// an error box, nothing copied, nothing deleted. False in all those cases.
bool ImportEinstellungLaden(const EngineContext& engine, db::Table& tblImpList, db::Table& tblZStrukt,
                            const QString& Einstellung);

// Closes tblZStrukt and copies its files into program folder + "Temp/" as tmp.* (the Temp folder is created when
// missing; failing that raises db::EngineError with ErrorCode::IoError). The table is left closed.
void ZuordnungTempKopieren(const EngineContext& engine, db::Table& tblZStrukt);

// Resets every Mapping row whose Zuordnung names no field of tblQuelle to a fresh mapping. tblQuelle not open: an
// error box and nothing else.
void DelNoExistQFields(db::Table& tblQuelle, db::Table& tblZStrukt);

// What SicherungskopieErstellen works on: the wizard's target table and its save dialog. The wizard initialises
// sdSicherungskopie with SicherungskopieDialog() once; the routine puts the proposal into fileName before it shows
// the dialog and leaves the chosen name there.
struct BackupControls {
    db::Table& tblZiel;
    platform::FileDialogRequest& sdSicherungskopie;
};

// The save dialog of the backup copy as the target page has it: title, filter and options.
platform::FileDialogRequest SicherungskopieDialog();

// Offers the save dialog with "CP_" before the target's file name and copies every file of the target's base name
// to the chosen folder under the chosen base name, each with its own extension; tells how it went. A name without
// an extension, with an empty base name, or naming the target itself is refused with a message, nothing copied. A
// table of the chosen name already there (files the dialog did not ask about) is replaced as a whole only after a
// question answered Yes.
void SicherungskopieErstellen(const BackupControls& controls);

// Opens tblZiel once exclusively to learn whether another program holds it (then a warning naming it), and leaves
// it open and shared in every case.
void ZieldateiExklusivPruefen(db::Table& tblZiel);

// Key look-up in the data source's table; false when the data source has no table.
bool TabelleFindKey(const db::DataSource& DataSource, const QVariant& Value);

// Frees the object the reference holds, if any, and empties the reference.
template <class T>
void ObjektFreigeben(T*& Object)
{
    delete Object;
    Object = nullptr;
}

}  // namespace engine
