#include "db/paradox/ParadoxFormat.h"

#include "db/EngineError.h"
#include "db/FileNames.h"
#include "rtl/CodePages.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTime>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace db::paradox {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

[[noreturn]] void corrupt(const QString& path, const QString& detail)
{
    throw EngineError(ErrorCode::CorruptFile, corruptMessage(path, detail));
}



// Integers are stored big-endian with the sign bit flipped, so that unsigned byte order is numeric order and
// all-zero bytes can mean blank.
std::int32_t decodeInt32(const char* p)
{
    return std::int32_t(getBE32(p) ^ 0x80000000u);
}
std::int16_t decodeInt16(const char* p)
{
    return std::int16_t(getBE16(p) ^ 0x8000u);
}

double decodeDouble(const char* p)
{
    std::uint64_t bits = getBE64(p);
    if (bits & (std::uint64_t(1) << 63))
        bits &= ~(std::uint64_t(1) << 63);
    else
        bits = ~bits;
    return std::bit_cast<double>(bits);
}


QVariant decodeBcd(const char* p, int decimals)
{
    const std::uint8_t head = std::uint8_t(p[0]);
    if (isBlank(p, kBcdRecordSize) || !(head & 0x40)) return {};
    const bool negative = !(head & 0x80);
    QString text;
    text.reserve(40);
    bool stop = false;
    if (negative) text += QLatin1Char('-');
    for (int i = 0; i < 32; ++i) {
        const std::uint8_t byte = std::uint8_t(p[1 + i / 2]);
        int digit = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        if (negative) digit = 0x0F - digit;
        // Real files carry junk after the digits a double could hold; the value ends at the first non-digit.
        if (digit > 9) stop = true;
        if (stop) digit = 0;
        if (i == 32 - decimals) text += QLatin1Char('.');
        text += QChar(u'0' + digit);
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? QVariant(v) : QVariant();
}

[[noreturn]] void badValue(const QString& fieldName, const QVariant& value)
{
    throwBadValue(fieldName, value);
}

void encodeBcd(char* p, int decimals, double v, const QString& fieldName, const QVariant& original)
{
    if (!std::isfinite(v)) badValue(fieldName, original);
    QString text = QString::number(std::fabs(v), 'f', decimals);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    QString intPart = dot < 0 ? text : text.left(dot);
    const QString frac = dot < 0 ? QString() : text.mid(dot + 1);
    if (intPart.size() > 32 - decimals) badValue(fieldName, original);
    const QString digits = intPart.rightJustified(32 - decimals, QLatin1Char('0')) + frac;
    bool allZero = true;
    for (QChar c : digits) allZero = allZero && c == QLatin1Char('0');
    const bool negative = v < 0 && !allZero;
    std::memset(p, 0, kBcdRecordSize);
    p[0] = char((negative ? 0x40 : 0xC0) | decimals);
    for (int i = 0; i < 32; ++i) {
        int digit = digits.at(i).unicode() - u'0';
        if (negative) digit = 0x0F - digit;
        if (i % 2 == 0)
            p[1 + i / 2] = char(digit << 4);
        else
            p[1 + i / 2] = char(std::uint8_t(p[1 + i / 2]) | digit);
    }
}

bool isNullValue(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

}  // namespace

void throwBadValue(const QString& fieldName, const QVariant& value)
{
    throw EngineError(ErrorCode::InvalidValue,
                      QStringLiteral("Der Wert \"%1\" passt nicht in das Feld %2.").arg(value.toString(), fieldName));
}

QString corruptMessage(const QString& path, const QString& detail)
{
    return QStringLiteral("Die Tabelle %1 ist beschädigt: %2").arg(QDir::toNativeSeparators(path), detail);
}

bool isBlank(const char* data, int length)
{
    for (int i = 0; i < length; ++i)
        if (data[i] != 0) return false;
    return true;
}

QDate dateFromDays(std::int64_t days)
{
    return QDate::fromJulianDay(days + kJulianDayOfDayZero);
}


FieldType fieldTypeOf(std::uint8_t typeCode)
{
    switch (typeCode) {
    case TypeCode::Alpha: return FieldType::ftString;
    case TypeCode::Date: return FieldType::ftDate;
    case TypeCode::Short: return FieldType::ftSmallint;
    case TypeCode::Long: return FieldType::ftInteger;
    case TypeCode::Money: return FieldType::ftCurrency;
    case TypeCode::Number: return FieldType::ftFloat;
    case TypeCode::Logical: return FieldType::ftBoolean;
    case TypeCode::Memo: return FieldType::ftMemo;
    case TypeCode::Blob: return FieldType::ftBlob;
    case TypeCode::FmtMemo: return FieldType::ftFmtMemo;
    case TypeCode::Ole: return FieldType::ftParadoxOle;
    case TypeCode::Graphic: return FieldType::ftGraphic;
    case TypeCode::Time: return FieldType::ftTime;
    case TypeCode::Timestamp: return FieldType::ftDateTime;
    case TypeCode::AutoInc: return FieldType::ftAutoInc;
    case TypeCode::Bcd: return FieldType::ftBCD;
    case TypeCode::Bytes: return FieldType::ftBytes;
    default: return FieldType::ftUnknown;
    }
}

std::uint8_t typeCodeOf(FieldType type)
{
    switch (type) {
    case FieldType::ftString: return TypeCode::Alpha;
    case FieldType::ftDate: return TypeCode::Date;
    case FieldType::ftSmallint: return TypeCode::Short;
    case FieldType::ftInteger: return TypeCode::Long;
    case FieldType::ftCurrency: return TypeCode::Money;
    case FieldType::ftFloat: return TypeCode::Number;
    case FieldType::ftBoolean: return TypeCode::Logical;
    case FieldType::ftMemo: return TypeCode::Memo;
    case FieldType::ftBlob: return TypeCode::Blob;
    case FieldType::ftFmtMemo: return TypeCode::FmtMemo;
    case FieldType::ftParadoxOle: return TypeCode::Ole;
    case FieldType::ftGraphic: return TypeCode::Graphic;
    case FieldType::ftTime: return TypeCode::Time;
    case FieldType::ftDateTime: return TypeCode::Timestamp;
    case FieldType::ftAutoInc: return TypeCode::AutoInc;
    case FieldType::ftBCD: return TypeCode::Bcd;
    case FieldType::ftBytes: return TypeCode::Bytes;
    default: return 0;
    }
}

// Bytes the field takes in a record, or -1 when the descriptor is impossible.
int recordBytesOf(std::uint8_t typeCode, int sizeByte)
{
    switch (typeCode) {
    case TypeCode::Alpha:
    case TypeCode::Bytes: return sizeByte >= 1 ? sizeByte : -1;
    case TypeCode::Date:
    case TypeCode::Long:
    case TypeCode::Time:
    case TypeCode::AutoInc: return sizeByte == 4 ? 4 : -1;
    case TypeCode::Short: return sizeByte == 2 ? 2 : -1;
    case TypeCode::Money:
    case TypeCode::Number:
    case TypeCode::Timestamp: return sizeByte == 8 ? 8 : -1;
    case TypeCode::Logical: return sizeByte == 1 ? 1 : -1;
    case TypeCode::Memo:
    case TypeCode::Blob:
    case TypeCode::FmtMemo:
    case TypeCode::Ole:
    case TypeCode::Graphic: return sizeByte >= kBlobPointerSize ? sizeByte : -1;
    case TypeCode::Bcd: return sizeByte <= 32 ? kBcdRecordSize : -1;
    default: return -1;
    }
}

namespace {

constexpr int kOlderBlockCodes[] = {1, 2, 4};
constexpr int kLevel7BlockCodes[] = {1, 2, 4, 16, 32};

std::span<const int> blockCodesOf(int fileVersion)
{
    if (fileVersion >= kLevel7) return kLevel7BlockCodes;
    return kOlderBlockCodes;
}

qint64 recordsIn(int blockCode, int recordSize)
{
    const qint64 perBlock = (blockCode * 1024 - kBlockHeaderSize) / recordSize;
    return std::min<qint64>(perBlock * kMaxBlocks, std::numeric_limits<int>::max());
}

}  // namespace

int largestBlockCode(int fileVersion)
{
    return blockCodesOf(fileVersion).back();
}

int nextBlockCode(int fileVersion, int code)
{
    for (const int larger : blockCodesOf(fileVersion))
        if (larger > code) return larger;
    return 0;
}

int blockCodeFor(int fileVersion, int recordSize, qint64 records, int currentCode)
{
    if (recordSize <= 0) return 0;
    for (int code = currentCode; code != 0; code = nextBlockCode(fileVersion, code))
        if (recordsIn(code, recordSize) >= records) return code;
    return 0;
}

qint64 recordCapacity(int fileVersion, int recordSize, int currentCode)
{
    return recordSize > 0 ? recordsIn(std::max(largestBlockCode(fileVersion), currentCode), recordSize) : 0;
}

QString fullTableMessage(const QString& path, qint64 capacity, int largestCode)
{
    return QStringLiteral("Die Tabelle %1 ist voll: Sie kann höchstens %2 Sätze aufnehmen, in %3 Blöcken zu %4 KB, "
                          "der größten Blockgröße ihrer Dateiversion.")
        .arg(QDir::toNativeSeparators(path))
        .arg(capacity)
        .arg(kMaxBlocks)
        .arg(largestCode);
}

int realHeaderSize(const TableHeader& h)
{
    const int n = int(h.layout.size());
    int size = (h.hasLevel4Area() ? 0x78 : 0x58) + 2 * n + 4 + 4 * n + h.tableNameSize();
    for (const QByteArray& name : h.fieldNames) size += int(name.size()) + 1;
    if (h.hasLevel4Area()) size += 2 * n + int(h.sortOrderName.toLatin1().size()) + 1;
    return size;
}

TableHeader parseTableHeader(const QByteArray& head, qint64 fileSize, const QString& path)
{
    TableHeader h;
    if (fileSize < 0x58 || head.size() < 0x58) corrupt(path, QStringLiteral("Der Dateikopf ist unvollständig."));
    const char* d = head.constData();
    h.recordSize = getU16(d + 0x00);
    h.headerSize = getU16(d + 0x02);
    h.fileType = std::uint8_t(d[0x04]);
    const int blockCode = std::uint8_t(d[0x05]);
    h.numRecords = getU32(d + 0x06);
    h.blocksInUse = getU16(d + 0x0A);
    h.fileBlocks = getU16(d + 0x0C);
    h.firstBlock = getU16(d + 0x0E);
    h.lastBlock = getU16(d + 0x10);
    const int numFields = std::int16_t(getU16(d + 0x21));
    h.keyFieldCount = std::int16_t(getU16(d + 0x23));
    const std::uint32_t encryption1 = getU32(d + 0x25);
    h.sortOrder = std::uint8_t(d[0x29]);
    h.writeProtected = d[0x38] != 0;
    h.fileVersion = std::uint8_t(d[0x39]);
    h.autoInc = std::int32_t(getU32(d + 0x49));

    if (h.fileType != FileType::KeyedTable && h.fileType != FileType::UnkeyedTable)
        corrupt(path, QStringLiteral("Die Datei ist keine Paradox-Tabelle (Dateityp %1).").arg(h.fileType));
    if (h.fileVersion < 0x03 || h.fileVersion > kLevel7)
        corrupt(path, QStringLiteral("Unbekannte Version %1 des Tabellenformats.").arg(h.fileVersion));
    if (blockCode != 1 && blockCode != 2 && blockCode != 3 && blockCode != 4 && blockCode != 8 && blockCode != 16 &&
        blockCode != 32)
        corrupt(path, QStringLiteral("Unbekannte Blockgröße (Code %1).").arg(blockCode));
    h.blockSize = blockCode * 1024;
    if (h.headerSize < 0x58 || h.headerSize > fileSize || h.headerSize > head.size())
        corrupt(path, QStringLiteral("Die Größe des Dateikopfs (%1 Bytes) ist unmöglich.").arg(h.headerSize));
    if (h.hasLevel4Area() && h.headerSize < 0x78)
        corrupt(path, QStringLiteral("Der Dateikopf (%1 Bytes) ist zu kurz für seine Version.").arg(h.headerSize));
    h.raw = head.left(h.headerSize);

    h.encrypted = h.fileVersion < 0x05 ? encryption1 != 0
                                       : (encryption1 != 0xFF00FF00u || getU32(d + 0x5C) != 0);
    if (h.encrypted) return h;  // the caller refuses it; nothing after this point is readable

    if (numFields < 1 || numFields > 255)
        corrupt(path, QStringLiteral("Unmögliche Feldanzahl %1.").arg(numFields));
    const bool keyed = h.fileType == FileType::KeyedTable;
    if (h.keyFieldCount < 0 || h.keyFieldCount > numFields || (keyed && h.keyFieldCount == 0))
        corrupt(path, QStringLiteral("Unmögliche Anzahl von Schlüsselfeldern %1.").arg(h.keyFieldCount));
    if (!keyed) h.keyFieldCount = 0;

    int pos = h.hasLevel4Area() ? 0x78 : 0x58;
    auto need = [&](qint64 bytes) {
        if (pos + bytes > h.headerSize) corrupt(path, QStringLiteral("Der Dateikopf ist zu kurz für seine Felder."));
    };
    need(2 * numFields);
    int offset = 0;
    for (int i = 0; i < numFields; ++i) {
        FieldLayout f;
        f.type = std::uint8_t(d[pos + 2 * i]);
        f.sizeByte = std::uint8_t(d[pos + 2 * i + 1]);
        f.length = recordBytesOf(f.type, f.sizeByte);
        if (f.length < 0)
            corrupt(path, QStringLiteral("Feld %1 hat einen unbekannten Typ (%2) oder eine unmögliche Größe (%3).")
                              .arg(i + 1)
                              .arg(f.type)
                              .arg(f.sizeByte));
        f.offset = offset;
        offset += f.length;
        h.layout.push_back(f);
    }
    if (offset != h.recordSize)
        corrupt(path, QStringLiteral("Die Satzlänge %1 passt nicht zu den Feldern (%2).").arg(h.recordSize).arg(offset));
    if (h.recordSize > h.blockSize - kBlockHeaderSize)
        corrupt(path, QStringLiteral("Die Satzlänge %1 ist größer als ein Block.").arg(h.recordSize));
    for (int i = 0; i < h.keyFieldCount; ++i)
        if (h.layout[i].isBlob()) corrupt(path, QStringLiteral("Ein Memofeld kann kein Schlüsselfeld sein."));
    pos += 2 * numFields;
    need(4 + 4 * numFields + h.tableNameSize());
    pos += 4 + 4 * numFields + h.tableNameSize();
    for (int i = 0; i < numFields; ++i) {
        const int end = int(head.indexOf('\0', pos));
        if (end < 0 || end >= h.headerSize) corrupt(path, QStringLiteral("Die Feldnamen sind nicht abgeschlossen."));
        h.fieldNames.push_back(head.mid(pos, end - pos));
        pos = end + 1;
    }
    if (h.hasLevel4Area()) {
        h.codePage = getU16(d + 0x6A);
        int sortPos = getU16(d + 0x6E) + 0x58;
        if (sortPos < 0x78 || sortPos >= h.headerSize) sortPos = pos + 2 * numFields;
        if (sortPos < h.headerSize) {
            const int end = int(head.indexOf('\0', sortPos));
            if (end < 0 || end >= h.headerSize)
                corrupt(path, QStringLiteral("Der Name der Sortierfolge ist nicht abgeschlossen."));
            h.sortOrderName = QString::fromLatin1(head.mid(sortPos, end - sortPos));
        }
    }

    // Real files may end right after the used part of their last block, so only the start of every block has to
    // lie inside the file; reads of block contents are checked one by one.
    const qint64 needed = qint64(h.headerSize) + qint64(std::max(h.fileBlocks - 1, 0)) * h.blockSize +
                          (h.fileBlocks > 0 ? kBlockHeaderSize : 0);
    if (needed > fileSize)
        corrupt(path, QStringLiteral("Die Datei ist kürzer (%1 Bytes), als ihr Kopf angibt (%2 Bytes).")
                          .arg(fileSize)
                          .arg(needed));
    if (h.firstBlock > h.fileBlocks || h.lastBlock > h.fileBlocks)
        corrupt(path, QStringLiteral("Der Kopf verweist auf einen Block außerhalb der Datei."));
    return h;
}

TextCodec::TextCodec(int codePage, const QString& sortOrderName)
{
    const QString upperSort = sortOrderName.toUpper();
    const bool ansiSort = upperSort.startsWith(QLatin1String("ANSI")) || upperSort.startsWith(QLatin1String("DBWIN"));
    switch (codePage) {
    case 1252:
    case 850:
    case 437:
        kind_ = Kind::Rtl;
        codePage_ = codePage;
        buildTable();
        return;
    case 0:
        // Level 3 tables name no code page; the sort order tells which character set their text is in.
        if (upperSort == QLatin1String("BLROM800")) {
            kind_ = Kind::Named;
            name_ = "hp-roman8";
            codePage_ = 0;
        } else {
            kind_ = Kind::Rtl;
            codePage_ = ansiSort ? 1252 : 437;
            buildTable();
        }
        return;
    default: break;
    }
    codePage_ = codePage;
    const QByteArray candidates[] = {"CP" + QByteArray::number(codePage), "windows-" + QByteArray::number(codePage),
                                     "IBM" + QByteArray::number(codePage)};
    for (const QByteArray& name : candidates) {
        QStringDecoder probe(name.constData());
        if (probe.isValid()) {
            kind_ = Kind::Named;
            name_ = name;
            return;
        }
    }
    kind_ = Kind::Unknown;
}

void TextCodec::buildTable()
{
    roundTrips_ = true;
    for (int byte = 0; byte < 256; ++byte) {
        table_[byte] = rtl::toUnicode(static_cast<unsigned char>(byte), rtl::CodePage(codePage_));
        // As encodeInto takes a character back to its byte.
        const char16_t ch = table_[byte];
        const int back = ch < 0x80 ? int(ch) : rtl::toByte(ch, rtl::CodePage(codePage_));
        if (byte > 0 && back != byte) roundTrips_ = false;
    }
}

bool TextCodec::decodeInto(const char* bytes, qsizetype length, QString& text) const
{
    if (kind_ != Kind::Rtl)
        return false;
    if (text.isDetached()) {
        if (text.size() != length) text.resize(length);  // keeps the memory when it is large enough
    } else
        text = QString(length, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    // Every code page here is ASCII below 0x80: runs of eight such bytes widen without the table, which the
    // compiler does eight at a time.
    qsizetype i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, sizeof word);
        if (word & 0x8080808080808080ull) break;
        for (int k = 0; k < 8; ++k)
            out[i + k] = char16_t(in[i + k]);
    }
    for (; i < length; ++i)
        out[i] = table_[in[i]];
    return true;
}

