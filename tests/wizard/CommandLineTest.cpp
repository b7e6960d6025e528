// Every form of the command line, with the files it presets and the messages it shows.
#include "ShellTestSupport.h"

#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/frmImport1.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// Placeholders in the table: SRC and TGT are existing files, OWN the program's own mapping table, NO a missing
// file.
struct Case {
    const char* name;
    QStringList arguments;
    QString source;
    QString target;
    QStringList messages;  // with the placeholders filled in
};

const QString M1 = QStringLiteral("Die per Parameter übergebene Datei \"NO\" existiert leider nicht.");
const QString M2 = QStringLiteral("Die per Parameter übergebene Zieldatei \"NO\" existiert leider nicht.");
const QString M3 = QStringLiteral("Die per Parameter übergebene Quelldatei \"NO\" existiert leider nicht.");
const QString M4 = QStringLiteral("Die per Parameter übergebene Quelldatei\r\n\"NO\"\r\nexistiert leider nicht.");
const QString M4b = QStringLiteral("Die per Parameter übergebene Quelldatei\r\n\"NO\"\r\nexistiert leider nicht");
const QString M5 = QStringLiteral("Die per Parameter übergebene Zieldatei\r\n\"NO\"\r\nexistiert leider nicht.");
const QString M6 = QStringLiteral(
    "Die übergebenen Parameter können weder als Quelldatei\r\nnoch als Zieldatei verwendet werden");
const QString M7 = QStringLiteral("Die übergebenen Parameter sind ungültig.");
const QString M8 = QStringLiteral(
    "Die übergebenen Parameter sind ungültig.\r\n\r\nHinweis: Möglicherweise haben Sie\r\nzu viele Parameter eingegeben.");

TEST(CommandLine, EveryFormPresetsOrRefusesAsItShould)
{
    const Case cases[] = {
        {"language switch in lower case", {"/en"}, "", "", {}},
        {"language switch with a file", {"/EN", "SRC"}, "", "", {M6}},
        {"one file", {"SRC"}, "SRC", "", {}},
        {"one missing file", {"NO"}, "", "", {M1}},
        {"two files", {"SRC", "TGT"}, "SRC", "TGT", {}},
        {"/q and a file", {"/Q", "SRC"}, "SRC", "", {}},
        {"/q and a missing file", {"/q", "NO"}, "", "", {M1}},
        {"/z and a file", {"/z", "TGT"}, "", "TGT", {}},
        {"/z and a missing file", {"/Z", "NO"}, "", "", {M2}},
        {"another option", {"-q", "SRC"}, "", "", {M6}},
        {"! with target and source", {"!", "TGT", "SRC"}, "SRC", "TGT", {}},
        {"/! with a missing target", {"/!", "NO", "SRC"}, "", "", {M2}},
        {"! with a missing source", {"!", "TGT", "NO"}, "", "TGT", {M3}},
        {"three arguments of another form", {"SRC", "TGT", "SRC"}, "", "", {}},
        {"/q source /z target", {"/q", "SRC", "/z", "TGT"}, "SRC", "TGT", {}},
        {"/z target /q source", {"/z", "TGT", "/q", "SRC"}, "SRC", "TGT", {}},
        {"/q missing source", {"/q", "NO", "/z", "TGT"}, "", "", {M4}},
        {"/q source, missing target", {"/Q", "SRC", "/Z", "NO"}, "SRC", "", {M5}},
        {"/z both missing", {"/z", "NO", "/q", "NO"}, "", "", {M4b, M5}},
        {"four of another form", {"/q", "SRC", "/q", "TGT"}, "", "", {M7}},
        {"five arguments", {"/q", "SRC", "/z", "TGT", "x"}, "", "", {M8}},
        {"the program's own table as source", {"OWN"}, "", "", {texts::Text(64971)}},
        {"source and target the same file", {"SRC", "SRC"}, "SRC", "", {texts::Text(64972)}},
        {"compressed source declined", {"ZIP"}, "ZIP", "", {texts::Format(texts::Text(64970), {"daten.zip"})}},
    };
    ShellFolders folders;
    const QString src = folders.touch("daten/kunden.csv");
    const QString tgt = folders.touch("daten/KUNDEN.DB");
    const QString zip = folders.touch("daten/daten.zip");
    const QString own = folders.programFolder() + "ZStrukt.DB";
    auto fill = [&](QString s) {
        return s.replace("SRC", src).replace("TGT", tgt).replace("OWN", own).replace("ZIP", zip);
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments;
        for (const QString& a : c.arguments)
            arguments << fill(a);
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        for (qsizetype i = 0; i < c.messages.size(); ++i)
            ui.answer(c.messages[i] == fill(texts::Format(texts::Text(64970), {"daten.zip"})) ? platform::Button::Yes
                                                                                               : platform::Button::Ok);
        wizard::ProgramContext context = folders.context(arguments);
        wizard::TfrmImport1 form(context);
        form.ParameterAuswerten();
        EXPECT_TRUE(form.ui->rbtNeueImport->isChecked());
        EXPECT_EQ(form.ui->edtQuelle->text(), fill(c.source));
        EXPECT_EQ(form.ui->edtZiel->text(), fill(c.target));
        QStringList expected;
        for (const QString& m : c.messages)
            expected << fill(m);
        EXPECT_EQ(ui.messageTexts(), expected);
    }
}

}  // namespace
