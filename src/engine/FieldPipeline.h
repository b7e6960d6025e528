#pragma once

#include "engine/Formulas.h"
#include "engine/Importlauf.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace db {
class Field;
class Table;
}  // namespace db

// The conversion of one target field during an import run: the copy, division and multiplication, the
// conditional defaults, the formulas, alignment, cutting, substring and rounding, in that fixed order.
//
// Every step that writes the target field runs under its own guard: a failure is counted (AnzFehlerErhoehen),
// shows nothing, leaves the field as it was and the next step runs. What stands outside the guards (the tests
// before alignment and cutting, emptying the field before a substring, the comparisons of the defaults) ends the
// field, and with it the run, when it fails.
//
// The Mapping rows are read once when a run starts: the mapping page is locked while the progress window shows, so
// the rows cannot change under the run, and reading 26 columns of every row for every source record would cost
// more than the import itself. The source and target fields are looked up once as well; a name that is missing
// raises where the run would have looked it up, so a wrong mapping fails exactly as it would have.
namespace engine {

// One Mapping row of ZStrukt.DB as the run sees it. A column is "set" when its value as text is not empty: a blank
// numeric column is not set, a stored 0 is.
struct MappingRow {
    QString Index;
    QString Feldname;
    QString Laenge;
    QString Typbezeichnung;
    QString Zuordnung;
    int Typ = 0;
    std::optional<double> Div;
    std::optional<double> Mul;
    QString Vorgabewert_alph;
    std::optional<double> Vorgabewert_num;
    bool BedGleich = false;
    bool BedKleiner = false;
    bool BedGroesser = false;
    QString Quellwert_alph;
    std::optional<double> Quellwert_num;
    QString Formel_alph;
    QString Formel_num;
    std::optional<int> Runden;
    bool Ausrichtung_li = false;
    bool Ausrichtung_re = true;
    bool Ueberl_abschneid_li = false;
    std::optional<int> StringAuswahlBeg;
    std::optional<int> StringAuswahlEnd;
    bool FeldAkt = true;

    bool isKeyRow() const { return !Index.isEmpty(); }
    bool isMapped() const { return !Zuordnung.isEmpty(); }

    // Bound by BindMappingRows: the field of the source table named by Zuordnung and the field of the target
    // named by Feldname; nullptr when the table has no such field.
    db::Field* quelle = nullptr;
    db::Field* ziel = nullptr;
    // Bound by BindMappingRows as well: Formel_num taken apart over the source table.
    std::shared_ptr<const NumericFormula> formelNum;

    // The fields, raising the engine's "field not found" error where the row names a field that does not exist.
    db::Field& sourceField() const;
    db::Field& targetField() const;
};

// Reads the row at tblZStrukt's cursor.
MappingRow ReadMappingRow(db::Table& tblZStrukt);
// Reads every row of the open tblZStrukt in table order (the cursor ends behind the last row) and binds each to
// its fields in the open source and target tables.
std::vector<MappingRow> BindMappingRows(db::Table& tblZStrukt, db::Table& tblQuelle, db::Table& tblZiel);

// The two routines the drivers call for a row, with the target record in insert or edit state and the source on the
// current record. Neither posts nor moves a cursor.
void FeldUebertragen(const ImportRunContext& run, const MappingRow& row);
void FeldOhneZuordnung(const ImportRunContext& run, const MappingRow& row);

// The steps, callable on their own.
void FeldwertKopieren(const ImportRunContext& run, const MappingRow& row);
void FeldRunden(const ImportRunContext& run, const MappingRow& row);
void VorgabeAlphAnwenden(const ImportRunContext& run, const MappingRow& row);
void VorgabeNumAnwenden(const ImportRunContext& run, const MappingRow& row);
void FormelAlphAnwenden(const ImportRunContext& run, const MappingRow& row);
void FormelNumAnwenden(const ImportRunContext& run, const MappingRow& row);

// While an object of this class lives, FormelNumAnwenden keeps the value of every prepared expression it has
// computed and reuses it when the same text comes again: the text holds the source values, so equal texts give equal
// values, and compiling is the dearest part of the step. Only expressions without RND are kept, as its value changes
// with every call; failures are never kept, so they are raised and counted each time. The run holds one for its
// duration (the parser's variables and the number format stay as they are while it runs).
class FormelWertSpeicher {
public:
    FormelWertSpeicher();
    ~FormelWertSpeicher();
    FormelWertSpeicher(const FormelWertSpeicher&) = delete;
    FormelWertSpeicher& operator=(const FormelWertSpeicher&) = delete;

    // The kept value of the expression, computed (and kept when it may be) when there is none.
    static double Wert(const ImportRunContext& run, const std::string& expression);
    // The value of a prepared formula for the source's current record. Where its text follows from the values of
    // the number fields it names, the value is kept by those values as well, so that a record whose numbers came
    // before costs neither the writing of its text nor the parser.
    static double Wert(const ImportRunContext& run, const NumericFormula& formula);

private:
    std::unordered_map<std::string, double> values_;
    std::unordered_map<std::string, double> byFieldValues_;
    std::string key_;  // the key of the latest look-up in byFieldValues_
    FormelWertSpeicher* previous_;
};

// The bytes a graphic field receives for a picture file: the picture as a Windows bitmap file ("BM..."), which is
// what graphic fields of Paradox tables hold. Empty when the file is no picture Qt can read.
QByteArray PictureFileAsBitmap(const QString& path);

}  // namespace engine
