// Switching a filter on over a large table and counting its records, against one pass that reads every record
// through the cursor. The goal: the filter costs at most twice the reading pass.
#include "db/Field.h"
#include "db/Table.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;
const QString kFilter = QStringLiteral("Nr >= 25000 and [Ort] <> 'Bonn'");

// One Paradox table of kRecords records for all benchmarks of the run; main() builds it and closes it before the
// program's static objects go.
db::Table* bigTablePointer = nullptr;

db::Table& bigTable()
{
    return *bigTablePointer;
}

void buildBigTable(db::Table& table, const QString& path)
{
    table.setTableType(db::ttParadox);
    table.setTableName(path);
    table.FieldDefs().Add(QStringLiteral("Nr"), db::FieldType::ftInteger);
    table.FieldDefs().Add(QStringLiteral("Name"), db::FieldType::ftString, 30);
    table.FieldDefs().Add(QStringLiteral("Ort"), db::FieldType::ftString, 20);
    table.FieldDefs().Add(QStringLiteral("Betrag"), db::FieldType::ftFloat);
    table.CreateTable();
    table.setExclusive(true);
    table.Open();
    const QString towns[] = {QStringLiteral("Bonn"), QStringLiteral("Köln"), QStringLiteral("Ulm")};
    for (int nr = 0; nr < kRecords; ++nr) {
        table.Append();
        table.Fields(0)->setAsInteger(nr);
        table.Fields(1)->setAsString(QStringLiteral("Kunde %1").arg(nr));
        table.Fields(2)->setAsString(towns[nr % 3]);
        table.Fields(3)->setAsFloat(nr * 1.25);
        table.Post();
    }
    table.First();
}

// Every field of every record: the cursor decodes a record only as far as it is read.
void ReadEveryRecordThroughTheCursor(benchmark::State& state)
{
    db::Table& table = bigTable();
    std::vector<db::Field*> fields;
    for (int i = 0; i < table.FieldCount(); ++i)
        fields.push_back(table.Fields(i));
    for (auto _ : state) {
        int read = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            for (db::Field* field : fields)
                benchmark::DoNotOptimize(field->AsVariant());
            ++read;
        }
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void SwitchTwoConditionFilterOnAndCount(benchmark::State& state)
{
    db::Table& table = bigTable();
    table.setFilter(kFilter);
    int count = 0;
    for (auto _ : state) {
        table.setFiltered(true);
        count = table.RecordCount();
        benchmark::DoNotOptimize(count);
        state.PauseTiming();
        table.setFiltered(false);
        state.ResumeTiming();
    }
    state.counters["shown"] = count;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

BENCHMARK(ReadEveryRecordThroughTheCursor)->Unit(benchmark::kMillisecond);
BENCHMARK(SwitchTwoConditionFilterOnAndCount)->Unit(benchmark::kMillisecond);

// Prints the goal's ratio after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto pass = times_.find("ReadEveryRecordThroughTheCursor");
        const auto filter = times_.find("SwitchTwoConditionFilterOnAndCount");
        if (pass == times_.end() || filter == times_.end() || pass->second <= 0)
            return;
        const double ratio = filter->second / pass->second;
        std::printf("\nfilter on and count / reading pass: %.2f  (<= 2.0) %s\n", ratio,
                    ratio <= 2.0 ? "met" : "MISSED");
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir dir;
    RatioReporter reporter;
    {
        db::Table table;
        buildBigTable(table, dir.filePath(QStringLiteral("Gross.DB")));
        bigTablePointer = &table;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        bigTablePointer = nullptr;
    }
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
