#include "wizard/text/CharacterGrid.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace wizard {

int CharacterGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CharacterGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant CharacterGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole) {
        const QString& row = rows_.at(index.row());
        return index.column() < row.size() ? QString(row.at(index.column())) : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

void CharacterGridModel::setContent(const QStringList& rows, int columns)
{
    beginResetModel();
    rows_ = rows;
    columns_ = columns;
    endResetModel();
}

CharacterGrid::CharacterGrid(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("stgQuellDatFix"));
    setModel(&model_);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as high as the characters, so that a screen shows as many lines as the view of the file.
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    clearContent();
}

int CharacterGrid::RowCount() const
{
    return model_.rowCount();
}

int CharacterGrid::ColCount() const
{
    return model_.columnCount();
}

QString CharacterGrid::Cell(int column, int row) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColCount())
        return QString();
    return model_.data(model_.index(row, column), Qt::DisplayRole).toString();
}

void CharacterGrid::setContent(const QStringList& rows, int columns)
{
    model_.setContent(rows.isEmpty() ? QStringList{QString()} : rows, std::clamp(columns, 1, MaxColumns));
    viewport()->update();
}

void CharacterGrid::clearContent()
{
    setContent(QStringList{QString()}, 1);
}

void CharacterGrid::drawMark(int column)
{
    marks_.insert(column);
    viewport()->update();
}

void CharacterGrid::eraseMark(int column)
{
    marks_.erase(column);
    viewport()->update();
}

void CharacterGrid::setMarks(const std::set<int>& columns)
{
    marks_ = columns;
    viewport()->update();
}

int CharacterGrid::markX(int column) const
{
    if (column < 0 || column >= ColCount())
        return -1;
    const int x = columnViewportPosition(column);
    if (x < 0 || x > viewport()->width())
        return -1;
    return x;
}

void CharacterGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (marks_.empty())
        return;
    QPainter painter(viewport());
    const QColor red(Qt::red);
    painter.setPen(QPen(red, 2));
    painter.setBrush(red);
    const int top = 0;  // the top of the top visible row
    const int bottom = viewport()->height();
    for (int column : marks_) {
        const int x = markX(column);
        if (x < 0)
            continue;
        // The line stands just left of the cell's left edge, where the boundary between the two characters is.
        painter.drawLine(x - 1, top, x - 1, bottom);
        QPainterPath marker;
        marker.moveTo(x - 4, top);
        marker.lineTo(x + 2, top);
        marker.lineTo(x - 1, top + 4);
        marker.closeSubpath();
        painter.drawPath(marker);
    }
}

void CharacterGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    viewport()->update();
    emit topLeftChanged();
}

void CharacterGrid::mousePressEvent(QMouseEvent* event)
{
    const int column = columnAt(event->position().toPoint().x());
    dragArmed_ = false;
    dragging_ = false;
    if (event->button() == Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        if (onClick)
            onClick(column);
    }
    if (onMouseDown && onMouseDown(event->button(), column) && event->button() == Qt::LeftButton) {
        dragArmed_ = true;
        pressPoint_ = event->position().toPoint();
    }
}

void CharacterGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (dragArmed_ && !dragging_ &&
        (point - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
        dragging_ = true;
    }
    if (!dragging_)
        return;
    const bool accepted = onDragOver && onDragOver(columnAt(point.x()));
    viewport()->setCursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void CharacterGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasDragging = dragging_;
    dragArmed_ = false;
    dragging_ = false;
    if (wasDragging) {
        viewport()->unsetCursor();
        if (onDragDrop)
            onDragDrop(columnAt(event->position().toPoint().x()));
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void CharacterGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int column = columnAt(event->position().toPoint().x());
    dragArmed_ = false;
    dragging_ = false;
    if (event->button() == Qt::LeftButton && onDblClick)
        onDblClick(column);
    if (onMouseDown && onMouseDown(event->button(), column) && event->button() == Qt::LeftButton) {
        dragArmed_ = true;
        pressPoint_ = event->position().toPoint();
    }
}

}  // namespace wizard
