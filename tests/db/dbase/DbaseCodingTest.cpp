// Field values to bytes and back without the general library routines: numbers of a few decimals formatted and
// parsed by hand, Windows-1252 text widened as Latin-1, text checked and narrowed as a whole, memos of new records
// encoded where they wait. Each short way must give exactly what the general one gives, the general one being the
// reference here; the cases sit on its edges (rounding ties, digit counts, the bytes 0x80..0x9F, word boundaries).

#include "support/FieldDefs.h"
#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"
#include "db/dbase/DbfFormat.h"
#include "rtl/CodePages.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>

using namespace db;
using namespace db::dbase;

namespace {

using testsupport::def;

DbfField numberField(int length, int decimals)
{
    DbfField f;
    f.def.name = QStringLiteral("N");
    f.def.type = FieldType::ftFloat;
    f.letter = 'N';
    f.length = length;
    f.decimals = decimals;
    return f;
}

// What the library's fixed formatting makes of number in a field: right-aligned, a negative zero as plain zero.
std::string referenceNumber(double number, int length, int decimals)
{
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed, decimals);
    std::string text(buffer, end);
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return std::string(size_t(length) - text.size(), ' ') + text;
}

std::string encoded(const DbfField& f, const QVariant& value)
{
    std::string out(size_t(f.length), '?');
    encodeValue(f, value, TextCodec(1252), out.data());
    return out;
}

struct NumberCase {
    const char* name;
    double number;
    int decimals;
    const char* expected;  // the field's bytes
};

TEST(DbaseNumberText, DecimalsAsTheLibraryWritesThem)
{
    const NumberCase cases[] = {
        {"exact tie rounds to even", 0.125, 2, "                0.12"},
        {"exact tie rounds up to even", 0.375, 2, "                0.38"},
        {"just below a tie", 2.675, 2, "                2.67"},
        {"just below a tie near one", 1.005, 2, "                1.00"},
        {"binary fraction", 12345.0625, 4, "          12345.0625"},
        {"negative", -12.345, 2, "              -12.35"},
        {"negative rounding to zero", -0.001, 2, "                0.00"},
        {"leading zeros after the point", 0.0001, 4, "              0.0001"},
        {"fraction below one", 0.29, 2, "                0.29"},
        {"large scaled value", 123456789.123456, 6, "    123456789.123456"},
        {"no decimals, a tie", 99999999999.5, 0, "        100000000000"},
        {"many decimals", 0.1, 15, "   0.100000000000000"},
    };
    for (const NumberCase& c : cases) {
        const DbfField f = numberField(20, c.decimals);
        EXPECT_EQ(encoded(f, c.number), c.expected) << c.name;
        EXPECT_EQ(encoded(f, c.number), referenceNumber(c.number, 20, c.decimals)) << c.name;
    }
}

TEST(DbaseNumberText, ManyNumbersAsTheLibraryWritesThem)
{
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> magnitude(-9.0, 9.0);
    for (int i = 0; i < 200000; ++i) {
        const int decimals = 1 + int(random() % 8);
        double number = std::pow(10.0, magnitude(random)) * (random() % 2 ? -1 : 1);
        if (i % 4 == 0)  // values on a grid of the field's decimals, as money and measurements are
            number = double(std::int64_t(random() % 2000000000) - 1000000000) / std::pow(10.0, decimals);
        const DbfField f = numberField(20, decimals);
        ASSERT_EQ(encoded(f, number), referenceNumber(number, 20, decimals))
            << std::hexfloat << number << " with " << decimals << " decimals";
    }
}

std::optional<double> decoded(const char* text)
{
    const DbfField f = numberField(int(std::strlen(text)), 2);
    const QVariant v = decodeValue(f, text, TextCodec(1252), DbfFamily::DBase4, {});
    if (!v.isValid())
        return std::nullopt;
    return v.toDouble();
}

struct ParseCase {
    const char* name;
    const char* text;
    std::optional<double> expected;
};

TEST(DbaseNumberText, DecimalsReadAsTheLibraryReadsThem)
{
    const ParseCase cases[] = {
        {"binary fraction", "   1234.5625", 1234.5625},
        {"negative", "-0.1", -0.1},
        {"no digit before the point", ".5", 0.5},
        {"negative without digit before the point", "-.25", -0.25},
        {"no digit behind the point", "17.", 17.0},
        {"plus sign", "+2.5", 2.5},
        {"decimal comma", "1,5", 1.5},
        {"fifteen digits", "123456789.012345", 123456789.012345},
        {"sixteen digits", "1234567890.123456", 1234567890.123456},
        {"beyond exact doubles", "9007199254740993", 9007199254740992.0},
        {"leading zeros", "0000000000000001.5", 1.5},
        {"exponent", "1e5", 100000.0},
        {"overflow marker", "****", std::nullopt},
        {"sign only", "-", std::nullopt},
        {"point only", ".", std::nullopt},
        {"two points", "1.2.3", std::nullopt},
        {"two signs", "--1", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        const auto value = decoded(c.text);
        ASSERT_EQ(value.has_value(), c.expected.has_value()) << c.name;
        if (value) {
            EXPECT_EQ(*value, *c.expected) << c.name;
        }
    }
}

TEST(DbaseNumberText, ManyDecimalsReadAsTheLibraryReadsThem)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 3 == 0 ? "-" : "";
        const int digits = 1 + int(random() % 17);
        const int point = int(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += char('0' + random() % 10);
        }
        double reference = 0;
        std::from_chars(text.data(), text.data() + text.size(), reference);
        const auto value = decoded(text.c_str());
        ASSERT_TRUE(value.has_value()) << text;
        ASSERT_EQ(std::memcmp(&*value, &reference, sizeof reference), 0) << text;
    }
}

