#include "engine/TextScanner.h"

#include "rtl/CodePages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace engine;

namespace {

QString writeTemp(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath(QStringLiteral("quelle.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QStringList linesOf(const QByteArray& bytes)
{
    QTemporaryDir dir;
    TextLineReader reader(writeTemp(dir, bytes));
    QStringList lines;
    QString line;
    while (reader.readLine(line))
        lines << line;
    EXPECT_TRUE(line.isEmpty());
    return lines;
}

// Every record of the file, each value taken as it comes.
std::vector<QStringList> recordsOf(const QByteArray& bytes, const QString& separators, QChar qualifier)
{
    QTemporaryDir dir;
    TextLineReader reader(writeTemp(dir, bytes));
    const ScanRules rules(separators, qualifier);
    std::vector<QStringList> records;
    QString line;
    while (reader.readLine(line)) {
        QStringList values;
        scanRecord(line, reader, rules, [&](int column, QString& value, bool) {
            EXPECT_EQ(column, values.size());
            values << value;
            return true;
        });
        records.push_back(values);
    }
    // The bytes of a file read one byte a character are cut the same way.
    TextLineReader bytesReader(writeTemp(dir, bytes));
    if (bytesReader.decideEncoding() == TextEncoding::Ansi) {
        std::vector<QStringList> fromBytes;
        QByteArray bytesLine;
        while (bytesReader.readLine(bytesLine)) {
            QStringList values;
            scanRecord(bytesLine, bytesReader, ByteScanRules(separators, qualifier),
                       [&](int, const std::string& value, bool) {
                           values << rtl::decode(QByteArray(value.data(), qsizetype(value.size())),
                                                 rtl::CodePage::Windows1252);
                           return true;
                       });
            fromBytes.push_back(values);
        }
        EXPECT_EQ(fromBytes, records) << "cut as bytes";
    }
    return records;
}

}  // namespace

TEST(TextLineReader, LineEndsEndOfFileMarkNulAndCodePage)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } const cases[] = {
        {"CR LF, LF and a lone CR each end a line", QByteArray("a\r\nb\nc\rd"), {"a", "b", "c", "d"}},
        {"a final line end adds no line", QByteArray("a\r\nb\r\n"), {"a", "b"}},
        {"empty lines in between are lines", QByteArray("a\r\n\r\nb"), {"a", "", "b"}},
        {"an empty file has no line", QByteArray(), {}},
        {"Ctrl-Z as the last byte is the end-of-file mark", QByteArray("a\r\nb\x1a"), {"a", "b"}},
        {"Ctrl-Z after the last line end", QByteArray("a\r\n\x1a"), {"a"}},
        {"Ctrl-Z inside the text is a character", QByteArray("a\x1a" "b"), {QString::fromUtf8("a\x1a" "b")}},
        {"NUL bytes are dropped", QByteArray("a\0b\0\0;c", 8), {"ab;c"}},
        {"bytes are Windows-1252", QByteArray("M\xfcller \x80 \x9f"), {QString::fromUtf8("Müller € Ÿ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesOf(c.bytes), c.lines);
    }
}

TEST(TextLineReader, TheEncodingComesFromTheMarkOrTheBytes)
{
    const QString text = QString::fromUtf8("Müller;Köln €\r\nŁódź 😀");
    const QStringList lines = {QString::fromUtf8("Müller;Köln €"), QString::fromUtf8("Łódź 😀")};
    QByteArray utf16le, utf16be;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        utf16le += char(u & 0xFF), utf16le += char(u >> 8);
        utf16be += char(u >> 8), utf16be += char(u & 0xFF);
    }
    // A character of four UTF-8 bytes across the end of the reader's first block of 1 MiB.
    QByteArray acrossBlocks((1 << 20) - 2, 'x');
    acrossBlocks += "😀y";
    struct Case {
        const char* name;
        QByteArray bytes;
        bool dosText;
        TextEncoding encoding;
        QStringList lines;
    } const cases[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + text.toUtf8(), false, TextEncoding::Utf8, lines},
        {"UTF-16 LE with its mark", "\xFF\xFE" + utf16le, false, TextEncoding::Utf16LE, lines},
        {"UTF-16 BE with its mark", "\xFE\xFF" + utf16be, false, TextEncoding::Utf16BE, lines},
        {"the mark decides for DOS text too", "\xEF\xBB\xBF" + text.toUtf8(), true, TextEncoding::Utf8, lines},
        {"UTF-8 without a mark", text.toUtf8(), false, TextEncoding::Utf8, lines},
        {"UTF-8 without a mark is taken as DOS bytes when DOS text is chosen", "M\xC3\xBCller", true,
         TextEncoding::Ansi, {QString::fromUtf8("MÃ¼ller")}},
        {"plain ASCII", "a;b", false, TextEncoding::Ansi, {"a;b"}},
        {"Windows-1252 is no valid UTF-8", "M\xFCller \xC3\xBC", false, TextEncoding::Ansi,
         {QString::fromUtf8("Müller Ã¼")}},
        {"an overlong form is no UTF-8", "\xC0\xAF \xC3\xBC", false, TextEncoding::Ansi,
         {QString::fromUtf8("À¯ Ã¼")}},
        {"a sequence cut off at the end is no UTF-8", "\xC3\xBC\xC3", false, TextEncoding::Ansi,
         {QString::fromUtf8("Ã¼Ã")}},
        {"a character across two blocks", acrossBlocks, false, TextEncoding::Utf8,
         {QString((1 << 20) - 2, u'x') + QString::fromUtf8("😀y")}},
        {"a block of plain text, then a byte that is no UTF-8", QByteArray(1 << 20, 'x') + "\r\nM\xFCller", false,
         TextEncoding::Ansi, {QString(1 << 20, u'x'), QString::fromUtf8("Müller")}},
        {"a block of plain text, then UTF-8", QByteArray(1 << 20, 'x') + "\r\nM\xC3\xBCller", false,
         TextEncoding::Utf8, {QString(1 << 20, u'x'), QString::fromUtf8("Müller")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        TextLineReader reader(writeTemp(dir, c.bytes), c.dosText);
        QStringList read;
        QString line;
        while (reader.readLine(line))
            read << line;
        EXPECT_EQ(read, c.lines);
        EXPECT_EQ(reader.encoding(), c.encoding);
        // Decided before the first line, the same; and a file read one byte a character gives the same lines as
        // its bytes.
        TextLineReader early(writeTemp(dir, c.bytes), c.dosText);
        EXPECT_EQ(early.decideEncoding(), c.encoding);
        if (c.encoding == TextEncoding::Ansi) {
            QStringList bytesRead;
            QByteArray bytes;
            while (early.readLine(bytes))
                bytesRead << rtl::decode(bytes, rtl::CodePage::Windows1252);
            EXPECT_EQ(bytesRead, c.lines);
        }
    }
}

TEST(TextLineReader, LongLinesAndACrLfSplitBetweenTwoBlocks)
{
    // The reader takes the file in blocks of 1 MiB; this CR is the last byte of the first block.
    QByteArray bytes((1 << 20) - 1, 'x');
    bytes += "\r\ny\r\n";
    bytes += QByteArray(100000, 'z');
    const QStringList lines = linesOf(bytes);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), (1 << 20) - 1);
    EXPECT_EQ(lines[1], "y");
    EXPECT_EQ(lines[2].size(), 100000);
}

TEST(TextLineReader, AMissingFileRaisesAnInputOutputErrorNamingIt)
{
    try {
        TextLineReader reader(QStringLiteral("/nonexistent/kunden.txt"));
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("kunden.txt")));
    }
}

