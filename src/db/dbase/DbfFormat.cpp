#include "db/dbase/DbfFormat.h"

#include "db/ByteOrder.h"
#include "db/EngineError.h"
#include "rtl/CodePages.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <cstring>

namespace db::dbase {

namespace {

[[noreturn]] void corrupt(const QString& path, const QString& why)
{
    throw EngineError(ErrorCode::CorruptFile, QStringLiteral("Die Tabelle %1 ist beschädigt: %2.").arg(path, why));
}

QByteArray qtCodecName(int cp)
{
    switch (cp) {
    case 1250: case 1251: case 1253: case 1254: case 1255: case 1256: case 874:
        return "windows-" + QByteArray::number(cp);
    case 852: case 857: case 860: case 861: case 863: case 865: case 866: case 737:
        return "IBM" + QByteArray::number(cp);
    case 10000: return "macintosh";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    default: return {};
    }
}

// Blank and NUL padding around a value in the record. The answer does not copy: it lives only as long as the
// record's bytes, which every caller outlives.
QByteArray trimmedField(const char* bytes, int length)
{
    int begin = 0;
    int end = length;
    while (end > begin && (bytes[end - 1] == ' ' || bytes[end - 1] == '\0'))
        --end;
    while (begin < end && bytes[begin] == ' ')
        ++begin;
    return QByteArray::fromRawData(bytes + begin, end - begin);
}

// The common decimal of at most 15 digits ("-1234.5625"), without a general conversion: its digits as a whole number
// and the power of ten to divide by are both exact doubles, so the one division rounds correctly, as the general
// conversion would. False for any other text. (Results go through a reference rather than std::optional: this runs
// for every number read, and handing a double back in an optional stalls the processor on its copy.)
bool parseShortDecimal(const char* p, const char* end, double& out)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    std::int64_t digits = 0;
    int count = 0;
    int decimals = -1;  // digits behind the point, -1 without one
    for (; p != end; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++count > 15)
                return false;
            digits = digits * 10 + (*p - '0');
            if (decimals >= 0)
                ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    const double value = decimals > 0 ? double(digits) / kPowers[decimals] : double(digits);
    out = negative ? -value : value;
    return true;
}

// The number in [first, last): blank-free text, possibly with a decimal comma; false for anything else.
bool parseNumber(const char* first, const char* last, double& out)
{
    if (first == last)
        return false;
    if (*first == '+')
        ++first;
    if (parseShortDecimal(first, last, out))
        return true;
    if (std::all_of(first, last, [](char c) { return c == '*'; }))
        return false;
    // Some writers use the locale's comma. The text is the record's own bytes: a comma is replaced in a copy.
    char copy[64];
    if (std::memchr(first, ',', size_t(last - first))) {
        if (last - first > qsizetype(sizeof copy))
            return false;
        std::replace_copy(first, last, copy, ',', '.');
        last = copy + (last - first);
        first = copy;
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

std::optional<double> parseNumber(const QByteArray& text)
{
    double value = 0;
    if (!parseNumber(text.constData(), text.constData() + text.size(), value))
        return std::nullopt;
    return value;
}

// A whole number of at most 18 digits with an optional sign, exactly; false for anything else.
bool parseWholeNumber(const char* p, const char* end, std::int64_t& out)
{
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+'))
        ++p;
    if (p == end || end - p > 18)
        return false;
    std::int64_t value = 0;
    for (; p != end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    out = negative ? -value : value;
    return true;
}

// A day counted from the Julian day number, as Visual FoxPro stores it.
QVariant julianDateTime(std::uint32_t day, std::uint32_t msecs)
{
    if (day == 0 && msecs == 0)
        return {};
    const QDate date = QDate::fromJulianDay(day);
    if (!date.isValid() || msecs >= 24u * 3600u * 1000u)
        return {};
    // In UTC, as a plain date and clock time: local time would consult the time zone for every value.
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::UTC);
}

// dBase 7 stores numbers so that their bytes sort like the values: big-endian with the sign bit flipped
// (integers), or flipped and, for negatives, every bit inverted (doubles).
double dbase7Double(const char* p)
{
    std::uint64_t bits = getBE64(p);
    if (bits & (std::uint64_t(1) << 63))
        bits &= ~(std::uint64_t(1) << 63);
    else
        bits = ~bits;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int fixedLengthOf(char letter, DbfFamily family)
{
    switch (letter) {
    case 'I': case '+': return 4;
    case 'Y': case 'T': case '@': case 'O': return 8;
    case 'B': return family == DbfFamily::VisualFoxPro ? 8 : 0;
    default: return 0;
    }
}

bool validFieldName(const QString& name)
{
    if (name.isEmpty() || name.size() > 10)
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool letter = (c >= u'A' && c <= u'Z');
        const bool other = (c >= u'0' && c <= u'9') || c == u'_';
        if (!(letter || (i > 0 && other)))
            return false;
    }
    return true;
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F: text without those bytes is Latin-1, which Qt widens many
// characters at a time. Looked at eight bytes at a time: a byte of that range is one whose top three bits are 100.
bool latin1Compatible(QByteArrayView bytes)
{
    constexpr std::uint64_t kTop3 = 0xE0E0E0E0E0E0E0E0ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kLow = 0x0101010101010101ull;
    const char* p = bytes.data();
    qsizetype n = bytes.size();
    auto clean = [&](std::uint64_t word) {
        // Zero exactly in the bytes of 0x80..0x9F; then the classic test for a zero byte.
        const std::uint64_t x = (word & kTop3) ^ kHigh;
        return ((x - kLow) & ~x & kHigh) == 0;
    };
    if (n < 8) {
        // Byte by byte: gathering a short tail into a word would cost more than it saves.
        unsigned control = 0;
        for (qsizetype i = 0; i < n; ++i)
            control |= unsigned(std::uint8_t(p[i]) - 0x80u < 0x20u);
        return control == 0;
    }
    std::uint64_t word;
    for (; n > 8; p += 8, n -= 8) {
        std::memcpy(&word, p, 8);
        if (!clean(word))
            return false;
    }
    // The last eight bytes, overlapping what was looked at already.
    std::memcpy(&word, p + n - 8, 8);
    return clean(word);
}

}  // namespace

// --- code pages ---------------------------------------------------------------------------------------------------

TextCodec::TextCodec(int codePage) : codePage_(codePage)
{
    if (codePage == 1252 || codePage == 850 || codePage == 437) {
        for (int byte = 0; byte < 256; ++byte)
            table_[byte] = rtl::toUnicode(static_cast<unsigned char>(byte), rtl::CodePage(codePage));
        return;
    }
    qtName_ = qtCodecName(codePage);
    supported_ = !qtName_.isEmpty() && QStringDecoder(qtName_.constData()).isValid() &&
                 QStringEncoder(qtName_.constData()).isValid();
}

bool TextCodec::encodeDirect(const QString& text, char* out) const
{
    // The program's three code pages keep ASCII as it is, and Windows-1252 also the Latin-1 letters from 0xA0 on:
    // texts of those alone take no look-up per character. One pass narrows every character and notes whether any
    // lies outside (above the page's direct range, or a C1 control 0x80..0x9F); kept in 16-bit lanes without a
    // branch per character, the compiler does it many characters at a time.
    if (codePage_ != 1252 && codePage_ != 850 && codePage_ != 437)
        return false;
    const std::uint16_t beyond = codePage_ == 1252 ? 0xFF00 : 0xFF80;
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    std::uint16_t outside = 0;
    std::uint16_t control = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const std::uint16_t c = in[i];
        outside |= std::uint16_t(c & beyond);
        control |= std::uint16_t((c & 0xE0) == 0x80);
        out[i] = char(c);
    }
    return (outside | control) == 0;
}

void TextCodec::encodeInto(const QString& text, char* out, int length) const
{
    const qsizetype n = text.size();
    if (n <= length && encodeDirect(text, out)) {
        std::memset(out + n, ' ', size_t(length - n));
        return;
    }
    const QByteArray bytes = encode(text);
    const qsizetype used = std::min<qsizetype>(bytes.size(), length);
    std::memcpy(out, bytes.constData(), size_t(used));
    std::memset(out + used, ' ', size_t(length - used));
}

bool TextCodec::decodeInto(QByteArrayView view, QString& text) const
{
    if (codePage_ != 1252 && codePage_ != 850 && codePage_ != 437)
        return false;
    const qsizetype length = view.size();
    if (text.isDetached()) {
        if (text.size() != length)
            text.resize(length);  // keeps the memory when it is large enough
    } else {
        text = QString(length, Qt::Uninitialized);
    }
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(view.data());
    // The three code pages are ASCII below 0x80: runs of eight such bytes widen without the table, which the
    // compiler does eight at a time.
    qsizetype i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, sizeof word);
        if (word & 0x8080808080808080ull)
            break;
        for (int k = 0; k < 8; ++k)
            out[i + k] = char16_t(in[i + k]);
    }
    for (; i < length; ++i)
        out[i] = table_[in[i]];
    return true;
}

