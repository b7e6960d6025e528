#include "engine/Importlauf.h"

#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/FieldPipeline.h"
#include "engine/SettingFiles.h"
#include "engine/frmGauge.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <limits>
#include <stdexcept>

namespace engine {

namespace {

constexpr int RunWindowHeight = 275;
constexpr int RunCancelButtonLeft = 60;

db::Table& targetOf(const ImportRunContext& run)
{
    db::Table* table = run.dscZiel.DataSet();
    if (!table)
        throw std::logic_error("the target data source has no table");
    return *table;
}

void addTo(QLabel* counter, std::int64_t amount)
{
    const std::int64_t value = static_cast<std::int64_t>(StrToIntThousands(counter->text())) + amount;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw std::range_error("counter out of range");
    counter->setText(IntToStrThousands(static_cast<std::int32_t>(value)));
}

std::int32_t counterOf(const QLabel* counter)
{
    return StrToIntThousands(counter->text());
}

// Pending window messages are processed between records, but not more often than a person can notice: every
// message round repaints the counters, which would cost more than the record itself. A click on the cancel button
// is therefore seen within a few milliseconds, as before, and the run stays as fast as its table work.
bool messageRoundDue()
{
    static QElapsedTimer sinceLast;
    constexpr qint64 IntervalMs = 15;
    if (sinceLast.isValid() && !sinceLast.hasExpired(IntervalMs))
        return false;
    sinceLast.start();
    return true;
}

void processMessages()
{
    if (messageRoundDue())
        QCoreApplication::processEvents();
}

// One number label of the progress window while a run counts in it. The number is read from the label at the first
// count and kept here; the label is written when the window can show it (a message round, a message box) and at
// every way out of the run, so that whoever reads the labels afterwards finds every record counted. Writing the
// label for every record would cost more than the record's table work. Nobody else writes these labels while
// the run counts.
class RunCounter {
public:
    explicit RunCounter(QLabel* label) : label_(label) {}
    RunCounter(const RunCounter&) = delete;
    RunCounter& operator=(const RunCounter&) = delete;

    QLabel* label() const { return label_; }

    void add(std::int64_t amount)
    {
        if (!read_) {
            value_ = StrToIntThousands(label_->text());
            read_ = true;
        }
        const std::int64_t value = value_ + amount;
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
            throw std::range_error("counter out of range");
        value_ = static_cast<std::int32_t>(value);
        unshown_ = true;
    }

    void show()
    {
        if (!unshown_)
            return;
        label_->setText(IntToStrThousands(value_));
        unshown_ = false;
    }

private:
    QLabel* label_;
    std::int32_t value_ = 0;
    bool read_ = false;
    bool unshown_ = false;
};

// The frame's window set-up, the same for every mode.
void setUpWindow(const ImportRunContext& run, const QString& runningText)
{
    TfrmGauge& g = run.frmGauge;
    g.setHeight(RunWindowHeight);
    g.btnGaugeAbbrechen->move(RunCancelButtonLeft, g.btnGaugeAbbrechen->y());
    g.btnGaugeAbbrechen->setText(texts::Text(65268));
    g.btnHilfe->setVisible(true);
    g.Gauge1->setMinimum(0);
    run.tblQuelle.Open();
    g.Gauge1->setMaximum(run.tblQuelle.RecordCount());
    run.tblQuelle.Close();
    g.Label1->setText(runningText);
    g.Show();
}

void appendDone(const ImportRunContext& run)
{
    run.frmGauge.Label1->setText(run.frmGauge.Label1->text() + texts::Text(65279));
}

void captionClose(const ImportRunContext& run)
{
    run.frmGauge.btnGaugeAbbrechen->setText(texts::Text(65269));
}

// Writes the engine's buffered changes to the files, whoever else has the target open.
void makeDurable(db::Table& target)
{
    if (!target.Active())
        return;
    target.FlushBuffers();
}

// The tables of one run, opened, with the mapping read and its controls disabled; on every way out the mapping's
// controls are enabled again and the target is made durable. A way out by an error first drops a record the
// engine refused, so that what was posted before reaches the files and nothing half-done follows it.
class RunTables {
public:
    explicit RunTables(const ImportRunContext& run)
        : run_(run), ziel_(targetOf(run)), durable_(ziel_), controls_((openAll(run, ziel_), run.tblZStrukt)),
          zielControls_(ziel_)
    {
        rows_ = BindMappingRows(run.tblZStrukt, run.tblQuelle, ziel_);
        for (const MappingRow& row : rows_) {
            if (row.isKeyRow()) {
                key_ = &row;
                break;
            }
        }
        run.tblQuelle.First();
    }

