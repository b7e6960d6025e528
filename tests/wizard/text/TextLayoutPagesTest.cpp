// The text layout pages as a person walks them in the real window: from the start page through the layout sheets
// to the mapping page, with the mouse on the character grid and the column grid, dialogs answered by script; what
// the pages leave in Temp and in the working tables.
#include "../ShellTestSupport.h"

#include "db/Field.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/Textimport.h"
#include "engine/TextScanner.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/ColumnNames.h"
#include "wizard/text/PreviewGrid.h"
#include "wizard/text/TextFileView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using platform::Button;

const QString kFixtures = QStringLiteral(IMPORT_FIXTURES_DIR);

// A person who answers every box with its first button (OK, Yes) and reads what it says.
class FirstButtonUi : public platform::UserInterface {
public:
    Button showMessage(const platform::MessageRequest& request) override
    {
        texts << request.text;
        return platform::buttonsOf(request.buttons).front();
    }
    QString fileDialog(platform::FileDialogKind, const platform::FileDialogRequest&) override { return {}; }
    std::optional<QString> inputBox(const platform::InputRequest&) override { return std::nullopt; }
    void beep() override {}
    void showHelp(int) override {}
    bool openUrl(const QString&) override { return true; }
    QStringList texts;
};

// The program started as a person starts it; the source is a text the test writes, the target a copy of a real
// Paradox table. Dialogs are answered by script, or by another person.
struct Walk {
    ShellFolders folders;
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed;
    wizard::ProgramContext context = folders.context();
    wizard::ImportProgram program{context};
    wizard::TfrmImport1* form = nullptr;
    Ui::TfrmImport1* w = nullptr;
    QString source;

    explicit Walk(const QByteArray& text, const QString& name = QStringLiteral("kunden.txt"),
                  platform::UserInterface* person = nullptr)
        : installed(person ? *person : static_cast<platform::UserInterface&>(ui))
    {
        EXPECT_TRUE(program.Start(0));
        form = program.frmImport1();
        w = form->ui.get();
        source = folders.touch("user/" + name, text);
    }
    ~Walk()
    {
        form->tblQuelle.Close();
        form->tblZiel.Close();
    }
    QString page() const { return w->PageControl1->currentWidget()->objectName(); }
    QWidget* sheet() const { return w->tpcTXT->currentWidget(); }
    // On its text: a radio button or a check box is wider than what takes the click.
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2)); }
    QString messages() const { return ui.messageTexts().join(" | "); }
    QString sourceTable() const { return folders.programFolder() + "Temp/" + QFileInfo(source).completeBaseName() + ".db"; }

    // Start page (new setting), source page, target page: the text page's first sheet.
    void toTextPage()
    {
        click(w->btnWeiter1);
        ASSERT_EQ(page(), "ImportSeite2") << messages().toStdString();
        w->edtQuelle->setText(source);
        click(w->btnWeiter2);
        ASSERT_EQ(page(), "ImportSeite3") << messages().toStdString();
        const QString target = folders.path("user/ziel/CONTACTS.DB");
        QDir().mkpath(QFileInfo(target).path());
        for (const char* extension : {".DB", ".PX"}) {
            const QString from = kFixtures + "/paradox/pdriver-db/CONTACTS" + extension;
            if (QFile::exists(from)) {
                QFile::copy(from, QFileInfo(target).path() + "/CONTACTS" + extension);
                QFile::setPermissions(QFileInfo(target).path() + "/CONTACTS" + extension,
                                      QFile::ReadOwner | QFile::WriteOwner);
            }
        }
        w->edtZiel->setText(target);
        click(w->btnWeiter3);
        ASSERT_EQ(page(), "ImportSeite1txt") << messages().toStdString();
        ASSERT_EQ(sheet(), w->TXTDatensatzlaenge);
    }

    // The character grid's cell of a column, in viewport coordinates.
    QPoint cell(int column) const
    {
        wizard::CharacterGrid* g = w->stgQuellDatFix;
        g->scrollTo(g->model()->index(0, column));
        return {g->columnViewportPosition(column) + wizard::CharacterGrid::ColumnWidth / 2, 5};
    }
    std::set<int> marks() const { return w->stgQuellDatFix->marks(); }
    // The boundaries the list holds, each as often as a slot holds it.
    std::multiset<int> boundaries() const
    {
        std::multiset<int> out;
        for (std::int16_t value : form->FixTrenn.FixTrennPositionen)
            if (value >= 1)
                out.insert(value);
        return out;
    }
    QStringList headers() const
    {
        QStringList out;
        for (int c = 0; c < wizard::grid::ColCount(w->stgQuellDatVar); ++c)
            out << wizard::grid::Cell(w->stgQuellDatVar, c, 0);
        return out;
    }
};

