#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <set>

namespace wizard {

// The characters of a grid row by row; a cell holds one character or nothing.
class CharacterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Replaces everything: one text per row, and the number of columns the grid shows.
    void setContent(const QStringList& rows, int columns);
    const QStringList& rows() const { return rows_; }

private:
    QStringList rows_;
    int columns_ = 1;
};

// The character grid of the fixed-width page: one character per cell in a fixed-pitch font, 11 pixels per column,
// no fixed rows or columns, and the marks of the column boundaries drawn over it.
//
// A mark at column b is a red vertical line at the left edge of column b, from the top of the top visible row down
// to the bottom, with a small marker at its top. The marks the grid shows are the ones drawn last (drawMark),
// until they are erased or the set is replaced; they are painted with the grid, so they move with its columns when
// it scrolls, and a column scrolled out of view shows none.
class CharacterGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int ColumnWidth = 11;
    // Column b stands for the boundary after character b, and boundaries go up to 32767.
    static constexpr int MaxColumns = 32768;

    explicit CharacterGrid(QWidget* parent = nullptr);

    int RowCount() const;
    int ColCount() const;
    // The character of a cell; empty when the cell holds none.
    QString Cell(int column, int row) const;
    void setContent(const QStringList& rows, int columns);
    // One row, one column, nothing in it.
    void clearContent();

    void drawMark(int column);
    void eraseMark(int column);
    void setMarks(const std::set<int>& columns);
    const std::set<int>& marks() const { return marks_; }

    // Where a column's mark is drawn in viewport coordinates; -1 when the column is out of the grid or of view.
    int markX(int column) const;

    // What the page does with the mouse; column is the column under the mouse, -1 beyond the last one.
    // A press of the left button: onClick (the cell becomes current), then onMouseDown. The press of a double
    // click: onDblClick, then onMouseDown. A press of another button: onMouseDown. When onMouseDown answers true
    // (a mark was caught) a drag begins as soon as the mouse moves further than the platform's drag distance:
    // every move then goes to onDragOver (true: the grid would take a drop there), and the release to onDragDrop.
    std::function<void(int column)> onClick;
    std::function<void(int column)> onDblClick;
    std::function<bool(Qt::MouseButton button, int column)> onMouseDown;
    std::function<bool(int column)> onDragOver;
    std::function<void(int column)> onDragDrop;
    bool dragging() const { return dragging_; }

signals:
    // The visible part moved (scrolled); the page redraws the marks.
    void topLeftChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CharacterGridModel model_;
    std::set<int> marks_;
    bool dragArmed_ = false;  // a mark was caught; the drag begins once the mouse moves far enough
    bool dragging_ = false;
    QPoint pressPoint_;
};

}  // namespace wizard
