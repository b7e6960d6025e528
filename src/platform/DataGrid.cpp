#include "platform/DataGrid.h"

#include "db/DataSource.h"
#include "db/TableModel.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

namespace platform {

// The records of one screen: rows top .. top + count - 1 of the table model.
class TDBGrid::ScreenModel : public QAbstractTableModel {
public:
    explicit ScreenModel(QObject* parent) : QAbstractTableModel(parent) {}

    void setRecords(db::TableModel* records)
    {
        beginResetModel();
        records_ = records;
        top_ = 0;
        count_ = 0;
        columns_ = columnCount();
        endResetModel();
    }

    // Shows count rows from top on. Rows come and go at the end, so that the columns keep the widths they have;
    // only new columns (the table opened, another table) reset the screen, which the answer tells.
    bool show(int top, int count)
    {
        const int columns = columnCount();
        if (columns != columns_) {
            beginResetModel();
            top_ = top;
            count_ = count;
            columns_ = columns;
            endResetModel();
            return true;
        }
        top_ = top;
        if (count > count_) {
            beginInsertRows(QModelIndex(), count_, count - 1);
            count_ = count;
            endInsertRows();
        } else if (count < count_) {
            beginRemoveRows(QModelIndex(), count, count_ - 1);
            count_ = count;
            endRemoveRows();
        }
        if (count_ > 0 && columns_ > 0)
            emit dataChanged(index(0, 0), index(count_ - 1, columns_ - 1));
        return false;
    }

    // Cells of the table model's rows first .. last that are on the screen changed.
    void recordsChanged(int first, int last)
    {
        const int from = std::max(first, top_) - top_;
        const int to = std::min(last, top_ + count_ - 1) - top_;
        if (from <= to && columns_ > 0)
            emit dataChanged(index(from, 0), index(to, columns_ - 1));
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : count_; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() || !records_ ? 0 : records_->columnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return records_ ? records_->data(records_->index(top_ + index.row(), index.column()), role) : QVariant();
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        return records_ && records_->setData(records_->index(top_ + index.row(), index.column()), value, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return records_ ? records_->flags(records_->index(top_ + index.row(), index.column())) : Qt::NoItemFlags;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical)
            return role == Qt::DisplayRole ? QVariant(top_ + section + 1) : QVariant();
        return records_ ? records_->headerData(section, orientation, role) : QVariant();
    }

private:
    db::TableModel* records_ = nullptr;
    int top_ = 0;
    int count_ = 0;
    int columns_ = 0;
};

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), screen_(new ScreenModel(this))
{
    setModel(screen_);
    setVerticalScrollMode(ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (!adjusting_)
            setTop(value);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::onViewCurrentChanged);
}

TDBGrid::~TDBGrid() = default;

void TDBGrid::setDataSource(db::DataSource* source)
{
    if (records_ && records_->dataSource() == source)
        return;
    auto* old = records_;
    records_ = new db::TableModel(source, this);
    screen_->setRecords(records_);
    delete old;
    connect(records_, &QAbstractItemModel::modelReset, this, &TDBGrid::layOutScreen);
    connect(records_, &QAbstractItemModel::rowsInserted, this, &TDBGrid::layOutScreen);
    connect(records_, &QAbstractItemModel::rowsRemoved, this, &TDBGrid::layOutScreen);
    connect(records_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                screen_->recordsChanged(first.row(), last.row());
            });
    connect(records_, &QAbstractItemModel::headerDataChanged, screen_, &QAbstractItemModel::headerDataChanged);
    connect(records_, &db::TableModel::currentRowChanged, this, &TDBGrid::onCursorRowChanged);
    top_ = 0;
    sizeColumns();
    layOutScreen();
}

db::DataSource* TDBGrid::DataSource() const
{
    return records_ ? records_->dataSource() : nullptr;
}

int TDBGrid::pageRows() const
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / rowHeight);
}

int TDBGrid::recordCount() const
{
    return records_ ? records_->rowCount() : 0;
}

