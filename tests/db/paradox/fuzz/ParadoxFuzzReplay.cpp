// Runs the fuzz target over stored inputs, so that every build replays the corpus and the crashers once found;
// with --seeds it writes the seed inputs: file sets of tables this engine writes.
//
//   paradox_fuzz_replay <file or folder>...
//   paradox_fuzz_replay --seeds <folder>

#include "FuzzInput.h"
#include "db/paradox/ParadoxTable.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

namespace {

using db::FieldType;

db::FieldDef def(const char* name, FieldType type, int size = 0, int precision = 0)
{
    db::FieldDef f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.size = size;
    f.precision = precision;
    return f;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString memoText(int length, int seed)
{
    QString s;
    for (int i = 0; i < length; ++i) s += QChar(u'a' + (i * 7 + seed) % 26);
    return s;
}

struct SeedTable {
    const char* name;
    db::FieldDefList fields;
    int keyFields;
    int records;
    db::Record (*make)(int);
};

db::Record everyType(int i)
{
    static const int blobSizes[] = {0, 5, 30, 200, 2100};
    const int blob = blobSizes[i % 5];
    return {i * 3,
            QStringLiteral("Zeile %1").arg(i),
            QDate(1990, 1 + i % 12, 1 + i % 28),
            i - 5,
            i * 1.5,
            i / 3.0,
            i % 2 == 0,
            blob ? QVariant(memoText(blob, i)) : QVariant(),
            blob ? QVariant(memoText(blob, i).toLatin1()) : QVariant(),
            blob ? QVariant(memoText(blob / 2 + 1, i).toLatin1()) : QVariant(),
            QTime(i % 24, i % 60),
            QDateTime(QDate(2001, 2, 3), QTime(4, 5, i % 60), Qt::UTC),
            QVariant(),
            i * 0.25,
            QByteArray("\x01\x02\x03", 3)};
}

db::Record plain(int i)
{
    return {QStringLiteral("Name %1").arg(i), i * 11};
}

int writeSeeds(const QString& out)
{
    const db::FieldDefList every{
        def("Nr", FieldType::ftInteger),      def("Name", FieldType::ftString, 20), def("Datum", FieldType::ftDate),
        def("Klein", FieldType::ftSmallint),  def("Betrag", FieldType::ftCurrency), def("Zahl", FieldType::ftFloat),
        def("Ja", FieldType::ftBoolean),      def("Notiz", FieldType::ftMemo, 10),  def("Daten", FieldType::ftBlob, 4),
        def("Bild", FieldType::ftGraphic, 0), def("Zeit", FieldType::ftTime),       def("Stempel", FieldType::ftDateTime),
        def("Lfd", FieldType::ftAutoInc),     def("Genau", FieldType::ftBCD, 32, 2), def("Roh", FieldType::ftBytes, 3)};
    const db::FieldDefList small{def("Name", FieldType::ftString, 12), def("Wert", FieldType::ftInteger)};
    const SeedTable tables[] = {
        {"keyed-every-type", every, 1, 12, everyType},
        {"keyless-every-type", every, 0, 7, everyType},
        {"keyed-two-fields", small, 2, 300, plain},
        {"keyless-small", small, 0, 200, plain},
        {"keyed-empty", small, 1, 0, plain},
    };
    QDir().mkpath(out);
    int written = 0;
    for (const SeedTable& t : tables) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("T.DB"));
        db::paradox::create(path, t.fields, t.keyFields);
        {
            auto table = db::paradox::open(path, db::OpenMode::Exclusive);
            for (int i = 0; i < t.records; ++i) table->insert(t.make(i), table->recordCount());
        }
        std::array<QByteArray, 4> parts;
        for (size_t i = 0; i < parts.size(); ++i)
            parts[i] = readFile(dir.filePath(QStringLiteral("T.") + QLatin1String(paradoxfuzz::kExtensions[i])));
        QFile file(QDir(out).filePath(QStringLiteral("seed-%1").arg(QLatin1String(t.name))));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
        file.write(paradoxfuzz::join(parts));
        ++written;
    }
    std::printf("%d seed inputs written\n", written);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--seeds") return writeSeeds(QString::fromLocal8Bit(argv[2]));
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QStringList files;
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) files << it.next();
            files.sort();
        } else {
            files << arg;
        }
        for (const QString& path : files) {
            const QByteArray input = readFile(path);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), size_t(input.size()));
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    // An empty run means the corpus was not found, which must not pass for a clean replay.
    return replayed > 0 ? 0 : 1;
}
