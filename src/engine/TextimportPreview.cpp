#include "engine/Textimport.h"

#include "engine/BriskoRoutines.h"
#include "engine/TextScanner.h"

// What the text pages show before anything is read into a table: the guesses from the first line, the first records
// cut as the reading will cut them, and the headers. Each reads a few lines from the start of the file and nothing
// else, so the pages can call them again on every change of an option.
namespace engine {

// ---- guesses from the first line ----

QString TextbegrenzerErmitteln(const QString& FileName)
{
    TextLineReader reader(FileName);
    QString line;
    reader.readLine(line);
    int quotes = 0;
    int apostrophes = 0;
    for (QChar ch : line) {
        if (ch == u'"' && ++quotes == 2)
            return QStringLiteral("\"");
        if (ch == u'\'' && ++apostrophes == 2)
            return QStringLiteral("'");
    }
    return QString();
}

SeparatorGuess GuessSeparators(const QString& FileName)
{
    QString line;
    TextLineReader reader(FileName);
    reader.readLine(line);
    const qsizetype commas = line.count(u',');
    const qsizetype semicolons = line.count(u';');
    SeparatorGuess guess;
    if (commas == 0)
        guess.comma = false;
    if (semicolons == 0)
        guess.semicolon = false;
    if (commas > semicolons) {
        guess.comma = true;
        guess.semicolon = false;
    }
    if (semicolons > commas) {
        guess.semicolon = true;
        guess.comma = false;
    }
    return guess;
}

// ---- previews ----

SeparatedPreview ReadSeparatedPreview(const QString& path, const SeparatedReading& reading, int maxRecords)
{
    SeparatedPreview preview;
    // Decoded as the reading decodes, so that the preview shows what will be stored.
    TextLineReader reader(path, reading.dosToWin);
    const bool dosToWin = reading.dosToWin && reader.encoding() == TextEncoding::Ansi;
    const ScanRules rules(reading.separators, reading.qualifier);
    QString line;
    for (int records = 0; records < maxRecords && reader.readLine(line); ++records) {
        const bool firstRecord = records == 0;
        PreviewRecord record;
        scanRecord(line, reader, rules, [&](int column, QString& value, bool atEnd) {
            if (column >= preview.columns) {
                // Beyond the columns the first line fixed: the text collects into one value, which the end of the
                // record then cannot place.
                if (atEnd)
                    record.tooManyValues = true;
                return false;
            }
            record.values << (dosToWin ? OemToAnsiStr(value) : value);
            if (firstRecord && !atEnd)
                ++preview.columns;
            return true;
        });
        if (record.tooManyValues)
            record.line = line;
        preview.records.push_back(std::move(record));
    }
    return preview;
}

QStringList ReadPreviewLines(const QString& path, bool dosToWin, int maxLines)
{
    QStringList lines;
    TextLineReader reader(path, dosToWin);
    const bool convert = dosToWin && reader.encoding() == TextEncoding::Ansi;
    QString line;
    while (lines.size() < maxLines && reader.readLine(line))
        lines << (convert ? OemToAnsiStr(line) : line);
    return lines;
}

// ---- headers ----

QStringList ColumnHeaders(int columns, bool newSetting, const QString& colNames)
{
    QStringList headers;
    if (newSetting) {
        for (int column = 0; column < columns; ++column)
            headers << QStringLiteral("FELD_") + QString::number(column + 1);
        return headers;
    }
    QString name;
    for (QChar ch : colNames) {
        if (headers.size() >= columns)
            break;
        if (ch == u';') {
            headers << name;
            name.clear();
        } else {
            name += ch;
        }
    }
    return headers;
}

}  // namespace engine
