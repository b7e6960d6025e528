#include "wizard/text/TextimportFixLenPage.h"

#include "engine/TextReadProgress.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/PreviewGrid.h"
#include "wizard/text/TextFileView.h"
#include "wizard/text/TextimportPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <algorithm>
#include <set>

namespace wizard {

namespace {

constexpr int PreviewLines = 20;

}  // namespace

// ---- the marks ----

void TrennlinieZeichnen(const TextImportControls& c, int Slot, int Colour)
{
    const int column = c.boundaries->FixTrennPositionen.at(static_cast<std::size_t>(Slot));
    if (Colour == clWhite)
        c.stgQuellDatFix->eraseMark(column);
    else
        c.stgQuellDatFix->drawMark(column);
}

void TrennlinienNeuZeichnen(const TextImportControls& c)
{
    const engine::ColumnBoundaryList& list = *c.boundaries;
    std::set<int> marks;
    const int count = std::clamp(list.FixTrennAnzahl, 0, engine::BoundarySlotCount);
    for (int slot = 0; slot < count; ++slot) {
        // A 0 left by a split is no boundary and draws nothing.
        if (list.FixTrennPositionen[static_cast<std::size_t>(slot)] >= 1)
            marks.insert(list.FixTrennPositionen[static_cast<std::size_t>(slot)]);
    }
    c.stgQuellDatFix->setMarks(marks);
}

void TrennlinienAlleZeichnen(const TextImportControls& c)
{
    std::set<int> marks;
    for (std::int16_t value : c.boundaries->FixTrennPositionen) {
        if (value >= 1)
            marks.insert(value);
    }
    c.stgQuellDatFix->setMarks(marks);
}

// ---- editing the marks ----

void TrennposKlick(const TextImportControls& c, int column)
{
    if (column > 0)
        engine::TrennposHinzufuegen(*c.boundaries, column);
    TrennlinienAlleZeichnen(c);
}

bool TrennposMausGedrueckt(const TextImportControls& c, bool leftButton, int column)
{
    engine::ColumnBoundaryList& list = *c.boundaries;
    const int slot = column >= 0 ? engine::TrennposSuchen(list, column) : -1;
    bool caught = false;
    if (slot >= 0) {
        if (leftButton) {
            list.FixTrennDragIndex = slot;
            caught = true;
        } else {
            TrennlinieZeichnen(c, slot, clWhite);
            engine::TrennposEntfernen(list, column);
        }
    }
    TrennlinienAlleZeichnen(c);
    return caught;
}

void TrennposDoppelklick(const TextImportControls& c, int column)
{
    const int slot = column >= 0 ? engine::TrennposSuchen(*c.boundaries, column) : -1;
    if (slot >= 0) {
        TrennlinieZeichnen(c, slot, clWhite);
        engine::TrennposEntfernen(*c.boundaries, column);
    }
    TrennlinienAlleZeichnen(c);
}

bool TrennposZiehen(const TextImportControls& c, int column)
{
    engine::ColumnBoundaryList& list = *c.boundaries;
    if (column <= 0 || column > engine::MaxBoundary)
        return false;
    const int slot = list.FixTrennDragIndex;
    if (slot < 0 || slot >= engine::BoundarySlotCount)
        return true;
    std::int16_t& value = list.FixTrennPositionen[static_cast<std::size_t>(slot)];
    if (value != column) {
        // Another mark on the old place stays drawn.
        if (engine::TrennposSuchenAndere(list, value, slot) < 0)
            TrennlinieZeichnen(c, slot, clWhite);
        value = static_cast<std::int16_t>(column);
        TrennlinieZeichnen(c, slot, clRed);
    }
    return true;
}

void TrennposAblegen(const TextImportControls& c, int column)
{
    engine::ColumnBoundaryList& list = *c.boundaries;
    const int slot = list.FixTrennDragIndex;
    if (column > 0 && slot >= 0 && slot < engine::BoundarySlotCount) {
        const int other =
            engine::TrennposSuchenAndere(list, list.FixTrennPositionen[static_cast<std::size_t>(slot)], slot);
        if (other >= 0)
            list.FixTrennPositionen[static_cast<std::size_t>(other)] = engine::FreeSlot;
    }
    TrennlinienNeuZeichnen(c);
    list.FixTrennDragIndex = -1;
}

// ---- the character grid ----

void FixLenZeichenRasterFuellen(const TextImportControls& c)
{
    CharacterGrid* g = c.stgQuellDatFix;
    g->clearContent();
    engine::PrepareMarking(*c.boundaries);
    const QStringList lines = engine::CharacterGridLines(
        c.retQuellDat->lines(0, engine::CharacterGridLineCount + 1).join(u'\n'));
    // One column more than the first line is long, so that a mark can close its last field.
    const qsizetype firstLength = lines.first().size();
    g->setContent(lines, static_cast<int>(std::min<qsizetype>(firstLength + 1, CharacterGrid::MaxColumns)));
}

// ---- splitting ----

void FixLenVorschauAufteilen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    g->hide();
    c.lblVorschauVorber->show();
    RasterLeeren(g);
    const int first = engine::PrepareSplit(*c.boundaries);
    if (first < 0) {
        ZeilenVorschauZeigen(c);
        return;
    }
    grid::PrepareRows(g, grid::PreviewRowCount(c.retQuellDat));
    const bool namesInFirstLine = Checked(c.cbxErsteZeile);
    const int firstRow = namesInFirstLine ? 0 : 1;
    const int lines = std::clamp(grid::RowCount(g) - firstRow, 0, PreviewLines);
    const std::vector<QStringList> rows = engine::ReadFixedWidthPreview(
        c.edtQuelle->text(), c.boundaries->FixTrennPositionen, first, Checked(c.cbxDosToWin), lines);
    // Every line gives as many fields as there are boundaries and one more: the first fixes the columns.
    if (!rows.empty())
        grid::setColCount(g, static_cast<int>(rows.front().size()));
    int row = firstRow;
    for (const QStringList& fields : rows) {
        for (int column = 0; column < fields.size() && column < grid::ColCount(g); ++column) {
            grid::setCell(g, column, row, fields[column]);
            grid::Widen(g, column, fields[column]);
        }
        ++row;
    }
    if (!namesInFirstLine)
        SpaltenNamenSetzen(c);
    c.lblVorschauVorber->hide();
    g->show();
    VorschauAbschliessen(c);
}

bool FixLenDateiEinlesen(const TextImportControls& c)
{
    const int first = engine::PrepareSplit(*c.boundaries);
    if (first < 0)
        return ZeilenInZSPEinlesen(c);
    const auto progress = ReadingProgress(c);
    engine::ReadFixedWidthFile(c.edtQuelle->text(), *c.tblZSP, *c.staged, c.boundaries->FixTrennPositionen, first,
                               Checked(c.cbxErsteZeile), Checked(c.cbxDosToWin), *progress);
    return !progress->cancelled();
}

}  // namespace wizard
