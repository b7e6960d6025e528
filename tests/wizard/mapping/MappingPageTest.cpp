// The mapping page as a person uses it: reached through the real pages, fields assigned by the page's own rules,
// and the options panel choosing its sheet and clearing what an unticked box stands for, read back from the file.
#include "../ShellTestSupport.h"

#include "db/Table.h"
#include "db/TableModel.h"
#include "engine/ImportSetting.h"
#include "platform/DataControls.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/mapping/FieldOptionsPanel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::Button;
using db::FieldType;

const QString kFixtures = QStringLiteral(IMPORT_FIXTURES_DIR);

QString CopyFixture(const QString& relative, const QString& folder)
{
    return CopyTableFiles(kFixtures + u'/' + relative, folder);
}

void MakeTable(const QString& path, const db::FieldDefList& fields, int keyFields, int records = 0)
{
    db::Table table;
    table.setTableName(path);
    table.FieldDefs().assign(fields, keyFields);
    table.CreateTable();
    table.Open();
    for (int i = 0; i < records; ++i) {
        table.Append();
        for (int f = 0; f < table.FieldCount(); ++f) {
            db::Field* field = table.Fields(f);
            if (field->FieldName() == u"SText")
                field->setAsString(QStringLiteral("W%1").arg(i % 3));  // repeats: no key material
            else if (field->DataType() == FieldType::ftString)
                field->setAsString(QStringLiteral("W%1").arg(i));
            else if (field->DataType() == FieldType::ftInteger || field->DataType() == FieldType::ftFloat)
                field->setAsInteger(i + 1);
        }
        table.Post();
    }
    table.Close();
}

// The program on the mapping page of a new setting.
struct Session {
    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context = folders.context();
    wizard::ImportProgram program{context};
    wizard::TfrmImport1* form = nullptr;
    Ui::TfrmImport1* w = nullptr;
    QChar separator = rtl::formatSettings().DecimalSeparator;

