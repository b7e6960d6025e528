#include "platform/DataControls.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/TableModel.h"
#include "platform/UserInterface.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

namespace platform {

namespace {

bool isTextField(const db::Field* field)
{
    const db::FieldType type = field->DataType();
    return type == db::FieldType::ftString || type == db::FieldType::ftMemo || type == db::FieldType::ftFmtMemo;
}

// What a field shows; a field that cannot be read shows blank, and the cursor raises when it gets there.
QString fieldText(const db::Field* field)
{
    if (!field)
        return QString();
    try {
        return field->AsString();
    } catch (const db::EngineError&) {
        return QString();
    }
}

}  // namespace

// ---- FieldDataLink ----

FieldDataLink::FieldDataLink(QObject* parent) : QObject(parent) {}

void FieldDataLink::setDataSource(db::DataSource* source)
{
    if (source_ == source)
        return;
    for (auto& connection : connections_)
        disconnect(connection);
    source_ = source;
    if (source) {
        connections_[0] = connect(source, &db::DataSource::dataChanged, this, &FieldDataLink::onData);
        connections_[1] = connect(source, &db::DataSource::stateChanged, this, &FieldDataLink::changed);
        connections_[2] = connect(source, &db::DataSource::scrolled, this, &FieldDataLink::changed);
    }
    emit changed();
}

void FieldDataLink::setDataField(const QString& name)
{
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    emit changed();
}

db::Table* FieldDataLink::table() const
{
    if (!source_ || source_->State() == db::dsInactive)
        return nullptr;
    return source_->DataSet();
}

db::Field* FieldDataLink::Field() const
{
    db::Table* t = table();
    return t && !fieldName_.isEmpty() ? t->FindField(fieldName_) : nullptr;
}

bool FieldDataLink::CanModify() const
{
    db::Table* t = table();
    return Field() && t->CanModify();
}

bool FieldDataLink::Edit()
{
    if (!CanModify())
        return false;
    db::Table* t = table();
    if (t->State() == db::dsBrowse) {
        try {
            t->Edit();
        } catch (const db::EngineError& error) {
            ErrorBox(error.message());
            return false;
        }
    }
    return t->State() == db::dsEdit || t->State() == db::dsInsert;
}

void FieldDataLink::onData(db::Field* field)
{
    if (!field || field == Field())
        emit changed();
}

// ---- TDBEdit ----

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(&link_, &FieldDataLink::changed, this, &TDBEdit::showField);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::onEdited);
    connect(this, &QLineEdit::editingFinished, this, &TDBEdit::finishEditing);
    showField();
}

void TDBEdit::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    showField();
}

void TDBEdit::showField()
{
    if (showing_)
        return;
    showing_ = true;
    db::Field* field = link_.Field();
    QLineEdit::setReadOnly(readOnly_ || !link_.CanModify());
    // A text field takes no more than its size, as the person sees while typing; a limit the window set itself
    // stays.
    if (maxLength() == appliedLimit_) {
        appliedLimit_ = field && field->DataType() == db::FieldType::ftString && field->Size() > 0 ? field->Size()
                                                                                                   : 32767;
        setMaxLength(appliedLimit_);
    }
    setText(fieldText(field));
    pending_ = false;
    showing_ = false;
}

void TDBEdit::onEdited(const QString&)
{
    if (showing_)
        return;
    // Starting to edit tells every control of the record, this one too, which must not show the old text again.
    showing_ = true;
    const bool editing = !readOnly_ && link_.Edit();
    showing_ = false;
    if (!editing) {
        Beep();
        showField();
        return;
    }
    pending_ = true;
    write(false);
}

void TDBEdit::finishEditing()
{
    if (pending_ && !write(true)) {
        selectAll();
        setFocus();
    }
}

// Writes the text into the field; a value the field refuses stays pending and, with report, is shown.
bool TDBEdit::write(bool report)
{
    db::Field* field = link_.Field();
    if (!field)
        return false;
    const QString value = text();
    const int cursor = cursorPosition();
    showing_ = true;
    bool written = false;
    try {
        field->setAsString(value);
        written = true;
    } catch (const db::EngineError& error) {
        if (report) {
            showing_ = false;
            ErrorBox(error.message());
            return false;
        }
    }
    showing_ = false;
    pending_ = !written;
    // A text field may cut what it got; the edit shows what the record holds. Another kind shows what was typed
    // until the edit is left.
    if (written && isTextField(field) && field->AsString() != value) {
        showing_ = true;
        setText(field->AsString());
        setCursorPosition(std::min(cursor, static_cast<int>(text().size())));
        showing_ = false;
    }
    return written;
}

