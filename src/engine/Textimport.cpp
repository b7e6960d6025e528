#include "engine/Textimport.h"

#include "db/BatchMove.h"
#include "db/EngineError.h"
#include "db/FileNames.h"
#include "db/OpenTables.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/EngineContext.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "platform/UserInterface.h"
#include "rtl/CodePages.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace engine {

namespace {

constexpr int StagingFieldSize = 255;
const QString StagingFileName = QStringLiteral("ZSP.db");

// A record that holds more values than the staging table has fields.
struct LineFault {};

// Creates the table from its field definitions, replacing a table of that name. The old one is deleted first: the
// engine's own replacement refuses while it checks the old file's lock twice.
void createReplacing(db::Table& table)
{
    try {
        table.DeleteTable();
    } catch (const db::EngineError& e) {
        if (e.code() != db::ErrorCode::TableNotFound)
            throw;
    }
    table.CreateTable();
}

// The answer to a line the staging table could not take; false when the reading is to stop. The pending record
// keeps what was stored before the fault unless the line is to be ignored.
bool keepGoingAfterFault(StagingFiller& staging, const QString& line, bool& ignoreAllFaulty,
                         TextReadProgress& progress)
{
    if (rtl::Trim(line).isEmpty())
        return true;
    if (ignoreAllFaulty) {
        staging.cancel();
        return true;
    }
    progress.showNow();
    switch (progress.lineFaulty(line)) {
    case LineFaultAnswer::IgnoreLine:
        staging.cancel();
        return true;
    case LineFaultAnswer::IgnoreAll:
        staging.cancel();
        ignoreAllFaulty = true;
        return true;
    case LineFaultAnswer::KeepFitted:
        return true;
    case LineFaultAnswer::Stop:
        return false;
    }
    return false;
}

}  // namespace

// The records of one reading, each value in the staging table's code page behind a byte that says how long it is
// (a staging field holds at most 255 characters). They lie one after the other in blocks, which the move into the
// source table gives back as it goes, so that the records are never held twice. A large file's records would fill
// the memory: the blocks past the first memoryBytes go to a scratch file beside the staging table, which is read
// back once, in order, and removed with the rows on every way out.
struct StagedRows {
    StagedRows(int fieldCount, std::size_t memoryBytes, const QString& folder)
        : fields(fieldCount),
          longest(static_cast<std::size_t>(fieldCount), 1),
          blockBytes(std::clamp<std::size_t>(memoryBytes / 32, 64, std::size_t(1) << 20)),
          headBlocks(memoryBytes / blockBytes),
          folder(folder)
    {}

    void add(const std::vector<std::string>& values)
    {
        std::size_t need = values.size();
        for (const std::string& value : values)
            need += static_cast<std::size_t>(value.size());
        if (current.capacity() - current.size() < need) {
            setCurrentAside();
            current.reserve(std::max(blockBytes, need));
        }
        std::size_t at = current.size();
        current.resize(at + need);
        char* out = current.data();
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::string& value = values[i];
            const std::size_t length = value.size();
            out[at++] = static_cast<char>(static_cast<unsigned char>(length));
            if (length > 0)
                std::memcpy(out + at, value.data(), length);
            at += length;
            longest[i] = std::max(longest[i], static_cast<int>(length));
        }
        ++count;
    }

    // The texts of the next staged record, fieldCount of them, in the order the records came, each record once;
    // false after the last. The blocks are given back as the records are taken; the texts stay valid until the
    // next call.
    bool nextRecord(QByteArrayView* texts)
    {
        while (at_ == end_) {
            const std::vector<char>* block = nextBlock();
            if (!block)
                return false;
            at_ = block->data();
            end_ = at_ + block->size();
        }
        for (int i = 0; i < fields; ++i) {
            const auto length = static_cast<unsigned char>(*at_++);
            texts[i] = QByteArrayView(at_, length);
            at_ += length;
        }
        return true;
    }

    // The path of the scratch file, while there is one.
    QString scratchPath() const { return scratch ? scratch->fileName() : QString(); }

    int fields;
    std::vector<int> longest;  // each at least 1
    qint64 count = 0;

