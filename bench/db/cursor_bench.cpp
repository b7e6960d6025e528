// The cursor's own costs, apart from the file formats' comparisons: the import run's way of writing a keyed target
// (Edit, set one field, Post on the same record, over and over) and a walk over a table with and without reading
// its fields.

#include "db/Table.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr int kRecords = 100000;
constexpr int kEdits = 1000000;

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// A keyed table of ten fields with kRecords records, written once per path.
QString keyedTable(const char* file)
{
    const QString path = workDir().filePath(QString::fromLatin1(file));
    static QStringList written;
    if (written.contains(path))
        return path;
    db::Table table;
    table.setTableName(path);
    db::FieldDefs& defs = table.FieldDefs();
    defs.Add(QStringLiteral("Nr"), db::FieldType::ftInteger);
    defs.Add(QStringLiteral("Name"), db::FieldType::ftString, 30);
    defs.Add(QStringLiteral("Kurz"), db::FieldType::ftString, 10);
    defs.Add(QStringLiteral("Wert"), db::FieldType::ftFloat);
    defs.Add(QStringLiteral("Betrag"), db::FieldType::ftCurrency);
    defs.Add(QStringLiteral("Datum"), db::FieldType::ftDate);
    defs.Add(QStringLiteral("Zeit"), db::FieldType::ftTime);
    defs.Add(QStringLiteral("Ja"), db::FieldType::ftBoolean);
    defs.Add(QStringLiteral("Klein"), db::FieldType::ftSmallint);
    defs.Add(QStringLiteral("Menge"), db::FieldType::ftInteger);
    if (QByteArray(file).endsWith(".dbf"))
        defs.setKeyFieldCount(0);
    else
        defs.setKeyFieldCount(1);
    table.CreateTable();
    table.setExclusive(true);
    table.Open();
    for (int i = 0; i < kRecords; ++i) {
        table.Append();
        table.Fields(0)->setAsInteger(i + 1);
        table.Fields(1)->setAsString(QStringLiteral("Kunde %1").arg(i, 7, 10, QLatin1Char('0')));
        table.Fields(2)->setAsString(QStringLiteral("K%1").arg(i % 977));
        table.Fields(3)->setAsFloat(i / 7.0);
        table.Fields(4)->setAsFloat(i * 0.25);
        table.Fields(5)->setAsVariant(QDate(1990, 1, 1).addDays(i % 9000));
        table.Fields(6)->setAsVariant(QTime::fromMSecsSinceStartOfDay(i * 1000 % 86400000));
        table.Fields(7)->setAsBoolean(i % 2 == 0);
        table.Fields(8)->setAsInteger(i % 1000);
        table.Post();
    }
    table.Close();
    written << path;
    return path;
}

// Edit, set one field, Post on one record, as the import run does per mapping row.
void BM_EditSetPost(benchmark::State& state, const char* file)
{
    db::Table table;
    table.setTableName(keyedTable(file));
    table.setExclusive(true);
    table.Open();
    table.setRecNo(kRecords / 2);
    db::Field* amount = table.FieldByName(QStringLiteral("Menge"));
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kEdits; ++i) {
            table.Edit();
            amount->setAsInteger(i);
            table.Post();
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (table.FieldByName(QStringLiteral("Menge"))->AsInteger() != kEdits - 1)
        state.SkipWithError("the last value did not land");
    table.Close();
    state.counters["ns per Edit/set/Post"] = seconds * 1e9 / (double(kEdits) * double(state.iterations()));
}

// A walk over every record; reading every field or none.
void BM_Walk(benchmark::State& state, const char* file, bool readFields)
{
    const QString path = keyedTable(file);
    for (auto _ : state) {
        db::Table table;
        table.setTableName(path);
        table.Open();
        const int n = table.FieldCount();
        qint64 values = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            if (!readFields)
                continue;
            for (int i = 0; i < n; ++i)
                values += table.Fields(i)->AsVariant().isValid();
        }
        table.Close();
        benchmark::DoNotOptimize(values);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("paradox/edit-set-post", BM_EditSetPost, "edit.db")
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("dbase/edit-set-post", BM_EditSetPost, "edit.dbf")
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("paradox/walk/no-fields", BM_Walk, "walk.db", false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("paradox/walk/all-fields", BM_Walk, "walk.db", true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("dbase/walk/no-fields", BM_Walk, "walk.dbf", false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("dbase/walk/all-fields", BM_Walk, "walk.dbf", true)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
