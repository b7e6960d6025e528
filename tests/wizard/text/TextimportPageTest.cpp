#include "TextPage.h"
#include "support/TextSamples.h"

#include "platform/ScriptedUi.h"
#include "rtl/CodePages.h"
#include "texts/Texts.h"
#include "wizard/text/PreviewGrid.h"

#include <QProgressBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace engine;
using namespace samples;
using namespace wizard;
using Rows = std::vector<QStringList>;

namespace {

// Answers every box with the first of the given buttons the box offers.
class AnswerEverything : public platform::UserInterface {
public:
    explicit AnswerEverything(std::vector<platform::Button> preferred) : preferred_(std::move(preferred)) {}
    platform::Button showMessage(const platform::MessageRequest& request) override
    {
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
};

}  // namespace

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

