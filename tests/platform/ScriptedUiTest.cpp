#include "platform/ScriptedUi.h"

#include "DialogDriver.h"

#include <gtest/gtest.h>

namespace {

using platform::Button;
using platform::Buttons;
using platform::MessageType;
using platform::ScriptedUi;

TEST(ScriptedUi, AnswersInOrderAndRecordsWhatWasShown)
{
    QStringList failures;
    ScriptedUi ui([&](const QString& m) { failures += m; });
    platform::ScopedUserInterface installed(ui);
    ui.answer(Button::Yes).answerFile(QStringLiteral("/daten/KUNDEN.DB")).answerInput(QStringLiteral("Neu 1"))
        .answer(Button::Ok);

    EXPECT_EQ(platform::MessageBox(MessageType::Confirmation, QStringLiteral("Frage?"), Buttons::YesNo), Button::Yes);
    platform::FileDialogRequest open;
    open.title = QStringLiteral("Quelldatei auswählen");
    open.filter = QStringLiteral("Paradox (*.db)|*.db");
    open.options = platform::FileMustExist | platform::PathMustExist;
    EXPECT_EQ(platform::OpenFileDialog(open), QStringLiteral("/daten/KUNDEN.DB"));
    EXPECT_EQ(platform::InputBox(QStringLiteral("Import umbenennen"), QStringLiteral("Neue Bezeichnung"),
                                 QStringLiteral("Alt")),
              std::optional<QString>(QStringLiteral("Neu 1")));
    platform::Beep();
    EXPECT_EQ(platform::MessageBox({MessageType::Error, QStringLiteral("Fehlt"), QStringLiteral("Titel"),
                                    Buttons::OkHelp, 17}),
              Button::Ok);
    platform::ShowHelp(16);
    ui.setUrlsOpen(false);
    EXPECT_FALSE(platform::OpenUrl(QStringLiteral("mailto:info@example.org")));

    using Kind = ScriptedUi::Kind;
    std::vector<Kind> kinds;
    for (const ScriptedUi::Event& e : ui.events())
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Message, Kind::OpenFile, Kind::Input, Kind::Beep, Kind::Message,
                                        Kind::Help, Kind::Url}));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0].type, MessageType::Confirmation);
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.messages()[1].caption, QStringLiteral("Titel"));
    EXPECT_EQ(ui.messages()[1].helpContext, 17);
    EXPECT_EQ(ui.messageTexts(), QStringList({QStringLiteral("Frage?"), QStringLiteral("Fehlt")}));
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].title, open.title);
    EXPECT_EQ(ui.fileDialogs()[0].filter, open.filter);
    EXPECT_EQ(ui.fileDialogs()[0].options, open.options);
    ASSERT_EQ(ui.inputs().size(), 1u);
    EXPECT_EQ(ui.inputs()[0].prompt, QStringLiteral("Neue Bezeichnung"));
    EXPECT_EQ(ui.inputs()[0].text, QStringLiteral("Alt"));
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(ui.helpContexts(), std::vector<int>{16});
    EXPECT_EQ(ui.openedUrls(), QStringList{QStringLiteral("mailto:info@example.org")});
    EXPECT_EQ(ui.pendingAnswers(), 0);
    EXPECT_TRUE(failures.isEmpty());
}

TEST(ScriptedUi, CancelAnswers)
{
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answerFile(QString()).answerInput(std::nullopt);
    EXPECT_TRUE(platform::SaveFileDialog({}).isEmpty());
    EXPECT_EQ(platform::InputBox(QStringLiteral("c"), QStringLiteral("p")), std::nullopt);
    EXPECT_EQ(ui.events().at(0).kind, ScriptedUi::Kind::SaveFile);
}

