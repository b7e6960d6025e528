#pragma once

#include "engine/TextScanner.h"

#include <QAbstractScrollArea>
#include <QFile>
#include <QStringList>
#include <map>
#include <vector>

namespace wizard {

// A read-only, unwrapped view of a text file, for files far larger than a text document can hold: it keeps where
// each line of the file begins (one pass over the file, block by block) and reads and decodes only the lines it
// draws. The lines are those the text reader reads (engine::TextLineReader): the same encoding decision (byte order
// mark, UTF-8, Windows-1252; with DOS text the bytes converted from code page 850 as the reading converts them), the
// same line ends (CR LF, LF, lone CR), no NULs, no DOS end-of-file mark. A plain editor showing the reader's lines
// joined by LF shows the same text, scrolls by the same lines and counts the same blocks.
//
// The view is drawn in the fixed-pitch font, so that a line of a million characters costs no more than its visible
// part. A file changed on disk after loading is shown as it was indexed until it is loaded again.
class TextFileView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextFileView(QWidget* parent = nullptr);

    // Indexes the file; raises engine::EInOutError when it cannot be opened or read (the view is empty then).
    void loadFile(const QString& path, bool dosText = false);
    // The loaded file again, decoded as DOS text or not; nothing for a view without a file.
    void setDosText(bool dosText);
    bool dosText() const { return dosText_; }
    QString fileName() const { return path_; }

    // A text of one's own, cut at its line ends as the reader cuts a file.
    void setPlainText(const QString& text);
    void clear();

    // The lines the reader reads.
    int lineCount() const;
    // The blocks a plain editor shows: the lines, at least one.
    int blockCount() const { return std::max(lineCount(), 1); }
    QString line(int index) const;
    // The lines from first on, at most count.
    QStringList lines(int first, int count) const;
    // Every line joined by LF; for small texts only.
    QString toPlainText() const;

    int firstVisibleLine() const;
    int visibleLineCount() const;
    int lineHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void index();
    void updateScrollBars();
    QString decodeLine(int index) const;

    QString path_;
    bool dosText_ = false;
    engine::TextEncoding encoding_ = engine::TextEncoding::Ansi;
    // Where each line begins in the file, and one more entry: where the text ends.
    std::vector<qint64> starts_;
    qint64 longest_ = 0;  // the widest line in characters (a tab counts as its stop), for the horizontal range
    mutable QFile file_;
    QStringList own_;  // the lines of a text of one's own
    bool ownText_ = false;
    // The lines drawn last, decoded.
    mutable std::map<int, QString> cache_;
    mutable qint64 cachedCharacters_ = 0;
};

}  // namespace wizard
