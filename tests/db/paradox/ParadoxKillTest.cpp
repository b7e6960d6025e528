// A writer killed at any moment leaves a table that opens, whose records are all whole, and that holds exactly what
// the writer had made durable at one of its flush points: never a torn record, never a lost flushed change, never
// half of a flush. Writers in processes of their own that share a table, or whose open or flush fails, lose
// nothing that was saved either.

#include "support/FieldDefs.h"
#include "KillModel.h"
#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef IMPORT_HAVE_PXLIB
extern "C" {
#include <paradox.h>
}
#endif

using db::FieldType;
using killtest::Row;

namespace {

using testsupport::def;

db::FieldDefList fieldsOf(bool keyed)
{
    db::FieldDefList fields{def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 40),
                            def("Betrag", FieldType::ftInteger)};
    if (keyed) fields.push_back(def("Notiz", FieldType::ftMemo, 10));
    // Room beyond the 16 characters of the check: pxlib reads one byte past an alpha field its text fills, past
    // the end of its record buffer when the field comes last.
    fields.push_back(def("Pruef", FieldType::ftString, 20));
    return fields;
}

db::Record recordOf(const Row& row, bool keyed)
{
    db::Record r{row.id, row.name, row.amount};
    if (keyed) r.push_back(row.memo.isEmpty() ? QVariant() : QVariant(row.memo));
    r.push_back(killtest::checksum(row));
    return r;
}

// Every record of the table, each checked against its check field.
std::vector<Row> readTable(const QString& path, bool keyed)
{
    std::vector<Row> rows;
    const auto table = db::paradox::open(path, db::OpenMode::Shared);
    for (int i = 0; i < table->recordCount(); ++i) {
        const db::Record r = table->read(i);
        Row row{r[0].toInt(), r[1].toString(), r[2].toInt(), keyed ? r[3].toString() : QString()};
        EXPECT_EQ(r.back().toString(), killtest::checksum(row)) << "torn record at row " << i << " id " << row.id;
        rows.push_back(row);
    }
    return rows;
}

#ifdef IMPORT_HAVE_PXLIB
// The same check through an independent reader.
void checkWithPxlib(const QString& path, size_t expectedCount)
{
    pxdoc_t* doc = PX_new();
    ASSERT_GE(PX_open_file(doc, QFile::encodeName(path).constData()), 0);
    PX_set_targetencoding(doc, "UTF-8");
    EXPECT_EQ(size_t(PX_get_num_records(doc)), expectedCount);
    for (int recno = 0; recno < PX_get_num_records(doc); ++recno) {
        pxval_t** values = PX_retrieve_record(doc, recno);
        ASSERT_NE(values, nullptr) << "pxlib cannot read record " << recno;
        auto text = [&](int i) {
            return values[i]->isnull ? QString() : QString::fromUtf8(values[i]->value.str.val, values[i]->value.str.len);
        };
        const Row row{int(values[0]->value.lval), text(1), int(values[2]->value.lval), QString()};
        EXPECT_EQ(text(3), killtest::checksum(row)) << "pxlib sees a torn record at " << recno;
        for (int i = 0; i < PX_get_num_fields(doc); ++i) {
            if (values[i]->type == pxfAlpha && values[i]->value.str.val) doc->free(doc, values[i]->value.str.val);
            doc->free(doc, values[i]);
        }
        doc->free(doc, values);
    }
    PX_close(doc);
    PX_delete(doc);
}
#endif

struct ChildRun {
    int lastPost = 0;
    int lastFlush = 0;
    bool done = false;
    bool killed = false;
    int exitCode = 0;
};

// Starts the writer, lets it report `lines` lines, waits `delayUs` more and kills it.
ChildRun runAndKill(const QString& path, bool keyed, std::uint64_t seed, int flushEvery, int changes, int lines,
                    int delayUs)
{
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        const QByteArray table = QFile::encodeName(path);
        const std::string args[] = {keyed ? "1" : "0", std::to_string(seed), std::to_string(flushEvery),
                                    std::to_string(changes)};
        execl(PARADOX_KILL_CHILD, PARADOX_KILL_CHILD, table.constData(), args[0].c_str(), args[1].c_str(),
              args[2].c_str(), args[3].c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    QByteArray output;
    char buffer[4096];
    while (output.count('\n') < lines) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        output.append(buffer, n);
    }
    if (delayUs > 0) usleep(useconds_t(delayUs));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
    close(out[0]);

    ChildRun run;
    run.killed = WIFSIGNALED(status);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 2) continue;
        const int n = parts[1].toInt();
        if (parts[0] == "post") run.lastPost = n;
        if (parts[0] == "flush") run.lastFlush = n;
        if (parts[0] == "done") run.done = true;
    }
    return run;
}

