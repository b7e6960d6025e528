// Fuzz target for the dBase storage: any file set must either open and read, or raise EngineError. A writable
// table must also take appends, changes and deletes, and opening it again must show exactly what the flushed writes
// left.
// Everything else (a crash, a sanitizer report, another exception, a table that no longer opens or reads back
// differently after our own writes) is a fault.

#include "FuzzInput.h"

#include "db/EngineError.h"
#include "db/dbase/DbaseTable.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace db;

namespace {

[[noreturn]] void fault(const char* what)
{
    std::fprintf(stderr, "dbase fuzz: %s\n", what);
    std::abort();
}

QDir workDir()
{
    static QTemporaryDir dir;
    static const QDir path(dir.path());
    if (!dir.isValid())
        fault("no temporary folder");
    return path;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fault("cannot write an input file");
}

// A value for each field that usually fits; variant changes them so that updates really change the record.
Record recordFor(const FieldDefList& fields, int variant)
{
    Record r;
    for (const FieldDef& f : fields) {
        switch (f.type) {
        case FieldType::ftString:
            r.push_back(QStringLiteral("Zeile %1 \u00c4\u00d6\u00dc\u00df").arg(variant));
            break;
        case FieldType::ftSmallint: case FieldType::ftInteger: case FieldType::ftWord: case FieldType::ftAutoInc:
            r.push_back(variant % 10);
            break;
        case FieldType::ftFloat: case FieldType::ftCurrency: case FieldType::ftBCD:
            r.push_back(variant + 0.25);
            break;
        case FieldType::ftDate:
            r.push_back(QDate(2024, 2, 29).addDays(variant));
            break;
        case FieldType::ftBoolean:
            r.push_back(variant % 2 == 0);
            break;
        case FieldType::ftMemo: case FieldType::ftFmtMemo:
            r.push_back(QStringLiteral("Memo %1\r\n").arg(variant).repeated(1 + variant * 37 % 120));
            break;
        case FieldType::ftBlob: case FieldType::ftGraphic: case FieldType::ftDBaseOle: {
            QByteArray bytes(1 + variant * 91 % 700, '\x1A');
            bytes[0] = char(variant);
            r.push_back(bytes);
            break;
        }
        default:
            r.push_back(QVariant());
            break;
        }
    }
    return r;
}

// DBASE_FUZZ_TRACE=1 shows every refusal, for looking into what an input reaches.
void trace(const EngineError& e)
{
    static const bool on = qEnvironmentVariableIsSet("DBASE_FUZZ_TRACE");
    if (on)
        std::fprintf(stderr, "  EngineError: %s\n", e.what());
}

// Every row as read, or nothing for a row whose reading raised EngineError (a damaged memo, say).
std::vector<std::optional<Record>> readAll(const TableStorage& table)
{
    std::vector<std::optional<Record>> rows;
    const int count = table.recordCount();
    for (int row = 0; row < count; ++row) {
        try {
            rows.push_back(table.read(row));
        } catch (const EngineError& e) {
            trace(e);
            rows.push_back(std::nullopt);
        }
    }
    return rows;
}

template <typename F>
bool attempt(F&& operation)
{
    try {
        operation();
        return true;
    } catch (const EngineError& e) {
        trace(e);
        return false;
    }
}

// Returns whether the changes reached the files: a flush may refuse a file set it finds damaged only then.
bool exerciseWrites(TableStorage& table, bool exclusive, int variant)
{
    const FieldDefList& fields = table.fields();
    const Record nulls(fields.size());
    attempt([&] {
        try {
            table.insert(recordFor(fields, variant), table.recordCount());
        } catch (const EngineError&) {
            table.insert(nulls, table.recordCount());  // a value the field cannot hold: store the empty record
        }
    });
    if (table.recordCount() > 0)
        attempt([&] { table.update(0, recordFor(fields, variant + 1)); });
    if (table.recordCount() > 1)
        attempt([&] { table.remove(1); });
    if (exclusive && variant % 3 == 0) {
        attempt([&] { table.empty(); });
        if (table.recordCount() != 0)
            fault("records left after emptying");
    }
    // Between flushes and after one: changes of records waiting in memory and of records in the files.
    bool flushed = attempt([&] { table.flush(); });
    attempt([&] { table.insert(recordFor(fields, variant + 2), table.recordCount()); });
    if (table.recordCount() > 0)
        attempt([&] { table.update(table.recordCount() - 1, nulls); });
    if (table.recordCount() > 0)
        attempt([&] { table.update(0, recordFor(fields, variant + 3)); });
    return attempt([&] { table.flush(); }) && flushed;
}

void run(const dbasefuzz::FileSet& files)
{
    QDir dir = workDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(name);
    const bool lower = files.flags & dbasefuzz::LowerCaseNames;
    const QString dbfPath = dir.filePath(lower ? QStringLiteral("t.dbf") : QStringLiteral("T.DBF"));
    writeFile(dbfPath, files.dbf);
    if (files.flags & dbasefuzz::HasMemo) {
        const QString ext = (files.flags & dbasefuzz::MemoIsFpt) ? QStringLiteral("fpt") : QStringLiteral("dbt");
        writeFile(dir.filePath(QStringLiteral("t.") + (lower ? ext : ext.toUpper())), files.memo);
    }
    if (files.flags & dbasefuzz::HasJournal)
        writeFile(dbfPath + QStringLiteral("-journal"), files.journal);

    dbase::OpenOptions options;
    switch ((files.flags & dbasefuzz::CodePageMask) >> 3) {
    case 1: options.codePage = 850; break;
    case 2: options.codePage = 1251; break;
    case 3: options.codePage = 437; break;
    default: break;
    }
    const bool exclusive = files.flags & dbasefuzz::Exclusive;
    const OpenMode mode = exclusive ? OpenMode::Exclusive : OpenMode::Shared;

    TableStoragePtr table;
    try {
        table = dbase::open(dbfPath, mode, options);
    } catch (const EngineError& e) {
        trace(e);
        return;
    }
    readAll(*table);
    if (qEnvironmentVariableIsSet("DBASE_FUZZ_TRACE"))
        std::fprintf(stderr, "  %d records, %s\n", table->recordCount(),
                     table->readOnlyReason().isEmpty() ? "writable" : qPrintable(table->readOnlyReason()));
    if (!(files.flags & dbasefuzz::Write) || !table->readOnlyReason().isEmpty())
        return;

    const bool flushed = exerciseWrites(*table, exclusive, files.dbf.size() % 97);
    const auto written = readAll(*table);
    table.reset();

    // The table opened before our writes; after them it must open again and read back the same.
    try {
        table = dbase::open(dbfPath, mode, options);
    } catch (const EngineError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fault("the table no longer opens after our writes");
    }
    const auto reread = readAll(*table);
    if (!flushed)
        return;  // the table must open and read; what it holds is what the last flush that worked left
    if (reread.size() != written.size())
        fault("the number of records changed on reopening");
    for (std::size_t i = 0; i < written.size(); ++i)
        if (written[i].has_value() != reread[i].has_value() || (written[i] && *written[i] != *reread[i]))
            fault("a record reads back differently after reopening");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dbasefuzz::FileSet files;
    if (!dbasefuzz::unpack(data, size, files))
        return 0;
    try {
        run(files);
    } catch (const EngineError& e) {
        trace(e);
    }
    return 0;
}
