#include "platform/ScriptedUi.h"

#include <algorithm>

namespace platform {

namespace {

ScriptedUi::FailureHandler& defaultFailureHandler()
{
    static ScriptedUi::FailureHandler handler;
    return handler;
}

QString buttonName(Button button)
{
    QString caption = buttonCaption(button);
    return caption.remove(u'&');
}

QString shortened(const QString& text)
{
    QString oneLine = text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    return oneLine.size() > 120 ? oneLine.left(117) + QLatin1String("...") : oneLine;
}

}  // namespace

void ScriptedUi::setDefaultFailureHandler(FailureHandler handler)
{
    defaultFailureHandler() = std::move(handler);
}

ScriptedUi::ScriptedUi(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

ScriptedUi::~ScriptedUi()
{
    if (!script_.empty())
        report(QStringLiteral("%1 scripted answer(s) were never asked for").arg(script_.size()));
}

ScriptedUi& ScriptedUi::answer(Button button)
{
    script_.push_back({AnswerKind::Message, button, {}, {}});
    return *this;
}

ScriptedUi& ScriptedUi::answerFile(const QString& path)
{
    script_.push_back({AnswerKind::File, Button::Ok, path, {}});
    return *this;
}

ScriptedUi& ScriptedUi::answerInput(std::optional<QString> text)
{
    script_.push_back({AnswerKind::Input, Button::Ok, {}, std::move(text)});
    return *this;
}

ScriptedUi& ScriptedUi::setUrlsOpen(bool opened)
{
    urlsOpen_ = opened;
    return *this;
}

std::vector<MessageRequest> ScriptedUi::messages() const
{
    std::vector<MessageRequest> result;
    for (const Event& event : events_) {
        if (event.kind == Kind::Message)
            result.push_back(event.message);
    }
    return result;
}

QStringList ScriptedUi::messageTexts() const
{
    QStringList result;
    for (const MessageRequest& message : messages())
        result += message.text;
    return result;
}

std::vector<FileDialogRequest> ScriptedUi::fileDialogs() const
{
    std::vector<FileDialogRequest> result;
    for (const Event& event : events_) {
        if (event.kind == Kind::OpenFile || event.kind == Kind::SaveFile)
            result.push_back(event.file);
    }
    return result;
}

std::vector<InputRequest> ScriptedUi::inputs() const
{
    std::vector<InputRequest> result;
    for (const Event& event : events_) {
        if (event.kind == Kind::Input)
            result.push_back(event.input);
    }
    return result;
}

std::vector<int> ScriptedUi::helpContexts() const
{
    std::vector<int> result;
    for (const Event& event : events_) {
        if (event.kind == Kind::Help)
            result.push_back(event.helpContext);
    }
    return result;
}

QStringList ScriptedUi::openedUrls() const
{
    QStringList result;
    for (const Event& event : events_) {
        if (event.kind == Kind::Url)
            result += event.url;
    }
    return result;
}

int ScriptedUi::beeps() const
{
    return static_cast<int>(std::count_if(events_.begin(), events_.end(),
                                          [](const Event& event) { return event.kind == Kind::Beep; }));
}

Button ScriptedUi::showMessage(const MessageRequest& request)
{
    Event event{Kind::Message, request, {}, {}, 0, {}};
    events_.push_back(event);
    const Answer answer = take(AnswerKind::Message, QStringLiteral("message box \"%1\"").arg(shortened(request.text)));
    const std::vector<Button> offered = buttonsOf(request.buttons);
    if (std::find(offered.begin(), offered.end(), answer.button) == offered.end()) {
        fail(QStringLiteral("the script answers %1, which message box \"%2\" does not offer")
                 .arg(buttonName(answer.button), shortened(request.text)));
    }
    return answer.button;
}

QString ScriptedUi::fileDialog(FileDialogKind kind, const FileDialogRequest& request)
{
    events_.push_back({kind == FileDialogKind::Open ? Kind::OpenFile : Kind::SaveFile, {}, request, {}, 0, {}});
    return take(AnswerKind::File, QStringLiteral("file dialog \"%1\"").arg(request.title)).path;
}

std::optional<QString> ScriptedUi::inputBox(const InputRequest& request)
{
    events_.push_back({Kind::Input, {}, {}, request, 0, {}});
    return take(AnswerKind::Input, QStringLiteral("input box \"%1\"").arg(request.caption)).text;
}

void ScriptedUi::beep()
{
    events_.push_back({Kind::Beep, {}, {}, {}, 0, {}});
}

void ScriptedUi::showHelp(int helpContext)
{
    events_.push_back({Kind::Help, {}, {}, {}, helpContext, {}});
}

bool ScriptedUi::openUrl(const QString& target)
{
    events_.push_back({Kind::Url, {}, {}, {}, 0, target});
    return urlsOpen_;
}

ScriptedUi::Answer ScriptedUi::take(AnswerKind kind, const QString& what)
{
    if (script_.empty())
        fail(QStringLiteral("unscripted %1").arg(what));
    if (script_.front().kind != kind)
        fail(QStringLiteral("%1 came up, but the script's next answer is for another kind of dialog").arg(what));
    Answer answer = std::move(script_.front());
    script_.pop_front();
    return answer;
}

void ScriptedUi::fail(const QString& message)
{
    report(message);
    throw UnscriptedDialog(message);
}

void ScriptedUi::report(const QString& message)
{
    failures_ += message;
    if (onFailure_)
        onFailure_(message);
    else if (const FailureHandler& fallback = defaultFailureHandler())
        fallback(message);
    else
        qWarning("ScriptedUi: %s", qUtf8Printable(message));
}

}  // namespace platform