private:
    void setCurrentAside()
    {
        if (current.empty())
            return;
        if (head.size() < headBlocks) {
            head.push_back(std::move(current));
            current = {};
            return;
        }
        if (!scratch) {
            scratch = std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral("ZSP-XXXXXX.tmp")));
            if (!scratch->open())
                throw scratchFault();
        }
        const quint64 size = current.size();
        if (scratch->write(reinterpret_cast<const char*>(&size), sizeof size) != sizeof size ||
            scratch->write(current.data(), static_cast<qint64>(size)) != static_cast<qint64>(size))
            throw scratchFault();
        ++spilled;
        current.clear();
    }

    // The next block in the order the records came, or nullptr after the last; the one handed out before is given
    // back.
    const std::vector<char>* nextBlock()
    {
        if (phase_ == Phase::Head) {
            if (headHanded_)
                head.pop_front();
            if (!head.empty()) {
                headHanded_ = true;
                return &head.front();
            }
            phase_ = Phase::Scratch;
            if (scratch && (!scratch->flush() || !scratch->seek(0)))
                throw scratchFault();
        }
        if (phase_ == Phase::Scratch) {
            if (readBack_ < spilled) {
                quint64 size = 0;
                if (scratch->read(reinterpret_cast<char*>(&size), sizeof size) != sizeof size)
                    throw scratchFault();
                readBlock_.resize(static_cast<std::size_t>(size));
                if (scratch->read(readBlock_.data(), static_cast<qint64>(size)) != static_cast<qint64>(size))
                    throw scratchFault();
                ++readBack_;
                return &readBlock_;
            }
            scratch.reset();
            readBlock_ = {};
            phase_ = Phase::Current;
            return &current;
        }
        if (phase_ == Phase::Current) {
            current = {};
            phase_ = Phase::Done;
        }
        return nullptr;
    }

    EInOutError scratchFault() const
    {
        const QString name = scratch ? scratch->fileName() : QDir(folder).filePath(QStringLiteral("ZSP-*.tmp"));
        const QString reason = scratch ? scratch->errorString() : QString();
        return EInOutError(QStringLiteral("Die Zwischendatei %1 der eingelesenen Werte kann nicht geschrieben oder "
                                          "gelesen werden: %2")
                               .arg(QDir::toNativeSeparators(name), reason));
    }

    std::size_t blockBytes;
    std::size_t headBlocks;
    QString folder;
    std::deque<std::vector<char>> head;       // the first blocks, kept in memory
    std::unique_ptr<QTemporaryFile> scratch;  // the blocks after them but the last, each behind its size
    qint64 spilled = 0;
    std::vector<char> current;  // the last block, being filled
    // Reading back.
    enum class Phase { Head, Scratch, Current, Done };
    Phase phase_ = Phase::Head;
    bool headHanded_ = false;
    qint64 readBack_ = 0;
    std::vector<char> readBlock_;
    const char* at_ = nullptr;
    const char* end_ = nullptr;
};

StagedRecords::StagedRecords() = default;
StagedRecords::~StagedRecords() = default;

void StagedRecords::setMemoryBound(std::size_t bytes)
{
    memoryBound_ = bytes;
}

QString StagedRecords::scratchPath() const
{
    return rows_ ? rows_->scratchPath() : QString();
}

void StagedRecords::clear()
{
    rows_.reset();
    key_.clear();
}

void StagedRecords::keep(const QString& stagingPath, std::unique_ptr<StagedRows> rows)
{
    key_ = db::OpenTables::keyFor(stagingPath);
    rows_ = std::move(rows);
}

std::unique_ptr<StagedRows> StagedRecords::take(const QString& stagingPath)
{
    std::unique_ptr<StagedRows> rows;
    if (rows_ && key_ == db::OpenTables::keyFor(stagingPath))
        rows = std::move(rows_);
    clear();
    return rows;
}

namespace {

// Windows-1252 byte to character.
const std::array<char16_t, 256>& ansiCharacters()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = rtl::toUnicode(static_cast<unsigned char>(b), rtl::CodePage::Windows1252);
        return t;
    }();
    return table;
}

