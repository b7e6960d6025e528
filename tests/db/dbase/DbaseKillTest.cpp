// A writer killed at random moments leaves a table that opens, holds no torn record and keeps everything the
// writer had finished. The writer is a forked child that appends, updates and deletes and reports every operation
// before and after it through a pipe; the parent kills it with SIGKILL and checks the table against the reports.

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

void post(int fd, char op, int number, int version, char phase)
{
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%c %c %d %d\n", phase, op, number, version);
    if (::write(fd, line, size_t(n)) != n)
        _exit(3);
}

[[noreturn]] void writerChild(const QString& path, int fd, quint32 seed)
{
    try {
        QRandomGenerator random(seed);
        const TableStoragePtr table = dbase::open(path, OpenMode::Shared);
        std::map<int, int> versions;  // row -> version, as this child sees them
        std::vector<int> numbers;     // visible rows' record numbers
        int next = 0;
        for (int row = 0; row < table->recordCount(); ++row) {
            const Decoded d = decode(table->read(row));
            numbers.push_back(d.number);
            versions[d.number] = d.version;
            next = std::max(next, d.number + 1);
        }
        // Physical records include deleted ones: the next number follows the file.
        while (true) {
            const int choice = int(random.bounded(10));
            if (choice < 6 || numbers.empty()) {
                post(fd, 'A', next, 0, 'B');
                table->insert(recordFor(next, 0), table->recordCount());
                post(fd, 'A', next, 0, 'E');
                numbers.push_back(next);
                versions[next] = 0;
                ++next;
            } else if (choice < 9) {
                const int row = int(random.bounded(int(numbers.size())));
                const int number = numbers[size_t(row)];
                const int version = versions[number] + 1;
                post(fd, 'U', number, version, 'B');
                table->update(row, recordFor(number, version));
                post(fd, 'U', number, version, 'E');
                versions[number] = version;
            } else {
                const int row = int(random.bounded(int(numbers.size())));
                const int number = numbers[size_t(row)];
                post(fd, 'D', number, 0, 'B');
                table->remove(row);
                post(fd, 'D', number, 0, 'E');
                numbers.erase(numbers.begin() + row);
            }
        }
    } catch (const EngineError& e) {
        std::fprintf(stderr, "writer: %s\n", e.what());
        _exit(2);
    } catch (...) {
        _exit(2);
    }
}

struct Expected {
    int version = 0;
    bool deleted = false;
};

TEST(DbaseKill, KilledWriterLeavesValidTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kill.dbf"));
    FieldDef tag{QStringLiteral("TAG"), FieldType::ftString, 20, 0, false};
    FieldDef fill{QStringLiteral("FILL"), FieldType::ftString, 220, 0, false};
    FieldDef value{QStringLiteral("WERT"), FieldType::ftFloat, 15, 0, false};
    FieldDef memo{QStringLiteral("NOTIZ"), FieldType::ftMemo, 0, 0, false};
    dbase::create(path, {tag, fill, value, memo});

    std::map<int, Expected> expected;  // record number -> state after every finished operation
    QRandomGenerator random(4711);
    int appendsFinished = 0;
    int inFlightOps = 0;
    for (int kill = 0; kill < 60; ++kill) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            writerChild(path, pipeFds[1], quint32(kill + 1));
        }
        ::close(pipeFds[1]);
        ::usleep(useconds_t(2000 + random.bounded(10000)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        QByteArray reports;
        char buffer[65536];
        ssize_t n;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            reports.append(buffer, n);
        ::close(pipeFds[0]);

        // Replay the finished operations; remember the one that was cut off, if any.
        char pendingOp = 0;
        int pendingNumber = -1;
        int pendingVersion = 0;
        for (const QByteArray& line : reports.split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() != 4)
                continue;
            const char op = f[1][0];
            const int number = f[2].toInt();
            const int version = f[3].toInt();
            if (f[0] == "B") {
                pendingOp = op;
                pendingNumber = number;
                pendingVersion = version;
                continue;
            }
            pendingOp = 0;
            if (op == 'A') {
                expected[number] = Expected{0, false};
                ++appendsFinished;
            } else if (op == 'U') {
                expected[number].version = version;
            } else {
                expected[number].deleted = true;
            }
        }
        if (pendingOp)
            ++inFlightOps;

        TableStoragePtr table;
        ASSERT_NO_THROW(table = dbase::open(path, OpenMode::Shared)) << "after kill " << kill;
        std::map<int, int> seen;
        int previous = -1;
        for (int row = 0; row < table->recordCount(); ++row) {
            Record record;
            ASSERT_NO_THROW(record = table->read(row)) << "kill " << kill << " row " << row;
            const Decoded d = decode(record);
            ASSERT_TRUE(d.consistent) << "torn record after kill " << kill << " row " << row;
            ASSERT_GT(d.number, previous) << "records out of order";
            previous = d.number;
            seen[d.number] = d.version;
        }
        for (auto& [number, state] : expected) {
            const bool pending = pendingOp && pendingNumber == number;
            const auto found = seen.find(number);
            if (state.deleted) {
                EXPECT_EQ(found, seen.end()) << "deleted record " << number << " is back";
                continue;
            }
            if (found == seen.end()) {
                EXPECT_TRUE(pending && pendingOp == 'D') << "record " << number << " lost after kill " << kill;
                if (pending)
                    state.deleted = true;
                continue;
            }
            if (found->second != state.version) {
                EXPECT_TRUE(pending && pendingOp == 'U' && found->second == pendingVersion)
                    << "record " << number << " has version " << found->second << ", expected " << state.version;
                state.version = found->second;
            }
        }
        for (const auto& [number, version] : seen) {
            if (expected.count(number))
                continue;
            // Only the append that was cut off may have landed.
            EXPECT_TRUE(pendingOp == 'A' && pendingNumber == number && version == 0)
                << "unexpected record " << number << " after kill " << kill;
            expected[number] = Expected{0, false};
        }
    }
    // The kills really hit the writer while it worked.
    EXPECT_GT(appendsFinished, 100);
    EXPECT_GT(inFlightOps, 10);
}

}  // namespace