// Every record of the source table the program holds open, each as its values joined by "|", with the field names
// and sizes first.
QStringList Contents(db::Table& table)
{
    EXPECT_TRUE(table.Active());
    if (!table.Active())
        return {};
    QStringList out;
    QString fields;
    for (int i = 0; i < table.FieldCount(); ++i)
        fields += (i ? "|" : "") + table.Fields(i)->FieldName() + ":" + QString::number(table.Fields(i)->Size());
    out << fields;
    for (table.First(); !table.Eof(); table.Next()) {
        QString row;
        for (int i = 0; i < table.FieldCount(); ++i)
            row += (i ? "|" : "") + table.Fields(i)->AsString();
        out << row;
    }
    return out;
}

TEST(TextLayoutPages, ASeparatedAndAFixedWidthFileWalkFromTheStartPageToTheMappingPage)
{
    {
        SCOPED_TRACE("separated, names in the first line, one renamed");
        Walk s("\"Nr\";\"Name\";\"Ort\"\r\n1;\"M\xfcller; Sohn\";K\xf6ln\r\n2;Schulze;\"Essen\"\r\n");
        s.toTextPage();
        EXPECT_TRUE(s.w->rgrDatsatzlaenge0->isChecked());
        EXPECT_EQ(s.w->retQuellDat->blockCount(), 3);
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
        // The qualifier found in the first line, the semicolon guessed.
        EXPECT_EQ(s.w->comDelimiter->currentIndex(), 1);
        EXPECT_TRUE(s.w->cbxSemic->isChecked());
        EXPECT_FALSE(s.w->gbxSeparator->isHidden());
        EXPECT_TRUE(s.w->panHint->isHidden());
        EXPECT_EQ(s.headers(), QStringList({"FELD_1", "FELD_2", "FELD_3"}));
        EXPECT_EQ(wizard::grid::Cell(s.w->stgQuellDatVar, 1, 2), QString::fromUtf8("Müller; Sohn"));
        QTest::mouseClick(s.w->cbxErsteZeile, Qt::LeftButton, {}, QPoint(5, s.w->cbxErsteZeile->height() / 2));
        EXPECT_EQ(s.headers(), QStringList({"Nr", "Name", "Ort"}));
        // A click on the third column, then a new name for it, stored by the move to the first column.
        QTest::mouseClick(s.w->stgQuellDatVar->viewport(), Qt::LeftButton, {},
                          s.w->stgQuellDatVar->visualRect(s.w->stgQuellDatVar->model()->index(0, 2)).center());
        EXPECT_EQ(s.w->edtRenCols->text(), "Ort");
        EXPECT_FALSE(s.w->btnRechts->isEnabled());
        s.w->edtRenCols->setText("Stadt");
        s.click(s.w->btnErste);
        EXPECT_EQ(s.form->AktSpalte, 0);
        EXPECT_FALSE(s.w->btnLinks->isEnabled());
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
        EXPECT_TRUE(s.ui.messageTexts().isEmpty()) << s.messages().toStdString();
        EXPECT_EQ(QFileInfo(s.form->tblQuelle.TableName()), QFileInfo(s.sourceTable()));
        EXPECT_EQ(Contents(s.form->tblQuelle), QStringList({"Nr:1|Name:12|Stadt:5", "1|Müller; Sohn|Köln",
                                                          "2|Schulze|Essen"}));
        EXPECT_EQ(RowCount(s.folders.programFolder() + "QStrukt.DB"), 3);
        EXPECT_FALSE(QFileInfo::exists(s.folders.programFolder() + "Temp/ZSP.db"));
    }
    {
        SCOPED_TRACE("fixed width, marks set with the mouse");
        Walk s("00001M\xfcller    K\xf6ln\r\n00002Schulze   Bonn\r\n00003Weiss     Kiel\r\n");
        s.toTextPage();
        // Two lines of the same length: fixed width.
        EXPECT_TRUE(s.w->rgrDatsatzlaenge1->isChecked());
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.sheet(), s.w->TXTFix);
        EXPECT_EQ(s.w->stgQuellDatFix->Cell(5, 0), QString::fromUtf8("M"));
        EXPECT_EQ(s.w->stgQuellDatFix->RowCount(), 3);
        for (int column : {5, 15})
            QTest::mouseClick(s.w->stgQuellDatFix->viewport(), Qt::LeftButton, {}, s.cell(column));
        EXPECT_EQ(s.marks(), std::set<int>({5, 15}));
        EXPECT_EQ(s.w->lblSpaltennr->text(), "16");
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
        EXPECT_TRUE(s.w->gbxSeparator->isHidden());
        EXPECT_FALSE(s.w->panHint->isHidden());
        EXPECT_EQ(s.headers(), QStringList({"FELD_1", "FELD_2", "FELD_3"}));
        EXPECT_EQ(wizard::grid::Cell(s.w->stgQuellDatVar, 2, 1), QString::fromUtf8("Köln"));
        // Back to the character grid: the marks are where they were, and they still move.
        s.click(s.w->btnZurueck1txt);
        ASSERT_EQ(s.sheet(), s.w->TXTFix);
        EXPECT_EQ(s.marks(), std::set<int>({5, 15}));
        EXPECT_EQ(s.boundaries(), std::multiset<int>({5, 15}));
        QTest::mouseClick(s.w->stgQuellDatFix->viewport(), Qt::LeftButton, {}, s.cell(12));
        EXPECT_EQ(s.marks(), std::set<int>({5, 12, 15}));
        s.click(s.w->btnWeiter1txt);
        s.w->edtRenCols->setText("Nummer");
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
        EXPECT_EQ(Contents(s.form->tblQuelle), QStringList({"Nummer:5|FELD_2:7|FELD_3:1|FELD_4:4", "00001|Müller||Köln",
                                                          "00002|Schulze||Bonn", "00003|Weiss||Kiel"}));
    }
}

