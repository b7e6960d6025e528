#pragma once

#include "db/FieldType.h"
#include "db/Table.h"
#include "engine/EngineContext.h"
#include "platform/ScriptedUi.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A program folder of its own for each test: the three working tables created empty in a temporary folder, the
// engine pointed at it, and a scripted user interface installed.
class WorkingFolder : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return dir.filePath(name); }
    // A table object on a file of the program folder (not opened).
    std::unique_ptr<db::Table> table(const QString& name) const;

    QTemporaryDir dir;
    engine::EngineContext context{dir.path()};
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    std::unique_ptr<db::Table> tblZStrukt, tblQStrukt, tblImpList;
};

db::FieldDef def(const char* name, db::FieldType type, int size = 0);

// Field values of every record, in table order, each as its text.
QStringList columnTexts(db::Table& table, const QString& column);
