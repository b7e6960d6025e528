// The settings manager, the settings viewer and the copy error list, driven through the real windows of a program
// started in a folder of its own: what the views, delete, copy, rename and the read of a VorDef.DB leave in the
// settings list and in the program folder.
#include "ShellTestSupport.h"

#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/SettingFiles.h"
#include "engine/WorkingTables.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmCopyFehler.h"
#include "ui_frmEinstellAEND.h"
#include "ui_frmEinstellANZ.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmImport1.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using platform::Button;
using platform::ScriptedUi;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stored setting as a test lays it down: its row and, unless told otherwise, its two files.
struct Stored {
    QString name = {};
    bool eigene = true;
    int tableName = 0;    // own: the number asked for (0: the engine's next)
    QString vorDef = {};  // predefined: the base name
    int importmodus = 1;
    bool sicherungskopie = false;
    bool zielLeeren = false;
    bool files = true;
};

// The program started in a folder of its own, the manager and its windows on hand; dialogs answered by the script.
struct Program {
    explicit Program(const std::vector<Stored>& settings = {})
    {
        context = folders.context();
        program = std::make_unique<wizard::ImportProgram>(context);
        if (!program->Start(0))
            throw std::runtime_error("the program did not start");
        form = program->frmImport1();
        manager = program->frmEinstellAEND();
        list().Open();
        for (const Stored& s : settings)
            add(s);
    }

    db::Table& list() const { return form->tblImpList; }
    Ui::TfrmEinstellAEND& m() const { return *manager->ui; }
    QString folder() const { return context.programFolder; }

    // Adds the row; the files hold the setting's name, so that a test sees whose files lie where.
    void add(const Stored& s) const
    {
        list().setFiltered(false);
        list().Append();
        list().FieldByName("Bezeichnung")->setAsString(s.name);
        list().FieldByName("Eigene")->setAsBoolean(s.eigene);
        list().FieldByName("Importmodus")->setAsInteger(s.importmodus);
        list().FieldByName("Sicherungskopie")->setAsBoolean(s.sicherungskopie);
        list().FieldByName("ZielLeeren")->setAsBoolean(s.zielLeeren);
        if (s.tableName)
            list().FieldByName("TableName")->setAsInteger(s.tableName);
        list().FieldByName("VorDefTableName")->setAsString(s.vorDef);
        list().Post();
        list().FindKey(s.name);
        const QString base = s.eigene ? list().FieldByName("TableName")->AsString() : s.vorDef;
        if (s.files) {
            for (const char* extension : {".DB", ".MB"}) {
                QFile file(folder() + base + extension);
                file.open(QIODevice::WriteOnly);
                file.write(s.name.toUtf8());
            }
        }
    }

    // Every row of the list as "name=base", in key order.
    QStringList rows() const
    {
        QStringList result;
        const bool filtered = list().Filtered();
        list().setFiltered(false);
        for (list().First(); !list().Eof(); list().Next()) {
            const bool own = list().FieldByName("Eigene")->AsBoolean();
            result << list().FieldByName("Bezeichnung")->AsString() + u'=' +
                          list().FieldByName(own ? "TableName" : "VorDefTableName")->AsString();
        }
        list().setFiltered(filtered);
        return result;
    }

    // The setting files of the program folder with their contents ("base.ext:content"), working tables aside.
    QStringList files() const
    {
        QStringList result;
        for (const QString& name : QDir(folder()).entryList(QDir::Files, QDir::Name)) {
            const QString base = name.section('.', 0, 0);
            if (base == "ZStrukt" || base == "QStrukt" || base == "ImpList" || base == "Import")
                continue;
            result << name + u':' + QString::fromUtf8(ReadAll(folder() + name));
        }
        return result;
    }

    void show() const
    {
        manager->show();
        QApplication::processEvents();
    }

    void select(const QString& name) const { ASSERT_TRUE(list().FindKey(name)) << name.toStdString(); }

    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context;
    std::unique_ptr<wizard::ImportProgram> program;
    wizard::TfrmImport1* form = nullptr;
    wizard::TfrmEinstellAEND* manager = nullptr;
};

