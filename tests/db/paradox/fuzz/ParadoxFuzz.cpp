// Fuzz target: an arbitrary file set (see FuzzInput.h) is opened as a Paradox table and every record and every
// blob is read, and a key looked up; on request a record is then added, changed and removed and the table flushed,
// as the program does with an existing target table. Anything but an EngineError (a crash, a hang, an allocation
// the files do not justify) is a fault of the engine.

#include "FuzzInput.h"
#include "db/EngineError.h"
#include "db/paradox/ParadoxTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

const QTemporaryDir& folder()
{
    static const QTemporaryDir dir = [] {
        // The engine's warnings about refused flushes would only slow the fuzzer down.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return QTemporaryDir();
    }();
    return dir;
}

void place(const QString& path, const QByteArray& bytes, bool present)
{
    if (!present) {
        QFile::remove(path);
        return;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const auto parts = paradoxfuzz::split(data, size);
    const QDir dir(folder().path());
    for (size_t i = 0; i < parts.size(); ++i)
        place(dir.filePath(QStringLiteral("T.") + QLatin1String(paradoxfuzz::kExtensions[i])), parts[i],
              i == 0 || !parts[i].isEmpty());
    try {
        const db::TableStoragePtr table = db::paradox::open(dir.filePath(QStringLiteral("T.DB")), db::OpenMode::Shared);
        const int count = table->recordCount();
        db::Record first;
        for (int row = 0; row < count; ++row) {
            try {
                db::Record record = table->read(row);
                if (row == 0) first = std::move(record);
            } catch (const db::EngineError&) {
                // A damaged record or blob; the others must still read or fail the same way.
            }
        }
        if (table->keyFieldCount() > 0 && !first.empty()) {
            table->findKey(first);
            table->findKey(db::Record{first.front()});
        }
        if (paradoxfuzz::wantsChanges(data, size) && table->readOnlyReason().isEmpty() && !first.empty()) {
            const auto attempt = [](auto&& change) {
                try {
                    change();
                } catch (const db::EngineError&) {
                }
            };
            db::Record changed = first;
            if (changed.front().typeId() == QMetaType::Int) changed.front() = changed.front().toInt() ^ 0x5A5A;
            attempt([&] { table->insert(changed, 0); });
            attempt([&] { table->update(0, first); });
            attempt([&] { table->remove(table->recordCount() - 1); });
            attempt([&] { table->flush(); });
        }
    } catch (const db::EngineError&) {
    }
    return 0;
}
