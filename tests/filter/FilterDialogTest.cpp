// The filter dialog on a real table: what a person's conditions make of the table's filter, what opening the
// dialog again shows, and what it refuses.
#include "FilterTestSupport.h"

#include "filter/FilterText.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmFilterDialog.h"

#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using platform::Button;
using namespace filter;

struct Add {
    bool isAnd;
    int field;
    int condition;
    const char* value;
};

TEST(TDBFilterDialog, EveryConditionKindFiltersTheTableAndReadsBackAsItsRows)
{
    struct Case {
        const char* name;
        std::vector<Add> adds;
        QString filter;     // the table's filter text after OK
        QStringList shown;  // the Nr of the records the table shows then
        QStringList rows;   // the rows the dialog shows when opened again
    };
    const QString und = texts::Text(65017), oder = texts::Text(65016);
    const std::array<int, kConditionCount> captions = {65038, 65039, 65008, 65009, 65010,
                                                       65011, 65012, 65013, 65014, 65015};
    auto row = [&](const QString& link, const char* field, int condition, const char* value) {
        return QStringList{link, QString::fromUtf8(field), texts::Text(captions[std::size_t(condition)]),
                           QString::fromUtf8(value)}
            .join(u'|');
    };
    const std::vector<Case> cases = {
        {"gleich, then ungleich linked with OR",
         {{true, fName, cdEqual, "abc"}, {false, fOrt, cdNotEqual, "xyz"}},
         "(Name = 'abc') OR  ([Wohn Ort] <> 'xyz')",
         {"1", "2", "4", "5"},
         {row(und, "Name", 0, "abc"), row(oder, "Wohn Ort", 1, "xyz")}},
        {"a quote in the value",
         {{true, fName, cdEqual, "O'Brien"}},
         "(Name = 'O''Brien')",
         {"2"},
         {row(und, "Name", 0, "O'Brien")}},
        {"a field name with a blank",
         {{true, fOrt, cdEqual, "Köln"}},
         "([Wohn Ort] = 'Köln')",
         {"1", "4"},
         {row(und, "Wohn Ort", 0, "Köln")}},
        {"nicht größer and nicht kleiner",
         {{true, fBetrag, cdNotGreater, "150"}, {true, fBetrag, cdNotLess, "99,5"}},
         "(Betrag <= '150') AND (Betrag >= '99,5')",
         {"2", "3", "5"},
         {row(und, "Betrag", 2, "150"), row(und, "Betrag", 3, "99,5")}},
        {"kleiner als or größer als",
         {{true, fBetrag, cdLess, "99,5"}, {false, fBetrag, cdGreater, "150"}},
         "(Betrag < '99,5') OR  (Betrag > '150')",
         {"1", "4"},
         {row(und, "Betrag", 4, "99,5"), row(oder, "Betrag", 5, "150")}},
        {"a date compared",
         {{true, fSeit, cdGreater, "31.12.2019"}},
         "([Kunde seit] > '31.12.2019')",
         {"1", "2", "5"},
         {row(und, "Kunde seit", 5, "31.12.2019")}},
        {"leer finds the records without a value",
         {{true, fOrt, cdEmpty, ""}},
         "([Wohn Ort] IS NULL)",
         {"3"},
         {row(und, "Wohn Ort", 6, "")}},
        {"nicht leer finds those with one",
         {{true, fSeit, cdNotEmpty, ""}, {true, fOrt, cdNotEmpty, ""}},
         "([Kunde seit] NOT IS NULL) AND ([Wohn Ort] NOT IS NULL)",
         {"1", "2", "5"},
         {row(und, "Kunde seit", 7, ""), row(und, "Wohn Ort", 7, "")}},
        {"in Liste",
         {{true, fNr, cdInList, "1, 3"}, {false, fName, cdInList, "Meier,'O''Brien'"}},
         "(Nr IN (1, 3)) OR  (Name IN (Meier,'O''Brien'))",
         {"1", "2", "3", "5"},
         {row(und, "Nr", 8, "1, 3"), row(oder, "Name", 8, "Meier,'O''Brien'")}},
        {"zwischen two numbers, then a link after the range",
         {{true, fNr, cdBetween, "2 4"}, {false, fName, cdEqual, "Meier"}},
         "(Nr  >= 2) AND (Nr <= 4) OR  (Name = 'Meier')",
         {"2", "3", "4", "5"},
         {row(und, "Nr", 9, "2 4"), row(oder, "Name", 0, "Meier")}},
        {"zwischen two words",
         {{true, fName, cdBetween, "A N"}},
         "(Name  >= 'A') AND (Name <= 'N')",
         {"1", "3", "5"},
         {row(und, "Name", 9, "A N")}},
        {"link words in values stay values",
         {{true, fName, cdEqual, "x AND (y"}, {false, fName, cdEqual, "Abel"}},
         "(Name = 'x AND (y') OR  (Name = 'Abel')",
         {"3"},
         {row(und, "Name", 0, "x AND (y"), row(oder, "Name", 0, "Abel")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Customers customers;
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        TDBFilterDialog dialog;
        dialog.Dataset = &customers.table;
        dialog.FilterFolder = customers.folder();
        bool ok = false;
        ASSERT_TRUE(RunDialog(
            dialog,
            [&](TfrmFilterDialog& form) {
                for (const Add& a : c.adds)
                    AddCondition(form, a.isAnd, a.field, a.condition, QString::fromUtf8(a.value));
                ClickOk(form);
            },
            &ok));
        EXPECT_TRUE(ok);
        EXPECT_TRUE(ui.messages().empty()) << ui.messageTexts().join(u'\n').toStdString();
        EXPECT_EQ(customers.table.Filter(), c.filter);
        EXPECT_TRUE(customers.table.Filtered());
        EXPECT_EQ(customers.shownNumbers(), c.shown);

        // Opened again, the dialog shows the same rows (the first with UND); Cancel changes nothing.
        QStringList rows;
        ASSERT_TRUE(RunDialog(
            dialog,
            [&](TfrmFilterDialog& form) {
                rows = ShownRows(form);
                EXPECT_TRUE(form.ui->btnFilterSave->isEnabled());
                ClickCancel(form);
            },
            &ok));
        EXPECT_FALSE(ok);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(customers.table.Filter(), c.filter);
        // And OK on what was read back gives the same filter.
        ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) { ClickOk(form); }));
        EXPECT_EQ(customers.table.Filter(), c.filter);
    }
}

