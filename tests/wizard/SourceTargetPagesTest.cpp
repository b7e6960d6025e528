// The source, Access and target pages as a person walks them: real files of other programs copied to a folder of
// the test's own, clicks on the real window, dialogs answered by script; what the pages leave in the working
// tables and what they leave untouched in the person's files.
#include "ShellTestSupport.h"

#include "db/Table.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "platform/StatusBar.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using platform::Button;
using platform::ScriptedUi;

const QString kFixtures = QStringLiteral(IMPORT_FIXTURES_DIR);

// Copies a table's files (every extension of its base name) into folder, writable; gives the main file's path.
QString CopyFixture(const QString& relative, const QString& folder, const QString& newBase = QString())
{
    return CopyTableFiles(kFixtures + u'/' + relative, folder, newBase);
}

// Every file of a folder with its contents' hash: what "nothing changed" means for the person's files.
QMap<QString, QByteArray> Snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
        QFile in(file.filePath());
        if (in.open(QIODevice::ReadOnly))
            files.insert(file.fileName(), QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

// A case that moves into another folder leaves the next case where it was.
struct CurrentFolderKept {
    const QString folder = QDir::currentPath();
    ~CurrentFolderKept() { QDir::setCurrent(folder); }
};

// The program started as a person starts it, on its start page with a new setting.
struct Session {
    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context = folders.context();
    wizard::ImportProgram program{context};
    wizard::TfrmImport1* form = nullptr;
    Ui::TfrmImport1* w = nullptr;

    Session()
    {
        QDir().mkpath(user());
        EXPECT_TRUE(program.Start(0));
        form = program.frmImport1();
        w = form->ui.get();
    }
    QString user(const QString& relative = QString()) const { return folders.path("user/" + relative); }
    QString page() const { return w->PageControl1->currentWidget()->objectName(); }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void toSourcePage() { w->PageControl1->setCurrentWidget(w->ImportSeite2); }
    // Source page forward; on the Access page the named table is taken.
    void source(const QString& file, const QString& accessTable = QString())
    {
        toSourcePage();
        w->edtQuelle->setText(file);
        click(w->btnWeiter2);
        if (!accessTable.isEmpty() && page() == "ImportSeiteAdo") {
            const auto found = w->lbxTables->findItems(accessTable, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            w->lbxTables->setCurrentItem(found.first());
            click(w->btnWeiterAdo);
        }
    }
    void target(const QString& file)
    {
        w->edtZiel->setText(file);
        click(w->btnWeiter3);
    }
};

TEST(SourceTargetPages, EverySourceKindReachesThePageThatFollowsIt)
{
    struct Case {
        const char* name;
        QString source;        // fixture, or a text written by the test
        QString accessTable;   // the table taken on the Access page
        QString target;        // fixture copied as the target
        int sourceFields;      // rows of QStrukt after the target page (0 for a text source)
        const char* nextPage;
    };
    const QString csv = QStringLiteral("text:Nr;Name\r\n1;Müller\r\n");
    const std::vector<Case> cases = {
        {"text into Paradox", csv, "", "paradox/pdriver-db/CONTACTS.DB", 0, "ImportSeite1txt"},
        {"text into dBase", csv, "", "dbase/dbfread/people.dbf", 0, "ImportSeite1txt"},
        {"Paradox into Paradox", "paradox/pdriver-db/ORDERS.DB", "", "paradox/pdriver-db/CONTACTS.DB", 0,
         "ImportSeite4"},
        {"Paradox into dBase", "paradox/pdriver-db/ORDERS.DB", "", "dbase/dbfread/people.dbf", 0, "ImportSeite4"},
        {"dBase into Paradox", "dbase/dbfread/people.dbf", "", "paradox/pdriver-db/CONTACTS.DB", 0, "ImportSeite4"},
        {"dBase into dBase", "dbase/dbfread/people.dbf", "", "dbase/dbfread/people.dbf", 0, "ImportSeite4"},
        {"Access into Paradox", "access/jackcess/testIndexCodesV1997.mdb", "Table11",
         "paradox/pdriver-db/CONTACTS.DB", 2, "ImportSeite4"},
        {"Access into dBase", "access/jackcess/testIndexCodesV1997.mdb", "Table11", "dbase/dbfread/people.dbf", 2,
         "ImportSeite4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        QString source;
        if (c.source.startsWith("text:")) {
            source = s.folders.touch("user/quelle/kunden.csv", c.source.mid(5).toLatin1());
        } else {
            source = CopyFixture(c.source, s.user("quelle"));
        }
        const QString target = CopyFixture(c.target, s.user("ziel"));
        const auto targetBefore = Snapshot(s.user("ziel"));
        const auto sourceBefore = Snapshot(s.user("quelle"));

        s.source(source, c.accessTable);
        ASSERT_EQ(s.page(), "ImportSeite3") << s.ui.messageTexts().join(" | ").toStdString();
        s.target(target);
        EXPECT_EQ(s.page(), c.nextPage) << s.ui.messageTexts().join(" | ").toStdString();
        EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.ui.messageTexts().join(" | ").toStdString();

        // The working tables describe the two tables; the mapping as it was waits in Temp.
        db::Table targetTable;
        targetTable.setTableName(target);
        targetTable.Open();
        EXPECT_EQ(s.form->tblZStrukt.RecordCount(), targetTable.FieldCount());
        targetTable.Close();
        EXPECT_TRUE(QFileInfo::exists(s.folders.programFolder() + "Temp/tmp.DB"));
        if (c.source.startsWith("text:")) {
            EXPECT_EQ(RowCount(s.folders.programFolder() + "QStrukt.DB"), 0);
            // Two lines of different length: separated values.
            EXPECT_TRUE(s.w->rgrDatsatzlaenge0->isChecked());
            EXPECT_EQ(s.w->tpcTXT->currentWidget(), s.w->TXTDatensatzlaenge);
            EXPECT_TRUE(s.w->retQuellDat->toPlainText().contains("Müller"));
        } else {
            EXPECT_EQ(s.form->tblQuelle.Active(), true);
            EXPECT_EQ(s.form->tblQStrukt.Active() ? s.form->tblQStrukt.RecordCount()
                                                  : RowCount(s.folders.programFolder() + "QStrukt.DB"),
                      s.form->tblQuelle.FieldCount());
            if (c.sourceFields) {
                EXPECT_EQ(s.form->tblQuelle.FieldCount(), c.sourceFields);
            }
        }
        if (!c.accessTable.isEmpty()) {
            EXPECT_EQ(s.form->AdoQuellTabelle, c.accessTable);
            EXPECT_EQ(QFileInfo(s.form->tblQuelle.TableName()).absolutePath() + u'/',
                      s.folders.programFolder() + "Temp/");
            EXPECT_EQ(s.form->tblQuelle.RecordCount(), 52);
        }
        s.form->tblQuelle.Close();
        s.form->tblZiel.Close();
        EXPECT_EQ(Snapshot(s.user("ziel")), targetBefore);
        EXPECT_EQ(Snapshot(s.user("quelle")), sourceBefore);
    }
}

TEST(SourceTargetPages, TheAccessPageListsTheTablesAndTakesTheLastOneAgain)
{
    Session s;
    const QString mdb = CopyFixture("access/jackcess/testIndexCodesV1997.mdb", s.user());
    s.form->AdoQuellTabelle = "TABLE5_DESC";  // the last one used, in other letter case
    s.source(mdb);
    ASSERT_EQ(s.page(), "ImportSeiteAdo") << s.ui.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(s.w->lbxTables->count(), 29);
    EXPECT_EQ(s.w->lbxTables->item(0)->text(), "Table1");
    ASSERT_NE(s.w->lbxTables->currentItem(), nullptr);
    EXPECT_EQ(s.w->lbxTables->currentItem()->text(), "Table5_desc");
    EXPECT_EQ(s.w->Label12->text(), texts::Format(texts::Text(64925), {"testIndexCodesV1997.mdb"}));

    // Nothing chosen: the page says so and stays.
    s.w->lbxTables->clearSelection();
    s.w->lbxTables->setCurrentItem(nullptr);
    s.ui.answer(Button::Ok);
    s.click(s.w->btnWeiterAdo);
    EXPECT_EQ(s.ui.messageTexts().value(0), texts::Text(65226));
    EXPECT_EQ(s.page(), "ImportSeiteAdo");

    s.click(s.w->bznZurueckAdo);
    EXPECT_EQ(s.page(), "ImportSeite2");
}

TEST(SourceTargetPages, ASourceThatCannotBeUsedKeepsThePersonOnTheSourcePage)
{
    struct Case {
        const char* name;
        std::function<QString(Session&)> make;  // the name typed into the edit
        std::vector<Button> answers;
        int text;  // the message's program text; 0: a message of our own that names the file
        bool cleared;
        const char* page;
    };
    const auto text = [](const char* content) {
        return [content](Session& s) { return s.folders.touch("user/daten/" + QString(content).section('|', 0, 0),
                                                              QString(content).section('|', 1).toLatin1()); };
    };
    const std::vector<Case> cases = {
        {"nothing typed", [](Session&) { return QString(); }, {Button::Ok}, 64966, false, "ImportSeite2"},
        {"folder missing", [](Session& s) { return s.user("fehlt/kunden.db"); }, {Button::Ok}, 64968, false,
         "ImportSeite2"},
        {"file missing", [](Session& s) { return s.user("kunden.db"); }, {Button::Ok}, 64969, false, "ImportSeite2"},
        // A name without a folder has no folder to exist, even where a file of that name lies in the current one.
        {"bare name of a file in the current folder",
         [](Session& s) {
             CopyFixture("paradox/pdriver-db/ORDERS.DB", s.user("daten"));
             QDir::setCurrent(s.user("daten"));
             return QString("ORDERS.DB");
         },
         {Button::Ok}, 64968, false, "ImportSeite2"},
        {"a folder", [](Session& s) { QDir().mkpath(s.user("ordner.db")); return s.user("ordner.db"); },
         {Button::Ok}, 64969, false, "ImportSeite2"},
        {"own settings list, other case",
         [](Session& s) { return s.folders.programFolder() + "implist.db"; }, {Button::Ok}, 64971, true,
         "ImportSeite2"},
        {"packed file declined", text("archiv.ZIP|PK"), {Button::No}, 64970, false, "ImportSeite2"},
        {"packed file taken as text", text("archiv.zip|PK"), {Button::Yes}, 64970, false, "ImportSeite3"},
        {"empty dBase table",
         [](Session& s) {
             const QString copy = CopyFixture("dbase/dbfread/people.dbf", s.user("daten"), "LEER");
             db::Table t;
             t.setTableName(copy);
             t.Open();
             while (t.RecordCount() > 0) {
                 t.First();
                 t.Delete();
             }
             t.Close();
             return copy;
         },
         {Button::Ok}, 64948, false, "ImportSeite2"},
        {"a .db that is really text", text("kunden.db|Nr;Name\r\n1;Huber\r\n"), {Button::Ok}, 64950, false,
         "ImportSeite2"},
        {"a damaged Paradox table",
         [](Session& s) {
             const QString copy = CopyFixture("paradox/pdriver-db/CONTACTS.DB", s.user("daten"));
             QFile f(copy);
             f.open(QIODevice::ReadWrite);
             f.resize(700);
             return copy;
         },
         {Button::Ok}, 64950, false, "ImportSeite2"},
        {"a table another program holds",
         [](Session& s) {
             static db::Table other;  // held until the next case's session starts
             other.Close();
             other.setTableName(CopyFixture("paradox/pdriver-db/ORDERS.DB", s.user("daten")));
             other.setExclusive(true);
             other.Open();
             return other.TableName();
         },
         {Button::Ok}, 64950, false, "ImportSeite2"},
        {"a damaged Access database", text("kaputt.mdb|Standard Jet DB garbage"), {Button::Ok}, 64950, false,
         "ImportSeite2"},
    };
    std::vector<Case> all = cases;
    // Permissions hold for everybody but the administrator.
    if (::geteuid() != 0) {
        all.push_back({"a file without permission",
                       [](Session& s) {
                           const QString file = s.folders.touch("user/daten/geheim.txt", "Nr;Name\r\n");
                           QFile::setPermissions(file, QFile::WriteOwner);
                           return file;
                       },
                       {Button::Ok}, 0, false, "ImportSeite2"});
    }
    for (const Case& c : all) {
        SCOPED_TRACE(c.name);
        const CurrentFolderKept kept;
        Session s;
        const QString name = c.make(s);
        const auto before = Snapshot(s.user("daten"));
        for (Button b : c.answers)
            s.ui.answer(b);
        s.source(name);
        EXPECT_EQ(s.page(), c.page);
        ASSERT_FALSE(s.ui.messages().empty());
        const QString shown = s.ui.messages().front().text;
        if (c.text == 64970)
            EXPECT_EQ(shown, texts::Format(texts::Text(64970), {QFileInfo(name).fileName()}));
        else if (c.text == 0)
            EXPECT_EQ(shown, QString("Die Datei \"%1\" kann nicht gelesen werden: Ihnen fehlt die Berechtigung.").arg(name));
        else
            EXPECT_TRUE(shown.startsWith(texts::Text(c.text))) << shown.toStdString();
        EXPECT_EQ(s.w->edtQuelle->text().isEmpty(), c.cleared || name.isEmpty());
        EXPECT_EQ(s.form->tblQuelle.Active(), false);
        EXPECT_EQ(Snapshot(s.user("daten")), before);
    }
}

TEST(SourceTargetPages, ATargetThatCannotBeUsedIsRefusedBeforeAnythingChanges)
{
    struct Case {
        const char* name;
        std::function<QString(Session&, const QString& source)> make;
        int text;
        bool cleared;
    };
    const std::vector<Case> cases = {
        {"nothing typed", [](Session&, const QString&) { return QString(); }, 64967, false},
        {"bare name of a file in the current folder",
         [](Session& s, const QString&) {
             CopyFixture("paradox/pdriver-db/CONTACTS.DB", s.user("ziel"));
             QDir::setCurrent(s.user("ziel"));
             return QString("CONTACTS.DB");
         },
         64968, false},
        {"a name ending in a separator", [](Session&, const QString&) { return QString("KUNDEN.DB/"); }, 64968, false},
        {"file missing", [](Session& s, const QString&) { QDir().mkpath(s.user("ziel")); return s.user("ziel/fehlt.db"); }, 64969, false},
        {"the source, other case", [](Session&, const QString& source) { return QFileInfo(source).path() + "/orders.db"; }, 64972, true},
        {"own mapping table, other case",
         [](Session& s, const QString&) { return s.folders.programFolder() + "zstrukt.db"; }, 64971, true},
        {"a .db that is really text",
         [](Session& s, const QString&) { return s.folders.touch("user/ziel/text.db", "Nr;Name\r\n"); }, 65223,
         false},
        // Validity checks the engine cannot keep right make the table read-only: no run may start into it.
        {"a table that can only be read",
         [](Session& s, const QString&) { return CopyFixture("paradox/pdriver-db/AREACODE.DB", s.user("ziel")); },
         0, false},
    };
    std::vector<Case> all = cases;
    if (::geteuid() != 0) {
        all.push_back({"a target that may not be written",
                       [](Session& s, const QString&) {
                           const QString file = CopyFixture("paradox/pdriver-db/CONTACTS.DB", s.user("ziel"));
                           QFile::setPermissions(file, QFile::ReadOwner);
                           return file;
                       },
                       -1, false});
    }
    for (const Case& c : all) {
        SCOPED_TRACE(c.name);
        const CurrentFolderKept kept;
        Session s;
        const QString source = CopyFixture("paradox/pdriver-db/ORDERS.DB", s.user("quelle"));
        s.source(source);
        ASSERT_EQ(s.page(), "ImportSeite3");
        const QString name = c.make(s, source);
        const auto before = Snapshot(s.user("ziel"));
        const auto workingBefore = RowCount(s.folders.programFolder() + "ZStrukt.DB");
        s.ui.answer(Button::Ok);
        s.target(name);
        EXPECT_EQ(s.page(), "ImportSeite3");
        ASSERT_FALSE(s.ui.messages().empty());
        const QString expected = c.text > 0 ? texts::Text(c.text)
                                 : c.text == 0
                                     ? QString("In die Zieldatei \"%1\" kann nicht importiert werden.").arg(name)
                                     : QString("Die Zieldatei \"%1\" kann nicht beschrieben werden").arg(name);
        EXPECT_TRUE(s.ui.messages().front().text.startsWith(expected)) << s.ui.messages().front().text.toStdString();
        EXPECT_EQ(s.w->edtZiel->text().isEmpty(), c.cleared || name.isEmpty());
        EXPECT_EQ(Snapshot(s.user("ziel")), before);
        EXPECT_FALSE(QFileInfo::exists(s.folders.programFolder() + "Temp/tmp.DB"));
        EXPECT_EQ(RowCount(s.folders.programFolder() + "ZStrukt.DB"), workingBefore);
    }
}

TEST(SourceTargetPages, TheBackupCopiesEveryFileOfTheTargetAndNeverTheTargetItself)
{
    Session s;
    const QString source = CopyFixture("dbase/dbfread/people.dbf", s.user("quelle"));
    const QString target = CopyFixture("paradox/pdriver-db/CUSTOMER.DB", s.user("ziel"));
    const auto before = Snapshot(s.user("ziel"));
    s.source(source);
    ASSERT_EQ(s.page(), "ImportSeite3");
    s.w->edtZiel->setText(target);

    // Over the target itself: refused, nothing written.
    s.ui.answerFile(s.user("ziel/customer.db")).answer(Button::Ok);
    s.click(s.w->btnSicherungskopie);
    EXPECT_EQ(Snapshot(s.user("ziel")), before);
    ASSERT_EQ(s.ui.events().front().kind, ScriptedUi::Kind::SaveFile);
    const platform::FileDialogRequest& dialog = s.ui.events().front().file;
    EXPECT_EQ(QFileInfo(dialog.fileName).fileName(), "CP_CUSTOMER.DB");
    // An existing file is replaced only after the dialog's own question.
    EXPECT_TRUE(dialog.options & platform::OverwritePrompt);
    s.ui.clearRecord();

    // A table of that name lies there already (files the dialog did not ask about): kept unless replaced.
    const QString stale = s.folders.touch("user/sicher/cp_customer.x09", "alt");
    const auto staleFolder = Snapshot(s.user("sicher"));
    s.ui.answerFile(s.user("sicher/CP_CUSTOMER.DB")).answer(Button::No);
    s.click(s.w->btnSicherungskopie);
    EXPECT_EQ(Snapshot(s.user("sicher")), staleFolder);
    EXPECT_TRUE(s.ui.messageTexts().value(0).contains("cp_customer.x09"));
    s.ui.clearRecord();

    // Replaced: every file of the table, nothing of the old one beside it, and the backup option ticked.
    s.ui.answerFile(s.user("sicher/CP_CUSTOMER.DB")).answer(Button::Yes).answer(Button::Ok);
    s.click(s.w->btnSicherungskopie);
    EXPECT_EQ(s.ui.messageTexts().value(1), texts::Text(64984));
    EXPECT_EQ(QDir(s.user("sicher")).entryList(QDir::Files),
              (QStringList{"CP_CUSTOMER.DB", "CP_CUSTOMER.MB", "CP_CUSTOMER.PX", "CP_CUSTOMER.X06",
                           "CP_CUSTOMER.Y06"}));
    EXPECT_TRUE(s.w->cbxSicherungskopie->isChecked());
    EXPECT_EQ(Snapshot(s.user("ziel")), before);
}

// Leaving the target page with a text source guesses the layout from the first two lines, unless one was chosen.
TEST(SourceTargetPages, TheFirstTwoLinesOfATextSourceChooseItsLayout)
{
    struct Case {
        const char* name;
        QByteArray text;
        QRadioButton* Ui::TfrmImport1::*chosenBefore;  // null: no choice yet
        QRadioButton* Ui::TfrmImport1::*expected;
    };
    const std::vector<Case> cases = {
        {"equal lengths: fixed width", "  Huber  0815\r\nMeier  4711  \r\nX\r\n", nullptr,
         &Ui::TfrmImport1::rgrDatsatzlaenge1},
        {"different lengths: separated", "Nr;Name\r\n1;Hubert\r\n", nullptr, &Ui::TfrmImport1::rgrDatsatzlaenge0},
        {"one line compares with nothing", "Huber;0815", nullptr, &Ui::TfrmImport1::rgrDatsatzlaenge0},
        {"a choice made stays", "Huber\r\nMeier\r\n", &Ui::TfrmImport1::rgrDatsatzlaenge0,
         &Ui::TfrmImport1::rgrDatsatzlaenge0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        const QString target = CopyFixture("paradox/pdriver-db/CONTACTS.DB", s.user("ziel"));
        if (c.chosenBefore)
            platform::SetChecked((*s.w).*c.chosenBefore, true);
        s.source(s.folders.touch("user/quelle/daten.txt", c.text));
        s.target(target);
        ASSERT_EQ(s.page(), "ImportSeite1txt");
        EXPECT_TRUE(((*s.w).*c.expected)->isChecked());
    }
}

// The view buttons show the source, the Access table and the target in the viewer; the quick choices fill the
// edits; the options open.
TEST(SourceTargetPages, TheViewButtonsAndTheQuickChoicesShowWhatWasNamed)
{
    Session s;
    wizard::TfrmInhaltAnz& viewer = *s.program.frmInhaltAnz();
    Ui::TfrmInhaltAnz& v = *viewer.ui;
    const QString source = CopyFixture("paradox/pdriver-db/ORDERS.DB", s.user("quelle"));
    const QString target = CopyFixture("dbase/dbfread/people.dbf", s.user("ziel"));

    // Quick choice of the address file.
    s.form->WDAdressdatei = source;
    s.toSourcePage();
    s.w->comQuelle->addItem("Adress-Datei von Velmora-Wendamo");
    s.w->comQuelle->setCurrentIndex(-1);
    s.w->comQuelle->show();
    s.w->comQuelle->setFocus();
    QTest::keyClick(s.w->comQuelle, Qt::Key_Down);
    EXPECT_EQ(s.w->edtQuelle->text(), source);

    s.click(s.w->btnInhaltAnz2);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_FALSE(s.w->btnInhaltAnz2->isEnabled());
    EXPECT_EQ(viewer.activeSheet(), v.TabSheet1);
    EXPECT_FALSE(viewer.isSheetVisible(v.TabSheet2));
    EXPECT_EQ(v.PageControl1->tabText(v.PageControl1->indexOf(v.TabSheet1)), "Quelldatei: ORDERS.DB");
    EXPECT_EQ(v.stbInhaltQuelle->SimpleText(), "224" + texts::Text(65271));
    viewer.close();
    EXPECT_TRUE(s.w->btnInhaltAnz2->isEnabled());

    s.click(s.w->btnQOptionen1);
    EXPECT_TRUE(s.program.frmQOptionen()->isVisible());
    s.program.frmQOptionen()->close();

    // The target with the emptying notice, which the viewer shows in a panel of its own.
    s.click(s.w->btnWeiter2);
    ASSERT_EQ(s.page(), "ImportSeite3");
    s.w->edtZiel->setText(target);
    s.click(s.w->cbxZielLeeren);
    EXPECT_TRUE(s.w->lblZielLeeren->font().bold());
    s.click(s.w->btnInhaltAnz3);
    EXPECT_EQ(viewer.activeSheet(), v.TabSheet2);
    EXPECT_EQ(v.PageControl1->tabText(v.PageControl1->indexOf(v.TabSheet2)),
              texts::Text(65276) + ": people.dbf");
    ASSERT_EQ(v.stbInhaltZiel->PanelCount(), 2);
    EXPECT_EQ(v.stbInhaltZiel->PanelText(1), texts::Text(65218));
    EXPECT_FALSE(s.w->btnInhaltAnz3->isEnabled());
    viewer.close();

    // An Access table, read through the database's connection.
    s.click(s.w->btnZurueck3);
    const QString mdb = CopyFixture("access/jackcess/testIndexCodesV1997.mdb", s.user("quelle"));
    s.source(mdb);
    ASSERT_EQ(s.page(), "ImportSeiteAdo");
    s.w->lbxTables->setCurrentItem(s.w->lbxTables->findItems("Table11", Qt::MatchExactly).first());
    s.click(s.w->btnAccessInhaltAnsehen);
    EXPECT_EQ(v.PageControl1->tabText(v.PageControl1->indexOf(v.TabSheet1)),
              texts::Text(65273) + ": testIndexCodesV1997.mdb, " + texts::Text(65274) + ": Table11");
    EXPECT_EQ(v.stbInhaltQuelle->SimpleText(), "52" + texts::Text(65271));
    EXPECT_EQ(viewer.QuelleDataSource(), &viewer.dscAdo);
    viewer.close();
    EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.ui.messageTexts().join(" | ").toStdString();
}

// Alt and a caption's underlined letter reach one control only, on each page and in each language, and the
// letter of the prompt above the edit puts the cursor into it.
TEST(SourceTargetPages, EveryAccessKeyOfThePagesIsUniqueAndWorks)
{
    for (const char* language : {"DE", "EN", "CSY"}) {
        SCOPED_TRACE(language);
        platform::TQLocUtils& loc = platform::LocUtilsInstance();
        if (QString(language) != "DE")
            loc.LoadResourceLibrary(QStringLiteral(IMPORT_PROGRAM_DIR) + "/Import." + language);
        {
            Session s;
            for (QWidget* page : {s.w->ImportSeite2, s.w->ImportSeiteAdo, s.w->ImportSeite3}) {
                SCOPED_TRACE(page->objectName().toStdString());
                s.w->PageControl1->setCurrentWidget(page);
                QMap<QChar, QString> keys;
                for (QWidget* control : page->findChildren<QWidget*>()) {
                    QString caption;
                    if (auto* button = qobject_cast<QAbstractButton*>(control))
                        caption = button->text();
                    else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
                        caption = label->text();
                    const qsizetype amp = caption.indexOf(u'&');
                    if (control->isHidden() || amp < 0 || amp + 1 >= caption.size())
                        continue;
                    const QChar key = caption.at(amp + 1).toLower();
                    EXPECT_FALSE(keys.contains(key)) << control->objectName().toStdString() << " and "
                                                     << keys.value(key).toStdString() << " share "
                                                     << QString(key).toStdString();
                    keys.insert(key, control->objectName());
                }
            }
            QLabel* prompt = s.w->lblZiel;
            s.w->PageControl1->setCurrentWidget(s.w->ImportSeite3);
            s.form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(s.form));
            s.w->btnWeiter3->setFocus();
            const QChar key = prompt->text().at(prompt->text().indexOf(u'&') + 1).toUpper();
            QTest::keyClick(s.w->btnWeiter3, Qt::Key(key.unicode()), Qt::AltModifier);
            EXPECT_TRUE(s.w->edtZiel->hasFocus());
        }
        loc.ResetResourceLibrary();
    }
}

}  // namespace
