#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <utility>
#include <vector>

// A filter file as the program reads and writes it: an INI text held in memory, sections and keys in file order,
// names compared without regard to case. Lines that are neither a section head nor "key=value" are skipped.
// Written files are Windows-1252 when every character fits, else UTF-8 with a byte order mark; both are read.
namespace filter {

// Why a file could not be read or written; message is the program's text for it, naming the file.
class FilterFileError : public std::runtime_error {
public:
    explicit FilterFileError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

class IniFile {
public:
    // A filter file holds a few dozen lines: a file a thousand times that size is not one, and is not read.
    static constexpr qint64 kMaxSize = 1024 * 1024;

    // Reads the file; a missing file is an empty one. A file that is too large, holds zero bytes (no text file)
    // or cannot be read raises FilterFileError.
    explicit IniFile(const QString& path);

    const QString& path() const { return path_; }
    bool exists() const { return exists_; }
    bool hasSection(const QString& section) const;

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // The names of the section's keys in file order.
    QStringList ReadSection(const QString& section) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void EraseSection(const QString& section);

    // Writes the whole file at once (a new file beside it, then renamed over it), so that a failure leaves the
    // old file as it was. A file protected on disk is not replaced: FilterFileError.
    void UpdateFile() const;

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> keys;
    };
    const Section* find(const QString& section) const;
    // The value of the section's key, nullptr when the section has none.
    static const QString* valueOf(const Section& section, const QString& key);
    Section& findOrAdd(const QString& section);

    QString path_;
    bool exists_ = false;
    std::vector<Section> sections_;
};

}  // namespace filter
