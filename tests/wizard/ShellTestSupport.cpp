#include "ShellTestSupport.h"

#include "db/Field.h"
#include "db/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

ShellFolders::ShellFolders()
{
    QDir().mkpath(programFolder());
    const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
    for (const QString& name : built.entryList({"*.DB", "*.MB", "*.PX"}, QDir::Files))
        QFile::copy(built.filePath(name), programFolder() + name);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder());
}

ShellFolders::~ShellFolders() = default;

QString ShellFolders::touch(const QString& relative, const QByteArray& content) const
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly)) << file.toStdString();
    out.write(content);
    return file;
}

wizard::ProgramContext ShellFolders::context(const QStringList& arguments) const
{
    return wizard::ProgramContext::forFolder(programFolder(), arguments);
}

QString ShellFolders::settingsFile() const
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Velmora", "Import").fileName();
}

QString ShellFolders::stored(const QString& key) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Velmora", "Import");
    return settings.value(QStringLiteral("1.0/") + key).toString();
}

void ShellFolders::store(const QString& key, const QString& value) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Velmora", "Import");
    settings.setValue(QStringLiteral("1.0/") + key, value);
}

void AddSetting(const QString& programFolder, const QString& name)
{
    db::Table list;
    list.setTableName(programFolder + QStringLiteral("ImpList.DB"));
    list.Open();
    list.Append();
    list.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(name);
    list.Post();
    list.Close();
}

int RowCount(const QString& tablePath)
{
    db::Table table;
    table.setTableName(tablePath);
    table.Open();
    const int count = table.RecordCount();
    table.Close();
    return count;
}

QString CopyTableFiles(const QString& origin, const QString& folder, const QString& newBase)
{
    const QFileInfo table(origin);
    QDir().mkpath(folder);
    const QString base = newBase.isEmpty() ? table.completeBaseName() : newBase;
    for (const QFileInfo& file : table.dir().entryInfoList({table.completeBaseName() + ".*"}, QDir::Files)) {
        const QString copy = folder + u'/' + base + u'.' + file.suffix();
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(file.filePath(), copy)) << copy.toStdString();
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    }
    return folder + u'/' + base + u'.' + table.suffix();
}