    db::Table& ziel() { return ziel_; }
    db::Table& quelle() { return run_.tblQuelle; }
    const std::vector<MappingRow>& rows() const { return rows_; }
    // The first row marked as key, or nullptr.
    const MappingRow* keyRow() const { return key_; }

    bool going() { return !run_.tblQuelle.Eof() && !run_.frmGauge.cancelled(); }

    // Adds to one of the run's counters (lblAnzHinzu, lblSumme, lblUmben, lblAnzAkt).
    void add(QLabel* counter, std::int64_t amount)
    {
        for (RunCounter& c : counters_) {
            if (c.label() == counter) {
                c.add(amount);
                return;
            }
        }
        throw std::logic_error("no counter of the run");
    }

    // Writes the counts into the labels, for the window to show or for whoever reads them.
    void showCounters()
    {
        for (RunCounter& c : counters_)
            c.show();
    }

    // A message round when one is due; the counters are brought up to date for it.
    void processMessages()
    {
        if (!messageRoundDue())
            return;
        showCounters();
        QCoreApplication::processEvents();
    }

    // The gauge is only drawn when window messages are processed, so it is moved at the same pace; the position
    // reached is shown at every way out.
    void progress()
    {
        position_ = run_.tblQuelle.RecNo();
        if (!sinceGauge_.isValid() || sinceGauge_.hasExpired(GaugeIntervalMs)) {
            showPosition();
            sinceGauge_.start();
        }
    }

    // The normal end: what was posted is made durable; a failure to write it is passed on, never reported as done.
    void finish()
    {
        showPosition();
        showCounters();
        controls_.enable();
        zielControls_.enable();
        durable_.finish();
    }

    ~RunTables()
    {
        try {
            showPosition();
            showCounters();
        } catch (...) {
        }
    }

private:
    static void openAll(const ImportRunContext& run, db::Table& ziel)
    {
        run.tblQuelle.Open();
        ziel.Open();
        run.tblZStrukt.Open();
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
        if (position_ >= 0 && run_.frmGauge.Gauge1->value() != position_)
            run_.frmGauge.Gauge1->setValue(position_);
    }

    static constexpr qint64 GaugeIntervalMs = 15;