QString TextCodec::decode(QByteArrayView view) const
{
    if (codePage_ == 1252 && latin1Compatible(view))
        return QString::fromLatin1(view);
    // The bytes are only looked at, never kept: no copy of them is made.
    const QByteArray bytes = QByteArray::fromRawData(view.data(), view.size());
    switch (codePage_) {
    case 850: return rtl::decode(bytes, rtl::CodePage::Oem850);
    case 437: return rtl::decode(bytes, rtl::CodePage::Oem437);
    case 1252: return rtl::decode(bytes, rtl::CodePage::Windows1252);
    default: break;
    }
    if (!supported_)
        return rtl::decode(bytes, rtl::CodePage::Windows1252);
    QStringDecoder decoder(qtName_.constData());
    return decoder.decode(bytes);
}

QByteArray TextCodec::encode(const QString& text) const
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    if (encodeDirect(text, bytes.data()))
        return bytes;
    switch (codePage_) {
    case 850: return rtl::encode(text, rtl::CodePage::Oem850);
    case 437: return rtl::encode(text, rtl::CodePage::Oem437);
    case 1252: return rtl::encode(text, rtl::CodePage::Windows1252);
    default: break;
    }
    if (!supported_)
        return rtl::encode(text, rtl::CodePage::Windows1252);
    QStringEncoder encoder(qtName_.constData());
    return encoder.encode(text);
}

