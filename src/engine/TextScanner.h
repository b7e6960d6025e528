#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

// Reading text sources: physical lines of a file, and the record scanner that cuts one record of a separated file
// into its values. Both know nothing of grids, tables or dialogs: the scanner hands every value to the caller, who
// decides where it goes.
namespace engine {

// A text file that cannot be opened or read. The message names the file, in German, for the error report.
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// How the bytes of a text file are read as characters.
enum class TextEncoding {
    Ansi,     // one byte a character, Windows-1252 (also the bytes of a DOS file, which the caller converts)
    Utf8,
    Utf16LE,
    Utf16BE,
};

// Physical lines of a text file, read in large blocks.
//
// Encoding: a byte order mark decides (UTF-8, UTF-16 LE or BE) and is no text. Without one, a file whose bytes are
// all valid UTF-8 and hold at least one multi-byte sequence is UTF-8: most text files written today are, while a
// Windows or DOS text with umlauts is almost never valid UTF-8. Everything else is read one byte a character as
// Windows-1252. A file the caller knows to be DOS text (dosText) is never taken for UTF-8 without a mark: its bytes
// go to the DOS conversion as they are.
//
// Line ends: CR LF, LF and a lone CR each end a line, so a line never holds CR or LF. A Ctrl-Z as the very last
// byte is the DOS end-of-file mark, not text. NUL bytes are no text either (they come from UTF-16 files without a
// mark and padded records) and are dropped, so that a value is never cut at a NUL when it is stored.
class TextLineReader {
public:
    // Raises EInOutError when the file cannot be opened.
    explicit TextLineReader(const QString& path, bool dosText = false);
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // True when no character is left (the state after the last line has been read).
    bool atEnd();
    // The next line without its line end. At the end of the file the line is empty and the answer false.
    bool readLine(QString& line);
    // The same as the bytes the file holds, for a file read one byte a character (encoding() is Ansi once
    // decideEncoding() said so): no character is made of them, so a caller that stores them in the same code page
    // converts nothing.
    bool readLine(QByteArray& line);
    // Before the first line: decides now what the first byte beyond ASCII would decide later (reading the rest of
    // the file once, as that byte does); the lines read afterwards are the same either way.
    TextEncoding decideEncoding();
    // Without a byte order mark the file reads as Ansi until its first byte beyond ASCII decides between Ansi and
    // UTF-8 (the text before that byte reads the same either way); DOS text stays Ansi.
    TextEncoding encoding() const { return encoding_; }

private:
    bool fill();
    void readBlock();
    // Whether head and every byte of the file after the buffer are valid UTF-8 with at least one byte beyond ASCII,
    // in one pass that stops at the first byte that is no UTF-8; the file stays where it is.
    bool restIsUtf8Text(const QByteArray& head);
    void appendText(QString& line, const char* data, qsizetype length) const;
    void appendText(QByteArray& line, const char* data, qsizetype length) const
    {
        if (length <= 0)
            return;
        const qsizetype at = line.size();
        line.resize(at + length);
        std::memcpy(line.data() + at, data, static_cast<std::size_t>(length));
    }
    template <class Line>
    bool readAnyLine(Line& line);

    QString path_;
    QFile file_;
    qint64 remaining_ = 0;  // bytes of the file still to be read into the buffer (the end-of-file mark excluded)
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool pendingCr_ = false;  // the last line ended in a CR at the end of a block: a leading LF belongs to it
    TextEncoding encoding_ = TextEncoding::Ansi;
    bool undecided_ = false;  // no mark, no DOS text, and no byte beyond ASCII read yet
    // UTF-16 is turned into UTF-8 block by block, so that the line search works on bytes for every encoding.
    std::optional<QStringDecoder> utf16_;
    QChar heldSurrogate_;  // the first half of a pair that the block ended in
};

// The whole text of a file as the reader sees it, its lines joined by LF; for the page that shows the file.
QString ReadTextFile(const QString& path);

// What ends a value and what quotes one.
class ScanRules {
public:
    ScanRules() { ordinary_.fill(true); ordinary_[10] = ordinary_[13] = false; }
    ScanRules(const QString& separators, QChar qualifier);

    bool isSeparator(QChar ch) const
    {
        const char16_t u = ch.unicode();
        return u < 256 ? separatorByte_[u] : others_.contains(ch);
    }
    // Neither a separator, nor the qualifier, nor CR or LF: a character the character step just appends.
    bool isOrdinary(QChar ch) const
    {
        const char16_t u = ch.unicode();
        return u < 256 ? ordinary_[u] : (ch != qualifier_ && !others_.contains(ch));
    }
    QChar qualifier() const { return qualifier_; }
    bool hasQualifier() const { return !qualifier_.isNull(); }

private:
    std::array<bool, 256> separatorByte_{};
    std::array<bool, 256> ordinary_{};
    QString others_;  // separators beyond the first 256 characters
    QChar qualifier_;
};

// The same rules for the bytes of a file read one byte a character as Windows-1252: a separator or qualifier the
// code page has no byte for never occurs in such a file.
class ByteScanRules {
public:
    ByteScanRules(const QString& separators, QChar qualifier);

