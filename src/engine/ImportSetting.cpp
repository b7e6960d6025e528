#include "engine/ImportSetting.h"

#include "db/Field.h"
#include "db/Table.h"

#include <QDateTime>
#include <algorithm>

namespace engine {

namespace {

// The columns of one record, read and written by name (the working tables are matched without regard to case).
class Columns {
public:
    explicit Columns(db::Table& table) : table_(table) {}

    QString text(const char* column) const { return field(column)->AsString(); }
    bool flag(const char* column) const
    {
        const db::Field* f = field(column);
        return !f->IsNull() && f->AsBoolean();
    }
    std::optional<double> number(const char* column) const
    {
        const db::Field* f = field(column);
        if (f->IsNull())
            return std::nullopt;
        return f->AsFloat();
    }
    std::optional<int> whole(const char* column) const
    {
        const db::Field* f = field(column);
        if (f->IsNull())
            return std::nullopt;
        return f->AsInteger();
    }
    QDate date(const char* column) const
    {
        const db::Field* f = field(column);
        return f->IsNull() ? QDate() : f->AsDateTime().date();
    }

    void setText(const char* column, const QString& value) { field(column)->setAsString(value); }
    void setFlag(const char* column, bool value) { field(column)->setAsBoolean(value); }
    void setNumber(const char* column, const std::optional<double>& value)
    {
        if (value)
            field(column)->setAsFloat(*value);
        else
            field(column)->Clear();
    }
    void setWhole(const char* column, const std::optional<int>& value)
    {
        if (value)
            field(column)->setAsInteger(*value);
        else
            field(column)->Clear();
    }
    void setDate(const char* column, const QDate& value)
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
    s.Bezeichnung = c.text("Bezeichnung");
    s.Bemerkung = c.text("Bemerkung");
    s.Quellformat = c.text("Quellformat");
    s.TableName = c.whole("TableName");
    s.VorDefTableName = c.text("VorDefTableName");
    s.Quelldatei = c.text("Quelldatei");
    s.Zieldatei = c.text("Zieldatei");
    s.ZielLeeren = c.flag("ZielLeeren");
    s.Sicherungskopie = c.flag("Sicherungskopie");
    s.LetzterImport = c.date("LetzterImport");
    s.Importmodus = c.whole("Importmodus");
    s.Marks = c.whole("Marks");
    s.MarkFeld = c.text("MarkFeld");
    s.Semic = c.flag("Semic");
    s.Komma = c.flag("Komma");
    s.Tab = c.flag("Tab");
    s.Space = c.flag("Space");
    s.Andere = c.text("Andere");
    s.Delimiter = c.whole("Delimiter");
    s.ColNames = c.text("ColNames");
    s.FixBreak = c.text("FixBreak");
    s.FixVar = c.whole("FixVar");
    s.DosToWin = c.flag("DosToWin");
    s.Decimal = c.text("Decimal");
    s.Tausend = c.text("Tausend");
    s.Zeit = c.text("Zeit");
    s.Datum = c.text("Datum");
    s.TMJ = c.text("TMJ");
    s.NamesInFirstLine = c.flag("NamesInFirstLine");
    s.Eigene = c.flag("Eigene");
    return s;
}

void WriteImpListRow(db::Table& tblImpList, const ImportSetting& s)
{
    Columns c(tblImpList);
    c.setText("Bezeichnung", s.Bezeichnung);
    c.setText("Bemerkung", s.Bemerkung);
    c.setText("Quellformat", s.Quellformat);
    c.setText("VorDefTableName", s.VorDefTableName);
    c.setText("Quelldatei", s.Quelldatei);
    c.setText("Zieldatei", s.Zieldatei);
    c.setFlag("ZielLeeren", s.ZielLeeren);
    c.setFlag("Sicherungskopie", s.Sicherungskopie);
    c.setDate("LetzterImport", s.LetzterImport);
    c.setWhole("Importmodus", s.Importmodus);
    c.setWhole("Marks", s.Marks);
    c.setText("MarkFeld", s.MarkFeld);
    c.setFlag("Semic", s.Semic);
    c.setFlag("Komma", s.Komma);
    c.setFlag("Tab", s.Tab);
    c.setFlag("Space", s.Space);
    c.setText("Andere", s.Andere);
    c.setWhole("Delimiter", s.Delimiter);
    c.setText("ColNames", s.ColNames);
    c.setText("FixBreak", s.FixBreak);
    c.setWhole("FixVar", s.FixVar);
    c.setFlag("DosToWin", s.DosToWin);
    c.setText("Decimal", s.Decimal);
    c.setText("Tausend", s.Tausend);
    c.setText("Zeit", s.Zeit);
    c.setText("Datum", s.Datum);
    c.setText("TMJ", s.TMJ);
    c.setFlag("NamesInFirstLine", s.NamesInFirstLine);
    c.setFlag("Eigene", s.Eigene);
}

MappingRow ReadMappingRow(db::Table& tblZStrukt)
{
    const Columns c(tblZStrukt);
    MappingRow row;
    row.Index = c.text("Index");
    row.Feldname = c.text("Feldname");
    row.Laenge = c.text("Laenge");
    row.Typbezeichnung = c.text("Typbezeichnung");
    row.Zuordnung = c.text("Zuordnung");
    row.Typ = c.whole("Typ").value_or(0);
    row.Div = c.number("Div");
    row.Mul = c.number("Mul");
    row.Vorgabewert_alph = c.text("Vorgabewert_alph");
    row.Vorgabewert_num = c.number("Vorgabewert_num");
    row.BedGleich = c.flag("BedGleich");
    row.BedKleiner = c.flag("BedKleiner");
    row.BedGroesser = c.flag("BedGroesser");
    row.BedLeer = c.flag("BedLeer");
    row.Quellwert_alph = c.text("Quellwert_alph");
    row.Quellwert_num = c.number("Quellwert_num");
    row.Formel_alph = c.text("Formel_alph");
    row.Formel_num = c.text("Formel_num");
    row.Runden = c.whole("Runden");
    row.Ausrichtung_li = c.flag("Ausrichtung_li");
    row.Ausrichtung_re = c.flag("Ausrichtung_re");
    row.Ueberl_abschneid_li = c.flag("Ueberl_abschneid_li");
    row.Ueberl_abschneid_re = c.flag("Ueberl_abschneid_re");
    row.StringAuswahlBeg = c.whole("StringAuswahlBeg");
    row.StringAuswahlEnd = c.whole("StringAuswahlEnd");
    row.FeldAkt = c.flag("FeldAkt");
    return row;
}

void WriteMappingRow(db::Table& tblZStrukt, const MappingRow& row)
{
    Columns c(tblZStrukt);
    c.setText("Index", row.Index);
    c.setText("Feldname", row.Feldname);
    c.setText("Laenge", row.Laenge);
    c.setText("Typbezeichnung", row.Typbezeichnung);
    c.setText("Zuordnung", row.Zuordnung);
    c.setWhole("Typ", row.Typ);
    c.setNumber("Div", row.Div);
    c.setNumber("Mul", row.Mul);
    c.setText("Vorgabewert_alph", row.Vorgabewert_alph);
    c.setNumber("Vorgabewert_num", row.Vorgabewert_num);
    c.setFlag("BedGleich", row.BedGleich);
    c.setFlag("BedKleiner", row.BedKleiner);
    c.setFlag("BedGroesser", row.BedGroesser);
    c.setFlag("BedLeer", row.BedLeer);
    c.setText("Quellwert_alph", row.Quellwert_alph);
    c.setNumber("Quellwert_num", row.Quellwert_num);
    c.setText("Formel_alph", row.Formel_alph);
    c.setText("Formel_num", row.Formel_num);
    c.setWhole("Runden", row.Runden);
    c.setFlag("Ausrichtung_li", row.Ausrichtung_li);
    c.setFlag("Ausrichtung_re", row.Ausrichtung_re);
    c.setFlag("Ueberl_abschneid_li", row.Ueberl_abschneid_li);
    c.setFlag("Ueberl_abschneid_re", row.Ueberl_abschneid_re);
    c.setWhole("StringAuswahlBeg", row.StringAuswahlBeg);
    c.setWhole("StringAuswahlEnd", row.StringAuswahlEnd);
    c.setFlag("FeldAkt", row.FeldAkt);
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
