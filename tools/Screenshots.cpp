// Renders the program's windows and the main window's pages to PNG files, in German and in the languages of the
// modules in the program folder, for looking at them before a change is called done:
//
//     Screenshots <program folder> <output folder> [DE|EN|CSY ...]
//     Screenshots <program folder> --texts        every window text with its key, one "key<TAB>text" a line
//
// The windows that show data show sample tables: the contents viewer on each of its tabs and at the last screen of
// its source, and the start page with stored settings and its list dropped down. It works on a copy of the program folder, a
// configuration folder and sample tables of its own, so nothing of a user's changes.
#include "db/DataSource.h"
#include "db/Field.h"
#include "db/Table.h"
#include "engine/WorkingTables.h"
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
        {"frmEinstellAEND", [] { return std::make_unique<wizard::TfrmEinstellAEND>(); }},
        {"frmEinstellANZ", [] { return std::make_unique<wizard::TfrmEinstellANZ>(); }},
        {"frmFormelEdt", [] { return std::make_unique<wizard::TfrmFormelEdt>(); }},
        {"frmCopyFehler", [] { return std::make_unique<wizard::TfrmCopyFehler>(); }},
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
// ---- end of text layout pages ----
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
    }
    return failures == 0 ? 0 : 1;
}
