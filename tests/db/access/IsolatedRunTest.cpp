#include "db/EngineError.h"
#include "db/access/IsolatedRun.h"

#include <QElapsedTimer>
#include <QList>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace db::access;

namespace {

const QString kDamaged = QStringLiteral("beschädigt");

struct Result {
    QList<QByteArray> frames;
    int code = 0;
    QString message;
};

Result run(const std::function<void(FrameWriter&)>& work, IsolationLimits limits = {})
{
    Result result;
    try {
        runIsolated(work, [&](const QByteArray& f) { result.frames.append(f); }, kDamaged, limits);
    } catch (const db::EngineError& e) {
        result.code = e.code();
        result.message = e.message();
    }
    return result;
}

}  // namespace

// Whatever the child does, the parent gets its frames or one clear error, and goes on.
TEST(IsolatedRun, ChildBehaviours)
{
    IsolationLimits quick;
    quick.idleTimeoutMs = 500;
    quick.maxOutputBytes = 1 << 20;
    struct Case {
        const char* name;
        std::function<void(FrameWriter&)> work;
        int frames;
        int code;
        QString message;
    };
    const Case cases[] = {
        {"frames arrive in order", [](FrameWriter& w) { w.send("a"); w.send(QByteArray(200000, 'b')); w.send(""); },
         3, 0, {}},
        {"engine error passes through",
         [](FrameWriter& w) {
             w.send("a");
             throw db::EngineError(db::ErrorCode::TableNotFound, QStringLiteral("Tabelle fehlt"));
         },
         1, db::ErrorCode::TableNotFound, QStringLiteral("Tabelle fehlt")},
        {"crash", [](FrameWriter&) { std::raise(SIGSEGV); }, 0, db::ErrorCode::CorruptFile, kDamaged},
        {"abort after a frame", [](FrameWriter& w) { w.send("a"); std::abort(); }, 1, db::ErrorCode::CorruptFile, kDamaged},
        {"endless loop", [](FrameWriter&) { for (;;) ::pause(); }, 0, db::ErrorCode::CorruptFile, kDamaged},
        {"flood", [](FrameWriter& w) { for (;;) w.send(QByteArray(4096, 'x')); }, -1, db::ErrorCode::CorruptFile, kDamaged},
        {"other exception", [](FrameWriter&) { throw std::runtime_error("x"); }, 0, db::ErrorCode::CorruptFile, kDamaged},
        {"exit without closing frame", [](FrameWriter&) { _exit(0); }, 0, db::ErrorCode::CorruptFile, kDamaged},
        {"huge allocation", [](FrameWriter&) { volatile char* p = static_cast<char*>(std::malloc(std::size_t(64) << 30)); if (!p) std::abort(); p[0] = 1; },
         0, db::ErrorCode::CorruptFile, kDamaged},
    };
    for (const Case& c : cases) {
        const Result r = run(c.work, quick);
        if (c.frames >= 0) {
            EXPECT_EQ(r.frames.size(), c.frames) << c.name;
        }
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
    }
}

TEST(IsolatedRun, ParentErrorStopsTheChild)
{
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(runIsolated([](FrameWriter& w) { for (;;) w.send("x"); },
                             [](const QByteArray&) { throw std::runtime_error("stop"); }, kDamaged),
                 std::runtime_error);
    EXPECT_LT(timer.elapsed(), 10000);
}

// A window waiting for a slow child is called back meanwhile, and a hung child is still given up after the same
// silence as without a hook.
TEST(IsolatedRun, TheWaitHookRunsWhileTheChildWorks)
{
    int calls = 0;
    const IsolationWaitHook previous = setIsolationWaitHook([&calls] { ++calls; });
    IsolationLimits quick;
    quick.idleTimeoutMs = 1000;
    const Result slow = run([](FrameWriter& w) { ::usleep(300000); w.send("a"); }, quick);
    EXPECT_EQ(slow.frames.size(), 1);
    EXPECT_EQ(slow.code, 0);
    EXPECT_GE(calls, 3);

    QElapsedTimer timer;
    timer.start();
    const Result hung = run([](FrameWriter&) { for (;;) ::pause(); }, quick);
    EXPECT_EQ(hung.code, db::ErrorCode::CorruptFile);
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_LT(timer.elapsed(), 5000);
    setIsolationWaitHook(previous);
}
