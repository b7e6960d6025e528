// Writes the seed inputs of the dBase fuzz target into a folder: tables this engine writes (with memos, deleted
// records, a free-block list, a rollback journal) and small tables of the other dialects the reader knows, built
// byte by byte from the published layouts. Run it again only to renew the seeds; the fuzzer's finds are kept beside
// them.

#include "FuzzInput.h"

#include "db/dbase/DbaseTable.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

using namespace db;
using dbasefuzz::FileSet;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putU16(QByteArray& b, int at, std::uint32_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void putU32(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

void putU32be(QByteArray& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * (3 - i))) & 0xFF);
}

FieldDef def(const char* name, FieldType type, int size = 0, int precision = 0)
{
    FieldDef f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.size = size;
    f.precision = precision;
    return f;
}

// --- tables of this engine ----------------------------------------------------------------------------------------

FileSet engineTable(const FieldDefList& defs, const std::vector<Record>& records, int deleteRow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("T.DBF"));
    dbase::create(path, defs);
    {
        TableStoragePtr t = dbase::open(path, OpenMode::Exclusive);
        for (const Record& r : records)
            t->insert(r, t->recordCount());
        t->flush();  // a record deleted before it was ever written would not be in the file
        if (deleteRow >= 0)
            t->remove(deleteRow);
    }
    FileSet files;
    files.dbf = readFile(path);
    files.memo = readFile(dir.filePath(QStringLiteral("T.DBT")));
    if (!files.memo.isEmpty())
        files.flags |= dbasefuzz::HasMemo;
    return files;
}

FieldDefList tenFields()
{
    return {def("NAME", FieldType::ftString, 30), def("CODE", FieldType::ftString, 10),
            def("COUNT", FieldType::ftInteger), def("AMOUNT", FieldType::ftFloat),
            def("PRICE", FieldType::ftCurrency), def("DAY", FieldType::ftDate), def("TIME", FieldType::ftTime),
            def("DONE", FieldType::ftBoolean), def("NOTE", FieldType::ftMemo), def("SMALL", FieldType::ftSmallint)};
}

Record tenValues(int i, int memoLength)
{
    return {QStringLiteral("M\u00fcller %1").arg(i), QStringLiteral("C%1").arg(i), i * 1000, i * 1.5, i * 2.25,
            QDate(1999, 12, 31).addDays(i), QTime(8, 30).addSecs(i * 61), i % 2 == 0,
            memoLength > 0 ? QVariant(QStringLiteral("x").repeated(memoLength)) : QVariant(), i};
}

// --- tables built by hand -----------------------------------------------------------------------------------------

struct Desc {
    const char* name;
    char letter;
    int length;
    int decimals;
    std::uint8_t flags;
};

QByteArray handTable(std::uint8_t version, const std::vector<Desc>& fields, const std::vector<QByteArray>& records,
                     std::uint8_t languageDriver, bool level7 = false)
{
    const int first = level7 ? 68 : 32;
    const int size = level7 ? 48 : 32;
    const int headerLength = first + size * int(fields.size()) + 1;
    int recordLength = 1;
    for (const Desc& d : fields)
        recordLength += d.length;
    QByteArray b(headerLength, '\0');
    b[0] = char(version);
    b[1] = char(124);
    b[2] = 5;
    b[3] = 17;
    putU32(b, 4, std::uint32_t(records.size()));
    putU16(b, 8, std::uint32_t(headerLength));
    putU16(b, 10, std::uint32_t(recordLength));
    b[29] = char(languageDriver);
    int pos = first;
    int offset = 1;
    for (const Desc& d : fields) {
        std::memcpy(b.data() + pos, d.name, std::strlen(d.name));
        if (level7) {
            b[pos + 32] = d.letter;
            b[pos + 33] = char(d.length);
            b[pos + 34] = char(d.decimals);
        } else {
            b[pos + 11] = d.letter;
            putU32(b, pos + 12, std::uint32_t(offset));
            b[pos + 16] = char(d.length);
            b[pos + 17] = char(d.decimals);
            b[pos + 18] = char(d.flags);
        }
        offset += d.length;
        pos += size;
    }
    b[pos] = 0x0D;
    for (const QByteArray& r : records) {
        if (r.size() != recordLength)
            std::fprintf(stderr, "record of %lld bytes, layout has %d\n", static_cast<long long>(r.size()),
                         recordLength);
        b.append(r);
    }
    b.append('\x1A');
    return b;
}

QByteArray text(const char* s, int length)
{
    QByteArray b(s);
    b.append(QByteArray(length - b.size(), ' '));
    return b;
}

QByteArray rightAligned(const QByteArray& s, int length)
{
    return QByteArray(length - s.size(), ' ') + s;
}

QByteArray u32le(std::uint32_t v)
{
    QByteArray b(4, '\0');
    putU32(b, 0, v);
    return b;
}

