#include "TextRoad.h"

#include "db/BatchMove.h"
#include "db/Table.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TextRoad::TextRoad() = default;

TextRoad::~TextRoad()
{
    tblZSP.Close();
    tblQuelle.Close();
}

QString TextRoad::source(const QByteArray& bytes, const QString& fileName)
{
    const QString path = QDir(sources.path()).filePath(fileName);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

namespace {

bool wholeLines(const engine::SeparatedReading& reading)
{
    return reading.separators.isEmpty() && reading.qualifier.isNull();
}

}  // namespace

QStringList TextRoad::previewHeaders(const QString& path, const engine::SeparatedReading& reading)
{
    if (wholeLines(reading)) {
        if (reading.firstLineHoldsNames)
            return engine::ReadPreviewLines(path, reading.dosToWin, 1);
        return engine::ColumnHeaders(1, true, QString());
    }
    const engine::SeparatedPreview preview = engine::ReadSeparatedPreview(path, reading, 1);
    if (reading.firstLineHoldsNames && !preview.records.empty())
        return preview.records.front().values;
    return engine::ColumnHeaders(preview.columns, true, QString());
}

void TextRoad::importSeparated(const QString& path, const engine::SeparatedReading& reading,
                               const QStringList& headers, engine::TextReadProgress& progress)
{
    engine::CreateStagingTable(tblZSP, staged, stagingTable(), headers);
    if (wholeLines(reading))
        engine::ReadWholeLines(path, tblZSP, staged, reading.firstLineHoldsNames, reading.dosToWin, progress);
    else
        engine::ReadSeparatedFile(path, tblZSP, staged, reading, progress);
    engine::DefineFieldSizes(tblZSP, staged, tblQuelle, sourceTable(path), BMV, progress);
}

void TextRoad::importFixedWidth(const QString& path, engine::ColumnBoundaryList boundaries, bool dosToWin,
                                engine::TextReadProgress* progress)
{
    engine::TextReadProgress quiet;
    engine::TextReadProgress& silent = progress ? *progress : quiet;
    const int first = engine::PrepareSplit(boundaries);
    const int fields = first < 0 ? 1 : engine::BoundarySlotCount - first + 1;
    engine::CreateStagingTable(tblZSP, staged, stagingTable(), engine::ColumnHeaders(fields, true, QString()));
    if (first < 0)
        engine::ReadWholeLines(path, tblZSP, staged, false, dosToWin, silent);
    else
        engine::ReadFixedWidthFile(path, tblZSP, staged, boundaries.FixTrennPositionen, first, false, dosToWin,
                                   silent);
    engine::DefineFieldSizes(tblZSP, staged, tblQuelle, sourceTable(path), BMV, silent);
}

std::vector<QStringList> TextRoad::records(db::Table& table)
{
    std::vector<QStringList> result;
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList values;
        for (int i = 0; i < table.FieldCount(); ++i)
            values << table.Fields(i)->AsString();
        result.push_back(values);
    }
    table.Close();
    return result;
}

std::vector<QStringList> TextRoad::records(const QString& tablePath)
{
    db::Table table;
    table.setTableName(tablePath);
    return records(table);
}

std::vector<int> TextRoad::fieldSizes(const QString& tablePath)
{
    db::Table table;
    table.setTableName(tablePath);
    table.Open();
    std::vector<int> sizes;
    for (int i = 0; i < table.FieldCount(); ++i)
        sizes.push_back(table.Fields(i)->Size());
    return sizes;
}

QStringList TextRoad::fieldNames(const QString& tablePath)
{
    db::Table table;
    table.setTableName(tablePath);
    table.Open();
    QStringList names;
    for (int i = 0; i < table.FieldCount(); ++i)
        names << table.Fields(i)->FieldName();
    return names;
}

engine::LineFaultAnswer ScriptedFaults::lineFaulty(const QString& line)
{
    asked << line;
    if (static_cast<std::size_t>(asked.size()) > answers_.size()) {
        ADD_FAILURE() << "unexpected question about the line " << line.toStdString();
        return engine::LineFaultAnswer::Stop;
    }
    return answers_[static_cast<std::size_t>(asked.size() - 1)];
}
