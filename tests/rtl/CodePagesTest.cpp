#include "rtl/CodePages.h"

#include <gtest/gtest.h>
#include <string>

#include <iconv.h>

#include <cerrno>
#include <optional>

namespace {

using namespace rtl;

// glibc's converter is the independent reference: where it defines a byte, our table must say the same.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The bytes that come out of converting in, or nothing when iconv refuses it.
    std::optional<QByteArray> convert(const QByteArray& in)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        QByteArray input = in;
        char* src = input.data();
        size_t srcLeft = static_cast<size_t>(input.size());
        char out[16];
        char* dst = out;
        size_t dstLeft = sizeof out;
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
            return std::nullopt;
        return QByteArray(out, static_cast<qsizetype>(dst - out));
    }

private:
    iconv_t cd_;
};

char16_t fromUtf16le(const QByteArray& b)
{
    return static_cast<char16_t>(static_cast<unsigned char>(b[0]) | (static_cast<unsigned char>(b[1]) << 8));
}

QByteArray toUtf16le(char16_t c)
{
    QByteArray b(2, 0);
    b[0] = static_cast<char>(c & 0xFF);
    b[1] = static_cast<char>(c >> 8);
    return b;
}

struct PageCase {
    const char* name;
    CodePage cp;
};

const PageCase kPages[] = {
    {"CP1252", CodePage::Windows1252},
    {"CP850", CodePage::Oem850},
    {"CP437", CodePage::Oem437},
};

TEST(CodePages, EveryByteAgreesWithIconvInBothDirections)
{
    for (const auto& page : kPages) {
        Iconv decoder("UTF-16LE", page.name);
        Iconv encoder(page.name, "UTF-16LE");
        ASSERT_TRUE(decoder.valid() && encoder.valid()) << page.name;
        int undefinedInIconv = 0;
        for (int b = 0; b < 256; ++b) {
            const char16_t ours = toUnicode(static_cast<unsigned char>(b), page.cp);
            const auto theirs = decoder.convert(QByteArray(1, static_cast<char>(b)));
            if (!theirs) {
                ++undefinedInIconv;
                // Where iconv knows no character, the byte carries the control character of its own value.
                EXPECT_EQ(ours, b) << page.name << " byte " << b;
            } else {
                ASSERT_EQ(theirs->size(), 2) << page.name << " byte " << b;
                EXPECT_EQ(ours, fromUtf16le(*theirs)) << page.name << " byte " << b;
                const auto back = encoder.convert(toUtf16le(ours));
                ASSERT_TRUE(back.has_value()) << page.name << " byte " << b;
                EXPECT_EQ(*back, QByteArray(1, static_cast<char>(b))) << page.name << " byte " << b;
            }
            EXPECT_EQ(toByte(ours, page.cp), b) << page.name << " byte " << b;
        }
        EXPECT_EQ(undefinedInIconv, page.cp == CodePage::Windows1252 ? 5 : 0) << page.name;
    }
}

TEST(CodePages, CharactersOutsideThePageAgreeWithIconv)
{
    // A sample of the characters some page lacks: each page must refuse exactly what iconv refuses.
    const char16_t samples[] = {0x20AC, 0x2591, 0x00E4, 0x03B1, 0x0192, 0x00A0, 0x2302, 0x4E2D, 0x0131, 0x20A7, 0x00FF};
    for (const auto& page : kPages) {
        Iconv encoder(page.name, "UTF-16LE");
        for (char16_t c : samples) {
            const auto theirs = encoder.convert(toUtf16le(c));
            const int ours = toByte(c, page.cp);
            if (theirs)
                EXPECT_EQ(ours, static_cast<unsigned char>(theirs->at(0))) << page.name << " U+" << std::hex << int(c);
            else
                EXPECT_EQ(ours, -1) << page.name << " U+" << std::hex << int(c);
        }
    }
}

TEST(CodePages, TextsRoundTripAndUnknownCharactersBecomeQuestionMarks)
{
    QByteArray all(256, 0);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    for (const auto& page : kPages) {
        const QString text = decode(all, page.cp);
        EXPECT_EQ(text.size(), 256) << page.name;
        EXPECT_EQ(encode(text, page.cp), all) << page.name;
        EXPECT_TRUE(canEncode(text, page.cp)) << page.name;
    }
    EXPECT_EQ(encode(QStringLiteral("a€b"), CodePage::Oem850), QByteArray("a?b"));
    EXPECT_EQ(encode(QStringLiteral("x\U0001F600y"), CodePage::Windows1252), QByteArray("x?y"))
        << "a character beyond the basic plane is one '?'";
    EXPECT_FALSE(canEncode(QStringLiteral("a€b"), CodePage::Oem850));
    EXPECT_EQ(encode(QStringLiteral("Größe"), CodePage::Oem850), QByteArray("Gr\x94\xe1" "e"));
}

