#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace db {
class Table;
}

// The data filter dialog: the person lists conditions on the fields of a table, which become the table's filter.
namespace filter {

enum TFilterMode {
    fmFilterDataset,  // the conditions become the dataset's filter
    fmExpression,     // they are left in Expression
};

enum TFilterOption : unsigned {
    foLoadFrom = 1u << 0,
    foSaveAs = 1u << 1,
};
using TFilterOptions = unsigned;

// One offered field, attached to its entry of the field list.
struct TDBFilterItem {
    int FieldIndex = 0;  // the entry's position in the field list
    QString FieldName;
    QString DisplayName;
};

class TDBFilterDialog : public QObject {
    Q_OBJECT

public:
    explicit TDBFilterDialog(QObject* owner = nullptr);
    ~TDBFilterDialog() override;

    using TNotifyEvent = std::function<void(TDBFilterDialog& Sender)>;

    QString Caption = QStringLiteral("Filter setup dialog");
    // The dataset whose fields are offered and whose filter is read and set.
    db::Table* Dataset = nullptr;
    // The names of the fields that may be offered; empty: all of them.
    QStringList AllowedFields;
    TFilterMode FilterMode = fmFilterDataset;
    QString Expression;
    TFilterOptions Options = foLoadFrom | foSaveAs;
    TNotifyEvent OnBeforeExecute;
    TNotifyEvent OnAfterExecute;
    TNotifyEvent OnShow;
    // The folder of the filter files, with its trailing separator: the program's folder. Empty: the folder of the
    // running program file.
    QString FilterFolder;

    // Shows the dialog modally; true when it was closed with OK. On OK in mode fmFilterDataset the dataset's filter
    // is the conditions' text and filtering is on; a text the dataset refuses is said in a message while the
    // dialog stays open, so the dataset's filter is never left half set.
    bool Execute();

    // The text under which a field is offered and listed.
    virtual QString GetFieldCaption(const TDBFilterItem& Item);
};

}  // namespace filter
