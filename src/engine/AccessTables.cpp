#include "engine/AccessTables.h"

#include "db/access/AccessConnection.h"

namespace engine {

namespace {

constexpr AdoTableKind kKindsInOrder[] = {AdoTableKind::Table, AdoTableKind::View, AdoTableKind::Synonym,
                                          AdoTableKind::SystemTable, AdoTableKind::AccessTable};

}  // namespace

QString AdoTableKindText(AdoTableKind kind)
{
    switch (kind) {
    case AdoTableKind::Table:
        return QStringLiteral("TABLE");
    case AdoTableKind::View:
        return QStringLiteral("VIEW");
    case AdoTableKind::Synonym:
        return QStringLiteral("SYNONYM");
    case AdoTableKind::SystemTable:
        return QStringLiteral("SYSTEM TABLE");
    case AdoTableKind::AccessTable:
        return QStringLiteral("ACCESS TABLE");
    }
    return {};
}

QString AppendOrFilter(const QString& filter, const QString& condition)
{
    if (filter.isEmpty())
        return condition;
    return filter + QStringLiteral(" or ") + condition;
}

void ListAdoTables(db::access::AccessConnection& connection, AdoTableKinds kinds, std::vector<AdoTableInfo>& tables)
{
    db::access::RecordSet dataSet = connection.openTablesSchema();
    QString filter;
    for (const AdoTableKind kind : kKindsInOrder)
        if (kinds.testFlag(kind))
            filter = AppendOrFilter(filter, QStringLiteral("(TABLE_TYPE = '%1')").arg(AdoTableKindText(kind)));
    dataSet.setFilter(filter);
    dataSet.setFiltered(true);

    tables.assign(std::size_t(dataSet.recordCount()), AdoTableInfo{});
    dataSet.first();
    std::size_t i = 0;
    while (!dataSet.eof()) {
        tables[i].TableName = dataSet.fieldByName(QStringLiteral("TABLE_NAME"));
        tables[i].TableType = dataSet.fieldByName(QStringLiteral("TABLE_TYPE"));
        ++i;
        dataSet.next();
    }
}

}  // namespace engine
