// Renders the program's windows and the main window's pages to PNG files, in German and in the languages of the
// modules in the program folder, for looking at them before a change is called done:
//
//     Screenshots <program folder> <output folder> [DE|EN|CSY ...]
//     Screenshots <program folder> --texts        every window text with its key, one "key<TAB>text" a line
//     Screenshots <program folder> --accessible [DE|EN|CSY]   what a screen reader finds in every window: object,
//                                                 role, name and description, one line each, indented as nested
//
// The windows that show data show sample tables: the contents viewer on each of its tabs and at the last screen of
// its source, and the start page with stored settings and its list dropped down. It works on a copy of the program folder, a
// configuration folder and sample tables of its own, so nothing of a user's changes.
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
#include "filter/DBFilterDialog.h"
#include "filter/frmFilterDialog.h"
#include "filter/frmFilterFileDialog.h"
#include "ui_frmFilterDialog.h"
#include "ui_frmFilterFileDialog.h"
#include "platform/AccessibleNames.h"
#include "platform/DataControls.h"
#include "platform/ErrorReportWindow.h"
#include "platform/HelpViewer.h"
#include "platform/LocUtils.h"
#include "platform/QtUserInterface.h"
#include "platform/WindowTexts.h"
#include "rtl/CodePages.h"
#include "rtl/FormatSettings.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "ui_frmInhaltAnz.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmGauge.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"
#include "wizard/frmSplashScreen.h"
#include "wizard/ProgramContext.h"
#include "wizard/text/TextFileView.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeWidget>
#include <QLocale>
#include <QPainter>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

void Save(QWidget* widget, const QString& file)
{
    widget->show();
    QApplication::processEvents();
    if (!widget->grab().save(file))
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
}

// Customers as the viewer shows a source or a target: German names and places, amounts and dates.
void makeCustomers(db::Table& table, const QString& path, int records)
{
    table.setTableName(path);
    table.FieldDefs().assign({{QStringLiteral("Nr"), db::FieldType::ftInteger},
                              {QStringLiteral("Name"), db::FieldType::ftString, 30},
                              {QStringLiteral("Ort"), db::FieldType::ftString, 25},
                              {QStringLiteral("Umsatz"), db::FieldType::ftFloat},
                              {QStringLiteral("Kunde seit"), db::FieldType::ftDate}},
                             1);
    table.CreateTable();
    table.Open();
    const char* names[] = {"Müller GmbH", "Schulze & Söhne", "Weiß KG", "Bäckerei Huber", "Fischer AG"};
    const char* places[] = {"Köln", "München", "Düsseldorf", "Straße am Ring", "Görlitz"};
    for (int i = 1; i <= records; ++i) {
        table.Append();
        table.Fields(0)->setAsInteger(i);
        table.Fields(1)->setAsString(QString::fromUtf8(names[i % 5]));
        table.Fields(2)->setAsString(QString::fromUtf8(places[i % 7 % 5]));
        table.Fields(3)->setAsFloat(i * 113.25);
        table.Fields(4)->setAsDateTime(QDateTime(QDate(1998, 1, 1).addDays(i * 3), QTime()));
        table.Post();
    }
    table.First();
}

// The sample tables, made in a folder of their own when a picture first needs them.
struct Samples {
    explicit Samples(const QString& folder)
    {
        QDir().mkpath(folder);
        const QDir dir(folder);
        makeCustomers(quelle, dir.filePath(QStringLiteral("Kunden.DB")), 1234);
        makeCustomers(ziel, dir.filePath(QStringLiteral("Adressen.DB")), 12);
        impList.setTableName(dir.filePath(engine::ImpListFileName));
        impList.FieldDefs().assign(engine::ImpListFields(), engine::ImpListKeyFieldCount);
        impList.CreateTable();
        impList.Open();
        for (int i = 1; i <= 12; ++i) {
            impList.Append();
            impList.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Kunden %1").arg(i));
            impList.FieldByName(QStringLiteral("Quelldatei"))
                ->setAsString(QStringLiteral("C:\\Daten\\Kunden%1.txt").arg(i));
            impList.FieldByName(QStringLiteral("Zieldatei"))->setAsString(QStringLiteral("C:\\FR\\KUNDEN.DB"));
            impList.Post();
        }
        dscQuelle.setDataSet(&quelle);
        dscZiel.setDataSet(&ziel);
        dscImpList.setDataSet(&impList);
    }

