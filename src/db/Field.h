#pragma once

#include "db/FieldType.h"
#include "db/TableStorage.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <Qt>
#include <cstdint>
#include <functional>
#include <optional>

namespace db {

class Table;

// How a grid shows a column, declared on a table before its fields exist (Table::setFieldDisplays).
struct FieldDisplay {
    QString fieldName;
    QString label;  // empty: the field's name
    int width = 0;  // in characters; 0: the type's own
    std::optional<Qt::Alignment> alignment;
    bool visible = true;
    // What a grid shows in the column's cells, from the whole record (in field order), in place of the stored
    // text; empty: the stored text. The stored value stays as it is: this is for a text that depends on the
    // language in use, as a type name read from the type's code.
    std::function<QString(const Record& record)> shownText;
};

// One column of an open table, seen through its cursor: it reads and writes the cursor's current record.
//
// Conversions follow the field classes of the platform the program's rules were written for:
//   - an empty text written into a numeric, logical, date or time field clears it; into a text field it clears
//     it as well (the table files do not tell an empty text from a blank field);
//   - a text longer than a text field is cut to the field's size without an error;
//   - a logical field reads "True"/"False" and takes any leading part of "True" or "False" in any case ("t",
//     "FALSE", "fal"); other texts ("Ja", "Yes", "1") are refused, as the original refuses them;
//   - floating-point values read with FloatToStr, dates with DateToStr and friends, under rtl::formatSettings();
//   - a text field read as a number converts its text, and a blank one is no number (as StrToFloat('') is
//     none): AsInteger and AsFloat raise there, and AsDateTime raises for every text field;
//   - a float written into an integer field is rounded half to even, and every integer field checks its range.
// Every refused value raises EngineError with ErrorCode::InvalidValue and a German message that names the value
// and the field; so a caller needs one catch for all engine failures. Writing while the cursor is neither in edit
// nor in insert state raises EngineError with ErrorCode::InvalidState: a write never starts editing by itself.
class Field {
public:
    // What a field holds, which decides every conversion; taken from the type once, when the field is bound.
    enum class Kind : unsigned char { Text, Integer, Float, Logical, Date, Time, DateTime, Binary, Unsupported };

    Field(Table* table, int index, const FieldDef& def, bool indexField);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    Table* DataSet() const { return table_; }
    int Index() const { return index_; }  // position in the record, 0-based

    QString FieldName() const { return def_.name; }
    FieldType DataType() const { return def_.type; }
    int Size() const { return def_.size; }
    int Precision() const { return def_.precision; }
    // Bytes the value takes in the record buffer of the original platform (string: size + 1, blobs: 0, ...).
    int DataSize() const;
    bool Required() const { return def_.required; }
    // Member of the table's primary index.
    bool IsIndexField() const { return indexField_; }
    const FieldDef& def() const { return def_; }

    // Display settings for grids; they survive Close and Open of the same table object.
    int DisplayWidth() const;
    void setDisplayWidth(int width) { displayWidth_ = width; }
    bool Visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    QString DisplayLabel() const { return displayLabel_.isEmpty() ? def_.name : displayLabel_; }
    void setDisplayLabel(const QString& label) { displayLabel_ = label; }
    Qt::Alignment Alignment() const;
    void setAlignment(Qt::Alignment alignment)
    {
        alignment_ = alignment;
        alignmentSet_ = true;
    }

    // Takes over what display declares (its fieldName is not looked at).
    void applyDisplay(const FieldDisplay& display);
    // What a grid shows for this field in record: the declared shownText, else textOf the stored value.
    QString shownTextOf(const Record& record) const;
    bool hasShownText() const { return static_cast<bool>(shownText_); }

    bool IsNull() const;
    void Clear();

    // The setters below marked inline are defined with Table: their usual case, a value the field takes as it is,
    // runs for every field of every record an import writes, so it costs no call.
    QString AsString() const;
    // The text AsString gives for value when it is this field's stored value; grids show records other than the
    // current one this way.
    QString textOf(const QVariant& value) const;
    inline void setAsString(const QString& value);
    int AsInteger() const;
    inline void setAsInteger(int value);
    double AsFloat() const;
    inline void setAsFloat(double value);
    bool AsBoolean() const;
    inline void setAsBoolean(bool value);
    QDateTime AsDateTime() const;
    void setAsDateTime(const QDateTime& value);
    // The stored value in the kind FieldType.h lists for the type; an invalid QVariant for a blank field. Writing
    // takes any of those kinds (and texts, numbers, dates for any type) and converts as the setters above do.
    // Valid until the cursor's record changes or the cursor moves; a caller that keeps it takes a copy.
    // Inline (defined with Table), as it runs for every field of every record a caller walks over.
    inline const QVariant& AsVariant() const;
    void setAsVariant(const QVariant& value);

    // A text passed as its bytes between two tables (Table::takesTextBytes): whether this field takes the text of
    // source so, and by which bytes; the bytes of the field's value on the current record, browsing
    // (Table::textBytes); and setting the field to the text the source's bytes stand for, cut to the field's size
    // as that text would be (bytes not empty, without a zero byte), false where that text is for the general way.
    bool takesTextBytesOf(const Field& source, TextByteMap& map) const;
    inline bool textBytes(QByteArrayView& bytes) const;
    bool setTextBytes(QByteArrayView bytes, const TextByteMap& map);

    // Converts value for a field of this definition the way setAsVariant does, without a cursor; FindKey uses it
    // to turn look-up values into key values.
    static QVariant convert(const FieldDef& def, const QVariant& value);

private:
    friend class Table;
    void rebind(int index, const FieldDef& def, bool indexField);
    // Read right away: the value lives in the cursor's record.
    const QVariant& raw() const;
    void store(QVariant&& value);
    // What the setters leave to a call: every value but the usual one, converted or refused. Apart from the
    // setters, so that their usual case needs no stack frame.
    void storeText(const QString& value);
    void storeInteger(int value);
    void storeFloat(double value);
    void storeBoolean(bool value);
    void storeDateTime(const QDateTime& value);
    void storeVariant(const QVariant& value);
    template <typename T>
    void putApart(const T& value);
    template <typename T>
    static const T* valueOf(const QVariant& value);
    // Whether text goes into this field as it is: a text field, the text not blank and not longer than a
    // fixed-size field takes.
    bool takesTextAsIs(const QString& text) const { return text.size() > 0 && text.size() <= textLimit_; }
    // One comparison: below intMin_ the difference wraps round to beyond the span.
    bool fitsInteger(std::int64_t value) const { return static_cast<std::uint64_t>(value - intMin_) <= intSpan_; }

    Table* table_;
    int index_;
    FieldDef def_;
    bool indexField_;
    Kind kind_ = Kind::Unsupported;
    // The longest text the field takes as it is: 0 for a field that holds no text.
    qsizetype textLimit_ = 0;
    // The range an integer field takes, from intMin_ to intMin_ + intSpan_; every int for the other kinds, which do
    // not look at it.
    std::int64_t intMin_ = 0;
    std::uint64_t intSpan_ = 0;
    int displayWidth_ = 0;
    bool visible_ = true;
    QString displayLabel_;
    std::function<QString(const Record&)> shownText_;
    Qt::Alignment alignment_;
    bool alignmentSet_ = false;
};

}  // namespace db
