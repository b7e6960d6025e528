#include "db/Aliases.h"

#include "db/EngineError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace db {

namespace {

[[noreturn]] void notFound(const QString& message)
{
    throw EngineError(ErrorCode::AliasNotFound, message);
}

}  // namespace

QString Aliases::configFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Velmora/Import-Aliases.ini");
}

QString Aliases::folder(const QString& alias)
{
    const QString file = configFile();
    if (!QFileInfo(file).isFile())
        notFound(QStringLiteral("Der Datenbank-Alias '%1' ist nicht eingerichtet: die Alias-Datei %2 fehlt.")
                     .arg(alias, QDir::toNativeSeparators(file)));

    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Aliases"));
    QString value;
    bool found = false;
    for (const QString& key : settings.childKeys()) {
        if (key.compare(alias, Qt::CaseInsensitive) == 0) {
            const QVariant raw = settings.value(key);
            // An unquoted comma splits the value into a list; the folder is the whole text.
            value = raw.typeId() == QMetaType::QStringList ? raw.toStringList().join(u',') : raw.toString();
            found = true;
            break;
        }
    }
    if (!found)
        notFound(QStringLiteral("Der Datenbank-Alias '%1' ist nicht eingerichtet (Alias-Datei %2).")
                     .arg(alias, QDir::toNativeSeparators(file)));

    value = value.trimmed();
    if (value.isEmpty())
        notFound(QStringLiteral("Für den Datenbank-Alias '%1' ist kein Ordner angegeben (Alias-Datei %2).")
                     .arg(alias, QDir::toNativeSeparators(file)));

    const QString path = QDir::cleanPath(QFileInfo(file).absoluteDir().absoluteFilePath(value));
    if (!QFileInfo(path).isDir())
        notFound(QStringLiteral("Der Ordner %1 des Datenbank-Alias '%2' existiert nicht.")
                     .arg(QDir::toNativeSeparators(path), alias));
    return path.endsWith(u'/') ? path : path + u'/';
}

}  // namespace db
