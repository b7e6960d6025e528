#include "engine/Importlauf.h"

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/FieldPipeline.h"
#include "engine/MessagePacer.h"
#include "engine/SettingFiles.h"
#include "engine/WorkingTables.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace engine {

namespace {

db::Table& targetOf(const ImportRun& run)
{
    db::Table* table = run.dscZiel.DataSet();
    if (!table)
        throw std::logic_error("the target data source has no table");
    return *table;
}

// Everybody watching gets the silent observer's answers when nobody does.
ImportRunObserver& observerOf(const ImportRun& run)
{
    static ImportRunObserver nobody;
    return run.observer ? *run.observer : nobody;
}

void addTo(std::int32_t& counter, std::int64_t amount)
{
    const std::int64_t value = static_cast<std::int64_t>(counter) + amount;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw std::range_error("counter out of range");
    counter = static_cast<std::int32_t>(value);
}

// Hands every exchange with the person on to the interface installed before, after the observer has been told the
// counts as they stand: a message box of the run, a formula's error box in the pipeline or the progress window's
// own question, never shows figures a few records old behind it.
class CountsBeforeDialogs : public platform::UserInterface {
public:
    explicit CountsBeforeDialogs(const ImportRun& run) : run_(run), previous_(platform::setUserInterface(this)) {}
    CountsBeforeDialogs(const CountsBeforeDialogs&) = delete;
    CountsBeforeDialogs& operator=(const CountsBeforeDialogs&) = delete;
    ~CountsBeforeDialogs() override { platform::setUserInterface(previous_); }

    platform::Button showMessage(const platform::MessageRequest& request) override
    {
        observerOf(run_).counts(run_.counts);
        return previous().showMessage(request);
    }
    QString fileDialog(platform::FileDialogKind kind, const platform::FileDialogRequest& request) override
    {
        return previous().fileDialog(kind, request);
    }
    std::optional<QString> inputBox(const platform::InputRequest& request) override
    {
        return previous().inputBox(request);
    }
    void beep() override { previous().beep(); }
    void showHelp(int helpContext) override { previous().showHelp(helpContext); }
    bool openUrl(const QString& target) override { return previous().openUrl(target); }

private:
    platform::UserInterface& previous()
    {
        if (!previous_)
            throw platform::NoUserInterface();
        return *previous_;
    }

    const ImportRun& run_;
    platform::UserInterface* previous_;
};

// The frame's window set-up, the same for every mode: the gauge runs to the source's record count.
void setUpWindow(ImportRun& run, const QString& runningText)
{
    run.tblQuelle.Open();
    const int recordCount = run.tblQuelle.RecordCount();
    run.tblQuelle.Close();
    observerOf(run).runStarts(runningText, recordCount);
}

QString doneText(const QString& runningText)
{
    return runningText + texts::Text(65279);
}

// Writes the engine's buffered changes to the files, whoever else has the target open.
void makeDurable(db::Table& target)
{
    if (!target.Active())
        return;
    target.FlushBuffers();
}

// The tables of one run, opened, with the mapping bound to their fields; on every way out the target is made
// durable and the observer is told the counts and the position reached. A way out by an error first drops a record
// the engine refused, so that what was posted before reaches the files and nothing half-done follows it.
class RunTables {
public:
    explicit RunTables(ImportRun& run)
        : run_(run), observer_(observerOf(run)), ziel_(targetOf(run)), durable_((openAll(run, ziel_), ziel_)),
          zielControls_(ziel_), quelleControls_(run.tblQuelle), dialogs_(run),
          context_{run.Parser1, run.tblQuelle, run.setting.QuelldateiOrdner(), run.counts.AnzFehler, &formelWerte_}
    {
        // A target that cannot hold a record for every source record is refused before the first one, not at
        // the flush after all of them (a run that updates or ignores may need fewer: the answer errs on the safe side).
        ziel_.CheckRoomFor(run.tblQuelle.RecordCount());
        rows_ = BindMappingRows(run.setting.Mapping, run.tblQuelle, ziel_, run.textAsBytes);
        // The source fields that go as bytes are not decoded with the fields read as values.
        std::vector<char> apart(static_cast<std::size_t>(run.tblQuelle.FieldCount()), 0);
        for (const BoundMappingRow& row : rows_) {
            if (row.textAsBytes)
                apart[static_cast<std::size_t>(row.quelle->Index())] = 1;
        }
        if (std::find(apart.begin(), apart.end(), 1) != apart.end())
            run.tblQuelle.setReadApart(std::move(apart));
        for (const BoundMappingRow& row : rows_) {
            if (row.isKeyRow()) {
                key_ = &row;
                break;
            }
        }
        run.tblQuelle.First();
    }

