#include "TextPage.h"

#include "db/EngineError.h"
#include "engine/PreviewGrid.h"
#include "engine/TextReadProgress.h"
#include "engine/TextScanner.h"
#include "engine/WorkingTables.h"
#include "platform/ScriptedUi.h"
#include "rtl/CodePages.h"
#include "texts/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace engine;
using Rows = std::vector<QStringList>;

namespace {

QByteArray ansi(const char* utf8)
{
    return rtl::encode(QString::fromUtf8(utf8), rtl::CodePage::Windows1252);
}

QByteArray oem(const char* utf8)
{
    return rtl::encode(QString::fromUtf8(utf8), rtl::CodePage::Oem850);
}

QString u8(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Answers every box with the first of the given buttons the box offers, and counts the boxes. For inputs whose
// number of faulty lines nobody can know beforehand.
class AnswerEverything : public platform::UserInterface {
public:
    explicit AnswerEverything(std::vector<platform::Button> preferred) : preferred_(std::move(preferred)) {}
    platform::Button showMessage(const platform::MessageRequest& request) override
    {
        ++boxes;
        const auto offered = platform::buttonsOf(request.buttons);
        for (platform::Button b : preferred_)
            if (std::find(offered.begin(), offered.end(), b) != offered.end())
                return b;
        return offered.front();
    }
    QString fileDialog(platform::FileDialogKind, const platform::FileDialogRequest&) override { return {}; }
    std::optional<QString> inputBox(const platform::InputRequest&) override { return std::nullopt; }
    void beep() override {}
    void showHelp(int) override {}
    bool openUrl(const QString&) override { return false; }
    int boxes = 0;

private:
    std::vector<platform::Button> preferred_;
};

// The preview of a page whose file has faulty lines, every box answered with OK: for tests of what comes after.
void previewQuietly(TextPage& page)
{
    AnswerEverything ok({platform::Button::Ok});
    platform::ScopedUserInterface use(ok);
    TrennzeichenVorschauZeigen(page.controls);
}

class TextImport : public ::testing::Test {
protected:
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    TextPage page;

    QString sourceTable() const { return SourceTablePath(page.edtQuelle.text()); }
    std::vector<int> sourceSizes()
    {
        db::Table table;
        table.setTableName(sourceTable());
        table.Open();
        std::vector<int> sizes;
        for (int i = 0; i < table.FieldCount(); ++i)
            sizes.push_back(table.Fields(i)->Size());
        table.Close();
        return sizes;
    }
    QStringList sourceFieldNames()
    {
        db::Table table;
        table.setTableName(sourceTable());
        table.Open();
        QStringList names;
        for (int i = 0; i < table.FieldCount(); ++i)
            names << table.Fields(i)->FieldName();
        table.Close();
        return names;
    }
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
        EXPECT_EQ(TextbegrenzerErmitteln(page.setSource(c.firstLine)), c.qualifier);
    }
}

TEST_F(TextImport, SeparatorGuessedFromCommasAndSemicolons)
{
    struct Case {
        const char* name;
        QByteArray firstLine;
        bool commaBefore, semicolonBefore;
        bool comma, semicolon;
    } const cases[] = {
        {"more commas", "a,b,c;d", false, true, true, false},
        {"more semicolons", "a;b;c,d", true, false, false, true},
        {"equal counts leave both as they were", "a,b;c", true, false, true, false},
        {"equal counts, the other way round", "a,b;c", false, true, false, true},
        {"neither: both off", "abc", true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.setSource(c.firstLine);
        page.cbxKomma.setChecked(c.commaBefore);
        page.cbxSemic.setChecked(c.semicolonBefore);
        page.cbxTab.setChecked(true);
        SearchSeparators(page.controls);
        EXPECT_EQ(page.cbxKomma.isChecked(), c.comma);
        EXPECT_EQ(page.cbxSemic.isChecked(), c.semicolon);
        EXPECT_TRUE(page.cbxTab.isChecked());
    }
}

TEST_F(TextImport, SeparatorGuessOnAFileThatCannotBeReadSaysSoAndChangesNothing)
{
    page.edtQuelle.setText(page.sources.path() + "/fehlt.txt");
    page.cbxSemic.setChecked(true);
    ui.answer(platform::Button::Ok);
    SearchSeparators(page.controls);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, u8("Funktion SearchSeparators() verursachte einen Fehler"));
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Information);
    EXPECT_TRUE(page.cbxSemic.isChecked());
}

