// The shipped language modules against the program as it stands, and the switch on the command line.
#include "ShellTestSupport.h"

#include "wizard/frmGauge.h"
#include "platform/ErrorReportWindow.h"
#include "platform/HelpViewer.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/GridTitles.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"
#include "wizard/frmSplashScreen.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString Module(const QString& extension)
{
    return QStringLiteral(IMPORT_PROGRAM_DIR "/Import.") + extension;
}

// Every window text of every window, keyed.
std::vector<platform::WindowTextEntry> AllWindowTexts(wizard::ProgramContext& context)
{
    std::vector<platform::WindowTextEntry> all;
    {
        // The formula editor works on the main window's tables: the main window outlives it.
        wizard::TfrmImport1 main(context);
        wizard::TfrmFormelEdt editor(main);
        for (QWidget* window : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&editor)})
            for (auto& entry : platform::CollectWindowTexts(window))
                all.push_back(std::move(entry));
    }
    std::vector<std::unique_ptr<QWidget>> windows;
    windows.push_back(std::make_unique<wizard::TfrmSplashScreen>(context));
    windows.push_back(std::make_unique<wizard::TfrmInhaltAnz>());
    windows.push_back(std::make_unique<wizard::TfrmGauge>());
    windows.push_back(std::make_unique<wizard::TfrmEinstellAEND>());
    windows.push_back(std::make_unique<wizard::TfrmEinstellANZ>());
    windows.push_back(std::make_unique<wizard::TfrmCopyFehler>());
    windows.push_back(std::make_unique<wizard::TfrmQOptionen>());
    windows.push_back(std::make_unique<platform::ErrorReportWindow>());
    windows.push_back(std::make_unique<platform::HelpViewer>());
    for (const auto& window : windows)
        for (auto& entry : platform::CollectWindowTexts(window.get()))
            all.push_back(std::move(entry));
    // The grids' column titles are window texts too, though no control holds them.
    for (const wizard::GridTitle& title : wizard::GridTitles())
        all.push_back({QString::fromLatin1(title.key), QString::fromUtf8(title.german)});
    return all;
}

TEST(LanguageModules, BothModulesTranslateEveryProgramTextAndEveryWindowText)
{
    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    wizard::ProgramContext context = folders.context();
    const auto windowTexts = AllWindowTexts(context);
    ASSERT_GT(windowTexts.size(), 50u);
    for (const char* extension : {"EN", "CSY"}) {
        SCOPED_TRACE(extension);
        const auto module = platform::ResourceModule::fromFile(Module(extension));
        for (const texts::Entry& entry : texts::GermanTable())
            EXPECT_TRUE(module->text(QByteArray::number(entry.id))) << "program text " << entry.id;
        for (const auto& entry : windowTexts)
            EXPECT_TRUE(module->text(entry.key.toUtf8())) << entry.key.toStdString();
        // The placeholders survive the translation.
        for (const texts::Entry& entry : texts::GermanTable()) {
            const QString german = QString::fromUtf8(entry.text);
            const QString translated = module->text(QByteArray::number(entry.id)).value_or(german);
            EXPECT_EQ(german.count("%s"), translated.count("%s")) << entry.id;
            EXPECT_EQ(german.count("%d"), translated.count("%d")) << entry.id;
            // Line breaks stay CR LF through the Linguist tools, as the message boxes expect them.
            EXPECT_EQ(german.contains("\r\n"), translated.contains("\r\n")) << entry.id;
            EXPECT_FALSE(translated.contains(QRegularExpression("[^\r]\n"))) << entry.id;
        }
    }
}

TEST(LanguageModules, TheCommandLineSwitchesTheLanguageBeforeTheWindowsAreMade)
{
    struct Case {
        const char* name;
        QString argument;
        QByteArray moduleFile;  // what lies in the current folder as Import.EN; empty: nothing
        bool started;
        QString weiter;   // caption of btnWeiter1
        QString message;  // the one message shown
    };
    QFile shipped(Module("EN"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray english = shipped.readAll();
    const Case cases[] = {
        {"switch in mixed case", "/En", english, true, "&Next -->", ""},
        {"no module in the current folder", "/EN", "", true, "&Weiter -->", ""},
        {"a module cut in half ends the start", "/EN", english.left(english.size() / 2), false, "",
         "Error loading resource file \"Import.EN\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        const QString previous = QDir::currentPath();
        QDir().mkpath(folders.path("work"));
        QDir::setCurrent(folders.path("work"));
        if (!c.moduleFile.isEmpty())
            folders.touch("work/Import.EN", c.moduleFile);
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        if (!c.message.isEmpty())
            ui.answer(platform::Button::Ok);
        wizard::ProgramContext context = folders.context({c.argument});
        {
            wizard::ImportProgram program(context);
            EXPECT_EQ(program.Start(0), c.started);
            if (c.started)
                EXPECT_EQ(program.frmImport1()->ui->btnWeiter1->text(), c.weiter);
            else
                EXPECT_EQ(program.frmImport1(), nullptr);
        }
        EXPECT_EQ(ui.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        platform::LocUtilsInstance().ResetResourceLibrary();
        QDir::setCurrent(previous);
    }
}

}  // namespace
