// Start-up of the program to its shown main window (without the start screen's hold), against a bare Qt Widgets
// program that shows one empty window. Each round starts a process; the program runs from a copy of its program
// folder with a configuration folder of its own, so the user's preferences and tables are not touched. The
// figure to read is "ratio" on the program's line: its time over the bare window's, both as medians of runs taken
// in turns, so that other work on the machine weighs on both alike.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QTemporaryDir& Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString ProgramCopy()
{
    static const QString program = [] {
        const QString folder = Scratch().path() + QStringLiteral("/program/");
        QDir().mkpath(folder);
        const QDir built(QStringLiteral(IMPORT_PROGRAM_DIR));
        for (const QString& name : built.entryList(QDir::Files))
            QFile::copy(built.filePath(name), folder + name);
        QFile::setPermissions(folder + QStringLiteral("Import"), QFile::permissions(built.filePath("Import")));
        return folder + QStringLiteral("Import");
    }();
    return program;
}

double RunOnce(const QString& program, bool probe)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Scratch().path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    if (probe)
        env.insert(QStringLiteral("IMPORT_STARTUP_PROBE"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProgram(program);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    process.start();
    // Both programs say when their window is up; what they do at their end is not start-up.
    while (process.waitForReadyRead(30000) && !process.canReadLine()) {
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    process.waitForFinished(30000);
    return ms;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_BareWindow(benchmark::State& state)
{
    std::vector<double> times;
    for (auto _ : state) {
        const double ms = RunOnce(QStringLiteral(BARE_WINDOW), false);
        times.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["median_ms"] = Median(times);
}

void BM_ImportStartup(benchmark::State& state)
{
    std::vector<double> times;
    std::vector<double> bare;
    for (auto _ : state) {
        bare.push_back(RunOnce(QStringLiteral(BARE_WINDOW), false));
        const double ms = RunOnce(ProgramCopy(), true);
        times.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    state.counters["median_ms"] = Median(times);
    state.counters["bare_median_ms"] = Median(bare);
    state.counters["ratio"] = Median(times) / Median(bare);
}

BENCHMARK(BM_BareWindow)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportStartup)->UseManualTime()->Iterations(25)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