bool TextCodec::byteMapTo(const TextCodec& target, std::array<unsigned char, 256>& map) const
{
    if (kind_ != Kind::Rtl || target.kind_ != Kind::Rtl) return false;
    map.fill(0);
    // Below 0x80 every byte stands for itself on both sides, which passing bytes relies on.
    for (int byte = 1; byte < 0x80; ++byte)
        if (table_[byte] != byte || target.table_[byte] != byte) return false;
    for (int byte = 1; byte < 256; ++byte) {
        const char16_t ch = table_[byte];
        if (ch == 0) continue;
        // encodeInto writes characters one by one: what it writes for the character alone it writes for it anywhere.
        char out[2];
        target.encodeInto(QString(QChar(ch)), out, 2);
        if (out[0] != 0 && out[1] == 0 && target.table_[static_cast<unsigned char>(out[0])] == ch)
            map[size_t(byte)] = static_cast<unsigned char>(out[0]);
    }
    return true;
}

bool TextCodec::encodeInto(const QString& text, char* out, int length) const
{
    if (kind_ != Kind::Rtl)
        return false;
    // As rtl::encode does, character by character; a zero character ends the text as the field stores it. This runs
    // for every text field of every record written, mostly short texts with a few characters beyond ASCII among
    // plain ones: eight characters are looked at together, and those before the first that is not plain go out at
    // once, so that such a character costs one step of its own instead of a new start.
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    qsizetype i = 0;
    int used = 0;
    while (i < n && used < length) {
#ifdef __SSE2__
        if (i + 8 <= n && used + 8 <= length) {
            const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const __m128i zero = _mm_setzero_si128();
            // All ones where a character lies between 1 and 0x7F.
            const __m128i plain =
                _mm_andnot_si128(_mm_cmpeq_epi16(chars, zero),
                                 _mm_cmpeq_epi16(_mm_and_si128(chars, _mm_set1_epi16(short(0xFF80))), zero));
            const unsigned mask = unsigned(_mm_movemask_epi8(plain));
            // Eight bytes go out; those past the plain characters are written again below, or zeroed at the end.
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + used), _mm_packus_epi16(chars, chars));
            const int run = mask == 0xFFFF ? 8 : std::countr_one(mask) / 2;
            i += run;
            used += run;
            if (run == 8) continue;
        }
