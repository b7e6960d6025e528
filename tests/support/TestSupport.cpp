#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace testsupport {

QString fixturesDir()
{
    const QByteArray fromEnv = qgetenv("IMPORT_FIXTURES_DIR");
    return fromEnv.isEmpty() ? QStringLiteral(IMPORT_FIXTURES_DIR) : QString::fromLocal8Bit(fromEnv);
}

QString fixture(const QString& relative)
{
    return QDir(fixturesDir()).filePath(relative);
}

QString copyTableTo(const QString& relativeFixture, const QString& dir)
{
    const QFileInfo source(fixture(relativeFixture));
    if (!source.exists())
        throw std::runtime_error("fixture missing: " + relativeFixture.toStdString());
    const QDir from = source.dir();
    QString copied;
    for (const QFileInfo& entry : from.entryInfoList(QDir::Files)) {
        if (entry.completeBaseName().compare(source.completeBaseName(), Qt::CaseInsensitive) != 0)
            continue;
        const QString target = QDir(dir).filePath(entry.fileName());
        QFile::remove(target);
        if (!QFile::copy(entry.filePath(), target))
            throw std::runtime_error("cannot copy fixture " + entry.filePath().toStdString());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (entry.fileName() == source.fileName())
            copied = target;
    }
    return copied;
}

}  // namespace testsupport
