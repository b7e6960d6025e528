#pragma once

#include "engine/TextReadProgress.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace db {
class BatchMove;
class Field;
class Table;
}  // namespace db

// Separated text sources: from the file to the source table in Temp.
//
// The road: the qualifier and separator guess from the first line, the preview of the first 20 records, the column
// headers, the staging table ZSP.db (one 255-character text field per header), the whole file read for it, and
// the source table named after the file whose text fields are exactly as wide as their longest value. A file with
// neither separator nor qualifier is read in whole-line mode: one column, one value per line. The fixed-width road
// (TextimportFixLen.h) shares headers, staging and sizing.
//
// Everything here works on values and tables: the guesses and previews come back as values, the headers go in as a
// list, and the reading reports, asks and learns of a cancel through a TextReadProgress. The text pages' logic
// that puts these into grids and check boxes is the wizard's.
//
// The German working names (ZSP, Quelle, Feld, FixLen, ...) are explained in WorkingTables.h.
namespace engine {

class EngineContext;

// The Separator set: each member is empty when off, else the one character it stands for.
struct SeparatorSet {
    QString TrennKomma;
    QString TrennTab;
    QString TrennSpace;
    QString TrennSemic;
    QString TrennAndere;
    QString Textbegrenzer;  // the qualifier: a double quote, an apostrophe, or empty

    // The characters that end a value.
    QString separators() const { return TrennKomma + TrennTab + TrennSpace + TrennSemic + TrennAndere; }
    QChar qualifier() const { return Textbegrenzer.isEmpty() ? QChar() : Textbegrenzer.at(0); }
};

// ---- guesses from the first line ----

// The qualifier the first line uses: of the double quote and the apostrophe, the one that occurs twice first;
// empty when neither does. Raises EInOutError when the file cannot be opened.
QString TextbegrenzerErmitteln(const QString& FileName);

// What the first line says about the comma and the semicolon box: on, off, or nothing (the box stays as it is).
struct SeparatorGuess {
    std::optional<bool> comma;
    std::optional<bool> semicolon;
};
// Whichever of the two occurs more often in the first line is on and the other off; one that does not occur at all
// is off; equal counts say nothing. Raises EInOutError when the file cannot be opened.
SeparatorGuess GuessSeparators(const QString& FileName);

// ---- previews ----

struct SeparatedReading {
    QString separators;  // every character that ends a value
    QChar qualifier;     // null: none
    bool firstLineHoldsNames = false;
    bool dosToWin = false;
};

// One record of a separated preview.
struct PreviewRecord {
    // Its values from column 0, converted; a record with fewer values than columns leaves the rest empty.
    QStringList values;
    // The record held more values than the first one: the page asks about the line (as the file holds it) before
    // it goes on.
    bool tooManyValues = false;
    QString line;
};

struct SeparatedPreview {
    int columns = 1;  // the first record's values: its separators + 1
    std::vector<PreviewRecord> records;
};

// The first records of a separated file, at most maxRecords, each cut by the record scanner (continuation lines
// of quoted values do not count). The first record fixes the columns; a later value beyond them collects into the
// last one, which the record then cannot place. firstLineHoldsNames is not looked at: the page shows the first line
// in its header row. Raises EInOutError when the file cannot be opened.
SeparatedPreview ReadSeparatedPreview(const QString& path, const SeparatedReading& reading, int maxRecords);

// The whole-line preview reads one line more than the separated one.
constexpr int PreviewLineCount = 21;
// The first lines of a file as they stand, empty ones too, at most maxLines; converted with dosToWin. Raises
// EInOutError when the file cannot be opened.
QStringList ReadPreviewLines(const QString& path, bool dosToWin, int maxLines = PreviewLineCount);

// ---- headers ----

// The headers of the columns: for a new setting FELD_1, FELD_2 and so on, one per column; for a stored one the
// titles its ColNames holds (each followed by ";"), at most one per column: columns beyond them get none, and text
// after the last ";" is no title.
QStringList ColumnHeaders(int columns, bool newSetting, const QString& colNames);

// ---- staging, reading and sizing ----

// Temp/ZSP.db below the program folder.
QString StagingTablePath(const EngineContext& engine);
// Temp/<the source file's name without its extension>.db below the program folder.
QString SourceTablePath(const EngineContext& engine, const QString& sourceFile);

struct StagedRows;

// The records a reading staged for the sizing, with the staging table they belong to. Whoever reads holds them
// until the sizing takes them (a large file's records, so they are moved on, never copied). Creating the staging
// table anew or another reading forgets them.
class StagedRecords {
public:
    StagedRecords();
    ~StagedRecords();
    StagedRecords(const StagedRecords&) = delete;
    StagedRecords& operator=(const StagedRecords&) = delete;

    void clear();
    // The records of a reading into the staging table at stagingPath, in place of any held before.
    void keep(const QString& stagingPath, std::unique_ptr<StagedRows> rows);
    // The records staged for the staging table at stagingPath, or none; they are forgotten in any case, so they
    // serve one sizing at most.
    std::unique_ptr<StagedRows> take(const QString& stagingPath);