TEST(CodePages, EncodeIntoAgreesCharacterByCharacterWhereverTheOddCharacterStands)
{
    // Runs of plain characters are taken several at a time: a character that needs the table, or two that make
    // one '?', must come out the same at every position and every length, into a buffer used before.
    QByteArray reused("left over from before, longer than any text here");
    for (int length = 0; length <= 11; ++length) {
        for (int at = -1; at < length; ++at) {
            for (const QString& odd : {QStringLiteral("ä"), QStringLiteral("\U0001F600")}) {
                QString text;
                QByteArray expected;
                for (int i = 0; i < length; ++i) {
                    if (i == at) {
                        text += odd;
                        expected += odd.size() == 2 ? '?' : char(toByte(odd.at(0).unicode(), CodePage::Oem850));
                    } else {
                        text += QChar(u'a' + i);
                        expected += char('a' + i);
                    }
                }
                encodeInto(text, CodePage::Oem850, reused);
                ASSERT_EQ(reused, expected) << "length " << length << " odd at " << at;
                ASSERT_EQ(encode(text, CodePage::Oem850), expected);
            }
        }
    }
}

TEST(CodePages, NarrowPlainStopsAtTheFirstCharacterThatNeedsTheTable)
{
    // Taken several characters at a time: the first one at or above 0x80 (or a zero, when it ends the text) stops
    // it wherever it stands, also right behind a full run.
    for (const bool zeroEnds : {false, true}) {
        for (const char16_t odd : {u'\0', u'\x7f', u'\x80', u'\xe4', u'\x100', u'\xff80', u'\x20ac'}) {
            for (int length = 0; length <= 20; ++length) {
                for (int at = -1; at < length; ++at) {
                    std::u16string text;
                    for (int i = 0; i < length; ++i) text += i == at ? odd : char16_t(u'A' + i);
                    const bool stops = odd >= 0x80 || (zeroEnds && odd == 0);
                    const qsizetype expected = at >= 0 && stops ? at : length;
                    std::string out(size_t(length), '#');
                    const qsizetype taken = narrowPlain(text.data(), length, out.data(), zeroEnds);
                    ASSERT_EQ(taken, expected) << "odd " << int(odd) << " at " << at << " of " << length;
                    for (qsizetype i = 0; i < taken; ++i) ASSERT_EQ(out[size_t(i)], char(text[size_t(i)]));
                }
            }
        }
    }
}

TEST(CodePages, OemToAnsiReadsTheBytesAsCodePage850)
{
    struct Case {
        const char* name;
        QByteArray dosBytes;  // as a DOS program wrote them
        QString expected;
    };
    const Case cases[] = {
        {"umlauts", QByteArray("\x84\x94\x81\xe1"), QStringLiteral("äöüß")},
        {"capitals", QByteArray("\x8e\x99\x9a"), QStringLiteral("ÄÖÜ")},
        {"ascii untouched", QByteArray("Abc 123"), QStringLiteral("Abc 123")},
        {"box drawing has no 1252 character", QByteArray("\xc4\xb3\xdb"), QStringLiteral("???")},
        {"dotless i has none either", QByteArray("\xd5"), QStringLiteral("?")},
        {"empty", QByteArray(), QString()},
    };
    for (const auto& c : cases) {
        // The DOS text arrives read as ANSI, which is how the program's text readers hand it over.
        const QString asAnsi = decode(c.dosBytes, CodePage::Windows1252);
        const QString converted = OemToAnsi(asAnsi);
        EXPECT_EQ(converted, c.expected) << c.name;
        EXPECT_EQ(converted.size(), asAnsi.size()) << c.name;
    }
}

TEST(CodePages, AnsiToOemAndBackKeepsEveryCharacterBothPagesShare)
{
    int shared = 0;
    for (int b = 0; b < 256; ++b) {
        const QString ch(QChar(toUnicode(static_cast<unsigned char>(b), CodePage::Windows1252)));
        const QString oem = AnsiToOem(ch);
        if (toByte(ch[0].unicode(), CodePage::Oem850) < 0) {
            EXPECT_EQ(oem, QStringLiteral("?")) << b;
            continue;
        }
        ++shared;
        EXPECT_EQ(OemToAnsi(oem), ch) << b;
    }
    // ASCII and the Latin-1 letters and signs; the typographic characters of 0x80-0x9F are missing in 850.
    EXPECT_GT(shared, 220);
}

}  // namespace
