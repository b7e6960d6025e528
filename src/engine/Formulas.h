#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace db {
class Field;
class Table;
}  // namespace db

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

// A numeric formula taken apart once and its references bound to the fields of one table, so that a run does not
// scan the text and look up the names again for every record. expression() gives what FormelNumAufbereiten gives
// for the table's current record, error boxes included. The table must keep its fields (stay open) while the
// object is used.
class NumericFormula {
public:
    NumericFormula(db::Table& DataSet, const QString& Formel);

    QString expression() const;
    // Appends to key what expression() depends on besides the number format: which formula this is (a number no
    // other formula of the process has) and the values of the fields it names. False, with key unusable, where more
    // goes into the text (a reference that is missing, to a field that is no number or that is blank, or an empty
    // formula, each of which shows an error box).
    bool appendValueKey(std::string& key) const;
    // Whether this is Formel taken apart over DataSet.
    bool isFor(const db::Table& DataSet, const QString& Formel) const
    {
        return table_ == &DataSet && formula_ == Formel;
    }

private:
    // A run of expression text, or a field reference (field is nullptr when the table has no such field).
    struct Part {
        QString literal;
        QString name;
        db::Field* field = nullptr;
        bool isReference = false;
    };

    const db::Table* table_;
    QString formula_;
    std::uint64_t id_;
    bool empty_ = false;
    std::vector<Part> parts_;
};

}  // namespace engine
