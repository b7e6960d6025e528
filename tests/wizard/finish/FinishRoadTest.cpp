// The whole road as a person walks it: a new setting from the start page through source, target, the text layout
// sheets for a text file, mapping, mode and finish page to the run; the same setting found again after a fresh
// start and run unchanged, then changed and stored again. The target is checked record by record against what the
// mode asks for, and the settings list and the setting files against what was chosen.
//
// The test writes exactly the case's source fields into the mapping rows, where a person would press "zuordnen"
// for each; the mapping page's own tests press it.
#include "ShellTestSupport.h"

#include "db/BatchMove.h"
#include "db/Field.h"
#include "db/Table.h"
#include "db/paradox/ParadoxTable.h"
#include "engine/ImportSetting.h"
#include "engine/TextReadProgress.h"
#include "engine/Textimport.h"
#include "engine/WorkingTables.h"
#include "platform/LocUtils.h"
#include "platform/ScriptedUi.h"
#include "texts/Texts.h"
#include "ui_frmEinstellAEND.h"
#include "ui_frmImport1.h"
#include "wizard/ImportProgram.h"
#include "wizard/frmGauge.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmImport1.h"
#include "wizard/text/CharacterGrid.h"
#include "wizard/text/PreviewGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>

namespace {

using platform::Button;

const QString kFixtures = QStringLiteral(IMPORT_FIXTURES_DIR);
const QString kDemos = QStringLiteral(IMPORT_PROGRAM_DIR "/Demos");

QString CopyTable(const QString& origin, const QString& folder)
{
    return CopyTableFiles(origin, folder);
}

// A record as the comparison sees it: every field's text.
using Row = QStringList;

std::vector<std::map<QString, QString>> SourceRecords(const QString& path)
{
    db::Table table;
    table.setTableName(path);
    table.Open();
    std::vector<std::map<QString, QString>> records;
    for (table.First(); !table.Eof(); table.Next()) {
        std::map<QString, QString> record;
        for (int i = 0; i < table.FieldCount(); ++i)
            record[table.Fields(i)->FieldName().toUpper()] = table.Fields(i)->AsString();
        records.push_back(record);
    }
    table.Close();
    return records;
}

std::vector<Row> TargetRows(const QString& path)
{
    db::Table table;
    table.setTableName(path);
    table.Open();
    std::vector<Row> rows;
    for (table.First(); !table.Eof(); table.Next()) {
        Row row;
        for (int i = 0; i < table.FieldCount(); ++i)
            row << table.Fields(i)->AsString();
        rows.push_back(row);
    }
    table.Close();
    return rows;
}

struct Case {
    const char* name;
    QString source;       // "demo:..." or a fixture
    QString accessTable;  // the table taken from an Access source
    QString target;       // "keyed": a Paradox table Nr (key), Name, Ort made by the test; else "demo:..."
    std::vector<std::pair<QString, QString>> mapping;  // target field, source field
    std::vector<int> prefilled;                        // keys the keyed target holds before the first run
    bool zielLeeren;
    const char* modeRadio;  // the choice made on the mode page (nullptr: the page's own preset stands)
    int mode;               // the mode that runs and is stored
    QString start;          // start value of the first run, and of the unchanged run
    QString rerunStart;
    int changedMode;  // the mode chosen when the setting is changed
    const char* changedRadio;
    // A text source: the layout sheets walked from the first to the mapping page (stored: the sheets of a changed
    // setting, which show the stored layout), and what the stored row holds of the layout.
    std::function<void(struct Started&, bool stored)> textPages = {};
    std::function<void(const engine::ImportSetting&)> storedLayout = {};
};

// What the target must hold: the rows of a keyed target by key, those of a keyless one in order.
struct Model {
    int keyColumn = -1;  // in target field order; -1: keyless
    QStringList fields;  // target field names
    std::vector<Row> rows;

    int find(const QString& key) const
    {
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i][keyColumn] == key)
                return static_cast<int>(i);
        return -1;
    }
    Row mapped(const Case& c, const std::map<QString, QString>& source, const Row* old = nullptr) const
    {
        Row row = old ? *old : Row(fields.size());
        for (const auto& [target, from] : c.mapping)
            row[fields.indexOf(target)] = source.at(from.toUpper());
        return row;
    }
    QString sourceKey(const Case& c, const std::map<QString, QString>& source) const
    {
        for (const auto& [target, from] : c.mapping)
            if (fields.indexOf(target) == keyColumn)
                return source.at(from.toUpper());
        return QString();
    }
    void run(const Case& c, int mode, const QString& start, const std::vector<std::map<QString, QString>>& source)
    {
        if (c.zielLeeren)
            rows.clear();
        const int first = start.toInt();
        int n = 0;
        auto ignoreExisting = [&] {
            for (const auto& record : source)
                if (find(sourceKey(c, record)) < 0)
                    rows.push_back(mapped(c, record));
        };
        switch (mode) {
        case 1:
            for (const auto& record : source)
                rows.push_back(mapped(c, record));
            break;
        case 2:
            ignoreExisting();
            break;
        case 3:
            for (const auto& record : source) {
                if (find(sourceKey(c, record)) >= 0) {
                    Row row = mapped(c, record);
                    row[keyColumn] = QString::number(first + n++);
                    rows.push_back(row);
                }
            }
            ignoreExisting();
            break;
        case 4:
            for (const auto& record : source) {
                Row row = mapped(c, record);
                row[keyColumn] = QString::number(first + n++);
                rows.push_back(row);
            }
            break;
        case 5:
            for (const auto& record : source) {
                const int at = find(sourceKey(c, record));
                if (at >= 0)
                    rows[at] = mapped(c, record, &rows[at]);
                else
                    rows.push_back(mapped(c, record));
            }
            break;
        }
        if (keyColumn >= 0)
            std::sort(rows.begin(), rows.end(),
                      [this](const Row& a, const Row& b) { return a[keyColumn].toInt() < b[keyColumn].toInt(); });
    }
};

