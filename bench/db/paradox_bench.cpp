// Paradox tables through the cursor, as an import writes and reads them: 100,000 records of ten fields appended to
// a keyless and to a keyed table, read back, and looked up by key. Beside them, in the same run: pxlib (an
// independent implementation of the format, linked here only) writing and reading the same records, and a plain
// sequential write of as many bytes as our files take, with the same fsync our flush does, as the yardstick.
//
// Debian's pxlib aborts as soon as a table has a blob file, so its tables, and the runs of ours they are compared
// with, leave out the memo field.
//
// The figures after the table of runs are the goals:
//   - writing at least 10 times faster than pxlib and at most 3 times the plain write;
//   - reading at least 10 times faster than pxlib;
//   - a look-up in a 100,000-record table costs at most 1.5 times one in a 10,000-record table;
//   - peak memory of writing and reading the keyed table with memos under three times its files plus 64 MB.

#include "db/Table.h"
#include "../support/BenchData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
extern "C" {
#include <paradox.h>
}

namespace {

constexpr int kRecords = 100000;
constexpr int kSmallRecords = 10000;
// Our writes and the plain write each count the best of this many rounds: on a busy machine a single run can take
// half as long again, and the ratios compare two such runs.
constexpr int kWriteRounds = 3;

struct Source {
    QString name;
    QString shortText;
    int number;
    double value;
    double amount;
    QDate date;
    QTime time;
    bool flag;
    QString memo;
    int small;
};

// Unique names (the key of the keyed table) handed out in a shuffled order, as an import from another source meets
// them; short memos of which about a third fit into the record itself.
std::vector<Source> makeSources(int count)
{
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(4711));
    std::vector<Source> sources;
    sources.reserve(size_t(count));
    static const char* const streets[] = {"Hauptstrasse", "Bahnhofweg", "Am Markt", "Lindenallee", "Gartenstrasse"};
    for (int i = 0; i < count; ++i) {
        const int k = order[size_t(i)];
        Source s;
        s.name = QStringLiteral("Kunde %1 %2").arg(k, 7, 10, QLatin1Char('0')).arg(QLatin1String(streets[k % 5]));
        s.shortText = QStringLiteral("K%1").arg(k % 99991);
        s.number = k * 7 - 300000;
        s.value = k / 7.0;
        s.amount = (k % 100000) * 0.25;
        s.date = QDate(1950, 1, 1).addDays(k % 25000);
        s.time = QTime::fromMSecsSinceStartOfDay((k * 997) % 86400000);
        s.flag = k % 3 == 0;
        s.memo = QStringLiteral("Notiz %1").arg(k) + QString(k % 3 == 0 ? 0 : 5 + k % 25, QLatin1Char('x'));
        s.small = k % 30000 - 15000;
        sources.push_back(std::move(s));
    }
    return sources;
}

const std::vector<Source>& sources()
{
    static const std::vector<Source> all = makeSources(kRecords);
    return all;
}

const std::vector<Source>& smallSources()
{
    static const std::vector<Source> all = makeSources(kSmallRecords);
    return all;
}

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString tablePath(const char* name)
{
    return workDir().filePath(QString::fromLatin1(name));
}

qint64 fileSetSize(const QString& tablePath)
{
    const QFileInfo info(tablePath);
    qint64 total = 0;
    for (const QFileInfo& f : info.absoluteDir().entryInfoList(QDir::Files))
        if (f.completeBaseName().compare(info.completeBaseName(), Qt::CaseInsensitive) == 0) total += f.size();
    return total;
}

std::map<std::string, double> seconds;
std::map<std::string, qint64> bytes;

double elapsedSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds of the fastest of kWriteRounds runs of write.
template <typename Write>
double bestOfWriteRounds(Write write)
{
    double best = 0;
    for (int round = 0; round < kWriteRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        write();
        const double s = elapsedSince(start);
        best = round == 0 ? s : std::min(best, s);
    }
    return best;
}

