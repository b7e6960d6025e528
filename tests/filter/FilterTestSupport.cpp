#include "FilterTestSupport.h"

#include "DialogDriver.h"
#include "db/Field.h"
#include "support/FieldDefs.h"
#include "ui_frmFilterDialog.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using db::FieldType;
using testsupport::def;

Customers::Customers()
{
    rtl::formatSettings() = rtl::settingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    table.setTableName(folder() + QStringLiteral("Kunden.DB"));
    table.FieldDefs().assign({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                              def("Wohn Ort", FieldType::ftString, 20), def("Betrag", FieldType::ftFloat),
                              def("Kunde seit", FieldType::ftDate)},
                             0);
    table.CreateTable();
    table.Open();
    struct Row {
        int nr;
        const char* name;
        const char* ort;
        double betrag;
        QDate seit;
    };
    const Row rows[] = {{1, "Müller", "Köln", 50, QDate(2020, 1, 5)},
                        {2, "O'Brien", "Bonn", 150, QDate(2021, 3, 1)},
                        {3, "Abel", "", 99.5, QDate(2019, 12, 31)},
                        {4, "Zander", "Köln", 250, QDate()},
                        {5, "Meier", "Aachen", 100, QDate(2022, 6, 15)}};
    for (const Row& r : rows) {
        table.Append();
        table.Fields(0)->setAsInteger(r.nr);
        table.Fields(1)->setAsString(QString::fromUtf8(r.name));
        table.Fields(2)->setAsString(QString::fromUtf8(r.ort));
        table.Fields(3)->setAsFloat(r.betrag);
        if (r.seit.isValid())
            table.Fields(4)->setAsDateTime(QDateTime(r.seit, QTime()));
        table.Post();
    }
    table.First();
}

QStringList Customers::shownNumbers()
{
    QStringList numbers;
    for (table.First(); !table.Eof(); table.Next())
        numbers << table.Fields(0)->AsString();
    table.First();
    return numbers;
}

bool RunDialog(filter::TDBFilterDialog& dialog, const std::function<void(filter::TfrmFilterDialog&)>& steps,
               bool* executed)
{
    dialogdriver::onNextModal([&steps](QWidget* window) {
        auto* form = qobject_cast<filter::TfrmFilterDialog*>(window);
        if (!form) {
            ADD_FAILURE() << "not the filter dialog: " << window->metaObject()->className();
            return;
        }
        steps(*form);
    });
    const bool ok = dialog.Execute();
    if (executed)
        *executed = ok;
    return !dialogdriver::deadlineHit();
}

// Types text into an edit key by key, also characters beyond ASCII.
void TypeText(QWidget* edit, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &release);
    }
}

void AddCondition(filter::TfrmFilterDialog& form, bool isAnd, int field, int condition, const QString& value)
{
    QTest::mouseClick(isAnd ? form.ui->rbAND : form.ui->rbOR, Qt::LeftButton);
    form.ui->cbFilterField->setCurrentIndex(field);
    form.ui->cbFilterCondition->setCurrentIndex(condition);
    TypeText(form.ui->edFilterValue, value);
    QTest::mouseClick(form.ui->btnFilterAdd, Qt::LeftButton);
}

QStringList ShownRows(const filter::TfrmFilterDialog& form)
{
    QStringList rows;
    for (int i = 0; i < form.rowCount(); ++i) {
        const QTreeWidgetItem* item = form.row(i);
        rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(u'|');
    }
    return rows;
}

void ClickOk(filter::TfrmFilterDialog& form)
{
    QTest::mouseClick(form.ui->btnOk, Qt::LeftButton);
}

void ClickCancel(filter::TfrmFilterDialog& form)
{
    QTest::mouseClick(form.ui->btnCancel, Qt::LeftButton);
}
