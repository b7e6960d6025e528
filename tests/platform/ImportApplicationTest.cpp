#include "platform/ErrorReport.h"
#include "platform/ImportApplication.h"
#include "platform/ScriptedUi.h"

#include <QEvent>
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using platform::Button;
using platform::MessageType;
using platform::ScriptedUi;

// A widget whose handler of a custom event throws what it is told, and counts the events that got through.
class Throwing : public QWidget {
public:
    std::function<void()> raise;
    int handled = 0;

protected:
    void customEvent(QEvent*) override
    {
        if (raise)
            raise();
        ++handled;
    }
};

QEvent::Type testEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void sendTestEvent(QObject& receiver)
{
    QEvent event(testEvent());
    QCoreApplication::sendEvent(&receiver, &event);
}

TEST(ImportApplication, InstallsTheRealDialogs)
{
    auto* app = qobject_cast<platform::ImportApplication*>(qApp);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(platform::userInterface(), &app->dialogs());
}

TEST(ImportApplication, AnErrorInAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    struct Case {
        const char* name;
        std::function<void()> raise;
        QString shown;
    };
    const Case cases[] = {
        {"runtime error", [] { throw std::runtime_error("Tabelle ist gesperrt: Kunden.DB"); },
         QStringLiteral("Tabelle ist gesperrt: Kunden.DB")},
        {"German text in UTF-8", [] { throw std::logic_error("Schlüssel ungültig"); },
         QStringLiteral("Schlüssel ungültig")},
        {"not an exception class", [] { throw 42; }, QStringLiteral("Unbekannter Fehler")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
        platform::ScopedUserInterface installed(ui);
        ui.answer(Button::Ok);
        Throwing widget;
        widget.raise = c.raise;

        QCoreApplication::postEvent(&widget, new QEvent(testEvent()));
        QCoreApplication::sendPostedEvents(&widget, testEvent());
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].type, MessageType::Error);
        EXPECT_EQ(ui.messages()[0].text, c.shown);
        EXPECT_EQ(widget.handled, 0);

        widget.raise = nullptr;
        sendTestEvent(widget);
        EXPECT_EQ(widget.handled, 1) << "events after the error are handled as before";
    }
}

// The usual road: a button's click handler fails; the button must keep working afterwards.
TEST(ImportApplication, AFailingClickHandlerLeavesTheButtonUsable)
{
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(Button::Ok);
    QPushButton button(QStringLiteral("&Weiter >"));
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        if (++clicks == 1)
            throw std::runtime_error("Einlesen fehlgeschlagen");
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("Einlesen fehlgeschlagen")});
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button.isDown());
}

TEST(ImportApplication, ARunningEventLoopSurvivesAThrowingTimer)
{
    ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    ui.answer(Button::Ok);
    QEventLoop loop;
    int afterwards = 0;
    QTimer::singleShot(0, [] { throw std::runtime_error("im Zeitgeber"); });
    QTimer::singleShot(20, [&] {
        ++afterwards;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(afterwards, 1);
    EXPECT_EQ(ui.messageTexts(), QStringList{QStringLiteral("im Zeitgeber")});
}

TEST(ImportApplication, TheReporterCanBeReplacedAndAFailingReportStaysInside)
{
    std::vector<platform::ErrorReport> reports;
    platform::setExceptionReporter([&](const platform::ErrorReport& r) { reports.push_back(r); });
    Throwing widget;
    widget.raise = [] { throw std::out_of_range("Index 7"); };
    sendTestEvent(widget);
    platform::setExceptionReporter({});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].message, QStringLiteral("Index 7"));
    EXPECT_EQ(reports[0].className, QStringLiteral("std::out_of_range"));

    // The error message itself fails (nothing scripted): the failure is kept by the double, nothing escapes.
    QStringList failures;
    ScriptedUi ui([&](const QString& m) { failures += m; });
    platform::ScopedUserInterface installed(ui);
    EXPECT_NO_THROW(sendTestEvent(widget));
    EXPECT_EQ(failures.size(), 1);
}

}  // namespace

int main(int argc, char** argv)
{
    platform::ImportApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    platform::ScriptedUi::setDefaultFailureHandler(
        [](const QString& message) { ADD_FAILURE() << message.toStdString(); });
    return RUN_ALL_TESTS();
}
