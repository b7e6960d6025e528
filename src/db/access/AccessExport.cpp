#include "db/EngineError.h"
#include "db/FileNames.h"
#include "db/access/AccessConnection.h"
#include "db/access/AccessFile.h"
#include "db/paradox/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

// The copy of an Access table into a new Paradox table, kept apart from the rest of the connection because it is
// the only part that needs the Paradox engine.

namespace db::access {

namespace {

struct SelectInto {
    QString targetName;
    QString folder;
    QString sourceTable;
};

SelectInto parseStatement(const QString& statement)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*SELECT\\s+\\*\\s+INTO\\s+\\[([^\\]]+)\\]\\s+IN\\s+\"([^\"]*)\"\\s+\"([^\"]*)\"\\s+FROM\\s+"
                       "(.+?)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = form.match(statement);
    if (!m.hasMatch() || m.captured(3).trimmed().compare(QStringLiteral("Paradox 5.x;"), Qt::CaseInsensitive) != 0)
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Anweisung \"%1\" kann nicht ausgeführt werden. Unterstützt wird nur "
                                         "das Kopieren einer Access-Tabelle in eine neue Paradox-Tabelle.")
                              .arg(statement));
    SelectInto s;
    s.targetName = m.captured(1).trimmed();
    s.folder = m.captured(2);
    s.sourceTable = m.captured(4).trimmed();
    if (s.sourceTable.size() >= 2 && s.sourceTable.startsWith(u'[') && s.sourceTable.endsWith(u']'))
        s.sourceTable = s.sourceTable.mid(1, s.sourceTable.size() - 2);
    if (QFileInfo(s.targetName).suffix().isEmpty())
        s.targetName += QStringLiteral(".db");
    return s;
}

}  // namespace

int AccessConnection::execute(const QString& statement)
{
    requireConnected();
    const SelectInto s = parseStatement(statement);
    if (!QFileInfo(s.folder).isDir())
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Der Ordner \"%1\" existiert nicht.").arg(s.folder));
    const QString target = QDir(s.folder).filePath(s.targetName);
    const QString baseName = QFileInfo(target).completeBaseName();
    for (const QString& existing : filesOfBaseName(s.folder, baseName))
        if (QFileInfo(existing).suffix().compare(QFileInfo(target).suffix(), Qt::CaseInsensitive) == 0)
            throw EngineError(ErrorCode::InvalidState,
                              QStringLiteral("Die Tabelle \"%1\" gibt es bereits.").arg(QFileInfo(existing).fileName()));
    const QStringList before = filesOfBaseName(s.folder, baseName);

    TableStoragePtr storage;
    int rows = 0;
    try {
        readAccessTable(
            databasePath_, s.sourceTable,
            [&](const std::vector<AccessColumn>& columns) {
                QStringList names;
                for (const AccessColumn& c : columns)
                    names.append(c.name);
                const QStringList paradoxNames = paradoxFieldNames(names);
                FieldDefList fields;
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    FieldDef field = fieldFor(columns[i]);
                    field.name = paradoxNames.at(int(i));
                    fields.push_back(field);
                }
                paradox::create(target, fields, 0);
                storage = paradox::open(target, OpenMode::Exclusive);
            },
            [&](Record&& record) {
                storage->insert(record, storage->recordCount());
                ++rows;
            });
        if (storage)
            storage->flush();
    } catch (...) {
        // A half-written copy must not be mistaken for the table later: remove what this run created, without
        // writing it once more on the way.
        if (storage)
            storage->discardChanges();
        storage.reset();
        for (const QString& file : filesOfBaseName(s.folder, baseName))
            if (!before.contains(file))
                QFile::remove(file);
        throw;
    }
    return rows;
}

}  // namespace db::access
