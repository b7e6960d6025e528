#include "db/OpenTables.h"

#include "db/EngineError.h"
#include "db/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <map>

namespace db {

namespace {

struct Entry {
    TableStoragePtr storage;
    int holders = 0;  // 0: the storage is kept
    OpenMode mode = OpenMode::Shared;
    std::shared_ptr<std::vector<OpenTables::Lease*>> leases;
    // Every holder since the storage was opened was a scratch cursor.
    bool scratch = false;
    std::uint64_t serial = 0;
};

// The program works on one thread (the user-interface thread), so the registry needs no lock of its own. It is
// never destroyed: a table object that lives until the program's static objects go still finds it when it closes.
std::map<QString, Entry>& registry()
{
    static auto* entries = new std::map<QString, Entry>;
    return *entries;
}

std::uint64_t nextSerial()
{
    static std::uint64_t serial = 0;
    return ++serial;
}

// Writes a storage whose last hold is gone. A failure is raised here once: the storage forgets what it could not
// write, so that its destructor does not try the same write again (a whole table's worth of it) and meet the same
// error a second time.
void flushClosing(TableStorage& storage)
{
    try {
        storage.flush();
    } catch (...) {
        storage.discardChanges();
        throw;
    }
}

// Writes the kept storages when the application ends (from the destructor of its application object, while every
// part of the program is still alive), so that their files hold what the process left in them. A process without
// an application object leaves them as last written: valid files, as scratch tables may be.
void writeKept()
{
    auto& entries = registry();
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->second.holders > 0) {
            ++it;
            continue;
        }
        const TableStoragePtr storage = std::move(it->second.storage);
        const QString key = it->first;
        it = entries.erase(it);
        try {
            flushClosing(*storage);
        } catch (const std::exception& e) {
            qWarning("Closing table %s failed: %s", qUtf8Printable(key), e.what());
        }
    }
}

void keepUntilExit()
{
    static bool registered = false;
    if (!registered) {
        qAddPostRoutine(writeKept);
        registered = true;
    }
}

}  // namespace

OpenTables::Lease::Lease(QString key, TableStoragePtr storage, OpenMode mode, std::shared_ptr<Holders> holders)
    : key_(std::move(key)), storage_(std::move(storage)), mode_(mode), holders_(std::move(holders))
{
    holders_->push_back(this);
}

OpenTables::Lease::~Lease()
{
    // A destructor that raises ends the process; the failure is told in the log instead.
    try {
        release();
    } catch (const std::exception& e) {
        qWarning("Closing table %s failed: %s", qUtf8Printable(key_), e.what());
    } catch (...) {
        qWarning("Closing table %s failed", qUtf8Printable(key_));
    }
}

void OpenTables::Lease::release()
{
    if (!held_)
        return;
    held_ = false;
    settle_ = nullptr;
    std::erase(*holders_, this);
    auto& entries = registry();
    const auto it = entries.find(key_);
    if (it == entries.end())
        return;
    if (--it->second.holders > 0) {
        storage_.reset();
        return;
    }
    storage_.reset();
    if (it->second.scratch) {
        keepUntilExit();
        return;
    }
    // The last holder closes the files: the entry goes first, so that a failing flush cannot leave the table
    // registered as open forever.
    TableStoragePtr storage = std::move(it->second.storage);
    entries.erase(it);
    flushClosing(*storage);
}

void OpenTables::Lease::settleOthers() const
{
    // A settling holder only reads, so the list cannot change under the loop; a copy keeps it safe regardless.
    const Holders others = *holders_;
    for (Lease* other : others) {
        if (other != this && other->settle_)
            other->settle_();
    }
}

QString OpenTables::keyFor(const QString& path)
{
    const QFileInfo info(findFileIgnoringCase(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

std::unique_ptr<OpenTables::Lease> OpenTables::acquire(const QString& key, OpenMode mode,
                                                       const std::function<TableStoragePtr()>& open, bool scratch)
{
    auto& entries = registry();
    auto it = entries.find(key);
    if (it != entries.end() && it->second.holders == 0 && mode != it->second.mode) {
        // A kept storage holds the inter-process lock of the other mode: its files are written, then opened anew.
        Entry kept = std::move(it->second);
        entries.erase(it);
        flushClosing(*kept.storage);
        kept.storage.reset();
        it = entries.end();
    }
    if (it != entries.end()) {
        Entry& entry = it->second;
        if (entry.holders > 0 && (mode == OpenMode::Exclusive || entry.mode == OpenMode::Exclusive)) {
            throw EngineError(ErrorCode::FileLocked, QStringLiteral("Die Tabelle %1 wird bereits verwendet.")
                                                         .arg(QDir::toNativeSeparators(key)));
        }
        if (!scratch && entry.scratch) {
            // From now on the storage serves a user's cursor: the files get what the scratch cursors wrote, and
            // every later write is synced.
            entry.storage->flush();
            entry.storage->setScratch(false);
            entry.scratch = false;
        }
        ++entry.holders;
        return std::unique_ptr<Lease>(new Lease(key, entry.storage, mode, entry.leases));
    }
    TableStoragePtr storage = open();
    if (scratch)
        storage->setScratch(true);
    auto leases = std::make_shared<Lease::Holders>();
    entries.emplace(key, Entry{storage, 1, mode, leases, scratch, nextSerial()});
    return std::unique_ptr<Lease>(new Lease(key, std::move(storage), mode, std::move(leases)));
}

bool OpenTables::isOpen(const QString& key)
{
    const auto it = registry().find(key);
    return it != registry().end() && it->second.holders > 0;
}

void OpenTables::discardKept(const QString& key)
{
    auto& entries = registry();
    const auto it = entries.find(key);
    if (it == entries.end() || it->second.holders > 0)
        return;
    const TableStoragePtr storage = std::move(it->second.storage);
    entries.erase(it);
    storage->discardChanges();
}

std::optional<OpenTables::Version> OpenTables::version(const QString& key)
{
    const auto it = registry().find(key);
    if (it == registry().end())
        return std::nullopt;
    return Version{it->second.serial, it->second.storage->changeCount()};
}

}  // namespace db
