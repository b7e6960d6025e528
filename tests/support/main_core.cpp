#include "platform/ScriptedUi.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // A dialog the test did not script fails the running test, also where the code under test swallows the
    // exception that ScriptedUi raises.
    platform::ScriptedUi::setDefaultFailureHandler(
        [](const QString& message) { ADD_FAILURE() << message.toStdString(); });
    return RUN_ALL_TESTS();
}
