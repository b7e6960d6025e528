#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

class QAbstractButton;
class QLineEdit;
class QStackedWidget;

namespace Ui {
class TfrmQOptionen;
}

namespace db {
class Table;
}

namespace wizard {

class TextFileView;

class TfrmInhaltAnz;

// The short date format ("DD/MM/YYYY", ...) for an order of the date list ("TT/MM/JJJJ", ...); "DD/MM/YYYY" for
// anything else.
QString ShortDateFormatOfTMJ(const QString& order);
// The order of the date list for a short date format; empty when the format is none of the six.
QString TMJOfShortDateFormat(const QString& format);

// What of the wizard the options read and bring in line. The wizard fills one with its own controls and tables;
// tests with standalone ones. Any of them may be null: that part is then left alone.
struct QOptionenWizard {
    QAbstractButton* rbtVorhEinst_mAE = nullptr;  // checked: a stored setting is being changed
    db::Table* tblImpList = nullptr;              // on that setting's row
    QLineEdit* edtQuelle = nullptr;               // the text source's file
    QStackedWidget* PageControl1 = nullptr;
    QWidget* ImportSeite1txt = nullptr;
    QStackedWidget* tpcTXT = nullptr;
    QWidget* TXTDatensatzlaenge = nullptr;
    TextFileView* retQuellDat = nullptr;  // the text as the layout sheet shows it
    QAbstractButton* btnQOptionen1 = nullptr;
    QAbstractButton* btnQOptionen2 = nullptr;
    TfrmInhaltAnz* frmInhaltAnz = nullptr;
};

// How the values of a source are read: the separators and the date order, which are the process's format
// settings (rtl::formatSettings), and whether the text of a DOS file is converted (cbxDosToWin, read by the text
// pages). Showing it fills the controls; closing it by any means applies them.
class TfrmQOptionen : public QDialog {
    Q_OBJECT

public:
    explicit TfrmQOptionen(QWidget* parent = nullptr);
    ~TfrmQOptionen() override;

    std::unique_ptr<Ui::TfrmQOptionen> ui;

    void setWizard(const QOptionenWizard& wizard) { wizard_ = wizard; }

    void FormShow();
    void btnOKClick();
    void FormClose();
    void btnHilfeClick();
    void btnHilfeKeyDown(QKeyEvent* event);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DosToWinAnwenden();
    void FormatEinstellungenUebernehmen();
    void bringInLine(TextFileView* editor);

    QOptionenWizard wizard_;
    // cbxDosToWin as it was when the dialog was shown.
    bool DosToWinAlt_ = false;
};

}  // namespace wizard
