#include "platform/QtUserInterface.h"

#include "platform/FileDialogFilter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <map>

namespace platform {

namespace {

QMessageBox::Icon iconOf(MessageType type)
{
    switch (type) {
    case MessageType::Error:
        return QMessageBox::Critical;
    case MessageType::Warning:
        return QMessageBox::Warning;
    case MessageType::Information:
        return QMessageBox::Information;
    case MessageType::Confirmation:
        return QMessageBox::Question;
    case MessageType::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(Button button)
{
    switch (button) {
    case Button::Ok:
        return QMessageBox::AcceptRole;
    case Button::Cancel:
        return QMessageBox::RejectRole;
    case Button::Yes:
    case Button::YesToAll:
        return QMessageBox::YesRole;
    case Button::No:
        return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

// The program's texts break lines with CR LF; a label wants LF alone.
QString displayText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

}  // namespace

Button QtUserInterface::showMessage(const MessageRequest& request)
{
    QString caption = request.caption;
    if (caption.isEmpty())
        caption = request.type == MessageType::Plain ? applicationTitle() : messageTypeCaption(request.type);

    QMessageBox box(iconOf(request.type), caption, displayText(request.text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setObjectName(QLatin1String(kMessageBoxObjectName));
    // Texts carry file names and field values: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);

    std::map<QAbstractButton*, Button> answers;
    const std::vector<Button> offered = buttonsOf(request.buttons);
    for (Button button : offered) {
        QPushButton* pushButton = box.addButton(buttonCaption(button), roleOf(button));
        answers[pushButton] = button;
        if (button == offered.front())
            box.setDefaultButton(pushButton);
        if (button == escapeButton(request.buttons))
            box.setEscapeButton(pushButton);
    }
    QAbstractButton* help = nullptr;
    if (hasHelpButton(request.buttons))
        help = box.addButton(helpButtonCaption(), QMessageBox::HelpRole);

    // A box closes on every button; Help shows its topic and puts the box up again, as the person expects the
    // question to stay.
    for (;;) {
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        if (clicked && clicked == help) {
            showHelp(request.helpContext);
            continue;
        }
        const auto found = answers.find(clicked);
        return found != answers.end() ? found->second : escapeButton(request.buttons);
    }
}

QString QtUserInterface::fileDialog(FileDialogKind kind, const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialDir);
    dialog.setObjectName(QLatin1String(kFileDialogObjectName));
    // Qt's own dialog everywhere: it understands the case-blind patterns and behaves the same in every session.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode((request.options & FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.options & OverwritePrompt));
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(std::clamp<qsizetype>(request.filterIndex, 1, filters.size()) - 1));
    }
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        const QString chosen = dialog.selectedFiles().value(0);
        if (chosen.isEmpty())
            return QString();
        // Qt accepts a typed name in a folder that does not exist; the caller was promised one that does.
        if ((request.options & PathMustExist) && !QFileInfo(chosen).dir().exists()) {
            beep();
            continue;
        }
        return QDir::toNativeSeparators(chosen);
    }
}

std::optional<QString> QtUserInterface::inputBox(const InputRequest& request)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QLatin1String(kInputDialogObjectName));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(request.caption);
    dialog.setLabelText(request.prompt);
    dialog.setTextValue(request.text);
    dialog.setOkButtonText(buttonCaption(Button::Ok));
    dialog.setCancelButtonText(buttonCaption(Button::Cancel));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void QtUserInterface::beep()
{
    QApplication::beep();
}

void QtUserInterface::showHelp(int helpContext)
{
    if (helpHandler_)
        helpHandler_(helpContext);
    else
        qInfo("Help for context %d requested, but no help viewer is installed", helpContext);
}

bool QtUserInterface::openUrl(const QString& target)
{
    const QString trimmed = target.trimmed();
    QUrl url(trimmed, QUrl::TolerantMode);
    // A bare mail address is meant for the mail program, as the shell treats it.
    if (url.scheme().isEmpty() && trimmed.contains(u'@') && !trimmed.contains(u'/'))
        url = QUrl(QStringLiteral("mailto:") + trimmed);
    else if (url.scheme().isEmpty())
        url = QUrl::fromUserInput(trimmed);
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace platform
