#pragma once

#include "db/Table.h"
#include "filter/DBFilterDialog.h"
#include "filter/frmFilterDialog.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// Customers in a Paradox table of the test's own, with a field name holding a blank, empty values, a quote in a
// name, numbers and dates:
//   Nr  Name     Wohn Ort  Betrag  Kunde seit
//   1   Müller   Köln      50      05.01.2020
//   2   O'Brien  Bonn      150     01.03.2021
//   3   Abel     (empty)   99,5    31.12.2019
//   4   Zander   Köln      250     (empty)
//   5   Meier    Aachen    100     15.06.2022
// Offered in this order: Nr 0, Name 1, Wohn Ort 2, Betrag 3, Kunde seit 4.
struct Customers {
    Customers();

    QString folder() const { return dir.path() + u'/'; }
    // The Nr of every record the table shows, in order.
    QStringList shownNumbers();

    QTemporaryDir dir;
    rtl::FormatSettingsGuard formats;
    db::Table table;
};

enum FieldPosition { fNr = 0, fName = 1, fOrt = 2, fBetrag = 3, fSeit = 4 };

// Runs the dialog, with steps done on its window once it stands; the steps close it (OK or Cancel). False when
// the window had to be closed by force.
bool RunDialog(filter::TDBFilterDialog& dialog, const std::function<void(filter::TfrmFilterDialog&)>& steps,
               bool* executed = nullptr);

// Types text into an edit key by key, also characters beyond ASCII.
void TypeText(QWidget* edit, const QString& text);

// Adds a condition as a person does: link, field, condition, value typed, then the add button.
void AddCondition(filter::TfrmFilterDialog& form, bool isAnd, int field, int condition, const QString& value);

// The rows as shown: "link|field|condition|value".
QStringList ShownRows(const filter::TfrmFilterDialog& form);

void ClickOk(filter::TfrmFilterDialog& form);
void ClickCancel(filter::TfrmFilterDialog& form);