    Session()
    {
        EXPECT_TRUE(program.Start(0));
        form = program.frmImport1();
        w = form->ui.get();
    }
    ~Session() { rtl::formatSettings().DecimalSeparator = separator; }
    QString user(const QString& relative) const { return folders.path("user/" + relative); }
    QString page() const { return w->PageControl1->currentWidget()->objectName(); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // The start page, the source page (and the Access page), the target page.
    void walk(const QString& source, const QString& target, const QString& accessTable = QString())
    {
        walk(source, [target] { return target; }, accessTable);
    }
    // The target made once the source is open (an Access table is known only then).
    void walk(const QString& source, const std::function<QString()>& target, const QString& accessTable)
    {
        wizard::SetChecked(w->rbtNeueImport, true);
        click(w->btnWeiter1);
        ASSERT_EQ(page(), "ImportSeite2");
        w->edtQuelle->setText(source);
        click(w->btnWeiter2);
        if (!accessTable.isEmpty()) {
            ASSERT_EQ(page(), "ImportSeiteAdo");
            w->lbxTables->setCurrentItem(w->lbxTables->findItems(accessTable, Qt::MatchExactly).value(0));
            click(w->btnWeiterAdo);
        }
        ASSERT_EQ(page(), "ImportSeite3") << ui.messageTexts().join(" | ").toStdString();
        w->edtZiel->setText(target());
        click(w->btnWeiter3);
        ASSERT_EQ(page(), "ImportSeite4") << ui.messageTexts().join(" | ").toStdString();
    }
    // Puts the target grid on the row of that field, as a person's click does.
    void zielZeile(const QString& feldname)
    {
        db::Table& z = form->tblZStrukt;
        z.CheckBrowseMode();
        for (z.First(); !z.Eof(); z.Next())
            if (z.FieldByName("Feldname")->AsString() == feldname)
                break;
        ASSERT_FALSE(z.Eof()) << feldname.toStdString();
        form->ZielfeldOptionenAnzeigen();
    }
    void quellZeile(const QString& feldname)
    {
        db::Table& q = form->tblQStrukt;
        for (q.First(); !q.Eof(); q.Next())
            if (q.FieldByName("Feldname")->AsString() == feldname)
                return;
        ADD_FAILURE() << feldname.toStdString();
    }
    // The assignments as the file holds them, target field -> source field.
    QMap<QString, QString> mapping()
    {
        form->tblZStrukt.CheckBrowseMode();
        QMap<QString, QString> result;
        for (const engine::MappingRow& row : engine::ReadMapping(form->tblZStrukt))
            result.insert(row.Feldname, row.Zuordnung);
        return result;
    }
    // The current row read back through a cursor of its own, after the page's pending change is posted.
    engine::MappingRow stored()
    {
        db::Table& z = form->tblZStrukt;
        z.CheckBrowseMode();
        const int recNo = z.RecNo();
        db::Table fresh;
        fresh.setTableName(z.TableName());
        fresh.Open();
        fresh.setRecNo(recNo);
        return engine::ReadMappingRow(fresh);
    }
};

// A source and a target with every class of field the panel tells apart; the target keyed on a text and a number.
struct MixedTables {
    QString source, target;
    explicit MixedTables(const Session& s)
    {
        QDir().mkpath(s.user(""));
        source = s.user("Quelle.DB");
        target = s.user("Ziel.DB");
        MakeTable(source,
                  {{"SNr", FieldType::ftInteger}, {"SText", FieldType::ftString, 40}, {"SZahl", FieldType::ftFloat},
                   {"SBild", FieldType::ftGraphic}, {"SKurz", FieldType::ftString, 5},
                   {"SLang", FieldType::ftString, 30}},
                  1, 4);
        MakeTable(target,
                  {{"KText", FieldType::ftString, 20}, {"KZahl", FieldType::ftInteger},
                   {"Text", FieldType::ftString, 10}, {"Zahl", FieldType::ftFloat}, {"Auto", FieldType::ftAutoInc},
                   {"Bild", FieldType::ftGraphic}},
                  2);
    }
};

TEST(MappingPage, TheOptionsPanelShowsTheSheetOfTheRowAndOffersWhatFitsIt)
{
    struct Case {
        const char* name;
        const char* target;
        const char* source;  // "" unmapped
        const char* sheet;   // "" closed
        std::vector<const char*> enabled;
        std::vector<const char*> disabled;
    };
    const std::vector<Case> cases = {
        {"text into text", "Text", "SText", "String_String",
         {"cbxSS_Vorgabe", "cbxSS_UEVorgabe", "cbxSS_Abschneiden", "cbxSS_Ausschnitt", "cbxSS_Formel"},
         {"edtSS_Vorgabe_Wert", "cbxSS_Vorgabe_Gleich", "edtSS_AusschnittBegString", "memSS_Formel"}},
        {"short text into text", "Text", "SKurz", "String_String", {"cbxSS_Vorgabe", "cbxSS_Ausschnitt"},
         {"cbxSS_UEVorgabe", "cbxSS_Abschneiden", "lblBeiUeberlaenge"}},
        {"text into text key", "KText", "SText", "String_String", {"cbxSS_Vorgabe"},
         {"cbxSS_UEVorgabe", "cbxSS_Abschneiden"}},
        {"text into number", "Zahl", "SText", "String_Zahl", {"cbxSZ_Vorgabe", "cbxSZ_Div", "cbxSZ_Mul"},
         {"cbxSZ_Runden", "edtSZ_DivWert", "edtSZ_Vorgabe_Wert"}},
        {"text into number key", "KZahl", "SText", "String_Zahl", {"cbxSZ_Div"}, {"cbxSZ_Vorgabe"}},
        {"number into text", "Text", "SZahl", "Zahl_String", {"cbxZS_Vorgabe", "cbxZS_UEVorgabe", "cbxZS_Div"},
         {"edtZS_Vorgabe_Wert", "edtZS_DivWert"}},
        {"number into text key", "KText", "SNr", "Zahl_String", {"cbxZS_Mul"},
         {"cbxZS_Vorgabe", "cbxZS_UEVorgabe"}},
        {"number into number", "Zahl", "SZahl", "Zahl_Zahl", {"cbxZZ_Vorgabe", "cbxZZ_Div", "cbxZZ_Runden"},
         {"edtZZ_Runden", "lblZZ_Vorgabe"}},
        {"number into number key", "KZahl", "SNr", "Zahl_Zahl", {"cbxZZ_Div"}, {"cbxZZ_Vorgabe"}},
        {"text into counter", "Auto", "SText", "", {}, {"btnOptionen"}},
        {"graphic into text", "Text", "SBild", "", {}, {"btnOptionen"}},
        {"unmapped text", "Text", "", "String_String", {"cbxSS_Vorgabe", "cbxSS_Formel"},
         {"cbxSS_UEVorgabe", "cbxSS_Abschneiden", "cbxSS_Ausschnitt", "lblSS_Vorgabe"}},
        {"unmapped number", "Zahl", "", "Zahl_Zahl", {"cbxZZ_Vorgabe", "cbxZZ_Formel"},
         {"cbxZZ_Div", "cbxZZ_Mul", "cbxZZ_Runden"}},
        {"unmapped counter", "Auto", "", "", {}, {"btnOptionen"}},
        {"unmapped graphic", "Bild", "", "", {}, {"btnOptionen"}},
    };
    Session s;
    MixedTables tables(s);
    s.walk(tables.source, tables.target);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.zielZeile(c.target);
        db::Table& z = s.form->tblZStrukt;
        z.Edit();
        z.FieldByName("Zuordnung")->setAsString(c.source);
        // Neither alignment: a key row shown with a source gets the right one.
        z.FieldByName("Ausrichtung_re")->setAsBoolean(false);
        z.Post();
        s.form->ZielfeldOptionenAnzeigen();
        if (s.w->tpcOptionen->isHidden() && s.w->btnOptionen->isEnabled())
            s.click(s.w->btnOptionen);
        if (QString(c.sheet).isEmpty()) {
            EXPECT_TRUE(s.w->tpcOptionen->isHidden());
            EXPECT_FALSE(s.w->panZuordHint->isHidden());
        } else {
            ASSERT_FALSE(s.w->tpcOptionen->isHidden());
            EXPECT_EQ(s.w->tpcOptionen->currentWidget()->objectName(), c.sheet);
            EXPECT_TRUE(s.w->btnOptionen->isEnabled());
            const QLabel* heading = s.w->tpcOptionen->currentWidget()->findChildren<QLabel*>().value(0);
            EXPECT_EQ(heading->text(), texts::Text(65204) + " \"" + c.target + "\"");
        }
        for (const char* name : c.enabled)
            EXPECT_TRUE(s.form->findChild<QWidget*>(name)->isEnabled()) << name;
        for (const char* name : c.disabled)
            EXPECT_FALSE(s.form->findChild<QWidget*>(name)->isEnabled()) << name;
        const engine::MappingRow row = s.stored();
        const bool defaulted = row.isKeyRow() && *c.source &&
                               (QString(c.sheet) == "String_String" || QString(c.sheet) == "Zahl_String");
        EXPECT_EQ(row.Ausrichtung_re, defaulted);
    }
}

