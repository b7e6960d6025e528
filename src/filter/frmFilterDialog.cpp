#include "filter/frmFilterDialog.h"

#include "ui_frmFilterDialog.h"

#include "filter/DBFilterDialog.h"
#include "filter/FilterText.h"
#include "filter/IniFile.h"
#include "filter/frmFilterFileDialog.h"
#include "platform/ClickHandlers.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"

#include <QFileInfo>
#include <QTreeWidget>

namespace filter {

namespace {

enum RowRole {
    FieldRole = Qt::UserRole,  // the field's position in the field list; -1 for a raw piece
    TextRole,                  // the row's filter text, with its link
    AndRole,
    ConditionRole,  // -1 for a raw piece
};

}  // namespace

TfrmFilterDialog::TfrmFilterDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmFilterDialog>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui->lbFilter->setColumnWidth(0, 77);
    ui->lbFilter->setColumnWidth(1, 180);
    ui->lbFilter->setColumnWidth(2, 125);
    ui->lbFilter->setColumnWidth(3, 94);
    ui->btnFilterLoad->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    ui->btnFilterSave->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(ui->btnFilterAdd, &QAbstractButton::clicked, this, &TfrmFilterDialog::btnFilterAddClick);
    connect(ui->btnFilterDelete, &QAbstractButton::clicked, this, &TfrmFilterDialog::btnFilterDeleteClick);
    connect(ui->btnClear, &QAbstractButton::clicked, this, &TfrmFilterDialog::btnClearClick);
    connect(ui->btnFilterSave, &QAbstractButton::clicked, this, &TfrmFilterDialog::btnFilterSaveClick);
    connect(ui->btnFilterLoad, &QAbstractButton::clicked, this, &TfrmFilterDialog::btnFilterLoadClick);
    connect(ui->btnOk, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(ui->lbFilter, &QTreeWidget::itemSelectionChanged, this, &TfrmFilterDialog::lbFilterChange);
    connect(ui->cbFilterField, &QComboBox::currentIndexChanged, this, &TfrmFilterDialog::cbFilterFieldChange);
    connect(ui->cbFilterCondition, &QComboBox::currentIndexChanged, this, &TfrmFilterDialog::cbFilterFieldChange);
    connect(ui->edFilterValue, &QLineEdit::textChanged, this, &TfrmFilterDialog::cbFilterFieldChange);
}

TfrmFilterDialog::~TfrmFilterDialog() = default;

void TfrmFilterDialog::addField(const TDBFilterItem& item, const QString& caption)
{
    items_.push_back(std::make_unique<TDBFilterItem>(item));
    items_.back()->FieldIndex = ui->cbFilterField->count();
    ui->cbFilterField->addItem(caption);
}

const TDBFilterItem* TfrmFilterDialog::fieldItem(int position) const
{
    if (position < 0 || position >= int(items_.size()))
        return nullptr;
    return items_[std::size_t(position)].get();
}

int TfrmFilterDialog::fieldCount() const
{
    return int(items_.size());
}

void TfrmFilterDialog::appendRow(bool isAnd, int fieldPosition, const QString& fieldCaption,
                                 const QString& conditionCaption, const QString& value, const QString& text)
{
    auto* item = new QTreeWidgetItem(ui->lbFilter);
    // Every row shows its link word, also the first, whose text has none.
    item->setText(0, isAnd ? AndCaption : OrCaption);
    item->setText(1, fieldCaption);
    item->setText(2, conditionCaption);
    item->setText(3, value);
    item->setData(0, FieldRole, fieldPosition);
    item->setData(0, TextRole, text);
    item->setData(0, AndRole, isAnd);
}

bool TfrmFilterDialog::AddFilterItem(bool IsAnd, int fieldPosition, int condition, const QString& value)
{
    const TDBFilterItem* field = fieldItem(fieldPosition);
    if (!field || condition < 0 || condition >= kConditionCount)
        return false;
    QString text = ConditionText(field->FieldName, condition, value);
    if (rowCount() > 0)
        text = LinkText(IsAnd) + text;
    appendRow(IsAnd, fieldPosition, ui->cbFilterField->itemText(fieldPosition),
              ui->cbFilterCondition->itemText(condition), value, text);
    row(rowCount() - 1)->setData(0, ConditionRole, condition);
    return true;
}

void TfrmFilterDialog::addRawItem(bool IsAnd, const QString& piece)
{
    const QString text = rowCount() > 0 ? LinkText(IsAnd) + piece : piece;
    appendRow(IsAnd, -1, QString(), QString(), piece, text);
    row(rowCount() - 1)->setData(0, ConditionRole, -1);
}

int TfrmFilterDialog::IndexOfCondition(const QString& caption) const
{
    for (int i = 0; i < int(ConditionCaptions.size()); ++i)
        if (ConditionCaptions[std::size_t(i)] == caption)
            return i;
    return 0;
}

int TfrmFilterDialog::FindFieldIndex(const QString& text) const
{
    bool number = false;
    const int n = text.toInt(&number);
    if (number) {
        for (int i = 0; i < fieldCount(); ++i)
            if (items_[std::size_t(i)]->FieldIndex == n)
                return i;
        return n;
    }
    for (int i = 0; i < fieldCount(); ++i)
        if (items_[std::size_t(i)]->FieldName == text)
            return i;
    for (int i = 0; i < fieldCount(); ++i)
        if (items_[std::size_t(i)]->FieldName.compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TfrmFilterDialog::readFilter(const QString& text)
{
    for (const ReadRow& r : ReadFilterText(text)) {
        const int field = r.condition >= 0 ? FindFieldIndex(r.fieldName) : -1;
        if (r.condition < 0 || !AddFilterItem(r.isAnd, field, r.condition, r.value))
            addRawItem(r.isAnd, r.raw);
    }
}

QString TfrmFilterDialog::FilterText() const
{
    QString text;
    for (int i = 0; i < rowCount(); ++i)
        text += row(i)->data(0, TextRole).toString();
    for (const bool isAnd : {true, false})
        if (text.startsWith(LinkText(isAnd)))
            text.remove(0, LinkText(isAnd).size());
    return text;
}

int TfrmFilterDialog::rowCount() const
{
    return ui->lbFilter->topLevelItemCount();
}

QTreeWidgetItem* TfrmFilterDialog::row(int index) const
{
    return ui->lbFilter->topLevelItem(index);
}

bool TfrmFilterDialog::rowIsAnd(int index) const
{
    return row(index)->data(0, AndRole).toBool();
}

int TfrmFilterDialog::rowField(int index) const
{
    return row(index)->data(0, FieldRole).toInt();
}

int TfrmFilterDialog::rowCondition(int index) const
{
    return row(index)->data(0, ConditionRole).toInt();
}

QString TfrmFilterDialog::rowValue(int index) const
{
    return row(index)->text(3);
}

void TfrmFilterDialog::btnFilterAddClick()
{
    const int field = ui->cbFilterField->currentIndex();
    const int condition = ui->cbFilterCondition->currentIndex();
    const QString value = ui->edFilterValue->text();
    if (!fieldItem(field) || condition < 0)
        return;
    // A range needs both its ends: without the second, the filter would compare with a blank.
    if (condition == cdBetween && !SplitRange(value).hasSecond) {
        platform::ErrorBox(texts::Format(texts::Text(61559), {ConditionCaptions[cdBetween]}));
        ui->edFilterValue->setFocus();
        return;
    }
    if (AcceptFilter && !AcceptFilter(ConditionText(fieldItem(field)->FieldName, condition, value))) {
        ui->edFilterValue->setFocus();
        return;
    }
    AddFilterItem(ui->rbAND->isChecked(), field, condition, value);
    platform::SetChecked(ui->rbAND, true);
    ui->cbFilterField->setCurrentIndex(-1);
    ui->cbFilterCondition->setCurrentIndex(-1);
    ui->edFilterValue->clear();
    cbFilterFieldChange();
}

void TfrmFilterDialog::cbFilterFieldChange()
{
    const int condition = ui->cbFilterCondition->currentIndex();
    ui->btnFilterAdd->setEnabled(
        ui->cbFilterField->currentIndex() >= 0 && condition >= 0 &&
        (!ui->edFilterValue->text().isEmpty() || condition == cdEmpty || condition == cdNotEmpty));
    ui->btnFilterSave->setEnabled(rowCount() > 0);
}

void TfrmFilterDialog::lbFilterChange()
{
    ui->btnFilterDelete->setEnabled(!ui->lbFilter->selectedItems().isEmpty());
}

void TfrmFilterDialog::btnFilterDeleteClick()
{
    const auto selected = ui->lbFilter->selectedItems();
    if (selected.isEmpty())
        return;
    delete selected.first();
    ui->btnFilterSave->setEnabled(rowCount() > 0);
    lbFilterChange();
}

void TfrmFilterDialog::btnClearClick()
{
    ui->lbFilter->clear();
    ui->btnFilterSave->setEnabled(false);
    lbFilterChange();
}

void TfrmFilterDialog::btnFilterSaveClick()
{
    QString fileName;
    if (!SelectFilterFile(fileName, true, FilterFolder, this))
        return;
    FilterFileName_ = fileName;
    try {
        IniFile ini(fileName);
        ini.EraseSection(QStringLiteral("Filter"));
        for (int i = 0; i < rowCount(); ++i) {
            const QString n = QString::number(i);
            const TDBFilterItem* field = fieldItem(rowField(i));
            ini.WriteString(QStringLiteral("Filter"), QStringLiteral("AndOr") + n,
                            row(i)->text(0) == AndCaption ? QStringLiteral("AND") : QStringLiteral("OR"));
            ini.WriteString(QStringLiteral("Filter"), QStringLiteral("Field") + n,
                            field ? field->FieldName : QString());
            ini.WriteString(QStringLiteral("Filter"), QStringLiteral("Condition") + n,
                            QString::number(field ? IndexOfCondition(row(i)->text(2)) : -1));
            ini.WriteString(QStringLiteral("Filter"), QStringLiteral("Value") + n, rowValue(i));
        }
        ini.UpdateFile();
    } catch (const FilterFileError& error) {
        platform::ErrorBox(error.message());
    }
}

void TfrmFilterDialog::btnFilterLoadClick()
{
    QString fileName;
    if (!SelectFilterFile(fileName, false, FilterFolder, this))
        return;
    FilterFileName_ = fileName;
    std::unique_ptr<IniFile> ini;
    try {
        ini = std::make_unique<IniFile>(fileName);
    } catch (const FilterFileError& error) {
        platform::ErrorBox(error.message());
        return;
    }
    const QString file = QFileInfo(fileName).fileName();
    if (!ini->exists() || (!ini->hasSection(QStringLiteral("Main")) && !ini->hasSection(QStringLiteral("Filter")))) {
        platform::ErrorBox(texts::Format(texts::Text(61551), {fileName}));
        return;
    }
    const QStringList keys = ini->ReadSection(QStringLiteral("Filter"));
    auto value = [&](qsizetype k) { return ini->ReadString(QStringLiteral("Filter"), keys[k]); };
    ui->lbFilter->clear();
    // The keys are taken by position, four to a row; a lone key at the very end is left over from an edit.
    for (qsizetype k = 0; k < keys.size() - 1; k += 4) {
        const QString rowNumber = QString::number(k / 4 + 1);
        if (k + 3 >= keys.size()) {
            platform::ErrorBox(texts::Format(texts::Text(61557), {file, rowNumber}));
            break;
        }
        bool number = false;
        int condition = value(k + 2).toInt(&number);
        if (!number)
            condition = 0;
        if (condition < 0 || condition >= kConditionCount) {
            platform::ErrorBox(texts::Format(texts::Text(61555), {file, rowNumber, value(k + 2)}));
            break;
        }
        condition = IndexOfCondition(ConditionCaptions[std::size_t(condition)]);
        const int field = FindFieldIndex(value(k + 1));
        if (!AddFilterItem(value(k) == u"AND", field, condition, value(k + 3))) {
            platform::ErrorBox(texts::Format(texts::Text(61556), {file, rowNumber, value(k + 1)}));
            break;
        }
    }
    ui->lbFilter->update();
    ui->btnFilterSave->setEnabled(rowCount() > 0);
    lbFilterChange();
}

void TfrmFilterDialog::done(int result)
{
    if (result == QDialog::Accepted && AcceptFilter && !AcceptFilter(FilterText()))
        return;
    QDialog::done(result);
}

}  // namespace filter