int codePageOfLanguageDriver(std::uint8_t id)
{
    switch (id) {
    case 0x01: case 0x09: case 0x0B: case 0x0D: case 0x0F: case 0x11: case 0x15: case 0x18: case 0x19: case 0x1B:
        return 437;
    case 0x02: case 0x0A: case 0x0E: case 0x10: case 0x12: case 0x14: case 0x16: case 0x1A: case 0x1D: case 0x25:
    case 0x37:
        return 850;
    case 0x03: case 0x57: case 0x58: case 0x59:
        return 1252;
    case 0x04: return 10000;
    case 0x08: case 0x17: case 0x66: return 865;
    case 0x13: case 0x7B: return 932;
    case 0x1C: return 863;
    case 0x1F: case 0x22: case 0x23: case 0x40: case 0x64: return 852;
    case 0x24: return 860;
    case 0x26: case 0x65: return 866;
    case 0x4D: case 0x7A: return 936;
    case 0x4E: case 0x79: return 949;
    case 0x4F: case 0x78: return 950;
    case 0x50: case 0x7C: return 874;
    case 0x67: return 861;
    case 0x6A: return 737;
    case 0x6B: return 857;
    case 0x7D: return 1255;
    case 0x7E: return 1256;
    case 0xC8: return 1250;
    case 0xC9: return 1251;
    case 0xCA: return 1254;
    case 0xCB: return 1253;
    default: return 0;
    }
}

// --- header -------------------------------------------------------------------------------------------------------

std::uint64_t headerBytesNeeded(const QByteArray& first32)
{
    return first32.size() < 32 ? 32 : std::max<std::uint64_t>(32, getU16(first32.constData() + 8));
}

FieldType mapFieldType(char letter, int length, int decimals, DbfFamily family)
{
    switch (letter) {
    case 'C': case 'V': return FieldType::ftString;
    case 'N':
        if (decimals > 0)
            return FieldType::ftFloat;
        if (length <= 4)
            return FieldType::ftSmallint;
        if (length <= 9)
            return FieldType::ftInteger;
        return FieldType::ftFloat;
    case 'F': case 'O': return FieldType::ftFloat;
    case 'D': return FieldType::ftDate;
    case 'L': return FieldType::ftBoolean;
    case 'M': return FieldType::ftMemo;
    case 'B': return family == DbfFamily::VisualFoxPro ? FieldType::ftFloat : FieldType::ftBlob;
    case 'G': return FieldType::ftDBaseOle;
    case 'P': return FieldType::ftGraphic;
    case 'W': return FieldType::ftBlob;
    case 'Q': return FieldType::ftVarBytes;
    case 'Y': return FieldType::ftCurrency;
    case 'T': case '@': return FieldType::ftDateTime;
    case 'I': return FieldType::ftInteger;
    case '+': return FieldType::ftAutoInc;
    default: return FieldType::ftBytes;
    }
}

bool isMemoLetter(char letter, DbfFamily family, int /*length*/)
{
    switch (letter) {
    case 'M': case 'G': case 'P': return true;
    case 'B': return family != DbfFamily::VisualFoxPro;
    case 'W': return family == DbfFamily::VisualFoxPro;
    default: return false;
    }
}