// One start of the program on the shared folders.
struct Started {
    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed{ui};
    wizard::ProgramContext context;
    std::unique_ptr<wizard::ImportProgram> program;
    wizard::TfrmImport1* form = nullptr;
    Ui::TfrmImport1* w = nullptr;

    explicit Started(const ShellFolders& folders) : context(folders.context())
    {
        program = std::make_unique<wizard::ImportProgram>(context);
        EXPECT_TRUE(program->Start(0));
        form = program->frmImport1();
        w = form->ui.get();
    }
    QString page() const { return w->PageControl1->currentWidget()->objectName(); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // A check box or radio button takes the click on its box and caption only.
    void tick(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }
    QWidget* sheet() const { return w->tpcTXT->currentWidget(); }
    // A click on the character grid's cell of a column.
    void mark(int column)
    {
        wizard::CharacterGrid* g = w->stgQuellDatFix;
        g->scrollTo(g->model()->index(0, column));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          {g->columnViewportPosition(column) + wizard::CharacterGrid::ColumnWidth / 2, 5});
    }
    QStringList headers() const
    {
        QStringList out;
        for (int c = 0; c < wizard::grid::ColCount(w->stgQuellDatVar); ++c)
            out << wizard::grid::Cell(w->stgQuellDatVar, c, 0);
        return out;
    }
    QString messages() const { return ui.messageTexts().join(" | "); }

    // The first three pages: a plain source and a target, walked on to the page after the target page.
    void chooseSourceAndTarget(const QString& source, const QString& target)
    {
        click(w->btnWeiter1);
        w->edtQuelle->setText(source);
        click(w->btnWeiter2);
        w->edtZiel->setText(target);
        click(w->btnWeiter3);
    }

    // The mapping rows get their source fields, as the mapping page's "zuordnen" gives them.
    void map(const Case& c)
    {
        db::Table& z = form->tblZStrukt;
        z.Open();
        // Exactly the case's mapping: what the automatic mapping paired besides is taken back.
        for (z.First(); !z.Eof(); z.Next()) {
            const QString field = z.FieldByName("Feldname")->AsString();
            QString assigned;
            for (const auto& [target, source] : c.mapping)
                if (field.compare(target, Qt::CaseInsensitive) == 0)
                    assigned = source;
            z.Edit();
            z.FieldByName("Zuordnung")->setAsString(assigned);
            z.Post();
        }
        z.First();
    }
    void chooseMode(const char* radio, const QString& start)
    {
        // A radio button stretched across the page takes clicks on its circle and caption only.
        if (radio)
            w->ImportSeite5->findChild<QAbstractButton*>(QLatin1String(radio))->click();
        if (w->edtStartwert->isEnabled())
            w->edtStartwert->setText(start);
        click(w->btnWeiter5);
    }
    // Fertigstellen, and the run it starts.
    void finish()
    {
        click(w->btnFertigstellen);
        // The progress window offers to close once the run is over.
        EXPECT_EQ(program->frmGauge()->btnGaugeAbbrechen->text(), texts::Text(65269)) << messages().toStdString();
        // The grids that show the source follow it again.
        EXPECT_EQ(form->dscQuelle.DataSet(), &form->tblQuelle);
        EXPECT_FALSE(form->tblQuelle.ControlsDisabled());
    }
    void chooseSetting(const QString& name, QAbstractButton* choice)
    {
        // In the settings manager the person says that source and target stay as stored.
        if (form->frmEinstellAEND)
            for (const char* box : {"cbxQuelleAusw", "cbxZielAusw"})
                platform::SetChecked(form->frmEinstellAEND->findChild<QAbstractButton*>(QLatin1String(box)), false);
        platform::SetChecked(choice, true);
        form->AktEinstellung = name;
        w->edtAktEinstellung->setText(name);
        click(w->btnWeiter1);
    }
};

engine::ImportSetting StoredRow(const QString& folder, const QString& name)
{
    db::Table list;
    list.setTableName(folder + "ImpList.DB");
    list.Open();
    EXPECT_TRUE(list.FindKey(name)) << name.toStdString();
    const engine::ImportSetting row = engine::ReadImpListRow(list);
    list.Close();
    return row;
}

