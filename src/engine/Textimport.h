#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace db {
class BatchMove;
class Field;
class Table;
}  // namespace db

// Separated text sources: from the file to the source table in Temp.
//
// The road: the qualifier and separator guess from the first line, the preview of the first 20 records in the
// column grid, the column headers, the staging table ZSP.db (one 255-character text field per header), the whole
// file read into it, and the source table named after the file whose text fields are exactly as wide as their
// longest value. A file with neither separator nor qualifier is read in whole-line mode: one column, one value per
// line. The fixed-width road (TextimportFixLen.h) shares headers, staging and sizing.
//
// The routines work on the wizard's controls and tables, which they receive in a TextImportControls; the reading
// and sizing underneath (readSeparatedFile and friends) need no window, so tests and benchmarks run them alone.
namespace engine {

class CharacterGrid;
class TfrmGauge;
class TextReadProgress;
struct ColumnBoundaryList;

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

// The wizard's objects the text routines work on. The wizard fills one with its own controls and program-wide
// values; tests fill it with standalone widgets. frmGauge may be null: the routines then show no progress.
//
// stgQuellDatVar is a string grid with one fixed header row: row 0 is the grid's horizontal header (see
// PreviewGrid.h).
struct TextImportControls {
    QLineEdit* edtQuelle = nullptr;        // the source file's name
    QPlainTextEdit* retQuellDat = nullptr;  // the file as the page shows it; its line count sizes preview and bar
    QTableWidget* stgQuellDatVar = nullptr;
    CharacterGrid* stgQuellDatFix = nullptr;
    QLabel* lblVorschauVorber = nullptr;
    QCheckBox* cbxErsteZeile = nullptr;
    QCheckBox* cbxKomma = nullptr;
    QCheckBox* cbxTab = nullptr;
    QCheckBox* cbxSpace = nullptr;
    QCheckBox* cbxSemic = nullptr;
    QCheckBox* cbxAndere = nullptr;
    QLineEdit* edtAndere = nullptr;
    QComboBox* comDelimiter = nullptr;  // "(keine)", the double quote, the apostrophe
    QAbstractButton* rbtNeueImport = nullptr;
    QAbstractButton* btnErste = nullptr;
    QAbstractButton* btnLinks = nullptr;
    QAbstractButton* btnRechts = nullptr;
    QAbstractButton* btnLetzte = nullptr;
    QLineEdit* edtRenCols = nullptr;
    QCheckBox* cbxDosToWin = nullptr;  // of the source format options
    db::Table* tblImpList = nullptr;   // on the current setting's row
    db::Table* tblZSP = nullptr;
    db::Table* tblQuelle = nullptr;
    db::BatchMove* BMV = nullptr;
    TfrmGauge* frmGauge = nullptr;

