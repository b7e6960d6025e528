#include "RunFixture.h"

#include "db/EngineError.h"
#include "db/Field.h"
#include "engine/Importlauf.h"
#include "texts/Texts.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

#ifdef IMPORT_HAVE_PXLIB
extern "C" {
#include <paradox.h>
}
#endif

using db::FieldType;

namespace {

// What the files on disk say, asked without the engine: the number of records pxlib reads from a Paradox table,
// or the count in a dBase header. -1 when it cannot tell.
int recordsOnDisk(const QString& file)
{
    if (file.endsWith(".dbf", Qt::CaseInsensitive)) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray header = f.read(8);
        return header.size() < 8 ? -1 : static_cast<int>(qFromLittleEndian<quint32>(header.constData() + 4));
    }
#ifdef IMPORT_HAVE_PXLIB
    pxdoc_t* doc = PX_new();
    if (PX_open_file(doc, QFile::encodeName(file).constData()) < 0) {
        PX_delete(doc);
        return -1;
    }
    const int count = PX_get_num_records(doc);
    PX_close(doc);
    PX_delete(doc);
    return count;
#else
    return -1;
#endif
}

#ifdef IMPORT_HAVE_PXLIB
// The first field (a long integer) of every record as pxlib reads it.
QStringList keysOnDisk(const QString& file)
{
    QStringList keys;
    pxdoc_t* doc = PX_new();
    if (PX_open_file(doc, QFile::encodeName(file).constData()) < 0) {
        PX_delete(doc);
        return keys;
    }
    for (int i = 0; i < PX_get_num_records(doc); ++i) {
        pxval_t** values = PX_retrieve_record(doc, i);
        if (!values)
            continue;
        keys << QString::number(values[0]->value.lval);
        for (int f = 0; f < PX_get_num_fields(doc); ++f) {
            if ((values[f]->type == pxfAlpha || values[f]->type == pxfBytes) && values[f]->value.str.val)
                doc->free(doc, values[f]->value.str.val);
            doc->free(doc, values[f]);
        }
        doc->free(doc, values);
    }
    PX_close(doc);
    PX_delete(doc);
    return keys;
}
#endif

class Drivers : public RunFixture {
protected:
    // Source Nr, Name, Betrag; target Nr (key), Name, Betrag and Status, which no source field feeds and gets
    // the default "imp".
    void prepare(const std::vector<Values>& source, const std::vector<Values>& before = {}, bool dbase = false)
    {
        makeSource({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                    def("Betrag", FieldType::ftFloat)},
                   source);
        makeTarget({def("Nr", FieldType::ftInteger), def("Name", FieldType::ftString, 20),
                    def("Betrag", FieldType::ftFloat), def("Status", FieldType::ftString, 10)},
                   dbase ? 0 : 1, dbase, before);
        addRow("Nr", "Nr");
        addRow("Name", "Name");
        addRow("Betrag", "Betrag");
        addRow("Status", "", {{"Vorgabewert_alph", "imp"}});
    }

    QString targetFile() const { return tblZiel.TableName(); }
};

const std::vector<Values> abc{{1, "A", 1.5}, {2, "B", 2.5}, {3, "C", 3.5}};

struct ModeCase {
    const char* name;
    int mode;
    bool dbase;
    std::vector<Values> before;
    std::vector<Values> source;
    const char* start;
    bool zielLeeren;
    const char* counters;  // hinzu ignor umben akt summe fehler
    QString running;
    QStringList records;
};

