// The frame every page shares (help, the hidden Info buttons, the about box) and the start page, where the user
// chooses between a new import and a stored setting.
#include "db/Field.h"
#include "platform/ClickHandlers.h"
#include "platform/UserInterface.h"
#include "texts/Texts.h"
#include "ui_frmImport1.h"
#include "wizard/GridTitles.h"
#include "wizard/frmEinstellAEND.h"
#include "wizard/frmEinstellANZ.h"
#include "wizard/frmImport1.h"
#include "wizard/frmSplashScreen.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <tuple>

namespace wizard {

void TfrmImport1::ConnectFrameAndStartPage()
{
    connect(ui->btnHilfe3, &QAbstractButton::clicked, this, &TfrmImport1::btnHilfe3Click);
    connect(ui->btnHilfe4, &QAbstractButton::clicked, this, &TfrmImport1::btnHilfe4Click);
    connect(ui->btnHilfe5, &QAbstractButton::clicked, this, &TfrmImport1::btnHilfe5Click);
    connect(ui->btnHilfe6, &QAbstractButton::clicked, this, &TfrmImport1::btnHilfe6Click);

    platform::ConnectClick(ui->rbtNeueImport, this, &TfrmImport1::rbtNeueImportClick);
    platform::ConnectClick(ui->rbtVorhEinst_oAE, this, &TfrmImport1::rbtVorhEinst_oAEClick);
    platform::ConnectClick(ui->rbtVorhEinst_mAE, this, &TfrmImport1::rbtVorhEinst_mAEClick);
    connect(ui->comVorh_Einstellg, &platform::TDBLookupComboBox::CloseUp, this,
            &TfrmImport1::comVorh_EinstellgCloseUp);
    connect(ui->btnDetails, &QAbstractButton::clicked, this, &TfrmImport1::btnDetailsClick);
    connect(ui->btnWeiter1, &QAbstractButton::clicked, this, &TfrmImport1::btnWeiter1Click);
    connect(ui->btnInfoVisible, &QAbstractButton::clicked, this, &TfrmImport1::InfoAnzeigen);

    // The settings list's titles in the language in use (a screen reader reads them with each entry).
    std::vector<db::FieldDisplay> titles;
    for (const auto& [column, key, width] : {std::tuple{"Bezeichnung", "ImpList.Bezeichnung", 30},
                                             {"Quellformat", "ImpList.Quellformat", 0},
                                             {"Quelldatei", "ImpList.Quelldatei", 30},
                                             {"Zieldatei", "ImpList.Zieldatei", 30}})
        titles.push_back({QString::fromLatin1(column), GridTitleText(key), width, std::nullopt, true, {}});
    tblImpList.setFieldDisplays(titles);
    ui->comVorh_Einstellg->setListSource(&dscImpList);
    ui->comVorh_Einstellg->setKeyField(QStringLiteral("Bezeichnung"));
    ui->comVorh_Einstellg->setListField(QStringLiteral("Bezeichnung;Quelldatei;Zieldatei"));
    ui->comVorh_Einstellg->setDropDownRows(10);

    for (QWidget* page : {ui->ImportSeite2, ui->ImportSeite3, ui->ImportSeite4, ui->ImportSeite5, ui->ImportSeite6,
                          ui->TXTDatensatzlaenge, ui->TXTFix, ui->TXTVariabel}) {
        page->installEventFilter(this);
        connect(InfoButtonOf(page), &QAbstractButton::clicked, this, &TfrmImport1::btnInfoClick);
    }
}

QPushButton* TfrmImport1::InfoButtonOf(QWidget* page) const
{
    const std::pair<QWidget*, QPushButton*> buttons[] = {
        {ui->ImportSeite2, ui->btnInfo2},          {ui->ImportSeite3, ui->btnInfo3},
        {ui->ImportSeite4, ui->btnInfo4},          {ui->ImportSeite5, ui->btnInfo5},
        {ui->ImportSeite6, ui->btnInfo6},          {ui->TXTDatensatzlaenge, ui->btnInfo1TXT},
        {ui->TXTFix, ui->btnInfo2TXT},             {ui->TXTVariabel, ui->btnInfo3TXT},
    };
    for (auto [owner, button] : buttons)
        if (owner == page)
            return button;
    return nullptr;
}

bool TfrmImport1::eventFilter(QObject* watched, QEvent* event)
{
    // A press on the free area of a page: the right button brings its Info button to the pointer, any other
    // button puts it away again.
    if (event->type() == QEvent::MouseButtonPress) {
        if (QPushButton* info = InfoButtonOf(qobject_cast<QWidget*>(watched))) {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::RightButton) {
                info->move(press->position().toPoint());
                info->raise();
                info->show();
            } else {
                info->hide();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmImport1::btnInfoClick()
{
    if (auto* info = qobject_cast<QWidget*>(sender()))
        info->hide();
    InfoAnzeigen();
}

void TfrmImport1::InfoAnzeigen()
{
    // A new box every time; the boxes stay with this window once closed.
    auto* about = new TfrmSplashScreen(context_, this);
    about->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    about->panUnten->show();
    about->btnOK->show();
    about->setFixedSize(about->width(), 335);
    about->btnOK->setFocus();
    about->exec();
}

// ---- help ----

void TfrmImport1::btnHilfe3Click()
{
    platform::ShowHelp(HelpContextOf(ui->btnHilfe3));
}

void TfrmImport1::btnHilfe4Click()
{
    platform::ShowHelp(HelpContextOf(ui->btnHilfe4));
}

void TfrmImport1::btnHilfe5Click()
{
    platform::ShowHelp(HelpContextOf(ui->btnHilfe5));
}

void TfrmImport1::btnHilfe6Click()
{
    platform::ShowHelp(HelpContextOf(ui->btnHilfe6));
}

void TfrmImport1::rbtNeueImportKeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe1->click();
}

void TfrmImport1::edtQuelleKeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe2->click();
}

void TfrmImport1::edtZielKeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe3->click();
}

void TfrmImport1::btnHilfe1txtKeyDown(int key)
{
    if (key == Qt::Key_F1)
        platform::ShowHelp(HelpContextOf(ui->tpcTXT->currentWidget()));
}

void TfrmImport1::btnHilfe4KeyDown(int key)
{
    if (key == Qt::Key_F1)
        platform::ShowHelp(HelpContextOf(ui->btnHilfe4));
}

void TfrmImport1::btnHilfe5KeyDown(int key)
{
    if (key == Qt::Key_F1)
        platform::ShowHelp(HelpContextOf(ui->btnHilfe5));
}

void TfrmImport1::btnHilfe6KeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe6->click();
}

