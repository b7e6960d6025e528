#include "engine/Textimport.h"

#include "db/BatchMove.h"
#include "db/EngineError.h"
#include "db/OpenTables.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/PreviewGrid.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/UserInterface.h"
#include "rtl/CodePages.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <algorithm>
#include <memory>
#include <optional>

namespace engine {

namespace {

constexpr int PreviewRecords = 20;
constexpr int PreviewLines = PreviewRecords + 1;
constexpr int StagingFieldSize = 255;
const QString StagingFileName = QStringLiteral("ZSP.db");

// A record that holds more values than the staging table has fields.
struct LineFault {};

std::unique_ptr<TextReadProgress> progressFor(const TextImportControls& c)
{
    if (c.frmGauge)
        return std::make_unique<GaugeTextProgress>(*c.frmGauge, c.retQuellDat ? grid::LineCount(c.retQuellDat) : 0);
    return std::make_unique<TextReadProgress>();
}

bool checked(const QCheckBox* box)
{
    return box && box->isChecked();
}

// The grid as a string grid with one fixed row and no fixed column, one row per line of the file and the header.
void prepareRows(const TextImportControls& c)
{
    grid::PrepareRows(c.stgQuellDatVar, grid::PreviewRowCount(c.retQuellDat));
}

void showGrid(const TextImportControls& c)
{
    c.stgQuellDatVar->show();
    c.lblVorschauVorber->hide();
}

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
    switch (platform::MessageBox(platform::MessageType::Error, TextWithLine(64962, line),
                                 platform::Buttons::YesNoCancelYesToAll)) {
    case platform::Button::Yes:
        staging.cancel();
        return true;
    case platform::Button::YesToAll:
        staging.cancel();
        ignoreAllFaulty = true;
        return true;
    case platform::Button::No:
        return true;
    default:
        return false;
    }
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

// ---- guesses from the first line ----

QString TextbegrenzerErmitteln(const QString& FileName)
{
    TextLineReader reader(FileName);
    QString line;
    reader.readLine(line);
    int quotes = 0;
    int apostrophes = 0;
    for (QChar ch : line) {
        if (ch == u'"' && ++quotes == 2)
            return QStringLiteral("\"");
        if (ch == u'\'' && ++apostrophes == 2)
            return QStringLiteral("'");
    }
    return QString();
}

void SearchSeparators(const TextImportControls& c)
{
    QString line;
    try {
        TextLineReader reader(c.edtQuelle->text());
        reader.readLine(line);
    } catch (const EInOutError&) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64960), platform::Buttons::Ok);
        return;
    }
    const qsizetype commas = line.count(u',');
    const qsizetype semicolons = line.count(u';');
    if (commas == 0)
        c.cbxKomma->setChecked(false);
    if (semicolons == 0)
        c.cbxSemic->setChecked(false);
    if (commas > semicolons) {
        c.cbxKomma->setChecked(true);
        c.cbxSemic->setChecked(false);
    }
    if (semicolons > commas) {
        c.cbxSemic->setChecked(true);
        c.cbxKomma->setChecked(false);
    }
}

bool TrennzeichenUebernehmen(const TextImportControls& c)
{
    SeparatorSet& s = *c.separators;
    s.TrennKomma = checked(c.cbxKomma) ? QStringLiteral(",") : QString();
    s.TrennTab = checked(c.cbxTab) ? QStringLiteral("\t") : QString();
    s.TrennSpace = checked(c.cbxSpace) ? QStringLiteral(" ") : QString();
    s.TrennSemic = checked(c.cbxSemic) ? QStringLiteral(";") : QString();
    s.TrennAndere = checked(c.cbxAndere) && !c.edtAndere->text().isEmpty() ? c.edtAndere->text().left(1) : QString();
    return !s.separators().isEmpty();
}