TEST(MappingPage, UntickingABoxClearsWhatItStandsForInTheStoredRow)
{
    using Row = engine::MappingRow;
    struct Case {
        const char* name;
        const char* target;
        const char* source;
        std::function<void(db::Table&)> stored;  // the options the row holds first
        const char* box;                         // clicked once
        std::function<void(const Row&)> check;
        int beeps = 0;
    };
    using Values = std::vector<std::pair<const char*, QVariant>>;
    const auto set = [](Values values) {
        return [values](db::Table& z) {
            for (const auto& [column, value] : values)
                z.FieldByName(column)->setAsVariant(value);
        };
    };
    const std::vector<Case> cases = {
        {"conditional default", "Text", "SText",
         set({{"Vorgabewert_alph", "x"}, {"Quellwert_alph", "y"}, {"BedGleich", true}}), "cbxSS_Vorgabe",
         [](const Row& r) {
             EXPECT_EQ(r.Vorgabewert_alph, "");
             EXPECT_EQ(r.Quellwert_alph, "");
             EXPECT_FALSE(r.BedGleich);
         }},
        {"default on over-length", "Text", "SText", set({{"Vorgabewert_alph", "x"}}), "cbxSS_UEVorgabe",
         [](const Row& r) { EXPECT_EQ(r.Vorgabewert_alph, ""); }},
        {"number default from text", "Zahl", "SText",
         set({{"Vorgabewert_num", 5}, {"Quellwert_alph", "a"}, {"BedKleiner", true}}), "cbxSZ_Vorgabe",
         [](const Row& r) {
             EXPECT_FALSE(r.Vorgabewert_num);
             EXPECT_EQ(r.Quellwert_alph, "");
             EXPECT_FALSE(r.BedKleiner);
         }},
        {"text default from number", "Text", "SZahl",
         set({{"Vorgabewert_alph", "x"}, {"Quellwert_num", 3}, {"BedGroesser", true}}), "cbxZS_Vorgabe",
         [](const Row& r) {
             EXPECT_EQ(r.Vorgabewert_alph, "");
             EXPECT_FALSE(r.Quellwert_num);
             EXPECT_FALSE(r.BedGroesser);
         }},
        {"over-length default from number", "Text", "SZahl", set({{"Vorgabewert_alph", "x"}}), "cbxZS_UEVorgabe",
         [](const Row& r) { EXPECT_EQ(r.Vorgabewert_alph, ""); }},
        {"a default of 0 is a default", "Zahl", "SZahl", set({{"Vorgabewert_num", 0}, {"Quellwert_num", 1}}),
         "cbxZZ_Vorgabe",
         [](const Row& r) {
             EXPECT_FALSE(r.Vorgabewert_num);
             EXPECT_FALSE(r.Quellwert_num);
         }},
        {"divisor", "Zahl", "SText", set({{"Div", 2}}), "cbxSZ_Div", [](const Row& r) { EXPECT_FALSE(r.Div); }},
        {"multiplying ends dividing", "Zahl", "SZahl", set({{"Div", 2}}), "cbxZZ_Mul",
         [](const Row& r) { EXPECT_FALSE(r.Div); }},
        {"text formula", "Text", "SText", set({{"Formel_alph", "#SText"}}), "cbxSS_Formel",
         [](const Row& r) { EXPECT_EQ(r.Formel_alph, ""); }},
        {"formula and its rounding", "Zahl", "SZahl", set({{"Formel_num", "#SZahl*2"}, {"Runden", 2}}),
         "cbxZZ_Formel",
         [](const Row& r) {
             EXPECT_EQ(r.Formel_num, "");
             EXPECT_FALSE(r.Runden);
         }},
        {"rounding alone", "Zahl", "SText", set({{"Formel_num", "#SNr"}, {"Runden", 1}}), "cbxSZ_Runden",
         [](const Row& r) {
             EXPECT_EQ(r.Formel_num, "#SNr");
             EXPECT_FALSE(r.Runden);
         }},
        {"cutting", "Text", "SText", set({{"Ueberl_abschneid_li", true}}), "cbxSS_Abschneiden",
         [](const Row& r) { EXPECT_FALSE(r.Ueberl_abschneid_li || r.Ueberl_abschneid_re); }},
        {"substring", "Text", "SText", set({{"StringAuswahlBeg", 2}, {"StringAuswahlEnd", 4}}), "cbxSS_Ausschnitt",
         [](const Row& r) { EXPECT_FALSE(r.StringAuswahlBeg || r.StringAuswahlEnd); }},
        {"empty instead of equal", "Text", "SText",
         set({{"Vorgabewert_alph", "x"}, {"BedGleich", true}, {"Quellwert_alph", "y"}}), "cbxSS_Vorgabe_Leer",
         [](const Row& r) {
             EXPECT_TRUE(r.BedLeer);
             EXPECT_FALSE(r.BedGleich);
             EXPECT_EQ(r.Quellwert_alph, "");
             EXPECT_EQ(r.Vorgabewert_alph, "x");
         }},
        {"left alignment ends right", "Text", "SZahl", set(Values{}), "cbxZS_Ausrichtung_li",
         [](const Row& r) {
             EXPECT_TRUE(r.Ausrichtung_li);
             EXPECT_FALSE(r.Ausrichtung_re);
         }},
        {"a third comparison is refused", "Zahl", "SZahl",
         set({{"Vorgabewert_num", 1}, {"BedGleich", true}, {"BedGroesser", true}}), "cbxZZ_Vorgabe_Kleiner",
         [](const Row& r) {
             EXPECT_FALSE(r.BedKleiner);
             EXPECT_TRUE(r.BedGleich && r.BedGroesser);
         },
         1},
    };
    Session s;
    MixedTables tables(s);
    s.walk(tables.source, tables.target);
    s.click(s.w->btnOptionen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.zielZeile(c.target);
        db::Table& z = s.form->tblZStrukt;
        z.Edit();
        z.FieldByName("Zuordnung")->setAsString(c.source);
        c.stored(z);
        z.Post();
        s.form->ZielfeldOptionenAnzeigen();
        auto* box = s.form->findChild<QAbstractButton*>(c.box);
        ASSERT_TRUE(box->isVisibleTo(s.w->tpcOptionen)) << "not on the sheet shown";
        ASSERT_TRUE(box->isEnabled());
        const int beeps = s.ui.beeps();
        s.click(box);
        EXPECT_EQ(s.ui.beeps() - beeps, c.beeps);
        c.check(s.stored());
        z.Edit();
        for (const char* column : {"Vorgabewert_alph", "Vorgabewert_num", "Quellwert_alph", "Quellwert_num", "Div",
                                   "Mul", "Formel_alph", "Formel_num", "Runden", "StringAuswahlBeg",
                                   "StringAuswahlEnd"})
            z.FieldByName(column)->Clear();
        for (const char* column : {"BedGleich", "BedKleiner", "BedGroesser", "BedLeer", "Ausrichtung_li",
                                   "Ueberl_abschneid_li", "Ueberl_abschneid_re"})
            z.FieldByName(column)->setAsBoolean(false);
        z.FieldByName("Ausrichtung_re")->setAsBoolean(true);
        z.Post();
    }
    EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.ui.messageTexts().join(" | ").toStdString();
}

