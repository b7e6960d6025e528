// The formula editor as the mapping page opens it: the real window of a started program, a mapping row in the
// program's own ZStrukt.DB and a source record of a table the test makes.
#include "ShellTestSupport.h"

#include "db/Field.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"
#include "support/FieldDefs.h"
#include "texts/Texts.h"
#include "ui_frmFormelEdt.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmImport1.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::Button;
using testsupport::def;

QString withoutCR(QString text)
{
    return text.remove(u'\r');
}

TEST(TfrmFormelEdt, PreviewsTheRowsFormulaOnTheSourceRecordAndReturnsToEditing)
{
    struct Case {
        const char* name;
        const char* column;  // the formula column the zoom button binds
        const char* formula;
        int typ;  // target field type code
        const char* laenge;
        const char* infoBox;   // the prepared expression shown first (numeric formulas), or nullptr
        const char* errorBox;  // a refusal instead of a preview, or nullptr
        QString preview;       // empty: no preview comes up
    };
    const QString cut = texts::Text(64980).replace(QStringLiteral("%d"), QStringLiteral("10"));
    const std::vector<Case> cases = {
        {"text cut at the field's length", "Formel_alph", "\"Firma \" + #Name", 1, "10", nullptr, nullptr,
         QStringLiteral("\"Firma Müll\"\n\n") + cut},
        {"text that fits", "Formel_alph", "#Name", 1, "40", nullptr, nullptr, QStringLiteral("\"Müller GmbH\"")},
        {"memo target takes the whole text", "Formel_alph", "\"Firma \" + #Name", 16, "10", nullptr, nullptr,
         QStringLiteral("\"Firma Müller GmbH\"")},
        {"formatted memo target too", "Formel_alph", "\"Firma \" + #Name", 18, "10", nullptr, nullptr,
         QStringLiteral("\"Firma Müller GmbH\"")},
        {"text formula naming no field gives no preview", "Formel_alph", "#Strasse", 1, "10", nullptr, "", {}},
        {"numeric formula", "Formel_num", "#Preis * 2", 6, "", "12.25*2", nullptr,
         texts::Text(65256) + QStringLiteral("\t12.25*2\n") + texts::Text(65257) + QStringLiteral("\t\t24,5")},
        {"numeric formula the parser refuses", "Formel_num", "#Preis *", 6, "", "12.25*", "", {}},
    };

    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    wizard::ProgramContext context = folders.context();
    wizard::ImportProgram program(context);
    ASSERT_TRUE(program.Start(0));
    wizard::TfrmImport1& main = *program.frmImport1();
    wizard::TfrmFormelEdt& editor = *program.frmFormelEdt();
    Ui::TfrmFormelEdt& w = *editor.ui;
    const rtl::FormatSettings saved = rtl::formatSettings();
    rtl::formatSettings().DecimalSeparator = u',';

    db::Table& source = main.tblQuelle;
    source.Close();
    source.setTableName(folders.path("Artikel.DB"));
    source.FieldDefs().assign({def("Name", db::FieldType::ftString, 30), def("Preis", db::FieldType::ftFloat)}, 0);
    source.CreateTable();
    source.Open();
    source.Append();
    source.Fields(0)->setAsString(QStringLiteral("Müller GmbH"));
    source.Fields(1)->setAsFloat(12.25);
    source.Post();

    db::Table& row = main.tblZStrukt;
    if (!row.Active()) {
        row.setTableName(folders.programFolder() + engine::ZStruktFileName);
        row.Open();
    }
    row.Append();
    row.FieldByName(QStringLiteral("Feldname"))->setAsString(QStringLiteral("FIRMA"));
    row.Post();

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        row.Edit();
        row.FieldByName(QStringLiteral("Typ"))->setAsInteger(c.typ);
        row.FieldByName(QStringLiteral("Laenge"))->setAsString(QLatin1String(c.laenge));
        row.FieldByName(QStringLiteral("Formel_alph"))->Clear();
        row.FieldByName(QStringLiteral("Formel_num"))->Clear();
        row.Post();
        editor.editFormula(QLatin1String(c.column));
        ASSERT_TRUE(editor.isVisible());
        EXPECT_FALSE(editor.isModal());
        // What is typed goes straight into the mapping row.
        QTest::keyClicks(w.memFormel, QString::fromUtf8(c.formula));
        EXPECT_EQ(row.FieldByName(QLatin1String(c.column))->AsString(), QString::fromUtf8(c.formula));

        if (c.infoBox)
            ui.answer(Button::Ok);
        if (c.errorBox)
            ui.answer(Button::Ok);
        ui.clearRecord();
        QTest::mouseClick(w.btnVorschau, Qt::LeftButton);
        const auto messages = ui.messages();
        ASSERT_EQ(messages.size(), std::size_t(c.infoBox ? 1 : 0) + (c.errorBox ? 1 : 0));
        if (c.infoBox) {
            EXPECT_EQ(messages[0].type, platform::MessageType::Information);
            EXPECT_EQ(messages[0].text, QLatin1String(c.infoBox));
        }
        if (c.errorBox) {
            EXPECT_EQ(messages.back().type, platform::MessageType::Error);
        }

        if (c.preview.isEmpty()) {
            // The editor stays as it was.
            EXPECT_TRUE(w.memFormel->isVisible());
            EXPECT_FALSE(w.memVorschau->isVisible());
            EXPECT_EQ(w.btnVorschau->text(), texts::Text(65254));
            EXPECT_EQ(editor.height(), 206);
            continue;
        }
        EXPECT_EQ(withoutCR(w.memVorschau->toPlainText()), c.preview);
        EXPECT_FALSE(w.memFormel->isVisible());
        EXPECT_TRUE(w.memVorschau->isVisible());
        EXPECT_FALSE(w.btnOK->isVisible());
        EXPECT_FALSE(w.btnLoeschen->isVisible());
        EXPECT_EQ(editor.windowTitle(), texts::Text(64981) + QStringLiteral(" \"FIRMA\""));
        EXPECT_EQ(w.btnVorschau->text(), texts::Text(65255));
        EXPECT_EQ(w.btnVorschau->geometry(), QRect(w.btnOK->x(), w.btnVorschau->y(), 130, w.btnVorschau->height()));
        EXPECT_EQ(editor.height(), 155);

        QTest::mouseClick(w.btnVorschau, Qt::LeftButton);
        EXPECT_TRUE(w.memFormel->isVisible());
        EXPECT_FALSE(w.memVorschau->isVisible());
        EXPECT_TRUE(w.btnOK->isVisible());
        EXPECT_EQ(editor.windowTitle(), texts::Text(65258));
        EXPECT_EQ(w.btnVorschau->text(), texts::Text(65254));
        EXPECT_EQ(w.btnVorschau->x(), 180);
        EXPECT_EQ(w.btnVorschau->width(), 75);
        EXPECT_EQ(editor.height(), 206);
        // The formula is in the row already: OK only closes.
        QTest::mouseClick(w.btnOK, Qt::LeftButton);
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(row.FieldByName(QLatin1String(c.column))->AsString(), QString::fromUtf8(c.formula));
    }
    ui.clearRecord();
    editor.editFormula(QStringLiteral("Formel_alph"));
    QTest::keyClick(w.memFormel, Qt::Key_F1);
    EXPECT_EQ(ui.helpContexts(), std::vector<int>{9});
    editor.close();
    rtl::formatSettings() = saved;
}

}  // namespace
