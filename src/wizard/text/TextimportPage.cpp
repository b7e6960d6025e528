#include "wizard/text/TextimportPage.h"

#include "db/Table.h"
#include "engine/TextScanner.h"
#include "engine/TextimportFixLen.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"
#include "wizard/text/ColumnNames.h"
#include "wizard/text/GaugeTextProgress.h"
#include "wizard/text/PreviewGrid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>

namespace wizard {

namespace {

constexpr int PreviewRecords = 20;

// The grid as a string grid with one fixed row and no fixed column, one row per line of the file and the header.
void prepareRows(const TextImportControls& c)
{
    grid::PrepareRows(c.stgQuellDatVar, grid::PreviewRowCount(c.retQuellDat));
}

void showGrid(const TextImportControls& c)
{
    c.stgQuellDatVar->show();
    c.lblVorschauVorber->hide();
}

engine::SeparatedReading readingOf(const TextImportControls& c, bool dosToWin)
{
    engine::SeparatedReading reading;
    reading.separators = c.separators->separators();
    reading.qualifier = c.separators->qualifier();
    reading.firstLineHoldsNames = Checked(c.cbxErsteZeile);
    reading.dosToWin = dosToWin;
    return reading;
}

}  // namespace

bool Checked(const QCheckBox* box)
{
    return box && box->isChecked();
}

std::unique_ptr<engine::TextReadProgress> ReadingProgress(const TextImportControls& c)
{
    if (c.frmGauge)
        return std::make_unique<GaugeTextProgress>(*c.frmGauge, c.retQuellDat ? grid::LineCount(c.retQuellDat) : 0);
    return std::make_unique<AskingTextProgress>();
}

QStringList GridHeaders(const QTableWidget* grid)
{
    QStringList headers;
    for (int column = 0; column < grid::ColCount(grid); ++column)
        headers << grid::Cell(grid, column, 0);
    return headers;
}

// ---- guesses from the first line ----

void SearchSeparators(const TextImportControls& c)
{
    engine::SeparatorGuess guess;
    try {
        guess = engine::GuessSeparators(c.edtQuelle->text());
    } catch (const engine::EInOutError&) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64960), platform::Buttons::Ok);
        return;
    }
    if (guess.comma)
        c.cbxKomma->setChecked(*guess.comma);
    if (guess.semicolon)
        c.cbxSemic->setChecked(*guess.semicolon);
}

bool TrennzeichenUebernehmen(const TextImportControls& c)
{
    engine::SeparatorSet& s = *c.separators;
    s.TrennKomma = Checked(c.cbxKomma) ? QStringLiteral(",") : QString();
    s.TrennTab = Checked(c.cbxTab) ? QStringLiteral("\t") : QString();
    s.TrennSpace = Checked(c.cbxSpace) ? QStringLiteral(" ") : QString();
    s.TrennSemic = Checked(c.cbxSemic) ? QStringLiteral(";") : QString();
    s.TrennAndere = Checked(c.cbxAndere) && !c.edtAndere->text().isEmpty() ? c.edtAndere->text().left(1) : QString();
    return !s.separators().isEmpty();
}

bool TextbegrenzerUebernehmen(const TextImportControls& c)
{
    switch (c.comDelimiter->currentIndex()) {
    case 1:
        c.separators->Textbegrenzer = QStringLiteral("\"");
        return true;
    case 2:
        c.separators->Textbegrenzer = QStringLiteral("'");
        return true;
    default:
        c.separators->Textbegrenzer.clear();
        return false;
    }
}

// ---- the previews ----

void RasterLeeren(QTableWidget* Grid)
{
    Grid->clear();  // cells and header items
    Grid->setRowCount(0);
    Grid->setColumnCount(0);
    grid::setColCount(Grid, 1);
}

