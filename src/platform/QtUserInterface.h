#pragma once

#include "platform/UserInterface.h"

#include <functional>

namespace platform {

// The real dialogs: Qt's message box, file dialog and input dialog, with German buttons, modal over the active
// window.
class QtUserInterface : public UserInterface {
public:
    // Shows the help topic of a context number; the help viewer installs itself here.
    using HelpHandler = std::function<void(int helpContext)>;

    Button showMessage(const MessageRequest& request) override;
    QString fileDialog(FileDialogKind kind, const FileDialogRequest& request) override;
    std::optional<QString> inputBox(const InputRequest& request) override;
    void beep() override;
    void showHelp(int helpContext) override;
    bool openUrl(const QString& target) override;

    void setHelpHandler(HelpHandler handler) { helpHandler_ = std::move(handler); }

private:
    HelpHandler helpHandler_;
};

// Object names of the dialogs' parts, so that a driver (an automated test) can find them.
inline constexpr const char* kMessageBoxObjectName = "platformMessageBox";
inline constexpr const char* kFileDialogObjectName = "platformFileDialog";
inline constexpr const char* kInputDialogObjectName = "platformInputDialog";

}  // namespace platform
