#pragma once

#include "db/DataSource.h"
#include "db/Table.h"
#include "engine/Importlauf.h"
#include "engine/frmGauge.h"
#include "parser/Parser.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Column values of a Mapping row beyond what the target field itself gives (Index, Feldname, Laenge, Typ,
// Typbezeichnung): the column name and the value.
using Options = std::vector<std::pair<const char*, QVariant>>;
using Values = std::vector<QVariant>;

db::FieldDef def(const char* name, db::FieldType type, int size = 0);

// A program folder of its own with the working tables, a source and a target table, and the wizard's objects the
// run reads, all standalone.
class RunFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    // A keyless Paradox source "Quelle.db" with these fields and records; tblQuelle points at it, closed.
    void makeSource(const db::FieldDefList& fields, const std::vector<Values>& records);
    // The target "Ziel.db" (Paradox, keyed on its first keyFields fields) or "Ziel.dbf" (dBase); tblZiel points at
    // it, closed. Records given are stored first.
    void makeTarget(const db::FieldDefList& fields, int keyFields, bool dbase = false,
                    const std::vector<Values>& records = {});
    // Appends a fresh Mapping row for a target field (as the structure reader makes it), then sets the options.
    void addRow(const QString& feldname, const QString& zuordnung, const Options& options = {});
    // Changes columns of the existing row of a target field.
    void setRow(const QString& feldname, const Options& options);

    // "hinzu ignor umben akt summe fehler".
    QString counters() const;
    int failures() const;
    // The target's records in table order, each as its fields' texts joined by "|".
    QStringList targetRecords();

    QTemporaryDir dir;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    rtl::FormatSettingsGuard formats;
    db::Table tblQuelle;
    db::Table tblZiel;
    db::Table tblZStrukt;
    db::Table tblImpList;
    db::DataSource dscZiel;
    QLineEdit edtStartwert;
    QCheckBox cbxZielLeeren;
    parser::TParser Parser1;
    engine::TfrmGauge frmGauge;
    int mappingPageShown = 0;
    engine::ImportRunContext run{tblQuelle,    dscZiel,  tblZStrukt, tblImpList,
                                 edtStartwert, cbxZielLeeren, Parser1, frmGauge,
                                 [this] { ++mappingPageShown; }};
};
