// A writer for the kill test: changes a table through the cursor, the way the program does, and reports on
// standard output after every stored record ("post N") and after every point where the table was made durable
// ("flush N", closing and reopening the table). The test kills it at random moments.
//
// Arguments: table path, keyed (0/1), seed, changes between flushes, number of changes.

#include "KillModel.h"
#include "db/EngineError.h"
#include "db/Table.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void say(const char* what, int n)
{
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%s %d\n", what, n);
    // Unbuffered: what was said is in the pipe even when the process dies the next moment.
    if (::write(STDOUT_FILENO, line, size_t(length)) != length) std::_Exit(4);
}

[[noreturn]] void fail(const QString& why)
{
    std::fprintf(stderr, "%s\n", qPrintable(why));
    std::_Exit(3);
}

void setRow(db::Table& table, const killtest::Row& row, bool keyed)
{
    table.FieldByName(QStringLiteral("Nr"))->setAsInteger(row.id);
    table.FieldByName(QStringLiteral("Name"))->setAsString(row.name);
    table.FieldByName(QStringLiteral("Betrag"))->setAsInteger(row.amount);
    if (keyed) {
        db::Field* memo = table.FieldByName(QStringLiteral("Notiz"));
        if (row.memo.isEmpty())
            memo->Clear();
        else
            memo->setAsString(row.memo);
    }
    table.FieldByName(QStringLiteral("Pruef"))->setAsString(killtest::checksum(row));
}

void moveTo(db::Table& table, int id, int position, bool keyed)
{
    if (keyed) {
        if (!table.FindKey(QVariant(id))) fail(QStringLiteral("key %1 not found").arg(id));
    } else {
        table.setRecNo(position + 1);
    }
    if (table.FieldByName(QStringLiteral("Nr"))->AsInteger() != id)
        fail(QStringLiteral("row %1 does not hold record %2").arg(position).arg(id));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 6) fail(QStringLiteral("usage: table keyed seed flushEvery changes"));
    const QString path = QString::fromLocal8Bit(argv[1]);
    const bool keyed = std::atoi(argv[2]) != 0;
    std::mt19937_64 random(std::strtoull(argv[3], nullptr, 10));
    const int flushEvery = std::atoi(argv[4]);
    const int changes = std::atoi(argv[5]);
    try {
        db::Table table;
        table.setTableName(path);
        table.setExclusive(true);
        table.Open();
        std::vector<killtest::Row> rows;
        for (table.First(); !table.Eof(); table.Next()) {
            killtest::Row row;
            row.id = table.FieldByName(QStringLiteral("Nr"))->AsInteger();
            row.name = table.FieldByName(QStringLiteral("Name"))->AsString();
            row.amount = table.FieldByName(QStringLiteral("Betrag"))->AsInteger();
            if (keyed) row.memo = table.FieldByName(QStringLiteral("Notiz"))->AsString();
            rows.push_back(row);
        }
        killtest::Model model(keyed, std::move(rows));
        for (int n = 1; n <= changes; ++n) {
            const killtest::Op op = model.next(random);
            switch (op.kind) {
            case killtest::Op::Append:
                table.Append();
                setRow(table, op.row, keyed);
                table.Post();
                break;
            case killtest::Op::Update:
                moveTo(table, op.row.id, op.position, keyed);
                table.Edit();
                setRow(table, op.row, keyed);
                table.Post();
                break;
            case killtest::Op::Delete:
                moveTo(table, op.row.id, op.position, keyed);
                table.Delete();
                break;
            }
            say("post", n);
            if (n % flushEvery == 0) {
                table.Close();
                say("flush", n);
                table.Open();
            }
        }
        table.Close();
        say("done", changes);
    } catch (const db::EngineError& e) {
        fail(e.message());
    }
    return 0;
}