TEST_F(TextImport, SeparatorSetFromTheBoxes)
{
    page.cbxKomma.setChecked(true);
    page.cbxTab.setChecked(true);
    page.cbxSemic.setChecked(false);
    page.cbxAndere.setChecked(true);
    page.edtAndere.setText("|");
    page.comDelimiter.setCurrentIndex(2);
    EXPECT_TRUE(TrennzeichenUebernehmen(page.controls));
    EXPECT_TRUE(TextbegrenzerUebernehmen(page.controls));
    EXPECT_EQ(page.separators.separators(), ",\t|");
    EXPECT_EQ(page.separators.Textbegrenzer, "'");

    page.cbxKomma.setChecked(false);
    page.cbxTab.setChecked(false);
    page.edtAndere.clear();  // "other" on without a character is off
    page.comDelimiter.setCurrentIndex(0);
    EXPECT_FALSE(TrennzeichenUebernehmen(page.controls));
    EXPECT_FALSE(TextbegrenzerUebernehmen(page.controls));
    EXPECT_TRUE(page.separators.TrennAndere.isEmpty());
    EXPECT_TRUE(page.separators.Textbegrenzer.isEmpty());
}

TEST_F(TextImport, PreviewOfTheFirstRecords)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::function<void(TextPage&)> options;
        Rows rows;  // row 0: the headers
    } const cases[] = {
        {"four values, the third empty", "a;b;;d\r\ne;f;g;h\r\n", [](TextPage&) {},
         {{"FELD_1", "FELD_2", "FELD_3", "FELD_4"}, {"a", "b", "", "d"}, {"e", "f", "g", "h"}}},
        {"fewer values leave their cells empty", "a;b;c\r\nd\r\n", [](TextPage&) {},
         {{"FELD_1", "FELD_2", "FELD_3"}, {"a", "b", "c"}, {"d", "", ""}}},
        {"a quoted name holding the separator", ansi("\"Müller; Söhne\";42"),
         [](TextPage& p) { p.comDelimiter.setCurrentIndex(1); },
         {{"FELD_1", "FELD_2"}, {u8("Müller; Söhne"), "42"}}},
        {"a value over two lines is one record", "\"eins\r\nzwei\";1\r\nx;2",
         [](TextPage& p) { p.comDelimiter.setCurrentIndex(1); },
         {{"FELD_1", "FELD_2"}, {"eins\r\nzwei", "1"}, {"x", "2"}, {"", ""}}},  // a row per line
        {"the first line holds the names", "Name;Ort\r\nMeier;Bonn",
         [](TextPage& p) { p.cbxErsteZeile.setChecked(true); },
         {{"Name", "Ort"}, {"Meier", "Bonn"}, {"", ""}}},
        {"a stored setting's column names", "a;b;c",
         [](TextPage& p) { p.useStoredSetting("Name;Ort;"); }, {{"Name", "Ort", ""}, {"a", "b", "c"}}},
        {"DOS text converted", oem("Müller;Straße"), [](TextPage& p) { p.cbxDosToWin.setChecked(true); },
         {{"FELD_1", "FELD_2"}, {u8("Müller"), u8("Straße")}}},
        {"no separator and no qualifier: whole lines", "eins;zwei\r\ndrei",
         [](TextPage& p) { p.cbxSemic.setChecked(false); }, {{"FELD_1"}, {"eins;zwei"}, {"drei"}}},
        {"whole lines with the names in the first", "Zeile\r\neins;zwei",
         [](TextPage& p) {
             p.cbxSemic.setChecked(false);
             p.cbxErsteZeile.setChecked(true);
         },
         {{"Zeile"}, {"eins;zwei"}, {""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextPage p;
        p.setSource(c.file);
        c.options(p);
        TrennzeichenVorschauZeigen(p.controls);
        EXPECT_EQ(p.gridRows(), c.rows);
        EXPECT_FALSE(p.stgQuellDatVar.isHidden());
        EXPECT_TRUE(p.lblVorschauVorber.isHidden());
    }
}

TEST_F(TextImport, PreviewShowsTwentyRecordsAndPreparesTheRenaming)
{
    QByteArray file;
    for (int i = 1; i <= 30; ++i)
        file += QByteArray::number(i) + ";abcdefghijkl\r\n";
    page.setSource(file);
    TrennzeichenVorschauZeigen(page.controls);
    const Rows rows = page.gridRows();
    ASSERT_EQ(rows.size(), 21u);
    EXPECT_EQ(rows[20].at(0), "20");
    // 10 pixels per character of the longest cell or header.
    EXPECT_EQ(grid::ColWidth(&page.stgQuellDatVar, 0), 60);
    EXPECT_EQ(grid::ColWidth(&page.stgQuellDatVar, 1), 120);
    EXPECT_EQ(page.edtRenCols.text(), "FELD_1");
    EXPECT_EQ(page.AktSpalte, 0);
    EXPECT_FALSE(page.btnErste.isEnabled());
    EXPECT_FALSE(page.btnLinks.isEnabled());
    EXPECT_TRUE(page.btnRechts.isEnabled());
    EXPECT_TRUE(page.btnLetzte.isEnabled());
    const auto ranges = page.stgQuellDatVar.selectedRanges();
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0].leftColumn(), 0);
    EXPECT_EQ(ranges[0].rightColumn(), 0);
    EXPECT_EQ(ranges[0].rowCount(), 20);
}

