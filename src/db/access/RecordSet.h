#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace db::access {

// A small read-only data set of text columns with a cursor and a filter, the way the Access layer hands out
// schema information (the tables schema has the columns TABLE_NAME and TABLE_TYPE).
//
// Filter texts follow the usual data-set syntax: comparisons of a column with a quoted text or a number
// (=, <>, <, >, <=, >=, LIKE with * or % as wildcards), joined with AND, OR, NOT and brackets; texts compare without
// regard to case, and an empty filter lets every row through.
class RecordSet {
public:
    RecordSet(QStringList fieldNames, std::vector<QStringList> rows);
    ~RecordSet();
    RecordSet(RecordSet&&) noexcept;
    RecordSet& operator=(RecordSet&&) noexcept;

    const QStringList& fieldNames() const { return fieldNames_; }

    // Raises EngineError FilterSyntax (when the filter is on) for a text it cannot read or a column it does not
    // have.
    void setFilter(const QString& filter);
    const QString& filter() const { return filter_; }
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }

    // Rows visible under the current filter.
    int recordCount() const { return int(visible_.size()); }

    void first();
    void next();
    bool eof() const;
    // Value of a column of the current row; raises EngineError FieldNotFound for an unknown column and
    // InvalidState when the cursor is past the end.
    QString fieldByName(const QString& name) const;

    class Condition;

private:
    void apply();
    int fieldIndex(const QString& name) const;

    QStringList fieldNames_;
    std::vector<QStringList> rows_;
    std::vector<int> visible_;
    QString filter_;
    bool filtered_ = false;
    int position_ = 0;
};

}  // namespace db::access
