#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QTreeWidgetItem;

namespace Ui {
class TfrmFilterDialog;
}

namespace filter {

struct TDBFilterItem;

// The window of the data filter dialog; it lives for one Execute. Its rows are the conditions (link, field,
// condition, value), each holding the filter text it stands for.
class TfrmFilterDialog : public QDialog {
    Q_OBJECT

public:
    explicit TfrmFilterDialog(QWidget* parent = nullptr);
    ~TfrmFilterDialog() override;

    std::unique_ptr<Ui::TfrmFilterDialog> ui;

    // The condition captions by number, and the link captions; filled by Execute.
    std::array<QString, 10> ConditionCaptions;
    QString AndCaption = QStringLiteral("AND");
    QString OrCaption = QStringLiteral("OR");
    // The folder of the filter files, with its trailing separator.
    QString FilterFolder;
    // Asked on OK with the filter text; false keeps the window open.
    std::function<bool(const QString& filterText)> AcceptFilter;

    // Offers a field under caption; its FieldIndex is its position in the field list.
    void addField(const TDBFilterItem& item, const QString& caption);
    const TDBFilterItem* fieldItem(int position) const;
    int fieldCount() const;

    // Builds one row's filter text and appends the row; false (and nothing appended) when the field position
    // names no offered field or the condition is out of range.
    bool AddFilterItem(bool IsAnd, int fieldPosition, int condition, const QString& value);
    // A piece of filter text the rows cannot show as a condition: kept as it is, so that OK gives it back.
    void addRawItem(bool IsAnd, const QString& piece);
    // Position 0 to 9 of the caption in the caption table; 0 when absent.
    int IndexOfCondition(const QString& caption) const;
    // A whole number: the entry whose FieldIndex equals it, or the number itself; otherwise the entry whose
    // FieldName equals the text (exactly, else without regard to case), or -1.
    int FindFieldIndex(const QString& text) const;
    // The rows read back from a filter text.
    void readFilter(const QString& text);
    // The rows' texts joined, without a link in front.
    QString FilterText() const;

    int rowCount() const;
    QTreeWidgetItem* row(int index) const;
    bool rowIsAnd(int index) const;
    int rowField(int index) const;  // -1 for a raw piece
    int rowCondition(int index) const;
    QString rowValue(int index) const;

    void btnFilterAddClick();
    void btnFilterDeleteClick();
    void lbFilterChange();
    void cbFilterFieldChange();
    void btnClearClick();
    void btnFilterSaveClick();
    void btnFilterLoadClick();

    void done(int result) override;

private:
    void appendRow(bool isAnd, int fieldPosition, const QString& fieldCaption, const QString& conditionCaption,
                   const QString& value, const QString& text);

    std::vector<std::unique_ptr<TDBFilterItem>> items_;
    // The filter file chosen last in this window.
    QString FilterFileName_;
};

}  // namespace filter
