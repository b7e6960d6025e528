#pragma once

#include "platform/ScriptedUi.h"
#include "wizard/ProgramContext.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A program folder of its own with empty working tables, and a configuration folder of its own, so that a test
// starts the program as a user would without touching anything outside its folders.
class ShellFolders {
public:
    ShellFolders();
    ~ShellFolders();

    QString programFolder() const { return root_.path() + QStringLiteral("/program/"); }
    QString configFolder() const { return root_.path() + QStringLiteral("/config"); }
    QString path(const QString& relative) const { return root_.path() + u'/' + relative; }
    // Writes a small file (folders made as needed) and gives its path.
    QString touch(const QString& relative, const QByteArray& content = "x") const;
    wizard::ProgramContext context(const QStringList& arguments = {}) const;

    // The preferences file's values, read afresh.
    QString stored(const QString& key) const;
    void store(const QString& key, const QString& value) const;
    QString settingsFile() const;

private:
    QTemporaryDir root_;
};

// Adds a stored setting of that name to the settings list in folder.
void AddSetting(const QString& programFolder, const QString& name);
// The number of rows of a working table.
int RowCount(const QString& tablePath);
// Copies a table with its companion files (index, memo: the files of the same base name) into folder, writable, under
// newBase if given, and gives the copy's path.
QString CopyTableFiles(const QString& origin, const QString& folder, const QString& newBase = QString());