TEST_F(TextImport, PreviewLineWithMoreValuesThanTheFirst)
{
    struct Case {
        const char* name;
        platform::Button answer;
        Rows rows;
    } const cases[] = {
        {"OK goes on with the next record", platform::Button::Ok,
         {{"FELD_1", "FELD_2"}, {"a", "b"}, {"c", "d"}, {"f", "g"}}},
        {"Cancel stops with the rows read so far", platform::Button::Cancel,
         {{"FELD_1", "FELD_2"}, {"a", "b"}, {"c", "d"}, {"", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedUi local;
        platform::ScopedUserInterface use(local);
        TextPage p;
        p.setSource("a;b\r\nc;d;e\r\nf;g");
        local.answer(c.answer);
        TrennzeichenVorschauZeigen(p.controls);
        EXPECT_EQ(p.gridRows(), c.rows);
        ASSERT_EQ(local.messages().size(), 1u);
        EXPECT_EQ(local.messages()[0].text,
                  u8("Die folgende Zeile verursachte einen Fehler:\r\n\r\nc;d;e\r\n\r\nPrüfen Sie, ob die Zeile so "
                     "aufgebaut ist, wie dies in der ersten Zeile der Datei festgelegt wurde."));
        EXPECT_EQ(local.messages()[0].buttons, platform::Buttons::OkCancel);
        EXPECT_FALSE(p.stgQuellDatVar.isHidden());
    }
}

TEST_F(TextImport, FileIntoTheSourceTable)
{
    struct Case {
        const char* name;
        QByteArray file;
        std::function<void(TextPage&)> options;
        std::vector<platform::Button> answers;  // to the faulty-line box, in order
        Rows records;
        std::vector<int> sizes;
    } const cases[] = {
        // The preview takes the first line as it stands, so its closing semicolon still makes a third column.
        {"a closing semicolon is dropped and a one-character line is a record", "a;bb;\r\nx\r\nccc;d\r\n",
         [](TextPage&) {}, {}, {{"a", "bb", ""}, {"x", "", ""}, {"ccc", "d", ""}}, {3, 2, 1}},
        {"a value over two lines lands whole", "\"Zeile eins\r\nZeile zwei\";7\r\nx;8",
         [](TextPage& p) { p.comDelimiter.setCurrentIndex(1); }, {},
         {{"Zeile eins\r\nZeile zwei", "7"}, {"x", "8"}}, {22, 1}},
        // The values of an ignored line never widen a field; those of a line kept in part do.
        {"Yes ignores the faulty line", "a;b\r\nccc;dd;e\r\nf;g", [](TextPage&) {}, {platform::Button::Yes},
         {{"a", "b"}, {"f", "g"}}, {1, 1}},
        {"No keeps the values that fitted", "a;b\r\nccc;dd;e\r\nf;g", [](TextPage&) {}, {platform::Button::No},
         {{"a", "b"}, {"ccc", "dd"}, {"f", "g"}}, {3, 2}},
        {"Cancel stops and keeps the values that fitted", "a;b\r\nccc;dd;e\r\nf;g", [](TextPage&) {},
         {platform::Button::Cancel}, {{"a", "b"}, {"ccc", "dd"}}, {3, 2}},
        {"Yes to all asks once", "a;b\r\nccc;d;e\r\nf;ggg;h\r\ni;j", [](TextPage&) {},
         {platform::Button::YesToAll}, {{"a", "b"}, {"i", "j"}}, {1, 1}},
        {"a blank faulty line is kept without asking", "a;b\r\n   \r\nc;d",
         [](TextPage& p) { p.cbxSpace.setChecked(true); }, {}, {{"a", "b"}, {"", ""}, {"c", "d"}}, {1, 1}},
        {"the first line names the fields", ansi("Name;Ort\r\nMeier;Köln"),
         [](TextPage& p) { p.cbxErsteZeile.setChecked(true); }, {}, {{"Meier", u8("Köln")}}, {5, 4}},
        {"a field without any value is one character wide", "a;;c\r\nd;;f", [](TextPage&) {}, {},
         {{"a", "", "c"}, {"d", "", "f"}}, {1, 1, 1}},
        {"umlauts of a Windows file", ansi("Müller;Straße\r\nÄrger;Öl"), [](TextPage&) {}, {},
         {{u8("Müller"), u8("Straße")}, {u8("Ärger"), u8("Öl")}}, {6, 6}},
        {"umlauts of a DOS file", oem("Müller;Straße\r\nÄrger;Öl"), [](TextPage& p) { p.cbxDosToWin.setChecked(true); },
         {}, {{u8("Müller"), u8("Straße")}, {u8("Ärger"), u8("Öl")}}, {6, 6}},
        {"whole lines, empty ones too", "eins;zwei\r\n\r\ndrei", [](TextPage& p) { p.cbxSemic.setChecked(false); },
         {}, {{"eins;zwei"}, {""}, {"drei"}}, {9}},
        {"whole lines after the names line", "Kopf\r\neins\r\nzwei",
         [](TextPage& p) {
             p.cbxSemic.setChecked(false);
             p.cbxErsteZeile.setChecked(true);
         },
         {}, {{"eins"}, {"zwei"}}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedUi local;
        platform::ScopedUserInterface use(local);
        for (platform::Button b : c.answers)
            local.answer(b);
        TextPage p;
        p.setSource(c.file);
        c.options(p);
        previewQuietly(p);
        importThroughStaging(p);
        const QString table = SourceTablePath(p.edtQuelle.text());
        EXPECT_EQ(TextPage::records(table), c.records);
        EXPECT_EQ(TextPage::fieldSizes(table), c.sizes);
        EXPECT_EQ(local.messages().size(), c.answers.size());
        EXPECT_FALSE(QFileInfo::exists(StagingTablePath()));
    }
}

// The sizing may take the lengths the reading noted, but only while the staging table is the one the reading left.
TEST_F(TextImport, SizesFollowTheStagingTableChangedAfterTheReading)
{
    struct Case {
        const char* name;
        std::function<void(db::Table&)> change;
        Rows records;
        std::vector<int> sizes;
    } const cases[] = {
        {"unchanged", [](db::Table&) {}, {{"aa", "b"}, {"c", "ddd"}}, {2, 3}},
        {"a longer record appended",
         [](db::Table& t) {
             t.Append();
             t.Fields(0)->setAsString("eeeee");
             t.Post();
         },
         {{"aa", "b"}, {"c", "ddd"}, {"eeeee", ""}}, {5, 3}},
        {"the longest value shortened",
         [](db::Table& t) {
             t.Last();
             t.Edit();
             t.Fields(1)->setAsString("d");
             t.Post();
         },
         {{"aa", "b"}, {"c", "d"}}, {2, 1}},
        {"every record deleted", [](db::Table& t) { t.EmptyTable(); }, {}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextPage p;
        p.setSource("aa;b\r\nc;ddd\r\n");
        TrennzeichenVorschauZeigen(p.controls);
        ZSPTabelleAnlegen(p.controls);
        TrennzeichenDateiEinlesen(p.controls, p.edtQuelle.text(), p.tblZSP, false);
        {
            db::Table other;
            other.setTableName(StagingTablePath());
            other.setExclusive(true);
            other.Open();
            c.change(other);
            other.Close();
        }
        FeldgroessenDefinieren(p.controls);
        const QString table = SourceTablePath(p.edtQuelle.text());
        EXPECT_EQ(TextPage::records(table), c.records);
        EXPECT_EQ(TextPage::fieldSizes(table), c.sizes);
    }
}

TEST_F(TextImport, FaultyLineBoxNamesTheLineAndOffersFourButtons)
{
    page.setSource("a;b\r\nc;d;e\r\n");
    previewQuietly(page);
    ui.answer(platform::Button::Yes);
    importThroughStaging(page);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Error);
    EXPECT_EQ(ui.messages()[0].buttons, platform::Buttons::YesNoCancelYesToAll);
    EXPECT_EQ(ui.messages()[0].text,
              u8("Die folgende Textzeile ist fehlerhaft:\r\n\r\nc;d;e\r\n\r\nSoll die Zeile ignoriert werden?\r\n\r\n"
                 "(Ja= Zeile ignorieren\r\n Nein= Zeile einlesen\r\n Abbruch= Import abbrechen/restliche Zeilen "
                 "ignorieren\r\n alle ja= alle fehlerhaften Zeilen ignorieren"));
}

TEST_F(TextImport, TheSourceTableIsNamedAfterTheFileAndTakesTheHeaders)
{
    page.setSource("1;2\r\n", "Artikel.liste.txt");
    TrennzeichenVorschauZeigen(page.controls);
    grid::setCell(&page.stgQuellDatVar, 1, 0, "Preis");
    importThroughStaging(page);
    EXPECT_EQ(QFileInfo(sourceTable()).fileName(), "Artikel.liste.db");
    EXPECT_EQ(sourceFieldNames(), (QStringList{"FELD_1", "Preis"}));
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"1", "2"}}));
    // The source table is left closed for the structure reader.
    EXPECT_FALSE(page.tblQuelle.Active());
    EXPECT_EQ(QFileInfo(page.tblQuelle.filePath()).absoluteFilePath(), QFileInfo(sourceTable()).absoluteFilePath());
}

