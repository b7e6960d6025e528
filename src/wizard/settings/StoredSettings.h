#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace db {
class Table;
}

// What the settings manager and the settings viewer share about stored settings: the text of an import mode, the
// base name of a setting's files, the whole list whatever the view shows, and copying a setting's files as a whole.
namespace wizard {

// The mode text of an Importmodus (1 to 5, lines joined by CR LF); nothing for any other value.
std::optional<QString> ImportmodusText(std::optional<int> Importmodus);

// The base name of the setting files of the row at tblImpList's cursor: TableName for an own setting, else
// VorDefTableName.
QString SettingBaseName(db::Table& tblImpList);

// A base name that names files of the program folder only and none of the working tables.
bool UsableBaseName(const QString& base);

struct ListedSetting {
    QString Bezeichnung;
    QString base;
};

// Every row of the list, the ones the view filter hides included. The cursor is put back on the row it stood on
// (by its name), and the view filter is as it was.
std::vector<ListedSetting> AllSettings(db::Table& tblImpList);
bool NameListed(const std::vector<ListedSetting>& settings, const QString& name);

// Whether files of that base name lie in folder, or another row of the list (not exceptName) has that base name:
// a setting written under it would overwrite another's files or share them.
bool BaseNameTaken(const QString& folder, const QString& base, const std::vector<ListedSetting>& settings,
                   const QString& exceptName = QString());

// The files of base in fromFolder (each with its own extension). Empty when there are none.
QStringList SettingFiles(const QString& fromFolder, const QString& base);

// Copies every file of base in fromFolder into toFolder under newBase, each with its own extension. All or
// nothing: when one file cannot be copied (its error box has been shown), the files already written under newBase
// are removed again and the result is false. Meant for a base name whose old files may go with a failed copy.
bool CopySettingFiles(const QString& fromFolder, const QString& base, const QString& toFolder, const QString& newBase);

// Removes every file of base in folder; a file that cannot be removed is passed over.
void DeleteSettingFiles(const QString& folder, const QString& base);

// Where the dialog for predefined settings starts: the user's removable media folder (/media/<user> or
// /run/media/<user>) when there is one, else the program's Demos folder.
QString VorDefStartFolder(const QString& programFolder);

}  // namespace wizard
