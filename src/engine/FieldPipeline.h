#pragma once

#include "engine/Formulas.h"
#include "engine/ImportSetting.h"
#include "db/TableStorage.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace db {
class Field;
class Table;
}  // namespace db

namespace parser {
class TParser;
}

// The conversion of one target field during an import run: the copy, division and multiplication, the
// conditional defaults, the formulas, alignment, cutting, substring and rounding, in that fixed order.
//
// Every step that writes the target field runs under its own guard: a failure is counted in the context's failure
// count (AnzFehlerErhoehen), shows nothing, leaves the field as it was and the next step runs. What stands outside
// the guards (the tests before alignment and cutting, emptying the field before a substring, the comparisons of the
// defaults) ends the field, and with it the run, when it fails.
//
// The run takes the Mapping rows as values, read once from the mapping before it starts: reading 26 columns of every
// row for every source record would cost more than the import itself. The source and target fields are looked up
// once as well; a name that is missing raises where the run would have looked it up, so a wrong mapping fails
// exactly as it would have.
namespace engine {

class FormelWertSpeicher;

// What the steps of a field work with: the parser of the numeric formulas, the source table on its current record,
// the folder of the setting's source file (picture files named by the source are looked for there) and the count
// every failed step adds to. The steps know nothing else of the run.
struct PipelineContext {
    parser::TParser& Parser1;
    db::Table& tblQuelle;
    QString QuelldateiOrdner;
    std::int32_t& AnzFehler;
    // The run's kept formula values; nullptr: every formula is computed anew.
    FormelWertSpeicher* formelWerte = nullptr;
};

// Adds one to a failure count; raises std::range_error where the count would leave the 32-bit range.
void AnzFehlerErhoehen(std::int32_t& AnzFehler);

// A Mapping row bound to the fields of the open source and target tables.
struct BoundMappingRow : MappingRow {
    // The field of the source table named by Zuordnung and the field of the target named by Feldname; nullptr when
    // the table has no such field.
    db::Field* quelle = nullptr;
    db::Field* ziel = nullptr;
    // Formel_num taken apart over the source table.
    std::shared_ptr<const NumericFormula> formelNum;
    // The row copies a text into a text field and nothing else, from a source field no other row reads: its
    // values pass as bytes, translated by byteMap (see FeldUebertragen).
    bool textAsBytes = false;
    db::TextByteMap byteMap{};

    // The fields, raising the engine's "field not found" error where the row names a field that does not exist.
    db::Field& sourceField() const;
    db::Field& targetField() const;
};

// Binds every row to its fields in the open source and target tables, in the given order. textAsBytes: rows
// that can pass texts as their bytes do so (false: every value goes the general way, as tests compare).
std::vector<BoundMappingRow> BindMappingRows(const std::vector<MappingRow>& rows, db::Table& tblQuelle,
                                             db::Table& tblZiel, bool textAsBytes = true);

// The two routines the drivers call for a row, with the target record in insert or edit state and the source on the
// current record. Neither posts nor moves a cursor.
void FeldUebertragen(const PipelineContext& ctx, const BoundMappingRow& row);
void FeldOhneZuordnung(const PipelineContext& ctx, const BoundMappingRow& row);

// The steps, callable on their own.
void FeldwertKopieren(const PipelineContext& ctx, const BoundMappingRow& row);
void FeldRunden(const PipelineContext& ctx, const BoundMappingRow& row);
void VorgabeAlphAnwenden(const PipelineContext& ctx, const BoundMappingRow& row);
void VorgabeNumAnwenden(const PipelineContext& ctx, const BoundMappingRow& row);
void FormelAlphAnwenden(const PipelineContext& ctx, const BoundMappingRow& row);
void FormelNumAnwenden(const PipelineContext& ctx, const BoundMappingRow& row);

// Handed to the steps through PipelineContext::formelWerte, this lets FormelNumAnwenden keep the value of every
// prepared expression it has computed and reuse it when the same text comes again: the text holds the source values,
// so equal texts give equal values, and compiling is the dearest part of the step. Only expressions without RND are
// kept, as its value changes with every call; failures are never kept, so they are raised and counted each time.
// The run holds one for its duration (the parser's variables and the number format stay as they are while it runs).
class FormelWertSpeicher {
public:
    FormelWertSpeicher() = default;
    FormelWertSpeicher(const FormelWertSpeicher&) = delete;
    FormelWertSpeicher& operator=(const FormelWertSpeicher&) = delete;

    // The kept value of the expression, computed (and kept when it may be) when there is none.
    static double Wert(const PipelineContext& ctx, const std::string& expression);
    // The value of a prepared formula for the source's current record. Where its text follows from the values of
    // the number fields it names, the value is kept by those values as well, so that a record whose numbers came
    // before costs neither the writing of its text nor the parser.
    static double Wert(const PipelineContext& ctx, const NumericFormula& formula);

private:
    std::unordered_map<std::string, double> values_;
    std::unordered_map<std::string, double> byFieldValues_;
    std::string key_;  // the key of the latest look-up in byFieldValues_
};

// The bytes a graphic field receives for a picture file: the picture as a Windows bitmap file ("BM..."), which is
// what graphic fields of Paradox tables hold. Empty when the file is no picture Qt can read.
QByteArray PictureFileAsBitmap(const QString& path);

}  // namespace engine
