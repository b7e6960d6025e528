#include "db/access/IsolatedRun.h"

#include "db/EngineError.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QIODevice>
#include <QList>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace db::access {

namespace {

enum FrameKind : char { DataFrame = 'D', ErrorFrame = 'E', DoneFrame = 'Z' };

std::atomic<int> g_idleTimeoutMs{30000};

// Loads the character conversion modules the Access library needs into this process before any fork, so that the
// child finds them ready instead of loading shared objects itself (loading code after fork in a threaded program
// is where a child could block).
void prepareConversionsOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static const char* const from[] = {"UCS-2LE", "CP1252", "CP1250", "CP1251", "CP1253", "CP1254", "CP1257"};
        for (const char* f : from) {
            iconv_t cd = iconv_open("UTF-8", f);
            (void)cd;  // kept open on purpose for the life of the process
        }
    });
}

bool writeAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        length -= size_t(n);
    }
    return true;
}

void sendFrame(int fd, char kind, const QByteArray& payload)
{
    const quint32 length = quint32(payload.size()) + 1;
    char head[5];
    std::memcpy(head, &length, 4);
    head[4] = kind;
    if (!writeAll(fd, head, sizeof head) || !writeAll(fd, payload.constData(), size_t(payload.size())))
        _exit(4);  // the parent has gone away or killed the channel
}

long currentAddressSpace()
{
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long pages = 0;
    if (std::fscanf(f, "%ld", &pages) != 1)
        pages = 0;
    std::fclose(f);
    return pages * sysconf(_SC_PAGESIZE);
}

[[noreturn]] void childMain(int fd, const std::function<void(FrameWriter&)>& work, const IsolationLimits& limits)
{
    // The library writes its complaints to stderr; they mean nothing to the user and the parent decides what
    // to report.
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
        ::dup2(devNull, STDERR_FILENO);
        ::close(devNull);
    }
    // A length field read from a damaged page can ask for gigabytes; let such a request fail in the child.
    if (limits.extraAddressSpace > 0) {
        const long base = currentAddressSpace();
        if (base > 0) {
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = rlim_t(base) + rlim_t(limits.extraAddressSpace);
            ::setrlimit(RLIMIT_AS, &limit);
        }
    }
    // Settings the library takes from the environment would change what it reads (character sets, search path,
    // debug output); the program decides these, not the user's shell. Numbers are formatted in the C locale.
    ::unsetenv("MDBICONV");
    ::unsetenv("MDB_JET3_CHARSET");
    ::unsetenv("MDBOPTS");
    ::unsetenv("MDBPATH");
    std::setlocale(LC_ALL, "C");

    int status = 0;
    try {
        FrameWriter writer(fd);
        work(writer);
        sendFrame(fd, DoneFrame, {});
    } catch (const EngineError& e) {
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << QList<int>(e.codes().begin(), e.codes().end()) << e.message();
        sendFrame(fd, ErrorFrame, payload);
    } catch (...) {
        status = 3;
    }
    ::close(fd);
    _exit(status);
}

// Owns the child until it has been reaped: whatever way the parent leaves, the child does not outlive the run.
class ChildGuard {
public:
    ChildGuard(pid_t pid, int fd) : pid_(pid), fd_(fd) {}
    ~ChildGuard()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            reap();
        }
    }
    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;

    int reap()
    {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }
    void kill() { ::kill(pid_, SIGKILL); }
    void closeChannel()
    {
        ::close(fd_);
        fd_ = -1;
    }

private:
    pid_t pid_;
    int fd_;
};

}  // namespace

void FrameWriter::send(const QByteArray& frame)
{
    sendFrame(fd_, DataFrame, frame);
}

int isolationIdleTimeoutMs()
{
    return g_idleTimeoutMs.load();
}

void setIsolationIdleTimeoutMs(int ms)
{
    g_idleTimeoutMs.store(ms);
}

namespace {
IsolationWaitHook g_waitHook;
// How long one wait lasts before the hook runs again: short enough for a window to repaint smoothly.
constexpr int kWaitSliceMs = 40;
}  // namespace

IsolationWaitHook setIsolationWaitHook(IsolationWaitHook hook)
{
    std::swap(g_waitHook, hook);
    return hook;
}

void runIsolated(const std::function<void(FrameWriter&)>& work, const std::function<void(const QByteArray&)>& onFrame,
                 const QString& damagedMessage, const IsolationLimits& limits)
{
    prepareConversionsOnce();

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Access-Datenbank kann nicht gelesen werden: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(errno))));
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int err = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Access-Datenbank kann nicht gelesen werden: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(err))));
    }
    if (pid == 0) {
        ::close(fds[0]);
        childMain(fds[1], work, limits);
    }
    ::close(fds[1]);
    ChildGuard child(pid, fds[0]);
    const auto damaged = [&] { return EngineError(ErrorCode::CorruptFile, damagedMessage); };

    QByteArray pending;
    qint64 received = 0;
    bool done = false;
    bool hasError = false;
    QList<int> errorCodes;
    QString errorMessage;
    char chunk[65536];

    // A copy, so that a hook which replaces itself does not pull the function from under this run.
    const IsolationWaitHook waitHook = g_waitHook;
    QElapsedTimer silence;
    silence.start();
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const qint64 left = limits.idleTimeoutMs - silence.elapsed();
        const int ready = ::poll(&p, 1, waitHook ? int(std::clamp<qint64>(left, 0, kWaitSliceMs)) : int(std::max<qint64>(left, 0)));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            throw damaged();
        }
        if (ready == 0) {
            if (silence.elapsed() < limits.idleTimeoutMs && waitHook) {
                waitHook();
                continue;
            }
            child.kill();
            throw damaged();
        }
        silence.restart();
        const ssize_t n = ::read(fds[0], chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            throw damaged();
        }
        if (n == 0)
            break;
        received += n;
        if (limits.maxOutputBytes > 0 && received > limits.maxOutputBytes) {
            child.kill();
            throw damaged();
        }
        pending.append(chunk, n);

        qsizetype pos = 0;
        while (pending.size() - pos >= 4) {
            quint32 length = 0;
            std::memcpy(&length, pending.constData() + pos, 4);
            if (length == 0 || length > (1u << 30)) {
                child.kill();
                throw damaged();
            }
            if (pending.size() - pos - 4 < qsizetype(length))
                break;
            const char kind = pending.at(pos + 4);
            const QByteArray payload = pending.mid(pos + 5, qsizetype(length) - 1);
            pos += 4 + qsizetype(length);
            if (done || hasError) {  // nothing may follow the closing frame
                child.kill();
                throw damaged();
            }
            switch (kind) {
            case DataFrame:
                onFrame(payload);
                break;
            case ErrorFrame: {
                QDataStream in(payload);
                in >> errorCodes >> errorMessage;
                hasError = true;
                break;
            }
            case DoneFrame:
                done = true;
                break;
            default:
                child.kill();
                throw damaged();
            }
        }
        pending.remove(0, pos);
    }

    child.closeChannel();
    const int status = child.reap();
    const bool cleanExit = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!cleanExit || !pending.isEmpty() || (!done && !hasError))
        throw damaged();
    if (hasError) {
        std::vector<int> codes(errorCodes.begin(), errorCodes.end());
        if (codes.empty())
            codes.push_back(ErrorCode::CorruptFile);
        throw EngineError(std::move(codes), errorMessage);
    }
}

}  // namespace db::access
