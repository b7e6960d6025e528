// The contents viewer on a Paradox table of 1,000,000 records next to one of 1,000, offscreen: the time from
// opening the table to the first screen painted in the source grid, the time of Ctrl+End to the last screen
// painted, and the peak memory of a process that does both, next to a process that merely opens the table and
// reads the same two screens through the cursor.
//
// The figures after the table of runs are the goals:
//   - the first screen of the large table within 1.5 times the time of the small one;
//   - the last screen (Ctrl+End) of the large table within 1.5 times the time of the small one;
//   - the viewer's memory grows with the table by no more than the engine's own does, plus 4 MB.

#include "db/DataSource.h"
#include "db/Table.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/frmInhaltAnz.h"
#include "../support/BenchData.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kLarge = 1000000;
constexpr int kSmall = 1000;
// Each time is the best of this many rounds: a busy machine can stretch a single one.
constexpr int kRounds = 5;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Set in a measuring child, which reads the parent's table.
QString givenTable;

QString tablePath(int records)
{
    if (!givenTable.isEmpty())
        return givenTable;
    return QDir(folder().path()).filePath(QStringLiteral("Kunden%1.DB").arg(records));
}

db::FieldDef field(const char* name, db::FieldType type, int size = 0)
{
    db::FieldDef def;
    def.name = QLatin1String(name);
    def.type = type;
    def.size = size;
    return def;
}