QByteArray u64le(std::uint64_t v)
{
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

QByteArray u64be(std::uint64_t v)
{
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = char((v >> (8 * (7 - i))) & 0xFF);
    return b;
}

FileSet dbase3WithMemo()
{
    const std::vector<Desc> fields = {{"NAME", 'C', 12, 0, 0}, {"NOTE", 'M', 10, 0, 0}, {"QTY", 'N', 5, 0, 0}};
    std::vector<QByteArray> records = {
        " " + text("eins", 12) + rightAligned("1", 10) + rightAligned("12", 5),
        "*" + text("zwei", 12) + rightAligned("2", 10) + rightAligned("-3", 5),
        " " + text("drei", 12) + QByteArray(10, ' ') + QByteArray(5, ' '),
    };
    FileSet files;
    files.flags = dbasefuzz::HasMemo | dbasefuzz::Write;
    files.dbf = handTable(0x83, fields, records, 0x00);
    QByteArray memo(512 * 3, '\0');
    putU32(memo, 0, 3);
    const QByteArray one = "Erste Zeile\r\nzweite\x8D\x0A Zeile\x1A\x1A";
    memo.replace(512, one.size(), one);
    const QByteArray two = "kurz\x1A";
    memo.replace(1024, two.size(), two);
    files.memo = memo;
    return files;
}

FileSet foxPro2()
{
    const std::vector<Desc> fields = {{"NAME", 'C', 8, 0, 0}, {"NOTE", 'M', 10, 0, 0}, {"PIC", 'P', 10, 0, 0},
                                      {"VAL", 'F', 10, 3, 0}};
    std::vector<QByteArray> records = {
        " " + text("fox", 8) + rightAligned("8", 10) + rightAligned("9", 10) + rightAligned("3.125", 10),
        " " + text("pro", 8) + QByteArray(10, ' ') + QByteArray(10, ' ') + rightAligned("-0.500", 10),
    };
    FileSet files;
    files.flags = dbasefuzz::HasMemo | dbasefuzz::MemoIsFpt | dbasefuzz::Write;
    files.dbf = handTable(0xF5, fields, records, 0x03);
    QByteArray memo(512 + 64 * 2, '\0');
    putU32be(memo, 0, 10);
    memo[6] = 0;
    memo[7] = 64;
    const QByteArray note = "FoxPro-Memo";
    putU32be(memo, 512, 1);
    putU32be(memo, 516, std::uint32_t(note.size()));
    memo.replace(520, note.size(), note);
    putU32be(memo, 576, 0);
    putU32be(memo, 580, 4);
    memo.replace(584, 4, "\x89PNG");
    files.memo = memo;
    return files;
}

FileSet visualFoxPro()
{
    const std::vector<Desc> fields = {{"ID", 'I', 4, 0, 0},         {"PRICE", 'Y', 8, 4, 0x02},
                                      {"STAMP", 'T', 8, 0, 0x02},   {"RATIO", 'B', 8, 2, 0},
                                      {"NOTE", 'M', 4, 0, 0},       {"TAG", 'V', 6, 0, 0x02},
                                      {"_NullFlags", '0', 1, 0, 0x05}};
    std::vector<QByteArray> records = {
        " " + u32le(42) + u64le(123456) + u32le(2460000) + u32le(3600000) + u64le(0x400921FB54442D18ull) +
            u32le(8) + QByteArray("ab\0\0\0\x02", 6) + QByteArray(1, '\x08'),
        " " + u32le(std::uint32_t(-7)) + u64le(0) + u64le(0) + u64le(0) + u32le(0) + text("tagtag", 6) +
            QByteArray(1, '\x03'),
    };
    FileSet files;
    files.flags = dbasefuzz::HasMemo | dbasefuzz::MemoIsFpt;
    files.dbf = handTable(0x30, fields, records, 0x03);
    QByteArray memo(512 + 64, '\0');
    putU32be(memo, 0, 9);
    memo[7] = 64;
    putU32be(memo, 512, 1);
    putU32be(memo, 516, 5);
    memo.replace(520, 5, "Notiz");
    files.memo = memo;
    return files;
}

FileSet dbase7()
{
    const std::vector<Desc> fields = {{"AUTO", '+', 4, 0, 0}, {"WHEN", '@', 8, 0, 0}, {"REAL", 'O', 8, 0, 0},
                                      {"LONG", 'I', 4, 0, 0}, {"NAME", 'C', 6, 0, 0}};
    QByteArray autoInc(4, '\0');
    putU32be(autoInc, 0, 0x80000001u);
    QByteArray longValue(4, '\0');
    putU32be(longValue, 0, 0x80000000u ^ 77u);
    std::vector<QByteArray> records = {
        " " + autoInc + u64be(0x42CC000000000000ull) + u64be(0xC00921FB54442D18ull) + longValue + text("sieben", 6),
    };
    FileSet files;
    files.dbf = handTable(0x04, fields, records, 0x00, true);
    return files;
}

// A dBase IV memo file whose free list holds one run before the end of the file.
FileSet withFreeList()
{
    FileSet files = engineTable({def("NOTE", FieldType::ftMemo), def("N", FieldType::ftInteger)},
                                {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}}, -1);
    const int blocks = int(files.memo.size() / 512);
    files.memo.append(QByteArray(512, '\0'));
    putU32(files.memo, blocks * 512, std::uint32_t(blocks + 1));
    putU32(files.memo, blocks * 512 + 4, 1);
    putU32(files.memo, 0, std::uint32_t(blocks));
    files.flags |= dbasefuzz::Write;
    return files;
}

