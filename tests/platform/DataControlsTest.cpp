#include "platform/ClickHandlers.h"
#include "platform/DataControls.h"
#include "platform/ScriptedUi.h"

#include "db/DataSource.h"
#include "db/Table.h"
#include "support/FieldDefs.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using db::FieldType;
using testsupport::def;

// A Paradox table of three records in a folder of its own, with a data source on it.
struct Kunden {
    explicit Kunden(int keyFields = 0, db::FieldDefList defs = {})
    {
        if (defs.empty())
            defs = {def("Name", FieldType::ftString, 20), def("Aktiv", FieldType::ftBoolean),
                    def("Flag", FieldType::ftString, 6), def("Menge", FieldType::ftFloat),
                    def("Notiz", FieldType::ftMemo, 10)};
        table.setTableName(QDir(dir.path()).filePath(QStringLiteral("Kunden.DB")));
        table.FieldDefs().assign(defs, keyFields);
        table.CreateTable();
        table.Open();
        source.setDataSet(&table);
    }
    void add(const QVariantList& values)
    {
        table.Append();
        for (int i = 0; i < values.size(); ++i)
            table.Fields(i)->setAsVariant(values[i]);
        table.Post();
    }
    QTemporaryDir dir;
    db::Table table;
    db::DataSource source;
};

TEST(DataControls, FollowTheCursorWriteTheRecordAndRunClickHandlersOnRealChangesOnly)
{
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    Kunden k;
    k.add({"Meier", true, "Wahr", 1.5, "erste"});
    k.add({"Huber", false, "Falsch", 2.0, "zweite"});
    k.add({"Schulz", false, "Wahr", 3.0, "dritte"});
    k.table.First();

    QWidget window;
    platform::TDBEdit edtName(&window), edtMenge(&window);
    platform::TDBCheckBox cbxAktiv(&window), cbxFlag(&window);
    platform::TDBMemo memNotiz(&window);
    platform::TDBText dbtName(&window);
    auto bind = [&k](auto& control, const char* field) {
        control.setDataSource(&k.source);
        control.setDataField(QLatin1String(field));
    };
    bind(edtName, "Name");
    bind(edtMenge, "Menge");
    bind(cbxAktiv, "Aktiv");
    bind(cbxFlag, "Flag");
    bind(memNotiz, "Notiz");
    bind(dbtName, "Name");
    int aktivClicks = 0, flagClicks = 0;
    platform::ConnectClick(&cbxAktiv, &window, [&] { ++aktivClicks; });
    platform::ConnectClick(&cbxFlag, &window, [&] { ++flagClicks; });
    window.show();

    // Showing the first record.
    EXPECT_EQ(edtName.text(), "Meier");
    EXPECT_EQ(dbtName.text(), "Meier");
    EXPECT_EQ(memNotiz.toPlainText(), "erste");
    EXPECT_TRUE(cbxAktiv.isChecked());
    EXPECT_TRUE(cbxFlag.isChecked());
    EXPECT_EQ(edtName.maxLength(), 20);
    EXPECT_EQ(edtMenge.maxLength(), 32767);

    // Moving to a record of other states runs both click handlers once; to one where only Flag differs, Flag's.
    k.table.Next();
    EXPECT_EQ(edtName.text(), "Huber");
    EXPECT_FALSE(cbxAktiv.isChecked());
    EXPECT_FALSE(cbxFlag.isChecked());
    EXPECT_EQ(aktivClicks, 1);
    EXPECT_EQ(flagClicks, 1);
    k.table.Next();
    EXPECT_EQ(aktivClicks, 1);
    EXPECT_EQ(flagClicks, 2);
    platform::SetChecked(&cbxFlag, true);  // no change of state
    EXPECT_EQ(flagClicks, 2);

    // Typing goes into the record, which the next move posts.
    edtName.setFocus();
    edtName.selectAll();
    QTest::keyClicks(&edtName, "Schulze-Wendt");
    EXPECT_EQ(k.table.State(), db::dsEdit);
    EXPECT_EQ(k.table.FieldByName("Name")->AsString(), "Schulze-Wendt");
    EXPECT_EQ(dbtName.text(), "Schulze-Wendt");
    memNotiz.selectAll();
    memNotiz.insertPlainText(QStringLiteral("geändert"));
    EXPECT_EQ(k.table.FieldByName("Notiz")->AsString(), "geändert");

    // A click writes the field, then the box changes and its handler runs once.
    QTest::mouseClick(&cbxFlag, Qt::LeftButton, {}, QPoint(8, cbxFlag.height() / 2));
    EXPECT_FALSE(cbxFlag.isChecked());
    EXPECT_EQ(k.table.FieldByName("Flag")->AsString(), "Falsch");
    EXPECT_EQ(flagClicks, 3);
    cbxAktiv.setFocus();
    QTest::keyClick(&cbxAktiv, Qt::Key_Space);
    EXPECT_TRUE(k.table.FieldByName("Aktiv")->AsBoolean());
    EXPECT_EQ(aktivClicks, 2);

    // A number half typed stays pending; leaving the edit with a value the field refuses says so and keeps the focus.
    edtMenge.setFocus();
    edtMenge.selectAll();
    QTest::keyClicks(&edtMenge, "4");
    EXPECT_EQ(k.table.FieldByName("Menge")->AsFloat(), 4.0);
    QTest::keyClicks(&edtMenge, "x");
    ui.answer(platform::Button::Ok);
    QTest::keyClick(&edtMenge, Qt::Key_Return);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
    EXPECT_EQ(k.table.FieldByName("Menge")->AsFloat(), 4.0);
    QTest::keyClick(&edtMenge, Qt::Key_End);
    QTest::keyClick(&edtMenge, Qt::Key_Backspace);
    QTest::keyClick(&edtMenge, Qt::Key_Return);
    EXPECT_EQ(ui.messages().size(), 1u);

    // A limit the window sets stays when the cursor moves.
    edtName.setMaxLength(5);
    k.table.First();
    EXPECT_EQ(edtName.maxLength(), 5);
    EXPECT_EQ(k.table.State(), db::dsBrowse);
    const db::Record third = k.table.recordAt(2);
    EXPECT_EQ(third[0].toString(), "Schulze-Wendt");
    EXPECT_TRUE(third[1].toBool());
    EXPECT_EQ(third[2].toString(), "Falsch");
    EXPECT_EQ(third[3].toDouble(), 4.0);
    EXPECT_EQ(third[4].toString(), "geändert");

    // A closed table shows nothing and takes nothing.
    k.table.Close();
    EXPECT_EQ(edtName.text(), "");
    EXPECT_TRUE(edtName.QLineEdit::isReadOnly());
    EXPECT_FALSE(cbxAktiv.isChecked());
    QTest::mouseClick(&cbxAktiv, Qt::LeftButton, {}, QPoint(8, cbxAktiv.height() / 2));
    EXPECT_FALSE(cbxAktiv.isChecked());
    EXPECT_TRUE(ui.failures().isEmpty());
}