TEST(MappingPage, RefusedInputIsCorrectedAtOnceWithABeep)
{
    Session s;
    MixedTables tables(s);
    s.walk(tables.source, tables.target);
    s.click(s.w->btnOptionen);
    s.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.form));
    struct Case {
        const char* name;
        const char* target;
        const char* source;
        const char* box;  // ticked first
        const char* edit;
        const char* typed;
        const char* column;
        QString corrected;
        int beeps;
    };
    const std::vector<Case> cases = {
        {"substring from 0", "Text", "SText", "cbxSS_Ausschnitt", "edtSS_AusschnittBegString", "0",
         "StringAuswahlBeg", "1", 0},
        {"divisor 0", "Zahl", "SText", "cbxSZ_Div", "edtSZ_DivWert", "0", "Div", "1", 1},
        {"factor 0", "Zahl", "SZahl", "cbxZZ_Mul", "edtZZ_MulWert", "0", "Mul", "1", 1},
        {"decimal comma", "Zahl", "SZahl", "cbxZZ_Div", "edtZZ_DivWert", "2,5", "Div", "2,5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.zielZeile(c.target);
        db::Table& z = s.form->tblZStrukt;
        z.Edit();
        z.FieldByName("Zuordnung")->setAsString(c.source);
        z.Post();
        s.form->ZielfeldOptionenAnzeigen();
        s.click(s.form->findChild<QAbstractButton*>(c.box));
        auto* edit = s.form->findChild<QLineEdit*>(c.edit);
        ASSERT_TRUE(edit->isEnabled());
        edit->setFocus();
        edit->selectAll();
        const int beeps = s.ui.beeps();
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(s.ui.beeps() - beeps, c.beeps);
        z.CheckBrowseMode();
        EXPECT_EQ(z.FieldByName(c.column)->AsString(), c.corrected);
        EXPECT_EQ(edit->text(), c.corrected);
    }
    // An end before the beginning becomes the beginning.
    s.zielZeile("Text");
    s.w->edtSS_AusschnittBegString->setFocus();
    s.w->edtSS_AusschnittBegString->selectAll();
    QTest::keyClicks(s.w->edtSS_AusschnittBegString, "5");
    QTest::keyClick(s.w->edtSS_AusschnittBegString, Qt::Key_Return);
    s.w->edtSS_AusschnittEndString->setFocus();
    QTest::keyClicks(s.w->edtSS_AusschnittEndString, "3");
    const int beeps = s.ui.beeps();
    QTest::keyClick(s.w->edtSS_AusschnittEndString, Qt::Key_Return);
    EXPECT_EQ(s.ui.beeps() - beeps, 1);
    const engine::MappingRow row = s.stored();
    EXPECT_EQ(row.StringAuswahlBeg, 5);
    EXPECT_EQ(row.StringAuswahlEnd, 5);
    EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.ui.messageTexts().join(" | ").toStdString();
}