    db::Table quelle, ziel, impList;
    db::DataSource dscQuelle, dscZiel, dscImpList;
};

using SampleData = std::function<Samples&()>;
using Picture = std::function<void(QWidget& window, const QString& name)>;

// A window of the program as it is made. Its texts are those the language modules translate; its pictures bring it
// into each state worth looking at, with sample data where it shows data, and take one picture of each. Without
// pictures it is pictured once as made, under its name.
struct Window {
    QString name;
    std::function<std::unique_ptr<QWidget>()> make;
    std::function<void(QWidget& window, const Picture& take)> pictures = {};
};

// The viewer as the pages fill it: the source on its first tab, then at its last record, the target with the
// warning that it is emptied, and a text source.
void PictureViewer(wizard::TfrmInhaltAnz& viewer, Samples& samples, const Picture& take)
{
    viewer.setQuelleDataSource(&samples.dscQuelle);
    viewer.setZielDataSource(&samples.dscZiel);
    viewer.setFilterDialog([](db::Table&) {});
    viewer.ui->TabSheet1->setWindowTitle(QString());
    viewer.ui->PageControl1->setTabText(0, QStringLiteral("Quelldatenbank: Kunden.DB"));
    viewer.ui->PageControl1->setTabText(1, QStringLiteral("Zieldatenbank: Adressen.DB"));
    viewer.ui->stbInhaltQuelle->setSimpleText(wizard::DatensaetzeText(samples.quelle.RecordCount()));
    viewer.ui->stbInhaltZiel->setSimplePanel(false);
    viewer.ui->stbInhaltZiel->setPanelText(0, wizard::DatensaetzeText(samples.ziel.RecordCount()));
    viewer.ui->stbInhaltZiel->setPanelText(1, QStringLiteral("Datenbankinhalt wird vor dem Importlauf gelöscht!"));
    viewer.ui->retEditor->setPlainText(
        QStringLiteral("Nr;Name;Ort;Umsatz\n1;Müller GmbH;Köln;113,25\n2;Schulze & Söhne;München;226,50\n"));
    viewer.ui->stbInhaltText->setSimpleText(QStringLiteral("3 Zeilen"));
    viewer.setActiveSheet(viewer.ui->TabSheet1);
    take(viewer, QStringLiteral("frmInhaltAnz-Quelle"));
    QKeyEvent ctrlEnd(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(viewer.ui->dbgInhaltQuellDB, &ctrlEnd);
    take(viewer, QStringLiteral("frmInhaltAnz-Quelle-Ende"));
    viewer.setActiveSheet(viewer.ui->TabSheet2);
    take(viewer, QStringLiteral("frmInhaltAnz-Ziel"));
    viewer.setActiveSheet(viewer.ui->TabSheet3);
    take(viewer, QStringLiteral("frmInhaltAnz-Text"));
}

// ---- formula editor and data filter dialog ----

// The formula editor over a main window of its own: a mapping row with a text formula for a field of 20
// characters, and a source record it is worked out on.
struct FormulaEditorSample : QWidget {
    explicit FormulaEditorSample(wizard::ProgramContext& context)
        : main(std::make_unique<wizard::TfrmImport1>(context)), editor(*main)
    {
        const QString folder = tables.path();
        makeCustomers(main->tblQuelle, folder + QStringLiteral("/Kunden.DB"), 3);
        db::Table& row = main->tblZStrukt;
        row.setTableName(folder + u'/' + engine::ZStruktFileName);
        row.FieldDefs().assign(engine::ZStruktFields(), 0);
        row.CreateTable();
        row.Open();
        row.Append();
        row.FieldByName(QStringLiteral("Feldname"))->setAsString(QStringLiteral("ANREDE"));
        row.FieldByName(QStringLiteral("Typ"))->setAsInteger(1);
        row.FieldByName(QStringLiteral("Laenge"))->setAsString(QStringLiteral("20"));
        row.FieldByName(QStringLiteral("Formel_alph"))
            ->setAsString(QStringLiteral("\"Firma \" + #Name + \" in \" + #Ort"));
        row.Post();
    }
    ~FormulaEditorSample() override { editor.close(); }

    QTemporaryDir tables;
    std::unique_ptr<wizard::TfrmImport1> main;
    wizard::TfrmFormelEdt editor;
};

void PictureFormulaEditor(FormulaEditorSample& sample, const Picture& take)
{
    sample.editor.editFormula(QStringLiteral("Formel_alph"));
    take(sample.editor, QStringLiteral("frmFormelEdt"));
    sample.editor.btnVorschauClick();
    take(sample.editor, QStringLiteral("frmFormelEdt-Vorschau"));
    sample.editor.btnVorschauClick();
}

// The filter dialog over the sample source with three conditions, and its file picker in both modes over a folder
// with two filter files, one of them protected.
struct FilterDialogSample : QWidget {};

void PictureFilterDialog(db::Table& table, const Picture& take)
{
    QTemporaryDir folder;
    auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(folder.path() + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    };
    write(QStringLiteral("Kunden Köln.flt"),
          "[Main]\r\nCreate=03.02.2025\r\nModify=14.11.2025\r\nDescription=Kunden aus K\xf6ln mit Umsatz\r\n"
          "Protect=0\r\n[Filter]\r\nAndOr0=AND\r\nField0=Ort\r\nCondition0=0\r\nValue0=K\xf6ln\r\n");
    write(QStringLiteral("Große Umsätze.flt"), "[Main]\r\nCreate=01.09.2025\r\nDescription=mehr als 1000\r\nProtect=1\r\n");
    filter::TDBFilterDialog dialog;
    dialog.Caption = QStringLiteral("Quelldatei filtern");
    dialog.Dataset = &table;
    dialog.FilterFolder = folder.path() + u'/';
    const QString filterBefore = table.Filter();
    table.setFilter(QStringLiteral("([Ort] = 'Köln') AND (Umsatz > '1000') OR  (Name IN ('Weiß KG', 'Fischer AG'))"));
    // Each window runs modally: it is pictured once it stands, then closed.
    auto whenModal = [](std::function<void(QWidget*)> act) {
        QTimer::singleShot(50, [act] {
            if (QWidget* modal = QApplication::activeModalWidget())
                act(modal);
        });
    };
    whenModal([&](QWidget* window) {
        auto* form = static_cast<filter::TfrmFilterDialog*>(window);
        form->ui->cbFilterField->setCurrentIndex(4);
        form->ui->cbFilterCondition->setCurrentIndex(9);
        form->ui->edFilterValue->setText(QStringLiteral("01.01.1998 31.12.1999"));
        form->ui->lbFilter->setCurrentItem(form->row(1));
        take(*form, QStringLiteral("frmFilterDialog"));
        whenModal([&](QWidget* picker) {
            auto* p = static_cast<filter::TfrmFilterFileDialog*>(picker);
            p->ui->edFileName->setText(QStringLiteral("Kunden Köln Umsatz"));
            p->ui->memoDescription->setPlainText(QStringLiteral("Kölner Kunden mit mehr als 1000 Umsatz"));
            take(*picker, QStringLiteral("frmFilterFileDialog-Speichern"));
            p->reject();
        });
        form->btnFilterSaveClick();
        whenModal([&](QWidget* picker) {
            auto* p = static_cast<filter::TfrmFilterFileDialog*>(picker);
            const auto items = p->ui->lvTemplate->findItems(QStringLiteral("Kunden Köln"), Qt::MatchExactly);
            if (!items.isEmpty()) {
                p->ui->lvTemplate->setCurrentItem(items.first());
                p->lvTemplateClick();
            }
            take(*picker, QStringLiteral("frmFilterFileDialog-Laden"));
            p->reject();
        });
        form->btnFilterLoadClick();
        form->reject();
    });
    dialog.Execute();
    table.setFilter(filterBefore);
}

// ---- end of formula editor and data filter dialog ----

std::vector<Window> Windows(wizard::ProgramContext& context, const SampleData& samples)
{
    return {
        {"frmSplashScreen", [&] { return std::make_unique<wizard::TfrmSplashScreen>(context); }},
        {"frmInhaltAnz", [] { return std::make_unique<wizard::TfrmInhaltAnz>(); },
         [samples](QWidget& viewer, const Picture& take) {
             PictureViewer(static_cast<wizard::TfrmInhaltAnz&>(viewer), samples(), take);
         }},
        {"frmGauge",
         [] {
             auto gauge = std::make_unique<wizard::TfrmGauge>();
             platform::TranslateWindow(gauge.get());
             return gauge;
         }},
        {"frmFormelEdt",
         [&context] { return std::make_unique<FormulaEditorSample>(context); },
         [](QWidget& sample, const Picture& take) {
             PictureFormulaEditor(static_cast<FormulaEditorSample&>(sample), take);
         }},
        {"frmFilterDialog", [] { return std::make_unique<FilterDialogSample>(); },
         [samples](QWidget&, const Picture& take) { PictureFilterDialog(samples().quelle, take); }},
        {"frmQOptionen", [] { return std::make_unique<wizard::TfrmQOptionen>(); }},
        {"ErrorReportWindow",
         [] {
             auto window = std::make_unique<platform::ErrorReportWindow>();
             window->setReport({QStringLiteral("Die Datei KUNDEN.DB ist gesperrt."), QStringLiteral("db::EngineError"),
                                QStringLiteral("#0 db::Table::Open() at Table.cpp:120\n#1 wizard::TfrmImport1::FormShow() "
                                               "at frmImport1.cpp:160")});
             return window;
         }},
        {"HelpViewer", [&] {
             auto viewer = std::make_unique<platform::HelpViewer>();
             const QString helpFile = context.programFolder + QStringLiteral("Import.HLP");
             if (QFile::exists(helpFile)) {
                 viewer->ShowTopic(helpFile, 1);
                 viewer->hide();
             }
             return viewer;
         }},
    };
}

// The start page as a user with stored settings sees it, its list dropped down, and the about box.
void SaveStoredSettings(wizard::ProgramContext& context, const QString& prefix)
{
    {
        db::Table list;
        list.setTableName(context.programFolder + QStringLiteral("ImpList.DB"));
        list.Open();
        if (list.RecordCount() == 0) {
            for (int i = 1; i <= 12; ++i) {
                list.Append();
                list.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QStringLiteral("Kunden %1").arg(i, 2, 10, QLatin1Char('0')));
                list.FieldByName(QStringLiteral("Quelldatei"))->setAsString(QStringLiteral("/daten/import/kunden%1.csv").arg(i));
                list.FieldByName(QStringLiteral("Zieldatei"))->setAsString(QStringLiteral("/daten/KUNDEN.DB"));
                list.Post();
            }
        }
        list.Close();
    }
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Velmora"), QStringLiteral("Import"))
        .setValue(QStringLiteral("1.0/ImportMain/edtAktEinstellung"), QStringLiteral("Kunden 03"));
    wizard::TfrmImport1 main(context);
    main.show();
    Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite1-Einstellungen.png"));
    main.ui->comVorh_Einstellg->showPopup();
    QApplication::processEvents();
    QWidget* popup = main.ui->comVorh_Einstellg->view()->window();
    // The drop-down is a window of its own: it is drawn into the picture of the page where it stands.
    const QPoint at = main.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
    const QRect all = main.rect().united(QRect(at, popup->size()));
    QPixmap page(all.size());
    page.fill(Qt::darkGray);
    {
        QPainter painter(&page);
        painter.drawPixmap(-all.topLeft(), main.grab());
        painter.drawPixmap(at - all.topLeft(), popup->grab());
    }
    const QString file = prefix + QStringLiteral("frmImport1-ImportSeite1-Liste.png");
    if (page.save(file))
        std::printf("%s\n", qPrintable(file));
    main.ui->comVorh_Einstellg->hidePopup();

    // The about box runs modally: it is drawn once it stands and closed again.
    QTimer::singleShot(0, [prefix] {
        if (QWidget* about = QApplication::activeModalWidget()) {
            Save(about, prefix + QStringLiteral("frmSplashScreen-Info.png"));
            about->close();
        }
    });
    main.InfoAnzeigen();
}