DbfHeader parseHeader(const QByteArray& head, std::uint64_t fileSize, const QString& path, const TextCodec& codec)
{
    if (head.size() < 32 || fileSize < 32)
        corrupt(path, QStringLiteral("die Datei ist kürzer als ein Tabellenkopf"));
    const char* b = head.constData();
    DbfHeader h;
    h.version = std::uint8_t(b[0]);
    switch (h.version) {
    case 0x03: h.family = DbfFamily::DBase3; break;
    case 0x83: h.family = DbfFamily::DBase3; h.memoKind = MemoKind::Dbt3; break;
    case 0x8B: case 0xCB: case 0x7B: h.family = DbfFamily::DBase4; h.memoKind = MemoKind::Dbt4; break;
    case 0xF5: h.family = DbfFamily::FoxPro2; h.memoKind = MemoKind::Fpt; break;
    case 0x30: case 0x31: case 0x32: h.family = DbfFamily::VisualFoxPro; h.memoKind = MemoKind::Fpt; break;
    case 0x04: h.family = DbfFamily::DBase7; break;
    case 0x8C: h.family = DbfFamily::DBase7; h.memoKind = MemoKind::Dbt4; break;
    default:
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Datei %1 ist keine lesbare dBase-Tabelle (Kennbyte 0x%2).")
                              .arg(path)
                              .arg(h.version, 2, 16, QLatin1Char('0')));
    }
    // Two-digit years come from writers that store the year modulo 100, the others count from 1900.
    const int yy = std::uint8_t(b[1]);
    const int year = yy >= 100 ? 1900 + yy : (yy < 80 ? 2000 + yy : 1900 + yy);
    h.lastUpdate = QDate(year, std::uint8_t(b[2]), std::uint8_t(b[3]));
    h.recordCount = getU32(b + 4);
    h.headerLength = getU16(b + 8);
    h.recordLength = getU16(b + 10);
    h.transactionFlag = std::uint8_t(b[14]);
    h.encryptionFlag = std::uint8_t(b[15]);
    h.tableFlags = std::uint8_t(b[28]);
    h.languageDriver = std::uint8_t(b[29]);

    const bool level7 = h.family == DbfFamily::DBase7;
    const int firstDescriptor = level7 ? 68 : 32;
    const int descriptorSize = level7 ? 48 : 32;
    if (h.headerLength < firstDescriptor + 1 || std::uint64_t(h.headerLength) > fileSize ||
        head.size() < h.headerLength)
        corrupt(path, QStringLiteral("die Kopflänge %1 passt nicht zur Datei").arg(h.headerLength));
    if (h.recordLength < 2)
        corrupt(path, QStringLiteral("die Satzlänge %1 ist ungültig").arg(h.recordLength));
    if (h.dataEnd() > fileSize)
        corrupt(path, QStringLiteral("der Kopf nennt %1 Datensätze, die Datei enthält nur %2")
                          .arg(h.recordCount)
                          .arg((fileSize - h.headerLength) / h.recordLength));

    struct Raw {
        QString name;
        char letter;
        int length;
        int decimals;
        std::uint8_t flags;
    };
    std::vector<Raw> raws;
    for (int pos = firstDescriptor; pos + descriptorSize <= h.headerLength; pos += descriptorSize) {
        const char* d = b + pos;
        if (d[0] == 0x0D)
            break;
        const int nameBytes = level7 ? 32 : 11;
        const int nameLength = int(strnlen(d, size_t(nameBytes)));
        Raw r;
        r.name = codec.decode(QByteArray(d, nameLength)).trimmed();
        r.letter = level7 ? d[32] : d[11];
        r.length = std::uint8_t(level7 ? d[33] : d[16]);
        r.decimals = std::uint8_t(level7 ? d[34] : d[17]);
        r.flags = level7 ? 0 : std::uint8_t(d[18]);
        raws.push_back(r);
    }
    if (raws.empty())
        corrupt(path, QStringLiteral("die Tabelle hat keine Felder"));

    // Clipper and FoxPro keep the high byte of a long character field's length in its decimal count; take that
    // reading only when the plain one does not add up to the record length.
    auto total = [&](bool wideCharacters) {
        long sum = 0;
        for (const Raw& r : raws)
            sum += r.length + ((wideCharacters && r.letter == 'C') ? 256 * r.decimals : 0);
        return sum;
    };
    const bool wideCharacters = total(false) + 1 > h.recordLength && total(true) + 1 <= h.recordLength;
    if (!wideCharacters && total(false) + 1 > h.recordLength)
        corrupt(path, QStringLiteral("die Felder sind länger als ein Datensatz"));

    int offset = 1;
    int nextBit = 0;
    for (const Raw& r : raws) {
        DbfField f;
        f.letter = r.letter;
        f.length = r.length;
        f.decimals = r.decimals;
        if (r.letter == 'C' && wideCharacters) {
            f.length += 256 * r.decimals;
            f.decimals = 0;
        }
        if (f.length <= 0)
            corrupt(path, QStringLiteral("das Feld %1 hat die Länge 0").arg(r.name));
        if (f.length < fixedLengthOf(r.letter, h.family))
            corrupt(path, QStringLiteral("das Feld %1 ist zu kurz für seinen Typ").arg(r.name));
        f.offset = offset;
        offset += f.length;
        f.def.name = r.name;
        f.def.type = mapFieldType(r.letter, f.length, f.decimals, h.family);
        f.def.size = f.length;
        f.def.precision = f.decimals;
        if (h.family == DbfFamily::VisualFoxPro) {
            if (r.letter == '0') {
                f.hidden = true;
                h.nullFlagsField = int(h.fields.size());
            } else {
                // Both bits of 0x0C mark an integer the table counts up itself (0x04 alone: binary data).
                if (r.letter == 'I' && (r.flags & 0x0C) == 0x0C)
                    f.def.type = FieldType::ftAutoInc;
                if (r.flags & 0x02)
                    f.nullBit = nextBit++;
                if (r.letter == 'V' || r.letter == 'Q')
                    f.varLengthBit = nextBit++;
            }
        }
        switch (f.def.type) {
        case FieldType::ftString:
            break;
        case FieldType::ftMemo: case FieldType::ftBlob: case FieldType::ftGraphic: case FieldType::ftDBaseOle:
            f.def.size = 0;
            break;
        default:
            if (r.letter != 'N' && r.letter != 'F') {
                f.def.size = 0;
                f.def.precision = 0;
            }
            break;
        }
        if (isMemoLetter(r.letter, h.family, f.length))
            h.hasMemoFields = true;
        h.fields.push_back(f);
    }
    if (h.nullFlagsField >= 0 && h.fields[size_t(h.nullFlagsField)].length * 8 < nextBit)
        corrupt(path, QStringLiteral("das Feld _NullFlags ist zu kurz"));
    return h;
}

