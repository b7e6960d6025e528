#include "WorkingFolder.h"

#include "db/DataSource.h"
#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/BriskoRoutines.h"
#include "engine/StructureReaders.h"
#include "engine/WorkingTables.h"
#include "support/TestSupport.h"
#include "texts/Texts.h"

#include <QFile>
#include <QTemporaryDir>

using db::FieldType;

namespace {

class StructureReaders : public WorkingFolder {
protected:
    // The example target of the readers: a key, a text, a date and a memo.
    QString createKunden()
    {
        const QString file = path("Kunden.DB");
        db::paradox::create(file,
                            {def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 40),
                             def("Geburt", FieldType::ftDate), def("Notiz", FieldType::ftMemo, 10)},
                            1);
        return file;
    }

    void readTarget(const QString& file)
    {
        db::Table ziel;
        ziel.setTableName(file);
        db::DataSource dscZiel;
        dscZiel.setDataSet(&ziel);
        engine::ZielStrukturEinlesen(dscZiel, *tblZStrukt);
    }

    void readSource(const QString& file)
    {
        db::Table quelle;
        quelle.setTableName(file);
        engine::QuellStrukturEinlesen(quelle, *tblQStrukt);
    }

    // The row of a working table whose Feldname is name; the cursor stays on it.
    bool seek(db::Table& table, const QString& name)
    {
        table.Open();
        for (table.First(); !table.Eof(); table.Next()) {
            if (table.FieldByName(QStringLiteral("Feldname"))->AsString() == name)
                return true;
        }
        return false;
    }

    QString text(db::Table& table, const char* column)
    {
        return table.FieldByName(QString::fromLatin1(column))->AsString();
    }
};

}  // namespace