// A person reads the grids in the language in use: the column titles, and the type names whatever characters they
// need, while the working table keeps the German names its column can hold.
TEST(MappingPage, TheGridsSpeakTheLanguageInUse)
{
    struct Case {
        const char* language;
        QString feldname, zuordnung, quelldatei;   // titles
        QString longInteger, longIntegerOfSource;  // the type name of an integer in each grid
    };
    const std::vector<Case> cases = {
        {"DE", "Feldname ", "Zuordnung ", "Quelldatei", "Ganzzahl, lang", "Ganzzahl lang"},
        {"EN", "Field name ", "Assignment ", "Source file", "Integer, long", "Long integer"},
        {"CSY", "Název pole ", "Přiřazení ", "Zdrojový soubor", "Celé číslo, dlouhé", "Dlouhé celé číslo"},
    };
    // What a grid shows in the column of field on the row whose Feldname is feldname; its title in title.
    const auto cell = [](platform::TDBGrid* grid, const QString& feldname, const char* field, QString& title) {
        db::TableModel* records = grid->tableModel();
        int nameColumn = -1;
        int column = -1;
        for (int c = 0; c < records->columnCount(); ++c) {
            if (records->fieldAt(c)->FieldName() == "Feldname")
                nameColumn = c;
            if (records->fieldAt(c)->FieldName() == field)
                column = c;
        }
        title = records->headerData(column, Qt::Horizontal).toString();
        for (int row = 0; row < records->rowCount(); ++row)
            if (records->index(row, nameColumn).data().toString() == feldname)
                return records->index(row, column).data().toString();
        return QString();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        platform::TQLocUtils& loc = platform::LocUtilsInstance();
        if (QString(c.language) != "DE")
            loc.LoadResourceLibrary(QStringLiteral(IMPORT_PROGRAM_DIR) + "/Import." + c.language);
        {
            Session s;
            MixedTables tables(s);
            s.walk(tables.source, tables.target);
            QString title;
            EXPECT_EQ(cell(s.w->dbgStruktZiel, "KZahl", "Typbezeichnung", title), c.longInteger);
            EXPECT_EQ(cell(s.w->dbgStruktZiel, "KZahl", "Zuordnung", title), "SNr");
            EXPECT_EQ(title, c.zuordnung);
            EXPECT_EQ(cell(s.w->dbgStruktQuelle, "SNr", "Typbezeichnung", title), c.longIntegerOfSource);
            EXPECT_EQ(cell(s.w->dbgStruktQuelle, "SNr", "Feldname", title), "SNr");
            EXPECT_EQ(title, c.feldname);
            EXPECT_EQ(s.form->tblImpList.FieldByName("Quelldatei")->DisplayLabel(), c.quelldatei);
            s.zielZeile("KZahl");
            EXPECT_EQ(s.stored().Typbezeichnung, "Ganzzahl, lang");
        }
        loc.ResetResourceLibrary();
    }
}

