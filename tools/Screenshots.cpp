// Renders the program's windows and the main window's pages to PNG files, in German and in the languages of the
// modules in the program folder, for looking at them before a change is called done:
//
//     Screenshots <program folder> <output folder> [DE|EN|CSY ...]
//     Screenshots <program folder> --texts        every window text with its key, one "key<TAB>text" a line
//
// It works on a copy of the program folder and a configuration folder of its own, so nothing of a user's changes.
#include "wizard/frmGauge.h"
#include "platform/ErrorReportWindow.h"
#include "platform/HelpViewer.h"
#include "platform/LocUtils.h"
#include "platform/QtUserInterface.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/ProgramContext.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"
#include "wizard/frmSplashScreen.h"

#include "db/Field.h"
#include "db/Table.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

struct Window {
    QString name;
    std::function<std::unique_ptr<QWidget>()> make;
};

std::vector<Window> Windows(wizard::ProgramContext& context)
{
    return {
        {"frmSplashScreen", [&] { return std::make_unique<wizard::TfrmSplashScreen>(context); }},
        {"frmInhaltAnz", [] { return std::make_unique<wizard::TfrmInhaltAnz>(); }},
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

void Save(QWidget* widget, const QString& file)
{
    widget->show();
    QApplication::processEvents();
    if (!widget->grab().save(file))
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
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

    if (args[1] == u"--texts") {
        QTextStream out(stdout);
        auto list = [&out](QWidget* window) {
            for (const auto& entry : platform::CollectWindowTexts(window))
                out << entry.key << '\t' << QString(entry.text).replace(u'\n', QLatin1String("\\n")) << '\n';
        };
        wizard::TfrmImport1 main(context);
        list(&main);
        for (const Window& w : Windows(context))
            list(w.make().get());
        return 0;
    }

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
        for (const Window& w : Windows(context)) {
            auto window = w.make();
            Save(window.get(), prefix + w.name + QStringLiteral(".png"));
        }
        SaveStoredSettings(context, prefix);
    }
    return failures == 0 ? 0 : 1;
}