    db::Table& ziel() { return ziel_; }
    db::Table& quelle() { return run_.tblQuelle; }
    const std::vector<BoundMappingRow>& rows() const { return rows_; }
    // The first row marked as key, or nullptr.
    const BoundMappingRow* keyRow() const { return key_; }
    const PipelineContext& context() const { return context_; }

    bool going() { return !run_.tblQuelle.Eof() && !observer_.cancelled(); }

    // Adds to one of the run's counts.
    void add(std::int32_t ImportCounts::*counter, std::int64_t amount) { addTo(run_.counts.*counter, amount); }

    void showCounts() { observer_.counts(run_.counts); }

    // A message round when one is due; the observer is told the counts for it.
    void processMessages()
    {
        if (!messages_.roundDue())
            return;
        showCounts();
        observer_.messageRound();
    }

    // The gauge is only drawn when window messages are processed, so it is moved at the same pace; the position
    // reached is shown at every way out.
    void progress()
    {
        position_ = run_.tblQuelle.RecNo();
        if (gauge_.roundDue())
            showPosition();
    }

    // The pipeline routine of a row: FeldUebertragen for a mapped row, FeldOhneZuordnung for the others.
    void pipeline(const BoundMappingRow& row)
    {
        if (row.isMapped())
            FeldUebertragen(context_, row);
        else
            FeldOhneZuordnung(context_, row);
    }

    // The normal end: what was posted is made durable; a failure to write it is passed on, never reported as done.
    void finish()
    {
        showPosition();
        showCounts();
        zielControls_.enable();
        quelleControls_.enable();
        durable_.finish();
    }

    ~RunTables()
    {
        run_.tblQuelle.setReadApart({});
        try {
            showPosition();
            showCounts();
        } catch (...) {
        }
    }

private:
    static void openAll(const ImportRun& run, db::Table& ziel)
    {
        run.tblQuelle.Open();
        ziel.Open();
    }

    class Durable {
    public:
        explicit Durable(db::Table& ziel) : ziel_(ziel) {}
        Durable(const Durable&) = delete;
        Durable& operator=(const Durable&) = delete;
        void finish()
        {
            done_ = true;
            makeDurable(ziel_);
        }
        ~Durable()
        {
            if (done_)
                return;
            // Leaving by an error: that error is what the caller must see, so nothing here may raise.
            try {
                if (ziel_.State() == db::dsInsert || ziel_.State() == db::dsEdit)
                    ziel_.Cancel();
            } catch (...) {
            }
            try {
                makeDurable(ziel_);
            } catch (...) {
            }
        }

    private:
        db::Table& ziel_;
        bool done_ = false;
    };

    class ControlsOff {
    public:
        explicit ControlsOff(db::Table& table) : table_(table) { table_.DisableControls(); }
        ControlsOff(const ControlsOff&) = delete;
        ControlsOff& operator=(const ControlsOff&) = delete;
        void enable()
        {
            if (disabled_) {
                disabled_ = false;
                table_.EnableControls();
            }
        }
        ~ControlsOff()
        {
            try {
                enable();
            } catch (...) {
            }
        }

    private:
        db::Table& table_;
        bool disabled_ = true;
    };

    void showPosition()
    {
        if (position_ >= 0 && position_ != shownPosition_) {
            observer_.gaugePosition(position_);
            shownPosition_ = position_;
        }
    }

