#include "RunFixture.h"

#include "db/Field.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/WorkingTables.h"

#include <QFile>

db::FieldDef def(const char* name, db::FieldType type, int size)
{
    return {QString::fromUtf8(name), type, size, 0, false};
}

namespace {

void fill(db::Table& table, const std::vector<Values>& records)
{
    table.Open();
    for (const Values& record : records) {
        table.Append();
        for (std::size_t i = 0; i < record.size(); ++i)
            table.Fields(static_cast<int>(i))->setAsVariant(record[i]);
        table.Post();
    }
    table.Close();
}

void setColumns(db::Table& table, const Options& options)
{
    for (const auto& [column, value] : options)
        table.FieldByName(QString::fromUtf8(column))->setAsVariant(value);
}

}  // namespace

void RunFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    db::paradox::create(path(engine::ZStruktFileName), engine::ZStruktFields(), 0);
    db::paradox::create(path(engine::ImpListFileName), engine::ImpListFields(), engine::ImpListKeyFieldCount);
    tblZStrukt.setTableName(path(engine::ZStruktFileName));
    tblImpList.setTableName(path(engine::ImpListFileName));
    tblImpList.Open();
    tblImpList.Append();
    tblImpList.FieldByName("Bezeichnung")->setAsString("Lauf");
    tblImpList.FieldByName("Quelldatei")->setAsString(path("Quelle.db"));
    tblImpList.Post();
    dscZiel.setDataSet(&tblZiel);
    observer = RecordingObserver();
    run.setting = {};
    run.Startwert.clear();
    run.counts = {};
    Parser1.setDecimalSeparatorSource([] { return rtl::formatSettings().DecimalSeparator.toLatin1(); });

    rtl::FormatSettings& fs = rtl::formatSettings();
    fs.DecimalSeparator = u',';
    fs.ThousandSeparator = u'.';
    fs.DateSeparator = u'.';
    fs.ShortDateFormat = QStringLiteral("DD.MM.YYYY");
}

void RunFixture::TearDown()
{
    tblQuelle.Close();
    tblZiel.Close();
    tblZStrukt.Close();
    tblImpList.Close();
}

void RunFixture::makeSource(const db::FieldDefList& fields, const std::vector<Values>& records)
{
    db::paradox::create(path("Quelle.db"), fields, 0);
    tblQuelle.setTableName(path("Quelle.db"));
    fill(tblQuelle, records);
}

void RunFixture::makeTarget(const db::FieldDefList& fields, int keyFields, bool dbase,
                            const std::vector<Values>& records)
{
    if (dbase) {
        // Creating over an existing dBase table is refused by the engine's own lock, so start from no file.
        QFile::remove(path("Ziel.dbf"));
        tblZiel.setTableName(path("Ziel.dbf"));
        tblZiel.FieldDefs().Clear();
        for (const db::FieldDef& f : fields)
            tblZiel.FieldDefs().Add(f);
        tblZiel.CreateTable();
    } else {
        db::paradox::create(path("Ziel.db"), fields, keyFields);
        tblZiel.setTableName(path("Ziel.db"));
    }
    fill(tblZiel, records);
}

void RunFixture::addRow(const QString& feldname, const QString& zuordnung, const Options& options)
{
    tblZiel.Open();
    db::Field* field = tblZiel.FieldByName(feldname);
    const int typ = static_cast<int>(field->DataType());
    tblZStrukt.Open();
    tblZStrukt.Append();
    setColumns(tblZStrukt, {{"Index", field->IsIndexField() ? "X" : ""},
                            {"Feldname", feldname},
                            {"Laenge", engine::LaengeText(*field)},
                            {"Typbezeichnung", engine::Typbezeichnung(typ, engine::TypeNameTable::ZStrukt)},
                            {"Typ", typ},
                            {"Zuordnung", zuordnung},
                            {"FeldAkt", true},
                            {"BedGleich", false},
                            {"BedKleiner", false},
                            {"BedGroesser", false},
                            {"BedLeer", false},
                            {"Ausrichtung_li", false},
                            {"Ausrichtung_re", true},
                            {"Ueberl_abschneid_li", false},
                            {"Ueberl_abschneid_re", false}});
    setColumns(tblZStrukt, options);
    tblZStrukt.Post();
    tblZStrukt.Close();
    tblZiel.Close();
}

void RunFixture::setRow(const QString& feldname, const Options& options)
{
    tblZStrukt.Open();
    for (tblZStrukt.First(); !tblZStrukt.Eof(); tblZStrukt.Next()) {
        if (tblZStrukt.FieldByName("Feldname")->AsString() == feldname) {
            tblZStrukt.Edit();
            setColumns(tblZStrukt, options);
            tblZStrukt.Post();
            break;
        }
    }
    tblZStrukt.Close();
}

void RunFixture::setSetting(const Options& options)
{
    tblImpList.First();
    tblImpList.Edit();
    setColumns(tblImpList, options);
    tblImpList.Post();
}

void RunFixture::readSetting()
{
    tblImpList.First();
    run.setting = engine::ReadImportSetting(tblImpList, tblZStrukt);
    tblZStrukt.Close();
}

bool RunFixture::runMode(int mode)
{
    readSetting();
    return engine::Importlauf(run, mode);
}

QString RunFixture::counters() const
{
    const engine::ImportCounts& c = observer.shown;
    // Whatever the observer was told last must be what the run counted.
    EXPECT_EQ(c, run.counts);
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(c.AnzHinzu)
        .arg(c.Ignor)
        .arg(c.Umben)
        .arg(c.AnzAkt)
        .arg(c.Summe)
        .arg(c.AnzFehler);
}

int RunFixture::failures() const
{
    return run.counts.AnzFehler;
}

QStringList RunFixture::targetRecords()
{
    QStringList result;
    tblZiel.Open();
    for (tblZiel.First(); !tblZiel.Eof(); tblZiel.Next()) {
        QStringList fields;
        for (int i = 0; i < tblZiel.FieldCount(); ++i)
            fields << tblZiel.Fields(i)->AsString();
        result << fields.join(u'|');
    }
    return result;
}
