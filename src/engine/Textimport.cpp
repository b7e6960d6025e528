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
#include <algorithm>
#include <memory>
#include <optional>

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

// The longest values of the staging table the last reading filled, with the records the process keeps of it: the
// staging table is a scratch table, so its records stay in the process, unwritten, until the sizing. A storage
// serial is never reused and every write moves the change count, so equal versions mean the very same records.
struct RememberedLengths {
    db::OpenTables::Version kept;
    std::vector<int> lengths;
};

std::optional<db::OpenTables::Version> keptVersion(const QString& path)
{
    return db::OpenTables::version(db::OpenTables::keyFor(path));
}

std::optional<RememberedLengths>& rememberedLengths()
{
    static std::optional<RememberedLengths> remembered;
    return remembered;
}

// The remembered longest values for the closed table at path, if the process still keeps the records the reading
// left; they are forgotten in any case, so they serve one sizing at most.
std::optional<std::vector<int>> takeRememberedLengths(const QString& path)
{
    std::optional<RememberedLengths>& remembered = rememberedLengths();
    std::optional<std::vector<int>> lengths;
    if (remembered && keptVersion(path) == remembered->kept)
        lengths = std::move(remembered->lengths);
    remembered.reset();
    return lengths;
}

}  // namespace

namespace {

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

StagingFiller::StagingFiller(db::Table& staging, bool fromDos) : staging_(staging), fromDos_(fromDos)
{
    rememberedLengths().reset();
    staging_.Open();
    for (int i = 0; i < staging_.FieldCount(); ++i) {
        fields_.push_back(staging_.Fields(i));
        sizes_.push_back(fields_.back()->Size());
    }
    pending_.assign(fields_.size(), 0);
    longest_.assign(fields_.size(), 1);
    staging_.DisableControls();
    quiet_ = true;
}

StagingFiller::~StagingFiller()
{
    if (quiet_)
        staging_.EnableControls();
}

void StagingFiller::keepPending()
{
    // The table stores a pending record that changed and drops one that did not.
    if (staging_.State() != db::dsInsert)
        return;
    if (staging_.Modified()) {
        for (std::size_t i = 0; i < pending_.size(); ++i)
            longest_[i] = std::max(longest_[i], pending_[i]);
        ++kept_;
        result_.cutValues += pendingResult_.cutValues;
        result_.replacedCharacters += pendingResult_.replacedCharacters;
    }
    std::fill(pending_.begin(), pending_.end(), 0);
    pendingResult_ = {};
}

void StagingFiller::append()
{
    keepPending();
    staging_.Append();
}

void StagingFiller::set(int field, const QString& value)
{
    const auto i = static_cast<std::size_t>(field);
    const QString text = storable(value, fromDos_, pendingResult_.replacedCharacters);
    fields_[i]->setAsString(text);
    if (text.size() > sizes_[i])
        ++pendingResult_.cutValues;
    pending_[i] = static_cast<int>(std::min<qsizetype>(text.size(), sizes_[i]));
}

void StagingFiller::cancel()
{
    staging_.Cancel();
    std::fill(pending_.begin(), pending_.end(), 0);
    pendingResult_ = {};
}

void StagingFiller::finish()
{
    keepPending();
    staging_.CheckBrowseMode();
    // Only when every record of the table went in here, so that the lengths tell of all of them.
    const bool complete = staging_.RecordCount() == kept_;
    quiet_ = false;
    staging_.EnableControls();
    staging_.Close();
    if (!complete)
        return;
    // A table written out on closing (not a scratch table) keeps no version: its sizing reads it.
    if (const std::optional<db::OpenTables::Version> kept = keptVersion(staging_.filePath()))
        rememberedLengths() = RememberedLengths{*kept, longest_};
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

void CreateStagingTable(db::Table& staging, const QString& path, const QStringList& headers)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    staging.Close();
    // Built anew from the text file for every reading and deleted by the sizing: its records need not reach the
    // disk, and the sizing takes them from memory.
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

TextReadResult ReadSeparatedFile(const QString& path, db::Table& staging, const SeparatedReading& reading,
                                 TextReadProgress& progress)
{
    TextLineReader reader(path, reading.dosToWin);
    EmptyTableExclusive(staging);
    // A file that says it is Unicode holds no DOS bytes to convert.
    StagingFiller filler(staging, reading.dosToWin && reader.encoding() == TextEncoding::Ansi);
    progress.readingStarts();
    QString line;
    if (reading.firstLineHoldsNames)
        reader.readLine(line);

    const ScanRules rules(reading.separators, reading.qualifier);
    const bool commaOn = reading.separators.contains(u',');
    const bool semicolonOn = reading.separators.contains(u';');
    const int fieldCount = filler.fieldCount();
    const auto store = [&](int column, QString& value, bool) {
        if (column >= fieldCount)
            throw LineFault{};
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
        if ((line.back() == u',' && commaOn) || (line.back() == u';' && semicolonOn))
            line.chop(1);
        filler.append();
        bool stop = false;
        try {
            scanRecord(line, reader, rules, store);
        } catch (const LineFault&) {
            stop = !keepGoingAfterFault(filler, line, ignoreAllFaulty, progress);
        } catch (const db::EngineError&) {
            stop = !keepGoingAfterFault(filler, line, ignoreAllFaulty, progress);
        }
        progress.recordRead();
        if (stop)
            break;
    }
    filler.finish();
    progress.showNow();
    if (filler.result().cutValues > 0 || filler.result().replacedCharacters > 0)
        progress.valuesChanged(filler.result());
    return filler.result();
}

TextReadResult ReadWholeLines(const QString& path, db::Table& staging, bool firstLineHoldsNames, bool dosToWin,
                              TextReadProgress& progress)
{
    TextLineReader reader(path, dosToWin);
    EmptyTableExclusive(staging);
    StagingFiller filler(staging, dosToWin && reader.encoding() == TextEncoding::Ansi);
    progress.readingStarts();
    QString line;
    if (firstLineHoldsNames)
        reader.readLine(line);
    staging.Fields(0);  // raises for a table without fields before the first record is appended
    while (!progress.cancelled() && reader.readLine(line)) {
        filler.append();
        filler.set(0, line);
        progress.recordRead();
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

void DefineFieldSizes(db::Table& staging, db::Table& source, const QString& sourcePath, db::BatchMove& mover,
                      TextReadProgress& progress)
{
    progress.sizingStarts();
    // Lengths the reading noted are as good as a pass over the table while the file is the one it closed.
    std::optional<std::vector<int>> noted;
    if (!staging.Active())
        noted = takeRememberedLengths(staging.filePath());
    if (samePath(staging.filePath(), sourcePath))
        moveStagingAside(staging);
    source.Close();
    source.setTableType(db::ttParadox);
    source.setTableName(sourcePath);
    source.FieldDefs().Clear();
    staging.Open();
    if (noted && noted->size() != static_cast<std::size_t>(staging.FieldCount()))
        noted.reset();
    const std::vector<int> lengths = noted ? std::move(*noted) : MaxFieldLengths(staging, &progress);
    for (int i = 0; i < staging.FieldCount(); ++i)
        source.FieldDefs().Add(staging.Fields(i)->FieldName(), db::FieldType::ftString,
                               lengths[static_cast<std::size_t>(i)], false);
    createReplacing(source);
    mover.setSource(&staging);
    mover.setDestination(&source);
    mover.setMode(db::batAppend);
    mover.Execute();
    staging.Close();
    staging.DeleteTable();
    progress.sizingDone();
}

}  // namespace engine
