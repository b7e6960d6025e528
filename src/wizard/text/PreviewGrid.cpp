#include "wizard/text/PreviewGrid.h"

#include <QHeaderView>
#include "wizard/text/TextFileView.h"

#include <QTableWidget>
#include <algorithm>

namespace wizard::grid {

namespace {

QTableWidgetItem* newItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

int RowCount(const QTableWidget* grid)
{
    return grid->rowCount() + 1;
}

void setRowCount(QTableWidget* grid, int rows)
{
    grid->setRowCount(std::max(rows, 1) - 1);
}

int ColCount(const QTableWidget* grid)
{
    return grid->columnCount();
}

void setColCount(QTableWidget* grid, int columns)
{
    const int before = grid->columnCount();
    grid->setColumnCount(columns);
    const int width = grid->horizontalHeader()->defaultSectionSize();
    for (int c = before; c < columns; ++c) {
        // Without an item of its own the header would show the column's number.
        grid->setHorizontalHeaderItem(c, newItem(QString()));
        grid->setColumnWidth(c, width);
    }
}

QString Cell(const QTableWidget* grid, int column, int row)
{
    if (column < 0 || column >= grid->columnCount() || row < 0 || row > grid->rowCount())
        return QString();
    const QTableWidgetItem* item = row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget* grid, int column, int row, const QString& text)
{
    if (row == 0) {
        if (QTableWidgetItem* item = grid->horizontalHeaderItem(column))
            item->setText(text);
        else
            grid->setHorizontalHeaderItem(column, newItem(text));
        return;
    }
    if (QTableWidgetItem* item = grid->item(row - 1, column))
        item->setText(text);
    else
        grid->setItem(row - 1, column, newItem(text));
}

int ColWidth(const QTableWidget* grid, int column)
{
    return grid->columnWidth(column);
}

void setColWidth(QTableWidget* grid, int column, int width)
{
    grid->setColumnWidth(column, width);
}

void setDefaultColWidth(QTableWidget* grid, int width)
{
    QHeaderView* header = grid->horizontalHeader();
    header->setMinimumSectionSize(0);
    header->setDefaultSectionSize(width);
    for (int c = 0; c < grid->columnCount(); ++c)
        grid->setColumnWidth(c, width);
}

int WidthFor(const QString& text)
{
    return static_cast<int>(std::min<qsizetype>(qsizetype(10) * text.size(), MaxColWidth));
}

void Widen(QTableWidget* grid, int column, const QString& text)
{
    setColWidth(grid, column, std::max(ColWidth(grid, column), WidthFor(text)));
}

void PrepareRows(QTableWidget* grid, int rows)
{
    setRowCount(grid, rows);
    setDefaultColWidth(grid, 0);
    grid->horizontalHeader()->show();
    grid->verticalHeader()->hide();
}

int PreviewRowCount(const TextFileView* view)
{
    return std::min(LineCount(view) + 1, 21);
}

int LineCount(const TextFileView* view)
{
    int count = view->lineCount();
    if (count > 0 && view->line(count - 1).isEmpty())
        --count;
    return count;
}

}  // namespace wizard::grid