// ---- TDBCheckBox ----

TDBCheckBox::TDBCheckBox(QWidget* parent) : QCheckBox(parent)
{
    connect(&link_, &FieldDataLink::changed, this, &TDBCheckBox::showField);
    showField();
}

bool TDBCheckBox::fieldState(db::Field* field) const
{
    if (!field)
        return false;
    try {
        if (field->DataType() == db::FieldType::ftBoolean)
            return !field->IsNull() && field->AsBoolean();
        return field->AsString().compare(ValueChecked, Qt::CaseInsensitive) == 0;
    } catch (const db::EngineError&) {
        return false;
    }
}

void TDBCheckBox::showField()
{
    // Through setChecked, so that a real change runs the box's click handler as the program's SetChecked does.
    setChecked(fieldState(link_.Field()));
}

void TDBCheckBox::nextCheckState()
{
    if (readOnly_ || !link_.Edit())
        return;
    db::Field* field = link_.Field();
    const bool next = !isChecked();
    try {
        if (field->DataType() == db::FieldType::ftBoolean)
            field->setAsBoolean(next);
        else
            field->setAsString(next ? ValueChecked : ValueUnchecked);
    } catch (const db::EngineError& error) {
        ErrorBox(error.message());
        return;
    }
    // Writing the field has shown the new state already; a field that did not take it keeps the box as it is.
    setChecked(fieldState(field));
}

// ---- TDBMemo ----

TDBMemo::TDBMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    connect(&link_, &FieldDataLink::changed, this, &TDBMemo::showField);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::onChanged);
    showField();
}

void TDBMemo::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    showField();
}

void TDBMemo::showField()
{
    if (showing_)
        return;
    showing_ = true;
    QPlainTextEdit::setReadOnly(readOnly_ || !link_.CanModify());
    const QString text = fieldText(link_.Field());
    if (toPlainText() != text)
        setPlainText(text);
    showing_ = false;
}

void TDBMemo::onChanged()
{
    if (showing_)
        return;
    db::Field* field = link_.Field();
    showing_ = true;
    const bool editing = !readOnly_ && field && link_.Edit();
    showing_ = false;
    if (!editing) {
        showField();
        return;
    }
    showing_ = true;
    try {
        field->setAsString(toPlainText());
    } catch (const db::EngineError& error) {
        showing_ = false;
        ErrorBox(error.message());
        return;
    }
    showing_ = false;
}

// ---- TDBText ----

TDBText::TDBText(QWidget* parent) : QLabel(parent)
{
    connect(&link_, &FieldDataLink::changed, this, &TDBText::showField);
    showField();
}

void TDBText::showField()
{
    setText(fieldText(link_.Field()));
}

// ---- TDBLookupComboBox ----

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QComboBox(parent)
{
    auto* view = new QTableView(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->horizontalHeader()->hide();
    view->setShowGrid(false);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setView(view);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The drop-down shows DropDownRows rows, whatever the style would show.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(10);
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::takeChoice);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int row) {
        // A model being reset moves the current row by itself: the key stays and is looked up again afterwards.
        if (!settingKey_ && model_ && !model_->restructuring())
            key_ = row >= 0 ? model_->index(row, modelColumn()).data().toString() : QString();
    });
    connect(&link_, &FieldDataLink::changed, this, &TDBLookupComboBox::showField);
}

TDBLookupComboBox::~TDBLookupComboBox() = default;

void TDBLookupComboBox::setListSource(db::DataSource* source)
{
    if (model_ && model_->dataSource() == source)
        return;
    auto* old = model_;
    model_ = new db::TableModel(source, this);
    settingKey_ = true;
    setModel(model_);
    settingKey_ = false;
    // The model is taken again whenever the list table opens, closes or changes its records: the key shown stays.
    // Connected after the drop-down's own handlers, which show every column again when the model is reset.
    connect(model_, &QAbstractItemModel::modelReset, this, &TDBLookupComboBox::arrangeColumns);
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { setKeyValue(key_); });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { setKeyValue(key_); });
    // A posted record may take another place among the others.
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { setKeyValue(key_); });
    delete old;
    arrangeColumns();
}