// Written in a process of its own, so that the records the writer holds are no part of the processes measured.
void makeTable(int records)
{
    const pid_t child = fork();
    if (child == 0) {
        db::Table table;
        table.setTableName(tablePath(records));
        table.FieldDefs().assign({field("Nr", db::FieldType::ftInteger), field("Name", db::FieldType::ftString, 30),
                                  field("Ort", db::FieldType::ftString, 25), field("Umsatz", db::FieldType::ftFloat),
                                  field("Seit", db::FieldType::ftDate)},
                                 0);
        table.CreateTable();
        table.Open();
        for (int i = 1; i <= records; ++i) {
            table.Append();
            table.Fields(0)->setAsInteger(i);
            table.Fields(1)->setAsString(QStringLiteral("Kunde %1").arg(i));
            table.Fields(2)->setAsString(QStringLiteral("Ort %1").arg(i % 977));
            table.Fields(3)->setAsFloat(i * 1.25);
            table.Fields(4)->setAsDateTime(QDateTime(QDate(2000, 1, 1).addDays(i % 9000), QTime()));
            table.Post();
        }
        table.Close();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

std::map<std::string, double> seconds;
std::map<std::string, double> megabytes;

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Shown {
    double open = 0;  // Table::Open alone, the engine's part of the first screen
    double first = 0;
    double last = 0;
};

// Opens the table, shows it in the viewer as the pages do and paints the first screen; then Ctrl+End and the last.
Shown showInViewer(wizard::TfrmInhaltAnz& viewer, int records)
{
    Shown shown;
    db::Table table;
    db::DataSource source;
    source.setDataSet(&table);
    auto start = std::chrono::steady_clock::now();
    table.setTableName(tablePath(records));
    table.Open();
    shown.open = since(start);
    viewer.setQuelleDataSource(&source);
    viewer.ui->stbInhaltQuelle->setSimpleText(wizard::DatensaetzeText(table.RecordCount()));
    viewer.setActiveSheet(viewer.ui->TabSheet1);
    viewer.show();
    QTableView* grid = viewer.ui->dbgInhaltQuellDB;
    benchmark::DoNotOptimize(grid->grab());
    shown.first = since(start);

    grid->setFocus();
    start = std::chrono::steady_clock::now();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    benchmark::DoNotOptimize(grid->grab());
    shown.last = since(start);
    if (table.RecNo() != records)
        std::fprintf(stderr, "Ctrl+End left the cursor on record %d of %d\n", table.RecNo(), records);
    viewer.hide();
    viewer.setQuelleDataSource(nullptr);
    return shown;
}

void BM_Viewer(benchmark::State& state, int records)
{
    for (auto _ : state) {
        wizard::TfrmInhaltAnz viewer;
        Shown best{1e9, 1e9, 1e9};
        for (int round = 0; round < kRounds; ++round) {
            const Shown shown = showInViewer(viewer, records);
            best.open = std::min(best.open, shown.open);
            best.first = std::min(best.first, shown.first);
            best.last = std::min(best.last, shown.last);
        }
        seconds["open " + std::to_string(records)] = best.open;
        seconds["first " + std::to_string(records)] = best.first;
        seconds["last " + std::to_string(records)] = best.last;
        state.SetIterationTime(best.first);
        state.counters["open ms"] = best.open * 1000;
        state.counters["last screen ms"] = best.last * 1000;
    }
}

// The same two screens read through the cursor alone: what the engine holds for the table.
void engineOnly(int records)
{
    db::Table table;
    table.setTableName(tablePath(records));
    table.Open();
    for (int i = 0; i < 30 && !table.Eof(); ++i, table.Next())
        benchmark::DoNotOptimize(table.Fields(1)->AsString());
    table.Last();
    for (int i = 0; i < 30 && !table.Bof(); ++i, table.Prior())
        benchmark::DoNotOptimize(table.Fields(1)->AsString());
}

// Peak resident memory of a process that does one thing, apart from everything else of this run: this program
// started afresh (a process forked from one with windows and Qt's threads could wait forever for a lock).
void BM_PeakMemory(benchmark::State& state, int records, bool viewer)
{
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::string mode = viewer ? "--measure-viewer" : "--measure-engine";
        const std::string count = std::to_string(records);
        const std::string path = tablePath(records).toStdString();
        const pid_t child = fork();
        if (child == 0) {
            execl("/proc/self/exe", "viewer_bench", mode.c_str(), count.c_str(), path.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        struct rusage usage {};
        wait4(child, &status, 0, &usage);
        const double mb = double(usage.ru_maxrss) / 1024;
        megabytes[(viewer ? "viewer " : "engine ") + std::to_string(records)] = mb;
        state.SetIterationTime(since(start));
        state.counters["peak MB"] = mb;
    }
}

using bench::verdict;

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A measuring child: one table, one thing done.
    if (argc == 4 && (std::string(argv[1]) == "--measure-viewer" || std::string(argv[1]) == "--measure-engine")) {
        givenTable = QString::fromLocal8Bit(argv[3]);
        const int records = std::stoi(argv[2]);
        if (std::string(argv[1]) == "--measure-viewer") {
            wizard::TfrmInhaltAnz window;
            showInViewer(window, records);
        } else {
            engineOnly(records);
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    // The folder is made here, before the writers fork, so that they write where the runs read.
    folder();
    makeTable(kSmall);
    makeTable(kLarge);
    const auto once = [](benchmark::internal::Benchmark* b) {
        b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    once(benchmark::RegisterBenchmark("viewer/first-screen/1000", BM_Viewer, kSmall));
    once(benchmark::RegisterBenchmark("viewer/first-screen/1000000", BM_Viewer, kLarge));
    once(benchmark::RegisterBenchmark("memory/engine/1000", BM_PeakMemory, kSmall, false));
    once(benchmark::RegisterBenchmark("memory/engine/1000000", BM_PeakMemory, kLarge, false));
    once(benchmark::RegisterBenchmark("memory/viewer/1000", BM_PeakMemory, kSmall, true));
    once(benchmark::RegisterBenchmark("memory/viewer/1000000", BM_PeakMemory, kLarge, true));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const auto s = [](const std::string& key) { return seconds.count(key) ? seconds[key] : 0.0; };
    const auto m = [](const std::string& key) { return megabytes.count(key) ? megabytes[key] : 0.0; };
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("\nFirst screen: %.1f ms (1,000 records), %.1f ms (1,000,000 records); last screen: %.1f ms, %.1f ms\n",
                s("first 1000") * 1000, s("first 1000000") * 1000, s("last 1000") * 1000, s("last 1000000") * 1000);
    std::printf("Of the first screen, opening the table: %.1f ms, %.1f ms\n", s("open 1000") * 1000,
                s("open 1000000") * 1000);
    std::printf("Peak memory: engine %.1f MB / %.1f MB, viewer %.1f MB / %.1f MB (1,000 / 1,000,000 records)\n",
                m("engine 1000"), m("engine 1000000"), m("viewer 1000"), m("viewer 1000000"));
    verdict("first screen, 1,000,000 records / 1,000 records", ratio(s("first 1000000"), s("first 1000")), "<=", 1.5);
    // Opening walks the table's block chain, which is the engine's and grows with the file; what the viewer adds
    // on top of it is its own part.
    verdict("first screen without opening the table, 1,000,000 / 1,000",
            ratio(s("first 1000000") - s("open 1000000"), s("first 1000") - s("open 1000")), "<=", 1.5);
    verdict("last screen (Ctrl+End), 1,000,000 records / 1,000 records", ratio(s("last 1000000"), s("last 1000")),
            "<=", 1.5);
    verdict("viewer's growth minus the engine's growth, MB",
            (m("viewer 1000000") - m("viewer 1000")) - (m("engine 1000000") - m("engine 1000")), "<=", 4);
    return 0;
}
