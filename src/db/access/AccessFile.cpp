#include "db/access/AccessFile.h"

#include "db/ByteOrder.h"
#include "db/EngineError.h"
#include "db/access/AccessHeader.h"
#include "db/access/IsolatedRun.h"

#include <QDataStream>
#include <QFileInfo>
#include <QIODevice>

#include <mdbtools.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace db::access {

namespace {

// Frames a table read sends: the columns once, then batches of rows.
constexpr char kColumnsFrame = 'C';
constexpr char kRowsFrame = 'R';
constexpr int kRowsPerFrame = 256;
constexpr qsizetype kBytesPerFrame = 256 * 1024;

constexpr int kMsysObjectsPage = 2;   // the object table's definition always sits on page 2
constexpr int kLvalHeaderSize = 12;   // memo and OLE values start with a 12-byte reference
constexpr std::size_t kOleBindSize = 65536;

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString damagedMessage(const QString& path)
{
    return QStringLiteral("Die Access-Datenbank \"%1\" ist beschädigt und kann nicht gelesen werden.")
        .arg(displayName(path));
}

EngineError damagedTable(const QString& path, const QString& table)
{
    return EngineError(ErrorCode::CorruptFile,
                       QStringLiteral("Die Tabelle \"%1\" der Access-Datenbank \"%2\" ist beschädigt und kann nicht "
                                      "vollständig gelesen werden.")
                           .arg(table, displayName(path)));
}

IsolationLimits limitsFor(const QString& path)
{
    IsolationLimits limits;
    limits.idleTimeoutMs = isolationIdleTimeoutMs();
    // Every value sent comes from bytes of the file; a few dozen times its size leaves room for the wider
    // transfer format, and stops a child that repeats itself without end.
    limits.maxOutputBytes = QFileInfo(path).size() * 64 + (qint64(64) << 20);
    return limits;
}

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableDefCloser {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefCloser>;

// --- the part that runs in the child process ---------------------------------------------------------------

MdbPtr openDatabase(const QString& path)
{
    const QByteArray native = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    MdbPtr mdb(mdb_open(native.constData(), MDB_NOFLAGS));
    if (!mdb)
        throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
    return mdb;
}

MdbColumn* columnAt(MdbTableDef* table, unsigned i)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

// Opens a table through a catalog entry of our own; the entry must outlive the table definition.
TableDefPtr openTableDef(MdbCatalogEntry& entry, const QString& path)
{
    TableDefPtr table(mdb_read_table(&entry));
    if (!table || !mdb_read_columns(table.get()) || !table->columns || table->columns->len != table->num_cols)
        throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
    return table;
}

void fillEntry(MdbCatalogEntry& entry, MdbHandle* mdb, const char* name, unsigned long page)
{
    std::memset(&entry, 0, sizeof entry);
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = page;
    std::snprintf(entry.object_name, sizeof entry.object_name, "%s", name);
}

struct RawCatalogObject {
    CatalogObject object;
    unsigned long definitionPage = 0;
};

// Reads the object table directly rather than through the library's catalog, which would also decode every
// object's property blob (more of the file to trust) and folds the object type to seven bits, so that ODBC links
// and reports look alike.
std::vector<RawCatalogObject> readObjects(MdbHandle* mdb, const QString& path)
{
    MdbCatalogEntry entry;
    fillEntry(entry, mdb, "MSysObjects", kMsysObjectsPage);
    TableDefPtr table = openTableDef(entry, path);

    std::vector<std::vector<char>> buffers(4, std::vector<char>(mdb->bind_size + 1, 0));
    const char* names[] = {"Id", "Name", "Type", "Flags"};
    for (int i = 0; i < 4; ++i)
        if (mdb_bind_column_by_name(table.get(), const_cast<gchar*>(names[i]), buffers[i].data(), nullptr) == -1)
            throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));

    std::vector<RawCatalogObject> objects;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        RawCatalogObject raw;
        raw.definitionPage = QByteArray(buffers[0].data()).toULong() & 0x00FFFFFF;
        raw.object.name = QString::fromUtf8(buffers[1].data());
        raw.object.type = QByteArray(buffers[2].data()).toInt();
        raw.object.flags = quint32(QByteArray(buffers[3].data()).toLongLong());
        objects.push_back(std::move(raw));
    }
    // A catalog page the library could not read would silently drop tables from every list.
    if (objects.empty() || objects.size() < table->num_rows)
        throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
    return objects;
}

AccessColumn describeColumn(const MdbColumn* col, bool jet3)
{
    AccessColumn column;
    column.name = QString::fromUtf8(col->name);
    column.type = col->col_type;
    column.autoNumber = col->is_long_auto != 0;
    if (col->col_type == AccessType::Text)
        column.length = jet3 ? col->col_size : col->col_size / 2;  // Jet 4 counts bytes of UCS-2
    else
        column.length = col->col_size;
    return column;
}

