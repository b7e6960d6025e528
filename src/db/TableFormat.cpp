#include "db/TableFormat.h"

#include "db/EngineError.h"
#include "db/FileLock.h"
#include "db/FileNames.h"
#include "db/dbase/DbaseTable.h"
#include "db/paradox/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace db {

namespace {

// Takes the inter-process lock exclusively for as long as the returned lock lives, so that a table another
// program holds is neither replaced nor deleted under it.
FileLock lockExisting(const QString& path)
{
    FileLock lock;
    const QString actual = findFileIgnoringCase(path);
    if (QFileInfo::exists(actual))
        lock.acquire(actual, OpenMode::Exclusive);
    return lock;
}

void removeFileSet(const QString& path, const QRegularExpression& companions)
{
    const QString actual = findFileIgnoringCase(path);
    const QFileInfo main(actual);
    if (!main.exists()) {
        throw EngineError(ErrorCode::TableNotFound,
                          QStringLiteral("Die Tabelle %1 ist nicht vorhanden.").arg(QDir::toNativeSeparators(path)));
    }
    FileLock lock = lockExisting(actual);
    for (const QString& file : filesOfBaseName(main.absolutePath(), main.completeBaseName())) {
        if (!companions.match(QFileInfo(file).suffix()).hasMatch())
            continue;
        if (!QFile::remove(file)) {
            throw EngineError(ErrorCode::IoError, QStringLiteral("Die Datei %1 kann nicht gelöscht werden.")
                                                      .arg(QDir::toNativeSeparators(file)));
        }
    }
}

class ParadoxFormat final : public TableFormat {
public:
    QString defaultExtension() const override { return QStringLiteral(".DB"); }
    TableStoragePtr open(const QString& path, OpenMode mode) const override { return paradox::open(path, mode); }
    void create(const QString& path, const FieldDefList& fields, int keyFieldCount) const override
    {
        // paradox::create takes the exclusive lock on a table it replaces itself; a second lock here, through
        // another file handle, would conflict with it.
        paradox::create(path, fields, keyFieldCount);
    }
    qint64 capacity(const FieldDefList& fields, int keyFieldCount) const override
    {
        return paradox::capacity(fields, keyFieldCount);
    }
    void remove(const QString& path) const override
    {
        // The table, its memo file, primary and secondary indexes, validity checks and view settings.
        static const QRegularExpression companions(
            QStringLiteral("^(DB|MB|PX|VAL|TV|FAM|[XY][0-9A-F]{2}|[XY]G[0-9A-F])$"),
            QRegularExpression::CaseInsensitiveOption);
        removeFileSet(path, companions);
    }
};

class DbaseFormat final : public TableFormat {
public:
    QString defaultExtension() const override { return QStringLiteral(".DBF"); }
    TableStoragePtr open(const QString& path, OpenMode mode) const override { return dbase::open(path, mode); }
    void create(const QString& path, const FieldDefList& fields, int keyFieldCount) const override
    {
        if (keyFieldCount > 0) {
            throw EngineError(ErrorCode::NotSupported,
                              QStringLiteral("Eine dBase-Tabelle kann keinen Primärschlüssel haben."));
        }
        dbase::create(path, fields);
    }
    void remove(const QString& path) const override
    {
        static const QRegularExpression companions(QStringLiteral("^(DBF|DBT|FPT|MDX)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
        removeFileSet(path, companions);
    }
};

}  // namespace

const TableFormat& paradoxFormat()
{
    static const ParadoxFormat format;
    return format;
}

const TableFormat& dbaseFormat()
{
    static const DbaseFormat format;
    return format;
}

}  // namespace db