TEST(ScriptedUi, AnUnexpectedDialogFailsAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedUi&)> script;
        std::function<void()> raise;
        const char* failureMentions;
    };
    const Case cases[] = {
        {"nothing scripted", [](ScriptedUi&) {},
         [] { platform::MessageBox(MessageType::Error, QStringLiteral("Kaputt")); }, "unscripted message box"},
        {"script exhausted", [](ScriptedUi& ui) { ui.answer(Button::Ok); },
         [] {
             platform::ShowMessage(QStringLiteral("eins"));
             platform::ShowMessage(QStringLiteral("zwei"));
         },
         "\"zwei\""},
        {"answer for another kind", [](ScriptedUi& ui) { ui.answerFile(QStringLiteral("x")); },
         [] { platform::MessageBox(MessageType::Warning, QStringLiteral("W")); }, "another kind"},
        {"button the box lacks", [](ScriptedUi& ui) { ui.answer(Button::Yes); },
         [] { platform::MessageBox(MessageType::Information, QStringLiteral("Nur OK")); }, "does not offer"},
        {"yes to all only where offered", [](ScriptedUi& ui) { ui.answer(Button::YesToAll); },
         [] { platform::MessageBox(MessageType::Error, QStringLiteral("Zeile"), Buttons::YesNoCancel); },
         "does not offer"},
        {"input box unscripted", [](ScriptedUi&) {},
         [] { platform::InputBox(QStringLiteral("Importeinstellung kopieren nach"), QString()); },
         "Importeinstellung kopieren nach"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList failures;
        ScriptedUi ui([&](const QString& m) { failures += m; });
        platform::ScopedUserInterface installed(ui);
        c.script(ui);
        EXPECT_THROW(c.raise(), platform::UnscriptedDialog);
        ASSERT_EQ(failures.size(), 1);
        EXPECT_TRUE(failures[0].contains(QString::fromUtf8(c.failureMentions))) << failures[0].toStdString();
        EXPECT_EQ(ui.failures(), failures);
    }
}

TEST(ScriptedUi, UnusedAnswersAreReportedAndTheDefaultHandlerIsUsed)
{
    QStringList seen;
    ScriptedUi::setDefaultFailureHandler([&](const QString& m) { seen += m; });
    {
        ScriptedUi ui;
        ui.answer(Button::No).answerInput(QStringLiteral("x"));
    }
    ScriptedUi::setDefaultFailureHandler({});
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains(QLatin1String("2 scripted answer(s)")));
}

TEST(UserInterface, WithoutAnInstalledInterfaceNothingWaits)
{
    ASSERT_EQ(platform::userInterface(), nullptr);
    EXPECT_THROW(platform::MessageBox(MessageType::Error, QStringLiteral("x")), platform::NoUserInterface);
    EXPECT_THROW(platform::OpenFileDialog({}), platform::NoUserInterface);
    EXPECT_THROW(platform::Beep(), platform::NoUserInterface);
}

TEST(UserInterface, ButtonSetsAndWhatEscapeAnswers)
{
    struct Case {
        Buttons set;
        std::vector<Button> buttons;
        Button escape;
    };
    const Case cases[] = {
        {Buttons::Ok, {Button::Ok}, Button::Ok},
        {Buttons::OkCancel, {Button::Ok, Button::Cancel}, Button::Cancel},
        {Buttons::YesNo, {Button::Yes, Button::No}, Button::No},
        {Buttons::YesNoCancel, {Button::Yes, Button::No, Button::Cancel}, Button::Cancel},
        {Buttons::YesNoCancelYesToAll, {Button::Yes, Button::No, Button::Cancel, Button::YesToAll}, Button::Cancel},
        {Buttons::OkHelp, {Button::Ok}, Button::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.set));
        EXPECT_EQ(platform::buttonsOf(c.set), c.buttons);
        EXPECT_EQ(platform::escapeButton(c.set), c.escape);
        EXPECT_EQ(platform::hasHelpButton(c.set), c.set == Buttons::OkHelp);
    }
}

}  // namespace
