// The program's life as a user sees it: first start, what the preferences bring back, and what the end leaves in
// the program folder and the preferences.
#include "ShellTestSupport.h"

#include "db/Field.h"
#include "db/Table.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmImport1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using platform::ScriptedUi;
using wizard::ImportProgram;

QString CheckedChoice(const Ui::TfrmImport1& ui)
{
    for (QRadioButton* r : {ui.rbtNeueImport, ui.rbtVorhEinst_oAE, ui.rbtVorhEinst_mAE, ui.rbtImpEinlesen})
        if (r->isChecked())
            return r->objectName();
    return QString();
}

TEST(ProgramShell, StartAndEndLeaveTempAndTheWorkingTablesEmptyAndThePreferencesWritten)
{
    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    // What an earlier session left behind: staging files, a copy of the mapping, a folder of the user's.
    folders.touch("program/Temp/ZSP.db");
    folders.touch("program/Temp/tmp.MB");
    folders.touch("program/Temp/README");
    QDir().mkpath(folders.path("program/Temp/keep"));
    {
        db::Table mapping;
        mapping.setTableName(folders.programFolder() + "ZStrukt.DB");
        mapping.Open();
        mapping.Append();
        mapping.FieldByName("Feldname")->setAsString("KUNDNR");
        mapping.Post();
        mapping.Close();
    }

    wizard::ProgramContext context = folders.context();
    {
        ImportProgram program(context);
        ASSERT_TRUE(program.Start(0));
        const Ui::TfrmImport1& form = *program.frmImport1()->ui;
        // First start: nothing remembered and no stored setting.
        EXPECT_EQ(CheckedChoice(form), "rbtNeueImport");
        EXPECT_FALSE(form.rbtImpEinlesen->isHidden());
        EXPECT_TRUE(form.rbtVorhEinst_oAE->isHidden());
        EXPECT_TRUE(form.rbtVorhEinst_mAE->isHidden());
        EXPECT_EQ(program.frmImport1()->windowTitle(), "Velmora Import 1.2");
        EXPECT_EQ(form.PageControl1->currentWidget(), form.ImportSeite1);
        EXPECT_EQ(folders.stored("Registrierung/Version"), "1.2");
        EXPECT_EQ(QDir::fromNativeSeparators(folders.stored("Registrierung/Installation")), context.programFile);
        EXPECT_EQ(context.helpFile, folders.programFolder() + "Import.HLP");
        form.edtQuelle->setText("/daten/kunden.csv");
        form.edtZiel->setText("/daten/KUNDEN.DB");
    }
    EXPECT_TRUE(ui.messageTexts().isEmpty()) << ui.messageTexts().join(" | ").toStdString();
    EXPECT_EQ(QDir(folders.path("program/Temp")).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(QFileInfo(folders.path("program/Temp/keep")).isDir());
    EXPECT_EQ(RowCount(folders.programFolder() + "ZStrukt.DB"), 0);
    EXPECT_EQ(RowCount(folders.programFolder() + "QStrukt.DB"), 0);
    EXPECT_EQ(folders.stored("ImportMain/rbtNeueImport"), "1");
    EXPECT_EQ(folders.stored("ImportMain/rbtVorhEinst_mAE"), "0");
    EXPECT_EQ(folders.stored("ImportMain/edtQuelle"), "/daten/kunden.csv");

    // The next start brings source and target back (no command line). The same program writes the same values,
    // so its start leaves the file as it is (a rewritten file loses the remark).
    QFile preferences(folders.settingsFile());
    ASSERT_TRUE(preferences.open(QIODevice::Append));
    preferences.write("; von Hand\n");
    preferences.close();
    {
        ImportProgram program(context);
        ASSERT_TRUE(program.Start(0));
        EXPECT_EQ(program.frmImport1()->ui->edtQuelle->text(), "/daten/kunden.csv");
        EXPECT_EQ(program.frmImport1()->ui->edtZiel->text(), "/daten/KUNDEN.DB");
        ASSERT_TRUE(preferences.open(QIODevice::ReadOnly));
        EXPECT_TRUE(preferences.readAll().contains("; von Hand"));
        preferences.close();
    }
}

TEST(ProgramShell, TheStartPageChoiceFollowsThePreferencesAndTheSettingsList)
{
    struct Case {
        const char* name;
        QStringList settings;  // rows of the settings list
        QStringList preferences;  // key=value under ImportMain
        QStringList arguments;
        QString checked;
        QString current;
        QString source;
    };
    const Case cases[] = {
        {"remembered choice without change becomes the change choice", {"Kunden", "Artikel"},
         {"rbtVorhEinst_oAE=1", "edtAktEinstellung=Kunden", "edtQuelle=/a.csv"}, {}, "rbtVorhEinst_mAE", "Kunden",
         "/a.csv"},
        {"remembered setting deleted meanwhile", {"Artikel"},
         {"rbtVorhEinst_mAE=1", "edtAktEinstellung=Kunden"}, {}, "rbtNeueImport", "", ""},
        {"garbage values read as false and empty", {"Kunden"},
         {"rbtNeueImport=ja", "rbtVorhEinst_oAE=", "rbtVorhEinst_mAE=0x1"}, {}, "rbtNeueImport", "", ""},
        {"a comma in a remembered file name", {}, {"edtQuelle=/daten/a,b.csv"}, {}, "rbtNeueImport", "",
         "/daten/a,b.csv"},
        {"command line: remembered source not used", {"Kunden"},
         {"edtAktEinstellung=Kunden", "edtQuelle=/a.csv"}, {"/EN"}, "rbtVorhEinst_mAE", "Kunden", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        for (const QString& name : c.settings)
            AddSetting(folders.programFolder(), name);
        QDir().mkpath(folders.configFolder() + "/Velmora");
        QFile file(folders.settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[1.0]\n");
        for (const QString& line : c.preferences)
            file.write(("ImportMain\\" + line + "\n").toUtf8());
        file.write("[Fremd]\nWert=bleibt\n");
        file.close();

        ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        wizard::ProgramContext context = folders.context(c.arguments);
        {
            ImportProgram program(context);
            ASSERT_TRUE(program.Start(0));
            const wizard::TfrmImport1& form = *program.frmImport1();
            EXPECT_EQ(CheckedChoice(*form.ui), c.checked);
            EXPECT_EQ(form.AktEinstellung, c.current);
            EXPECT_EQ(form.ui->edtAktEinstellung->text(), c.current);
            EXPECT_EQ(form.ui->edtQuelle->text(), c.source);
        }
        // What the program does not know stays in the file.
        QSettings after(folders.settingsFile(), QSettings::IniFormat);
        EXPECT_EQ(after.value("Fremd/Wert").toString(), "bleibt");
    }
}

TEST(ProgramShell, FaultsAroundTheProgramFolderAndThePreferencesGiveAClearMessage)
{
    ShellFolders folders;
    // Temp is a file: the end deletes nothing of it and goes on.
    folders.touch("program/Temp", "not a folder");
    // The configuration folder cannot be made: its parent is a file.
    folders.touch("config-file");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folders.path("config-file/sub"));

    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(platform::Button::Ok);
    wizard::ProgramContext context = folders.context();
    {
        ImportProgram program(context);
        ASSERT_TRUE(program.Start(0));
    }
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Warning);
    EXPECT_TRUE(ui.messages()[0].text.contains("konnte nicht angelegt werden")) << ui.messages()[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(folders.path("program/Temp")).isFile());
}

TEST(ProgramShell, CancelAsksAndEndsTheProgramOnlyOnYes)
{
    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(platform::Button::No).answer(platform::Button::Yes);
    wizard::ProgramContext context = folders.context();
    ImportProgram program(context);
    ASSERT_TRUE(program.Start(0));
    wizard::TfrmImport1& form = *program.frmImport1();
    form.ui->btnAbbrechen1->click();
    EXPECT_TRUE(form.isVisible());
    form.ui->btnAbbrechen1->click();
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].text, texts::Text(64944));
    EXPECT_EQ(ui.messages()[0].caption, "Velmora Import");
    EXPECT_EQ(ui.messages()[0].buttons, platform::Buttons::YesNo);
}

TEST(ProgramShell, HelpOpensTheTopicOfTheActivePage)
{
    ShellFolders folders;
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    wizard::ProgramContext context = folders.context();
    ImportProgram program(context);
    ASSERT_TRUE(program.Start(0));
    wizard::TfrmImport1& form = *program.frmImport1();
    form.ui->btnHilfe1->click();
    form.ui->PageControl1->setCurrentWidget(form.ui->ImportSeite1txt);
    form.ui->tpcTXT->setCurrentWidget(form.ui->TXTFix);
    form.FormKeyDown(Qt::Key_F1);
    form.ui->btnHilfe5->click();
    EXPECT_EQ(ui.helpContexts(), (std::vector<int>{1, 12, 5}));
}

}  // namespace