bool TextbegrenzerUebernehmen(const TextImportControls& c)
{
    switch (c.comDelimiter->currentIndex()) {
    case 1:
        c.separators->Textbegrenzer = QStringLiteral("\"");
        return true;
    case 2:
        c.separators->Textbegrenzer = QStringLiteral("'");
        return true;
    default:
        c.separators->Textbegrenzer.clear();
        return false;
    }
}

// ---- the previews ----

void RasterLeeren(QTableWidget* Grid)
{
    Grid->clear();  // cells and header items
    Grid->setRowCount(0);
    Grid->setColumnCount(0);
    grid::setColCount(Grid, 1);
}

void TrennzeichenVorschauZeigen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    g->hide();
    c.lblVorschauVorber->show();
    RasterLeeren(g);
    const bool anySeparator = TrennzeichenUebernehmen(c);
    const bool anyQualifier = TextbegrenzerUebernehmen(c);
    if (!anySeparator && !anyQualifier) {
        ZeilenVorschauZeigen(c);
        return;
    }
    prepareRows(c);
    const bool namesInFirstLine = checked(c.cbxErsteZeile);
    const bool dosToWin = checked(c.cbxDosToWin);
    const int firstRow = namesInFirstLine ? 0 : 1;

    TextLineReader reader(c.edtQuelle->text());
    const ScanRules rules(c.separators->separators(), c.separators->qualifier());
    QString line;
    int row = firstRow;
    for (int records = 0; records < PreviewRecords && reader.readLine(line); ++records, ++row) {
        // The page's view of the file may hold fewer lines than the file has records; the grid is full then.
        if (row >= grid::RowCount(g))
            break;
        const bool firstRecord = row == firstRow;
        bool tooManyValues = false;
        scanRecord(line, reader, rules, [&](int column, QString& value, bool atEnd) {
            if (column >= grid::ColCount(g)) {
                // Beyond the columns the first line fixed: the text collects into one value, which the end of the
                // record then cannot place.
                if (atEnd)
                    tooManyValues = true;
                return false;
            }
            const QString cell = dosToWin ? OemToAnsiStr(value) : value;
            grid::setCell(g, column, row, cell);
            grid::Widen(g, column, cell);
            if (firstRecord && !atEnd)
                grid::setColCount(g, grid::ColCount(g) + 1);
            return true;
        });
        if (tooManyValues &&
            platform::MessageBox(platform::MessageType::Error, TextWithLine(64961, line), platform::Buttons::OkCancel) ==
                platform::Button::Cancel)
            break;
    }
    if (!namesInFirstLine)
        SpaltenNamenSetzen(c);
    showGrid(c);
    VorschauAbschliessen(c);
}

void ZeilenVorschauZeigen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    prepareRows(c);
    grid::setColCount(g, 1);
    const bool namesInFirstLine = checked(c.cbxErsteZeile);
    const bool dosToWin = checked(c.cbxDosToWin);
    TextLineReader reader(c.edtQuelle->text());
    QString line;
    int width = 0;
    int row = namesInFirstLine ? 0 : 1;
    // One line more than the separated preview reads; the grid has no row for it.
    for (int lines = 0; lines < PreviewLines && reader.readLine(line); ++lines, ++row) {
        const QString cell = dosToWin ? OemToAnsiStr(line) : line;
        if (row < grid::RowCount(g))
            grid::setCell(g, 0, row, cell);
        width = std::max(width, grid::WidthFor(cell));
    }
    grid::setDefaultColWidth(g, width);
    if (!namesInFirstLine)
        SpaltenNamenSetzen(c);
    showGrid(c);
}

