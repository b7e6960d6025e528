// The error report window: what it shows of an error raised deep in the program, and where it hands the report.
#include "platform/ErrorReport.h"
#include "platform/ErrorReportWindow.h"
#include "platform/ScriptedUi.h"
#include "platform/StackTrace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class ImportFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[gnu::noinline]] void RaiseDeepInTheProgram(int depth)
{
    if (depth == 0)
        throw ImportFault("Die Datei KUNDEN.DB ist gesperrt & belegt.");
    RaiseDeepInTheProgram(depth - 1);
}

platform::ErrorReport CaughtReport()
{
    try {
        RaiseDeepInTheProgram(3);
    } catch (...) {
        // Something else thrown and handled meanwhile must not take the place of the error's own stack.
        try {
            throw std::logic_error("handled on the way");
        } catch (const std::logic_error&) {
        }
        return platform::describeException(std::current_exception());
    }
    return {};
}

TEST(ErrorReportWindow, ShowsWhereTheErrorWasRaisedAndHandsTheReportOn)
{
    const platform::ErrorReport report = []() {
        try {
            RaiseDeepInTheProgram(3);
        } catch (...) {
            return platform::describeException(std::current_exception());
        }
        return platform::ErrorReport{};
    }();
    EXPECT_EQ(report.className, "(anonymous namespace)::ImportFault");
    EXPECT_EQ(report.message, "Die Datei KUNDEN.DB ist gesperrt & belegt.");
    EXPECT_TRUE(report.stackTrace.contains("RaiseDeepInTheProgram")) << report.stackTrace.toStdString();
    // File and line come from the debug information, which a build without it (Release) does not carry.
    if (IMPORT_LINE_INFO) {
        EXPECT_TRUE(report.stackTrace.contains("ErrorReportWindowTest.cpp")) << report.stackTrace.toStdString();
    }
    // A later exception of another type is not mistaken for this one.
    EXPECT_TRUE(CaughtReport().stackTrace.isEmpty());
    // An error raised where it is expected and handled takes no stack, nor leaves the earlier one standing.
    const platform::ErrorReport expected = []() {
        try {
            const platform::ExpectedThrows handledHere;
            RaiseDeepInTheProgram(3);
        } catch (...) {
            return platform::describeException(std::current_exception());
        }
        return platform::ErrorReport{};
    }();
    EXPECT_EQ(expected.message, report.message);
    EXPECT_TRUE(expected.stackTrace.isEmpty()) << expected.stackTrace.toStdString();

    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    platform::ErrorReportWindow window;
    window.setReport(report);
    EXPECT_EQ(window.lblMeldung->text(), report.message);
    EXPECT_EQ(window.memAufrufstapel->toPlainText(), report.stackTrace);

    window.btnKopieren->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window.reportText());
    EXPECT_TRUE(window.reportText().startsWith("(anonymous namespace)::ImportFault\nDie Datei KUNDEN.DB"));

    window.btnSenden->click();
    ASSERT_EQ(ui.openedUrls().size(), 1);
    const QUrl mail(ui.openedUrls()[0]);
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), platform::ErrorReportWindow::ReportAddress);
    EXPECT_TRUE(QUrl::fromPercentEncoding(mail.query(QUrl::FullyEncoded).toLatin1())
                    .contains("Die Datei KUNDEN.DB ist gesperrt & belegt."));

    // Installed under a test's interface, a report comes out as an error message instead of a waiting window.
    window.install();
    ui.answer(platform::Button::Ok);
    try {
        RaiseDeepInTheProgram(0);
    } catch (...) {
        platform::ReportException();
    }
    EXPECT_EQ(ui.messageTexts(), QStringList{report.message});
    window.uninstall();
}

}  // namespace
