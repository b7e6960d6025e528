#pragma once

#include "db/Field.h"

#include <QString>
#include <functional>
#include <span>

// The titles the program's grids and lists show over the columns of its working tables, and the type names in
// their cells. The titles are window texts of the language module, under the table's and the column's name
// ("ZStrukt.Feldname"), so that a module translates them as it translates a control's caption; the type names are
// read from each row's type code in the language in use. What the tables hold stays as it is.
namespace db {
class Table;
}

namespace wizard {

struct GridTitle {
    const char* key;     // "<table>.<column>"
    const char* german;  // the program's own title
};

// Every title, for the language modules to carry.
std::span<const GridTitle> GridTitles();

// The title in force for key: the module's, else the German one.
QString GridTitleText(const char* key);

// The type name a grid shows for a row of table, ZStrukt (zStrukt) or QStrukt, read from the row's Typ column.
std::function<QString(const db::Record&)> ShownTypeName(db::Table& table, bool zStrukt);

}  // namespace wizard
