#include "TextRoad.h"
#include "support/FieldDefs.h"
#include "support/TextSamples.h"

#include "db/EngineError.h"
#include "db/Table.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/ScriptedUi.h"
#include "platform/UserInterface.h"
#include "rtl/CodePages.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace engine;
using namespace samples;
using Rows = std::vector<QStringList>;
using Answer = LineFaultAnswer;

namespace {

// The page's choices at the start: the semicolon on, nothing else.
SeparatedReading semicolons()
{
    return {QStringLiteral(";"), QChar(), false, false};
}

class TextImport : public ::testing::Test {
protected:
    TextRoad road;
};

}  // namespace

TEST_F(TextImport, QualifierFoundInTheFirstLine)
{
    struct Case {
        const char* name;
        QByteArray firstLine;
        QString qualifier;
    } const cases[] = {
        {"two values in double quotes", "\"Meier\";\"Köln\"\r\n'x'", "\""},
        {"a word with one apostrophe and a value in apostrophes", "it's;'Köln'", "'"},
        {"two apostrophes between the first and the second double quote", "\"a''b\";c", "'"},
        {"a single quote character", "a\"b;c\r\n\"x\";\"y\"", ""},
        {"an empty first line", "\r\n\"x\";\"y\"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextbegrenzerErmitteln(road.source(c.firstLine)), c.qualifier);
    }
}

TEST_F(TextImport, FileIntoTheSourceTable)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::function<void(SeparatedReading&)> options;
        std::vector<Answer> answers;  // to the faulty-line question, in order
        Rows records;
        std::vector<int> sizes;
    } const cases[] = {
        // The preview takes the first line as it stands, so its closing semicolon still makes a third column.
        {"a closing semicolon is dropped and a one-character line is a record", "a;bb;\r\nx\r\nccc;d\r\n",
         [](SeparatedReading&) {}, {}, {{"a", "bb", ""}, {"x", "", ""}, {"ccc", "d", ""}}, {3, 2, 1}},
        {"a value over two lines lands whole", "\"Zeile eins\r\nZeile zwei\";7\r\nx;8",
         [](SeparatedReading& r) { r.qualifier = u'"'; }, {}, {{"Zeile eins\r\nZeile zwei", "7"}, {"x", "8"}},
         {22, 1}},
        // The values of an ignored line never widen a field; those of a line kept in part do.
        {"Yes ignores the faulty line", "a;b\r\nccc;dd;e\r\nf;g", [](SeparatedReading&) {}, {Answer::IgnoreLine},
         {{"a", "b"}, {"f", "g"}}, {1, 1}},
        {"No keeps the values that fitted", "a;b\r\nccc;dd;e\r\nf;g", [](SeparatedReading&) {},
         {Answer::KeepFitted}, {{"a", "b"}, {"ccc", "dd"}, {"f", "g"}}, {3, 2}},
        {"Cancel stops and keeps the values that fitted", "a;b\r\nccc;dd;e\r\nf;g", [](SeparatedReading&) {},
         {Answer::Stop}, {{"a", "b"}, {"ccc", "dd"}}, {3, 2}},
        {"Yes to all asks once", "a;b\r\nccc;d;e\r\nf;ggg;h\r\ni;j", [](SeparatedReading&) {}, {Answer::IgnoreAll},
         {{"a", "b"}, {"i", "j"}}, {1, 1}},
        {"a blank faulty line is kept without asking", "a;b\r\n   \r\nc;d",
         [](SeparatedReading& r) { r.separators = QStringLiteral(" ;"); }, {}, {{"a", "b"}, {"", ""}, {"c", "d"}},
         {1, 1}},
        {"the first line names the fields", ansi("Name;Ort\r\nMeier;Köln"),
         [](SeparatedReading& r) { r.firstLineHoldsNames = true; }, {}, {{"Meier", u8("Köln")}}, {5, 4}},
        {"a field without any value is one character wide", "a;;c\r\nd;;f", [](SeparatedReading&) {}, {},
         {{"a", "", "c"}, {"d", "", "f"}}, {1, 1, 1}},
        {"umlauts of a Windows file", ansi("Müller;Straße\r\nÄrger;Öl"), [](SeparatedReading&) {}, {},
         {{u8("Müller"), u8("Straße")}, {u8("Ärger"), u8("Öl")}}, {6, 6}},
        {"umlauts of a DOS file", oem("Müller;Straße\r\nÄrger;Öl"), [](SeparatedReading& r) { r.dosToWin = true; },
         {}, {{u8("Müller"), u8("Straße")}, {u8("Ärger"), u8("Öl")}}, {6, 6}},
        {"whole lines, empty ones too", "eins;zwei\r\n\r\ndrei", [](SeparatedReading& r) { r.separators.clear(); },
         {}, {{"eins;zwei"}, {""}, {"drei"}}, {9}},
        {"whole lines after the names line", "Kopf\r\neins\r\nzwei",
         [](SeparatedReading& r) {
             r.separators.clear();
             r.firstLineHoldsNames = true;
         },
         {}, {{"eins"}, {"zwei"}}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad r;
        const QString path = r.source(c.file);
        SeparatedReading reading = semicolons();
        c.options(reading);
        ScriptedFaults faults(c.answers);
        r.importSeparated(path, reading, faults);
        const QString table = r.sourceTable(path);
        EXPECT_EQ(TextRoad::records(table), c.records);
        EXPECT_EQ(TextRoad::fieldSizes(table), c.sizes);
        EXPECT_EQ(faults.asked.size(), static_cast<qsizetype>(c.answers.size()));
        EXPECT_FALSE(QFileInfo::exists(r.stagingTable()));
    }
}