TEST(FinishRoad, ASettingIsMadeRunStoredAndRunAgainUnchangedAndChanged)
{
    const std::vector<std::pair<QString, QString>> supplier{{"Nr", "LiefNr"}, {"Name", "Firma"}, {"Ort", "Ort"}};
    const std::vector<std::pair<QString, QString>> article{{"Nr", "ARTNR"}, {"Name", "BEZEICHN"}, {"Ort", "GRUPPE"}};
    const std::vector<std::pair<QString, QString>> articleCopy{
        {"ARTNR", "ARTNR"}, {"BEZEICHN", "BEZEICHN"}, {"PREIS", "PREIS"}, {"BESTAND", "BESTAND"}, {"GRUPPE", "GRUPPE"}};
    const Case cases[] = {
        {"Paradox source updates a keyed target",
         "demo:Lieferanten.db",
         "",
         "keyed",
         supplier,
         {101, 102, 150},
         false,
         "rbtAktualisieren",
         5,
         "",
         "",
         2,
         "rbtIgnorieren"},
        {"dBase source renames existing keys",
         "demo:Artikel.dbf",
         "",
         "keyed",
         article,
         {5001, 5002, 5003},
         false,
         "rbtUmbenennen",
         3,
         "9000",
         "9100",
         5,
         "rbtAktualisieren"},
        {"dBase source appends to a dBase target",
         "demo:Artikel.dbf",
         "",
         "demo:ZielArtikel.dbf",
         articleCopy,
         {},
         false,
         nullptr,
         1,
         "",
         "",
         1,
         nullptr},
        {"dBase source into an emptied target ignores existing keys",
         "demo:Artikel.dbf",
         "",
         "keyed",
         article,
         {5001, 7000},
         true,
         nullptr,
         2,
         "",
         "",
         2,
         nullptr},
        {"separated text file updates its customers",
         "demo:Kunden.txt",
         "",
         "demo:ZielKunden.db",
         {{"KundenNr", "KundenNr"}, {"Name", "Name"}, {"Vorname", "Vorname"}, {"Ort", "Ort"}, {"PLZ", "PLZ"}},
         {1001, 1200},
         false,
         "rbtAktualisieren",
         5,
         "",
         "",
         2,
         "rbtIgnorieren",
         [](Started& s, bool stored) {
             // The separator and the quotes are found in the file's first line; the person says that the names
             // stand in it.
             EXPECT_TRUE(s.w->rgrDatsatzlaenge0->isChecked());
             s.click(s.w->btnWeiter1txt);
             ASSERT_EQ(s.sheet(), s.w->TXTVariabel) << s.messages().toStdString();
             EXPECT_TRUE(s.w->cbxSemic->isChecked());
             if (!stored)
                 s.tick(s.w->cbxErsteZeile);
             EXPECT_EQ(s.w->comDelimiter->currentIndex(), 1);
             EXPECT_EQ(s.messages().count(texts::Text(64961).left(20)), 0) << s.messages().toStdString();
             EXPECT_TRUE(s.w->cbxErsteZeile->isChecked());
             EXPECT_EQ(s.headers(), QStringList({"KundenNr", "Name", "Vorname", "Strasse", "PLZ", "Ort", "Telefon",
                                                 "Umsatz", "KundeSeit"}));
             s.click(s.w->btnWeiter1txt);
         },
         [](const engine::ImportSetting& row) {
             EXPECT_EQ(row.ColNames, "KundenNr;Name;Vorname;Strasse;PLZ;Ort;Telefon;Umsatz;KundeSeit;");
             EXPECT_EQ(row.FixVar, 0);
             EXPECT_TRUE(row.NamesInFirstLine);
             EXPECT_TRUE(row.Semic);
             EXPECT_FALSE(row.Komma);
             EXPECT_EQ(row.Delimiter, 1);
         }},
        {"fixed-width text file renames existing keys",
         "demo:Kunden_fest.txt",
         "",
         "keyed",
         {{"Nr", "KundenNr"}, {"Name", "Rufname"}, {"Ort", "Ort"}},
         {1001, 1002, 1500},
         false,
         "rbtUmbenennen",
         3,
         "9000",
         "20000",
         5,
         "rbtAktualisieren",
         [](Started& s, bool stored) {
             const std::set<int> boundaries{9, 40, 61, 92, 98, 124, 145, 158};
             // The first lines differ in length: the page guesses separated values, the person says fixed width.
             if (!stored)
                 s.tick(s.w->rgrDatsatzlaenge1);
             EXPECT_TRUE(s.w->rgrDatsatzlaenge1->isChecked());
             s.click(s.w->btnWeiter1txt);
             ASSERT_EQ(s.sheet(), s.w->TXTFix) << s.messages().toStdString();
             if (!stored)
                 for (int column : boundaries)
                     s.mark(column);
             EXPECT_EQ(s.w->stgQuellDatFix->marks(), boundaries);
             s.click(s.w->btnWeiter1txt);
             ASSERT_EQ(s.sheet(), s.w->TXTVariabel) << s.messages().toStdString();
             if (!stored) {
                 s.tick(s.w->cbxErsteZeile);
                 // The first names of the customers get another name than the file's.
                 QTest::mouseClick(s.w->stgQuellDatVar->viewport(), Qt::LeftButton, {},
                                   s.w->stgQuellDatVar->visualRect(s.w->stgQuellDatVar->model()->index(0, 2)).center());
                 EXPECT_EQ(s.w->edtRenCols->text(), "Vorname");
                 s.w->edtRenCols->setText("Rufname");
                 s.click(s.w->btnErste);
             }
             EXPECT_EQ(s.headers(), QStringList({"KundenNr", "Name", "Rufname", "Strasse", "PLZ", "Ort", "Telefon",
                                                 "Umsatz", "KundeSeit"}));
             s.click(s.w->btnWeiter1txt);
         },
         [](const engine::ImportSetting& row) {
             EXPECT_EQ(row.ColNames, "KundenNr;Name;Rufname;Strasse;PLZ;Ort;Telefon;Umsatz;KundeSeit;");
             EXPECT_EQ(row.FixVar, 1);
             EXPECT_TRUE(row.NamesInFirstLine);
             EXPECT_FALSE(row.Semic);
             const QStringList values = row.FixBreak.split(u';');
             ASSERT_EQ(values.size(), 101);
             EXPECT_EQ(values.mid(0, 8), QStringList({"9", "40", "61", "92", "98", "124", "145", "158"}));
             EXPECT_EQ(values.mid(8, 92), QStringList(92, "-1"));
         }},
        {"Access table counts the key up",
         "access/jackcess/testV1997.mdb",
         "Table1",
         "keyed",
         {{"Name", "A"}, {"Ort", "B"}},
         {1, 2},
         false,
         nullptr,
         4,
         "10",
         "20",
         4,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        const QString user = folders.path("user");
        const QString source = c.source.startsWith("demo:") ? CopyTable(kDemos + u'/' + c.source.mid(5), user)
                                                            : CopyTable(kFixtures + u'/' + c.source, user);
        Model model;
        QString target;
        if (c.target == "keyed") {
            target = user + "/Ziel.db";
            db::paradox::create(target,
                                {{"Nr", db::FieldType::ftInteger, 0, 0, true},
                                 {"Name", db::FieldType::ftString, 40, 0, false},
                                 {"Ort", db::FieldType::ftString, 25, 0, false}},
                                1);
        } else {
            target = CopyTable(kDemos + u'/' + c.target.mid(5), user);
        }
        {
            // The target's fields, its key, and the records it holds before the first run (their texts "alt").
            db::Table t;
            t.setTableName(target);
            t.Open();
            for (int i = 0; i < t.FieldCount(); ++i)
                model.fields << t.Fields(i)->FieldName();
            model.keyColumn = t.Fields(0)->IsIndexField() ? 0 : -1;
            for (int key : c.prefilled) {
                t.Append();
                Row row(t.FieldCount());
                t.Fields(0)->setAsInteger(key);
                row[0] = QString::number(key);
                for (int i = 1; i < t.FieldCount(); ++i) {
                    if (t.Fields(i)->DataType() == db::FieldType::ftString) {
                        t.Fields(i)->setAsString("alt");
                        row[i] = "alt";
                    }
                }
                t.Post();
                model.rows.push_back(row);
            }
            t.Close();
        }

        // ---- a new setting ----
        QString sourceTable = source;
        {
            Started s(folders);
            s.click(s.w->btnWeiter1);
            ASSERT_EQ(s.page(), "ImportSeite2");
            s.w->edtQuelle->setText(source);
            s.click(s.w->btnWeiter2);
            if (!c.accessTable.isEmpty()) {
                ASSERT_EQ(s.page(), "ImportSeiteAdo");
                s.w->lbxTables->setCurrentItem(s.w->lbxTables->findItems(c.accessTable, Qt::MatchExactly).first());
                s.click(s.w->btnWeiterAdo);
            }
            ASSERT_EQ(s.page(), "ImportSeite3") << s.messages().toStdString();
            platform::SetChecked(s.w->cbxZielLeeren, c.zielLeeren);
            s.w->edtZiel->setText(target);
            s.click(s.w->btnWeiter3);
            if (c.textPages) {
                ASSERT_EQ(s.page(), "ImportSeite1txt") << s.messages().toStdString();
                ASSERT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);
                c.textPages(s, false);
            }
            ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
            s.map(c);
            // The mapping page's Weiter.
            s.form->btnWeiter4Click();
            ASSERT_EQ(s.page(), "ImportSeite5") << s.messages().toStdString();
            sourceTable = s.form->tblQuelle.TableName();
            EXPECT_EQ(s.w->lblQuelldatei->text(), QDir::toNativeSeparators(sourceTable));
            if (c.textPages) {
                // The text file read into a table of its own.
                EXPECT_NE(QFileInfo(sourceTable).absoluteFilePath(), QFileInfo(source).absoluteFilePath());
            }
            s.chooseMode(c.modeRadio, c.start);
            ASSERT_EQ(s.page(), "ImportSeite6") << s.messages().toStdString();
            EXPECT_EQ(s.form->GewaehlterImportmodus(), c.mode);
            s.w->edtImpSpeich->setText(c.name);
            s.click(s.w->btnBemerkung);
            s.w->edtBemerkung->setPlainText(QStringLiteral("Bemerkung zu %1").arg(c.name));
            s.ui.answer(Button::Ok);  // the remark is kept
            s.click(s.w->btnBemerkSpeichern);
            s.w->rbtTabNichtAnz->click();
            s.ui.answer(Button::Ok);  // stored
            s.form->tblQuelle.Close();
            const auto records = SourceRecords(sourceTable);
            s.finish();
            // What the finish page said (the text pages may have spoken before).
            EXPECT_EQ(s.ui.messageTexts().mid(s.ui.messageTexts().size() - 2),
                      (QStringList{texts::Text(65225), texts::Format(texts::Text(64928), {c.name})}));
            model.run(c, c.mode, c.start, records);
            EXPECT_EQ(TargetRows(target), model.rows);
            EXPECT_FALSE(s.w->ImportSeite6->isEnabled());
        }
        const engine::ImportSetting stored = StoredRow(folders.programFolder(), c.name);
        EXPECT_EQ(stored.Quelldatei, source);
        EXPECT_EQ(stored.Zieldatei, target);
        EXPECT_EQ(stored.Importmodus, c.mode);
        EXPECT_EQ(stored.Bemerkung, QStringLiteral("Bemerkung zu %1").arg(c.name));
        EXPECT_EQ(stored.ZielLeeren, c.zielLeeren);
        EXPECT_EQ(stored.MarkFeld, c.accessTable);
        EXPECT_EQ(stored.Quellformat, !c.accessTable.isEmpty()    ? QString("Access")
                                      : source.endsWith(".db")  ? QString("Paradox")
                                      : source.endsWith(".dbf") ? QString("dBase")
                                                                : QString());
        if (c.storedLayout)
            c.storedLayout(stored);
        EXPECT_TRUE(stored.Eigene);
        EXPECT_EQ(stored.LetzterImport, QDate::currentDate());
        ASSERT_TRUE(stored.TableName.has_value());
        const QString settingFile = folders.programFolder() + QString::number(*stored.TableName) + ".DB";
        {
            // The setting file is the mapping as it was run.
            db::Table copy;
            copy.setTableName(settingFile);
            copy.Open();
            const auto rows = engine::ReadMapping(copy);
            copy.Close();
            int mapped = 0;
            for (const auto& row : rows)
                mapped += row.isMapped() ? 1 : 0;
            EXPECT_EQ(mapped, static_cast<int>(c.mapping.size()));
        }

        // ---- a fresh start finds the setting; run unchanged ----
        {
            Started s(folders);
            s.form->tblImpList.Open();
            EXPECT_TRUE(s.form->tblImpList.FindKey(QString(c.name)));
            s.chooseSetting(c.name, s.w->rbtVorhEinst_oAE);
            const bool asksStart = c.mode == 3 || c.mode == 4;
            ASSERT_EQ(s.page(), asksStart ? "ImportSeite5" : "ImportSeite6") << s.messages().toStdString();
            if (asksStart) {
                EXPECT_TRUE(s.w->edtStartwert->isEnabled());
                EXPECT_FALSE(s.w->rbtAktualisieren->isEnabled());
                s.chooseMode(nullptr, c.rerunStart);
                ASSERT_EQ(s.page(), "ImportSeite6") << s.messages().toStdString();
            }
            EXPECT_FALSE(s.w->edtImpSpeich->isEnabled());
            s.w->rbtTabNichtAnz->click();
            s.ui.answer(Button::No);  // not stored again
            s.form->tblQuelle.Close();
            const auto records = SourceRecords(s.form->tblQuelle.TableName());
            s.finish();
            EXPECT_EQ(s.ui.messageTexts().value(0), texts::Text(64959));
            model.run(c, c.mode, c.rerunStart, records);
            EXPECT_EQ(TargetRows(target), model.rows);
        }

        // ---- changed: another mode, stored again under its name ----
        {
            Started s(folders);
            s.chooseSetting(c.name, s.w->rbtVorhEinst_mAE);
            if (c.textPages) {
                ASSERT_EQ(s.page(), "ImportSeite1txt") << s.messages().toStdString();
                c.textPages(s, true);
            }
            ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
            s.map(c);
            s.form->btnWeiter4Click();
            ASSERT_EQ(s.page(), "ImportSeite5") << s.messages().toStdString();
            const QString changedStart = QString::number(c.rerunStart.toInt() + 100);
            s.chooseMode(c.changedRadio, changedStart);
            ASSERT_EQ(s.page(), "ImportSeite6") << s.messages().toStdString();
            EXPECT_TRUE(s.w->edtImpSpeich->isEnabled());
            EXPECT_EQ(s.w->edtImpSpeich->text(), c.name);
            s.w->rbtTabNichtAnz->click();
            s.ui.answer(Button::Ok);
            s.form->tblQuelle.Close();
            const auto records = SourceRecords(s.form->tblQuelle.TableName());
            s.finish();
            model.run(c, c.changedMode, changedStart, records);
            EXPECT_EQ(TargetRows(target), model.rows);
        }
        const engine::ImportSetting changed = StoredRow(folders.programFolder(), c.name);
        EXPECT_EQ(changed.Importmodus, c.changedMode);
        EXPECT_EQ(changed.Bemerkung, stored.Bemerkung);
        EXPECT_EQ(changed.TableName, stored.TableName);
        if (c.storedLayout)
            c.storedLayout(changed);
    }
}

}  // namespace

