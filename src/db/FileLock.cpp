#include "db/FileLock.h"

#include "db/EngineError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace db {

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)), mode_(other.mode_) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        mode_ = other.mode_;
    }
    return *this;
}

void FileLock::acquire(const QString& path, OpenMode mode)
{
    release();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw EngineError(ErrorCode::IoError, QStringLiteral("Die Datei %1 kann nicht geöffnet werden: %2")
                                                  .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    const int op = (mode == OpenMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd, op);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        throw EngineError(ErrorCode::FileLocked,
                          QStringLiteral("Die Tabelle %1 wird von einem anderen Programm verwendet.").arg(path));
    }
    fd_ = fd;
    mode_ = mode;
}

void FileLock::release()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

bool fileWritable(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return true;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(native.constData(), W_OK) == 0;
}

}  // namespace db