TEST(DataControls, ProgramSetRadioButtonsRunTheirHandlerOnlyWhenTheyBecomeChecked)
{
    QWidget group;
    QRadioButton a(&group), b(&group);
    int aClicks = 0, bClicks = 0;
    platform::ConnectClick(&a, &group, [&] { ++aClicks; });
    platform::ConnectClick(&b, &group, [&] { ++bClicks; });
    group.show();

    platform::SetChecked(&a, true);
    platform::SetChecked(&a, true);
    EXPECT_EQ(aClicks, 1);
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(8, b.height() / 2));
    EXPECT_TRUE(b.isChecked());
    EXPECT_FALSE(a.isChecked());
    EXPECT_EQ(bClicks, 1);
    EXPECT_EQ(aClicks, 1);  // losing the check is no click
    QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(8, b.height() / 2));
    EXPECT_EQ(bClicks, 1);
    // The program may leave the group without a choice.
    platform::SetChecked(&b, false);
    EXPECT_FALSE(a.isChecked() || b.isChecked());
    EXPECT_EQ(aClicks + bClicks, 2);
}

TEST(DataControls, LookupListShowsItsColumnsAndStandsForTheKeyChosen)
{
    Kunden list(1, {def("Bezeichnung", FieldType::ftString, 80), def("Bemerkung", FieldType::ftMemo, 1),
                    def("QuellDatei", FieldType::ftString, 255), def("ZielDatei", FieldType::ftString, 255)});
    for (int i = 1; i <= 12; ++i)
        list.add({QStringLiteral("Einstellung %1").arg(i, 2, 10, QChar(u'0')), "",
                  QStringLiteral("quelle%1.txt").arg(i), QStringLiteral("ziel%1.db").arg(i)});
    list.table.First();

    platform::TDBLookupComboBox combo;
    combo.setListSource(&list.source);
    combo.setKeyField(QStringLiteral("Bezeichnung"));
    combo.setListField(QStringLiteral("Bezeichnung;QuellDatei;ZielDatei"));
    combo.setDropDownRows(10);
    combo.resize(200, combo.sizeHint().height());
    combo.show();
    QSignalSpy closeUps(&combo, &platform::TDBLookupComboBox::CloseUp);

    combo.setKeyValue(QStringLiteral("Einstellung 05"));
    EXPECT_EQ(combo.currentText(), "Einstellung 05");
    EXPECT_EQ(list.table.RecNo(), 1);  // showing a key leaves the cursor
    combo.setKeyValue(QStringLiteral("gibt es nicht"));
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.KeyValue(), "");

    // The drop-down: three columns in the order listed, ten rows high.
    auto* view = qobject_cast<QTableView*>(combo.view());
    ASSERT_NE(view, nullptr);
    QStringList shown;
    for (int visual = 0; visual < view->model()->columnCount(); ++visual) {
        const int column = view->horizontalHeader()->logicalIndex(visual);
        if (!view->isColumnHidden(column))
            shown += view->model()->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(shown, (QStringList{"Bezeichnung", "QuellDatei", "ZielDatei"}));
    EXPECT_EQ(combo.DropDownRows(), 10);

    // Choosing a row: the key, the list's cursor, then CloseUp.
    combo.showPopup();
    const QModelIndex row8 = view->model()->index(7, combo.modelColumn());
    view->scrollTo(row8);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(row8).center());
    QTRY_COMPARE(closeUps.count(), 1);
    EXPECT_EQ(combo.KeyValue(), "Einstellung 08");
    EXPECT_EQ(list.table.FieldByName("QuellDatei")->AsString(), "quelle8.txt");

    // A record added before it keeps the key shown.
    list.add({"Aaa", "", "a.txt", "a.db"});
    EXPECT_EQ(combo.KeyValue(), "Einstellung 08");
    EXPECT_EQ(combo.currentText(), "Einstellung 08");
}

}  // namespace