// Nobody watching is nobody asked: a faulty line keeps the values that fitted.
TEST_F(TextImport, ASilentReadingKeepsWhatFittedOfAFaultyLine)
{
    const QString path = road.source("a;b\r\nccc;dd;e\r\nf;g");
    TextReadProgress silent;
    road.importSeparated(path, semicolons(), silent);
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"a", "b"}, {"ccc", "dd"}, {"f", "g"}}));
}

// The reading hands its records to the sizing beside the staging table, not in it: the sizing moves them and after
// them whatever the staging table holds, and forgets them once the staging table is created or read anew.
TEST_F(TextImport, TheSizingMovesTheRecordsOfTheStagingTableItIsGiven)
{
    struct Case {
        const char* name;
        std::function<void(TextRoad&)> change;
        Rows records;
        std::vector<int> sizes;
    } const cases[] = {
        {"unchanged", [](TextRoad&) {}, {{"aa", "b"}, {"c", "ddd"}}, {2, 3}},
        {"opened and closed by another cursor",
         [](TextRoad& r) {
             db::Table other;
             other.setTableName(r.stagingTable());
             other.Open();
             other.Close();
         },
         {{"aa", "b"}, {"c", "ddd"}}, {2, 3}},
        {"a record written into it",
         [](TextRoad& r) {
             db::Table other;
             other.setTableName(r.stagingTable());
             other.setExclusive(true);
             other.Open();
             other.Append();
             other.Fields(0)->setAsString("eeeee");
             other.Post();
             other.Close();
         },
         {{"aa", "b"}, {"c", "ddd"}, {"eeeee", ""}}, {5, 3}},
        {"created anew", [](TextRoad& r) { CreateStagingTable(r.tblZSP, r.staged, r.stagingTable(), {"X", "Y"}); },
         {},
         {1, 1}},
        {"filled by another reading",
         [](TextRoad& r) {
             TextReadProgress silent;
             ReadSeparatedFile(r.source("x;yyyy\r\n", "other.txt"), r.tblZSP, r.staged, semicolons(), silent);
         },
         {{"x", "yyyy"}}, {1, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad r;
        const QString path = r.source("aa;b\r\nc;ddd\r\n");
        ScriptedFaults faults;
        CreateStagingTable(r.tblZSP, r.staged, r.stagingTable(), TextRoad::previewHeaders(path, semicolons()));
        ReadSeparatedFile(path, r.tblZSP, r.staged, semicolons(), faults);
        c.change(r);
        DefineFieldSizes(r.tblZSP, r.staged, r.tblQuelle, r.sourceTable(path), r.BMV, faults);
        const QString table = r.sourceTable(path);
        EXPECT_EQ(TextRoad::records(table), c.records);
        EXPECT_EQ(TextRoad::fieldSizes(table), c.sizes);
        EXPECT_FALSE(QFileInfo::exists(r.stagingTable()));
    }
}

TEST_F(TextImport, TheSourceTableIsNamedAfterTheFileAndTakesTheHeaders)
{
    const QString path = road.source("1;2\r\n", "Artikel.liste.txt");
    ScriptedFaults faults;
    road.importSeparated(path, semicolons(), {"FELD_1", "Preis"}, faults);
    const QString table = road.sourceTable(path);
    EXPECT_EQ(QFileInfo(table).fileName(), "Artikel.liste.db");
    EXPECT_EQ(TextRoad::fieldNames(table), (QStringList{"FELD_1", "Preis"}));
    EXPECT_EQ(TextRoad::records(table), (Rows{{"1", "2"}}));
    // The source table is left closed for the structure reader.
    EXPECT_FALSE(road.tblQuelle.Active());
    EXPECT_EQ(QFileInfo(road.tblQuelle.filePath()).absoluteFilePath(), QFileInfo(table).absoluteFilePath());
}

TEST_F(TextImport, AColumnWithoutHeaderGetsNoFieldAndLaterValuesMoveLeft)
{
    const QString path = road.source("a;b;c\r\n");
    ScriptedFaults faults({Answer::KeepFitted});  // the third value has no field left
    road.importSeparated(path, semicolons(), {"FELD_1", "", "FELD_3"}, faults);
    EXPECT_EQ(TextRoad::fieldNames(road.sourceTable(path)), (QStringList{"FELD_1", "FELD_3"}));
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"a", "b"}}));
}

