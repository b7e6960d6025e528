#pragma once

// Byte layout of Paradox table files and the encoding of field values. Everything here works on byte buffers
// only; the files themselves are handled by ParadoxStorage and ParadoxWriter.

#include "db/ByteOrder.h"
#include "db/FieldType.h"
#include "rtl/CodePages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QDate>
#include <QTime>
#include <QVariant>
#include <QtEndian>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace db::paradox {

// -1, 0 or 1 as the first n bytes of a compare to those of b, as unsigned bytes; eight at a time.
inline int compareBytes(const char* a, const char* b, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y) return qFromBigEndian(x) < qFromBigEndian(y) ? -1 : 1;
    }
    for (; i < n; ++i) {
        if (a[i] != b[i]) return std::uint8_t(a[i]) < std::uint8_t(b[i]) ? -1 : 1;
    }
    return 0;
}

// Whether value holds a T. QVariant::metaType() is a call into the library, made for every field of every record
// read or written; the type the value carries is right at hand.
template <typename T>
Q_ALWAYS_INLINE bool holds(const QVariant& value)
{
    return value.data_ptr().type() == QMetaType::fromType<T>();
}

// Type codes in a table header's field descriptors.
namespace TypeCode {
constexpr std::uint8_t Alpha = 0x01;
constexpr std::uint8_t Date = 0x02;
constexpr std::uint8_t Short = 0x03;
constexpr std::uint8_t Long = 0x04;
constexpr std::uint8_t Money = 0x05;
constexpr std::uint8_t Number = 0x06;
constexpr std::uint8_t Logical = 0x09;
constexpr std::uint8_t Memo = 0x0C;
constexpr std::uint8_t Blob = 0x0D;
constexpr std::uint8_t FmtMemo = 0x0E;
constexpr std::uint8_t Ole = 0x0F;
constexpr std::uint8_t Graphic = 0x10;
constexpr std::uint8_t Time = 0x14;
constexpr std::uint8_t Timestamp = 0x15;
constexpr std::uint8_t AutoInc = 0x16;
constexpr std::uint8_t Bcd = 0x17;
constexpr std::uint8_t Bytes = 0x18;
}  // namespace TypeCode

namespace FileType {
constexpr std::uint8_t KeyedTable = 0;
constexpr std::uint8_t PrimaryIndex = 1;
constexpr std::uint8_t UnkeyedTable = 2;
}  // namespace FileType

constexpr int kBlockHeaderSize = 6;
constexpr int kBcdRecordSize = 17;
constexpr int kBlobPointerSize = 10;
constexpr int kLevel7 = 0x0C;
constexpr int kMaxBlocks = 0xFFFF;  // block numbers are 16 bits wide

// Block sizes. The header stores a table's block size as a code, the size in KB. A table is given only the sizes
// the original engine offers for its file level: 1, 2 and 4 KB, and from level 7 on also 16 and 32 KB. (8 KB,
// which is named for level 7 as well, is left out while no real file shows it: a larger block costs only the
// unused end of the last one.)
//
// The smallest block code of the table's level, not below currentCode, whose kMaxBlocks blocks hold `records`
// records of recordSize bytes; 0 when even the largest of the level cannot.
int blockCodeFor(int fileVersion, int recordSize, qint64 records, int currentCode);
// The largest block code a table of the file level can have, and the next one larger than code (0 when none).
int largestBlockCode(int fileVersion);
int nextBlockCode(int fileVersion, int code);
// The most records a table of the file level and record size can hold: kMaxBlocks blocks of its largest block
// size, or of the one it has when that is larger (and no more rows than the engine counts).
qint64 recordCapacity(int fileVersion, int recordSize, int currentCode = 0);
// The words a refusal of a full table gives: how many records it can hold at most, in blocks of which size.
QString fullTableMessage(const QString& path, qint64 capacity, int largestCode);

struct FieldLayout {
    std::uint8_t type = 0;
    std::uint8_t sizeByte = 0;  // as stored in the descriptor (BCD: decimals)
    int offset = 0;             // in the record
    int length = 0;             // bytes in the record
    bool isBlob() const
    {
        return type == TypeCode::Memo || type == TypeCode::Blob || type == TypeCode::FmtMemo ||
               type == TypeCode::Ole || type == TypeCode::Graphic;
    }
    int leaderSize() const { return length - kBlobPointerSize; }
};

// What the header of a .DB file says, plus its raw bytes so that a rewrite keeps what we do not interpret.
struct TableHeader {
    QByteArray raw;  // headerSize bytes as read (or as built for a new table)
    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0;
    int blockSize = 0;
    std::uint32_t numRecords = 0;
    int blocksInUse = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int keyFieldCount = 0;
    int fileVersion = 0;
    int sortOrder = 0;
    int codePage = 0;
    QString sortOrderName;
    std::int32_t autoInc = 0;
    bool encrypted = false;
    bool writeProtected = false;
    std::vector<FieldLayout> layout;
    QList<QByteArray> fieldNames;  // raw bytes in the table's code page