void TDBGrid::sizeColumns()
{
    if (!records_)
        return;
    const QFontMetrics metrics = fontMetrics();
    const int charWidth = metrics.horizontalAdvance(u'0');
    for (int column = 0; column < records_->columnCount(); ++column) {
        const int chars = records_->headerData(column, Qt::Horizontal, db::TableModel::DisplayWidthRole).toInt();
        const int title =
            metrics.horizontalAdvance(records_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        setColumnWidth(column, std::max(charWidth * std::min(chars, 64), title) + 8);
    }
}

void TDBGrid::setTop(int top)
{
    top_ = std::clamp(top, 0, std::max(0, recordCount() - pageRows()));
    layOutScreen();
}

// Puts the screen's rows, the scroll bar and the selection in line with top_ and the table.
void TDBGrid::layOutScreen()
{
    const int count = recordCount();
    const int page = pageRows();
    top_ = std::clamp(top_, 0, std::max(0, count - page));
    adjusting_ = true;
    if (screen_->show(top_, std::min(page, count - top_)))
        sizeColumns();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, count - page));
    bar->setPageStep(page);
    bar->setSingleStep(1);
    bar->setValue(top_);
    adjusting_ = false;
    selectCursorRow();
}

void TDBGrid::selectCursorRow()
{
    if (!records_)
        return;
    adjusting_ = true;
    const int row = records_->currentRow() - top_;
    if (row < 0 || row >= screen_->rowCount() || screen_->columnCount() == 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex was = currentIndex();
        const int column = was.isValid() ? std::min(was.column(), screen_->columnCount() - 1) : 0;
        const QModelIndex target = screen_->index(row, column);
        if (was != target || !selectionModel()->isRowSelected(row))
            selectionModel()->setCurrentIndex(target,
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    adjusting_ = false;
}

void TDBGrid::onCursorRowChanged(int row)
{
    if (adjusting_ || (records_ && records_->restructuring()))
        return;
    // The cursor's record comes into view.
    if (row >= 0 && (row < top_ || row >= top_ + pageRows()))
        setTop(row < top_ ? row : row - pageRows() + 1);
    else
        selectCursorRow();
}

void TDBGrid::onViewCurrentChanged(const QModelIndex& current)
{
    if (adjusting_ || !records_ || records_->restructuring() || !current.isValid())
        return;
    const int row = top_ + current.row();
    if (row == records_->currentRow())
        return;
    adjusting_ = true;
    records_->moveTo(row);
    adjusting_ = false;
    // Where the cursor went (or stayed, when the table refused) is the row to show.
    selectCursorRow();
}

QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const int count = recordCount();
    const int page = pageRows();
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? top_ + current.row() : (records_ ? records_->currentRow() : -1);
    int target = -1;
    switch (action) {
    case MoveUp:
        target = row - 1;
        break;
    case MoveDown:
        target = row + 1;
        break;
    case MovePageUp:
        target = row - page;
        break;
    case MovePageDown:
        target = row + page;
        break;
    case MoveHome:
        if (modifiers & Qt::ControlModifier)
            target = 0;
        break;
    case MoveEnd:
        if (modifiers & Qt::ControlModifier)
            target = count - 1;
        break;
    default:
        break;
    }
    if (target == -1 && !(action == MoveUp || action == MovePageUp))
        return QTableView::moveCursor(action, modifiers);
    if (count == 0)
        return QModelIndex();
    target = std::clamp(target, 0, count - 1);
    if (target < top_)
        setTop(target);
    else if (target >= top_ + page)
        setTop(target - page + 1);
    const int column = current.isValid() ? current.column() : 0;
    return screen_->index(target - top_, column);
}

void TDBGrid::updateGeometries()
{
    // The view sizes its scroll bar for the screen's rows; the bar stands for the records. It runs inside the
    // grid's own adjustments too (rows leaving a shrinking screen), which must stay marked as such afterwards, or the
    // view's current row moving with them would move the table's cursor.
    const bool wasAdjusting = adjusting_;
    adjusting_ = true;
    QTableView::updateGeometries();
    QScrollBar* bar = verticalScrollBar();
    const int page = pageRows();
    bar->setRange(0, std::max(0, recordCount() - page));
    bar->setPageStep(page);
    bar->setValue(top_);
    adjusting_ = wasAdjusting;
}

void TDBGrid::scrollContentsBy(int dx, int dy)
{
    // Scrolling through the records changes the screen's rows, never moves them.
    Q_UNUSED(dy);
    if (dx)
        QTableView::scrollContentsBy(dx, 0);
}

void TDBGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // Only sideways: every row of the screen is in view. The view scrolls to its current row while the grid
    // adjusts it too, which stays an adjustment afterwards.
    const bool wasAdjusting = adjusting_;
    adjusting_ = true;
    QTableView::scrollTo(index, hint);
    verticalScrollBar()->setValue(top_);
    adjusting_ = wasAdjusting;
}

void TDBGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        sizeColumns();
        layOutScreen();
    }
}

void TDBGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (pageRows() != screen_->rowCount())
        layOutScreen();
}

}  // namespace platform