// ---- mapping page ----
// The mapping page after the automatic mapping of a customer table onto an address table, with the options panel
// on each of its four sheets.
void SaveMappingPage(wizard::ProgramContext& context, const QString& prefix, const QString& folder)
{
    QDir().mkpath(folder);
    const auto make = [](const QString& path, const db::FieldDefList& fields) {
        db::Table table;
        table.setTableName(path);
        table.FieldDefs().assign(fields, 1);
        table.CreateTable();
    };
    using db::FieldType;
    const QString source = folder + QStringLiteral("/Kunden.DB");
    const QString target = folder + QStringLiteral("/Adressen.DB");
    make(source, {{QStringLiteral("KundenNr"), FieldType::ftInteger},
                  {QStringLiteral("Name"), FieldType::ftString, 40},
                  {QStringLiteral("Umsatz"), FieldType::ftFloat},
                  {QStringLiteral("Plz"), FieldType::ftString, 5},
                  {QStringLiteral("Ort"), FieldType::ftString, 30}});
    make(target, {{QStringLiteral("Nr"), FieldType::ftInteger},
                  {QStringLiteral("Name"), FieldType::ftString, 30},
                  {QStringLiteral("Umsatz"), FieldType::ftFloat},
                  {QStringLiteral("PLZ"), FieldType::ftInteger},
                  {QStringLiteral("Ort"), FieldType::ftString, 30},
                  {QStringLiteral("Bemerkung"), FieldType::ftString, 20}});
    wizard::TfrmImport1 main(context);
    main.show();
    Ui::TfrmImport1& ui = *main.ui;
    wizard::SetChecked(ui.rbtNeueImport, true);
    main.tblQuelle.setTableName(source);
    main.tblQuelle.Open();
    ui.edtQuelle->setText(source);
    ui.edtZiel->setText(target);
    main.btnWeiter3Click();
    Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite4-Zuordnung.png"));
    // Umsatz into Bemerkung: a number into text.
    main.tblQStrukt.setRecNo(3);
    main.tblZStrukt.setRecNo(6);
    main.btnZuordnenClick();
    const std::pair<int, const char*> rows[] = {
        {2, "String_String"}, {4, "String_Zahl"}, {6, "Zahl_String"}, {3, "Zahl_Zahl"}};
    for (const auto& [row, sheet] : rows) {
        main.tblZStrukt.setRecNo(row);
        main.ZielfeldOptionenAnzeigen();
        if (ui.tpcOptionen->isHidden())
            main.btnOptionenClick();
        Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite4-") + QLatin1String(sheet) + QStringLiteral(".png"));
    }
    main.tblQuelle.Close();
    main.tblZiel.Close();
    rtl::formatSettings().DecimalSeparator = main.DecimalSeparatorAlt;
}
// ---- end of mapping page ----
// ---- settings manager, settings viewer, copy error list ----
// The three windows on the settings list of the stored-settings pictures, with an own and a predefined setting
// added, and two notes in the copy error list.
void SaveSettingsWindows(wizard::ProgramContext& context, const QString& prefix)
{
    {
        db::Table list;
        list.setTableName(context.programFolder + QStringLiteral("ImpList.DB"));
        list.Open();
        struct Row {
            const char* name;
            bool own;
            int mode;
            bool backup;
            const char* remark;
        };
        for (const Row& row : {Row{"Artikel Lieferant Nord", true, 5, true, "Monatliche Preisliste des Lieferanten"},
                               Row{"Beispiel: Kunden aus Textdatei", false, 2, false,
                                   "Liest die Kunden aus der Textdatei Kunden.txt in ZielKunden.db."}}) {
            if (list.FindKey(QString::fromUtf8(row.name)))
                continue;
            list.Append();
            list.FieldByName(QStringLiteral("Bezeichnung"))->setAsString(QString::fromUtf8(row.name));
            list.FieldByName(QStringLiteral("Eigene"))->setAsBoolean(row.own);
            list.FieldByName(QStringLiteral("Importmodus"))->setAsInteger(row.mode);
            list.FieldByName(QStringLiteral("Sicherungskopie"))->setAsBoolean(row.backup);
            list.FieldByName(QStringLiteral("Bemerkung"))->setAsString(QString::fromUtf8(row.remark));
            list.FieldByName(QStringLiteral("Quellformat"))->setAsString(row.own ? QStringLiteral("dBase")
                                                                                 : QStringLiteral("Text"));
            list.FieldByName(QStringLiteral("Quelldatei"))
                ->setAsString(row.own ? QStringLiteral("/daten/nord/ARTIKEL.DBF") : QStringLiteral("Kunden.txt"));
            list.FieldByName(QStringLiteral("Zieldatei"))
                ->setAsString(row.own ? QStringLiteral("/daten/ARTIKEL.DB") : QStringLiteral("ZielKunden.db"));
            list.FieldByName(QStringLiteral("LetzterImport"))->setAsVariant(QDate(2026, 11, 30));
            if (!row.own)
                list.FieldByName(QStringLiteral("VorDefTableName"))->setAsString(QStringLiteral("Demo1"));
            list.Post();
        }
        list.Close();
    }
    wizard::TfrmImport1 main(context);
    main.tblImpList.Open();
    wizard::TfrmQOptionen options;
    wizard::TfrmCopyFehler copyFehler;
    wizard::TfrmEinstellAEND manager;
    manager.setWizard(&main, nullptr, &copyFehler, &options);
    wizard::TfrmEinstellANZ viewer;
    viewer.setWizard(&main, &options);

    main.tblImpList.FindKey(QStringLiteral("Beispiel: Kunden aus Textdatei"));
    Save(&manager, prefix + QStringLiteral("frmEinstellAEND.png"));
    manager.setAnzeigeIndex(0);
    main.tblImpList.FindKey(QStringLiteral("Artikel Lieferant Nord"));
    Save(&manager, prefix + QStringLiteral("frmEinstellAEND-Eigene.png"));
    manager.close();

    main.tblImpList.FindKey(QStringLiteral("Artikel Lieferant Nord"));
    Save(&viewer, prefix + QStringLiteral("frmEinstellANZ.png"));
    viewer.close();

    copyFehler.AddNote(texts::Text(65007) + QStringLiteral("Artikel") + texts::Text(64976) + texts::Text(64977) +
                       texts::Text(65253) + QStringLiteral(": 07.12.2026 14:03:12 Artikel\"."));
    copyFehler.AddNote(texts::Format(texts::Text(61501), {QStringLiteral("Lieferanten"), QStringLiteral("VD3")}));
    Save(&copyFehler, prefix + QStringLiteral("frmCopyFehler.png"));
    copyFehler.close();
}
// ---- end of settings manager, settings viewer, copy error list ----