const std::vector<Stored> OwnAndPredefined = {
    {.name = "Eigen", .tableName = 30, .importmodus = 3},
    {.name = "Vordef", .eigene = false, .vorDef = "VB", .importmodus = 5},
};

TEST(SettingsManager, ViewsAndDeleteKeepTheButtonsAndTheViewInStep)
{
    struct Case {
        const char* name;
        int view;
        QStringList deleted;  // answered Yes, one after the other
        Button answer;
        int viewAfter;
        QStringList rows;
        QStringList files;
        QString startCaption;
    };
    const Case cases[] = {
        {"No keeps the setting",
         2,
         {"Eigen"},
         Button::No,
         2,
         {"Eigen=30", "Vordef=VB"},
         {"30.DB:Eigen", "30.MB:Eigen", "VB.DB:Vordef", "VB.MB:Vordef"},
         "&Import starten"},
        {"the last own setting in the own view: all are shown",
         0,
         {"Eigen"},
         Button::Yes,
         2,
         {"Vordef=VB"},
         {"VB.DB:Vordef", "VB.MB:Vordef"},
         "&Import starten"},
        {"the last predefined one in its view: the own are shown",
         1,
         {"Vordef"},
         Button::Yes,
         0,
         {"Eigen=30"},
         {"30.DB:Eigen", "30.MB:Eigen"},
         "&Import starten"},
        {"the last of all: only closing is left", 2, {"Eigen", "Vordef"}, Button::Yes, 2, {}, {}, "&Schließen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(OwnAndPredefined);
        p.show();
        p.manager->setAnzeigeIndex(c.view);
        for (const QString& name : c.deleted) {
            p.select(name);
            p.ui.answer(c.answer);
            p.m().dbgEinstellungen->setFocus();
            QTest::keyClick(p.m().dbgEinstellungen, Qt::Key_Delete);
            EXPECT_EQ(p.ui.messages().back().text, texts::Format(texts::Text(65006), {name}));
        }
        EXPECT_EQ(p.manager->AnzeigeIndex(), c.viewAfter);
        EXPECT_EQ(p.rows(), c.rows);
        EXPECT_EQ(p.files(), c.files);
        EXPECT_EQ(p.m().btnImportStarten->text(), c.startCaption);
        EXPECT_EQ(p.m().btnLoeschen->isEnabled(), !c.rows.isEmpty());
        EXPECT_EQ(p.m().btnKopierenNach->isEnabled(), !c.rows.isEmpty());
        if (c.rows.isEmpty()) {
            // Closing resets the start page to what an empty list offers.
            QTest::mouseClick(p.m().btnImportStarten, Qt::LeftButton);
            EXPECT_FALSE(p.manager->isVisible());
            EXPECT_TRUE(p.form->ui->rbtNeueImport->isChecked());
            EXPECT_FALSE(p.form->ui->rbtImpEinlesen->isHidden());
            EXPECT_TRUE(p.form->ui->rbtVorhEinst_mAE->isHidden());
        } else {
            EXPECT_FALSE(p.m().lblImportmodus->text().isEmpty());
        }
    }
}

TEST(SettingsManager, CopyWritesTheNewRowAndItsOwnFiles)
{
    struct Case {
        const char* name;
        QString from;
        std::function<void(ScriptedUi&)> script;  // the answers, in the order the dialogs come
        QStringList rows;
        QStringList newFiles;  // files of the folder besides those of the two settings
        QStringList messages;  // texts shown, in order
        QStringList boxTexts;  // what each input box started with
        std::function<void(Program&)> before = {};
    };
    const QString exists = texts::Text(65198) + "Vordef\r\n\r\n" + texts::Text(65199);
    const Case cases[] = {
        {"a predefined copy is based on _ and its number",
         "Vordef",
         [](ScriptedUi& ui) { ui.answerInput("Kopie"); },
         {"Eigen=30", "Kopie=_31", "Vordef=VB"},
         {"_31.DB:Vordef", "_31.MB:Vordef"},
         {},
         {""}},
        {"an own copy on its number",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput("  Kopie "); },
         {"Eigen=30", "Kopie=31", "Vordef=VB"},
         {"31.DB:Eigen", "31.MB:Eigen"},
         {},
         {""}},
        {"onto itself: asked again, empty",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput("Eigen").answer(Button::Ok).answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {},
         {texts::Text(65197)},
         {"", ""}},
        {"onto another, No: asked again with that name",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput("Vordef").answer(Button::No).answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {},
         {exists},
         {"", "Vordef"}},
        {"onto another, Yes: it becomes the copy, its old files go",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput("Vordef").answer(Button::Yes); },
         {"Eigen=30", "Vordef=2"},
         {"2.DB:Eigen", "2.MB:Eigen"},
         {exists},
         {""},
         // The overwritten row keeps its number; make it known.
         [](Program& p) {
             p.list().FindKey("Vordef");
             ASSERT_EQ(p.list().FieldByName("TableName")->AsInteger(), 2);
         }},
        {"a name over 80 characters is refused",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput(QString(81, 'x')).answer(Button::Ok).answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {},
         {texts::Text(61508)},
         {"", QString(81, 'x')}},
        {"cancelled",
         "Eigen",
         [](ScriptedUi& ui) { ui.answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {},
         {},
         {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(
            {{.name = "Vordef", .eigene = false, .tableName = 2, .vorDef = "VB"}, {.name = "Eigen", .tableName = 30}});
        if (c.before)
            c.before(p);
        p.show();
        p.select(c.from);
        c.script(p.ui);
        QTest::mouseClick(p.m().btnKopierenNach, Qt::LeftButton);
        EXPECT_EQ(p.rows(), c.rows);
        QStringList expected = c.newFiles;
        for (const char* setting : {"30.DB:Eigen", "30.MB:Eigen", "VB.DB:Vordef", "VB.MB:Vordef"}) {
            if (!(QString(c.name).contains("Yes") && QString(setting).startsWith("VB")))
                expected << setting;
        }
        expected.sort();
        EXPECT_EQ(p.files(), expected);
        EXPECT_EQ(p.ui.messageTexts(), c.messages);
        QStringList boxTexts;
        for (const auto& input : p.ui.inputs()) {
            boxTexts << input.text;
            EXPECT_EQ(input.caption, texts::Text(65195));
            EXPECT_EQ(input.prompt, texts::Text(65196));
        }
        EXPECT_EQ(boxTexts, c.boxTexts);
        EXPECT_EQ(p.ui.pendingAnswers(), 0);
    }
}

TEST(SettingsManager, ACopyThatFailsLeavesNeitherRowNorFiles)
{
    struct Case {
        const char* name;
        std::function<void(Program&)> spoil;
        QStringList messages;
    };
    const Case cases[] = {
        {"the setting's files are gone",
         [](Program& p) { QFile::remove(p.folder() + "30.DB"); },
         {texts::Format(texts::Text(64979), {QString()})}},
        // The program folder cannot take the copy's second file: the first is taken back with the row.
        {"the folder refuses a file", [](Program& p) { QDir().mkpath(p.folder() + "31.MB"); }, {}},
        {"a stray file holds the new name",
         [](Program& p) { QFile(p.folder() + "31.X01").open(QIODevice::WriteOnly); },
         {texts::Format(texts::Text(61510), {"31"})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p({{.name = "Eigen", .tableName = 30}});
        c.spoil(p);
        const QStringList filesBefore = p.files();
        p.show();
        p.select("Eigen");
        if (QString(c.name) != "the setting's files are gone")
            p.ui.answerInput(QString("Kopie"));
        if (QString(c.name) == "the folder refuses a file")
            p.ui.answer(Button::Ok).answer(Button::Ok);
        else
            p.ui.answer(Button::Ok);
        QTest::mouseClick(p.m().btnKopierenNach, Qt::LeftButton);
        EXPECT_EQ(p.rows(), QStringList{"Eigen=30"});
        EXPECT_EQ(p.files(), filesBefore);
        const QStringList shown = p.ui.messageTexts();
        if (QString(c.name) == "the folder refuses a file") {
            ASSERT_EQ(shown.size(), 2);
            EXPECT_EQ(shown.back(), texts::Text(65168));
        } else if (QString(c.name) == "the setting's files are gone") {
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].startsWith(texts::Text(64979).section("%s", 0, 0))) << shown[0].toStdString();
            EXPECT_TRUE(shown[0].contains(p.folder() + "30.DB")) << shown[0].toStdString();
        } else {
            EXPECT_EQ(shown, c.messages);
        }
    }
}

TEST(SettingsManager, RenameRefusesClashesAndKeepsTheFiles)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedUi&)> script;
        QStringList rows;
        QStringList messages;
        QStringList boxTexts;
    };
    const Case cases[] = {
        {"a new name",
         [](ScriptedUi& ui) { ui.answerInput("Neuer Name"); },
         {"Neuer Name=30", "Vordef=VB"},
         {},
         {"Eigen"}},
        {"the same name changes nothing",
         [](ScriptedUi& ui) { ui.answerInput("Eigen"); },
         {"Eigen=30", "Vordef=VB"},
         {},
         {"Eigen"}},
        {"a name in use: asked again with it",
         [](ScriptedUi& ui) { ui.answerInput("Vordef").answer(Button::Ok).answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {texts::Format(texts::Text(65170), {"Vordef"})},
         {"Eigen", "Vordef"}},
        {"too long",
         [](ScriptedUi& ui) { ui.answerInput(QString(81, 'y')).answer(Button::Ok).answerInput(std::nullopt); },
         {"Eigen=30", "Vordef=VB"},
         {texts::Text(61508)},
         {"Eigen", QString(81, 'y')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(OwnAndPredefined);
        p.show();
        p.manager->setAnzeigeIndex(0);
        p.select("Eigen");
        c.script(p.ui);
        QTest::mouseClick(p.m().btnUmbenennen, Qt::LeftButton);
        EXPECT_EQ(p.rows(), c.rows);
        EXPECT_EQ(p.files(), (QStringList{"30.DB:Eigen", "30.MB:Eigen", "VB.DB:Vordef", "VB.MB:Vordef"}));
        EXPECT_EQ(p.ui.messageTexts(), c.messages);
        QStringList boxTexts;
        for (const auto& input : p.ui.inputs())
            boxTexts << input.text;
        EXPECT_EQ(boxTexts, c.boxTexts);
    }
}

// A VorDef.DB on a "disk" of the test's: rows as Stored describes them, files beside it holding "disk <name>".
QString WriteVorDef(const ShellFolders& folders, const std::vector<Stored>& rows,
                    db::FieldDefList fields = engine::ImpListFields())
{
    const QString disk = folders.path("disk/");
    QDir().mkpath(disk);
    db::paradox::create(disk + "VorDef.DB", fields, 1);
    db::Table table;
    table.setTableName(disk + "VorDef.DB");
    table.Open();
    for (const Stored& s : rows) {
        table.Append();
        table.FieldByName("Bezeichnung")->setAsString(s.name);
        table.FieldByName("Eigene")->setAsBoolean(s.eigene);
        if (s.tableName)
            table.FieldByName("TableName")->setAsInteger(s.tableName);
        table.FieldByName("VorDefTableName")->setAsString(s.vorDef);
        table.FieldByName("Importmodus")->setAsInteger(s.importmodus);
        table.Post();
        const QString base = s.eigene ? QString::number(s.tableName) : s.vorDef;
        if (s.files && engine::IsSafeBaseName(base)) {
            for (const char* extension : {".DB", ".MB"}) {
                QFile file(disk + base + extension);
                file.open(QIODevice::WriteOnly);
                file.write("disk " + s.name.toUtf8());
            }
        }
    }
    table.Close();
    return disk + "VorDef.DB";
}

TEST(SettingsManager, ReadingAVorDefTakesWhatIsSoundAndNotesTheRest)
{
    const QString cut = QString(80, 'n');
    struct Case {
        const char* name;
        std::vector<Stored> vorDef;
        QStringList rows;  // after the read; "Neu:" stands for the renamed name
        QStringList files;
        int notes;
        QString firstNote;  // its start
        std::function<void(Program&)> before = {};
    };
    const Case cases[] = {
        {"a predefined setting",
         {{.name = "Artikel", .eigene = false, .vorDef = "VA"}},
         {"Artikel=VA", "Eigen=30", "Vordef=VB"},
         {"VA.DB:disk Artikel", "VA.MB:disk Artikel"},
         0,
         ""},
        {"a clashing name is renamed",
         {{.name = "Vordef", .eigene = false, .vorDef = "VA"}},
         {"Eigen=30", "Neu:=VA", "Vordef=VB"},
         {"VA.DB:disk Vordef", "VA.MB:disk Vordef"},
         1,
         texts::Text(65007) + "Vordef" + texts::Text(64976) + texts::Text(64977) + texts::Text(65253) + ": "},
        {"a base name of another setting is not overwritten",
         {{.name = "Zweites", .eigene = false, .vorDef = "vb"}},
         {"Eigen=30", "Vordef=VB", "Zweites=_1"},
         {"_1.DB:disk Zweites", "_1.MB:disk Zweites"},
         0,
         ""},
        {"an own setting keeps a free number",
         {{.name = "Eigen 7", .tableName = 7}},
         {"Eigen 7=7", "Eigen=30", "Vordef=VB"},
         {"7.DB:disk Eigen 7", "7.MB:disk Eigen 7"},
         0,
         ""},
        {"an own setting whose number is taken gets the next",
         {{.name = "Dreissig", .tableName = 30}},
         {"Dreissig=32", "Eigen=30", "Vordef=VB"},
         {"32.DB:disk Dreissig", "32.MB:disk Dreissig"},
         0,
         ""},
        {"a path separator",
         {{.name = "Pfad", .eigene = false, .vorDef = "../VA"}},
         {"Eigen=30", "Vordef=VB"},
         {},
         1,
         texts::Format(texts::Text(61500), {"Pfad", "../VA"})},
        {"a wildcard",
         {{.name = "Stern", .eigene = false, .vorDef = "V*"}},
         {"Eigen=30", "Vordef=VB"},
         {},
         1,
         texts::Format(texts::Text(61500), {"Stern", "V*"})},
        {"a working table",
         {{.name = "Liste", .eigene = false, .vorDef = "ImpList"}},
         {"Eigen=30", "Vordef=VB"},
         {},
         1,
         texts::Format(texts::Text(61500), {"Liste", "ImpList"})},
        {"missing files",
         {{.name = "Ohne", .eigene = false, .vorDef = "VX", .files = false}},
         {"Eigen=30", "Vordef=VB"},
         {},
         1,
         texts::Format(texts::Text(61501), {"Ohne", "VX"})},
        // The program folder takes the first file and refuses the second: the first goes again with the row.
        {"the folder refuses a file",
         {{.name = "Voll", .eigene = false, .vorDef = "VA"}},
         {"Eigen=30", "Vordef=VB"},
         {},
         1,
         texts::Format(texts::Text(61505), {"Voll"}),
         [](Program& p) { QDir().mkpath(p.folder() + "VA.MB"); }},
        {"one bad row among good ones",
         {{.name = "A gut", .eigene = false, .vorDef = "VA"},
          {.name = "B schlecht", .eigene = false, .vorDef = ".."},
          {.name = "C gut", .eigene = false, .vorDef = "VC"}},
         {"A gut=VA", "C gut=VC", "Eigen=30", "Vordef=VB"},
         {"VA.DB:disk A gut", "VA.MB:disk A gut", "VC.DB:disk C gut", "VC.MB:disk C gut"},
         1,
         texts::Format(texts::Text(61500), {"B schlecht", ".."})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(OwnAndPredefined);
        if (c.before)
            c.before(p);
        const QStringList before = p.files();
        const QString vorDef = WriteVorDef(p.folders, c.vorDef);
        const QString diskBefore = QDir(p.folders.path("disk")).entryList(QDir::Files).join(',');
        p.show();
        p.ui.answerFile(vorDef);
        if (c.before)
            p.ui.answer(Button::Ok);  // the copy's own error box
        if (c.notes > 0)
            p.ui.answer(Button::No);
        QTest::mouseClick(p.m().btnVonDiskEinlesen, Qt::LeftButton);

        QStringList rows = p.rows();
        for (QString& row : rows)
            if (row.startsWith(texts::Text(65253) + ": "))
                row = "Neu:=" + row.section('=', 1);
        rows.sort();
        QStringList expectedRows = c.rows;
        expectedRows.sort();
        EXPECT_EQ(rows, expectedRows);
        QStringList files = before + c.files;
        files.sort();
        EXPECT_EQ(p.files(), files);
        // Nothing was written beside the VorDef.DB or above the program folder.
        EXPECT_EQ(QDir(p.folders.path("disk")).entryList(QDir::Files).join(','), diskBefore);
        EXPECT_FALSE(QFile::exists(p.folders.path("VA.DB")));
        const QString notes = p.program->frmCopyFehler()->Notes();
        EXPECT_EQ(notes.count("\r\n"), c.notes) << notes.toStdString();
        EXPECT_TRUE(c.firstNote.isEmpty() || notes.startsWith(c.firstNote)) << notes.toStdString();
        // A renamed setting is renamed on the disk too.
        db::Table onDisk;
        onDisk.setTableName(vorDef);
        onDisk.Open();
        const QString renamed = onDisk.FieldByName("Bezeichnung")->AsString();
        onDisk.Close();
        EXPECT_EQ(renamed.startsWith(texts::Text(65253) + ": "), rows.contains("Neu:=VA")) << renamed.toStdString();
        EXPECT_EQ(p.manager->AnzeigeIndex(), 1);
        EXPECT_EQ(p.ui.pendingAnswers(), 0);
    }
}

TEST(SettingsManager, AVorDefThatCannotBeReadChangesNothing)
{
    struct Case {
        const char* name;
        std::function<QString(Program&)> make;
        QString message;  // its start
    };
    const Case cases[] = {
        {"damaged", [](Program& p) { return p.folders.touch("disk/VorDef.DB", QByteArray(3000, '\x7f')); },
         texts::Text(61506).section("%s", 0, 0)},
        {"without the column Eigene",
         [](Program& p) {
             db::FieldDefList fields = engine::ImpListFields();
             std::erase_if(fields, [](const db::FieldDef& f) { return f.name == "Eigene"; });
             return WriteVorDef(p.folders, {}, fields);
         },
         texts::Text(61507).section("%s", 0, 0)},
        {"the program's own settings list", [](Program& p) { return p.folder() + "ImpList.DB"; }, texts::Text(64971)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(OwnAndPredefined);
        const QStringList rows = p.rows();
        const QStringList files = p.files();
        p.show();
        p.ui.answerFile(c.make(p)).answer(Button::Ok);
        QTest::mouseClick(p.m().btnVonDiskEinlesen, Qt::LeftButton);
        EXPECT_EQ(p.rows(), rows);
        EXPECT_EQ(p.files(), files);
        ASSERT_EQ(p.ui.messageTexts().size(), 1);
        EXPECT_TRUE(p.ui.messageTexts()[0].startsWith(c.message)) << p.ui.messageTexts()[0].toStdString();
    }
}

TEST(SettingsManager, ALongNameInAWideColumnIsCutAndRowsThatCannotBeReadAreNoted)
{
    Program p(OwnAndPredefined);
    db::FieldDefList fields = engine::ImpListFields();
    fields[0].size = 120;
    for (db::FieldDef& f : fields)
        if (f.name == "Importmodus")
            f = {"Importmodus", db::FieldType::ftString, 10};
    const QString longName = QString(100, 'L');
    const QString vorDef = WriteVorDef(p.folders, {{.name = longName, .eigene = false, .vorDef = "VL"}}, fields);
    {
        // A second row whose mode is no number.
        db::Table table;
        table.setTableName(vorDef);
        table.Open();
        table.Append();
        table.FieldByName("Bezeichnung")->setAsString("Kaputt");
        table.FieldByName("Eigene")->setAsBoolean(false);
        table.FieldByName("VorDefTableName")->setAsString("VK");
        table.FieldByName("Importmodus")->setAsString("abc");
        table.Post();
        table.Close();
    }
    p.show();
    p.ui.answerFile(vorDef).answer(Button::Yes);
    QTest::mouseClick(p.m().btnVonDiskEinlesen, Qt::LeftButton);
    QStringList rows = p.rows();
    EXPECT_TRUE(rows.contains(QString(80, 'L') + "=VL")) << rows.join(' ').toStdString();
    EXPECT_FALSE(rows.join(' ').contains("Kaputt"));
    const QString notes = p.program->frmCopyFehler()->Notes();
    EXPECT_TRUE(notes.contains(texts::Format(texts::Text(61503), {longName, QString(80, 'L')})));
    EXPECT_TRUE(notes.contains(texts::Text(65193) + texts::Format(texts::Text(65194), {"Kaputt"})));
    EXPECT_TRUE(p.program->frmCopyFehler()->isVisible());
}

TEST(SettingsManager, NotesNotLookedAtAppearWithTheNextReadUnderOneHeader)
{
    Program p(OwnAndPredefined);
    p.show();
    // First read: the clash is noted, the list not shown.
    p.ui.answerFile(WriteVorDef(p.folders, {{.name = "Vordef", .eigene = false, .vorDef = "VA"}})).answer(Button::No);
    QTest::mouseClick(p.m().btnVonDiskEinlesen, Qt::LeftButton);
    wizard::TfrmCopyFehler& list = *p.program->frmCopyFehler();
    EXPECT_FALSE(list.isVisible());
    // Second read of a list with a row whose files are missing: both notes are shown.
    QDir(p.folders.path("disk")).removeRecursively();
    p.ui.answerFile(WriteVorDef(p.folders, {{.name = "Ohne", .eigene = false, .vorDef = "VX", .files = false}}))
        .answer(Button::Yes);
    QTest::mouseClick(p.m().btnVonDiskEinlesen, Qt::LeftButton);
    EXPECT_EQ(p.ui.messageTexts().back(), texts::Text(64978));
    ASSERT_TRUE(list.isVisible());
    const QString shown = list.ui->Memo1->toPlainText();
    EXPECT_TRUE(shown.startsWith(texts::Text(65005) + "\n\n" + texts::Text(65007) + "Vordef")) << shown.toStdString();
    EXPECT_EQ(shown.count(texts::Text(65005)), 1);
    EXPECT_TRUE(shown.endsWith(texts::Format(texts::Text(61501), {"Ohne", "VX"}) + "\n")) << shown.toStdString();
    QTest::mouseClick(list.ui->btnSchliessen, Qt::LeftButton);
    EXPECT_TRUE(list.Notes().isEmpty());
    EXPECT_TRUE(list.ui->Memo1->toPlainText().isEmpty());
}

TEST(SettingsViewer, TheOptionLabelsCloseUpFromTheTop)
{
    struct Case {
        const char* name;
        Stored setting;
        QString base;
        std::vector<std::pair<QString, int>> shown;  // text and top of the visible option labels, top down
    };
    const QString mode3 = texts::Text(65215) + "\r\n" + texts::Text(65186);
    const Case cases[] = {
        {"both options",
         {.name = "A", .tableName = 5, .importmodus = 3, .sicherungskopie = true, .zielLeeren = true},
         "5",
         {{texts::Text(65213), 36}, {texts::Text(65214), 56}, {mode3, 76}}},
        {"no backup",
         {.name = "A", .tableName = 5, .importmodus = 3, .zielLeeren = true},
         "5",
         {{texts::Text(65214), 36}, {mode3, 56}}},
        {"neither", {.name = "A", .eigene = false, .vorDef = "VD", .importmodus = 3}, "VD", {{mode3, 36}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p({c.setting});
        wizard::TfrmEinstellANZ& viewer = *p.program->frmEinstellANZ();
        p.select("A");
        for (int round = 0; round < 2; ++round) {  // a second showing starts from the full layout again
            viewer.show();
            QApplication::processEvents();
            EXPECT_EQ(viewer.ui->lblBezeichnung->text(), "A");
            EXPECT_EQ(viewer.ui->dbtIntTab->text(), c.base);
            std::vector<std::pair<QString, int>> shown;
            for (QLabel* label : {viewer.ui->lblSicherungskopie, viewer.ui->lblZielLeeren, viewer.ui->lblImportmodus})
                if (label->isVisible())
                    shown.emplace_back(label->text(), label->y());
            EXPECT_EQ(shown, c.shown);
            QTest::mouseClick(viewer.ui->btnSchliessen, Qt::LeftButton);
            EXPECT_FALSE(viewer.isVisible());
        }
    }
}

// The road of a new user: the empty list offers to read settings, the Demos VorDef.DB is read, the manager starts
// one of its settings, whose mapping the engine loads for the wizard.
TEST(SettingsScenario, TheDemoSettingsAreReadAndOneIsStarted)
{
    Program p;
    const QString demos = p.folder() + "Demos/";
    QDir().mkpath(demos);
    for (const QString& name : QDir(IMPORT_PROGRAM_DIR "/Demos").entryList(QDir::Files))
        QFile::copy(IMPORT_PROGRAM_DIR "/Demos/" + name, demos + name);
    wizard::TfrmImport1& form = *p.form;
    p.ui.answerFile(demos + "VorDef.DB");
    QTest::mouseClick(form.ui->rbtImpEinlesen, Qt::LeftButton, {}, QPoint(8, form.ui->rbtImpEinlesen->height() / 2));
    QTest::mouseClick(form.ui->btnWeiter1, Qt::LeftButton);
    // Without removable media the dialog starts in Demos.
    if (!QFileInfo::exists("/media/" + qEnvironmentVariable("USER")) &&
        !QFileInfo::exists("/run/media/" + qEnvironmentVariable("USER"))) {
        EXPECT_EQ(p.ui.fileDialogs().at(0).initialDir, p.folder() + "Demos");
    }
    const QString kunden = "Beispiel: Kunden aus Textdatei";
    EXPECT_EQ(p.rows(), (QStringList{"Beispiel: Artikel aus dBase-Tabelle=Demo2", kunden + "=Demo1"}));
    EXPECT_TRUE(QFile::exists(p.folder() + "Demo1.DB") && QFile::exists(p.folder() + "Demo1.MB"));

    // The changing choice shows the manager; its start button hands the setting to the start page's Next, which
    // loads it into the pages.
    QTest::mouseClick(form.ui->rbtVorhEinst_mAE, Qt::LeftButton, {},
                      QPoint(8, form.ui->rbtVorhEinst_mAE->height() / 2));
    QTest::mouseClick(form.ui->btnDetails, Qt::LeftButton);
    ASSERT_TRUE(p.manager->isVisible());
    QTest::keyClick(p.m().DBMemo1, Qt::Key_F1);
    EXPECT_EQ(p.ui.helpContexts(), std::vector<int>{8});
    // The read left the view on the predefined settings.
    EXPECT_EQ(p.manager->AnzeigeIndex(), 1);
    p.select(kunden);
    EXPECT_EQ(p.m().lblImportmodus->text(), (texts::Text(65215) + "\r\n" + texts::Text(65185)));
    EXPECT_EQ(p.m().dbtIntTab->text(), "Demo1");
    QTest::mouseClick(p.m().btnImportStarten, Qt::LeftButton);
    EXPECT_FALSE(p.manager->isVisible());
    EXPECT_EQ(form.AktEinstellung, kunden);
    // The manager asks for the source anew unless its box is unticked.
    EXPECT_EQ(form.ui->PageControl1->currentWidget()->objectName(), "ImportSeite2");
    EXPECT_EQ(form.ui->edtAktEinstellung->text(), kunden);

    // The mapping loaded: every field of the customer target fed by the source field of its name.
    QStringList mapping;
    for (const engine::MappingRow& row : engine::ReadMapping(form.tblZStrukt))
        mapping << row.Index + row.Feldname + "<-" + row.Zuordnung;
    EXPECT_EQ(mapping,
              (QStringList{"XKundenNr<-KundenNr", "Name<-Name", "Vorname<-Vorname", "Strasse<-Strasse", "PLZ<-PLZ",
                           "Ort<-Ort", "Telefon<-Telefon", "Umsatz<-Umsatz", "KundeSeit<-KundeSeit"}));
    EXPECT_EQ(p.ui.pendingAnswers(), 0);
}

}  // namespace
