#include "db/paradox/ParadoxValidity.h"

#include "db/EngineError.h"
#include "db/paradox/ParadoxFiles.h"

#include <fcntl.h>

namespace db::paradox {

namespace {

constexpr int kBodyStart = 0x35;
constexpr int kEntryFixedSize = 0x1C;
constexpr int kLookupSize = 26 + 54;
constexpr qint64 kMaxValFile = 16 * 1024 * 1024;

}  // namespace

ValidityChecks readValidityChecks(const QString& path, const TableHeader& table)
{
    ValidityChecks result;
    PosixFile file;
    file.open(path, O_RDONLY);
    const qint64 size = file.size();
    auto bad = [&](const QString& detail) -> void {
        throw EngineError(ErrorCode::CorruptFile,
                          corruptMessage(path, QStringLiteral("Die Gültigkeitsprüfungen sind unlesbar (%1).").arg(detail)));
    };
    if (size < 2 || size > kMaxValFile) bad(QStringLiteral("Dateigröße"));
    const QByteArray data = file.readAt(0, size, QStringLiteral("Die Prüfdatei"));
    const char* d = data.constData();
    const int version = std::uint8_t(d[1]);
    if (version < 0x05) {
        // Level 3 files have a layout of their own; their checks are not known to this engine.
        result.unenforced << QStringLiteral("Gültigkeitsprüfungen im Format der Version 3");
        return result;
    }
    if (size < kBodyStart) bad(QStringLiteral("Kopf"));
    if (std::uint8_t(d[0]) != std::uint8_t(table.raw.at(0x2E))) {
        result.stale = true;
        return result;
    }
    const int count = std::uint8_t(d[2]);
    const qint64 footer = getU32(d + 0x09);
    const qint64 refIntegrity = getU32(d + 0x0D);
    if (footer < kBodyStart || footer + 6 > size) bad(QStringLiteral("Verweis auf die Feldliste"));
    if (refIntegrity != 0) result.unenforced << QStringLiteral("referentielle Integrität");

    // Footer: the field list the checks refer to by position.
    const int fieldCount = getU16(d + footer);
    const int namesSize = getU16(d + footer + 4);
    qint64 pos = footer + 6;
    if (fieldCount < 1 || fieldCount > 255 || pos + 4LL * fieldCount > size) bad(QStringLiteral("Feldliste"));
    std::vector<int> recordBytes;
    for (int i = 0; i < fieldCount; ++i) {
        const int type = std::uint8_t(d[pos + 2 * fieldCount + 2 * i]);
        const int sizeByte = std::uint8_t(d[pos + 2 * fieldCount + 2 * i + 1]);
        recordBytes.push_back(recordBytesOf(std::uint8_t(type), sizeByte));
    }
    pos += 4LL * fieldCount;
    QList<QByteArray> names;
    for (const int tableNameSize : {79, 261}) {
        qint64 p = pos + tableNameSize;
        QList<QByteArray> candidate;
        qint64 total = 0;
        while (candidate.size() < fieldCount && p < size) {
            const qsizetype end = data.indexOf('\0', p);
            if (end < 0) break;
            candidate << data.mid(p, end - p);
            total += end - p + 1;
            p = end + 1;
        }
        if (candidate.size() == fieldCount && total + tableNameSize == namesSize) {
            names = candidate;
            break;
        }
    }
    if (names.isEmpty()) bad(QStringLiteral("Feldnamen"));

    pos = kBodyStart;
    const qint64 bodyEnd = refIntegrity != 0 ? refIntegrity : footer;
    for (int i = 0; i < count; ++i) {
        if (pos + kEntryFixedSize > bodyEnd) bad(QStringLiteral("Prüfeintrag %1").arg(i + 1));
        const char* e = d + pos;
        const int fieldIndex = std::uint8_t(e[0]);
        const int pictureLength = std::uint8_t(e[1]);
        const bool required = e[2] != 0;
        if (fieldIndex >= fieldCount || recordBytes[size_t(fieldIndex)] < 0) bad(QStringLiteral("Feldnummer"));
        const QString fieldName = QString::fromLatin1(names[fieldIndex]);
        const bool hasLookup = getU32(e + 0x04) != 0;
        const bool hasMin = getU32(e + 0x0C) != 0;
        const bool hasMax = getU32(e + 0x10) != 0;
        const bool hasDefault = getU32(e + 0x14) != 0;
        const bool hasPicture = getU32(e + 0x18) != 0;
        const int valueSize = recordBytes[size_t(fieldIndex)];
        pos += kEntryFixedSize + (hasLookup ? kLookupSize : 0) + (hasMin ? valueSize : 0) + (hasMax ? valueSize : 0) +
               (hasDefault ? valueSize : 0) + (hasPicture ? pictureLength : 0);
        if (pos > bodyEnd) bad(QStringLiteral("Prüfeintrag %1").arg(i + 1));
        if (required) result.requiredFields << names[fieldIndex];
        if (hasLookup) result.unenforced << QStringLiteral("Nachschlagetabelle für %1").arg(fieldName);
        if (hasMin || hasMax) result.unenforced << QStringLiteral("Wertebereich für %1").arg(fieldName);
        if (hasPicture) result.unenforced << QStringLiteral("Eingabemaske für %1").arg(fieldName);
    }
    return result;
}

}  // namespace db::paradox