TEST_F(TextImport, AColumnWithoutHeaderGetsNoFieldAndLaterValuesMoveLeft)
{
    page.setSource("a;b;c\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    grid::setCell(&page.stgQuellDatVar, 1, 0, QString());
    ui.answer(platform::Button::No);  // the third value has no field left
    importThroughStaging(page);
    EXPECT_EQ(sourceFieldNames(), (QStringList{"FELD_1", "FELD_3"}));
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"a", "b"}}));
}

TEST_F(TextImport, ASourceFileCalledLikeTheStagingTableStillGivesItsTable)
{
    page.setSource("a;b\r\nc;d\r\n", "zsp.txt");
    TrennzeichenVorschauZeigen(page.controls);
    importThroughStaging(page);
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"a", "b"}, {"c", "d"}}));
    EXPECT_EQ(QDir(TempFolder()).entryList(QDir::Files), QStringList{"zsp.db"});
}

TEST_F(TextImport, ValuesLongerThanTheStagingFieldsAreCut)
{
    const QByteArray longValue(300, 'x');
    page.setSource("kurz;" + longValue + "\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    ui.answer(platform::Button::Ok);
    importThroughStaging(page);
    EXPECT_EQ(sourceSizes(), (std::vector<int>{4, 255}));
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"kurz", QString(255, u'x')}}));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].type, platform::MessageType::Warning);
    EXPECT_EQ(ui.messages()[0].text, u8("Beim Einlesen der Textdatei mussten Werte verändert werden.\r\n\r\n"
                                        "Werte, die länger als 255 Zeichen waren und gekürzt wurden: 1"));
}