QString takeLibraryString(char* text)
{
    if (!text)
        return {};
    const QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
}

// Reads the value of one column of the row just fetched, straight from the stored bytes where the library's
// text form would lose something (doubles, dates, binary data cut at a zero byte).
QVariant readValue(MdbHandle* mdb, MdbColumn* col, const QString& path, const QString& tableName)
{
    if (col->col_type == AccessType::Boolean)
        return QVariant(col->cur_value_len == 0);  // the library keeps the inverted null bit here

    const int start = col->cur_value_start;
    const int length = col->cur_value_len;
    if (length == 0)
        return {};
    if (start < 0 || length < 0 || std::size_t(start) + std::size_t(length) > std::size_t(mdb->fmt->pg_size))
        throw damagedTable(path, tableName);
    const unsigned char* p = mdb->pg_buf + start;
    const auto need = [&](int bytes) {
        if (length < bytes)
            throw damagedTable(path, tableName);
    };

    switch (col->col_type) {
    case AccessType::Byte:
        need(1);
        return QVariant(int(p[0]));
    case AccessType::Integer:
        need(2);
        return QVariant(int(std::int16_t(getU16(p))));
    case AccessType::LongInteger:
    case 0x12:  // attachment and multi-value columns carry a 32-bit id
        need(4);
        return QVariant(int(std::int32_t(getU32(p))));
    case AccessType::Currency:
        need(8);
        return QVariant(double(std::int64_t(getU64(p))) / 10000.0);
    case AccessType::Single: {
        need(4);
        const std::uint32_t bits = std::uint32_t(getU32(p));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return QVariant(double(f));
    }
    case AccessType::Double: {
        need(8);
        const std::uint64_t bits = getU64(p);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return QVariant(d);
    }
    case AccessType::DateTime: {
        need(8);
        const std::uint64_t bits = getU64(p);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        const QDateTime when = accessDateToDateTime(d);
        if (!when.isValid())
            throw EngineError(ErrorCode::CorruptFile,
                              QStringLiteral("Die Tabelle \"%1\" der Access-Datenbank \"%2\" enthält im Feld "
                                             "\"%3\" ein ungültiges Datum.")
                                  .arg(tableName, displayName(path), QString::fromUtf8(col->name)));
        return QVariant(when);
    }
    case AccessType::Binary:
        return QVariant(QByteArray(reinterpret_cast<const char*>(p), length));
    case AccessType::Text: {
        const QString text = takeLibraryString(mdb_col_to_string(mdb, mdb->pg_buf, start, MDB_TEXT, length));
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case AccessType::Memo: {
        if (length < kLvalHeaderSize)
            return {};
        // The library converts into a buffer of bind_size bytes; make it large enough for this memo (a stored
        // byte never becomes more than three bytes of UTF-8) and no larger.
        const std::uint64_t stored = getU32(p) & 0x3FFFFFFF;
        const std::size_t saved = mdb->bind_size;
        const std::size_t needed = std::max<std::size_t>(saved, std::size_t(stored) * 3 + 64);
        mdb_set_bind_size(mdb, needed);
        const QString text = takeLibraryString(mdb_col_to_string(mdb, mdb->pg_buf, start, MDB_MEMO, length));
        mdb_set_bind_size(mdb, saved);
        // The library answers a long-value page it cannot find with an empty text; a memo that has a length is
        // never empty.
        if (text.isEmpty() && stored > 0)
            throw damagedTable(path, tableName);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case AccessType::Ole: {
        if (length < kLvalHeaderSize)
            return {};
        const std::uint64_t stored = getU32(p) & 0x3FFFFFFF;
        std::size_t size = 0;
        void* data = mdb_ole_read_full(mdb, col, &size);
        if (!data)
            throw damagedTable(path, tableName);
        if (size != stored) {  // a page of the chain was missing or the chain ran in a circle
            std::free(data);
            throw damagedTable(path, tableName);
        }
        QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
        std::free(data);
        return bytes.isEmpty() ? QVariant() : QVariant(bytes);
    }
    case AccessType::ReplicationId: {
        // The usual GUID text, as Access shows it: the first three groups are stored little-endian.
        need(16);
        return QVariant(QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                                          unsigned(getU32(p)), unsigned(getU16(p + 4)),
                                          unsigned(getU16(p + 6)), p[8], p[9], p[10], p[11], p[12], p[13], p[14],
                                          p[15]));
    }
    case AccessType::Decimal: {
        need(17);
        const QString text = takeLibraryString(mdb_numeric_to_string(mdb, start, col->col_scale, col->col_prec));
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok)
            throw damagedTable(path, tableName);
        return QVariant(value);
    }
    default:
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Das Feld \"%1\" der Access-Tabelle \"%2\" hat einen Datentyp (%3), der "
                                         "nicht gelesen werden kann.")
                              .arg(QString::fromUtf8(col->name), tableName)
                              .arg(col->col_type));
    }
}