TEST(TextLayoutPages, ThePageButtonsMoveBetweenTheSheetsAndOutOfThePage)
{
    Walk s("Nr;Name;Ort\r\n1;M\xfcller;K\xf6ln\r\n");
    s.toTextPage();
    // No layout chosen: the page says what to choose and stays.
    wizard::SetChecked(s.w->rgrDatsatzlaenge0, false);
    wizard::SetChecked(s.w->rgrDatsatzlaenge1, false);
    s.ui.answer(Button::Ok);
    s.click(s.w->btnWeiter1txt);
    EXPECT_EQ(s.ui.messageTexts(), QStringList({texts::Text(64916)}));
    EXPECT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);

    // Fixed width: the naming sheet's help is the character grid's.
    s.click(s.w->rgrDatsatzlaenge1);
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTFix);
    s.click(s.w->btnHilfe1txt);
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
    s.click(s.w->btnHilfe1txt);
    s.click(s.w->btnZurueck1txt);
    EXPECT_EQ(s.sheet(), s.w->TXTFix);
    s.click(s.w->btnZurueck1txt);
    EXPECT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);

    // Separated: Zurueck from the naming sheet goes to the first sheet.
    s.click(s.w->rgrDatsatzlaenge0);
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
    s.click(s.w->btnHilfe1txt);
    EXPECT_EQ(s.ui.helpContexts(), std::vector<int>({12, 12, 13}));
    // What names the controls without a caption of their own on screen names them for a screen reader.
    EXPECT_EQ(s.w->btnLetzte->accessibleName(), "Letzte Spalte");
    EXPECT_EQ(s.w->edtAndere->accessibleName(), "Anderes Feldtrennzeichen");
    EXPECT_EQ(s.w->edtRenCols->accessibleName(), "Spalten/Feldnamen umbenennen");
    // A name another column has in other letter case is refused, naming that column.
    s.w->edtRenCols->setText("feld_3");
    s.ui.clearRecord();
    s.ui.answer(Button::Ok);
    s.click(s.w->btnRechts);
    EXPECT_EQ(s.ui.messageTexts(), QStringList({texts::Format(texts::Text(64919), {"FELD_3", "3"})}));
    EXPECT_EQ(s.form->AktSpalte, 0);
    EXPECT_EQ(s.w->edtRenCols->text(), "feld_3");
    // End in the column grid goes to the last column once the name is one of its own.
    s.w->edtRenCols->setText("Nummer");
    s.w->stgQuellDatVar->setFocus();
    QTest::keyClick(s.w->stgQuellDatVar, Qt::Key_End);
    EXPECT_EQ(s.form->AktSpalte, 2);
    EXPECT_EQ(s.headers(), QStringList({"Nummer", "FELD_2", "FELD_3"}));
    QTest::keyClick(s.w->stgQuellDatVar, Qt::Key_Home);
    EXPECT_EQ(s.form->AktSpalte, 0);
    s.click(s.w->btnZurueck1txt);
    EXPECT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);

    // Leaving the page asks first; No stays, Yes goes back to the target page and the page starts afresh.
    s.ui.clearRecord();
    s.ui.answer(Button::No).answer(Button::Yes);
    s.click(s.w->btnZurueck1txt);
    EXPECT_EQ(s.page(), "ImportSeite1txt");
    s.click(s.w->btnZurueck1txt);
    EXPECT_EQ(s.page(), "ImportSeite3");
    EXPECT_EQ(s.ui.messageTexts(), QStringList({texts::Text(64923), texts::Text(64923)}));
    EXPECT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);
    EXPECT_TRUE(s.ui.failures().isEmpty()) << s.ui.failures().join(" | ").toStdString();
}