// ---- text layout pages ----
// The three sheets of the text page with a separated and a fixed-width customer file, as the target page leaves
// them: the layout sheet, the separated preview, the character grid with marks, and the naming of the fixed-width
// columns.
void SaveTextPages(wizard::ProgramContext& context, const QString& samplesFolder, const QString& prefix)
{
    QDir().mkpath(samplesFolder);
    const auto write = [&](const QString& name, const QString& text) {
        const QString path = samplesFolder + u'/' + name;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(rtl::encode(text, rtl::CodePage::Windows1252));
        return path;
    };
    QString separated = QStringLiteral("\"Nr\";\"Name\";\"Straße\";\"PLZ\";\"Ort\";\"Umsatz\"\r\n");
    QString fixed;
    const QStringList names = {QStringLiteral("Müller GmbH"), QStringLiteral("Schulze & Söhne"),
                               QStringLiteral("Bäckerei Groß"), QStringLiteral("Weiß KG"),
                               QStringLiteral("Özdemir Handel"), QStringLiteral("Hoffmann AG")};
    const QStringList places = {QStringLiteral("Köln"), QStringLiteral("München"), QStringLiteral("Düsseldorf"),
                                QStringLiteral("Würzburg"), QStringLiteral("Lübeck"), QStringLiteral("Essen")};
    for (int i = 0; i < 30; ++i) {
        const QString name = names[i % names.size()];
        const QString place = places[(i * 5) % places.size()];
        const QString street = QStringLiteral("Hauptstraße %1").arg(i + 1);
        const QString zip = QStringLiteral("%1").arg(10000 + i * 2713 % 89999, 5, 10, QLatin1Char('0'));
        const QString sales = QStringLiteral("%1,%2").arg(100 + i * 37).arg(i * 7 % 100, 2, 10, QLatin1Char('0'));
        separated += QStringLiteral("%1;\"%2\";%3;%4;%5;%6\r\n").arg(i + 1).arg(name, street, zip, place, sales);
        fixed += QStringLiteral("%1%2%3%4%5\r\n")
                     .arg(i + 1, 5, 10, QLatin1Char('0'))
                     .arg(name, -20)
                     .arg(zip, -6)
                     .arg(place, -12)
                     .arg(sales, 9);
    }
    const QString csv = write(QStringLiteral("kunden.csv"), separated);
    const QString txt = write(QStringLiteral("kunden.txt"), fixed);

    wizard::TfrmImport1 main(context);
    main.show();
    Ui::TfrmImport1& ui = *main.ui;
    wizard::SetChecked(ui.rbtNeueImport, true);
    const auto open = [&](const QString& file, QAbstractButton* layout) {
        ui.edtQuelle->setText(file);
        ui.retQuellDat->loadFile(file);
        wizard::SetChecked(layout, true);
        ui.tpcTXT->setCurrentWidget(ui.TXTDatensatzlaenge);
        ui.PageControl1->setCurrentWidget(ui.ImportSeite1txt);
    };
    open(csv, ui.rgrDatsatzlaenge0);
    Save(&main, prefix + QStringLiteral("frmImport1-TXTDatensatzlaenge.png"));
    main.btnWeiter1txtClick();
    main.btnRechtsClick();
    Save(&main, prefix + QStringLiteral("frmImport1-TXTVariabel.png"));

    open(txt, ui.rgrDatsatzlaenge1);
    main.btnWeiter1txtClick();
    for (int column : {5, 25, 31, 43})
        main.stgQuellDatFixClick(column);
    wizard::SetChecked(ui.cbxRaster, true);
    Save(&main, prefix + QStringLiteral("frmImport1-TXTFix.png"));
    main.btnWeiter1txtClick();
    Save(&main, prefix + QStringLiteral("frmImport1-TXTVariabel-Fix.png"));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::QtUserInterface dialogs;
    platform::ScopedUserInterface installed(dialogs);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: Screenshots <program folder> <output folder> [DE|EN|CSY ...]\n"
                             "       Screenshots <program folder> --texts\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QDir source(args[0]);
    const QString folder = scratch.path() + QStringLiteral("/program/");
    QDir().mkpath(folder);
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), folder + name);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path() + QStringLiteral("/config"));
    wizard::ProgramContext context = wizard::ProgramContext::forFolder(folder);
    context.programFile = source.absoluteFilePath(QStringLiteral("Import"));
    std::unique_ptr<Samples> madeSamples;
    const SampleData samples = [&]() -> Samples& {
        if (!madeSamples)
            madeSamples = std::make_unique<Samples>(scratch.path() + QStringLiteral("/samples"));
        return *madeSamples;
    };

    if (args[1] == u"--accessible") {
        if (args.size() > 2 && args[2] != u"DE")
            platform::LocUtilsInstance().LoadResourceLibrary(folder + QStringLiteral("Import.") + args[2]);
        QTextStream out(stdout);
        auto table = [&out](QWidget* window) {
            if (!window->isVisible())
                window->show();
            QApplication::processEvents();
            out << "\n" << window->metaObject()->className() << '\n';
            out << QStringLiteral("%1 %2 %3 %4\n")
                       .arg(QStringLiteral("object"), -40)
                       .arg(QStringLiteral("role"), -14)
                       .arg(QStringLiteral("name"), -60)
                       .arg(QStringLiteral("description"));
            // What is hidden is not read; the main window is listed once for each of its pages.
            for (const platform::AccessibleNode& node : platform::AccessibleTree(window)) {
                if (node.invisible)
                    continue;
                const QString object =
                    QString(node.depth * 2, u' ') + (node.object ? node.object->objectName() : QString());
                out << QStringLiteral("%1 %2 %3 %4\n")
                           .arg(object, -40)
                           .arg(platform::RoleName(node.role), -14)
                           .arg(u'"' + node.name + u'"', -60)
                           .arg(node.description);
            }
        };
        wizard::TfrmImport1 main(context);
        main.show();
        QStackedWidget* pages = main.ui->PageControl1;
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            if (pages->currentWidget() != main.ui->ImportSeite1txt) {
                table(&main);
                continue;
            }
            // The text page once for each of its sheets.
            for (QWidget* sheet : {main.ui->TXTDatensatzlaenge, main.ui->TXTFix, main.ui->TXTVariabel}) {
                main.ui->tpcTXT->setCurrentWidget(sheet);
                table(&main);
            }
            main.ui->tpcTXT->setCurrentWidget(main.ui->TXTDatensatzlaenge);
        }
        main.hide();
        for (const Window& w : Windows(context, samples))
            table(w.make().get());
        return 0;
    }

    if (args[1] == u"--texts") {
        QTextStream out(stdout);
        auto list = [&out](QWidget* window) {
            for (const auto& entry : platform::CollectWindowTexts(window))
                out << entry.key << '\t' << QString(entry.text).replace(u'\n', QLatin1String("\\n")) << '\n';
        };
        wizard::TfrmImport1 main(context);
        list(&main);
        for (const Window& w : Windows(context, samples))
            list(w.make().get());
        return 0;
    }

    // Numbers and dates as a German user's settings show them, whatever the machine's.
    rtl::formatSettings() = rtl::settingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    const QString out = args[1];
    QDir().mkpath(out);
    QStringList languages = args.mid(2);
    if (languages.isEmpty())
        languages = {QStringLiteral("DE"), QStringLiteral("EN"), QStringLiteral("CSY")};
    int failures = 0;
    for (const QString& language : languages) {
        platform::TQLocUtils& loc = platform::LocUtilsInstance();
        try {
            if (language == u"DE")
                loc.ResetResourceLibrary();
            else
                loc.LoadResourceLibrary(folder + QStringLiteral("Import.") + language);
        } catch (const platform::ELocUtilsError& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(language), qPrintable(error.message()));
            ++failures;
            continue;
        }
        const QString prefix = out + u'/' + language + u'-';
        {
            wizard::TfrmImport1 main(context);
            main.show();
            QStackedWidget* pages = main.ui->PageControl1;
            // The Access page as it looks once a database has been read.
            main.ui->Label12->setText(
                texts::Format(texts::Text(64925), {QStringLiteral("Kunden.mdb")}));
            main.ui->lbxTables->addItems({QStringLiteral("Adressen"), QStringLiteral("Artikel"),
                                          QStringLiteral("Kunden Inland"), QStringLiteral("Rechnungen")});
            main.ui->lbxTables->setCurrentRow(2);
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                Save(&main, prefix + QStringLiteral("frmImport1-") + pages->widget(i)->objectName() +
                                QStringLiteral(".png"));
            }
        }
        // ---- mode and finish pages as a mapping with an assigned key leaves them ----
        {
            wizard::TfrmImport1 main(context);
            main.show();
            Ui::TfrmImport1& f = *main.ui;
            f.PageControl1->setCurrentWidget(f.ImportSeite5);
            f.lblQuelldatei->setText(QStringLiteral("/daten/Import/Temp/Kunden.db"));
            f.rbtIgnorieren->setEnabled(true);
            f.rbtUmbenennen->setEnabled(true);
            f.rbtSelfInc->setEnabled(false);
            f.rbtAktualisieren->setEnabled(true);
            platform::SetChecked(f.rbtUmbenennen, true);
            f.gbxImportmodus->show();
            f.lblIndexfeld->setText(QStringLiteral("\"KundenNr\""));
            f.lblIndexfeld->show();
            f.edtStartwert->setText(QStringLiteral("90000"));
            Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite5-Umbenennen.png"));
            // The target emptied before the run: existing keys can only be ignored, updating is impossible.
            platform::SetChecked(f.rbtIgnorieren, true);
            f.rbtIgnorieren->setEnabled(false);
            f.rbtUmbenennen->setEnabled(false);
            f.rbtAktualisieren->setEnabled(false);
            f.gbxImportmodus->hide();
            f.lblAktualisieren->hide();
            f.lblAktNichtMoeglich->show();
            Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite5-ZielLeeren.png"));
            f.PageControl1->setCurrentWidget(f.ImportSeite6);
            f.edtImpSpeich->setText(QStringLiteral("Kunden aus Demos"));
            f.btnBemerkung->click();
            f.edtBemerkung->setPlainText(QStringLiteral("Kunden.txt aus dem Ordner Demos in ZielKunden.db."));
            Save(&main, prefix + QStringLiteral("frmImport1-ImportSeite6-Bemerkung.png"));
        }
        for (const Window& w : Windows(context, samples)) {
            auto window = w.make();
            if (w.pictures)
                w.pictures(*window, [&](QWidget& shown, const QString& name) {
                    Save(&shown, prefix + name + QStringLiteral(".png"));
                });
            else
                Save(window.get(), prefix + w.name + QStringLiteral(".png"));
        }
        SaveTextPages(context, scratch.path() + QStringLiteral("/textsamples"), prefix);
        SaveStoredSettings(context, prefix);
        SaveMappingPage(context, prefix, scratch.path() + QStringLiteral("/mapping-") + language);
        SaveSettingsWindows(context, prefix);
    }
    return failures == 0 ? 0 : 1;
}
