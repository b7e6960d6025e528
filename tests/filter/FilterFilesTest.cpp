// Filter files: saving the rows, protecting a file, loading rows back, and what a damaged or foreign file gives.
#include "FilterTestSupport.h"

#include "DialogDriver.h"
#include "filter/FilterText.h"
#include "filter/frmFilterFileDialog.h"
#include "rtl/Conversions.h"
#include "support/FieldDefs.h"
#include "texts/Texts.h"
#include "ui_frmFilterDialog.h"
#include "ui_frmFilterFileDialog.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using platform::Button;
using namespace filter;

// Steps on the picker once it stands; they close it.
void OnPicker(std::function<void(TfrmFilterFileDialog&)> steps)
{
    dialogdriver::onNextModal([steps = std::move(steps)](QWidget* window) {
        auto* picker = qobject_cast<TfrmFilterFileDialog*>(window);
        if (!picker) {
            ADD_FAILURE() << "not the picker: " << window->metaObject()->className();
            return;
        }
        steps(*picker);
    });
}

void ClickItem(TfrmFilterFileDialog& picker, const QString& name)
{
    const auto found = picker.ui->lvTemplate->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QListWidget* list = picker.ui->lvTemplate;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

// Saves the dialog's rows under name (typed), with a description and the protection mark.
void SaveAs(TfrmFilterDialog& form, const QString& name, const QString& description = QString(), bool protect = false)
{
    OnPicker([=](TfrmFilterFileDialog& picker) {
        auto& w = *picker.ui;
        EXPECT_TRUE(w.edFileName->isVisible());
        EXPECT_TRUE(w.cbProtect->isVisible());
        EXPECT_FALSE(w.memoDescription->isReadOnly());
        TypeText(w.edFileName, name);
        w.memoDescription->setPlainText(description);
        if (protect)
            QTest::mouseClick(w.cbProtect, Qt::LeftButton);
        QTest::mouseClick(w.btnOk, Qt::LeftButton);
    });
    QTest::mouseClick(form.ui->btnFilterSave, Qt::LeftButton);
}

void Load(TfrmFilterDialog& form, const QString& name)
{
    OnPicker([=](TfrmFilterFileDialog& picker) {
        auto& w = *picker.ui;
        EXPECT_FALSE(w.edFileName->isVisible());
        EXPECT_FALSE(w.btnOk->isEnabled());
        ClickItem(picker, name);
        EXPECT_TRUE(w.btnOk->isEnabled());
        QTest::mouseClick(w.btnOk, Qt::LeftButton);
    });
    QTest::mouseClick(form.ui->btnFilterLoad, Qt::LeftButton);
}

QByteArray Bytes(const QString& path)
{
    return testsupport::fileBytes(path);
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Files : ::testing::Test {
    Customers customers;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    TDBFilterDialog dialog;
    QString today = rtl::DateToStr(QDate::currentDate());

    Files()
    {
        dialog.Dataset = &customers.table;
        dialog.FilterFolder = customers.folder();
    }
    QString file(const QString& name) const { return customers.folder() + name; }
};

TEST_F(Files, SavedRowsLoadBackAndASecondSaveKeepsTheCreationDate)
{
    QStringList built;
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        AddCondition(form, true, fName, cdEqual, QStringLiteral("O'Brien"));
        AddCondition(form, false, fOrt, cdEmpty, QString());
        AddCondition(form, false, fNr, cdBetween, QStringLiteral("2 4"));
        built = ShownRows(form);
        SaveAs(form, QStringLiteral("Kunden"), QStringLiteral("Erste Zeile\nZweite Zeile"));
        ClickCancel(form);
    }));
    ASSERT_TRUE(ui.messages().empty()) << ui.messageTexts().join(u'\n').toStdString();
    const QString expected = QStringLiteral(
                                 "[Main]\r\nCreate=%1\r\nDescription=Erste Zeile Zweite Zeile\r\n"
                                 "Protect=0\r\n\r\n[Filter]\r\n"
                                 "AndOr0=AND\r\nField0=Name\r\nCondition0=0\r\nValue0=O'Brien\r\n"
                                 "AndOr1=OR\r\nField1=Wohn Ort\r\nCondition1=6\r\nValue1=\r\n"
                                 "AndOr2=OR\r\nField2=Nr\r\nCondition2=9\r\nValue2=2 4\r\n")
                                 .arg(today);
    EXPECT_EQ(QString::fromLatin1(Bytes(file("Kunden.flt"))), expected);

    // Loaded into a dialog of its own, the rows come back; the picker shows the dates and the description.
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        AddCondition(form, true, fNr, cdEqual, QStringLiteral("1"));
        OnPicker([&](TfrmFilterFileDialog& picker) {
            ClickItem(picker, QStringLiteral("Kunden"));
            EXPECT_EQ(picker.ui->lblDescription->text(),
                      texts::Format(texts::Text(64998), {today}) + u'\n' + texts::Format(texts::Text(64999), {""}));
            EXPECT_EQ(picker.ui->memoDescription->toPlainText(), QStringLiteral("Erste Zeile Zweite Zeile"));
            QTest::mouseDClick(picker.ui->lvTemplate->viewport(), Qt::LeftButton, {},
                               picker.ui->lvTemplate->visualItemRect(picker.ui->lvTemplate->item(0)).center());
        });
        QTest::mouseClick(form.ui->btnFilterLoad, Qt::LeftButton);
        EXPECT_EQ(ShownRows(form), built);
        ClickOk(form);
    }));
    EXPECT_EQ(customers.table.Filter(),
              QStringLiteral("(Name = 'O''Brien') OR  ([Wohn Ort] IS NULL) OR  (Nr  >= 2) AND (Nr <= 4)"));

    // Saved again under the name chosen from the list: Modify comes, Create stays.
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        OnPicker([&](TfrmFilterFileDialog& picker) {
            ClickItem(picker, QStringLiteral("Kunden"));
            EXPECT_EQ(picker.ui->edFileName->text(), QStringLiteral("Kunden"));
            QTest::mouseClick(picker.ui->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(form.ui->btnFilterSave, Qt::LeftButton);
        ClickCancel(form);
    }));
    const QString again = QString::fromLatin1(Bytes(file("Kunden.flt")));
    // The picker took the description over from the file chosen.
    EXPECT_TRUE(again.startsWith(
        QStringLiteral("[Main]\r\nCreate=%1\r\nDescription=Erste Zeile Zweite Zeile\r\nProtect=0\r\nModify=%1\r\n")
            .arg(today)))
        << again.toStdString();
    EXPECT_TRUE(again.endsWith(expected.mid(expected.indexOf(QStringLiteral("[Filter]")))));
}