const RawCatalogObject& findTable(const std::vector<RawCatalogObject>& objects, const QString& path,
                                  const QString& tableName)
{
    const RawCatalogObject* caseless = nullptr;
    for (const RawCatalogObject& raw : objects) {
        const bool isTable = raw.object.type == ObjectType::Table || raw.object.type == ObjectType::LinkedTable
                             || raw.object.type == ObjectType::OdbcLinkedTable;
        if (!isTable)
            continue;
        if (raw.object.name == tableName) {
            caseless = &raw;
            break;
        }
        if (!caseless && raw.object.name.compare(tableName, Qt::CaseInsensitive) == 0)
            caseless = &raw;
    }
    if (!caseless)
        throw EngineError(ErrorCode::TableNotFound,
                          QStringLiteral("Die Tabelle \"%1\" gibt es in der Access-Datenbank \"%2\" nicht.")
                              .arg(tableName, displayName(path)));
    if (caseless->object.type != ObjectType::Table)
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Tabelle \"%1\" ist mit einer anderen Datenbank verknüpft; ihre Daten "
                                         "stehen nicht in \"%2\". Bitte importieren Sie aus der Originaldatenbank.")
                              .arg(caseless->object.name, displayName(path)));
    return *caseless;
}

void sendTable(FrameWriter& writer, const QString& path, const QString& tableName)
{
    MdbPtr mdb = openDatabase(path);
    const bool jet3 = mdb->f->jet_version == MDB_VER_JET3;
    const std::vector<RawCatalogObject> objects = readObjects(mdb.get(), path);
    const RawCatalogObject& target = findTable(objects, path, tableName);
    const QByteArray name = target.object.name.toUtf8();

    MdbCatalogEntry entry;
    fillEntry(entry, mdb.get(), name.constData(), target.definitionPage);
    TableDefPtr table = openTableDef(entry, path);

    std::vector<AccessColumn> columns;
    for (unsigned i = 0; i < table->num_cols; ++i) {
        columns.push_back(describeColumn(columnAt(table.get(), i), jet3));
        fieldFor(columns.back());  // refuses a column type we cannot carry before any row is read
    }
    {
        QByteArray frame;
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << qint8(kColumnsFrame) << quint32(columns.size());
        for (const AccessColumn& c : columns)
            out << c.name << qint32(c.type) << qint32(c.length) << c.autoNumber;
        writer.send(frame);
    }

    // Only OLE columns are bound: the library needs a buffer to assemble them in; every other value is taken
    // from the page after the fetch.
    std::vector<std::vector<char>> oleBuffers;
    oleBuffers.reserve(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        MdbColumn* col = columnAt(table.get(), i);
        if (col->col_type == AccessType::Ole) {
            oleBuffers.emplace_back(kOleBindSize, 0);
            mdb_bind_column(table.get(), int(i) + 1, oleBuffers.back().data(), nullptr);
        }
    }

    QByteArray frame;
    std::unique_ptr<QDataStream> out;
    quint32 inFrame = 0;
    QByteArray rowsBytes;
    const auto flush = [&] {
        if (inFrame == 0)
            return;
        QByteArray head;
        QDataStream h(&head, QIODevice::WriteOnly);
        h << qint8(kRowsFrame) << inFrame;
        writer.send(head + rowsBytes);
        rowsBytes.clear();
        inFrame = 0;
    };

    unsigned fetched = 0;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        QDataStream rowOut(&rowsBytes, QIODevice::WriteOnly | QIODevice::Append);
        for (unsigned i = 0; i < table->num_cols; ++i)
            rowOut << readValue(mdb.get(), columnAt(table.get(), i), path, target.object.name);
        ++fetched;
        if (++inFrame >= kRowsPerFrame || rowsBytes.size() >= kBytesPerFrame)
            flush();
    }
    flush();
    // A data page the library could not read ends the scan early; the table's own count tells.
    if (fetched < table->num_rows)
        throw damagedTable(path, target.object.name);
}

}  // namespace

