#include "wizard/text/TextFileView.h"

#include "rtl/CodePages.h"

#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>
#include <algorithm>

namespace wizard {

namespace {

constexpr qint64 BlockSize = qint64(4) << 20;  // even, so that a block never splits a UTF-16 unit
// A line is shown up to this many bytes of the file: further on no person reads, and a file without line ends
// (a binary one, say) must not become one string of its whole size.
constexpr qint64 MaxLineBytes = qint64(4) << 20;
constexpr int TabStop = 8;
constexpr std::size_t CachedLines = 512;
// ... and at most this many characters together, however long the lines.
constexpr qint64 CachedCharacters = qint64(16) << 20;

bool isUtf16(engine::TextEncoding encoding)
{
    return encoding == engine::TextEncoding::Utf16LE || encoding == engine::TextEncoding::Utf16BE;
}

// The line's text from the bytes between its start and the next line's: what comes before its line end, without
// NULs, as the reader's block reading leaves it.
QString decodeBytes(QByteArray bytes, engine::TextEncoding encoding, bool dosText)
{
    if (isUtf16(encoding)) {
        QStringDecoder decoder(encoding == engine::TextEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                          : QStringDecoder::Utf16BE);
        QString text = decoder(bytes);
        text.removeIf([](QChar c) { return c.unicode() == 0; });
        const qsizetype end = std::min(text.indexOf(u'\r'), text.indexOf(u'\n'), [](qsizetype a, qsizetype b) {
            return static_cast<quint64>(a) < static_cast<quint64>(b);
        });
        return end < 0 ? text : text.left(end);
    }
    bytes.removeIf([](char b) { return b == '\0'; });
    qsizetype end = 0;
    while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
        ++end;
    bytes.truncate(end);
    if (encoding == engine::TextEncoding::Utf8)
        return QString::fromUtf8(bytes);
    const QString text = rtl::decode(bytes, rtl::CodePage::Windows1252);
    return dosText ? rtl::OemToAnsi(text) : text;
}

// The part of a line that columns first .. first + count show, tabs expanded to their stops.
QString visibleColumns(const QString& line, qint64 first, qint64 count)
{
    QString out;
    qint64 column = 0;
    for (QChar c : line) {
        if (column >= first + count)
            break;
        const qint64 width = c == u'\t' ? TabStop - column % TabStop : 1;
        for (qint64 k = 0; k < width; ++k, ++column) {
            if (column >= first && column < first + count)
                out += c == u'\t' ? QChar(u' ') : c;
        }
    }
    return out;
}

}  // namespace

TextFileView::TextFileView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

void TextFileView::loadFile(const QString& path, bool dosText)
{
    clear();
    path_ = path;
    dosText_ = dosText;
    try {
        index();
    } catch (...) {
        clear();
        throw;
    }
    updateScrollBars();
    viewport()->update();
}

void TextFileView::setDosText(bool dosText)
{
    if (path_.isEmpty() || dosText == dosText_)
        return;
    loadFile(path_, dosText);
}

void TextFileView::setPlainText(const QString& text)
{
    clear();
    ownText_ = true;
    QString joined = text;
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    joined.replace(u'\r', u'\n');
    joined.remove(QChar(0));
    if (!joined.isEmpty()) {
        own_ = joined.split(u'\n');
        if (joined.endsWith(u'\n'))
            own_.removeLast();
    }
    for (const QString& line : std::as_const(own_)) {
        qint64 width = 0;
        for (QChar c : line)
            width += c == u'\t' ? TabStop - width % TabStop : 1;
        longest_ = std::max(longest_, width);
    }
    updateScrollBars();
    viewport()->update();
}

void TextFileView::clear()
{
    path_.clear();
    file_.close();
    starts_.clear();
    starts_.shrink_to_fit();
    own_.clear();
    ownText_ = false;
    longest_ = 0;
    cache_.clear();
    cachedCharacters_ = 0;
    encoding_ = engine::TextEncoding::Ansi;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void TextFileView::index()
{
    // The reader decides the encoding (and raises the error of a file that cannot be opened) as the reading will.
    {
        engine::TextLineReader reader(path_, dosText_);
        encoding_ = reader.decideEncoding();
    }
    file_.setFileName(path_);
    if (!file_.open(QIODevice::ReadOnly)) {
        throw engine::EInOutError(QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                                      .arg(QDir::toNativeSeparators(path_), file_.errorString()));
    }
    const qint64 size = file_.size();
    const QByteArray head = file_.peek(3);
    qint64 begin = 0;
    qint64 end = size;
    const bool utf16 = isUtf16(encoding_);
    if (utf16)
        begin = 2;
    else if (encoding_ == engine::TextEncoding::Utf8 && head.startsWith("\xEF\xBB\xBF"))
        begin = 3;
    if (!utf16 && end > begin) {
        char last = 0;
        if (file_.seek(end - 1) && file_.getChar(&last) && last == 0x1A)
            --end;
    }
    const bool bigEndian = encoding_ == engine::TextEncoding::Utf16BE;
    const bool utf8 = encoding_ == engine::TextEncoding::Utf8;

    bool open = false;
    bool pendingCr = false;
    qint64 width = 0;
    qint64 lineStart = 0;
    QByteArray block;
    file_.seek(begin);
    for (qint64 pos = begin; pos < end;) {
        block = file_.read(std::min(BlockSize, end - pos));
        if (block.isEmpty()) {
            throw engine::EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                                          .arg(QDir::toNativeSeparators(path_), file_.errorString()));
        }
        const auto* data = reinterpret_cast<const unsigned char*>(block.constData());
        const qsizetype n = block.size();
        const int step = utf16 ? 2 : 1;
        for (qsizetype i = 0; i < n; i += step) {
            char16_t unit;
            if (!utf16)
                unit = data[i];
            else if (i + 1 >= n)
                unit = 0xFFFD;  // an odd last byte
            else
                unit = bigEndian ? char16_t(data[i] << 8 | data[i + 1]) : char16_t(data[i] | data[i + 1] << 8);
            if (unit == 0)
                continue;
            if (pendingCr) {
                pendingCr = false;
                if (unit == u'\n')
                    continue;
            }
            if (!open) {
                lineStart = pos + i;
                starts_.push_back(lineStart);
                open = true;
                width = 0;
            }
            if (unit == u'\n' || unit == u'\r') {
                open = false;
                pendingCr = unit == u'\r';
                longest_ = std::max(longest_, width);
                continue;
            }
            if (unit == u'\t')
                width += TabStop - width % TabStop;
            else if (!(utf8 && (unit & 0xC0) == 0x80) && !(utf16 && unit >= 0xDC00 && unit < 0xE000))
                ++width;
            // Only the shown part of a very long line counts for the scrolling range.
            if (width > MaxLineBytes)
                width = MaxLineBytes;
        }
        pos += n;
    }
    longest_ = std::max(longest_, width);
    starts_.push_back(end);
    starts_.shrink_to_fit();
}

int TextFileView::lineCount() const
{
    if (ownText_)
        return static_cast<int>(own_.size());
    return starts_.empty() ? 0 : static_cast<int>(std::min<std::size_t>(starts_.size() - 1, INT_MAX));
}

QString TextFileView::decodeLine(int index) const
{
    const qint64 start = starts_[static_cast<std::size_t>(index)];
    const qint64 next = starts_[static_cast<std::size_t>(index) + 1];
    if (!file_.isOpen() || !file_.seek(start))
        return QString();
    return decodeBytes(file_.read(std::min(next - start, MaxLineBytes)), encoding_, dosText_);
}

QString TextFileView::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return QString();
    if (ownText_)
        return own_.at(index);
    if (auto found = cache_.find(index); found != cache_.end())
        return found->second;
    QString text = decodeLine(index);
    while (!cache_.empty() && (cache_.size() >= CachedLines || cachedCharacters_ + text.size() > CachedCharacters)) {
        // Forget the cached line farthest from this one: scrolling keeps its neighbours.
        auto farthest = std::abs(cache_.begin()->first - index) > std::abs(cache_.rbegin()->first - index)
                            ? cache_.begin()
                            : std::prev(cache_.end());
        cachedCharacters_ -= farthest->second.size();
        cache_.erase(farthest);
    }
    cachedCharacters_ += text.size();
    cache_.emplace(index, text);
    return text;
}