#endif
        const char16_t ch = in[i];
        if (ch < 0x80) {
            if (ch == 0) break;
            out[used++] = char(ch);
            ++i;
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            out[used++] = '?';
            i += 2;
            continue;
        }
        const int b = rtl::toByte(ch, rtl::CodePage(codePage_));
        if (b == 0) break;
        out[used++] = b < 0 ? '?' : char(b);
        ++i;
    }
    std::memset(out + used, 0, size_t(length - used));
    return true;
}

QString TextCodec::decode(const QByteArray& bytes) const
{
    switch (kind_) {
    case Kind::Rtl: return rtl::decode(bytes, rtl::CodePage(codePage_));
    case Kind::Named: {
        QStringDecoder decoder(name_.constData());
        return decoder.decode(bytes);
    }
    case Kind::Unknown: break;
    }
    return QString::fromLatin1(bytes);
}

void TextCodec::encode(const QString& text, QByteArray& out) const
{
    if (kind_ == Kind::Rtl)
        rtl::encodeInto(text, rtl::CodePage(codePage_), out);
    else
        out = encode(text);
}

QByteArray TextCodec::encode(const QString& text) const
{
    switch (kind_) {
    case Kind::Rtl: return rtl::encode(text, rtl::CodePage(codePage_));
    case Kind::Named: {
        QStringEncoder encoder(name_.constData());
        return encoder.encode(text);
    }
    case Kind::Unknown: break;
    }
    return text.toLatin1();
}

