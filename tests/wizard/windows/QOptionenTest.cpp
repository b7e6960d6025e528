#include "wizard/frmQOptionen.h"

#include "ui_frmQOptionen.h"

#include "db/Table.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/ScriptedUi.h"
#include "rtl/Conversions.h"
#include "rtl/FormatSettings.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include "wizard/text/TextFileView.h"
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An access key clicks its button the way Qt shows a click: pressed now, released a moment later.
void pressAccessKey(QWidget* window, Qt::Key key)
{
    QTest::keyClick(window, key, Qt::AltModifier);
    QTest::qWait(150);
}

// The wizard's text layout sheet showing a DOS file, and the choice of a stored setting.
struct Wizard {
    Wizard()
    {
        ImportSeite1txt->setObjectName(QStringLiteral("ImportSeite1txt"));
        PageControl1.addWidget(new QWidget);
        PageControl1.addWidget(ImportSeite1txt);
        tpcTXT->addWidget(TXTDatensatzlaenge);
        tpcTXT->addWidget(new QWidget);
        PageControl1.setCurrentWidget(ImportSeite1txt);
        btnQOptionen1.setEnabled(false);
        btnQOptionen2.setEnabled(false);
        links.rbtVorhEinst_mAE = &rbtVorhEinst_mAE;
        links.tblImpList = &tblImpList;
        links.edtQuelle = &edtQuelle;
        links.PageControl1 = &PageControl1;
        links.ImportSeite1txt = ImportSeite1txt;
        links.tpcTXT = tpcTXT;
        links.TXTDatensatzlaenge = TXTDatensatzlaenge;
        links.retQuellDat = retQuellDat;
        links.btnQOptionen1 = &btnQOptionen1;
        links.btnQOptionen2 = &btnQOptionen2;
    }

    QRadioButton rbtVorhEinst_mAE;
    db::Table tblImpList;
    QLineEdit edtQuelle;
    QStackedWidget PageControl1;
    QWidget* ImportSeite1txt = new QWidget;
    QStackedWidget* tpcTXT = new QStackedWidget(ImportSeite1txt);
    QWidget* TXTDatensatzlaenge = new QWidget;
    wizard::TextFileView* retQuellDat = new wizard::TextFileView(TXTDatensatzlaenge);
    QPushButton btnQOptionen1, btnQOptionen2;
    wizard::QOptionenWizard links;
};

TEST(TfrmQOptionen, AppliesSeparatorsDateOrderAndDosConversionOnClosing)
{
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    rtl::FormatSettingsGuard formats;
    rtl::formatSettings() = rtl::FormatSettings{};
    rtl::formatSettings().ShortDateFormat = QStringLiteral("D/M/YY");
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("kunden.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("M\x81ller;K\x94ln\r\n");  // "Müller;Köln" in code page 850
    }
    Wizard w;
    w.edtQuelle.setText(file);
    const QString asRead = engine::ReadTextFile(file);
    w.retQuellDat->setPlainText(asRead);

    wizard::TfrmQOptionen dialog;
    dialog.setWizard(w.links);
    dialog.show();
    // Access keys reach the active window only.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto& c = *dialog.ui;
    EXPECT_EQ(c.edtDecimal->text(), ".");
    EXPECT_EQ(c.edtTausend->text(), ",");
    EXPECT_EQ(c.edtDate->text(), "/");
    // A short date format that is none of the six becomes day, month, year.
    EXPECT_EQ(c.comTMJ->currentText(), "TT/MM/JJJJ");
    EXPECT_EQ(rtl::formatSettings().ShortDateFormat, "DD/MM/YYYY");

    // F1 anywhere opens the dialog's help.
    c.edtTime->setFocus();
    QTest::keyClick(c.edtTime, Qt::Key_F1);
    EXPECT_EQ(ui.helpContexts(), std::vector<int>{10});

    // The person's changes: comma as decimal separator, no thousands separator typed (the old one stays), "-"
    // between year, month and day, and the DOS conversion.
    c.edtDecimal->setFocus();
    c.edtDecimal->selectAll();
    QTest::keyClicks(c.edtDecimal, ",");
    c.edtTausend->clear();
    c.edtDate->selectAll();
    QTest::keyClicks(c.edtDate, "-");
    c.comTMJ->setCurrentText(QStringLiteral("JJJJ/MM/TT"));
    c.cbxDosToWin->setFocus();
    QTest::keyClick(c.cbxDosToWin, Qt::Key_Space);
    ASSERT_TRUE(c.cbxDosToWin->isChecked());
    pressAccessKey(&dialog, Qt::Key_O);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(w.retQuellDat->toPlainText(), QString::fromUtf8("Müller;Köln"));
    EXPECT_EQ(rtl::formatSettings().DecimalSeparator, u',');
    EXPECT_EQ(rtl::formatSettings().ThousandSeparator, u',');
    EXPECT_EQ(rtl::formatSettings().DateSeparator, u'-');
    EXPECT_EQ(rtl::formatSettings().ShortDateFormat, "YYYY/MM/DD");
    EXPECT_EQ(rtl::StrToDate(QStringLiteral("2001-12-31")), QDate(2001, 12, 31));
    EXPECT_TRUE(w.btnQOptionen1.isEnabled() && w.btnQOptionen2.isEnabled());

    // Unticking reads the file again; closing by Escape applies as well.
    dialog.show();
    EXPECT_EQ(c.edtDecimal->text(), ",");
    QTest::keyClick(c.cbxDosToWin, Qt::Key_Space);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(w.retQuellDat->toPlainText(), asRead);

    // Opening and closing without a change leaves the text alone (no second conversion).
    w.retQuellDat->setPlainText(QStringLiteral("unverändert"));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(w.retQuellDat->toPlainText(), "unverändert");
    EXPECT_TRUE(ui.failures().isEmpty());
}

