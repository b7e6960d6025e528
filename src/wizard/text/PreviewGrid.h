#pragma once

#include <QString>

class QTableWidget;

namespace wizard {
class TextFileView;
}

// The column grid of the text pages addressed as a string grid with one fixed header row: row 0 is the grid's
// horizontal header, rows 1 and on are its table rows. Column and row are counted from 0, column first, as the
// routines that fill the grid count them.
namespace wizard::grid {

int RowCount(const QTableWidget* grid);
// At least 1 (the header row).
void setRowCount(QTableWidget* grid, int rows);
int ColCount(const QTableWidget* grid);
void setColCount(QTableWidget* grid, int columns);

// Empty for a cell that does not exist.
QString Cell(const QTableWidget* grid, int column, int row);
// The cell must exist.
void setCell(QTableWidget* grid, int column, int row, const QString& text);

int ColWidth(const QTableWidget* grid, int column);
void setColWidth(QTableWidget* grid, int column, int width);
// Every column gets this width, as do columns added later.
void setDefaultColWidth(QTableWidget* grid, int width);

// The grid's own width limit: a cell of a 100,000-character line must not make a column a million pixels wide.
constexpr int MaxColWidth = 32767;
// The width a column needs for text at 10 pixels per character (capped).
int WidthFor(const QString& text);

// Widens a column to the width its text needs, never narrows it.
void Widen(QTableWidget* grid, int column, const QString& text);

// Readies the column grid for a preview: rows (the header row included), default column width 0, the header row
// shown as the grid's one fixed row, no fixed column.
void PrepareRows(QTableWidget* grid, int rows);
// Rows of a preview of the file the view shows: one per line plus the header row, at most 21.
int PreviewRowCount(const TextFileView* view);

// Lines of the page's text view as the reader counts them: a last empty line (the text ends in a line break) does
// not count, an empty view has none.
int LineCount(const TextFileView* view);

}  // namespace wizard::grid
