#include "filter/frmFilterFileDialog.h"

#include "ui_frmFilterFileDialog.h"

#include "filter/IniFile.h"
#include "platform/UserInterface.h"
#include "rtl/Conversions.h"
#include "texts/Texts.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>

namespace filter {

namespace {

// The icons of the list: a sheet for a file, the same sheet with a lock for a protected one.
QIcon fileIcon(bool isProtected)
{
    QPixmap picture(28, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    const QPolygon sheet({{4, 1}, {18, 1}, {24, 7}, {24, 30}, {4, 30}});
    p.drawPolygon(sheet);
    p.drawPolyline(QPolygon({{18, 1}, {18, 7}, {24, 7}}));
    p.setPen(QPen(QColor(0, 0, 128), 1));
    for (int y = 11; y <= 23; y += 4)
        p.drawLine(8, y, 20, y);
    if (isProtected) {
        p.setPen(QPen(QColor(128, 96, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(13, 15, 8, 9), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 150, 0));
        p.drawRect(11, 20, 12, 9);
    }
    return QIcon(picture);
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath() + u'/';
}

}  // namespace

bool IsProtectValue(const QString& value)
{
    bool number = false;
    const int n = value.trimmed().toInt(&number);
    return number && n != 0;
}

bool IsPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20)
            return false;
    return true;
}

TfrmFilterFileDialog::TfrmFilterFileDialog(const QString& filterFolder, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TfrmFilterFileDialog>()),
      programFolder_(filterFolder.isEmpty() ? programFolder() : filterFolder)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ui->lvTemplate->setIconSize(QSize(28, 32));
    QFont bold = ui->lblDescription->font();
    bold.setBold(true);
    ui->lblDescription->setFont(bold);
    connect(ui->lvTemplate, &QListWidget::itemClicked, this, &TfrmFilterFileDialog::lvTemplateClick);
    connect(ui->lvTemplate, &QListWidget::itemDoubleClicked, this, &TfrmFilterFileDialog::lvTemplateDblClick);
    connect(ui->edFileName, &QLineEdit::textChanged, this, &TfrmFilterFileDialog::edFileNameChange);
    connect(ui->btnOk, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    ui->lvTemplate->installEventFilter(this);
}

TfrmFilterFileDialog::~TfrmFilterFileDialog() = default;

bool TfrmFilterFileDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        if (keepOnActivate_)
            keepOnActivate_ = false;
        else
            FormActivate();
    }
    return QDialog::event(event);
}

bool TfrmFilterFileDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lvTemplate && event->type() == QEvent::KeyRelease)
        lvTemplateClick();
    return QDialog::eventFilter(watched, event);
}

