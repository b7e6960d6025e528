#pragma once

#include "db/BatchMove.h"
#include "db/Table.h"
#include "engine/EngineContext.h"
#include "engine/TextReadProgress.h"
#include "engine/Textimport.h"
#include "engine/TextimportFixLen.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// The road of the text pages on plain values: a program folder of its own (so Temp lies in a temporary folder),
// source files beside it, and the steps the page's Weiter takes (headers as the preview gives them, staging table,
// the file read, the source table sized).
class TextRoad {
public:
    TextRoad();
    ~TextRoad();

    // Writes bytes as a source file and returns its path.
    QString source(const QByteArray& bytes, const QString& fileName = QStringLiteral("kunden.txt"));

    // The headers the page's preview gives a separated file: the first record's values when it names the columns,
    // else FELD_1, FELD_2, ... for every column; for whole lines (nothing separates) one column.
    static QStringList previewHeaders(const QString& path, const engine::SeparatedReading& reading);

    // Staging table from the headers, the file read (whole lines when nothing separates), the source table sized.
    void importSeparated(const QString& path, const engine::SeparatedReading& reading, const QStringList& headers,
                         engine::TextReadProgress& progress);
    void importSeparated(const QString& path, const engine::SeparatedReading& reading,
                         engine::TextReadProgress& progress)
    {
        importSeparated(path, reading, previewHeaders(path, reading), progress);
    }
    // The same for a fixed-width file: headers FELD_n per field of the split, or one for whole lines; silent
    // without progress.
    void importFixedWidth(const QString& path, engine::ColumnBoundaryList boundaries, bool dosToWin,
                          engine::TextReadProgress* progress = nullptr);

    // Every record of a closed table, each as the texts of its fields.
    static std::vector<QStringList> records(db::Table& table);
    static std::vector<QStringList> records(const QString& tablePath);
    // The declared sizes and names of a table's fields, in field order.
    static std::vector<int> fieldSizes(const QString& tablePath);
    // Where the reading puts the staging table and the source table of a file, below this road's program folder.
    QString stagingTable() const { return engine::StagingTablePath(context); }
    QString sourceTable(const QString& sourceFile) const { return engine::SourceTablePath(context, sourceFile); }
    static QStringList fieldNames(const QString& tablePath);

    QTemporaryDir program;
    QTemporaryDir sources;
    engine::EngineContext context{program.path()};
    db::Table tblZSP, tblQuelle;
    engine::StagedRecords staged;  // what the reading leaves for the sizing
    db::BatchMove BMV;
};

// Answers the questions about faulty lines in the order given and notes every line asked about; a question beyond
// the answers fails the test.
class ScriptedFaults : public engine::TextReadProgress {
public:
    explicit ScriptedFaults(std::vector<engine::LineFaultAnswer> answers = {}) : answers_(std::move(answers)) {}
    engine::LineFaultAnswer lineFaulty(const QString& line) override;
    void valuesChanged(const engine::TextReadResult& changes) override
    {
        ++changeReports;
        this->changes = changes;
    }

    QStringList asked;
    int changeReports = 0;
    engine::TextReadResult changes;

private:
    std::vector<engine::LineFaultAnswer> answers_;
};
