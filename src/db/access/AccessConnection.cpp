#include "db/access/AccessConnection.h"

#include "db/EngineError.h"
#include "db/access/AccessFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace db::access {

namespace {

constexpr int kParadoxNameLength = 25;

QString keyOf(const QString& part)
{
    const qsizetype eq = part.indexOf(u'=');
    return eq < 0 ? QString() : part.left(eq).trimmed();
}

// A connection string is a list of Key=Value parts separated by semicolons. A file path may itself contain a
// semicolon, so a part that does not start with a key belongs to the value before it.
QList<QPair<QString, QString>> parseConnectionString(const QString& text)
{
    static const QRegularExpression keyStart(QStringLiteral("^\\s*[A-Za-z][A-Za-z0-9 _.:]*="));
    QList<QPair<QString, QString>> pairs;
    const QStringList parts = text.split(u';');
    for (const QString& part : parts) {
        if (keyStart.match(part).hasMatch()) {
            const qsizetype eq = part.indexOf(u'=');
            pairs.append({keyOf(part), part.mid(eq + 1)});
        } else if (!pairs.isEmpty() && !part.isEmpty()) {
            pairs.last().second += u';' + part;
        } else if (!part.trimmed().isEmpty()) {
            throw EngineError(ErrorCode::InvalidValue,
                              QStringLiteral("Die Verbindungsangabe \"%1\" ist ungültig.").arg(text));
        }
    }
    return pairs;
}

QString valueOf(const QList<QPair<QString, QString>>& pairs, const QString& key)
{
    for (const auto& [k, v] : pairs)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

QString tableTypeOf(const CatalogObject& object)
{
    switch (object.type) {
    case ObjectType::Table:
        if (object.flags & 0x80000000u)
            return QStringLiteral("SYSTEM TABLE");
        if (object.flags & 0x2u)
            return QStringLiteral("ACCESS TABLE");
        return QStringLiteral("TABLE");
    case ObjectType::Query:
        // Only select queries are views; action, crosstab, union and pass-through queries carry their kind in
        // the upper flag bits and are procedures, not tables.
        return (object.flags & 0xF0u) == 0 ? QStringLiteral("VIEW") : QString();
    case ObjectType::LinkedTable:
        return QStringLiteral("LINK");
    case ObjectType::OdbcLinkedTable:
        return QStringLiteral("PASS-THROUGH");
    default:
        return {};
    }
}

}  // namespace

QStringList paradoxFieldNames(const QStringList& accessNames)
{
    QStringList result;
    QSet<QString> taken;
    for (int i = 0; i < accessNames.size(); ++i) {
        QString name = accessNames.at(i);
        for (QChar& c : name)
            if (c == u'[' || c == u']' || c == u'{' || c == u'}' || c == u'(' || c == u')' || c.category() == QChar::Other_Control)
                c = u'_';
        name.replace(QStringLiteral("->"), QStringLiteral("_>"));
        while (name.startsWith(u' '))
            name.remove(0, 1);
        if (name.trimmed() == QStringLiteral("#"))
            name = QStringLiteral("Nr");
        if (name.trimmed().isEmpty())
            name = QStringLiteral("Feld%1").arg(i + 1);
        name = name.left(kParadoxNameLength);
        QString candidate = name;
        for (int n = 2; taken.contains(candidate.toUpper()); ++n) {
            const QString suffix = QStringLiteral("_%1").arg(n);
            candidate = name.left(kParadoxNameLength - suffix.size()) + suffix;
        }
        taken.insert(candidate.toUpper());
        result.append(candidate);
    }
    return result;
}

void AccessConnection::setConnectionString(const QString& connectionString)
{
    if (connected_)
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Verbindungsangabe kann bei geöffneter Verbindung nicht geändert werden."));
    connectionString_ = connectionString;
}

void AccessConnection::connect()
{
    if (connected_)
        return;
    const auto pairs = parseConnectionString(connectionString_);
    const QString provider = valueOf(pairs, QStringLiteral("Provider")).trimmed();
    if (!provider.startsWith(QStringLiteral("Microsoft.Jet.OLEDB."), Qt::CaseInsensitive))
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Der Datenbanktreiber \"%1\" wird nicht unterstützt.").arg(provider));
    const QString source = valueOf(pairs, QStringLiteral("Data Source")).trimmed();
    if (source.isEmpty())
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Die Verbindungsangabe nennt keine Datenbank (Data Source)."));
    const QString path = QFileInfo(source).absoluteFilePath();
    // The full check, including reading the catalog, so that a database that cannot be read fails here and not
    // on the first use.
    readAccessCatalog(path);
    databasePath_ = path;
    connected_ = true;
}

void AccessConnection::disconnect()
{
    connected_ = false;
}

void AccessConnection::requireConnected() const
{
    if (!connected_)
        throw EngineError(ErrorCode::InvalidState,
                          QStringLiteral("Die Verbindung zur Access-Datenbank ist nicht geöffnet."));
}

RecordSet AccessConnection::openTablesSchema() const
{
    requireConnected();
    std::vector<QStringList> rows;
    for (const CatalogObject& object : readAccessCatalog(databasePath_)) {
        const QString type = tableTypeOf(object);
        if (!type.isEmpty())
            rows.push_back({object.name, type});
    }
    return RecordSet({QStringLiteral("TABLE_NAME"), QStringLiteral("TABLE_TYPE")}, std::move(rows));
}

}  // namespace db::access