    const ImportRunContext& run_;
    db::Table& ziel_;
    Durable durable_;
    ControlsOff controls_;
    // No grid shows the target while a run goes (the contents viewer is closed before the mode page and shown again
    // after the run), and every record would otherwise be announced to its data source several times.
    ControlsOff zielControls_;
    // Equal formula texts recur across records; their values are kept for the run.
    FormelWertSpeicher formelWerte_;
    QElapsedTimer sinceGauge_;
    int position_ = -1;
    RunCounter counters_[4]{RunCounter(run_.frmGauge.lblAnzHinzu), RunCounter(run_.frmGauge.lblSumme),
                            RunCounter(run_.frmGauge.lblUmben), RunCounter(run_.frmGauge.lblAnzAkt)};
    std::vector<MappingRow> rows_;
    const MappingRow* key_ = nullptr;
};

void pipeline(const ImportRunContext& run, const MappingRow& row)
{
    if (row.isMapped())
        FeldUebertragen(run, row);
    else
        FeldOhneZuordnung(run, row);
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
QVariant lookupValue(const MappingRow& key)
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

    QVariant value(const MappingRow& row, std::int32_t n) const
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

void AnzFehlerErhoehen(const ImportRunContext& run)
{
    addTo(run.frmGauge.lblAnzFehler, 1);
}

void SchluesselZuordnungFehlt(const ImportRunContext& run)
{
    platform::ErrorBox(texts::Text(64991));
    if (run.ZuordnungsseiteZeigen)
        run.ZuordnungsseiteZeigen();
    run.frmGauge.Close();
}

// ---- mode 1 ----

void EndeAnhaengenSchleife(const ImportRunContext& run)
{
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    TfrmGauge& g = run.frmGauge;
    while (tables.going()) {
        tables.processMessages();
        tables.progress();
        ziel.Append();
        tables.add(g.lblAnzHinzu, 1);
        tables.add(g.lblSumme, 1);
        // One post per row: the record is stored after its first field and updated by every further one.
        for (const MappingRow& row : tables.rows()) {
            ziel.Edit();
            pipeline(run, row);
            ziel.Post();
        }
        tables.quelle().Next();
    }
    tables.finish();
}

void ImportlaufEndeAnhaengen(const ImportRunContext& run)
{
    setUpWindow(run, texts::Text(65208));
    EndeAnhaengenSchleife(run);
    appendDone(run);
    captionClose(run);
}

// ---- mode 2 ----

void ImportlaufIgnorieren(const ImportRunContext& run)
{
    TfrmGauge& g = run.frmGauge;
    const bool zielLeeren = run.cbxZielLeeren.isChecked();
    setUpWindow(run, zielLeeren ? texts::Text(65208) : texts::Text(64989));
    {
        RunTables tables(run);
        db::Table& ziel = tables.ziel();
        while (tables.going()) {
            tables.processMessages();
            tables.progress();
            if (const MappingRow* key = tables.keyRow()) {
                if (!key->isMapped()) {
                    tables.finish();
                    SchluesselZuordnungFehlt(run);
                    return;
                }
                if (!TabelleFindKey(run.dscZiel, lookupValue(*key))) {
                    ziel.Append();
                    tables.add(g.lblAnzHinzu, 1);
                    tables.add(g.lblSumme, 1);
                    for (const MappingRow& row : tables.rows())
                        pipeline(run, row);
                    ziel.Post();
                }
            }
            tables.quelle().Next();
        }
        tables.finish();
    }
    const std::int32_t recordCount = run.tblQuelle.RecordCount();
    if (!zielLeeren) {
        const std::int32_t ignored = recordCount - counterOf(g.lblAnzHinzu);
        g.lblIgnor->setText(IntToStrThousands(ignored));
        addTo(g.lblSumme, ignored);
        appendDone(run);
    } else {
        // Into an emptied target a record is left out only because its key came before in the same source.
        addTo(g.lblAnzFehler, static_cast<std::int64_t>(recordCount) - counterOf(g.lblAnzHinzu));
    }
    captionClose(run);
    g.Gauge1->setValue(recordCount);
}

// ---- mode 3, first pass ----

bool ImportlaufUmbenennen(const ImportRunContext& run)
{
    TfrmGauge& g = run.frmGauge;
    setUpWindow(run, texts::Text(65207));
    processMessages();
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    KeyCounter keys(run.edtStartwert.text());
    std::int32_t n = 0;
    // This pass leaves the message queue alone: a cancel is seen when the second pass lets it through.
    while (tables.going()) {
        tables.progress();
        if (const MappingRow* key = tables.keyRow()) {
            if (!key->isMapped()) {
                tables.finish();
                SchluesselZuordnungFehlt(run);
                return false;
            }
            if (TabelleFindKey(run.dscZiel, lookupValue(*key)) && key->targetField().IsIndexField()) {
                const KeyKind kind = keyKindOf(key->Typ);
                if (kind == KeyKind::None) {
                    // No rule makes a new key of this type: the record cannot be re-keyed, which is a failure.
                    AnzFehlerErhoehen(run);
                } else {
                    const QVariant newKey = keys.value(*key, n);
                    try {
                        ziel.Append();
                        key->targetField().setAsVariant(newKey);
                        ziel.Post();
                        for (const MappingRow& row : tables.rows()) {
                            if (row.isKeyRow())
                                continue;
                            ziel.Edit();
                            pipeline(run, row);
                            ziel.Post();
                        }
                        if (kind == KeyKind::Text)
                            n = incremented(n);
                        else
                            keys.advance(kind);
                    } catch (const std::exception&) {
                        AnzFehlerErhoehen(run);
                        // A record the engine refused is dropped; what was posted of it stays.
                        if (ziel.State() == db::dsInsert || ziel.State() == db::dsEdit)
                            ziel.Cancel();
                    }
                }
                tables.add(g.lblUmben, 1);
                tables.add(g.lblSumme, 1);
            }
        }
        tables.quelle().Next();
    }
    tables.finish();
    return true;
}

// ---- mode 4 ----

void ImportlaufSelfInc(const ImportRunContext& run)
{
    TfrmGauge& g = run.frmGauge;
    setUpWindow(run, texts::Text(65208));
    processMessages();
    RunTables tables(run);
    db::Table& ziel = tables.ziel();
    KeyCounter keys(run.edtStartwert.text());
    std::int32_t n = 0;
    while (tables.going()) {
        tables.progress();
        // Append posts the record of the previous source record.
        ziel.Append();
        for (const MappingRow& row : tables.rows()) {
            if (!row.isKeyRow()) {
                pipeline(run, row);
                continue;
            }
            const KeyKind kind = keyKindOf(row.Typ);
            if (kind == KeyKind::None) {
                tables.showCounters();
                QString text = texts::Text(64990);
                text.replace(QLatin1String("%s"), row.Typbezeichnung);
                platform::MessageBox(platform::MessageType::Information, text, platform::Buttons::Ok);
                // The record begun for this source record is not stored.
                ziel.Cancel();
                tables.finish();
                return;
            }
            row.targetField().setAsVariant(keys.value(row, n));
            keys.advance(kind);
        }
        n = incremented(n);
        tables.quelle().Next();
        tables.processMessages();
        tables.add(g.lblAnzHinzu, 1);
        tables.add(g.lblSumme, 1);
    }
    if (ziel.State() == db::dsInsert)
        ziel.Post();
    tables.finish();
}

// ---- mode 5 ----

void ImportlaufAktualisieren(const ImportRunContext& run)
{
    TfrmGauge& g = run.frmGauge;
    setUpWindow(run, texts::Text(65209));
    processMessages();
    {
        RunTables tables(run);
        db::Table& ziel = tables.ziel();
        while (tables.going()) {
            tables.processMessages();
            tables.progress();
            if (const MappingRow* key = tables.keyRow()) {
                if (TabelleFindKey(run.dscZiel, lookupValue(*key))) {
                    tables.add(g.lblAnzAkt, 1);
                    tables.add(g.lblSumme, 1);
                    ziel.Edit();
                    for (const MappingRow& row : tables.rows()) {
                        if (!row.isMapped())
                            FeldOhneZuordnung(run, row);
                        else if (row.FeldAkt)
                            FeldUebertragen(run, row);
                    }
                    ziel.Post();
                } else {
                    ziel.Append();
                    tables.add(g.lblAnzHinzu, 1);
                    tables.add(g.lblSumme, 1);
                    for (const MappingRow& row : tables.rows())
                        pipeline(run, row);
                    ziel.Post();
                }
            }
            tables.quelle().Next();
        }
        tables.finish();
    }
    appendDone(run);
    captionClose(run);
}

}  // namespace engine