TEST_F(Drivers, EachModeEndToEnd)
{
    const QString done = texts::Text(65279);
    const ModeCase cases[] = {
        {"mode 1 into a keyed table", 1, false, {}, abc, "", false, "3 0 0 0 3 0", texts::Text(65208) + done,
         {"1|A|1,5|imp", "2|B|2,5|imp", "3|C|3,5|imp"}},
        {"mode 1 into a dBase table", 1, true, {{9, "Alt", 0.0, "x"}}, abc, "", false, "3 0 0 0 3 0",
         texts::Text(65208) + done, {"9|Alt|0|x", "1|A|1,5|imp", "2|B|2,5|imp", "3|C|3,5|imp"}},
        {"mode 2 ignores existing keys and its own repeats", 2, false, {{2, "Alt", 9.0, "x"}},
         {{1, "A", 1.0}, {2, "B", 2.0}, {3, "C", 3.0}, {3, "D", 4.0}}, "", false, "2 2 0 0 4 0",
         texts::Text(64989) + done, {"1|A|1|imp", "2|Alt|9|x", "3|C|3|imp"}},
        {"mode 2 into an emptied target counts repeats as errors", 2, false, {},
         {{1, "A", 1.0}, {2, "B", 2.0}, {3, "C", 3.0}, {3, "D", 4.0}}, "", true, "3 0 0 0 3 1", texts::Text(65208),
         {"1|A|1|imp", "2|B|2|imp", "3|C|3|imp"}},
        {"mode 3 re-keys existing records, then appends the rest", 3, false,
         {{1, "Alt1", 1.0, "x"}, {2, "Alt2", 2.0, "x"}}, {{1, "N1", 10.0}, {2, "N2", 20.0}, {3, "N3", 30.0}}, "100",
         false, "1 2 2 0 5 0", texts::Text(64989) + done,
         {"1|Alt1|1|x", "2|Alt2|2|x", "3|N3|30|imp", "100|N1|10|imp", "101|N2|20|imp"}},
        {"mode 3 with a start value that collides", 3, false, {{1, "Alt1", 1.0, "x"}, {2, "Alt2", 2.0, "x"}},
         {{1, "N1", 10.0}, {2, "N2", 20.0}}, "2", false, "0 2 2 0 4 2", texts::Text(64989) + done,
         {"1|Alt1|1|x", "2|Alt2|2|x"}},
        {"mode 4 counts keys up from the start value", 4, false, {}, abc, "10", false, "3 0 0 0 3 0",
         texts::Text(65208), {"10|A|1,5|imp", "11|B|2,5|imp", "12|C|3,5|imp"}},
        {"mode 5 updates existing records and appends the others", 5, false, {{1, "Alt", 5.0, "x"}},
         {{1, "Neu", 7.0}, {2, "Zwei", 8.0}}, "", false, "1 0 0 1 2 0", texts::Text(65209) + done,
         {"1|Neu|5|imp", "2|Zwei|8|imp"}},
        {"mode 5 without a key row passes every record over", 5, true, {}, abc, "", false, "0 0 0 0 0 0",
         texts::Text(65209) + done, {}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        prepare(c.source, c.before, c.dbase);
        // An updated record keeps the field whose FeldAkt is off; an appended one gets it.
        setRow("Betrag", {{"FeldAkt", c.mode != 5}});
        run.Startwert = QString::fromUtf8(c.start);
        setSetting({{"ZielLeeren", c.zielLeeren}});
        try {
            runMode(c.mode);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_EQ(counters(), QString::fromUtf8(c.counters));
        EXPECT_EQ(observer.running, c.running);
        // Mode 4 leaves offering to close to the finish page.
        EXPECT_EQ(observer.closeOffered_, c.mode != 4);
        EXPECT_EQ(observer.gaugeMaximum, static_cast<int>(c.source.size()));
        // The files hold the records while the run's table is still open.
        const int onDisk = recordsOnDisk(targetFile());
        if (onDisk >= 0) {
            EXPECT_EQ(onDisk, static_cast<int>(c.records.size()));
        }
        QStringList records = targetRecords();
        if (c.dbase)
            std::sort(records.begin(), records.end());
        QStringList expected = c.records;
        if (c.dbase)
            std::sort(expected.begin(), expected.end());
        EXPECT_EQ(records, expected);
    }
}

TEST_F(Drivers, GeneratedTextKeys)
{
    struct Case {
        const char* start;
        int n;
        const char* key;  // nullptr: out of the 32-bit range
    };
    const Case cases[] = {
        {"A007", 0, "A7"}, {"A007", 1, "A8"},     {"ABC", 0, "ABC0"},      {"ABC", 2, "ABC2"},
        {"", 1, "1"},      {"12", 1, "13"},       {"X-5", 0, "X-5"},       {"X2147483646", 1, "X2147483647"},
        {"X2147483647", 1, nullptr},              {"99999999999", 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " + " + std::to_string(c.n));
        if (c.key)
            EXPECT_EQ(engine::GeneratedTextKey(QString::fromUtf8(c.start), c.n), QString::fromUtf8(c.key));
        else
            EXPECT_ANY_THROW(engine::GeneratedTextKey(QString::fromUtf8(c.start), c.n));
    }
}

TEST_F(Drivers, TextKeysCountedUpInMode4)
{
    struct Case {
        const char* start;
        QStringList keys;
    };
    const Case cases[] = {
        {"A007", {"A7", "A8"}},
        {"ABC", {"ABC0", "ABC1"}},
        {"12", {"   12", "   13"}},  // digits are right-aligned to the width of 5
        {"", {"    0", "    1"}},
        {"007", {"    7", "    8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        TearDown();
        SetUp();
        makeSource({def("Name", FieldType::ftString, 20)}, {{"a"}, {"b"}});
        makeTarget({def("Code", FieldType::ftString, 5), def("Name", FieldType::ftString, 20)}, 1);
        addRow("Code", "");
        addRow("Name", "Name");
        run.Startwert = QString::fromUtf8(c.start);
        runMode(4);
        QStringList keys;
        for (const QString& record : targetRecords())
            keys << record.section(u'|', 0, 0);
        EXPECT_EQ(keys, c.keys);
    }
}

TEST_F(Drivers, Mode3RekeysTextKeysFromTheStartValue)
{
    makeSource({def("Code", FieldType::ftString, 5), def("Name", FieldType::ftString, 20)}, {{"K1", "a"}, {"K2", "b"}});
    makeTarget({def("Code", FieldType::ftString, 5), def("Name", FieldType::ftString, 20)}, 1,
               false, {{"K1", "alt"}, {"K2", "alt"}});
    addRow("Code", "Code");
    addRow("Name", "Name");
    run.Startwert = "A007";
    runMode(3);
    EXPECT_EQ(targetRecords(), (QStringList{"A7|a", "A8|b", "K1|alt", "K2|alt"}));
    EXPECT_EQ(counters(), "0 2 2 0 4 0");
}

TEST_F(Drivers, Mode4RefusesAKeyTypeWithoutRule)
{
    prepare(abc);
    setRow("Nr", {{"Typ", 8}, {"Typbezeichnung", "BCD"}});
    run.Startwert = "1";
    ui.answer(platform::Button::Ok);
    runMode(4);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Information);
    EXPECT_EQ(ui.messages()[0].text, QString(texts::Text(64990)).replace("%s", "BCD"));
    EXPECT_EQ(tblZiel.State(), db::dsBrowse);
    EXPECT_TRUE(targetRecords().isEmpty());
    EXPECT_EQ(observer.running, texts::Text(65208));
    EXPECT_EQ(counters(), "0 0 0 0 0 0");
}

TEST_F(Drivers, AKeyRowWithoutSourceFieldSendsTheWizardToTheMapping)
{
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        TearDown();
        SetUp();
        mappingPageShown = 0;
        prepare(abc);
        setRow("Nr", {{"Zuordnung", ""}});
        ui.answer(platform::Button::Ok);
        EXPECT_EQ(runMode(mode), mode == 2);
        EXPECT_EQ(ui.messageTexts(), QStringList{texts::Text(64991)});
        EXPECT_EQ(mappingPageShown, 1);
        EXPECT_TRUE(observer.abandoned);
        EXPECT_EQ(observer.running, mode == 2 ? texts::Text(64989) : texts::Text(65207));
        EXPECT_FALSE(observer.closeOffered_);
        EXPECT_TRUE(targetRecords().isEmpty());
        ui.clearRecord();
    }
}

TEST_F(Drivers, CancelConfirmedDuringARecord)
{
    struct Case {
        int mode;
        int postsPerRecord;
        const char* counters;
        int gauge;
    };
    // Cancelled during the second of five records: that record is completed, nothing after it is read.
    const Case cases[] = {
        {1, 4, "2 0 0 0 2 0", 2},
        {2, 1, "2 3 0 0 5 0", 5},  // mode 2 counts the records it never read as ignored, and ends the gauge full
        {5, 1, "2 0 0 0 2 0", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        TearDown();
        SetUp();
        prepare({{1, "A", 1.0}, {2, "B", 2.0}, {3, "C", 3.0}, {4, "D", 4.0}, {5, "E", 5.0}});
        int posts = 0;
        const QMetaObject::Connection connection = QObject::connect(&tblZiel, &db::Table::afterPost, [&] {
            if (++posts == 2 * c.postsPerRecord)
                observer.cancel = true;
        });
        runMode(c.mode);
        QObject::disconnect(connection);
        EXPECT_EQ(counters(), QString::fromUtf8(c.counters));
        EXPECT_TRUE(observer.running.endsWith(texts::Text(65279)));
        EXPECT_TRUE(observer.closeOffered_);
        EXPECT_EQ(targetRecords(), (QStringList{"1|A|1|imp", "2|B|2|imp"}));
        // The gauge shows the record reached, however seldom it was drawn on the way.
        EXPECT_EQ(observer.gauge, c.gauge);
    }
}

TEST_F(Drivers, ARefusedPostEndsTheRunAndKeepsWhatWasPosted)
{
    // The third record repeats a key: its first Post fails and nothing catches that.
    prepare({{1, "A", 1.0}, {2, "B", 2.0}, {2, "C", 3.0}, {4, "D", 4.0}});
    try {
        runMode(1);
        ADD_FAILURE() << "the run went on past a refused record";
    } catch (const db::EngineError& e) {
        EXPECT_EQ(e.code(), db::ErrorCode::KeyViolation);
    }
    // The records begun are counted, the refused one among them.
    EXPECT_EQ(counters(), "3 0 0 0 3 0");
    // The window still offers cancelling, and says nothing of being done.
    EXPECT_FALSE(observer.closeOffered_);
    EXPECT_EQ(observer.running, texts::Text(65208));
    EXPECT_EQ(tblZiel.State(), db::dsBrowse);
    // Grids on the target and the mapping follow their cursors again.
    EXPECT_FALSE(tblZiel.ControlsDisabled());
    EXPECT_FALSE(tblZStrukt.ControlsDisabled());
    EXPECT_EQ(observer.gauge, 3);
    EXPECT_EQ(recordsOnDisk(targetFile()), 2);
#ifdef IMPORT_HAVE_PXLIB
    EXPECT_EQ(keysOnDisk(targetFile()), (QStringList{"1", "2"}));
#endif
    EXPECT_EQ(targetRecords(), (QStringList{"1|A|1|imp", "2|B|2|imp"}));
    tblZiel.Close();
    EXPECT_EQ(targetRecords(), (QStringList{"1|A|1|imp", "2|B|2|imp"}));
}

// A target that cannot hold a record for every source record is refused before the first one: otherwise the run
// would go through the whole source and lose every record at the flush.
TEST_F(Drivers, ATargetTooSmallForTheSourceIsRefusedBeforeTheFirstRecord)
{
    // Three records to a block of the largest size: 196,605 records at most.
    db::FieldDefList wide{def("Nr", db::FieldType::ftInteger)};
    for (int i = 1; i <= 42; ++i)
        wide.push_back({QStringLiteral("Text%1").arg(i), db::FieldType::ftString, 255, 0, false});
    makeTarget(wide, 1);
    const qint64 capacity = tblZiel.RecordCapacity();
    ASSERT_EQ(capacity, 3 * 65535);
    makeSource({def("Nr", db::FieldType::ftInteger)}, {});
    tblQuelle.Open();
    for (int i = 0; i <= capacity; ++i) {
        tblQuelle.Append();
        tblQuelle.Fields(0)->setAsInteger(i + 1);
        tblQuelle.Post();
    }
    tblQuelle.Close();
    addRow("Nr", "Nr");
    readSetting();
    try {
        runMode(1);
        ADD_FAILURE() << "the run started on a target too small for it";
    } catch (const db::EngineError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("höchstens 196605 Sätze"))) << e.what();
    }
    EXPECT_EQ(counters(), "0 0 0 0 0 0");
    EXPECT_EQ(recordsOnDisk(targetFile()), 0);
}

TEST_F(Drivers, NumericFormulasOverRecordsWithRepeatingValues)
{
    struct Case {
        const char* name;
        const char* formula;
        QStringList betrag;  // of the target records, in order
        int failures;
        QVariant second = 2.5;  // Betrag of the second record
    };
    // Records 1 and 3 have the same Betrag, so their formula texts are the same.
    const Case cases[] = {
        {"same text, same value", "#Betrag * 2", {"3", "5", "3"}, 0},
        // A failure is counted for every record it happens in; the field keeps the copied value.
        {"failure counted each time", "#Betrag / 0", {"1,5", "2,5", "1,5"}, 3},
        // RND draws anew on every evaluation: equal texts do not give one value.
        {"RND drawn for each record", "rnd(1000000) + #Betrag * 0", {}, 0},
        // A blank number is no number for the copy, and writes none into the text, whatever was computed for the
        // others.
        {"a blank number between equal ones", "#Betrag * 2", {"3", "", "3"}, 2, QVariant()},
        // Numbers that are written alike are the same expression.
        {"numbers written alike", "#Betrag * 2", {"3", "3", "3"}, 0, 1.5 + 4.5e-16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        prepare({{1, "A", 1.5}, {2, "B", c.second}, {3, "C", 1.5}});
        setRow("Betrag", {{"Formel_num", c.formula}});
        runMode(1);
        EXPECT_EQ(failures(), c.failures);
        EXPECT_FALSE(tblZiel.ControlsDisabled());
        QStringList betrag;
        for (const QString& record : targetRecords())
            betrag << record.section(u'|', 2, 2);
        if (!c.betrag.isEmpty()) {
            EXPECT_EQ(betrag, c.betrag);
        } else {
            ASSERT_EQ(betrag.size(), 3);
            EXPECT_NE(betrag[0], betrag[2]);
        }
    }
}

TEST_F(Drivers, CountsAreShownExactBeforeEveryMessageBoxOfARun)
{
    // A text formula naming a field the source lacks shows an error box for every record, in the middle of it.
    class Snapshots : public platform::ScriptedUi {
    public:
        explicit Snapshots(const RecordingObserver& observer) : observer_(observer) {}
        platform::Button showMessage(const platform::MessageRequest& request) override
        {
            shown.push_back(observer_.shown);
            return ScriptedUi::showMessage(request);
        }
        std::vector<engine::ImportCounts> shown;

    private:
        const RecordingObserver& observer_;
    };
    prepare(abc);
    setRow("Status", {{"Formel_alph", "#Fehlt"}});
    Snapshots boxes(observer);
    platform::ScopedUserInterface installedHere(boxes);
    for (int i = 0; i < 3; ++i)
        boxes.answer(platform::Button::Ok);
    runMode(1);
    ASSERT_EQ(boxes.shown.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        // The record the box interrupts is counted already.
        EXPECT_EQ(boxes.shown[k - 1].AnzHinzu, k);
        EXPECT_EQ(boxes.shown[k - 1].Summe, k);
    }
}

}  // namespace
