#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace platform {

// The program's key in the user's preferences, reached the way the registry is: sections below the key, every
// value kept as text. On Linux the key lives in the INI file QSettings keeps for the organisation and application
// under the user's configuration folder; its group is the key's last part ("1.0").
//
// A boolean is written as "1" or "0" and read as true when its text is a whole number other than 0; a value that is
// missing or not a number reads as the default. Values of other sections and keys that the program does not know
// stay as they are: the file is only ever rewritten whole through QSettings, which replaces it in one step.
class TRegIniFile {
public:
    // organisation and application name the file; group is the key below them.
    TRegIniFile(const QString& organisation, const QString& application, const QString& group);
    ~TRegIniFile();

    QString ReadString(const QString& section, const QString& name, const QString& defaultValue) const;
    bool ReadBool(const QString& section, const QString& name, bool defaultValue) const;
    void WriteString(const QString& section, const QString& name, const QString& value);
    void WriteBool(const QString& section, const QString& name, bool value);

    // Writes what changed to the file. False when the file could not be written (the folder is missing and
    // cannot be made, or is not writable) or could not be read, in which case it is left untouched so that
    // nothing stored in it is lost; errorText() then says why.
    bool UpdateFile();
    QString errorText() const { return errorText_; }

    // The file behind the key.
    QString fileName() const;

private:
    QString path(const QString& section, const QString& name) const;

    std::unique_ptr<QSettings> settings_;
    QString group_;
    QString errorText_;
};

}  // namespace platform