QVariant decodeField(const FieldLayout& f, const char* p, const TextCodec& codec)
{
    switch (f.type) {
    case TypeCode::Alpha: {
        if (p[0] == 0) return {};
        const int len = int(textLength(p, f.length));
        QString text;
        if (codec.decodeInto(p, len, text)) return text;
        // The bytes are only read while decoding, so they need not be copied out of the record first.
        return codec.decode(QByteArray::fromRawData(p, len));
    }
    case TypeCode::Bytes:
        if (isBlank(p, f.length)) return {};
        return QByteArray(p, f.length);
    case TypeCode::Logical:
        if (p[0] == 0) return {};
        return bool(std::uint8_t(p[0]) & 0x7F);
    case TypeCode::Bcd: return decodeBcd(p, f.sizeByte);
    default: break;
    }
    if (isBlank(p, f.length)) return {};
    switch (f.type) {
    case TypeCode::Short: return int(decodeInt16(p));
    case TypeCode::Long:
    case TypeCode::AutoInc: return int(decodeInt32(p));
    case TypeCode::Money:
    case TypeCode::Number: return decodeDouble(p);
    case TypeCode::Date: {
        const QDate date = dateFromDays(decodeInt32(p));
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case TypeCode::Time: {
        const std::int32_t ms = decodeInt32(p);
        if (ms < 0 || ms >= kMsPerDay) return {};
        return QTime::fromMSecsSinceStartOfDay(ms);
    }
    case TypeCode::Timestamp: {
        const double ms = decodeDouble(p);
        if (!std::isfinite(ms) || ms < 0 || ms > 1e17) return {};
        const auto total = std::int64_t(std::llround(ms));
        const QDate date = dateFromDays(total / kMsPerDay);
        if (!date.isValid()) return {};
        return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(total % kMsPerDay)), Qt::UTC);
    }
    default: return {};
    }
}

