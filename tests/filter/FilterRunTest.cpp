// A filter made in the dialog behind the viewer's filter button on a real source table: the viewer counts what
// the filter lets through, and the run that follows imports exactly those records.
#include "DialogDriver.h"
#include "FilterTestSupport.h"
#include "RunFixture.h"

#include "db/DataSource.h"
#include "filter/FilterText.h"
#include "platform/StatusBar.h"
#include "ui_frmFilterDialog.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/frmInhaltAnz.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using db::FieldType;
using namespace filter;

class FilteredRun : public RunFixture {};

TEST_F(FilteredRun, TheViewerCountsAndTheRunImportsTheRecordsTheDialogsConditionsLetThrough)
{
    makeSource({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                def("Wohn Ort", FieldType::ftString, 20), def("Betrag", FieldType::ftFloat)},
               {{1, "Müller", "Köln", 50.0},
                {2, "O'Brien", "Bonn", 250.0},
                {3, "Abel", "Köln", 99.5},
                {4, "Zander", "Aachen", 100.0},
                {5, "Meier", "Köln", 300.0}});
    makeTarget({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                def("Ort", FieldType::ftString, 20), def("Betrag", FieldType::ftFloat)},
               1);
    addRow("Nr", "Nr");
    addRow("Name", "Name");
    addRow("Ort", "Wohn Ort");
    addRow("Betrag", "Betrag");

    tblQuelle.Open();
    db::DataSource dscQuelle;
    dscQuelle.setDataSet(&tblQuelle);
    wizard::TfrmInhaltAnz viewer;
    viewer.setQuelleDataSource(&dscQuelle);
    viewer.useFilterDialog(dir.path() + u'/');
    viewer.setActiveSheet(viewer.ui->TabSheet1);
    viewer.show();
    ASSERT_TRUE(viewer.ui->btnFilter->isVisible());

    dialogdriver::onNextModal([](QWidget* window) {
        auto* form = qobject_cast<TfrmFilterDialog*>(window);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Quelldatei filtern"));
        // Offered in the table's field order.
        AddCondition(*form, true, 2, cdEqual, QStringLiteral("Köln"));
        AddCondition(*form, true, 3, cdGreater, QStringLiteral("60"));
        AddCondition(*form, false, 1, cdEqual, QStringLiteral("O'Brien"));
        ClickOk(*form);
    });
    QTest::mouseClick(viewer.ui->btnFilter, Qt::LeftButton);
    ASSERT_FALSE(dialogdriver::deadlineHit());
    EXPECT_EQ(tblQuelle.Filter(), QStringLiteral("([Wohn Ort] = 'Köln') AND (Betrag > '60') OR  (Name = 'O''Brien')"));
    EXPECT_EQ(viewer.ui->stbInhaltQuelle->SimpleText(), wizard::DatensaetzeText(3));
    EXPECT_EQ(viewer.ui->dbgInhaltQuellDB->model()->rowCount(), 3);
    viewer.close();
    tblQuelle.Close();

    ASSERT_TRUE(runMode(1));
    EXPECT_EQ(counters(), QStringLiteral("3 0 0 0 3 0"));
    EXPECT_EQ(targetRecords(), (QStringList{"2|O'Brien|Bonn|250", "3|Abel|Köln|99,5", "5|Meier|Köln|300"}));
}

}  // namespace
