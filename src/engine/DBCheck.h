#pragma once

#include <QString>

namespace db {
class Table;
}

// Whether a column of the source can supply the values of the target's primary key.
namespace engine {

// True when every record of DataSet has a value in FieldName (its text is not empty) and no value occurs twice.
// Opens DataSet when it is closed and walks it from the first record, leaving the cursor where the walk ended: on
// the first record that fails, or past the last. Grids bound to DataSet are held still during the walk and follow
// again afterwards, also when it fails. A FieldName DataSet does not have raises the engine's field-not-found
// error. Shows no message.
bool SchluesselfeldPruefen(db::Table& DataSet, const QString& FieldName);

}  // namespace engine