// What the run could not use is refused with a message and the row keeps what it held before, so the panel never
// shows a value the run would fail on; what fits is taken as typed.
TEST(MappingPage, InputTheRunCannotUseIsRefusedWithAMessage)
{
    Session s;
    QDir().mkpath(s.user(""));
    MixedTables tables(s);
    const QString target = s.user("Termine.DB");
    MakeTable(target,
              {{"Nr", FieldType::ftInteger},
               {"Text", FieldType::ftString, 10},
               {"Datum", FieldType::ftDate},
               {"Zeit", FieldType::ftTime},
               {"Wann", FieldType::ftDateTime},
               {"Ja", FieldType::ftBoolean}},
              1);
    s.walk(tables.source, target);
    s.click(s.w->btnOptionen);
    s.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s.form));
    struct Case {
        const char* name;
        const char* target;
        const char* source;
        const char* box;
        const char* edit;
        QString typed;
        const char* column;
        QString stored;  // what the row holds afterwards, and the edit shows
        int message;     // 0 none
    };
    const QString datum = rtl::DateToStr(QDate(2026, 12, 24));
    const std::vector<Case> cases = {
        {"substring from beyond the source's 40 characters", "Text", "SText", "cbxSS_Ausschnitt",
         "edtSS_AusschnittBegString", "41", "StringAuswahlBeg", "", 61380},
        {"substring from its last character", "Text", "SText", "cbxSS_Ausschnitt", "edtSS_AusschnittBegString", "40",
         "StringAuswahlBeg", "40", 0},
        {"substring from beyond it keeps what was there", "Text", "SText", "cbxSS_Ausschnitt",
         "edtSS_AusschnittBegString", "99", "StringAuswahlBeg", "40", 61380},
        {"no date", "Datum", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "morgen", "Vorgabewert_alph", "", 61381},
        {"a date", "Datum", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", datum, "Vorgabewert_alph", datum, 0},
        {"no date from a number keeps the date", "Datum", "SZahl", "cbxZS_UEVorgabe", "edtZS_Vorgabe_Wert", "31.02.",
         "Vorgabewert_alph", datum, 61381},
        {"no time", "Zeit", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "25:99", "Vorgabewert_alph", "", 61381},
        {"no date and time", "Wann", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "bald", "Vorgabewert_alph", "",
         61381},
        {"no logical value", "Ja", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "Jein", "Vorgabewert_alph", "",
         61381},
        {"a logical value", "Ja", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "True", "Vorgabewert_alph", "True",
         0},
        {"any text into a text", "Text", "SText", "cbxSS_Vorgabe", "edtSS_Vorgabe_Wert", "morgen", "Vorgabewert_alph",
         "morgen", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.zielZeile(c.target);
        db::Table& z = s.form->tblZStrukt;
        if (z.FieldByName("Zuordnung")->AsString() != c.source) {
            z.Edit();
            z.FieldByName("Zuordnung")->setAsString(c.source);
            z.Post();
            s.form->ZielfeldOptionenAnzeigen();
        }
        wizard::SetChecked(s.form->findChild<QCheckBox*>(c.box), true);
        auto* edit = s.form->findChild<QLineEdit*>(c.edit);
        ASSERT_TRUE(edit->isEnabled());
        edit->setFocus();
        edit->selectAll();
        const int shown = static_cast<int>(s.ui.messages().size());
        if (c.message)
            s.ui.answer(Button::Ok);
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        if (c.message) {
            ASSERT_EQ(static_cast<int>(s.ui.messages().size()), shown + 1);
            EXPECT_TRUE(s.ui.messageTexts().last().startsWith(texts::Text(c.message).section("%s", 0, 0)))
                << s.ui.messageTexts().last().toStdString();
            EXPECT_TRUE(s.ui.messageTexts().last().contains(c.typed));
        } else {
            EXPECT_EQ(static_cast<int>(s.ui.messages().size()), shown) << s.ui.messageTexts().join(" | ").toStdString();
        }
        z.CheckBrowseMode();
        db::Table fresh;
        fresh.setTableName(z.TableName());
        fresh.Open();
        fresh.setRecNo(z.RecNo());
        EXPECT_EQ(fresh.FieldByName("Feldname")->AsString(), c.target);
        EXPECT_EQ(fresh.FieldByName(c.column)->AsString(), c.stored);
        EXPECT_EQ(edit->text(), c.stored);
    }
}

// The automatic mapping of real tables of other programs: every target field takes the source field of its name
// (any case), a target key the source key; and the page's own assignments keep to the key rules.
TEST(MappingPage, EverySourceKindIsMappedByNameAndKeyAndTheKeyRulesHold)
{
    struct Case {
        const char* name;
        const char* source;
        const char* accessTable;
        const char* target;
    };
    const std::vector<Case> cases = {
        {"Paradox", "paradox/pdriver-db/ORDERS.DB", "", "paradox/pdriver-db/ORDERS.DB"},
        {"dBase", "dbase/dbfread/people.dbf", "", "dbase/dbfread/people.dbf"},
        {"Access", "access/jackcess/testIndexCodesV1997.mdb", "Table11", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        const QString source = CopyFixture(c.source, s.user("quelle"));
        // The Access table goes into a Paradox table of its fields in reverse order, keyed on its last field.
        const auto target = [&]() -> QString {
            if (*c.target)
                return CopyFixture(c.target, s.user("ziel"));
            db::FieldDefList fields;
            for (int i = s.form->tblQuelle.FieldCount() - 1; i >= 0; --i)
                fields.push_back(s.form->tblQuelle.Fields(i)->def());
            QDir().mkpath(s.user("ziel"));
            MakeTable(s.user("ziel/Access.DB"), fields, 1);
            return s.user("ziel/Access.DB");
        };
        s.walk(source, target, c.accessTable);
        // What the page must have found, from the two structures.
        QMap<QString, QString> expected;
        db::Table& quelle = s.form->tblQuelle;
        db::Table& ziel = s.form->tblZiel;
        for (int t = 0; t < ziel.FieldCount(); ++t)
            expected.insert(ziel.Fields(t)->FieldName(), QString());
        for (int q = 0; q < quelle.FieldCount(); ++q) {
            for (int t = 0; t < ziel.FieldCount(); ++t) {
                const db::Field* from = quelle.Fields(q);
                const db::Field* to = ziel.Fields(t);
                if ((from->IsIndexField() && to->IsIndexField()) ||
                    (from->FieldName().compare(to->FieldName(), Qt::CaseInsensitive) == 0 &&
                     to->DataType() != FieldType::ftAutoInc))
                    expected[to->FieldName()] = from->FieldName();
            }
        }
        EXPECT_EQ(s.mapping(), expected);
        EXPECT_EQ(s.w->btnAufheben->isEnabled(), !QStringList(expected.values()).join("").isEmpty());
        EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.ui.messageTexts().join(" | ").toStdString();
        EXPECT_EQ(rtl::formatSettings().DecimalSeparator, u',');
        s.form->DecimalSeparatorWiederherstellen();
        EXPECT_EQ(rtl::formatSettings().DecimalSeparator, s.separator);

        // Delete in the target grid clears the current row's assignment; unassigning all clears the rest.
        s.zielZeile(s.form->tblZiel.Fields(0)->FieldName());
        QTest::keyClick(s.w->dbgStruktZiel, Qt::Key_Delete);
        EXPECT_EQ(s.mapping().value(s.form->tblZiel.Fields(0)->FieldName()), "");
        ASSERT_TRUE(s.w->btnAlleAufheben->isEnabled());
        s.ui.answer(Button::Yes);
        s.click(s.w->btnAlleAufheben);
        EXPECT_EQ(QStringList(s.mapping().values()).join(""), "");
        EXPECT_FALSE(s.w->btnAlleAufheben->isEnabled());
    }

    // The key rules on tables of the test's own: a key takes only unique values, a counter nothing.
    Session s;
    MixedTables tables(s);
    s.walk(tables.source, tables.target);
    s.form->resize(s.form->minimumSizeHint());
    struct Rule {
        const char* name;
        const char* source;
        const char* target;
        QString assigned;  // "" refused
        int message;       // 0 none
    };
    const std::vector<Rule> rules = {
        {"repeating values into a key", "SText", "KText", "", 64958},
        {"a longer unique field into a key", "SLang", "KText", "SLang", 64957},
        {"the source key into a key", "SNr", "KZahl", "SNr", 0},
        {"into a counter", "SZahl", "Auto", "", 64956},
        {"a plain field", "SText", "Text", "SText", 0},
        {"drag a field", "SZahl", "Zahl", "SZahl", 0},
    };
    for (const Rule& r : rules) {
        SCOPED_TRACE(r.name);
        s.zielZeile(r.target);
        s.form->tblZStrukt.Edit();
        s.form->tblZStrukt.FieldByName("Zuordnung")->Clear();
        s.form->tblZStrukt.Post();
        s.quellZeile(r.source);
        const int shown = static_cast<int>(s.ui.messages().size());
        if (r.message)
            s.ui.answer(Button::Ok);
        if (QString(r.name).startsWith("drag")) {
            QMimeData data;
            data.setData("application/x-import-quellfeld", r.source);
            const QPoint at = s.w->dbgStruktZiel->visualRect(s.w->dbgStruktZiel->currentIndex()).center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s.w->dbgStruktZiel->viewport(), &enter);
            QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(s.w->dbgStruktZiel->viewport(), &drop);
        } else {
            s.click(s.w->btnZuordnen);
        }
        EXPECT_EQ(s.mapping().value(r.target), r.assigned);
        // The panel opening or closing resizes the grids; their rows stay where the person put them.
        EXPECT_EQ(s.form->tblQStrukt.FieldByName("Feldname")->AsString(), r.source);
        if (r.message) {
            ASSERT_EQ(static_cast<int>(s.ui.messages().size()), shown + 1);
            EXPECT_TRUE(s.ui.messageTexts().last().contains(texts::Text(r.message).left(20)));
        } else {
            EXPECT_EQ(static_cast<int>(s.ui.messages().size()), shown);
        }
        // A refused assignment closes the panel; a made one opens it on the row's options.
        EXPECT_EQ(s.w->tpcOptionen->isHidden(), r.assigned.isEmpty());
    }
}

}  // namespace