// Appends the staged records below the cursors of the open table, their bytes as they are, where its storage can
// take them so; false when it cannot.
bool appendStagedBytes(db::Table& table, StagedRows& rows, TextReadProgress* progress)
{
    if (table.Exclusive())
        return false;
    const std::unique_ptr<db::OpenTables::Lease> lease = db::OpenTables::acquire(
        db::OpenTables::keyFor(table.filePath()), db::OpenMode::Shared, [] { return db::TableStoragePtr(); },
        table.Scratch());
    db::TableStorage& storage = *lease->storage();
    if (!storage.appendsTextBytes(static_cast<int>(rtl::CodePage::Windows1252), rows.fields))
        return false;
    lease->aboutToWrite();
    storage.writeTextBytesTable(rows.count, rows.fields, [&](QByteArrayView* texts) {
        if (!rows.nextRecord(texts))
            throw std::logic_error("fewer staged records than counted");
        if (progress)
            progress->sizingStep();
    });
    return true;
}

// Appends the staged records to the open table, field i of a record into field i, each record once, giving the
// staged blocks back as they are used up.
void appendStaged(db::Table& table, StagedRows& rows, TextReadProgress* progress)
{
    if (appendStagedBytes(table, rows, progress))
        return;
    const auto& characters = ansiCharacters();
    std::vector<db::Field*> fields;
    for (int i = 0; i < rows.fields && i < table.FieldCount(); ++i)
        fields.push_back(table.Fields(i));
    QString value;
    std::vector<QByteArrayView> texts(static_cast<std::size_t>(rows.fields));
    while (rows.nextRecord(texts.data())) {
        table.Append();
        for (int i = 0; i < rows.fields; ++i) {
            const QByteArrayView text = texts[static_cast<std::size_t>(i)];
            if (!text.isEmpty() && static_cast<std::size_t>(i) < fields.size()) {
                value.resize(text.size());
                QChar* out = value.data();
                for (qsizetype c = 0; c < text.size(); ++c)
                    out[c] = QChar(characters[static_cast<unsigned char>(text[c])]);
                fields[static_cast<std::size_t>(i)]->setAsString(value);
            }
        }
        table.Post();
        if (progress)
            progress->sizingStep();
    }
}

bool fitsAnsi(QChar ch)
{
    return ch.unicode() < 0x80 || rtl::toByte(ch.unicode(), rtl::CodePage::Windows1252) >= 0;
}

// The value as the staging table holds it (see StagingFiller); adds the characters it replaced to replaced.
QString storable(const QString& value, bool fromDos, int& replaced)
{
    if (fromDos) {
        // The conversion turns what Windows-1252 cannot show into "?"; a "?" of the file stays one.
        QString converted = OemToAnsiStr(value);
        replaced += static_cast<int>(converted.count(u'?') - value.count(u'?'));
        return converted;
    }
    const qsizetype n = value.size();
    qsizetype i = 0;
    while (i < n && fitsAnsi(value[i]))
        ++i;
    if (i == n)
        return value;
    QString out = value.left(i);
    for (; i < n; ++i) {
        const QChar ch = value[i];
        if (fitsAnsi(ch)) {
            out += ch;
            continue;
        }
        ++replaced;
        out += u'?';
        // A character beyond the first 65536 is one character, not two.
        if (ch.isHighSurrogate() && i + 1 < n && value[i + 1].isLowSurrogate())
            ++i;
    }
    return out;
}

}  // namespace

void ReportTextReadChanges(const TextReadResult& result)
{
    if (result.cutValues == 0 && result.replacedCharacters == 0)
        return;
    QString text = texts::Text(61300);
    if (result.cutValues > 0)
        text += QStringLiteral("\r\n\r\n") + texts::Format(texts::Text(61301), {IntToStrThousands(result.cutValues)});
    if (result.replacedCharacters > 0) {
        text += QStringLiteral("\r\n\r\n") +
                texts::Format(texts::Text(61302), {IntToStrThousands(result.replacedCharacters)});
    }
    platform::MessageBox(platform::MessageType::Warning, text, platform::Buttons::Ok);
}

StagingFiller::StagingFiller(db::Table& staging, StagedRecords& staged, bool fromDos)
    : staging_(staging), staged_(staged), fromDos_(fromDos)
{
    staged_.clear();
    // Open while the reading goes, so that it finds the fields as the table has them, and nobody else changes it.
    staging_.Open();
    for (int i = 0; i < staging_.FieldCount(); ++i)
        sizes_.push_back(std::min(staging_.Fields(i)->Size(), 255));
    pending_.resize(sizes_.size());
    rows_ = std::make_unique<StagedRows>(fieldCount(), staged_.memoryBound(),
                                         QFileInfo(staging_.filePath()).absolutePath());
}