namespace {

// A stored setting of suppliers into a keyed target, made on the real road; the paths it names.
struct StoredSupplierSetting {
    QString source;
    QString target;
    QString settingBase;  // program folder + TableName
};

void MakeKeyedTarget(const QString& path, db::FieldType ortType)
{
    for (const char* ext : {".db", ".px"})
        QFile::remove(QFileInfo(path).path() + u'/' + QFileInfo(path).completeBaseName() + ext);
    db::FieldDefList fields{{"Nr", db::FieldType::ftInteger, 0, 0, true},
                            {"Name", db::FieldType::ftString, 40, 0, false},
                            {"Ort", ortType, ortType == db::FieldType::ftString ? 25 : 0, 0, false}};
    db::paradox::create(path, fields, 1);
}

StoredSupplierSetting StoreSupplierSetting(const ShellFolders& folders, const QString& name)
{
    StoredSupplierSetting made;
    made.source = CopyTable(kDemos + "/Lieferanten.db", folders.path("user"));
    made.target = folders.path("user/Ziel.db");
    MakeKeyedTarget(made.target, db::FieldType::ftString);
    {
        Started s(folders);
        s.chooseSourceAndTarget(made.source, made.target);
        Case c{};
        c.mapping = {{"Nr", "LiefNr"}, {"Name", "Firma"}, {"Ort", "Ort"}};
        s.map(c);
        s.form->btnWeiter4Click();
        s.chooseMode("rbtIgnorieren", QString());
        s.w->edtImpSpeich->setText(name);
        s.ui.answer(Button::Ok);
        s.w->rbtTabNichtAnz->click();
        s.finish();
    }
    made.settingBase = folders.programFolder() + QString::number(*StoredRow(folders.programFolder(), name).TableName);
    return made;
}

void ChangeStoredRow(const QString& folder, const QString& name, const char* column, const QVariant& value)
{
    db::Table list;
    list.setTableName(folder + "ImpList.DB");
    list.Open();
    ASSERT_TRUE(list.FindKey(name));
    list.Edit();
    list.FieldByName(QLatin1String(column))->setAsVariant(value);
    list.Post();
    list.Close();
}

TEST(FinishRoad, AStoredSettingThatCannotBeRunUnchangedIsReportedAndLeavesEverythingAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(const ShellFolders&, const StoredSupplierSetting&)> spoil;
        std::vector<Button> answers;
        QStringList messages;  // the start of each message shown
        const char* checkedAfterwards;
    };
    const QString crlf = "\r\n";
    const QString damaged = texts::Format(texts::Text(61450), {"Lieferanten"});
    db::Table otherProgram;  // holds the target in one case
    const Case cases[] = {
        {"source gone",
         [](const ShellFolders&, const StoredSupplierSetting& s) { QFile::remove(s.source); },
         {Button::Ok},
         {texts::Text(64963) + crlf + texts::Text(64965)},
         "rbtVorhEinst_oAE"},
        {"target gone",
         [](const ShellFolders&, const StoredSupplierSetting& s) { QFile::remove(s.target); },
         {Button::Ok},
         {texts::Text(64964) + crlf + texts::Text(64965)},
         "rbtVorhEinst_oAE"},
        {"target field changed its type",
         [](const ShellFolders&, const StoredSupplierSetting& s) {
             MakeKeyedTarget(s.target, db::FieldType::ftInteger);
         },
         {Button::Ok, Button::Ok},
         {texts::Text(64945), texts::Text(64947)},
         "rbtVorhEinst_mAE"},
        {"setting file damaged",
         [](const ShellFolders&, const StoredSupplierSetting& s) {
             QFile file(s.settingBase + ".DB");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(3000, 'x'));
         },
         {Button::Ok},
         {damaged},
         "rbtVorhEinst_oAE"},
        {"setting files missing",
         [](const ShellFolders&, const StoredSupplierSetting& s) { QFile::remove(s.settingBase + ".DB"); },
         {Button::No},
         {texts::Text(64982).section(u'%', 0, 0)},
         "rbtVorhEinst_oAE"},
        {"separator column empty",
         [](const ShellFolders& f, const StoredSupplierSetting&) {
             ChangeStoredRow(f.programFolder(), "Lieferanten", "Decimal", QString());
         },
         {Button::Ok},
         {damaged},
         "rbtVorhEinst_oAE"},
        {"target held by another program",
         [&otherProgram](const ShellFolders&, const StoredSupplierSetting& s) {
             otherProgram.setTableName(s.target);
             otherProgram.setExclusive(true);
             otherProgram.Open();
         },
         {Button::Ok, Button::Ok},
         {texts::Text(64986).section(u'%', 0, 0), texts::Text(65223)},
         "rbtVorhEinst_oAE"},
        {"mode of a newer version",
         [](const ShellFolders& f, const StoredSupplierSetting&) {
             ChangeStoredRow(f.programFolder(), "Lieferanten", "Importmodus", 9);
         },
         {Button::Ok},
         {damaged},
         "rbtVorhEinst_oAE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        const StoredSupplierSetting made = StoreSupplierSetting(folders, "Lieferanten");
        c.spoil(folders, made);
        // What the target holds once spoiled; a target held by another program is read where that one reads.
        db::Table* reader = otherProgram.Active() ? &otherProgram : nullptr;
        const auto spoiledTarget = !QFile::exists(made.target) ? std::vector<Row>{}
                                   : reader                    ? std::vector<Row>(reader->RecordCount())
                                                               : TargetRows(made.target);
        const engine::ImportSetting rowBefore = StoredRow(folders.programFolder(), "Lieferanten");
        {
            Started s(folders);
            for (Button b : c.answers)
                s.ui.answer(b);
            s.chooseSetting("Lieferanten", s.w->rbtVorhEinst_oAE);
            EXPECT_EQ(s.page(), "ImportSeite1");
            const QStringList shown = s.ui.messageTexts();
            ASSERT_EQ(shown.size(), c.messages.size()) << s.messages().toStdString();
            for (int i = 0; i < shown.size(); ++i)
                EXPECT_TRUE(shown[i].startsWith(c.messages[i])) << shown[i].toStdString();
            EXPECT_TRUE(QLatin1String(c.checkedAfterwards) == u"rbtVorhEinst_mAE" ? s.w->rbtVorhEinst_mAE->isChecked()
                                                                                  : s.w->rbtVorhEinst_oAE->isChecked());
            // The mapping table is usable for the next import whatever was copied over it.
            s.form->tblZStrukt.Close();
            EXPECT_NO_THROW(s.form->tblZStrukt.Open());
        }
        otherProgram.Close();
        // Nothing of the person's files and no stored setting changed.
        if (QFile::exists(made.target)) {
            EXPECT_EQ(TargetRows(made.target).size(), spoiledTarget.size());
            if (!reader) {
                EXPECT_EQ(TargetRows(made.target), spoiledTarget);
            }
        }
        EXPECT_EQ(StoredRow(folders.programFolder(), "Lieferanten"), rowBefore);
    }
}

