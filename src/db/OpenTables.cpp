#include "db/OpenTables.h"

#include "db/EngineError.h"
#include "db/TableFormat.h"

#include <QDir>
#include <QFileInfo>
#include <map>

namespace db {

namespace {

struct Entry {
    TableStoragePtr storage;
    int holders = 0;
    OpenMode mode = OpenMode::Shared;
    std::shared_ptr<std::vector<OpenTables::Lease*>> leases;
};

// The program works on one thread (the user-interface thread), so the registry needs no lock of its own. It is
// never destroyed: a table object that lives until the program's static objects go still finds it when it closes.
std::map<QString, Entry>& registry()
{
    static auto* entries = new std::map<QString, Entry>;
    return *entries;
}

}  // namespace

OpenTables::Lease::Lease(QString key, TableStoragePtr storage, OpenMode mode, std::shared_ptr<Holders> holders)
    : key_(std::move(key)), storage_(std::move(storage)), mode_(mode), holders_(std::move(holders))
{
    holders_->push_back(this);
}

OpenTables::Lease::~Lease()
{
    try {
        release();
    } catch (const std::exception& e) {
        qWarning("Closing table %s failed: %s", qUtf8Printable(key_), e.what());
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
    // The last holder closes the files: the entry goes first, so that a failing flush cannot leave the table
    // registered as open forever.
    TableStoragePtr storage = std::move(it->second.storage);
    entries.erase(it);
    storage_.reset();
    storage->flush();
}

void OpenTables::Lease::aboutToWrite() const
{
    if (!held_ || holders_->size() < 2)
        return;
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
                                                       const std::function<TableStoragePtr()>& open)
{
    auto& entries = registry();
    const auto it = entries.find(key);
    if (it != entries.end()) {
        if (mode == OpenMode::Exclusive || it->second.mode == OpenMode::Exclusive) {
            throw EngineError(ErrorCode::FileLocked, QStringLiteral("Die Tabelle %1 wird bereits verwendet.")
                                                         .arg(QDir::toNativeSeparators(key)));
        }
        ++it->second.holders;
        return std::unique_ptr<Lease>(new Lease(key, it->second.storage, mode, it->second.leases));
    }
    TableStoragePtr storage = open();
    auto leases = std::make_shared<Lease::Holders>();
    entries.emplace(key, Entry{storage, 1, mode, leases});
    return std::unique_ptr<Lease>(new Lease(key, std::move(storage), mode, std::move(leases)));
}

bool OpenTables::isOpen(const QString& key)
{
    return registry().count(key) > 0;
}

}  // namespace db
