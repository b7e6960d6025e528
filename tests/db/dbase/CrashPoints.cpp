// The calls that change files, taken over for the crash-point test: once armed, a countdown lets that many of them
// through and ends the process before the next, as dying between two system calls would, or fails the next. Unarmed
// they only pass the call on. This file includes no system header that declares them, so their definitions here
// stand alone.

#include "CrashPoints.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/types.h>

extern "C" long syscall(long number, ...) noexcept;
extern "C" [[noreturn]] void _exit(int status);

namespace crashpoints {

namespace {
std::atomic<int> writesLeft{-1};
std::atomic<int> failure{0};  // the error the call at the end of the countdown fails with; 0: the process ends
}

void arm(int writes)
{
    failure = 0;
    writesLeft = writes;
}

void failAt(int writes, int error)
{
    failure = error;
    writesLeft = writes;
}

void disarm()
{
    writesLeft = -1;
}

// Whether the call fails; the error is left in errno.
bool step()
{
    if (writesLeft.load() < 0)
        return false;
    if (writesLeft.fetch_sub(1) != 0)
        return false;
    if (failure.load() == 0)
        _exit(kCrashed);
    errno = failure.load();
    return true;
}

}  // namespace crashpoints

extern "C" {

ssize_t pwrite(int fd, const void* buffer, std::size_t size, off_t offset)
{
    if (crashpoints::step())
        return -1;
    return ssize_t(syscall(SYS_pwrite64, fd, buffer, size, offset));
}

ssize_t pwrite64(int fd, const void* buffer, std::size_t size, off_t offset)
{
    if (crashpoints::step())
        return -1;
    return ssize_t(syscall(SYS_pwrite64, fd, buffer, size, offset));
}

int ftruncate(int fd, off_t length) noexcept
{
    if (crashpoints::step())
        return -1;
    return int(syscall(SYS_ftruncate, fd, length));
}

int ftruncate64(int fd, off_t length) noexcept
{
    if (crashpoints::step())
        return -1;
    return int(syscall(SYS_ftruncate, fd, length));
}

int unlink(const char* path) noexcept
{
    if (crashpoints::step())
        return -1;
    return int(syscall(SYS_unlinkat, AT_FDCWD, path, 0));
}

}  // extern "C"
