#include "filter/DBFilterDialog.h"

#include "ui_frmFilterDialog.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/filter/Filter.h"
#include "filter/FilterText.h"
#include "filter/frmFilterDialog.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QTreeWidget>

namespace filter {

namespace {

// The caption texts of the conditions, by condition number.
constexpr std::array<int, kConditionCount> kConditionTexts = {65038, 65039, 65008, 65009, 65010,
                                                              65011, 65012, 65013, 65014, 65015};

// The fields of an open table, as the filter compiles against them.
db::FieldDefList fieldsOf(db::Table& table)
{
    db::FieldDefList fields;
    for (int i = 0; i < table.FieldCount(); ++i)
        fields.push_back(table.Fields(i)->def());
    return fields;
}

// The filter as the table has it, put back after a change that did not come through whole.
struct FilterState {
    explicit FilterState(db::Table& table) : text(table.Filter()), filtered(table.Filtered()) {}
    void restore(db::Table& table) const
    {
        try {
            table.setFiltered(false);
            table.setFilter(text);
            table.setFiltered(filtered);
        } catch (const db::EngineError&) {
            // The text it had no longer compiles (the table changed under it): it stays off.
            table.setFiltered(false);
        }
    }
    QString text;
    bool filtered;
};

}  // namespace

TDBFilterDialog::TDBFilterDialog(QObject* owner) : QObject(owner) {}

TDBFilterDialog::~TDBFilterDialog() = default;

QString TDBFilterDialog::GetFieldCaption(const TDBFilterItem& Item)
{
    return Item.DisplayName;
}

bool TDBFilterDialog::Execute()
{
    if (OnBeforeExecute)
        OnBeforeExecute(*this);
    auto form = std::make_unique<TfrmFilterDialog>(QApplication::activeWindow());
    Ui::TfrmFilterDialog& w = *form->ui;
    form->setWindowTitle(Caption);
    form->FilterFolder = FilterFolder.isEmpty() ? QCoreApplication::applicationDirPath() + u'/' : FilterFolder;

    for (int i = 0; i < kConditionCount; ++i) {
        form->ConditionCaptions[std::size_t(i)] = texts::Text(kConditionTexts[std::size_t(i)]);
        w.cbFilterCondition->addItem(form->ConditionCaptions[std::size_t(i)]);
    }
    form->OrCaption = texts::Text(65016);
    form->AndCaption = texts::Text(65017);
    w.rbOR->setText(form->OrCaption);
    w.rbAND->setText(form->AndCaption);
    w.lblFilterField->setText(texts::Text(65018));
    w.lbFilter->headerItem()->setText(1, texts::Text(65018));
    w.lblFilterCondition->setText(texts::Text(65019));
    w.lbFilter->headerItem()->setText(2, texts::Text(65019));
    w.lblFilterValue->setText(texts::Text(65020));
    w.lbFilter->headerItem()->setText(3, texts::Text(65020));
    w.btnFilterAdd->setText(texts::Text(65023));
    w.btnFilterDelete->setText(texts::Text(64992));
    w.lblAddFilter->setText(texts::Text(65021));
    w.lblFilter->setText(texts::Text(65022));
    w.btnFilterSave->setToolTip(texts::Text(64995));
    w.btnFilterSave->setAccessibleName(QString(texts::Text(64995)).remove(QStringLiteral("...")));
    w.btnFilterLoad->setToolTip(texts::Text(64994));
    w.btnFilterLoad->setAccessibleName(QString(texts::Text(64994)).remove(QStringLiteral("...")));
    w.btnClear->setText(texts::Text(65004));
    w.btnOk->setText(texts::Text(65002));
    w.btnCancel->setText(texts::Text(65003));
    w.lbFilter->setAccessibleName(w.lblFilter->text().trimmed());
    if (OnShow)
        OnShow(*this);

    db::Table* table = Dataset && Dataset->Active() ? Dataset : nullptr;
    if (table) {
        for (int i = 0; i < table->FieldCount(); ++i) {
            db::Field* field = table->Fields(i);
            if (!AllowedFields.isEmpty() && !AllowedFields.contains(field->FieldName()))
                continue;
            TDBFilterItem item;
            item.FieldIndex = form->fieldCount();
            item.FieldName = field->FieldName();
            item.DisplayName = field->DisplayLabel();
            form->addField(item, GetFieldCaption(item));
        }
    }
    w.cbFilterField->setCurrentIndex(-1);
    w.cbFilterCondition->setCurrentIndex(-1);
    form->readFilter(FilterMode == fmFilterDataset ? (Dataset ? Dataset->Filter() : QString()) : Expression);
    w.btnFilterSave->setEnabled(form->rowCount() > 0);

    int buttons = 0;
    if (Options & foLoadFrom) {
        w.btnFilterLoad->show();
        ++buttons;
    }
    if (Options & foSaveAs) {
        w.btnFilterSave->show();
        ++buttons;
    }
    if ((Options & foLoadFrom) && !(Options & foSaveAs))
        w.btnFilterLoad->move(w.btnFilterSave->x(), w.btnFilterLoad->y());
    w.lblFilter->resize(w.lblFilter->width() - buttons * w.btnFilterLoad->width() - (buttons > 0 ? 5 : 0),
                        w.lblFilter->height());

    // A text the table refuses is said while the window is open, so the person can mend the condition.
    if (FilterMode == fmFilterDataset && table) {
        const db::FieldDefList fields = fieldsOf(*table);
        form->AcceptFilter = [fields](const QString& text) {
            try {
                db::filter::compile(text, fields);
                return true;
            } catch (const db::EngineError& error) {
                platform::ErrorBox(texts::Format(texts::Text(61558), {error.message()}));
                return false;
            }
        };
    }

    const bool ok = form->exec() == QDialog::Accepted;
    if (ok) {
        const QString text = form->FilterText();
        if (FilterMode == fmFilterDataset && Dataset) {
            const FilterState before(*Dataset);
            try {
                Dataset->setFiltered(false);
                Dataset->setFilter(text);
                Dataset->setFiltered(true);
            } catch (...) {
                before.restore(*Dataset);
                throw;
            }
        } else if (FilterMode == fmExpression) {
            Expression = text;
        }
    }
    form.reset();
    if (OnAfterExecute)
        OnAfterExecute(*this);
    return ok;
}

}  // namespace filter
