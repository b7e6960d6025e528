#pragma once

#include "db/DataSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>

namespace db {
class Field;
class Table;
class TableModel;
}  // namespace db

// Controls bound to one field of a data source's current record. They show the field and follow the cursor, and
// what the person enters goes straight into the current record: the control puts the record into edit state and
// writes the field; the record is posted by an explicit Post or when the table moves to another record. A control
// whose table is closed, read-only or lacks the field shows nothing and takes no input.
namespace platform {

// The data source and the field name of one control, and the field they name while the table is open.
class FieldDataLink : public QObject {
    Q_OBJECT

public:
    explicit FieldDataLink(QObject* parent = nullptr);

    db::DataSource* DataSource() const { return source_; }
    void setDataSource(db::DataSource* source);
    QString DataField() const { return fieldName_; }
    void setDataField(const QString& name);

    // The field in the open table, nullptr while the table is closed, switched off or has no such field.
    db::Field* Field() const;
    bool CanModify() const;
    // Makes the field writable: a record in browse state is put into edit state. False (and nothing changes) when
    // the table cannot be written.
    bool Edit();

signals:
    // The field shows something else now: another record, another value, the table opened or closed.
    void changed();

private:
    void onData(db::Field* field);
    db::Table* table() const;

    QPointer<db::DataSource> source_;
    QString fieldName_;
    QMetaObject::Connection connections_[3];
};

// A one-line edit on a field. Texts go into the field as they are typed; a value the field cannot take yet (a
// half-typed number) is written when the edit is left or Return is pressed, where a value that still does not fit
// is reported and the edit keeps the focus.
class TDBEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TDBEdit(QWidget* parent = nullptr);

    FieldDataLink& DataLink() { return link_; }
    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    // Read-only by choice; a table that cannot be written makes the edit read-only as well.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

private:
    void showField();
    void onEdited(const QString& text);
    void finishEditing();
    bool write(bool report);

    FieldDataLink link_;
    bool readOnly_ = false;
    bool showing_ = false;
    bool pending_ = false;  // typed text the field has not taken yet
    int appliedLimit_ = 32767;  // the length limit the field's size gave, QLineEdit's own at first
};

// A check box on a field. A logical field holds its state; any other field holds ValueChecked ("Wahr") or
// ValueUnchecked ("Falsch") as text, and a value that is neither shows unticked. The person's click writes the
// field first, then the state changes (and the click handler of ClickHandlers.h runs); the cursor moving to a
// record of another state changes it too, with its click handler, as the program's SetChecked does.
class TDBCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    FieldDataLink& DataLink() { return link_; }
    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    QString ValueChecked = QStringLiteral("Wahr");
    QString ValueUnchecked = QStringLiteral("Falsch");
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }

protected:
    void nextCheckState() override;

private:
    void showField();
    bool fieldState(db::Field* field) const;

    FieldDataLink link_;
    bool readOnly_ = false;
};

// A multi-line edit on a (memo or text) field; every change goes into the field at once.
class TDBMemo : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TDBMemo(QWidget* parent = nullptr);

    FieldDataLink& DataLink() { return link_; }
    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    void setDataField(const QString& name) { link_.setDataField(name); }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

private:
    void showField();
    void onChanged();

    FieldDataLink link_;
    bool readOnly_ = false;
    bool showing_ = false;
};

// A label that shows a field.
class TDBText : public QLabel {
    Q_OBJECT

public:
    explicit TDBText(QWidget* parent = nullptr);

    FieldDataLink& DataLink() { return link_; }
    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    void setDataField(const QString& name) { link_.setDataField(name); }

private:
    void showField();

    FieldDataLink link_;
};

// A list that offers the records of a list table and stands for the key of the one chosen. The drop-down shows
// the list fields as columns (ListField, names separated by ";"), DropDownRows rows at a time, in the table's own
// order; the box shows the chosen record's key. Choosing a record puts the list table's cursor on it; with a data
// field set, the key also goes into that field of the data source's current record, and the box follows that
// field. CloseUp comes whenever the drop-down closes, chosen or not, after the choice has been taken.
class TDBLookupComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    void setListSource(db::DataSource* source);
    db::DataSource* ListSource() const;
    void setKeyField(const QString& name);
    QString KeyField() const { return keyField_; }
    void setListField(const QString& names);
    QString ListField() const { return listFields_.join(u';'); }
    void setDropDownRows(int rows) { setMaxVisibleItems(rows); }
    int DropDownRows() const { return maxVisibleItems(); }

    FieldDataLink& DataLink() { return link_; }
    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    void setDataField(const QString& name) { link_.setDataField(name); }

    // The key of the record shown; empty when none is.
    QString KeyValue() const;
    // Shows the record with that key; none when the list has no such record. The list table's cursor stays.
    void setKeyValue(const QString& key);

    void showPopup() override;
    void hidePopup() override;

signals:
    void CloseUp();

private:
    void arrangeColumns();
    int columnOf(const QString& fieldName) const;
    int rowOfKey(const QString& key) const;
    void takeChoice(int row);
    void showField();

    db::TableModel* model_ = nullptr;
    QString keyField_;
    QStringList listFields_;
    QString key_;
    bool settingKey_ = false;
    FieldDataLink link_;
};

}  // namespace platform
