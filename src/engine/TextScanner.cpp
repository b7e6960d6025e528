#include "engine/TextScanner.h"

#include "rtl/CodePages.h"

#include <QDir>
#include <cstdint>
#include <cstring>

namespace engine {

namespace {

constexpr qint64 BlockSize = 1 << 20;
constexpr char EndOfFileMark = 0x1A;

// Windows-1252 byte to character, built once from the program's code page table.
const std::array<char16_t, 256>& ansiTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = rtl::toUnicode(static_cast<unsigned char>(b), rtl::CodePage::Windows1252);
        return t;
    }();
    return table;
}

void appendAnsi(QString& line, const char* data, qsizetype length)
{
    const auto& table = ansiTable();
    const qsizetype start = line.size();
    line.resize(start + length);
    QChar* out = line.data() + start;
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QChar(table[static_cast<unsigned char>(data[i])]);
}

// Whether bytes are valid UTF-8 (no overlong form, no surrogate, nothing beyond U+10FFFF), fed piece by piece.
class Utf8Check {
public:
    // False as soon as the bytes fed so far are no UTF-8.
    bool feed(const char* bytes, qsizetype n)
    {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes);
        for (qsizetype i = 0; i < n; ++i) {
            const unsigned char b = data[i];
            if (due_ > 0) {
                if (b < low_ || b > high_)
                    return false;
                --due_;
                low_ = 0x80;
                high_ = 0xBF;
            } else if (b >= 0x80 && !lead(b)) {
                return false;
            }
        }
        return true;
    }
    // No sequence left open at the end.
    bool complete() const { return due_ == 0; }

private:
    bool lead(unsigned char b)
    {
        if (b >= 0xC2 && b <= 0xDF) {
            due_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            due_ = 2;
            if (b == 0xE0)
                low_ = 0xA0;
            else if (b == 0xED)
                high_ = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            due_ = 3;
            if (b == 0xF0)
                low_ = 0x90;
            else if (b == 0xF4)
                high_ = 0x8F;
        } else {
            return false;
        }
        return true;
    }

    int due_ = 0;  // continuation bytes still to come
    unsigned char low_ = 0x80;  // the range the next continuation byte must lie in
    unsigned char high_ = 0xBF;
};

bool hasByteBeyondAscii(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, data + i, sizeof eight);
        if (eight & 0x8080808080808080ULL)
            return true;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return true;
    }
    return false;
}

// How many bytes the UTF-8 sequence led by b takes; 1 for a byte that leads none.
int sequenceLength(unsigned char b)
{
    if (b >= 0xF0)
        return 4;
    if (b >= 0xE0)
        return 3;
    if (b >= 0xC0)
        return 2;
    return 1;
}

}  // namespace

TextLineReader::TextLineReader(const QString& path, bool dosText) : path_(path), file_(path)
{
    if (!file_.open(QIODevice::ReadOnly)) {
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                              .arg(QDir::toNativeSeparators(path), file_.errorString()));
    }
    remaining_ = file_.size();
    const QByteArray head = file_.peek(3);
    qint64 mark = 0;
    if (head.startsWith("\xEF\xBB\xBF")) {
        encoding_ = TextEncoding::Utf8;
        mark = 3;
    } else if (head.startsWith("\xFF\xFE")) {
        encoding_ = TextEncoding::Utf16LE;
        mark = 2;
    } else if (head.startsWith("\xFE\xFF")) {
        encoding_ = TextEncoding::Utf16BE;
        mark = 2;
    }
    if (mark > 0) {
        file_.read(mark);
        remaining_ -= mark;
    }
    const bool utf16 = encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE;
    // In UTF-16 a byte 0x1A is half a character, never the DOS end-of-file mark.
    if (remaining_ > 0 && !utf16 && !file_.isSequential()) {
        char last = 0;
        if (file_.seek(mark + remaining_ - 1) && file_.getChar(&last) && last == EndOfFileMark)
            --remaining_;
        file_.seek(mark);
    }
    // The text before the first byte beyond ASCII reads the same either way, so that byte decides.
    undecided_ = encoding_ == TextEncoding::Ansi && !dosText && !file_.isSequential();
    if (utf16)
        utf16_.emplace(encoding_ == TextEncoding::Utf16LE ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
}

void TextLineReader::readBlock()
{
    buffer_ = file_.read(std::min(BlockSize, remaining_));
    if (buffer_.isEmpty()) {
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                              .arg(QDir::toNativeSeparators(path_), file_.errorString()));
    }
    remaining_ -= buffer_.size();
    if (undecided_ && hasByteBeyondAscii(buffer_)) {
        undecided_ = false;
        if (restIsUtf8Text(buffer_))
            encoding_ = TextEncoding::Utf8;
    }
    if (encoding_ == TextEncoding::Utf8 && remaining_ > 0) {
        // A block ends between two characters, so that the pieces of a line decode each on its own.
        qsizetype lead = buffer_.size() - 1;
        while (lead > 0 && lead > buffer_.size() - 4 && (static_cast<unsigned char>(buffer_.at(lead)) & 0xC0) == 0x80)
            --lead;
        const qsizetype missing =
            sequenceLength(static_cast<unsigned char>(buffer_.at(lead))) - (buffer_.size() - lead);
        if (missing > 0) {
            const QByteArray rest = file_.read(std::min<qint64>(missing, remaining_));
            remaining_ -= rest.size();
            buffer_ += rest;
        }
    }
    if (utf16_) {
        QString text = (*utf16_)(buffer_);
        if (!heldSurrogate_.isNull()) {
            text.prepend(heldSurrogate_);
            heldSurrogate_ = QChar();
        }
        if (remaining_ > 0 && !text.isEmpty() && text.back().isHighSurrogate()) {
            heldSurrogate_ = text.back();
            text.chop(1);
        }
        buffer_ = text.toUtf8();
    }
}