TEST(RecordScanner, ValuesOfOneRecord)
{
    const QChar dq(u'"');
    struct Case {
        const char* name;
        QByteArray bytes;  // UTF-8 here, read as 1252: the cases keep to ASCII
        QString separators;
        QChar qualifier;
        std::vector<QStringList> records;
    } const cases[] = {
        {"an empty value between two separators", "a;b;;d", ";", QChar(), {{"a", "b", "", "d"}}},
        {"a separator at the end gives an empty last value", "a;b;", ";", QChar(), {{"a", "b", ""}}},
        {"blanks around separators stay", "a ; b", ";", QChar(), {{"a ", " b"}}},
        {"a blank that is a separator ends values", "a b;c", "; ", QChar(), {{"a", "b", "c"}}},
        {"every separator that is on ends a value", "a,b;c\td", ",;\t", QChar(), {{"a", "b", "c", "d"}}},
        {"a one-character line", "x", ";", QChar(), {{"x"}}},
        {"an empty line is one empty value", "\r\nx", ";", QChar(), {{""}, {"x"}}},
        {"without a qualifier quotes are text", "\"a\";b", ";", QChar(), {{"\"a\"", "b"}}},
        {"a quoted separator stays in the value", "\"Meier; Co\";42", ";", dq, {{"Meier; Co", "42"}}},
        {"quoted values at both ends", "\"ab\";\"cd\"", ";", dq, {{"ab", "cd"}}},
        {"the apostrophe as qualifier", "'a;b';c", ";", QChar(u'\''), {{"a;b", "c"}}},
        {"a qualifier outside a run is dropped", "ab;cd\"", ";", dq, {{"ab", "cd"}}},
        {"a quoted value over two lines joins them with CR LF", "\"Zeile eins\r\nZeile zwei\";7\r\nx;8", ";", dq,
         {{"Zeile eins\r\nZeile zwei", "7"}, {"x", "8"}}},
        {"a doubled qualifier ends the run; the closing one opens a new run over the line end",
         "\"ab\"\"cd\";1\r\nx;2\r\ny\";3", ";", dq, {{"abcd;1\r\nx;2\r\ny", "3"}}},
        {"a run still open at the end of the file", "\"abc", ";", dq, {{"abc\r\n"}}},
        {"a continuation line of one character ends the run", "\"ab\r\nc\r\nx", ";", dq, {{"ab\r\nc"}, {"x"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(recordsOf(c.bytes, c.separators, c.qualifier), c.records);
    }
}

TEST(RecordScanner, AValueTheStoreRefusesCollectsOnUntilTheEnd)
{
    QTemporaryDir dir;
    TextLineReader reader(writeTemp(dir, "a;b;c;d"));
    QString line;
    reader.readLine(line);
    QStringList stored;
    scanRecord(line, reader, ScanRules(";", QChar()), [&](int column, QString& value, bool atEnd) {
        if (!atEnd && column >= 1)
            return false;  // a grid of two columns
        stored << QStringLiteral("%1:%2").arg(column).arg(value);
        return true;
    });
    EXPECT_EQ(stored, (QStringList{"0:a", "1:bcd"}));
}