    ImportRun& run_;
    ImportRunObserver& observer_;
    db::Table& ziel_;
    Durable durable_;
    // No grid shows the target while a run goes (the contents viewer is closed before the mode page and shown again
    // after the run), and every record would otherwise be announced to its data source several times.
    ControlsOff zielControls_;
    // Nor the source: a grid following its cursor would be told of every record read (and would move with it).
    ControlsOff quelleControls_;
    CountsBeforeDialogs dialogs_;
    // Equal formula texts recur across records; their values are kept for the run.
    FormelWertSpeicher formelWerte_;
    PipelineContext context_;
    MessagePacer messages_;
    MessagePacer gauge_;
    int position_ = -1;
    int shownPosition_ = -1;
    std::vector<BoundMappingRow> rows_;
    const BoundMappingRow* key_ = nullptr;
};

// What the record work tells the loop.
enum class Record { Done, StopRun };

// When a mode lets pending window messages through: before each record's work, after it, or not in its loop.
enum class Messages { BeforeRecord, AfterRecord, None };

// The record loop every driver shares: while the source has records and nobody cancelled, the record work of the
// mode on the current source record, then the next one. False when the work stopped the run.
template <class Work>
bool recordLoop(RunTables& tables, Messages messages, Work&& work)
{
    while (tables.going()) {
        if (messages == Messages::BeforeRecord)
            tables.processMessages();
        tables.progress();
        if (work() == Record::StopRun)
            return false;
        tables.quelle().Next();
        if (messages == Messages::AfterRecord)
            tables.processMessages();
    }
    return true;
}

std::uint16_t widthOf(const QString& laenge)
{
    const std::int32_t width = rtl::StrToInt(laenge);
    if (width < 0 || width > std::numeric_limits<std::uint16_t>::max())
        throw std::range_error("Laenge out of range");
    return static_cast<std::uint16_t>(width);
}

// The value the key row's source field is looked up by: a source of digits is right-aligned to the target width
// when the row aligns right, as the values in the target were.
QVariant lookupValue(const BoundMappingRow& key)
{
    const QString text = key.sourceField().AsString();
    if (key.Ausrichtung_re && IsNumeric(text))
        return PadLeftTo(rtl::Trim(text), widthOf(key.Laenge));
    return text;
}

// ---- generated keys ----

enum class KeyKind { Text, Number, Date, Time, DateTime, None };

KeyKind keyKindOf(int typ)
{
    switch (static_cast<db::FieldType>(typ)) {
    case db::FieldType::ftString:
        return KeyKind::Text;
    case db::FieldType::ftSmallint:
    case db::FieldType::ftInteger:
    case db::FieldType::ftFloat:
    case db::FieldType::ftCurrency:
        return KeyKind::Number;
    case db::FieldType::ftDate:
        return KeyKind::Date;
    case db::FieldType::ftTime:
        return KeyKind::Time;
    case db::FieldType::ftDateTime:
        return KeyKind::DateTime;
    default:
        return KeyKind::None;
    }
}

// The key values counted up from the start value: text keys by the record counter n, the other kinds by a current
// value that starts as the start text (the field converts it) and is parsed by the key's kind at its first step.
class KeyCounter {
public:
    explicit KeyCounter(QString startValue) : start_(std::move(startValue)), current_(start_) {}

    QVariant value(const BoundMappingRow& row, std::int32_t n) const
    {
        if (keyKindOf(row.Typ) != KeyKind::Text)
            return current_;
        const QString key = GeneratedTextKey(start_, n);
        if (row.Ausrichtung_re && IsNumeric(key))
            return PadLeftTo(rtl::Trim(key), widthOf(row.Laenge));
        return key;
    }

    // One step of the current value (text keys count by n instead).
    void advance(KeyKind kind)
    {
        switch (kind) {
        case KeyKind::Number: {
            const double number =
                current_.typeId() == QMetaType::QString ? rtl::StrToFloat(current_.toString()) : current_.toDouble();
            current_ = number + 1;
            break;
        }
        case KeyKind::Date: {
            const QDate date =
                current_.typeId() == QMetaType::QString ? rtl::StrToDate(current_.toString()) : current_.toDate();
            current_ = date.addDays(1);
            break;
        }
        case KeyKind::Time: {
            const QTime time =
                current_.typeId() == QMetaType::QString ? rtl::StrToTime(current_.toString()) : current_.toTime();
            current_ = time.addSecs(1);
            break;
        }
        case KeyKind::DateTime: {
            const QDateTime dt = current_.typeId() == QMetaType::QString ? rtl::StrToDateTime(current_.toString())
                                                                          : current_.toDateTime();
            current_ = dt.addSecs(1);
            break;
        }
        case KeyKind::Text:
        case KeyKind::None:
            break;
        }
    }

private:
    QString start_;
    QVariant current_;
};

std::int32_t incremented(std::int32_t n)
{
    if (n == std::numeric_limits<std::int32_t>::max())
        throw std::range_error("key counter out of range");
    return n + 1;
}


}  // namespace

QString GeneratedTextKey(const QString& startValue, int n)
{
    qsizetype digits = startValue.size();
    while (digits > 0 && startValue[digits - 1] >= u'0' && startValue[digits - 1] <= u'9')
        --digits;
    if (digits == startValue.size())
        return startValue + rtl::IntToStr(n);
    const std::int64_t value = static_cast<std::int64_t>(rtl::StrToInt(startValue.mid(digits))) + n;
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        throw std::range_error("generated key out of range");
    return startValue.left(digits) + rtl::IntToStr(value);
}

