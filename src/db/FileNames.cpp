#include "db/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace db {

QString findFileIgnoringCase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir dir = info.dir();
    if (!dir.exists())
        return path;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return path;
}

QStringList filesOfBaseName(const QString& folder, const QString& baseName)
{
    QStringList files;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.completeBaseName().compare(baseName, Qt::CaseInsensitive) == 0)
            files.append(entry.absoluteFilePath());
    }
    return files;
}

}  // namespace db