db::DataSource* TDBLookupComboBox::ListSource() const
{
    return model_ ? model_->dataSource() : nullptr;
}

void TDBLookupComboBox::setKeyField(const QString& name)
{
    keyField_ = name;
    arrangeColumns();
}

void TDBLookupComboBox::setListField(const QString& names)
{
    listFields_ = names.split(u';', Qt::SkipEmptyParts);
    for (QString& name : listFields_)
        name = name.trimmed();
    arrangeColumns();
}

int TDBLookupComboBox::columnOf(const QString& fieldName) const
{
    if (!model_)
        return -1;
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (model_->fieldAt(column)->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column;
    }
    return -1;
}

void TDBLookupComboBox::arrangeColumns()
{
    if (!model_)
        return;
    auto* table = static_cast<QTableView*>(view());
    QHeaderView* header = table->horizontalHeader();
    // The list fields in their order first, every other column hidden.
    for (int column = 0; column < model_->columnCount(); ++column)
        table->setColumnHidden(column, true);
    int width = 0;
    int place = 0;
    const QStringList shown = listFields_.isEmpty() ? QStringList{keyField_} : listFields_;
    for (const QString& name : shown) {
        const int column = columnOf(name);
        if (column < 0)
            continue;
        table->setColumnHidden(column, false);
        header->moveSection(header->visualIndex(column), place++);
        // A long text field (a path) gets a column of a useful width, not of its size.
        const int chars =
            std::min(model_->headerData(column, Qt::Horizontal, db::TableModel::DisplayWidthRole).toInt(), 30);
        const int columnWidth = fontMetrics().averageCharWidth() * std::max(chars, 4) + 8;
        table->setColumnWidth(column, columnWidth);
        width += columnWidth;
    }
    table->setMinimumWidth(width + table->verticalScrollBar()->sizeHint().width() + 2 * table->frameWidth());
    const int keyColumn = columnOf(keyField_);
    settingKey_ = true;
    setModelColumn(keyColumn >= 0 ? keyColumn : 0);
    settingKey_ = false;
    setKeyValue(key_);
}

int TDBLookupComboBox::rowOfKey(const QString& key) const
{
    const int keyColumn = columnOf(keyField_);
    if (key.isEmpty() || keyColumn < 0)
        return -1;
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (model_->index(row, keyColumn).data().toString() == key)
            return row;
    }
    return -1;
}

QString TDBLookupComboBox::KeyValue() const
{
    return currentIndex() >= 0 ? key_ : QString();
}

void TDBLookupComboBox::setKeyValue(const QString& key)
{
    key_ = key;
    settingKey_ = true;
    setCurrentIndex(model_ ? rowOfKey(key) : -1);
    settingKey_ = false;
}

void TDBLookupComboBox::takeChoice(int row)
{
    if (!model_ || row < 0)
        return;
    key_ = model_->index(row, modelColumn()).data().toString();
    // The list table's cursor goes to the record chosen, as a list on the same data source moves it.
    model_->moveTo(row);
    if (db::Field* field = link_.Field()) {
        if (link_.Edit()) {
            try {
                field->setAsString(key_);
            } catch (const db::EngineError& error) {
                ErrorBox(error.message());
            }
        }
    }
}

void TDBLookupComboBox::showField()
{
    if (link_.DataSource() && !link_.DataField().isEmpty())
        setKeyValue(fieldText(link_.Field()));
}

void TDBLookupComboBox::showPopup()
{
    if (auto* table = static_cast<QTableView*>(view()); table && currentIndex() >= 0)
        table->scrollTo(model_->index(currentIndex(), modelColumn()));
    QComboBox::showPopup();
}

void TDBLookupComboBox::hidePopup()
{
    QComboBox::hidePopup();
    // The drop-down closes before the combo box takes the row clicked: the choice is in place once the click has
    // been handled.
    QMetaObject::invokeMethod(this, &TDBLookupComboBox::CloseUp, Qt::QueuedConnection);
}

}  // namespace platform