TEST(TextLayoutPages, AReadingCancelledInTheProgressWindowLeavesNothingForTheMappingPage)
{
    QByteArray file = "Nr;Name\r\n";
    for (int i = 0; i < 20000; ++i)
        file += QByteArray::number(i) + ";Kunde " + QByteArray::number(i) + "\r\n";
    Walk s(file);
    s.toTextPage();
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
    // The person cancels as soon as the progress window shows, and confirms.
    s.ui.answer(Button::Yes);
    wizard::TfrmGauge* gauge = s.program.frmGauge();
    QTimer::singleShot(0, gauge, [gauge] { gauge->btnGaugeAbbrechen->click(); });
    s.click(s.w->btnWeiter1txt);
    EXPECT_EQ(s.page(), "ImportSeite1txt");
    EXPECT_EQ(s.sheet(), s.w->TXTVariabel);
    EXPECT_FALSE(gauge->isVisible());
    EXPECT_FALSE(s.form->tblQuelle.Active());
    EXPECT_FALSE(QFileInfo::exists(s.sourceTable()));
    EXPECT_FALSE(QFileInfo::exists(s.folders.programFolder() + "Temp/ZSP.db"));
    // Asked again, the reading goes through.
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
    EXPECT_EQ(s.form->tblQuelle.RecordCount(), 20001);
    EXPECT_TRUE(s.ui.failures().isEmpty()) << s.ui.failures().join(" | ").toStdString();
}