// --- values -------------------------------------------------------------------------------------------------------

std::uint32_t memoBlockOf(const DbfField& field, const char* bytes)
{
    if (field.length == 4)
        return getU32(bytes);
    const QByteArray text = trimmedField(bytes, field.length);
    if (text.isEmpty())
        return 0;
    std::uint32_t block = 0;
    const auto [ptr, ec] = std::from_chars(text.constData(), text.constData() + text.size(), block);
    if (ec != std::errc() || ptr != text.constData() + text.size())
        return 0;
    return block;
}

void decodeValueInto(const DbfField& field, const char* bytes, const TextCodec& codec, DbfFamily family,
                     QByteArrayView nullFlags, QVariant& value)
{
    const int bit = field.nullBit;
    const bool null = bit >= 0 && bit / 8 < nullFlags.size() && (std::uint8_t(nullFlags[bit / 8]) >> (bit % 8)) & 1;
    if (field.letter != 'C' || null) {
        value = decodeValue(field, bytes, codec, family, nullFlags);
        return;
    }
    const char* end = bytes + field.length;
    while (end > bytes && (end[-1] == ' ' || end[-1] == '\0'))
        --end;
    if (end == bytes) {
        value = QVariant();
        return;
    }
    const QByteArrayView text(bytes, end - bytes);
    if (value.metaType() == QMetaType::fromType<QString>() && value.isDetached() &&
        codec.decodeInto(text, *static_cast<QString*>(const_cast<void*>(value.constData()))))
        return;
    value = codec.decode(text);
}

QVariant decodeValue(const DbfField& field, const char* bytes, const TextCodec& codec, DbfFamily family,
                     QByteArrayView nullFlags)
{
    auto bitSet = [&](int bit) {
        return bit >= 0 && bit / 8 < nullFlags.size() && (std::uint8_t(nullFlags[bit / 8]) >> (bit % 8)) & 1;
    };
    if (bitSet(field.nullBit))
        return {};
    const int n = field.length;
    switch (field.letter) {
    case 'C': {
        const char* end = bytes + n;
        while (end > bytes && (end[-1] == ' ' || end[-1] == '\0'))
            --end;
        if (end == bytes)
            return {};
        return codec.decode(QByteArrayView(bytes, end - bytes));
    }
    case 'V': case 'Q': {
        int used = n;
        if (bitSet(field.varLengthBit))
            used = std::min<int>(std::uint8_t(bytes[n - 1]), n - 1);
        QByteArray raw(bytes, used);
        if (field.letter == 'Q')
            return raw;
        while (!raw.isEmpty() && (raw.endsWith(' ') || raw.endsWith('\0')))
            raw.chop(1);
        if (raw.isEmpty())
            return {};
        return codec.decode(raw);
    }
    case 'N': case 'F': {
        const QByteArray text = trimmedField(bytes, n);
        const char* first = text.constData();
        const char* last = first + text.size();
        if (field.def.type == FieldType::ftSmallint || field.def.type == FieldType::ftInteger) {
            // Most whole numbers are plain digits: read them without going through a double.
            std::int64_t whole = 0;
            if (parseWholeNumber(first, last, whole))
                return std::llabs(whole) > 2147483647 ? QVariant() : QVariant(int(whole));
        }
        double value = 0;
        if (!parseNumber(first, last, value))
            return {};
        switch (field.def.type) {
        case FieldType::ftSmallint: case FieldType::ftInteger:
            if (std::fabs(value) > 2147483647.0)
                return {};
            return int(std::llround(value));
        default:
            return value;
        }
    }
    case 'D': {
        // Parsed by hand: going through QDate::fromString costs a time-zone look-up per value.
        const QByteArray text = trimmedField(bytes, n);
        if (text.size() != 8)
            return {};
        int digits[8];
        for (int i = 0; i < 8; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return {};
            digits[i] = text[i] - '0';
        }
        const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
        const QDate date(year, digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]);
        return year > 0 && date.isValid() ? QVariant(date) : QVariant();
    }
    case 'L':
        switch (bytes[0]) {
        case 'T': case 't': case 'Y': case 'y': return true;
        case 'F': case 'f': case 'N': case 'n': return false;
        default: return {};
        }
    case 'I':
        if (family == DbfFamily::DBase7)
            return int(std::int32_t(getBE32(bytes) ^ 0x80000000u));
        return int(std::int32_t(getU32(bytes)));
    case '+':
        return int(std::int32_t(getBE32(bytes) ^ 0x80000000u));
    case 'Y':
        return double(std::int64_t(getU64(bytes))) / 10000.0;
    case 'T':
        return julianDateTime(getU32(bytes), getU32(bytes + 4));
    case 'O':
        return dbase7Double(bytes);
    case 'B':
        if (family == DbfFamily::VisualFoxPro) {
            const std::uint64_t bits = getU64(bytes);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return {};
    default:
        return QByteArray(bytes, n);
    }
}