TEST_F(TextImport, ASourceFileCalledLikeTheStagingTableStillGivesItsTable)
{
    const QString path = road.source("a;b\r\nc;d\r\n", "zsp.txt");
    ScriptedFaults faults;
    road.importSeparated(path, semicolons(), faults);
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(QDir(road.context.TempFolder()).entryList(QDir::Files), QStringList{"zsp.db"});
}

TEST_F(TextImport, ValuesLongerThanTheStagingFieldsAreCut)
{
    const QByteArray longValue(300, 'x');
    const QString path = road.source("kurz;" + longValue + "\r\n");
    ScriptedFaults faults;
    road.importSeparated(path, semicolons(), faults);
    EXPECT_EQ(TextRoad::fieldSizes(road.sourceTable(path)), (std::vector<int>{4, 255}));
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"kurz", QString(255, u'x')}}));
    ASSERT_EQ(faults.changeReports, 1);
    EXPECT_EQ(faults.changes.cutValues, 1);

    // What the wizard shows of it.
    platform::ScriptedUi ui;
    platform::ScopedUserInterface use(ui);
    ui.answer(platform::Button::Ok);
    ReportTextReadChanges(faults.changes);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Warning);
    EXPECT_EQ(ui.messages()[0].text, u8("Beim Einlesen der Textdatei mussten Werte verändert werden.\r\n\r\n"
                                        "Werte, die länger als 255 Zeichen waren und gekürzt wurden: 1"));
}