// The table after the first `count` changes the writer makes from `start` with this seed.
std::vector<Row> afterChanges(const std::vector<Row>& start, bool keyed, std::uint64_t seed, int count)
{
    killtest::Model model(keyed, start);
    std::mt19937_64 random(seed);
    for (int i = 0; i < count; ++i) model.next(random);
    return model.rows();
}

struct KillCase {
    const char* name;
    bool keyed;
    int initialRecords;
    int flushEvery;
    int changes;
    int kills;
};

void PrintTo(const KillCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParadoxKill : public ::testing::TestWithParam<KillCase> {};

TEST_P(ParadoxKill, EveryKillLeavesAFlushedState)
{
    const KillCase c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KILL.DB"));
    db::paradox::create(path, fieldsOf(c.keyed), c.keyed ? 1 : 0);
    std::vector<Row> state;
    {
        killtest::Model seedModel(c.keyed, {});
        std::mt19937_64 random(c.keyed ? 17 : 29);
        for (int i = 0; i < c.initialRecords; ++i) seedModel.next(random);
        state = seedModel.rows();
        auto table = db::paradox::open(path, db::OpenMode::Exclusive);
        for (const Row& row : state) table->insert(recordOf(row, c.keyed), table->recordCount());
    }
    ASSERT_EQ(readTable(path, c.keyed), state);

    std::mt19937_64 choices(c.keyed ? 1001 : 2002);
    int finished = 0;
    for (int round = 0; round < c.kills; ++round) {
        const std::uint64_t seed = choices();
        const int linesPerRun = c.changes + c.changes / c.flushEvery + 1;
        const int lines = int(choices() % std::uint64_t(linesPerRun + 3));
        const int delayUs = int(choices() % 4000);
        const ChildRun run = runAndKill(path, c.keyed, seed, c.flushEvery, c.changes, lines, delayUs);
        ASSERT_TRUE(run.killed || run.exitCode == 0) << "the writer failed with " << run.exitCode;
        if (run.done) ++finished;

        std::vector<Row> rows;
        ASSERT_NO_THROW(rows = readTable(path, c.keyed)) << "round " << round;
        // The records the writer found are all still there.
        std::set<int> ids;
        for (const Row& r : rows) ids.insert(r.id);
        for (const Row& r : state) ASSERT_TRUE(ids.count(r.id)) << "round " << round << " lost record " << r.id;
        // Exactly the state of the last reported flush, or of the flush it was in when it died.
        std::vector<int> candidates{run.done ? c.changes : run.lastFlush};
        const int nextFlush = run.lastFlush + c.flushEvery;
        if (!run.done && nextFlush <= c.changes && run.lastPost >= nextFlush) candidates.push_back(nextFlush);
        if (!run.done && run.lastPost == c.changes) candidates.push_back(c.changes);
        bool matched = false;
        for (const int k : candidates) matched = matched || afterChanges(state, c.keyed, seed, k) == rows;
        ASSERT_TRUE(matched) << "round " << round << ": " << rows.size() << " records after post " << run.lastPost
                             << ", flush " << run.lastFlush;
#ifdef IMPORT_HAVE_PXLIB
        if (!c.keyed) checkWithPxlib(path, rows.size());
#endif
        state = std::move(rows);
    }
    // Some writers must have been killed, not all of them finished.
    EXPECT_LT(finished, c.kills / 2);
}

INSTANTIATE_TEST_SUITE_P(Tables, ParadoxKill,
                         ::testing::Values(KillCase{"KeyedWithMemos", true, 400, 4, 48, 30},
                                           KillCase{"KeylessWithoutMemos", false, 400, 5, 50, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- writers in processes of their own, told step by step what to do -----------------------------------------

// What a writer process does in one step.
struct Action {
    enum Op { Open, Append, Flush, LimitOpenFiles, RestoreOpenFiles, LimitFileSize } op = Open;
    int from = 0;  // Append: the ids from..to-1, each with a memo of `length` characters (keyed table)
    int to = 0;
    int length = 0;  // LimitFileSize: the largest file size allowed
};

Row rowOf(int id, int memoLength)
{
    Row row{id, QStringLiteral("Satz %1").arg(id), id * 7, QString()};
    for (int i = 0; i < memoLength; ++i) row.memo += QChar(u'a' + (id + i / 100) % 26);
    return row;
}

// A writer in a process of its own. Each step runs when the test hands it over and reports 0 or the code of the
// EngineError it raised; the process ends without closing its table (changes not flushed are dropped, as when it
// dies), once the test is done with it.
class WriterProcess {
public:
    explicit WriterProcess(const QString& path)
    {
        if (pipe(toChild_) != 0 || pipe(fromChild_) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            close(toChild_[1]);
            close(fromChild_[0]);
            serve(path);
        }
        close(toChild_[0]);
        close(fromChild_[1]);
    }
    ~WriterProcess()
    {
        close(toChild_[1]);
        close(fromChild_[0]);
        int status = 0;
        waitpid(pid_, &status, 0);
    }

    int run(const Action& action)
    {
        int code = -1;
        if (write(toChild_[1], &action, sizeof action) != ssize_t(sizeof action) ||
            read(fromChild_[0], &code, sizeof code) != ssize_t(sizeof code))
            return -1;
        return code;
    }

private:
    [[noreturn]] void serve(const QString& path)
    {
        std::shared_ptr<db::TableStorage> table;
        rlimit files{};
        getrlimit(RLIMIT_NOFILE, &files);
        Action action;
        while (read(toChild_[0], &action, sizeof action) == ssize_t(sizeof action)) {
            int code = 0;
            try {
                switch (action.op) {
                case Action::Open: table = db::paradox::open(path, db::OpenMode::Shared); break;
                case Action::Append:
                    for (int id = action.from; id < action.to; ++id)
                        table->insert(recordOf(rowOf(id, action.length), table->keyFieldCount() > 0),
                                      table->recordCount());
                    break;
                case Action::Flush: table->flush(); break;
                case Action::LimitOpenFiles: {
                    // No file can be opened any more, not even in the place of one closed before: the limit lies
                    // below every descriptor beyond the standard streams, and below the lowest free one.
                    const int lowest = dup(0);
                    close(lowest);
                    rlimit none = files;
                    none.rlim_cur = rlim_t(std::min(lowest, 3));
                    setrlimit(RLIMIT_NOFILE, &none);
                    break;
                }
                case Action::RestoreOpenFiles: setrlimit(RLIMIT_NOFILE, &files); break;
                case Action::LimitFileSize: {
                    // Writes past the limit fail with EFBIG, as on a full disk, instead of ending the process.
                    signal(SIGXFSZ, SIG_IGN);
                    const rlimit size{rlim_t(action.length), rlim_t(action.length)};
                    setrlimit(RLIMIT_FSIZE, &size);
                    break;
                }
                }
            } catch (const db::EngineError& e) {
                code = e.code();
            } catch (...) {
                code = -2;
            }
            if (write(fromChild_[1], &code, sizeof code) != ssize_t(sizeof code)) break;
        }
        _exit(0);
    }

    pid_t pid_ = -1;
    int toChild_[2] = {-1, -1};
    int fromChild_[2] = {-1, -1};
};

std::set<int> idsOf(const std::vector<Row>& rows)
{
    std::set<int> ids;
    for (const Row& r : rows) ids.insert(r.id);
    return ids;
}

std::set<int> idRange(int from, int to)
{
    std::set<int> ids;
    for (int id = from; id < to; ++id) ids.insert(id);
    return ids;
}

constexpr int kBig = 100000;  // a memo of blocks of its own; a dozen of them pass the blob file's write buffer

// Two writers of one table with memos: whatever the one does, the memos the other saved stay whole, and the one
// that lost the race is told so (0x2803) rather than writing its blocks where the other's lie.
TEST(ParadoxWriterProcesses, NoWriterWritesOverMemosOfTheOther)
{
    using A = Action;
    constexpr int kLocked = db::ErrorCode::FileLocked;
    struct Step {
        char writer;  // 'a' or 'b'
        Action action;
        int code;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::set<int> saved;
    } cases[] = {
        {"the other saved since the last flush",
         {{'b', {A::Open}, 0},
          {'b', {A::Append, 1000, 1001, kBig}, 0},
          {'b', {A::Flush}, 0},
          {'a', {A::Open}, 0},
          {'a', {A::Append, 1, 11, kBig}, 0},
          {'a', {A::Flush}, 0},
          {'b', {A::Append, 1001, 1013, kBig}, kLocked},
          {'b', {A::Flush}, kLocked}},
         [] {
             std::set<int> ids = idRange(1, 11);
             ids.insert(1000);
             return ids;
         }()},
        {"the other's blocks went out, not saved yet",
         {{'b', {A::Open}, 0},
          {'b', {A::Append, 1000, 1001, kBig}, 0},
          {'a', {A::Open}, 0},
          {'a', {A::Append, 1, 13, kBig}, 0},
          {'b', {A::Append, 1001, 1013, kBig}, kLocked},
          {'a', {A::Flush}, 0},
          {'b', {A::Flush}, kLocked}},
         idRange(1, 13)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("GETEILT.DB"));
        db::paradox::create(path, fieldsOf(true), 1);
        {
            WriterProcess a(path);
            WriterProcess b(path);
            for (const Step& step : c.steps)
                EXPECT_EQ((step.writer == 'a' ? a : b).run(step.action), step.code)
                    << step.writer << " " << step.action.op << " " << step.action.from;
        }
        std::vector<Row> rows;
        ASSERT_NO_THROW(rows = readTable(path, true));
        EXPECT_EQ(idsOf(rows), c.saved);
    }
}

// A companion that fails to open again for writing (here for want of file descriptors, as when another program
// holds too many) stays open as it was: the next memo written goes into the .MB that holds the saved memos, not
// into an empty one put in its place.
TEST(ParadoxWriterProcesses, FailedReopenOfTheBlobFileKeepsItsMemos)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("NOTIZEN.DB"));
    db::paradox::create(path, fieldsOf(true), 1);
    {
        auto table = db::paradox::open(path, db::OpenMode::Exclusive);
        for (int id = 1; id <= 10; ++id) table->insert(recordOf(rowOf(id, id % 2 ? 3000 : 500), true), 0);
    }
    {
        WriterProcess writer(path);
        EXPECT_EQ(writer.run({Action::Open}), 0);
        EXPECT_EQ(writer.run({Action::LimitOpenFiles}), 0);
        EXPECT_EQ(writer.run({Action::Append, 11, 12, 3000}), db::ErrorCode::IoError);
        EXPECT_EQ(writer.run({Action::RestoreOpenFiles}), 0);
        EXPECT_EQ(writer.run({Action::Append, 11, 13, 3000}), 0);
        EXPECT_EQ(writer.run({Action::Flush}), 0);
    }
    std::vector<Row> rows;
    ASSERT_NO_THROW(rows = readTable(path, true));
    EXPECT_EQ(idsOf(rows), idRange(1, 13));
}

// A flush that fails for want of room (a file size limit stands in for a full disk) leaves the table as it was and
// no scratch file in the user's folder.
TEST(ParadoxWriterProcesses, FailedFlushLeavesNoScratchFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PLAIN.DB"));
    db::paradox::create(path, fieldsOf(false), 0);
    {
        auto table = db::paradox::open(path, db::OpenMode::Exclusive);
        for (int id = 1; id <= 400; ++id) table->insert(recordOf(rowOf(id, 0), false), table->recordCount());
    }
    const int size = int(QFileInfo(path).size());
    {
        WriterProcess writer(path);
        EXPECT_EQ(writer.run({Action::Open}), 0);
        EXPECT_EQ(writer.run({Action::Append, 401, 2000, 0}), 0);
        EXPECT_EQ(writer.run({Action::LimitFileSize, 0, 0, size + 4096}), 0);
        EXPECT_EQ(writer.run({Action::Flush}), db::ErrorCode::IoError);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("PLAIN.DB")});
    std::vector<Row> rows;
    ASSERT_NO_THROW(rows = readTable(path, false));
    EXPECT_EQ(idsOf(rows), idRange(1, 401));
}

}  // namespace