TEST_F(Files, AProtectedFileIsNeverOverwritten)
{
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        AddCondition(form, true, fNr, cdEqual, QStringLiteral("1"));
        SaveAs(form, QStringLiteral("Geschuetzt"), QStringLiteral("bleibt"), true);
        SaveAs(form, QStringLiteral("Schreibschutz"));
        ClickCancel(form);
    }));
    ASSERT_TRUE(ui.messages().empty());
    ASSERT_TRUE(QFile::exists(file("Schreibschutz.flt")));
    ASSERT_TRUE(QFile::exists(file("Geschuetzt.flt")));
    QFile::setPermissions(file("Schreibschutz.flt"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray protectedBytes = Bytes(file("Geschuetzt.flt"));
    const QByteArray readOnlyBytes = Bytes(file("Schreibschutz.flt"));

    ui.answer(Button::Ok).answer(Button::Ok);
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        AddCondition(form, true, fNr, cdEqual, QStringLiteral("2"));
        OnPicker([&](TfrmFilterFileDialog& picker) {
            const auto item = picker.ui->lvTemplate->findItems(QStringLiteral("Geschuetzt"), Qt::MatchExactly);
            ASSERT_EQ(item.size(), 1);
            EXPECT_EQ(item.first()->data(Qt::UserRole).toInt(), 1);  // the protected icon
            QTest::keyClicks(picker.ui->edFileName, QStringLiteral("Geschuetzt"));
            QTest::mouseClick(picker.ui->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(form.ui->btnFilterSave, Qt::LeftButton);
        SaveAs(form, QStringLiteral("Schreibschutz"));
        ClickCancel(form);
    }));
    ASSERT_EQ(ui.messages().size(), 2u) << ui.messageTexts().join(u'\n').toStdString();
    EXPECT_EQ(ui.messages()[0].text, texts::Text(65001));
    EXPECT_TRUE(ui.messages()[1].text.startsWith(texts::Text(61554).section(u'%', 0, 0)));
    EXPECT_EQ(Bytes(file("Geschuetzt.flt")), protectedBytes);
    EXPECT_EQ(Bytes(file("Schreibschutz.flt")), readOnlyBytes);
}

TEST_F(Files, NamesStayInTheFilterFolder)
{
    struct Case {
        const char* typed;
        const char* written;  // nullptr: refused with a message, the picker stays open
    };
    const Case cases[] = {{"abc.flt", "abc.flt.flt"}, {"../ausserhalb", nullptr},
                          {"a/b", nullptr},           {"..", nullptr},
                          {"a\\b", nullptr},          {"Leer zeichen", "Leer zeichen.flt"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ui.clearRecord();
        if (!c.written)
            ui.answer(Button::Ok);
        bool stayed = false;
        ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
            AddCondition(form, true, fNr, cdEqual, QStringLiteral("1"));
            OnPicker([&](TfrmFilterFileDialog& picker) {
                TypeText(picker.ui->edFileName, QString::fromUtf8(c.typed));
                QTest::mouseClick(picker.ui->btnOk, Qt::LeftButton);
                stayed = picker.isVisible();
                if (stayed)
                    QTest::mouseClick(picker.ui->btnCancel, Qt::LeftButton);
            });
            QTest::mouseClick(form.ui->btnFilterSave, Qt::LeftButton);
            ClickCancel(form);
        }));
        EXPECT_EQ(stayed, c.written == nullptr);
        EXPECT_EQ(ui.messages().size(), c.written ? 0u : 1u);
        if (c.written) {
            EXPECT_TRUE(QFile::exists(file(QString::fromUtf8(c.written))));
        }
    }
    EXPECT_FALSE(QFile::exists(customers.folder() + QStringLiteral("../ausserhalb.flt")));
    EXPECT_EQ(QDir(customers.folder()).entryList({"*.flt"}, QDir::Files).size(), 2);
}

