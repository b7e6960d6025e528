#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace db {
class Table;
}

// One import setting as values: its row of the settings list (ImpList.DB) and its Mapping rows (ZStrukt.DB). The
// columns of both tables are read and written here and nowhere else, so that the run and the pages take what they
// need from a value instead of from whatever row a cursor happens to stand on.
//
// A numeric column that is blank reads as nothing and is written blank again. A logical column that is blank reads
// as false.
namespace engine {

// One Mapping row. A column is "set" when its value as text is not empty: a blank numeric column is not set, a
// stored 0 is.
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
    bool BedLeer = false;
    QString Quellwert_alph;
    std::optional<double> Quellwert_num;
    QString Formel_alph;
    QString Formel_num;
    std::optional<int> Runden;
    bool Ausrichtung_li = false;
    bool Ausrichtung_re = true;
    bool Ueberl_abschneid_li = false;
    bool Ueberl_abschneid_re = false;
    std::optional<int> StringAuswahlBeg;
    std::optional<int> StringAuswahlEnd;
    bool FeldAkt = true;

    bool isKeyRow() const { return !Index.isEmpty(); }
    bool isMapped() const { return !Zuordnung.isEmpty(); }

    bool operator==(const MappingRow&) const = default;
};

// One row of the settings list.
struct ImportSetting {
    QString Bezeichnung;
    QString Bemerkung;
    QString Quellformat;
    std::optional<int> TableName;  // given by the engine when the row is first posted
    QString VorDefTableName;
    QString Quelldatei;
    QString Zieldatei;
    bool ZielLeeren = false;
    bool Sicherungskopie = false;
    QDate LetzterImport;  // invalid: blank
    std::optional<int> Importmodus;
    std::optional<int> Marks;
    QString MarkFeld;
    bool Semic = false;
    bool Komma = false;
    bool Tab = false;
    bool Space = false;
    QString Andere;
    std::optional<int> Delimiter;
    QString ColNames;
    QString FixBreak;
    std::optional<int> FixVar;
    bool DosToWin = false;
    QString Decimal;
    QString Tausend;
    QString Zeit;
    QString Datum;
    QString TMJ;
    bool NamesInFirstLine = false;
    bool Eigene = false;

    // The setting's Mapping rows, in table order.
    std::vector<MappingRow> Mapping;

    // The folder of Quelldatei with its trailing separator ("/" or "\"), empty when the name has none.
    QString QuelldateiOrdner() const;

    bool operator==(const ImportSetting&) const = default;
};

// The row at the cursor of the open tblImpList; Mapping stays empty.
ImportSetting ReadImpListRow(db::Table& tblImpList);
// Writes every column but TableName (the engine's counter) into tblImpList's record, which must be in edit or
// insert state; posting is the caller's.
void WriteImpListRow(db::Table& tblImpList, const ImportSetting& setting);

// The row at the cursor of the open tblZStrukt.
MappingRow ReadMappingRow(db::Table& tblZStrukt);
// Writes the row into tblZStrukt's record, which must be in edit or insert state.
void WriteMappingRow(db::Table& tblZStrukt, const MappingRow& row);

// Every row of tblZStrukt (opened when closed), in table order. The cursor stands where it stood, and no grid on the
// table sees it move.
std::vector<MappingRow> ReadMapping(db::Table& tblZStrukt);
// Replaces every row of the open tblZStrukt with these.
void WriteMapping(db::Table& tblZStrukt, const std::vector<MappingRow>& rows);

// The row at tblImpList's cursor with the mapping of tblZStrukt (the mapping loaded for that setting).
ImportSetting ReadImportSetting(db::Table& tblImpList, db::Table& tblZStrukt);

}  // namespace engine
