#include "wizard/frmFormelEdt.h"

#include "ui_frmFormelEdt.h"

#include "db/Field.h"
#include "db/Table.h"
#include "engine/Formulas.h"
#include "platform/UserInterface.h"
#include "platform/WindowTexts.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"
#include "wizard/frmImport1.h"

#include <QKeyEvent>

namespace wizard {

namespace {

constexpr int kHelpContext = 9;
constexpr int kEditHeight = 206;
constexpr int kPreviewHeight = 155;
constexpr int kPreviewButtonLeft = 180;
constexpr int kPreviewButtonWidth = 75;
constexpr int kClosePreviewButtonWidth = 130;
// Memo targets take a text of any length.
constexpr int kMemoType = 16;
constexpr int kFormattedMemoType = 18;

QString columnText(db::Table& table, const char* name)
{
    db::Field* field = table.Active() ? table.FindField(QLatin1String(name)) : nullptr;
    return field ? field->AsString() : QString();
}

}  // namespace

TfrmFormelEdt::TfrmFormelEdt(TfrmImport1& frmImport1, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TfrmFormelEdt>()),
      frmImport1_(frmImport1)
{
    ui->setupUi(this);
    platform::TranslateWindow(this);
    // The system menu only: no minimising, no maximising.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    // The state is read from this caption: it must be the program text, whatever the window module says.
    ui->btnVorschau->setText(texts::Text(65254));
    ui->memFormel->setDataSource(&frmImport1_.dscZStrukt);
    ui->memFormel->setAccessibleName(texts::Text(65258));
    ui->memVorschau->setAccessibleName(texts::Text(64981));
    connect(ui->btnOK, &QAbstractButton::clicked, this, &TfrmFormelEdt::btnOKClick);
    connect(ui->btnVorschau, &QAbstractButton::clicked, this, &TfrmFormelEdt::btnVorschauClick);
    connect(ui->btnHilfe, &QAbstractButton::clicked, this, &TfrmFormelEdt::btnHilfeClick);
    // Key preview: F1 in any control of the window.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
    ui->memFormel->setFocus();
}

TfrmFormelEdt::~TfrmFormelEdt() = default;

void TfrmFormelEdt::editFormula(const QString& dataField)
{
    if (ui->memVorschau->isVisible() || ui->btnVorschau->text() != texts::Text(65254))
        showPreview(false);
    ui->memFormel->setDataField(dataField);
    show();
    raise();
    activateWindow();
    ui->memFormel->setFocus();
}

QString TfrmFormelEdt::previewText()
{
    db::Table& source = frmImport1_.tblQuelle;
    db::Table& row = frmImport1_.tblZStrukt;
    const QString formula = ui->memFormel->toPlainText();
    if (ui->memFormel->DataLink().DataField().compare(QLatin1String("Formel_alph"), Qt::CaseInsensitive) == 0) {
        const QString r = engine::FormelAlphBerechnen(source, formula);
        if (r.isEmpty())
            return QString();
        const int typ = columnText(row, "Typ").toInt();
        const int laenge = columnText(row, "Laenge").trimmed().toInt();
        if (typ != kMemoType && typ != kFormattedMemoType && laenge < r.size())
            return u'"' + r.left(laenge) + QStringLiteral("\"\r\n\r\n") +
                   texts::Text(64980).replace(QStringLiteral("%d"), QString::number(laenge));
        return u'"' + r + u'"';
    }
    const QString e = engine::FormelNumAufbereiten(source, columnText(row, "Formel_num"));
    platform::MessageBox(platform::MessageType::Information, e);
    frmImport1_.Parser1.setExpression(e.toStdString());
    return texts::Text(65256) + u'\t' + QString::fromStdString(frmImport1_.Parser1.Expression()) +
           QStringLiteral("\r\n") + texts::Text(65257) + QStringLiteral("\t\t") +
           rtl::FloatToStr(frmImport1_.Parser1.Value());
}

void TfrmFormelEdt::btnVorschauClick()
{
    if (ui->btnVorschau->text() != texts::Text(65254)) {
        showPreview(false);
        return;
    }
    QString text;
    try {
        text = previewText();
    } catch (const std::exception& error) {
        // A formula the parser refuses: said, and the editor stays as it is.
        platform::ErrorBox(QString::fromStdString(error.what()));
        return;
    }
    if (text.isEmpty())
        return;
    ui->memVorschau->setPlainText(text);
    showPreview(true);
}

void TfrmFormelEdt::showPreview(bool preview)
{
    ui->memFormel->setVisible(!preview);
    ui->memVorschau->setVisible(preview);
    ui->btnOK->setVisible(!preview);
    if (preview) {
        ui->btnLoeschen->hide();
        setWindowTitle(texts::Text(64981) + QStringLiteral(" \"") + columnText(frmImport1_.tblZStrukt, "Feldname") +
                       u'"');
        ui->btnVorschau->setGeometry(ui->btnOK->x(), ui->btnVorschau->y(), kClosePreviewButtonWidth,
                                     ui->btnVorschau->height());
        ui->btnVorschau->setText(texts::Text(65255));
        resize(width(), kPreviewHeight);
        ui->memVorschau->setFocus();
    } else {
        setWindowTitle(texts::Text(65258));
        ui->btnVorschau->setGeometry(kPreviewButtonLeft, ui->btnVorschau->y(), kPreviewButtonWidth,
                                     ui->btnVorschau->height());
        ui->btnVorschau->setText(texts::Text(65254));
        resize(width(), kEditHeight);
        ui->memFormel->setFocus();
    }
    ui->btnVorschau->setAccessibleName(QString(ui->btnVorschau->text()).remove(u'&'));
}

void TfrmFormelEdt::btnOKClick()
{
    close();
}

void TfrmFormelEdt::btnHilfeClick()
{
    platform::ShowHelp(kHelpContext);
}

void TfrmFormelEdt::FormKeyDown(int key)
{
    if (key == Qt::Key_F1)
        ui->btnHilfe->click();
}

bool TfrmFormelEdt::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        FormKeyDown(Qt::Key_F1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace wizard
