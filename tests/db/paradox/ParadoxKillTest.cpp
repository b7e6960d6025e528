// A writer killed at any moment leaves a table that opens, whose records are all whole, and that holds exactly what
// the writer had made durable at one of its flush points: never a torn record, never a lost flushed change, never
// half of a flush.

#include "support/FieldDefs.h"
#include "KillModel.h"
#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
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

}  // namespace