namespace {

// The message at the end of a reading that changed values; empty when it changed none.
QString changesMessage(int cut, int replaced)
{
    if (cut == 0 && replaced == 0)
        return {};
    QString text = texts::Text(61300);
    if (cut > 0)
        text += "\r\n\r\n" + texts::Text(61301).replace("%s", QString::number(cut));
    if (replaced > 0)
        text += "\r\n\r\n" + texts::Text(61302).replace("%s", QString::number(replaced));
    return text;
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
        QString message;
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
        {"UTF-8 without a mark read as DOS text when that is chosen", u8("Name;Ort\r\nMü;x").toUtf8(), Separated,
         true, {"Name", "Ort"}, {{"M??", "x"}}, changesMessage(0, 2)},
        {"Windows-1252", ansi("Name;Ort\r\nMüller;Köln\r\nÄrger;Öl"), Separated, false, {"Name", "Ort"},
         umlautRows, {}},
        {"DOS code page 850", oem("Name;Ort\r\nMüller;Köln\r\nÄrger;Öl"), Separated, true, {"Name", "Ort"},
         umlautRows, {}},
        {"DOS characters Windows-1252 lacks", oem("Name;Ort\r\n╔═╗;ok"), Separated, true, {"Name", "Ort"},
         {{"???", "ok"}}, changesMessage(0, 3)},
        {"characters Windows-1252 lacks, one for a pair of halves", (names + u8("Łódź;😀 €")).toUtf8(), Separated,
         false, {"Name", "Ort"}, {{u8("?ód?"), u8("? €")}}, changesMessage(0, 3)},
        {"whole lines of other characters", u8("Łx\r\n€").toUtf8(), WholeLines, false, {"FELD_1"},
         {{"?x"}, {u8("€")}}, changesMessage(0, 1)},
        {"one-character lines, an empty one skipped", "a\r\nb\r\n\r\nc\r\n", Separated, false, {"FELD_1"},
         {{"a"}, {"b"}, {"c"}}, {}},
        {"long values cut and counted", "kurz;" + tooLong + "\r\n" + tooLong + ";" + tooLong, Separated, false,
         {"FELD_1", "FELD_2"}, {{"kurz", QString(255, u'x')}, {QString(255, u'x'), QString(255, u'x')}},
         changesMessage(3, 0)},
        {"a long line cut and counted", tooLong, WholeLines, false, {"FELD_1"}, {{QString(255, u'x')}},
         changesMessage(1, 0)},
        {"both counted in one message", (u8("Ł;") + QString(256, u'y')).toUtf8(), Separated, false,
         {"FELD_1", "FELD_2"}, {{"?", QString(255, u'y')}}, changesMessage(1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScriptedUi local;
        platform::ScopedUserInterface use(local);
        if (!c.message.isEmpty())
            local.answer(platform::Button::Ok);
        TextPage p;
        p.setSource(c.file);
        p.cbxDosToWin.setChecked(c.dos);
        p.cbxErsteZeile.setChecked(c.fields.first() != "FELD_1");
        p.cbxSemic.setChecked(c.road == Separated);
        if (c.road == FixedWidth) {
            TrennposHinzufuegen(p.boundaries, 7);
            FixLenVorschauAufteilen(p.controls);
        } else {
            TrennzeichenVorschauZeigen(p.controls);
        }
        importThroughStaging(p, c.road == FixedWidth);
        const QString table = SourceTablePath(p.edtQuelle.text());
        EXPECT_EQ(TextPage::fieldNames(table), c.fields);
        EXPECT_EQ(TextPage::records(table), c.records);
        const auto messages = local.messages();
        ASSERT_EQ(messages.size(), c.message.isEmpty() ? 0u : 1u);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(messages[0].text, c.message);
        }
    }
}

TEST_F(TextImport, MaxFeldLaengeIsTheLongestValueAndAtLeastOne)
{
    db::Table table;
    CreateStagingTable(table, StagingTablePath(), {"A", "B"});
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
        AnswerEverything answers({platform::Button::YesToAll, platform::Button::Ok});
        platform::ScopedUserInterface use(answers);
        TextPage p;
        p.setSource(c.file);
        p.cbxSemic.setChecked(c.separated);
        try {
            TrennzeichenVorschauZeigen(p.controls);
            importThroughStaging(p);
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
        source.setTableName(SourceTablePath(p.edtQuelle.text()));
        ASSERT_NO_THROW(source.Open());
        EXPECT_GE(source.FieldCount(), 1);
        for (int i = 0; i < source.FieldCount(); ++i)
            EXPECT_LE(source.Fields(i)->Size(), 255);
        source.Close();
    }
    {
        // The UTF-16 file keeps its readable text once the NUL bytes are gone.
        TextPage p;
        p.setSource(utf16);
        TrennzeichenVorschauZeigen(p.controls);
        EXPECT_EQ(p.gridRows().at(2), (QStringList{"Meier", "Bonn"}));
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
    page.setSource("aa;b\r\nc;dd\r\ne;f\r\ng;h\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    ZSPTabelleAnlegen(page.controls);
    CancelAfter cancel(2);
    ReadSeparatedFile(page.edtQuelle.text(), page.tblZSP, {";", QChar(), false, false}, cancel);
    FeldgroessenDefinieren(page.controls);
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"aa", "b"}, {"c", "dd"}}));
}