TEST_F(StructureReaders, TargetRowsFollowTheFieldOrderWithTheOptionsOfAFreshMapping)
{
    readTarget(createKunden());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(columnTexts(*tblZStrukt, "Feldname"), (QStringList{"Nr", "Name", "Geburt", "Notiz"}));
    EXPECT_EQ(columnTexts(*tblZStrukt, "Index"), (QStringList{"X", "", "", ""}));
    EXPECT_EQ(columnTexts(*tblZStrukt, "Laenge"), (QStringList{"4", "40", "4", "-"}));
    EXPECT_EQ(columnTexts(*tblZStrukt, "Typbezeichnung"), (QStringList{"Ganzzahl, lang", "Zeichen", "Datum", "Memo"}));
    EXPECT_EQ(columnTexts(*tblZStrukt, "Typ"), (QStringList{"3", "1", "9", "16"}));
    const QStringList allTrue{"True", "True", "True", "True"};
    const QStringList allFalse{"False", "False", "False", "False"};
    const QStringList blank{"", "", "", ""};
    EXPECT_EQ(columnTexts(*tblZStrukt, "FeldAkt"), allTrue);
    EXPECT_EQ(columnTexts(*tblZStrukt, "Ausrichtung_re"), allTrue);
    for (const char* flag : {"BedGleich", "BedKleiner", "BedGroesser", "BedLeer", "Ausrichtung_li",
                             "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
        EXPECT_EQ(columnTexts(*tblZStrukt, flag), allFalse) << flag;
    for (const char* option :
         {"Zuordnung", "Div", "Mul", "Vorgabewert_alph", "Vorgabewert_num", "Quellwert_alph", "Quellwert_num",
          "Formel_alph", "Formel_num", "Runden", "StringAuswahlBeg", "StringAuswahlEnd"})
        EXPECT_EQ(columnTexts(*tblZStrukt, option), blank) << option;
    EXPECT_EQ(tblZStrukt->State(), db::dsBrowse);
}

TEST_F(StructureReaders, SourceRowsUseTheirOwnTypeNamesAndShowTheIndexColumnForAKeyedSource)
{
    readSource(createKunden());
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(columnTexts(*tblQStrukt, "Feldname"), (QStringList{"Nr", "Name", "Geburt", "Notiz"}));
    EXPECT_EQ(columnTexts(*tblQStrukt, "Index"), (QStringList{"X", "", "", ""}));
    EXPECT_EQ(columnTexts(*tblQStrukt, "Typbezeichnung"), (QStringList{"Ganzzahl lang", "Zeichen", "Datum", "Memo"}));
    EXPECT_EQ(columnTexts(*tblQStrukt, "Laenge"), (QStringList{"4", "40", "4", "-"}));
    EXPECT_EQ(columnTexts(*tblQStrukt, "NKommaStellen"), (QStringList{"", "", "", ""}));
    EXPECT_TRUE(tblQStrukt->FieldByName("Index")->Visible());
    EXPECT_EQ(tblQStrukt->FieldByName("Feldname")->DisplayWidth(), 19);
}

// Type codes, lengths, both spellings of the type names and the key flags, read from tables other programs wrote.
TEST_F(StructureReaders, FieldsOfRealTablesInBothFormats)
{
    struct Expect {
        const char* field;
        int typ;
        const char* laenge;
        const char* zName;
        const char* qName;
        bool index;
    };
    struct Case {
        const char* fixture;
        std::vector<Expect> fields;
    } const cases[] = {
        {"paradox/pdriver-db/CUSTOMER.DB",
         {{"CustNo", 14, "4", "32 Bit Zähler", "32 Bit Zähler", true},
          {"FirstName", 1, "51", "Zeichen", "Zeichen", false},
          {"Comments", 16, "-", "Memo", "Memo", false},
          {"DateEntered", 9, "4", "Datum", "Datum", false}}},
        {"paradox/pdriver-db/SERVER.DB",
         {{"REQTYPE", 1, "1", "Zeichen", "Zeichen", true},
          {"URI", 1, "80", "Zeichen", "Zeichen", true},
          {"LIBRARY", 1, "255", "Zeichen", "Zeichen", false}}},
        {"paradox/pdriver-geog/tblsttes.DB",
         {{"Admitted Order", 2, "2", "Ganzzahl, kurz", "Ganzzahl kurz", false},
          {"Rank in Area", 3, "4", "Ganzzahl, lang", "Ganzzahl lang", false}}},
        {"paradox/pdriver-db/GENERAL.DB",
         {{"ID", 3, "4", "Ganzzahl, lang", "Ganzzahl lang", true}, {"MONEYS", 7, "8", "Währung", "Währung", false}}},
        {"paradox/pdriver-db/DECIMAL.DB", {{"DECIMAL", 6, "8", "Numerisch", "Numerisch", false}}},
        {"paradox/pdriver-fields/bcd.db", {{"A", 8, "34", "BCD", "BCD", false}}},
        {"paradox/pdriver-fields/bytes.db", {{"BYTES", 12, "255", "const.Byte (bin)", "const.Byte (bin)", false}}},
        {"paradox/pdriver-fields/graphic240.db", {{"Graph", 17, "0", "BitMap", "BitMap", false}}},
        {"paradox/pdriver-fields/fmemo.db", {{"FMEMO", 18, "-", "format. Memo", "format. Memo", false}}},
        {"paradox/pdriver-fields/logical.db", {{"BOOL", 5, "2", "Logisch J/N", "Logisch J/N", false}}},
        {"paradox/pdriver-fields/time.db", {{"Time", 10, "4", "Zeit", "Zeit", false}}},
        {"paradox/pdriver-fields/timestamp.db", {{"Timestamp", 11, "8", "Datum/Zeit", "Datum/Zeit", false}}},
        {"dbase/rubydbf/dbase_8b.dbf",
         {{"CHARACTER", 1, "100", "Zeichen", "Zeichen", false},
          {"NUMERICAL", 6, "8", "Numerisch", "Numerisch", false},
          {"DATE", 9, "4", "Datum", "Datum", false},
          {"LOGICAL", 5, "2", "Logisch J/N", "Logisch J/N", false},
          {"MEMO", 16, "-", "Memo", "Memo", false}}},
        {"dbase/rubydbf/dbase_31.dbf",
         {{"PRODUCTID", 14, "4", "32 Bit Zähler", "32 Bit Zähler", false},
          {"SUPPLIERID", 3, "4", "Ganzzahl, lang", "Ganzzahl lang", false},
          {"UNITPRICE", 7, "8", "Währung", "Währung", false}}},
        {"dbase/dbd-xbase/types.dbf", {{"T", 11, "8", "Datum/Zeit", "Datum/Zeit", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        QTemporaryDir copies;
        const QString file = testsupport::copyTableTo(QString::fromUtf8(c.fixture), copies.path());
        ASSERT_TRUE(engine::EmptyTableExclusive(*tblZStrukt));
        ASSERT_TRUE(engine::EmptyTableExclusive(*tblQStrukt));
        readTarget(file);
        readSource(file);
        ASSERT_TRUE(ui.messages().empty()) << ui.messageTexts().join("|").toStdString();

        db::Table original;
        original.setTableName(file);
        original.Open();
        QStringList names;
        for (int i = 0; i < original.FieldCount(); ++i)
            names << original.Fields(i)->FieldName();
        EXPECT_EQ(columnTexts(*tblZStrukt, "Feldname"), names);
        EXPECT_EQ(columnTexts(*tblQStrukt, "Feldname"), names);

        for (const Expect& e : c.fields) {
            SCOPED_TRACE(e.field);
            const QString name = QString::fromUtf8(e.field);
            const QString index = e.index ? QStringLiteral("X") : QString();
            ASSERT_TRUE(seek(*tblZStrukt, name));
            EXPECT_EQ(tblZStrukt->FieldByName("Typ")->AsInteger(), e.typ);
            EXPECT_EQ(text(*tblZStrukt, "Laenge"), QString::fromUtf8(e.laenge));
            EXPECT_EQ(text(*tblZStrukt, "Typbezeichnung"), QString::fromUtf8(e.zName));
            EXPECT_EQ(text(*tblZStrukt, "Index"), index);
            ASSERT_TRUE(seek(*tblQStrukt, name));
            EXPECT_EQ(tblQStrukt->FieldByName("Typ")->AsInteger(), e.typ);
            EXPECT_EQ(text(*tblQStrukt, "Laenge"), QString::fromUtf8(e.laenge));
            EXPECT_EQ(text(*tblQStrukt, "Typbezeichnung"), QString::fromUtf8(e.qName));
            EXPECT_EQ(text(*tblQStrukt, "Index"), index);
        }
    }
}

// The Index column of the source grid is there for a source whose first field is a key field, and only then.
TEST_F(StructureReaders, IndexColumnAndFeldnameWidthFollowTheSourcesFirstField)
{
    struct Case {
        const char* fixture;
        bool indexShown;
        int feldnameWidth;
    } const cases[] = {
        {"paradox/pdriver-db/CUSTOMER.DB", true, 19},
        {"paradox/pdriver-db/CONTACTS.DB", false, 24},
        {"dbase/lino/NAT.DBF", false, 24},
        {"paradox/pdriver-db/SERVER.DB", true, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        QTemporaryDir copies;
        // A reading that comes after another starts from whatever display that one left.
        for (const char* before : {"paradox/pdriver-db/CONTACTS.DB", "paradox/pdriver-db/CUSTOMER.DB"}) {
            for (const char* fixture : {before, c.fixture}) {
                ASSERT_TRUE(engine::EmptyTableExclusive(*tblQStrukt));
                readSource(testsupport::copyTableTo(QString::fromUtf8(fixture), copies.path()));
            }
            EXPECT_EQ(tblQStrukt->FieldByName("Index")->Visible(), c.indexShown) << before;
            EXPECT_EQ(tblQStrukt->FieldByName("Feldname")->DisplayWidth(), c.feldnameWidth) << before;
        }
    }
}

// A failure while the rows are written ends in the reader's message; the rows written before it stay and the row
// being filled is dropped. The failure here: a working table whose Index column cannot take "X".
TEST_F(StructureReaders, AFailureInsideTheFieldLoopIsReportedAndKeepsTheRowsWrittenBefore)
{
    struct Case {
        const char* name;
        bool target;
        int textId;
    } const cases[] = {{"target reader", true, 64987}, {"source reader", false, 64988}};
    const QString kunden = createKunden();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::FieldDefList fields = c.target ? engine::ZStruktFields() : engine::QStruktFields();
        fields.front().type = FieldType::ftSmallint;
        fields.front().size = 0;
        db::paradox::create(path("Kaputt.DB"), fields, 0);
        auto working = table("Kaputt.DB");
        ui.answer(platform::Button::Ok);
        db::Table read;
        read.setTableName(kunden);
        if (c.target) {
            db::DataSource dsc;
            dsc.setDataSet(&read);
            engine::ZielStrukturEinlesen(dsc, *working);
        } else {
            engine::QuellStrukturEinlesen(read, *working);
        }
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
        EXPECT_EQ(ui.messages()[0].text, texts::Text(c.textId).replace("%s", kunden));
        EXPECT_EQ(working->State(), db::dsBrowse);
        EXPECT_EQ(columnTexts(*working, "Feldname"), (QStringList{"Name", "Geburt", "Notiz"}));
        working->Close();
        ui.clearRecord();
    }
}

TEST_F(StructureReaders, ATableThatCannotBeOpenedReachesTheCallerWithoutAMessage)
{
    db::Table missing;
    missing.setTableName(path("Fehlt.DB"));
    db::DataSource dsc;
    dsc.setDataSet(&missing);
    EXPECT_THROW(engine::ZielStrukturEinlesen(dsc, *tblZStrukt), db::EngineError);
    EXPECT_THROW(engine::QuellStrukturEinlesen(missing, *tblQStrukt), db::EngineError);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(columnTexts(*tblZStrukt, "Feldname").isEmpty());
    EXPECT_TRUE(columnTexts(*tblQStrukt, "Feldname").isEmpty());
}