void TrennzeichenVorschauZeigen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    g->hide();
    c.lblVorschauVorber->show();
    RasterLeeren(g);
    const bool anySeparator = TrennzeichenUebernehmen(c);
    const bool anyQualifier = TextbegrenzerUebernehmen(c);
    if (!anySeparator && !anyQualifier) {
        ZeilenVorschauZeigen(c);
        return;
    }
    prepareRows(c);
    const bool namesInFirstLine = Checked(c.cbxErsteZeile);
    const int firstRow = namesInFirstLine ? 0 : 1;
    // The page's view of the file may hold fewer lines than the file has records; the grid is full then.
    const int records = std::clamp(grid::RowCount(g) - firstRow, 0, PreviewRecords);
    const engine::SeparatedPreview preview =
        engine::ReadSeparatedPreview(c.edtQuelle->text(), readingOf(c, Checked(c.cbxDosToWin)), records);

    grid::setColCount(g, preview.columns);
    int row = firstRow;
    for (const engine::PreviewRecord& record : preview.records) {
        for (int column = 0; column < record.values.size(); ++column) {
            grid::setCell(g, column, row, record.values[column]);
            grid::Widen(g, column, record.values[column]);
        }
        ++row;
        if (record.tooManyValues &&
            platform::MessageBox(platform::MessageType::Error, engine::TextWithLine(64961, record.line),
                                 platform::Buttons::OkCancel) == platform::Button::Cancel)
            break;
    }
    if (!namesInFirstLine)
        SpaltenNamenSetzen(c);
    showGrid(c);
    VorschauAbschliessen(c);
}

void ZeilenVorschauZeigen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    prepareRows(c);
    grid::setColCount(g, 1);
    const bool namesInFirstLine = Checked(c.cbxErsteZeile);
    const QStringList lines = engine::ReadPreviewLines(c.edtQuelle->text(), Checked(c.cbxDosToWin));
    int width = 0;
    int row = namesInFirstLine ? 0 : 1;
    // The grid may have no row for the last lines read; they still widen the column.
    for (const QString& line : lines) {
        if (row < grid::RowCount(g))
            grid::setCell(g, 0, row, line);
        width = std::max(width, grid::WidthFor(line));
        ++row;
    }
    grid::setDefaultColWidth(g, width);
    if (!namesInFirstLine)
        SpaltenNamenSetzen(c);
    showGrid(c);
    // The one column is ready for its name, as after any other preview: the rename box must not keep the name of
    // a column of an earlier preview (or nothing), which the forward step would then refuse or store.
    VorschauAbschliessen(c);
}

void SpaltenNamenSetzen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    const int columns = grid::ColCount(g);
    const bool newSetting = c.rbtNeueImport->isChecked();
    const QString colNames =
        newSetting ? QString() : c.tblImpList->FieldByName(QStringLiteral("ColNames"))->AsString();
    const QStringList headers = engine::ColumnHeaders(columns, newSetting, colNames);
    for (int column = 0; column < headers.size(); ++column) {
        grid::setCell(g, column, 0, headers[column]);
        grid::Widen(g, column, headers[column]);
    }
    c.btnErste->setEnabled(false);
    c.btnLinks->setEnabled(false);
    c.btnRechts->setEnabled(columns > 1);
    c.btnLetzte->setEnabled(columns > 1);
}

void VorschauAbschliessen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    const bool several = grid::ColCount(g) > 1;
    c.btnLinks->setEnabled(false);
    c.btnErste->setEnabled(false);
    c.btnRechts->setEnabled(several);
    c.btnLetzte->setEnabled(several);
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    g->clearSelection();
    if (g->rowCount() > 0 && g->columnCount() > 0)
        g->setRangeSelected(QTableWidgetSelectionRange(0, 0, g->rowCount() - 1, 0), true);
    c.edtRenCols->setText(grid::Cell(g, 0, 0));
    *c.AktSpalte = 0;
}

// ---- naming the columns ----

namespace {

constexpr int NamingHelpContext = 18;

bool refuseName(const TextImportControls& c, platform::MessageType type, const QString& text)
{
    platform::MessageBox(type, text, platform::Buttons::OkHelp, NamingHelpContext);
    c.edtRenCols->setFocus();
    return false;
}

}  // namespace

