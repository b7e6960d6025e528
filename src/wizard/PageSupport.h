#pragma once

// Small helpers the pages of the main window share.

#include <QApplication>
#include <QFileInfo>
#include <QString>

namespace wizard {

// The line break the program's messages use.
inline const QString kCrLf = QStringLiteral("\r\n");

// The wait cursor for as long as the object lives, on every way out.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A file name's extension as the pages compare it: with its dot, in upper case; empty when it has none.
inline QString UpperExtension(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix.toUpper();
}

}  // namespace wizard