namespace {

// The fixed-size fields are blank when all their bytes are zero.
template <typename Word>
bool zeroWord(const char* p)
{
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w == 0;
}

// A value of kind T put into value; into its storage when it holds one of that kind already.
template <typename T>
Q_ALWAYS_INLINE void putInPlace(QVariant& value, const T& v)
{
    if (holds<T>(value) && value.isDetached())
        *static_cast<T*>(const_cast<void*>(value.constData())) = v;
    else
        value = QVariant::fromValue(v);
}

}  // namespace

namespace {

Q_ALWAYS_INLINE void decodeInPlace(const FieldLayout& f, const char* p, const TextCodec& codec, QVariant& value)
{
    switch (f.type) {
    case TypeCode::Alpha: {
        if (p[0] == 0) break;
        const qsizetype len = textLength(p, f.length);
        if (holds<QString>(value) && value.isDetached() &&
            codec.decodeInto(p, len, *static_cast<QString*>(const_cast<void*>(value.constData()))))
            return;
        value = codec.decode(QByteArray::fromRawData(p, len));
        return;
    }
    case TypeCode::Logical:
        if (p[0] == 0) break;
        putInPlace(value, bool(std::uint8_t(p[0]) & 0x7F));
        return;
    case TypeCode::Short:
        if (zeroWord<std::uint16_t>(p)) break;
        putInPlace(value, int(decodeInt16(p)));
        return;
    case TypeCode::Long:
    case TypeCode::AutoInc:
        if (zeroWord<std::uint32_t>(p)) break;
        putInPlace(value, int(decodeInt32(p)));
        return;
    case TypeCode::Money:
    case TypeCode::Number:
        if (zeroWord<std::uint64_t>(p)) break;
        putInPlace(value, decodeDouble(p));
        return;
    case TypeCode::Date: {
        if (zeroWord<std::uint32_t>(p)) break;
        const QDate date = dateFromDays(decodeInt32(p));
        if (!date.isValid()) break;
        putInPlace(value, date);
        return;
    }
    case TypeCode::Time: {
        if (zeroWord<std::uint32_t>(p)) break;
        const std::int32_t ms = decodeInt32(p);
        if (ms < 0 || ms >= kMsPerDay) break;
        putInPlace(value, QTime::fromMSecsSinceStartOfDay(ms));
        return;
    }
    default:
        value = decodeField(f, p, codec);
        return;
    }
    if (value.isValid()) value = QVariant();
}

}  // namespace

