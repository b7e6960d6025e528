#pragma once

#include <QString>

namespace db {
class Table;
}

// Formulas of a Mapping row over the fields of the current source record. A field is referenced as #Name, or as
// #{Name with blanks}; names are looked up in the table passed in, without regard to case.
//
// The run applies them in FieldPipeline.h (FormelAlphAnwenden, FormelNumAnwenden); the formula editor shows a
// preview with the same two routines.
namespace engine {

// The result of a text formula: quoted literals and field values joined, everything else between the parts
// skipped ("Sehr geehrter " + #Anrede + " " + #Name). An empty formula or a missing field: an error box and the
// empty text.
QString FormelAlphBerechnen(db::Table& DataSet, const QString& Formel);

// The expression for the parser: every field reference replaced by the field's number, blanks dropped and every
// "," turned into the parser's ".". An empty formula or a missing field: an error box and the empty text. A field
// whose text is no number: an error box and the expression as far as it was built.
QString FormelNumAufbereiten(db::Table& DataSet, const QString& Formel);

}  // namespace engine