void SchluesselZuordnungFehlt(ImportRun& run)
{
    platform::ErrorBox(texts::Text(64991));
    if (run.ZuordnungsseiteZeigen)
        run.ZuordnungsseiteZeigen();
    observerOf(run).runAbandoned();
}

// ---- mode 1 ----

void EndeAnhaengenSchleife(ImportRun& run)
{
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    recordLoop(tables, Messages::BeforeRecord, [&] {
        ziel.Append();
        tables.add(&ImportCounts::AnzHinzu, 1);
        tables.add(&ImportCounts::Summe, 1);
        // One post per row: the record is stored after its first field and updated by every further one.
        for (const BoundMappingRow& row : tables.rows()) {
            ziel.Edit();
            tables.pipeline(row);
            ziel.Post();
        }
        return Record::Done;
    });
    tables.finish();
}

void ImportlaufEndeAnhaengen(ImportRun& run)
{
    const QString runningText = texts::Text(65208);
    setUpWindow(run, runningText);
    EndeAnhaengenSchleife(run);
    observerOf(run).runningText(doneText(runningText));
    observerOf(run).closeOffered();
}

namespace {

// The key row a record of modes 2 and 3 is looked up by. Without one the record is passed by (passed is Done); a key
// row without a source field stops the run (passed is StopRun): the tables are made durable, the user is told and
// the wizard goes back to the mapping page.
const BoundMappingRow* mappedKeyRow(RunTables& tables, ImportRun& run, Record& passed)
{
    const BoundMappingRow* key = tables.keyRow();
    passed = Record::Done;
    if (key && !key->isMapped()) {
        tables.finish();
        SchluesselZuordnungFehlt(run);
        passed = Record::StopRun;
        return nullptr;
    }
    return key;
}

}  // namespace

// ---- mode 2 ----

void ImportlaufIgnorieren(ImportRun& run)
{
    ImportRunObserver& observer = observerOf(run);
    const bool zielLeeren = run.setting.ZielLeeren;
    const QString runningText = zielLeeren ? texts::Text(65208) : texts::Text(64989);
    setUpWindow(run, runningText);
    {
        RunTables tables(run);
        db::Table& ziel = tables.ziel();
        const bool complete = recordLoop(tables, Messages::BeforeRecord, [&] {
            Record passed;
            const BoundMappingRow* key = mappedKeyRow(tables, run, passed);
            if (!key)
                return passed;
            if (!TabelleFindKey(run.dscZiel, lookupValue(*key))) {
                ziel.Append();
                tables.add(&ImportCounts::AnzHinzu, 1);
                tables.add(&ImportCounts::Summe, 1);
                for (const BoundMappingRow& row : tables.rows())
                    tables.pipeline(row);
                ziel.Post();
            }
            return Record::Done;
        });
        if (!complete)
            return;
        tables.finish();
    }
    const std::int32_t recordCount = run.tblQuelle.RecordCount();
    ImportCounts& counts = run.counts;
    if (!zielLeeren) {
        // What was not added is ignored, the records a cancelled run never got to included.
        counts.Ignor = recordCount - counts.AnzHinzu;
        addTo(counts.Summe, counts.Ignor);
        observer.runningText(doneText(runningText));
    } else {
        // Into an emptied target a record is left out only because its key came before in the same source.
        addTo(counts.AnzFehler, static_cast<std::int64_t>(recordCount) - counts.AnzHinzu);
    }
    observer.counts(counts);
    observer.closeOffered();
    observer.gaugePosition(recordCount);
}

// ---- mode 3, first pass ----

