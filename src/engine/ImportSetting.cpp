#include "engine/ImportSetting.h"

#include "db/Field.h"
#include "db/Table.h"

#include <QDateTime>
#include <algorithm>

namespace engine {

namespace {

// The columns of one record, read and written by name (the working tables are matched without regard to case).
// A blank column reads as an empty text, false, no number or an invalid date; writing those back leaves it blank.
class Columns {
public:
    explicit Columns(db::Table& table) : table_(table) {}

    void get(const char* column, QString& value) const { value = field(column)->AsString(); }
    void get(const char* column, bool& value) const
    {
        const db::Field* f = field(column);
        value = !f->IsNull() && f->AsBoolean();
    }
    void get(const char* column, std::optional<double>& value) const
    {
        const db::Field* f = field(column);
        value = f->IsNull() ? std::nullopt : std::optional<double>(f->AsFloat());
    }
    void get(const char* column, std::optional<int>& value) const
    {
        const db::Field* f = field(column);
        value = f->IsNull() ? std::nullopt : std::optional<int>(f->AsInteger());
    }
    void get(const char* column, int& value) const
    {
        std::optional<int> whole;
        get(column, whole);
        value = whole.value_or(0);
    }
    void get(const char* column, QDate& value) const
    {
        const db::Field* f = field(column);
        value = f->IsNull() ? QDate() : f->AsDateTime().date();
    }

    void put(const char* column, const QString& value) { field(column)->setAsString(value); }
    void put(const char* column, bool value) { field(column)->setAsBoolean(value); }
    void put(const char* column, const std::optional<double>& value)
    {
        if (value)
            field(column)->setAsFloat(*value);
        else
            field(column)->Clear();
    }
    void put(const char* column, const std::optional<int>& value)
    {
        if (value)
            field(column)->setAsInteger(*value);
        else
            field(column)->Clear();
    }
    void put(const char* column, int value) { field(column)->setAsInteger(value); }
    void put(const char* column, const QDate& value)
    {
        if (value.isValid())
            field(column)->setAsVariant(value);
        else
            field(column)->Clear();
    }

private:
    db::Field* field(const char* column) const { return table_.FieldByName(QLatin1String(column)); }