TEST(TextLayoutPages, TheMarksFollowClicksDoubleClicksRightClicksAndDrags)
{
    // Each step: c = click, d = double click, r = right click, g = drag from the first column to the second.
    struct Step {
        char action;
        int column;
        int to = 0;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::multiset<int> boundaries;
    };
    const std::vector<Case> cases = {
        {"a click on column 0 sets no mark", {{'c', 0}}, {}},
        {"a second click on a mark adds none", {{'c', 4}, {'c', 4}}, {4}},
        {"a double click on an empty column leaves it empty", {{'d', 7}}, {}},
        {"a double click deletes a mark", {{'c', 3}, {'c', 7}, {'d', 3}}, {7}},
        {"a right click deletes a mark", {{'c', 3}, {'r', 3}, {'r', 8}}, {}},
        {"a drag moves a mark", {{'c', 3}, {'g', 3, 9}}, {9}},
        {"two marks dropped together become one", {{'c', 3}, {'c', 9}, {'g', 3, 9}}, {9}},
        {"a drag onto column 0 leaves the mark where it was last taken", {{'c', 3}, {'g', 3, 0}}, {3}},
    };
    Walk s("AAAABBBBBCCCCCCCC\r\nDDDDEEEEEFFFFFFFF\r\n");
    s.toTextPage();
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTFix);
    QWidget* viewport = s.w->stgQuellDatFix->viewport();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.form->FixTrenn = engine::ColumnBoundaryList();
        s.w->stgQuellDatFix->setMarks({});
        for (const Step& step : c.steps) {
            switch (step.action) {
            case 'c':
                QTest::mouseClick(viewport, Qt::LeftButton, {}, s.cell(step.column));
                break;
            case 'd':
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, s.cell(step.column));
                break;
            case 'r':
                QTest::mouseClick(viewport, Qt::RightButton, {}, s.cell(step.column));
                break;
            case 'g': {
                QTest::mousePress(viewport, Qt::LeftButton, {}, s.cell(step.column));
                const QPoint to = step.to > 0 ? s.cell(step.to) : QPoint(1, 5);
                QTest::mouseMove(viewport, to);
                QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
                break;
            }
            }
        }
        EXPECT_EQ(s.boundaries(), c.boundaries);
        EXPECT_EQ(s.marks(), std::set<int>(c.boundaries.begin(), c.boundaries.end()));
    }
    // Without a mark the preview is one column of whole lines.
    s.form->FixTrenn = engine::ColumnBoundaryList();
    s.click(s.w->btnWeiter1txt);
    ASSERT_EQ(s.sheet(), s.w->TXTVariabel);
    EXPECT_EQ(wizard::grid::ColCount(s.w->stgQuellDatVar), 1);
    EXPECT_EQ(wizard::grid::Cell(s.w->stgQuellDatVar, 0, 2), "DDDDEEEEEFFFFFFFF");
    // With one column the naming buttons are all off.
    for (QAbstractButton* button : {s.w->btnErste, s.w->btnLinks, s.w->btnRechts, s.w->btnLetzte})
        EXPECT_FALSE(button->isEnabled());
    // Raster on and off: the caption says what the next click does.
    s.click(s.w->btnZurueck1txt);
    s.click(s.w->cbxRaster);
    EXPECT_EQ(s.w->cbxRaster->text(), texts::Text(65201));
    EXPECT_TRUE(s.w->stgQuellDatFix->showGrid());
    s.click(s.w->cbxRaster);
    EXPECT_EQ(s.w->cbxRaster->text(), texts::Text(65202));
    EXPECT_TRUE(s.ui.failures().isEmpty()) << s.ui.failures().join(" | ").toStdString();
}