    // Program-wide values of the wizard.
    SeparatorSet* separators = nullptr;
    ColumnBoundaryList* boundaries = nullptr;
    int* AktSpalte = nullptr;  // the column whose header is being renamed
};

// ---- the routines of the text pages ----

// The qualifier the first line uses: of the double quote and the apostrophe, the one that occurs twice first;
// empty when neither does. Raises EInOutError when the file cannot be opened.
QString TextbegrenzerErmitteln(const QString& FileName);
// Checks the comma or the semicolon box after the first line of edtQuelle, whichever occurs more often there.
void SearchSeparators(const TextImportControls& c);
// The separator boxes into the Separator set; true when any separator is on.
bool TrennzeichenUebernehmen(const TextImportControls& c);
// comDelimiter into Textbegrenzer; false for "(keine)".
bool TextbegrenzerUebernehmen(const TextImportControls& c);
// Every cell emptied, one row (the header) and one column left.
void RasterLeeren(QTableWidget* Grid);
void TrennzeichenVorschauZeigen(const TextImportControls& c);
void ZeilenVorschauZeigen(const TextImportControls& c);
void SpaltenNamenSetzen(const TextImportControls& c);
void VorschauAbschliessen(const TextImportControls& c);
void ZSPTabelleAnlegen(const TextImportControls& c);
void TrennzeichenDateiEinlesen(const TextImportControls& c, const QString& FileName, db::Table& Table, bool DosToWin);
void ZeilenInZSPEinlesen(const TextImportControls& c);
// The longest text of the field over all records, at least 1. The table must be open.
std::uint16_t MaxFeldLaenge(db::Table& Table, const QString& FieldName, TextReadProgress* progress = nullptr);
void FeldgroessenDefinieren(const TextImportControls& c);

// ---- the same work without a window ----

// Temp/ZSP.db below the program folder.
QString StagingTablePath();
// Temp/<the source file's name without its extension>.db below the program folder.
QString SourceTablePath(const QString& sourceFile);

// Creates the staging table: one text field of 255 characters for every non-empty header, in order (an existing
// table is replaced). Creates the Temp folder when it is missing.
void CreateStagingTable(db::Table& staging, const QString& path, const QStringList& headers);

// What a reading changed in the values it kept, for the message at its end.
struct TextReadResult {
    int cutValues = 0;           // values longer than their staging field, cut to it
    int replacedCharacters = 0;  // characters the staging table's code page cannot hold, stored as "?"
};

// Tells the person in one message how many values a reading cut and how many characters it replaced; nothing when
// it changed nothing.
void ReportTextReadChanges(const TextReadResult& result);

// Fills the staging table record by record for the readings below: opens it on construction (a closed table), keeps
// its data-aware controls quiet while it fills, and notes the longest value every field has taken so far. finish()
// posts the last record and closes the table; the longest values are then remembered with the records the process
// keeps of the scratch table, and the sizing takes them instead of reading every record once more, as long as
// nobody changed or wrote out those records in between.
// set() stores a value as the staging table's code page (Windows-1252, that of every new keyless table) holds it:
// with fromDos a text of DOS bytes read one a character is converted first; a character the code page lacks becomes
// "?". So a stored text is as long as its characters up to the field's size. The values it cut and the characters it
// replaced are counted for the records kept, not for those dropped.
class StagingFiller {
public:
    explicit StagingFiller(db::Table& staging, bool fromDos = false);
    ~StagingFiller();
    StagingFiller(const StagingFiller&) = delete;
    StagingFiller& operator=(const StagingFiller&) = delete;

    int fieldCount() const { return static_cast<int>(fields_.size()); }
    // Starts a new record, finishing the pending one as the table does (posted when changed).
    void append();
    void set(int field, const QString& value);
    // Drops the pending record.
    void cancel();
    // Posts the pending record and closes the table.
    void finish();
    const TextReadResult& result() const { return result_; }

private:
    void keepPending();

    db::Table& staging_;
    bool fromDos_;
    TextReadResult result_;
    TextReadResult pendingResult_;  // of the pending record
    std::vector<db::Field*> fields_;
    std::vector<int> sizes_;
    std::vector<int> pending_;  // lengths written into the pending record
    std::vector<int> longest_;  // over the records kept so far, each at least 1
    int kept_ = 0;
    bool quiet_ = false;
};

struct SeparatedReading {
    QString separators;  // every character that ends a value
    QChar qualifier;     // null: none
    bool firstLineHoldsNames = false;
    bool dosToWin = false;
};

// The readings below end with ReportTextReadChanges and return what it reported.

// Reads the whole separated file into the staging table (emptied first). Empty lines hold no record. A line the
// table cannot take (more values than fields) is asked about, line by line, as the page does: ignore it, keep what
// fitted, stop, or ignore all. Raises EInOutError when the file cannot be opened.
TextReadResult ReadSeparatedFile(const QString& path, db::Table& staging, const SeparatedReading& reading,
                                 TextReadProgress& progress);
// Every line (empty ones too) into the first field of the staging table (emptied first).
TextReadResult ReadWholeLines(const QString& path, db::Table& staging, bool firstLineHoldsNames, bool dosToWin,
                              TextReadProgress& progress);
// The longest text of every field, each at least 1, in one pass over the open table.
std::vector<int> MaxFieldLengths(db::Table& table, TextReadProgress* progress = nullptr);
// Creates the source table at sourcePath with one text field per staging field, as wide as its longest value,
// moves every staging record into it, and deletes the staging table. The source table is left closed.
void DefineFieldSizes(db::Table& staging, db::Table& source, const QString& sourcePath, db::BatchMove& mover,
                      TextReadProgress& progress);

// The text of a program text with its "%s" filled in.
QString TextWithLine(int textId, const QString& line);

}  // namespace engine
