#include "wizard/settings/StoredSettings.h"

#include "db/Field.h"
#include "db/FileNames.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/WorkingTables.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace wizard {

std::optional<QString> ImportmodusText(std::optional<int> Importmodus)
{
    const QString crlf = QStringLiteral("\r\n");
    switch (Importmodus.value_or(0)) {
    case 1:
        return texts::Text(65215);
    case 2:
        return texts::Text(65215) + crlf + texts::Text(65185);
    case 3:
        return texts::Text(65215) + crlf + texts::Text(65186);
    case 4:
        return texts::Text(65215) + crlf + texts::Text(65187);
    case 5:
        return texts::Text(65184) + crlf + texts::Text(65188);
    default:
        return std::nullopt;
    }
}

QString SettingBaseName(db::Table& tblImpList)
{
    const db::Field* eigene = tblImpList.FieldByName(QStringLiteral("Eigene"));
    const bool own = !eigene->IsNull() && eigene->AsBoolean();
    return tblImpList.FieldByName(own ? QStringLiteral("TableName") : QStringLiteral("VorDefTableName"))->AsString();
}

bool UsableBaseName(const QString& base)
{
    if (!engine::IsSafeBaseName(base))
        return false;
    for (const QString& file : {engine::ZStruktFileName, engine::QStruktFileName, engine::ImpListFileName}) {
        if (QFileInfo(file).completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
            return false;
    }
    // The Temp folder and the program's own files are no setting's files either.
    return base.compare(engine::TempFolderName, Qt::CaseInsensitive) != 0 &&
           base.compare(QStringLiteral("Import"), Qt::CaseInsensitive) != 0 &&
           base.compare(QStringLiteral("VorDef"), Qt::CaseInsensitive) != 0;
}

std::vector<ListedSetting> AllSettings(db::Table& tblImpList)
{
    std::vector<ListedSetting> settings;
    if (!tblImpList.Active())
        tblImpList.Open();
    tblImpList.CheckBrowseMode();
    const bool filtered = tblImpList.Filtered();
    const bool onRow = tblImpList.RecordCount() > 0;
    const QString current = onRow ? tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->AsString() : QString();
    tblImpList.DisableControls();
    try {
        tblImpList.setFiltered(false);
        for (tblImpList.First(); !tblImpList.Eof(); tblImpList.Next())
            settings.push_back(
                {tblImpList.FieldByName(QStringLiteral("Bezeichnung"))->AsString(), SettingBaseName(tblImpList)});
        tblImpList.setFiltered(filtered);
        if (onRow)
            tblImpList.FindKey(current);
    } catch (...) {
        tblImpList.setFiltered(filtered);
        tblImpList.EnableControls();
        throw;
    }
    tblImpList.EnableControls();
    return settings;
}

bool NameListed(const std::vector<ListedSetting>& settings, const QString& name)
{
    for (const ListedSetting& setting : settings) {
        if (setting.Bezeichnung == name)
            return true;
    }
    return false;
}

bool BaseNameTaken(const QString& folder, const QString& base, const std::vector<ListedSetting>& settings,
                   const QString& exceptName)
{
    for (const ListedSetting& setting : settings) {
        if (setting.Bezeichnung != exceptName && setting.base.compare(base, Qt::CaseInsensitive) == 0)
            return true;
    }
    return !SettingFiles(folder, base).isEmpty();
}

QStringList SettingFiles(const QString& fromFolder, const QString& base)
{
    QStringList files;
    for (const QString& file : db::filesOfBaseName(fromFolder, base)) {
        if (QFileInfo(file).isFile())
            files << file;
    }
    return files;
}

bool CopySettingFiles(const QString& fromFolder, const QString& base, const QString& toFolder, const QString& newBase)
{
    const QStringList files = SettingFiles(fromFolder, base);
    if (files.isEmpty())
        return false;
    const QString target = toFolder.endsWith(u'/') ? toFolder : toFolder + u'/';
    QStringList written;
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        const qsizetype dot = name.lastIndexOf(u'.');
        // A file already there in other letter case is replaced, not doubled.
        const QString to = db::findFileIgnoringCase(target + newBase + (dot >= 0 ? name.mid(dot) : QString()));
        if (QFileInfo(file).absoluteFilePath() == QFileInfo(to).absoluteFilePath())
            continue;
        if (engine::CopyFileTo(file, to) != 0) {
            for (const QString& done : std::as_const(written))
                QFile::remove(done);
            return false;
        }
        written << to;
    }
    return true;
}

void DeleteSettingFiles(const QString& folder, const QString& base)
{
    for (const QString& file : SettingFiles(folder, base))
        QFile::remove(file);
}

QString VorDefStartFolder(const QString& programFolder)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QFileInfo(QStandardPaths::writableLocation(QStandardPaths::HomeLocation)).fileName();
    if (!user.isEmpty()) {
        for (const QString& media : {QStringLiteral("/media/"), QStringLiteral("/run/media/")}) {
            if (QFileInfo(media + user).isDir())
                return media + user;
        }
    }
    return programFolder + QStringLiteral("Demos");
}

}  // namespace wizard