void decodeFieldInto(const FieldLayout& f, const char* p, const TextCodec& codec, QVariant& value)
{
    decodeInPlace(f, p, codec, value);
}

void decodeFieldsInto(const std::vector<FieldLayout>& layout, const char* record, const TextCodec& codec,
                      Record& values, std::vector<char>& unread)
{
    const size_t count = std::min({layout.size(), values.size(), unread.size()});
    QVariant* value = values.data();
    char* mark = unread.data();
    for (size_t i = 0; i < count; ++i) {
        const FieldLayout& f = layout[i];
        if (!mark[i] || f.isBlob()) continue;
        decodeInPlace(f, record + f.offset, codec, value[i]);
        mark[i] = 0;
    }
}

namespace {

// Every other value, through the general conversions; kept out of line so that the common kinds above need no
// room for what these use.
Q_NEVER_INLINE void encodeConverted(const FieldLayout& f, const QVariant& value, char* p, const TextCodec& codec,
                                    const QString& fieldName)
{
    std::memset(p, 0, size_t(f.length));
    if (isNullValue(value)) return;
    const bool isText = value.typeId() == QMetaType::QString;
    if (isText && f.type != TypeCode::Alpha && value.toString().isEmpty()) return;  // empty text clears a field
    bool ok = true;
    switch (f.type) {
    case TypeCode::Alpha: {
        QByteArray bytes = value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                                   : codec.encode(value.toString());
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0) bytes.truncate(nul);
        std::memcpy(p, bytes.constData(), size_t(std::min<qsizetype>(bytes.size(), f.length)));
        return;
    }
    case TypeCode::Bytes: {
        const QByteArray bytes = value.toByteArray();
        std::memcpy(p, bytes.constData(), size_t(std::min<qsizetype>(bytes.size(), f.length)));
        return;
    }
    case TypeCode::Logical: p[0] = char(value.toBool() ? 0x81 : 0x80); return;
    case TypeCode::Short: {
        const qlonglong v = value.toLongLong(&ok);
        if (!ok || v < -32767 || v > 32767) badValue(fieldName, value);
        encodeInt16(p, std::int16_t(v));
        return;
    }
    case TypeCode::Long:
    case TypeCode::AutoInc: {
        const qlonglong v = value.toLongLong(&ok);
        if (!ok || v < -2147483647LL || v > 2147483647LL) badValue(fieldName, value);
        encodeInt32(p, std::int32_t(v));
        return;
    }
    case TypeCode::Money:
    case TypeCode::Number: {
        const double v = value.toDouble(&ok);
        if (!ok || !std::isfinite(v)) badValue(fieldName, value);
        encodeDouble(p, v);
        return;
    }
    case TypeCode::Bcd: {
        const double v = value.toDouble(&ok);
        if (!ok) badValue(fieldName, value);
        encodeBcd(p, f.sizeByte, v, fieldName, value);
        return;
    }
    case TypeCode::Date: {
        const QDate date = value.toDate();
        if (!date.isValid() || date.year() < 1) badValue(fieldName, value);
        encodeInt32(p, std::int32_t(daysFromDate(date)));
        return;
    }
    case TypeCode::Time: {
        const QTime time = value.toTime();
        if (!time.isValid()) badValue(fieldName, value);
        encodeInt32(p, time.msecsSinceStartOfDay());
        return;
    }
    case TypeCode::Timestamp: {
        const QDateTime dt = value.toDateTime();
        if (!dt.isValid() || dt.date().year() < 1) badValue(fieldName, value);
        const double ms = double(daysFromDate(dt.date())) * double(kMsPerDay) + dt.time().msecsSinceStartOfDay();
        encodeDouble(p, ms);
        return;
    }
    default: break;
    }
    throw EngineError(ErrorCode::NotSupported,
                      QStringLiteral("Das Feld %1 hat einen Typ, der so nicht geschrieben werden kann.").arg(fieldName));
}

}  // namespace

