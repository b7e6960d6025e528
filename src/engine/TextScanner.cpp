#include "engine/TextScanner.h"

#include "rtl/CodePages.h"

#include <QDir>

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

}  // namespace

TextLineReader::TextLineReader(const QString& path) : path_(path), file_(path)
{
    if (!file_.open(QIODevice::ReadOnly)) {
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                              .arg(QDir::toNativeSeparators(path), file_.errorString()));
    }
    remaining_ = file_.size();
    if (remaining_ > 0 && !file_.isSequential()) {
        char last = 0;
        if (file_.seek(remaining_ - 1) && file_.getChar(&last) && last == EndOfFileMark)
            --remaining_;
        file_.seek(0);
    }
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
        buffer_ = file_.read(std::min(BlockSize, remaining_));
        if (buffer_.isEmpty()) {
            throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                                  .arg(QDir::toNativeSeparators(path_), file_.errorString()));
        }
        remaining_ -= buffer_.size();
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
    line.clear();
    if (atEnd())
        return false;
    pendingCr_ = false;
    while (fill()) {
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        qsizetype end = pos_;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        appendAnsi(line, data + pos_, end - pos_);
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