TEST(TDBFilterDialog, RefusesAConditionTheTableCannotTakeAndKeepsItsFilter)
{
    struct Case {
        const char* name;
        Add add;
        int text;  // the message's text number
    };
    const std::vector<Case> cases = {
        {"no number for a number field", {true, fBetrag, cdEqual, "viel"}, 61558},
        {"no date for a date field", {true, fSeit, cdLess, "gestern"}, 61558},
        {"an empty IN list", {true, fNr, cdInList, " "}, 61558},
        {"an IN list with a word for a number field", {true, fNr, cdInList, "1, zwei"}, 61558},
        {"a range without its second value", {true, fNr, cdBetween, "5"}, 61559},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Customers customers;
        customers.table.setFilter(QStringLiteral("(Nr > '1')"));
        customers.table.setFiltered(true);
        platform::ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        ui.answer(Button::Ok);
        TDBFilterDialog dialog;
        dialog.Dataset = &customers.table;
        QStringList rows;
        bool ok = true;
        ASSERT_TRUE(RunDialog(
            dialog,
            [&](TfrmFilterDialog& form) {
                AddCondition(form, true, c.add.field, c.add.condition, QString::fromUtf8(c.add.value));
                rows = ShownRows(form);
                ClickCancel(form);
            },
            &ok));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
        const QString start = texts::Text(c.text).section(u'%', 0, 0);
        EXPECT_TRUE(ui.messages()[0].text.startsWith(start)) << ui.messages()[0].text.toStdString();
        // The refused condition did not become a row; the table's filter is what it was.
        EXPECT_EQ(rows.size(), 1);
        EXPECT_EQ(customers.table.Filter(), QStringLiteral("(Nr > '1')"));
        EXPECT_TRUE(customers.table.Filtered());
        EXPECT_EQ(customers.shownNumbers(), (QStringList{"2", "3", "4", "5"}));
    }
}