TEST(FinishRoad, AChangedTextSettingGoesBackFromTheTextPageAsFarAsTheSettingsManagerSays)
{
    ShellFolders folders;
    const QString source = CopyTable(kDemos + "/Kunden.txt", folders.path("user"));
    const QString target = CopyTable(kDemos + "/ZielKunden.db", folders.path("user"));
    {
        Started s(folders);
        s.chooseSourceAndTarget(source, target);
        s.w->comDelimiter->setCurrentIndex(1);
        platform::SetChecked(s.w->cbxErsteZeile, true);
        s.click(s.w->btnWeiter1txt);
        s.click(s.w->btnWeiter1txt);
        ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
        ::Case c{};
        c.mapping = {{"KundenNr", "KundenNr"}, {"Name", "Name"}};
        s.map(c);
        s.form->btnWeiter4Click();
        s.chooseMode("rbtIgnorieren", QString());
        s.w->edtImpSpeich->setText("Kunden");
        s.w->rbtTabNichtAnz->click();
        s.ui.answer(Button::Ok);
        s.finish();
    }
    struct Case {
        const char* name;
        bool quelleAusw, zielAusw;
        std::vector<Button> answers;
        QStringList messages;
        const char* page;
    };
    const Case cases[] = {
        {"both files as stored: the start page", false, false, {}, {}, "ImportSeite1"},
        {"the source chosen anew: the source page", true, false, {}, {}, "ImportSeite2"},
        {"the target chosen anew: asked, the target page", false, true, {Button::Yes}, {texts::Text(64923)},
         "ImportSeite3"},
        {"the target chosen anew, the person stays", false, true, {Button::No}, {texts::Text(64923)}, "ImportSeite1txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Started s(folders);
        s.chooseSetting("Kunden", s.w->rbtVorhEinst_mAE);
        ASSERT_EQ(s.page(), "ImportSeite1txt") << s.messages().toStdString();
        // The stored layout is on the sheets.
        EXPECT_TRUE(s.w->rgrDatsatzlaenge0->isChecked());
        EXPECT_EQ(s.w->comDelimiter->currentIndex(), 1);
        EXPECT_TRUE(s.w->cbxErsteZeile->isChecked());
        Ui::TfrmEinstellAEND& manager = *s.form->frmEinstellAEND->ui;
        platform::SetChecked(manager.cbxQuelleAusw, c.quelleAusw);
        platform::SetChecked(manager.cbxZielAusw, c.zielAusw);
        for (Button b : c.answers)
            s.ui.answer(b);
        s.click(s.w->btnZurueck1txt);
        EXPECT_EQ(s.page(), c.page);
        EXPECT_EQ(s.ui.messageTexts(), c.messages);
        EXPECT_EQ(s.sheet(), s.w->TXTDatensatzlaenge);
    }
}

TEST(FinishRoad, TheFinishPageKeepsThePersonUntilTheNameCanBeStored)
{
    struct Case {
        const char* name;
        QString settingName;
        Button answer;
        QString message;
        bool runs;  // the run went ahead without storing
    };
    const Case cases[] = {
        {"no name, the person wants to give one", "", Button::Yes, texts::Text(64959), false},
        {"no name, cancelled", "", Button::Cancel, texts::Text(64959), false},
        {"no name, run without storing", "", Button::No, texts::Text(64959), true},
        {"name too long for the list", QString(81, u'N'), Button::Ok, texts::Format(texts::Text(61451), {"80"}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        const QString source = CopyTable(kDemos + "/Lieferanten.db", folders.path("user"));
        const QString target = folders.path("user/Ziel.db");
        MakeKeyedTarget(target, db::FieldType::ftString);
        {
            Started s(folders);
            s.chooseSourceAndTarget(source, target);
            ::Case mapping{};
            mapping.mapping = {{"Nr", "LiefNr"}, {"Name", "Firma"}};
            s.map(mapping);
            s.form->btnWeiter4Click();
            s.chooseMode("rbtIgnorieren", QString());
            ASSERT_EQ(s.page(), "ImportSeite6");
            s.w->edtImpSpeich->setText(c.settingName);
            s.w->rbtTabNichtAnz->click();
            s.ui.answer(c.answer);
            s.click(s.w->btnFertigstellen);
            EXPECT_EQ(s.ui.messageTexts().value(0), c.message);
            EXPECT_EQ(s.w->ImportSeite6->isEnabled(), !c.runs);
            EXPECT_EQ(TargetRows(target).size(), c.runs ? 40u : 0u);
        }
        EXPECT_EQ(RowCount(folders.programFolder() + "ImpList.DB"), 0);
    }
}

}  // namespace

namespace {

TEST(FinishRoad, EveryAccessKeyOfTheModeAndFinishPagesIsUniqueInEveryLanguage)
{
    for (const char* language : {"DE", "EN", "CSY"}) {
        SCOPED_TRACE(language);
        platform::TQLocUtils& loc = platform::LocUtilsInstance();
        if (QString(language) != "DE")
            loc.LoadResourceLibrary(QStringLiteral(IMPORT_PROGRAM_DIR) + "/Import." + language);
        {
            ShellFolders folders;
            Started s(folders);
            // Everything of the pages a person can see at one time: the key options and the open remark.
            s.w->gbxImportmodus->show();
            s.w->btnBemerkung->hide();
            for (QWidget* w :
                 {static_cast<QWidget*>(s.w->lblBemerkung), static_cast<QWidget*>(s.w->edtBemerkung),
                  static_cast<QWidget*>(s.w->btnBemerkSpeichern), static_cast<QWidget*>(s.w->btnBemerkVerwerfen)})
                w->show();
            for (QWidget* page : {s.w->ImportSeite5, s.w->ImportSeite6}) {
                SCOPED_TRACE(page->objectName().toStdString());
                s.w->PageControl1->setCurrentWidget(page);
                QMap<QChar, QString> keys;
                for (QWidget* control : page->findChildren<QWidget*>()) {
                    QString caption;
                    if (auto* button = qobject_cast<QAbstractButton*>(control))
                        caption = button->text();
                    else if (auto* label = qobject_cast<QLabel*>(control); label && label->buddy())
                        caption = label->text();
                    const qsizetype amp = caption.indexOf(u'&');
                    if (!control->isVisibleTo(page) || amp < 0 || amp + 1 >= caption.size())
                        continue;
                    const QChar key = caption.at(amp + 1).toLower();
                    EXPECT_FALSE(keys.contains(key))
                        << control->objectName().toStdString() << " and " << keys.value(key).toStdString();
                    keys.insert(key, control->objectName());
                }
                EXPECT_GE(keys.size(), 8);
            }
        }
        loc.ResetResourceLibrary();
    }
}

}  // namespace

namespace {

// A keyed source of many records: "Nr" counts from 1, "Name" is "Name <Nr>".
QString NumberedSource(ShellFolders& folders, int records)
{
    const QString source = folders.path("user/Viele.db");
    QDir().mkpath(folders.path("user"));
    db::paradox::create(
        source, {{"Nr", db::FieldType::ftInteger, 0, 0, true}, {"Name", db::FieldType::ftString, 30, 0, false}}, 1);
    db::Table t;
    t.setTableName(source);
    t.Open();
    for (int i = 1; i <= records; ++i) {
        t.Append();
        t.Fields(0)->setAsInteger(i);
        t.Fields(1)->setAsString(QStringLiteral("Name %1").arg(i));
        t.Post();
    }
    t.Close();
    return source;
}

// The numbered source onto a keyed target, keys kept, stored as "Viele", up to the finish page.
void WalkToFinishForNumberedRun(Started& s, const QString& source, const QString& target)
{
    s.chooseSourceAndTarget(source, target);
    ::Case c{};
    c.mapping = {{"Nr", "Nr"}, {"Name", "Name"}};
    s.map(c);
    s.form->btnWeiter4Click();
    s.chooseMode("rbtIgnorieren", QString());
    s.w->edtImpSpeich->setText("Viele");
    s.w->rbtTabNichtAnz->click();
}

TEST(FinishRoad, ARunCancelledPartWayKeepsEveryRecordItPostedAndTheSetting)
{
    constexpr int kRecords = 100000;
    ShellFolders folders;
    const QString source = NumberedSource(folders, kRecords);
    const QString target = folders.path("user/Ziel.db");
    MakeKeyedTarget(target, db::FieldType::ftString);
    QString added;
    {
        Started s(folders);
        WalkToFinishForNumberedRun(s, source, target);
        s.ui.answer(Button::Ok);   // stored
        s.ui.answer(Button::Yes);  // cancel the run
        wizard::TfrmGauge* gauge = s.program->frmGauge();
        // The person presses cancel once the run is well under way.
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, gauge, [gauge, &watch] {
            if (gauge->Gauge1->value() >= 1) {
                watch.stop();
                gauge->btnGaugeAbbrechen->click();
            }
        });
        watch.start();
        s.click(s.w->btnFertigstellen);
        EXPECT_TRUE(gauge->cancelled());
        added = gauge->lblAnzHinzu->text();
        // The grids that show the source follow it again.
        EXPECT_EQ(s.form->dscQuelle.DataSet(), &s.form->tblQuelle);
        EXPECT_FALSE(s.form->tblQuelle.ControlsDisabled());
    }
    const std::vector<Row> rows = TargetRows(target);
    ASSERT_LT(rows.size(), static_cast<std::size_t>(kRecords));
    ASSERT_GE(rows.size(), 1u);
    EXPECT_EQ(QString::number(rows.size()), QString(added).remove(u'.').remove(u','));
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], (Row{QString::number(i + 1), QStringLiteral("Name %1").arg(i + 1), QString()})) << i;
    EXPECT_EQ(StoredRow(folders.programFolder(), "Viele").Importmodus, 2);
}

}  // namespace

