#include "rtl/CodePages.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rtl {

namespace {

// The upper halves of the three code pages; the lower halves are ASCII in all of them. The five bytes Windows-1252
// leaves undefined carry the C1 control of the same value, as the Windows conversion routines do, so that every
// byte survives a round trip.
constexpr std::array<char16_t, 128> kUpper1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // 0xB8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // 0xC0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // 0xC8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // 0xD0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,  // 0xD8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // 0xE0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // 0xE8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // 0xF0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,  // 0xF8
};

constexpr std::array<char16_t, 128> kUpper850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 0x88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,  // 0x98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 0xA0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 0xA8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,  // 0xB0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,  // 0xB8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,  // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,  // 0xC8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,  // 0xD0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,  // 0xD8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,  // 0xE0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,  // 0xE8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,  // 0xF0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,  // 0xF8
};

constexpr std::array<char16_t, 128> kUpper437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 0x88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 0x98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 0xA0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 0xA8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 0xB0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // 0xB8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // 0xC8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 0xD0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // 0xD8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 0xE0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // 0xE8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 0xF0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // 0xF8
};

const std::array<char16_t, 128>& upperHalf(CodePage cp)
{
    switch (cp) {
    case CodePage::Oem850:
        return kUpper850;
    case CodePage::Oem437:
        return kUpper437;
    case CodePage::Windows1252:
        break;
    }
    return kUpper1252;
}

// Character to byte, built once per code page. Every character of the three tables lies below U+2600, so a flat
// array indexed by the character is both small and the fastest lookup for whole texts.
constexpr char16_t kReverseLimit = 0x2600;

struct ReverseTable {
    std::vector<std::uint8_t> bytes;  // 0 = no byte (U+0000 itself is handled before the lookup)

    explicit ReverseTable(CodePage cp) : bytes(kReverseLimit, 0)
    {
        const auto& upper = upperHalf(cp);
        for (int i = 0; i < 128; ++i)
            bytes[upper[i]] = static_cast<std::uint8_t>(0x80 + i);
    }
};

const ReverseTable& reverse(CodePage cp)
{
    static const ReverseTable t1252(CodePage::Windows1252);
    static const ReverseTable t850(CodePage::Oem850);
    static const ReverseTable t437(CodePage::Oem437);
    switch (cp) {
    case CodePage::Oem850:
        return t850;
    case CodePage::Oem437:
        return t437;
    case CodePage::Windows1252:
        break;
    }
    return t1252;
}

}  // namespace

char16_t toUnicode(unsigned char byte, CodePage cp)
{
    if (byte < 0x80)
        return byte;
    return upperHalf(cp)[byte - 0x80];
}

int toByte(char16_t ch, CodePage cp)
{
    if (ch < 0x80)
        return ch;
    if (ch >= kReverseLimit)
        return -1;
    const std::uint8_t b = reverse(cp).bytes[ch];
    return b == 0 ? -1 : b;
}

QString decode(const QByteArray& bytes, CodePage cp)
{
    // Whole texts go through the table directly: this runs for every text field of every record read.
    const auto& upper = upperHalf(cp);
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(in[i] < 0x80 ? char16_t(in[i]) : upper[in[i] - 0x80]);
    return result;
}

QByteArray encode(const QString& text, CodePage cp)
{
    QByteArray result;
    encodeInto(text, cp, result);
    return result;
}

qsizetype narrowPlain(const char16_t* in, qsizetype n, char* out, bool zeroEnds)
{
    qsizetype i = 0;
#ifdef __SSE2__
    // Eight characters at a time: their bytes are their low halves.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    const auto plainAt = [&](qsizetype at) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
        __m128i plain = _mm_cmpeq_epi16(_mm_and_si128(chars, high), zero);  // all ones where plain
        if (zeroEnds) plain = _mm_andnot_si128(_mm_cmpeq_epi16(chars, zero), plain);
        if (_mm_movemask_epi8(plain) != 0xFFFF) return false;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_packus_epi16(chars, chars));
        return true;
    };
    for (; i + 8 <= n; i += 8) {
        if (!plainAt(i)) break;
    }
    // The last few as the last eight, over some that are done already.
    if (i < n && n >= 8 && i + 8 > n && plainAt(n - 8)) return n;
#endif
    for (; i < n; ++i) {
        const char16_t ch = in[i];
        if (ch >= 0x80 || (zeroEnds && ch == 0)) break;
        out[i] = static_cast<char>(ch);
    }
    return i;
}

void encodeInto(const QString& text, CodePage cp, QByteArray& result)
{
    // Never more bytes than characters: written in place and cut to length, as this runs per text field.
    result.resize(text.size());
    result.truncate(encodeTo(text, cp, result.data()));
}

qsizetype encodeTo(const QString& text, CodePage cp, char* out)
{
    const qsizetype n = text.size();
    const char16_t* in = reinterpret_cast<const char16_t*>(text.constData());
    qsizetype used = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype plain = narrowPlain(in + i, n - i, out + used, false);
        i += plain;
        used += plain;
        if (i == n) break;
        const char16_t ch = in[i];
        // A character outside the basic plane is one character to the reader: one '?', not two.
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            out[used++] = '?';
            ++i;
            continue;
        }
        const int b = toByte(ch, cp);
        out[used++] = b < 0 ? '?' : static_cast<char>(b);
    }
    return used;
}

bool canEncode(const QString& text, CodePage cp)
{
    for (QChar c : text)
        if (toByte(c.unicode(), cp) < 0)
            return false;
    return true;
}

QString OemToAnsi(const QString& text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        // The text's 1252 byte is what the DOS file held; read it as 850 and keep what 1252 can show.
        const int oemByte = toByte(text[i].unicode(), CodePage::Windows1252);
        const char16_t ch = oemByte < 0 ? u'?' : toUnicode(static_cast<unsigned char>(oemByte), CodePage::Oem850);
        out[i] = toByte(ch, CodePage::Windows1252) < 0 ? QChar(u'?') : QChar(ch);
    }
    return result;
}

QString AnsiToOem(const QString& text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        // The character's 850 byte, shown as the 1252 character of that byte: the text now holds OEM bytes.
        const int oemByte = toByte(text[i].unicode(), CodePage::Oem850);
        out[i] = oemByte < 0 ? QChar(u'?') : QChar(toUnicode(static_cast<unsigned char>(oemByte), CodePage::Windows1252));
    }
    return result;
}

}  // namespace rtl
