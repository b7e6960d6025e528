// Writing and reading 100,000 records of the ten-field layout (alpha 30, alpha 10, long, number, money, date, time,
// logical, short memo, short) in a new dBase table with memos, through the cursor as the program does, next to
// shapelib's DBF writer and reader on the same values (without the memo field, which shapelib cannot store) and
// next to a plain sequential write of the bytes our table ends up with. Also: a two-condition filter over the
// table, switched on and counted, next to one pass of the cursor reading every field of every record.
//
// Every writer ends with its files synced to disk: the cursor's Close syncs the table, so the others do the same
// to be compared fairly. The folder is the system's temporary one (TMPDIR).
//
// Goals: writing and reading no slower than shapelib (ratio <= 1.0), writing at most 3 times the plain write,
// the filter at most twice the pass.

#include "db/Table.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <benchmark/benchmark.h>
#include <shapefil.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <vector>
#include <unistd.h>

namespace {

constexpr int kRecords = 100000;

struct Row {
    QString alpha30;
    QString alpha10;
    int longValue;
    double number;
    double money;
    QDate date;
    QTime time;
    bool logical;
    QString memo;
    int shortValue;
};

const std::vector<Row>& rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> r;
        r.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            r.push_back({QStringLiteral("Kunde M\u00fcller-%1 GmbH").arg(i), QStringLiteral("K%1").arg(i % 99991),
                         i * 7 - 300000, i * 1.25 + 0.0625, double(i % 100000) / 100.0,
                         QDate(1990, 1, 1).addDays(i % 12000), QTime(0, 0).addSecs(i * 17 % 86400), i % 3 == 0,
                         QStringLiteral("Bemerkung zu Satz %1: geliefert und bezahlt.").arg(i), i % 30000});
        }
        return r;
    }();
    return all;
}

const QTemporaryDir& workDir()
{
    static const QTemporaryDir dir;
    return dir;
}

QString pathIn(const char* name)
{
    return QDir(workDir().path()).filePath(QString::fromLatin1(name));
}

void syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// --- our table, through the cursor --------------------------------------------------------------------------------

void writeOurs(const QString& path)
{
    // A new table each time (CreateTable over an existing dBase table trips over its own lock, see the report).
    QFile::remove(path);
    QFile::remove(path.chopped(4) + QStringLiteral(".dbt"));
    db::Table table;
    table.setTableName(path);
    table.setTableType(db::ttDBase);
    db::FieldDefs& defs = table.FieldDefs();
    defs.Clear();
    defs.Add(QStringLiteral("ALPHA30"), db::FieldType::ftString, 30);
    defs.Add(QStringLiteral("ALPHA10"), db::FieldType::ftString, 10);
    defs.Add(QStringLiteral("LONGINT"), db::FieldType::ftInteger);
    defs.Add(QStringLiteral("NUMBER"), db::FieldType::ftFloat);
    defs.Add(QStringLiteral("MONEY"), db::FieldType::ftCurrency);
    defs.Add(QStringLiteral("DAY"), db::FieldType::ftDate);
    defs.Add(QStringLiteral("CLOCK"), db::FieldType::ftTime);
    defs.Add(QStringLiteral("FLAG"), db::FieldType::ftBoolean);
    defs.Add(QStringLiteral("NOTE"), db::FieldType::ftMemo);
    defs.Add(QStringLiteral("SHORTINT"), db::FieldType::ftSmallint);
    table.CreateTable();
    table.Open();
    db::Field* f[10];
    for (int i = 0; i < 10; ++i)
        f[i] = table.Fields(i);
    for (const Row& r : rows()) {
        table.Append();
        f[0]->setAsString(r.alpha30);
        f[1]->setAsString(r.alpha10);
        f[2]->setAsInteger(r.longValue);
        f[3]->setAsFloat(r.number);
        f[4]->setAsFloat(r.money);
        f[5]->setAsVariant(r.date);
        f[6]->setAsVariant(r.time);
        f[7]->setAsBoolean(r.logical);
        f[8]->setAsString(r.memo);
        f[9]->setAsInteger(r.shortValue);
        table.Post();
    }
    table.Close();
}

const QString& ourTable()
{
    static const QString path = [] {
        const QString p = pathIn("read.dbf");
        writeOurs(p);
        return p;
    }();
    return path;
}

