#pragma once

#include "platform/UserInterface.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

namespace platform {

// Raised by ScriptedUi when a dialog comes up that the script did not expect (none left, another kind, or a button
// the box does not offer). Code under test cannot wait for a person, so the dialog fails at once.
class UnscriptedDialog : public std::logic_error {
public:
    explicit UnscriptedDialog(const QString& what) : std::logic_error(what.toStdString()) {}
};

// A UserInterface for automated tests: answers dialogs from a script, in order, and records everything shown.
//
//     platform::ScriptedUi ui;
//     platform::ScopedUserInterface installed(ui);
//     ui.answer(platform::Button::Yes).answerFile("/tmp/x/KUNDEN.DB");
//     ... run the code ...
//     EXPECT_EQ(ui.messages().at(0).text, texts::Text(64944));
//     EXPECT_TRUE(ui.failures().isEmpty());
//
// Every failure (an unscripted dialog, or answers left unused when the object goes away) is kept in failures() and
// passed to the failure handler: the one given to the constructor, else the process-wide default that a test main
// installs (for instance one that calls ADD_FAILURE). A failing dialog also throws UnscriptedDialog, so the code
// under test never goes on as if someone had answered.
class ScriptedUi : public UserInterface {
public:
    using FailureHandler = std::function<void(const QString& message)>;

    static void setDefaultFailureHandler(FailureHandler handler);

    explicit ScriptedUi(FailureHandler onFailure = {});
    ~ScriptedUi() override;
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // The script: each call adds the answer to the next dialog of that kind, in the order the dialogs come.
    ScriptedUi& answer(Button button);                  // a message box
    ScriptedUi& answerFile(const QString& path);        // an open or save dialog; empty = cancelled
    ScriptedUi& answerInput(std::optional<QString> text);  // an input box; nothing = Cancel
    // What openUrl reports from now on (true at the start).
    ScriptedUi& setUrlsOpen(bool opened);

    enum class Kind { Message, OpenFile, SaveFile, Input, Beep, Help, Url };
    struct Event {
        Kind kind;
        MessageRequest message;  // Message
        FileDialogRequest file;  // OpenFile, SaveFile
        InputRequest input;      // Input
        int helpContext = 0;     // Help
        QString url;             // Url
    };

    // The record, in the order things happened.
    const std::vector<Event>& events() const { return events_; }
    std::vector<MessageRequest> messages() const;
    QStringList messageTexts() const;
    std::vector<FileDialogRequest> fileDialogs() const;
    std::vector<InputRequest> inputs() const;
    std::vector<int> helpContexts() const;
    QStringList openedUrls() const;
    int beeps() const;
    const QStringList& failures() const { return failures_; }
    // Answers not used yet.
    qsizetype pendingAnswers() const { return static_cast<qsizetype>(script_.size()); }
    // Forgets the record (not the script and not the failures).
    void clearRecord() { events_.clear(); }

    Button showMessage(const MessageRequest& request) override;
    QString fileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    std::optional<QString> inputBox(const InputRequest& request) override;
    void beep() override;
    void showHelp(int helpContext) override;
    bool openUrl(const QString& target) override;

private:
    enum class AnswerKind { Message, File, Input };
    struct Answer {
        AnswerKind kind;
        Button button = Button::Ok;
        QString path;
        std::optional<QString> text;
    };

    Answer take(AnswerKind kind, const QString& what);
    [[noreturn]] void fail(const QString& message);
    void report(const QString& message);

    FailureHandler onFailure_;
    std::deque<Answer> script_;
    std::vector<Event> events_;
    QStringList failures_;
    bool urlsOpen_ = true;
};

}  // namespace platform