TEST(TextLayoutPages, NamesTheTablesCannotTakeAreRefusedBeforeTheFileIsRead)
{
    struct Case {
        const char* name;
        QByteArray file;                 // names in its first line
        int column;                      // the column selected for mending, from 0
        std::function<QString()> message;  // the message, naming the column
    };
    QByteArray manyColumns = "A0";
    for (int i = 1; i < 300; ++i)
        manyColumns += ";A" + QByteArray::number(i);
    const std::vector<Case> cases = {
        {"a name Windows-1252 cannot hold", "Nr;\xc5\x81\xc3\xb3\x64\xc5\xba\r\n1;2\r\n", 1,
         [] { return texts::Format(texts::Text(61404), {QString::fromUtf8("Łódź"), "2", QString::fromUtf8("Łź")}); }},
        {"two names equal but for case", "Nr;Ort;ORT\r\n1;2;3\r\n", 2,
         [] { return texts::Format(texts::Text(61406), {"ORT", "3", "Ort", "2"}); }},
        {"an empty name", "Nr;;Ort\r\n1;2;3\r\n", 1, [] { return texts::Format(texts::Text(61400), {"2"}); }},
        {"a name longer than 25 characters", "Nr;Eine_sehr_lange_Spaltenbezeichnung\r\n1;2\r\n", 1,
         [] { return texts::Format(texts::Text(61402), {"Eine_sehr_lange_Spaltenbezeichnung", "2", "25"}); }},
        {"a quoted name holding a line break", "Nr;\"Na\r\nme\"\r\n1;2\r\n", 1,
         [] { return texts::Format(texts::Text(61403), {"Na  me", "2"}); }},
        {"a name with brackets", "Nr;Preis[EUR]\r\n1;2\r\n", 1,
         [] { return texts::Format(texts::Text(61403), {"Preis[EUR]", "2"}); }},
        {"more columns than a table holds", manyColumns + "\r\n", 255,
         [] { return texts::Format(texts::Text(61405), {"300", "255"}); }},
        // Every column takes 255 characters in the staging table, whose records have a size limit.
        {"more columns than the staging table holds", manyColumns.left(manyColumns.indexOf(";A60;")) + "\r\n", 0,
         [] {
             return texts::Format(texts::Text(61408), {"60", "Die Sätze der Tabelle wären mit 15300 Bytes zu lang."});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Walk s(c.file, QStringLiteral("namen.csv"));
        s.toTextPage();
        wizard::SetChecked(s.w->rgrDatsatzlaenge0, true);
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.sheet(), s.w->TXTVariabel) << s.messages().toStdString();
        // The qualifier as the person chooses it; then the names from the first line.
        s.w->comDelimiter->setCurrentIndex(1);
        s.form->comDelimiterChange();
        if (!s.w->cbxErsteZeile->isChecked())
            QTest::mouseClick(s.w->cbxErsteZeile, Qt::LeftButton, {}, QPoint(5, s.w->cbxErsteZeile->height() / 2));
        s.ui.clearRecord();
        s.ui.answer(Button::Ok);
        s.click(s.w->btnWeiter1txt);
        EXPECT_EQ(s.ui.messageTexts(), QStringList({c.message()}));
        EXPECT_EQ(s.page(), "ImportSeite1txt");
        EXPECT_EQ(s.sheet(), s.w->TXTVariabel);
        EXPECT_EQ(s.form->AktSpalte, c.column);
        // The edit holds at most 25 characters: a longer name comes in shortened, ready to be taken.
        EXPECT_EQ(s.w->edtRenCols->text(), wizard::grid::Cell(s.w->stgQuellDatVar, c.column, 0).left(25));
        EXPECT_FALSE(QFileInfo::exists(s.sourceTable()));
        EXPECT_FALSE(QFileInfo::exists(s.folders.programFolder() + "Temp/ZSP.db"));
        if (c.column >= wizard::MaxSourceColumns || c.file.count(';') > 50)
            continue;
        // Mended on the sheet, the road goes on.
        s.w->edtRenCols->setText("Ersatz");
        s.ui.clearRecord();
        s.click(s.w->btnWeiter1txt);
        EXPECT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
        EXPECT_TRUE(QFileInfo::exists(s.sourceTable()));
    }
}

TEST(TextLayoutPages, TheFileViewShowsTheLinesTheReaderReads)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        bool dos = false;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"mixed line ends", "a\r\nb\nc\rd\r\n\r\ne"},
        {"a last line end and an empty line", "a\n\n"},
        {"Windows-1252", "M\xfcller;K\xf6ln\r\n\x80 5\r\n"},
        {"UTF-8 without a mark", "M\xc3\xbcller\n\xe2\x82\xac 5\n"},
        {"UTF-8 with a mark", "\xef\xbb\xbfNr;Ort\r\n1;K\xc3\xb6ln\r\n"},
        {"UTF-16 LE", QByteArray("\xff\xfe" "a\0\r\0\n\0\xfc\0;\0b\0\n\0", 16)},
        {"UTF-16 BE", QByteArray("\xfe\xff\0a\0\r\0x\0\n", 10)},
        {"NULs, a CR and its LF apart, DOS end mark", QByteArray("a\0b\r\0\nc\x1a", 8)},
        {"DOS text", "M\x81ller;K\x94ln\r\n", true},
        {"a tab and a long line", "a\tb\n" + QByteArray(200000, 'x') + "\n"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath("datei.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        QStringList expected;
        engine::TextLineReader reader(path, c.dos);
        for (QString line; reader.readLine(line);)
            expected << (c.dos ? engine::OemToAnsiStr(line) : line);
        wizard::TextFileView view;
        view.resize(300, 200);
        view.loadFile(path, c.dos);
        EXPECT_EQ(view.lineCount(), expected.size());
        EXPECT_EQ(view.lines(0, 1000), expected);
        EXPECT_EQ(view.toPlainText(), c.dos ? expected.join(u'\n') : engine::ReadTextFile(path));
        // Scrolled to the end the last line is the last one on screen.
        view.show();
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(view.firstVisibleLine(), std::max(view.blockCount() - view.visibleLineCount(), 0));
    }
}

