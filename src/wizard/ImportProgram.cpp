#include "wizard/ImportProgram.h"

#include "engine/WorkingTables.h"
#include "wizard/frmGauge.h"
#include "platform/ErrorReport.h"
#include "platform/ErrorReportWindow.h"
#include "platform/HelpViewer.h"
#include "platform/ImportApplication.h"
#include "platform/LocUtils.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "wizard/frmCopyFehler.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmFormelEdt.h"
#include "wizard/frmImport1.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/frmQOptionen.h"
#include "wizard/frmSplashScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

namespace wizard {

ImportProgram::ImportProgram(ProgramContext& context) : context_(context) {}

ImportProgram::~ImportProgram()
{
    Finish();
}

bool ImportProgram::Start(int splashHoldMs)
{
    platform::TQLocUtils& locUtils = platform::LocUtilsInstance();
    locUtils.LoadStartupModule(context_.programFile, QLocale::system().name());

    platform::setApplicationTitle(ApplicationTitle);

    // The error report window and the help window are made when first needed: nothing of them is on screen at
    // start, and making them costs a good part of the start-up.
    platform::setExceptionReporter([this](const platform::ErrorReport& report) {
        if (!errorReport_)
            errorReport_ = std::make_unique<platform::ErrorReportWindow>();
        errorReport_->Report(report);
    });
    reporterInstalled_ = true;
    if (auto* app = qobject_cast<platform::ImportApplication*>(QCoreApplication::instance()))
        app->dialogs().setHelpHandler([this](int helpContext) {
            if (!helpViewer_)
                helpViewer_ = std::make_unique<platform::HelpViewer>();
            helpViewer_->ShowTopic(context_.helpFile, helpContext);
        });

    locUtils.CheckResourceVersion();

    context_.Sprache.clear();
    const QString first = context_.arguments.value(0).toUpper();
    if (first == u"/EN")
        context_.Sprache = QStringLiteral("EN");
    else if (first == u"/CSY")
        context_.Sprache = QStringLiteral("CSY");
    // A relative name: the module is looked for in the current folder.
    const QString module = QStringLiteral("Import.") + context_.Sprache;
    if (!context_.Sprache.isEmpty() && QFileInfo(module).isFile()) {
        try {
            locUtils.LoadResourceLibrary(module);
        } catch (const platform::ELocUtilsError& error) {
            platform::ErrorBox(error.message());
            return false;
        }
    }

    frmImport1_ = std::make_unique<TfrmImport1>(context_);
    frmImport1_->show();

    auto splash = std::make_unique<TfrmSplashScreen>(context_);
    splash->setWindowFlag(Qt::WindowStaysOnTopHint, false);

    frmInhaltAnz_ = std::make_unique<TfrmInhaltAnz>();
    frmGauge_ = std::make_unique<wizard::TfrmGauge>();
    // Its caption is the program's title, which Qt's display name does not carry here (Qt would append that to
    // every caption).
    frmGauge_->setWindowTitle(platform::applicationTitle());
    platform::TranslateWindow(frmGauge_.get());
    frmGauge_->registerLockedWindow(frmImport1_.get());
    frmEinstellAEND_ = std::make_unique<TfrmEinstellAEND>();
    frmGauge_->registerLockedWindow(frmEinstellAEND_.get());
    frmEinstellANZ_ = std::make_unique<TfrmEinstellANZ>();
    frmImport1_->frmEinstellAEND = frmEinstellAEND_.get();
    frmImport1_->frmGauge = frmGauge_.get();
    frmImport1_->frmEinstellANZ = frmEinstellANZ_.get();
    frmFormelEdt_ = std::make_unique<TfrmFormelEdt>();
    frmImport1_->frmFormelEdt = frmFormelEdt_.get();
    frmCopyFehler_ = std::make_unique<TfrmCopyFehler>();
    frmQOptionen_ = std::make_unique<TfrmQOptionen>();
    frmImport1_->setWindows(frmInhaltAnz_.get(), frmQOptionen_.get());

    QElapsedTimer shown;
    shown.start();
    splash->show();
    // The main window is on screen already: it is painted and answers while the start screen stays.
    QTimer wake;
    wake.start(std::max(1, splashHoldMs));
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    } while (shown.elapsed() < splashHoldMs && splash->isVisible());
    splash->hide();
    splash.reset();
    return true;
}

int ImportProgram::Run()
{
    // The main window may have been closed while the start screen stood.
    if (!frmImport1_ || !frmImport1_->isVisible())
        return 0;
    return QCoreApplication::exec();
}

void ImportProgram::Finish()
{
    if (frmImport1_) {
        frmImport1_->frmEinstellAEND = nullptr;
        frmImport1_->frmEinstellANZ = nullptr;
        frmImport1_->frmGauge = nullptr;
    }
    frmQOptionen_.reset();
    frmCopyFehler_.reset();
    frmFormelEdt_.reset();
    frmEinstellANZ_.reset();
    frmEinstellAEND_.reset();
    frmGauge_.reset();
    frmInhaltAnz_.reset();
    frmImport1_.reset();
    if (auto* app = qobject_cast<platform::ImportApplication*>(QCoreApplication::instance()))
        app->dialogs().setHelpHandler({});
    helpViewer_.reset();
    if (reporterInstalled_)
        platform::setExceptionReporter({});
    reporterInstalled_ = false;
    errorReport_.reset();
}

}  // namespace wizard
