#include "wizard/frmCopyFehler.h"

#include "ui_frmCopyFehler.h"

#include "platform/WindowTexts.h"
#include "texts/Texts.h"

#include <QScreen>
#include <QShowEvent>

namespace wizard {

TfrmCopyFehler::TfrmCopyFehler(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmCopyFehler>())
{
    ui->setupUi(this);
    platform::TranslateWindow(this);
    QFont font = ui->Memo1->font();
    font.setPixelSize(13);
    ui->Memo1->setFont(font);
    connect(ui->btnSchliessen, &QAbstractButton::clicked, this, &TfrmCopyFehler::btnSchliessenClick);
}

TfrmCopyFehler::~TfrmCopyFehler() = default;

void TfrmCopyFehler::AddNote(const QString& note)
{
    notes_ += note;
    if (!notes_.endsWith(QStringLiteral("\r\n")))
        notes_ += QStringLiteral("\r\n");
}

void TfrmCopyFehler::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmCopyFehler::FormShow()
{
    const QString text = texts::Text(65005) + QStringLiteral("\r\n\r\n") + notes_;
    // The memo shows line breaks as the platform's; the notes keep CR LF.
    ui->Memo1->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TfrmCopyFehler::btnSchliessenClick()
{
    close();
}

void TfrmCopyFehler::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TfrmCopyFehler::FormClose()
{
    notes_.clear();
    ui->Memo1->clear();
}

}  // namespace wizard
