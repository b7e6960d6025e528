#include "platform/ErrorReportWindow.h"

#include "platform/QtUserInterface.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {

// Mail programs cut long links; the start of the stack is the part that tells.
constexpr int kMaxMailBody = 1800;

}  // namespace

ErrorReportWindow::ErrorReportWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ErrorReportWindow"));
    setWindowTitle(QStringLiteral("Programmfehler"));
    resize(560, 400);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Im Programm ist ein Fehler aufgetreten, der nicht behandelt wurde."), this);
    heading->setObjectName(QStringLiteral("lblUeberschrift"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    lblKlasse = new QLabel(this);
    lblKlasse->setObjectName(QStringLiteral("lblKlasse"));
    lblKlasse->setTextFormat(Qt::PlainText);
    lblMeldung = new QLabel(this);
    lblMeldung->setObjectName(QStringLiteral("lblMeldung"));
    lblMeldung->setTextFormat(Qt::PlainText);
    lblMeldung->setWordWrap(true);
    lblMeldung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* stackLabel = new QLabel(QStringLiteral("&Aufrufstapel:"), this);
    stackLabel->setObjectName(QStringLiteral("lblAufrufstapel"));
    memAufrufstapel = new QPlainTextEdit(this);
    memAufrufstapel->setObjectName(QStringLiteral("memAufrufstapel"));
    memAufrufstapel->setReadOnly(true);
    memAufrufstapel->setLineWrapMode(QPlainTextEdit::NoWrap);
    memAufrufstapel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    stackLabel->setBuddy(memAufrufstapel);

    btnKopieren = new QPushButton(QStringLiteral("&Kopieren"), this);
    btnKopieren->setObjectName(QStringLiteral("btnKopieren"));
    btnSenden = new QPushButton(QStringLiteral("&Senden"), this);
    btnSenden->setObjectName(QStringLiteral("btnSenden"));
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnKopieren);
    buttons->addWidget(btnSenden);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);

    layout->addWidget(heading);
    layout->addWidget(lblKlasse);
    layout->addWidget(lblMeldung);
    layout->addWidget(stackLabel);
    layout->addWidget(memAufrufstapel, 1);
    layout->addLayout(buttons);

    MarkUntranslated(lblKlasse);
    MarkUntranslated(lblMeldung);
    connect(btnKopieren, &QPushButton::clicked, this, &ErrorReportWindow::btnKopierenClick);
    connect(btnSenden, &QPushButton::clicked, this, &ErrorReportWindow::btnSendenClick);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    TranslateWindow(this);
}

ErrorReportWindow::~ErrorReportWindow()
{
    uninstall();
}

void ErrorReportWindow::install()
{
    installed_ = true;
    setExceptionReporter([this](const ErrorReport& report) { Report(report); });
}

void ErrorReportWindow::uninstall()
{
    if (installed_)
        setExceptionReporter({});
    installed_ = false;
}

void ErrorReportWindow::setReport(const ErrorReport& report)
{
    report_ = report;
    lblKlasse->setText(report.className);
    lblMeldung->setText(report.message);
    memAufrufstapel->setPlainText(report.stackTrace);
}

QString ErrorReportWindow::reportText() const
{
    QString text = report_.className + QStringLiteral("\n") + report_.message + QStringLiteral("\n");
    if (!report_.stackTrace.isEmpty())
        text += QStringLiteral("\n") + report_.stackTrace + QStringLiteral("\n");
    return text;
}

QString ErrorReportWindow::mailLink() const
{
    QString body = reportText();
    if (body.size() > kMaxMailBody)
        body = body.left(kMaxMailBody) + QStringLiteral("\n...");
    const QString subject = applicationTitle() + QStringLiteral(": ") + report_.className;
    return QStringLiteral("mailto:") + ReportAddress + QStringLiteral("?subject=") +
           QString::fromLatin1(QUrl::toPercentEncoding(subject)) + QStringLiteral("&body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(body));
}

void ErrorReportWindow::btnKopierenClick()
{
    QGuiApplication::clipboard()->setText(reportText());
}

void ErrorReportWindow::btnSendenClick()
{
    if (!OpenUrl(mailLink()))
        MessageBox(MessageType::Information, texts::Format(texts::Text(61315), {ReportAddress}));
}

void ErrorReportWindow::Report(const ErrorReport& report)
{
    if (!dynamic_cast<QtUserInterface*>(userInterface())) {
        MessageBox(MessageType::Error, report.message);
        return;
    }
    setReport(report);
    exec();
}

}  // namespace platform
