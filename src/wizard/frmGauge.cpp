#include "wizard/frmGauge.h"

#include "engine/BriskoRoutines.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

// The pictures live in a resource file of this static library; it must be registered by hand.
static void initGaugeResources()
{
    Q_INIT_RESOURCE(gauge);
}

namespace wizard {

using engine::IntToStrThousands;

namespace {

constexpr int TopHeight = 41;
constexpr int RunWindowHeight = 275;
constexpr int RunCancelButtonLeft = 60;
constexpr int BottomHeight = 55;

constexpr const char* kPictureProperty = "GaugePicture";

// The picture itself is read when the window is first shown: the window is made at start-up but only seen during
// long operations, and reading its nineteen pictures was a noticeable part of the start-up.
QLabel* picture(QWidget* parent, const QString& resource, int x, int y, bool visible)
{
    auto* label = new QLabel(parent);
    label->setProperty(kPictureProperty, resource);
    label->move(x, y);
    label->setVisible(visible);
    return label;
}

QFrame* rule(QWidget* parent, int y)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(250, y, 70, 2);
    return line;
}

}  // namespace

TfrmGauge::TfrmGauge(QWidget* parent) : QDialog(parent)
{
    initGaugeResources();
    setObjectName(QStringLiteral("frmGauge"));
    // A dialog frame without border icons that stays on top of the program's windows.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setModal(false);
    // FormCreate: the caption is the program's title.
    const QString title = QApplication::applicationDisplayName();
    if (windowTitle() != title)
        setWindowTitle(title);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panTop = new QFrame(this);
    panTop->setObjectName(QStringLiteral("panTop"));
    panTop->setFixedHeight(TopHeight);
    Label1 = new QLabel(panTop);
    Label1->setGeometry(8, 4, ClientWidth - 16, 34);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAnzGeles = new QLabel(QStringLiteral("Anzahl gelesener Zeilen"), panTop);
    lblAnzGeles->setObjectName(QStringLiteral("lblAnzGeles"));
    lblAnzGeles->setGeometry(8, 22, 200, 16);
    lblAnzGeles->hide();
    lblAnzGeles2 = new QLabel(panTop);
    lblAnzGeles2->setGeometry(210, 22, 110, 16);
    lblAnzGeles2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblAnzGeles2->hide();
    layout->addWidget(panTop);

    // The middle holds the pictures of the text-reading animations; the counters panel lies over them and is
    // hidden while a text source is read. Its children stand at fixed places, so a short window simply clips it.
    auto* middle = new QWidget(this);
    middle->setMinimumHeight(0);
    ImgFolderFull = picture(middle, QStringLiteral(":/gauge/pictures/folder_full.xpm"), 16, 40, true);
    for (int i = 0; i < 10; ++i) {
        // Ten documents along an arc from the folder up and over to the database.
        const double t = (i + 1) / 11.0;
        const int x = 40 + static_cast<int>(t * 230);
        const int y = 44 - static_cast<int>(160 * t * (1 - t));
        FlyingImages[i] = picture(middle, QStringLiteral(":/gauge/pictures/document.xpm"), x, y, false);
    }
    Database1 = picture(middle, QStringLiteral(":/gauge/pictures/database.xpm"), 283, 40, true);
    DataBase2 = picture(middle, QStringLiteral(":/gauge/pictures/database_filled.xpm"), 283, 40, false);
    for (int k = 0; k < 7; ++k) {
        RedImages[k] = picture(middle, QStringLiteral(":/gauge/pictures/red_mark_%1.xpm").arg(k), 158, 48, false);
    }

    panImpLauf = new QFrame(middle);
    panImpLauf->setObjectName(QStringLiteral("panImpLauf"));
    panImpLauf->setGeometry(0, 0, ClientWidth, 179);
    panImpLauf->setAutoFillBackground(true);
    struct Row {
        const char* caption;
        QLabel** number;
        const char* name;
        int y;
    };
    const Row rows[] = {
        {"Anzahl der zu importierenden Datensätze", &lblSummeQuelle, "lblSummeQuelle", 6},
        {"Anzahl hinzugefügter Datensätze", &lblAnzHinzu, "lblAnzHinzu", 28},
        {"Anzahl ignorierter Datensätze", &lblIgnor, "lblIgnor", 48},
        {"Anzahl umbenannter Datensätze", &lblUmben, "lblUmben", 68},
        {"Anzahl aktualisierter Datensätze", &lblAnzAkt, "lblAnzAkt", 88},
        {"Summe bearbeiteter Datensätze", &lblSumme, "lblSumme", 114},
        {"Anzahl der aufgetretenen Fehler:", &lblAnzFehler, "lblAnzFehler", 146},
    };
    for (const Row& row : rows) {
        // The captions are named after their counters, so that a language module can translate them.
        auto* caption = new QLabel(QString::fromUtf8(row.caption), panImpLauf);
        caption->setObjectName(QLatin1String(row.name) + QStringLiteral("Caption"));
        caption->setGeometry(8, row.y, 250, 16);
        auto* number = new QLabel(QStringLiteral("0"), panImpLauf);
        number->setObjectName(QLatin1String(row.name));
        number->setProperty(platform::kUntranslated, true);
        number->setGeometry(258, row.y, 62, 16);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A run rewrites its counters for every record: as plain text of a fixed size, a new number only repaints
        // the label, without a look for markup or a new layout of the window.
        number->setTextFormat(Qt::PlainText);
        number->setFixedSize(62, 16);
        *row.number = number;
    }
    rule(panImpLauf, 109);
    rule(panImpLauf, 133);
    rule(panImpLauf, 136);
    layout->addWidget(middle, 1);

    panBottom = new QFrame(this);
    panBottom->setObjectName(QStringLiteral("panBottom"));
    panBottom->setFixedHeight(BottomHeight);
    panGauge = new QFrame(panBottom);
    panGauge->setGeometry(8, 2, ClientWidth - 16, 20);
    Gauge1 = new QProgressBar(panGauge);
    Gauge1->setGeometry(0, 0, ClientWidth - 16, 20);
    Gauge1->setTextVisible(true);
    Gauge1->setAlignment(Qt::AlignCenter);
    // The bar shows how far the running text's operation has come: a screen reader names it by that text.
    Label1->setBuddy(Gauge1);
    Gauge1->setStyleSheet(QStringLiteral("QProgressBar { background: white; border: 1px solid gray; font-weight: bold; "
                                         "text-align: center; } QProgressBar::chunk { background: blue; }"));
    btnGaugeAbbrechen = new TModalButton(QStringLiteral("&Abbrechen"), panBottom);
    btnGaugeAbbrechen->setObjectName(QStringLiteral("btnGaugeAbbrechen"));
    btnGaugeAbbrechen->setGeometry(120, 26, 90, 25);
    btnHilfe = new QPushButton(QStringLiteral("&Hilfe"), panBottom);
    btnHilfe->setObjectName(QStringLiteral("btnHilfe"));
    btnHilfe->setGeometry(180, 26, 90, 25);
    btnHilfe->hide();
    layout->addWidget(panBottom);

    AnimateTimer1 = new QTimer(this);
    AnimateTimer1->setInterval(175);
    AnimateTimer2 = new QTimer(this);
    AnimateTimer2->setInterval(100);
    connect(AnimateTimer1, &QTimer::timeout, this, &TfrmGauge::AnimateTimer1Timer);
    connect(AnimateTimer2, &QTimer::timeout, this, &TfrmGauge::AnimateTimer2Timer);
    connect(btnGaugeAbbrechen, &QPushButton::clicked, this, &TfrmGauge::btnGaugeAbbrechenClick);
    connect(btnHilfe, &QPushButton::clicked, this, &TfrmGauge::btnHilfeClick);

    setFixedWidth(ClientWidth);
    setHeight(275);
}