QStringList TextFileView::lines(int first, int count) const
{
    QStringList out;
    for (int i = std::max(first, 0); i < lineCount() && out.size() < count; ++i)
        out << line(i);
    return out;
}

QString TextFileView::toPlainText() const
{
    return lines(0, lineCount()).join(u'\n');
}

int TextFileView::lineHeight() const
{
    return std::max(fontMetrics().lineSpacing(), 1);
}

int TextFileView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int TextFileView::visibleLineCount() const
{
    return std::max(viewport()->height() / lineHeight(), 1);
}

void TextFileView::updateScrollBars()
{
    const int visible = visibleLineCount();
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setRange(0, std::max(blockCount() - visible, 0));
    const int charWidth = std::max(fontMetrics().horizontalAdvance(QLatin1Char('M')), 1);
    const qint64 textWidth = std::min<qint64>(longest_ * charWidth + 2 * charWidth, INT_MAX / 2);
    horizontalScrollBar()->setSingleStep(charWidth);
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, static_cast<int>(std::max<qint64>(textWidth - viewport()->width(), 0)));
}

void TextFileView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics = fontMetrics();
    const int charWidth = std::max(metrics.horizontalAdvance(QLatin1Char('M')), 1);
    const int height = lineHeight();
    const int x = horizontalScrollBar()->value();
    const qint64 firstColumn = x / charWidth;
    const qint64 columns = viewport()->width() / charWidth + 2;
    const int first = firstVisibleLine();
    const int shown = viewport()->height() / height + 1;
    const int margin = 4;
    for (int i = 0; i < shown && first + i < lineCount(); ++i) {
        const QString text = visibleColumns(line(first + i), firstColumn, columns);
        painter.drawText(margin + static_cast<int>(firstColumn * charWidth - x), i * height + metrics.ascent(), text);
    }
}

void TextFileView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextFileView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_Home) {
            verticalScrollBar()->setValue(0);
            return;
        }
        if (event->key() == Qt::Key_End) {
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
            return;
        }
    }
    if (event->key() == Qt::Key_Home) {
        horizontalScrollBar()->setValue(0);
        return;
    }
    if (event->key() == Qt::Key_End) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TextFileView::scrollContentsBy(int, int)
{
    viewport()->update();
}

}  // namespace wizard
