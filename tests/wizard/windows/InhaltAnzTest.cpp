#include "wizard/frmInhaltAnz.h"

#include "ui_frmInhaltAnz.h"

#include "db/DataSource.h"
#include "db/Table.h"
#include "db/TableModel.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"
#include "support/FieldDefs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
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

using db::FieldType;
using testsupport::def;

void fill(db::Table& table, const QString& path, int records)
{
    table.setTableName(path);
    table.FieldDefs().assign({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 30)}, 1);
    table.CreateTable();
    table.Open();
    for (int i = 1; i <= records; ++i) {
        table.Append();
        table.Fields(0)->setAsInteger(i);
        table.Fields(1)->setAsString(QStringLiteral("Kunde %1").arg(i));
        table.Post();
    }
    table.First();
}

// The wizard as far as the viewer sees it: its pages and the view buttons they disable while the viewer is open.
struct Wizard {
    Wizard()
    {
        frmImport1.setObjectName(QStringLiteral("frmImport1"));
        for (const char* name : {"ImportSeite2", "ImportSeite3", "ImportSeite4", "ImportSeite6"}) {
            auto* page = new QWidget(PageControl1);
            page->setObjectName(QLatin1String(name));
            PageControl1->addWidget(page);
        }
        for (const char* name : {"btnInhaltAnz2", "btnInhaltAnz3", "btnInhaltAnz4"}) {
            auto* button = new QPushButton(&frmImport1);
            button->setObjectName(QLatin1String(name));
            button->setEnabled(false);
        }
    }
    void showPage(const char* name) { PageControl1->setCurrentWidget(PageControl1->findChild<QWidget*>(name)); }
    bool enabled(const char* button) { return frmImport1.findChild<QPushButton*>(button)->isEnabled(); }

    QWidget frmImport1;
    QStackedWidget* PageControl1 = new QStackedWidget(&frmImport1);
};

