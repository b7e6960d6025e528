#include "platform/UserInterface.h"

#include "texts/Texts.h"

#include <QGuiApplication>

#include <algorithm>

namespace platform {

namespace {

UserInterface*& installed()
{
    static UserInterface* ui = nullptr;
    return ui;
}

UserInterface& required()
{
    UserInterface* ui = installed();
    if (!ui)
        throw NoUserInterface();
    return *ui;
}

}  // namespace

UserInterface* userInterface()
{
    return installed();
}

UserInterface* setUserInterface(UserInterface* ui)
{
    UserInterface* previous = installed();
    installed() = ui;
    return previous;
}

Button MessageBox(const MessageRequest& request)
{
    return required().showMessage(request);
}

Button MessageBox(MessageType type, const QString& text, Buttons buttons, int helpContext)
{
    return MessageBox(MessageRequest{type, text, QString(), buttons, helpContext});
}

void ErrorBox(const QString& text)
{
    MessageBox(MessageType::Error, text, Buttons::Ok);
}

void ShowMessage(const QString& text)
{
    MessageBox(MessageType::Plain, text);
}

QString OpenFileDialog(const FileDialogRequest& request)
{
    return required().fileDialog(FileDialogKind::Open, request);
}

QString SaveFileDialog(const FileDialogRequest& request)
{
    return required().fileDialog(FileDialogKind::Save, request);
}

std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& text)
{
    return required().inputBox(InputRequest{caption, prompt, text});
}

void Beep()
{
    required().beep();
}

void ShowHelp(int helpContext)
{
    required().showHelp(helpContext);
}

bool OpenUrl(const QString& target)
{
    return required().openUrl(target);
}

std::vector<Button> buttonsOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkHelp:
        return {Button::Ok};
    case Buttons::OkCancel:
        return {Button::Ok, Button::Cancel};
    case Buttons::YesNo:
        return {Button::Yes, Button::No};
    case Buttons::YesNoCancel:
        return {Button::Yes, Button::No, Button::Cancel};
    case Buttons::YesNoCancelYesToAll:
        return {Button::Yes, Button::No, Button::Cancel, Button::YesToAll};
    }
    return {Button::Ok};
}

Button escapeButton(Buttons buttons)
{
    const std::vector<Button> offered = buttonsOf(buttons);
    for (Button preferred : {Button::Cancel, Button::No}) {
        if (std::find(offered.begin(), offered.end(), preferred) != offered.end())
            return preferred;
    }
    return Button::Ok;
}

bool hasHelpButton(Buttons buttons)
{
    return buttons == Buttons::OkHelp;
}

namespace {
QString& storedApplicationTitle()
{
    static QString title;
    return title;
}
}  // namespace

QString applicationTitle()
{
    const QString& title = storedApplicationTitle();
    if (!title.isEmpty())
        return title;
    const QString display = QGuiApplication::applicationDisplayName();
    return display.isEmpty() ? QCoreApplication::applicationName() : display;
}

void setApplicationTitle(const QString& title)
{
    storedApplicationTitle() = title;
}

// The captions and buttons of the platform's own boxes are program texts, so a language module translates them.
QString messageTypeCaption(MessageType type)
{
    switch (type) {
    case MessageType::Error:
        return texts::Text(61600);
    case MessageType::Warning:
        return texts::Text(61601);
    case MessageType::Information:
        return texts::Text(61602);
    case MessageType::Confirmation:
        return texts::Text(61603);
    case MessageType::Plain:
        break;
    }
    return QString();
}

QString buttonCaption(Button button)
{
    switch (button) {
    case Button::Ok:
        return texts::Text(61604);
    case Button::Cancel:
        return texts::Text(61605);
    case Button::Yes:
        return texts::Text(61606);
    case Button::No:
        return texts::Text(61607);
    case Button::YesToAll:
        return texts::Text(61608);
    }
    return QString();
}

QString helpButtonCaption()
{
    return texts::Text(61609);
}

}  // namespace platform