std::uint32_t fnv1a(const QByteArray& data)
{
    std::uint32_t hash = 2166136261u;
    for (char c : data) {
        hash ^= std::uint8_t(c);
        hash *= 16777619u;
    }
    return hash;
}

// A table with the rollback journal of a flush that died half-way: it had changed the first record (torn now),
// deleted the second and appended a third, and the journal holds the old bytes and the old count.
FileSet withJournal()
{
    FileSet files = engineTable({def("NAME", FieldType::ftString, 20), def("N", FieldType::ftFloat, 12, 2)},
                                {{QStringLiteral("vorher"), 1.5}, {QStringLiteral("zwei"), 2.0},
                                 {QStringLiteral("drei"), 3.0}},
                                -1);
    const int headerLength = std::uint8_t(files.dbf[8]) | (std::uint8_t(files.dbf[9]) << 8);
    const int recordLength = std::uint8_t(files.dbf[10]) | (std::uint8_t(files.dbf[11]) << 8);
    QByteArray journal("DBFUNDO2");
    journal.append(u32le(2));  // the old count
    journal.append(u32le(2));  // entries
    journal.append(u64le(std::uint64_t(headerLength)));
    journal.append(u32le(std::uint32_t(recordLength)));
    journal.append(files.dbf.mid(headerLength, recordLength));
    journal.append(u64le(std::uint64_t(headerLength + recordLength)));
    journal.append(u32le(1));
    journal.append(files.dbf.mid(headerLength + recordLength, 1));
    journal.append(u32le(fnv1a(journal)));
    files.dbf.replace(headerLength + 1, 6, "nachhe");  // the torn record
    files.dbf[headerLength + recordLength] = '*';
    files.journal = journal;
    files.flags |= dbasefuzz::HasJournal | dbasefuzz::Write;
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    std::vector<std::pair<const char*, FileSet>> seeds;

    std::vector<Record> ten;
    for (int i = 0; i < 4; ++i)
        ten.push_back(tenValues(i, i == 3 ? 1300 : i * 20));
    FileSet tenTable = engineTable(tenFields(), ten, 1);
    tenTable.flags |= dbasefuzz::Write;
    seeds.emplace_back("ten-fields", tenTable);
    FileSet tenExclusive = tenTable;
    tenExclusive.flags |= dbasefuzz::Exclusive | dbasefuzz::LowerCaseNames;
    seeds.emplace_back("ten-fields-exclusive", tenExclusive);
    FileSet tenOem = tenTable;
    tenOem.flags |= 1 << 3;
    seeds.emplace_back("ten-fields-cp850", tenOem);

    FileSet plain = engineTable({def("NAME", FieldType::ftString, 15), def("SMALL", FieldType::ftSmallint),
                                 def("WIDE", FieldType::ftFloat, 20, 6), def("DAY", FieldType::ftDate),
                                 def("OK", FieldType::ftBoolean), def("STAMP", FieldType::ftDateTime)},
                                {{QStringLiteral("a"), 1, 1e10, QDate(2000, 1, 1), true, QDateTime()},
                                 {QVariant(), QVariant(), -0.000001, QVariant(), false,
                                  QDateTime(QDate(2020, 6, 1), QTime(12, 0))}},
                                -1);
    plain.flags |= dbasefuzz::Write;
    seeds.emplace_back("no-memo", plain);

    FileSet blob = engineTable({def("PIC", FieldType::ftBlob), def("OLE", FieldType::ftDBaseOle)},
                               {{QByteArray("\x00\x1A\xFF", 3), QByteArray(600, 'o')}}, -1);
    blob.flags |= dbasefuzz::Write;
    seeds.emplace_back("binary-memos", blob);

    seeds.emplace_back("free-list", withFreeList());
    seeds.emplace_back("journal", withJournal());
    seeds.emplace_back("dbase3-memo", dbase3WithMemo());
    seeds.emplace_back("foxpro2", foxPro2());
    seeds.emplace_back("visual-foxpro", visualFoxPro());
    seeds.emplace_back("dbase7", dbase7());

    for (const auto& [name, files] : seeds) {
        QFile f(out.filePath(QStringLiteral("seed-") + QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(dbasefuzz::pack(files)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
            return 1;
        }
    }
    std::printf("%zu seeds written\n", seeds.size());
    return 0;
}