TEST_F(Files, DamagedAndForeignFilesLoadAsFarAsTheyAreSound)
{
    const QByteArray good = "AndOr0=AND\r\nField0=Name\r\nCondition0=0\r\nValue0=Abel\r\n";
    QByteArray huge = "[Main]\r\nDescription=";
    huge += QByteArray(2 * 1024 * 1024, 'x');
    static constexpr char kBinary[] = "[Filter]\r\nAndOr0=AND\r\n\0\0\0\x01";
    const QByteArray binary(kBinary, sizeof kBinary - 1);
    struct Case {
        const char* name;
        QByteArray bytes;
        int message;       // 0: none
        QStringList rows;  // the Nr... field captions of the rows left
    };
    const std::vector<Case> cases = {
        {"sound",
         "[Main]\r\nProtect=0\r\n[Filter]\r\n" + good + "AndOr1=OR\r\nField1=4\r\nCondition1=x\r\nValue1=1\r\n",
         0,
         {"Name", "Kunde seit"}},
        {"an unknown field stops the load",
         "[Filter]\r\n" + good +
             "AndOr1=AND\r\nField1=Strasse\r\nCondition1=0\r\nValue1=x\r\n"
             "AndOr2=AND\r\nField2=Nr\r\nCondition2=0\r\nValue2=1\r\n",
         61556,
         {"Name"}},
        {"a field number beyond the fields",
         "[Filter]\r\n" + good + "AndOr1=AND\r\nField1=17\r\nCondition1=0\r\nValue1=x\r\n",
         61556,
         {"Name"}},
        {"a condition out of range",
         "[Filter]\r\n" + good + "AndOr1=AND\r\nField1=Nr\r\nCondition1=12\r\nValue1=1\r\n",
         61555,
         {"Name"}},
        {"an incomplete row", "[Filter]\r\n" + good + "AndOr1=AND\r\nField1=Nr\r\n", 61557, {"Name"}},
        {"a lone key at the end is left over", "[Filter]\r\n" + good + "AndOr1=AND\r\n", 0, {"Name"}},
        {"no INI text", "Das ist ein Brief.\r\nMit freundlichen Grüßen\r\n", 61551, {"Nr"}},
        {"a binary file", binary, 61551, {"Nr"}},
        {"a huge file", huge, 61552, {"Nr"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& old : QDir(customers.folder()).entryList({"*.flt"}, QDir::Files))
            QFile::remove(file(old));
        Write(file(QStringLiteral("Probe.flt")), c.bytes);
        ui.clearRecord();
        if (c.message)
            ui.answer(Button::Ok);
        QStringList fields;
        ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
            AddCondition(form, true, fNr, cdEqual, QStringLiteral("1"));
            Load(form, QStringLiteral("Probe"));
            for (const QString& row : ShownRows(form))
                fields << row.section(u'|', 1, 1);
            ClickCancel(form);
        }));
        ASSERT_EQ(ui.messages().size(), c.message ? 1u : 0u) << ui.messageTexts().join(u'\n').toStdString();
        if (c.message) {
            EXPECT_TRUE(ui.messages()[0].text.startsWith(texts::Text(c.message).section(u'%', 0, 0)))
                << ui.messages()[0].text.toStdString();
        }
        EXPECT_EQ(fields, c.rows);
    }
}

}  // namespace