namespace {

// The changes a reading reports: values cut and characters replaced.
std::pair<int, int> changed(int cut, int replaced)
{
    return {cut, replaced};
}

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        const char low = static_cast<char>(u & 0xFF);
        const char high = static_cast<char>(u >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

}  // namespace

// Text files as they come today, through the whole reading into the source table, for each road.
TEST_F(TextImport, EncodingsOneCharacterLinesAndLongValuesInTheSourceTable)
{
    const QString names = u8("Name;Ort\r\n");
    const QString umlauts = names + u8("Müller;Köln\r\nÄrger;Öl");
    const Rows umlautRows = {{u8("Müller"), u8("Köln")}, {u8("Ärger"), u8("Öl")}};
    const QByteArray tooLong(300, 'x');
    enum Road { Separated, WholeLines, FixedWidth };
    struct Case {
        const char* name;
        QByteArray file;
        Road road;
        bool dos;
        QStringList fields;
        Rows records;
        std::pair<int, int> changes;
    } const cases[] = {
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" + umlauts.toUtf8(), Separated, false, {"Name", "Ort"},
         umlautRows, {}},
        {"UTF-16 LE with a byte order mark", utf16(umlauts, true), Separated, false, {"Name", "Ort"}, umlautRows, {}},
        {"UTF-16 BE with a byte order mark", utf16(umlauts, false), Separated, false, {"Name", "Ort"}, umlautRows,
         {}},
        {"the mark decides over the DOS choice", "\xEF\xBB\xBF" + umlauts.toUtf8(), Separated, true,
         {"Name", "Ort"}, umlautRows, {}},
        {"UTF-8 without a mark", umlauts.toUtf8(), Separated, false, {"Name", "Ort"}, umlautRows, {}},
        {"UTF-8 without a mark, fixed width", u8("Müller Köln\r\nÄrger  Öl").toUtf8(), FixedWidth, false,
         {"FELD_1", "FELD_2"}, umlautRows, {}},
        {"Windows-1252, fixed width", ansi("Müller Köln\r\nÄrger  Öl"), FixedWidth, false, {"FELD_1", "FELD_2"},
         umlautRows, {}},
        {"DOS code page 850, fixed width, a tab and blanks trimmed", oem("Müller\tKöln \r\nÄrger  Öl\x01"),
         FixedWidth, true, {"FELD_1", "FELD_2"}, umlautRows, {}},
        {"UTF-8 without a mark read as DOS text when that is chosen", u8("Name;Ort\r\nMü;x").toUtf8(), Separated,
         true, {"Name", "Ort"}, {{"M??", "x"}}, changed(0, 2)},
        {"Windows-1252", ansi("Name;Ort\r\nMüller;Köln\r\nÄrger;Öl"), Separated, false, {"Name", "Ort"},
         umlautRows, {}},
        {"DOS code page 850", oem("Name;Ort\r\nMüller;Köln\r\nÄrger;Öl"), Separated, true, {"Name", "Ort"},
         umlautRows, {}},
        {"DOS characters Windows-1252 lacks", oem("Name;Ort\r\n╔═╗;ok"), Separated, true, {"Name", "Ort"},
         {{"???", "ok"}}, changed(0, 3)},
        {"characters Windows-1252 lacks, one for a pair of halves", (names + u8("Łódź;😀 €")).toUtf8(), Separated,
         false, {"Name", "Ort"}, {{u8("?ód?"), u8("? €")}}, changed(0, 3)},
        {"whole lines of other characters", u8("Łx\r\n€").toUtf8(), WholeLines, false, {"FELD_1"},
         {{"?x"}, {u8("€")}}, changed(0, 1)},
        {"one-character lines, an empty one skipped", "a\r\nb\r\n\r\nc\r\n", Separated, false, {"FELD_1"},
         {{"a"}, {"b"}, {"c"}}, {}},
        {"long values cut and counted", "kurz;" + tooLong + "\r\n" + tooLong + ";" + tooLong, Separated, false,
         {"FELD_1", "FELD_2"}, {{"kurz", QString(255, u'x')}, {QString(255, u'x'), QString(255, u'x')}},
         changed(3, 0)},
        {"a long line cut and counted", tooLong, WholeLines, false, {"FELD_1"}, {{QString(255, u'x')}},
         changed(1, 0)},
        {"both counted in one message", (u8("Ł;") + QString(256, u'y')).toUtf8(), Separated, false,
         {"FELD_1", "FELD_2"}, {{"?", QString(255, u'y')}}, changed(1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad r;
        const QString path = r.source(c.file);
        ScriptedFaults faults;
        if (c.road == FixedWidth) {
            ColumnBoundaryList boundaries;
            TrennposHinzufuegen(boundaries, 7);
            r.importFixedWidth(path, boundaries, c.dos, &faults);
        } else {
            SeparatedReading reading = semicolons();
            reading.firstLineHoldsNames = c.fields.first() != "FELD_1";
            reading.dosToWin = c.dos;
            if (c.road == WholeLines)
                reading.separators.clear();
            r.importSeparated(path, reading, faults);
        }
        const QString table = r.sourceTable(path);
        EXPECT_EQ(TextRoad::fieldNames(table), c.fields);
        EXPECT_EQ(TextRoad::records(table), c.records);
        EXPECT_EQ(faults.changeReports, c.changes == std::pair(0, 0) ? 0 : 1);
        EXPECT_EQ(std::pair(faults.changes.cutValues, faults.changes.replacedCharacters), c.changes);
    }
}

TEST_F(TextImport, MaxFeldLaengeIsTheLongestValueAndAtLeastOne)
{
    db::Table table;
    CreateStagingTable(table, road.staged, road.stagingTable(), {"A", "B"});
    table.Open();
    for (const char* value : {"", "abc", "abcde", "x"}) {
        table.Append();
        table.Fields(0)->setAsString(value);
        table.Post();
    }
    EXPECT_EQ(MaxFeldLaenge(table, "A"), 5);
    EXPECT_EQ(MaxFeldLaenge(table, "b"), 1);
    table.Close();
}

// Files that are no text must end in a table or a clear message, never in a crash or a hang.
TEST_F(TextImport, FilesThatAreNoText)
{
    QRandomGenerator random(4711);
    QByteArray binary(300000, '\0');
    for (char& b : binary)
        b = static_cast<char>(random.bounded(256));
    QByteArray utf16;
    for (QChar ch : u8("Müller;Köln\r\nMeier;Bonn\r\n"))
        utf16 += QByteArray(reinterpret_cast<const char*>(&ch), 2);
    QByteArray oneLongLine;
    for (int i = 0; i < 10000; ++i)
        oneLongLine += "wert;";
    oneLongLine += QByteArray(100000 - oneLongLine.size(), 'y');

    struct Case {
        const char* name;
        QByteArray file;
        bool separated;
        bool tooManyColumns;
    } const cases[] = {
        {"random bytes, separated", binary, true, false},
        {"random bytes, whole lines", binary, false, false},
        {"a UTF-16 file", utf16, true, false},
        {"NUL bytes only", QByteArray(5000, '\0'), true, false},
        {"one line of 100,000 characters with 10,000 separators", oneLongLine, true, true},
        {"one line of 100,000 characters, whole lines", oneLongLine, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad r;
        const QString path = r.source(c.file);
        SeparatedReading reading = semicolons();
        if (!c.separated)
            reading.separators.clear();
        // Yes to all: whatever the number of faulty lines, one question at most.
        ScriptedFaults faults({Answer::IgnoreAll});
        try {
            ReadSeparatedPreview(path, reading, 20);
            r.importSeparated(path, reading, faults);
        } catch (const db::EngineError& e) {
            // More columns than a table may have fields: the engine's own message says so.
            EXPECT_TRUE(c.tooManyColumns) << e.what();
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("255"))) << e.what();
            continue;
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_FALSE(c.tooManyColumns);
        db::Table source;
        source.setTableName(r.sourceTable(path));
        ASSERT_NO_THROW(source.Open());
        EXPECT_GE(source.FieldCount(), 1);
        for (int i = 0; i < source.FieldCount(); ++i)
            EXPECT_LE(source.Fields(i)->Size(), 255);
        source.Close();
    }
    {
        // The UTF-16 file keeps its readable text once the NUL bytes are gone.
        TextRoad r;
        const SeparatedPreview preview = ReadSeparatedPreview(r.source(utf16), semicolons(), 20);
        ASSERT_GE(preview.records.size(), 2u);
        EXPECT_EQ(preview.records[1].values, (QStringList{"Meier", "Bonn"}));
    }
}

namespace {

// Cancels once a number of records has been read.
class CancelAfter : public TextReadProgress {
public:
    explicit CancelAfter(int records) : left_(records) {}
    void recordRead() override { --left_; }
    bool cancelled() override { return left_ <= 0; }

private:
    int left_;
};

}  // namespace

TEST_F(TextImport, CancelKeepsTheRecordsReadAndSizingStillRuns)
{
    const QString path = road.source("aa;b\r\nc;dd\r\ne;f\r\ng;h\r\n");
    CancelAfter cancel(2);
    road.importSeparated(path, semicolons(), cancel);
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"aa", "b"}, {"c", "dd"}}));
}