void TfrmFilterFileDialog::FormActivate()
{
    FilterFolder_ = programFolder_;
    ui->lvTemplate->clear();
    QDir folder(FilterFolder_);
    const QFileInfoList files =
        folder.entryInfoList({QStringLiteral("*.flt")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& file : files) {
        bool isProtected = false;
        try {
            isProtected =
                IsProtectValue(IniFile(file.filePath()).ReadString(QStringLiteral("Main"), QStringLiteral("Protect")));
        } catch (const FilterFileError&) {
            // Listed all the same: choosing it says what is wrong with it.
        }
        auto* item = new QListWidgetItem(fileIcon(isProtected), file.completeBaseName(), ui->lvTemplate);
        item->setData(Qt::UserRole, isProtected ? 1 : 0);
        item->setToolTip(file.fileName());
    }
    ui->memoDescription->clear();
    ui->btnOk->setEnabled(false);
}

void TfrmFilterFileDialog::lvTemplateClick()
{
    ui->memoDescription->clear();
    ui->lblDescription->clear();
    QListWidgetItem* selected = ui->lvTemplate->currentItem();
    if (selected && !selected->isSelected())
        selected = nullptr;
    ui->btnOk->setEnabled(selected || !ui->edFileName->text().isEmpty());
    if (!ui->btnOk->isEnabled() || !selected)
        return;
    ui->edFileName->setText(selected->text());
    try {
        const IniFile ini(FilterFolder_ + selected->text() + QStringLiteral(".flt"));
        const QString main = QStringLiteral("Main");
        ui->lblDescription->setText(
            texts::Format(texts::Text(64998), {ini.ReadString(main, QStringLiteral("Create"))}) + QStringLiteral("\n") +
            texts::Format(texts::Text(64999), {ini.ReadString(main, QStringLiteral("Modify"))}));
        ui->memoDescription->setPlainText(ini.ReadString(main, QStringLiteral("Description")));
    } catch (const FilterFileError& error) {
        ui->lblDescription->setText(error.message());
    }
}

void TfrmFilterFileDialog::lvTemplateDblClick()
{
    if (ui->btnOk->isEnabled())
        accept();
}

void TfrmFilterFileDialog::edFileNameChange()
{
    ui->btnOk->setEnabled(!ui->edFileName->text().isEmpty());
}

void TfrmFilterFileDialog::done(int result)
{
    // The file stays in the filter folder: a name with a folder in it is refused, not followed.
    if (result == QDialog::Accepted && !IsPlainFileName(ui->edFileName->text())) {
        keepOnActivate_ = true;
        platform::ErrorBox(texts::Format(texts::Text(61550), {ui->edFileName->text()}));
        ui->edFileName->setFocus();
        return;
    }
    QDialog::done(result);
}

bool SelectFilterFile(QString& FileName, bool IsSave, const QString& filterFolder, QWidget* parent)
{
    TfrmFilterFileDialog picker(filterFolder, parent);
    Ui::TfrmFilterFileDialog& w = *picker.ui;
    FileName.clear();
    picker.setWindowTitle(texts::Text(64993));
    w.lblFileName->setText(texts::Text(64997));
    w.gbDescription->setTitle(texts::Text(64996));
    w.btnOk->setText(texts::Text(65002));
    w.btnCancel->setText(texts::Text(65003));
    w.cbProtect->setText(texts::Text(65000));
    w.edFileName->setAccessibleName(texts::Text(64997));
    w.memoDescription->setAccessibleName(texts::Text(64996));
    w.lvTemplate->setAccessibleName(texts::Text(64993));
    const int top = IsSave ? 15 : 43;
    QPalette palette = w.memoDescription->palette();
    palette.setColor(QPalette::Base, IsSave ? QColor(Qt::white) : picker.palette().color(QPalette::Button));
    w.memoDescription->setPalette(palette);
    w.memoDescription->setGeometry(w.memoDescription->x(), top, w.memoDescription->width(), 165 - top);
    w.memoDescription->setReadOnly(!IsSave);
    w.edFileName->setVisible(IsSave);
    w.lblFileName->setVisible(IsSave);
    w.cbProtect->setVisible(IsSave);
    w.lblDescription->setVisible(!IsSave);
    // Offscreen and on some desktops the window is never activated: the list is filled before it shows.
    picker.FormActivate();

    if (picker.exec() != QDialog::Accepted)
        return false;
    FileName = picker.FilterFolder() + w.edFileName->text() + QStringLiteral(".flt");
    if (!IsSave)
        return true;
    try {
        IniFile ini(FileName);
        const QString main = QStringLiteral("Main");
        if (IsProtectValue(ini.ReadString(main, QStringLiteral("Protect")))) {
            platform::ErrorBox(texts::Text(65001));
            return false;
        }
        // A file of another kind under that name is not overwritten.
        if (ini.exists() && QFileInfo(FileName).size() > 0 && !ini.hasSection(main) &&
            !ini.hasSection(QStringLiteral("Filter"))) {
            platform::ErrorBox(texts::Format(texts::Text(61551), {QDir::toNativeSeparators(FileName)}));
            return false;
        }
        const QString today = rtl::DateToStr(QDate::currentDate());
        if (ini.ReadString(main, QStringLiteral("Create")).isEmpty())
            ini.WriteString(main, QStringLiteral("Create"), today);
        else
            ini.WriteString(main, QStringLiteral("Modify"), today);
        ini.WriteString(main, QStringLiteral("Description"), w.memoDescription->toPlainText());
        ini.WriteString(main, QStringLiteral("Protect"),
                        w.cbProtect->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        ini.UpdateFile();
    } catch (const FilterFileError& error) {
        platform::ErrorBox(error.message());
        return false;
    }
    return true;
}

}  // namespace filter