// ---- start page ----

void TfrmImport1::rbtNeueImportClick()
{
    if (frmEinstellAEND && frmEinstellAEND->isVisible())
        frmEinstellAEND->close();
    if (frmEinstellANZ && frmEinstellANZ->isVisible())
        frmEinstellANZ->close();
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lblWeitere, ui->comVorh_Einstellg, ui->btnDetails,
                                                      ui->gbxAktEinstellung})
        w->hide();
    // A new import starts without the stored setting's backup choice: the target page offers the copy at once.
    ui->btnSicherungskopie->show();
    SetChecked(ui->cbxSicherungskopie, false);
    ui->cbxSicherungskopie->hide();
    SetChecked(ui->cbxZielLeeren, false);
    SetChecked(ui->rbtFreieZieldatei, true);
}

void TfrmImport1::rbtVorhEinst_oAEClick()
{
    tblImpList.Open();
    for (QWidget* w : std::initializer_list<QWidget*>{ui->lblWeitere, ui->comVorh_Einstellg, ui->btnDetails,
                                                      ui->gbxAktEinstellung})
        w->show();
}

void TfrmImport1::rbtVorhEinst_mAEClick()
{
    rbtVorhEinst_oAEClick();
}

void TfrmImport1::comVorh_EinstellgCloseUp()
{
    AktEinstellung = ui->comVorh_Einstellg->KeyValue();
    ui->edtAktEinstellung->setText(AktEinstellung);
}

void TfrmImport1::btnDetailsClick()
{
    if (ui->rbtVorhEinst_oAE->isChecked()) {
        if (frmEinstellANZ)
            frmEinstellANZ->show();
    } else if (ui->rbtVorhEinst_mAE->isChecked()) {
        if (frmEinstellAEND)
            frmEinstellAEND->show();
    }
}

void TfrmImport1::btnWeiter1Click()
{
    if (ui->rbtNeueImport->isChecked()) {
        ui->PageControl1->setCurrentWidget(ui->ImportSeite2);
    } else if (ui->rbtImpEinlesen->isChecked()) {
        ImpEinstEinlesen();
    } else if (AktEinstellung.isEmpty()) {
        platform::MessageBox(platform::MessageType::Information, texts::Text(64946));
    } else if (ui->rbtVorhEinst_oAE->isChecked()) {
        if (!VorhEinstLaden_oAE())
            return;
        const bool textSource =
            tblImpList.FieldByName(QStringLiteral("Quellformat"))->AsString() == QStringLiteral("Text");
        if (!(textSource ? ZielStrukturPruefenText() : ZielStrukturPruefen())) {
            ui->PageControl1->setCurrentWidget(ui->ImportSeite1);
            platform::MessageBox(platform::MessageType::Information, texts::Text(64947));
            SetChecked(ui->rbtVorhEinst_mAE, true);
        }
    } else if (ui->rbtVorhEinst_mAE->isChecked()) {
        VorhEinstLaden_mAE();
    } else {
        platform::Beep();
    }
}

void TfrmImport1::ImpEinstEinlesen()
{
    // The settings manager reads the settings from disk without being shown.
    if (frmEinstellAEND) {
        if (auto* read = frmEinstellAEND->findChild<QAbstractButton*>(QStringLiteral("btnVonDiskEinlesen")))
            read->click();
    }
    tblImpList.Open();
    if (tblImpList.RecordCount() > 0) {
        SetChecked(ui->rbtImpEinlesen, false);
        ui->rbtImpEinlesen->hide();
        ui->rbtVorhEinst_oAE->show();
        ui->rbtVorhEinst_mAE->show();
    }
}

}  // namespace wizard