    // The bytes of staged values a reading keeps in memory; the values beyond them wait in a scratch file beside
    // the staging table, which goes with the records on every way out. Set before the reading.
    std::size_t memoryBound() const { return memoryBound_; }
    void setMemoryBound(std::size_t bytes);
    // The scratch file of the records held, while there is one.
    QString scratchPath() const;

private:
    QString key_;
    std::unique_ptr<StagedRows> rows_;
    std::size_t memoryBound_ = std::size_t(32) << 20;
};

// Creates the staging table: one text field of 255 characters for every non-empty header, in order (an existing
// table is replaced), and forgets the records staged for the one before. Creates the Temp folder when it is
// missing.
void CreateStagingTable(db::Table& staging, StagedRecords& staged, const QString& path, const QStringList& headers);

// What a reading changed in the values it kept, for the message at its end.
// Tells the person in one message how many values a reading cut and how many characters it replaced; nothing when
// it changed nothing. The wizard's reading observer calls it when it is told of changes.
void ReportTextReadChanges(const TextReadResult& result);

// Takes the records of a reading for the staging table, record by record. The records are not written into the
// staging table's 255-character fields: they are held compactly, each value as the staging table would hold it and
// no longer, together with the longest value every field has taken, so that memory grows with the file's values
// and not with its lines times the staging table's record size. Making the filler forgets the records staged
// before; finish() posts the last record and leaves the records in staged for the sizing (DefineFieldSizes), which
// writes them into the sized source table and nowhere else, ahead of any record somebody wrote into the staging
// table itself.
// set() stores a value as the staging table's code page (Windows-1252, that of every new keyless table) holds it:
// with fromDos a text of DOS bytes read one a character is converted first; a character the code page lacks becomes
// "?". So a stored text is as long as its characters up to the field's size. The values it cut and the characters it
// replaced are counted for the records kept, not for those dropped.
class StagingFiller {
public:
    StagingFiller(db::Table& staging, StagedRecords& staged, bool fromDos = false);
    ~StagingFiller();
    StagingFiller(const StagingFiller&) = delete;
    StagingFiller& operator=(const StagingFiller&) = delete;

    int fieldCount() const { return static_cast<int>(sizes_.size()); }
    // Starts a new record, finishing the pending one as the table does (kept when any value was set).
    void append();
    void set(int field, const QString& value);
    // The same for a value that is the bytes of a file read one byte a character (Windows-1252, or DOS bytes with
    // fromDos).
    void setBytes(int field, QByteArrayView value);
    // Drops the pending record.
    void cancel();
    // Keeps the pending record and hands the records on to the sizing.
    void finish();
    const TextReadResult& result() const { return result_; }

private:
    void keepPending();

    db::Table& staging_;
    StagedRecords& staged_;
    bool fromDos_;
    TextReadResult result_;
    TextReadResult pendingResult_;  // of the pending record
    std::vector<int> sizes_;
    std::vector<std::string> pending_;  // the pending record's values in the code page, each cut to its field
    bool pendingOpen_ = false;
    bool pendingSet_ = false;
    std::unique_ptr<StagedRows> rows_;
};

// The readings below tell their observer of the values they changed (valuesChanged) and return the same counts;
// they leave the records they read in staged, for the sizing.

// Reads the whole separated file into the staging table (emptied first). Empty lines hold no record, and a comma or
// semicolon closing a line is dropped while that separator is on. A line the table cannot take (more values than
// fields) is asked about through progress, line by line (a blank answer keeps what it gave).
// Raises EInOutError when the file cannot be opened.
TextReadResult ReadSeparatedFile(const QString& path, db::Table& staging, StagedRecords& staged,
                                 const SeparatedReading& reading, TextReadProgress& progress);
// Every line (empty ones too) into the first field of the staging table (emptied first).
TextReadResult ReadWholeLines(const QString& path, db::Table& staging, StagedRecords& staged, bool firstLineHoldsNames,
                              bool dosToWin, TextReadProgress& progress);
// The longest text of the field over all records, at least 1. The table must be open.
std::uint16_t MaxFeldLaenge(db::Table& Table, const QString& FieldName, TextReadProgress* progress = nullptr);
// The longest text of every field, each at least 1, in one pass over the open table.
std::vector<int> MaxFieldLengths(db::Table& table, TextReadProgress* progress = nullptr);
// Creates the source table at sourcePath with one text field per staging field, as wide as its longest value,
// moves the records staged for the staging table (taken from staged) and then the staging table's own into it, and
// deletes the staging table. The source table is left closed.
void DefineFieldSizes(db::Table& staging, StagedRecords& staged, db::Table& source, const QString& sourcePath,
                      db::BatchMove& mover, TextReadProgress& progress);

// The text of a program text with its "%s" filled in.
QString TextWithLine(int textId, const QString& line);

}  // namespace engine
