// The program's own viewer on an Access table: a filter made there holds for the copy the run reads, and a
// source chosen afresh starts unfiltered.
#include "FilterTestSupport.h"
#include "ShellTestSupport.h"

#include "DialogDriver.h"
#include "filter/FilterText.h"
#include "platform/StatusBar.h"
#include "ui_frmFilterDialog.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace filter;

QString CopyFixture(const QString& relative, const QString& folder)
{
    return CopyTableFiles(QStringLiteral(IMPORT_FIXTURES_DIR "/") + relative, folder);
}

TEST(ViewerFilter, AFilterOnTheAccessTableHoldsForItsCopyAndANewSourceStartsUnfiltered)
{
    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    wizard::ProgramContext context = folders.context();
    wizard::ImportProgram program(context);
    ASSERT_TRUE(program.Start(0));
    wizard::TfrmImport1& main = *program.frmImport1();
    Ui::TfrmImport1& w = *main.ui;
    wizard::TfrmInhaltAnz& viewer = *program.frmInhaltAnz();

    w.PageControl1->setCurrentWidget(w.ImportSeite2);
    w.edtQuelle->setText(CopyFixture(QStringLiteral("access/jackcess/testIndexCodesV1997.mdb"), folders.path("user")));
    QTest::mouseClick(w.btnWeiter2, Qt::LeftButton);
    ASSERT_EQ(w.PageControl1->currentWidget(), w.ImportSeiteAdo);
    const auto found = w.lbxTables->findItems(QStringLiteral("Table11"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    w.lbxTables->setCurrentItem(found.first());
    QTest::mouseClick(w.btnAccessInhaltAnsehen, Qt::LeftButton);
    ASSERT_TRUE(viewer.isVisible());
    ASSERT_TRUE(viewer.ui->btnFilter->isVisible());

    dialogdriver::onNextModal([](QWidget* window) {
        auto* form = qobject_cast<TfrmFilterDialog*>(window);
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(form->ui->cbFilterField->count(), 2);
        AddCondition(*form, true, 1, cdInList, QStringLiteral("a, b, c"));
        ClickOk(*form);
    });
    QTest::mouseClick(viewer.ui->btnFilter, Qt::LeftButton);
    ASSERT_FALSE(dialogdriver::deadlineHit());
    EXPECT_EQ(viewer.ui->stbInhaltQuelle->SimpleText(), wizard::DatensaetzeText(3));

    QTest::mouseClick(w.btnWeiterAdo, Qt::LeftButton);
    ASSERT_EQ(w.PageControl1->currentWidget(), w.ImportSeite3) << ui.messageTexts().join(u'\n').toStdString();
    EXPECT_EQ(main.tblQuelle.Filter(), QStringLiteral("(data IN (a, b, c))"));
    EXPECT_TRUE(main.tblQuelle.Filtered());
    EXPECT_EQ(main.tblQuelle.RecordCount(), 3);

    // Another source: no condition of the last one is carried over.
    w.PageControl1->setCurrentWidget(w.ImportSeite2);
    w.edtQuelle->setText(CopyFixture(QStringLiteral("paradox/pdriver-db/CONTACTS.DB"), folders.path("user")));
    QTest::mouseClick(w.btnWeiter2, Qt::LeftButton);
    EXPECT_TRUE(main.tblQuelle.Active()) << ui.messageTexts().join(u'\n').toStdString();
    EXPECT_EQ(main.tblQuelle.Filter(), QString());
    EXPECT_FALSE(main.tblQuelle.Filtered());
}

}  // namespace