TEST_F(TextImport, ASecondImportOfTheSameFileReplacesTheSourceTable)
{
    ScriptedFaults faults;
    road.importSeparated(road.source("a;b\r\n"), semicolons(), faults);
    const QString path = road.source("c;d\r\ne;f\r\n");
    road.importSeparated(path, semicolons(), faults);
    EXPECT_EQ(TextRoad::records(road.sourceTable(path)), (Rows{{"c", "d"}, {"e", "f"}}));
}

namespace {

// Fails the sizing once it has moved a number of records.
class FailSizingAfter : public TextReadProgress {
public:
    explicit FailSizingAfter(int records) : left_(records) {}
    void sizingStep() override
    {
        if (--left_ == 0)
            throw std::runtime_error("sizing stopped");
    }

private:
    int left_;
};

QStringList scratchFilesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("ZSP-*")}, QDir::Files);
}

}  // namespace

// Values beyond the memory the reading may keep wait in a scratch file beside the staging table: the sized source
// table is the one a reading kept wholly in memory gives, and the file is gone on every way out.
TEST_F(TextImport, StagedValuesBeyondTheBoundComeBackFromAScratchFileThatGoesOnEveryWayOut)
{
    QByteArray file;
    for (int i = 0; i < 3000; ++i)
        file += QByteArray::number(i) + ';' + QByteArray(i % 300, char('a' + i % 26)) + ";M\xfcller " +
                QByteArray::number(i % 7) + (i % 5 == 0 ? ";" : ";x") + "\r\n";
    const QString fileName = QStringLiteral("gross.txt");
    TextReadProgress silent;
    TextRoad inMemory;
    inMemory.importSeparated(inMemory.source(file, fileName), semicolons(), silent);
    const Rows expected = TextRoad::records(inMemory.sourceTable(fileName));
    ASSERT_EQ(expected.size(), 3000u);

    struct Case {
        const char* name;
        std::function<void(TextRoad&, const QString& path)> wayOut;
        bool sized;  // the sizing took the records whole
        int cancelAfter = 0;  // records the person lets the reading take; 0: all
    } const cases[] = {
        {"the sizing takes them",
         [](TextRoad& r, const QString& path) {
             TextReadProgress quiet;
             DefineFieldSizes(r.tblZSP, r.staged, r.tblQuelle, r.sourceTable(path), r.BMV, quiet);
         },
         true},
        {"the sizing takes those of a cancelled reading",
         [](TextRoad& r, const QString& path) {
             TextReadProgress quiet;
             DefineFieldSizes(r.tblZSP, r.staged, r.tblQuelle, r.sourceTable(path), r.BMV, quiet);
         },
         true, 2000},
        {"a new staging table forgets them",
         [](TextRoad& r, const QString&) {
             CreateStagingTable(r.tblZSP, r.staged, r.stagingTable(), ColumnHeaders(4, true, QString()));
         },
         false},
        {"the sizing fails before it moves them",
         [](TextRoad& r, const QString&) {
             TextReadProgress quiet;
             const QString nowhere = QDir(r.program.path()).filePath(QStringLiteral("fehlt/quelle.db"));
             EXPECT_ANY_THROW(DefineFieldSizes(r.tblZSP, r.staged, r.tblQuelle, nowhere, r.BMV, quiet));
         },
         false},
        {"the sizing fails while it moves them",
         [](TextRoad& r, const QString& path) {
             FailSizingAfter failing(2500);
             EXPECT_ANY_THROW(DefineFieldSizes(r.tblZSP, r.staged, r.tblQuelle, r.sourceTable(path), r.BMV, failing));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextRoad r;
        const QString path = r.source(file, fileName);
        r.staged.setMemoryBound(4096);
        CreateStagingTable(r.tblZSP, r.staged, r.stagingTable(), TextRoad::previewHeaders(path, semicolons()));
        CancelAfter cancel(c.cancelAfter);
        ReadSeparatedFile(path, r.tblZSP, r.staged, semicolons(), c.cancelAfter > 0 ? cancel : silent);
        const QString scratch = r.staged.scratchPath();
        ASSERT_FALSE(scratch.isEmpty());
        EXPECT_TRUE(QFileInfo::exists(scratch));
        c.wayOut(r, path);
        EXPECT_FALSE(QFileInfo::exists(scratch));
        EXPECT_EQ(scratchFilesIn(QFileInfo(r.stagingTable()).absolutePath()), QStringList());
        if (c.sized && c.cancelAfter > 0) {
            EXPECT_EQ(TextRoad::records(r.sourceTable(path)), Rows(expected.begin(), expected.begin() + c.cancelAfter));
        } else if (c.sized) {
            EXPECT_EQ(TextRoad::records(r.sourceTable(path)), expected);
            EXPECT_EQ(testsupport::fileBytes(r.sourceTable(path)),
                      testsupport::fileBytes(inMemory.sourceTable(fileName)));
        }
    }
}