TEST_F(TextImport, ProgressWindowWhileReadingAndSizing)
{
    TfrmGauge gauge;
    page.controls.frmGauge = &gauge;
    gauge.btnGaugeAbbrechen->setText(texts::Text(65269));  // left from an import run
    page.setSource("a;b\r\nc;d\r\ne;f\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    ZSPTabelleAnlegen(page.controls);
    TrennzeichenDateiEinlesen(page.controls, page.edtQuelle.text(), page.tblZSP, false);

    EXPECT_TRUE(gauge.isVisible());  // left open for the sizing
    EXPECT_EQ(gauge.height(), 220);
    EXPECT_EQ(gauge.btnGaugeAbbrechen->x(), 120);
    EXPECT_EQ(gauge.btnGaugeAbbrechen->text(), texts::Text(65268));
    EXPECT_TRUE(gauge.btnHilfe->isHidden());
    EXPECT_EQ(gauge.Label1->text(), "Textdatei wird eingelesen...");
    EXPECT_TRUE(gauge.panImpLauf->isHidden());
    EXPECT_FALSE(gauge.lblAnzGeles->isHidden());
    EXPECT_EQ(gauge.lblAnzGeles2->text(), "3");
    EXPECT_EQ(gauge.Gauge1->maximum(), 3);
    EXPECT_EQ(gauge.Gauge1->value(), 3);
    EXPECT_TRUE(gauge.AnimateTimer1->isActive());

    FeldgroessenDefinieren(page.controls);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_EQ(gauge.Label1->text(), u8("Feldgrößen werden definiert...fertig."));
    EXPECT_FALSE(gauge.AnimateTimer1->isActive());
    EXPECT_FALSE(gauge.AnimateTimer2->isActive());
    EXPECT_TRUE(gauge.lblAnzGeles->isHidden());
    EXPECT_FALSE(gauge.panImpLauf->isHidden());
    EXPECT_FALSE(gauge.ImgFolderFull->isHidden());
    EXPECT_FALSE(gauge.Database1->isHidden());
    EXPECT_FALSE(gauge.DataBase2->isHidden());
    for (int k = 0; k < 7; ++k)
        EXPECT_TRUE(gauge.RedImage(k)->isHidden()) << k;
    for (int n = 3; n <= 12; ++n)
        EXPECT_TRUE(gauge.Image(n)->isHidden()) << n;
}

TEST_F(TextImport, ProgressWindowOfWholeLinesClosesAfterReading)
{
    TfrmGauge gauge;
    page.controls.frmGauge = &gauge;
    page.cbxSemic.setChecked(false);
    page.setSource("eins\r\nzwei\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    ZSPTabelleAnlegen(page.controls);
    TrennzeichenDateiEinlesen(page.controls, page.edtQuelle.text(), page.tblZSP, false);
    EXPECT_FALSE(gauge.isVisible());
    EXPECT_EQ(gauge.Label1->text(), "Textdatei wird eingelesen...fertig.");
    EXPECT_TRUE(gauge.lblAnzGeles2->isHidden());
    EXPECT_FALSE(gauge.AnimateTimer1->isActive());
    EXPECT_FALSE(gauge.panImpLauf->isHidden());
}

TEST_F(TextImport, ASecondImportOfTheSameFileReplacesTheSourceTable)
{
    page.setSource("a;b\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    importThroughStaging(page);
    page.setSource("c;d\r\ne;f\r\n");
    TrennzeichenVorschauZeigen(page.controls);
    importThroughStaging(page);
    EXPECT_EQ(TextPage::records(sourceTable()), (Rows{{"c", "d"}, {"e", "f"}}));
}
