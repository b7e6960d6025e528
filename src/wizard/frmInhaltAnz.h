#pragma once

#include "db/DataSource.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

class QStackedWidget;

namespace Ui {
class TfrmInhaltAnz;
}

namespace db {
class Table;
}  // namespace db

namespace filter {
class TDBFilterDialog;
}  // namespace filter

namespace wizard {

// The record count as the viewer's status bars show it: with thousands separators, then " Datensätze".
QString DatensaetzeText(int count);

// The contents viewer of the source and the target: the two tables as read-only grids on their data sources (a
// grid holds and reads only the records of its screen, so a table of a million records opens at once), or a text source as plain
// text. Made once at start-up and shown, not modal, by the pages, which fill it first: they bind the grids, set
// the tab captions, the visible tabs, the active tab and the status texts.
//
// Closing it by any means (button, system menu, Escape) runs FormClose.
class TfrmInhaltAnz : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInhaltAnz(QWidget* parent = nullptr);
    ~TfrmInhaltAnz() override;

    std::unique_ptr<Ui::TfrmInhaltAnz> ui;

    // The viewer's own data source, for an Access table copied into a table of its own.
    db::DataSource dscAdo;

    // The data sources the grids show: the source grid normally on the wizard's dscQuelle (or dscAdo), the target
    // grid on dscZiel. The source grid's data set is the table the filter works on.
    void setQuelleDataSource(db::DataSource* source);
    db::DataSource* QuelleDataSource() const;
    void setZielDataSource(db::DataSource* source);
    db::DataSource* ZielDataSource() const;

    // The data filter dialog on the source table: it edits the conditions and, on OK, sets the table's filter and
    // switches it on. Until one is given the filter button stays hidden.
    using FilterDialogRun = std::function<void(db::Table& table)>;
    void setFilterDialog(FilterDialogRun run);
    // The program's own filter dialog on the source table, with its filter files in filterFolder.
    void useFilterDialog(const QString& filterFolder);
    filter::TDBFilterDialog* FilterDialog() const { return FilterDialog_.get(); }

    // The wizard whose view buttons the viewer enables again on closing, and whose end it is after a run.
    void setWizard(QWidget* frmImport1, QStackedWidget* PageControl1);

    // The target's status bar: its record count, and beside it the note that the target is emptied before the
    // import when it will be, or after a run that it was.
    void setZielStatus(const QString& count, bool emptied, bool afterRun = false);

    // Shows or hides a tab (TabSheet1, TabSheet2, TabSheet3); a hidden tab keeps its place.
    void setSheetVisible(QWidget* sheet, bool visible);
    bool isSheetVisible(QWidget* sheet) const;
    void setActiveSheet(QWidget* sheet);
    void setSheetTitle(QWidget* sheet, const QString& title);
    QWidget* activeSheet() const;

    void btnInhSchliessenClick();
    void FormClose();
    void btnFilterClick();
    void PageControl1Change();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FilterDialogRun filterDialog_;
    std::unique_ptr<filter::TDBFilterDialog> FilterDialog_;
    QPointer<QWidget> frmImport1_;
    QPointer<QStackedWidget> PageControl1_;
    bool centred_ = false;
};

}  // namespace wizard