    bool hasLevel4Area() const { return fileVersion >= 0x05; }
    int tableNameSize() const { return fileVersion >= kLevel7 ? 261 : 79; }
};

// Parses and checks the header of a .DB file of fileSize bytes; `head` holds at least its first headerSize
// bytes (or the whole file when shorter). Raises EngineError with a German message on anything inconsistent.
TableHeader parseTableHeader(const QByteArray& head, qint64 fileSize, const QString& path);

// Number of bytes the header of a file with this layout needs (the "realHeaderSize").
int realHeaderSize(const TableHeader& h);

// Maps a descriptor type code to the program's field type, and back (0 when the type cannot be stored).
FieldType fieldTypeOf(std::uint8_t typeCode);
std::uint8_t typeCodeOf(FieldType type);
int recordBytesOf(std::uint8_t typeCode, int sizeByte);

// Text in the table's code page. Covers the code pages of the program (1252, 850, 437) through rtl and any other
// one the platform knows (header code page 0 falls back on the sort order's character set).
class TextCodec {
public:
    TextCodec() { buildTable(); }
    TextCodec(int codePage, const QString& sortOrderName);
    QString decode(const QByteArray& bytes) const;
    // decode() into text, reusing its memory when nobody shares it; false (text untouched) for a code page that
    // has no table of its own here.
    bool decodeInto(const char* bytes, qsizetype length, QString& text) const;
    // The first `length` bytes of encode(text) cut at its first zero byte, into out, zeros after them up to length;
    // false (out untouched) for a code page that has no table of its own here.
    bool encodeInto(const QString& text, char* out, int length) const;
    QByteArray encode(const QString& text) const;
    // encode() into out, reusing its memory when nobody shares it.
    void encode(const QString& text, QByteArray& out) const;
    // encode() into out, which has room for text.size() bytes: how many it wrote; -1 (out untouched) for a code
    // page that has no table of its own here.
    qsizetype encodeTo(const QString& text, char* out) const
    {
        return kind_ == Kind::Rtl ? rtl::encodeTo(text, rtl::CodePage(codePage_), out) : -1;
    }
    int codePage() const { return codePage_; }
    bool supported() const { return kind_ != Kind::Unknown; }
    // For every byte here, the byte in target's code page that encodeInto writes for the character it stands for,
    // where that byte stands for the same character there; 0 where not (and for zero). False for code pages whose
    // characters are not one byte each by a table of their own here.
    bool byteMapTo(const TextCodec& target, std::array<unsigned char, 256>& map) const;
    // Whether text stored in other's code page, decoded there and encoded here, gives back the very same bytes.
    bool keepsBytesOf(const TextCodec& other) const
    {
        return kind_ == Kind::Rtl && other.kind_ == Kind::Rtl && codePage_ == other.codePage_ && roundTrips_;
    }

private:
    enum class Kind { Rtl, Named, Unknown };
    void buildTable();

    Kind kind_ = Kind::Rtl;
    int codePage_ = 1252;
    QByteArray name_;
    char16_t table_[256] = {};  // byte to character, for the code pages of rtl
    bool roundTrips_ = false;   // every byte but zero encodes back to itself
};

// Bytes of an alpha field's text: up to its first zero byte, else the whole field. Fields are short and read for
// every record, so eight bytes are looked at a time here instead of calling the library.
Q_ALWAYS_INLINE qsizetype textLength(const char* p, int length)
{
    if constexpr (std::endian::native != std::endian::little) {
        return qsizetype(qstrnlen(p, uint(length)));
    } else {
        int i = 0;
        for (; i + 8 <= length; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, sizeof word);
            // The lowest marked byte is the first zero byte; a mark above it may be a false one, never below.
            const std::uint64_t zeros = (word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull;
            if (zeros != 0) return i + std::countr_zero(zeros) / 8;
        }
        for (; i < length; ++i)
            if (p[i] == 0) return i;
        return length;
    }
}

// Value encodings of one field in a record buffer. decodeField returns an invalid QVariant for a blank field;
// blob fields are decoded by the storage (they need the .MB file).
QVariant decodeField(const FieldLayout& f, const char* data, const TextCodec& codec);
// decodeField into value, which may hold the field's value of another record: a number is replaced in place, a
// text decoded into the memory of the one value holds when nobody else shares it.
void decodeFieldInto(const FieldLayout& f, const char* data, const TextCodec& codec, QVariant& value);
// decodeFieldInto for every field of a record image that unread marks, but the blob fields; clears their marks.
void decodeFieldsInto(const std::vector<FieldLayout>& layout, const char* record, const TextCodec& codec,
                      Record& values, std::vector<char>& unread);