namespace {

// The process may write files up to a size for as long as the object lives: beyond it a write fails as on a full
// disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(FinishRoad, ADiskFullDuringTheRunIsReportedAndTheTargetStaysReadable)
{
    constexpr int kRecords = 50000;
    ShellFolders folders;
    const QString source = NumberedSource(folders, kRecords);
    const QString target = folders.path("user/Ziel.db");
    MakeKeyedTarget(target, db::FieldType::ftString);
    {
        Started s(folders);
        WalkToFinishForNumberedRun(s, source, target);
        s.ui.answer(Button::Ok);  // stored
        s.ui.answer(Button::Ok);  // the run stopped
        {
            FileSizeLimit full(256 * 1024);
            s.click(s.w->btnFertigstellen);
        }
        ASSERT_EQ(s.ui.messageTexts().size(), 2) << s.messages().toStdString();
        EXPECT_TRUE(s.ui.messageTexts()[1].startsWith(texts::Text(61452).section(u'%', 0, 0)))
            << s.ui.messageTexts()[1].toStdString();
        EXPECT_EQ(s.form->dscQuelle.DataSet(), &s.form->tblQuelle);
        EXPECT_FALSE(s.form->tblQuelle.ControlsDisabled());
    }
    // What reached the target is readable and is the source's first records, each whole.
    const std::vector<Row> rows = TargetRows(target);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], (Row{QString::number(i + 1), QStringLiteral("Name %1").arg(i + 1), QString()})) << i;
    EXPECT_EQ(StoredRow(folders.programFolder(), "Viele").Importmodus, 2);
}

}  // namespace

