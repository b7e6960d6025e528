#pragma once

#include "db/DataSource.h"
#include "db/Table.h"
#include "engine/Importlauf.h"
#include "parser/Parser.h"
#include "platform/ScriptedUi.h"
#include "rtl/FormatSettings.h"

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

// What a run told its observer, kept as it was last told, and the cancel a test asks for.
class RecordingObserver : public engine::ImportRunObserver {
public:
    void runStarts(const QString& text, int recordCount) override
    {
        running = text;
        gaugeMaximum = recordCount;
        closeOffered_ = false;
        abandoned = false;
    }
    void runningText(const QString& text) override { running = text; }
    void counts(const engine::ImportCounts& c) override { shown = c; }
    void gaugePosition(int position) override { gauge = position; }
    void messageRound() override { ++messageRounds; }
    bool cancelled() const override { return cancel; }
    void closeOffered() override { closeOffered_ = true; }
    void runAbandoned() override { abandoned = true; }

    QString running;
    int gaugeMaximum = -1;
    engine::ImportCounts shown;
    int gauge = -1;
    int messageRounds = 0;
    bool cancel = false;
    bool closeOffered_ = false;
    bool abandoned = false;
};

// A program folder of its own with the working tables, a source and a target table, and the run's values, all
// standalone and without a window.
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

    // Changes columns of the setting's row in the settings list.
    void setSetting(const Options& options);
    // The setting's values read from the working tables (the mapping as addRow and setRow left it), as the finish
    // page hands them to the run.
    void readSetting();
    // Runs the drivers of the mode as the finish page does, on the setting as it stands.
    bool runMode(int mode);

    // "hinzu ignor umben akt summe fehler", as the observer was last told them.
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
    parser::TParser Parser1;
    RecordingObserver observer;
    int mappingPageShown = 0;
    engine::ImportRun run{tblQuelle, dscZiel, Parser1, {}, {}, &observer, [this] { ++mappingPageShown; }, {}};
};