    bool isSeparator(char ch) const { return separator_[static_cast<unsigned char>(ch)]; }
    bool isOrdinary(char ch) const { return ordinary_[static_cast<unsigned char>(ch)]; }
    char qualifier() const { return qualifier_; }
    bool hasQualifier() const { return hasQualifier_; }

private:
    std::array<bool, 256> separator_{};
    std::array<bool, 256> ordinary_{};
    char qualifier_ = 0;
    bool hasQualifier_ = false;
};

namespace scanning {
inline qsizetype indexOf(const QString& line, QChar q, qsizetype from, qsizetype limit)
{
    return QStringView(line).first(limit).indexOf(q, from);
}
inline qsizetype indexOf(const QByteArray& line, char q, qsizetype from, qsizetype limit)
{
    return QByteArrayView(line).first(limit).indexOf(q, from);
}
inline void appendLineBreak(QString& value) { value += QLatin1String("\r\n"); }
// Appends n characters of a line to a value in the memory the value has, as a value takes a few millions of times
// in a large file.
template <class Text, class Char>
inline void appendChars(Text& value, const Char* from, qsizetype n)
{
    if (n <= 0)
        return;
    const qsizetype at = value.size();
    value.resize(at + n);
    std::memcpy(static_cast<void*>(value.data() + at), from, static_cast<std::size_t>(n) * sizeof(Char));
}
inline void appendLineBreak(std::string& value) { value += "\r\n"; }
inline void appendChars(std::string& value, const char* from, qsizetype n)
{
    value.append(from, static_cast<std::size_t>(n));
}
// What a value collects in: the characters of a line read as text, or for a file read one byte a character plain
// bytes, in memory that is reused from value to value.
template <class Line>
struct ScanValue {
    using type = Line;
};
template <>
struct ScanValue<QByteArray> {
    using type = std::string;
};
}  // namespace scanning

// The record scanner: cuts one record, which starts with the physical line `line` (a QString cut by ScanRules, or
// the QByteArray of a file read one byte a character, cut by ByteScanRules), into values (QString, or std::string
// of the bytes). Every value goes to store(column, value, atEnd):
//   - at a separator (atEnd false) store answers whether it took the value; only then does the column count on
//     and the value start empty again, otherwise the text collects on into the same value;
//   - at the end of the record (atEnd true) the last value; the answer is not used.
// store may throw to abandon the record. A quoted value that runs over the end of a line pulls the next lines from
// reader; `line` is left holding the last physical line the record took.
//
// The rules, as the stored settings of existing users rely on them: a run opens at a qualifier that is not the
// last character of a line and closes at the next qualifier, so a doubled qualifier is no escape (the text after
// the closing one is read unquoted, and a qualifier there opens a new run). The last character of a line is never
// taken inside a run: a line break inside a run becomes CR LF in the value. Qualifiers outside a run, CR and LF are
// dropped; values are not trimmed.
template <class Line, class Rules, class Store>
void scanRecord(Line& line, TextLineReader& reader, const Rules& rules, Store&& store)
{
    const auto q = rules.qualifier();
    const bool quoted = rules.hasQualifier();
    typename scanning::ScanValue<Line>::type value;
    int column = 0;
    qsizetype n = line.size();
    qsizetype p = 0;
    while (p < n) {
        if (quoted && line.at(p) == q && p < n - 1) {
            int count = 0;
            do {
                // The run takes everything up to its closing qualifier, but never the line's last character.
                const qsizetype limit = n - 1;
                while (count < 2 && p < limit) {
                    if (line.at(p) == q) {
                        ++count;
                        ++p;
                        continue;
                    }
                    qsizetype end = scanning::indexOf(line, q, p, limit);
                    if (end < 0)
                        end = limit;
                    scanning::appendChars(value, line.constData() + p, end - p);
                    p = end;
                }
                if (count < 2 && p == n - 1 && line.at(p) != q) {
                    value += line.at(p);
                    scanning::appendLineBreak(value);
                    reader.readLine(line);
                    n = line.size();
                    p = 0;
                }
            } while (count < 2 && p < n - 1);
        }
        if (p >= n)
            break;
        const auto ch = line.at(p);
        if (rules.isOrdinary(ch)) {
            // A stretch of plain characters goes in at once.
            qsizetype end = p + 1;
            while (end < n && rules.isOrdinary(line.at(end)))
                ++end;
            scanning::appendChars(value, line.constData() + p, end - p);
            p = end;
            continue;
        }
        if (rules.isSeparator(ch)) {
            if (store(column, value, false)) {
                ++column;
                // Emptied, not cleared: the next value reuses the memory instead of asking for new.
                value.resize(0);
            }
        }
        ++p;
    }
    store(column, value, true);
}

}  // namespace engine