TEST(TfrmQOptionen, ChangingAStoredSettingShowsItsValuesAndMendsAnUnknownDateOrder)
{
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    rtl::FormatSettingsGuard formats;
    QTemporaryDir dir;
    Wizard w;
    w.tblImpList.setTableName(QDir(dir.path()).filePath(engine::ImpListFileName));
    w.tblImpList.FieldDefs().assign(engine::ImpListFields(), engine::ImpListKeyFieldCount);
    w.tblImpList.CreateTable();
    w.tblImpList.Open();
    w.tblImpList.Append();
    w.tblImpList.FieldByName("Bezeichnung")->setAsString(QStringLiteral("Kunden"));
    w.tblImpList.FieldByName("Decimal")->setAsString(QStringLiteral(","));
    w.tblImpList.FieldByName("Tausend")->setAsString(QStringLiteral("'"));
    w.tblImpList.FieldByName("Zeit")->setAsString(QStringLiteral("."));
    w.tblImpList.FieldByName("Datum")->setAsString(QStringLiteral("."));
    w.tblImpList.FieldByName("TMJ")->setAsString(QStringLiteral("D.M.YY"));
    w.tblImpList.Post();
    w.rbtVorhEinst_mAE.setChecked(true);

    wizard::TfrmQOptionen dialog;
    dialog.setWizard(w.links);
    dialog.show();
    auto& c = *dialog.ui;
    EXPECT_EQ(c.edtDecimal->text(), ",");
    EXPECT_EQ(c.edtTausend->text(), "'");
    EXPECT_EQ(c.edtTime->text(), ".");
    EXPECT_EQ(c.edtDate->text(), ".");
    EXPECT_EQ(c.comTMJ->currentText(), "TT/MM/JJJJ");
    // The row is mended in edit state; saving the setting stores it.
    EXPECT_EQ(w.tblImpList.State(), db::dsEdit);
    EXPECT_EQ(w.tblImpList.FieldByName("TMJ")->AsString(), "DD/MM/YYYY");
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(rtl::formatSettings().ThousandSeparator, u'\'');
    EXPECT_EQ(rtl::formatSettings().ShortDateFormat, "DD/MM/YYYY");

    // A language module's texts of the date list change nothing of what the entries mean.
    c.comTMJ->setItemText(1, QStringLiteral("MM/DD/YYYY"));
    w.rbtVorhEinst_mAE.setChecked(false);
    dialog.show();
    c.comTMJ->setCurrentIndex(1);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(rtl::formatSettings().ShortDateFormat, "MM/DD/YYYY");
}

}  // namespace