void SpaltenNamenSetzen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    const int columns = grid::ColCount(g);
    const auto setHeader = [&](int column, const QString& name) {
        grid::setCell(g, column, 0, name);
        grid::Widen(g, column, name);
    };
    if (c.rbtNeueImport->isChecked()) {
        for (int column = 0; column < columns; ++column)
            setHeader(column, QStringLiteral("FELD_") + QString::number(column + 1));
    } else {
        const QString names = c.tblImpList->FieldByName(QStringLiteral("ColNames"))->AsString();
        QString name;
        int column = 0;
        for (QChar ch : names) {
            if (column >= columns)
                break;
            if (ch == u';') {
                setHeader(column++, name);
                name.clear();
            } else {
                name += ch;
            }
        }
    }
    c.btnErste->setEnabled(false);
    c.btnLinks->setEnabled(false);
    c.btnRechts->setEnabled(columns > 1);
    c.btnLetzte->setEnabled(columns > 1);
}

void VorschauAbschliessen(const TextImportControls& c)
{
    QTableWidget* g = c.stgQuellDatVar;
    const bool several = grid::ColCount(g) > 1;
    c.btnLinks->setEnabled(false);
    c.btnErste->setEnabled(false);
    c.btnRechts->setEnabled(several);
    c.btnLetzte->setEnabled(several);
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    g->clearSelection();
    if (g->rowCount() > 0 && g->columnCount() > 0)
        g->setRangeSelected(QTableWidgetSelectionRange(0, 0, g->rowCount() - 1, 0), true);
    c.edtRenCols->setText(grid::Cell(g, 0, 0));
    *c.AktSpalte = 0;
}

// ---- staging ----

QString StagingTablePath()
{
    return TempFolder() + StagingFileName;
}

QString SourceTablePath(const QString& sourceFile)
{
    return TempFolder() + QFileInfo(sourceFile).completeBaseName() + QStringLiteral(".db");
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

void ZSPTabelleAnlegen(const TextImportControls& c)
{
    QStringList headers;
    for (int column = 0; column < grid::ColCount(c.stgQuellDatVar); ++column)
        headers << grid::Cell(c.stgQuellDatVar, column, 0);
    CreateStagingTable(*c.tblZSP, StagingTablePath(), headers);
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
    ReportTextReadChanges(filler.result());
    return filler.result();
}

void TrennzeichenDateiEinlesen(const TextImportControls& c, const QString& FileName, db::Table& Table, bool DosToWin)
{
    const bool anySeparator = TrennzeichenUebernehmen(c);
    const bool anyQualifier = TextbegrenzerUebernehmen(c);
    if (!anySeparator && !anyQualifier) {
        ZeilenInZSPEinlesen(c);
        return;
    }
    SeparatedReading reading;
    reading.separators = c.separators->separators();
    reading.qualifier = c.separators->qualifier();
    reading.firstLineHoldsNames = checked(c.cbxErsteZeile);
    reading.dosToWin = DosToWin;
    const auto progress = progressFor(c);
    ReadSeparatedFile(FileName, Table, reading, *progress);
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
    ReportTextReadChanges(filler.result());
    progress.wholeLinesDone();
    return filler.result();
}

void ZeilenInZSPEinlesen(const TextImportControls& c)
{
    const auto progress = progressFor(c);
    ReadWholeLines(c.edtQuelle->text(), *c.tblZSP, checked(c.cbxErsteZeile), checked(c.cbxDosToWin), *progress);
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
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QFileInfo file(name);
        if (file.completeBaseName().compare(base, Qt::CaseInsensitive) != 0)
            continue;
        const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
        const QString target = dir.filePath(aside + suffix);
        QFile::remove(target);
        if (!QFile::rename(dir.filePath(name), target)) {
            throw EInOutError(QStringLiteral("Die Datei %1 kann nicht umbenannt werden.")
                                  .arg(QDir::toNativeSeparators(dir.filePath(name))));
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

void FeldgroessenDefinieren(const TextImportControls& c)
{
    const auto progress = progressFor(c);
    DefineFieldSizes(*c.tblZSP, *c.tblQuelle, SourceTablePath(c.edtQuelle->text()), *c.BMV, *progress);
}

}  // namespace engine