// ---- our engine, through the cursor ----------------------------------------------------------------------------

void defineFields(db::Table& table, bool withMemo, int keyFields)
{
    db::FieldDefs& defs = table.FieldDefs();
    defs.Clear();
    defs.Add(QStringLiteral("Name"), db::FieldType::ftString, 30);
    defs.Add(QStringLiteral("Kurz"), db::FieldType::ftString, 10);
    defs.Add(QStringLiteral("Nummer"), db::FieldType::ftInteger);
    defs.Add(QStringLiteral("Wert"), db::FieldType::ftFloat);
    defs.Add(QStringLiteral("Betrag"), db::FieldType::ftCurrency);
    defs.Add(QStringLiteral("Datum"), db::FieldType::ftDate);
    defs.Add(QStringLiteral("Zeit"), db::FieldType::ftTime);
    defs.Add(QStringLiteral("Ja"), db::FieldType::ftBoolean);
    if (withMemo) defs.Add(QStringLiteral("Notiz"), db::FieldType::ftMemo, 10);
    defs.Add(QStringLiteral("Klein"), db::FieldType::ftSmallint);
    defs.setKeyFieldCount(keyFields);
}

void writeOurs(const QString& path, const std::vector<Source>& records, bool withMemo, bool keyed)
{
    db::Table table;
    table.setTableName(path);
    defineFields(table, withMemo, keyed ? 1 : 0);
    table.CreateTable();
    table.setExclusive(true);
    table.Open();
    std::vector<db::Field*> f;
    for (int i = 0; i < table.FieldCount(); ++i) f.push_back(table.Fields(i));
    for (const Source& s : records) {
        table.Append();
        int i = 0;
        f[size_t(i++)]->setAsString(s.name);
        f[size_t(i++)]->setAsString(s.shortText);
        f[size_t(i++)]->setAsInteger(s.number);
        f[size_t(i++)]->setAsFloat(s.value);
        f[size_t(i++)]->setAsFloat(s.amount);
        f[size_t(i++)]->setAsVariant(s.date);
        f[size_t(i++)]->setAsVariant(s.time);
        f[size_t(i++)]->setAsBoolean(s.flag);
        if (withMemo) f[size_t(i++)]->setAsString(s.memo);
        f[size_t(i++)]->setAsInteger(s.small);
        table.Post();
    }
    table.Close();
}

// The tables the reading runs use, written first when a filter left out the run that writes them.
void ensureTable(const char* file)
{
    if (QFileInfo::exists(tablePath(file))) return;
    const bool withMemo = QByteArray(file) != "nomemo.db";
    const bool keyed = QByteArray(file) == "keyed.db" || QByteArray(file) == "memory.db";
    writeOurs(tablePath(file), sources(), withMemo, keyed);
}

qint64 readOurs(const QString& path)
{
    db::Table table;
    table.setTableName(path);
    table.Open();
    qint64 values = 0;
    const int n = table.FieldCount();
    for (table.First(); !table.Eof(); table.Next()) {
        for (int i = 0; i < n; ++i) {
            const QVariant v = table.Fields(i)->AsVariant();
            benchmark::DoNotOptimize(v);
            values += v.isValid();
        }
    }
    table.Close();
    return values;
}

void BM_OurWrite(benchmark::State& state, const char* label, const char* file, bool withMemo, bool keyed)
{
    for (auto _ : state) {
        const double best = bestOfWriteRounds([&] { writeOurs(tablePath(file), sources(), withMemo, keyed); });
        state.SetIterationTime(best);
        seconds[label] = best;
    }
    bytes[label] = fileSetSize(tablePath(file));
    state.counters["bytes"] = double(bytes[label]);
    state.counters["records/s"] = benchmark::Counter(double(kRecords), benchmark::Counter::kIsRate);
}

