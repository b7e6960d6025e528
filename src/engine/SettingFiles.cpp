#include "engine/SettingFiles.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/FileNames.h"
#include "engine/BriskoRoutines.h"
#include "engine/EngineContext.h"
#include "engine/StructureReaders.h"
#include "engine/WorkingTables.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <initializer_list>
#include <stdexcept>

namespace engine {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Setting files live beside the working tables under their own base names; a base name that is one of the working
// tables' would copy a working table over the mapping (or the mapping over itself).
bool namesWorkingTable(const QString& baseName)
{
    for (const QString& file : {ZStruktFileName, QStruktFileName, ImpListFileName}) {
        if (QFileInfo(file).completeBaseName().compare(baseName, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool existsIgnoringCase(const QString& path)
{
    return QFileInfo(db::findFileIgnoringCase(path)).isFile();
}

// The files of folder that the mask base + ".*" matches: base with any extension, and base alone. Compared without
// regard to case, as the settings come from a platform that does so.
QStringList filesOfBaseName(const QString& folder, const QString& base)
{
    QStringList result;
    const QString withDot = base + u'.';
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(base, Qt::CaseInsensitive) == 0 || entry.startsWith(withDot, Qt::CaseInsensitive))
            result << entry;
    }
    return result;
}

// Copies the setting's files over the mapping table's files. A mapping file that already exists is replaced under
// its own spelling: a setting file "12.db" must replace "ZStrukt.DB", not land beside it as "ZStrukt.db" while
// the engine goes on opening the old one.
void copySettingFiles(const QString& folder, const QString& base, const QString& targetBase)
{
    for (const QString& entry : filesOfBaseName(folder, base)) {
        const qsizetype dot = entry.lastIndexOf(u'.');
        const QString target = db::findFileIgnoringCase(folder + targetBase + (dot >= 0 ? entry.mid(dot) : QString()));
        CopyFileTo(folder + entry, target);
    }
}

void resetMappingRow(db::Table& tblZStrukt)
{
    for (const char* column : {"Zuordnung", "Div", "Mul", "Vorgabewert_alph", "Vorgabewert_num", "Quellwert_alph",
                               "Quellwert_num", "Formel_alph", "Formel_num", "Runden", "StringAuswahlBeg",
                               "StringAuswahlEnd"}) {
        tblZStrukt.FieldByName(QString::fromLatin1(column))->Clear();
    }
    SetFreshMappingFlags(tblZStrukt);
}

// A file name fit to give the backup's base name: something before the last dot, and a dot.
bool hasBaseAndExtension(const QString& fileName)
{
    return fileName.lastIndexOf(u'.') > 0;
}

}  // namespace

bool ImportEinstellungLaden(const EngineContext& engine, db::Table& tblImpList, db::Table& tblZStrukt,
                            const QString& Einstellung)
{
    // The row at the cursor is the one loaded, and the one deleted on Yes below: a name the list does not hold
    // must not load or delete whatever setting the cursor happens to stand on.
    if (!tblImpList.FindKey(Einstellung)) {
        platform::ErrorBox(QStringLiteral("Die Importeinstellung \"%1\" ist nicht in der Liste der Importeinstellungen "
                                 "enthalten und kann nicht geladen werden.")
                      .arg(Einstellung));
        return false;
    }
    const bool eigene = tblImpList.FieldByName(QStringLiteral("Eigene"))->AsBoolean();
    const QString base =
        tblImpList.FieldByName(eigene ? QStringLiteral("TableName") : QStringLiteral("VorDefTableName"))->AsString();
    if (!IsSafeBaseName(base) || namesWorkingTable(base)) {
        platform::ErrorBox(QStringLiteral("Die Importeinstellung \"%1\" verweist auf den ungültigen Dateinamen \"%2\".")
                      .arg(Einstellung, base) +
                  CrLf +
                  QStringLiteral("Sie kann nicht geladen werden; es ist keine Datei kopiert oder gelöscht worden."));
        return false;
    }

    const QString& folder = engine.ProgramFolder();
    const QString basePath = folder + base;
    if (existsIgnoringCase(basePath + QStringLiteral(".DB")) && existsIgnoringCase(basePath + QStringLiteral(".MB"))) {
        const QString targetBase = QFileInfo(tblZStrukt.filePath()).completeBaseName();
        if (targetBase.isEmpty())
            throw db::EngineError(db::ErrorCode::TableNotFound,
                                  QStringLiteral("Es wurde kein Tabellenname angegeben."));
        tblZStrukt.Close();
        copySettingFiles(folder, base, targetBase);
        tblZStrukt.Open();
        return true;
    }

    platform::Beep();
    const QString text = texts::Format(texts::Text(64982), {basePath, Einstellung}) + CrLf + CrLf + texts::Text(64983);
    if (platform::MessageBox(platform::MessageType::Error, text, platform::Buttons::YesNo) == platform::Button::Yes) {
        if (!engine.ImportEinstellungLoeschen)
            throw std::logic_error("ImportEinstellungLaden: no routine to delete a setting is set");
        engine.ImportEinstellungLoeschen();
    }
    return false;
}

void ZuordnungTempKopieren(const EngineContext& engine, db::Table& tblZStrukt)
{
    const QFileInfo table(tblZStrukt.filePath());
    const QString temp = engine.TempFolder();
    if (!QFileInfo(temp).isDir() && !QDir().mkpath(temp)) {
        throw db::EngineError(db::ErrorCode::IoError, QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                                                          .arg(QDir::toNativeSeparators(temp)));
    }
    tblZStrukt.Close();
    // Without a base name the mask would be ".*" and take whatever hidden files the folder holds.
    if (table.completeBaseName().isEmpty())
        return;
    CopyFiles(table.absolutePath() + u'/' + table.completeBaseName() + QStringLiteral(".*"), temp,
              QStringLiteral("tmp"));
}

void DelNoExistQFields(db::Table& tblQuelle, db::Table& tblZStrukt)
{
    if (!tblQuelle.Active()) {
        platform::ErrorBox(QStringLiteral("Fehler DelNoExistQFields(): tblQuelle nicht aktiv"));
        return;
    }
    tblZStrukt.Open();
    tblZStrukt.First();
    while (!tblZStrukt.Eof()) {
        const QString zuordnung = tblZStrukt.FieldByName(QStringLiteral("Zuordnung"))->AsString();
        if (!zuordnung.isEmpty() && !tblQuelle.FindField(zuordnung)) {
            tblZStrukt.Edit();
            resetMappingRow(tblZStrukt);
            tblZStrukt.Post();
        }
        tblZStrukt.Next();
    }
}

platform::FileDialogRequest SicherungskopieDialog()
{
    platform::FileDialogRequest dialog;
    dialog.title = QStringLiteral("Sicherungskopie speichern unter");
    dialog.filter = QStringLiteral("Paradox (*.db); dBase(*.dbf)|*.db; *.dbf|Paradox (*.db)              |*.db|"
                                   "dBase (*.dbf)               |*.dbf");
    // No "file must exist": the proposed name of a first backup never exists, and a backup is a new file.
    dialog.options = platform::PathMustExist;
    return dialog;
}

void SicherungskopieErstellen(const BackupControls& controls)
{
    const QString target = controls.tblZiel.TableName();
    controls.sdSicherungskopie.fileName = BackupProposal(target);
    const QString chosen = platform::SaveFileDialog(controls.sdSicherungskopie);
    if (chosen.isEmpty())
        return;
    controls.sdSicherungskopie.fileName = chosen;

    const QFileInfo targetInfo(target);
    const QFileInfo chosenInfo(chosen);
    if (!hasBaseAndExtension(targetInfo.fileName())) {
        platform::ErrorBox(QStringLiteral("Die Zieltabelle %1 hat keine Dateiendung.").arg(target) + CrLf +
                  QStringLiteral("Es ist keine Sicherungskopie erstellt worden."));
        return;
    }
    if (!hasBaseAndExtension(chosenInfo.fileName())) {
        platform::ErrorBox(QStringLiteral("Der Dateiname %1 braucht einen Namen und eine Dateiendung (.db oder .dbf).")
                      .arg(chosen) +
                  CrLf + QStringLiteral("Es ist keine Sicherungskopie erstellt worden."));
        return;
    }
    // Copying the table's files over themselves would replace the files of the open target under its feet.
    const QString targetFolder = QDir(targetInfo.absolutePath()).canonicalPath();
    const QString chosenFolder = QDir(chosenInfo.absolutePath()).canonicalPath();
    if (!targetFolder.isEmpty() && targetFolder == chosenFolder &&
        targetInfo.completeBaseName().compare(chosenInfo.completeBaseName(), Qt::CaseInsensitive) == 0) {
        platform::ErrorBox(QStringLiteral("Die Sicherungskopie kann nicht unter dem Namen der Zieltabelle %1 gespeichert "
                                 "werden.")
                      .arg(target) +
                  CrLf + QStringLiteral("Es ist keine Sicherungskopie erstellt worden."));
        return;
    }

    // Files of the chosen name that the dialog did not ask about (another extension, other letter case) belong
    // to a table of the same name there: it is replaced as a whole, and only when the person says so, so that no
    // file of it is overwritten unasked and no stale one stays beside the copy.
    QStringList existing = db::filesOfBaseName(chosenInfo.absolutePath(), chosenInfo.completeBaseName());
    if (controls.sdSicherungskopie.options & platform::OverwritePrompt)
        existing.removeAll(chosenInfo.absoluteFilePath());
    if (!existing.isEmpty()) {
        QStringList names;
        for (const QString& file : std::as_const(existing))
            names << QFileInfo(file).fileName();
        const QString question = QStringLiteral("Im Ordner %1 gibt es schon eine Tabelle dieses Namens (%2).")
                                     .arg(QDir::toNativeSeparators(chosenInfo.absolutePath()), names.join(QStringLiteral(", "))) +
                                 CrLf + QStringLiteral("Soll sie durch die Sicherungskopie ersetzt werden?");
        if (platform::MessageBox(platform::MessageType::Confirmation, question, platform::Buttons::YesNo) !=
            platform::Button::Yes)
            return;
        for (const QString& file : std::as_const(existing)) {
            if (!QFile::remove(file)) {
                platform::ErrorBox(QStringLiteral("Die Datei %1 konnte nicht ersetzt werden.").arg(file) + CrLf +
                                   QStringLiteral("Es ist keine Sicherungskopie erstellt worden."));
                return;
            }
        }
    }

    const QString pattern = targetInfo.path() + u'/' + targetInfo.completeBaseName() + QStringLiteral(".*");
    const int copied = CopyFiles(pattern, chosenInfo.path(), chosenInfo.completeBaseName());
    if (copied > 0)
        platform::MessageBox(platform::MessageType::Information, texts::Text(64984), platform::Buttons::Ok);
    else
        platform::ErrorBox(texts::Text(64985));
}

void ZieldateiExklusivPruefen(db::Table& tblZiel)
{
    try {
        tblZiel.Close();
        tblZiel.setExclusive(true);
        tblZiel.Open();
    } catch (const db::EngineError& error) {
        if (error.code() == db::ErrorCode::FileLocked) {
            platform::MessageBox(platform::MessageType::Warning,
                                 texts::Format(texts::Text(64986), {tblZiel.TableName()}), platform::Buttons::Ok);
        }
    } catch (...) {
        // Whatever else went wrong, the table must not stay set to lock everybody else out at its next open.
        tblZiel.Close();
        tblZiel.setExclusive(false);
        throw;
    }
    tblZiel.Close();
    tblZiel.setExclusive(false);
    tblZiel.Open();
}

bool TabelleFindKey(const db::DataSource& DataSource, const QVariant& Value)
{
    db::Table* table = DataSource.DataSet();
    return table ? table->FindKey(Value) : false;
}

}  // namespace engine
