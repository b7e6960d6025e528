#include "wizard/frmSplashScreen.h"

#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"
#include "wizard/ProgramContext.h"
#include "wizard/frmImport1.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace wizard {

TfrmSplashScreen::TfrmSplashScreen(const ProgramContext& context, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), context_(context)
{
    setObjectName(QStringLiteral("frmSplashScreen"));
    resize(420, 260);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panOben = new QFrame(this);
    panOben->setObjectName(QStringLiteral("panOben"));
    panOben->setFrameShape(QFrame::Panel);
    panOben->setFrameShadow(QFrame::Raised);
    panOben->setAutoFillBackground(true);
    auto* upper = new QVBoxLayout(panOben);
    upper->setContentsMargins(24, 24, 24, 24);
    lblProduktName = new QLabel(panOben);
    lblProduktName->setObjectName(QStringLiteral("lblProduktName"));
    QFont big = lblProduktName->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblProduktName->setFont(big);
    lblBeschreibung = new QLabel(QStringLiteral("Das Daten-Importprogramm für Windows"), panOben);
    lblBeschreibung->setObjectName(QStringLiteral("lblBeschreibung"));
    lblVersion = new QLabel(panOben);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblInternet = new QLabel(QStringLiteral("www.velmora.example"), panOben);
    lblInternet->setObjectName(QStringLiteral("lblInternet"));
    lblEMail = new QLabel(QStringLiteral("import@velmora.example"), panOben);
    lblEMail->setObjectName(QStringLiteral("lblEMail"));
    for (QLabel* link : {lblInternet, lblEMail}) {
        link->setCursor(Qt::PointingHandCursor);
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        link->setStyleSheet(QStringLiteral("color: blue"));
    }
    upper->addWidget(lblProduktName);
    upper->addWidget(lblBeschreibung);
    upper->addSpacing(16);
    upper->addWidget(lblVersion);
    upper->addStretch(1);
    upper->addWidget(lblInternet);
    upper->addWidget(lblEMail);
    layout->addWidget(panOben, 1);

    panUnten = new QFrame(this);
    panUnten->setObjectName(QStringLiteral("panUnten"));
    auto* lower = new QHBoxLayout(panUnten);
    btnOK = new QPushButton(QStringLiteral("&OK"), panUnten);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->hide();
    // The lower panel belongs to the about box, which shows it with its button.
    panUnten->hide();
    lower->addStretch(1);
    lower->addWidget(btnOK);
    lower->addStretch(1);
    layout->addWidget(panUnten);

    for (QWidget* name : {static_cast<QWidget*>(lblProduktName), static_cast<QWidget*>(lblVersion),
                          static_cast<QWidget*>(lblInternet), static_cast<QWidget*>(lblEMail)})
        platform::MarkUntranslated(name);
    platform::TranslateWindow(this);
    connect(btnOK, &QPushButton::clicked, this, &TfrmSplashScreen::btnOKClick);
    FormCreate();
}

void TfrmSplashScreen::btnOKClick()
{
    hide();
    close();
}

void TfrmSplashScreen::FormCreate()
{
    lblProduktName->setText(TfrmImport1::ProgrammTitel);
    const QDate built = QFileInfo(context_.programFile).lastModified().date();
    lblVersion->setText(texts::Text(65251) + u' ' + TfrmImport1::ProgrammVersion + u' ' + texts::Text(65252) + u' ' +
                        (built.isValid() ? rtl::DateToStr(built) : QString()));
    lblInternet->installEventFilter(this);
    lblEMail->installEventFilter(this);
}

bool TfrmSplashScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == lblInternet)
            platform::OpenUrl(WebAddress);
        else if (watched == lblEMail)
            platform::OpenUrl(MailAddress);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wizard