QString memoText(QByteArrayView bytes, const TextCodec& codec)
{
    if (!bytes.contains('\x8D'))
        return codec.decode(bytes);
    QByteArray cleaned = bytes.toByteArray();
    cleaned.replace(QByteArrayLiteral("\x8D\x0A"), QByteArray());
    return codec.decode(cleaned);
}

void memoTextInto(QByteArrayView bytes, const TextCodec& codec, QVariant& value)
{
    if (!bytes.contains('\x8D') && value.metaType() == QMetaType::fromType<QString>() && value.isDetached() &&
        codec.decodeInto(bytes, *static_cast<QString*>(const_cast<void*>(value.constData()))))
        return;
    value = memoText(bytes, codec);
}

// --- writing ------------------------------------------------------------------------------------------------------

DbfHeader layoutForCreate(const FieldDefList& defs)
{
    if (defs.empty())
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Eine Tabelle braucht mindestens ein Feld."));
    if (defs.size() > 255)
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Eine dBase-Tabelle hat höchstens 255 Felder."));
    DbfHeader h;
    h.family = DbfFamily::DBase4;
    h.languageDriver = kAnsiLanguageDriver;
    int offset = 1;
    for (const FieldDef& def : defs) {
        DbfField f;
        const QString name = def.name.toUpper();
        if (!validFieldName(name))
            throw EngineError(ErrorCode::InvalidValue,
                              QStringLiteral("Der Feldname \"%1\" ist für eine dBase-Tabelle ungültig.").arg(def.name));
        for (const DbfField& other : h.fields)
            if (other.def.name == name)
                throw EngineError(ErrorCode::InvalidValue,
                                  QStringLiteral("Der Feldname \"%1\" ist doppelt vorhanden.").arg(name));
        auto numeric = [&](int width, int decimals) {
            f.letter = 'N';
            f.length = width;
            f.decimals = decimals;
        };
        switch (def.type) {
        case FieldType::ftString:
            f.letter = 'C';
            f.length = def.size;
            if (f.length < 1 || f.length > 254)
                throw EngineError(ErrorCode::InvalidValue,
                                  QStringLiteral("Das Feld %1 braucht eine Länge von 1 bis 254.").arg(name));
            break;
        case FieldType::ftSmallint: case FieldType::ftWord: numeric(6, 0); break;
        case FieldType::ftInteger: case FieldType::ftAutoInc: numeric(11, 0); break;
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftBCD:
            if (def.size > 0) {
                numeric(def.size, def.precision);
            } else {
                const int decimals = def.precision > 0 ? def.precision : (def.type == FieldType::ftCurrency ? 2 : 4);
                numeric(20, decimals);
            }
            if (f.length > 20 || f.decimals > 18 || (f.decimals > 0 && f.decimals > f.length - 2))
                throw EngineError(ErrorCode::InvalidValue,
                                  QStringLiteral("Länge und Nachkommastellen des Feldes %1 passen nicht.").arg(name));
            break;
        case FieldType::ftDate: f.letter = 'D'; f.length = 8; break;
        // dBase IV has no time: the time is kept as its text.
        case FieldType::ftTime: f.letter = 'C'; f.length = 8; break;
        case FieldType::ftDateTime: f.letter = 'C'; f.length = 19; break;
        case FieldType::ftBoolean: f.letter = 'L'; f.length = 1; break;
        case FieldType::ftMemo: case FieldType::ftFmtMemo: f.letter = 'M'; f.length = 10; break;
        case FieldType::ftDBaseOle: case FieldType::ftParadoxOle: f.letter = 'G'; f.length = 10; break;
        case FieldType::ftBlob: case FieldType::ftGraphic: case FieldType::ftTypedBinary: case FieldType::ftBytes:
        case FieldType::ftVarBytes:
            f.letter = 'B';
            f.length = 10;
            break;
        default:
            throw EngineError(ErrorCode::NotSupported,
                              QStringLiteral("Der Feldtyp von %1 kann in einer dBase-Tabelle nicht angelegt werden.")
                                  .arg(name));
        }
        f.offset = offset;
        offset += f.length;
        f.def.name = name;
        f.def.type = mapFieldType(f.letter, f.length, f.decimals, h.family);
        f.def.size = (f.letter == 'C' || f.letter == 'N') ? f.length : 0;
        f.def.precision = f.letter == 'N' ? f.decimals : 0;
        if (isMemoLetter(f.letter, h.family, f.length))
            h.hasMemoFields = true;
        h.fields.push_back(f);
    }
    if (offset > 4000)
        throw EngineError(ErrorCode::InvalidValue,
                          QStringLiteral("Ein Datensatz einer dBase-Tabelle ist höchstens 4000 Bytes lang."));
    h.version = h.hasMemoFields ? 0x8B : 0x03;
    h.memoKind = h.hasMemoFields ? MemoKind::Dbt4 : MemoKind::None;
    h.headerLength = std::uint16_t(32 + 32 * h.fields.size() + 1);
    h.recordLength = std::uint16_t(offset);
    h.lastUpdate = QDate::currentDate();
    return h;
}