namespace {

// A changed setting keeps its options and assignments on the freshly read target; an assignment of a source field
// that is gone is reset, not kept for the run to fail on.
TEST(MappingPage, GoingBackAndForwardCarriesTheMappingOverAndDropsVanishedSourceFields)
{
    Session s;
    MixedTables tables(s);
    s.walk(tables.source, tables.target);
    db::Table& z = s.form->tblZStrukt;
    const auto set = [&](const QString& row, std::vector<std::pair<const char*, QVariant>> values) {
        s.zielZeile(row);
        z.Edit();
        for (const auto& [column, value] : values)
            z.FieldByName(column)->setAsVariant(value);
        z.Post();
    };
    set("Text", {{"Zuordnung", "SText"}, {"Formel_alph", "#SText"}, {"Vorgabewert_alph", "x"}});
    set("Zahl", {{"Zuordnung", "Verschwunden"}, {"Div", 2}, {"FeldAkt", false}});
    set("Bild", {{"FeldAkt", false}});

    // The view button shows source and target side by side; going back closes the viewer.
    s.click(s.w->btnInhaltAnz4);
    wizard::TfrmInhaltAnz* viewer = s.program.frmInhaltAnz();
    ASSERT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isSheetVisible(viewer->ui->TabSheet1) && viewer->isSheetVisible(viewer->ui->TabSheet2));
    EXPECT_FALSE(viewer->isSheetVisible(viewer->ui->TabSheet3));
    EXPECT_EQ(viewer->ui->PageControl1->tabText(1), texts::Text(65276) + ": Ziel.DB");

