#pragma once

#include <QFlags>
#include <QString>

#include <vector>

namespace db::access {
class AccessConnection;
}

namespace engine {

// Kinds of table the tables schema of a database connection tells apart, in this order.
enum class AdoTableKind {
    Table = 0x01,        // "TABLE"
    View = 0x02,         // "VIEW"
    Synonym = 0x04,      // "SYNONYM"
    SystemTable = 0x08,  // "SYSTEM TABLE"
    AccessTable = 0x10,  // "ACCESS TABLE"
};
Q_DECLARE_FLAGS(AdoTableKinds, AdoTableKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(AdoTableKinds)

// The schema value of TABLE_TYPE that selects a kind.
QString AdoTableKindText(AdoTableKind kind);

// One table of the list: its TABLE_NAME and TABLE_TYPE.
struct AdoTableInfo {
    QString TableName;
    QString TableType;
};

// The new condition alone when the current filter text is empty, otherwise the current text + " or " + the new
// condition.
QString AppendOrFilter(const QString& filter, const QString& condition);

// Fills tables with the tables of the connected database whose kind is in kinds, in the order the database lists
// them. Errors of the connection (not connected, database unreadable) are not caught here.
void ListAdoTables(db::access::AccessConnection& connection, AdoTableKinds kinds, std::vector<AdoTableInfo>& tables);

}  // namespace engine