void BM_Write_Ours(benchmark::State& state)
{
    const QString path = pathIn("write.dbf");
    rows();
    for (auto _ : state)
        writeOurs(path);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Write_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Read_Ours(benchmark::State& state)
{
    const QString path = ourTable();
    for (auto _ : state) {
        db::Table table;
        table.setTableName(path);
        table.Open();
        const int fields = table.FieldCount();
        std::vector<db::Field*> f;
        for (int i = 0; i < fields; ++i)
            f.push_back(table.Fields(i));
        int count = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            for (db::Field* field : f)
                benchmark::DoNotOptimize(field->AsVariant());
            ++count;
        }
        table.Close();
        if (count != kRecords)
            state.SkipWithError("wrong record count");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Read_Ours)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- shapelib, without the memo field -----------------------------------------------------------------------------

void writeShapelib(const QString& path)
{
    QFile::remove(path);
    DBFHandle h = DBFCreate(QFile::encodeName(path).constData());
    DBFAddField(h, "ALPHA30", FTString, 30, 0);
    DBFAddField(h, "ALPHA10", FTString, 10, 0);
    DBFAddField(h, "LONGINT", FTInteger, 11, 0);
    DBFAddField(h, "NUMBER", FTDouble, 20, 4);
    DBFAddField(h, "MONEY", FTDouble, 20, 2);
    DBFAddField(h, "DAY", FTDate, 8, 0);
    DBFAddField(h, "CLOCK", FTString, 8, 0);
    DBFAddField(h, "FLAG", FTLogical, 1, 0);
    DBFAddField(h, "SHORTINT", FTInteger, 6, 0);
    int record = 0;
    for (const Row& r : rows()) {
        // The same conversions our cursor makes: text into the code page, dates and times into their text.
        DBFWriteStringAttribute(h, record, 0, r.alpha30.toLatin1().constData());
        DBFWriteStringAttribute(h, record, 1, r.alpha10.toLatin1().constData());
        DBFWriteIntegerAttribute(h, record, 2, r.longValue);
        DBFWriteDoubleAttribute(h, record, 3, r.number);
        DBFWriteDoubleAttribute(h, record, 4, r.money);
        DBFWriteStringAttribute(h, record, 5, r.date.toString(QStringLiteral("yyyyMMdd")).toLatin1().constData());
        DBFWriteStringAttribute(h, record, 6, r.time.toString(QStringLiteral("HH:mm:ss")).toLatin1().constData());
        DBFWriteLogicalAttribute(h, record, 7, r.logical ? 'T' : 'F');
        DBFWriteIntegerAttribute(h, record, 8, r.shortValue);
        ++record;
    }
    DBFClose(h);
    syncFile(path);
}

const QString& shapelibTable()
{
    static const QString path = [] {
        const QString p = pathIn("shapelib-read.dbf");
        writeShapelib(p);
        return p;
    }();
    return path;
}

void BM_Write_Shapelib(benchmark::State& state)
{
    const QString path = pathIn("shapelib-write.dbf");
    rows();
    for (auto _ : state)
        writeShapelib(path);
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Write_Shapelib)->Unit(benchmark::kMillisecond)->Iterations(3);

// A date field's text as a date, parsed by hand (QDate::fromString would cost a time-zone look-up per value).
QDate dateOf(const char* text)
{
    auto digits = [&](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    if (std::strlen(text) != 8)
        return {};
    return QDate(digits(0, 4), digits(4, 2), digits(6, 2));
}

void BM_Read_Shapelib(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(shapelibTable());
    for (auto _ : state) {
        DBFHandle h = DBFOpen(path.constData(), "rb");
        const int count = DBFGetRecordCount(h);
        for (int record = 0; record < count; ++record) {
            // Each value as the caller wants it: texts decoded, dates parsed.
            benchmark::DoNotOptimize(QString::fromLatin1(DBFReadStringAttribute(h, record, 0)));
            benchmark::DoNotOptimize(QString::fromLatin1(DBFReadStringAttribute(h, record, 1)));
            benchmark::DoNotOptimize(DBFReadIntegerAttribute(h, record, 2));
            benchmark::DoNotOptimize(DBFReadDoubleAttribute(h, record, 3));
            benchmark::DoNotOptimize(DBFReadDoubleAttribute(h, record, 4));
            benchmark::DoNotOptimize(
                dateOf(DBFReadStringAttribute(h, record, 5)));
            benchmark::DoNotOptimize(QString::fromLatin1(DBFReadStringAttribute(h, record, 6)));
            benchmark::DoNotOptimize(DBFReadLogicalAttribute(h, record, 7));
            benchmark::DoNotOptimize(DBFReadIntegerAttribute(h, record, 8));
        }
        DBFClose(h);
        if (count != kRecords)
            state.SkipWithError("wrong record count");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Read_Shapelib)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- the yardstick: the bytes of our table written in one sequential stream ----------------------------------------

void writePlain(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    constexpr qsizetype kChunk = 1 << 20;
    for (qsizetype at = 0; at < bytes.size(); at += kChunk) {
        const qsizetype n = std::min(kChunk, bytes.size() - at);
        if (::write(fd, bytes.constData() + at, size_t(n)) != n)
            std::perror("write");
    }
    ::fsync(fd);
    ::close(fd);
}

void BM_Write_Plain(benchmark::State& state)
{
    const QString table = ourTable();
    QFile dbf(table);
    QFile dbt(QDir(workDir().path()).filePath(QStringLiteral("read.dbt")));
    if (!dbf.open(QIODevice::ReadOnly) || !dbt.open(QIODevice::ReadOnly)) {
        state.SkipWithError("our table is missing");
        return;
    }
    const QByteArray dbfBytes = dbf.readAll();
    const QByteArray dbtBytes = dbt.readAll();
    for (auto _ : state) {
        writePlain(pathIn("plain.dbf"), dbfBytes);
        writePlain(pathIn("plain.dbt"), dbtBytes);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(state.iterations() * (dbfBytes.size() + dbtBytes.size()));
}
BENCHMARK(BM_Write_Plain)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- filter ------------------------------------------------------------------------------------------------------

const QString kFilter = QStringLiteral("LONGINT >= 100000 AND FLAG = 'True'");

void BM_Filter_SwitchOnAndCount(benchmark::State& state)
{
    db::Table table;
    table.setTableName(ourTable());
    table.Open();
    table.setFilter(kFilter);
    int count = 0;
    for (auto _ : state) {
        table.setFiltered(true);
        count = table.RecordCount();
        table.setFiltered(false);
    }
    state.counters["matching"] = count;
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Filter_SwitchOnAndCount)->Unit(benchmark::kMillisecond)->Iterations(3);

// The yardstick: one pass reading every field of every record through the cursor (a walk that reads nothing
// would decode nothing, the cursor decoding a record only as far as it is read).
void BM_Filter_CursorPass(benchmark::State& state)
{
    db::Table table;
    table.setTableName(ourTable());
    table.Open();
    std::vector<db::Field*> f;
    for (int i = 0; i < table.FieldCount(); ++i)
        f.push_back(table.Fields(i));
    int count = 0;
    for (auto _ : state) {
        count = 0;
        for (table.First(); !table.Eof(); table.Next()) {
            for (db::Field* field : f)
                benchmark::DoNotOptimize(field->AsVariant());
            ++count;
        }
    }
    if (count != kRecords)
        state.SkipWithError("wrong record count");
    state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_Filter_CursorPass)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- ratios -------------------------------------------------------------------------------------------------------

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        std::printf("\nRatios (goal in brackets):\n");
        ratio("write, ours / shapelib", "BM_Write_Ours", "BM_Write_Shapelib", 1.0);
        ratio("read, ours / shapelib", "BM_Read_Ours", "BM_Read_Shapelib", 1.0);
        ratio("write, ours / plain write", "BM_Write_Ours", "BM_Write_Plain", 3.0);
        ratio("filter on and count / cursor pass", "BM_Filter_SwitchOnAndCount", "BM_Filter_CursorPass", 2.0);
    }

private:
    void ratio(const char* what, const std::string& ours, const std::string& theirs, double goal) const
    {
        const auto a = find(ours);
        const auto b = find(theirs);
        if (a <= 0 || b <= 0) {
            std::printf("  %-36s not measured\n", what);
            return;
        }
        std::printf("  %-36s %9.1f ms / %9.1f ms = %5.2f  (<= %.1f) %s\n", what, a, b, a / b, goal,
                    a / b <= goal ? "met" : "MISSED");
    }

    double find(const std::string& prefix) const
    {
        for (const auto& [name, time] : times_)
            if (name.rfind(prefix, 0) == 0)
                return time;
        return -1;
    }

    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
