#pragma once

#include "engine/Textimport.h"

#include <memory>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace db {
class BatchMove;
class Table;
}  // namespace db

namespace engine {
class TextReadProgress;
struct ColumnBoundaryList;
}  // namespace engine

// The page logic of the text pages around the separated road: what the check boxes mean for the reading, what
// fills the column grid from the engine's previews, where the headers come from, and which window watches the
// reading. The engine's routines underneath (engine/Textimport.h) take values and tables only.
namespace wizard {

class CharacterGrid;
class TextFileView;
class TfrmGauge;

// The wizard's objects the text pages work on. The wizard fills one with its own controls and program-wide values;
// tests fill it with standalone widgets. frmGauge may be null: the reading then shows no progress, but still asks
// about faulty lines.
//
// stgQuellDatVar is a string grid with one fixed header row: row 0 is the grid's horizontal header (see
// PreviewGrid.h).
struct TextImportControls {
    QLineEdit* edtQuelle = nullptr;        // the source file's name
    TextFileView* retQuellDat = nullptr;  // the file as the page shows it; its line count sizes preview and bar
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
    engine::StagedRecords* staged = nullptr;  // what the reading into tblZSP staged, until the sizing takes it
    db::Table* tblQuelle = nullptr;
    db::BatchMove* BMV = nullptr;
    TfrmGauge* frmGauge = nullptr;
    const engine::EngineContext* engine = nullptr;  // where Temp lies

    // Program-wide values of the wizard.
    engine::SeparatorSet* separators = nullptr;
    engine::ColumnBoundaryList* boundaries = nullptr;
    int* AktSpalte = nullptr;  // the column whose header is being renamed
};

// Checks the comma or the semicolon box after the first line of edtQuelle, whichever occurs more often there; a
// file that cannot be read is reported (text 64960) and changes nothing.
void SearchSeparators(const TextImportControls& c);
// The separator boxes into the Separator set; true when any separator is on.
bool TrennzeichenUebernehmen(const TextImportControls& c);
// comDelimiter into Textbegrenzer; false for "(keine)".
bool TextbegrenzerUebernehmen(const TextImportControls& c);
// Every cell emptied, one row (the header) and one column left.
void RasterLeeren(QTableWidget* Grid);
// The first 20 records cut at the separators into the column grid; a record with more values than the first is
// asked about (text 64961: OK goes on, Cancel ends the preview). Whole lines when nothing separates.
void TrennzeichenVorschauZeigen(const TextImportControls& c);
void ZeilenVorschauZeigen(const TextImportControls& c);
// The header row: FELD_n for a new setting, else the current setting's ColNames; then the renaming buttons.
void SpaltenNamenSetzen(const TextImportControls& c);
// Column 0 selected for renaming.
void VorschauAbschliessen(const TextImportControls& c);
// The name typed in edtRenCols becomes the header of column AktSpalte: false, with a message (help context 18) and
// the focus in edtRenCols, for an empty name (text 64917), one beginning with a blank (64918) or one another column
// has already, ignoring case (64919).
bool SpaltennameSpeichern(const TextImportControls& c);
// The column selected for renaming: the moving buttons, the whole column selected, its header in edtRenCols, and
// AktSpalte; focus: edtRenCols gets the focus.
void SpalteWaehlen(const TextImportControls& c, int column, bool focus);
// The first header the tables cannot take is reported (naming its column), selected for renaming, and the answer
// is false; true when every header can become a field name.
bool SpaltennamenPruefen(const TextImportControls& c);
// The staging table from the header row.
void ZSPTabelleAnlegen(const TextImportControls& c);
// The readings answer false when the person cancelled them in the progress window.
bool TrennzeichenDateiEinlesen(const TextImportControls& c, const QString& FileName, db::Table& Table, bool DosToWin);
bool ZeilenInZSPEinlesen(const TextImportControls& c);
void FeldgroessenDefinieren(const TextImportControls& c);

// What watches the readings of the page: the progress window when there is one.
std::unique_ptr<engine::TextReadProgress> ReadingProgress(const TextImportControls& c);
// Whether a check box of the page is there and checked.
bool Checked(const QCheckBox* box);
// The headers of the column grid's row 0, every column.
QStringList GridHeaders(const QTableWidget* grid);

}  // namespace wizard
