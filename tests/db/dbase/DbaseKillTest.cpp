// A writer killed at random moments leaves a table that opens, holds no torn record and holds exactly what one of
// its flushes left: the last one it reported finished, or the one it was in when it died. The writer is a forked
// child that appends, updates and deletes records and flushes now and then; it reports every change once made (in
// memory) and every flush before and after it through a pipe. The parent kills it with SIGKILL and compares the
// table with the states the reports allow.

#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace db;

namespace {

// Every value of a record derives from its number and version, so a record mixing two writes shows.
Record recordFor(int number, int version)
{
    const QString tag = QStringLiteral("r%1v%2").arg(number).arg(version);
    return {tag, tag.repeated(200 / int(tag.size())), double(number) * 1000 + version,
            tag.repeated(1 + (number * 7 + version) % 90)};
}

struct Decoded {
    int number = -1;
    int version = -1;
    bool consistent = false;
};

Decoded decode(const Record& r)
{
    Decoded d;
    const QString tag = r[0].toString();
    const auto parts = tag.mid(1).split(u'v');
    if (parts.size() != 2)
        return d;
    d.number = parts[0].toInt();
    d.version = parts[1].toInt();
    const Record expected = recordFor(d.number, d.version);
    d.consistent = r[1] == expected[1] && r[2].toDouble() == expected[2].toDouble() && r[3] == expected[3];
    return d;
}

void report(int fd, const char* format, int a, int b)
{
    char line[64];
    const int n = std::snprintf(line, sizeof line, format, a, b);
    if (::write(fd, line, size_t(n)) != n)
        _exit(3);
}

[[noreturn]] void writerChild(const QString& path, int fd, quint32 seed)
{
    try {
        QRandomGenerator random(seed);
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        std::map<int, int> versions;  // record number -> version, as this child sees them
        std::vector<int> numbers;     // record number of each row
        int next = 0;
        for (int row = 0; row < table->recordCount(); ++row) {
            const Decoded d = decode(table->read(row));
            numbers.push_back(d.number);
            versions[d.number] = d.version;
            next = std::max(next, d.number + 1);
        }
        for (int flushes = 0;; ++flushes) {
            const int changes = 1 + int(random.bounded(12));
            for (int i = 0; i < changes; ++i) {
                const int choice = int(random.bounded(10));
                if (choice < 6 || numbers.empty()) {
                    table->insert(recordFor(next, 0), table->recordCount());
                    report(fd, "A %d %d\n", next, 0);
                    numbers.push_back(next);
                    versions[next] = 0;
                    ++next;
                } else if (choice < 9) {
                    const int row = int(random.bounded(int(numbers.size())));
                    const int number = numbers[size_t(row)];
                    const int version = versions[number] + 1;
                    table->update(row, recordFor(number, version));
                    report(fd, "U %d %d\n", number, version);
                    versions[number] = version;
                } else {
                    const int row = int(random.bounded(int(numbers.size())));
                    const int number = numbers[size_t(row)];
                    table->remove(row);
                    report(fd, "D %d %d\n", number, 0);
                    numbers.erase(numbers.begin() + row);
                }
            }
            // A writer that takes its time between flushes: its changes wait in memory meanwhile.
            ::usleep(useconds_t(random.bounded(2000)));
            report(fd, "B %d %d\n", flushes, 0);
            table->flush();
            report(fd, "F %d %d\n", flushes, 0);
        }
    } catch (const EngineError& e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
        _exit(2);
    } catch (...) {
        _exit(2);
    }
}

using State = std::map<int, int>;  // record number -> version of every record in the table

void apply(State& state, char op, int number, int version)
{
    if (op == 'D')
        state.erase(number);
    else
        state[number] = version;
}

TEST(DbaseKill, KilledWriterLeavesTheStateOfAFlush)
{
    constexpr int kKills = 120;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kill.dbf"));
    FieldDef tag{QStringLiteral("TAG"), FieldType::ftString, 20, 0, false};
    FieldDef fill{QStringLiteral("FILL"), FieldType::ftString, 220, 0, false};
    FieldDef value{QStringLiteral("WERT"), FieldType::ftFloat, 15, 0, false};
    FieldDef memo{QStringLiteral("NOTIZ"), FieldType::ftMemo, 0, 0, false};
    dbase::create(path, {tag, fill, value, memo});

    State state;  // what the table held when the child started
    QRandomGenerator random(4711);
    int flushesFinished = 0;
    int diedInFlush = 0;
    int diedInFlushAfterCount = 0;  // the flush it died in had made it into the table
    for (int kill = 0; kill < kKills; ++kill) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            writerChild(path, pipeFds[1], quint32(kill + 1));
        }
        ::close(pipeFds[1]);
        // The kill follows the writer's progress rather than the clock, so that a busy machine, which slows the
        // writer down, does not leave it killed before it got anywhere.
        QByteArray reports;
        char buffer[65536];
        ssize_t n;
        const int linesBeforeKill = 1 + int(random.bounded(60));
        while (reports.count('\n') < linesBeforeKill && (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            reports.append(buffer, n);
        ::usleep(useconds_t(random.bounded(3000)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            reports.append(buffer, n);
        ::close(pipeFds[0]);

        // flushed: the state after the last flush reported finished; everything: after every reported change,
        // which is what the table holds when the child died inside the flush that followed them.
        State flushed = state;
        State everything = state;
        bool inFlush = false;
        for (const QByteArray& line : reports.split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() != 3)
                continue;
            const char op = f[0][0];
            if (op == 'B') {
                inFlush = true;
            } else if (op == 'F') {
                inFlush = false;
                flushed = everything;
                ++flushesFinished;
            } else {
                apply(everything, op, f[1].toInt(), f[2].toInt());
            }
        }

        TableStoragePtr table;
        ASSERT_NO_THROW(table = dbase::open(path, OpenMode::Shared)) << "after kill " << kill;
        State seen;
        int previous = -1;
        for (int row = 0; row < table->recordCount(); ++row) {
            Record record;
            ASSERT_NO_THROW(record = table->read(row)) << "kill " << kill << " row " << row;
            const Decoded d = decode(record);
            ASSERT_TRUE(d.consistent) << "torn record after kill " << kill << " row " << row;
            ASSERT_GT(d.number, previous) << "records out of order after kill " << kill;
            previous = d.number;
            seen[d.number] = d.version;
        }
        table.reset();
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal"))) << "journal left after kill " << kill;
        if (inFlush) {
            ++diedInFlush;
            if (seen == everything && everything != flushed)
                ++diedInFlushAfterCount;
            ASSERT_TRUE(seen == flushed || seen == everything)
                << "kill " << kill << " (in a flush): " << seen.size() << " records, expected " << flushed.size()
                << " or " << everything.size();
        } else {
            ASSERT_TRUE(seen == flushed) << "kill " << kill << ": " << seen.size() << " records, expected "
                                         << flushed.size();
        }
        state = seen;
    }
    std::printf("%d flushes finished, %d kills in a flush, %d of them after the count was raised; %zu records\n",
                flushesFinished, diedInFlush, diedInFlushAfterCount, state.size());
    // The kills really hit the writer while it worked, inside flushes and between them.
    EXPECT_GT(flushesFinished, 100);
    EXPECT_GE(diedInFlush, 5);
    EXPECT_GE(kKills - diedInFlush, 5);
}

}  // namespace
