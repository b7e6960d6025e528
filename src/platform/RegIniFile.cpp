#include "platform/RegIniFile.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

TRegIniFile::TRegIniFile(const QString& organisation, const QString& application, const QString& group)
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application)),
      group_(group)
{
}

TRegIniFile::~TRegIniFile() = default;

QString TRegIniFile::path(const QString& section, const QString& name) const
{
    return group_ + u'/' + section + u'/' + name;
}

QString TRegIniFile::ReadString(const QString& section, const QString& name, const QString& defaultValue) const
{
    const QVariant value = settings_->value(path(section, name));
    if (!value.isValid())
        return defaultValue;
    // An unquoted comma makes the INI reader return a list: the value is the whole text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.canConvert<QString>() ? value.toString() : defaultValue;
}

bool TRegIniFile::ReadBool(const QString& section, const QString& name, bool defaultValue) const
{
    bool isNumber = false;
    const int number = ReadString(section, name, QString()).trimmed().toInt(&isNumber);
    return isNumber ? number != 0 : defaultValue;
}

void TRegIniFile::WriteString(const QString& section, const QString& name, const QString& value)
{
    // A value that is stored as it is already changes nothing: QSettings would still rewrite the whole file at the
    // next round of the event loop and wait for the disk, which at start-up (the program's path and version are
    // written every time) holds up the first window.
    const QString key = path(section, name);
    const QVariant stored = settings_->value(key);
    if (stored.typeId() == QMetaType::QString && stored.toString() == value)
        return;
    settings_->setValue(key, value);
}

void TRegIniFile::WriteBool(const QString& section, const QString& name, bool value)
{
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TRegIniFile::UpdateFile()
{
    errorText_.clear();
    // A file QSettings could not parse is not written over: the values in it would be lost.
    if (settings_->status() == QSettings::FormatError) {
        errorText_ = QStringLiteral("Die Datei %1 ist beschädigt und wurde nicht überschrieben.")
                         .arg(QDir::toNativeSeparators(fileName()));
        return false;
    }
    const QString folder = QFileInfo(fileName()).absolutePath();
    if (!QDir().mkpath(folder)) {
        errorText_ = QStringLiteral("Der Ordner %1 für die Einstellungen konnte nicht angelegt werden.")
                         .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    settings_->sync();
    if (settings_->status() != QSettings::NoError) {
        errorText_ = QStringLiteral("Die Einstellungen konnten nicht in %1 gespeichert werden.")
                         .arg(QDir::toNativeSeparators(fileName()));
        return false;
    }
    return true;
}

QString TRegIniFile::fileName() const
{
    return settings_->fileName();
}

}  // namespace platform