QByteArray encodeDateAndCount(const QDate& date, std::uint32_t count)
{
    QByteArray out(7, '\0');
    out[0] = char(std::clamp(date.year() - 1900, 0, 255));
    out[1] = char(date.month());
    out[2] = char(date.day());
    putU32(out.data() + 3, count);
    return out;
}

QByteArray encodeHeader(const DbfHeader& h)
{
    QByteArray out(h.headerLength, '\0');
    char* b = out.data();
    b[0] = char(h.version);
    const QByteArray dc = encodeDateAndCount(h.lastUpdate, h.recordCount);
    std::memcpy(b + 1, dc.constData(), 7);
    putU16(b + 8, h.headerLength);
    putU16(b + 10, h.recordLength);
    b[29] = char(h.languageDriver);
    int pos = 32;
    for (const DbfField& f : h.fields) {
        const QByteArray name = f.def.name.toLatin1();
        std::memcpy(b + pos, name.constData(), size_t(std::min<qsizetype>(name.size(), 10)));
        b[pos + 11] = f.letter;
        b[pos + 16] = char(f.length);
        b[pos + 17] = char(f.decimals);
        pos += 32;
    }
    b[pos] = 0x0D;
    return out;
}

void encodeMemoRef(const DbfField& field, std::uint32_t block, char* out)
{
    if (field.length == 4) {
        putU32(out, block);
        return;
    }
    std::memset(out, ' ', size_t(field.length));
    if (block == 0)
        return;
    char digits[16];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, block);
    const int used = int(end - digits);
    if (ec != std::errc() || used > field.length)
        throw EngineError(ErrorCode::InvalidValue, QStringLiteral("Die Memodatei ist zu groß."));
    std::memcpy(out + field.length - used, digits, size_t(used));
}

namespace {

// value as count decimal digits with leading zeros.
void putDigits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
}

[[noreturn]] void doesNotFit(const DbfField& field, const QString& value)
{
    throw EngineError(ErrorCode::InvalidValue,
                      QStringLiteral("Der Wert %1 passt nicht in das Feld %2.").arg(value, field.def.name));
}

// number with decimals places (1 to 15) into out, the way the library's fixed formatting writes it, for numbers
// whose scaled value lies clearly off a rounding tie: number * 10^decimals is then off the exact product by at
// most half a unit in its last place, far less than its distance from the tie, so both round the same way. Returns
// the length written, or 0 when the number needs the library.
int fixedDecimals(double number, int decimals, char* out)
{
    constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (decimals < 1 || decimals > 15)
        return 0;
    const double scaled = std::fabs(number) * kPowers[decimals];
    if (!(scaled < 1e12))
        return 0;
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    if (std::fabs(fraction - 0.5) < 1e-3)
        return 0;
    std::uint64_t units = std::uint64_t(below) + (fraction > 0.5 ? 1 : 0);
    char digits[32];
    int n = 0;
    do {
        digits[n++] = char('0' + units % 10);
        units /= 10;
    } while (units != 0);
    while (n <= decimals)
        digits[n++] = '0';  // at least one digit before the point
    int used = 0;
    if (std::signbit(number))
        out[used++] = '-';
    while (n > decimals)
        out[used++] = digits[--n];
    out[used++] = '.';
    while (n > 0)
        out[used++] = digits[--n];
    return used;
}