StagingFiller::~StagingFiller()
{
    try {
        staging_.Close();
    } catch (...) {
    }
}

void StagingFiller::keepPending()
{
    if (pendingOpen_ && pendingSet_) {
        rows_->add(pending_);
        result_.cutValues += pendingResult_.cutValues;
        result_.replacedCharacters += pendingResult_.replacedCharacters;
    }
    for (std::string& value : pending_)
        value.clear();
    pendingResult_ = {};
    pendingOpen_ = false;
    pendingSet_ = false;
}

void StagingFiller::append()
{
    keepPending();
    pendingOpen_ = true;
}

void StagingFiller::set(int field, const QString& value)
{
    const auto i = static_cast<std::size_t>(field);
    const QString text = storable(value, fromDos_, pendingResult_.replacedCharacters);
    std::string& bytes = pending_[i];
    bytes.resize(static_cast<std::size_t>(text.size()));
    bytes.resize(static_cast<std::size_t>(rtl::encodeTo(text, rtl::CodePage::Windows1252, bytes.data())));
    if (bytes.size() > static_cast<std::size_t>(sizes_[i])) {
        ++pendingResult_.cutValues;
        bytes.resize(static_cast<std::size_t>(sizes_[i]));
    }
    pendingSet_ = true;
}

void StagingFiller::setBytes(int field, QByteArrayView value)
{
    // Bytes of a DOS file are read as code page 850 and kept as what Windows-1252 can show, as OemToAnsiStr does.
    static const std::array<char, 256> fromDos = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const int ansi = rtl::toByte(rtl::toUnicode(static_cast<unsigned char>(b), rtl::CodePage::Oem850),
                                         rtl::CodePage::Windows1252);
            t[static_cast<std::size_t>(b)] = ansi < 0 ? '?' : static_cast<char>(ansi);
        }
        return t;
    }();
    const auto i = static_cast<std::size_t>(field);
    std::string& bytes = pending_[i];
    const qsizetype n = value.size();
    const qsizetype kept = std::min<qsizetype>(n, sizes_[i]);
    if (fromDos_) {
        bytes.resize(static_cast<std::size_t>(kept));
        // Every character of the value counts, those cut off included.
        for (qsizetype c = 0; c < n; ++c) {
            const char ansi = fromDos[static_cast<unsigned char>(value[c])];
            if (ansi == '?' && value[c] != '?')
                ++pendingResult_.replacedCharacters;
            if (c < kept)
                bytes[static_cast<std::size_t>(c)] = ansi;
        }
    } else {
        // An empty value may come with no bytes behind it at all (a null pointer), which assign copes with.
        bytes.assign(value.constData(), static_cast<std::size_t>(kept));
    }
    if (n > kept)
        ++pendingResult_.cutValues;
    pendingSet_ = true;
}

void StagingFiller::cancel()
{
    pendingOpen_ = false;
    keepPending();
}

void StagingFiller::finish()
{
    keepPending();
    staging_.Close();
    staged_.keep(staging_.filePath(), std::move(rows_));
}

QString TextWithLine(int textId, const QString& line)
{
    QString text = texts::Text(textId);
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, line);
    return text;
}

// ---- staging ----

QString StagingTablePath(const EngineContext& engine)
{
    return engine.TempFolder() + StagingFileName;
}

QString SourceTablePath(const EngineContext& engine, const QString& sourceFile)
{
    return engine.TempFolder() + QFileInfo(sourceFile).completeBaseName() + QStringLiteral(".db");
}

void CreateStagingTable(db::Table& staging, StagedRecords& staged, const QString& path, const QStringList& headers)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    staged.clear();
    staging.Close();
    // Built anew from the text file for every reading and deleted by the sizing: it need not reach the disk.
    staging.setScratch(true);
    staging.setTableType(db::ttParadox);
    staging.setTableName(path);
    staging.FieldDefs().Clear();
    for (const QString& header : headers) {
        if (!header.isEmpty())
            staging.FieldDefs().Add(header, db::FieldType::ftString, StagingFieldSize, false);
    }
    createReplacing(staging);
}

