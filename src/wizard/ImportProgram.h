#pragma once

#include "wizard/ProgramContext.h"

#include <memory>

namespace platform {
class HelpViewer;
class ErrorReportWindow;
}

namespace wizard {

class TfrmGauge;
class TfrmImport1;
class TfrmSplashScreen;
class TfrmInhaltAnz;
class TfrmEinstellAEND;
class TfrmEinstellANZ;
class TfrmFormelEdt;
class TfrmCopyFehler;
class TfrmQOptionen;

// The program's main sequence: language module, title, error report window, the windows in their order, the start
// screen, the event loop; and the end, when the windows go (the main window last, whose end empties the working
// tables, writes the preferences back and clears Temp).
class ImportProgram {
public:
    static inline const QString ApplicationTitle = QStringLiteral("Velmora Import");

    explicit ImportProgram(ProgramContext& context);
    ~ImportProgram();
    ImportProgram(const ImportProgram&) = delete;
    ImportProgram& operator=(const ImportProgram&) = delete;

    // Runs the start-up up to the event loop; the start screen stays splashHoldMs milliseconds. False when the
    // start-up ended before the windows were made (a language module named on the command line that cannot be
    // used); its message has been shown.
    bool Start(int splashHoldMs = 2000);
    // The event loop; returns when the main window has closed.
    int Run();

    ProgramContext& context() { return context_; }
    TfrmImport1* frmImport1() const { return frmImport1_.get(); }
    wizard::TfrmGauge* frmGauge() const { return frmGauge_.get(); }
    TfrmInhaltAnz* frmInhaltAnz() const { return frmInhaltAnz_.get(); }
    TfrmEinstellAEND* frmEinstellAEND() const { return frmEinstellAEND_.get(); }
    TfrmEinstellANZ* frmEinstellANZ() const { return frmEinstellANZ_.get(); }
    TfrmFormelEdt* frmFormelEdt() const { return frmFormelEdt_.get(); }
    TfrmCopyFehler* frmCopyFehler() const { return frmCopyFehler_.get(); }
    TfrmQOptionen* frmQOptionen() const { return frmQOptionen_.get(); }
    platform::HelpViewer* helpViewer() const { return helpViewer_.get(); }

    // Ends the program: every window goes, the main window last. Also done by the destructor.
    void Finish();

private:
    ProgramContext& context_;
    std::unique_ptr<platform::ErrorReportWindow> errorReport_;
    std::unique_ptr<platform::HelpViewer> helpViewer_;
    bool reporterInstalled_ = false;
    std::unique_ptr<TfrmImport1> frmImport1_;
    std::unique_ptr<TfrmInhaltAnz> frmInhaltAnz_;
    std::unique_ptr<wizard::TfrmGauge> frmGauge_;
    std::unique_ptr<TfrmEinstellAEND> frmEinstellAEND_;
    std::unique_ptr<TfrmEinstellANZ> frmEinstellANZ_;
    std::unique_ptr<TfrmFormelEdt> frmFormelEdt_;
    std::unique_ptr<TfrmCopyFehler> frmCopyFehler_;
    std::unique_ptr<TfrmQOptionen> frmQOptionen_;
};

}  // namespace wizard