// type is value's type id, which the caller has asked for already.
void encodeNumber(const DbfField& field, const QVariant& value, int type, char* out)
{
    bool ok = false;
    double number = 0;
    if (type == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return;  // already blank
        const auto parsed = parseNumber(text.toLatin1());
        if (!parsed)
            doesNotFit(field, text);
        number = *parsed;
        ok = true;
    } else if (type == QMetaType::Double) {
        number = *static_cast<const double*>(value.constData());  // the common cases without a conversion call
        ok = true;
    } else if (type == QMetaType::Int) {
        number = *static_cast<const int*>(value.constData());
        ok = true;
    } else {
        number = value.toDouble(&ok);
    }
    if (!ok || !std::isfinite(number))
        doesNotFit(field, value.toString());
    char buffer[400];
    int used = 0;
    if (std::trunc(number) == number && std::fabs(number) < 1e15 && field.decimals < 300) {
        // Whole numbers by hand: the library's fixed formatting costs more than the rest of the record.
        std::int64_t whole = std::int64_t(number);
        if (whole < 0)
            buffer[used++] = '-';
        char digits[20];
        int n = 0;
        std::uint64_t magnitude = whole < 0 ? std::uint64_t(-whole) : std::uint64_t(whole);
        do {
            digits[n++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        while (n > 0)
            buffer[used++] = digits[--n];
        if (field.decimals > 0) {
            buffer[used++] = '.';
            std::memset(buffer + used, '0', size_t(field.decimals));
            used += field.decimals;
        }
    } else if (const int fixed = fixedDecimals(number, field.decimals, buffer); fixed > 0) {
        used = fixed;
    } else {
        const auto [end, ec] =
            std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, field.decimals);
        if (ec != std::errc())
            doesNotFit(field, value.toString());
        used = int(end - buffer);
    }
    // "-0" and "-0.00" after rounding are plain zero.
    if (buffer[0] == '-') {
        bool zero = true;
        for (int i = 1; i < used; ++i)
            if (buffer[i] != '0' && buffer[i] != '.')
                zero = false;
        if (zero) {
            std::memmove(buffer, buffer + 1, size_t(used - 1));
            --used;
        }
    }
    if (used > field.length)
        doesNotFit(field, QString::fromLatin1(buffer, used));
    std::memcpy(out + field.length - used, buffer, size_t(used));
}

}  // namespace

void encodeValue(const DbfField& field, const QVariant& value, const TextCodec& codec, char* out)
{
    const int type = value.typeId();
    // A text into a character field, the commonest value, pads the field itself. A variant holding a value (not a
    // pointer) is never null, so the type alone decides here.
    if (type == QMetaType::QString && field.letter == 'C')
        return codec.encodeInto(*static_cast<const QString*>(value.constData()), out, field.length);
    if (type == QMetaType::UnknownType || value.isNull()) {
        std::memset(out, ' ', size_t(field.length));
        return;
    }
    std::memset(out, ' ', size_t(field.length));
    switch (field.letter) {
    case 'C': {
        QString text;
        if (type == QMetaType::QTime) {
            // By hand: Qt's formatting goes through the locale machinery for every value.
            const QTime time = value.toTime();
            if (!time.isValid())
                return;
            char hms[8];
            putDigits(hms, time.hour(), 2);
            hms[2] = ':';
            putDigits(hms + 3, time.minute(), 2);
            hms[5] = ':';
            putDigits(hms + 6, time.second(), 2);
            std::memcpy(out, hms, size_t(std::min(8, field.length)));
            return;
        } else if (type == QMetaType::QDateTime)
            text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        else
            text = value.toString();
        // A text longer than the field is cut, as the original engine does.
        codec.encodeInto(text, out, field.length);
        return;
    }
    case 'N': case 'F':
        encodeNumber(field, value, type, out);
        return;
    case 'D': {
        const QDate date = type == QMetaType::QDate ? *static_cast<const QDate*>(value.constData())
                           : type == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
        if (!date.isValid())
            return;
        int year = 0, month = 0, day = 0;
        date.getDate(&year, &month, &day);
        if (year < 1 || year > 9999)
            doesNotFit(field, date.toString(Qt::ISODate));
        putDigits(out, year, 4);
        putDigits(out + 4, month, 2);
        putDigits(out + 6, day, 2);
        return;
    }
    case 'L':
        out[0] = value.toBool() ? 'T' : 'F';
        return;
    default:
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Das Feld %1 kann nicht geschrieben werden.").arg(field.def.name));
    }
}

}  // namespace db::dbase