void clickTab(wizard::TfrmInhaltAnz& viewer, int index)
{
    QTabBar* bar = viewer.ui->PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

TEST(TfrmInhaltAnz, ShowsSourceAndTargetFiltersTheSourceAndHandsBackToTheWizardOnClosing)
{
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    rtl::FormatSettingsGuard formats;
    rtl::formatSettings().ThousandSeparator = u'.';
    QTemporaryDir dir;
    db::Table tblQuelle, tblZiel;
    fill(tblQuelle, QDir(dir.path()).filePath(QStringLiteral("Kunden.DB")), 1234);
    fill(tblZiel, QDir(dir.path()).filePath(QStringLiteral("Adressen.DB")), 3);
    db::DataSource dscQuelle, dscZiel;
    dscQuelle.setDataSet(&tblQuelle);
    dscZiel.setDataSet(&tblZiel);
    Wizard w;
    w.frmImport1.show();

    // What the mapping page does before showing the viewer.
    wizard::TfrmInhaltAnz viewer;
    viewer.setWizard(&w.frmImport1, w.PageControl1);
    viewer.setQuelleDataSource(&dscQuelle);
    viewer.setZielDataSource(&dscZiel);
    viewer.ui->stbInhaltQuelle->setSimpleText(wizard::DatensaetzeText(tblQuelle.RecordCount()));
    viewer.ui->stbInhaltZiel->setSimpleText(wizard::DatensaetzeText(tblZiel.RecordCount()));
    viewer.setSheetVisible(viewer.ui->TabSheet3, false);
    viewer.setActiveSheet(viewer.ui->TabSheet1);
    w.showPage("ImportSeite4");
    viewer.show();
    // Access keys reach the active window only.
    viewer.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));

    EXPECT_EQ(viewer.ui->stbInhaltQuelle->SimpleText(), "1.234 Datensätze");
    EXPECT_EQ(viewer.ui->stbInhaltZiel->SimpleText(), "3 Datensätze");
    EXPECT_EQ(viewer.ui->dbgInhaltQuellDB->tableModel()->rowCount(), 1234);
    EXPECT_EQ(viewer.ui->dbgInhaltZielDB->tableModel()->rowCount(), 3);
    EXPECT_EQ(viewer.ui->dbgInhaltQuellDB->model()->headerData(1, Qt::Horizontal).toString(), "Name");
    // No filter dialog yet: no filter button.
    EXPECT_FALSE(viewer.ui->btnFilter->isVisible());

    // Ctrl+End in the source grid puts the table on its last record.
    viewer.ui->dbgInhaltQuellDB->setFocus();
    QTest::keyClick(viewer.ui->dbgInhaltQuellDB, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(tblQuelle.RecNo(), 1234);
    EXPECT_EQ(tblQuelle.FieldByName("Name")->AsString(), "Kunde 1234");
    // The grid shows the last screen with the last record selected, its scroll bar at the end.
    platform::TDBGrid* grid = viewer.ui->dbgInhaltQuellDB;
    const int screenRows = grid->model()->rowCount();
    EXPECT_GT(screenRows, 5);
    EXPECT_LT(screenRows, 40);
    EXPECT_EQ(grid->TopRow(), 1234 - screenRows);
    EXPECT_EQ(grid->currentIndex().row(), screenRows - 1);
    EXPECT_EQ(grid->currentIndex().data().toString(), "1234");
    EXPECT_EQ(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 1234 - screenRows);
    // Up moves the cursor within the screen; Ctrl+Home back to the first record and screen.
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(tblQuelle.RecNo(), 1233);
    EXPECT_EQ(grid->TopRow(), 1234 - screenRows);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(tblQuelle.RecNo(), 1);
    EXPECT_EQ(grid->TopRow(), 0);
    // The program moving the cursor brings its record into view.
    tblQuelle.setRecNo(600);
    EXPECT_LE(grid->TopRow(), 599);
    EXPECT_GT(grid->TopRow() + screenRows, 599);
    EXPECT_EQ(grid->currentIndex().data().toString(), "600");
    // A click on a row puts the cursor on its record; the scroll bar shows other records without moving it.
    const QModelIndex third = grid->model()->index(2, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(third).center());
    EXPECT_EQ(tblQuelle.RecNo(), grid->TopRow() + 3);
    const int clicked = tblQuelle.RecNo();
    grid->verticalScrollBar()->setValue(1000);
    EXPECT_EQ(grid->TopRow(), 1000);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "1001");
    EXPECT_EQ(tblQuelle.RecNo(), clicked);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);

    // The filter button shows on the source tab only.
    viewer.setFilterDialog([](db::Table& table) {
        table.setFilter(QStringLiteral("[Nr] > 5000"));
        table.setFiltered(true);
    });
    EXPECT_TRUE(viewer.ui->btnFilter->isVisible());
    clickTab(viewer, 1);
    EXPECT_EQ(viewer.activeSheet(), viewer.ui->TabSheet2);
    EXPECT_FALSE(viewer.ui->btnFilter->isVisible());
    clickTab(viewer, 0);
    EXPECT_TRUE(viewer.ui->btnFilter->isVisible());

    // A filter that lets no record through.
    pressAccessKey(&viewer, Qt::Key_F);
    EXPECT_EQ(viewer.ui->stbInhaltQuelle->SimpleText(), "0 Datensätze");
    EXPECT_EQ(viewer.ui->dbgInhaltQuellDB->tableModel()->rowCount(), 0);

    // Closing on the mapping page: the hidden tab back, the page's view button enabled, the wizard goes on; the
    // filter stays on the table.
    viewer.setSheetVisible(viewer.ui->TabSheet2, false);
    pressAccessKey(&viewer, Qt::Key_S);
    QApplication::processEvents();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_TRUE(viewer.isSheetVisible(viewer.ui->TabSheet2));
    EXPECT_TRUE(w.enabled("btnInhaltAnz4"));
    EXPECT_FALSE(w.enabled("btnInhaltAnz3"));
    EXPECT_TRUE(w.frmImport1.isVisible());
    EXPECT_TRUE(tblQuelle.Filtered());

    // After a run the viewer is the end of the program: closing it (Escape here) closes the wizard.
    w.showPage("ImportSeite6");
    viewer.show();
    QTest::keyClick(&viewer, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(w.frmImport1.isVisible());
    EXPECT_TRUE(ui.failures().isEmpty());
}

}  // namespace
