#pragma once

#include "platform/ErrorReport.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {

// The window in which the program's general error handling shows an error nobody handled: the error's class and
// text, the call stack where it was raised, a button that copies all of it to the clipboard and one that hands it
// to the mail program as a "mailto:" link.
class ErrorReportWindow : public QDialog {
    Q_OBJECT
public:
    static inline const QString ReportAddress = QStringLiteral("import@velmora.example");

    explicit ErrorReportWindow(QWidget* parent = nullptr);
    ~ErrorReportWindow() override;

    // Becomes the program's exception reporter. With the real dialogs installed the window shows each report
    // modally; under any other interface (a test's) the report goes out as an error message, so it is recorded
    // and never waits for a click.
    void install();
    void uninstall();

    // Shows a report: modally in this window with the real dialogs installed, otherwise (a test's interface) as an
    // error message.
    void Report(const ErrorReport& report);

    // Fills the window with a report (without showing it).
    void setReport(const ErrorReport& report);
    // The report as text: class, message, call stack.
    QString reportText() const;
    // The mail link "Senden" opens.
    QString mailLink() const;

    void btnKopierenClick();
    void btnSendenClick();

    QLabel* lblKlasse;
    QLabel* lblMeldung;
    QPlainTextEdit* memAufrufstapel;
    QPushButton* btnKopieren;
    QPushButton* btnSenden;
    QPushButton* btnOK;

private:
    ErrorReport report_;
    bool installed_ = false;
};

}  // namespace platform
