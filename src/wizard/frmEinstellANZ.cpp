#include "wizard/frmEinstellANZ.h"

#include "ui_frmEinstellANZ.h"
#include "ui_frmQOptionen.h"

#include "db/Field.h"
#include "db/Table.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "texts/Texts.h"
#include "wizard/frmImport1.h"
#include "wizard/frmQOptionen.h"
#include "wizard/settings/StoredSettings.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace wizard {

TfrmEinstellANZ::TfrmEinstellANZ(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmEinstellANZ>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("frmEinstellANZ"));
    platform::TranslateWindow(this);
    // The panel's titles are as long as their language makes them; what they name stands right of them.
    const auto rightOf = [](QLabel* title, std::initializer_list<QWidget*> values) {
        title->resize(title->sizeHint().width(), title->height());
        for (QWidget* value : values)
            value->move(std::max(value->x(), title->x() + title->width() + 8), value->y());
    };
    rightOf(ui->lblIntTabTitel, {ui->dbtIntTab});
    rightOf(ui->lblOptionenTitel, {ui->lblSicherungskopie, ui->lblZielLeeren, ui->lblImportmodus});
    // The viewer shows the setting; changes are the manager's.
    ui->edtBemerkung->setReadOnly(true);
    connect(ui->btnSchliessen, &QAbstractButton::clicked, this, &TfrmEinstellANZ::btnSchliessenClick);
    connect(ui->btnHilfe, &QAbstractButton::clicked, this, &TfrmEinstellANZ::btnHilfeClick);
    connect(ui->btnOptionen, &QAbstractButton::clicked, this, &TfrmEinstellANZ::btnOptionenClick);
    for (QWidget* control : {static_cast<QWidget*>(ui->btnHilfe), static_cast<QWidget*>(ui->edtBemerkung)})
        control->installEventFilter(this);
}

TfrmEinstellANZ::~TfrmEinstellANZ() = default;

void TfrmEinstellANZ::setWizard(TfrmImport1* wizard, TfrmQOptionen* options)
{
    wizard_ = wizard;
    options_ = options;
    if (!wizard_)
        return;
    db::DataSource* source = &wizard_->dscImpList;
    ui->lblLetzterImport2->setDataSource(source);
    ui->lblLetzterImport2->setDataField(QStringLiteral("LetzterImport"));
    ui->edtQuelldatei->setDataSource(source);
    ui->edtQuelldatei->setDataField(QStringLiteral("Quelldatei"));
    ui->edtZieldatei->setDataSource(source);
    ui->edtZieldatei->setDataField(QStringLiteral("Zieldatei"));
    ui->edtBemerkung->setDataSource(source);
    ui->edtBemerkung->setDataField(QStringLiteral("Bemerkung"));
    ui->dbtIntTab->setDataSource(source);
    ui->dbtIntTab->setDataField(QStringLiteral("TableName"));
}

void TfrmEinstellANZ::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        FormShow();
    }
    QDialog::showEvent(event);
}

void TfrmEinstellANZ::FormShow()
{
    if (!wizard_)
        return;
    db::Table& t = wizard_->tblImpList;
    if (!t.Active())
        t.Open();
    if (t.RecordCount() == 0)
        return;
    auto flag = [&t](const char* column) {
        const db::Field* field = t.FieldByName(QLatin1String(column));
        return !field->IsNull() && field->AsBoolean();
    };
    ui->lblBezeichnung->setText(t.FieldByName(QStringLiteral("Bezeichnung"))->AsString());
    const QString column = flag("Eigene") ? QStringLiteral("TableName") : QStringLiteral("VorDefTableName");
    if (ui->dbtIntTab->DataLink().DataField() != column)
        ui->dbtIntTab->setDataField(column);

    if (flag("Sicherungskopie")) {
        ui->lblSicherungskopie->setText(texts::Text(65213));
    } else {
        ui->lblSicherungskopie->clear();
        ui->lblSicherungskopie->hide();
        ui->lblImportmodus->move(ui->lblImportmodus->x(), ui->lblZielLeeren->y());
        ui->lblZielLeeren->move(ui->lblZielLeeren->x(), ui->lblSicherungskopie->y());
    }
    if (flag("ZielLeeren")) {
        ui->lblZielLeeren->setText(texts::Text(65214));
    } else {
        ui->lblZielLeeren->clear();
        ui->lblZielLeeren->hide();
        ui->lblImportmodus->move(ui->lblImportmodus->x(), ui->lblZielLeeren->y());
    }
    const db::Field* mode = t.FieldByName(QStringLiteral("Importmodus"));
    if (const auto text = ImportmodusText(mode->IsNull() ? std::nullopt : std::optional<int>(mode->AsInteger())))
        ui->lblImportmodus->setText(*text);
}

void TfrmEinstellANZ::done(int result)
{
    if (isVisible())
        FormClose();
    QDialog::done(result);
}

void TfrmEinstellANZ::FormClose()
{
    ui->lblSicherungskopie->move(ui->lblSicherungskopie->x(), TopSicherungskopie);
    ui->lblZielLeeren->move(ui->lblZielLeeren->x(), TopZielLeeren);
    ui->lblImportmodus->move(ui->lblImportmodus->x(), TopImportmodus);
    for (QWidget* label : {ui->lblSicherungskopie, ui->lblZielLeeren, ui->lblImportmodus})
        label->show();
    if (wizard_)
        wizard_->show();
}

void TfrmEinstellANZ::btnSchliessenClick()
{
    close();
}

void TfrmEinstellANZ::btnHilfeClick()
{
    platform::ShowHelp(HelpContext);
}

void TfrmEinstellANZ::btnOptionenClick()
{
    if (!options_)
        return;
    // Shown for reading only; the options window enables its inputs again when it is closed.
    Ui::TfrmQOptionen& o = *options_->ui;
    for (QWidget* control :
         std::initializer_list<QWidget*>{o.cbxDosToWin, o.edtDecimal, o.edtTausend, o.edtTime, o.edtDate, o.comTMJ,
                                         o.lblDecimal, o.lblTausend, o.lblTime, o.lblDate, o.lblTMJ}) {
        if (control->isEnabled())
            control->setEnabled(false);
    }
    if (!options_->isVisible())
        options_->show();
}

void TfrmEinstellANZ::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        ui->btnHilfe->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmEinstellANZ::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        ui->btnHilfe->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wizard
