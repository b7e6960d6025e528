#pragma once

#include "db/FieldType.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>
#include <vector>

// The on-disk layout of .DBF tables: header, field descriptors, the text code page and the encoding of field
// values. Nothing here touches a file; DbaseTable.cpp does the reading and writing.
namespace db::dbase {

// Which writer's dialect a table follows, from its version byte.
enum class DbfFamily {
    DBase3,        // 0x03 (also dBase IV without memo), 0x83
    DBase4,        // 0x8B and the other dBase IV memo variants
    FoxPro2,       // 0xF5
    VisualFoxPro,  // 0x30, 0x31, 0x32
    DBase7,        // 0x04, 0x8C: 68-byte header, 48-byte field descriptors
};

enum class MemoKind {
    None,
    Dbt3,  // dBase III: 512-byte blocks, text ends at 0x1A
    Dbt4,  // dBase IV: blocks start FF FF 08 00 + length
    Fpt,   // FoxPro: big-endian block headers
};

// The text code page of a table. The three of the program are exact tables; the others named by real headers
// (1251, 852, ...) go through Qt's converters when the installed Qt has them.
class TextCodec {
public:
    explicit TextCodec(int codePage = 1252);
    int codePage() const { return codePage_; }
    // False when neither the program nor Qt can convert this code page (the text is then read as 1252).
    bool supported() const { return supported_; }
    QString decode(QByteArrayView bytes) const;
    // decode() into text, reusing its memory when nobody shares it; false (text untouched) for a code page the
    // program has no table of its own for.
    bool decodeInto(QByteArrayView bytes, QString& text) const;
    QByteArray encode(const QString& text) const;
    // Text's encoding into out's length bytes: a text longer than that is cut, a shorter one padded with blanks.
    void encodeInto(const QString& text, char* out, int length) const;
    // Encodes text byte for byte into out (text.size() bytes) when every character maps to itself; false when
    // one does not, out then holding rubbish.
    bool encodeDirect(const QString& text, char* out) const;

private:

    int codePage_;
    bool supported_ = true;
    QByteArray qtName_;
    char16_t table_[256] = {};  // byte to character, for the program's own code pages
};

// Code page a language driver byte names; 0 when the byte is 0 (not recorded) or unknown.
int codePageOfLanguageDriver(std::uint8_t id);

// The language driver byte new tables carry: Windows ANSI (1252).
constexpr std::uint8_t kAnsiLanguageDriver = 0x57;

// One column as stored in the table.
struct DbfField {
    FieldDef def;            // what the engine reports
    char letter = 'C';       // type letter in the descriptor
    int offset = 0;          // within the record, the deletion flag being byte 0
    int length = 0;
    int decimals = 0;
    bool hidden = false;     // Visual FoxPro's _NullFlags column: not a field of the table
    int nullBit = -1;        // bit in _NullFlags that marks the value null
    int varLengthBit = -1;   // bit in _NullFlags that says the last byte holds the used length
};

struct DbfHeader {
    std::uint8_t version = 0x03;
    DbfFamily family = DbfFamily::DBase3;
    MemoKind memoKind = MemoKind::None;
    QDate lastUpdate;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint8_t transactionFlag = 0;   // byte 0x0E
    std::uint8_t encryptionFlag = 0;    // byte 0x0F
    std::uint8_t tableFlags = 0;        // byte 0x1C: production index (dBase IV) / .CDX and memo flags (FoxPro)
    std::uint8_t languageDriver = 0;    // byte 0x1D
    std::vector<DbfField> fields;       // every column, hidden ones included
    int nullFlagsField = -1;            // index in fields of _NullFlags, or -1
    bool hasMemoFields = false;

    // Offset of the first record and of the end of the last one.
    std::uint64_t dataEnd() const
    {
        return std::uint64_t(headerLength) + std::uint64_t(recordCount) * recordLength;
    }
};

// Reads header and field descriptors from the first bytes of a .DBF (at least headerLength of them, or the whole
// file when shorter); fileSize is the size of the whole file. Raises EngineError for a file that is not a table we
// can read or whose header contradicts itself or the file size.
DbfHeader parseHeader(const QByteArray& head, std::uint64_t fileSize, const QString& path, const TextCodec& codec);
// Bytes that must be read for parseHeader: the 32-byte header tells the header length.
std::uint64_t headerBytesNeeded(const QByteArray& first32);

// The field type the engine reports for a descriptor.
FieldType mapFieldType(char letter, int length, int decimals, DbfFamily family);

// Layout of a new dBase IV table: type letters, lengths and decimals for the given definitions. Raises
// EngineError for a name or type dBase cannot hold.
DbfHeader layoutForCreate(const FieldDefList& defs);
// The 32-byte header, the descriptors and the terminator of a table we write.
QByteArray encodeHeader(const DbfHeader& header);
// Bytes 1..7 of the header: last update date and record count.
QByteArray encodeDateAndCount(const QDate& date, std::uint32_t count);

// Value of a field that does not live in a memo file. nullFlags is the record's _NullFlags byte string (empty when
// the table has none).
QVariant decodeValue(const DbfField& field, const char* bytes, const TextCodec& codec, DbfFamily family,
                     QByteArrayView nullFlags);
// decodeValue into value, which may hold a value of the field read before: a text is decoded into the memory of
// the one value holds when nobody else shares it.
void decodeValueInto(const DbfField& field, const char* bytes, const TextCodec& codec, DbfFamily family,
                     QByteArrayView nullFlags, QVariant& value);
// Block number a memo-type field points to; 0 for none.
std::uint32_t memoBlockOf(const DbfField& field, const char* bytes);
// Writes value into the field's bytes (length bytes at out); memo fields get their block number through
// encodeMemoRef. Raises EngineError (invalid value) for a number that does not fit.
void encodeValue(const DbfField& field, const QVariant& value, const TextCodec& codec, char* out);
void encodeMemoRef(const DbfField& field, std::uint32_t block, char* out);

// True for the letters whose data lives in the memo file.
bool isMemoLetter(char letter, DbfFamily family, int length);

// The text of a memo as the engine hands it out: Clipper's and dBase's soft line breaks (0x8D 0x0A) are
// formatting of the editor, not content, and are dropped.
QString memoText(QByteArrayView bytes, const TextCodec& codec);
// memoText into value, reusing the memory of the text it holds when nobody else shares it.
void memoTextInto(QByteArrayView bytes, const TextCodec& codec, QVariant& value);

}  // namespace db::dbase