// --- text ---------------------------------------------------------------------------------------------------------

TEST(DbaseCodePage, Windows1252ReadsLikeItsTable)
{
    // Every byte at every place of texts shorter and longer than the eight bytes looked at together.
    const TextCodec codec(1252);
    for (int length = 1; length <= 19; ++length) {
        for (int at = 0; at < length; ++at) {
            for (int byte = 1; byte < 256; ++byte) {
                QByteArray bytes(length, 'a');
                bytes[at] = char(byte);
                ASSERT_EQ(codec.decode(bytes), rtl::decode(bytes, rtl::CodePage::Windows1252))
                    << "byte " << byte << " at " << at << " of " << length;
            }
        }
    }
}

TEST(DbaseCodePage, TextWritesLikeItsTable)
{
    const std::pair<int, rtl::CodePage> pages[] = {
        {1252, rtl::CodePage::Windows1252}, {850, rtl::CodePage::Oem850}, {437, rtl::CodePage::Oem437}};
    for (const auto& [number, page] : pages) {
        const TextCodec codec(number);
        for (int length = 1; length <= 19; ++length) {
            for (int at = 0; at < length; ++at) {
                for (char16_t c = 1; c < 0x180; ++c) {
                    QString text(length, QLatin1Char('a'));
                    text[at] = QChar(c);
                    ASSERT_EQ(codec.encode(text), rtl::encode(text, page))
                        << "code page " << number << " character " << int(c) << " at " << at << " of " << length;
                }
            }
        }
    }
}

// A field takes the text's encoding, cut to its length or padded with blanks, whatever the field held before; a
// text whose encoding is shorter than the text (a character beyond the basic plane is one '?') leaves nothing of
// a first attempt behind.
TEST(DbaseCodePage, TextIntoAFieldIsCutOrPadded)
{
    struct IntoCase {
        const char* name;
        QString text;
        int length;
        const char* expected;
    };
    const IntoCase cases[] = {
        {"shorter", QStringLiteral("abc"), 6, "abc   "},
        {"exactly as long", QStringLiteral("Grüße"), 5, "Gr\xFC\xDF" "e"},
        {"longer", QStringLiteral("abcdefgh"), 4, "abcd"},
        {"empty", QString(), 3, "   "},
        {"beyond the basic plane", QStringLiteral("ab\U0001F600c"), 8, "ab?c    "},
        {"outside the code page, cut", QStringLiteral("\u03A9\u03A9\u03A9\u03A9\u03A9"), 3, "???"},
    };
    const TextCodec codec(1252);
    for (const IntoCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray field(c.length, 'x');
        codec.encodeInto(c.text, field.data(), c.length);
        EXPECT_EQ(field, QByteArray(c.expected));
    }
}

// --- memos of new records -----------------------------------------------------------------------------------------

TEST(DbaseNewMemo, TextOfEveryKindReadsBackBeforeAndAfterTheFlush)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("memo.dbf"));
    dbase::create(path, {def("N", FieldType::ftFloat, 5, 0), def("M", FieldType::ftMemo)});
    struct MemoCase {
        const char* name;
        QVariant value;
        QVariant expected;
    };
    const MemoCase cases[] = {
        {"Latin-1", QStringLiteral("Grüße aus Köln"), QStringLiteral("Grüße aus Köln")},
        {"a character of 0x80..0x9F", QStringLiteral("5 € bar"), QStringLiteral("5 € bar")},
        {"a character outside the code page", QStringLiteral("Ωmega"), QStringLiteral("?mega")},
        {"empty text", QString(), QVariant()},
        {"bytes", QByteArray("roh\x01\x02"), QStringLiteral("roh\x01\x02")},
        {"null", QVariant(), QVariant()},
    };
    std::vector<Record> expected;
    {
        const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
        for (const MemoCase& c : cases) {
            t->insert({1.0, c.value}, t->recordCount());
            // A record that does not fit between two that do takes nothing of theirs with it.
            EXPECT_THROW(t->insert({123456.0, QStringLiteral("verworfen")}, t->recordCount()), EngineError);
            expected.push_back({1.0, c.expected});
        }
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(t->read(int(i)), expected[i]) << cases[i].name << " (waiting)";
    }
    const TableStoragePtr t = dbase::open(path, OpenMode::Shared);
    ASSERT_EQ(t->recordCount(), int(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(t->read(int(i)), expected[i]) << cases[i].name << " (written)";
}

}  // namespace