// Writes value into the field's bytes (all zero for a null value). Raises EngineError for a value the type
// cannot hold; a text longer than an alpha field is cut.
void encodeField(const FieldLayout& f, const QVariant& value, char* data, const TextCodec& codec,
                 const QString& fieldName);
[[noreturn]] void throwBadValue(const QString& fieldName, const QVariant& value);

// Day numbers as the format counts them: 0001-01-01 is day 1.
constexpr std::int64_t kJulianDayOfDayZero = 1721425;
QDate dateFromDays(std::int64_t days);
inline std::int64_t daysFromDate(const QDate& date)
{
    return date.toJulianDay() - kJulianDayOfDayZero;
}

// Numbers as the file stores them: big-endian with the sign bit flipped (a float's other bits as well when it is
// negative), so that unsigned byte order is numeric order and all-zero bytes can mean blank.
inline void encodeInt32(char* p, std::int32_t v)
{
    qToBigEndian(std::uint32_t(v) ^ 0x80000000u, p);
}
inline void encodeInt16(char* p, std::int16_t v)
{
    qToBigEndian(std::uint16_t(std::uint16_t(v) ^ 0x8000u), p);
}
inline void encodeDouble(char* p, double v)
{
    if (v == 0.0) v = 0.0;  // no negative zero: it would sort below every positive value's neighbour
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    if (bits & (std::uint64_t(1) << 63))
        bits = ~bits;
    else
        bits |= std::uint64_t(1) << 63;
    qToBigEndian(bits, p);
}

// encodeField for the kinds a cursor's fields hold, without the general conversions and without zeroing first
// what is written whole anyway; false (nothing written) for any other value. Inline: it runs for every field of
// every record written.
Q_ALWAYS_INLINE bool encodeUsualKind(const FieldLayout& f, const QVariant& value, char* p, const TextCodec& codec,
                                     const QString& fieldName)
{
    switch (f.type) {
    case TypeCode::Alpha:
        if (holds<QString>(value))
            return codec.encodeInto(*static_cast<const QString*>(value.constData()), p, f.length);
        if (holds<QByteArray>(value)) {
            // Bytes in the table's code page (TableStorage::takesTextBytes), stored as the general conversion
            // stores bytes: up to their first zero, cut to the field.
            const QByteArray& bytes = *static_cast<const QByteArray*>(value.constData());
            const auto n = size_t(textLength(bytes.constData(), int(std::min<qsizetype>(bytes.size(), f.length))));
            std::memcpy(p, bytes.constData(), n);
            std::memset(p + n, 0, size_t(f.length) - n);
            return true;
        }
        return false;
    case TypeCode::Short:
        if (holds<int>(value)) {
            const int v = *static_cast<const int*>(value.constData());
            if (v < -32767 || v > 32767) throwBadValue(fieldName, value);
            encodeInt16(p, std::int16_t(v));
            return true;
        }
        return false;
    case TypeCode::Long:
    case TypeCode::AutoInc:
        if (holds<int>(value)) {
            const int v = *static_cast<const int*>(value.constData());
            if (v < -2147483647) throwBadValue(fieldName, value);
            encodeInt32(p, v);
            return true;
        }
        return false;
    case TypeCode::Money:
    case TypeCode::Number:
        if (holds<double>(value)) {
            const double v = *static_cast<const double*>(value.constData());
            if (!std::isfinite(v)) throwBadValue(fieldName, value);
            encodeDouble(p, v);
            return true;
        }
        return false;
    case TypeCode::Logical:
        if (holds<bool>(value)) {
            p[0] = char(*static_cast<const bool*>(value.constData()) ? 0x81 : 0x80);
            return true;
        }
        return false;
    case TypeCode::Date:
        if (holds<QDate>(value)) {
            const QDate& date = *static_cast<const QDate*>(value.constData());
            if (!date.isValid() || daysFromDate(date) < 1) throwBadValue(fieldName, value);
            encodeInt32(p, std::int32_t(daysFromDate(date)));
            return true;
        }
        return false;
    case TypeCode::Time:
        if (holds<QTime>(value)) {
            const QTime& time = *static_cast<const QTime*>(value.constData());
            if (!time.isValid()) throwBadValue(fieldName, value);
            encodeInt32(p, time.msecsSinceStartOfDay());
            return true;
        }
        return false;
    default:
        return false;
    }
}
bool isBlank(const char* data, int length);


// Names of an existing table's companions, found without regard to case. Empty when there is none.
QString findCompanion(const QString& tablePath, const QString& extension);
// Path a new companion gets: the table's base name with the extension in the case of the table's own extension.
QString newCompanionPath(const QString& tablePath, const QString& extension);
// Every companion whose extension matches the pattern (regular expression over the extension, case-insensitive).
QStringList findCompanions(const QString& tablePath, const QString& extensionPattern);

QString corruptMessage(const QString& path, const QString& detail);

}  // namespace db::paradox