namespace {

TEST(FinishRoad, LeavingTheMappingPageOffersTheModesTheKeyAllows)
{
    // Radios, in order: EndeAnhaengen, Ignorieren, Umbenennen, SelfInc, Aktualisieren. "E" enabled and checked,
    // "e" enabled, "C" checked but disabled, "-" disabled and not checked, "d" disabled (checked or not).
    struct Case {
        const char* name;
        db::FieldType keyType;  // ftUnknown: a target without key
        bool keyMapped;
        bool zielLeeren;
        bool nothingMapped;
        QString message;  // empty: the mode page follows
        QString radios;
        bool groupShown;
        bool updateNotPossibleShown;
    };
    const Case cases[] = {
        {"no key", db::FieldType::ftUnknown, false, false, false, "", "E---d", false, false},
        {"counter key, assigned", db::FieldType::ftAutoInc, true, false, false, "", "ee--e", false, false},
        {"counter key, not assigned", db::FieldType::ftAutoInc, false, false, false, "", "E---d", false, false},
        {"key assigned, target emptied", db::FieldType::ftInteger, true, true, false, "", "EC--d", false, true},
        {"key not assigned, target emptied", db::FieldType::ftInteger, false, true, false, "", "E--Ed", true, true},
        {"key assigned, target kept", db::FieldType::ftInteger, true, false, false, "", "eee-e", false, false},
        {"key not assigned, target kept", db::FieldType::ftInteger, false, false, false, "", "E--Ed", true, false},
        {"nothing mapped", db::FieldType::ftInteger, false, false, true, texts::Text(64932), "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFolders folders;
        const QString source = CopyTable(kDemos + "/Lieferanten.db", folders.path("user"));
        const QString target = folders.path("user/Ziel.db");
        db::FieldDefList fields;
        if (c.keyType != db::FieldType::ftUnknown)
            fields.push_back({"Nr", c.keyType, 0, 0, true});
        fields.push_back({"Name", db::FieldType::ftString, 40, 0, false});
        fields.push_back({"Pflicht", db::FieldType::ftString, 10, 0, false});
        db::paradox::create(target, fields, c.keyType != db::FieldType::ftUnknown ? 1 : 0);
        Started s(folders);
        s.click(s.w->btnWeiter1);
        s.w->edtQuelle->setText(source);
        s.click(s.w->btnWeiter2);
        platform::SetChecked(s.w->cbxZielLeeren, c.zielLeeren);
        s.w->edtZiel->setText(target);
        s.click(s.w->btnWeiter3);
        ASSERT_EQ(s.page(), "ImportSeite4") << s.messages().toStdString();
        ::Case mapping{};
        if (!c.nothingMapped)
            mapping.mapping.push_back({"Name", "Firma"});
        if (c.keyMapped)
            mapping.mapping.push_back({"Nr", "LiefNr"});
        s.map(mapping);
        if (!c.message.isEmpty())
            s.ui.answer(Button::Ok);
        s.form->btnWeiter4Click();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(s.page(), "ImportSeite4");
            EXPECT_EQ(s.ui.messageTexts(), QStringList{c.message});
            continue;
        }
        ASSERT_EQ(s.page(), "ImportSeite5") << s.messages().toStdString();
        QString radios;
        for (QRadioButton* r :
             {s.w->rbtEndeAnhaengen, s.w->rbtIgnorieren, s.w->rbtUmbenennen, s.w->rbtSelfInc, s.w->rbtAktualisieren}) {
            if (r == s.w->rbtAktualisieren && !r->isEnabled())
                radios += u'd';
            else if (r->isEnabled())
                radios += r->isChecked() ? u'E' : u'e';
            else
                radios += r->isChecked() ? u'C' : u'-';
        }
        EXPECT_EQ(radios, c.radios);
        EXPECT_EQ(!s.w->gbxImportmodus->isHidden(), c.groupShown);
        EXPECT_EQ(!s.w->lblAktNichtMoeglich->isHidden(), c.updateNotPossibleShown);
        EXPECT_EQ(!s.w->lblAktualisieren->isHidden(), !c.updateNotPossibleShown);
        // Counting up asks for the start value and names the key it counts.
        EXPECT_EQ(s.w->edtStartwert->isEnabled(), s.w->rbtSelfInc->isChecked());
        if (s.w->rbtSelfInc->isChecked()) {
            EXPECT_EQ(s.w->lblIndexfeld->text(), "\"Nr\"");
        }
    }
}

}  // namespace
