// Damaged and hostile copies of real tables raise EngineError; they never crash, hang or exhaust memory.

#include "ParadoxTestUtil.h"
#include "db/paradox/ParadoxTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Opens the table and reads every record; returns whether that worked, and fails the test on anything but an
// EngineError. With `expected`, a table that opens must read exactly those records.
bool readsCompletely(const QString& path, const std::vector<db::Record>* expected = nullptr)
{
    try {
        const auto table = db::paradox::open(path, db::OpenMode::Shared);
        if (expected) {
            EXPECT_EQ(size_t(table->recordCount()), expected->size());
        }
        for (int row = 0; row < table->recordCount(); ++row) {
            const db::Record record = table->read(row);
            if (expected && size_t(row) < expected->size()) {
                EXPECT_EQ(record, (*expected)[size_t(row)]) << "row " << row;
            }
        }
        if (table->keyFieldCount() > 0 && table->recordCount() > 0) table->findKey(table->read(0));
        return true;
    } catch (const db::EngineError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        return false;
    }
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct DamageCase {
    const char* fixture;
    const char* damagedFile;  // extension of the file that is damaged
};

const DamageCase kCases[] = {
    {"paradox/pdriver-db/CUSTOMER.DB", "DB"},   {"paradox/pdriver-db/CUSTOMER.DB", "MB"},
    {"paradox/pdriver-fields/memo.db", "mb"},   {"paradox/pdriver-fields/graphic240.db", "mb"},
    {"paradox/pdriver-db/ORDERS.DB", "DB"},     {"paradox/pdriver-areas/AREACODE.DB", "DB"},
    {"paradox/pdriver-fields/bcd.db", "db"},    {"paradox/pdriver-fields/logical.db", "val"},
    {"paradox/pdriver-db/AREACODE.DB", "VAL"},  {"paradox/pdriver-geog/tblsttes.DB", "DB"},
};

TEST(ParadoxDamage, TruncatedCopiesRaiseEngineError)
{
    for (const DamageCase& c : kCases) {
        QTemporaryDir dir;
        const QString table = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        const QString victim = QFileInfo(table).absoluteDir().filePath(QFileInfo(table).completeBaseName() + "." +
                                                                      QString::fromLatin1(c.damagedFile));
        const QByteArray original = readAll(victim);
        ASSERT_FALSE(original.isEmpty()) << victim.toStdString();
        std::vector<db::Record> records;
        {
            const auto intact = db::paradox::open(table, db::OpenMode::Shared);
            for (int row = 0; row < intact->recordCount(); ++row) records.push_back(intact->read(row));
        }
        std::vector<qsizetype> cuts{0, 1, 2, 0x20, 0x57, 0x58, 0x78, 0x100};
        for (qsizetype cut = 0x200; cut < original.size(); cut += std::max<qsizetype>(original.size() / 40, 97))
            cuts.push_back(cut);
        cuts.push_back(original.size() - 1);
        for (const qsizetype cut : cuts) {
            if (cut >= original.size()) continue;
            writeAll(victim, original.left(cut));
            // Only a cut through the unused tail of the last block may leave a table that still reads, and then
            // it reads exactly what it held.
            if (readsCompletely(table, &records)) {
                EXPECT_GT(cut, 0x800) << c.fixture;
            }
        }
    }
}

TEST(ParadoxDamage, FlippedBytesNeverCrash)
{
    QRandomGenerator random(20240611);
    for (const DamageCase& c : kCases) {
        QTemporaryDir dir;
        const QString table = testsupport::copyTableTo(QString::fromLatin1(c.fixture), dir.path());
        const QString victim = QFileInfo(table).absoluteDir().filePath(QFileInfo(table).completeBaseName() + "." +
                                                                      QString::fromLatin1(c.damagedFile));
        const QByteArray original = readAll(victim);
        for (int round = 0; round < 150; ++round) {
            QByteArray damaged = original;
            const int flips = 1 + int(random.bounded(4));
            for (int i = 0; i < flips; ++i) {
                // Mostly the header and first blocks, where the structure lives.
                const qsizetype limit = std::min<qsizetype>(damaged.size(), round % 2 ? 0x1000 : damaged.size());
                const qsizetype at = qsizetype(random.bounded(quint32(limit)));
                damaged[at] = char(damaged[at] ^ char(1 + random.bounded(255)));
            }
            writeAll(victim, damaged);
            readsCompletely(table);
        }
    }
}

TEST(ParadoxDamage, HostileStructures)
{
    struct Patch {
        const char* name;
        const char* fixture;
        qsizetype offset;
        QByteArray bytes;
    };
    // ORDERS.DB: header 0x800, 2 KiB blocks, 8 blocks; CUSTOMER.DB: Comments pointer of row 1 at 280+100.
    const Patch patches[] = {
        {"block chain loops back to itself", "paradox/pdriver-db/ORDERS.DB", 0x800, QByteArray("\x01\x00", 2)},
        {"block chain leaves the file", "paradox/pdriver-db/ORDERS.DB", 0x800, QByteArray("\xFF\x7F", 2)},
        {"header claims huge block count", "paradox/pdriver-db/ORDERS.DB", 0x0C, QByteArray("\xFF\xFF", 2)},
        {"first block beyond the file", "paradox/pdriver-db/ORDERS.DB", 0x0E, QByteArray("\x00\x40", 2)},
        {"record size disagrees with fields", "paradox/pdriver-db/ORDERS.DB", 0x00, QByteArray("\x10\x00", 2)},
        {"header size beyond the file", "paradox/pdriver-db/ORDERS.DB", 0x02, QByteArray("\xFF\xFF", 2)},
        {"impossible last-record offset", "paradox/pdriver-db/ORDERS.DB", 0x804, QByteArray("\xF0\x7F", 2)},
        {"unknown field type", "paradox/pdriver-db/ORDERS.DB", 0x78, QByteArray("\x33", 1)},
        {"blob pointer out of range", "paradox/pdriver-db/CUSTOMER.DB", 0x800 + 6 + 394 + 380,
         QByteArray("\xFF\x00\x00\x7F", 4)},
        {"blob length beyond the file", "paradox/pdriver-db/CUSTOMER.DB", 0x800 + 6 + 394 + 384,
         QByteArray("\xFF\xFF\xFF\x7F", 4)},
    };
    for (const Patch& p : patches) {
        QTemporaryDir dir;
        const QString table = testsupport::copyTableTo(QString::fromLatin1(p.fixture), dir.path());
        QByteArray bytes = readAll(table);
        bytes.replace(p.offset, p.bytes.size(), p.bytes);
        writeAll(table, bytes);
        EXPECT_FALSE(readsCompletely(table)) << p.name;
    }
}

}  // namespace