namespace {

// The physical line as the question about it shows it.
QString shownLine(const QString& line)
{
    return line;
}
QString shownLine(const QByteArray& line)
{
    return rtl::decode(line, rtl::CodePage::Windows1252);
}

// The records of a separated file into the filler: Line is a QString, or the QByteArray of a file read one byte a
// character, cut by Rules of the same kind.
template <class Line, class Rules>
void readSeparatedRecords(TextLineReader& reader, StagingFiller& filler, const Rules& rules,
                          const SeparatedReading& reading, TextReadProgress& progress)
{
    Line line;
    if (reading.firstLineHoldsNames)
        reader.readLine(line);
    const bool commaOn = reading.separators.contains(u',');
    const bool semicolonOn = reading.separators.contains(u';');
    const int fieldCount = filler.fieldCount();
    const auto store = [&](int column, auto& value, bool) {
        if (column >= fieldCount)
            throw LineFault{};
        if constexpr (std::is_same_v<Line, QByteArray>)
            filler.setBytes(column, QByteArrayView(value.data(), static_cast<qsizetype>(value.size())));
        else
            filler.set(column, value);
        return true;
    };

    bool ignoreAllFaulty = false;
    while (!reader.atEnd() && !progress.cancelled()) {
        reader.readLine(line);
        // Only an empty line holds no record; a line of one character is a value like any other.
        if (line.isEmpty())
            continue;
        // A separator closing the line would only give an empty last value.
        if ((line.back() == ',' && commaOn) || (line.back() == ';' && semicolonOn))
            line.chop(1);
        filler.append();
        bool stop = false;
        try {
            scanRecord(line, reader, rules, store);
        } catch (const LineFault&) {
            stop = !keepGoingAfterFault(filler, shownLine(line), ignoreAllFaulty, progress);
        } catch (const db::EngineError&) {
            stop = !keepGoingAfterFault(filler, shownLine(line), ignoreAllFaulty, progress);
        }
        progress.recordRead();
        if (stop)
            break;
    }
}

}  // namespace

TextReadResult ReadSeparatedFile(const QString& path, db::Table& staging, StagedRecords& staged,
                                 const SeparatedReading& reading, TextReadProgress& progress)
{
    TextLineReader reader(path, reading.dosToWin);
    EmptyTableExclusive(staging);
    // A file read one byte a character is cut as its bytes, which go into the staging table's code page as they
    // are: no character is made of them on the way.
    const bool asBytes = reader.decideEncoding() == TextEncoding::Ansi;
    // A file that says it is Unicode holds no DOS bytes to convert.
    StagingFiller filler(staging, staged, reading.dosToWin && asBytes);
    progress.readingStarts();
    if (asBytes)
        readSeparatedRecords<QByteArray>(reader, filler, ByteScanRules(reading.separators, reading.qualifier),
                                         reading, progress);
    else
        readSeparatedRecords<QString>(reader, filler, ScanRules(reading.separators, reading.qualifier), reading,
                                      progress);
    filler.finish();
    progress.showNow();
    if (filler.result().cutValues > 0 || filler.result().replacedCharacters > 0)
        progress.valuesChanged(filler.result());
    return filler.result();
}

TextReadResult ReadWholeLines(const QString& path, db::Table& staging, StagedRecords& staged, bool firstLineHoldsNames,
                              bool dosToWin, TextReadProgress& progress)
{
    TextLineReader reader(path, dosToWin);
    EmptyTableExclusive(staging);
    const bool asBytes = reader.decideEncoding() == TextEncoding::Ansi;
    StagingFiller filler(staging, staged, dosToWin && asBytes);
    progress.readingStarts();
    staging.Fields(0);  // raises for a table without fields before the first record is appended
    const auto readLines = [&](auto& line) {
        if (firstLineHoldsNames)
            reader.readLine(line);
        while (!progress.cancelled() && reader.readLine(line)) {
            filler.append();
            if constexpr (std::is_same_v<std::decay_t<decltype(line)>, QByteArray>)
                filler.setBytes(0, line);
            else
                filler.set(0, line);
            progress.recordRead();
        }
    };
    if (asBytes) {
        QByteArray line;
        readLines(line);
    } else {
        QString line;
        readLines(line);
    }
    filler.finish();
    progress.showNow();
    if (filler.result().cutValues > 0 || filler.result().replacedCharacters > 0)
        progress.valuesChanged(filler.result());
    progress.wholeLinesDone();
    return filler.result();
}

// ---- sizing ----