FieldDef fieldFor(const AccessColumn& column)
{
    FieldDef field;
    field.name = column.name;
    switch (column.type) {
    case AccessType::Boolean:
        field.type = FieldType::ftBoolean;
        break;
    case AccessType::Byte:
    case AccessType::Integer:
        field.type = FieldType::ftSmallint;
        break;
    case AccessType::LongInteger:
    case 0x12:
        field.type = FieldType::ftInteger;  // an AutoNumber keeps its values, so it is no AutoInc here
        break;
    case AccessType::Currency:
        field.type = FieldType::ftCurrency;
        break;
    case AccessType::Single:
    case AccessType::Double:
    case AccessType::Decimal:
        field.type = FieldType::ftFloat;
        break;
    case AccessType::DateTime:
        field.type = FieldType::ftDateTime;
        break;
    case AccessType::Binary:
        field.type = FieldType::ftBytes;
        field.size = std::clamp(column.length, 1, 255);
        break;
    case AccessType::Text:
        field.type = FieldType::ftString;
        field.size = std::clamp(column.length, 1, 255);
        break;
    case AccessType::Memo:
        field.type = FieldType::ftMemo;
        field.size = 10;
        break;
    case AccessType::Ole:
        field.type = FieldType::ftBlob;
        field.size = 10;
        break;
    case AccessType::ReplicationId:
        field.type = FieldType::ftString;
        field.size = 38;  // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}
        break;
    default:
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Das Feld \"%1\" hat einen Access-Datentyp (%2), der nicht gelesen werden "
                                         "kann.")
                              .arg(column.name)
                              .arg(column.type));
    }
    return field;
}

QDateTime accessDateToDateTime(double value)
{
    // Years 100 to 9999 are what Access itself accepts.
    constexpr double kFirst = -657434.0;
    constexpr double kLast = 2958466.0;
    if (!std::isfinite(value) || value < kFirst || value >= kLast)
        return {};
    double dayPart = std::trunc(value);
    const double fraction = std::fabs(value - dayPart);
    qint64 ms = std::llround(fraction * 86400000.0);
    qint64 day = qint64(dayPart);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++day;
    }
    const QDate date = QDate(1899, 12, 30).addDays(day);
    if (!date.isValid() || date.year() > 9999)
        return {};
    // UTC, because a wall-clock time that a daylight-saving change skips would be moved in local time.
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)), Qt::UTC);
}

std::vector<CatalogObject> readAccessCatalog(const QString& path)
{
    checkAccessHeader(path);
    std::vector<CatalogObject> result;
    runIsolated(
        [&](FrameWriter& writer) {
            MdbPtr mdb = openDatabase(path);
            const std::vector<RawCatalogObject> objects = readObjects(mdb.get(), path);
            QByteArray frame;
            QDataStream out(&frame, QIODevice::WriteOnly);
            out << quint32(objects.size());
            for (const RawCatalogObject& raw : objects)
                out << raw.object.name << qint32(raw.object.type) << raw.object.flags;
            writer.send(frame);
        },
        [&](const QByteArray& frame) {
            QDataStream in(frame);
            quint32 count = 0;
            in >> count;
            for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
                CatalogObject object;
                qint32 type = 0;
                in >> object.name >> type >> object.flags;
                object.type = type;
                result.push_back(std::move(object));
            }
            if (in.status() != QDataStream::Ok)
                throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
        },
        damagedMessage(path), limitsFor(path));
    return result;
}

void readAccessTable(const QString& path, const QString& tableName,
                     const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                     const std::function<void(Record&&)>& onRow)
{
    checkAccessHeader(path);
    std::size_t columnCount = 0;
    bool haveColumns = false;
    runIsolated([&](FrameWriter& writer) { sendTable(writer, path, tableName); },
                [&](const QByteArray& frame) {
                    QDataStream in(frame);
                    qint8 kind = 0;
                    in >> kind;
                    if (kind == kColumnsFrame && !haveColumns) {
                        quint32 count = 0;
                        in >> count;
                        std::vector<AccessColumn> columns;
                        for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
                            AccessColumn c;
                            qint32 type = 0;
                            qint32 length = 0;
                            in >> c.name >> type >> length >> c.autoNumber;
                            c.type = type;
                            c.length = length;
                            columns.push_back(std::move(c));
                        }
                        if (in.status() != QDataStream::Ok)
                            throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
                        columnCount = columns.size();
                        haveColumns = true;
                        onColumns(columns);
                    } else if (kind == kRowsFrame && haveColumns) {
                        quint32 rows = 0;
                        in >> rows;
                        for (quint32 r = 0; r < rows; ++r) {
                            Record record(columnCount);
                            for (QVariant& v : record)
                                in >> v;
                            if (in.status() != QDataStream::Ok)
                                throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
                            onRow(std::move(record));
                        }
                    } else {
                        throw EngineError(ErrorCode::CorruptFile, damagedMessage(path));
                    }
                },
                damagedMessage(path), limitsFor(path));
}

}  // namespace db::access