TEST(TextLayoutPages, HostileFilesReachTheMappingPageWithEveryChangeTold)
{
    QByteArray binary;
    for (int i = 0; i < 65536; ++i)
        binary += char((i * 7919 + i / 13) % 256);
    const QString utf16Text = QString::fromUtf8("Nr;Name\r\n1;Müller\r\n2;Łódź\r\n");
    QByteArray utf16("\xff\xfe", 2);
    utf16.append(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    struct Case {
        const char* name;
        QByteArray file;
        int records;  // in the source table when the road gets through; -1: not looked at
    };
    const std::vector<Case> cases = {
        {"empty", "", 0},
        {"binary", binary, -1},
        {"UTF-16 with a mark", utf16, 3},
        {"one line of a million characters", "A;" + QByteArray(1000000, 'x') + "\r\n1;2\r\n", 2},
        {"mixed line ends", "a;b\r\n1;2\n3;4\r5;6", 4},
        {"a qualifier never closed", "\"a\";\"b\"\r\n1;\"offen\r\n2;3\r\n", -1},
        {"a separator that never occurs", "abc\r\ndefgh\r\n", 2},
    };
    for (const Case& c : cases) {
        for (const bool fixed : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (fixed ? ", fixed width" : ", separated"));
            FirstButtonUi person;
            Walk s(c.file, QStringLiteral("feindlich.txt"), &person);
            s.toTextPage();
            wizard::SetChecked(fixed ? s.w->rgrDatsatzlaenge1 : s.w->rgrDatsatzlaenge0, true);
            s.click(s.w->btnWeiter1txt);
            if (fixed) {
                ASSERT_EQ(s.sheet(), s.w->TXTFix) << person.texts.join(" | ").toStdString();
                if (s.w->stgQuellDatFix->ColCount() > 3)
                    QTest::mouseClick(s.w->stgQuellDatFix->viewport(), Qt::LeftButton, {}, s.cell(2));
                s.click(s.w->btnWeiter1txt);
            }
            ASSERT_EQ(s.sheet(), s.w->TXTVariabel) << person.texts.join(" | ").toStdString();
            s.click(s.w->btnWeiter1txt);
            ASSERT_EQ(s.page(), "ImportSeite4") << person.texts.join(" | ").toStdString();
            ASSERT_TRUE(s.form->tblQuelle.Active());
            EXPECT_EQ(QFileInfo(s.form->tblQuelle.TableName()), QFileInfo(s.sourceTable()));
            if (c.records >= 0) {
                EXPECT_EQ(s.form->tblQuelle.RecordCount(), c.records) << person.texts.join(" | ").toStdString();
            }
            EXPECT_EQ(RowCount(s.folders.programFolder() + "QStrukt.DB"), s.form->tblQuelle.FieldCount());
            // Values the tables could not hold as they are were told, never changed silently.
            if (c.file.size() > 1000000 || c.file.startsWith("\xff\xfe")) {
                EXPECT_TRUE(person.texts.join(" ").contains(texts::Text(61300))) << person.texts.join(" | ").toStdString();
            }
        }
    }
}

}  // namespace