void encodeField(const FieldLayout& f, const QVariant& value, char* p, const TextCodec& codec,
                 const QString& fieldName)
{
    if (encodeUsualKind(f, value, p, codec, fieldName)) return;
    encodeConverted(f, value, p, codec, fieldName);
}

QStringList findCompanions(const QString& tablePath, const QString& extensionPattern)
{
    const QFileInfo info(tablePath);
    const QString base = info.completeBaseName();
    const QRegularExpression ext(QStringLiteral("^(?:%1)$").arg(extensionPattern),
                                 QRegularExpression::CaseInsensitiveOption);
    QStringList result;
    for (const QString& file : filesOfBaseName(info.absolutePath(), base)) {
        const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
        if (dot <= file.lastIndexOf(QLatin1Char('/'))) continue;  // no extension at all
        if (ext.match(file.mid(dot + 1)).hasMatch()) result << file;
    }
    result.sort();
    return result;
}

QString findCompanion(const QString& tablePath, const QString& extension)
{
    const QFileInfo info(tablePath);
    const QString exact = info.absoluteDir().filePath(info.completeBaseName() + QLatin1Char('.') + extension);
    if (QFileInfo::exists(exact)) return exact;
    const QStringList found = findCompanions(tablePath, QRegularExpression::escape(extension));
    return found.isEmpty() ? QString() : found.first();
}

QString newCompanionPath(const QString& tablePath, const QString& extension)
{
    const QFileInfo info(tablePath);
    const QString suffix = info.suffix();
    const bool lower = !suffix.isEmpty() && suffix == suffix.toLower();
    return info.absoluteDir().filePath(info.completeBaseName() + QLatin1Char('.') +
                                       (lower ? extension.toLower() : extension.toUpper()));
}

}  // namespace db::paradox