void BM_OurRead(benchmark::State& state, const char* label, const char* file)
{
    ensureTable(file);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const qint64 values = readOurs(tablePath(file));
        const double s = elapsedSince(start);
        state.SetIterationTime(s);
        seconds[label] = s;
        if (values < kRecords) state.SkipWithError("the table did not read back");
    }
    state.counters["records/s"] = benchmark::Counter(double(kRecords), benchmark::Counter::kIsRate);
}

void BM_OurFindKey(benchmark::State& state, const char* label, const char* file, bool small)
{
    const std::vector<Source>& records = small ? smallSources() : sources();
    if (small)
        writeOurs(tablePath(file), records, true, true);
    else
        ensureTable(file);
    db::Table table;
    table.setTableName(tablePath(file));
    table.Open();
    std::mt19937 random(99);
    // As many look-ups in either table, so that the two runs differ in the table alone: the same number of keys
    // read in the same way, the same length of run.
    const int lookups = kRecords;
    // The keys in look-up order, so that the timed loop reads its input in sequence and only the look-ups jump:
    // each a text of its own, made in that order (a copy would share the text of its record, scattered over the
    // source records, and the loop would jump through them as well).
    std::vector<QVariant> keys;
    keys.reserve(size_t(lookups) * 3);
    for (int i = 0; i < lookups * 3; ++i) {
        const QString& name = records[random() % records.size()].name;
        keys.emplace_back(QString(name.constData(), name.size()));
    }
    for (auto _ : state) {
        // The best of three rounds, so that a busy machine disturbs the comparison of the two sizes less.
        double best = 0;
        double all = 0;
        for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            int found = 0;
            for (int i = 0; i < lookups; ++i) found += table.FindKey(keys[size_t(round * lookups + i)]) ? 1 : 0;
            const double s = elapsedSince(start);
            best = round == 0 ? s : std::min(best, s);
            all += s;
            if (found != lookups) state.SkipWithError("a key was not found");
        }
        state.SetIterationTime(all);
        seconds[label] = best / lookups;
    }
    state.counters["per look-up (us)"] = seconds[label] * 1e6;
}

// ---- pxlib -----------------------------------------------------------------------------------------------------

void BM_PxlibWrite(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(tablePath("pxlib.db"));
    struct Def {
        const char* name;
        char type;
        int size;
    };
    const Def defs[] = {{"Name", pxfAlpha, 30}, {"Kurz", pxfAlpha, 10}, {"Nummer", pxfLong, 4},
                        {"Wert", pxfNumber, 8}, {"Betrag", pxfCurrency, 8}, {"Datum", pxfDate, 4},
                        {"Zeit", pxfTime, 4},   {"Ja", pxfLogical, 1},      {"Klein", pxfShort, 2}};
    const int n = int(std::size(defs));
    for (auto _ : state) {
        QFile::remove(QString::fromLocal8Bit(path));
        const auto start = std::chrono::steady_clock::now();
        pxdoc_t* doc = PX_new();
        auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * size_t(n), "fields"));
        for (int i = 0; i < n; ++i) {
            fields[i].px_fname = static_cast<char*>(doc->malloc(doc, 16, "name"));
            qstrcpy(fields[i].px_fname, defs[i].name);
            fields[i].px_ftype = defs[i].type;
            fields[i].px_flen = defs[i].size;
            fields[i].px_fdc = 0;
        }
        if (PX_create_file(doc, fields, n, path.constData(), pxfFileTypNonIndexDB) < 0) {
            state.SkipWithError("pxlib cannot create the table");
            break;
        }
        PX_set_parameter(doc, "codepage", "1252");
        QByteArray record(PX_get_recordsize(doc), '\0');
        for (const Source& s : sources()) {
            record.fill('\0');
            char* p = record.data();
            QByteArray name = s.name.toLatin1();
            QByteArray shortText = s.shortText.toLatin1();
            PX_put_data_alpha(doc, p, 30, name.data());
            p += 30;
            PX_put_data_alpha(doc, p, 10, shortText.data());
            p += 10;
            PX_put_data_long(doc, p, 4, s.number);
            p += 4;
            PX_put_data_double(doc, p, 8, s.value);
            p += 8;
            PX_put_data_double(doc, p, 8, s.amount);
            p += 8;
            PX_put_data_long(doc, p, 4, int(s.date.toJulianDay() - 1721425));
            p += 4;
            PX_put_data_long(doc, p, 4, s.time.msecsSinceStartOfDay());
            p += 4;
            PX_put_data_byte(doc, p, 1, char(s.flag ? 1 : 0));
            p += 1;
            PX_put_data_short(doc, p, 2, short(s.small));
            PX_put_record(doc, record.data());
        }
        PX_close(doc);
        PX_delete(doc);
        const double t = elapsedSince(start);
        state.SetIterationTime(t);
        seconds["pxlib write"] = t;
    }
    bytes["pxlib write"] = QFileInfo(QString::fromLocal8Bit(path)).size();
    state.counters["records/s"] = benchmark::Counter(double(kRecords), benchmark::Counter::kIsRate);
}

