#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace db::access {

// The Access library trusts the file it reads: a damaged or hostile database can make it read out of bounds,
// abort, or follow a page chain in a circle for ever. Every call into it therefore runs in a child process that
// sends its results back as frames through a pipe; whatever happens to the child, the program goes on and the
// user gets a clear message.
//
// Invariants of one run:
//  1. The child only reads the database and writes frames; it never touches a file of ours, never returns into
//     the caller's code and leaves with _exit(), so no destructor or exit handler of the program runs twice.
//  2. A run counts as done only when the child sent its closing frame and ended with status 0. A crash, a kill
//     or a missing closing frame is a damaged database, never a short result taken for a whole one.
//  3. The child is killed when it sends nothing for idleTimeoutMs, or sends more than the output limit, and it is
//     always reaped before runIsolated returns or raises.

// Channel the child writes its frames to.
class FrameWriter {
public:
    explicit FrameWriter(int fd) : fd_(fd) {}
    void send(const QByteArray& frame);

private:
    int fd_;
};

struct IsolationLimits {
    int idleTimeoutMs = 30000;      // silence after which the child counts as hung
    qint64 maxOutputBytes = 0;      // 0: no limit
    qint64 extraAddressSpace = qint64(2) << 30;  // memory the child may take beyond the parent's size
};

// Runs work in a child process and hands every frame it sends to onFrame, in order, in this process. An
// EngineError the work raises in the child reaches the caller as the same EngineError. A child that crashes, hangs
// or floods raises EngineError CorruptFile with damagedMessage. An exception of onFrame kills the child and
// propagates.
void runIsolated(const std::function<void(FrameWriter&)>& work, const std::function<void(const QByteArray&)>& onFrame,
                 const QString& damagedMessage, const IsolationLimits& limits = {});

// Idle timeout used by the Access layer's own runs (default 30 s); tests shorten it.
int isolationIdleTimeoutMs();
void setIsolationIdleTimeoutMs(int ms);

// Called every few milliseconds while a run waits for its child, on the waiting thread, so that a window can keep
// painting meanwhile; none by default. The hook must not start another run. Returns the hook it replaced.
using IsolationWaitHook = std::function<void()>;
IsolationWaitHook setIsolationWaitHook(IsolationWaitHook hook);

}  // namespace db::access
