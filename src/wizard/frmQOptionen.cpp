#include "wizard/frmQOptionen.h"

#include "ui_frmQOptionen.h"

#include "db/EngineError.h"
#include "db/Table.h"
#include "engine/BriskoRoutines.h"
#include "engine/TextScanner.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "rtl/FormatSettings.h"
#include "wizard/frmInhaltAnz.h"
#include "wizard/text/TextFileView.h"
#include "ui_frmInhaltAnz.h"

#include <QKeyEvent>
#include <QScreen>
#include <QStackedWidget>
#include <array>
#include <utility>

namespace wizard {

namespace {

constexpr int kHelpContext = 10;

// The orders of the date list and the short date formats they stand for, both ways.
constexpr std::array<std::pair<const char*, const char*>, 6> kDateOrders{{
    {"TT/MM/JJJJ", "DD/MM/YYYY"},
    {"MM/TT/JJJJ", "MM/DD/YYYY"},
    {"JJJJ/MM/TT", "YYYY/MM/DD"},
    {"JJJJ/TT/MM", "YYYY/DD/MM"},
    {"MM/JJJJ/TT", "MM/YYYY/DD"},
    {"TT/JJJJ/MM", "DD/YYYY/MM"},
}};

// The list's entry for a date order, or -1. The entries stand in the order of kDateOrders; a language module may
// translate their texts, so the list is set and read by position.
int entryOfOrder(const QString& order)
{
    for (int i = 0; i < int(kDateOrders.size()); ++i) {
        if (order == QLatin1String(kDateOrders[std::size_t(i)].first))
            return i;
    }
    return -1;
}

QString fieldText(db::Table& table, const char* name)
{
    return table.FieldByName(QLatin1String(name))->AsString();
}

}  // namespace

QString ShortDateFormatOfTMJ(const QString& order)
{
    for (const auto& [tmj, format] : kDateOrders) {
        if (order == QLatin1String(tmj))
            return QLatin1String(format);
    }
    return QStringLiteral("DD/MM/YYYY");
}

QString TMJOfShortDateFormat(const QString& format)
{
    for (const auto& [tmj, shortDate] : kDateOrders) {
        if (format == QLatin1String(shortDate))
            return QLatin1String(tmj);
    }
    return QString();
}

TfrmQOptionen::TfrmQOptionen(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmQOptionen>())
{
    ui->setupUi(this);
    platform::TranslateWindow(this);
    // No border icons: the dialog is left through OK (or Escape), which applies it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    connect(ui->btnOK, &QAbstractButton::clicked, this, &TfrmQOptionen::btnOKClick);
    connect(ui->btnHilfe, &QAbstractButton::clicked, this, &TfrmQOptionen::btnHilfeClick);
    // Key preview: F1 in any control of the dialog.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

TfrmQOptionen::~TfrmQOptionen() = default;

void TfrmQOptionen::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmQOptionen::FormShow()
{
    DosToWinAlt_ = ui->cbxDosToWin->isChecked();
    if (wizard_.rbtVorhEinst_mAE && wizard_.rbtVorhEinst_mAE->isChecked() && wizard_.tblImpList
        && wizard_.tblImpList->Active()) {
        db::Table& row = *wizard_.tblImpList;
        ui->edtDecimal->setText(fieldText(row, "Decimal"));
        ui->edtTausend->setText(fieldText(row, "Tausend"));
        ui->edtTime->setText(fieldText(row, "Zeit"));
        ui->edtDate->setText(fieldText(row, "Datum"));
        QString order = TMJOfShortDateFormat(fieldText(row, "TMJ"));
        if (order.isEmpty()) {
            // Stored when the setting is saved.
            if (row.State() == db::dsBrowse)
                row.Edit();
            row.FieldByName(QStringLiteral("TMJ"))->setAsString(QStringLiteral("DD/MM/YYYY"));
            order = QStringLiteral("TT/MM/JJJJ");
        }
        ui->comTMJ->setCurrentIndex(entryOfOrder(order));
        return;
    }
    rtl::FormatSettings& settings = rtl::formatSettings();
    ui->edtDecimal->setText(settings.DecimalSeparator);
    ui->edtTausend->setText(settings.ThousandSeparator);
    ui->edtTime->setText(settings.TimeSeparator);
    ui->edtDate->setText(settings.DateSeparator);
    QString order = TMJOfShortDateFormat(settings.ShortDateFormat);
    if (order.isEmpty()) {
        settings.ShortDateFormat = QStringLiteral("DD/MM/YYYY");
        order = QStringLiteral("TT/MM/JJJJ");
    }
    ui->comTMJ->setCurrentIndex(entryOfOrder(order));
}

void TfrmQOptionen::btnOKClick()
{
    close();
}

void TfrmQOptionen::done(int result)
{
    // Every way of closing ends here: OK, Escape, close().
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TfrmQOptionen::FormClose()
{
    DosToWinAnwenden();
    FormatEinstellungenUebernehmen();
    // The settings viewer shows the dialog read-only; the next opening is for changing.
    for (QAbstractButton* button : {wizard_.btnQOptionen1, wizard_.btnQOptionen2}) {
        if (button)
            button->setEnabled(true);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->cbxDosToWin, ui->lblDecimal, ui->lblTausend, ui->lblTime, ui->lblDate, ui->lblTMJ, ui->edtDecimal,
             ui->edtTausend, ui->edtTime, ui->edtDate, ui->comTMJ})
        control->setEnabled(true);
}

void TfrmQOptionen::DosToWinAnwenden()
{
    if (ui->cbxDosToWin->isChecked() == DosToWinAlt_)
        return;
    if (TfrmInhaltAnz* viewer = wizard_.frmInhaltAnz;
        viewer && viewer->isVisible() && viewer->activeSheet() == viewer->ui->TabSheet3)
        bringInLine(viewer->ui->retEditor);
    if (wizard_.PageControl1 && wizard_.retQuellDat && wizard_.PageControl1->currentWidget() == wizard_.ImportSeite1txt
        && wizard_.tpcTXT && wizard_.tpcTXT->currentWidget() == wizard_.TXTDatensatzlaenge)
        bringInLine(wizard_.retQuellDat);
}

// The text on screen as the box now says: the file read as DOS text or as it is.
void TfrmQOptionen::bringInLine(TextFileView* editor)
{
    const QString file = !editor->fileName().isEmpty() ? editor->fileName()
                         : wizard_.edtQuelle         ? wizard_.edtQuelle->text()
                                                     : QString();
    if (file.isEmpty())
        return;
    try {
        editor->loadFile(file, ui->cbxDosToWin->isChecked());
    } catch (const engine::EInOutError& error) {
        platform::ErrorBox(error.message());
    }
}

void TfrmQOptionen::FormatEinstellungenUebernehmen()
{
    rtl::FormatSettings& settings = rtl::formatSettings();
    // An empty edit keeps the separator in force.
    for (const auto& [edit, separator] : {std::pair{ui->edtDecimal, &settings.DecimalSeparator},
                                          {ui->edtTausend, &settings.ThousandSeparator},
                                          {ui->edtTime, &settings.TimeSeparator},
                                          {ui->edtDate, &settings.DateSeparator}}) {
        if (!edit->text().isEmpty())
            *separator = edit->text().at(0);
    }
    const int entry = ui->comTMJ->currentIndex();
    settings.ShortDateFormat = entry >= 0 && entry < int(kDateOrders.size())
                                   ? QLatin1String(kDateOrders[std::size_t(entry)].second)
                                   : ShortDateFormatOfTMJ(ui->comTMJ->currentText());
}

void TfrmQOptionen::btnHilfeClick()
{
    platform::ShowHelp(kHelpContext);
}

void TfrmQOptionen::btnHilfeKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ui->btnHilfe->click();
        event->accept();
    }
}

void TfrmQOptionen::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        btnHilfeKeyDown(event);
    else
        QDialog::keyPressEvent(event);
}

bool TfrmQOptionen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        btnHilfeKeyDown(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wizard