bool SpaltennameSpeichern(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    const QString name = c.edtRenCols->text();
    const int current = *c.AktSpalte;
    if (name.isEmpty())
        return refuseName(c, platform::MessageType::Information, texts::Text(64917));
    if (name.startsWith(u' '))
        return refuseName(c, platform::MessageType::Error, texts::Text(64918));
    for (int column = 0; column < grid::ColCount(g); ++column) {
        if (column != current && grid::Cell(g, column, 0).compare(name, Qt::CaseInsensitive) == 0) {
            return refuseName(c, platform::MessageType::Error,
                              texts::Format(texts::Text(64919), {grid::Cell(g, column, 0), QString::number(column + 1)}));
        }
    }
    if (current < 0 || current >= grid::ColCount(g))
        return true;
    grid::setCell(g, current, 0, name);
    grid::Widen(g, current, name);
    return true;
}

void SpalteWaehlen(const TextImportControls& c, int column, bool focus)
{
    QTableWidget* g = c.stgQuellDatVar;
    const int last = grid::ColCount(g) - 1;
    column = std::clamp(column, 0, std::max(last, 0));
    c.btnErste->setEnabled(column > 0);
    c.btnLinks->setEnabled(column > 0);
    c.btnRechts->setEnabled(column < last);
    c.btnLetzte->setEnabled(column < last);
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    g->clearSelection();
    if (g->rowCount() > 0 && g->columnCount() > 0)
        g->setRangeSelected(QTableWidgetSelectionRange(0, column, g->rowCount() - 1, column), true);
    if (column < g->columnCount())
        g->scrollTo(g->model()->index(0, column));
    c.edtRenCols->setText(grid::Cell(g, column, 0));
    *c.AktSpalte = column;
    if (focus)
        c.edtRenCols->setFocus();
}

bool SpaltennamenPruefen(const TextImportControls& c)
{
    const auto problem = CheckColumnNames(GridHeaders(c.stgQuellDatVar));
    if (!problem)
        return true;
    platform::MessageBox(platform::MessageType::Error, problem->message, platform::Buttons::OkHelp, NamingHelpContext);
    SpalteWaehlen(c, problem->column, true);
    return false;
}

// ---- staging, reading, sizing ----

void ZSPTabelleAnlegen(const TextImportControls& c)
{
    engine::CreateStagingTable(*c.tblZSP, *c.staged, engine::StagingTablePath(*c.engine),
                               GridHeaders(c.stgQuellDatVar));
}

bool TrennzeichenDateiEinlesen(const TextImportControls& c, const QString& FileName, db::Table& Table, bool DosToWin)
{
    const bool anySeparator = TrennzeichenUebernehmen(c);
    const bool anyQualifier = TextbegrenzerUebernehmen(c);
    if (!anySeparator && !anyQualifier)
        return ZeilenInZSPEinlesen(c);
    const auto progress = ReadingProgress(c);
    engine::ReadSeparatedFile(FileName, Table, *c.staged, readingOf(c, DosToWin), *progress);
    return !progress->cancelled();
}

bool ZeilenInZSPEinlesen(const TextImportControls& c)
{
    const auto progress = ReadingProgress(c);
    engine::ReadWholeLines(c.edtQuelle->text(), *c.tblZSP, *c.staged, Checked(c.cbxErsteZeile),
                           Checked(c.cbxDosToWin), *progress);
    return !progress->cancelled();
}

void FeldgroessenDefinieren(const TextImportControls& c)
{
    const auto progress = ReadingProgress(c);
    // The source table is made afresh in Temp, where nobody else reads: filled without the exclusive hold, the
    // staged records go in as they were staged instead of record by record. The hold is back for every later open.
    const bool exclusive = c.tblQuelle->Exclusive();
    c.tblQuelle->Close();
    c.tblQuelle->setExclusive(false);
    try {
        engine::DefineFieldSizes(*c.tblZSP, *c.staged, *c.tblQuelle,
                                 engine::SourceTablePath(*c.engine, c.edtQuelle->text()), *c.BMV, *progress);
    } catch (...) {
        c.tblQuelle->Close();
        c.tblQuelle->setExclusive(exclusive);
        throw;
    }
    c.tblQuelle->Close();
    c.tblQuelle->setExclusive(exclusive);
}

}  // namespace wizard
