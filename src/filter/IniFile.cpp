#include "filter/IniFile.h"

#include "rtl/CodePages.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace filter {

namespace {

QString nativeName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    bool multiByte = false;
    for (const char c : bytes)
        multiByte = multiByte || (static_cast<unsigned char>(c) & 0x80) != 0;
    if (multiByte) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return rtl::decode(bytes, rtl::CodePage::Windows1252);
}

// A value stays on its line: a line break inside it would end the value and start lines of its own.
QString oneLine(QString value)
{
    return value.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
}

}  // namespace

IniFile::IniFile(const QString& path) : path_(path)
{
    QFile file(path);
    if (!file.exists())
        return;
    exists_ = true;
    if (file.size() > kMaxSize)
        throw FilterFileError(texts::Format(texts::Text(61552), {nativeName(path)}));
    if (!file.open(QIODevice::ReadOnly))
        throw FilterFileError(texts::Format(texts::Text(61553), {nativeName(path), file.errorString()}));
    const QByteArray bytes = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw FilterFileError(texts::Format(texts::Text(61553), {nativeName(path), file.errorString()}));
    if (bytes.size() > kMaxSize)
        throw FilterFileError(texts::Format(texts::Text(61552), {nativeName(path)}));
    if (bytes.contains('\0'))
        throw FilterFileError(texts::Format(texts::Text(61551), {nativeName(path)}));
    Section* current = nullptr;
    const QString text = decodeText(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close > 0) {
                current = &findOrAdd(line.mid(1, close - 1).trimmed().toString());
                continue;
            }
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!current || equals <= 0 || line.startsWith(u';'))
            continue;
        const QString key = line.left(equals).trimmed().toString();
        const QString value = line.mid(equals + 1).trimmed().toString();
        // The first of two equal keys counts, as with the system's own INI routines.
        if (!valueOf(*current, key))
            current->keys.emplace_back(key, value);
    }
}

const QString* IniFile::valueOf(const Section& section, const QString& key)
{
    for (const auto& [name, value] : section.keys)
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return &value;
    return nullptr;
}

const IniFile::Section* IniFile::find(const QString& section) const
{
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

IniFile::Section& IniFile::findOrAdd(const QString& section)
{
    if (const Section* s = find(section))
        return const_cast<Section&>(*s);
    sections_.push_back(Section{section, {}});
    return sections_.back();
}

bool IniFile::hasSection(const QString& section) const
{
    return find(section) != nullptr;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    if (const Section* s = find(section))
        if (const QString* value = valueOf(*s, key))
            return *value;
    return defaultValue;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    const Section* s = find(section);
    return s && valueOf(*s, key);
}

QStringList IniFile::ReadSection(const QString& section) const
{
    QStringList names;
    if (const Section* s = find(section))
        for (const auto& entry : s->keys)
            names << entry.first;
    return names;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Section& s = findOrAdd(section);
    if (const QString* stored = valueOf(s, key))
        *const_cast<QString*>(stored) = oneLine(value);
    else
        s.keys.emplace_back(key, oneLine(value));
}

void IniFile::EraseSection(const QString& section)
{
    std::erase_if(sections_, [&](const Section& s) { return s.name.compare(section, Qt::CaseInsensitive) == 0; });
}

void IniFile::UpdateFile() const
{
    QString text;
    for (const Section& s : sections_) {
        if (!text.isEmpty())
            text += QStringLiteral("\r\n");
        text += u'[' + s.name + QStringLiteral("]\r\n");
        for (const auto& [name, value] : s.keys)
            text += name + u'=' + value + QStringLiteral("\r\n");
    }
    const QByteArray bytes = rtl::canEncode(text, rtl::CodePage::Windows1252)
                                 ? rtl::encode(text, rtl::CodePage::Windows1252)
                                 : QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    const QFileInfo info(path_);
    // Replacing the file by renaming would go past its write protection, which holds whoever runs the program.
    // (The mode bits: the "user" flags say what the running user may do, which is everything for an administrator.)
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite)))
        throw FilterFileError(texts::Format(texts::Text(61554), {nativeName(path_), texts::Text(65001)}));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FilterFileError(texts::Format(texts::Text(61554), {nativeName(path_), file.errorString()}));
}

}  // namespace filter