bool TextLineReader::restIsUtf8Text(const QByteArray& head)
{
    Utf8Check check;
    bool beyondAscii = false;
    bool valid = true;
    const auto take = [&](const QByteArray& bytes) {
        // A stretch of ASCII between two characters leaves the check as it was.
        if (check.complete() && !hasByteBeyondAscii(bytes))
            return;
        beyondAscii = true;
        valid = check.feed(bytes.constData(), bytes.size());
    };
    take(head);
    const qint64 back = file_.pos();
    for (qint64 left = remaining_; valid && left > 0;) {
        const QByteArray block = file_.read(std::min(BlockSize, left));
        if (block.isEmpty())
            break;  // the reading proper reports the error
        left -= block.size();
        take(block);
    }
    file_.seek(back);
    return valid && check.complete() && beyondAscii;
}

void TextLineReader::appendText(QString& line, const char* data, qsizetype length) const
{
    if (encoding_ == TextEncoding::Ansi)
        appendAnsi(line, data, length);
    else
        line.append(QString::fromUtf8(data, length));
}

bool TextLineReader::fill()
{
    if (pos_ < buffer_.size())
        return true;
    buffer_.clear();
    pos_ = 0;
    while (buffer_.isEmpty()) {
        if (remaining_ <= 0)
            return false;
        readBlock();
        // Dropped before the line ends are looked for, so that a CR and its LF with NULs between stay one line end.
        buffer_.removeIf([](char b) { return b == '\0'; });
    }
    return true;
}

bool TextLineReader::atEnd()
{
    if (!fill())
        return true;
    if (pendingCr_ && buffer_.at(pos_) == '\n') {
        pendingCr_ = false;
        ++pos_;
        return atEnd();
    }
    return false;
}

bool TextLineReader::readLine(QString& line)
{
    return readAnyLine(line);
}

bool TextLineReader::readLine(QByteArray& line)
{
    return readAnyLine(line);
}

TextEncoding TextLineReader::decideEncoding()
{
    if (!undecided_)
        return encoding_;
    undecided_ = false;
    // The bytes in the buffer not yet read and the rest of the file decide; what was read was ASCII.
    if (restIsUtf8Text(buffer_.mid(pos_)))
        encoding_ = TextEncoding::Utf8;
    return encoding_;
}

template <class Line>
bool TextLineReader::readAnyLine(Line& line)
{
    line.resize(0);  // keeps its memory for the next line
    if (atEnd())
        return false;
    pendingCr_ = false;
    while (fill()) {
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        // The line ends at the first CR or LF: LF searched first, then CR only before it, each through memchr,
        // which looks at many bytes at a time.
        const char* from = data + pos_;
        const auto left = static_cast<std::size_t>(size - pos_);
        const void* lf = std::memchr(from, '\n', left);
        const std::size_t beforeLf = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - from) : left;
        const void* cr = std::memchr(from, '\r', beforeLf);
        const qsizetype end = pos_ + static_cast<qsizetype>(
                                         cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - from) : beforeLf);
        appendText(line, from, end - pos_);
        if (end == size) {
            pos_ = end;
            continue;  // the line goes on in the next block
        }
        pos_ = end + 1;
        if (data[end] == '\r') {
            if (pos_ < size) {
                if (data[pos_] == '\n')
                    ++pos_;
            } else {
                pendingCr_ = true;
            }
        }
        return true;
    }
    return true;  // the last line of the file has no line end
}

QString ReadTextFile(const QString& path)
{
    TextLineReader reader(path);
    QString text;
    QString line;
    bool first = true;
    while (reader.readLine(line)) {
        if (!first)
            text += u'\n';
        text += line;
        first = false;
    }
    return text;
}

ByteScanRules::ByteScanRules(const QString& separators, QChar qualifier)
{
    ordinary_.fill(true);
    ordinary_['\n'] = ordinary_['\r'] = false;
    for (QChar ch : separators) {
        const int b = rtl::toByte(ch.unicode(), rtl::CodePage::Windows1252);
        if (b >= 0) {
            separator_[static_cast<std::size_t>(b)] = true;
            ordinary_[static_cast<std::size_t>(b)] = false;
        }
    }
    const int q = qualifier.isNull() ? -1 : rtl::toByte(qualifier.unicode(), rtl::CodePage::Windows1252);
    if (q >= 0) {
        qualifier_ = static_cast<char>(q);
        hasQualifier_ = true;
        ordinary_[static_cast<std::size_t>(q)] = false;
    }
}

ScanRules::ScanRules(const QString& separators, QChar qualifier) : qualifier_(qualifier)
{
    ordinary_.fill(true);
    ordinary_[10] = ordinary_[13] = false;
    for (QChar ch : separators) {
        if (ch.unicode() < 256) {
            separatorByte_[ch.unicode()] = true;
            ordinary_[ch.unicode()] = false;
        } else {
            others_ += ch;
        }
    }
    if (!qualifier.isNull() && qualifier.unicode() < 256)
        ordinary_[qualifier.unicode()] = false;
}

}  // namespace engine