    db::Table& table_;
};

// Every column of a settings-list row and the member that holds it, once for reading and writing. TableName is not
// among them: the engine gives it when the row is first posted, so it is only read.
template <class Setting, class Visit>
void settingColumns(Setting& s, Visit&& v)
{
    v("Bezeichnung", s.Bezeichnung);
    v("Bemerkung", s.Bemerkung);
    v("Quellformat", s.Quellformat);
    v("VorDefTableName", s.VorDefTableName);
    v("Quelldatei", s.Quelldatei);
    v("Zieldatei", s.Zieldatei);
    v("ZielLeeren", s.ZielLeeren);
    v("Sicherungskopie", s.Sicherungskopie);
    v("LetzterImport", s.LetzterImport);
    v("Importmodus", s.Importmodus);
    v("Marks", s.Marks);
    v("MarkFeld", s.MarkFeld);
    v("Semic", s.Semic);
    v("Komma", s.Komma);
    v("Tab", s.Tab);
    v("Space", s.Space);
    v("Andere", s.Andere);
    v("Delimiter", s.Delimiter);
    v("ColNames", s.ColNames);
    v("FixBreak", s.FixBreak);
    v("FixVar", s.FixVar);
    v("DosToWin", s.DosToWin);
    v("Decimal", s.Decimal);
    v("Tausend", s.Tausend);
    v("Zeit", s.Zeit);
    v("Datum", s.Datum);
    v("TMJ", s.TMJ);
    v("NamesInFirstLine", s.NamesInFirstLine);
    v("Eigene", s.Eigene);
}

// Every column of a Mapping row and the member that holds it.
template <class Row, class Visit>
void mappingColumns(Row& row, Visit&& v)
{
    v("Index", row.Index);
    v("Feldname", row.Feldname);
    v("Laenge", row.Laenge);
    v("Typbezeichnung", row.Typbezeichnung);
    v("Zuordnung", row.Zuordnung);
    v("Typ", row.Typ);
    v("Div", row.Div);
    v("Mul", row.Mul);
    v("Vorgabewert_alph", row.Vorgabewert_alph);
    v("Vorgabewert_num", row.Vorgabewert_num);
    v("BedGleich", row.BedGleich);
    v("BedKleiner", row.BedKleiner);
    v("BedGroesser", row.BedGroesser);
    v("BedLeer", row.BedLeer);
    v("Quellwert_alph", row.Quellwert_alph);
    v("Quellwert_num", row.Quellwert_num);
    v("Formel_alph", row.Formel_alph);
    v("Formel_num", row.Formel_num);
    v("Runden", row.Runden);
    v("Ausrichtung_li", row.Ausrichtung_li);
    v("Ausrichtung_re", row.Ausrichtung_re);
    v("Ueberl_abschneid_li", row.Ueberl_abschneid_li);
    v("Ueberl_abschneid_re", row.Ueberl_abschneid_re);
    v("StringAuswahlBeg", row.StringAuswahlBeg);
    v("StringAuswahlEnd", row.StringAuswahlEnd);
    v("FeldAkt", row.FeldAkt);
}

// Leaves the cursor of a table where it stood and keeps its grids still while it moves.
class CursorKept {
public:
    explicit CursorKept(db::Table& table) : table_(table)
    {
        table_.DisableControls();
        recNo_ = table_.RecordCount() > 0 ? table_.RecNo() : 0;
    }
    CursorKept(const CursorKept&) = delete;
    CursorKept& operator=(const CursorKept&) = delete;
    ~CursorKept()
    {
        try {
            if (recNo_ > 0)
                table_.setRecNo(recNo_);
        } catch (...) {
        }
        table_.EnableControls();
    }

private:
    db::Table& table_;
    int recNo_ = 0;
};

}  // namespace

QString ImportSetting::QuelldateiOrdner() const
{
    const qsizetype slash = std::max(Quelldatei.lastIndexOf(u'/'), Quelldatei.lastIndexOf(u'\\'));
    return Quelldatei.left(slash + 1);
}

ImportSetting ReadImpListRow(db::Table& tblImpList)
{
    const Columns c(tblImpList);
    ImportSetting s;
    c.get("TableName", s.TableName);
    settingColumns(s, [&](const char* column, auto& member) { c.get(column, member); });
    return s;
}

void WriteImpListRow(db::Table& tblImpList, const ImportSetting& s)
{
    Columns c(tblImpList);
    settingColumns(s, [&](const char* column, const auto& member) { c.put(column, member); });
}

MappingRow ReadMappingRow(db::Table& tblZStrukt)
{
    const Columns c(tblZStrukt);
    MappingRow row;
    mappingColumns(row, [&](const char* column, auto& member) { c.get(column, member); });
    return row;
}

void WriteMappingRow(db::Table& tblZStrukt, const MappingRow& row)
{
    Columns c(tblZStrukt);
    mappingColumns(row, [&](const char* column, const auto& member) { c.put(column, member); });
}

std::vector<MappingRow> ReadMapping(db::Table& tblZStrukt)
{
    if (!tblZStrukt.Active())
        tblZStrukt.Open();
    const CursorKept kept(tblZStrukt);
    std::vector<MappingRow> rows;
    for (tblZStrukt.First(); !tblZStrukt.Eof(); tblZStrukt.Next())
        rows.push_back(ReadMappingRow(tblZStrukt));
    return rows;
}

void WriteMapping(db::Table& tblZStrukt, const std::vector<MappingRow>& rows)
{
    tblZStrukt.DisableControls();
    try {
        tblZStrukt.First();
        while (!tblZStrukt.Eof())
            tblZStrukt.Delete();
        for (const MappingRow& row : rows) {
            tblZStrukt.Append();
            WriteMappingRow(tblZStrukt, row);
            tblZStrukt.Post();
        }
    } catch (...) {
        if (tblZStrukt.State() == db::dsInsert)
            tblZStrukt.Cancel();
        tblZStrukt.EnableControls();
        throw;
    }
    tblZStrukt.EnableControls();
}

ImportSetting ReadImportSetting(db::Table& tblImpList, db::Table& tblZStrukt)
{
    ImportSetting setting = ReadImpListRow(tblImpList);
    setting.Mapping = ReadMapping(tblZStrukt);
    return setting;
}

}  // namespace engine