void TfrmGauge::registerLockedWindow(QWidget* window)
{
    lockedWindows_.push_back(window);
}

void TfrmGauge::setHeight(int height)
{
    setFixedHeight(height);
}

void TfrmGauge::Show()
{
    if (isVisible())
        return;
    FormShow();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void TfrmGauge::loadPictures()
{
    if (picturesLoaded_)
        return;
    picturesLoaded_ = true;
    for (QLabel* label : findChildren<QLabel*>()) {
        const QString resource = label->property(kPictureProperty).toString();
        if (resource.isEmpty())
            continue;
        const QPixmap pixmap(resource);
        label->setPixmap(pixmap);
        label->resize(pixmap.size());
    }
}

void TfrmGauge::showEvent(QShowEvent* event)
{
    loadPictures();
    QDialog::showEvent(event);
}

void TfrmGauge::Close()
{
    if (isHidden())
        return;
    hide();
    FormClose();
}

void TfrmGauge::FormShow()
{
    setLocked(true);
    for (QLabel* counter : {lblAnzFehler, lblAnzHinzu, lblAnzAkt, lblIgnor, lblUmben, lblSumme})
        counter->setText(QStringLiteral("0"));
    btnGaugeAbbrechen->ModalResult = ModalResultNone;
}

void TfrmGauge::FormClose()
{
    setLocked(false);
}

void TfrmGauge::setLocked(bool locked)
{
    for (QWidget* window : lockedWindows_) {
        if (window && window->isVisible())
            window->setEnabled(!locked);
    }
}

void TfrmGauge::btnGaugeAbbrechenClick()
{
    if (btnGaugeAbbrechen->text() != texts::Text(65268)) {
        Close();
        return;
    }
    const QString crlf = QStringLiteral("\r\n");
    const QString question = texts::Text(65190) + crlf + texts::Text(65191) + crlf + texts::Text(65192) + crlf + crlf +
                             texts::Text(65228);
    if (platform::MessageBox(platform::MessageType::Warning, question, platform::Buttons::YesNo) ==
        platform::Button::Yes) {
        Close();
        btnGaugeAbbrechen->ModalResult = ModalResultCancel;
    }
}

void TfrmGauge::runStarts(const QString& runningText, int recordCount)
{
    setHeight(RunWindowHeight);
    btnGaugeAbbrechen->move(RunCancelButtonLeft, btnGaugeAbbrechen->y());
    btnGaugeAbbrechen->setText(texts::Text(65268));
    btnHilfe->setVisible(true);
    Gauge1->setMinimum(0);
    Gauge1->setMaximum(recordCount);
    Label1->setText(runningText);
    Show();
}

void TfrmGauge::runningText(const QString& text)
{
    Label1->setText(text);
}

void TfrmGauge::counts(const engine::ImportCounts& counts)
{
    const std::pair<QLabel*, std::int32_t> shown[] = {
        {lblAnzHinzu, counts.AnzHinzu}, {lblIgnor, counts.Ignor}, {lblUmben, counts.Umben},
        {lblAnzAkt, counts.AnzAkt},     {lblSumme, counts.Summe}, {lblAnzFehler, counts.AnzFehler},
    };
    // A label whose text stays is not touched, so that it is not repainted.
    for (const auto& [label, value] : shown) {
        const QString text = IntToStrThousands(value);
        if (label->text() != text)
            label->setText(text);
    }
}

void TfrmGauge::gaugePosition(int position)
{
    if (Gauge1->value() == position)
        return;
    // A progress bar paints itself at once when its shown percentage changes, outside any message round and with
    // a flush of the whole window of its own; held back, the new position is painted in the next round together
    // with the counters.
    Gauge1->setUpdatesEnabled(false);
    Gauge1->setValue(position);
    Gauge1->setUpdatesEnabled(true);
}

void TfrmGauge::messageRound()
{
    QCoreApplication::processEvents();
}

void TfrmGauge::closeOffered()
{
    btnGaugeAbbrechen->setText(texts::Text(65269));
}

void TfrmGauge::runAbandoned()
{
    Close();
}

void TfrmGauge::btnHilfeClick()
{
    platform::ShowHelp(HelpContext);
}

void TfrmGauge::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        platform::ShowHelp(HelpContext);
        return;
    }
    // Escape must not close the window behind the running operation's back: only the cancel button does.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TfrmGauge::reject()
{
    // Reached by Escape or the window manager's close request; the cancel button is the only way out.
}

void TfrmGauge::closeEvent(QCloseEvent* event)
{
    // The window has no close box; a close request from outside must not end an operation unasked.
    event->ignore();
}

void TfrmGauge::AnimateTimer1Timer()
{
    if (phase_ == 0) {
        if (!DataBase2->isHidden()) {
            DataBase2->hide();
            Database1->show();
        }
        Image(3)->show();
    } else if (phase_ >= 1 && phase_ <= 9) {
        Image(phase_ + 2)->hide();
        Image(phase_ + 3)->show();
    } else if (phase_ == 10) {
        Image(12)->hide();
        Database1->hide();
        DataBase2->show();
    }
    if (++phase_ >= 11)
        phase_ = 0;
}

void TfrmGauge::AnimateTimer2Timer()
{
    if (phase_ == 0) {
        RedImage(6)->hide();
        RedImage(0)->show();
    } else if (phase_ >= 1 && phase_ <= 6) {
        RedImage(phase_ - 1)->hide();
        RedImage(phase_)->show();
    }
    if (++phase_ >= 7)
        phase_ = 0;
}

}  // namespace wizard