void BM_PxlibRead(benchmark::State& state, const char* label, const char* file)
{
    ensureTable(file);
    const QByteArray path = QFile::encodeName(tablePath(file));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pxdoc_t* doc = PX_new();
        if (PX_open_file(doc, path.constData()) < 0) {
            state.SkipWithError("pxlib cannot open the table");
            break;
        }
        PX_set_targetencoding(doc, "UTF-8");
        const int count = PX_get_num_records(doc);
        const int n = PX_get_num_fields(doc);
        qint64 values = 0;
        for (int r = 0; r < count; ++r) {
            pxval_t** v = PX_retrieve_record(doc, r);
            if (!v) continue;
            for (int i = 0; i < n; ++i) {
                values += !v[i]->isnull;
                if (v[i]->type == pxfAlpha && v[i]->value.str.val) doc->free(doc, v[i]->value.str.val);
                doc->free(doc, v[i]);
            }
            doc->free(doc, v);
        }
        PX_close(doc);
        PX_delete(doc);
        const double t = elapsedSince(start);
        state.SetIterationTime(t);
        seconds[label] = t;
        if (count != kRecords) state.SkipWithError("pxlib read a different number of records");
        benchmark::DoNotOptimize(values);
    }
    state.counters["records/s"] = benchmark::Counter(double(kRecords), benchmark::Counter::kIsRate);
}

// ---- the yardstick ---------------------------------------------------------------------------------------------

void BM_PlainWrite(benchmark::State& state, const char* label, const char* like)
{
    const qint64 total = bytes[like];
    const QByteArray path = QFile::encodeName(tablePath("plain.bin"));
    const QByteArray chunk(1 << 16, 'p');
    for (auto _ : state) {
        const double best = bestOfWriteRounds([&] {
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            for (qint64 done = 0; done < total;) {
                const qint64 n = std::min<qint64>(chunk.size(), total - done);
                if (::write(fd, chunk.constData(), size_t(n)) != n) break;
                done += n;
            }
            ::fsync(fd);
            ::close(fd);
        });
        state.SetIterationTime(best);
        seconds[label] = best;
    }
    state.counters["bytes"] = double(total);
}

// ---- memory ----------------------------------------------------------------------------------------------------

