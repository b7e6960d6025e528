// The help file that ships with the program against the help contexts the program asks for.
#include "platform/HelpViewer.h"
#include "platform/ScriptedUi.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kHelpFile = QStringLiteral(IMPORT_PROGRAM_DIR "/Import.HLP");

TEST(HelpViewer, EveryHelpContextOfTheProgramHasItsTopic)
{
    QFile file(kHelpFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto topics = platform::HelpViewer::ParseTopics(QString::fromUtf8(file.readAll()));
    // Pages 1-6, the text sheets 11-13, the windows 8, 9, 10, 14, 19 and the messages 16-18.
    for (int context : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19})
        EXPECT_TRUE(topics.count(context) && topics.at(context).contains("<h1>")) << context;

    platform::ScriptedUi ui;
    platform::ScopedUserInterface installed(ui);
    platform::HelpViewer viewer;
    viewer.ShowTopic(kHelpFile, 12);
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(viewer.browser()->toPlainText().startsWith("Textdateien: Spalten festlegen"));
    // A link to another topic leads there.
    emit viewer.browser()->anchorClicked(QUrl("#hc-4"));
    EXPECT_EQ(viewer.currentContext(), 4);
    EXPECT_TRUE(viewer.browser()->toPlainText().startsWith("Felder zuordnen"));
    // A context without a topic says so; a missing help file is an error message.
    viewer.ShowTopic(kHelpFile, 77);
    EXPECT_TRUE(viewer.browser()->toPlainText().contains("keine Hilfe"));
    ui.answer(platform::Button::Ok);
    viewer.ShowTopic(kHelpFile + ".fehlt", 1);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.startsWith("Die Hilfedatei")) << ui.messages()[0].text.toStdString();
}

}  // namespace
