// Reading text sources: the whole road of the text pages without a window (staging table, sizing, the move into the
// source table in Temp) next to the yardstick of merely reading the same file and cutting it into values.
//
// Figures printed per run: time per line (items_per_second), the whole road as a multiple of the yardstick of the
// same size (x_yardstick), the part of it spent filling the staging table (staging_share; the rest is sizing and
// the move into the source table) and the process's peak resident memory so far (peak_MB).
#include "db/BatchMove.h"
#include "db/Table.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/Textimport.h"
#include "engine/TextimportFixLen.h"
#include "engine/EngineContext.h"
#include "rtl/CodePages.h"
#include "../support/BenchData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <sys/resource.h>

namespace {

constexpr int Columns = 10;
const QChar Quote(u'"');

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Ten columns, about 120 bytes a line: quoted names holding the separator and umlauts, numbers, dates, plain text.
QString separatedFile(int lines)
{
    const QString path = QDir(workDir().path()).filePath(QStringLiteral("kunden%1.txt").arg(lines));
    if (QFile::exists(path))
        return path;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    bench::writeSeparatedLines(file, QString(), lines);
    return path;
}

// Ten fixed-width fields of 12 characters, padded with blanks.
QString fixedFile(int lines)
{
    const QString path = QDir(workDir().path()).filePath(QStringLiteral("fix%1.txt").arg(lines));
    if (QFile::exists(path))
        return path;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QString text;
    for (int i = 0; i < lines; ++i) {
        const QString fields[Columns] = {QString::number(i), QStringLiteral("Müller %1").arg(i % 977),
                                         QStringLiteral("Straße %1").arg(i % 131), QString::number(50000 + i % 40000),
                                         QStringLiteral("Köln-Süd"), QString::number(i % 10000),
                                         QStringLiteral("%1.%2.2023").arg(1 + i % 28).arg(1 + i % 12),
                                         QStringLiteral("Grüße"), QStringLiteral("DE%1").arg(i % 100000), "ok"};
        for (const QString& f : fields)
            text += f.leftJustified(12, u' ');
        text += QLatin1String("\r\n");
        if (text.size() > (1 << 20)) {
            file.write(rtl::encode(text, rtl::CodePage::Windows1252));
            text.clear();
        }
    }
    file.write(rtl::encode(text, rtl::CodePage::Windows1252));
    return path;
}

engine::ColumnBoundaryList fixedBoundaries()
{
    engine::ColumnBoundaryList list;
    for (int b = 12; b < Columns * 12; b += 12)
        engine::TrennposHinzufuegen(list, b);
    return list;
}

QStringList headers()
{
    QStringList names;
    for (int c = 1; c <= Columns; ++c)
        names << QStringLiteral("FELD_%1").arg(c);
    return names;
}

std::map<std::pair<int, int>, double>& yardsticks()
{
    static std::map<std::pair<int, int>, double> times;  // (road, lines) -> seconds per run
    return times;
}

void finish(benchmark::State& state, double seconds, int road, bool isYardstick)
{
    const int lines = static_cast<int>(state.range(0));
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["peak_MB"] = peakMegabytes();
    const double perRun = seconds / static_cast<double>(state.iterations());
    if (isYardstick) {
        yardsticks()[{road, lines}] = perRun;
    } else if (const auto it = yardsticks().find({road, lines}); it != yardsticks().end()) {
        state.counters["x_yardstick"] = perRun / it->second;
    }
}

void BM_SeparatedYardstick(benchmark::State& state)
{
    const QString path = separatedFile(static_cast<int>(state.range(0)));
    const engine::ScanRules rules(QStringLiteral(";"), Quote);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        engine::TextLineReader reader(path);
        QString line;
        QStringList values;
        qsizetype characters = 0;
        while (reader.readLine(line)) {
            values.clear();
            engine::scanRecord(line, reader, rules, [&](int, QString& value, bool) {
                values << value;
                return true;
            });
            characters += values.size();
        }
        benchmark::DoNotOptimize(characters);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    finish(state, seconds, 0, true);
}

void BM_SeparatedWholeRoad(benchmark::State& state)
{
    const QString path = separatedFile(static_cast<int>(state.range(0)));
    const engine::EngineContext context(workDir().path());
    double seconds = 0;
    double stagingSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        db::Table staging, source;
        engine::StagedRecords records;
        db::BatchMove mover;
        engine::TextReadProgress silent;
        engine::CreateStagingTable(staging, records, engine::StagingTablePath(context), headers());
        engine::ReadSeparatedFile(path, staging, records, {QStringLiteral(";"), Quote, false, false}, silent);
        const auto staged = std::chrono::steady_clock::now();
        stagingSeconds += std::chrono::duration<double>(staged - start).count();
        engine::DefineFieldSizes(staging, records, source, engine::SourceTablePath(context, path), mover, silent);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["staging_share"] = stagingSeconds / seconds;
    finish(state, seconds, 0, false);
}

void BM_FixedYardstick(benchmark::State& state)
{
    const QString path = fixedFile(static_cast<int>(state.range(0)));
    engine::ColumnBoundaryList list = fixedBoundaries();
    const int first = engine::PrepareSplit(list);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        engine::TextLineReader reader(path);
        QString line;
        qsizetype fields = 0;
        while (reader.readLine(line))
            fields += engine::CutLine(line, list.FixTrennPositionen, first, false).size();
        benchmark::DoNotOptimize(fields);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    finish(state, seconds, 1, true);
}

void BM_FixedWholeRoad(benchmark::State& state)
{
    const QString path = fixedFile(static_cast<int>(state.range(0)));
    const engine::EngineContext context(workDir().path());
    engine::ColumnBoundaryList list = fixedBoundaries();
    const int first = engine::PrepareSplit(list);
    double seconds = 0;
    double stagingSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        db::Table staging, source;
        engine::StagedRecords records;
        db::BatchMove mover;
        engine::TextReadProgress silent;
        engine::CreateStagingTable(staging, records, engine::StagingTablePath(context), headers());
        engine::ReadFixedWidthFile(path, staging, records, list.FixTrennPositionen, first, false, false, silent);
        const auto staged = std::chrono::steady_clock::now();
        stagingSeconds += std::chrono::duration<double>(staged - start).count();
        engine::DefineFieldSizes(staging, records, source, engine::SourceTablePath(context, path), mover, silent);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["staging_share"] = stagingSeconds / seconds;
    finish(state, seconds, 1, false);
}

}  // namespace

BENCHMARK(BM_SeparatedYardstick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SeparatedWholeRoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FixedYardstick)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FixedWholeRoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