TEST(TDBFilterDialog, ButtonsRowsAndTheFilterOfNoRows)
{
    Customers customers;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    TDBFilterDialog dialog;
    dialog.Dataset = &customers.table;
    dialog.Caption = QStringLiteral("Quelldatei filtern");
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        auto& w = *form.ui;
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Quelldatei filtern"));
        EXPECT_EQ(w.cbFilterField->count(), 5);
        EXPECT_EQ(w.cbFilterCondition->count(), 10);
        EXPECT_FALSE(w.btnFilterAdd->isEnabled());
        EXPECT_FALSE(w.btnFilterSave->isEnabled());
        // Enabled only with a field, a condition and a value, or a field and an empty test.
        w.cbFilterField->setCurrentIndex(fName);
        EXPECT_FALSE(w.btnFilterAdd->isEnabled());
        w.cbFilterCondition->setCurrentIndex(cdEqual);
        EXPECT_FALSE(w.btnFilterAdd->isEnabled());
        QTest::keyClicks(w.edFilterValue, QStringLiteral("x"));
        EXPECT_TRUE(w.btnFilterAdd->isEnabled());
        w.edFilterValue->clear();
        w.cbFilterCondition->setCurrentIndex(cdEmpty);
        EXPECT_TRUE(w.btnFilterAdd->isEnabled());
        w.cbFilterField->setCurrentIndex(-1);
        EXPECT_FALSE(w.btnFilterAdd->isEnabled());

        AddCondition(form, true, fName, cdEqual, QStringLiteral("Abel"));
        // After adding, the inputs start afresh.
        EXPECT_EQ(w.cbFilterField->currentIndex(), -1);
        EXPECT_EQ(w.cbFilterCondition->currentIndex(), -1);
        EXPECT_TRUE(w.edFilterValue->text().isEmpty());
        EXPECT_TRUE(w.rbAND->isChecked());
        EXPECT_TRUE(w.btnFilterSave->isEnabled());
        AddCondition(form, false, fOrt, cdEqual, QStringLiteral("Bonn"));
        EXPECT_EQ(form.FilterText(), QStringLiteral("(Name = 'Abel') OR  ([Wohn Ort] = 'Bonn')"));
        // Deleting the first row leaves the second without its link word in front.
        EXPECT_FALSE(w.btnFilterDelete->isEnabled());
        w.lbFilter->setCurrentItem(form.row(0));
        EXPECT_TRUE(w.btnFilterDelete->isEnabled());
        QTest::mouseClick(w.btnFilterDelete, Qt::LeftButton);
        EXPECT_EQ(form.rowCount(), 1);
        ClickOk(form);
    }));
    EXPECT_EQ(customers.table.Filter(), QStringLiteral("([Wohn Ort] = 'Bonn')"));
    EXPECT_EQ(customers.shownNumbers(), QStringList{"2"});

    // With no rows OK sets the empty filter and switches filtering on: every record.
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        QTest::mouseClick(form.ui->btnClear, Qt::LeftButton);
        EXPECT_EQ(form.rowCount(), 0);
        ClickOk(form);
    }));
    EXPECT_EQ(customers.table.Filter(), QString());
    EXPECT_TRUE(customers.table.Filtered());
    EXPECT_EQ(customers.table.RecordCount(), 5);

    // Only the fields allowed are offered; in expression mode the table is left alone.
    dialog.AllowedFields = QStringList{"Betrag", "Nr"};
    dialog.FilterMode = fmExpression;
    dialog.Expression = QStringLiteral("(Nr = '3')");
    ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
        EXPECT_EQ(form.ui->cbFilterField->count(), 2);
        EXPECT_EQ(form.ui->cbFilterField->itemText(1), QStringLiteral("Betrag"));
        EXPECT_EQ(ShownRows(form),
                  QStringList{texts::Text(65017) + QStringLiteral("|Nr|") + texts::Text(65038) + "|3"});
        AddCondition(form, true, 1, cdGreater, QStringLiteral("100"));
        ClickOk(form);
    }));
    EXPECT_EQ(dialog.Expression, QStringLiteral("(Nr = '3') AND (Betrag > '100')"));
    EXPECT_EQ(customers.table.Filter(), QString());
}

TEST(TDBFilterDialog, FileButtonsFollowTheOptions)
{
    Customers customers;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    struct Case {
        const char* name;
        TFilterOptions options;
        bool load, save;
        int narrower;  // how much narrower the heading is than with no buttons
    };
    const Case cases[] = {{"both", foLoadFrom | foSaveAs, true, true, 2 * 22 + 5},
                          {"load only", foLoadFrom, true, false, 22 + 5},
                          {"save only", foSaveAs, false, true, 22 + 5},
                          {"none", 0, false, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDBFilterDialog dialog;
        dialog.Dataset = &customers.table;
        dialog.Options = c.options;
        ASSERT_TRUE(RunDialog(dialog, [&](TfrmFilterDialog& form) {
            auto& w = *form.ui;
            EXPECT_EQ(w.btnFilterLoad->isVisible(), c.load);
            EXPECT_EQ(w.btnFilterSave->isVisible(), c.save);
            EXPECT_EQ(w.lblFilter->width(), 484 - c.narrower);
            // The load button alone stands where the save button would.
            if (c.load && !c.save) {
                EXPECT_EQ(w.btnFilterLoad->x(), w.btnFilterSave->x());
            }
            ClickCancel(form);
        }));
    }
}

}  // namespace