bool ImportlaufUmbenennen(ImportRun& run)
{
    setUpWindow(run, texts::Text(65207));
    observerOf(run).messageRound();
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    KeyCounter keys(run.Startwert);
    std::int32_t n = 0;
    // This pass leaves the message queue alone: a cancel is seen when the second pass lets it through.
    const bool complete = recordLoop(tables, Messages::None, [&] {
        Record passed;
        const BoundMappingRow* key = mappedKeyRow(tables, run, passed);
        if (!key)
            return passed;
        if (!TabelleFindKey(run.dscZiel, lookupValue(*key)) || !key->targetField().IsIndexField())
            return Record::Done;
        const KeyKind kind = keyKindOf(key->Typ);
        if (kind == KeyKind::None) {
            // No rule makes a new key of this type: the record cannot be re-keyed, which is a failure.
            AnzFehlerErhoehen(run.counts.AnzFehler);
        } else {
            const QVariant newKey = keys.value(*key, n);
            try {
                ziel.Append();
                key->targetField().setAsVariant(newKey);
                ziel.Post();
                for (const BoundMappingRow& row : tables.rows()) {
                    if (row.isKeyRow())
                        continue;
                    ziel.Edit();
                    tables.pipeline(row);
                    ziel.Post();
                }
                if (kind == KeyKind::Text)
                    n = incremented(n);
                else
                    keys.advance(kind);
            } catch (const std::exception&) {
                AnzFehlerErhoehen(run.counts.AnzFehler);
                // A record the engine refused is dropped; what was posted of it stays.
                if (ziel.State() == db::dsInsert || ziel.State() == db::dsEdit)
                    ziel.Cancel();
            }
        }
        tables.add(&ImportCounts::Umben, 1);
        tables.add(&ImportCounts::Summe, 1);
        return Record::Done;
    });
    if (!complete)
        return false;
    tables.finish();
    return true;
}

// ---- mode 4 ----

void ImportlaufSelfInc(ImportRun& run)
{
    setUpWindow(run, texts::Text(65208));
    observerOf(run).messageRound();
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    KeyCounter keys(run.Startwert);
    std::int32_t n = 0;
    const bool complete = recordLoop(tables, Messages::AfterRecord, [&] {
        // Append posts the record of the previous source record.
        ziel.Append();
        for (const BoundMappingRow& row : tables.rows()) {
            if (!row.isKeyRow()) {
                tables.pipeline(row);
                continue;
            }
            const KeyKind kind = keyKindOf(row.Typ);
            if (kind == KeyKind::None) {
                QString text = texts::Text(64990);
                text.replace(QLatin1String("%s"), ShownTypbezeichnung(row.Typ, TypeNameTable::ZStrukt));
                platform::MessageBox(platform::MessageType::Information, text, platform::Buttons::Ok);
                // The record begun for this source record is not stored.
                ziel.Cancel();
                tables.finish();
                return Record::StopRun;
            }
            row.targetField().setAsVariant(keys.value(row, n));
            keys.advance(kind);
        }
        n = incremented(n);
        tables.add(&ImportCounts::AnzHinzu, 1);
        tables.add(&ImportCounts::Summe, 1);
        return Record::Done;
    });
    if (!complete)
        return;
    if (ziel.State() == db::dsInsert)
        ziel.Post();
    tables.finish();
}

// ---- mode 5 ----

void ImportlaufAktualisieren(ImportRun& run)
{
    const QString runningText = texts::Text(65209);
    setUpWindow(run, runningText);
    observerOf(run).messageRound();
    {
        RunTables tables(run);
        db::Table& ziel = tables.ziel();
        recordLoop(tables, Messages::BeforeRecord, [&] {
            const BoundMappingRow* key = tables.keyRow();
            if (!key)
                return Record::Done;
            if (TabelleFindKey(run.dscZiel, lookupValue(*key))) {
                tables.add(&ImportCounts::AnzAkt, 1);
                tables.add(&ImportCounts::Summe, 1);
                ziel.Edit();
                for (const BoundMappingRow& row : tables.rows()) {
                    if (!row.isMapped())
                        FeldOhneZuordnung(tables.context(), row);
                    else if (row.FeldAkt)
                        FeldUebertragen(tables.context(), row);
                }
                ziel.Post();
            } else {
                ziel.Append();
                tables.add(&ImportCounts::AnzHinzu, 1);
                tables.add(&ImportCounts::Summe, 1);
                for (const BoundMappingRow& row : tables.rows())
                    tables.pipeline(row);
                ziel.Post();
            }
            return Record::Done;
        });
        tables.finish();
    }
    observerOf(run).runningText(doneText(runningText));
    observerOf(run).closeOffered();
}

bool Importlauf(ImportRun& run, int mode)
{
    switch (mode) {
    case 1:
        ImportlaufEndeAnhaengen(run);
        return true;
    case 2:
        ImportlaufIgnorieren(run);
        return true;
    case 3:
        if (!ImportlaufUmbenennen(run))
            return false;
        ImportlaufIgnorieren(run);
        return true;
    case 4:
        ImportlaufSelfInc(run);
        return true;
    case 5:
        ImportlaufAktualisieren(run);
        return true;
    default:
        throw std::invalid_argument("no such import mode");
    }
}

}  // namespace engine