// Peak resident memory of writing and reading the keyed table with memos, in a process of its own so that nothing
// else of this run counts.
void BM_PeakMemory(benchmark::State& state)
{
    for (auto _ : state) {
        // The child starts with what this process holds; memory the runs before freed is given back first, so
        // that it does not count as the child's.
        malloc_trim(0);
        const pid_t child = fork();
        if (child == 0) {
            writeOurs(tablePath("memory.db"), sources(), true, true);
            readOurs(tablePath("memory.db"));
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        struct rusage usage {};
        getrusage(RUSAGE_CHILDREN, &usage);
        bytes["peak memory"] = qint64(usage.ru_maxrss) * 1024;
        bytes["memory files"] = fileSetSize(tablePath("memory.db"));
        state.SetIterationTime(double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6);
    }
    state.counters["peak MB"] = double(bytes["peak memory"]) / (1 << 20);
    state.counters["files MB"] = double(bytes["memory files"]) / (1 << 20);
}

using bench::verdict;

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    sources();
    smallSources();
    const auto once = [](benchmark::internal::Benchmark* b) {
        b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    };
    // The order matters: reads and the yardstick use the files and sizes the writes leave, and the yardstick runs
    // before pxlib's write, whose many small writes the disk may still be busy with afterwards.
    once(benchmark::RegisterBenchmark("ours/write/keyless", BM_OurWrite, "ours write keyless", "keyless.db", true, false));
    once(benchmark::RegisterBenchmark("ours/write/keyed", BM_OurWrite, "ours write keyed", "keyed.db", true, true));
    once(benchmark::RegisterBenchmark("ours/write/keyless-no-memo", BM_OurWrite, "ours write no memo", "nomemo.db",
                                      false, false));
    once(benchmark::RegisterBenchmark("plain/write/as-keyless", BM_PlainWrite, "plain keyless", "ours write keyless"));
    once(benchmark::RegisterBenchmark("plain/write/as-keyed", BM_PlainWrite, "plain keyed", "ours write keyed"));
    once(benchmark::RegisterBenchmark("pxlib/write/keyless-no-memo", BM_PxlibWrite));
    once(benchmark::RegisterBenchmark("ours/read/keyed", BM_OurRead, "ours read keyed", "keyed.db"));
    once(benchmark::RegisterBenchmark("ours/read/keyless-no-memo", BM_OurRead, "ours read no memo", "nomemo.db"));
    once(benchmark::RegisterBenchmark("pxlib/read/keyless-no-memo", BM_PxlibRead, "pxlib read", "nomemo.db"));
    once(benchmark::RegisterBenchmark("ours/findkey/100000", BM_OurFindKey, "findkey 100000", "keyed.db", false));
    once(benchmark::RegisterBenchmark("ours/findkey/10000", BM_OurFindKey, "findkey 10000", "small.db", true));
    once(benchmark::RegisterBenchmark("ours/peak-memory", BM_PeakMemory));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const auto s = [](const char* key) { return seconds.count(key) ? seconds[key] : 0.0; };
    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("\nRatios (pxlib cannot attach a blob file, so it is compared with our runs without the memo field;\n"
                "the plain write syncs its file as our flush does):\n");
    verdict("pxlib write time / ours (keyless, no memo)", ratio(s("pxlib write"), s("ours write no memo")), ">=", 10);
    verdict("ours write time / plain write of as many bytes (keyless)", ratio(s("ours write keyless"), s("plain keyless")),
            "<=", 3);
    verdict("ours write time / plain write of as many bytes (keyed)", ratio(s("ours write keyed"), s("plain keyed")),
            "<=", 3);
    verdict("pxlib read time / ours (keyless, no memo)", ratio(s("pxlib read"), s("ours read no memo")), ">=", 10);
    verdict("look-up time, 100,000 records / 10,000 records", ratio(s("findkey 100000"), s("findkey 10000")), "<=", 1.5);
    const double files = double(bytes["memory files"]);
    verdict("peak memory / (3 x files + 64 MB)", ratio(double(bytes["peak memory"]), 3 * files + 64.0 * (1 << 20)),
            "<=", 1.0);
    std::printf("  files: keyless %.1f MB, keyed %.1f MB, pxlib %.1f MB; peak memory %.1f MB\n",
                double(bytes["ours write keyless"]) / (1 << 20), double(bytes["ours write keyed"]) / (1 << 20),
                double(bytes["pxlib write"]) / (1 << 20), double(bytes["peak memory"]) / (1 << 20));
    return 0;
}
