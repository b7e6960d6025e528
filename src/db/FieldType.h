#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace db {

// The field type code the program stores in its working tables; the numbering is fixed (0-22, in this order).
enum class FieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
};

// One column of a table as the table files describe it.
struct FieldDef {
    QString name;
    FieldType type = FieldType::ftUnknown;
    int size = 0;        // characters of a string, bytes of a bytes field, in-record part of a blob, digits of BCD
    int precision = 0;   // decimals (dBase N/F, BCD)
    bool required = false;
};

using FieldDefList = std::vector<FieldDef>;

// One record's values, one per field, in field order. The value kinds per type:
//   string, memo, formatted memo            QString
//   smallint, integer, word, autoinc        int
//   float, currency, BCD                    double
//   boolean                                 bool
//   date / time / date-time                 QDate / QTime / QDateTime
//   bytes, var bytes, every binary blob     QByteArray
// A null (empty) field is an invalid QVariant.
using Record = std::vector<QVariant>;

}  // namespace db
