#pragma once

#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

// Every exchange with the person at the screen goes through the installed UserInterface: message boxes, file and
// input dialogs, the beep, help and opening links. The program installs the Qt implementation (QtUserInterface);
// a test installs a ScriptedUi that answers from a script and records what was shown. Nothing is installed by
// default, so a dialog raised where nobody installed an interface throws NoUserInterface instead of waiting for a
// click that never comes.
namespace platform {

enum class MessageType {
    Error,
    Warning,
    Information,
    Confirmation,
    Plain,  // no icon, the application title as caption
};

// The button sets the program's messages use.
enum class Buttons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    YesNoCancelYesToAll,
    OkHelp,  // Help shows the message's help context and leaves the box open
};

// The button that closed a box. Closing the window or pressing Escape counts as Cancel when the box has one, else
// as No, else as OK.
enum class Button { Ok, Cancel, Yes, No, YesToAll };

// The buttons of a set, in the order they stand in the box.
std::vector<Button> buttonsOf(Buttons buttons);
// What Escape or closing the window answers for a set.
Button escapeButton(Buttons buttons);
bool hasHelpButton(Buttons buttons);

struct MessageRequest {
    MessageType type = MessageType::Information;
    QString text;
    QString caption;  // empty: the type's name ("Fehler", ...), or the application title for Plain
    Buttons buttons = Buttons::Ok;
    int helpContext = 0;
};

enum class FileDialogKind { Open, Save };

// Options of the file dialogs, combinable.
enum FileDialogOption : unsigned {
    NoFileDialogOptions = 0,
    PathMustExist = 1u << 0,
    FileMustExist = 1u << 1,
    OverwritePrompt = 1u << 2,
    NoChangeDir = 1u << 3,  // the process's current folder stays as it was
};

struct FileDialogRequest {
    QString title;
    // Entries in the notation "description|mask|description|mask"; a mask may list several patterns separated
    // by ";" ("*.db; *.dbf").
    QString filter;
    int filterIndex = 1;  // the entry preselected, counted from 1
    QString initialDir;
    QString fileName;
    QString defaultExt;  // without the dot; added to a typed name that has no extension
    unsigned options = NoFileDialogOptions;
};

struct InputRequest {
    QString caption;
    QString prompt;
    QString text;  // what the edit starts with
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual Button showMessage(const MessageRequest& request) = 0;
    // The chosen file's full path, or an empty string when the person cancelled.
    virtual QString fileDialog(FileDialogKind kind, const FileDialogRequest& request) = 0;
    // The text entered, or nothing on Cancel.
    virtual std::optional<QString> inputBox(const InputRequest& request) = 0;
    virtual void beep() = 0;
    virtual void showHelp(int helpContext) = 0;
    // Hands a web address or a mail address to the desktop; false when nothing could open it.
    virtual bool openUrl(const QString& target) = 0;
};

// Raised when a dialog is asked for and no interface is installed.
class NoUserInterface : public std::logic_error {
public:
    NoUserInterface() : std::logic_error("no user interface is installed") {}
};

// The installed interface (not owned), or nullptr.
UserInterface* userInterface();
// Installs ui (may be nullptr) and returns the one installed before.
UserInterface* setUserInterface(UserInterface* ui);

// Installs an interface for the life of the object and puts the previous one back afterwards.
class ScopedUserInterface {
public:
    explicit ScopedUserInterface(UserInterface& ui) : previous_(setUserInterface(&ui)) {}
    ~ScopedUserInterface() { setUserInterface(previous_); }
    ScopedUserInterface(const ScopedUserInterface&) = delete;
    ScopedUserInterface& operator=(const ScopedUserInterface&) = delete;

private:
    UserInterface* previous_;
};

// The routes the program's code takes; each goes to the installed interface.
Button MessageBox(const MessageRequest& request);
Button MessageBox(MessageType type, const QString& text, Buttons buttons = Buttons::Ok, int helpContext = 0);
// An error box with OK: how the program reports a refusal.
void ErrorBox(const QString& text);
// A plain box with OK under the application title.
void ShowMessage(const QString& text);
QString OpenFileDialog(const FileDialogRequest& request);
QString SaveFileDialog(const FileDialogRequest& request);
std::optional<QString> InputBox(const QString& caption, const QString& prompt, const QString& text = QString());
void Beep();
void ShowHelp(int helpContext);
bool OpenUrl(const QString& target);

// The application title: the caption of plain boxes and of the program's questions. Qt's display name is not used
// for it, as Qt would append that to every window caption.
QString applicationTitle();
void setApplicationTitle(const QString& title);

// Fixed captions of the message boxes and their buttons.
QString messageTypeCaption(MessageType type);
QString buttonCaption(Button button);  // with the "&" of its access key
QString helpButtonCaption();

}  // namespace platform
