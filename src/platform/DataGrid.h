#pragma once

#include <QTableView>

namespace db {
class DataSource;
class TableModel;
}  // namespace db

namespace platform {

// A read and write grid on a data source, as a data grid shows a table: it holds the rows of one screen, not one
// per record, so a table of a million records opens as fast as one of a thousand and costs no memory per record.
// The scroll bar stands for the records (its value is the first record shown); the arrow and page keys, Ctrl+Home
// and Ctrl+End move the table's cursor and the screen with it; selecting a row puts the cursor on its record, and
// the cursor moving elsewhere (by the program) brings its record into view, selected.
//
// The records come from a db::TableModel on the data source (model() is the screen's part of it). Columns are the
// table's visible fields, as wide as their display width in the grid's font.
class TDBGrid : public QTableView {
    Q_OBJECT

public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    void setDataSource(db::DataSource* source);
    db::DataSource* DataSource() const;
    // Every record the grid can show.
    db::TableModel* tableModel() const { return records_; }
    // The record row at the top of the screen.
    int TopRow() const { return top_; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class ScreenModel;

    int pageRows() const;
    int recordCount() const;
    // Shows the records from top on (kept in range); the selection follows the cursor's record.
    void setTop(int top);
    void layOutScreen();
    void selectCursorRow();
    void onCursorRowChanged(int row);
    void onViewCurrentChanged(const QModelIndex& current);
    void sizeColumns();

    db::TableModel* records_ = nullptr;
    ScreenModel* screen_ = nullptr;
    int top_ = 0;
    bool adjusting_ = false;  // the grid itself moves the scroll bar or the current row
};

}  // namespace platform