    // Not confirmed: the page stays.
    s.ui.answer(Button::No);
    s.click(s.w->btnZurueck4);
    EXPECT_EQ(s.page(), "ImportSeite4");
    EXPECT_FALSE(viewer->isVisible());
    s.ui.answer(Button::Yes);
    s.click(s.w->btnZurueck4);
    ASSERT_EQ(s.page(), "ImportSeite3");
    EXPECT_EQ(s.ui.messages().back().text, texts::Text(64923));
    EXPECT_FALSE(s.form->tblQuelle.Active());

    wizard::SetChecked(s.w->rbtVorhEinst_mAE, true);
    s.click(s.w->btnWeiter3);
    ASSERT_EQ(s.page(), "ImportSeite4") << s.ui.messageTexts().join(" | ").toStdString();
    const auto rows = engine::ReadMapping(z);
    const auto row = [&](const QString& name) {
        for (const engine::MappingRow& r : rows)
            if (r.Feldname == name)
                return r;
        ADD_FAILURE() << name.toStdString();
        return engine::MappingRow();
    };
    EXPECT_EQ(row("Text").Zuordnung, "SText");
    EXPECT_EQ(row("Text").Formel_alph, "#SText");
    EXPECT_EQ(row("Text").Vorgabewert_alph, "x");
    EXPECT_EQ(row("KText").Zuordnung, "SNr");
    EXPECT_EQ(row("Zahl").Zuordnung, "");
    EXPECT_FALSE(row("Zahl").Div);
    EXPECT_TRUE(row("Zahl").FeldAkt && row("Zahl").Ausrichtung_re);
    EXPECT_FALSE(row("Bild").FeldAkt);
    EXPECT_TRUE(s.w->btnAlleAufheben->isEnabled());
}

// Alt and a caption's underlined letter reach one control of the page, with the options panel closed and open on
// each sheet, in each language.
TEST(MappingPage, EveryAccessKeyOfThePageIsUnique)
{
    for (const char* language : {"DE", "EN", "CSY"}) {
        SCOPED_TRACE(language);
        platform::TQLocUtils& loc = platform::LocUtilsInstance();
        if (QString(language) != "DE")
            loc.LoadResourceLibrary(QStringLiteral(IMPORT_PROGRAM_DIR) + "/Import." + language);
        {
            Session s;
            MixedTables tables(s);
            s.walk(tables.source, tables.target);
            const auto check = [&](const char* state) {
                SCOPED_TRACE(state);
                QMap<QChar, QString> keys;
                for (QWidget* control : s.w->ImportSeite4->findChildren<QWidget*>()) {
                    QString caption;
                    if (auto* button = qobject_cast<QAbstractButton*>(control))
                        caption = button->text();
                    else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
                        caption = label->text();
                    const qsizetype amp = caption.indexOf(u'&');
                    if (!control->isVisibleTo(s.w->ImportSeite4) || amp < 0 || amp + 1 >= caption.size())
                        continue;
                    const QChar key = caption.at(amp + 1).toLower();
                    EXPECT_FALSE(keys.contains(key)) << control->objectName().toStdString() << " and "
                                                     << keys.value(key).toStdString() << " share "
                                                     << QString(key).toStdString();
                    keys.insert(key, control->objectName());
                }
            };
            check("closed");
            for (const auto& [target, source] : {std::pair{"Text", "SText"}, {"Zahl", "SText"}, {"Text", "SZahl"},
                                                  {"Zahl", "SZahl"}}) {
                s.zielZeile(target);
                s.quellZeile(source);
                s.click(s.w->btnZuordnen);
                ASSERT_FALSE(s.w->tpcOptionen->isHidden());
                check(qPrintable(s.w->tpcOptionen->currentWidget()->objectName()));
            }
        }
        loc.ResetResourceLibrary();
    }
}

}  // namespace