std::vector<int> MaxFieldLengths(db::Table& table, TextReadProgress* progress)
{
    std::vector<int> lengths(static_cast<std::size_t>(table.FieldCount()), 1);
    const int records = table.RecordCount();
    for (int index = 0; index < records; ++index) {
        const db::Record record = table.recordAt(index);
        for (std::size_t i = 0; i < lengths.size() && i < record.size(); ++i) {
            if (record[i].isValid())
                lengths[i] = std::max<int>(lengths[i], static_cast<int>(record[i].toString().size()));
        }
        if (progress)
            progress->sizingStep();
    }
    return lengths;
}

std::uint16_t MaxFeldLaenge(db::Table& Table, const QString& FieldName, TextReadProgress* progress)
{
    const db::Field* field = Table.FieldByName(FieldName);
    const std::size_t index = static_cast<std::size_t>(field->Index());
    int longest = 1;
    const int records = Table.RecordCount();
    for (int i = 0; i < records; ++i) {
        const db::Record record = Table.recordAt(i);
        if (index < record.size() && record[index].isValid())
            longest = std::max<int>(longest, static_cast<int>(field->textOf(record[index]).size()));
        if (progress)
            progress->sizingStep();
    }
    return static_cast<std::uint16_t>(std::min(longest, 0xFFFF));
}

namespace {

bool samePath(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath().compare(QFileInfo(b).absoluteFilePath(), Qt::CaseInsensitive) == 0;
}

// A source file called zsp.txt would give a source table of the staging table's own name; the staging table then
// moves aside first, so that creating the one does not destroy the other.
void moveStagingAside(db::Table& staging)
{
    const QFileInfo info(staging.filePath());
    const QDir dir = info.absoluteDir();
    const QString base = info.completeBaseName();
    const QString aside = base + QStringLiteral("_Staging");
    staging.Close();
    // The files move to another name: they must hold the records first, and the process may keep none of them
    // under the old name. An open without the scratch flag writes them and ends the keeping.
    staging.setScratch(false);
    staging.Open();
    staging.Close();
    for (const QString& path : db::filesOfBaseName(dir.path(), base)) {
        const QFileInfo file(path);
        const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
        const QString target = dir.filePath(aside + suffix);
        QFile::remove(target);
        if (!QFile::rename(path, target)) {
            throw EInOutError(
                QStringLiteral("Die Datei %1 kann nicht umbenannt werden.").arg(QDir::toNativeSeparators(path)));
        }
    }
    staging.setTableName(dir.filePath(aside + u'.' + info.suffix()));
    staging.setScratch(true);
}

}  // namespace

void DefineFieldSizes(db::Table& staging, StagedRecords& staged, db::Table& source, const QString& sourcePath,
                      db::BatchMove& mover, TextReadProgress& progress)
{
    progress.sizingStarts();
    // The records the reading staged come first; whatever the staging table holds itself (nothing, unless somebody
    // wrote into it since) follows them.
    std::unique_ptr<StagedRows> rows;
    if (!staging.Active())
        rows = staged.take(staging.filePath());
    if (samePath(staging.filePath(), sourcePath))
        moveStagingAside(staging);
    source.Close();
    source.setTableType(db::ttParadox);
    source.setTableName(sourcePath);
    source.FieldDefs().Clear();
    staging.Open();
    if (rows && rows->fields != staging.FieldCount())
        rows.reset();
    std::vector<int> lengths = MaxFieldLengths(staging, &progress);
    for (int i = 0; i < staging.FieldCount(); ++i) {
        const auto f = static_cast<std::size_t>(i);
        if (rows)
            lengths[f] = std::max(lengths[f], rows->longest[f]);
        source.FieldDefs().Add(staging.Fields(i)->FieldName(), db::FieldType::ftString, lengths[f], false);
    }
    createReplacing(source);
    if (rows) {
        source.Open();
        source.CheckRoomFor(rows->count + staging.RecordCount());
        source.DisableControls();
        try {
            appendStaged(source, *rows, &progress);
        } catch (...) {
            rows.reset();
            source.Cancel();
            source.EnableControls();
            source.Close();
            throw;
        }
        rows.reset();
        source.EnableControls();
        source.Close();
    }
    mover.setSource(&staging);
    mover.setDestination(&source);
    mover.setMode(db::batAppend);
    mover.Execute();
    staging.Close();
    staging.DeleteTable();
    progress.sizingDone();
}

}  // namespace engine
